// Entry points: handles and their attributes.
#include <cstdint>

#include "SandboxOdbcGuard.h"
#include "SandboxOdbcHandles.h"
#include "SandboxOdbcText.h"

using namespace sbodbc;

namespace {

// An integer attribute's value as the caller passes it (in the pointer).
SQLULEN IntegerValue(SQLPOINTER value) {
  return static_cast<SQLULEN>(reinterpret_cast<std::uintptr_t>(value));
}

template <class Value>
void Store(SQLPOINTER target, Value value, SQLINTEGER* length) {
  if (target) *static_cast<Value*>(target) = value;
  if (length) *length = sizeof(Value);
}

}  // namespace

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT HandleType, SQLHANDLE InputHandle,
                                 SQLHANDLE* OutputHandle) {
  switch (HandleType) {
    case SQL_HANDLE_ENV:
      return AllocateEnvironment(OutputHandle);
    case SQL_HANDLE_DBC: {
      Environment* environment = AsEnvironment(InputHandle);
      if (!environment) return SQL_INVALID_HANDLE;
      return Guarded(*environment, [&] { return AllocateConnection(*environment, OutputHandle); });
    }
    case SQL_HANDLE_STMT: {
      Connection* connection = AsConnection(InputHandle);
      if (!connection) return SQL_INVALID_HANDLE;
      return Guarded(*connection, [&] { return AllocateStatement(*connection, OutputHandle); });
    }
    default:
      // Explicit descriptors are the driver manager's to emulate.
      if (HandleBase* handle = AsHandle(SQL_HANDLE_DBC, InputHandle)) {
        return Guarded(*handle, [&] {
          return handle->Fail("HYC00", "Explicit descriptors are not supported.");
        });
      }
      return SQL_INVALID_HANDLE;
  }
}

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT HandleType, SQLHANDLE Handle) {
  switch (HandleType) {
    case SQL_HANDLE_ENV: {
      Environment* environment = AsEnvironment(Handle);
      if (!environment) return SQL_INVALID_HANDLE;
      environment->Begin();
      return FreeEnvironment(*environment);
    }
    case SQL_HANDLE_DBC: {
      Connection* connection = AsConnection(Handle);
      if (!connection) return SQL_INVALID_HANDLE;
      connection->Begin();
      return FreeConnection(*connection);
    }
    case SQL_HANDLE_STMT: {
      Statement* statement = AsStatement(Handle);
      if (!statement) return SQL_INVALID_HANDLE;
      FreeStatement(*statement);
      return SQL_SUCCESS;
    }
    default:
      return SQL_INVALID_HANDLE;
  }
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT StatementHandle, SQLUSMALLINT Option) {
  Statement* statement = AsStatement(StatementHandle);
  if (!statement) return SQL_INVALID_HANDLE;
  if (Option == SQL_DROP) {
    FreeStatement(*statement);
    return SQL_SUCCESS;
  }
  return Guarded(*statement, [&]() -> SQLRETURN {
    switch (Option) {
      case SQL_CLOSE:
        statement->CloseCursor();
        return SQL_SUCCESS;
      case SQL_UNBIND:
        statement->bindings.clear();
        return SQL_SUCCESS;
      case SQL_RESET_PARAMS:
        return SQL_SUCCESS;
      default:
        return statement->Fail("HY092", "Invalid option of SQLFreeStmt.");
    }
  });
}

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV EnvironmentHandle, SQLINTEGER Attribute, SQLPOINTER Value,
                                SQLINTEGER) {
  Environment* environment = AsEnvironment(EnvironmentHandle);
  if (!environment) return SQL_INVALID_HANDLE;
  return Guarded(*environment, [&]() -> SQLRETURN {
    switch (Attribute) {
      case SQL_ATTR_ODBC_VERSION:
        environment->odbcVersion = static_cast<SQLINTEGER>(IntegerValue(Value));
        return SQL_SUCCESS;
      case SQL_ATTR_OUTPUT_NTS:
        if (IntegerValue(Value) == SQL_TRUE) return SQL_SUCCESS;
        return environment->Fail("HYC00", "Strings are always NUL-terminated.");
      case SQL_ATTR_CONNECTION_POOLING:
      case SQL_ATTR_CP_MATCH:
        return SQL_SUCCESS;
      default:
        return environment->Fail("HY092", "Invalid environment attribute.");
    }
  });
}

SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV EnvironmentHandle, SQLINTEGER Attribute, SQLPOINTER Value,
                                SQLINTEGER, SQLINTEGER* StringLength) {
  Environment* environment = AsEnvironment(EnvironmentHandle);
  if (!environment) return SQL_INVALID_HANDLE;
  return Guarded(*environment, [&]() -> SQLRETURN {
    switch (Attribute) {
      case SQL_ATTR_ODBC_VERSION:
        Store<SQLINTEGER>(Value, environment->odbcVersion, StringLength);
        return SQL_SUCCESS;
      case SQL_ATTR_OUTPUT_NTS:
        Store<SQLINTEGER>(Value, SQL_TRUE, StringLength);
        return SQL_SUCCESS;
      case SQL_ATTR_CONNECTION_POOLING:
        Store<SQLUINTEGER>(Value, SQL_CP_OFF, StringLength);
        return SQL_SUCCESS;
      case SQL_ATTR_CP_MATCH:
        Store<SQLUINTEGER>(Value, SQL_CP_STRICT_MATCH, StringLength);
        return SQL_SUCCESS;
      default:
        return environment->Fail("HY092", "Invalid environment attribute.");
    }
  });
}

SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC ConnectionHandle, SQLINTEGER Attribute,
                                    SQLPOINTER Value, SQLINTEGER) {
  Connection* connection = AsConnection(ConnectionHandle);
  if (!connection) return SQL_INVALID_HANDLE;
  return Guarded(*connection, [&]() -> SQLRETURN {
    switch (Attribute) {
      case SQL_ATTR_AUTOCOMMIT: {
        const bool on = IntegerValue(Value) == SQL_AUTOCOMMIT_ON;
        // Turning autocommit on commits what is pending, as ODBC has it.
        if (on && !connection->autocommit) {
          const SQLRETURN rc = EndTransaction(*connection, true, *connection);
          if (!SQL_SUCCEEDED(rc)) return rc;
        }
        connection->autocommit = on;
        return SQL_SUCCESS;
      }
      case SQL_ATTR_LOGIN_TIMEOUT:
      case SQL_ATTR_CONNECTION_TIMEOUT:
      case SQL_ATTR_ACCESS_MODE:
      case SQL_ATTR_TRACE:
      case SQL_ATTR_TRACEFILE:
      case SQL_ATTR_QUIET_MODE:
      case SQL_ATTR_PACKET_SIZE:
      case SQL_ATTR_ODBC_CURSORS:
      case SQL_ATTR_TXN_ISOLATION:
        // Accepted and without effect: the sandbox has one isolation level
        // and no network.
        return SQL_SUCCESS;
      default:
        return connection->Fail("HY092",
                                "Invalid connection attribute " + std::to_string(Attribute) + ".");
    }
  });
}

SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC ConnectionHandle, SQLINTEGER Attribute,
                                    SQLPOINTER Value, SQLINTEGER BufferLength,
                                    SQLINTEGER* StringLength) {
  Connection* connection = AsConnection(ConnectionHandle);
  if (!connection) return SQL_INVALID_HANDLE;
  return Guarded(*connection, [&]() -> SQLRETURN {
    switch (Attribute) {
      case SQL_ATTR_AUTOCOMMIT:
        Store<SQLUINTEGER>(Value, connection->autocommit ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF,
                           StringLength);
        return SQL_SUCCESS;
      case SQL_ATTR_CONNECTION_DEAD:
        Store<SQLUINTEGER>(Value, connection->Connected() ? SQL_CD_FALSE : SQL_CD_TRUE,
                           StringLength);
        return SQL_SUCCESS;
      case SQL_ATTR_ACCESS_MODE:
        Store<SQLUINTEGER>(Value, SQL_MODE_READ_WRITE, StringLength);
        return SQL_SUCCESS;
      case SQL_ATTR_TXN_ISOLATION:
        Store<SQLUINTEGER>(Value, SQL_TXN_READ_COMMITTED, StringLength);
        return SQL_SUCCESS;
      case SQL_ATTR_LOGIN_TIMEOUT:
      case SQL_ATTR_CONNECTION_TIMEOUT:
        Store<SQLUINTEGER>(Value, 0, StringLength);
        return SQL_SUCCESS;
      case SQL_ATTR_CURRENT_CATALOG:
        if (CopyOut(connection->database, Value, BufferLength, StringLength)) {
          return connection->Warn("01004", "String data, right truncated.");
        }
        return SQL_SUCCESS;
      default:
        return connection->Fail("HY092",
                                "Invalid connection attribute " + std::to_string(Attribute) + ".");
    }
  });
}
