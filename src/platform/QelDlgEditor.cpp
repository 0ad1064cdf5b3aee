// Editor text as lines, and the path a person's input takes.
#include "QelDlgEditor.h"

#include <algorithm>

#include "QelInputListener.h"

namespace {

std::size_t CharacterCount(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

QelUnicodeString QelDlgEditor::GetText() const {
  std::string text;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (i) text += '\n';
    text += lines_[i].str();
  }
  return text;
}

void QelDlgEditor::SetText(const QelUnicodeString& text) {
  lines_.clear();
  const std::string& whole = text.str();
  std::size_t start = 0;
  while (true) {
    const std::size_t end = whole.find('\n', start);
    lines_.emplace_back(whole.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  if (whole.empty()) lines_.clear();
  Changed();
}

QelUnicodeString QelDlgEditor::GetLine(int line) const {
  return line >= 1 && line <= GetLineCount() ? lines_[line - 1] : QelUnicodeString();
}

void QelDlgEditor::SetLine(int line, const QelUnicodeString& text) {
  if (line < 1) return;
  if (line > GetLineCount()) lines_.resize(line);
  lines_[line - 1] = text;
  Changed();
}

void QelDlgEditor::ClearLine(int line) {
  if (line < 1 || line > GetLineCount()) return;
  lines_.erase(lines_.begin() + (line - 1));
  Changed();
}

bool QelDlgEditor::CommitText(const QelUnicodeString& text, std::string* refusal) {
  const auto refuse = [refusal](std::string why) {
    if (refusal) *refusal = std::move(why);
    return false;
  };
  if (maxCharacters_ > 0 && CharacterCount(text.str()) > static_cast<std::size_t>(maxCharacters_)) {
    return refuse("longer than " + std::to_string(maxCharacters_) + " characters");
  }
  if (IsNumeric() && !std::all_of(text.str().begin(), text.str().end(),
                                  [](char c) { return c >= '0' && c <= '9'; })) {
    return refuse("not a number (digits only)");
  }
  if (verify_ && verify_(text, verifyData_) == 0) {
    return refuse("refused by the field's check (a character or a length it does not take)");
  }
  SetText(text);
  if (QelInputListener* listener = QelGetInputListener()) listener->WidgetSet(this);
  if (input_) input_(text, inputData_);
  modify_.Send();
  return true;
}
