// Password masking for statement texts.
#include "QelDbSecrets.h"

#include <cctype>
#include <string>

namespace {

bool StartsWithAt(const std::string& text, std::size_t at, const char* word) {
  for (std::size_t i = 0; word[i]; ++i) {
    if (at + i >= text.size() ||
        std::toupper(static_cast<unsigned char>(text[at + i])) != word[i]) {
      return false;
    }
  }
  return true;
}

}  // namespace

QelUnicodeString QelDbMaskPasswords(const QelUnicodeString& statement) {
  const std::string& text = statement.str();
  std::string masked;
  masked.reserve(text.size());
  std::size_t position = 0;
  while (position < text.size()) {
    if (!StartsWithAt(text, position, "IDENTIFIED")) {
      masked += text[position++];
      continue;
    }
    std::size_t cursor = position + 10;
    while (cursor < text.size() && std::isspace(static_cast<unsigned char>(text[cursor]))) ++cursor;
    if (!StartsWithAt(text, cursor, "BY")) {
      masked += text[position++];
      continue;
    }
    cursor += 2;
    while (cursor < text.size() && std::isspace(static_cast<unsigned char>(text[cursor]))) ++cursor;
    masked.append(text, position, cursor - position);
    if (cursor < text.size() && text[cursor] == '"') {
      // A doubled quote stands for one inside the password: the secret ends
      // at the first quote that is not doubled, or with the text.
      std::size_t end = cursor + 1;
      while (end < text.size() &&
             !(text[end] == '"' && (end + 1 >= text.size() || text[end + 1] != '"'))) {
        end += text[end] == '"' ? 2 : 1;
      }
      masked += "\"***\"";
      position = end >= text.size() ? text.size() : end + 1;
    } else {
      std::size_t end = cursor;
      while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end]))) ++end;
      masked += "***";
      position = end;
    }
  }
  return masked;
}
