// Raw bytes and their hexadecimal text, as the DBMSs write binary values.
#pragma once

#include <cstddef>
#include <string>

#include "platform/QelUnicodeString.h"

class QelDbBinary {
 public:
  QelDbBinary(const unsigned char* bytes, std::size_t size) : bytes_(bytes, bytes + size) {}
  // Upper-case hexadecimal, two digits per byte.
  QelUnicodeString GetHexaValue() const {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes_.size() * 2);
    for (const unsigned char byte : bytes_) {
      text += digits[byte >> 4];
      text += digits[byte & 0x0F];
    }
    return text;
  }

 private:
  std::basic_string<unsigned char> bytes_;
};
