// Response files: the answers that drive a silent run of the wizard, page by
// page and box by box, with the options that say how refusals end the run.
//
// Lines "name = value" under "[section]" headers; "#" or ";" starts a comment
// line. [options] takes on-refusal (stop, continue) and max-refusals (1..100);
// [Panel<Name>] and [Panel<Name>#<visit>] take widget values, in the order
// they are to be set, and button (Next, Back, Cancel, Close), or alone
// cancel-after-statements (a count from 0); any other section is a box class
// and takes answers, a comma-separated list of OK, Cancel, Yes and No.
// A value runs to the end of the line or to a "#" after a blank or tab
// inside it (an inline comment), trimmed; a "#" that starts the value is part
// of it (a combo's line "#2"). A quoted value keeps everything up to its
// closing quote (escapes \" \\ \n \t).
//
// Parse checks the form; Check checks the names against what the program
// has built (pages, widgets, box classes), once that exists.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct ResponseCatalogue;

// One widget's answer and the line that gives it.
struct WidgetAnswer {
  std::string widget;
  std::string value;
  int line = 0;

  bool operator==(const WidgetAnswer&) const = default;
};

// The answers of one page section: widgets to set, in file order, then the
// button to press (empty: the front end's default, Next); or, for a page that
// shows the installation running, the number of statements after which its
// Cancel is pressed.
struct PageAnswers {
  std::vector<WidgetAnswer> widgets;
  std::string button;
  int buttonLine = 0;
  int cancelAfterStatements = -1;
  int cancelLine = 0;
  int line = 0;
};

class ResponseFile {
 public:
  // Null with error "<path>:<line>: <what is wrong>" for a faulty file, or
  // "cannot read response file <path>: <reason>" for one that cannot be
  // read, "response file <path> is empty" for one without a line to read.
  static std::unique_ptr<ResponseFile> Load(const std::string& path, std::string& error);
  // As Load, on text already read; name stands for the path in errors.
  static std::unique_ptr<ResponseFile> Parse(const std::string& text, const std::string& name,
                                             std::string& error);

  // False with error "<path>:<line>: <what is wrong>" for the first line,
  // in file order, that names what the catalogue does not hold: a page, a
  // widget of the page, a box class, an answer a widget cannot take.
  bool Check(const ResponseCatalogue& catalogue, std::string& error) const;

  // The [page#visit] section when there is one, else the [page] section,
  // else null. page is the section name without the visit ("PanelTESADM").
  const PageAnswers* ForPage(const std::string& page, int visit) const;
  // True when some section presses Cancel after a number of statements.
  bool CancelsAfterStatements() const;

  // The class's next answer ("OK", "Cancel", "Yes" or "No"); the last one
  // repeats once they are used up. Empty when the file has no such section.
  std::string NextBoxAnswer(const std::string& boxClass);
  // The class's answer for its box number position (from 0) in the run, the
  // last one repeating: for processes that count the boxes together.
  std::string BoxAnswer(const std::string& boxClass, std::size_t position) const;

  // "${NAME}" in an answer stands for the variable's value, so one response
  // file serves any site; an unset variable is left as written, and "$${"
  // is a "${" kept as it is.
  static std::string ExpandVariables(const std::string& value);

  // The path (or the name given to Parse), for errors.
  const std::string& Name() const { return name_; }
  bool ContinueOnRefusal() const { return continueOnRefusal_; }
  int MaxRefusals() const { return maxRefusals_; }

 private:
  class Parser;
  class Checker;

  struct BoxAnswers {
    std::vector<std::string> answers;
    std::size_t next = 0;
    int line = 0;
    // The first key other than answers, and its line.
    std::string strayKey;
    int strayKeyLine = 0;
  };

  std::string name_;
  // Visit 0 is the section for every visit.
  std::map<std::pair<std::string, int>, PageAnswers> pages_;
  std::map<std::string, BoxAnswers> boxes_;
  bool continueOnRefusal_ = false;
  int maxRefusals_ = 3;
};
