// What a model must respect beyond its syntax, checked in the order the
// installer plays the files (base, custo_, insert_), so that every statement
// rendered from a model that passes runs on a fresh schema of either DBMS.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>

#include "sandbox/tool/ddl/DdlModel.h"

namespace {

using Registry = DdlModelSet::Registry;
using TableState = DdlModelSet::TableState;

// Oracle names have 30 characters; scaled copies append up to "_999".
constexpr std::size_t MaxNameLength = 26;
// DB2 keeps at most 254 bytes of a comment.
constexpr std::size_t MaxCommentLength = 254;

[[noreturn]] void Fail(int line, const std::string& reason) {
  throw DdlModelError{line, reason};
}

// Words either DBMS reserves, or treats specially enough that a column of
// that name needs quoting in one of them.
bool IsReserved(const std::string& word) {
  static const std::set<std::string> reserved = {
      "ACCESS",    "ADD",       "ALL",        "ALTER",    "AND",        "ANY",        "AS",
      "ASC",       "AUDIT",     "BETWEEN",    "BY",       "CHAR",       "CHECK",      "CLUSTER",
      "COLUMN",    "COMMENT",   "COMPRESS",   "CONNECT",  "CREATE",     "CURRENT",    "DATE",
      "DAY",       "DECIMAL",   "DEFAULT",    "DELETE",   "DESC",       "DISTINCT",   "DROP",
      "ELSE",      "EXCLUSIVE", "EXISTS",     "FILE",     "FLOAT",      "FOR",        "FROM",
      "GRANT",     "GROUP",     "HAVING",     "HOUR",     "IDENTIFIED", "IMMEDIATE",  "IN",
      "INCREMENT", "INDEX",     "INITIAL",    "INSERT",   "INTEGER",    "INTERSECT",  "INTO",
      "IS",        "KEY",       "LEVEL",      "LIKE",     "LOCK",       "LONG",       "MAXEXTENTS",
      "MINUS",     "MODE",      "MODIFY",     "MONTH",    "NOAUDIT",    "NOCOMPRESS", "NOT",
      "NOWAIT",    "NULL",      "NUMBER",     "OF",       "OFFLINE",    "ON",         "ONLINE",
      "OPTION",    "OR",        "ORDER",      "PCTFREE",  "POSITION",   "PRIOR",      "PRIVILEGES",
      "PUBLIC",    "RAW",       "RENAME",     "RESOURCE", "REVOKE",     "ROW",        "ROWID",
      "ROWNUM",    "ROWS",      "SELECT",     "SESSION",  "SET",        "SHARE",      "SIZE",
      "SMALLINT",  "START",     "SUCCESSFUL", "SYNONYM",  "SYSDATE",    "TABLE",      "THEN",
      "TIME",      "TIMESTAMP", "TO",         "TRIGGER",  "UID",        "UNION",      "UNIQUE",
      "UPDATE",    "USER",      "VALIDATE",   "VALUE",    "VALUES",     "VARCHAR",    "VARCHAR2",
      "VIEW",      "WHENEVER",  "WHERE",      "WITH",     "YEAR"};
  return reserved.count(word) > 0;
}

bool IsIdentifier(const std::string& name) {
  return !name.empty() && std::isupper(static_cast<unsigned char>(name.front())) &&
         std::all_of(name.begin(), name.end(), [](unsigned char c) {
           return std::isupper(c) || std::isdigit(c) || c == '_';
         });
}

// Scaled copies are named NAME_k: a model name of that shape could clash
// with a copy of another object.
bool HasCopySuffix(const std::string& name) {
  const std::size_t underscore = name.rfind('_');
  return underscore != std::string::npos && underscore + 1 < name.size() &&
         std::all_of(name.begin() + static_cast<long>(underscore) + 1, name.end(),
                     [](unsigned char c) { return std::isdigit(c) != 0; });
}

std::string TypeText(const DdlColumnType& type) {
  switch (type.kind) {
    case DdlType::Id:
      return "id";
    case DdlType::Name:
      return "name(" + std::to_string(type.length) + ")";
    case DdlType::Text:
      return "text(" + std::to_string(type.length) + ")";
    case DdlType::Integer:
      return "integer";
    case DdlType::Decimal:
      return "decimal(" + std::to_string(type.length) + "," + std::to_string(type.scale) + ")";
    case DdlType::Timestamp:
      return "timestamp";
    case DdlType::Flag:
      return "flag";
    case DdlType::Blob:
      return "blob";
    case DdlType::Clob:
      return "clob";
  }
  return "?";
}

bool IsWholeNumber(DdlType kind) {
  return kind == DdlType::Id || kind == DdlType::Integer || kind == DdlType::Flag;
}

bool IsCharacter(DdlType kind) {
  return kind == DdlType::Name || kind == DdlType::Text;
}

// A foreign key column holds what its parent key holds.
bool SameDomain(const DdlColumnType& child, const DdlColumnType& parent) {
  const auto integral = [](DdlType kind) {
    return kind == DdlType::Id || kind == DdlType::Integer;
  };
  if (integral(child.kind) || integral(parent.kind)) {
    return integral(child.kind) && integral(parent.kind);
  }
  if (IsCharacter(child.kind)) return IsCharacter(parent.kind) && child.length == parent.length;
  return child.kind == parent.kind && child.length == parent.length && child.scale == parent.scale;
}

// "512K", "16M", "1G": DB2 logs LOBs up to 1G only.
bool IsLobSize(const std::string& size) {
  if (size.size() < 2) return false;
  const char unit = size.back();
  long long value = 0;
  const auto [end, error] = std::from_chars(size.data(), size.data() + size.size() - 1, value);
  if (error != std::errc() || end != size.data() + size.size() - 1 || value < 1) return false;
  const long long limit = unit == 'K' ? 1024LL * 1024 : unit == 'M' ? 1024 : unit == 'G' ? 1 : 0;
  return value <= limit;
}

const DdlColumn* FindColumn(const std::vector<DdlColumn>& columns, const std::string& name) {
  const auto found = std::find_if(columns.begin(), columns.end(),
                                  [&](const DdlColumn& column) { return column.name == name; });
  return found == columns.end() ? nullptr : &*found;
}

// Checks one modeler, recording its objects and reference rows as it goes.
class Checker {
 public:
  Checker(const DdlModeler& modeler, Registry& registry) : modeler_(modeler), registry_(registry) {}

  void Run() {
    Header();
    if (modeler_.base.empty() ||
        !std::holds_alternative<DdlTable>(modeler_.base.front().statement)) {
      Fail(modeler_.base.empty() ? modeler_.nameLine : modeler_.base.front().line,
           "the base file must start with a table: the installer tells an installed modeler by "
           "its first table");
    }
    // The parser puts each kind of statement in the file it belongs to.
    for (const auto* items : {&modeler_.base, &modeler_.custo, &modeler_.insert}) {
      for (const DdlItem& item : *items) {
        std::visit([&](const auto& statement) { Check(statement, item.line); }, item.statement);
      }
    }
  }

 private:
  void Header() {
    const std::string& name = modeler_.name;
    const int line = modeler_.nameLine;
    const bool wellFormed = std::isalpha(static_cast<unsigned char>(name.front())) &&
                            std::all_of(name.begin(), name.end(), [](unsigned char c) {
                              return std::isalnum(c) || c == '_';
                            });
    if (!wellFormed) Fail(line, "'" + name + "' is not a modeler name");
    const std::string& source = modeler_.source;
    const std::string file = source.substr(source.rfind('/') + 1);
    if (file.ends_with(".model") && file != name + ".model") {
      Fail(line, "the modeler " + name + " belongs in " + name + ".model, not " + file);
    }
    if (!registry_.modelers.insert(name).second) {
      Fail(line, "the modeler " + name + " is already read");
    }
    prefix_ = modeler_.prefix.empty() ? name : modeler_.prefix;
    const int prefixLine = modeler_.prefix.empty() ? line : modeler_.prefixLine;
    if (!IsIdentifier(prefix_) || prefix_.find('_') != std::string::npos) {
      Fail(prefixLine, "the prefix '" + prefix_ +
                           "' must be upper-case letters and digits (write 'prefix NAME')");
    }
    if (!registry_.prefixes.insert(prefix_).second) {
      Fail(prefixLine, "the prefix " + prefix_ + " is already used by another modeler");
    }
  }

  void Check(const DdlIndex& index, int line) {
    TableState& table = OwnTable(index.table, line);
    Columns(table.columns, index.columns, index.table, line);
    Register(index.name, "index", line);
  }
  void Check(const DdlView& view, int line) {
    const TableState& table = VisibleTable(view.table, line);
    Columns(table.columns, view.columns, view.table, line);
    if (view.where) {
      const DdlColumn& column = Existing(table.columns, view.where->column, view.table, line);
      if (view.where->value.kind == DdlValue::Kind::Null) {
        Fail(line, "nothing equals null: write 'where " + column.name + " is null'");
      }
      if (!view.where->op.starts_with("IS")) Value(column, view.where->value, line);
    }
    Register(view.name, "view", line);
  }
  void Check(const DdlSequence& sequence, int line) { Register(sequence.name, "sequence", line); }
  void Check(const DdlComment& comment, int line) {
    const TableState& table = OwnTable(comment.table, line);
    if (!comment.column.empty()) Existing(table.columns, comment.column, comment.table, line);
    if (comment.text.size() > MaxCommentLength) {
      Fail(line, "a comment holds at most " + std::to_string(MaxCommentLength) + " characters");
    }
  }

  void Check(const DdlTable& table, int line) {
    Register(table.name, "table", line);
    TableState state;
    state.modeler = modeler_.name;
    state.vaultOwner = modeler_.vaultOwner;
    if (table.columns.empty()) Fail(line, "the table " + table.name + " has no column");
    for (const DdlColumn& column : table.columns) {
      Column(column, state.columns, line);
      state.columns.push_back(column);
    }
    if (table.primaryKey.empty()) Fail(line, "the table " + table.name + " has no primary key");
    KeyColumns(state.columns, table.primaryKey, table.name, "primary key", line);
    Register(table.name + "_PK", "constraint", line);
    state.primaryKey = table.primaryKey;
    for (std::size_t i = 0; i < table.uniques.size(); ++i) {
      KeyColumns(state.columns, table.uniques[i], table.name, "unique key", line);
      Register(table.name + "_UK" + std::to_string(i + 1), "constraint", line);
    }
    state.uniques = table.uniques;
    state.uniqueKeys.resize(table.uniques.size());
    for (std::size_t i = 0; i < table.foreignKeys.size(); ++i) {
      ForeignKey(table, state, table.foreignKeys[i], line);
      Register(table.name + "_FK" + std::to_string(i + 1), "constraint", line);
    }
    registry_.tables[table.name] = std::move(state);
  }

  void ForeignKey(const DdlTable& table, const TableState& state, const DdlForeignKey& key,
                  int line) {
    const TableState& parent = key.table == table.name ? state : VisibleTable(key.table, line);
    Columns(state.columns, key.columns, table.name, line);
    if (key.columns.size() != parent.primaryKey.size()) {
      Fail(line, "the foreign key to " + key.table + " has " + std::to_string(key.columns.size()) +
                     " column(s), its primary key " + std::to_string(parent.primaryKey.size()));
    }
    for (std::size_t i = 0; i < key.columns.size(); ++i) {
      const DdlColumn& child = *FindColumn(state.columns, key.columns[i]);
      const DdlColumn& referenced = *FindColumn(parent.columns, parent.primaryKey[i]);
      if (!SameDomain(child.type, referenced.type)) {
        Fail(line, "the foreign key column " + child.name + " is " + TypeText(child.type) +
                       " but " + key.table + "." + referenced.name + " is " +
                       TypeText(referenced.type));
      }
      if (key.onDelete == "SET NULL" && child.notNull) {
        Fail(line, "on delete set null needs " + child.name + " to accept null");
      }
    }
  }

  void Check(const DdlAddColumn& added, int line) {
    TableState& table = OwnTable(added.table, line);
    Column(added.column, table.columns, line);
    if (added.column.notNull && added.column.defaultValue.kind == DdlValue::Kind::None) {
      Fail(line, "an added column that is not null needs a default (DB2 refuses it otherwise)");
    }
    table.columns.push_back(added.column);
  }

  void Column(const DdlColumn& column, const std::vector<DdlColumn>& existing, int line) {
    Identifier(column.name, "column", line);
    if (FindColumn(existing, column.name))
      Fail(line, "the column " + column.name + " appears twice");
    const DdlColumnType& type = column.type;
    if (type.kind == DdlType::Name && (type.length < 1 || type.length > 254)) {
      Fail(line, "name(n) takes 1 to 254 characters; use text(n) beyond");
    }
    if (type.kind == DdlType::Text && (type.length < 1 || type.length > 4000)) {
      Fail(line, "text(n) takes 1 to 4000 characters, the most an Oracle VARCHAR2 holds");
    }
    if (type.kind == DdlType::Decimal &&
        (type.length < 1 || type.length > 31 || type.scale > type.length)) {
      Fail(line, "decimal(p,s) needs 1 <= p <= 31 and s <= p");
    }
    if (!type.lobSize.empty() && !IsLobSize(type.lobSize)) {
      Fail(line, "'" + type.lobSize + "' is no LOB size: write a number and K, M or G, at most 1G");
    }
    const DdlValue& value = column.defaultValue;
    if (value.kind == DdlValue::Kind::None) return;
    if (type.kind == DdlType::Blob || type.kind == DdlType::Clob) {
      Fail(line, "a LOB column takes no default");
    }
    if (value.kind == DdlValue::Kind::Null) Fail(line, "'default null' says nothing: leave it out");
    if (value.kind == DdlValue::Kind::Now) {
      if (type.kind != DdlType::Timestamp) Fail(line, "only a timestamp defaults to now");
      return;
    }
    Value(column, value, line);
  }

  // A literal the column can hold, as a default, a row's value or in a view.
  void Value(const DdlColumn& column, const DdlValue& value, int line) {
    const DdlType kind = column.type.kind;
    const std::string what = "the value of " + column.name + " (" + TypeText(column.type) + ")";
    switch (value.kind) {
      case DdlValue::Kind::Null:
        if (column.notNull) Fail(line, column.name + " is not null");
        return;
      case DdlValue::Kind::Now:
        Fail(line, "now is only a timestamp's default");
      case DdlValue::Kind::String:
        if (!IsCharacter(kind)) Fail(line, what + " cannot be a string");
        if (value.text.size() > static_cast<std::size_t>(column.type.length)) {
          Fail(line,
               what + " is longer than " + std::to_string(column.type.length) + " characters");
        }
        return;
      case DdlValue::Kind::Number:
        Number(column, value.text, what, line);
        return;
      case DdlValue::Kind::None:
        return;
    }
  }

  void Number(const DdlColumn& column, const std::string& text, const std::string& what, int line) {
    const DdlType kind = column.type.kind;
    if (!IsWholeNumber(kind) && kind != DdlType::Decimal) {
      Fail(line, what + " cannot be a number" +
                     (kind == DdlType::Timestamp ? ": timestamps take their default" : ""));
    }
    const std::string magnitude = text.front() == '-' ? text.substr(1) : text;
    const std::size_t dot = magnitude.find('.');
    const std::string whole = magnitude.substr(0, dot);
    const std::size_t fraction = dot == std::string::npos ? 0 : magnitude.size() - dot - 1;
    if (whole.size() > 1 && whole.front() == '0') Fail(line, what + " has leading zeros");
    if (kind == DdlType::Flag && text != "0" && text != "1") Fail(line, what + " is 0 or 1");
    if (IsWholeNumber(kind) && (fraction > 0 || whole.size() > 9)) {
      Fail(line, what + " must be a whole number of at most 9 digits");
    }
    if (kind == DdlType::Decimal &&
        (fraction > static_cast<std::size_t>(column.type.scale) ||
         whole.size() > static_cast<std::size_t>(column.type.length - column.type.scale))) {
      Fail(line, what + " does not fit");
    }
  }

  // Reference rows obey the keys the DBMS will enforce: a row that breaks
  // one would stop the installation half-way.
  void Check(const DdlRow& row, int line) {
    TableState& table = OwnTable(row.table, line);
    std::map<std::string, const DdlValue*> values;
    for (const auto& [name, value] : row.values) {
      const DdlColumn& column = Existing(table.columns, name, row.table, line);
      if (!values.emplace(name, &value).second) Fail(line, name + " is given twice");
      if (column.type.kind == DdlType::Timestamp || column.type.kind == DdlType::Blob ||
          column.type.kind == DdlType::Clob) {
        Fail(line,
             name + " is " + TypeText(column.type) + ": reference rows leave it to its default");
      }
      Value(column, value, line);
    }
    for (const DdlColumn& column : table.columns) {
      if (column.notNull && column.defaultValue.kind == DdlValue::Kind::None &&
          !values.count(column.name)) {
        Fail(line, "the row gives no value to " + column.name + ", which is not null");
      }
    }
    const auto tuple = [&](const std::vector<std::string>& columns) {
      std::vector<std::string> key;
      for (const std::string& column : columns) {
        const auto found = values.find(column);
        if (found == values.end() || found->second->kind == DdlValue::Kind::Null)
          return std::vector<std::string>{};
        key.push_back(found->second->text);
      }
      return key;
    };
    const DdlTable* definition = Definition(row.table);
    for (const DdlForeignKey& key : definition->foreignKeys) {
      const std::vector<std::string> value = tuple(key.columns);
      if (value.empty()) continue;
      const TableState& parent = registry_.tables.at(key.table);
      if (!parent.keys.count(value) &&
          !(key.table == row.table && value == tuple(table.primaryKey))) {
        Fail(line, "no row of " + key.table + " has the key " + Joined(value));
      }
    }
    const std::vector<std::string> primaryKey = tuple(table.primaryKey);
    if (primaryKey.empty()) Fail(line, "the row gives no primary key " + Joined(table.primaryKey));
    if (!table.keys.insert(primaryKey).second) {
      Fail(line, "a row of " + row.table + " already has the key " + Joined(primaryKey));
    }
    for (std::size_t i = 0; i < table.uniques.size(); ++i) {
      const std::vector<std::string> value = tuple(table.uniques[i]);
      if (!value.empty() && !table.uniqueKeys[i].insert(value).second) {
        Fail(line, "a row of " + row.table + " already has " + Joined(value) + " in " +
                       Joined(table.uniques[i]));
      }
    }
  }

  static std::string Joined(const std::vector<std::string>& values) {
    std::string joined;
    for (const std::string& value : values) joined += (joined.empty() ? "" : ", ") + value;
    return "(" + joined + ")";
  }

  const DdlTable* Definition(const std::string& name) const {
    for (const DdlItem& item : modeler_.base) {
      const auto* table = std::get_if<DdlTable>(&item.statement);
      if (table && table->name == name) return table;
    }
    return nullptr;
  }

  TableState& OwnTable(const std::string& name, int line) {
    const auto found = registry_.tables.find(name);
    if (found == registry_.tables.end()) Fail(line, "no table " + name + " is defined before");
    if (found->second.modeler != modeler_.name) {
      Fail(line, name + " belongs to the modeler " + found->second.modeler);
    }
    return found->second;
  }

  // A table of this modeler, or of an earlier one in the same schema.
  const TableState& VisibleTable(const std::string& name, int line) {
    const auto found = registry_.tables.find(name);
    if (found == registry_.tables.end()) Fail(line, "no table " + name + " is defined before");
    if (found->second.vaultOwner != modeler_.vaultOwner) {
      Fail(line, name + " lives in another owner's schema (the vault modeler has its own)");
    }
    return found->second;
  }

  const DdlColumn& Existing(const std::vector<DdlColumn>& columns, const std::string& name,
                            const std::string& table, int line) {
    const DdlColumn* column = FindColumn(columns, name);
    if (!column) Fail(line, table + " has no column " + name);
    return *column;
  }

  void Columns(const std::vector<DdlColumn>& columns, const std::vector<std::string>& names,
               const std::string& table, int line) {
    std::set<std::string> seen;
    for (const std::string& name : names) {
      Existing(columns, name, table, line);
      if (!seen.insert(name).second) Fail(line, name + " is listed twice");
    }
  }

  // DB2 keys take only columns declared not null.
  void KeyColumns(const std::vector<DdlColumn>& columns, const std::vector<std::string>& names,
                  const std::string& table, const std::string& what, int line) {
    Columns(columns, names, table, line);
    for (const std::string& name : names) {
      if (!FindColumn(columns, name)->notNull) {
        Fail(line, "the " + what + " column " + name + " must be not null");
      }
      const DdlType kind = FindColumn(columns, name)->type.kind;
      if (kind == DdlType::Blob || kind == DdlType::Clob) Fail(line, "a LOB cannot be a key");
    }
  }

  void Identifier(const std::string& name, const std::string& kind, int line) {
    if (!IsIdentifier(name)) {
      Fail(line, "the " + kind + " name '" + name + "' must be upper-case letters, digits and _");
    }
    if (name.size() > MaxNameLength) {
      Fail(line, "the " + kind + " name " + name + " is longer than " +
                     std::to_string(MaxNameLength) + " characters");
    }
    if (IsReserved(name)) Fail(line, name + " is a reserved word of DB2 or Oracle");
  }

  // Schema object names, constraints included, are unique across modelers:
  // they all live in the dictionary owner's schema.
  void Register(const std::string& name, const std::string& kind, int line) {
    Identifier(name, kind, line);
    if (!name.starts_with(prefix_ + "_")) {
      Fail(line, "the " + kind + " name " + name + " must start with the modeler's prefix " +
                     prefix_ + "_");
    }
    if (HasCopySuffix(name)) {
      Fail(line, "the " + kind + " name " + name + " ends like a scaled copy (_digits)");
    }
    const auto [found, added] = registry_.objects.emplace(name, kind);
    if (!added) Fail(line, "the name " + name + " is already used by a " + found->second);
  }

  const DdlModeler& modeler_;
  Registry& registry_;
  std::string prefix_;
};

}  // namespace

void CheckDdlModel(const DdlModeler& modeler, DdlModelSet::Registry& registry) {
  Checker(modeler, registry).Run();
}

bool DdlModelSet::Add(std::string_view text, const std::string& source, std::string& error) {
  try {
    DdlModeler modeler = ParseDdlModel(text, source);
    Registry registry = registry_;
    CheckDdlModel(modeler, registry);
    registry_ = std::move(registry);
    modelers_.push_back(std::move(modeler));
    return true;
  } catch (const DdlModelError& fault) {
    error = source + ":" + std::to_string(fault.line) + ": " + fault.reason;
    return false;
  }
}
