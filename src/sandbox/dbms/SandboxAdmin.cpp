// The catalogue report of a sandbox database, read directly in its file.
#include "SandboxAdmin.h"

#include <filesystem>

#include "SandboxSession.h"

namespace qelsandbox {

namespace fs = std::filesystem;

namespace {

ReportRecord Record(const SqliteStatement& statement, const std::vector<std::string>& keys) {
  ReportRecord record;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    record.push_back({keys[i], statement.Text(static_cast<int>(i))});
  }
  return record;
}

std::vector<ReportRecord> Records(SqliteDatabase& db, const std::string& sql,
                                  const std::vector<std::string>& keys) {
  std::vector<ReportRecord> records;
  SqliteStatement statement = db.Prepare(sql);
  while (statement.Step()) records.push_back(Record(statement, keys));
  return records;
}

}  // namespace

std::vector<DatabaseLocation> FindDatabases(const std::string& site, const std::string& name) {
  std::vector<DatabaseLocation> found;
  std::error_code ignored;
  const DatabaseLocation oracle = OracleLocation(site, name);
  if (fs::is_regular_file(oracle.file, ignored)) found.push_back(oracle);
  const fs::path instances = fs::path(site) / "dbms" / "db2";
  if (!fs::is_directory(instances, ignored)) return found;
  for (const fs::directory_entry& instance : fs::directory_iterator(instances, ignored)) {
    const DatabaseLocation db2 = Db2Location(site, instance.path().filename().string(), name);
    if (fs::is_regular_file(db2.file, ignored)) found.push_back(db2);
  }
  return found;
}

DatabaseReport Report(const DatabaseLocation& location) {
  DatabaseReport report;
  report.location = location;
  try {
    SqliteDatabase db(location.file, false, LockTimeoutMilliseconds());
    if (location.dialect == Dialect::Oracle) {
      report.users = Records(
          db,
          "SELECT name, authentication, IFNULL(default_tablespace, ''), "
          "IFNULL(temporary_tablespace, ''), CASE locked WHEN 1 THEN 'LOCKED' ELSE 'OPEN' END "
          "FROM sbx_users ORDER BY name",
          {"name", "authentication", "default_tablespace", "temporary_tablespace", "status"});
    } else {
      // DB2 knows its users by their authorities; the operating system
      // checks their passwords.
      SqliteStatement owner = db.Prepare("SELECT value FROM sbx_database WHERE key = 'instance'");
      const std::string instance = owner.Step() ? ToUpper(owner.Text(0)) : "";
      report.users = Records(
          db,
          "SELECT grantee, 'OPERATING SYSTEM', '', group_concat(privilege, ' ') FROM (SELECT "
          "grantee, privilege FROM sbx_grants WHERE kind = 'DATABASE' UNION SELECT " +
              QuoteString(instance) + ", 'SYSADM' ORDER BY 1, 2) GROUP BY grantee ORDER BY grantee",
          {"name", "authentication", "default_tablespace", "authorities"});
    }
    report.tablespaces = Records(
        db,
        "SELECT t.name, t.contents, t.management, IFNULL((SELECT group_concat(c.path, ', ') "
        "FROM sbx_containers c WHERE c.tablespace = t.name), ''), CASE t.builtin WHEN 1 THEN "
        "'yes' ELSE 'no' END FROM sbx_tablespaces t ORDER BY t.id",
        {"name", "contents", "management", "containers", "builtin"});
    SqliteStatement objects = db.Prepare(
        "SELECT o.id, o.schema, o.name, o.type, IFNULL(o.tablespace, ''), "
        "IFNULL(b.schema || '.' || b.name, ''), IFNULL(o.target_schema || '.' || "
        "o.target_name, '') FROM sbx_objects o LEFT JOIN sbx_objects b ON b.id = o.base_id "
        "ORDER BY o.schema, o.type, o.name");
    while (objects.Step()) {
      ReportRecord record = {{"schema", objects.Text(1)}, {"name", objects.Text(2)},
                             {"type", objects.Text(3)},   {"tablespace", objects.Text(4)},
                             {"on", objects.Text(5)},     {"for", objects.Text(6)}};
      if (objects.Text(3) == "TABLE") {
        const long long rows =
            db.QueryInt("SELECT count(*) FROM sbx_rows WHERE band = 0 AND object_id = " +
                        std::to_string(objects.Int(0)));
        record.push_back({"rows", std::to_string(rows), true});
      }
      report.objects.push_back(std::move(record));
    }
    report.grants = Records(
        db,
        "SELECT g.grantee, g.kind, g.privilege, IFNULL(o.schema || '.' || o.name, ''), "
        "g.grantor, CASE g.admin_option WHEN 1 THEN 'yes' ELSE 'no' END FROM sbx_grants g "
        "LEFT JOIN sbx_objects o ON o.id = g.object_id ORDER BY g.grantee, g.kind, g.privilege",
        {"grantee", "kind", "privilege", "object", "grantor", "admin_option"});
  } catch (const SqliteFailure& failure) {
    Raise({-1, "cannot read " + location.file + ": " + failure.message});
  }
  return report;
}

}  // namespace qelsandbox
