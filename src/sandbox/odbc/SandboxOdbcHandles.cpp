// Handles and their diagnostics. The driver manager hands back whatever the
// application gave it; a handle is looked up among the live ones before it
// is used, so a stale one is refused rather than followed.
#include "SandboxOdbcHandles.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace sbodbc {

namespace {

std::mutex registryMutex;
std::unordered_map<const HandleBase*, SQLSMALLINT>& Live() {
  static std::unordered_map<const HandleBase*, SQLSMALLINT> live;
  return live;
}
std::vector<std::unique_ptr<Environment>>& Environments() {
  static std::vector<std::unique_ptr<Environment>> environments;
  return environments;
}

void Register(const HandleBase* handle, SQLSMALLINT type) {
  const std::lock_guard lock(registryMutex);
  Live()[handle] = type;
}

void Unregister(const HandleBase* handle) {
  const std::lock_guard lock(registryMutex);
  Live().erase(handle);
}

const char* DialectTag(qelsandbox::Dialect dialect) {
  return dialect == qelsandbox::Dialect::Db2 ? "[Sandbox DB2]" : "[Sandbox Oracle]";
}

template <class Owned>
void Erase(std::vector<std::unique_ptr<Owned>>& owners, const Owned& owned) {
  owners.erase(
      std::remove_if(owners.begin(), owners.end(),
                     [&](const std::unique_ptr<Owned>& one) { return one.get() == &owned; }),
      owners.end());
}

}  // namespace

SQLRETURN HandleBase::Fail(const std::string& sqlstate, const std::string& text) {
  diagnostics.push_back({sqlstate, 0, "[TESSAR]" + Component() + " " + text});
  return lastReturn = SQL_ERROR;
}

SQLRETURN HandleBase::Warn(const std::string& sqlstate, const std::string& text) {
  diagnostics.push_back({sqlstate, 0, "[TESSAR]" + Component() + " " + text});
  return lastReturn = SQL_SUCCESS_WITH_INFO;
}

SQLRETURN HandleBase::Raised(const qelsandbox::SandboxError& error, qelsandbox::Dialect dialect) {
  // The DBMS's own errors carry its code as its driver gives it: DB2's
  // SQLCODE (negative), Oracle's ORA number (positive). The sandbox's own
  // failures ("cannot read ...") have none.
  const bool db2 = dialect == qelsandbox::Dialect::Db2;
  const bool dbmsText = error.message.rfind(db2 ? "SQL" : "ORA-", 0) == 0;
  const SQLINTEGER native = !dbmsText ? 0 : db2 ? error.code : -error.code;
  diagnostics.push_back({error.sqlstate.empty() ? "HY000" : error.sqlstate, native,
                         std::string("[TESSAR]") + DialectTag(dialect) + " " + error.message});
  return lastReturn = SQL_ERROR;
}

std::string Connection::Component() const {
  return dialectKnown ? DialectTag(dialect) : "[Sandbox ODBC]";
}

std::string Statement::Component() const {
  return connection.Component();
}

void Connection::Disconnect() {
  for (const auto& statement : statements) statement->CloseCursor();
  if (session) session->Close();
  session.reset();
}

Environment* AsEnvironment(SQLHANDLE handle) {
  return static_cast<Environment*>(AsHandle(SQL_HANDLE_ENV, handle));
}

Connection* AsConnection(SQLHANDLE handle) {
  return static_cast<Connection*>(AsHandle(SQL_HANDLE_DBC, handle));
}

Statement* AsStatement(SQLHANDLE handle) {
  return static_cast<Statement*>(AsHandle(SQL_HANDLE_STMT, handle));
}

HandleBase* AsHandle(SQLSMALLINT type, SQLHANDLE handle) {
  const auto* base = static_cast<const HandleBase*>(handle);
  const std::lock_guard lock(registryMutex);
  const auto found = Live().find(base);
  if (found == Live().end() || found->second != type) return nullptr;
  return static_cast<HandleBase*>(handle);
}

SQLRETURN AllocateEnvironment(SQLHANDLE* output) {
  if (!output) return SQL_ERROR;
  auto environment = std::make_unique<Environment>();
  HandleBase* base = environment.get();
  Register(base, SQL_HANDLE_ENV);
  {
    const std::lock_guard lock(registryMutex);
    Environments().push_back(std::move(environment));
  }
  *output = base;
  return SQL_SUCCESS;
}

SQLRETURN AllocateConnection(Environment& environment, SQLHANDLE* output) {
  if (!output) return environment.Fail("HY009", "No place was given for the handle.");
  auto& connection =
      environment.connections.emplace_back(std::make_unique<Connection>(environment));
  HandleBase* base = connection.get();
  Register(base, SQL_HANDLE_DBC);
  *output = base;
  return SQL_SUCCESS;
}

SQLRETURN AllocateStatement(Connection& connection, SQLHANDLE* output) {
  if (!output) return connection.Fail("HY009", "No place was given for the handle.");
  if (!connection.Connected()) {
    return connection.Fail("08003", "The connection is not open.");
  }
  auto& statement = connection.statements.emplace_back(std::make_unique<Statement>(connection));
  HandleBase* base = statement.get();
  Register(base, SQL_HANDLE_STMT);
  *output = base;
  return SQL_SUCCESS;
}

SQLRETURN FreeEnvironment(Environment& environment) {
  if (!environment.connections.empty()) {
    return environment.Fail("HY010", "The environment still has connections.");
  }
  Unregister(&environment);
  const std::lock_guard lock(registryMutex);
  Erase(Environments(), environment);
  return SQL_SUCCESS;
}

SQLRETURN FreeConnection(Connection& connection) {
  if (connection.Connected()) {
    return connection.Fail("HY010", "The connection is still open: disconnect it first.");
  }
  for (const auto& statement : connection.statements) Unregister(statement.get());
  connection.statements.clear();
  Unregister(&connection);
  Erase(connection.environment.connections, connection);
  return SQL_SUCCESS;
}

void FreeStatement(Statement& statement) {
  Unregister(&statement);
  Erase(statement.connection.statements, statement);
}

SQLRETURN EndTransaction(Connection& connection, bool commit, HandleBase& handle) {
  if (!connection.Connected()) return SQL_SUCCESS;
  try {
    commit ? connection.session->Commit() : connection.session->Rollback();
  } catch (const qelsandbox::SandboxError& error) {
    return handle.Raised(error, connection.dialect);
  }
  return SQL_SUCCESS;
}

}  // namespace sbodbc
