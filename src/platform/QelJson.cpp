// The JSON writer: a string value for any bytes, so a line of JSON stays
// valid whatever text (an answer, a DBMS message, a file name) it carries.
#include "QelJson.h"

namespace {

// Length of the well-formed UTF-8 sequence starting at position, or 0.
// Overlong forms, surrogates and code points above U+10FFFF are not
// well-formed: a strict JSON reader would reject them as well.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t position) {
  const auto byte = [&](std::size_t index) { return static_cast<unsigned char>(text[index]); };
  const unsigned char lead = byte(position);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() - position < length) return 0;
  for (std::size_t index = 1; index < length; ++index) {
    const unsigned char continuation = byte(position + index);
    if (continuation < (index == 1 ? low : 0x80) || continuation > (index == 1 ? high : 0xBF)) {
      return 0;
    }
  }
  return length;
}

}  // namespace

std::string QelJsonString(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string json = "\"";
  json.reserve(text.size() + 2);
  for (std::size_t position = 0; position < text.size();) {
    const char c = text[position];
    const std::size_t length = Utf8SequenceLength(text, position);
    if (length == 0) {
      json += "\xEF\xBF\xBD";
      ++position;
      continue;
    }
    if (length > 1) {
      json.append(text.substr(position, length));
    } else if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (c == '\n') {
      json += "\\n";
    } else if (c == '\t') {
      json += "\\t";
    } else if (c == '\r') {
      json += "\\r";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      json += "\\u00";
      json += kHex[static_cast<unsigned char>(c) >> 4];
      json += kHex[static_cast<unsigned char>(c) & 0xf];
    } else {
      json += c;
    }
    position += length;
  }
  json += '"';
  return json;
}
