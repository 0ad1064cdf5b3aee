// What a connection is made with: the attributes of a connection string,
// of the data source it names (odbc.ini) and of the driver entry
// (odbcinst.ini), the first given winning in that order.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace sbodbc {

struct CaseInsensitiveLess {
  bool operator()(const std::string& left, const std::string& right) const;
};
using Attributes = std::map<std::string, std::string, CaseInsensitiveLess>;

// "KEY=value;KEY={va;l}}ue};..." as its keys and values: a braced value
// runs to the lone closing brace, "}}" inside it standing for one; the
// first occurrence of a key counts. Nothing when the text is malformed
// (an unterminated brace, a key without '=').
std::optional<Attributes> ParseConnectionString(const std::string& text);

// Everything the sandbox needs to open a session.
struct ConnectSettings {
  std::string dataSource;
  std::string driver;
  std::string dialect;   // "DB2" or "Oracle", as written
  std::string site;      // the sandbox site directory
  std::string database;  // DB2 alias or Oracle net service name
  std::string user;
  std::string password;
  std::string instance;  // DB2 instance, when $DB2INSTANCE is unset
  std::string
      tnsAdmin;  // directory of tnsnames.ora, when neither $TNS_ADMIN nor $ORACLE_HOME is set
};

// given's attributes completed from the data source (DSN) and the driver
// entry (DRIVER, or the data source's Driver), then from the environment
// ($TESSARDBSETUP_SANDBOX for the site). A data source without a Database
// names its own database.
ConnectSettings ResolveSettings(const Attributes& given);

// The connection string a completed connection reports (no password).
std::string CompletedConnectionString(const ConnectSettings& settings);

}  // namespace sbodbc
