// Administration of sandbox databases without a session: the server
// settings a PDM server reads, and the report `tessardbsetup-sandbox db
// show` prints.
#pragma once

#include <string>
#include <vector>

#include "SandboxSite.h"

namespace qelsandbox {

// How a PDM server reaches one logical database.
struct ServerSetting {
  std::string name;
  std::string server;      // DB2 alias or Oracle service name
  int vendor = 0;          // 1 DB2, 2 Oracle
  int authentication = 0;  // 1 server, 2 client
  std::string user;
  std::string password;
};

// Records (or replaces) a setting in the database's sbx_server_settings
// table. Raises a SandboxError on failure.
void RecordServerSetting(const DatabaseLocation& location, const ServerSetting& setting);
// The setting recorded under name: false when there is none. Raises a
// SandboxError when the database cannot be read.
bool ReadServerSetting(const DatabaseLocation& location, const std::string& name,
                       ServerSetting& setting);
// Removes the setting recorded under name; none is no failure. Raises a
// SandboxError on failure.
void RemoveServerSetting(const DatabaseLocation& location, const std::string& name);

struct ReportField {
  std::string key;
  std::string value;
  bool number = false;
};
using ReportRecord = std::vector<ReportField>;

struct DatabaseReport {
  DatabaseLocation location;
  std::vector<ReportRecord> users;
  std::vector<ReportRecord> tablespaces;
  std::vector<ReportRecord> objects;
  std::vector<ReportRecord> grants;
  std::vector<ReportRecord> serverSettings;  // passwords shown as ***
};

// Every database named name under the site: a DB2 alias of any instance or
// an Oracle service.
std::vector<DatabaseLocation> FindDatabases(const std::string& site, const std::string& name);
DatabaseReport Report(const DatabaseLocation& location);

}  // namespace qelsandbox
