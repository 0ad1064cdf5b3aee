// Reading of response files: sections, "name = value" lines with quoting and
// inline comments, and the checks that turn every mistake into a located error.
#include "ResponseFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "../../QelResponseWords.h"
#include "../../QelText.h"
#include "ResponseFileText.h"

namespace {

// Far above any real response file; keeps a device or a runaway file from
// filling memory before the parser could refuse it.
constexpr std::size_t kMaximumSize = 16 * 1024 * 1024;

bool EqualsIgnoringCase(std::string_view left, std::string_view right) {
  return std::equal(left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
    const auto lower = [](char c) {
      return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return lower(a) == lower(b);
  });
}

// The word's spelling from the list, or empty when it is none of them.
template <std::size_t N>
std::string Normalise(std::string_view word, const std::array<std::string_view, N>& words) {
  for (const std::string_view known : words) {
    if (EqualsIgnoringCase(word, known)) return std::string(known);
  }
  return {};
}

bool IsIdentifier(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
  });
}

// A count of statements: digits only, at most nine of them.
bool ParseCount(std::string_view digits, int& number) {
  if (digits.empty() || digits.size() > 9) return false;
  number = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  return true;
}

}  // namespace

class ResponseFile::Parser {
 public:
  Parser(ResponseFile& file, const std::string& name) : file_(file), name_(name) {}

  bool Run(std::string_view text, std::string& error) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    bool ok = true;
    while (ok && !text.empty()) {
      ++line_;
      const std::size_t end = text.find('\n');
      std::string_view line = text.substr(0, end);
      text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      ok = Line(line);
    }
    ok = ok && EndSection();
    if (!ok) error = error_;
    return ok;
  }

 private:
  enum class Kind { None, Options, Page, Box };

  bool Fail(int line, const std::string& what) {
    error_ = name_ + ":" + std::to_string(line) + ": " + what;
    return false;
  }
  bool Fail(const std::string& what) { return Fail(line_, what); }

  bool Line(std::string_view line) {
    const std::string_view trimmed = QelTrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == '#' || trimmed.front() == ';') return true;
    if (trimmed.front() == '[') return EndSection() && Header(trimmed);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return Fail("line without '=' (expected name = value)");
    const std::string_view name = QelTrimBlanks(line.substr(0, equals));
    if (name.empty()) return Fail("no name before '='");
    if (kind_ == Kind::None) return Fail(Shown(name) + " outside any section");
    std::string value;
    if (!Value(line.substr(equals + 1), value)) return false;
    if (const auto [first, added] = names_.emplace(name, line_); !added) {
      return Fail(Shown(name) + " given twice in section " + Shown(section_) + " (first at line " +
                  std::to_string(first->second) + ")");
    }
    switch (kind_) {
      case Kind::Options:
        return Option(name, value);
      case Kind::Page:
        return PageEntry(name, value);
      default:
        return BoxEntry(name, value);
    }
  }

  bool Header(std::string_view trimmed) {
    const std::size_t close = trimmed.find(']');
    if (close == std::string_view::npos) return Fail("section header without ']'");
    const std::string_view after = QelTrimBlanks(trimmed.substr(close + 1));
    if (!after.empty() && after.front() != '#') {
      return Fail("unexpected text after section header");
    }
    const std::string_view name = QelTrimBlanks(trimmed.substr(1, close - 1));
    std::string key(name);
    if (name == "options") {
      kind_ = Kind::Options;
    } else if (name.substr(0, 5) == "Panel") {
      int visit = 0;
      const std::size_t hash = name.find('#');
      const std::string_view page = name.substr(0, hash);
      if (!IsIdentifier(page.substr(5))) return UnknownSection(name);
      if (hash != std::string_view::npos && !ParsePositive(name.substr(hash + 1), visit)) {
        return Fail("invalid visit in section " + Shown(name) + " (a number from 1)");
      }
      // "#02" and "#2" are one section, so the duplicate check uses the number.
      key = visit ? std::string(page) + "#" + std::to_string(visit) : std::string(page);
      kind_ = Kind::Page;
      page_ = &file_.pages_[{std::string(page), visit}];
      page_->line = line_;
    } else if (IsIdentifier(name)) {
      // Which classes exist is known once the program is built: Check.
      kind_ = Kind::Box;
      box_ = &file_.boxes_[key];
      box_->line = line_;
    } else {
      return UnknownSection(name);
    }
    if (const auto [first, added] = sections_.emplace(key, line_); !added) {
      return Fail("section " + Shown(key) + " given twice (first at line " +
                  std::to_string(first->second) + ")");
    }
    section_ = key;
    names_.clear();
    return true;
  }

  bool UnknownSection(std::string_view name) {
    return Fail("unknown section " + Shown(name) +
                " (options, Panel<Name>, Panel<Name>#<visit> or a box class)");
  }

  static bool ParsePositive(std::string_view digits, int& number) {
    if (digits.empty() || digits.size() > 6) return false;
    number = 0;
    for (const char c : digits) {
      if (c < '0' || c > '9') return false;
      number = number * 10 + (c - '0');
    }
    return number >= 1;
  }

  // Cancel after a number of statements is the whole answer of its page:
  // anything set or pressed beside it would never happen.
  bool EndSection() {
    if (kind_ != Kind::Page || page_->cancelAfterStatements < 0) return true;
    if (!page_->button.empty() || !page_->widgets.empty()) {
      return Fail(page_->cancelLine,
                  "'cancel-after-statements' stands alone in its section: it presses Cancel, "
                  "no widget is set and no other button pressed");
    }
    return true;
  }

  // text is what follows '='. A value may start with '#' (a combo's "#2"):
  // only a '#' after a blank inside the value opens a comment.
  bool Value(std::string_view text, std::string& value) {
    const std::string_view start = QelTrimBlanks(text);
    if (start.empty() || start.front() != '"') {
      std::size_t comment = 1;
      while (comment < start.size() && !(start[comment] == '#' && QelIsBlank(start[comment - 1]))) {
        ++comment;
      }
      value = QelTrimBlanks(start.substr(0, comment));
      return true;
    }
    std::size_t position = 1;
    if (!QelUnescape(start, position, QelResponseWords::QuotedEscapes, value, '"',
                     QelUnknownEscape::Refused)) {
      return Fail("unknown escape in quoted value (\\\", \\\\, \\n or \\t)");
    }
    if (position >= start.size()) return Fail("unterminated quoted value");
    const std::string_view after = QelTrimBlanks(start.substr(position + 1));
    if (!after.empty() && after.front() != '#') return Fail("unexpected text after quoted value");
    return true;
  }

  bool Option(std::string_view name, std::string_view value) {
    if (name == "on-refusal") {
      if (EqualsIgnoringCase(value, "stop") || EqualsIgnoringCase(value, "continue")) {
        file_.continueOnRefusal_ = EqualsIgnoringCase(value, "continue");
        return true;
      }
      return Fail("invalid on-refusal " + Shown(value) + " (stop or continue)");
    }
    if (name == "max-refusals") {
      int count = 0;
      if (ParsePositive(value, count) && count <= 100) {
        file_.maxRefusals_ = count;
        return true;
      }
      return Fail("invalid max-refusals " + Shown(value) + " (a number from 1 to 100)");
    }
    return Fail("unknown option " + Shown(name) + " (on-refusal or max-refusals)");
  }

  bool PageEntry(std::string_view name, std::string value) {
    if (name == "cancel-after-statements") {
      page_->cancelLine = line_;
      if (!ParseCount(value, page_->cancelAfterStatements)) {
        return Fail("invalid cancel-after-statements " + Shown(value) + " (a number from 0)");
      }
      return true;
    }
    if (name != "button") {
      page_->widgets.push_back({std::string(name), std::move(value), line_});
      return true;
    }
    page_->buttonLine = line_;
    page_->button = Normalise(value, QelResponseWords::Buttons);
    if (page_->button.empty()) {
      return Fail("unknown button " + Shown(value) + " (Next, Back, Cancel or Close)");
    }
    return true;
  }

  bool BoxEntry(std::string_view name, std::string_view value) {
    // In a misspelt [options] or page section, a key would look out of
    // place: Check says what is wrong once it knows whether the class exists.
    if (name != "answers") {
      if (box_->strayKeyLine == 0) {
        box_->strayKey = name;
        box_->strayKeyLine = line_;
      }
      return true;
    }
    if (value.empty()) return Fail("no answer given (OK, Cancel, Yes or No)");
    for (;;) {
      const std::size_t comma = value.find(',');
      const std::string_view word = QelTrimBlanks(value.substr(0, comma));
      std::string answer = Normalise(word, QelResponseWords::Answers);
      if (answer.empty()) return Fail("unknown answer " + Shown(word) + " (OK, Cancel, Yes or No)");
      box_->answers.push_back(std::move(answer));
      if (comma == std::string_view::npos) return true;
      value.remove_prefix(comma + 1);
    }
  }

  ResponseFile& file_;
  const std::string& name_;
  std::string error_;
  int line_ = 0;
  Kind kind_ = Kind::None;
  std::string section_;
  PageAnswers* page_ = nullptr;
  BoxAnswers* box_ = nullptr;
  std::map<std::string, int> sections_;
  std::map<std::string, int, std::less<>> names_;
};

std::unique_ptr<ResponseFile> ResponseFile::Parse(const std::string& text, const std::string& name,
                                                  std::string& error) {
  auto file = std::make_unique<ResponseFile>();
  file->name_ = name;
  if (!Parser(*file, name).Run(text, error)) return nullptr;
  return file;
}

namespace {

// Only blank lines and comments: nothing to answer any page with, which a
// run would otherwise take for empty answers and refuse on its first page.
bool HoldsNothing(std::string_view text) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = QelTrimBlanks(text.substr(0, end));
    if (!line.empty() && line != "\r" && line.front() != '#' && line.front() != ';') return false;
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return true;
}

}  // namespace

std::unique_ptr<ResponseFile> ResponseFile::Load(const std::string& path, std::string& error) {
  const std::string unreadable = "cannot read response file " + path + ": ";
  // O_NONBLOCK: opening a named pipe nobody writes to must not hang the run.
  const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (descriptor < 0) {
    error = unreadable + std::strerror(errno);
    return nullptr;
  }
  fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  std::string text;
  char buffer[65536];
  int failure = 0;
  for (;;) {
    const ssize_t count = read(descriptor, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) failure = errno;
    if (count <= 0) break;
    text.append(buffer, static_cast<std::size_t>(count));
    if (text.size() > kMaximumSize) break;
  }
  close(descriptor);
  if (failure != 0) {
    error = unreadable + std::strerror(failure);
    return nullptr;
  }
  if (text.size() > kMaximumSize) {
    error = unreadable + "larger than 16 MB, not a response file";
    return nullptr;
  }
  if (HoldsNothing(text)) {
    error = "response file " + path + " is empty";
    return nullptr;
  }
  return Parse(text, path, error);
}

bool ResponseFile::CancelsAfterStatements() const {
  return std::any_of(pages_.begin(), pages_.end(),
                     [](const auto& section) { return section.second.cancelAfterStatements >= 0; });
}

const PageAnswers* ResponseFile::ForPage(const std::string& page, int visit) const {
  for (const int candidate : {visit, 0}) {
    const auto found = pages_.find({page, candidate});
    if (found != pages_.end()) return &found->second;
  }
  return nullptr;
}

std::string ResponseFile::NextBoxAnswer(const std::string& boxClass) {
  const auto found = boxes_.find(boxClass);
  if (found == boxes_.end()) return {};
  BoxAnswers& box = found->second;
  const std::string answer = BoxAnswer(boxClass, box.next);
  if (box.next < box.answers.size()) ++box.next;
  return answer;
}

std::string ResponseFile::BoxAnswer(const std::string& boxClass, std::size_t position) const {
  const auto found = boxes_.find(boxClass);
  if (found == boxes_.end()) return {};
  // A section without answers is refused by Check, but a box can come
  // before the check runs (at start-up, before the first page is shown).
  const std::vector<std::string>& answers = found->second.answers;
  if (answers.empty()) return {};
  return answers[std::min(position, answers.size() - 1)];
}

std::string ResponseFile::ExpandVariables(const std::string& value) {
  std::string expanded;
  std::size_t position = 0;
  while (position < value.size()) {
    const std::size_t start = value.find("${", position);
    if (start == std::string::npos) break;
    if (start > position && value[start - 1] == '$') {
      expanded.append(value, position, start - 1 - position);
      expanded += "${";
      position = start + 2;
      continue;
    }
    const std::size_t end = value.find('}', start + 2);
    if (end == std::string::npos) break;
    expanded.append(value, position, start - position);
    const std::string name = value.substr(start + 2, end - start - 2);
    const char* variable = std::getenv(name.c_str());
    expanded += variable ? std::string(variable) : value.substr(start, end - start + 1);
    position = end + 1;
  }
  return expanded + value.substr(position);
}
