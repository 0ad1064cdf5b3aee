// Connections, statements, commits and result rows through ODBC 3.
#include "QelOdbcConnection.h"

#include <sqlext.h>

#include <cstring>

#include "QelOdbcEnvironment.h"
#include "platform/QelFaultInjection.h"

namespace {

QelDbError NoHandle(int dbms, const char* what) {
  return QelDbDialect::For(dbms).Error(
      {"HY001", 0, std::string("the ODBC driver manager gave no ") + what + " handle"});
}

// A column's value as text, however long; NULL as empty.
bool ReadColumn(const QelOdbcHandle& statement, SQLUSMALLINT column, std::string& value) {
  value.clear();
  char buffer[4096];
  for (;;) {
    SQLLEN indicator = 0;
    const SQLRETURN rc =
        SQLGetData(statement.Get(), column, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
    if (rc == SQL_NO_DATA) return true;
    if (!SQL_SUCCEEDED(rc)) return false;
    if (indicator == SQL_NULL_DATA) return true;
    // Truncated (01004): the buffer is full less its NUL; more follows.
    const bool more =
        rc == SQL_SUCCESS_WITH_INFO &&
        (indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(sizeof buffer));
    value.append(buffer, more ? sizeof buffer - 1 : std::strlen(buffer));
    if (!more) return true;
  }
}

}  // namespace

const QelOdbcHandle& QelOdbcEnvironment() {
  // SQLEndTran and the ODBC 3 SQLSTATEs need the version set before any
  // connection handle exists.
  static const QelOdbcHandle environment = [] {
    QelOdbcHandle handle(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    if (handle.IsValid()) {
      SQLSetEnvAttr(handle.Get(), SQL_ATTR_ODBC_VERSION,
                    reinterpret_cast<SQLPOINTER>(static_cast<long>(SQL_OV_ODBC3)), 0);
    }
    return handle;
  }();
  return environment;
}

std::vector<QelDbDiagnostic> QelDbDiagnostics(const QelOdbcHandle& handle) {
  std::vector<QelDbDiagnostic> records;
  for (SQLSMALLINT record = 1;; ++record) {
    SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
    SQLINTEGER native = 0;
    SQLCHAR text[4096] = {};
    SQLSMALLINT length = 0;
    const SQLRETURN rc = SQLGetDiagRec(handle.Type(), handle.Get(), record, state, &native, text,
                                       sizeof text, &length);
    if (!SQL_SUCCEEDED(rc)) break;
    records.push_back({reinterpret_cast<const char*>(state), static_cast<int>(native),
                       reinterpret_cast<const char*>(text)});
  }
  return records;
}

std::string QelOdbcAttributeValue(const std::string& value) {
  if (value.find_first_of(";{}=[](),?*!@ \t") == std::string::npos && !value.empty()) return value;
  std::string braced = "{";
  for (const char c : value) {
    braced += c;
    if (c == '}') braced += '}';
  }
  return braced + "}";
}

QelOdbcConnection::QelOdbcConnection(int dbms, QelOdbcHandle connection)
    : QelDbConnection(dbms), connection_(std::move(connection)) {}

QelOdbcConnection::~QelOdbcConnection() {
  Close();
}

std::unique_ptr<QelOdbcConnection> QelOdbcConnection::Open(int dbms,
                                                           const std::string& connectionString,
                                                           QelDbError& error) {
  if (!QelOdbcEnvironment().IsValid()) {
    error = NoHandle(dbms, "environment");
    return nullptr;
  }
  QelOdbcHandle handle(SQL_HANDLE_DBC, QelOdbcEnvironment().Get());
  if (!handle.IsValid()) {
    error = NoHandle(dbms, "connection");
    return nullptr;
  }
  SQLCHAR completed[1024];
  SQLSMALLINT completedLength = 0;
  std::string text = connectionString;
  const SQLRETURN rc =
      SQLDriverConnect(handle.Get(), nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                       static_cast<SQLSMALLINT>(text.size()), completed, sizeof completed,
                       &completedLength, SQL_DRIVER_NOPROMPT);
  // The copy held the password: it goes before anything can keep it.
  std::fill(text.begin(), text.end(), '\0');
  std::memset(completed, 0, sizeof completed);
  auto connection =
      std::unique_ptr<QelOdbcConnection>(new QelOdbcConnection(dbms, std::move(handle)));
  if (!SQL_SUCCEEDED(rc)) {
    connection->connected_ = false;
    connection->Failed(connection->connection_, "SQLDriverConnect", error);
    return nullptr;
  }
  if (!SQL_SUCCEEDED(SQLSetConnectAttr(connection->connection_.Get(), SQL_ATTR_AUTOCOMMIT,
                                       reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF),
                                       SQL_IS_UINTEGER))) {
    connection->Failed(connection->connection_, "SQLSetConnectAttr", error);
    return nullptr;
  }
  error = {};
  return connection;
}

int QelOdbcConnection::Close() {
  if (!connected_) return 0;
  connected_ = false;
  statement_.Free();
  // A session ends with its uncommitted work rolled back, as the DBMSs do;
  // some drivers refuse to disconnect inside a transaction.
  SQLEndTran(SQL_HANDLE_DBC, connection_.Get(), SQL_ROLLBACK);
  SQLDisconnect(connection_.Get());
  connection_.Free();
  return 0;
}

int QelOdbcConnection::Failed(const QelOdbcHandle& handle, const char* call,
                              QelDbError& error) const {
  const std::vector<QelDbDiagnostic> records = QelDbDiagnostics(handle);
  const QelDbDialect& dialect = QelDbDialect::For(GetDBMS());
  error = records.empty()
              ? dialect.Error({"HY000", 0, std::string(call) + " failed without a diagnostic"})
              : dialect.Error(records.front());
  return error.code;
}

int QelOdbcConnection::Execute(const std::string& statement, QelDbError& error) {
  // An injected fault fails the call before the driver sees it.
  if (QelFaultDue(QelFaultKind::DatabaseCall)) {
    error = QelDbInjectedFault(GetDBMS());
    return error.code;
  }
  if (!connected_) return Failed(connection_, "SQLExecDirect", error);
  if (const int code = SetAutocommit(false, error); code != 0) return code;
  // Even a failed statement may leave a transaction open (an aborted one on
  // some servers) that only a commit or a rollback ends.
  pending_ = true;
  return Run(statement, error);
}

int QelOdbcConnection::ExecuteCommitted(const std::string& statement, QelDbError& error) {
  if (pending_) {
    if (const int code = Execute(statement, error); code != 0) return code;
    return Commit(error);
  }
  // An injected fault fails the call before the driver sees it.
  if (QelFaultDue(QelFaultKind::DatabaseCall)) {
    error = QelDbInjectedFault(GetDBMS());
    return error.code;
  }
  if (!connected_) return Failed(connection_, "SQLExecDirect", error);
  if (const int code = SetAutocommit(true, error); code != 0) return code;
  return Run(statement, error);
}

int QelOdbcConnection::Run(const std::string& statement, QelDbError& error) {
  // One statement handle serves every execution: the driver manager's
  // allocation and release of one per statement was a visible part of the
  // statement's cost.
  if (!statement_.IsValid()) {
    statement_ = QelOdbcHandle(SQL_HANDLE_STMT, connection_.Get());
    if (!statement_.IsValid()) return Failed(connection_, "SQLAllocHandle", error);
  }
  std::string text = statement;
  const SQLRETURN rc = SQLExecDirect(statement_.Get(), reinterpret_cast<SQLCHAR*>(text.data()),
                                     static_cast<SQLINTEGER>(text.size()));
  // A searched UPDATE or DELETE that touched no row is no failure.
  int code = 0;
  if (SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA) {
    error = {};
  } else {
    code = Failed(statement_, "SQLExecDirect", error);
  }
  // Whatever the statement returned is not read: the handle is ready again.
  SQLFreeStmt(statement_.Get(), SQL_CLOSE);
  return code;
}

int QelOdbcConnection::SetAutocommit(bool on, QelDbError& error) {
  if (autocommit_ == on) return 0;
  const SQLULEN value = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
  if (!SQL_SUCCEEDED(SQLSetConnectAttr(connection_.Get(), SQL_ATTR_AUTOCOMMIT,
                                       reinterpret_cast<SQLPOINTER>(value), SQL_IS_UINTEGER))) {
    return Failed(connection_, "SQLSetConnectAttr", error);
  }
  autocommit_ = on;
  return 0;
}

int QelOdbcConnection::Commit(QelDbError& error) {
  // An injected fault fails the call before the driver sees it.
  if (QelFaultDue(QelFaultKind::DatabaseCall)) {
    error = QelDbInjectedFault(GetDBMS());
    return error.code;
  }
  if (!connected_) return Failed(connection_, "SQLEndTran", error);
  if (!SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, connection_.Get(), SQL_COMMIT))) {
    return Failed(connection_, "SQLEndTran", error);
  }
  pending_ = false;
  error = {};
  return 0;
}

int QelOdbcConnection::Query(const std::string& statement, std::vector<QelDbRow>& rows,
                             QelDbError& error) {
  rows.clear();
  // An injected fault fails the call before the driver sees it.
  if (QelFaultDue(QelFaultKind::DatabaseCall)) {
    error = QelDbInjectedFault(GetDBMS());
    return error.code;
  }
  if (!connected_) return Failed(connection_, "SQLExecDirect", error);
  QelOdbcHandle handle(SQL_HANDLE_STMT, connection_.Get());
  if (!handle.IsValid()) return Failed(connection_, "SQLAllocHandle", error);
  std::string text = statement;
  SQLRETURN rc = SQLExecDirect(handle.Get(), reinterpret_cast<SQLCHAR*>(text.data()),
                               static_cast<SQLINTEGER>(text.size()));
  if (rc == SQL_NO_DATA) return error = {}, 0;
  if (!SQL_SUCCEEDED(rc)) return Failed(handle, "SQLExecDirect", error);
  SQLSMALLINT columns = 0;
  if (!SQL_SUCCEEDED(SQLNumResultCols(handle.Get(), &columns))) {
    return Failed(handle, "SQLNumResultCols", error);
  }
  while ((rc = SQLFetch(handle.Get())) != SQL_NO_DATA) {
    if (!SQL_SUCCEEDED(rc)) return Failed(handle, "SQLFetch", error);
    QelDbRow row(static_cast<std::size_t>(columns));
    for (SQLUSMALLINT column = 1; column <= columns; ++column) {
      if (!ReadColumn(handle, column, row[column - 1])) return Failed(handle, "SQLGetData", error);
    }
    rows.push_back(std::move(row));
  }
  error = {};
  return 0;
}
