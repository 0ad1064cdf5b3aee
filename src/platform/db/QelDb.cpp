// The database access layer's entry points: the choice of driver, statements
// executed (mode 0) or written to the DDL file (mode 1), commits, and the
// catalogue queries, each through the DBMS's own catalogue views so that any
// driver serves them unchanged.
#include "QelDb.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <ostream>

#include "QelDbDialect.h"
#include "QelDbScript.h"
#include "QelDbStatements.h"
#include "odbc/QelOdbcConnection.h"
#include "odbc/QelOdbcDriverCheck.h"
#include "odbc/QelOdbcServiceName.h"
#include "platform/QelDisplay.h"
#include "platform/QelDlgCombo.h"
#include "platform/QelFaultInjection.h"
#include "platform/QelUtf8Cut.h"

namespace {

// The route to a database, checked once per process and environment: an
// installation opens a connection per schema owner, and reading the ODBC
// configuration and loading the driver each time costs more than a
// hundred statements. A route that failed is checked again, since the
// administrator may have put it right in between; a change of driver name
// or of a variable the check reads is a new route.
std::string CheckedRoute(int dbms, const std::string& database, QelOdbcRoute& route) {
  static std::map<std::string, QelOdbcRoute> working;
  const auto variable = [](const char* name) {
    const char* value = std::getenv(name);
    return std::string(value ? value : "");
  };
  std::string key = std::to_string(dbms) + '\n' + database + '\n' + QelOdbcDriverName(dbms);
  for (const char* name :
       {"ODBCSYSINI", "ODBCINI", "DB2INSTANCE", "ORACLE_HOME", "TNS_ADMIN", "LD_LIBRARY_PATH"}) {
    key += '\n' + variable(name);
  }
  if (const auto found = working.find(key); found != working.end()) {
    route = found->second;
    return "";
  }
  const std::string problem = QelOdbcCheckRoute(dbms, database, route);
  if (problem.empty()) working.emplace(key, route);
  return problem;
}

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
  // Whatever the driver would say about a route that cannot work, the
  // check says first and more precisely.
  QelOdbcRoute route;
  const std::string problem = CheckedRoute(dbms, database.str(), route);
  if (!problem.empty()) return Fail(errorCode, message, -1, problem);
  if (QelFaultDue(QelFaultKind::DatabaseCall)) {
    const QelDbError fault = QelDbInjectedFault(dbms);
    return Fail(errorCode, message, fault.code, fault.message);
  }
  QelDbError error;
  connection = QelOdbcConnection::Open(
      dbms, QelOdbcWithCredentials(route, user.str(), password.str()), error);
  if (!connection) return Fail(errorCode, message, error.code ? error.code : -1, error.message);
  cursor = std::make_unique<QelDbCursor>(connection.get());
  return Succeed(errorCode, message);
}

std::string QelDbCheckDriver(int dbms, const std::string& database) {
  QelOdbcRoute route;
  return CheckedRoute(dbms, database, route);
}

std::string QelDbCheckServiceName(const std::string& service, const std::string& tnsAdmin) {
  return QelOdbcCheckServiceName(service, tnsAdmin);
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
    *ddlFile << QelDbScriptForm(dbms, type, statement);
    ddlFile->flush();
    if (!*ddlFile)
      return Fail(errorCode, message, -1, "cannot write the statement to the DDL file");
    return Played(errorCode, message);
  }
  if (mode != 0 && mode != 2)
    return Fail(errorCode, message, -1, "unknown execution mode " + std::to_string(mode));
  QelDbConnection* connection = cursor ? cursor->GetConnection() : nullptr;
  if (!connection || !connection->IsOpen()) return NotConnected(dbms, errorCode, message);
  QelDbError error;
  const int result = mode == 2 ? connection->ExecuteCommitted(statement, error)
                               : connection->Execute(statement, error);
  if (result != 0) {
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

int GetDataFileDirectory(QelDbConnection* connection, int dbms, QelUnicodeString& directory,
                         int& errorCode, char* message) {
  directory = QelUnicodeString();
  const std::string sql = QelDbDialect::For(dbms).DataFilesQuery();
  if (sql.empty()) return Succeed(errorCode, message);
  std::vector<QelDbRow> rows;
  const int result = CatalogueQuery(connection, dbms, sql, rows, errorCode, message);
  if (result != 0) return result;
  for (const QelDbRow& row : rows) {
    const std::size_t slash = row.empty() ? std::string::npos : row[0].rfind('/');
    if (slash == std::string::npos) continue;
    directory = slash == 0 ? std::string("/") : row[0].substr(0, slash);
    break;
  }
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
