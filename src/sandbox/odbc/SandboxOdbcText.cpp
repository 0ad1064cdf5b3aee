// Input lengths and UTF-8 to UTF-16.
#include "SandboxOdbcText.h"

#include <sqlext.h>

namespace sbodbc {

std::string InputText(const SQLCHAR* text, SQLINTEGER length) {
  if (!text) return {};
  const auto* characters = reinterpret_cast<const char*>(text);
  if (length == SQL_NTS) return characters;
  return length > 0 ? std::string(characters, static_cast<std::size_t>(length)) : std::string();
}

std::u16string Utf16(const std::string& text) {
  std::u16string wide;
  wide.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    char32_t point = 0xFFFD;
    std::size_t extra = 0;
    if (byte < 0x80) {
      point = byte;
    } else if ((byte & 0xE0) == 0xC0) {
      point = byte & 0x1F;
      extra = 1;
    } else if ((byte & 0xF0) == 0xE0) {
      point = byte & 0x0F;
      extra = 2;
    } else if ((byte & 0xF8) == 0xF0) {
      point = byte & 0x07;
      extra = 3;
    }
    bool valid = byte < 0x80 || extra > 0;
    for (std::size_t k = 1; valid && k <= extra; ++k) {
      const auto next = i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
      if ((next & 0xC0) != 0x80) {
        valid = false;
        extra = k - 1;
        break;
      }
      point = (point << 6) | (next & 0x3F);
    }
    if (!valid || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) point = 0xFFFD;
    if (point >= 0x10000) {
      point -= 0x10000;
      wide.push_back(static_cast<char16_t>(0xD800 + (point >> 10)));
      wide.push_back(static_cast<char16_t>(0xDC00 + (point & 0x3FF)));
    } else {
      wide.push_back(static_cast<char16_t>(point));
    }
    i += 1 + extra;
  }
  return wide;
}

}  // namespace sbodbc
