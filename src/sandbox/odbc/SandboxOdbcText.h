// Text across the ODBC boundary: input lengths that may be SQL_NTS, output
// buffers that may be too small (the full length is told, the text cut and
// NUL-terminated), and UTF-16 for the wide C type.
#pragma once

#include <sql.h>

#include <cstring>
#include <string>

namespace sbodbc {

// The text of an input argument of length bytes, or up to its NUL for
// SQL_NTS; empty for a null pointer.
std::string InputText(const SQLCHAR* text, SQLINTEGER length);

// Copies text into buffer of capacity bytes, NUL-terminated and cut when it
// does not fit; *length (when given) gets the full length. True when cut.
template <class Length>
bool CopyOut(const std::string& text, SQLPOINTER buffer, SQLLEN capacity, Length* length) {
  if (length) *length = static_cast<Length>(text.size());
  if (!buffer || capacity <= 0) return !text.empty();
  const std::size_t room = static_cast<std::size_t>(capacity) - 1;
  const std::size_t copied = text.size() < room ? text.size() : room;
  std::memcpy(buffer, text.data(), copied);
  static_cast<char*>(buffer)[copied] = '\0';
  return copied < text.size();
}

// UTF-8 as UTF-16 code units (SQLWCHAR); an invalid byte becomes U+FFFD.
std::u16string Utf16(const std::string& text);

}  // namespace sbodbc
