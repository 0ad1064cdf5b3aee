// The schema model behind the sandbox DDL repository: what one modeler's
// model file declares, and the set of modelers read in installation order.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// Column types of the model, neutral between the two dialects.
enum class DdlType { Id, Name, Text, Integer, Decimal, Timestamp, Flag, Blob, Clob };

struct DdlColumnType {
  DdlType kind = DdlType::Integer;
  int length = 0;       // name, text: characters; decimal: precision
  int scale = 0;        // decimal only
  std::string lobSize;  // blob, clob: "1M" and the like
};

// A literal of the model: a default, a row's value or a view's condition.
struct DdlValue {
  enum class Kind { None, Null, Number, String, Now };
  Kind kind = Kind::None;
  std::string text;  // the number as written, or the string unescaped
};

struct DdlColumn {
  std::string name;
  DdlColumnType type;
  bool notNull = false;
  DdlValue defaultValue;  // Kind::None without a default
};

// Always references the parent's primary key.
struct DdlForeignKey {
  std::vector<std::string> columns;
  std::string table;
  std::string onDelete;  // empty, "CASCADE" or "SET NULL"
};

struct DdlTable {
  std::string name;
  std::vector<DdlColumn> columns;
  std::vector<std::string> primaryKey;
  std::vector<std::vector<std::string>> uniques;
  std::vector<DdlForeignKey> foreignKeys;
};

struct DdlIndex {
  std::string name;
  std::string table;
  std::vector<std::string> columns;
  bool unique = false;
};

struct DdlCondition {
  std::string column;
  std::string op;  // = <> < > <= >=, or IS NULL / IS NOT NULL without a value
  DdlValue value;
};

struct DdlView {
  std::string name;
  std::string table;
  std::vector<std::string> columns;
  std::optional<DdlCondition> where;
};

struct DdlSequence {
  std::string name;
  long long start = 1;
};

struct DdlComment {
  std::string table;
  std::string column;  // empty for a comment on the table
  std::string text;
};

// A column a site adds to an existing table.
struct DdlAddColumn {
  std::string table;
  DdlColumn column;
};

struct DdlRow {
  std::string table;
  std::vector<std::pair<std::string, DdlValue>> values;
};

using DdlStatement =
    std::variant<DdlTable, DdlIndex, DdlView, DdlSequence, DdlComment, DdlAddColumn, DdlRow>;

struct DdlItem {
  DdlStatement statement;
  int line = 0;  // in the model file, for messages
};

// The four files of a modeler, in playing order.
enum class DdlFileRole { Base, Custo, Insert, Grant };
enum class DdlDialect { Db2, Oracle };

// A client-only line (CONNECT, TERMINATE, SET, PROMPT ...) that a file holds
// before or after its statements; the installer never plays it.
struct DdlClientCommand {
  DdlFileRole role = DdlFileRole::Custo;
  DdlDialect dialect = DdlDialect::Db2;
  bool atEnd = false;
  std::string text;
};

struct DdlModeler {
  std::string name;
  std::string prefix;
  std::string about;
  std::string source;       // the model file's name, for messages and headers
  bool vaultOwner = false;  // owned by the vault account, not the dictionary owner
  int nameLine = 0;         // where the modeler and prefix lines stand
  int prefixLine = 0;
  std::vector<DdlItem> base;
  std::vector<DdlItem> custo;
  std::vector<DdlItem> insert;
  std::vector<DdlClientCommand> clientCommands;
};

// Modelers read in installation order. Each model is checked against those
// before it: object names are unique across all of them (they share the
// dictionary owner's schema), and foreign keys and reference rows may point
// into earlier modelers.
class DdlModelSet {
 public:
  // false with "<source>:<line>: <reason>" in error; the set is then unchanged.
  bool Add(std::string_view text, const std::string& source, std::string& error);

  const std::vector<DdlModeler>& Modelers() const { return modelers_; }

  // What the checks know of a table once its modeler is added.
  struct TableState {
    std::string modeler;
    bool vaultOwner = false;
    std::vector<DdlColumn> columns;  // custo columns included
    std::vector<std::string> primaryKey;
    std::vector<std::vector<std::string>> uniques;
    std::set<std::vector<std::string>> keys;  // primary key values of the reference rows
    std::vector<std::set<std::vector<std::string>>> uniqueKeys;
  };
  struct Registry {
    std::map<std::string, std::string> objects;  // schema object name -> its kind
    std::map<std::string, TableState> tables;
    std::set<std::string> modelers;
    std::set<std::string> prefixes;
  };

 private:
  std::vector<DdlModeler> modelers_;
  Registry registry_;
};

// Reads the text of one model file; throws DdlModelError.
DdlModeler ParseDdlModel(std::string_view text, const std::string& source);
// Checks a parsed modeler in playing order and records it in the registry;
// throws DdlModelError.
void CheckDdlModel(const DdlModeler& modeler, DdlModelSet::Registry& registry);

// A fault of a model file, at a line of it. Never leaves DdlModelSet::Add.
struct DdlModelError {
  int line = 0;
  std::string reason;
};
