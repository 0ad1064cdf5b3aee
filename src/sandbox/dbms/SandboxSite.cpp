// Locating sandbox databases, creating them with their built-in tablespaces,
// users and authorities, and resetting them to that state.
#include "SandboxSite.h"

#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <vector>

#include "SandboxContainers.h"
#include "SandboxPasswords.h"

namespace qelsandbox {

namespace fs = std::filesystem;

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// A tnsnames.ora entry starts a line with "NAME =" (any case).
bool TnsNamesDefines(const std::string& path, const std::string& service) {
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    if (line.size() <= service.size() ||
        strncasecmp(line.c_str(), service.c_str(), service.size()) != 0) {
      continue;
    }
    std::size_t i = service.size();
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i < line.size() && line[i] == '=') return true;
  }
  return false;
}

std::string TnsNamesPath(const std::string& defaultTnsAdmin) {
  std::string tnsAdmin = Environment("TNS_ADMIN");
  if (tnsAdmin.empty() && Environment("ORACLE_HOME").empty()) tnsAdmin = defaultTnsAdmin;
  if (!tnsAdmin.empty()) return tnsAdmin + "/tnsnames.ora";
  const std::string home = Environment("ORACLE_HOME");
  return home.empty() ? "" : home + "/network/admin/tnsnames.ora";
}

// The catalogue every sandbox database keeps; the DBMS's catalogue views are
// queries over it. The rows of every table are in sbx_rows, by object id,
// up to 32 values a record (see SandboxRowStore.cpp), a table's first column
// indexed for its key checks; views keep their translated query. Every
// look-up a statement makes by object goes through a key or an index, so a
// statement costs the same in a repository of any size.
constexpr const char* CatalogueSchema = R"(
CREATE TABLE sbx_database(key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE sbx_users(name TEXT PRIMARY KEY, user_id INTEGER NOT NULL,
  authentication TEXT NOT NULL, password_hash TEXT, default_tablespace TEXT,
  temporary_tablespace TEXT, locked INTEGER NOT NULL DEFAULT 0, created TEXT NOT NULL);
CREATE TABLE sbx_roles(name TEXT PRIMARY KEY, builtin INTEGER NOT NULL DEFAULT 0);
CREATE TABLE sbx_quotas(username TEXT NOT NULL, tablespace TEXT NOT NULL,
  max_bytes INTEGER NOT NULL, PRIMARY KEY(username, tablespace));
CREATE TABLE sbx_tablespaces(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE,
  contents TEXT NOT NULL, management TEXT NOT NULL, owner TEXT NOT NULL,
  builtin INTEGER NOT NULL DEFAULT 0, created TEXT NOT NULL);
CREATE TABLE sbx_containers(tablespace TEXT NOT NULL, position INTEGER NOT NULL,
  path TEXT NOT NULL, kind TEXT NOT NULL, bytes INTEGER NOT NULL DEFAULT 0,
  autoextend INTEGER NOT NULL DEFAULT 0, PRIMARY KEY(tablespace, position));
CREATE TABLE sbx_objects(id INTEGER PRIMARY KEY, schema TEXT NOT NULL, name TEXT NOT NULL,
  type TEXT NOT NULL, namespace TEXT NOT NULL, owner TEXT NOT NULL, tablespace TEXT,
  index_tablespace TEXT, long_tablespace TEXT, base_id INTEGER, target_schema TEXT,
  target_name TEXT, uniqueness INTEGER NOT NULL DEFAULT 0, columns TEXT, definition TEXT,
  query TEXT, created TEXT NOT NULL, UNIQUE(schema, namespace, name));
CREATE INDEX sbx_objects_base ON sbx_objects(base_id);
CREATE TABLE sbx_columns(object_id INTEGER NOT NULL, position INTEGER NOT NULL,
  name TEXT NOT NULL, type_name TEXT NOT NULL, length INTEGER, scale INTEGER,
  nullable INTEGER NOT NULL, default_value TEXT, PRIMARY KEY(object_id, position));
CREATE TABLE sbx_constraints(schema TEXT NOT NULL, name TEXT NOT NULL,
  object_id INTEGER NOT NULL, kind TEXT NOT NULL, columns TEXT NOT NULL,
  ref_object_id INTEGER, ref_columns TEXT, delete_rule TEXT, check_text TEXT,
  PRIMARY KEY(schema, name));
CREATE INDEX sbx_constraints_object ON sbx_constraints(object_id);
CREATE INDEX sbx_constraints_reference ON sbx_constraints(ref_object_id);
CREATE TABLE sbx_sequences(object_id INTEGER PRIMARY KEY, next_value INTEGER NOT NULL,
  increment INTEGER NOT NULL, min_value INTEGER NOT NULL, max_value INTEGER NOT NULL,
  cycle INTEGER NOT NULL, last_value INTEGER);
CREATE TABLE sbx_comments(object_id INTEGER NOT NULL, column_name TEXT NOT NULL,
  text TEXT NOT NULL, PRIMARY KEY(object_id, column_name));
CREATE TABLE sbx_grants(grantee TEXT NOT NULL, kind TEXT NOT NULL, privilege TEXT NOT NULL,
  object_id INTEGER NOT NULL DEFAULT 0, grantor TEXT NOT NULL,
  admin_option INTEGER NOT NULL DEFAULT 0, PRIMARY KEY(grantee, kind, privilege, object_id));
CREATE INDEX sbx_grants_object ON sbx_grants(object_id);
CREATE TABLE sbx_rows(object_id INTEGER NOT NULL, band INTEGER NOT NULL,
  row_no INTEGER NOT NULL, v1, v2, v3, v4, v5, v6, v7, v8, v9, v10, v11, v12, v13, v14, v15, v16,
  v17, v18, v19, v20, v21, v22, v23, v24, v25, v26, v27, v28, v29, v30, v31, v32,
  PRIMARY KEY(object_id, band, row_no)) WITHOUT ROWID;
CREATE INDEX sbx_rows_first ON sbx_rows(object_id, band, v1);
)";

constexpr const char* CatalogueTables[] = {"sbx_users",       "sbx_roles",       "sbx_quotas",
                                           "sbx_tablespaces", "sbx_containers",  "sbx_objects",
                                           "sbx_columns",     "sbx_constraints", "sbx_sequences",
                                           "sbx_comments",    "sbx_grants",      "sbx_rows"};

struct BuiltinTablespace {
  const char* name;
  const char* contents;
  const char* container;  // DB2: directory, Oracle: data file
};

constexpr BuiltinTablespace Db2Tablespaces[] = {{"SYSCATSPACE", "REGULAR", "SYSCATSPACE"},
                                                {"TEMPSPACE1", "SYSTEM TEMPORARY", "TEMPSPACE1"},
                                                {"USERSPACE1", "REGULAR", "USERSPACE1"}};

constexpr BuiltinTablespace OracleTablespaces[] = {{"SYSTEM", "PERMANENT", "system01.dbf"},
                                                   {"SYSAUX", "PERMANENT", "sysaux01.dbf"},
                                                   {"USERS", "PERMANENT", "users01.dbf"},
                                                   {"TEMP", "TEMPORARY", "temp01.dbf"}};

// The built-in data files are sparse: their size costs no disk.
constexpr long long BuiltinFileBytes = 10LL * 1024 * 1024;

// Privileges the built-in roles give. DBA holds every privilege without
// listing them. CONNECT keeps its classic synonym right: the PDM schemas
// create their synonyms as their owner.
constexpr std::pair<const char*, const char*> RolePrivileges[] = {
    {"CONNECT", "CREATE SESSION"},        {"CONNECT", "ALTER SESSION"},
    {"CONNECT", "CREATE SYNONYM"},        {"RESOURCE", "CREATE TABLE"},
    {"RESOURCE", "CREATE VIEW"},          {"RESOURCE", "CREATE SEQUENCE"},
    {"RESOURCE", "CREATE TRIGGER"},       {"RESOURCE", "CREATE PROCEDURE"},
    {"RESOURCE", "CREATE TYPE"},          {"RESOURCE", "CREATE CLUSTER"},
    {"RESOURCE", "UNLIMITED TABLESPACE"}, {"SELECT_CATALOG_ROLE", "SELECT ANY DICTIONARY"}};

void Set(SqliteDatabase& db, const std::string& key, const std::string& value) {
  db.Prepare("INSERT OR REPLACE INTO sbx_database(key, value) VALUES (?1, ?2)")
      .Bind(1, key)
      .Bind(2, value)
      .Step();
}

std::string Get(SqliteDatabase& db, const std::string& key) {
  SqliteStatement statement = db.Prepare("SELECT value FROM sbx_database WHERE key = ?1");
  statement.Bind(1, key);
  return statement.Step() ? statement.Text(0) : "";
}

void AddTablespace(SqliteDatabase& db, const DatabaseLocation& location,
                   const BuiltinTablespace& tablespace, const std::string& owner) {
  const bool db2 = location.dialect == Dialect::Db2;
  db.Prepare(
        "INSERT INTO sbx_tablespaces(name, contents, management, owner, builtin, created) "
        "VALUES (?1, ?2, ?3, ?4, 1, ?5)")
      .Bind(1, tablespace.name)
      .Bind(2, tablespace.contents)
      .Bind(3, db2 ? "SYSTEM" : "FILE")
      .Bind(4, owner)
      .Bind(5, CurrentTimestamp())
      .Step();
  const std::string path = location.containerDirectory + "/" + tablespace.container;
  db.Prepare(
        "INSERT INTO sbx_containers(tablespace, position, path, kind, bytes, autoextend) "
        "VALUES (?1, 1, ?2, ?3, ?4, 1)")
      .Bind(1, tablespace.name)
      .Bind(2, path)
      .Bind(3, db2 ? "DIRECTORY" : "FILE")
      .Bind(4, db2 ? 0LL : BuiltinFileBytes)
      .Step();
  std::error_code ignored;
  if (db2) {
    fs::create_directories(path, ignored);
  } else if (!fs::exists(path, ignored)) {
    CreateDataFile(path, BuiltinFileBytes, false);
  }
}

void Grant(SqliteDatabase& db, const std::string& grantee, const std::string& kind,
           const std::string& privilege, const std::string& grantor, bool admin) {
  db.Prepare(
        "INSERT OR IGNORE INTO sbx_grants(grantee, kind, privilege, object_id, grantor, "
        "admin_option) VALUES (?1, ?2, ?3, 0, ?4, ?5)")
      .Bind(1, grantee)
      .Bind(2, kind)
      .Bind(3, privilege)
      .Bind(4, grantor)
      .Bind(5, admin ? 1LL : 0LL)
      .Step();
}

// Fills an empty catalogue; the settings kept in sbx_database (owner,
// password hash) are what a reset restores.
void Populate(SqliteDatabase& db, const DatabaseLocation& location) {
  const std::string owner = Get(db, "owner");
  if (location.dialect == Dialect::Db2) {
    for (const BuiltinTablespace& tablespace : Db2Tablespaces) {
      AddTablespace(db, location, tablespace, "SYSIBM");
    }
    // A restrictive database: PUBLIC holds nothing, so only the users
    // granted CONNECT can connect.
    for (const char* authority :
         {"DBADM", "CONNECT", "CREATETAB", "BINDADD", "IMPLICIT_SCHEMA", "LOAD"}) {
      Grant(db, owner, "DATABASE", authority, "SYSIBM", false);
    }
    return;
  }
  for (const BuiltinTablespace& tablespace : OracleTablespaces) {
    AddTablespace(db, location, tablespace, "SYS");
  }
  for (const char* role : {"CONNECT", "RESOURCE", "DBA", "SELECT_CATALOG_ROLE"}) {
    db.Prepare("INSERT INTO sbx_roles(name, builtin) VALUES (?1, 1)").Bind(1, role).Step();
  }
  for (const auto& [role, privilege] : RolePrivileges) {
    Grant(db, role, "SYSTEM", privilege, "SYS", false);
  }
  const std::string hash = Get(db, "system_password_hash");
  long long userId = 0;
  for (const char* user : {"SYS", "SYSTEM"}) {
    db.Prepare(
          "INSERT INTO sbx_users(name, user_id, authentication, password_hash, "
          "default_tablespace, temporary_tablespace, created) "
          "VALUES (?1, ?2, 'PASSWORD', ?3, 'SYSTEM', 'TEMP', ?4)")
        .Bind(1, user)
        .Bind(2, userId++)
        .Bind(3, hash)
        .Bind(4, CurrentTimestamp())
        .Step();
    Grant(db, user, "ROLE", "DBA", "SYS", true);
    Grant(db, user, "SYSTEM", "UNLIMITED TABLESPACE", "SYS", true);
  }
}

}  // namespace

namespace {

// Container paths are recorded whole: a relative site would make them
// depend on the directory the next client starts in.
std::string AbsoluteSite(const std::string& site) {
  std::error_code ignored;
  const fs::path absolute = fs::absolute(site, ignored);
  return absolute.empty() ? site : absolute.lexically_normal().string();
}

}  // namespace

DatabaseLocation Db2Location(const std::string& site, const std::string& instance,
                             const std::string& alias) {
  const std::string name = ToUpper(alias);
  const std::string directory = AbsoluteSite(site) + "/dbms/db2/" + instance;
  return {Dialect::Db2, instance, name, directory + "/" + name + ".sqlite", directory + "/" + name};
}

DatabaseLocation OracleLocation(const std::string& site, const std::string& service) {
  const std::string name = ToUpper(service);
  const std::string directory = AbsoluteSite(site) + "/dbms/oracle";
  return {Dialect::Oracle, "", name, directory + "/" + name + ".sqlite", directory + "/" + name};
}

DatabaseLocation LocateForClient(const std::string& site, Dialect dialect,
                                 const std::string& database, const ClientDefaults& defaults) {
  std::error_code ignored;
  if (dialect == Dialect::Db2) {
    std::string instance = Environment("DB2INSTANCE");
    if (instance.empty()) instance = defaults.db2Instance;
    if (instance.empty() || !fs::is_directory(site + "/dbms/db2/" + instance, ignored)) {
      Raise({-1390, "SQL1390C  The environment variable DB2INSTANCE is not defined or is invalid.",
             "08001"});
    }
    DatabaseLocation location = Db2Location(site, instance, database);
    if (database.empty() || !fs::is_regular_file(location.file, ignored)) {
      Raise(Db2Error(1013,
                     "The database alias name or database name \"" + ToUpper(database) +
                         "\" could not be found.",
                     "42705"));
    }
    return location;
  }
  const std::string tnsNames = TnsNamesPath(defaults.tnsAdmin);
  if (database.empty() || tnsNames.empty() || !TnsNamesDefines(tnsNames, database)) {
    Raise(OraError(12154, "TNS:could not resolve the connect identifier specified"));
  }
  DatabaseLocation location = OracleLocation(site, database);
  if (!fs::is_regular_file(location.file, ignored)) {
    Raise(OraError(12514,
                   "TNS:listener does not currently know of service requested in connect "
                   "descriptor"));
  }
  return location;
}

int LockTimeoutMilliseconds() {
  const std::string value = Environment("TESSARDBSETUP_SANDBOX_LOCK_TIMEOUT");
  if (value.empty()) return 5000;
  const long milliseconds = std::strtol(value.c_str(), nullptr, 10);
  return milliseconds < 0 ? 0 : static_cast<int>(milliseconds);
}

std::string CurrentTimestamp() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  gmtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
  return text;
}

void CreateDatabase(const DatabaseLocation& location, const std::string& owner,
                    const std::string& systemPassword) {
  std::error_code ignored;
  if (fs::exists(location.file, ignored)) {
    Raise({-1, "database " + location.name + " already exists (" + location.file + ")"});
  }
  fs::create_directories(fs::path(location.file).parent_path(), ignored);
  fs::create_directories(location.containerDirectory, ignored);
  try {
    SqliteDatabase db(location.file, true, LockTimeoutMilliseconds());
    db.Exec("BEGIN IMMEDIATE");
    db.Exec(CatalogueSchema);
    const bool db2 = location.dialect == Dialect::Db2;
    Set(db, "dbms", db2 ? "DB2" : "ORACLE");
    Set(db, "name", location.name);
    Set(db, "created", CurrentTimestamp());
    if (db2) {
      Set(db, "instance", location.instance);
      Set(db, "owner", ToUpper(owner.empty() ? location.instance : owner));
    } else {
      Set(db, "owner", "SYS");
      Set(db, "system_password_hash", HashPassword(systemPassword));
      Set(db, "default_tablespace", "USERS");
      Set(db, "temporary_tablespace", "TEMP");
    }
    Populate(db, location);
    db.Exec("COMMIT");
  } catch (const SqliteFailure& failure) {
    fs::remove(location.file, ignored);
    Raise({-1, "cannot create " + location.file + ": " + failure.message});
  }
}

void ResetDatabase(const DatabaseLocation& location) {
  std::error_code ignored;
  if (!fs::is_regular_file(location.file, ignored)) {
    Raise({-1, "database " + location.name + " does not exist (" + location.file + ")"});
  }
  std::vector<std::string> leftovers;
  try {
    SqliteDatabase db(location.file, false, LockTimeoutMilliseconds());
    db.Exec("BEGIN IMMEDIATE");
    for (const auto& row :
         db.QueryRows("SELECT c.path FROM sbx_containers c JOIN sbx_tablespaces t "
                      "ON t.name = c.tablespace WHERE t.builtin = 0")) {
      leftovers.push_back(row[0]);
    }
    for (const char* table : CatalogueTables) db.Exec(std::string("DELETE FROM ") + table);
    Populate(db, location);
    db.Exec("COMMIT");
  } catch (const SqliteFailure& failure) {
    Raise({-1, "cannot reset " + location.file + ": " + failure.message});
  }
  for (const std::string& path : leftovers) RemoveContainer(path);
}

}  // namespace qelsandbox
