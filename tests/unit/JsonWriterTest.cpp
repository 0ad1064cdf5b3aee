// The JSON writer: whatever bytes a value holds (control characters,
// quotes, malformed UTF-8), the string it writes is valid JSON, and text
// that needs nothing stays as it is.
#include <gtest/gtest.h>

#include <string>

#include "platform/QelJson.h"

namespace {

using namespace std::string_literals;

// Bytes a strict JSON reader refuses in a string: controls and malformed UTF-8.
bool StrictJsonString(const std::string& json) {
  if (json.size() < 2 || json.front() != '"' || json.back() != '"') return false;
  for (std::size_t i = 1; i + 1 < json.size();) {
    const auto c = static_cast<unsigned char>(json[i]);
    if (c < 0x20) return false;
    if (c == '"') return false;
    if (c == '\\') {
      i += json[i + 1] == 'u' ? 6 : 2;
      continue;
    }
    const std::size_t length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
    if (length == 0 || i + length > json.size() - 1) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(json[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

TEST(JsonWriter, EscapesQuotesBackslashesAndEveryControlCharacter) {
  EXPECT_EQ("\"\"", QelJsonString(""));
  EXPECT_EQ("\"say \\\"hi\\\" C:\\\\dir\"", QelJsonString("say \"hi\" C:\\dir"));
  EXPECT_EQ("\"a\\nb\\tc\\rd\"", QelJsonString("a\nb\tc\rd"));
  EXPECT_EQ("\"\\u0000\\u0001\\u001b\\u001f\x7f\"", QelJsonString("\0\x01\x1b\x1f\x7f"s));
  for (int c = 0; c < 0x20; ++c) {
    EXPECT_TRUE(StrictJsonString(QelJsonString(std::string(1, static_cast<char>(c))))) << c;
  }
}

TEST(JsonWriter, KeepsWellFormedUtf8AndReplacesEachMalformedByte) {
  const std::string text = "caf\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\x99\x82 \xF4\x8F\xBF\xBF";
  EXPECT_EQ("\"" + text + "\"", QelJsonString(text));
  const std::string replacement = "\xEF\xBF\xBD";
  const std::pair<std::string, std::string> malformed[] = {
      {"\xFF", replacement},
      {"\xC0\xAF", replacement + replacement},                                      // overlong '/'
      {"\xED\xA0\x80", replacement + replacement + replacement},                    // a surrogate
      {"\xF4\x90\x80\x80", replacement + replacement + replacement + replacement},  // > U+10FFFF
      {"x\xE6\x97", "x" + replacement + replacement},                               // cut short
      {"\xC3\"", replacement + "\\\""},  // a lead byte does not swallow the quote
  };
  for (const auto& [bytes, written] : malformed) {
    const std::string json = QelJsonString(bytes);
    EXPECT_EQ("\"" + written + "\"", json);
    EXPECT_TRUE(StrictJsonString(json)) << json;
  }
}

}  // namespace
