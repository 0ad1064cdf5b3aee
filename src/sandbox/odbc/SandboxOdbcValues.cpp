// Conversions of result values to the application's C types.
#include "SandboxOdbcValues.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "SandboxOdbcText.h"

namespace sbodbc {

namespace {

Transfer WriteChars(const std::string& text, SQLPOINTER target, SQLLEN capacity, SQLLEN* indicator,
                    std::size_t& offset) {
  const std::size_t start = offset < text.size() ? offset : text.size();
  const std::size_t remaining = text.size() - start;
  if (indicator) *indicator = static_cast<SQLLEN>(remaining);
  if (!target || capacity <= 0) return remaining > 0 ? Transfer::Truncated : Transfer::Complete;
  const std::size_t room = static_cast<std::size_t>(capacity) - 1;
  const std::size_t copied = remaining < room ? remaining : room;
  std::memcpy(target, text.data() + start, copied);
  static_cast<char*>(target)[copied] = '\0';
  offset = start + copied;
  return copied < remaining ? Transfer::Truncated : Transfer::Complete;
}

Transfer WriteWide(const std::string& text, SQLPOINTER target, SQLLEN capacity, SQLLEN* indicator,
                   std::size_t& offset) {
  const std::u16string wide = Utf16(text);
  const std::size_t start = offset < wide.size() ? offset : wide.size();
  const std::size_t remaining = wide.size() - start;
  if (indicator) *indicator = static_cast<SQLLEN>(remaining * sizeof(SQLWCHAR));
  const std::size_t room = capacity > 0 ? static_cast<std::size_t>(capacity) / sizeof(SQLWCHAR) : 0;
  if (!target || room == 0) return remaining > 0 ? Transfer::Truncated : Transfer::Complete;
  std::size_t copied = remaining < room - 1 ? remaining : room - 1;
  // A surrogate pair is never split between two calls.
  if (copied < remaining && copied > 0 && wide[start + copied - 1] >= 0xD800 &&
      wide[start + copied - 1] < 0xDC00) {
    --copied;
  }
  auto* out = static_cast<SQLWCHAR*>(target);
  for (std::size_t i = 0; i < copied; ++i) out[i] = static_cast<SQLWCHAR>(wide[start + i]);
  out[copied] = 0;
  offset = start + copied;
  return copied < remaining ? Transfer::Truncated : Transfer::Complete;
}

template <class Integer>
Transfer WriteInteger(const std::string& text, SQLPOINTER target, SQLLEN* indicator) {
  errno = 0;
  char* end = nullptr;
  const long long number = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno == ERANGE ||
      number < static_cast<long long>(std::numeric_limits<Integer>::min()) ||
      number > static_cast<long long>(std::numeric_limits<Integer>::max())) {
    return Transfer::BadValue;
  }
  if (target) *static_cast<Integer*>(target) = static_cast<Integer>(number);
  if (indicator) *indicator = sizeof(Integer);
  return Transfer::Complete;
}

Transfer WriteDouble(const std::string& text, SQLPOINTER target, SQLLEN* indicator) {
  char* end = nullptr;
  const double number = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0') return Transfer::BadValue;
  if (target) *static_cast<double*>(target) = number;
  if (indicator) *indicator = sizeof(double);
  return Transfer::Complete;
}

}  // namespace

Transfer WriteValue(const std::optional<std::string>& value, SQLSMALLINT type, SQLPOINTER target,
                    SQLLEN capacity, SQLLEN* indicator, std::size_t& offset) {
  if (!value) {
    if (!indicator) return Transfer::NoIndicator;
    *indicator = SQL_NULL_DATA;
    return Transfer::Complete;
  }
  switch (type) {
    case SQL_C_CHAR:
    case SQL_C_DEFAULT:
      return WriteChars(*value, target, capacity, indicator, offset);
    case SQL_C_WCHAR:
      return WriteWide(*value, target, capacity, indicator, offset);
    case SQL_C_SLONG:
    case SQL_C_LONG:
      return WriteInteger<SQLINTEGER>(*value, target, indicator);
    case SQL_C_SSHORT:
    case SQL_C_SHORT:
      return WriteInteger<SQLSMALLINT>(*value, target, indicator);
    case SQL_C_SBIGINT:
      return WriteInteger<SQLBIGINT>(*value, target, indicator);
    case SQL_C_DOUBLE:
      return WriteDouble(*value, target, indicator);
    default:
      return Transfer::BadType;
  }
}

}  // namespace sbodbc
