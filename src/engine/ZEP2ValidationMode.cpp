// The check-only request, kept in the environment both processes share.
#include "ZEP2ValidationMode.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace {

constexpr const char* RequestVariable = "TESSARDBSETUP_VALIDATE";
constexpr const char* JsonVariable = "TESSARDBSETUP_VALIDATE_JSON";
constexpr const char* RefusalsVariable = "TESSARDBSETUP_VALIDATE_REFUSALS";
// Separators no page text holds: ASCII's unit and record separators.
constexpr char FieldSeparator = '\x1f';
constexpr char RecordSeparator = '\x1e';

std::string Clean(std::string text) {
  for (char& c : text) {
    if (c == FieldSeparator || c == RecordSeparator) c = ' ';
  }
  return text;
}

std::string Absolute(const std::string& path) {
  if (path.empty() || path.front() == '/') return path;
  char directory[PATH_MAX];
  if (!getcwd(directory, sizeof directory)) return path;
  return std::string(directory) + "/" + path;
}

}  // namespace

namespace zep2validation {

void Request(const std::string& jsonPath) {
  setenv(RequestVariable, "1", 1);
  // Refusals are this run's alone, never an earlier run's left in the
  // caller's environment.
  unsetenv(RefusalsVariable);
  if (jsonPath.empty()) {
    unsetenv(JsonVariable);
  } else {
    setenv(JsonVariable, Absolute(jsonPath).c_str(), 1);
  }
}

bool Requested() {
  const char* value = std::getenv(RequestVariable);
  return value && std::string(value) == "1";
}

std::string JsonPath() {
  const char* value = std::getenv(JsonVariable);
  return value ? value : "";
}

bool Silent() {
  const char* answers = std::getenv("TESSARDBSETUP_RESPONSE_FILE");
  return Requested() && answers && *answers;
}

}  // namespace zep2validation

namespace zep2validation {

void HandOn(const ZEP2ValidationProblem& problem) {
  const char* earlier = std::getenv(RefusalsVariable);
  const std::string record = Clean(problem.check) + FieldSeparator + Clean(problem.problem) +
                             FieldSeparator + Clean(problem.remedy) + RecordSeparator;
  setenv(RefusalsVariable, ((earlier ? earlier : "") + record).c_str(), 1);
}

std::vector<ZEP2ValidationProblem> HandedOn() {
  std::vector<ZEP2ValidationProblem> problems;
  const char* value = std::getenv(RefusalsVariable);
  const std::string all = value ? value : "";
  std::size_t start = 0;
  for (std::size_t end = all.find(RecordSeparator); end != std::string::npos;
       start = end + 1, end = all.find(RecordSeparator, start)) {
    const std::string record = all.substr(start, end - start);
    const std::size_t first = record.find(FieldSeparator);
    const std::size_t second =
        first == std::string::npos ? first : record.find(FieldSeparator, first + 1);
    if (second == std::string::npos) continue;
    problems.push_back({record.substr(0, first), record.substr(first + 1, second - first - 1),
                        record.substr(second + 1)});
  }
  return problems;
}

}  // namespace zep2validation
