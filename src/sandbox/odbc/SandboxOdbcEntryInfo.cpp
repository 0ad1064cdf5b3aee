// Entry points: what the driver and its DBMS are and can do, as the driver
// manager and the applications ask before they use a connection.
#include <algorithm>
#include <array>

#include "SandboxOdbcGuard.h"
#include "SandboxOdbcHandles.h"
#include "SandboxOdbcText.h"

using namespace sbodbc;

namespace {

// The functions this library exports, by their SQL_API_ numbers.
constexpr std::array<SQLUSMALLINT, 30> Exported = {
    SQL_API_SQLALLOCHANDLE,    SQL_API_SQLFREEHANDLE,    SQL_API_SQLFREESTMT,
    SQL_API_SQLSETENVATTR,     SQL_API_SQLGETENVATTR,    SQL_API_SQLSETCONNECTATTR,
    SQL_API_SQLGETCONNECTATTR, SQL_API_SQLCONNECT,       SQL_API_SQLDRIVERCONNECT,
    SQL_API_SQLDISCONNECT,     SQL_API_SQLEXECDIRECT,    SQL_API_SQLPREPARE,
    SQL_API_SQLEXECUTE,        SQL_API_SQLNUMRESULTCOLS, SQL_API_SQLDESCRIBECOL,
    SQL_API_SQLCOLATTRIBUTE,   SQL_API_SQLROWCOUNT,      SQL_API_SQLFETCH,
    SQL_API_SQLGETDATA,        SQL_API_SQLBINDCOL,       SQL_API_SQLCLOSECURSOR,
    SQL_API_SQLMORERESULTS,    SQL_API_SQLENDTRAN,       SQL_API_SQLTRANSACT,
    SQL_API_SQLGETDIAGREC,     SQL_API_SQLGETDIAGFIELD,  SQL_API_SQLGETINFO,
    SQL_API_SQLGETFUNCTIONS,   SQL_API_SQLGETTYPEINFO,   SQL_API_SQLTABLES,
};

bool IsExported(SQLUSMALLINT function) {
  return std::find(Exported.begin(), Exported.end(), function) != Exported.end();
}

}  // namespace

SQLRETURN SQL_API SQLGetFunctions(SQLHDBC ConnectionHandle, SQLUSMALLINT FunctionId,
                                  SQLUSMALLINT* Supported) {
  Connection* connection = AsConnection(ConnectionHandle);
  if (!connection) return SQL_INVALID_HANDLE;
  return Guarded(*connection, [&]() -> SQLRETURN {
    if (!Supported) return connection->Fail("HY009", "No place was given for the answer.");
    if (FunctionId == SQL_API_ODBC3_ALL_FUNCTIONS) {
      std::fill(Supported, Supported + SQL_API_ODBC3_ALL_FUNCTIONS_SIZE, 0);
      for (const SQLUSMALLINT function : Exported) {
        Supported[function >> 4] =
            static_cast<SQLUSMALLINT>(Supported[function >> 4] | (1u << (function & 0xF)));
      }
      return SQL_SUCCESS;
    }
    if (FunctionId == SQL_API_ALL_FUNCTIONS) {
      std::fill(Supported, Supported + 100, 0);
      for (const SQLUSMALLINT function : Exported) {
        if (function < 100) Supported[function] = SQL_TRUE;
      }
      return SQL_SUCCESS;
    }
    *Supported = IsExported(FunctionId) ? SQL_TRUE : SQL_FALSE;
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLGetInfo(SQLHDBC ConnectionHandle, SQLUSMALLINT InfoType, SQLPOINTER InfoValue,
                             SQLSMALLINT BufferLength, SQLSMALLINT* StringLength) {
  Connection* connection = AsConnection(ConnectionHandle);
  if (!connection) return SQL_INVALID_HANDLE;
  return Guarded(*connection, [&]() -> SQLRETURN {
    const bool db2 = connection->dialect == qelsandbox::Dialect::Db2;
    const auto text = [&](const std::string& value) -> SQLRETURN {
      if (CopyOut(value, InfoValue, BufferLength, StringLength)) {
        return connection->Warn("01004", "String data, right truncated.");
      }
      return SQL_SUCCESS;
    };
    const auto small = [&](SQLUSMALLINT value) {
      if (InfoValue) *static_cast<SQLUSMALLINT*>(InfoValue) = value;
      if (StringLength) *StringLength = sizeof value;
      return SQL_SUCCESS;
    };
    const auto mask = [&](SQLUINTEGER value) {
      if (InfoValue) *static_cast<SQLUINTEGER*>(InfoValue) = value;
      if (StringLength) *StringLength = sizeof value;
      return SQL_SUCCESS;
    };
    switch (InfoType) {
      case SQL_DRIVER_NAME:
        return text("libtessarsbodbc.so");
      case SQL_DRIVER_VER:
        return text("01.00.0000");
      case SQL_DRIVER_ODBC_VER:
        return text("03.00");
      case SQL_DBMS_NAME:
        return text(db2 ? "DB2" : "Oracle");
      case SQL_DBMS_VER:
        return text(db2 ? "11.05.0000 (sandbox)" : "19.00.0000 (sandbox)");
      case SQL_DATA_SOURCE_NAME:
        return text(connection->dataSource);
      case SQL_DATABASE_NAME:
      case SQL_SERVER_NAME:
        return text(connection->database);
      case SQL_USER_NAME:
        return text(connection->Connected() ? connection->session->User() : connection->user);
      case SQL_XOPEN_CLI_YEAR:
        return text("1995");
      case SQL_IDENTIFIER_QUOTE_CHAR:
        return text("\"");
      case SQL_SEARCH_PATTERN_ESCAPE:
        return text("\\");
      case SQL_CATALOG_NAME_SEPARATOR:
      case SQL_CATALOG_TERM:
      case SQL_KEYWORDS:
      case SQL_SPECIAL_CHARACTERS:
      case SQL_COLLATION_SEQ:
        return text("");
      case SQL_SCHEMA_TERM:
        return text("schema");
      case SQL_TABLE_TERM:
        return text("table");
      case SQL_PROCEDURE_TERM:
        return text("procedure");
      case SQL_ACCESSIBLE_TABLES:
      case SQL_COLUMN_ALIAS:
      case SQL_EXPRESSIONS_IN_ORDERBY:
      case SQL_MULTIPLE_ACTIVE_TXN:
      case SQL_OUTER_JOINS:
      case SQL_MAX_ROW_SIZE_INCLUDES_LONG:
        return text("Y");
      case SQL_DATA_SOURCE_READ_ONLY:
      case SQL_ACCESSIBLE_PROCEDURES:
      case SQL_MULT_RESULT_SETS:
      case SQL_NEED_LONG_DATA_LEN:
      case SQL_ORDER_BY_COLUMNS_IN_SELECT:
      case SQL_LIKE_ESCAPE_CLAUSE:
      case SQL_PROCEDURES:
      case SQL_ROW_UPDATES:
      case SQL_DESCRIBE_PARAMETER:
      case SQL_INTEGRITY:
      case SQL_CATALOG_NAME:
        return text("N");
      case SQL_TXN_CAPABLE:
        // Oracle commits around every DDL statement.
        return small(db2 ? SQL_TC_ALL : SQL_TC_DDL_COMMIT);
      case SQL_CURSOR_COMMIT_BEHAVIOR:
      case SQL_CURSOR_ROLLBACK_BEHAVIOR:
        return small(SQL_CB_PRESERVE);
      case SQL_IDENTIFIER_CASE:
        return small(SQL_IC_UPPER);
      case SQL_QUOTED_IDENTIFIER_CASE:
        return small(SQL_IC_SENSITIVE);
      case SQL_CONCAT_NULL_BEHAVIOR:
        return small(SQL_CB_NULL);
      case SQL_NULL_COLLATION:
        return small(SQL_NC_HIGH);
      case SQL_CORRELATION_NAME:
        return small(SQL_CN_ANY);
      case SQL_NON_NULLABLE_COLUMNS:
        return small(SQL_NNC_NON_NULL);
      case SQL_GROUP_BY:
        return small(SQL_GB_GROUP_BY_CONTAINS_SELECT);
      case SQL_FILE_USAGE:
        return small(SQL_FILE_NOT_SUPPORTED);
      case SQL_ODBC_API_CONFORMANCE:
        return small(SQL_OAC_LEVEL1);
      case SQL_ODBC_SQL_CONFORMANCE:
        return small(SQL_OSC_MINIMUM);
      case SQL_MAX_COLUMN_NAME_LEN:
      case SQL_MAX_TABLE_NAME_LEN:
      case SQL_MAX_SCHEMA_NAME_LEN:
      case SQL_MAX_IDENTIFIER_LEN:
      case SQL_MAX_USER_NAME_LEN:
        return small(db2 ? 128 : 30);
      case SQL_MAX_CURSOR_NAME_LEN:
        return small(18);
      case SQL_MAX_DRIVER_CONNECTIONS:
      case SQL_MAX_CONCURRENT_ACTIVITIES:
      case SQL_ACTIVE_ENVIRONMENTS:
      case SQL_MAX_CATALOG_NAME_LEN:
      case SQL_MAX_PROCEDURE_NAME_LEN:
      case SQL_MAX_COLUMNS_IN_GROUP_BY:
      case SQL_MAX_COLUMNS_IN_INDEX:
      case SQL_MAX_COLUMNS_IN_ORDER_BY:
      case SQL_MAX_COLUMNS_IN_SELECT:
      case SQL_MAX_COLUMNS_IN_TABLE:
      case SQL_MAX_TABLES_IN_SELECT:
      case SQL_CATALOG_LOCATION:
        return small(0);
      case SQL_GETDATA_EXTENSIONS:
        return mask(SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BOUND);
      case SQL_SCROLL_OPTIONS:
        return mask(SQL_SO_FORWARD_ONLY);
      case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1:
        return mask(SQL_CA1_NEXT);
      case SQL_DEFAULT_TXN_ISOLATION:
      case SQL_TXN_ISOLATION_OPTION:
        return mask(SQL_TXN_READ_COMMITTED);
      case SQL_CURSOR_SENSITIVITY:
        return mask(SQL_INSENSITIVE);
      case SQL_ASYNC_MODE:
        return mask(SQL_AM_NONE);
      case SQL_ODBC_INTERFACE_CONFORMANCE:
        return mask(SQL_OIC_CORE);
      case SQL_SQL_CONFORMANCE:
        return mask(SQL_SC_SQL92_ENTRY);
      case SQL_PARAM_ARRAY_ROW_COUNTS:
        return mask(SQL_PARC_NO_BATCH);
      case SQL_PARAM_ARRAY_SELECTS:
        return mask(SQL_PAS_NO_SELECT);
      case SQL_AGGREGATE_FUNCTIONS:
        return mask(SQL_AF_ALL);
      case SQL_UNION:
        return mask(SQL_U_UNION | SQL_U_UNION_ALL);
      case SQL_SCHEMA_USAGE:
        return mask(SQL_SU_DML_STATEMENTS | SQL_SU_TABLE_DEFINITION | SQL_SU_INDEX_DEFINITION |
                    SQL_SU_PRIVILEGE_DEFINITION);
      case SQL_STATIC_CURSOR_ATTRIBUTES1:
      case SQL_STATIC_CURSOR_ATTRIBUTES2:
      case SQL_DYNAMIC_CURSOR_ATTRIBUTES1:
      case SQL_DYNAMIC_CURSOR_ATTRIBUTES2:
      case SQL_KEYSET_CURSOR_ATTRIBUTES1:
      case SQL_KEYSET_CURSOR_ATTRIBUTES2:
      case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES2:
      case SQL_BOOKMARK_PERSISTENCE:
      case SQL_MAX_ASYNC_CONCURRENT_STATEMENTS:
      case SQL_BATCH_SUPPORT:
      case SQL_BATCH_ROW_COUNT:
      case SQL_POS_OPERATIONS:
      case SQL_LOCK_TYPES:
      case SQL_STATIC_SENSITIVITY:
      case SQL_TIMEDATE_FUNCTIONS:
      case SQL_NUMERIC_FUNCTIONS:
      case SQL_STRING_FUNCTIONS:
      case SQL_SYSTEM_FUNCTIONS:
      case SQL_CONVERT_FUNCTIONS:
      case SQL_CATALOG_USAGE:
      case SQL_DATETIME_LITERALS:
      case SQL_INFO_SCHEMA_VIEWS:
      case SQL_MAX_STATEMENT_LEN:
      case SQL_MAX_ROW_SIZE:
      case SQL_MAX_CHAR_LITERAL_LEN:
      case SQL_MAX_BINARY_LITERAL_LEN:
      case SQL_MAX_INDEX_SIZE:
      case SQL_DTC_TRANSITION_COST:
        return mask(0);
      default:
        return connection->Fail("HY096", "Information type " + std::to_string(InfoType) +
                                             " is not known to the sandbox driver.");
    }
  });
}
