// Where the sandbox DBMS keeps its databases under a site, how a client
// reaches them (DB2 instance and alias, Oracle net service name), and the
// state of a database right after it was created.
#pragma once

#include <string>

#include "SandboxSql.h"
#include "SandboxSqlite.h"

namespace qelsandbox {

struct DatabaseLocation {
  Dialect dialect = Dialect::Db2;
  std::string instance;  // DB2 only
  std::string name;      // DB2 alias or Oracle service, upper case
  std::string file;      // the SQLite file
  // Where relative container paths and the built-in containers live.
  std::string containerDirectory;
};

DatabaseLocation Db2Location(const std::string& site, const std::string& instance,
                             const std::string& alias);
DatabaseLocation OracleLocation(const std::string& site, const std::string& service);

// What a client would take from its environment, given by a data source
// instead: each is used only where the environment leaves it unset, as the
// environment a DBMS's client runs in is the one its administrator chose.
struct ClientDefaults {
  std::string db2Instance;  // for $DB2INSTANCE
  std::string tnsAdmin;     // for $TNS_ADMIN
};

// As a client connecting: $DB2INSTANCE for DB2, tnsnames.ora for Oracle.
// Raises the DBMS's error when the database cannot be reached.
DatabaseLocation LocateForClient(const std::string& site, Dialect dialect,
                                 const std::string& database, const ClientDefaults& defaults = {});

// Lock waits end after this many milliseconds with a lock-timeout error
// ($TESSARDBSETUP_SANDBOX_LOCK_TIMEOUT, default 5000).
int LockTimeoutMilliseconds();

std::string CurrentTimestamp();

// Creates the database file with its catalogue and initial state: DB2 with
// owner as DBADM, Oracle with SYS and SYSTEM (DBA) identified by
// systemPassword. Raises a SandboxError when it exists already.
void CreateDatabase(const DatabaseLocation& location, const std::string& owner,
                    const std::string& systemPassword);
// Puts an existing database back into the state CreateDatabase left.
void ResetDatabase(const DatabaseLocation& location);

}  // namespace qelsandbox
