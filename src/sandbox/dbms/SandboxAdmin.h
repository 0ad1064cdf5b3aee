// Administration of sandbox databases without a session: the report
// `tessardbsetup-sandbox db show` prints.
#pragma once

#include <string>
#include <vector>

#include "SandboxSite.h"

namespace qelsandbox {

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
  // The server settings a PDM server reads for this database, which the
  // caller adds (they are no part of the database); passwords shown as ***.
  std::vector<ReportRecord> serverSettings;
};

// Every database named name under the site: a DB2 alias of any instance or
// an Oracle service.
std::vector<DatabaseLocation> FindDatabases(const std::string& site, const std::string& name);
DatabaseReport Report(const DatabaseLocation& location);

}  // namespace qelsandbox
