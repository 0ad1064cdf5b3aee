// Shared pieces of the tessardbsetup-sandbox command: option parsing, the
// site directory, and the verbs' entry points (one file per verb).
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace qelsandbox {
struct DatabaseLocation;
}

// Exit statuses of every verb.
constexpr int ExitOk = 0;
constexpr int ExitError = 1;
constexpr int ExitUsage = 2;

struct CommandOptions {
  std::map<std::string, std::string> values;  // --name value
  std::set<std::string> flags;                // --name
  std::vector<std::string> positional;
};

// Splits arguments into options and positional words. false with the reason
// in error for an unknown option or a missing value.
bool ParseCommandOptions(const std::vector<std::string>& arguments,
                         const std::set<std::string>& valueOptions,
                         const std::set<std::string>& flagOptions, CommandOptions& options,
                         std::string& error);

// The site: --site, else $TESSARDBSETUP_SANDBOX; empty when neither is set.
std::string CommandSite(const CommandOptions& options);

// The one database NAME designates in the site, narrowed by --dbms and
// --instance: ExitOk, or ExitError with the reason on stderr.
int LocateDatabase(const CommandOptions& options, const std::string& site, const std::string& name,
                   const std::string& verb, qelsandbox::DatabaseLocation& location);

int RunDbVerb(const std::vector<std::string>& arguments);
int RunInitVerb(const std::vector<std::string>& arguments);
int RunOrbixdVerb(const std::vector<std::string>& arguments);
int RunSqlVerb(const std::vector<std::string>& arguments);
int RunVaultVerb(const std::vector<std::string>& arguments);
