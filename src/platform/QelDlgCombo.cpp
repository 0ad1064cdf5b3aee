// Combo lines and selection.
#include "QelDlgCombo.h"

#include "QelInputListener.h"

QelUnicodeString QelDlgCombo::GetLine(int line) const {
  return line >= 0 && line < GetNbrOfLines() ? lines_[line] : QelUnicodeString();
}

void QelDlgCombo::AddLine(const QelUnicodeString& text) {
  lines_.push_back(text);
  Changed();
}

void QelDlgCombo::ClearLines() {
  lines_.clear();
  selected_ = -1;
  field_ = QelUnicodeString();
  Changed();
}

void QelDlgCombo::SetSelectedPosition(int line, bool notify) {
  if (line < 0 || line >= GetNbrOfLines()) return;
  selected_ = line;
  field_ = lines_[line];
  Changed();
  if (notify) select_.Send();
}

void QelDlgCombo::SetField(const QelUnicodeString& text) {
  field_ = text;
  Changed();
}

void QelDlgCombo::ChooseLine(int line) {
  if (!IsEffectivelySensitive() || !IsEffectivelyVisible()) return;
  if (line < 0 || line >= GetNbrOfLines()) return;
  SetSelectedPosition(line, false);
  if (QelInputListener* listener = QelGetInputListener()) listener->WidgetSet(this);
  select_.Send();
}

void QelDlgCombo::OfferEntryField(const QelUnicodeString& typingLine) {
  entryField_ = true;
  typingLine_ = typingLine;
  Changed();
}

bool QelDlgCombo::IsTypingLine(int line) const {
  return entryField_ && !typingLine_.str().empty() && line >= 0 && line < GetNbrOfLines() &&
         lines_[line].Compare(typingLine_) == 2;
}

bool QelDlgCombo::EnterText(const QelUnicodeString& text, std::string* refusal) {
  const auto refuse = [refusal](std::string why) {
    if (refusal) *refusal = std::move(why);
    return false;
  };
  if (!entryField_) return refuse("takes only one of its lines, not a typed text");
  if (!IsEffectivelySensitive() || !IsEffectivelyVisible()) {
    return refuse("cannot be changed now (hidden or greyed out)");
  }
  // A name is one line: a line break or a tab would reach the settings file
  // and the generated scripts as typed.
  for (const char c : text.str()) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
      return refuse("a typed text holds no control characters");
    }
  }
  selected_ = -1;
  for (int line = 0; line < GetNbrOfLines() && selected_ < 0; ++line) {
    if (lines_[line].Compare(text) == 2) selected_ = line;
  }
  field_ = text;
  Changed();
  if (QelInputListener* listener = QelGetInputListener()) listener->WidgetSet(this);
  select_.Send();
  return true;
}
