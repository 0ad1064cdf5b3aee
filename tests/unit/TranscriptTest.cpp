// The transcript: every line a valid JSON object whatever the bytes given,
// whole lines from concurrent processes, nothing without the variable.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "TempDirectory.h"
#include "platform/display/script/Transcript.h"

namespace {

constexpr const char* kVariable = "TESSARDBSETUP_TRANSCRIPT";

using Fields = std::vector<std::pair<std::string, std::string>>;

bool IsHex(char c) {
  return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

bool Take(std::string_view& text, char c) {
  if (text.empty() || text.front() != c) return false;
  text.remove_prefix(1);
  return true;
}

// A JSON string at the front of text, decoded; false on a raw control
// character or an escape JSON does not know.
bool TakeString(std::string_view& text, std::string& value) {
  if (!Take(text, '"')) return false;
  const std::string_view simple = "\"\\/bfnrt";
  const std::string_view meaning = "\"\\/\b\f\n\r\t";
  while (!text.empty()) {
    const char c = text.front();
    text.remove_prefix(1);
    if (c == '"') return true;
    if (static_cast<unsigned char>(c) < 0x20 || (c == '\\' && text.empty())) return false;
    if (c != '\\') {
      value += c;
    } else if (simple.find(text.front()) != std::string_view::npos) {
      value += meaning[simple.find(text.front())];
      text.remove_prefix(1);
    } else if (text.size() >= 5 && text.substr(0, 3) == "u00" && IsHex(text[3]) && IsHex(text[4])) {
      value += static_cast<char>(std::stoi(std::string(text.substr(3, 2)), nullptr, 16));
      text.remove_prefix(5);
    } else {
      return false;
    }
  }
  return false;
}

// The fields of a flat object of strings and integers, in order; nothing
// when the line is not such an object.
std::optional<Fields> ReadLine(std::string_view text) {
  Fields fields;
  if (!Take(text, '{')) return std::nullopt;
  do {
    std::string name;
    std::string value;
    if (!TakeString(text, name) || !Take(text, ':')) return std::nullopt;
    if (!TakeString(text, value)) {
      const std::size_t digits = text.find_first_not_of("-0123456789");
      if (digits == 0 || digits == std::string_view::npos) return std::nullopt;
      value = text.substr(0, digits);
      text.remove_prefix(digits);
    }
    fields.emplace_back(name, value);
  } while (Take(text, ','));
  if (!Take(text, '}') || !text.empty()) return std::nullopt;
  return fields;
}

std::vector<std::string> Lines(const std::string& path) {
  std::vector<std::string> lines;
  std::istringstream content(ReadWholeFile(path));
  for (std::string line; std::getline(content, line);) lines.push_back(line);
  return lines;
}

class Transcript : public ::testing::Test {
 protected:
  void SetUp() override { setenv(kVariable, path.c_str(), 1); }
  void TearDown() override { unsetenv(kVariable); }

  std::string LastLine() {
    const std::vector<std::string> lines = Lines(path);
    return lines.empty() ? "" : lines.back();
  }

  TempDirectory directory;
  const std::string path = directory.File("transcript.jsonl");
  const std::string pid = std::to_string(getpid());
};

TEST_F(Transcript, LinesCarryPidEventAndFieldsInOrder) {
  const std::string widget = "EditorTESADM";
  QelTranscript::Record("page", {{"name", "PanelTESADM"}, {"visit", 2}});
  QelTranscript::Record("widget", {{"name", widget}, {"value", QelUnicodeString("pdmadm")}});
  QelTranscript::Record("exit", {{"status", -1}, {"size", std::size_t{18446744073709551615u}}});
  QelTranscript::Record("idle", {});
  EXPECT_EQ(ReadWholeFile(path),
            "{\"pid\":" + pid + ",\"event\":\"page\",\"name\":\"PanelTESADM\",\"visit\":2}\n" +
                "{\"pid\":" + pid +
                ",\"event\":\"widget\",\"name\":\"EditorTESADM\",\"value\":\"pdmadm\"}\n" +
                "{\"pid\":" + pid +
                ",\"event\":\"exit\",\"status\":-1,\"size\":18446744073709551615}\n" +
                "{\"pid\":" + pid + ",\"event\":\"idle\"}\n");
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(Transcript, TextsAreEscapedIntoValidJson) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"say \"hi\" \\ back", R"("say \"hi\" \\ back")"},
      {"line\nfeed\ttab\rreturn", R"("line\nfeed\ttab\rreturn")"},
      {std::string("nul\0bell\x07"
                   "esc\x1b\x1f",
                   14),
       R"("nul\u0000bell\u0007esc\u001b\u001f")"},
      {"d\xC3\xA9j\xC3\xA0 \xE2\x82\xAC \xF0\x9F\x94\x91",
       "\"d\xC3\xA9j\xC3\xA0 \xE2\x82\xAC \xF0\x9F\x94\x91\""},
      {"bad \xff\xfe end", "\"bad \xEF\xBF\xBD\xEF\xBF\xBD end\""},
      {"cut \xE2\x82", "\"cut \xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"overlong \xC0\xAF", "\"overlong \xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"surrogate \xED\xA0\x80", "\"surrogate \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"beyond \xF4\x90\x80\x80", "\"beyond \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"lone \x80 continuation", "\"lone \xEF\xBF\xBD continuation\""},
      {"", "\"\""},
  };
  for (const auto& [text, json] : cases) {
    QelTranscript::Record("widget", {{"value", text}});
    EXPECT_EQ(LastLine(), "{\"pid\":" + pid + ",\"event\":\"widget\",\"value\":" + json + "}")
        << json;
  }
  QelTranscript::Record("event \"quoted\"\n", {{"field\t\"name\"", "x"}});
  EXPECT_EQ(LastLine(),
            "{\"pid\":" + pid + R"(,"event":"event \"quoted\"\n","field\t\"name\"":"x"})");

  // Every byte value in every position: each line reads back, and whatever
  // was valid UTF-8 reads back exactly.
  std::vector<std::string> texts;
  for (int byte = 0; byte < 256; ++byte) {
    texts.push_back(std::string(1, static_cast<char>(byte)) + "a\xC3\xA9" +
                    static_cast<char>(byte) + static_cast<char>(byte));
  }
  const std::string bytesPath = directory.File("bytes.jsonl");
  setenv(kVariable, bytesPath.c_str(), 1);
  for (const std::string& text : texts) {
    QelTranscript::Record("bytes", {{"text", text}});
  }
  const std::vector<std::string> lines = Lines(bytesPath);
  ASSERT_EQ(lines.size(), texts.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto fields = ReadLine(lines[i]);
    ASSERT_TRUE(fields.has_value()) << lines[i];
    ASSERT_EQ(fields->size(), 3u);
    EXPECT_EQ((*fields)[2].first, "text");
    if (i < 0x80) {
      EXPECT_EQ((*fields)[2].second, texts[i]) << i;
    } else {
      EXPECT_EQ((*fields)[2].second,
                "\xEF\xBF\xBD"
                "a\xC3\xA9\xEF\xBF\xBD\xEF\xBF\xBD")
          << i;
    }
  }
}

TEST_F(Transcript, TwoProcessesAppendWholeLines) {
  constexpr int kLines = 300;
  const std::string padding(2000, 'p');
  // Both processes open the file themselves: the father has not written to
  // it yet, so only O_APPEND keeps them from overwriting each other.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  for (int i = 0; i < kLines; ++i) {
    QelTranscript::Record("line", {{"index", i}, {"padding", padding}});
  }
  if (child == 0) _exit(0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  std::map<std::string, int> nextIndex;
  const std::vector<std::string> lines = Lines(path);
  EXPECT_EQ(lines.size(), 2u * kLines);
  for (const std::string& line : lines) {
    const auto fields = ReadLine(line);
    ASSERT_TRUE(fields.has_value()) << line.substr(0, 80);
    ASSERT_EQ(fields->size(), 4u);
    EXPECT_EQ((*fields)[3].second, padding);
    int& expected = nextIndex[(*fields)[0].second];
    EXPECT_EQ((*fields)[2].second, std::to_string(expected)) << "lines of a process stay in order";
    ++expected;
  }
  EXPECT_EQ(nextIndex.size(), 2u);
  EXPECT_EQ(nextIndex[pid], kLines);
  EXPECT_EQ(nextIndex[std::to_string(child)], kLines);
}

TEST_F(Transcript, NothingIsWrittenWithoutTheVariableOrThroughALink) {
  QelTranscript::Record("first", {});
  unsetenv(kVariable);
  QelTranscript::Record("unset", {});
  setenv(kVariable, "", 1);
  QelTranscript::Record("empty", {});
  EXPECT_EQ(Lines(path).size(), 1u);

  const std::string other = directory.File("other.jsonl");
  setenv(kVariable, other.c_str(), 1);
  QelTranscript::Record("moved", {});
  setenv(kVariable, path.c_str(), 1);
  QelTranscript::Record("back", {});
  EXPECT_EQ(Lines(other).size(), 1u);
  ASSERT_EQ(Lines(path).size(), 2u);
  EXPECT_NE(LastLine().find("\"back\""), std::string::npos);

  const std::string victim = directory.File("victim");
  { std::ofstream(victim) << "precious"; }
  const std::string link = directory.File("link.jsonl");
  ASSERT_EQ(symlink(victim.c_str(), link.c_str()), 0);
  setenv(kVariable, link.c_str(), 1);
  QelTranscript::Record("through the link", {});
  EXPECT_EQ(ReadWholeFile(victim), "precious");
}

}  // namespace
