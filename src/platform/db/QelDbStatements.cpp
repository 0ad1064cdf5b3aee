// Statements by position for the DDL player and its rollback, and the
// placeholder filter between a DDL file and the DBMS.
#include "QelDbStatements.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "platform/QelUtf8Cut.h"

namespace {

int LengthOf(const QelUnicodeString& text) {
  return static_cast<int>(std::min<std::size_t>(text.Length(), INT_MAX));
}

int NothingToPlay(int& type, int& length, QelUnicodeString& text, int result) {
  type = QelSqlType::ClientCommand;
  length = 0;
  text = QelUnicodeString();
  return result;
}

const QelZepSQLOrder* OrderAt(int position, const QelZepDDLFile* file) {
  if (file == nullptr || position < 1 || position > file->GetSQLOrderColl().Size()) {
    return nullptr;
  }
  return file->GetSQLOrderColl()(position);
}

bool IsPlaceholderCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

void CopyIntoBuffer(std::string_view text, char (&buffer)[QelStatementBufferSize]) {
  const std::size_t count = QelUtf8CutLength(text, QelStatementBufferSize - 1);
  std::memcpy(buffer, text.data(), count);
  buffer[count] = '\0';
}

// What a placeholder stands for. Account and schema names go in upper case,
// as the DBMS folds undelimited names.
struct PlaceholderValue {
  std::string_view text;
  bool upper;
};

void AppendUpper(std::string& out, std::string_view text) {
  for (const char c : text) out += QelAsciiUpper(c);
}

}  // namespace

int GetSQLStatement(int& type, int& length, QelUnicodeString& text, int position,
                    const QelZepDDLFile* file) {
  const QelZepSQLOrder* order = OrderAt(position, file);
  if (order == nullptr) return NothingToPlay(type, length, text, -1);
  type = order->GetType();
  text = order->GetText();
  length = LengthOf(text);
  return 0;
}

int GetDROPSQLStatement(int& type, int& length, QelUnicodeString& text, int position,
                        const QelZepDDLFile* file) {
  if (file != nullptr && position == 0) return NothingToPlay(type, length, text, 0);
  const QelZepSQLOrder* order = OrderAt(position, file);
  if (order == nullptr) return NothingToPlay(type, length, text, -1);
  type = order->GetDropType();
  text = order->GetDropText();
  length = LengthOf(text);
  return 0;
}

// The placeholders mean the same in both dialects, and the engine passes the
// schema owner twice with the same value, so neither the DBMS nor the second
// owner changes the result. Each value is written straight into the result:
// the filter runs for every statement and every derived drop.
int FilterSQLStatement([[maybe_unused]] int dbms, const QelUnicodeString& account,
                       const QelUnicodeString& schemaOwner,
                       [[maybe_unused]] const QelUnicodeString& schemaOwner2,
                       const QelUnicodeString& tablespace, const QelUnicodeString& blobTablespace,
                       int type, const QelUnicodeString& text, int& length,
                       QelUnicodeString& filtered, int& decision,
                       char (&buffer)[QelStatementBufferSize]) {
  const auto valueOf = [&](std::string_view name) -> std::optional<PlaceholderValue> {
    if (name == "SCHEMA") return PlaceholderValue{schemaOwner.str(), true};
    if (name == "ACCOUNT") return PlaceholderValue{account.str(), true};
    if (name == "TABLESPACE") return PlaceholderValue{tablespace.str(), false};
    if (name == "BLOB_TABLESPACE") return PlaceholderValue{blobTablespace.str(), false};
    return std::nullopt;
  };

  const std::string_view source = text.str();
  std::string result;
  result.reserve(source.size());
  std::size_t copied = 0;
  std::size_t open = source.find("$(");
  while (open != std::string_view::npos) {
    // Names are bare identifiers: scanning only those keeps the filter
    // linear even on a text full of "$(" that never close.
    std::size_t close = open + 2;
    while (close < source.size() && IsPlaceholderCharacter(source[close])) ++close;
    std::optional<PlaceholderValue> value;
    if (close < source.size() && source[close] == ')') {
      value = valueOf(source.substr(open + 2, close - open - 2));
    }
    if (value) {
      result.append(source.substr(copied, open - copied));
      if (value->upper) {
        AppendUpper(result, value->text);
      } else {
        result.append(value->text);
      }
      copied = close + 1;
    }
    open = source.find("$(", value ? copied : open + 2);
  }
  result.append(source.substr(copied));

  CopyIntoBuffer(result, buffer);
  filtered = std::move(result);
  length = LengthOf(filtered);
  const bool skipped = type == QelSqlType::ClientCommand || filtered.Length() == 0;
  decision = skipped ? -1 : 1;
  return skipped ? QelFilterSkipped : 0;
}

std::string QelQuoted(std::string_view text, char quote) {
  std::string quoted(1, quote);
  for (const char c : text) {
    quoted += c;
    if (c == quote) quoted += quote;
  }
  return quoted + quote;
}
