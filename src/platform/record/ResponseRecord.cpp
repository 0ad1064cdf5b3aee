// Writing a record as the response-file reader reads it: page sections
// numbered by press as a silent run counts them, box answers per class, and
// the record's own state, which the run's next process continues from.
#include "ResponseRecord.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <sstream>

#include "../QelEscape.h"
#include "../QelResponseWords.h"
#include "../QelText.h"

namespace {

// The reader gives up on a page after this many presses in a row.
constexpr int kDefaultMaxRefusals = 3;
constexpr int kMostRefusals = 100;
constexpr const char* kStateHeader = "tessardbsetup-record-state 1";

bool IsSameAnswer(const RecordedPress& left, const RecordedPress& right) {
  return left.widgets == right.widgets && left.button == right.button;
}

// Fields of a state line are separated by tabs; these escapes keep a tab,
// a line break or a backslash inside a field.
constexpr QelEscape kFieldEscapes[] = {{'\t', 't'}, {'\n', 'n'}};

std::string Escape(const std::string& field) {
  return QelEscaped(field, kFieldEscapes);
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t position = 0;
  do {
    QelUnescape(line, position, kFieldEscapes, fields.emplace_back(), '\t');
  } while (position++ < line.size());
  return fields;
}

bool ToNumber(const std::string& text, long& number) {
  if (text.empty()) return false;
  char* end = nullptr;
  number = std::strtol(text.c_str(), &end, 10);
  return *end == '\0';
}

}  // namespace

void ResponseRecord::SetWidget(const std::string& page, const std::string& widget,
                               const std::string& value) {
  ForgetWidget(page, widget);
  pending_[page].emplace_back(widget, value);
}

void ResponseRecord::ForgetWidget(const std::string& page, const std::string& widget) {
  std::erase_if(pending_[page], [&](const auto& set) { return set.first == widget; });
}

void ResponseRecord::Press(const std::string& page, const std::string& button, long process,
                           int visit) {
  RecordedPress press{page, std::move(pending_[page]), button, process, visit};
  pending_.erase(page);
  presses_.push_back(std::move(press));
}

void ResponseRecord::Answer(const std::string& boxClass, const std::string& answer) {
  answers_.emplace_back(boxClass, answer);
}

int ResponseRecord::SecretCount(const std::string& widget) const {
  const auto found = secrets_.find(widget);
  return found == secrets_.end() ? 0 : found->second;
}

void ResponseRecord::SetSecretCount(const std::string& widget, int count) {
  secrets_[widget] = count;
}

std::string ResponseRecord::SecretVariable(const std::string& widget, int number) {
  std::string name = "TESSARDBSETUP_PW_" + widget;
  if (number > 1) name += "_" + std::to_string(number);
  return name;
}

std::string ResponseRecord::Literal(const std::string& text) {
  std::string literal;
  std::size_t position = 0;
  for (std::size_t start; (start = text.find("${", position)) != std::string::npos;
       position = start + 2) {
    literal.append(text, position, start - position);
    literal += "$${";
  }
  return literal + text.substr(position);
}

std::string ResponseRecord::Quote(const std::string& value) {
  bool plain = !value.empty() && !QelIsBlank(value.front()) && !QelIsBlank(value.back()) &&
               value.front() != '"';
  for (std::size_t i = 0; plain && i < value.size(); ++i) {
    const auto c = static_cast<unsigned char>(value[i]);
    // A '#' after a blank would open a comment; control bytes would break
    // the line or vanish at its end.
    plain = c >= 0x20 && c != 0x7f && !(c == '#' && i > 0 && QelIsBlank(value[i - 1]));
  }
  if (plain) return value;
  return "\"" + QelEscaped(value, QelResponseWords::QuotedEscapes) + "\"";
}

std::string ResponseRecord::Text() const {
  std::string text =
      "# Recorded by tessardbsetup -record: replay it with tessardbsetup -responsefile FILE.\n";
  if (!secrets_.empty()) {
    text +=
        "# Passwords are not recorded: before replaying, export each of these variables\n"
        "# with the password typed at that point of the run:\n";
    for (const auto& [widget, count] : secrets_) {
      for (int number = 1; number <= count; ++number) {
        text += "#   " + SecretVariable(widget, number) + "\n";
      }
    }
  }
  return text + OptionsText() + PagesText() + BoxesText();
}

// A refused press (the page stayed, its box answered) is replayed only when
// the reader goes on after refusals and allows as many in a row.
std::string ResponseRecord::OptionsText() const {
  int longestRun = 1;
  std::map<std::string, std::pair<const RecordedPress*, int>> runs;
  for (const RecordedPress& press : presses_) {
    auto& [last, run] = runs[press.page];
    const bool sameVisit = last && last->process == press.process && last->visit == press.visit;
    run = sameVisit ? run + 1 : 1;
    last = &press;
    longestRun = std::max(longestRun, run);
  }
  if (longestRun == 1) return "";
  std::string text = "\n[options]\non-refusal = continue\n";
  // The last press of a run may have stayed too: one more keeps it going.
  const int refusals = std::min(longestRun + 1, kMostRefusals);
  if (refusals > kDefaultMaxRefusals) text += "max-refusals = " + std::to_string(refusals) + "\n";
  return text;
}

// A page's n-th press is the reader's "#n" section; one that answers as the
// first did is left to the first's section, which serves every press.
std::string ResponseRecord::PagesText() const {
  std::string text;
  std::map<std::string, std::pair<const RecordedPress*, int>> seen;
  for (const RecordedPress& press : presses_) {
    auto& [first, count] = seen[press.page];
    ++count;
    if (!first) {
      first = &press;
    } else if (IsSameAnswer(*first, press)) {
      continue;
    }
    text += "\n[" + press.page + (count > 1 ? "#" + std::to_string(count) : "") + "]\n";
    for (const auto& [widget, value] : press.widgets) text += widget + " = " + Quote(value) + "\n";
    text += "button = " + press.button + "\n";
  }
  return text;
}

std::string ResponseRecord::BoxesText() const {
  std::vector<std::string> classes;
  for (const auto& answer : answers_) {
    if (std::find(classes.begin(), classes.end(), answer.first) == classes.end()) {
      classes.push_back(answer.first);
    }
  }
  std::string text;
  for (const std::string& boxClass : classes) {
    text += "\n[" + boxClass + "]\nanswers =";
    const char* separator = " ";
    for (const auto& [which, answer] : answers_) {
      if (which != boxClass) continue;
      text += separator + answer;
      separator = ", ";
    }
    text += "\n";
  }
  return text;
}

std::string ResponseRecord::State() const {
  std::string state = std::string(kStateHeader) + "\n";
  for (const RecordedPress& press : presses_) {
    state += "press\t" + Escape(press.page) + "\t" + Escape(press.button) + "\t" +
             std::to_string(press.process) + "\t" + std::to_string(press.visit) + "\n";
    for (const auto& [widget, value] : press.widgets) {
      state += "set\t" + Escape(widget) + "\t" + Escape(value) + "\n";
    }
  }
  for (const auto& [boxClass, answer] : answers_) {
    state += "box\t" + Escape(boxClass) + "\t" + Escape(answer) + "\n";
  }
  for (const auto& [widget, count] : secrets_) {
    state += "secret\t" + Escape(widget) + "\t" + std::to_string(count) + "\n";
  }
  return state;
}

bool ResponseRecord::Restore(const std::string& state) {
  std::istringstream lines(state);
  std::string line;
  if (!std::getline(lines, line) || line != kStateHeader) return false;
  std::vector<RecordedPress> presses;
  std::vector<std::pair<std::string, std::string>> answers;
  std::map<std::string, int> secrets;
  while (std::getline(lines, line)) {
    const std::vector<std::string> fields = Fields(line);
    long first = 0;
    long second = 0;
    if (fields[0] == "press" && fields.size() == 5 && ToNumber(fields[3], first) &&
        ToNumber(fields[4], second)) {
      presses.push_back({fields[1], {}, fields[2], first, static_cast<int>(second)});
    } else if (fields[0] == "set" && fields.size() == 3 && !presses.empty()) {
      presses.back().widgets.emplace_back(fields[1], fields[2]);
    } else if (fields[0] == "box" && fields.size() == 3) {
      answers.emplace_back(fields[1], fields[2]);
    } else if (fields[0] == "secret" && fields.size() == 3 && ToNumber(fields[2], first)) {
      secrets[fields[1]] = static_cast<int>(first);
    } else {
      return false;
    }
  }
  presses_ = std::move(presses);
  answers_ = std::move(answers);
  secrets_ = std::move(secrets);
  return true;
}
