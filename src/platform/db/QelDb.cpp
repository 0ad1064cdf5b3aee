// The database access layer's entry points: the choice of driver, statements
// executed (mode 0) or written to the DDL file (mode 1), commits, and the
// catalogue queries, each through the DBMS's own catalogue views so that any
// driver serves them unchanged.
#include "QelDb.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <ostream>

#include "QelDbDialect.h"
#include "QelDbStatements.h"
#include "platform/QelAccounts.h"
#include "platform/QelDisplay.h"
#include "platform/QelDlgCombo.h"
#include "platform/QelFaultInjection.h"
#include "platform/QelUtf8Cut.h"
#include "sandbox/SandboxAdmin.h"
#include "sandbox/SandboxSession.h"

namespace {

constexpr const char* NoDriver =
    "no database driver: the ODBC driver is not part of this build; set TESSARDBSETUP_SANDBOX "
    "to use a sandbox site";

// What an injected fault looks like to the caller: the DBMS's own code for a
// failure inside the server, so the engine cannot tell it from a real one.
QelDbError InjectedFault(int dbms) {
  const std::string reason = QelFaultText(QelFaultKind::DatabaseCall);
  if (dbms == QelDbDB2) {
    return {-901,
            "SQL0901N  The SQL statement or command failed because of a database system "
            "error. (Reason \"" +
                reason + "\".)  SQLSTATE=58004",
            "58004"};
  }
  return {-600, "ORA-00600: internal error code, arguments: [" + reason + "]", "HY000"};
}

// The sandbox driver: a sandbox session behind the layer's connection.
class SandboxConnection : public QelDbConnection {
 public:
  SandboxConnection(int dbms, std::unique_ptr<qelsandbox::Session> session)
      : QelDbConnection(dbms), session_(std::move(session)) {}

  int Close() override {
    session_->Close();
    return 0;
  }
  bool IsOpen() const override { return session_->IsOpen(); }
  int Execute(const std::string& statement, QelDbError& error) override {
    return Guard(error, [&] { session_->Execute(statement); });
  }
  int Commit(QelDbError& error) override {
    return Guard(error, [&] { session_->Commit(); });
  }
  int Query(const std::string& statement, std::vector<QelDbRow>& rows, QelDbError& error) override {
    return Guard(error, [&] { rows = session_->Query(statement); });
  }

 private:
  // The sandbox raises its errors; the layer's callers expect codes. An
  // injected fault fails the call before the DBMS sees it.
  template <class Body>
  int Guard(QelDbError& error, Body&& body) {
    if (QelFaultDue(QelFaultKind::DatabaseCall)) {
      error = InjectedFault(GetDBMS());
      return error.code;
    }
    try {
      body();
      error = {};
      return 0;
    } catch (const qelsandbox::SandboxError& failure) {
      error = {failure.code ? failure.code : -1, failure.message};
    } catch (const std::exception& failure) {
      error = {-1, std::string("sandbox DBMS failure: ") + failure.what(), "HY000"};
    }
    return error.code;
  }

  std::unique_ptr<qelsandbox::Session> session_;
};

int Fail(int& errorCode, char* message, int code, const std::string& text) {
  errorCode = code;
  QelDbSetMessage(message, text);
  return code;
}

int Succeed(int& errorCode, char* message) {
  errorCode = 0;
  QelDbSetMessage(message, "");
  return 0;
}

int NotConnected(int dbms, int& errorCode, char* message) {
  return dbms == QelDbDB2 ? Fail(errorCode, message, -1024,
                                 "SQL1024N  A database connection does not exist.  SQLSTATE=08003")
                          : Fail(errorCode, message, -3114, "ORA-03114: not connected to ORACLE");
}

QelDbConnection* ConnectionOf(QelDbCursor* cursor, QelDbConnection* connection) {
  if (connection) return connection;
  return cursor ? cursor->GetConnection() : nullptr;
}

// Runs a catalogue query; the rows, or the failure in errorCode/message.
int CatalogueQuery(QelDbConnection* connection, int dbms, const std::string& sql,
                   std::vector<QelDbRow>& rows, int& errorCode, char* message) {
  if (!connection || !connection->IsOpen()) return NotConnected(dbms, errorCode, message);
  QelDbError error;
  if (connection->Query(sql, rows, error) != 0) {
    return Fail(errorCode, message, error.code ? error.code : -1, error.message);
  }
  return Succeed(errorCode, message);
}

// The first words of a statement, upper case, comments skipped.
std::vector<std::string> LeadingWords(const std::string& text, std::size_t count) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size() && words.size() < count) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (std::isspace(c)) {
      ++i;
    } else if (text.compare(i, 2, "--") == 0) {
      i = text.find('\n', i);
      if (i == std::string::npos) break;
    } else if (text.compare(i, 2, "/*") == 0) {
      i = text.find("*/", i + 2);
      if (i == std::string::npos) break;
      i += 2;
    } else if (std::isalpha(c) || c == '_') {
      std::string word;
      while (i < text.size() &&
             (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_')) {
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(text[i++])));
      }
      words.push_back(word);
    } else {
      break;
    }
  }
  return words;
}

// SQL*Plus ends a PL/SQL unit with a "/" line instead of a semicolon.
bool IsProceduralBlock(const std::string& text) {
  std::vector<std::string> words = LeadingWords(text, 6);
  if (words.empty()) return false;
  if (words[0] == "BEGIN" || words[0] == "DECLARE") return true;
  if (words[0] != "CREATE") return false;
  std::size_t i = 1;
  if (i + 1 < words.size() && words[i] == "OR" && words[i + 1] == "REPLACE") i += 2;
  if (i < words.size() && (words[i] == "EDITIONABLE" || words[i] == "NONEDITIONABLE")) ++i;
  if (i >= words.size()) return false;
  const std::string& kind = words[i];
  return kind == "TRIGGER" || kind == "PROCEDURE" || kind == "FUNCTION" || kind == "PACKAGE" ||
         kind == "TYPE" || kind == "LIBRARY";
}

// The statement as the DBMS's command-line tool runs it from a script.
std::string ScriptForm(int dbms, int type, std::string statement) {
  while (!statement.empty() && std::isspace(static_cast<unsigned char>(statement.back()))) {
    statement.pop_back();
  }
  constexpr int ProceduralBlock = 12;
  if (dbms == QelDbOracle && (type == ProceduralBlock || IsProceduralBlock(statement))) {
    return statement + "\n/\n";
  }
  if (!statement.empty() && statement.back() == ';') statement.pop_back();
  return statement + ";\n";
}

}  // namespace

void QelDbSetMessage(char* message, const std::string& text) {
  if (!message) return;
  const std::size_t length = QelUtf8CutLength(text, QelDbMessageSize - 1);
  std::memcpy(message, text.data(), length);
  message[length] = '\0';
}

int GetDBConnection(int, int, int dbms, const QelUnicodeString& database,
                    const QelUnicodeString& user, const QelUnicodeString& password,
                    std::unique_ptr<QelDbConnection>& connection,
                    std::unique_ptr<QelDbCursor>& cursor, int& errorCode, char* message) {
  cursor.reset();
  connection.reset();
  if (dbms != QelDbDB2 && dbms != QelDbOracle) {
    return Fail(errorCode, message, -1, "unknown DBMS type " + std::to_string(dbms));
  }
  const std::string site = QelSandboxSite();
  if (site.empty()) return Fail(errorCode, message, -1, NoDriver);
  if (QelFaultDue(QelFaultKind::DatabaseCall)) {
    const QelDbError fault = InjectedFault(dbms);
    return Fail(errorCode, message, fault.code, fault.message);
  }
  try {
    auto session = qelsandbox::Session::Open(
        site, dbms == QelDbDB2 ? qelsandbox::Dialect::Db2 : qelsandbox::Dialect::Oracle,
        database.str(), user.str(), password.str());
    connection = std::make_unique<SandboxConnection>(dbms, std::move(session));
  } catch (const qelsandbox::SandboxError& failure) {
    return Fail(errorCode, message, failure.code ? failure.code : -1, failure.message);
  } catch (const std::exception& failure) {
    return Fail(errorCode, message, -1, std::string("sandbox DBMS failure: ") + failure.what());
  }
  cursor = std::make_unique<QelDbCursor>(connection.get());
  return Succeed(errorCode, message);
}

namespace {

// The front end follows the installation statement by statement (a silent
// run may press Cancel after a given number of them).
int Played(int& errorCode, char* message) {
  if (QelDisplay* display = QelGetDisplay()) display->StatementPlayed();
  return Succeed(errorCode, message);
}

}  // namespace

int ExeSQLStatement(QelDbCursor* cursor, int dbms, int mode, std::ostream* ddlFile, int type,
                    const QelUnicodeString& text, int length, int& errorCode, char* message) {
  std::string statement = text.str();
  if (length > 0 && static_cast<std::size_t>(length) < statement.size()) statement.resize(length);
  if (mode == 1) {
    if (!ddlFile) return Fail(errorCode, message, -1, "no DDL file to write the statement to");
    *ddlFile << ScriptForm(dbms, type, statement);
    ddlFile->flush();
    if (!*ddlFile)
      return Fail(errorCode, message, -1, "cannot write the statement to the DDL file");
    return Played(errorCode, message);
  }
  if (mode != 0)
    return Fail(errorCode, message, -1, "unknown execution mode " + std::to_string(mode));
  QelDbConnection* connection = cursor ? cursor->GetConnection() : nullptr;
  if (!connection || !connection->IsOpen()) return NotConnected(dbms, errorCode, message);
  QelDbError error;
  if (connection->Execute(statement, error) != 0) {
    return Fail(errorCode, message, error.code ? error.code : -1, error.message);
  }
  return Played(errorCode, message);
}

int CommitStatement(QelDbConnection* connection, int dbms, int, int, int& errorCode,
                    char* message) {
  if (!connection || !connection->IsOpen()) return NotConnected(dbms, errorCode, message);
  QelDbError error;
  if (connection->Commit(error) != 0) {
    return Fail(errorCode, message, error.code ? error.code : -1, error.message);
  }
  return Succeed(errorCode, message);
}

int IsSchemaNameInDB(QelDbCursor* cursor, QelDbConnection* connection, int dbms,
                     const QelUnicodeString&, QelListValQelUnicodeString& users,
                     QelListValQelUnicodeString& authentications, int& errorCode, char* message) {
  users.Clear();
  authentications.Clear();
  const std::string sql = QelDbDialect::For(dbms).UsersQuery();
  std::vector<QelDbRow> rows;
  const int result =
      CatalogueQuery(ConnectionOf(cursor, connection), dbms, sql, rows, errorCode, message);
  if (result != 0) return result;
  for (const QelDbRow& row : rows) {
    users.Append(QelUnicodeString(row.at(0)).ToUpper());
    authentications.Append(row.at(1));
  }
  return 0;
}

int IsTableInDB(QelDbCursor* cursor, QelDbConnection* connection, int dbms,
                const QelUnicodeString& schema, const QelUnicodeString& table, int& found,
                int& errorCode, char* message) {
  found = 0;
  const std::string sql = QelDbDialect::For(dbms).TableExistsQuery(schema.str(), table.str());
  std::vector<QelDbRow> rows;
  const int result =
      CatalogueQuery(ConnectionOf(cursor, connection), dbms, sql, rows, errorCode, message);
  if (result != 0) return result;
  found = rows.empty() ? 0 : 1;
  return 0;
}

int GetTBSListStd(QelDbCursor* cursor, QelDbConnection* connection, int dbms, int, int& errorCode,
                  char* message, QelDlgCombo* combo, int) {
  if (!combo) return Fail(errorCode, message, -1, "no list to receive the tablespaces");
  // Only tablespaces a table can be created in: neither temporary ones nor
  // those the DBMS keeps for its own catalogue.
  const std::string sql = QelDbDialect::For(dbms).TablespacesQuery();
  std::vector<QelDbRow> rows;
  const int result =
      CatalogueQuery(ConnectionOf(cursor, connection), dbms, sql, rows, errorCode, message);
  if (result != 0) return result;
  for (const QelDbRow& row : rows) combo->AddLine(row.at(0));
  return 0;
}

namespace {

// Runs body on the sandbox database that server and vendor name; the
// failure (an injected fault included) comes back as the DBMS reports it.
template <class Body>
QelDbError OnSettingsDatabase(const QelUnicodeString& server, int vendor, Body&& body) {
  const std::string site = QelSandboxSite();
  if (site.empty()) return {-1, NoDriver};
  if (vendor != QelDbDB2 && vendor != QelDbOracle) {
    return {-1, "unknown DBMS type " + std::to_string(vendor)};
  }
  if (QelFaultDue(QelFaultKind::DatabaseCall)) return InjectedFault(vendor);
  try {
    body(qelsandbox::LocateForClient(
        site, vendor == QelDbDB2 ? qelsandbox::Dialect::Db2 : qelsandbox::Dialect::Oracle,
        server.str()));
  } catch (const qelsandbox::SandboxError& raised) {
    return {raised.code ? raised.code : -1, raised.message};
  }
  return {};
}

}  // namespace

int QelDbDatabase::SetServer(const QelUnicodeString& name, const QelUnicodeString& server,
                             int vendor, int authentication, const QelUnicodeString& user,
                             const QelUnicodeString& password, QelDbError* error) {
  const QelDbError failure =
      OnSettingsDatabase(server, vendor, [&](const qelsandbox::DatabaseLocation& location) {
        qelsandbox::RecordServerSetting(location, {name.str(), server.str(), vendor, authentication,
                                                   user.str(), password.str()});
      });
  if (error) *error = failure;
  return failure.code;
}

int QelDbDatabase::GetServer(const QelUnicodeString& name, const QelUnicodeString& server,
                             int vendor, bool& found, QelDbServerSetting& setting,
                             QelDbError& error) {
  found = false;
  error = OnSettingsDatabase(server, vendor, [&](const qelsandbox::DatabaseLocation& location) {
    qelsandbox::ServerSetting recorded;
    found = qelsandbox::ReadServerSetting(location, name.str(), recorded);
    if (found) {
      setting = {recorded.server, recorded.vendor, recorded.authentication, recorded.user,
                 recorded.password};
    }
  });
  return error.code;
}

int QelDbDatabase::RestoreServer(const QelUnicodeString& name, const QelUnicodeString& database,
                                 int vendor, const QelDbServerSetting& setting, QelDbError& error) {
  error = OnSettingsDatabase(database, vendor, [&](const qelsandbox::DatabaseLocation& location) {
    qelsandbox::RecordServerSetting(
        location, {name.str(), setting.server, setting.vendor, setting.authentication, setting.user,
                   setting.password});
  });
  return error.code;
}

int QelDbDatabase::RemoveServer(const QelUnicodeString& name, const QelUnicodeString& server,
                                int vendor, QelDbError& error) {
  error = OnSettingsDatabase(server, vendor, [&](const qelsandbox::DatabaseLocation& location) {
    qelsandbox::RemoveServerSetting(location, name.str());
  });
  return error.code;
}
