// The driver's handles: an environment owns its connections, a connection
// its sandbox session and its statements, a statement the result of its
// last execution. Each keeps the diagnostics of the last call made on it.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sandbox/dbms/SandboxSession.h"

namespace sbodbc {

struct Diagnostic {
  std::string sqlstate;
  SQLINTEGER native = 0;
  std::string text;  // with the driver's tags
};

class HandleBase {
 public:
  std::vector<Diagnostic> diagnostics;
  // The return code of the last call, for SQL_DIAG_RETURNCODE.
  SQLRETURN lastReturn = SQL_SUCCESS;

  // Starts a call: the diagnostics of the one before go.
  void Begin() {
    diagnostics.clear();
    lastReturn = SQL_SUCCESS;
  }
  // Records an error of the driver's own (no DBMS code); SQL_ERROR.
  SQLRETURN Fail(const std::string& sqlstate, const std::string& text);
  // Records a warning; SQL_SUCCESS_WITH_INFO.
  SQLRETURN Warn(const std::string& sqlstate, const std::string& text);
  // Records an error the DBMS raised, with its native code; SQL_ERROR.
  SQLRETURN Raised(const qelsandbox::SandboxError& error, qelsandbox::Dialect dialect);
  // The tag a diagnostic of this handle carries ("[Sandbox DB2]").
  virtual std::string Component() const = 0;

 protected:
  HandleBase() = default;
  virtual ~HandleBase() = default;
};

class Connection;
class Statement;

class Environment : public HandleBase {
 public:
  SQLINTEGER odbcVersion = SQL_OV_ODBC3;
  std::vector<std::unique_ptr<Connection>> connections;
  std::string Component() const override { return "[Sandbox ODBC]"; }
};

// A column bound with SQLBindCol: SQLFetch writes each row's value there.
struct Binding {
  SQLSMALLINT type = SQL_C_CHAR;
  SQLPOINTER target = nullptr;
  SQLLEN capacity = 0;
  SQLLEN* indicator = nullptr;
};

class Statement : public HandleBase {
 public:
  explicit Statement(Connection& owner) : connection(owner) {}
  std::string Component() const override;

  // The cursor over the result of the last execution; closing it keeps the
  // prepared text and the bindings.
  void CloseCursor() {
    result = {};
    cursorOpen = false;
    row = -1;
    rowCount = -1;
    ResetColumnRead();
  }
  void ResetColumnRead() {
    readColumn = 0;
    readOffset = 0;
  }
  bool OnRow() const {
    return cursorOpen && row >= 0 && static_cast<std::size_t>(row) < result.rows.size();
  }

  Connection& connection;
  std::string prepared;
  bool isPrepared = false;
  qelsandbox::ResultSet result;
  bool cursorOpen = false;
  long long row = -1;
  SQLLEN rowCount = -1;
  std::map<SQLUSMALLINT, Binding> bindings;
  // SQLGetData reads a long value in parts: the column and how far it got
  // (in bytes of the value's text for SQL_C_CHAR, in UTF-16 units for
  // SQL_C_WCHAR).
  SQLUSMALLINT readColumn = 0;
  std::size_t readOffset = 0;
};

class Connection : public HandleBase {
 public:
  explicit Connection(Environment& owner) : environment(owner) {}
  std::string Component() const override;
  bool Connected() const { return session != nullptr; }
  // Rolls back and ends the session; the statements' cursors close.
  void Disconnect();

  Environment& environment;
  std::unique_ptr<qelsandbox::Session> session;
  qelsandbox::Dialect dialect = qelsandbox::Dialect::Db2;
  bool dialectKnown = false;
  bool autocommit = true;
  std::string dataSource;
  std::string database;
  std::string user;
  std::vector<std::unique_ptr<Statement>> statements;
};

// The handle the driver manager passed, or nullptr when it is none of ours.
Environment* AsEnvironment(SQLHANDLE handle);
Connection* AsConnection(SQLHANDLE handle);
Statement* AsStatement(SQLHANDLE handle);
HandleBase* AsHandle(SQLSMALLINT type, SQLHANDLE handle);

// Allocation and release, each handle owned by its parent.
SQLRETURN AllocateEnvironment(SQLHANDLE* output);
SQLRETURN AllocateConnection(Environment& environment, SQLHANDLE* output);
SQLRETURN AllocateStatement(Connection& connection, SQLHANDLE* output);
SQLRETURN FreeEnvironment(Environment& environment);
SQLRETURN FreeConnection(Connection& connection);
void FreeStatement(Statement& statement);

// Commits or rolls back the connection's work; SQL_ERROR with the DBMS's
// diagnostic on handle when that fails.
SQLRETURN EndTransaction(Connection& connection, bool commit, HandleBase& handle);

}  // namespace sbodbc
