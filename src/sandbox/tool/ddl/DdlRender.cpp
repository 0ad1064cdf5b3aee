// Rendering a modeler's model as DB2 command-line and Oracle scripts. Both
// dialects come from the same statements in the same order, so the two
// repositories cannot describe different schemas.
#include <algorithm>
#include <string>

#include "sandbox/tool/ddl/DdlRepository.h"

namespace {

std::string Quoted(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return quoted + "'";
}

std::string Joined(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
  return joined;
}

// One statement, without its terminator, in one dialect; suffix tells the
// scaled copy every object name (tables referenced included) belongs to.
class StatementRenderer {
 public:
  StatementRenderer(DdlDialect dialect, std::string suffix)
      : db2_(dialect == DdlDialect::Db2), suffix_(std::move(suffix)) {}

  std::string operator()(const DdlTable& table) const {
    std::size_t width = 0;
    for (const DdlColumn& column : table.columns) width = std::max(width, column.name.size());
    std::vector<std::string> lines;
    bool lob = false;
    for (const DdlColumn& column : table.columns) {
      lines.push_back(Definition(column, width));
      lob = lob || column.type.kind == DdlType::Blob || column.type.kind == DdlType::Clob;
    }
    lines.push_back("CONSTRAINT " + table.name + "_PK" + suffix_ + " PRIMARY KEY (" +
                    Joined(table.primaryKey) + ")");
    for (std::size_t i = 0; i < table.uniques.size(); ++i) {
      lines.push_back("CONSTRAINT " + table.name + "_UK" + std::to_string(i + 1) + suffix_ +
                      " UNIQUE (" + Joined(table.uniques[i]) + ")");
    }
    for (std::size_t i = 0; i < table.foreignKeys.size(); ++i) {
      const DdlForeignKey& key = table.foreignKeys[i];
      lines.push_back("CONSTRAINT " + table.name + "_FK" + std::to_string(i + 1) + suffix_ +
                      " FOREIGN KEY (" + Joined(key.columns) + ")\n    REFERENCES " +
                      Object(key.table) +
                      (key.onDelete.empty() ? "" : " ON DELETE " + key.onDelete));
    }
    std::string text = "CREATE TABLE " + Object(table.name) + " (\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
      text += "  " + lines[i] + (i + 1 < lines.size() ? ",\n" : "\n");
    }
    if (!db2_) return text + ") TABLESPACE $(TABLESPACE)";
    return text + ") IN $(TABLESPACE)" + (lob ? " LONG IN $(BLOB_TABLESPACE)" : "");
  }

  std::string operator()(const DdlIndex& index) const {
    return std::string("CREATE ") + (index.unique ? "UNIQUE " : "") + "INDEX " +
           Object(index.name) + " ON " + Object(index.table) + " (" + Joined(index.columns) + ")";
  }

  std::string operator()(const DdlView& view) const {
    std::string text = "CREATE VIEW " + Object(view.name) + " AS\n  SELECT " +
                       Joined(view.columns) + "\n  FROM " + Object(view.table);
    if (view.where) {
      text += "\n  WHERE " + view.where->column + " " + view.where->op;
      if (!view.where->op.starts_with("IS")) text += " " + Literal(view.where->value);
    }
    return text;
  }

  std::string operator()(const DdlSequence& sequence) const {
    return "CREATE SEQUENCE " + Object(sequence.name) + (db2_ ? " AS INTEGER" : "") +
           " START WITH " + std::to_string(sequence.start) + " INCREMENT BY 1";
  }

  std::string operator()(const DdlComment& comment) const {
    if (comment.column.empty()) {
      return "COMMENT ON TABLE " + Object(comment.table) + " IS " + Quoted(comment.text);
    }
    return "COMMENT ON COLUMN " + Object(comment.table) + "." + comment.column + " IS " +
           Quoted(comment.text);
  }

  std::string operator()(const DdlAddColumn& added) const {
    const std::string definition = Definition(added.column, 0);
    return "ALTER TABLE " + Object(added.table) +
           (db2_ ? " ADD COLUMN " + definition : " ADD (" + definition + ")");
  }

  std::string operator()(const DdlRow& row) const {
    std::vector<std::string> columns;
    std::vector<std::string> values;
    for (const auto& [column, value] : row.values) {
      columns.push_back(column);
      values.push_back(Literal(value));
    }
    return "INSERT INTO " + Object(row.table) + " (" + Joined(columns) + ")\n  VALUES (" +
           Joined(values) + ")";
  }

  std::string Grant(const std::string& object, bool sequence) const {
    if (sequence) {
      return db2_ ? "GRANT USAGE ON SEQUENCE " + Object(object) + " TO USER $(ACCOUNT)"
                  : "GRANT SELECT ON " + Object(object) + " TO $(ACCOUNT)";
    }
    return std::string("GRANT SELECT, INSERT, UPDATE, DELETE ON ") + (db2_ ? "TABLE " : "") +
           Object(object) + (db2_ ? " TO USER $(ACCOUNT)" : " TO $(ACCOUNT)");
  }

 private:
  std::string Object(const std::string& name) const { return "$(SCHEMA)." + name + suffix_; }

  std::string Type(const DdlColumnType& type) const {
    const std::string length = "(" + std::to_string(type.length) + ")";
    switch (type.kind) {
      case DdlType::Id:
      case DdlType::Integer:
        return db2_ ? "INTEGER" : "NUMBER(10)";
      case DdlType::Name:
      case DdlType::Text:
        return (db2_ ? "VARCHAR" : "VARCHAR2") + length;
      case DdlType::Decimal:
        return (db2_ ? "DECIMAL(" : "NUMBER(") + std::to_string(type.length) + "," +
               std::to_string(type.scale) + ")";
      case DdlType::Timestamp:
        return "TIMESTAMP";
      case DdlType::Flag:
        return db2_ ? "SMALLINT" : "NUMBER(1)";
      case DdlType::Blob:
      case DdlType::Clob: {
        const std::string name = type.kind == DdlType::Blob ? "BLOB" : "CLOB";
        return db2_ ? name + "(" + (type.lobSize.empty() ? "1M" : type.lobSize) + ")" : name;
      }
    }
    return {};
  }

  std::string Literal(const DdlValue& value) const {
    switch (value.kind) {
      case DdlValue::Kind::String:
        return Quoted(value.text);
      case DdlValue::Kind::Number:
        return value.text;
      case DdlValue::Kind::Now:
        return db2_ ? "CURRENT TIMESTAMP" : "SYSTIMESTAMP";
      case DdlValue::Kind::Null:
      case DdlValue::Kind::None:
        break;
    }
    return "NULL";
  }

  // Each dialect's usual order: DB2 "NOT NULL DEFAULT x", Oracle insists on
  // "DEFAULT x NOT NULL".
  std::string Definition(const DdlColumn& column, std::size_t width) const {
    std::string text = column.name;
    text.resize(std::max(width, column.name.size()) + 1, ' ');
    text += Type(column.type);
    const std::string notNull = column.notNull ? " NOT NULL" : "";
    const std::string defaultValue = column.defaultValue.kind == DdlValue::Kind::None
                                         ? ""
                                         : " DEFAULT " + Literal(column.defaultValue);
    return text + (db2_ ? notNull + defaultValue : defaultValue + notNull);
  }

  bool db2_;
  std::string suffix_;
};

const std::vector<DdlItem>& Items(const DdlModeler& modeler, DdlFileRole role) {
  static const std::vector<DdlItem> none;
  switch (role) {
    case DdlFileRole::Base:
      return modeler.base;
    case DdlFileRole::Custo:
      return modeler.custo;
    case DdlFileRole::Insert:
      return modeler.insert;
    case DdlFileRole::Grant:
      break;
  }
  return none;
}

// The administrator may use every table, view and sequence of the modeler.
std::vector<std::string> Grants(const DdlModeler& modeler, const StatementRenderer& renderer) {
  std::vector<std::string> grants;
  for (const auto* items : {&modeler.base, &modeler.custo}) {
    for (const DdlItem& item : *items) {
      if (const auto* table = std::get_if<DdlTable>(&item.statement)) {
        grants.push_back(renderer.Grant(table->name, false));
      } else if (const auto* view = std::get_if<DdlView>(&item.statement)) {
        grants.push_back(renderer.Grant(view->name, false));
      } else if (const auto* sequence = std::get_if<DdlSequence>(&item.statement)) {
        grants.push_back(renderer.Grant(sequence->name, true));
      }
    }
  }
  return grants;
}

std::string Header(const DdlModeler& modeler, DdlFileRole role, DdlDialect dialect, int scale) {
  static const char* const roles[] = {
      "base file: tables, indexes, views and sequences",
      "site customisation: added columns, site views and comments",
      "reference rows the PDM server expects",
      "rights of the PDM administrator on every table, view and sequence"};
  std::string header = "-- " + DdlFileName(modeler.name, role, dialect) + ": " + modeler.name +
                       " modeler, " + roles[static_cast<int>(role)] + ".\n";
  if (!modeler.about.empty()) header += "-- " + modeler.about + "\n";
  header += dialect == DdlDialect::Db2
                ? "-- DB2 command-line script (db2 -tvf): each statement ends with ';'.\n"
                : "-- Oracle script (SQL*Plus): each statement ends with ';'.\n";
  header +=
      "-- The installer replaces $(SCHEMA), $(ACCOUNT), $(TABLESPACE) and $(BLOB_TABLESPACE)\n"
      "-- before it plays a statement, and commits itself.\n";
  if (scale > 1) {
    header += "-- Scale " + std::to_string(scale) +
              ": every object comes that many times, copy k (k > 1) named with the suffix _k.\n";
  }
  return header + "-- Generated from sandbox/model/" + modeler.source +
         ": change the model, not this file.\n";
}

std::string ClientCommands(const DdlModeler& modeler, DdlFileRole role, DdlDialect dialect,
                           bool atEnd) {
  std::string text;
  for (const DdlClientCommand& command : modeler.clientCommands) {
    if (command.role == role && command.dialect == dialect && command.atEnd == atEnd) {
      // SQL*Plus commands end with their line; the DB2 command line wants ';'.
      text += command.text + (dialect == DdlDialect::Db2 ? ";\n" : "\n");
    }
  }
  return text;
}

}  // namespace

bool HasDdlFile(const DdlModeler& modeler, DdlFileRole role) {
  switch (role) {
    case DdlFileRole::Custo:
      return !modeler.custo.empty();
    case DdlFileRole::Insert:
      return !modeler.insert.empty();
    case DdlFileRole::Base:
    case DdlFileRole::Grant:
      break;
  }
  return true;
}

std::string RenderDdlFile(const DdlModeler& modeler, DdlFileRole role, DdlDialect dialect,
                          int scale) {
  std::string text = Header(modeler, role, dialect, scale);
  const std::string begin = ClientCommands(modeler, role, dialect, false);
  if (!begin.empty()) text += "\n" + begin;
  for (int copy = 1; copy <= scale; ++copy) {
    const StatementRenderer renderer(dialect, copy == 1 ? "" : "_" + std::to_string(copy));
    const std::vector<std::string> statements =
        role == DdlFileRole::Grant ? Grants(modeler, renderer) : std::vector<std::string>{};
    for (const std::string& statement : statements) text += "\n" + statement + ";\n";
    for (const DdlItem& item : Items(modeler, role)) {
      text += "\n" + std::visit(renderer, item.statement) + ";\n";
    }
  }
  const std::string end = ClientCommands(modeler, role, dialect, true);
  if (!end.empty()) text += "\n" + end;
  return text;
}
