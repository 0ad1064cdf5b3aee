// Entry points: the diagnostics of the last call on a handle.
#include "SandboxOdbcHandles.h"
#include "SandboxOdbcText.h"

using namespace sbodbc;

namespace {

// Where a SQLSTATE's class is defined: ODBC's own classes, else the standard.
const char* Origin(const std::string& sqlstate) {
  return sqlstate.rfind("IM", 0) == 0 || sqlstate.rfind("HY", 0) == 0 ||
                 sqlstate.rfind("01S", 0) == 0 || sqlstate.rfind("42S", 0) == 0
             ? "ODBC 3.0"
             : "ISO 9075";
}

template <class Value>
SQLRETURN Numeric(SQLPOINTER target, Value value) {
  if (target) *static_cast<Value*>(target) = value;
  return SQL_SUCCESS;
}

SQLRETURN Text(const std::string& text, SQLPOINTER target, SQLSMALLINT capacity,
               SQLSMALLINT* length) {
  return CopyOut(text, target, capacity, length) ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

}  // namespace

SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT HandleType, SQLHANDLE Handle, SQLSMALLINT RecNumber,
                                SQLCHAR* Sqlstate, SQLINTEGER* NativeError, SQLCHAR* MessageText,
                                SQLSMALLINT BufferLength, SQLSMALLINT* TextLength) {
  const HandleBase* handle = AsHandle(HandleType, Handle);
  if (!handle) return SQL_INVALID_HANDLE;
  if (RecNumber < 1 || BufferLength < 0) return SQL_ERROR;
  if (static_cast<std::size_t>(RecNumber) > handle->diagnostics.size()) return SQL_NO_DATA;
  const Diagnostic& record = handle->diagnostics[static_cast<std::size_t>(RecNumber - 1)];
  CopyOut(record.sqlstate, Sqlstate, SQL_SQLSTATE_SIZE + 1, static_cast<SQLSMALLINT*>(nullptr));
  if (NativeError) *NativeError = record.native;
  return CopyOut(record.text, MessageText, BufferLength, TextLength) ? SQL_SUCCESS_WITH_INFO
                                                                     : SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT HandleType, SQLHANDLE Handle, SQLSMALLINT RecNumber,
                                  SQLSMALLINT DiagIdentifier, SQLPOINTER DiagInfo,
                                  SQLSMALLINT BufferLength, SQLSMALLINT* StringLength) {
  const HandleBase* handle = AsHandle(HandleType, Handle);
  if (!handle) return SQL_INVALID_HANDLE;
  switch (DiagIdentifier) {
    case SQL_DIAG_NUMBER:
      return Numeric<SQLINTEGER>(DiagInfo, static_cast<SQLINTEGER>(handle->diagnostics.size()));
    case SQL_DIAG_RETURNCODE:
      return Numeric<SQLRETURN>(DiagInfo, handle->lastReturn);
    case SQL_DIAG_ROW_COUNT:
    case SQL_DIAG_CURSOR_ROW_COUNT: {
      if (HandleType != SQL_HANDLE_STMT) return SQL_ERROR;
      return Numeric<SQLLEN>(DiagInfo, static_cast<const Statement*>(handle)->rowCount);
    }
    case SQL_DIAG_DYNAMIC_FUNCTION:
      if (HandleType != SQL_HANDLE_STMT) return SQL_ERROR;
      return Text("", DiagInfo, BufferLength, StringLength);
    case SQL_DIAG_DYNAMIC_FUNCTION_CODE:
      if (HandleType != SQL_HANDLE_STMT) return SQL_ERROR;
      return Numeric<SQLINTEGER>(DiagInfo, SQL_DIAG_UNKNOWN_STATEMENT);
    default:
      break;
  }
  if (RecNumber < 1) return SQL_ERROR;
  if (static_cast<std::size_t>(RecNumber) > handle->diagnostics.size()) return SQL_NO_DATA;
  const Diagnostic& record = handle->diagnostics[static_cast<std::size_t>(RecNumber - 1)];
  switch (DiagIdentifier) {
    case SQL_DIAG_SQLSTATE:
      return Text(record.sqlstate, DiagInfo, BufferLength, StringLength);
    case SQL_DIAG_NATIVE:
      return Numeric<SQLINTEGER>(DiagInfo, record.native);
    case SQL_DIAG_MESSAGE_TEXT:
      return Text(record.text, DiagInfo, BufferLength, StringLength);
    case SQL_DIAG_CLASS_ORIGIN:
    case SQL_DIAG_SUBCLASS_ORIGIN:
      return Text(Origin(record.sqlstate), DiagInfo, BufferLength, StringLength);
    case SQL_DIAG_CONNECTION_NAME:
    case SQL_DIAG_SERVER_NAME:
      return Text("", DiagInfo, BufferLength, StringLength);
    case SQL_DIAG_COLUMN_NUMBER:
      return Numeric<SQLINTEGER>(DiagInfo, SQL_COLUMN_NUMBER_UNKNOWN);
    case SQL_DIAG_ROW_NUMBER:
      return Numeric<SQLLEN>(DiagInfo, SQL_ROW_NUMBER_UNKNOWN);
    default:
      return SQL_ERROR;
  }
}
