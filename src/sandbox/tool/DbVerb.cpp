// The `db` verb: creates a sandbox DBMS database (a DB2 database of an
// instance or an Oracle service), shows its catalogue as text or JSON, and
// resets it to the state right after its creation.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "SandboxCommand.h"
#include "platform/QelJson.h"
#include "platform/db/QelDb.h"
#include "sandbox/dbms/SandboxAdmin.h"

namespace {

using qelsandbox::DatabaseLocation;
using qelsandbox::DatabaseReport;
using qelsandbox::ReportRecord;

constexpr const char* Help =
    "usage: tessardbsetup-sandbox db SUBCOMMAND [OPTIONS] [--site DIR]\n"
    "\n"
    "  db create --dbms db2 --instance I --alias A [--owner OWNER]\n"
    "      a DB2 database of instance I catalogued as A; OWNER (default I) holds DBADM\n"
    "  db create --dbms oracle --service S [--system-password P]\n"
    "      an Oracle service S with the users SYS and SYSTEM (DBA), password P\n"
    "      (default \"sandbox\"); the tnsnames.ora entry is the site's business\n"
    "  db show NAME [--json] [--dbms db2|oracle] [--instance I]\n"
    "      users, tablespaces, schema objects with row counts, grants\n"
    "  db reset NAME [--dbms db2|oracle] [--instance I]\n"
    "      back to the state right after create, the server settings recorded for NAME removed\n"
    "\n"
    "The site is --site DIR, or $TESSARDBSETUP_SANDBOX. Exit status: 0 done, 1 error, 2 usage.\n";

// The server settings the installer recorded for the database as the name
// shown (its alias or service), where the PDM runtime reads them.
std::vector<ReportRecord> ServerSettings(const std::string& name,
                                         const DatabaseLocation& location) {
  auto settings = QelDbDatabase::ListServers(
      name, location.dialect == qelsandbox::Dialect::Db2 ? QelDbDB2 : QelDbOracle);
  std::sort(settings.begin(), settings.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<ReportRecord> records;
  for (const auto& [logical, setting] : settings) {
    records.push_back({{"name", logical},
                       {"server", setting.server},
                       {"vendor", std::to_string(setting.vendor)},
                       {"authentication", std::to_string(setting.authentication)},
                       {"user", setting.user},
                       {"password", setting.password.empty() ? "" : "***"}});
  }
  return records;
}

int UsageError(const std::string& text) {
  std::fprintf(stderr, "tessardbsetup-sandbox db: %s\n\n%s", text.c_str(), Help);
  return ExitUsage;
}

int Error(const std::string& text) {
  std::fprintf(stderr, "tessardbsetup-sandbox db: %s\n", text.c_str());
  return ExitError;
}

std::string Value(const CommandOptions& options, const std::string& name,
                  const std::string& fallback = {}) {
  const auto found = options.values.find(name);
  return found == options.values.end() ? fallback : found->second;
}

std::string JsonRecords(const std::vector<ReportRecord>& records) {
  std::string json = "[";
  for (std::size_t i = 0; i < records.size(); ++i) {
    json += i ? ",\n    {" : "\n    {";
    for (std::size_t j = 0; j < records[i].size(); ++j) {
      const qelsandbox::ReportField& field = records[i][j];
      json += (j ? ", " : "") + QelJsonString(field.key) + ": " +
              (field.number ? field.value : QelJsonString(field.value));
    }
    json += "}";
  }
  return json + (records.empty() ? "]" : "\n  ]");
}

std::string DbmsName(const DatabaseLocation& location) {
  return location.dialect == qelsandbox::Dialect::Db2 ? "db2" : "oracle";
}

void PrintJson(const DatabaseReport& report) {
  const DatabaseLocation& location = report.location;
  std::printf(
      "{\n  \"database\": {\"name\": %s, \"dbms\": %s, \"instance\": %s, \"file\": %s},\n"
      "  \"users\": %s,\n  \"tablespaces\": %s,\n  \"objects\": %s,\n  \"grants\": %s,\n"
      "  \"server_settings\": %s\n}\n",
      QelJsonString(location.name).c_str(), QelJsonString(DbmsName(location)).c_str(),
      QelJsonString(location.instance).c_str(), QelJsonString(location.file).c_str(),
      JsonRecords(report.users).c_str(), JsonRecords(report.tablespaces).c_str(),
      JsonRecords(report.objects).c_str(), JsonRecords(report.grants).c_str(),
      JsonRecords(report.serverSettings).c_str());
}

std::string Field(const ReportRecord& record, const std::string& key) {
  for (const qelsandbox::ReportField& field : record) {
    if (field.key == key) return field.value;
  }
  return "";
}

void PrintText(const DatabaseReport& report) {
  const DatabaseLocation& location = report.location;
  std::printf("Database %s (%s%s)\n  file: %s\n", location.name.c_str(),
              location.dialect == qelsandbox::Dialect::Db2 ? "DB2, instance " : "Oracle service",
              location.instance.c_str(), location.file.c_str());
  std::printf("\nUsers\n");
  for (const ReportRecord& user : report.users) {
    std::printf("  %-20s %-16s", Field(user, "name").c_str(),
                Field(user, "authentication").c_str());
    if (!Field(user, "default_tablespace").empty()) {
      std::printf(" default tablespace %s", Field(user, "default_tablespace").c_str());
    }
    if (!Field(user, "authorities").empty()) {
      std::printf(" %s", Field(user, "authorities").c_str());
    }
    std::printf("\n");
  }
  std::printf("\nTablespaces\n");
  for (const ReportRecord& tablespace : report.tablespaces) {
    std::printf("  %-20s %-16s %s\n", Field(tablespace, "name").c_str(),
                Field(tablespace, "contents").c_str(), Field(tablespace, "containers").c_str());
  }
  std::printf("\nSchemas\n");
  std::string schema;
  for (const ReportRecord& object : report.objects) {
    if (Field(object, "schema") != schema) {
      schema = Field(object, "schema");
      std::printf("  %s\n", schema.c_str());
    }
    std::printf("    %-10s %-30s", Field(object, "type").c_str(), Field(object, "name").c_str());
    if (!Field(object, "rows").empty()) std::printf(" %s rows", Field(object, "rows").c_str());
    if (!Field(object, "tablespace").empty() && Field(object, "type") == "TABLE") {
      std::printf(" in %s", Field(object, "tablespace").c_str());
    }
    if (!Field(object, "on").empty()) std::printf(" on %s", Field(object, "on").c_str());
    if (!Field(object, "for").empty()) std::printf(" for %s", Field(object, "for").c_str());
    std::printf("\n");
  }
  std::printf("\nGrants\n");
  for (const ReportRecord& grant : report.grants) {
    std::printf("  %-20s %-8s %s", Field(grant, "grantee").c_str(), Field(grant, "kind").c_str(),
                Field(grant, "privilege").c_str());
    if (!Field(grant, "object").empty()) std::printf(" ON %s", Field(grant, "object").c_str());
    if (Field(grant, "admin_option") == "yes") std::printf(" (with admin/grant option)");
    std::printf("\n");
  }
  if (!report.serverSettings.empty()) {
    std::printf("\nServer settings\n");
    for (const ReportRecord& setting : report.serverSettings) {
      // The report holds *** for a stored password, never the password.
      std::printf(
          "  %-20s server %s, vendor %s, authentication %s, user %s, password %s\n",
          Field(setting, "name").c_str(), Field(setting, "server").c_str(),
          Field(setting, "vendor").c_str(), Field(setting, "authentication").c_str(),
          Field(setting, "user").c_str(),
          Field(setting, "password").empty() ? "(none)" : Field(setting, "password").c_str());
    }
  }
}

int Create(const CommandOptions& options, const std::string& site) {
  const std::string dbms = Value(options, "dbms");
  DatabaseLocation location;
  std::string owner;
  std::string password;
  if (dbms == "db2") {
    const std::string instance = Value(options, "instance");
    const std::string alias = Value(options, "alias");
    if (instance.empty() || alias.empty()) return UsageError("db2 needs --instance and --alias");
    location = qelsandbox::Db2Location(site, instance, alias);
    owner = Value(options, "owner", instance);
  } else if (dbms == "oracle") {
    const std::string service = Value(options, "service");
    if (service.empty()) return UsageError("oracle needs --service");
    location = qelsandbox::OracleLocation(site, service);
    password = Value(options, "system-password", "sandbox");
  } else {
    return UsageError("--dbms must be db2 or oracle");
  }
  try {
    qelsandbox::CreateDatabase(location, owner, password);
  } catch (const qelsandbox::SandboxError& error) {
    return Error(error.message);
  }
  std::printf("created %s database %s (%s)\n", DbmsName(location).c_str(), location.name.c_str(),
              location.file.c_str());
  return ExitOk;
}

}  // namespace

int RunDbVerb(const std::vector<std::string>& arguments) {
  CommandOptions options;
  std::string error;
  if (!ParseCommandOptions(
          arguments, {"site", "dbms", "instance", "alias", "owner", "service", "system-password"},
          {"json", "help"}, options, error)) {
    return UsageError(error);
  }
  if (options.flags.count("help")) {
    std::fputs(Help, stdout);
    return ExitOk;
  }
  if (options.positional.empty()) return UsageError("a subcommand is needed");
  const std::string& subcommand = options.positional[0];
  const std::string site = CommandSite(options);
  if (site.empty()) return UsageError("no site: give --site DIR or set TESSARDBSETUP_SANDBOX");
  struct stat status {};
  if (stat(site.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
    return Error("the site " + site + " is not a directory");
  }
  if (subcommand == "create") {
    if (options.positional.size() != 1) return UsageError("create takes no name");
    return Create(options, site);
  }
  if (subcommand != "show" && subcommand != "reset") {
    return UsageError("unknown subcommand '" + subcommand + "'");
  }
  if (options.positional.size() != 2) return UsageError(subcommand + " needs one NAME");
  DatabaseLocation location;
  if (const int status = LocateDatabase(options, site, options.positional[1], "db", location);
      status != ExitOk) {
    return status;
  }
  try {
    if (subcommand == "reset") {
      qelsandbox::ResetDatabase(location);
      // Right after create no installation had recorded how to reach it.
      const int vendor = location.dialect == qelsandbox::Dialect::Db2 ? QelDbDB2 : QelDbOracle;
      for (const auto& [logical, setting] :
           QelDbDatabase::ListServers(options.positional[1], vendor)) {
        QelDbError error;
        if (QelDbDatabase::RemoveServer(logical, options.positional[1], vendor, error) != 0) {
          return Error(error.message);
        }
      }
      std::printf("reset %s database %s\n", DbmsName(location).c_str(), location.name.c_str());
      return ExitOk;
    }
    DatabaseReport report = qelsandbox::Report(location);
    report.serverSettings = ServerSettings(options.positional[1], location);
    options.flags.count("json") ? PrintJson(report) : PrintText(report);
  } catch (const qelsandbox::SandboxError& failure) {
    return Error(failure.message);
  }
  return ExitOk;
}
