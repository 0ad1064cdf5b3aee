// Reading a model file: one directive a line, split into words, strings and
// symbols. Only the syntax is checked here; what the names mean is checked
// afterwards, in playing order, against the modelers already read.
#include <algorithm>
#include <cctype>
#include <string>

#include "sandbox/tool/ddl/DdlModel.h"

namespace {

struct Token {
  enum class Kind { Word, String, Symbol, End };
  Kind kind = Kind::End;
  std::string text;  // a string's text unescaped
  std::size_t offset = 0;
};

bool IsWordCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '.';
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// One line of the model as a stream of tokens, read as far as asked: the free
// text that ends some directives (a comment, a client command) may hold
// anything, a lone apostrophe included.
class Line {
 public:
  Line(std::string_view text, int number) : text_(text), number_(number) {}

  [[noreturn]] void Fail(const std::string& reason) const { throw DdlModelError{number_, reason}; }

  int Number() const { return number_; }
  bool AtEnd() { return Peek().kind == Token::Kind::End; }
  const Token& Peek(std::size_t ahead = 0) {
    while (ahead >= pending_.size() &&
           (pending_.empty() || pending_.back().kind != Token::Kind::End)) {
      pending_.push_back(Scan());
    }
    return pending_[std::min(ahead, pending_.size() - 1)];
  }
  Token Next() {
    Token token = Peek();
    if (token.kind != Token::Kind::End) pending_.erase(pending_.begin());
    return token;
  }
  bool PeekKeyword(std::string_view keyword, std::size_t ahead = 0) {
    return Peek(ahead).kind == Token::Kind::Word && Lower(Peek(ahead).text) == keyword;
  }
  bool Accept(std::string_view keyword) {
    if (!PeekKeyword(keyword)) return false;
    Next();
    return true;
  }
  void Expect(std::string_view keyword) {
    if (!Accept(keyword)) Fail("expected '" + std::string(keyword) + "', found " + Shown());
  }
  bool AcceptSymbol(std::string_view symbol) {
    if (Peek().kind != Token::Kind::Symbol || Peek().text != symbol) return false;
    Next();
    return true;
  }
  void ExpectSymbol(std::string_view symbol) {
    if (!AcceptSymbol(symbol)) Fail("expected '" + std::string(symbol) + "', found " + Shown());
  }
  void ExpectEnd() {
    if (!AtEnd()) Fail("unexpected " + Shown() + " at the end of the line");
  }
  std::string Word(std::string_view what) {
    if (Peek().kind != Token::Kind::Word)
      Fail("expected " + std::string(what) + ", found " + Shown());
    return Next().text;
  }
  // The raw text after the tokens read so far, up to the end of the line.
  std::string Rest(std::string_view what) {
    const std::size_t from = pending_.empty() ? cursor_ : pending_.front().offset;
    std::string rest(Trim(text_.substr(std::min(from, text_.size()))));
    if (rest.empty()) Fail("expected " + std::string(what) + " at the end of the line");
    pending_ = {Token{Token::Kind::End, "", text_.size()}};
    return rest;
  }
  std::string Shown() {
    const Token& token = Peek();
    switch (token.kind) {
      case Token::Kind::End:
        return "the end of the line";
      case Token::Kind::String:
        return "a string";
      default:
        return "'" + token.text + "'";
    }
  }

 private:
  Token Scan() {
    while (cursor_ < text_.size() && (text_[cursor_] == ' ' || text_[cursor_] == '\t')) ++cursor_;
    const std::size_t start = cursor_;
    if (start >= text_.size()) return {Token::Kind::End, "", start};
    const char c = text_[start];
    if (c == '\'') return ScanString();
    if (IsWordCharacter(c) ||
        (c == '-' && start + 1 < text_.size() && IsWordCharacter(text_[start + 1]))) {
      ++cursor_;
      while (cursor_ < text_.size() && IsWordCharacter(text_[cursor_])) ++cursor_;
      return {Token::Kind::Word, std::string(text_.substr(start, cursor_ - start)), start};
    }
    const char next = start + 1 < text_.size() ? text_[start + 1] : '\0';
    const bool twoCharacters =
        (c == '<' && (next == '>' || next == '=')) || (c == '>' && next == '=');
    cursor_ += twoCharacters ? 2 : 1;
    return {Token::Kind::Symbol, std::string(text_.substr(start, cursor_ - start)), start};
  }

  Token ScanString() {
    const std::size_t start = cursor_++;
    std::string value;
    while (cursor_ < text_.size()) {
      if (text_[cursor_] != '\'') {
        value += text_[cursor_++];
      } else if (cursor_ + 1 < text_.size() && text_[cursor_ + 1] == '\'') {
        value += '\'';
        cursor_ += 2;
      } else {
        ++cursor_;
        return {Token::Kind::String, value, start};
      }
    }
    Fail("unterminated string: close it with ' (write '' for a quote inside)");
  }

  std::string_view text_;
  int number_;
  std::size_t cursor_ = 0;
  std::vector<Token> pending_;  // scanned, not yet consumed
};

bool IsInteger(std::string_view text) {
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  return !text.empty() && std::all_of(text.begin(), text.end(),
                                      [](unsigned char c) { return std::isdigit(c) != 0; });
}

bool IsNumber(std::string_view text) {
  const std::size_t dot = text.find('.');
  if (dot == std::string_view::npos) return IsInteger(text);
  const std::string_view fraction = text.substr(dot + 1);
  return IsInteger(text.substr(0, dot)) && !fraction.empty() && fraction.front() != '-' &&
         IsInteger(fraction);
}

int SmallNumber(Line& line, std::string_view what) {
  const std::string text = line.Word(what);
  if (!IsInteger(text) || text.front() == '-' || text.size() > 6) {
    line.Fail("expected " + std::string(what) + ", found '" + text + "'");
  }
  return std::stoi(text);
}

DdlValue Literal(Line& line) {
  const Token token = line.Peek();
  if (token.kind == Token::Kind::String) {
    line.Next();
    return {DdlValue::Kind::String, token.text};
  }
  if (token.kind == Token::Kind::Word) {
    if (line.Accept("null")) return {DdlValue::Kind::Null, ""};
    if (line.Accept("now")) return {DdlValue::Kind::Now, ""};
    if (IsNumber(token.text)) {
      line.Next();
      return {DdlValue::Kind::Number, token.text};
    }
  }
  line.Fail("expected a number, a 'string', null or now, found " + line.Shown());
}

DdlColumnType ColumnType(Line& line) {
  const std::string word = Lower(line.Word("a column type"));
  static const std::vector<std::pair<std::string_view, DdlType>> types = {
      {"id", DdlType::Id},           {"name", DdlType::Name},
      {"text", DdlType::Text},       {"integer", DdlType::Integer},
      {"decimal", DdlType::Decimal}, {"timestamp", DdlType::Timestamp},
      {"flag", DdlType::Flag},       {"blob", DdlType::Blob},
      {"clob", DdlType::Clob}};
  const auto found = std::find_if(types.begin(), types.end(),
                                  [&](const auto& entry) { return entry.first == word; });
  if (found == types.end()) {
    line.Fail("unknown column type '" + word +
              "': use id, name(n), text(n), integer, decimal(p,s), timestamp, flag, blob or clob");
  }
  DdlColumnType type;
  type.kind = found->second;
  const bool sized = type.kind == DdlType::Name || type.kind == DdlType::Text;
  if (sized || type.kind == DdlType::Decimal) {
    line.ExpectSymbol("(");
    type.length = SmallNumber(line, sized ? "a length" : "a precision");
    if (type.kind == DdlType::Decimal && line.AcceptSymbol(",")) {
      type.scale = SmallNumber(line, "a scale");
    }
    line.ExpectSymbol(")");
  } else if ((type.kind == DdlType::Blob || type.kind == DdlType::Clob) && line.AcceptSymbol("(")) {
    type.lobSize = line.Word("a size such as 512K, 16M or 1G");
    line.ExpectSymbol(")");
  }
  return type;
}

DdlColumn Column(Line& line) {
  DdlColumn column;
  column.name = line.Word("a column name");
  column.type = ColumnType(line);
  column.notNull = column.type.kind == DdlType::Id;
  while (!line.AtEnd()) {
    if (line.Accept("not")) {
      line.Expect("null");
      column.notNull = true;
    } else if (line.Accept("default")) {
      if (column.defaultValue.kind != DdlValue::Kind::None) line.Fail("a second default");
      column.defaultValue = Literal(line);
    } else {
      line.Fail("expected 'not null' or 'default VALUE', found " + line.Shown());
    }
  }
  return column;
}

// "A, B" or "(A, B)".
std::vector<std::string> ColumnList(Line& line) {
  const bool parenthesised = line.AcceptSymbol("(");
  std::vector<std::string> columns;
  do {
    columns.push_back(line.Word("a column name"));
  } while (line.AcceptSymbol(","));
  if (parenthesised) line.ExpectSymbol(")");
  return columns;
}

DdlForeignKey ForeignKey(Line& line) {
  DdlForeignKey key;
  key.columns = ColumnList(line);
  line.Expect("references");
  key.table = line.Word("the referenced table");
  if (line.Accept("on")) {
    line.Expect("delete");
    if (line.Accept("cascade")) {
      key.onDelete = "CASCADE";
    } else {
      line.Expect("set");
      line.Expect("null");
      key.onDelete = "SET NULL";
    }
  }
  line.ExpectEnd();
  return key;
}

DdlIndex Index(Line& line, bool unique) {
  DdlIndex index;
  index.unique = unique;
  index.name = line.Word("an index name");
  line.Expect("on");
  index.table = line.Word("a table name");
  if (line.Peek().text != "(") line.Fail("expected the indexed columns in parentheses");
  index.columns = ColumnList(line);
  line.ExpectEnd();
  return index;
}

DdlView View(Line& line) {
  DdlView view;
  view.name = line.Word("a view name");
  line.Expect("on");
  view.table = line.Word("a table name");
  if (line.Peek().text != "(") line.Fail("expected the view's columns in parentheses");
  view.columns = ColumnList(line);
  if (line.Accept("where")) {
    DdlCondition condition;
    condition.column = line.Word("a column name");
    if (line.Accept("is")) {
      condition.op = line.Accept("not") ? "IS NOT NULL" : "IS NULL";
      line.Expect("null");
    } else {
      const Token op = line.Next();
      static const std::vector<std::string_view> operators = {"=", "<>", "<", ">", "<=", ">="};
      if (op.kind != Token::Kind::Symbol ||
          std::find(operators.begin(), operators.end(), op.text) == operators.end()) {
        line.Fail("expected a comparison (= <> < > <= >=) or 'is [not] null' after '" +
                  condition.column + "'");
      }
      condition.op = op.text;
      condition.value = Literal(line);
    }
    view.where = condition;
  }
  line.ExpectEnd();
  return view;
}

DdlSequence Sequence(Line& line) {
  DdlSequence sequence;
  sequence.name = line.Word("a sequence name");
  if (line.Accept("start")) sequence.start = SmallNumber(line, "a start value");
  line.ExpectEnd();
  return sequence;
}

DdlComment Comment(Line& line) {
  DdlComment comment;
  const std::string target = line.Word("TABLE or TABLE.COLUMN");
  const std::size_t dot = target.find('.');
  comment.table = target.substr(0, dot);
  if (dot != std::string::npos) comment.column = target.substr(dot + 1);
  comment.text = line.Rest("the comment's text");
  return comment;
}

DdlRow Row(Line& line) {
  DdlRow row;
  row.table = line.Word("a table name");
  while (!line.AtEnd()) {
    const std::string column = line.Word("COLUMN=VALUE");
    line.ExpectSymbol("=");
    row.values.emplace_back(column, Literal(line));
  }
  if (row.values.empty()) line.Fail("a row needs at least one COLUMN=VALUE");
  return row;
}

// Only what the installer recognises as client-only may sit in a file apart
// from the model's statements: anything else would be played in one dialect
// and not the other.
DdlClientCommand ClientCommand(Line& line) {
  DdlClientCommand command;
  const std::string role = Lower(line.Word("custo, insert or grant"));
  if (role == "custo") {
    command.role = DdlFileRole::Custo;
  } else if (role == "insert") {
    command.role = DdlFileRole::Insert;
  } else if (role == "grant") {
    command.role = DdlFileRole::Grant;
  } else {
    line.Fail("client commands belong to custo, insert or grant files, not '" + role +
              "': a base file starts with its first table");
  }
  const std::string place = Lower(line.Word("begin or end"));
  if (place != "begin" && place != "end") line.Fail("expected begin or end, found '" + place + "'");
  command.atEnd = place == "end";
  const std::string dialect = Lower(line.Word("db2 or oracle"));
  if (dialect != "db2" && dialect != "oracle") {
    line.Fail("expected db2 or oracle, found '" + dialect + "'");
  }
  command.dialect = dialect == "db2" ? DdlDialect::Db2 : DdlDialect::Oracle;
  command.text = line.Rest("the command");
  std::string first = command.text.substr(0, command.text.find_first_of(" \t;"));
  std::transform(first.begin(), first.end(), first.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  static const std::set<std::string> db2 = {"CONNECT", "TERMINATE"};
  static const std::set<std::string> oracle = {"SET",      "PROMPT", "SPOOL", "EXIT",
                                               "WHENEVER", "REM",    "REMARK"};
  if (!(command.dialect == DdlDialect::Db2 ? db2 : oracle).count(first)) {
    line.Fail("'" + first + "' is not a client-only command of " + dialect +
              " scripts: the installer would play it");
  }
  if (command.text.find(';') != std::string::npos) {
    line.Fail("write the client command without ';': the renderer ends it as the dialect wants");
  }
  return command;
}

// Builds a modeler line by line; a table stays open for its column and key
// lines until another directive comes.
class ModelReader {
 public:
  explicit ModelReader(const std::string& source) { modeler_.source = source; }

  void Read(Line& line) {
    const std::string keyword = Lower(line.Word("a directive"));
    if (modeler_.name.empty() && keyword != "modeler") {
      line.Fail("a model starts with 'modeler NAME'");
    }
    if (keyword == "column" || keyword == "primary" || keyword == "foreign" ||
        (keyword == "unique" && !line.PeekKeyword("index"))) {
      TableLine(keyword, line);
      return;
    }
    CloseTable();
    if (keyword == "modeler" || keyword == "prefix" || keyword == "owner" || keyword == "about") {
      Header(keyword, line);
      return;
    }
    started_ = true;
    if (keyword == "table") {
      table_ = DdlTable{};
      table_->name = line.Word("a table name");
      tableLine_ = line.Number();
      line.ExpectEnd();
    } else if (keyword == "custo") {
      const std::string what = Lower(line.Word("what the site customises"));
      if (what == "column") {
        DdlAddColumn added;
        added.table = line.Word("a table name");
        added.column = Column(line);
        modeler_.custo.push_back({added, line.Number()});
      } else {
        modeler_.custo.push_back({Statement(what, line), line.Number()});
      }
    } else if (keyword == "row") {
      modeler_.insert.push_back({Row(line), line.Number()});
    } else if (keyword == "client") {
      modeler_.clientCommands.push_back(ClientCommand(line));
    } else {
      modeler_.base.push_back({Statement(keyword, line), line.Number()});
    }
  }

  DdlModeler Finish() {
    CloseTable();
    if (modeler_.name.empty()) throw DdlModelError{1, "empty model: it starts with 'modeler NAME'"};
    return std::move(modeler_);
  }

 private:
  DdlStatement Statement(const std::string& keyword, Line& line) {
    if (keyword == "index") return Index(line, false);
    if (keyword == "unique") {
      line.Expect("index");
      return Index(line, true);
    }
    if (keyword == "view") return View(line);
    if (keyword == "sequence") return Sequence(line);
    if (keyword == "comment") return Comment(line);
    line.Fail("unknown directive '" + keyword + "'");
  }

  void Header(const std::string& keyword, Line& line) {
    if (started_) line.Fail("'" + keyword + "' belongs before the first table");
    if (keyword == "modeler") {
      if (!modeler_.name.empty()) line.Fail("a second 'modeler' line");
      modeler_.name = line.Word("the modeler's name");
      modeler_.nameLine = line.Number();
    } else if (keyword == "prefix") {
      modeler_.prefix = line.Word("the prefix of the modeler's object names");
      modeler_.prefixLine = line.Number();
    } else if (keyword == "owner") {
      const std::string owner = Lower(line.Word("dictionary or vault"));
      if (owner != "dictionary" && owner != "vault") {
        line.Fail("expected dictionary or vault, found '" + owner + "'");
      }
      modeler_.vaultOwner = owner == "vault";
    } else {
      modeler_.about = line.Rest("a sentence on the modeler");
      return;
    }
    line.ExpectEnd();
  }

  void TableLine(const std::string& keyword, Line& line) {
    if (!table_) {
      line.Fail("'" + keyword + "' outside a table: open one with 'table NAME' first");
    }
    if (keyword == "column") {
      table_->columns.push_back(Column(line));
    } else if (keyword == "primary") {
      line.Expect("key");
      if (!table_->primaryKey.empty()) line.Fail("a second primary key");
      table_->primaryKey = ColumnList(line);
      line.ExpectEnd();
    } else if (keyword == "unique") {
      table_->uniques.push_back(ColumnList(line));
      line.ExpectEnd();
    } else {
      line.Expect("key");
      table_->foreignKeys.push_back(ForeignKey(line));
    }
  }

  void CloseTable() {
    if (!table_) return;
    modeler_.base.push_back({std::move(*table_), tableLine_});
    table_.reset();
  }

  DdlModeler modeler_;
  std::optional<DdlTable> table_;
  int tableLine_ = 0;
  bool started_ = false;
};

}  // namespace

DdlModeler ParseDdlModel(std::string_view text, const std::string& source) {
  ModelReader reader(source);
  int number = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view content = Trim(text.substr(start, end - start));
    ++number;
    start = end + 1;
    if (content.empty() || content.front() == '#') continue;
    Line line(content, number);
    reader.Read(line);
  }
  return reader.Finish();
}
