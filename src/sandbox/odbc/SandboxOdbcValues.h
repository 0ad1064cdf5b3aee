// A result value handed to the application as the C type it asks for:
// text (narrow or UTF-16) in parts when the buffer is short, or a number.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstddef>
#include <optional>
#include <string>

namespace sbodbc {

enum class Transfer {
  Complete,     // all of the value (or the rest of it) was written
  Truncated,    // part of it: offset tells where the next call goes on (01004)
  NoIndicator,  // NULL, and no indicator to say so (22002)
  BadType,      // a C type the driver cannot give (HYC00)
  BadValue,     // text that is no number of that type (22018)
};

// Writes value from offset (bytes of text for SQL_C_CHAR, UTF-16 units for
// SQL_C_WCHAR; 0 for a whole value) to target; indicator gets the length
// that remained before the call, or SQL_NULL_DATA.
Transfer WriteValue(const std::optional<std::string>& value, SQLSMALLINT type, SQLPOINTER target,
                    SQLLEN capacity, SQLLEN* indicator, std::size_t& offset);

}  // namespace sbodbc
