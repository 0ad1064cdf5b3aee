// The database a verb's NAME designates in a site, shared by the verbs that
// work on one database.
#include <cstdio>

#include "SandboxCommand.h"
#include "sandbox/dbms/SandboxAdmin.h"

int LocateDatabase(const CommandOptions& options, const std::string& site, const std::string& name,
                   const std::string& verb, qelsandbox::DatabaseLocation& location) {
  const auto value = [&options](const char* option) {
    const auto found = options.values.find(option);
    return found == options.values.end() ? std::string() : found->second;
  };
  const std::string dbms = value("dbms");
  const std::string instance = value("instance");
  std::vector<qelsandbox::DatabaseLocation> candidates;
  for (const qelsandbox::DatabaseLocation& found : qelsandbox::FindDatabases(site, name)) {
    const char* foundDbms = found.dialect == qelsandbox::Dialect::Db2 ? "db2" : "oracle";
    if ((dbms.empty() || dbms == foundDbms) && (instance.empty() || found.instance == instance)) {
      candidates.push_back(found);
    }
  }
  if (candidates.size() == 1) {
    location = candidates.front();
    return ExitOk;
  }
  if (candidates.empty()) {
    std::fprintf(stderr, "tessardbsetup-sandbox %s: no database %s in %s\n", verb.c_str(),
                 name.c_str(), site.c_str());
  } else {
    std::string names;
    for (const qelsandbox::DatabaseLocation& candidate : candidates) names += " " + candidate.file;
    std::fprintf(stderr,
                 "tessardbsetup-sandbox %s: %s names several databases (use --dbms or "
                 "--instance):%s\n",
                 verb.c_str(), name.c_str(), names.c_str());
  }
  return ExitError;
}
