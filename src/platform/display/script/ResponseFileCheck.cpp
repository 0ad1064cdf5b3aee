// The check of a whole response file against the program as built: every
// section, widget and box class it names must exist before anything runs, so
// that a misspelt name is an error with its line instead of an answer that
// silently never applies.
#include <algorithm>

#include "../../QelResponseWords.h"
#include "ResponseCatalogue.h"
#include "ResponseFile.h"
#include "ResponseFileText.h"

namespace {

bool TakesAnswers(const std::string& kind) {
  return kind == "editor" || kind == "combo" || kind == "checkbutton" || kind == "radiobutton";
}

// What a person reads in the error: "a check button" rather than the kind.
std::string Described(const std::string& kind) {
  if (kind == "checkbutton") return "a check button";
  if (kind == "radiobutton") return "a radio button";
  if (kind == "progress") return "a progress bar";
  if (kind == "pushbutton") return "a push button";
  const bool vowel = !kind.empty() && std::string_view("aeiou").find(kind[0]) != std::string::npos;
  return (vowel ? "an " : "a ") + kind;
}

}  // namespace

class ResponseFile::Checker {
 public:
  Checker(const ResponseFile& file, const ResponseCatalogue& catalogue)
      : file_(file), catalogue_(catalogue) {
    for (const auto& [page, widgets] : catalogue_.pages) {
      pages_.push_back(page);
      if (std::any_of(widgets.begin(), widgets.end(),
                      [](const auto& widget) { return widget.second == "progress"; })) {
        progressPages_.push_back(page);
      }
    }
  }

  bool Run(std::string& error) {
    for (const auto& [key, answers] : file_.pages_) Page(key.first, answers);
    for (const auto& [name, box] : file_.boxes_) Box(name, box);
    if (line_ == 0) return true;
    error = file_.name_ + ":" + std::to_string(line_) + ": " + error_;
    return false;
  }

 private:
  // Keeps the mistake that comes first in the file: sections are visited
  // by name, and the administrator reads the file from the top.
  void Note(int line, std::string what) {
    if (line_ != 0 && line_ <= line) return;
    line_ = line;
    error_ = std::move(what);
  }

  static std::string Suggestion(const std::string& nearest, const std::string& otherwise) {
    return nearest.empty() ? " (" + otherwise + ")" : " (did you mean '" + nearest + "'?)";
  }

  void Page(const std::string& page, const PageAnswers& answers) {
    const auto found = catalogue_.pages.find(page);
    if (found == catalogue_.pages.end()) {
      Note(answers.line, "unknown page " + Shown(page) +
                             Suggestion(Nearest(page, pages_), "pages: " + Joined(pages_)));
      return;
    }
    const ResponseCatalogue::Widgets& widgets = found->second;
    if (answers.cancelAfterStatements >= 0 &&
        std::find(progressPages_.begin(), progressPages_.end(), page) == progressPages_.end()) {
      Note(answers.cancelLine,
           "'cancel-after-statements' on " + Shown(page) +
               ", which does not show an installation running (" +
               (progressPages_.empty() ? "no page does" : "only " + Joined(progressPages_)) + ")");
    }
    for (const WidgetAnswer& answer : answers.widgets) Widget(page, widgets, answer);
  }

  void Widget(const std::string& page, const ResponseCatalogue::Widgets& widgets,
              const WidgetAnswer& answer) {
    const auto found = widgets.find(answer.widget);
    if (found == widgets.end()) {
      std::vector<std::string> answerable;
      for (const auto& [name, kind] : widgets) {
        if (TakesAnswers(kind)) answerable.push_back(name);
      }
      Note(answer.line, "page " + Shown(page) + " has no widget " + Shown(answer.widget) +
                            Suggestion(Nearest(answer.widget, answerable),
                                       answerable.empty() ? "it takes no widget answers"
                                                          : "its widgets that take answers: " +
                                                                Joined(answerable)));
      return;
    }
    const std::string& kind = found->second;
    if (!TakesAnswers(kind)) {
      Note(answer.line, Shown(answer.widget) + " on page " + Shown(page) + " is " +
                            Described(kind) + ", which takes no answer");
    } else if (kind == "checkbutton" && answer.value != QelResponseWords::Checked &&
               answer.value != QelResponseWords::Unchecked) {
      Note(answer.line, Shown(answer.widget) +
                            " is a check button: its answer is checked or "
                            "unchecked");
    } else if (kind == "radiobutton" && answer.value != QelResponseWords::Checked) {
      Note(answer.line, Shown(answer.widget) +
                            " is a radio button: its answer is checked (checking another button "
                            "of its group unchecks it)");
    }
  }

  void Box(const std::string& name, const BoxAnswers& box) {
    const std::vector<std::string>& classes = catalogue_.boxClasses;
    if (std::find(classes.begin(), classes.end(), name) == classes.end()) {
      std::vector<std::string> sections = classes;
      sections.push_back("options");
      sections.insert(sections.end(), pages_.begin(), pages_.end());
      Note(box.line, "unknown section " + Shown(name) +
                         Suggestion(Nearest(name, sections),
                                    "options, a page Panel<Name>[#<visit>] or a box class: " +
                                        Joined(classes)));
      return;
    }
    if (box.strayKeyLine != 0) {
      Note(box.strayKeyLine,
           "unknown key " + Shown(box.strayKey) + " in section " + Shown(name) + " (only answers)");
    }
    // A box section must answer something, or its boxes would fall back to
    // whatever the front end does without a response file.
    if (box.answers.empty()) Note(box.line, "section " + Shown(name) + " without answers");
  }

  const ResponseFile& file_;
  const ResponseCatalogue& catalogue_;
  std::vector<std::string> pages_;
  std::vector<std::string> progressPages_;
  int line_ = 0;
  std::string error_;
};

bool ResponseFile::Check(const ResponseCatalogue& catalogue, std::string& error) const {
  return Checker(*this, catalogue).Run(error);
}
