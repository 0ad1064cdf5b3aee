// The schema objects besides tables: indexes, views, sequences, synonyms
// (DB2 aliases), triggers and stored routines, and every DROP of an object.
#include <algorithm>
#include <limits>

#include "SandboxSession.h"

namespace qelsandbox {

namespace {

// Oracle names a missing object by its kind; DB2 says "undefined name".
[[noreturn]] void Missing(Dialect dialect, const std::string& type, const std::string& shown,
                          bool isPublic) {
  if (dialect == Dialect::Db2) {
    Raise(Db2Error(204, "\"" + shown + "\" is an undefined name.", "42704"));
  }
  if (type == "INDEX") Raise(OraError(1418, "specified index does not exist"));
  if (type == "SEQUENCE") Raise(OraError(2289, "sequence does not exist"));
  if (type == "SYNONYM") {
    Raise(isPublic ? OraError(1432, "public synonym to be dropped does not exist")
                   : OraError(1434, "private synonym to be dropped does not exist"));
  }
  if (type == "TRIGGER") Raise(OraError(4080, "trigger '" + shown + "' does not exist"));
  if (type == "TABLE" || type == "VIEW") Raise(OraError(942, "table or view does not exist"));
  Raise(OraError(4043, "object " + shown + " does not exist"));
}

// A view's column names as SQLite makes them unique: a name repeated (in
// any case) gets ":1", ":2", ...
std::vector<std::string> UniqueNames(const std::vector<std::string>& names) {
  std::vector<std::string> unique;
  for (const std::string& name : names) {
    std::string candidate = name;
    const auto taken = [&unique](const std::string& tried) {
      return std::any_of(unique.begin(), unique.end(), [&tried](const std::string& other) {
        return ToUpper(other) == ToUpper(tried);
      });
    };
    for (int count = 1; taken(candidate); ++count) {
      candidate = name + ":" + std::to_string(count);
    }
    unique.push_back(candidate);
  }
  return unique;
}

}  // namespace

void Session::CreateIndex(Parser& parser, bool unique) {
  const bool db2 = dialect_ == Dialect::Db2;
  const QualifiedName name = parser.Name(schema_);
  parser.Expect("ON");
  const bool qualified = parser.Peek(1).IsSymbol(".");
  const QualifiedName tableName = parser.Name(schema_);
  std::vector<std::string> columns;
  std::string definition;
  parser.ExpectSymbol("(");
  do {
    columns.push_back(parser.Identifier());
    definition += (definition.empty() ? "" : ", ") + QuoteIdentifier(columns.back());
    if (parser.Accept("DESC")) {
      definition += " DESC";
    } else {
      parser.Accept("ASC");
    }
  } while (parser.AcceptSymbol(","));
  parser.ExpectSymbol(")");
  std::string tablespace;
  while (!parser.AtEnd()) {
    if (!db2 && parser.Accept("TABLESPACE")) {
      tablespace = parser.Identifier();
    } else if (parser.Accept("PCTFREE") || parser.Accept("MINPCTUSED") ||
               (!db2 && (parser.Accept("INITRANS") || parser.Accept("MAXTRANS")))) {
      parser.Integer();
    } else if (!db2 && parser.Accept("STORAGE")) {
      parser.SkipParenthesised();
    } else if (db2 && parser.Accept("INCLUDE")) {
      parser.IdentifierList();
    } else if (db2 && parser.Accept("COLLECT")) {
      parser.Accept("SAMPLED");
      parser.Accept("DETAILED");
      parser.Expect("STATISTICS");
    } else if (!(parser.Accept("CLUSTER") || parser.AcceptSequence({"ALLOW", "REVERSE", "SCANS"}) ||
                 parser.AcceptSequence({"DISALLOW", "REVERSE", "SCANS"}) ||
                 parser.Accept("LOGGING") || parser.Accept("NOLOGGING") ||
                 parser.AcceptSequence({"COMPUTE", "STATISTICS"}) || parser.Accept("NOSORT") ||
                 parser.Accept("REVERSE") || parser.Accept("ONLINE") ||
                 parser.Accept("NOCOMPRESS") || parser.Accept("NOPARALLEL"))) {
      parser.Unexpected();
    }
  }
  const ObjectInfo table = ResolveRelation(tableName, qualified, "");
  if (table.type != "TABLE") {
    if (db2) {
      Raise(Db2Error(156, "The name used for this operation is not a table.", "42809"));
    }
    Raise(OraError(1702, "a view is not appropriate here"));
  }
  RequireCreateIn(name, "INDEX");
  if (table.owner != user_ && !(dialect_ == Dialect::Oracle && table.schema == user_) &&
      !IsAdministrator() && !HasObjectPrivilege(table, "INDEX")) {
    Insufficient("CREATE INDEX", table.Shown());
  }
  const std::vector<ColumnInfo> tableColumns = Columns(table.id);
  for (const std::string& column : columns) {
    if (std::any_of(tableColumns.begin(), tableColumns.end(),
                    [&](const ColumnInfo& c) { return c.name == column; })) {
      continue;
    }
    if (db2) {
      Raise(Db2Error(
          205, "Column \"" + column + "\" is not a column of table \"" + table.Shown() + "\".",
          "42703"));
    }
    Raise(OraError(904, "\"" + column + "\": invalid identifier"));
  }
  std::string joined;
  for (const std::string& column : columns) joined += (joined.empty() ? "" : "\x1f") + column;
  ObjectInfo index = ObjectInfo::Make(name.schema, name.name, "INDEX", db2 ? user_ : name.schema,
                                      tablespace.empty() ? table.tablespace : tablespace, table.id);
  index.id = AddObject(index, joined, definition, unique);
  // Rows that a unique index would refuse refuse it; the stage of the rows
  // tells, as SQLite's own index would.
  if (!unique || !HasRows(table.id)) return;
  try {
    StageRows(table.id, tableColumns.size());
  } catch (const SqliteFailure& failure) {
    if (!failure.IsConstraint()) throw;
    if (db2) {
      Raise(Db2Error(603,
                     "A unique index cannot be created because the table contains rows which "
                     "are duplicates with respect to the values of the identified columns.",
                     "23515"));
    }
    Raise(OraError(1452, "cannot CREATE UNIQUE INDEX; duplicate keys found"));
  }
}

void Session::CreateView(Parser& parser, bool orReplace) {
  const QualifiedName name = parser.Name(schema_);
  std::vector<std::string> columns;
  if (parser.Peek().IsSymbol("(")) columns = parser.IdentifierList();
  parser.Expect("AS");
  const std::size_t start = parser.Position();
  std::size_t end = start + 1;
  for (; end < parser.Tokens().size() - 1; ++end) {
    const std::vector<Token>& tokens = parser.Tokens();
    if (tokens[end].IsWord("WITH") &&
        (tokens[end + 1].IsWord("CHECK") || tokens[end + 1].IsWord("READ") ||
         tokens[end + 1].IsWord("LOCAL") || tokens[end + 1].IsWord("CASCADED"))) {
      break;
    }
  }
  if (!parser.PeekWord("SELECT") && !parser.PeekWord("WITH")) parser.Unexpected();
  if (dialect_ == Dialect::Oracle && !UserExists(name.schema)) {
    Raise(OraError(1918, "user '" + name.schema + "' does not exist"));
  }
  RequireCreateIn(name, "VIEW");
  const std::string select = Translate(parser, end);
  if (parser.Accept("WITH")) {
    if (parser.AcceptSequence({"READ", "ONLY"})) {
    } else {
      if (!parser.Accept("LOCAL")) parser.Accept("CASCADED");
      parser.Expect("CHECK");
      parser.Expect("OPTION");
    }
    if (parser.Accept("CONSTRAINT")) parser.Identifier();
  }
  parser.ExpectEnd();
  if (const std::optional<ObjectInfo> existing = FindObject(name, "VIEW")) {
    if (!orReplace || existing->type != "VIEW") AlreadyExists(name.Shown(), existing->type);
    DropObject(*existing, false);
  }
  const std::vector<Token>& tokens = parser.Tokens();
  const std::string text =
      statementText_.substr(tokens[start].offset, tokens[end].offset - tokens[start].offset);
  const std::string owner = dialect_ == Dialect::Db2 ? user_ : name.schema;
  const long long id = AddObject(ObjectInfo::Make(name.schema, name.name, "VIEW", owner), "", text);
  db_->Prepare("UPDATE sbx_objects SET query = ?2 WHERE id = ?1")
      .Bind(1, id)
      .Bind(2, select)
      .Step();
  // The query is checked now, as the DBMSs do, and names the view's columns.
  SqliteStatement query = db_->Prepare(ExpandRelations(select));
  const std::vector<std::string> named = query.ColumnNames();
  if (!columns.empty() && columns.size() != named.size()) {
    throw SqliteFailure{SQLITE_ERROR, "expected " + std::to_string(columns.size()) +
                                          " columns for 'data_" + std::to_string(id) +
                                          "' but got " + std::to_string(named.size())};
  }
  std::vector<ColumnInfo> viewColumns;
  for (const std::string& column : columns.empty() ? UniqueNames(named) : columns) {
    viewColumns.push_back({column, "VARCHAR", 0, 0, true, std::nullopt});
  }
  StoreColumns(id, viewColumns, 1);
}

void Session::CreateSequence(Parser& parser) {
  const QualifiedName name = parser.Name(schema_);
  long long increment = 1;
  std::optional<long long> start;
  std::optional<long long> minimum;
  std::optional<long long> maximum;
  bool cycle = false;
  while (!parser.AtEnd()) {
    if (parser.AcceptSequence({"START", "WITH"})) {
      start = parser.Integer();
    } else if (parser.AcceptSequence({"INCREMENT", "BY"})) {
      increment = parser.Integer();
    } else if (parser.Accept("MINVALUE")) {
      minimum = parser.Integer();
    } else if (parser.Accept("MAXVALUE")) {
      maximum = parser.Integer();
    } else if (parser.Accept("CACHE")) {
      parser.Integer();
    } else if (parser.Accept("CYCLE")) {
      cycle = true;
    } else if (parser.Accept("AS")) {
      parser.Identifier();
      if (parser.Peek().IsSymbol("(")) parser.SkipParenthesised();
    } else if (!(parser.Accept("NOMINVALUE") || parser.Accept("NOMAXVALUE") ||
                 parser.Accept("NOCACHE") || parser.Accept("NOCYCLE") || parser.Accept("ORDER") ||
                 parser.Accept("NOORDER") ||
                 (parser.Accept("NO") &&
                  (parser.Accept("MINVALUE") || parser.Accept("MAXVALUE") ||
                   parser.Accept("CACHE") || parser.Accept("CYCLE") || parser.Accept("ORDER"))))) {
      parser.Unexpected();
    }
  }
  if (increment == 0) {
    if (dialect_ == Dialect::Db2) {
      Raise(Db2Error(815, "The INCREMENT BY value of a sequence cannot be zero here.", "428FA"));
    }
    Raise(OraError(4002, "INCREMENT must be a non-zero integer"));
  }
  if (dialect_ == Dialect::Oracle && !UserExists(name.schema)) {
    Raise(OraError(1918, "user '" + name.schema + "' does not exist"));
  }
  RequireCreateIn(name, "SEQUENCE");
  const long long low = minimum.value_or(increment > 0 ? 1 : std::numeric_limits<long long>::min());
  const long long high =
      maximum.value_or(increment > 0 ? std::numeric_limits<long long>::max() : -1);
  const long long id = AddObject(ObjectInfo::Make(name.schema, name.name, "SEQUENCE",
                                                  dialect_ == Dialect::Db2 ? user_ : name.schema));
  db_->Prepare(
         "INSERT INTO sbx_sequences(object_id, next_value, increment, min_value, max_value, "
         "cycle) VALUES (?1, ?2, ?3, ?4, ?5, ?6)")
      .Bind(1, id)
      .Bind(2, start.value_or(increment > 0 ? low : high))
      .Bind(3, increment)
      .Bind(4, low)
      .Bind(5, high)
      .Bind(6, cycle ? 1LL : 0LL)
      .Step();
}

long long Session::NextSequenceValue(const QualifiedName& name, bool advance) {
  std::optional<ObjectInfo> sequence = FindObject(name, "SEQUENCE");
  for (int depth = 0;
       sequence && (sequence->type == "SYNONYM" || sequence->type == "ALIAS") && depth < 16;
       ++depth) {
    sequence = FindObject({sequence->targetSchema, sequence->targetName}, "SEQUENCE");
  }
  if (!sequence || sequence->type != "SEQUENCE") Missing(dialect_, "SEQUENCE", name.Shown(), false);
  RequireObjectPrivilege(*sequence, dialect_ == Dialect::Db2 ? "USAGE" : "SELECT");
  if (!advance) {
    const auto current = currentValues_.find(sequence->id);
    if (current != currentValues_.end()) return current->second;
    if (dialect_ == Dialect::Db2) {
      Raise(Db2Error(845,
                     "A PREVIOUS VALUE expression cannot be used before the NEXT VALUE "
                     "expression generates a value in the current session.",
                     "51035"));
    }
    Raise(OraError(8002, "sequence " + name.name + ".CURRVAL is not yet defined in this session"));
  }
  SqliteStatement statement = db_->Prepare(
      "SELECT next_value, increment, min_value, max_value, cycle FROM sbx_sequences "
      "WHERE object_id = ?1");
  statement.Bind(1, sequence->id);
  statement.Step();
  const long long value = statement.Int(0);
  const long long increment = statement.Int(1);
  long long next = value + increment;
  if ((increment > 0 && (next > statement.Int(3) || next < value)) ||
      (increment < 0 && (next < statement.Int(2) || next > value))) {
    if (!statement.Int(4)) {
      if (value > statement.Int(3) || value < statement.Int(2)) {
        if (dialect_ == Dialect::Db2) {
          Raise(Db2Error(359, "The range of values for the sequence has been exhausted.", "23522"));
        }
        Raise(OraError(8004, "sequence " + name.name + ".NEXTVAL exceeds MAXVALUE"));
      }
    } else {
      next = increment > 0 ? statement.Int(2) : statement.Int(3);
    }
  }
  db_->Prepare("UPDATE sbx_sequences SET next_value = ?2, last_value = ?3 WHERE object_id = ?1")
      .Bind(1, sequence->id)
      .Bind(2, next)
      .Bind(3, value)
      .Step();
  currentValues_[sequence->id] = value;
  return value;
}

void Session::CreateSynonym(Parser& parser, bool isPublic, bool orReplace) {
  const QualifiedName name =
      isPublic ? QualifiedName{"PUBLIC", parser.Identifier()} : parser.Name(schema_);
  parser.Expect("FOR");
  parser.Accept("TABLE");
  const QualifiedName target = parser.Name(schema_);
  parser.ExpectEnd();
  const bool db2 = dialect_ == Dialect::Db2;
  if (isPublic) {
    RequireSystemPrivilege("CREATE PUBLIC SYNONYM");
  } else {
    if (!db2 && !UserExists(name.schema)) {
      Raise(OraError(1918, "user '" + name.schema + "' does not exist"));
    }
    RequireCreateIn(name, "SYNONYM");
  }
  const std::string type = db2 ? "ALIAS" : "SYNONYM";
  if (const std::optional<ObjectInfo> existing = FindObject(name, type)) {
    if (!orReplace || existing->type != type) AlreadyExists(name.Shown(), existing->type);
    DropObject(*existing, false);
  }
  ObjectInfo synonym = ObjectInfo::Make(name.schema, name.name, type, db2 ? user_ : name.schema);
  synonym.targetSchema = target.schema;
  synonym.targetName = target.name;
  AddObject(synonym);
}

void Session::CreateRoutine(Parser& parser, const std::string& kind, bool orReplace) {
  const std::string type = kind == "PACKAGE" && parser.Accept("BODY") ? "PACKAGE BODY" : kind;
  const QualifiedName name = parser.Name(schema_);
  if (parser.AtEnd()) parser.Unexpected();
  // The body is stored, not run: the sandbox keeps routines and triggers as
  // catalogue entries so that the statements creating and dropping them work.
  long long baseId = 0;
  if (type == "TRIGGER") {
    const std::size_t on = parser.FindTopLevel({"ON"});
    parser.Seek(on);
    parser.Expect("ON");
    const bool qualified = parser.Peek(1).IsSymbol(".");
    const ObjectInfo table = ResolveRelation(parser.Name(schema_), qualified, "");
    baseId = table.id;
    if (table.owner != user_ && !IsAdministrator() &&
        !(dialect_ == Dialect::Oracle &&
          (table.schema == user_ || HasSystemPrivilege("CREATE ANY TRIGGER")))) {
      Insufficient("CREATE TRIGGER", table.Shown());
    }
  }
  if (dialect_ == Dialect::Oracle && !UserExists(name.schema)) {
    Raise(OraError(1918, "user '" + name.schema + "' does not exist"));
  }
  RequireCreateIn(name, type == "TRIGGER" ? "TRIGGER" : "PROCEDURE");
  if (const std::optional<ObjectInfo> existing = FindObject(name, type)) {
    if (!orReplace || existing->type != type) AlreadyExists(name.Shown(), existing->type);
    DropObject(*existing, false);
  }
  ObjectInfo routine = ObjectInfo::Make(name.schema, name.name, type,
                                        dialect_ == Dialect::Db2 ? user_ : name.schema);
  routine.baseId = baseId;
  AddObject(routine, "", statementText_);
}

void Session::Drop(Parser& parser) {
  const bool db2 = dialect_ == Dialect::Db2;
  if (parser.Accept("TABLESPACE") || (db2 && parser.Accept("TABLESPACES"))) {
    return DropTablespace(parser);
  }
  if (!db2 && parser.Accept("USER")) return DropUser(parser);
  if (!db2 && parser.Accept("ROLE")) return DropRole(parser);
  const bool isPublic = !db2 && parser.Accept("PUBLIC");
  std::string type;
  for (const char* candidate : {"TABLE", "VIEW", "INDEX", "SEQUENCE", "SYNONYM", "ALIAS", "TRIGGER",
                                "PROCEDURE", "FUNCTION", "PACKAGE"}) {
    if ((!isPublic || std::string(candidate) == "SYNONYM") && parser.Accept(candidate)) {
      type = candidate;
      break;
    }
  }
  if (type.empty() || (type == "ALIAS" && !db2)) parser.Unexpected();
  if (type == "PACKAGE" && parser.Accept("BODY")) type = "PACKAGE BODY";
  if (db2 && type == "SYNONYM") type = "ALIAS";
  const QualifiedName name =
      isPublic ? QualifiedName{"PUBLIC", parser.Identifier()} : parser.Name(schema_);
  bool cascadeConstraints = false;
  if (type == "TABLE" && !db2) {
    cascadeConstraints = parser.AcceptSequence({"CASCADE", "CONSTRAINTS"});
    parser.Accept("PURGE");
  }
  if (!isPublic && type == "SYNONYM") parser.Accept("FORCE");
  if (db2 && (type == "SEQUENCE" || type == "PROCEDURE" || type == "FUNCTION")) {
    parser.Accept("RESTRICT");
  }
  parser.ExpectEnd();
  const std::optional<ObjectInfo> object = FindObject(name, type);
  if (!object || object->type != type) Missing(dialect_, type, name.Shown(), isPublic);
  if (isPublic) {
    RequireSystemPrivilege("DROP PUBLIC SYNONYM");
  } else {
    RequireOwnerOrAny(*object, "DROP");
  }
  DropObject(*object, cascadeConstraints);
}

}  // namespace qelsandbox
