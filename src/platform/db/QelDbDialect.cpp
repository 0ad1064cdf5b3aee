// The naming rules of DB2 and Oracle, and the one place where quotes are
// put around a value or doubled inside it.
#include "QelDbDialect.h"

#include <algorithm>
#include <cstdio>

#include "QelDb.h"
#include "QelDbStatements.h"

namespace {

bool IsControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7f;
}

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}

bool StartsWithUpper(std::string_view text, std::string_view prefix) {
  if (prefix.empty() || text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    const char c = text[i] >= 'a' && text[i] <= 'z' ? static_cast<char>(text[i] - 32) : text[i];
    if (c != prefix[i]) return false;
  }
  return true;
}

}  // namespace

const QelDbDialect& QelDbDialect::For(int dbms) {
  static const QelDbDialect db2 = QelDbDB2Rules.Dialect();
  static const QelDbDialect oracle = QelDbOracleRules.Dialect();
  return dbms == QelDbDB2 ? db2 : oracle;
}

const char* QelDbName(int dbms) {
  return dbms == QelDbDB2 ? QelDbDB2Rules.name : QelDbOracleRules.name;
}

std::size_t QelDbDialect::MaxUserName() const {
  return rules_.maxUserName;
}
std::size_t QelDbDialect::MaxTablespaceName() const {
  return rules_.maxTablespaceName;
}
std::string_view QelDbDialect::NameCharacters() const {
  return rules_.nameCharacters;
}
std::string_view QelDbDialect::ReservedPrefix() const {
  return rules_.reservedPrefix;
}

std::string QelDbDialect::UsersQuery() const {
  return rules_.usersQuery;
}
std::string QelDbDialect::TablespacesQuery() const {
  return rules_.tablespacesQuery;
}
std::string QelDbDialect::FreeSpaceQuery() const {
  return rules_.freeSpaceQuery;
}
std::string QelDbDialect::DataFilesQuery() const {
  return rules_.dataFilesQuery;
}

std::string QelDbDialect::TableExistsQuery(std::string_view schema, std::string_view table) const {
  const std::string format = rules_.tableExistsQuery;
  const std::size_t first = format.find("%s");
  const std::size_t second = format.find("%s", first + 2);
  return format.substr(0, first) + QelQuoted(schema, '\'') +
         format.substr(first + 2, second - first - 2) + QelQuoted(table, '\'') +
         format.substr(second + 2);
}

std::string QelDbDialect::PrivilegesQuery(std::string_view user) const {
  const std::string format = rules_.privilegesQuery;
  const std::size_t at = format.find("%s");
  return format.substr(0, at) + QelQuoted(user, '\'') + format.substr(at + 2);
}

std::string_view QelDbDialect::NeededPrivilege() const {
  return rules_.neededPrivilege;
}

QelDbCondition QelDbDialect::Classify(int code) const {
  for (std::size_t i = 0; i < rules_.codeCount; ++i) {
    if (rules_.codes[i].code == code) return rules_.codes[i].condition;
  }
  return QelDbCondition::Other;
}

QelDbCondition QelDbDialect::ClassifyMessage(std::string_view message) const {
  if (message.substr(0, rules_.codePrefix.size()) != rules_.codePrefix)
    return QelDbCondition::Other;
  int number = 0;
  std::size_t i = rules_.codePrefix.size();
  for (; i < message.size() && IsAsciiDigit(message[i]); ++i)
    number = number * 10 + (message[i] - '0');
  if (i == rules_.codePrefix.size()) return QelDbCondition::Other;
  return Classify(-number);
}

QelDbRefusal QelDbDialect::CheckName(std::string_view name, std::size_t maxLength) const {
  if (name.empty()) return QelDbRefusal::Empty;
  for (const char c : name) {
    if (IsControl(c)) return QelDbRefusal::ControlCharacter;
  }
  if (!IsAsciiLetter(name.front())) return QelDbRefusal::FirstCharacter;
  for (const char c : name) {
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c) &&
        rules_.nameCharacters.find(c) == std::string_view::npos) {
      return QelDbRefusal::Character;
    }
  }
  if (name.size() > maxLength) return QelDbRefusal::TooLong;
  return QelDbRefusal::None;
}

QelDbRefusal QelDbDialect::CheckUserName(std::string_view name) const {
  return CheckName(name, rules_.maxUserName);
}

QelDbRefusal QelDbDialect::CheckTablespaceName(std::string_view name) const {
  const QelDbRefusal refusal = CheckName(name, rules_.maxTablespaceName);
  if (refusal != QelDbRefusal::None) return refusal;
  return StartsWithUpper(name, rules_.reservedPrefix) ? QelDbRefusal::Reserved : QelDbRefusal::None;
}

QelDbRefusal QelDbDialect::CheckPassword(std::string_view password) const {
  if (password.empty()) return QelDbRefusal::Empty;
  for (const char c : password) {
    if (IsControl(c)) return QelDbRefusal::ControlCharacter;
    if (c == '"' && !rules_.doublesQuotes) return QelDbRefusal::DoubleQuote;
  }
  return QelDbRefusal::None;
}

QelDbRefusal QelDbDialect::CheckLiteral(std::string_view text) const {
  for (const char c : text) {
    if (IsControl(c)) return QelDbRefusal::ControlCharacter;
  }
  return QelDbRefusal::None;
}

std::optional<std::string> QelDbDialect::OrdinaryName(std::string_view name) const {
  if (CheckName(name, std::max(rules_.maxUserName, rules_.maxTablespaceName)) !=
      QelDbRefusal::None) {
    return std::nullopt;
  }
  return std::string(name);
}

std::optional<std::string> QelDbDialect::DelimitedName(std::string_view name) const {
  if (name.empty()) return std::nullopt;
  for (const char c : name) {
    if (IsControl(c) || (c == '"' && !rules_.doublesQuotes)) return std::nullopt;
  }
  return QelQuoted(name, '"');
}

std::optional<std::string> QelDbDialect::Password(std::string_view password) const {
  if (CheckPassword(password) != QelDbRefusal::None) return std::nullopt;
  return QelQuoted(password, '"');
}

std::optional<std::string> QelDbDialect::Literal(std::string_view text) const {
  if (CheckLiteral(text) != QelDbRefusal::None) return std::nullopt;
  return QelQuoted(text, '\'');
}

namespace {

// "[vendor][driver]text" as the driver managers and drivers prefix it.
std::string WithoutTags(std::string text) {
  while (!text.empty() && text.front() == '[') {
    const std::size_t closing = text.find(']');
    if (closing == std::string::npos) break;
    text.erase(0, closing + 1);
    while (!text.empty() && text.front() == ' ') text.erase(0, 1);
  }
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

bool StartsWithCode(const std::string& text, std::string_view prefix) {
  if (text.compare(0, prefix.size(), prefix) != 0) return false;
  return text.size() > prefix.size() && IsAsciiDigit(text[prefix.size()]);
}

}  // namespace

QelDbError QelDbDialect::Error(const QelDbDiagnostic& diagnostic) const {
  std::string text = WithoutTags(diagnostic.text);
  const int number = diagnostic.native < 0 ? -diagnostic.native : diagnostic.native;
  if (number == 0) {
    // The driver manager's own errors carry no DBMS code: the SQLSTATE says
    // what happened.
    return {-1, diagnostic.sqlstate + ": " + text, diagnostic.sqlstate};
  }
  char code[32];
  if (rules_.dbms == QelDbDB2) {
    if (!StartsWithCode(text, "SQL")) {
      std::snprintf(code, sizeof code, "SQL%04dN  ", number);
      text = code + text + "  SQLSTATE=" + diagnostic.sqlstate;
    }
  } else if (!StartsWithCode(text, "ORA-")) {
    std::snprintf(code, sizeof code, "ORA-%05d: ", number);
    text = code + text;
  }
  return {-number, text, diagnostic.sqlstate};
}
