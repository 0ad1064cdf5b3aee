// The database access layer: connections, cursors, statements, commits and
// the catalogue queries the installer needs, the same for both DBMSs. A
// driver does the work: the embedded sandbox DBMS when TESSARDBSETUP_SANDBOX
// names a site, otherwise the host's ODBC data sources.
//
// Every operation returns 0 on success. On failure it returns non-zero and
// fills errorCode and message (at most QelDbMessageSize bytes, terminating
// NUL included, cut on a character boundary): a DBMS-style text such as
// "SQL0601N  ..." or "ORA-01920: ...".
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/QelList.h"
#include "platform/QelUnicodeString.h"

class QelDlgCombo;

constexpr int QelDbDB2 = 1;
constexpr int QelDbOracle = 2;
constexpr int QelDbMessageSize = 5000;

// One row of a query result, columns as text (NULL as empty).
using QelDbRow = std::vector<std::string>;

struct QelDbError {
  QelDbError() = default;
  QelDbError(int code_, std::string message_, std::string sqlstate_ = {})
      : code(code_), message(std::move(message_)), sqlstate(std::move(sqlstate_)) {}

  int code = 0;
  std::string message;
  // The ODBC SQLSTATE, where the driver gave one.
  std::string sqlstate;
};

// A session with one database as one user. Closing ends the session;
// uncommitted work is rolled back, as the DBMSs do for a closed session.
class QelDbConnection {
 public:
  explicit QelDbConnection(int dbms) : dbms_(dbms) {}
  QelDbConnection(const QelDbConnection&) = delete;
  QelDbConnection& operator=(const QelDbConnection&) = delete;
  virtual ~QelDbConnection() = default;

  int GetDBMS() const { return dbms_; }
  virtual int Close() = 0;
  virtual bool IsOpen() const = 0;
  virtual int Execute(const std::string& statement, QelDbError& error) = 0;
  virtual int Commit(QelDbError& error) = 0;
  // Executes statement as a unit of work of its own, as Execute then Commit
  // would: with nothing else pending a driver can commit it in the same
  // round trip.
  virtual int ExecuteCommitted(const std::string& statement, QelDbError& error) = 0;
  virtual int Query(const std::string& statement, std::vector<QelDbRow>& rows,
                    QelDbError& error) = 0;

 private:
  int dbms_;
};

// Statements run through a cursor on a connection.
class QelDbCursor {
 public:
  explicit QelDbCursor(QelDbConnection* connection) : connection_(connection) {}
  QelDbConnection* GetConnection() const { return connection_; }
  int Close() {
    connection_ = nullptr;
    return 0;
  }

 private:
  QelDbConnection* connection_;
};

// Opens a connection and a cursor on database (DB2 alias, Oracle service
// name) as user. The two leading integers are kept for the callers' sake.
int GetDBConnection(int, int, int dbms, const QelUnicodeString& database,
                    const QelUnicodeString& user, const QelUnicodeString& password,
                    std::unique_ptr<QelDbConnection>& connection,
                    std::unique_ptr<QelDbCursor>& cursor, int& errorCode, char* message);

// Why database (DB2 alias, Oracle service) cannot be reached through its
// ODBC route whatever the account (driver not registered, its library not
// loading, the client's variables missing), or an empty text.
std::string QelDbCheckDriver(int dbms, const std::string& database);

// Why the Oracle net service name cannot be resolved, or an empty text: it
// resolves when an ODBC data source has its name or tnsAdmin/tnsnames.ora
// defines it (a connect descriptor or Easy Connect text always does).
std::string QelDbCheckServiceName(const std::string& service, const std::string& tnsAdmin);

// mode 0: executes text on the cursor's connection. mode 1: appends it to
// ddlFile with the dialect's separator, so the file runs as it is in the
// DBMS's command-line tool (nothing is executed). mode 2: executes and
// commits text on the cursor's connection as one unit of work.
int ExeSQLStatement(QelDbCursor* cursor, int dbms, int mode, std::ostream* ddlFile, int type,
                    const QelUnicodeString& text, int length, int& errorCode, char* message);

int CommitStatement(QelDbConnection* connection, int dbms, int, int, int& errorCode, char* message);

// Lists every database user (upper case) and its authentication
// ("PASSWORD", or "EXTERNAL" for operating-system authentication).
int IsSchemaNameInDB(QelDbCursor* cursor, QelDbConnection* connection, int dbms,
                     const QelUnicodeString& account, QelListValQelUnicodeString& users,
                     QelListValQelUnicodeString& authentications, int& errorCode, char* message);

// found = 1 when schema.table exists (committed or created on this
// connection).
int IsTableInDB(QelDbCursor* cursor, QelDbConnection* connection, int dbms,
                const QelUnicodeString& schema, const QelUnicodeString& table, int& found,
                int& errorCode, char* message);

// The directory holding the data files of the database's own tablespace,
// or empty when the catalogue names none (or the DBMS has no such query).
int GetDataFileDirectory(QelDbConnection* connection, int dbms, QelUnicodeString& directory,
                         int& errorCode, char* message);

// Appends the names of the database's tablespaces to combo.
int GetTBSListStd(QelDbCursor* cursor, QelDbConnection* connection, int dbms, int, int& errorCode,
                  char* message, QelDlgCombo* combo, int);

// A fault injected into a database call (a test switch): the DBMS's own
// code for a failure inside the server, so the engine cannot tell it from
// a real one.
QelDbError QelDbInjectedFault(int dbms);

// Copies text into a message buffer of QelDbMessageSize bytes.
void QelDbSetMessage(char* message, const std::string& text);

// How a PDM server reaches one logical database, as recorded.
struct QelDbServerSetting {
  std::string server;
  int vendor = 0;
  int authentication = 0;
  std::string user;
  std::string password;
};

// The server settings a PDM server reads to reach its logical databases,
// kept in the settings repository TESSARDBServers of $QelUserSettingPath
// (one entry per DBMS, server and logical name), the same for every DBMS
// and driver. Each operation is one call of the layer (a fault can be
// injected there).
class QelDbDatabase {
 public:
  // Records how the PDM server reaches logical database name: server (DB2
  // alias or Oracle service name), vendor (1 DB2, 2 Oracle), authentication
  // (1 server, 2 client) and, in single-user mode, the account it logs in
  // as. 0, or non-zero with the reason in error when given.
  static int SetServer(const QelUnicodeString& name, const QelUnicodeString& server, int vendor,
                       int authentication, const QelUnicodeString& user,
                       const QelUnicodeString& password, QelDbError* error = nullptr);
  // The setting recorded for name in the database that server and vendor
  // name: found is false when there is none.
  static int GetServer(const QelUnicodeString& name, const QelUnicodeString& server, int vendor,
                       bool& found, QelDbServerSetting& setting, QelDbError& error);
  // Records setting under name in the database that database and vendor
  // name, as it was read by GetServer.
  static int RestoreServer(const QelUnicodeString& name, const QelUnicodeString& database,
                           int vendor, const QelDbServerSetting& setting, QelDbError& error);
  // Removes the setting recorded for name there; none is no failure.
  static int RemoveServer(const QelUnicodeString& name, const QelUnicodeString& server, int vendor,
                          QelDbError& error);
  // Every setting recorded for server and vendor, by logical name.
  static std::vector<std::pair<std::string, QelDbServerSetting>> ListServers(
      const QelUnicodeString& server, int vendor);
};
