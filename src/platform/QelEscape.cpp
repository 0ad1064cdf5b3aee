// The backslash escaping every line-based file of the program shares.
#include "QelEscape.h"

#include <algorithm>

namespace {

const QelEscape* ByPlain(QelEscapes escapes, char c) {
  const auto found = std::find_if(escapes.begin(), escapes.end(),
                                  [c](const QelEscape& escape) { return escape.plain == c; });
  return found == escapes.end() ? nullptr : &*found;
}

const QelEscape* ByLetter(QelEscapes escapes, char c) {
  const auto found = std::find_if(escapes.begin(), escapes.end(),
                                  [c](const QelEscape& escape) { return escape.letter == c; });
  return found == escapes.end() ? nullptr : &*found;
}

}  // namespace

void QelAppendEscaped(std::string& out, std::string_view text, QelEscapes escapes) {
  // The journal escapes a line per object created, and most text holds
  // nothing to escape: that text is appended whole.
  const bool plain = std::none_of(text.begin(), text.end(), [escapes](char c) {
    return c == '\\' || ByPlain(escapes, c) != nullptr;
  });
  if (plain) {
    out.append(text);
    return;
  }
  for (const char c : text) {
    if (c == '\\') {
      out += "\\\\";
    } else if (const QelEscape* escape = ByPlain(escapes, c)) {
      out += '\\';
      out += escape->letter;
    } else {
      out += c;
    }
  }
}

std::string QelEscaped(std::string_view text, QelEscapes escapes) {
  std::string escaped;
  escaped.reserve(text.size());
  QelAppendEscaped(escaped, text, escapes);
  return escaped;
}

bool QelUnescape(std::string_view text, std::size_t& position, QelEscapes escapes,
                 std::string& plain, int stopAt, QelUnknownEscape unknown) {
  for (; position < text.size(); ++position) {
    char c = text[position];
    if (stopAt >= 0 && c == static_cast<char>(stopAt)) break;
    if (c == '\\' && position + 1 < text.size()) {
      c = text[++position];
      if (const QelEscape* escape = ByLetter(escapes, c)) {
        c = escape->plain;
      } else if (c != '\\' && unknown == QelUnknownEscape::Refused) {
        return false;
      }
    }
    plain += c;
  }
  return true;
}

std::string QelUnescaped(std::string_view text, QelEscapes escapes) {
  std::string plain;
  plain.reserve(text.size());
  std::size_t position = 0;
  QelUnescape(text, position, escapes, plain);
  return plain;
}
