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
