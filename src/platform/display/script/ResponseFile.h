// Response files: the answers that drive a silent run of the wizard, page by
// page and box by box, with the options that say how refusals end the run.
//
// Lines "name = value" under "[section]" headers; "#" or ";" starts a comment
// line. [options] takes on-refusal (stop, continue) and max-refusals (1..100);
// [Panel<Name>] and [Panel<Name>#<visit>] take widget values, in the order
// they are to be set, and button (Next, Back, Cancel, Close); a box class
// section takes answers, a comma-separated list of OK, Cancel, Yes and No.
// A value runs to the end of the line or to a "#" after a blank or tab
// inside it (an inline comment), trimmed; a "#" that starts the value is part
// of it (a combo's line "#2"). A quoted value keeps everything up to its
// closing quote (escapes \" \\ \n \t).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The answers of one page section: widgets to set, in file order, then the
// button to press (empty: the front end's default, Next).
struct PageAnswers {
  std::vector<std::pair<std::string, std::string>> widgets;
  std::string button;
  int line = 0;
};

class ResponseFile {
 public:
  // Null with error "<path>:<line>: <what is wrong>" for a faulty file, or
  // "<path>: <reason>" for one that cannot be read.
  static std::unique_ptr<ResponseFile> Load(const std::string& path, std::string& error);
  // As Load, on text already read; name stands for the path in errors.
  static std::unique_ptr<ResponseFile> Parse(const std::string& text, const std::string& name,
                                             std::string& error);

  // The [page#visit] section when there is one, else the [page] section,
  // else null. page is the section name without the visit ("PanelTESADM").
  const PageAnswers* ForPage(const std::string& page, int visit) const;

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

  bool ContinueOnRefusal() const { return continueOnRefusal_; }
  int MaxRefusals() const { return maxRefusals_; }

 private:
  class Parser;

  struct BoxAnswers {
    std::vector<std::string> answers;
    std::size_t next = 0;
  };

  // Visit 0 is the section for every visit.
  std::map<std::pair<std::string, int>, PageAnswers> pages_;
  std::map<std::string, BoxAnswers> boxes_;
  bool continueOnRefusal_ = false;
  int maxRefusals_ = 3;
};
