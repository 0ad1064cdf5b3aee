// The edits refuse rather than guess: a key that is missing or whose line
// cannot be delimited leaves the text as it was, so a caller can keep the
// file unchanged and report it.
#include "ZEP2TextEdit.h"

#include <cstdio>

namespace zep2text {

namespace {
constexpr std::size_t LineStartWindow = 20;
constexpr int LowestPort = 1000;
constexpr int HighestPort = 99999;

// Where the line holding position ends, before its "\n" or "\r\n", so the
// line end stays as it was; npos for a line without a newline.
std::size_t LineEnd(const std::string& text, std::size_t position) {
  const std::size_t newline = text.find('\n', position);
  if (newline == std::string::npos) return newline;
  return newline > position && text[newline - 1] == '\r' ? newline - 1 : newline;
}
}  // namespace

bool ReplaceProperty(std::string& text, const std::string& key, const std::string& value) {
  const std::size_t found = text.find(key);
  if (found == std::string::npos) return false;
  const std::size_t valueStart = found + key.size();
  const std::size_t end = LineEnd(text, valueStart);
  if (end == std::string::npos) return false;
  text.replace(valueStart, end - valueStart, value);
  return true;
}

bool ReplaceScriptLine(std::string& text, const std::string& key, const std::string& newLine) {
  const std::size_t found = text.find(key);
  if (found == std::string::npos) return false;
  const std::size_t end = LineEnd(text, found);
  if (end == std::string::npos) return false;
  const std::size_t windowStart = found > LineStartWindow ? found - LineStartWindow : 0;
  std::size_t start = windowStart;
  const std::size_t newline = text.rfind('\n', found);
  if (newline != std::string::npos && newline >= windowStart) {
    start = newline + 1;
  } else if (windowStart != 0) {
    return false;
  }
  text.replace(start, end - start, newLine);
  return true;
}

int OrbixPort(const std::string& configuration) {
  static const std::string Key = "IT_DAEMON_PORT";
  const std::size_t found = configuration.find(Key);
  if (found == std::string::npos) return -1;
  const std::size_t end = configuration.find('\n', found);
  const std::string rest = configuration.substr(
      found + Key.size(), end == std::string::npos ? std::string::npos : end - found - Key.size());
  int port = -1;
  if (std::sscanf(rest.c_str(), "%d", &port) != 1) return -1;
  return port >= LowestPort && port <= HighestPort ? port : -1;
}

}  // namespace zep2text
