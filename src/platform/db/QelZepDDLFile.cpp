// Splits a DDL file into statements in one pass over its bytes, classifies
// each one and derives the drop that undoes it.
#include "QelZepDDLFile.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace {

// NUL counts as a blank: a statement reaches the DBMS as a C string, and an
// embedded NUL would silently cut it there.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\0';
}

bool IsWordCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$' || c == '#';
}

// The bytes where ScanCode has something to decide: quotes and comments.
constexpr std::array<unsigned char, 3> TokenStartBytes = {'\'', '"', '-'};
constexpr std::array<bool, 256> TokenStarts = [] {
  std::array<bool, 256> starts{};
  for (const unsigned char c : TokenStartBytes) starts[c] = true;
  return starts;
}();

bool StartsToken(char c) {
  return TokenStarts[static_cast<unsigned char>(c)];
}

// Plain code is skipped eight bytes at a time while none of them is a
// token start (the word-at-a-time test for a byte equal to each one; it
// never misses one), then a byte at a time up to the token.
std::size_t SkipPlainCode(std::string_view line, std::size_t i) {
  constexpr std::uint64_t Ones = 0x0101010101010101ULL;
  constexpr std::uint64_t Highs = 0x8080808080808080ULL;
  const auto holds = [](std::uint64_t word, unsigned char c) {
    const std::uint64_t differences = word ^ (Ones * c);
    return (differences - Ones) & ~differences & Highs;
  };
  static_assert(TokenStartBytes.size() == 3);
  while (line.size() - i >= sizeof(std::uint64_t)) {
    std::uint64_t word = 0;
    std::memcpy(&word, line.data() + i, sizeof word);
    if ((holds(word, TokenStartBytes[0]) | holds(word, TokenStartBytes[1]) |
         holds(word, TokenStartBytes[2])) != 0) {
      break;
    }
    i += sizeof word;
  }
  while (i < line.size() && !StartsToken(line[i])) ++i;
  return i;
}

std::string_view TrimLeading(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size() && IsBlank(text[begin])) ++begin;
  return text.substr(begin);
}

std::string_view TrimTrailing(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  return text.substr(0, end);
}

// Reads the leading keywords of a statement in place. Every look-up is
// bounded by the keyword's length, so classifying a huge statement costs
// no more than classifying a short one (apart from its object name).
class WordReader {
 public:
  explicit WordReader(std::string_view text) : text_(text) {}

  // Consumes the next word when it is the (upper-case) keyword.
  bool Accept(std::string_view keyword) {
    SkipBlanks();
    if (text_.size() - position_ < keyword.size()) return false;
    for (std::size_t i = 0; i < keyword.size(); ++i) {
      if (QelAsciiUpper(text_[position_ + i]) != keyword[i]) return false;
    }
    const std::size_t end = position_ + keyword.size();
    if (end < text_.size() && IsWordCharacter(text_[end])) return false;
    position_ = end;
    return true;
  }

  // The object name exactly as written: quoted parts may hold anything, and
  // a placeholder's parenthesis must not end the name the way a column
  // list's does.
  std::string_view Name() {
    SkipBlanks();
    const std::size_t begin = position_;
    while (position_ < text_.size()) {
      const char c = text_[position_];
      if (c == '"') {
        const std::size_t closing = text_.find('"', position_ + 1);
        position_ = closing == std::string_view::npos ? text_.size() : closing + 1;
      } else if (c == '$' && position_ + 1 < text_.size() && text_[position_ + 1] == '(') {
        std::size_t end = position_ + 2;
        while (end < text_.size() && IsWordCharacter(text_[end])) ++end;
        position_ = (end < text_.size() && text_[end] == ')') ? end + 1 : position_ + 1;
      } else if (IsBlank(c) || c == '(' || c == ';' || c == ',') {
        break;
      } else {
        ++position_;
      }
    }
    return text_.substr(begin, position_ - begin);
  }

 private:
  void SkipBlanks() {
    while (position_ < text_.size() && IsBlank(text_[position_])) ++position_;
  }

  std::string_view text_;
  std::size_t position_ = 0;
};

// What the first words of a statement tell: its type and, for creations
// that can be undone, the object kind and name for the drop.
struct Head {
  int type = QelSqlType::Other;
  std::string_view dropKind;
  bool publicSynonym = false;
  std::string_view name;
};

Head Plain(int type) {
  return {type, {}, false, {}};
}

bool IsClientCommand(WordReader& words, QelDDLDialect dialect) {
  // SQL*Plus commands only: in a DB2 script SET is real SQL (SET SCHEMA).
  static constexpr std::array<std::string_view, 7> sqlPlusCommands = {
      "SET", "PROMPT", "SPOOL", "EXIT", "WHENEVER", "REM", "REMARK"};
  if (words.Accept("CONNECT")) return true;
  if (dialect == QelDDLDialect::Db2CommandLine) return words.Accept("TERMINATE");
  return std::any_of(sqlPlusCommands.begin(), sqlPlusCommands.end(),
                     [&words](std::string_view command) { return words.Accept(command); });
}

Head ReadCreate(WordReader& words) {
  if (words.Accept("OR") && !words.Accept("REPLACE")) return {};
  if (words.Accept("TABLE")) return {QelSqlType::CreateTable, "TABLE", false, words.Name()};
  if (words.Accept("VIEW")) return {QelSqlType::CreateView, "VIEW", false, words.Name()};
  if (words.Accept("UNIQUE") || words.Accept("BITMAP")) {
    if (!words.Accept("INDEX")) return {};
    return {QelSqlType::CreateIndex, "INDEX", false, words.Name()};
  }
  if (words.Accept("INDEX")) return {QelSqlType::CreateIndex, "INDEX", false, words.Name()};
  if (words.Accept("SEQUENCE"))
    return {QelSqlType::CreateSequence, "SEQUENCE", false, words.Name()};
  if (words.Accept("TRIGGER")) return {QelSqlType::ProceduralBlock, "TRIGGER", false, words.Name()};
  if (words.Accept("PROCEDURE") || words.Accept("FUNCTION") || words.Accept("PACKAGE") ||
      words.Accept("TYPE")) {
    return Plain(QelSqlType::ProceduralBlock);
  }
  const bool publicSynonym = words.Accept("PUBLIC");
  if (words.Accept("SYNONYM")) {
    return {QelSqlType::CreateSynonym, "SYNONYM", publicSynonym, words.Name()};
  }
  return {};
}

Head ReadHead(std::string_view text, QelDDLDialect dialect) {
  WordReader words(text);
  if (IsClientCommand(words, dialect)) return Plain(QelSqlType::ClientCommand);
  if (words.Accept("CREATE")) return ReadCreate(words);
  if (words.Accept("INSERT") || words.Accept("UPDATE") || words.Accept("DELETE")) {
    return Plain(QelSqlType::DataChange);
  }
  if (words.Accept("GRANT") || words.Accept("REVOKE")) return Plain(QelSqlType::GrantOrRevoke);
  if (words.Accept("COMMENT") && words.Accept("ON")) return Plain(QelSqlType::CommentOn);
  if (words.Accept("ALTER") && words.Accept("TABLE")) return Plain(QelSqlType::AlterTable);
  if (words.Accept("DECLARE") || words.Accept("BEGIN")) return Plain(QelSqlType::ProceduralBlock);
  return {};
}

std::unique_ptr<QelZepSQLOrder> MakeOrder(std::string_view text, QelDDLDialect dialect, int line) {
  const Head head = ReadHead(text, dialect);
  if (head.dropKind.empty() || head.name.empty()) {
    return std::make_unique<QelZepSQLOrder>(head.type, text, QelSqlType::ClientCommand,
                                            QelUnicodeString(), line);
  }
  std::string drop;
  // "DROP PUBLIC SYNONYM " or " CASCADE CONSTRAINTS" at most around the name.
  drop.reserve(head.name.size() + 32);
  drop = "DROP ";
  if (head.publicSynonym) drop += "PUBLIC ";
  drop.append(head.dropKind).append(" ").append(head.name);
  // Oracle refuses to drop a table that other tables still reference.
  if (dialect == QelDDLDialect::OracleScript && head.type == QelSqlType::CreateTable) {
    drop += " CASCADE CONSTRAINTS";
  }
  return std::make_unique<QelZepSQLOrder>(head.type, text, QelSqlType::Drop, std::move(drop), line);
}

enum class Quote { None, Single, Double };

// Fed one line at a time; a statement is collected in one reused buffer so
// the cost is one copy of each byte, whatever the line or statement length.
class StatementSplitter {
 public:
  StatementSplitter(QelDDLDialect dialect, QelListPtr<QelZepSQLOrder>& orders)
      : oracle_(dialect == QelDDLDialect::OracleScript), dialect_(dialect), orders_(orders) {}

  void Line(std::string_view line, int number) {
    const Quote startQuote = quote_;
    std::string_view code = line.substr(0, ScanCode(line));
    const bool endsOutsideString = quote_ == Quote::None;
    if (endsOutsideString) code = TrimTrailing(code);
    if (statement_.empty()) {
      code = TrimLeading(code);
      // A lone "/" with nothing pending asks SQL*Plus to run the previous
      // statement again: that must not play it twice.
      if (code.empty() || (oracle_ && code == "/")) return;
      startLine_ = number;
      if (oracle_ && IsSqlPlusLine(code)) {
        // SQL*Plus commands end with their line, terminator or not, and
        // their free text (PROMPT Don't ...) opens no string.
        quote_ = Quote::None;
        code = TrimTrailing(code);
        if (code.back() == ';') code.remove_suffix(1);
        Append(code);
        Emit();
        return;
      }
      Append(code);
    } else {
      const bool outsideString = startQuote == Quote::None && endsOutsideString;
      if (outsideString && oracle_ && TrimLeading(code) == "/") {
        Emit();
        return;
      }
      // Comment-only and blank lines vanish, except inside a string literal.
      if (outsideString && TrimLeading(code).empty()) return;
      statement_ += '\n';
      Append(code);
    }
    if (endsOutsideString && !code.empty() && code.back() == ';' && !InsideBlock()) {
      statement_.pop_back();
      Emit();
    }
  }

  // An unterminated last statement is kept: dropping it silently would
  // install a schema short of its last object.
  void Finish() { Emit(); }

 private:
  // Returns where the line's code ends (a comment's start or the line's end)
  // and carries the quote state over to the next line.
  std::size_t ScanCode(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size()) {
      if (quote_ != Quote::None) {
        const char closing = quote_ == Quote::Single ? '\'' : '"';
        const void* found = std::memchr(line.data() + i, closing, line.size() - i);
        if (found == nullptr) return line.size();
        i = static_cast<std::size_t>(static_cast<const char*>(found) - line.data()) + 1;
        quote_ = Quote::None;
        continue;
      }
      i = SkipPlainCode(line, i);
      if (i == line.size()) break;
      const char c = line[i];
      if (c == '\'') {
        quote_ = Quote::Single;
      } else if (c == '"') {
        quote_ = Quote::Double;
      } else if (c == '-' && i + 1 < line.size() && line[i + 1] == '-') {
        return i;
      }
      ++i;
    }
    return line.size();
  }

  bool IsSqlPlusLine(std::string_view code) const {
    WordReader words(code);
    return IsClientCommand(words, dialect_);
  }

  void Append(std::string_view code) {
    const std::size_t from = statement_.size();
    statement_.append(code);
    if (std::memchr(code.data(), '\0', code.size()) == nullptr) return;
    std::replace(statement_.begin() + static_cast<std::ptrdiff_t>(from), statement_.end(), '\0',
                 ' ');
  }

  // Decided once per statement, at its first line-ending ';', when its
  // leading keywords are all in the buffer.
  bool InsideBlock() {
    if (!oracle_) return false;
    if (!blockKnown_) {
      block_ = ReadHead(statement_, dialect_).type == QelSqlType::ProceduralBlock;
      blockKnown_ = true;
    }
    return block_;
  }

  void Emit() {
    const std::string_view text = TrimTrailing(TrimLeading(statement_));
    if (!text.empty()) orders_.Append(MakeOrder(text, dialect_, startLine_));
    statement_.clear();
    blockKnown_ = false;
  }

  const bool oracle_;
  const QelDDLDialect dialect_;
  QelListPtr<QelZepSQLOrder>& orders_;
  std::string statement_;
  Quote quote_ = Quote::None;
  int startLine_ = 0;
  bool blockKnown_ = false;
  bool block_ = false;
};

}  // namespace

QelZepDDLFile::QelZepDDLFile(const char* content, std::size_t size, const QelUnicodeString& path)
    : path_(path), dialect_(DialectOf(path)) {
  Parse(content == nullptr ? std::string_view() : std::string_view(content, size));
}

QelDDLDialect QelZepDDLFile::DialectOf(const QelUnicodeString& path) {
  const std::string& name = path.str();
  static constexpr std::string_view db2Extension = ".CLP";
  if (name.size() < db2Extension.size()) return QelDDLDialect::OracleScript;
  const std::string_view extension =
      std::string_view(name).substr(name.size() - db2Extension.size());
  const bool db2 = std::equal(extension.begin(), extension.end(), db2Extension.begin(),
                              [](char c, char upper) { return QelAsciiUpper(c) == upper; });
  return db2 ? QelDDLDialect::Db2CommandLine : QelDDLDialect::OracleScript;
}

void QelZepDDLFile::Parse(std::string_view content) {
  StatementSplitter splitter(dialect_, orders_);
  int number = 0;
  std::size_t begin = 0;
  while (begin < content.size()) {
    const void* newline = std::memchr(content.data() + begin, '\n', content.size() - begin);
    const std::size_t end =
        newline == nullptr
            ? content.size()
            : static_cast<std::size_t>(static_cast<const char*>(newline) - content.data());
    // Line numbers only label messages: past INT_MAX lines they stop counting.
    if (number < INT_MAX) ++number;
    splitter.Line(content.substr(begin, end - begin), number);
    begin = end + 1;
  }
  splitter.Finish();
}
