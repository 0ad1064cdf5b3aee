// Tables: CREATE TABLE with the column types, defaults and constraints of
// both dialects, ALTER TABLE, COMMENT ON, TRUNCATE, and the SQLite table
// that holds each table's rows, generated from the catalogue.
#include <algorithm>
#include <set>

#include "SandboxColumnChecks.h"
#include "SandboxSession.h"

namespace qelsandbox {

namespace {

constexpr char Separator = '\x1f';

std::string Join(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) {
    if (!joined.empty()) joined += Separator;
    joined += name;
  }
  return joined;
}

std::vector<std::string> Split(const std::string& joined) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= joined.size() && !joined.empty()) {
    const std::size_t end = joined.find(Separator, start);
    names.push_back(joined.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return names;
}

std::string QuotedList(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", ") + QuoteIdentifier(name);
  return list;
}

const std::set<std::string>& CharacterTypes() {
  static const std::set<std::string> types = {"CHAR",     "CHARACTER",  "VARCHAR",
                                              "VARCHAR2", "NCHAR",      "NVARCHAR2",
                                              "GRAPHIC",  "VARGRAPHIC", "CHARACTER VARYING"};
  return types;
}

const std::set<std::string>& NumericTypes() {
  static const std::set<std::string> types = {
      "NUMBER", "NUMERIC",          "DECIMAL",      "DEC",          "INTEGER",
      "INT",    "SMALLINT",         "BIGINT",       "FLOAT",        "REAL",
      "DOUBLE", "DOUBLE PRECISION", "BINARY_FLOAT", "BINARY_DOUBLE"};
  return types;
}

const std::set<std::string>& OtherTypes() {
  static const std::set<std::string> types = {
      "DATE", "TIME", "TIMESTAMP", "CLOB",         "NCLOB",           "DBCLOB", "BLOB",
      "LONG", "RAW",  "LONG RAW",  "LONG VARCHAR", "LONG VARGRAPHIC", "XML"};
  return types;
}

// The type name, with the multi-word names read whole.
std::string TypeName(Parser& parser) {
  std::string name = parser.Peek().kind == TokenKind::Word ? parser.Next().Upper() : "";
  if (name.empty()) parser.Unexpected();
  for (const char* second : {"VARCHAR", "RAW", "VARGRAPHIC", "PRECISION", "VARYING"}) {
    if (parser.PeekWord(second) &&
        (name == "LONG" || name == "DOUBLE" || name == "CHARACTER" || name == "CHAR")) {
      name += " " + parser.Next().Upper();
      if (name == "CHAR VARYING") name = "CHARACTER VARYING";
    }
  }
  return name;
}

void UnknownType(Dialect dialect, const std::string& name) {
  if (dialect == Dialect::Db2) {
    Raise(Db2Error(204, "\"" + name + "\" is an undefined name.", "42704"));
  }
  Raise(OraError(902, "invalid datatype"));
}

}  // namespace

std::string ColumnAffinity(const std::string& type) {
  if (NumericTypes().count(type)) return "NUMERIC";
  if (type == "BLOB" || type == "RAW" || type == "LONG RAW") return "BLOB";
  return "TEXT";
}

std::string Session::ParseDefault(Parser& parser, const std::string& typeName) {
  const Token& token = parser.Peek();
  if (token.kind == TokenKind::String) return QuoteString(parser.Next().text);
  if (token.kind == TokenKind::Number || token.IsSymbol("-") || token.IsSymbol("+")) {
    std::string sign = token.IsSymbol("-") ? "-" : "";
    if (token.kind == TokenKind::Symbol) parser.Next();
    if (parser.Peek().kind != TokenKind::Number) parser.Unexpected();
    return sign + parser.Next().text;
  }
  if (parser.Accept("NULL")) return "NULL";
  if (parser.Accept("SYSDATE") || parser.Accept("SYSTIMESTAMP") ||
      parser.Accept("CURRENT_TIMESTAMP") || parser.AcceptSequence({"CURRENT", "TIMESTAMP"})) {
    return typeName == "DATE" && dialect_ == Dialect::Db2 ? "CURRENT_DATE" : "CURRENT_TIMESTAMP";
  }
  if (parser.Accept("CURRENT_DATE") || parser.AcceptSequence({"CURRENT", "DATE"})) {
    return "CURRENT_DATE";
  }
  if (parser.Accept("CURRENT_TIME") || parser.AcceptSequence({"CURRENT", "TIME"})) {
    return "CURRENT_TIME";
  }
  if (parser.Accept("USER") || parser.AcceptSequence({"CURRENT", "USER"})) {
    return QuoteString(user_);
  }
  parser.Unexpected();
}

ColumnInfo Session::ParseColumn(Parser& parser, std::vector<ConstraintSpec>& constraints) {
  ColumnInfo column;
  column.name = parser.Identifier();
  column.typeName = TypeName(parser);
  const bool character = CharacterTypes().count(column.typeName) > 0;
  if (!character && !NumericTypes().count(column.typeName) &&
      !OtherTypes().count(column.typeName)) {
    UnknownType(dialect_, column.typeName);
  }
  if (parser.AcceptSymbol("(")) {
    column.length = parser.Size();
    if (parser.AcceptSymbol(",")) column.scale = parser.Integer();
    if (!parser.Accept("BYTE")) parser.Accept("CHAR");
    parser.ExpectSymbol(")");
  } else if (character && column.typeName != "CHAR" && column.typeName != "CHARACTER" &&
             column.typeName != "NCHAR" && column.typeName != "GRAPHIC") {
    parser.Unexpected();
  } else if (character) {
    column.length = 1;
  }
  parser.AcceptSequence({"FOR", "BIT", "DATA"});
  while (true) {
    std::string constraintName;
    if (parser.Accept("CONSTRAINT")) constraintName = parser.Identifier();
    if (parser.AcceptSequence({"NOT", "NULL"})) {
      column.nullable = false;
    } else if (parser.Accept("NULL")) {
      column.nullable = true;
    } else if (parser.AcceptSequence({"WITH", "DEFAULT"}) || parser.Accept("DEFAULT")) {
      const Token& next = parser.Peek();
      const bool bare = dialect_ == Dialect::Db2 &&
                        (next.kind == TokenKind::End || next.IsSymbol(",") || next.IsSymbol(")") ||
                         next.IsWord("NOT") || next.IsWord("PRIMARY") || next.IsWord("UNIQUE") ||
                         next.IsWord("CONSTRAINT"));
      if (!bare) {
        column.defaultValue = ParseDefault(parser, column.typeName);
      } else if (NumericTypes().count(column.typeName)) {
        column.defaultValue = "0";
      } else if (character || column.typeName == "LONG VARCHAR") {
        column.defaultValue = "''";
      } else if (column.typeName == "DATE" || column.typeName == "TIME" ||
                 column.typeName == "TIMESTAMP") {
        column.defaultValue = "CURRENT_" + column.typeName;
      }
    } else if (parser.PeekWord("PRIMARY") || parser.PeekWord("UNIQUE") ||
               parser.PeekWord("REFERENCES") || parser.PeekWord("CHECK")) {
      ConstraintSpec definition;
      definition.name = constraintName;
      ParseConstraintBody(parser, definition);
      if (definition.columns.empty()) definition.columns = {column.name};
      constraints.push_back(std::move(definition));
    } else if (parser.Accept("LOGGED") || parser.AcceptSequence({"NOT", "LOGGED"}) ||
               parser.Accept("COMPACT") || parser.AcceptSequence({"NOT", "COMPACT"})) {
      continue;
    } else if (constraintName.empty()) {
      return column;
    } else {
      parser.Unexpected();
    }
  }
}

void Session::ParseConstraintBody(Parser& parser, ConstraintSpec& definition) {
  const bool columnLevel =
      !parser.Peek(1).IsSymbol("(") && !parser.PeekWord("FOREIGN") && !parser.PeekWord("CHECK");
  if (parser.AcceptSequence({"PRIMARY", "KEY"}) || parser.Accept("UNIQUE")) {
    definition.kind = parser.Tokens()[parser.Position() - 1].IsWord("KEY") ? "P" : "U";
    if (parser.Peek().IsSymbol("(")) definition.columns = parser.IdentifierList();
  } else if (parser.Accept("CHECK")) {
    definition.kind = "C";
    const std::size_t close = parser.ClosingParenthesis();
    parser.ExpectSymbol("(");
    definition.check = Translate(parser, close);
    parser.ExpectSymbol(")");
  } else {
    if (parser.AcceptSequence({"FOREIGN", "KEY"})) {
      definition.columns = parser.IdentifierList();
    } else if (!columnLevel) {
      parser.Unexpected();
    }
    parser.Expect("REFERENCES");
    definition.kind = "R";
    definition.qualifiedReference = parser.Peek(1).IsSymbol(".");
    definition.reference = parser.Name(schema_);
    if (parser.Peek().IsSymbol("(")) definition.referenceColumns = parser.IdentifierList();
    while (parser.Accept("ON")) {
      if (!parser.Accept("DELETE")) parser.Expect("UPDATE");
      if (parser.Accept("CASCADE")) {
        definition.deleteRule = "CASCADE";
      } else if (parser.AcceptSequence({"SET", "NULL"})) {
        definition.deleteRule = "SET NULL";
      } else if (!parser.Accept("RESTRICT")) {
        parser.Expect("NO");
        parser.Expect("ACTION");
      }
    }
  }
  // Constraint states both dialects accept and the sandbox does not vary.
  while (parser.Accept("ENABLE") || parser.Accept("DISABLE") || parser.Accept("VALIDATE") ||
         parser.Accept("NOVALIDATE") || parser.Accept("DEFERRABLE") ||
         parser.AcceptSequence({"NOT", "DEFERRABLE"}) ||
         parser.AcceptSequence({"NOT", "ENFORCED"}) || parser.Accept("ENFORCED")) {
  }
  if (parser.Accept("USING")) {
    parser.Expect("INDEX");
    if (parser.Accept("TABLESPACE")) parser.Identifier();
  }
}

ConstraintSpec Session::ParseTableConstraint(Parser& parser) {
  ConstraintSpec definition;
  if (parser.Accept("CONSTRAINT")) definition.name = parser.Identifier();
  if (parser.PeekWord("FOREIGN") || parser.PeekWord("CHECK") || parser.Peek(1).IsSymbol("(") ||
      parser.Peek(2).IsSymbol("(")) {
    ParseConstraintBody(parser, definition);
  } else {
    parser.Unexpected();
  }
  return definition;
}

void Session::StoreColumns(long long tableId, const std::vector<ColumnInfo>& columns, int first) {
  int position = first;
  for (const ColumnInfo& column : columns) {
    db_->Prepare(
           "INSERT INTO sbx_columns(object_id, position, name, type_name, length, scale, "
           "nullable, default_value) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)")
        .Bind(1, tableId)
        .Bind(2, static_cast<long long>(position++))
        .Bind(3, column.name)
        .Bind(4, column.typeName)
        .Bind(5, column.length)
        .Bind(6, column.scale)
        .Bind(7, column.nullable ? 1LL : 0LL)
        .BindOptional(8, column.defaultValue)
        .Step();
  }
}

void Session::StoreConstraint(const ObjectInfo& table, ConstraintSpec definition) {
  const bool db2 = dialect_ == Dialect::Db2;
  const std::vector<ColumnInfo> columns = Columns(table.id);
  const auto find = [&](const std::string& name) {
    return std::find_if(columns.begin(), columns.end(),
                        [&](const ColumnInfo& column) { return column.name == name; });
  };
  for (const std::string& name : definition.columns) {
    if (find(name) != columns.end()) continue;
    if (db2) {
      Raise(Db2Error(205,
                     "Column \"" + name + "\" is not a column of table \"" + table.Shown() + "\".",
                     "42703"));
    }
    Raise(OraError(904, "\"" + name + "\": invalid identifier"));
  }
  if (definition.name.empty()) definition.name = NewConstraintName();
  SqliteStatement taken = db_->Prepare(
      "SELECT object_id FROM sbx_constraints WHERE schema = ?1 "
      "AND name = ?2");
  taken.Bind(1, table.schema).Bind(2, definition.name);
  if (taken.Step()) {
    if (db2) AlreadyExists(definition.name, "CONSTRAINT");
    Raise(OraError(2264, "name already used by an existing constraint"));
  }
  if (definition.kind == "P" || definition.kind == "U") {
    if (definition.kind == "P" &&
        db_->QueryInt("SELECT count(*) FROM sbx_constraints WHERE kind = 'P' AND object_id = " +
                      std::to_string(table.id)) > 0) {
      if (db2) {
        Raise(Db2Error(624, "Table \"" + table.Shown() + "\" already has a \"PRIMARY\" key.",
                       "42889"));
      }
      Raise(OraError(2260, "table can have only one primary key"));
    }
    for (const std::string& name : definition.columns) {
      // DB2 wants key columns declared NOT NULL; Oracle makes primary key
      // columns NOT NULL itself.
      if (db2 && find(name)->nullable) {
        Raise(Db2Error(542,
                       "\"" + name +
                           "\" cannot be a column of a primary key or unique key because it can "
                           "contain null values.",
                       "42831"));
      }
      if (definition.kind == "P") {
        db_->Prepare("UPDATE sbx_columns SET nullable = 0 WHERE object_id = ?1 AND name = ?2")
            .Bind(1, table.id)
            .Bind(2, name)
            .Step();
      }
    }
  }
  long long referenceId = 0;
  if (definition.kind == "R") {
    const ObjectInfo parent =
        ResolveRelation(definition.reference, definition.qualifiedReference, "");
    if (parent.type != "TABLE") Undefined(definition.reference.Shown());
    if (parent.owner != user_ && !IsAdministrator() && !HasObjectPrivilege(parent, "REFERENCES")) {
      Insufficient("REFERENCES", parent.Shown());
    }
    referenceId = parent.id;
    SqliteStatement keys = db_->Prepare(
        "SELECT columns, kind FROM sbx_constraints WHERE object_id = ?1 AND kind IN ('P', 'U') "
        "ORDER BY kind");
    keys.Bind(1, parent.id);
    bool matched = false;
    while (keys.Step()) {
      const std::vector<std::string> key = Split(keys.Text(0));
      if (definition.referenceColumns.empty() && keys.Text(1) == "P")
        definition.referenceColumns = key;
      matched = matched || key == definition.referenceColumns;
    }
    if (!matched || definition.referenceColumns.size() != definition.columns.size()) {
      if (db2) {
        Raise(Db2Error(573,
                       "A column list specified in the references clause of constraint \"" +
                           definition.name +
                           "\" does not identify a unique constraint of the parent "
                           "table \"" +
                           parent.Shown() + "\".",
                       "42890"));
      }
      Raise(OraError(2270, "no matching unique or primary key for this column-list"));
    }
  }
  db_->Prepare(
         "INSERT INTO sbx_constraints(schema, name, object_id, kind, columns, ref_object_id, "
         "ref_columns, delete_rule, check_text) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)")
      .Bind(1, table.schema)
      .Bind(2, definition.name)
      .Bind(3, table.id)
      .Bind(4, definition.kind)
      .Bind(5, Join(definition.columns))
      .Bind(6, referenceId)
      .Bind(7, Join(definition.referenceColumns))
      .Bind(8, definition.deleteRule)
      .Bind(9, definition.check)
      .Step();
}

bool Session::OwnerHasQuota(const std::string& owner, const std::string& tablespace) {
  SqliteStatement statement = db_->Prepare(
      "WITH RECURSIVE holder(name) AS (SELECT ?1 UNION SELECT 'PUBLIC' UNION "
      "SELECT g.privilege FROM sbx_grants g JOIN holder h ON g.grantee = h.name "
      "WHERE g.kind = 'ROLE') "
      "SELECT 1 FROM holder WHERE name = 'DBA' OR EXISTS (SELECT 1 FROM sbx_grants g WHERE "
      "g.grantee = holder.name AND g.kind = 'SYSTEM' AND g.privilege = 'UNLIMITED TABLESPACE') "
      "UNION SELECT 1 FROM sbx_quotas WHERE username = ?1 AND tablespace = ?2 AND "
      "max_bytes <> 0");
  statement.Bind(1, owner).Bind(2, tablespace);
  return statement.Step();
}

void Session::CreateTable(Parser& parser) {
  const bool db2 = dialect_ == Dialect::Db2;
  const QualifiedName name = parser.Name(schema_);
  std::vector<ColumnInfo> columns;
  std::vector<ConstraintSpec> constraints;
  parser.ExpectSymbol("(");
  do {
    if (parser.PeekWord("CONSTRAINT") || parser.PeekWord("PRIMARY") || parser.PeekWord("FOREIGN") ||
        parser.PeekWord("CHECK") || (parser.PeekWord("UNIQUE") && parser.Peek(1).IsSymbol("("))) {
      constraints.push_back(ParseTableConstraint(parser));
    } else {
      columns.push_back(ParseColumn(parser, constraints));
    }
  } while (parser.AcceptSymbol(","));
  parser.ExpectSymbol(")");
  std::string tablespace;
  std::string indexTablespace;
  std::string longTablespace;
  while (!parser.AtEnd()) {
    if (db2 && parser.Accept("IN")) {
      tablespace = parser.Identifier();
    } else if (db2 && parser.AcceptSequence({"INDEX", "IN"})) {
      indexTablespace = parser.Identifier();
    } else if (db2 && parser.AcceptSequence({"LONG", "IN"})) {
      longTablespace = parser.Identifier();
    } else if (db2 && parser.AcceptSequence({"DATA", "CAPTURE"})) {
      if (!parser.Accept("NONE")) parser.Expect("CHANGES");
    } else if (db2 && parser.Accept("COMPRESS")) {
      if (!parser.Accept("YES")) parser.Expect("NO");
    } else if (db2 && parser.AcceptSequence({"NOT", "LOGGED", "INITIALLY"})) {
    } else if (!db2 && parser.Accept("TABLESPACE")) {
      tablespace = parser.Identifier();
    } else if (!db2 && (parser.Accept("PCTFREE") || parser.Accept("PCTUSED") ||
                        parser.Accept("INITRANS") || parser.Accept("MAXTRANS"))) {
      parser.Integer();
    } else if (!db2 && parser.Accept("STORAGE")) {
      parser.SkipParenthesised();
    } else if (!db2 && parser.Accept("LOB")) {
      parser.SkipParenthesised();
      parser.Expect("STORE");
      parser.Expect("AS");
      if (!parser.Peek().IsSymbol("(")) parser.Identifier();
      if (parser.Peek().IsSymbol("(")) parser.SkipParenthesised();
    } else if (db2 || !(parser.Accept("LOGGING") || parser.Accept("NOLOGGING") ||
                        parser.Accept("CACHE") || parser.Accept("NOCACHE") ||
                        parser.Accept("MONITORING") || parser.Accept("NOMONITORING") ||
                        parser.Accept("COMPRESS") || parser.Accept("NOCOMPRESS"))) {
      parser.Unexpected();
    }
  }

  if (!db2 && !UserExists(name.schema)) {
    Raise(OraError(1918, "user '" + name.schema + "' does not exist"));
  }
  RequireCreateIn(name, "TABLE");
  std::set<std::string> seen;
  for (const ColumnInfo& column : columns) {
    if (seen.insert(column.name).second) continue;
    if (db2) Raise(Db2Error(612, "\"" + column.name + "\" is a duplicate name.", "42711"));
    Raise(OraError(957, "duplicate column name"));
  }
  const std::string owner = db2 ? user_ : name.schema;
  if (tablespace.empty()) {
    tablespace = db2 ? "USERSPACE1"
                     : db_->QueryText("SELECT default_tablespace FROM sbx_users WHERE name = " +
                                      QuoteString(owner))
                           .value_or("USERS");
  }
  for (const std::string& used : {tablespace, indexTablespace, longTablespace}) {
    if (used.empty()) continue;
    RequireTablespace(used);
    const std::string contents =
        db_->QueryText("SELECT contents FROM sbx_tablespaces WHERE name = " + QuoteString(used))
            .value_or("");
    if (contents.find("TEMPORARY") != std::string::npos) {
      if (db2) {
        Raise(Db2Error(284,
                       "The table was not created because the table space \"" + used +
                           "\" is a temporary table space.",
                       "42838"));
      }
      Raise(OraError(2195, "Attempt to create PERMANENT object in a TEMPORARY tablespace"));
    }
  }
  if (!db2 && !OwnerHasQuota(owner, tablespace)) {
    Raise(OraError(1950, "no privileges on tablespace '" + tablespace + "'"));
  }
  ObjectInfo table = ObjectInfo::Make(name.schema, name.name, "TABLE", owner, tablespace);
  table.id = AddObject(table);
  db_->Prepare("UPDATE sbx_objects SET index_tablespace = ?2, long_tablespace = ?3 WHERE id = ?1")
      .Bind(1, table.id)
      .BindOptional(
          2, indexTablespace.empty() ? std::nullopt : std::optional<std::string>(indexTablespace))
      .BindOptional(
          3, longTablespace.empty() ? std::nullopt : std::optional<std::string>(longTablespace))
      .Step();
  StoreColumns(table.id, columns, 1);
  std::stable_sort(constraints.begin(), constraints.end(),
                   [](const ConstraintSpec& a, const ConstraintSpec& b) {
                     return (a.kind == "P" || a.kind == "U") && b.kind != "P" && b.kind != "U";
                   });
  const bool checks = std::any_of(constraints.begin(), constraints.end(),
                                  [](const ConstraintSpec& c) { return c.kind == "C"; });
  for (ConstraintSpec& definition : constraints) StoreConstraint(table, std::move(definition));
  // Compiled, not run: SQLite checks the expressions of check constraints
  // as it would when the table is made. The rest of a definition is made
  // of checked names and literals only.
  if (checks) {
    db_->Prepare(DataTableSql(table.id, QuoteIdentifier("data_" + std::to_string(table.id))));
  }
}

std::string Session::DataTableSql(long long id, const std::string& target) {
  return DataTableSql(id, Columns(id), target);
}

std::string Session::DataTableSql(long long id, const std::vector<ColumnInfo>& columns,
                                  const std::string& target) {
  std::string sql = "CREATE TABLE " + target + " (";
  bool first = true;
  ColumnChecks checks;
  for (const ColumnInfo& column : columns) {
    sql +=
        (first ? "" : ", ") + QuoteIdentifier(column.name) + " " + ColumnAffinity(column.typeName);
    first = false;
    if (!column.nullable) sql += " NOT NULL";
    if (column.defaultValue) sql += " DEFAULT (" + *column.defaultValue + ")";
    if (CharacterTypes().count(column.typeName) && column.length > 0) {
      checks.AddLength(column.name, column.length);
    }
    if (NumericTypes().count(column.typeName)) checks.AddNumber(column.name);
  }
  sql += checks.Clauses();
  SqliteStatement constraints = db_->Prepare(
      "SELECT name, kind, columns, IFNULL(check_text, '') FROM sbx_constraints WHERE "
      "object_id = ?1 AND kind IN ('P', 'U', 'C')");
  constraints.Bind(1, id);
  while (constraints.Step()) {
    const std::string kind = constraints.Text(1);
    if (kind == "C") {
      sql += ", CONSTRAINT " + QuoteIdentifier("chk:" + constraints.Text(0)) + " CHECK (" +
             constraints.Text(3) + ")";
    } else {
      sql += std::string(", ") + (kind == "P" ? "PRIMARY KEY (" : "UNIQUE (") +
             QuotedList(Split(constraints.Text(2))) + ")";
    }
  }
  return sql + ")";
}

void Session::AlterTable(Parser& parser) {
  const bool db2 = dialect_ == Dialect::Db2;
  const QualifiedName name = parser.Name(schema_);
  std::vector<ColumnInfo> added;
  std::vector<ConstraintSpec> constraints;
  std::vector<std::string> droppedConstraints;
  bool dropPrimaryKey = false;
  const auto addItem = [&] {
    if (parser.PeekWord("CONSTRAINT") || parser.PeekWord("PRIMARY") || parser.PeekWord("FOREIGN") ||
        parser.PeekWord("CHECK") || (parser.PeekWord("UNIQUE") && parser.Peek(1).IsSymbol("("))) {
      constraints.push_back(ParseTableConstraint(parser));
    } else {
      parser.Accept("COLUMN");
      added.push_back(ParseColumn(parser, constraints));
    }
  };
  do {
    if (parser.Accept("ADD")) {
      if (!db2 && parser.AcceptSymbol("(")) {
        do {
          addItem();
        } while (parser.AcceptSymbol(","));
        parser.ExpectSymbol(")");
      } else {
        addItem();
      }
    } else if (parser.Accept("DROP")) {
      if (parser.AcceptSequence({"PRIMARY", "KEY"})) {
        dropPrimaryKey = true;
      } else {
        parser.Expect("CONSTRAINT");
        droppedConstraints.push_back(parser.Identifier());
      }
    } else {
      parser.Unexpected();
    }
    // Oracle separates its clauses with commas, DB2 just lists them.
    if (!db2) parser.AcceptSymbol(",");
  } while (!parser.AtEnd());

  const std::optional<ObjectInfo> found = FindObject(name, "TABLE");
  if (!found || found->type != "TABLE") Undefined(name.Shown());
  const ObjectInfo table = *found;
  RequireOwnerOrAny(table, "ALTER");
  std::vector<ColumnInfo> existing = Columns(table.id);
  for (const ColumnInfo& column : added) {
    const bool duplicate = std::any_of(existing.begin(), existing.end(),
                                       [&](const ColumnInfo& c) { return c.name == column.name; });
    if (duplicate) {
      if (db2) Raise(Db2Error(612, "\"" + column.name + "\" is a duplicate name.", "42711"));
      Raise(OraError(1430, "column being added already exists in table"));
    }
    if (db2 && !column.nullable && !column.defaultValue) {
      Raise(Db2Error(193,
                     "In an ALTER TABLE statement, the column \"" + column.name +
                         "\" has been specified as NOT NULL and the DEFAULT clause was not "
                         "specified.",
                     "42601"));
    }
    existing.push_back(column);
  }
  StoreColumns(table.id, added, static_cast<int>(existing.size() - added.size()) + 1);
  if (dropPrimaryKey) {
    db_->Exec("DELETE FROM sbx_constraints WHERE kind = 'P' AND object_id = " +
              std::to_string(table.id));
  }
  for (const std::string& constraint : droppedConstraints) {
    db_->Prepare("DELETE FROM sbx_constraints WHERE object_id = ?1 AND name = ?2")
        .Bind(1, table.id)
        .Bind(2, constraint)
        .Step();
    if (db_->Changes() == 0) {
      if (db2) Undefined(constraint);
      Raise(OraError(2443, "Cannot drop constraint  - nonexistent constraint"));
    }
  }
  std::stable_sort(constraints.begin(), constraints.end(),
                   [](const ConstraintSpec& a, const ConstraintSpec& b) {
                     return (a.kind == "P" || a.kind == "U") && b.kind != "P" && b.kind != "U";
                   });
  for (ConstraintSpec& definition : constraints) StoreConstraint(table, std::move(definition));
  try {
    db_->Prepare(DataTableSql(table.id, QuoteIdentifier("data_" + std::to_string(table.id))));
    // The rows already there meet the new definition, new columns taking
    // their defaults, or the statement fails.
    if (HasRows(table.id)) {
      StageRows(table.id, existing.size() - added.size());
      StoreStagedRows(table.id, existing, true, 0);
    }
  } catch (const SqliteFailure& failure) {
    if (!failure.IsConstraint()) throw;
    // The rows already there do not satisfy the new definition.
    if (failure.message.find("NOT NULL") != std::string::npos) {
      if (db2)
        Raise(Db2Error(407, "A NULL value cannot be assigned to a NOT NULL column.", "23502"));
      Raise(OraError(1758, "table must be empty to add mandatory (NOT NULL) column"));
    }
    if (db2) {
      Raise(Db2Error(603,
                     "A unique index or constraint cannot be created because the table contains "
                     "rows which are duplicates or do not satisfy it.",
                     "23515"));
    }
    Raise(OraError(2437, "cannot validate constraint - the existing rows violate it"));
  }
}

void Session::CommentOn(Parser& parser) {
  parser.Expect("ON");
  const bool column = parser.Accept("COLUMN");
  if (!column) parser.Expect("TABLE");
  std::vector<std::string> parts{parser.Identifier()};
  while (parser.AcceptSymbol(".")) parts.push_back(parser.Identifier());
  parser.Expect("IS");
  const std::string text = parser.StringLiteral();
  parser.ExpectEnd();
  const std::size_t nameParts = column ? parts.size() - 1 : parts.size();
  if (nameParts < 1 || nameParts > 2 || (column && parts.size() < 2)) parser.Unexpected();
  const QualifiedName name =
      nameParts == 2 ? QualifiedName{parts[0], parts[1]} : QualifiedName{schema_, parts[0]};
  const ObjectInfo object = ResolveRelation(name, nameParts == 2, "");
  RequireOwnerOrAny(object, "COMMENT");
  const std::string columnName = column ? parts.back() : "";
  if (column) {
    const std::vector<ColumnInfo> columns = Columns(object.id);
    if (std::none_of(columns.begin(), columns.end(),
                     [&](const ColumnInfo& c) { return c.name == columnName; })) {
      if (dialect_ == Dialect::Db2) {
        Raise(Db2Error(
            205,
            "Column \"" + columnName + "\" is not a column of table \"" + object.Shown() + "\".",
            "42703"));
      }
      Raise(OraError(904, "\"" + columnName + "\": invalid identifier"));
    }
  }
  db_->Prepare(
         "INSERT OR REPLACE INTO sbx_comments(object_id, column_name, text) "
         "VALUES (?1, ?2, ?3)")
      .Bind(1, object.id)
      .Bind(2, columnName)
      .Bind(3, text)
      .Step();
}

void Session::Truncate(Parser& parser) {
  parser.Expect("TABLE");
  const bool qualified = parser.Peek(1).IsSymbol(".");
  const QualifiedName name = parser.Name(schema_);
  if (!parser.AcceptSequence({"DROP", "STORAGE"})) parser.AcceptSequence({"REUSE", "STORAGE"});
  if (dialect_ == Dialect::Db2) parser.Accept("IMMEDIATE");
  parser.ExpectEnd();
  const ObjectInfo table = ResolveRelation(name, qualified, "DELETE");
  if (table.type != "TABLE") Undefined(name.Shown());
  db_->Exec("DELETE FROM sbx_rows WHERE object_id = " + std::to_string(table.id));
}

}  // namespace qelsandbox
