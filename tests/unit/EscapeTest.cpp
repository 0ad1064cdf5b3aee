// The shared backslash escaping: every file's table reads back any value
// exactly, files written before keep their bytes, and a reader stops where
// its line structure says.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/QelEscape.h"
#include "platform/QelResponseWords.h"

namespace {

using namespace std::string_literals;

constexpr QelEscape kSettingsKey[] = {{'\n', 'n'}, {'\r', 'r'}, {'\0', '0'}, {'=', '='}};
constexpr QelEscape kJournal[] = {{'\n', 'n'}, {'\r', 'r'}};
constexpr QelEscape kRecordField[] = {{'\t', 't'}, {'\n', 'n'}};

const std::vector<std::string>& HardValues() {
  static const std::vector<std::string> values = {
      "",
      "=",
      "a=b==",
      "\n",
      "two\nlines\r\n",
      "ends with a backslash\\",
      "\\",
      "\\\\n is not a line break",
      "\"quoted\" \"",
      "\x01\x02\x1f\x7f\t\0tail"s,
      "\0"s,
      "caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x99\x82",
      "\xC3 cut \xFF bytes",
      "\\n\\r\\0\\t\\=\\\""};
  return values;
}

TEST(QelEscape, EveryTableReadsBackEveryValueAndStopsOnlyAtItsOwnEnd) {
  const std::vector<QelEscapes> tables = {kSettingsKey, kJournal, kRecordField,
                                          QelResponseWords::QuotedEscapes};
  const std::vector<int> stops = {'=', -1, '\t', '"'};
  for (std::size_t table = 0; table < tables.size(); ++table) {
    for (const std::string& value : HardValues()) {
      const std::string escaped = QelEscaped(value, tables[table]);
      EXPECT_EQ(value, QelUnescaped(escaped, tables[table])) << table << ": " << escaped;
      if (stops[table] < 0) continue;
      // What follows the value on its line is not read into it.
      const std::string line = escaped + static_cast<char>(stops[table]) + "next";
      std::size_t position = 0;
      std::string read;
      ASSERT_TRUE(
          QelUnescape(line, position, tables[table], read, stops[table], QelUnknownEscape::Refused))
          << table << ": " << escaped;
      EXPECT_EQ(value, read) << table << ": " << escaped;
      EXPECT_EQ(escaped.size(), position) << table << ": " << escaped;
    }
  }
  // Nothing of a line's structure survives unescaped.
  EXPECT_EQ(std::string::npos, QelEscaped("a\nb\rc", kJournal).find_first_of("\n\r"));
  EXPECT_EQ(std::string::npos, QelEscaped("k\te\ny", kRecordField).find_first_of("\t\n"));
}

TEST(QelEscape, WritesTheBytesFilesHaveAlwaysHeld) {
  const std::pair<std::string, std::string> settingsKeys[] = {
      {"a=b", "a\\=b"}, {"x\\", "x\\\\"}, {"n\nr\r0\0"s, "n\\nr\\r0\\0"}, {"plain", "plain"}};
  for (const auto& [plain, escaped] : settingsKeys)
    EXPECT_EQ(escaped, QelEscaped(plain, kSettingsKey));
  EXPECT_EQ("DROP TABLE \"A\\\\B\"\\n\\r=", QelEscaped("DROP TABLE \"A\\B\"\n\r=", kJournal));
  EXPECT_EQ("tab\\tline\\nback\\\\slash \"", QelEscaped("tab\tline\nback\\slash \"", kRecordField));
  EXPECT_EQ("say \\\"hi\\\"\\n\\t\\\\",
            QelEscaped("say \"hi\"\n\t\\", QelResponseWords::QuotedEscapes));
}

TEST(QelEscape, ReadsOlderAndHandWrittenTextAsBefore) {
  constexpr QelEscape catalogue[] = {{'\n', 'n'}, {'\t', 't'}, {' ', 's'}};
  // A backslash before a letter no escape names stands for that letter; one
  // that ends the text has nothing to escape and stays.
  EXPECT_EQ("Line\nnext\tcol  x\\", QelUnescaped("Line\\nnext\\tcol\\s\\s\\x\\", catalogue));
  EXPECT_EQ("q=\"\\", QelUnescaped("\\q\\=\\\"\\\\", kJournal));
  EXPECT_EQ("", QelUnescaped("", kJournal));
  // A quoted response-file value names its escapes: any other is refused,
  // where it stands.
  std::string read;
  std::size_t position = 0;
  EXPECT_FALSE(QelUnescape("ab\\qc\"", position, QelResponseWords::QuotedEscapes, read, '"',
                           QelUnknownEscape::Refused));
  EXPECT_EQ(3u, position);
  // An escaped stop is part of the value; a value without its stop runs to
  // the end.
  read.clear();
  position = 0;
  EXPECT_TRUE(QelUnescape("a\\\"b", position, QelResponseWords::QuotedEscapes, read, '"',
                          QelUnknownEscape::Refused));
  EXPECT_EQ("a\"b", read);
  EXPECT_EQ(4u, position);
}

}  // namespace
