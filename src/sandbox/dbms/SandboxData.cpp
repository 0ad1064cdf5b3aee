// INSERT, UPDATE, DELETE and SELECT on the sandbox's tables and catalogue
// views, with the DBMSs' errors for unknown tables and columns, wrong value
// counts and violated constraints.
#include <algorithm>
#include <limits>
#include <set>

#include "SandboxSession.h"

namespace qelsandbox {

namespace {

// "NOT NULL constraint failed: data_7.NAME" gives "NAME".
std::string AfterLastDot(const std::string& text) {
  const std::size_t dot = text.rfind('.');
  return dot == std::string::npos ? text : text.substr(dot + 1);
}

std::string Suffix(const std::string& text, const std::string& prefix) {
  const std::size_t at = text.find(prefix);
  return at == std::string::npos ? "" : text.substr(at + prefix.size());
}

// An alias after the table of an UPDATE or DELETE, if any.
std::string Alias(Parser& parser, const std::string& table) {
  if (parser.Accept("AS")) return parser.Identifier();
  const Token& next = parser.Peek();
  if (next.kind == TokenKind::Quoted ||
      (next.kind == TokenKind::Word && !next.IsWord("SET") && !next.IsWord("WHERE"))) {
    return parser.Identifier();
  }
  return table;
}

// Every stored value of a row goes to the stage.
constexpr std::size_t AllColumns = std::numeric_limits<std::size_t>::max();

}  // namespace

void Session::Insert(Parser& parser) {
  const bool db2 = dialect_ == Dialect::Db2;
  parser.Expect("INTO");
  const bool qualified = parser.Peek(1).IsSymbol(".");
  const QualifiedName name = parser.Name(schema_);
  std::vector<std::string> named;
  if (parser.Peek().IsSymbol("(") && !parser.PeekWord("SELECT", 1) && !parser.PeekWord("WITH", 1)) {
    named = parser.IdentifierList();
  }
  const ObjectInfo table = ResolveRelation(name, qualified, "INSERT");
  const std::vector<ColumnInfo> columns = Columns(table.id);
  std::set<std::string> seen;
  for (const std::string& column : named) {
    if (std::none_of(columns.begin(), columns.end(),
                     [&](const ColumnInfo& c) { return c.name == column; })) {
      if (db2) {
        Raise(Db2Error(206, "\"" + column + "\" is not valid in the context where it is used.",
                       "42703"));
      }
      Raise(OraError(904, "\"" + column + "\": invalid identifier"));
    }
    if (!seen.insert(column).second) {
      if (db2)
        Raise(Db2Error(121, "The target name \"" + column + "\" is specified more than once.",
                       "42701"));
      Raise(OraError(957, "duplicate column name"));
    }
  }
  if (named.empty()) {
    for (const ColumnInfo& column : columns) named.push_back(column.name);
  }
  std::string target;
  for (const std::string& column : named) {
    target += (target.empty() ? "" : ", ") + QuoteIdentifier(column);
  }
  std::string sql = "INSERT INTO " + StageName(table.id) + " (" + target + ") ";
  if (parser.Accept("VALUES")) {
    sql += "VALUES ";
    bool firstRow = true;
    do {
      const std::size_t close = parser.ClosingParenthesis();
      parser.ExpectSymbol("(");
      std::size_t values = 1;
      int depth = 0;
      for (std::size_t at = parser.Position(); at < close; ++at) {
        const Token& token = parser.Tokens()[at];
        if (token.IsSymbol("(")) ++depth;
        if (token.IsSymbol(")")) --depth;
        if (depth == 0 && token.IsSymbol(",")) ++values;
      }
      if (values != named.size()) {
        if (db2) {
          Raise(Db2Error(117,
                         "The number of values assigned is not the same as the number of "
                         "specified or implied columns.",
                         "42802"));
        }
        Raise(values < named.size() ? OraError(947, "not enough values")
                                    : OraError(913, "too many values"));
      }
      sql += std::string(firstRow ? "" : ", ") + "(" + Translate(parser, close) + ")";
      firstRow = false;
      parser.ExpectSymbol(")");
    } while (db2 && parser.AcceptSymbol(","));
  } else if (parser.PeekWord("SELECT") || parser.PeekWord("WITH") || parser.Peek().IsSymbol("(")) {
    sql += Translate(parser, parser.Tokens().size() - 1);
  } else {
    parser.Unexpected();
  }
  parser.ExpectEnd();
  RunData(sql, table, true);
}

void Session::Update(Parser& parser) {
  const bool qualified = parser.Peek(1).IsSymbol(".");
  const QualifiedName name = parser.Name(schema_);
  const std::string alias = Alias(parser, name.name);
  parser.Expect("SET");
  const ObjectInfo table = ResolveRelation(name, qualified, "UPDATE");
  const std::string rest = Translate(parser, parser.Tokens().size() - 1);
  if (rest.empty()) parser.Unexpected();
  RunData("UPDATE " + StageName(table.id) + " AS " + QuoteIdentifier(alias) + " SET " + rest, table,
          false);
}

void Session::Delete(Parser& parser) {
  if (!parser.Accept("FROM") && dialect_ == Dialect::Db2) parser.Unexpected();
  const bool qualified = parser.Peek(1).IsSymbol(".");
  const QualifiedName name = parser.Name(schema_);
  const std::string alias = Alias(parser, name.name);
  if (!parser.AtEnd() && !parser.PeekWord("WHERE")) parser.Unexpected();
  const ObjectInfo table = ResolveRelation(name, qualified, "DELETE");
  const std::string rest = Translate(parser, parser.Tokens().size() - 1);
  RunData("DELETE FROM " + StageName(table.id) + " AS " + QuoteIdentifier(alias) +
              (rest.empty() ? "" : " " + rest),
          table, false);
}

ResultSet Session::Select(Parser& parser) {
  const std::string sql = Translate(parser, parser.Tokens().size() - 1);
  parser.ExpectEnd();
  SqliteStatement statement = db_->Prepare(ExpandRelations(sql));
  ResultSet result;
  result.columns = statement.ColumnNames();
  while (statement.Step()) {
    auto& row = result.rows.emplace_back();
    for (int column = 0; column < statement.Columns(); ++column) {
      row.push_back(statement.OptionalText(column));
    }
  }
  return result;
}

void Session::RunData(const std::string& sql, const ObjectInfo& table, bool inserts) {
  // SQLite's own words for a write to a view, mapped like any of its errors.
  if (table.type != "TABLE") {
    throw SqliteFailure{SQLITE_ERROR,
                        "cannot modify data_" + std::to_string(table.id) + " because it is a view"};
  }
  // The relations are expanded before the stage is filled: a statement that
  // reads its own table reads the rows as they were before it.
  const std::string expanded = ExpandRelations(sql);
  try {
    if (inserts) {
      InsertStaged(expanded, table.id);
    } else {
      StageRows(table.id, AllColumns);
      db_->Exec(expanded);
      StoreStagedRows(table.id, Columns(table.id), true, 0);
    }
  } catch (const SqliteFailure& failure) {
    if (failure.IsConstraint()) ConstraintFailure(failure, table.id);
    throw;
  }
}

void Session::ConstraintFailure(const SqliteFailure& failure, long long tableId) {
  const bool db2 = dialect_ == Dialect::Db2;
  const std::optional<ObjectInfo> found = FindObjectById(tableId);
  const ObjectInfo table = found.value_or(ObjectInfo{});
  const std::string& message = failure.message;
  if (const std::string column = Suffix(message, "NOT NULL constraint failed: "); !column.empty()) {
    const std::string name = AfterLastDot(column);
    if (db2) {
      Raise(Db2Error(407,
                     "Assignment of a NULL value to a NOT NULL column \"" + table.Shown() + "." +
                         name + "\" is not allowed.",
                     "23502"));
    }
    Raise(OraError(1400, "cannot insert NULL into (\"" + table.schema + "\".\"" + table.name +
                             "\".\"" + name + "\")"));
  }
  if (const std::string columns = Suffix(message, "UNIQUE constraint failed: "); !columns.empty()) {
    // The failing key names its columns; the catalogue names the constraint
    // or unique index that has them.
    std::string key;
    std::size_t start = 0;
    while (start < columns.size()) {
      const std::size_t comma = columns.find(", ", start);
      key += (key.empty() ? "" : "\x1f") +
             AfterLastDot(columns.substr(
                 start, comma == std::string::npos ? std::string::npos : comma - start));
      if (comma == std::string::npos) break;
      start = comma + 2;
    }
    std::string constraint =
        db_->QueryText(
               "SELECT name FROM sbx_constraints WHERE object_id = " + std::to_string(tableId) +
               " AND kind IN ('P', 'U') AND columns = " + QuoteString(key) +
               " UNION ALL SELECT "
               "schema || '.' || name FROM sbx_objects WHERE type = 'INDEX' AND base_id = " +
               std::to_string(tableId) + " AND columns = " + QuoteString(key))
            .value_or("?");
    if (db2) {
      Raise(Db2Error(803,
                     "One or more values in the INSERT statement, UPDATE statement, or foreign "
                     "key update caused by a DELETE statement are not valid because the primary "
                     "key, unique constraint or unique index identified by \"" +
                         constraint + "\" constrains table \"" + table.Shown() +
                         "\" from having duplicate values for the index key.",
                     "23505"));
    }
    if (constraint.find('.') == std::string::npos) constraint = table.schema + "." + constraint;
    Raise(OraError(1, "unique constraint (" + constraint + ") violated"));
  }
  const std::string check = Suffix(message, "CHECK constraint failed: ");
  if (check.rfind("len:", 0) == 0) {
    const std::string name = check.substr(4);
    if (db2) Raise(Db2Error(433, "A value is too long for column \"" + name + "\".", "22001"));
    Raise(OraError(12899, "value too large for column \"" + table.schema + "\".\"" + table.name +
                              "\".\"" + name + "\""));
  }
  if (check.rfind("num:", 0) == 0) {
    if (db2) {
      Raise(Db2Error(408,
                     "A value is not compatible with the data type of its assignment target. "
                     "Target name is \"" +
                         check.substr(4) + "\".",
                     "42821"));
    }
    Raise(OraError(1722, "invalid number"));
  }
  if (check.rfind("chk:", 0) == 0) {
    const std::string name = check.substr(4);
    if (db2) {
      Raise(Db2Error(545,
                     "The requested operation is not allowed because a row does not satisfy "
                     "the check constraint \"" +
                         table.Shown() + "." + name + "\".",
                     "23513"));
    }
    Raise(OraError(2290, "check constraint (" + table.schema + "." + name + ") violated"));
  }
  throw failure;
}

}  // namespace qelsandbox
