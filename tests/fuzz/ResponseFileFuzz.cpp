// Fuzzes the response-file reader: a refused file is told with its path and
// a line it has; a read one answers every page, widget and box it names
// without failing; one that passes the check against the program's own
// pages names only what exists, so a silent run can replay all of it.
#include <algorithm>
#include <array>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "FuzzController.h"
#include "FuzzSupport.h"
#include "platform/display/script/ResponseCatalogue.h"
#include "platform/display/script/ResponseFile.h"

namespace {

constexpr const char* Reader = "response file";
constexpr int Visits = 3;

const ResponseCatalogue& Catalogue() {
  static const ResponseCatalogue catalogue = [] {
    fuzz::Controller();
    return ResponseCatalogue::FromModel();
  }();
  return catalogue;
}

// The names between brackets at the start of a line, as the file may mean
// them: the sections a run will ask for, whatever the reader made of them.
std::set<std::string> BracketedNames(std::string_view text) {
  std::set<std::string> names;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = text.substr(start, end - start);
    const std::size_t open = line.find('[');
    const std::size_t close = line.find(']');
    if (open != std::string_view::npos && close != std::string_view::npos && open < close) {
      const std::string_view name = line.substr(open + 1, close - open - 1);
      names.emplace(name.substr(0, name.find('#')));
    }
    start = end + 1;
  }
  return names;
}

void ExpectLocatedError(const std::string& error, const std::string& path, std::string_view text) {
  fuzz::Expect(error.compare(0, path.size() + 1, path + ":") == 0, Reader,
               "error without the path");
  std::size_t position = path.size() + 1;
  long line = 0;
  while (position < error.size() && error[position] >= '0' && error[position] <= '9' &&
         line < 1'000'000'000) {
    line = line * 10 + (error[position++] - '0');
  }
  const long lines = static_cast<long>(std::count(text.begin(), text.end(), '\n')) + 1;
  fuzz::Expect(line >= 1 && line <= lines, Reader, "error on line " + std::to_string(line));
}

bool IsAnswer(const std::string& answer) {
  static const std::array<std::string, 5> answers = {"", "OK", "Cancel", "Yes", "No"};
  return std::find(answers.begin(), answers.end(), answer) != answers.end();
}

// What a run asks of the file, page by page and box by box.
void Replay(ResponseFile& file, const std::set<std::string>& names, bool checked) {
  static const std::array<std::string, 5> buttons = {"", "Next", "Back", "Cancel", "Close"};
  std::set<std::string> pages = names;
  for (const auto& [page, widgets] : Catalogue().pages) pages.insert(page);
  for (const std::string& page : pages) {
    for (int visit = 1; visit <= Visits; ++visit) {
      const PageAnswers* answers = file.ForPage(page, visit);
      if (!answers) continue;
      fuzz::Expect(std::find(buttons.begin(), buttons.end(), answers->button) != buttons.end(),
                   Reader, "page " + page + ": a button no page has");
      for (const WidgetAnswer& answer : answers->widgets) {
        const std::string expanded = ResponseFile::ExpandVariables(answer.value);
        fuzz::Expect(answer.value.find('$') != std::string::npos || expanded == answer.value,
                     Reader, "a value without variables changed by their expansion");
        if (!checked) continue;
        const auto known = Catalogue().pages.find(page);
        fuzz::Expect(known != Catalogue().pages.end() && known->second.count(answer.widget) == 1,
                     Reader, "a checked file sets a widget the program lacks");
      }
    }
  }
  std::set<std::string> classes = names;
  classes.insert(Catalogue().boxClasses.begin(), Catalogue().boxClasses.end());
  for (const std::string& boxClass : classes) {
    for (std::size_t position = 0; position < 4; ++position) {
      fuzz::Expect(
          IsAnswer(file.BoxAnswer(boxClass, position)) && IsAnswer(file.NextBoxAnswer(boxClass)),
          Reader, "box " + boxClass + ": an answer no box has");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Catalogue();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string path = fuzz::WriteScratchFile("fuzz.rsp", data, size);
  std::string error;
  const std::unique_ptr<ResponseFile> file = ResponseFile::Load(path, error);
  if (!file) {
    // A file without a single answer is said as such, with no line to point at.
    if (error == "response file " + path + " is empty") return 0;
    ExpectLocatedError(error, path, text);
    return 0;
  }
  const std::set<std::string> names = BracketedNames(text);
  std::string checkError;
  const bool checked = file->Check(Catalogue(), checkError);
  if (!checked) ExpectLocatedError(checkError, path, text);
  Replay(*file, names, checked);
  fuzz::Expect(file->MaxRefusals() >= 1 && file->MaxRefusals() <= 100, Reader, "max-refusals");
  return 0;
}
