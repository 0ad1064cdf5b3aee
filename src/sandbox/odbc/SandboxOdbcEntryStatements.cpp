// Entry points: executing statements and reading their results. A result is
// read whole when the statement runs (the sandbox answers from a local
// file), so a cursor is a position in it.
#include <algorithm>
#include <limits>

#include "SandboxOdbcGuard.h"
#include "SandboxOdbcHandles.h"
#include "SandboxOdbcText.h"
#include "SandboxOdbcValues.h"

using namespace sbodbc;

namespace {

// Set on a column whose value SQLGetData has handed over whole.
constexpr std::size_t ValueDone = std::numeric_limits<std::size_t>::max();

SQLRETURN Run(Statement& statement, const std::string& text) {
  Connection& connection = statement.connection;
  if (!connection.Connected()) return statement.Fail("08003", "The connection is not open.");
  if (statement.cursorOpen) {
    return statement.Fail("24000", "Invalid cursor state: close the open cursor first.");
  }
  statement.CloseCursor();
  try {
    statement.result = connection.session->Run(text);
    // With autocommit, each statement is its own unit of work.
    if (connection.autocommit) connection.session->Commit();
  } catch (const qelsandbox::SandboxError& error) {
    const SQLRETURN rc = statement.Raised(error, connection.dialect);
    if (connection.autocommit) {
      try {
        connection.session->Rollback();
      } catch (const qelsandbox::SandboxError&) {
        // The statement's own error is the one to tell.
      }
    }
    return rc;
  }
  if (!statement.result.columns.empty()) {
    statement.cursorOpen = true;
    statement.rowCount = static_cast<SQLLEN>(statement.result.rows.size());
  }
  return SQL_SUCCESS;
}

// The widest value of a column in bytes (at least 1): the sandbox keeps no
// declared length that a result column could report.
SQLULEN Width(const Statement& statement, std::size_t column) {
  std::size_t width = 1;
  for (const auto& row : statement.result.rows) {
    if (row[column]) width = std::max(width, row[column]->size());
  }
  return width;
}

bool ValidColumn(const Statement& statement, SQLUSMALLINT column) {
  return column >= 1 && column <= statement.result.columns.size();
}

SQLRETURN Transferred(Statement& statement, Transfer transfer) {
  switch (transfer) {
    case Transfer::Complete:
      return SQL_SUCCESS;
    case Transfer::Truncated:
      return statement.Warn("01004", "String data, right truncated.");
    case Transfer::NoIndicator:
      return statement.Fail("22002", "Indicator variable required but not supplied.");
    case Transfer::BadType:
      return statement.Fail("HYC00", "This C type is not supported by the sandbox driver.");
    case Transfer::BadValue:
      return statement.Fail("22018", "Invalid character value for the type asked for.");
  }
  return SQL_ERROR;
}

// An empty result with the columns a catalogue function returns.
SQLRETURN EmptyResult(Statement& statement, std::vector<std::string> columns) {
  if (statement.cursorOpen) {
    return statement.Fail("24000", "Invalid cursor state: close the open cursor first.");
  }
  statement.CloseCursor();
  statement.result.columns = std::move(columns);
  statement.cursorOpen = true;
  statement.rowCount = 0;
  return SQL_SUCCESS;
}

}  // namespace

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT StatementHandle, SQLCHAR* StatementText,
                                SQLINTEGER TextLength) {
  Statement* statement = AsStatement(StatementHandle);
  if (!statement) return SQL_INVALID_HANDLE;
  return Guarded(*statement, [&] {
    statement->isPrepared = false;
    return Run(*statement, InputText(StatementText, TextLength));
  });
}

SQLRETURN SQL_API SQLPrepare(SQLHSTMT StatementHandle, SQLCHAR* StatementText,
                             SQLINTEGER TextLength) {
  Statement* statement = AsStatement(StatementHandle);
  if (!statement) return SQL_INVALID_HANDLE;
  return Guarded(*statement, [&]() -> SQLRETURN {
    if (statement->cursorOpen) {
      return statement->Fail("24000", "Invalid cursor state: close the open cursor first.");
    }
    // The sandbox checks a statement when it runs it: SQLExecute tells.
    statement->prepared = InputText(StatementText, TextLength);
    statement->isPrepared = true;
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLExecute(SQLHSTMT StatementHandle) {
  Statement* statement = AsStatement(StatementHandle);
  if (!statement) return SQL_INVALID_HANDLE;
  return Guarded(*statement, [&]() -> SQLRETURN {
    if (!statement->isPrepared) return statement->Fail("HY010", "No statement was prepared.");
    return Run(*statement, statement->prepared);
  });
}

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT StatementHandle, SQLSMALLINT* ColumnCount) {
  Statement* statement = AsStatement(StatementHandle);
  if (!statement) return SQL_INVALID_HANDLE;
  return Guarded(*statement, [&] {
    if (ColumnCount) *ColumnCount = static_cast<SQLSMALLINT>(statement->result.columns.size());
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLRowCount(SQLHSTMT StatementHandle, SQLLEN* RowCount) {
  Statement* statement = AsStatement(StatementHandle);
  if (!statement) return SQL_INVALID_HANDLE;
  return Guarded(*statement, [&] {
    if (RowCount) *RowCount = statement->rowCount;
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT StatementHandle, SQLUSMALLINT ColumnNumber,
                                 SQLCHAR* ColumnName, SQLSMALLINT BufferLength,
                                 SQLSMALLINT* NameLength, SQLSMALLINT* DataType,
                                 SQLULEN* ColumnSize, SQLSMALLINT* DecimalDigits,
                                 SQLSMALLINT* Nullable) {
  Statement* statement = AsStatement(StatementHandle);
  if (!statement) return SQL_INVALID_HANDLE;
  return Guarded(*statement, [&]() -> SQLRETURN {
    if (!ValidColumn(*statement, ColumnNumber)) {
      return statement->Fail("07009", "Invalid descriptor index.");
    }
    if (DataType) *DataType = SQL_VARCHAR;
    if (ColumnSize) *ColumnSize = Width(*statement, ColumnNumber - 1u);
    if (DecimalDigits) *DecimalDigits = 0;
    if (Nullable) *Nullable = SQL_NULLABLE_UNKNOWN;
    if (CopyOut(statement->result.columns[ColumnNumber - 1u], ColumnName, BufferLength,
                NameLength)) {
      return statement->Warn("01004", "String data, right truncated.");
    }
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLColAttribute(SQLHSTMT StatementHandle, SQLUSMALLINT ColumnNumber,
                                  SQLUSMALLINT FieldIdentifier, SQLPOINTER CharacterAttribute,
                                  SQLSMALLINT BufferLength, SQLSMALLINT* StringLength,
                                  SQLLEN* NumericAttribute) {
  Statement* statement = AsStatement(StatementHandle);
  if (!statement) return SQL_INVALID_HANDLE;
  return Guarded(*statement, [&]() -> SQLRETURN {
    const auto number = [&](SQLLEN value) {
      if (NumericAttribute) *NumericAttribute = value;
      return SQL_SUCCESS;
    };
    const auto text = [&](const std::string& value) -> SQLRETURN {
      if (CopyOut(value, CharacterAttribute, BufferLength, StringLength)) {
        return statement->Warn("01004", "String data, right truncated.");
      }
      return SQL_SUCCESS;
    };
    if (FieldIdentifier == SQL_DESC_COUNT || FieldIdentifier == SQL_COLUMN_COUNT) {
      return number(static_cast<SQLLEN>(statement->result.columns.size()));
    }
    if (!ValidColumn(*statement, ColumnNumber)) {
      return statement->Fail("07009", "Invalid descriptor index.");
    }
    const std::size_t column = ColumnNumber - 1u;
    switch (FieldIdentifier) {
      case SQL_DESC_LABEL:
      case SQL_DESC_NAME:
      case SQL_COLUMN_NAME:
      case SQL_DESC_BASE_COLUMN_NAME:
        return text(statement->result.columns[column]);
      case SQL_DESC_TYPE_NAME:
        return text("VARCHAR");
      case SQL_DESC_LITERAL_PREFIX:
      case SQL_DESC_LITERAL_SUFFIX:
        return text("'");
      case SQL_DESC_TABLE_NAME:
      case SQL_DESC_BASE_TABLE_NAME:
      case SQL_DESC_SCHEMA_NAME:
      case SQL_DESC_CATALOG_NAME:
      case SQL_DESC_LOCAL_TYPE_NAME:
        return text("");
      case SQL_DESC_TYPE:
      case SQL_DESC_CONCISE_TYPE:
        return number(SQL_VARCHAR);
      case SQL_DESC_LENGTH:
      case SQL_DESC_OCTET_LENGTH:
      case SQL_DESC_DISPLAY_SIZE:
      case SQL_DESC_PRECISION:
      case SQL_COLUMN_LENGTH:
      case SQL_COLUMN_PRECISION:
        return number(static_cast<SQLLEN>(Width(*statement, column)));
      case SQL_DESC_SCALE:
      case SQL_COLUMN_SCALE:
      case SQL_DESC_NUM_PREC_RADIX:
      case SQL_DESC_AUTO_UNIQUE_VALUE:
      case SQL_DESC_FIXED_PREC_SCALE:
        return number(0);
      case SQL_DESC_NULLABLE:
      case SQL_COLUMN_NULLABLE:
        return number(SQL_NULLABLE_UNKNOWN);
      case SQL_DESC_UNSIGNED:
      case SQL_DESC_CASE_SENSITIVE:
        return number(SQL_TRUE);
      case SQL_DESC_SEARCHABLE:
        return number(SQL_PRED_SEARCHABLE);
      case SQL_DESC_UPDATABLE:
        return number(SQL_ATTR_READONLY);
      case SQL_DESC_UNNAMED:
        return number(SQL_NAMED);
      default:
        return statement->Fail("HY091", "Invalid descriptor field identifier.");
    }
  });
}

SQLRETURN SQL_API SQLBindCol(SQLHSTMT StatementHandle, SQLUSMALLINT ColumnNumber,
                             SQLSMALLINT TargetType, SQLPOINTER TargetValue, SQLLEN BufferLength,
                             SQLLEN* StrLen_or_Ind) {
  Statement* statement = AsStatement(StatementHandle);
  if (!statement) return SQL_INVALID_HANDLE;
  return Guarded(*statement, [&]() -> SQLRETURN {
    if (ColumnNumber == 0) return statement->Fail("07009", "Bookmarks are not supported.");
    if (!TargetValue && !StrLen_or_Ind) {
      statement->bindings.erase(ColumnNumber);
      return SQL_SUCCESS;
    }
    statement->bindings[ColumnNumber] = {TargetType, TargetValue, BufferLength, StrLen_or_Ind};
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLFetch(SQLHSTMT StatementHandle) {
  Statement* statement = AsStatement(StatementHandle);
  if (!statement) return SQL_INVALID_HANDLE;
  return Guarded(*statement, [&]() -> SQLRETURN {
    if (!statement->cursorOpen) return statement->Fail("24000", "No cursor is open.");
    statement->ResetColumnRead();
    if (statement->row + 1 >= static_cast<long long>(statement->result.rows.size())) {
      statement->row = static_cast<long long>(statement->result.rows.size());
      return SQL_NO_DATA;
    }
    ++statement->row;
    SQLRETURN rc = SQL_SUCCESS;
    const auto& values = statement->result.rows[static_cast<std::size_t>(statement->row)];
    for (const auto& [column, binding] : statement->bindings) {
      if (column > values.size()) continue;
      std::size_t offset = 0;
      const SQLRETURN written =
          Transferred(*statement, WriteValue(values[column - 1u], binding.type, binding.target,
                                             binding.capacity, binding.indicator, offset));
      if (written == SQL_ERROR) return SQL_ERROR;
      if (written == SQL_SUCCESS_WITH_INFO) rc = written;
    }
    return rc;
  });
}

SQLRETURN SQL_API SQLGetData(SQLHSTMT StatementHandle, SQLUSMALLINT ColumnNumber,
                             SQLSMALLINT TargetType, SQLPOINTER TargetValue, SQLLEN BufferLength,
                             SQLLEN* StrLen_or_Ind) {
  Statement* statement = AsStatement(StatementHandle);
  if (!statement) return SQL_INVALID_HANDLE;
  return Guarded(*statement, [&]() -> SQLRETURN {
    if (!statement->OnRow()) return statement->Fail("24000", "The cursor is on no row.");
    if (!ValidColumn(*statement, ColumnNumber)) {
      return statement->Fail("07009", "Invalid descriptor index.");
    }
    if (statement->readColumn != ColumnNumber) {
      statement->readColumn = ColumnNumber;
      statement->readOffset = 0;
    } else if (statement->readOffset == ValueDone) {
      return SQL_NO_DATA;
    }
    const auto& value =
        statement->result.rows[static_cast<std::size_t>(statement->row)][ColumnNumber - 1u];
    const Transfer transfer = WriteValue(value, TargetType, TargetValue, BufferLength,
                                         StrLen_or_Ind, statement->readOffset);
    if (transfer == Transfer::Complete) statement->readOffset = ValueDone;
    return Transferred(*statement, transfer);
  });
}

SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT StatementHandle) {
  Statement* statement = AsStatement(StatementHandle);
  if (!statement) return SQL_INVALID_HANDLE;
  return Guarded(*statement, [&]() -> SQLRETURN {
    if (!statement->cursorOpen) return statement->Fail("24000", "No cursor is open.");
    statement->CloseCursor();
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLMoreResults(SQLHSTMT StatementHandle) {
  Statement* statement = AsStatement(StatementHandle);
  if (!statement) return SQL_INVALID_HANDLE;
  // One result per statement: the cursor closes and nothing follows.
  return Guarded(*statement, [&] {
    statement->CloseCursor();
    return SQL_NO_DATA;
  });
}

SQLRETURN SQL_API SQLGetTypeInfo(SQLHSTMT StatementHandle, SQLSMALLINT) {
  Statement* statement = AsStatement(StatementHandle);
  if (!statement) return SQL_INVALID_HANDLE;
  return Guarded(*statement, [&] {
    return EmptyResult(*statement,
                       {"TYPE_NAME", "DATA_TYPE", "COLUMN_SIZE", "LITERAL_PREFIX", "LITERAL_SUFFIX",
                        "CREATE_PARAMS", "NULLABLE", "CASE_SENSITIVE", "SEARCHABLE",
                        "UNSIGNED_ATTRIBUTE", "FIXED_PREC_SCALE", "AUTO_UNIQUE_VALUE",
                        "LOCAL_TYPE_NAME", "MINIMUM_SCALE", "MAXIMUM_SCALE", "SQL_DATA_TYPE",
                        "SQL_DATETIME_SUB", "NUM_PREC_RADIX", "INTERVAL_PRECISION"});
  });
}

SQLRETURN SQL_API SQLTables(SQLHSTMT StatementHandle, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT,
                            SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT) {
  Statement* statement = AsStatement(StatementHandle);
  if (!statement) return SQL_INVALID_HANDLE;
  // The catalogue views (SYSCAT.TABLES, ALL_TABLES) answer this with SQL.
  return Guarded(*statement, [&] {
    return EmptyResult(*statement,
                       {"TABLE_CAT", "TABLE_SCHEM", "TABLE_NAME", "TABLE_TYPE", "REMARKS"});
  });
}
