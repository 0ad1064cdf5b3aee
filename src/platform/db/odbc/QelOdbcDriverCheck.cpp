// The driver check and the connection strings of the two DBMSs.
#include "QelOdbcDriverCheck.h"

#include <dlfcn.h>
#include <sqlext.h>

#include <cstdlib>
#include <string_view>

#include "QelOdbcConnection.h"
#include "QelOdbcEnvironment.h"
#include "platform/db/QelDb.h"

namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// "Driver=/path\0Setup=...\0\0": the value of key.
std::string Attribute(const char* attributes, std::string_view key) {
  for (const char* entry = attributes; *entry; entry += std::string_view(entry).size() + 1) {
    const std::string_view pair(entry);
    const std::size_t equals = pair.find('=');
    if (equals != std::string_view::npos && pair.substr(0, equals) == key) {
      return std::string(pair.substr(equals + 1));
    }
  }
  return "";
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

std::string Names(const std::vector<QelOdbcRegistered>& registered) {
  std::string names;
  for (const QelOdbcRegistered& entry : registered) {
    names += (names.empty() ? "\"" : ", \"") + entry.name + "\"";
  }
  return names.empty() ? "none" : names;
}

std::string WhereDriversAreRegistered() {
  const std::string directory = Variable("ODBCSYSINI");
  return directory.empty() ? "the system's odbcinst.ini (ODBCSYSINI is not set)"
                           : directory + "/odbcinst.ini (ODBCSYSINI)";
}

// The variables a DBMS's client needs before its driver can connect.
std::string MissingVariables(int dbms) {
  if (dbms == QelDbDB2) {
    return Variable("DB2INSTANCE").empty()
               ? "DB2INSTANCE is not set: the DB2 driver needs the instance whose database "
                 "directory holds the alias (source the instance's db2profile)"
               : "";
  }
  if (Variable("ORACLE_HOME").empty() && Variable("TNS_ADMIN").empty()) {
    return "neither ORACLE_HOME nor TNS_ADMIN is set: the Oracle driver cannot find "
           "tnsnames.ora to resolve the service name";
  }
  return "";
}

// Loads the driver's library as the driver manager will, so that a missing
// dependency or a wrong path is told with the loader's own words. A library
// that loads stays loaded: the driver manager takes the same one next, and
// unloading it here would run a driver's finalisers before its first use.
std::string LoadFailure(const std::string& library) {
  if (library.empty()) return "its entry names no library (Driver = ...)";
  if (dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL)) return "";
  const char* reason = dlerror();
  const std::string path = Variable("LD_LIBRARY_PATH");
  return "its library " + library + " does not load: " + (reason ? reason : "unknown reason") +
         " (LD_LIBRARY_PATH=" + (path.empty() ? "<not set>" : path) + ")";
}

}  // namespace

std::string QelOdbcDriverName(int dbms) {
  const std::string configured =
      Variable(dbms == QelDbDB2 ? "TESSARDBSETUP_DB2_DRIVER" : "TESSARDBSETUP_ORACLE_DRIVER");
  if (!configured.empty()) return configured;
  return dbms == QelDbDB2 ? "DB2" : "Oracle";
}

namespace {

// SQLDrivers and SQLDataSources walk their lists alike: a name and a second
// text per entry.
using Enumeration = SQLRETURN (*)(SQLHENV, SQLUSMALLINT, SQLCHAR*, SQLSMALLINT, SQLSMALLINT*,
                                  SQLCHAR*, SQLSMALLINT, SQLSMALLINT*);

template <class Second>
std::vector<QelOdbcRegistered> Enumerate(Enumeration next, Second second) {
  std::vector<QelOdbcRegistered> entries;
  const QelOdbcHandle& environment = QelOdbcEnvironment();
  if (!environment.IsValid()) return entries;
  for (SQLUSMALLINT direction = SQL_FETCH_FIRST;; direction = SQL_FETCH_NEXT) {
    SQLCHAR name[256] = {};
    SQLCHAR text[4096] = {};
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT textLength = 0;
    if (!SQL_SUCCEEDED(next(environment.Get(), direction, name, sizeof name, &nameLength, text,
                            sizeof text - 1, &textLength))) {
      break;
    }
    entries.push_back(
        {reinterpret_cast<const char*>(name), second(reinterpret_cast<const char*>(text))});
  }
  return entries;
}

}  // namespace

std::vector<QelOdbcRegistered> QelOdbcDrivers() {
  // A driver's second text is its attributes: "Driver=/path\0Setup=...\0\0".
  return Enumerate(SQLDrivers,
                   [](const char* attributes) { return Attribute(attributes, "Driver"); });
}

std::vector<QelOdbcRegistered> QelOdbcDataSources() {
  // A data source's second text names its driver.
  return Enumerate(SQLDataSources, [](const char* driver) { return std::string(driver); });
}

std::string QelOdbcCheckRoute(int dbms, const std::string& database, QelOdbcRoute& route) {
  route = {};
  const char* dbmsName = dbms == QelDbDB2 ? "DB2" : "Oracle";
  const std::vector<QelOdbcRegistered> drivers = QelOdbcDrivers();
  std::string driverName = QelOdbcDriverName(dbms);
  for (const QelOdbcRegistered& source : QelOdbcDataSources()) {
    if (SameName(source.name, database)) {
      route.dataSource = source.name;
      driverName = source.driver;
      break;
    }
  }
  route.driver = driverName;
  route.connectionString = route.dataSource.empty()
                               ? "DRIVER=" + QelOdbcAttributeValue(driverName) +
                                     (dbms == QelDbDB2 ? ";DATABASE=" : ";DBQ=") +
                                     QelOdbcAttributeValue(database)
                               : "DSN=" + QelOdbcAttributeValue(route.dataSource);
  const QelOdbcRegistered* registered = nullptr;
  for (const QelOdbcRegistered& driver : drivers) {
    if (driver.name == driverName) registered = &driver;
  }
  const std::string via = route.dataSource.empty()
                              ? std::string("")
                              : " (named by the data source \"" + route.dataSource + "\")";
  if (!registered) {
    return std::string("no ODBC driver \"") + driverName + "\"" + via + " is registered for " +
           dbmsName + " in " + WhereDriversAreRegistered() +
           "; registered drivers: " + Names(drivers) +
           " (odbcinst -q -d lists them). Register the " + dbmsName +
           " client's ODBC driver under that name, or name yours in " +
           (dbms == QelDbDB2 ? "TESSARDBSETUP_DB2_DRIVER." : "TESSARDBSETUP_ORACLE_DRIVER.");
  }
  const std::string load = LoadFailure(registered->driver);
  if (!load.empty()) {
    return std::string("the ODBC driver \"") + driverName + "\"" + via + " for " + dbmsName +
           " cannot be used: " + load;
  }
  const std::string missing = MissingVariables(dbms);
  if (!missing.empty()) {
    return std::string("the ODBC driver \"") + driverName + "\" for " + dbmsName +
           " cannot connect: " + missing;
  }
  return "";
}

std::string QelOdbcWithCredentials(const QelOdbcRoute& route, const std::string& user,
                                   const std::string& password) {
  return route.connectionString + ";UID=" + QelOdbcAttributeValue(user) +
         ";PWD=" + QelOdbcAttributeValue(password);
}
