// Small text helpers shared by the framework's file readers.
#pragma once

#include <string_view>

inline bool QelIsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The text without the blanks and tabs at both ends.
inline std::string_view QelTrimBlanks(std::string_view text) {
  while (!text.empty() && QelIsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && QelIsBlank(text.back())) text.remove_suffix(1);
  return text;
}
