// The sandbox's object catalogue: finding, resolving, adding and dropping
// schema objects, and the existence checks every statement needs.
#include <cstdio>

#include "SandboxSession.h"

namespace qelsandbox {

namespace {

constexpr const char* ObjectColumns =
    "id, schema, name, type, owner, IFNULL(tablespace, ''), IFNULL(base_id, 0), "
    "IFNULL(target_schema, ''), IFNULL(target_name, '')";

ObjectInfo ReadObject(const SqliteStatement& statement) {
  ObjectInfo object;
  object.id = statement.Int(0);
  object.schema = statement.Text(1);
  object.name = statement.Text(2);
  object.type = statement.Text(3);
  object.owner = statement.Text(4);
  object.tablespace = statement.Text(5);
  object.baseId = statement.Int(6);
  object.targetSchema = statement.Text(7);
  object.targetName = statement.Text(8);
  return object;
}

}  // namespace

std::string Session::NamespaceOf(const std::string& type) const {
  if (type == "INDEX" || type == "TRIGGER" || type == "PACKAGE BODY") return type;
  if (dialect_ == Dialect::Oracle) return "OBJECT";
  if (type == "TABLE" || type == "VIEW" || type == "ALIAS" || type == "SYNONYM") return "TABLE";
  return type == "SEQUENCE" ? "SEQUENCE" : "ROUTINE";
}

std::optional<ObjectInfo> Session::FindObject(const QualifiedName& name, const std::string& type) {
  SqliteStatement statement = db_->Prepare(std::string("SELECT ") + ObjectColumns +
                                           " FROM sbx_objects WHERE schema = ?1 AND "
                                           "namespace = ?2 AND name = ?3");
  statement.Bind(1, name.schema).Bind(2, NamespaceOf(type)).Bind(3, name.name);
  if (!statement.Step()) return std::nullopt;
  return ReadObject(statement);
}

std::optional<ObjectInfo> Session::FindObjectById(long long id) {
  SqliteStatement statement =
      db_->Prepare(std::string("SELECT ") + ObjectColumns + " FROM sbx_objects WHERE id = ?1");
  statement.Bind(1, id);
  if (!statement.Step()) return std::nullopt;
  return ReadObject(statement);
}

ObjectInfo Session::ResolveRelation(const QualifiedName& name, bool qualified,
                                    const std::string& privilege) {
  QualifiedName current = name;
  // A chain of synonyms ends somewhere; a loop of them ends here.
  for (int depth = 0; depth < 16; ++depth) {
    std::optional<ObjectInfo> object = FindObject(current, "TABLE");
    if (!object && dialect_ == Dialect::Oracle && !qualified) {
      object = FindObject({"PUBLIC", current.name}, "SYNONYM");
    }
    if (!object) break;
    if (object->type == "SYNONYM" || object->type == "ALIAS") {
      current = {object->targetSchema, object->targetName};
      qualified = true;
      continue;
    }
    if (object->type != "TABLE" && object->type != "VIEW") break;
    if (!privilege.empty()) RequireObjectPrivilege(*object, privilege);
    return *object;
  }
  Undefined(name.Shown());
}

std::vector<ColumnInfo> Session::Columns(long long objectId) {
  std::vector<ColumnInfo> columns;
  SqliteStatement statement = db_->Prepare(
      "SELECT name, type_name, IFNULL(length, 0), IFNULL(scale, 0), nullable, default_value "
      "FROM sbx_columns WHERE object_id = ?1 ORDER BY position");
  statement.Bind(1, objectId);
  while (statement.Step()) {
    columns.push_back({statement.Text(0), statement.Text(1), statement.Int(2), statement.Int(3),
                       statement.Int(4) != 0, statement.OptionalText(5)});
  }
  return columns;
}

long long Session::AddObject(const ObjectInfo& object, const std::string& columns,
                             const std::string& definition, bool unique) {
  if (const std::optional<ObjectInfo> existing =
          FindObject({object.schema, object.name}, object.type)) {
    AlreadyExists(object.Shown(), existing->type);
  }
  const auto optional = [](const std::string& text) {
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
  };
  db_->Prepare(
         "INSERT INTO sbx_objects(schema, name, type, namespace, owner, tablespace, base_id, "
         "target_schema, target_name, uniqueness, columns, definition, created) "
         "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13)")
      .Bind(1, object.schema)
      .Bind(2, object.name)
      .Bind(3, object.type)
      .Bind(4, NamespaceOf(object.type))
      .Bind(5, object.owner)
      .BindOptional(6, optional(object.tablespace))
      .Bind(7, object.baseId)
      .BindOptional(8, optional(object.targetSchema))
      .BindOptional(9, optional(object.targetName))
      .Bind(10, unique ? 1LL : 0LL)
      .BindOptional(11, optional(columns))
      .BindOptional(12, optional(definition))
      .Bind(13, CurrentTimestamp())
      .Step();
  return sqlite3_last_insert_rowid(db_->Handle());
}

void Session::DropObject(const ObjectInfo& object, bool cascadeConstraints) {
  const std::string id = std::to_string(object.id);
  if (object.type == "TABLE") {
    const long long references = db_->QueryInt(
        "SELECT count(*) FROM sbx_constraints WHERE kind = 'R' AND ref_object_id = " + id +
        " AND object_id <> " + id);
    // DB2 drops the foreign keys of the child tables with their parent;
    // Oracle wants to be told.
    if (references > 0 && dialect_ == Dialect::Oracle && !cascadeConstraints) {
      Raise(OraError(2449, "unique/primary keys in table referenced by foreign keys"));
    }
    db_->Exec("DELETE FROM sbx_constraints WHERE kind = 'R' AND ref_object_id = " + id);
    for (const auto& row : db_->QueryRows("SELECT id FROM sbx_objects WHERE base_id = " + id)) {
      if (std::optional<ObjectInfo> dependent = FindObjectById(std::stoll(row[0]))) {
        DropObject(*dependent, true);
      }
    }
    db_->Exec("DELETE FROM sbx_rows WHERE object_id = " + id);
  }
  for (const char* table : {"sbx_columns", "sbx_constraints", "sbx_comments", "sbx_grants"}) {
    db_->Exec(std::string("DELETE FROM ") + table + " WHERE object_id = " + id);
  }
  db_->Exec("DELETE FROM sbx_sequences WHERE object_id = " + id);
  db_->Exec("DELETE FROM sbx_objects WHERE id = " + id);
}

void Session::DropSchemaObjects(const std::string& schema) {
  SqliteStatement statement = db_->Prepare(
      "SELECT id FROM sbx_objects WHERE schema = ?1 ORDER BY CASE type WHEN 'TABLE' THEN 1 "
      "ELSE 0 END, id DESC");
  statement.Bind(1, schema);
  std::vector<long long> ids;
  while (statement.Step()) ids.push_back(statement.Int(0));
  for (const long long id : ids) {
    if (const std::optional<ObjectInfo> object = FindObjectById(id)) DropObject(*object, true);
  }
}

bool Session::UserExists(const std::string& name) {
  SqliteStatement statement = db_->Prepare("SELECT 1 FROM sbx_users WHERE name = ?1");
  statement.Bind(1, name);
  return statement.Step();
}

bool Session::RoleExists(const std::string& name) {
  SqliteStatement statement = db_->Prepare("SELECT 1 FROM sbx_roles WHERE name = ?1");
  statement.Bind(1, name);
  return statement.Step();
}

bool Session::TablespaceExists(const std::string& name) {
  SqliteStatement statement = db_->Prepare("SELECT 1 FROM sbx_tablespaces WHERE name = ?1");
  statement.Bind(1, name);
  return statement.Step();
}

void Session::RequireTablespace(const std::string& name) {
  if (TablespaceExists(name)) return;
  if (dialect_ == Dialect::Db2)
    Raise(Db2Error(204, "\"" + name + "\" is an undefined name.", "42704"));
  Raise(OraError(959, "tablespace '" + name + "' does not exist"));
}

std::string Session::NewConstraintName() {
  const long long next = db_->QueryInt(
                             "SELECT CAST(value AS INTEGER) FROM sbx_database WHERE key = "
                             "'next_constraint'") +
                         1;
  db_->Exec("INSERT OR REPLACE INTO sbx_database(key, value) VALUES ('next_constraint', '" +
            std::to_string(next) + "')");
  char name[32];
  std::snprintf(name, sizeof name, dialect_ == Dialect::Db2 ? "SQL%015lld" : "SYS_C%07lld", next);
  return name;
}

void Session::Undefined(const std::string& shown) const {
  if (dialect_ == Dialect::Db2) {
    Raise(Db2Error(204, "\"" + shown + "\" is an undefined name.", "42704"));
  }
  Raise(OraError(942, "table or view does not exist"));
}

void Session::AlreadyExists(const std::string& shown, const std::string& type) const {
  if (dialect_ == Dialect::Db2) {
    Raise(Db2Error(601,
                   "The name of the object to be created is identical to the existing name \"" +
                       shown + "\" of type \"" + type + "\".",
                   "42710"));
  }
  Raise(OraError(955, "name is already used by an existing object"));
}

}  // namespace qelsandbox
