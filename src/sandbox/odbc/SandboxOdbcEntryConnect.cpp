// Entry points: connecting, disconnecting and ending transactions.
#include <strings.h>

#include <algorithm>

#include "SandboxOdbcAttributes.h"
#include "SandboxOdbcGuard.h"
#include "SandboxOdbcHandles.h"
#include "SandboxOdbcText.h"

using namespace sbodbc;

namespace {

// The password copies go as soon as the session is open or refused.
void Wipe(std::string& secret) {
  std::fill(secret.begin(), secret.end(), '\0');
  secret.clear();
}

void Wipe(Attributes& attributes) {
  for (auto& [key, value] : attributes) {
    if (strcasecmp(key.c_str(), "PWD") == 0) Wipe(value);
  }
}

SQLRETURN Open(Connection& connection, const Attributes& given, ConnectSettings& settings) {
  if (connection.Connected()) return connection.Fail("08002", "The connection is already open.");
  settings = ResolveSettings(given);
  if (strcasecmp(settings.dialect.c_str(), "DB2") == 0) {
    connection.dialect = qelsandbox::Dialect::Db2;
  } else if (strcasecmp(settings.dialect.c_str(), "Oracle") == 0) {
    connection.dialect = qelsandbox::Dialect::Oracle;
  } else {
    const std::string where =
        settings.driver.empty() ? std::string() : " of driver \"" + settings.driver + "\"";
    return connection.Fail("08001", "No sandbox dialect for the connection" + where +
                                        ": set Dialect=DB2 or Dialect=Oracle in the driver "
                                        "entry, the data source or the connection string.");
  }
  connection.dialectKnown = true;
  if (settings.site.empty()) {
    return connection.Fail("08001",
                           "No sandbox site: set Site in the driver entry or the data source, or "
                           "TESSARDBSETUP_SANDBOX in the environment.");
  }
  try {
    connection.session = qelsandbox::Session::Open(
        settings.site, connection.dialect, settings.database, settings.user, settings.password,
        {settings.instance, settings.tnsAdmin});
  } catch (const qelsandbox::SandboxError& error) {
    return connection.Raised(error, connection.dialect);
  }
  connection.dataSource = settings.dataSource;
  connection.database = settings.database;
  connection.user = settings.user;
  return SQL_SUCCESS;
}

SQLRETURN EndAll(Environment& environment, bool commit) {
  SQLRETURN result = SQL_SUCCESS;
  for (const auto& connection : environment.connections) {
    if (!SQL_SUCCEEDED(EndTransaction(*connection, commit, environment))) result = SQL_ERROR;
  }
  return result;
}

}  // namespace

SQLRETURN SQL_API SQLConnect(SQLHDBC ConnectionHandle, SQLCHAR* ServerName, SQLSMALLINT NameLength1,
                             SQLCHAR* UserName, SQLSMALLINT NameLength2, SQLCHAR* Authentication,
                             SQLSMALLINT NameLength3) {
  Connection* connection = AsConnection(ConnectionHandle);
  if (!connection) return SQL_INVALID_HANDLE;
  return Guarded(*connection, [&] {
    Attributes given;
    given["DSN"] = InputText(ServerName, NameLength1);
    if (std::string user = InputText(UserName, NameLength2); !user.empty()) given["UID"] = user;
    if (std::string password = InputText(Authentication, NameLength3); !password.empty()) {
      given["PWD"] = std::move(password);
    }
    ConnectSettings settings;
    const SQLRETURN rc = Open(*connection, given, settings);
    Wipe(given);
    Wipe(settings.password);
    return rc;
  });
}

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC hdbc, SQLHWND, SQLCHAR* szConnStrIn,
                                   SQLSMALLINT cbConnStrIn, SQLCHAR* szConnStrOut,
                                   SQLSMALLINT cbConnStrOutMax, SQLSMALLINT* pcbConnStrOut,
                                   SQLUSMALLINT) {
  Connection* connection = AsConnection(hdbc);
  if (!connection) return SQL_INVALID_HANDLE;
  // Nothing to prompt with: every completion mode connects with what it got.
  return Guarded(*connection, [&]() -> SQLRETURN {
    std::string text = InputText(szConnStrIn, cbConnStrIn);
    std::optional<Attributes> given = ParseConnectionString(text);
    Wipe(text);
    if (!given) {
      return connection->Fail("08001",
                              "The connection string is malformed (a value's braces are not "
                              "closed, or an attribute has no '=').");
    }
    ConnectSettings settings;
    SQLRETURN rc = Open(*connection, *given, settings);
    Wipe(*given);
    Wipe(settings.password);
    if (!SQL_SUCCEEDED(rc)) return rc;
    if (CopyOut(CompletedConnectionString(settings), szConnStrOut, cbConnStrOutMax,
                pcbConnStrOut)) {
      rc = connection->Warn("01004", "String data, right truncated.");
    }
    return rc;
  });
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC ConnectionHandle) {
  Connection* connection = AsConnection(ConnectionHandle);
  if (!connection) return SQL_INVALID_HANDLE;
  return Guarded(*connection, [&]() -> SQLRETURN {
    if (!connection->Connected()) return connection->Fail("08003", "The connection is not open.");
    // A session ends with its uncommitted work rolled back, as the DBMSs do.
    connection->Disconnect();
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLEndTran(SQLSMALLINT HandleType, SQLHANDLE Handle, SQLSMALLINT CompletionType) {
  if (CompletionType != SQL_COMMIT && CompletionType != SQL_ROLLBACK) {
    HandleBase* handle = AsHandle(HandleType, Handle);
    if (!handle) return SQL_INVALID_HANDLE;
    return Guarded(*handle,
                   [&] { return handle->Fail("HY012", "Invalid transaction operation."); });
  }
  const bool commit = CompletionType == SQL_COMMIT;
  if (HandleType == SQL_HANDLE_ENV) {
    Environment* environment = AsEnvironment(Handle);
    if (!environment) return SQL_INVALID_HANDLE;
    return Guarded(*environment, [&] { return EndAll(*environment, commit); });
  }
  if (HandleType == SQL_HANDLE_DBC) {
    Connection* connection = AsConnection(Handle);
    if (!connection) return SQL_INVALID_HANDLE;
    return Guarded(*connection, [&]() -> SQLRETURN {
      if (!connection->Connected()) {
        return connection->Fail("08003", "The connection is not open.");
      }
      return EndTransaction(*connection, commit, *connection);
    });
  }
  return SQL_INVALID_HANDLE;
}

SQLRETURN SQL_API SQLTransact(SQLHENV EnvironmentHandle, SQLHDBC ConnectionHandle,
                              SQLUSMALLINT CompletionType) {
  if (ConnectionHandle != SQL_NULL_HDBC) {
    return SQLEndTran(SQL_HANDLE_DBC, ConnectionHandle, static_cast<SQLSMALLINT>(CompletionType));
  }
  return SQLEndTran(SQL_HANDLE_ENV, EnvironmentHandle, static_cast<SQLSMALLINT>(CompletionType));
}
