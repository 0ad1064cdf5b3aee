// sbx_fits(): the column type checks of a sandbox table in one call.
#include "SandboxColumnChecks.h"

#include <cstdlib>
#include <string_view>

#include "SandboxSql.h"

namespace qelsandbox {

namespace {

constexpr char Separator = '\x1f';

// What SQLite's length() gives: bytes of a blob, characters of anything
// else as text.
long long Length(sqlite3_value* value) {
  if (sqlite3_value_type(value) == SQLITE_BLOB) return sqlite3_value_bytes(value);
  const unsigned char* text = sqlite3_value_text(value);
  long long characters = 0;
  for (; text && *text; ++text) {
    if ((*text & 0xC0) != 0x80) ++characters;
  }
  return characters;
}

// sbx_fits(types, value...): the types have one entry per value.
void Fits(sqlite3_context* context, int count, sqlite3_value** values) {
  const unsigned char* types = sqlite3_value_text(values[0]);
  std::string_view rest(types ? reinterpret_cast<const char*>(types) : "");
  for (int i = 1; i < count; ++i) {
    const std::size_t end = rest.find(Separator);
    const std::string_view entry = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    const int type = sqlite3_value_type(values[i]);
    const std::size_t colon = entry.find(':');
    if (type == SQLITE_NULL || colon == std::string_view::npos) continue;
    const bool number = entry.front() == 'N';
    const bool fits =
        number ? type == SQLITE_INTEGER || type == SQLITE_FLOAT
               : Length(values[i]) <= std::atoll(std::string(entry.substr(1, colon - 1)).c_str());
    if (fits) continue;
    const std::string message = std::string("CHECK constraint failed: ") +
                                (number ? "num:" : "len:") + std::string(entry.substr(colon + 1));
    sqlite3_result_error(context, message.c_str(), -1);
    sqlite3_result_error_code(context, SQLITE_CONSTRAINT_CHECK);
    return;
  }
  sqlite3_result_int(context, 1);
}

}  // namespace

void RegisterColumnChecks(sqlite3* db) {
  sqlite3_create_function_v2(db, "sbx_fits", -1,
                             SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr, Fits,
                             nullptr, nullptr, nullptr);
}

void ColumnChecks::AddLength(const std::string& column, long long length) {
  Add("L" + std::to_string(length) + ":" + column, column);
}

void ColumnChecks::AddNumber(const std::string& column) {
  Add("N:" + column, column);
}

void ColumnChecks::Add(const std::string& entry, const std::string& column) {
  spec_ += (inCall_ ? std::string(1, Separator) : "") + entry;
  arguments_ += ", " + QuoteIdentifier(column);
  if (++inCall_ == ColumnsPerCall) EndCall();
}

void ColumnChecks::EndCall() {
  if (inCall_ == 0) return;
  clauses_ += ", CHECK (sbx_fits(" + QuoteString(spec_) + arguments_ + "))";
  spec_.clear();
  arguments_.clear();
  inCall_ = 0;
}

std::string ColumnChecks::Clauses() {
  EndCall();
  return clauses_;
}

}  // namespace qelsandbox
