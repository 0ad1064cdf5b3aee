#include "QelInputCheck.h"

#include <algorithm>

int InputCheckIdName(const QelUnicodeString& text, void*) {
  const std::string& name = text.str();
  if (name.size() > 32 || (!name.empty() && name.front() == '-')) return 0;
  return std::all_of(name.begin(), name.end(),
                     [](char c) {
                       return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                              (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
                     })
             ? 1
             : 0;
}

int InputCheckIdPasswd(const QelUnicodeString& text, void*) {
  const std::string& password = text.str();
  if (password.size() > 256) return 0;
  return std::none_of(password.begin(), password.end(),
                      [](char c) {
                        const auto byte = static_cast<unsigned char>(c);
                        return byte < 0x20 || byte == 0x7F;
                      })
             ? 1
             : 0;
}
