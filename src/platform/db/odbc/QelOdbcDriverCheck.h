// Before the first connection to a DBMS: which ODBC driver or data source
// will be used, and whether it can work at all. The commonest failure of a
// real installation is a driver that is not registered or does not load
// (library path, DB2INSTANCE, ORACLE_HOME, TNS_ADMIN), not the SQL: each
// is told precisely instead of as a failed login.
#pragma once

#include <string>
#include <vector>

// How the layer reaches a database alias (DB2) or net service name
// (Oracle).
struct QelOdbcRoute {
  // A data source named like the alias or service wins; otherwise the
  // driver is named in the connection string.
  std::string dataSource;
  std::string driver;
  // The connection string without its credentials.
  std::string connectionString;
};

// The driver name for dbms: TESSARDBSETUP_DB2_DRIVER or
// TESSARDBSETUP_ORACLE_DRIVER, "DB2" and "Oracle" by default.
std::string QelOdbcDriverName(int dbms);

// The route to database and, when it cannot work, why: empty when the
// driver is registered, its library loads and the variables it needs are
// set.
std::string QelOdbcCheckRoute(int dbms, const std::string& database, QelOdbcRoute& route);

// The connection string with the user and password added.
std::string QelOdbcWithCredentials(const QelOdbcRoute& route, const std::string& user,
                                   const std::string& password);

// What the driver manager knows, for the messages and the tests.
struct QelOdbcRegistered {
  std::string name;
  // The driver's library (drivers) or the driver's name (data sources).
  std::string driver;
};
std::vector<QelOdbcRegistered> QelOdbcDrivers();
std::vector<QelOdbcRegistered> QelOdbcDataSources();
