// Editing on characters (code points) so a multi-byte letter is one step of
// the cursor and one '*' in a password.
#include "TuiLineEdit.h"

#include "TuiText.h"

TuiLineEdit::TuiLineEdit(std::string text, int maxCharacters, bool numeric, bool password)
    : text_(std::move(text)),
      cursor_(TuiWidth(text_)),
      maxCharacters_(maxCharacters),
      numeric_(numeric),
      password_(password) {}

bool TuiLineEdit::Insert(const std::string& character) {
  if (character.empty()) return false;
  if (numeric_ && (character.size() != 1 || character[0] < '0' || character[0] > '9')) return false;
  if (maxCharacters_ > 0 && TuiWidth(text_) >= maxCharacters_) return false;
  text_ = TuiHead(text_, cursor_) + character + TuiTail(text_, cursor_);
  ++cursor_;
  modified_ = true;
  return true;
}

void TuiLineEdit::DeleteBefore() {
  if (cursor_ == 0) return;
  text_ = TuiHead(text_, cursor_ - 1) + TuiTail(text_, cursor_);
  --cursor_;
  modified_ = true;
}

void TuiLineEdit::DeleteAt() {
  if (cursor_ >= TuiWidth(text_)) return;
  text_ = TuiHead(text_, cursor_) + TuiTail(text_, cursor_ + 1);
  modified_ = true;
}

void TuiLineEdit::Left() {
  if (cursor_ > 0) --cursor_;
}

void TuiLineEdit::Right() {
  if (cursor_ < TuiWidth(text_)) ++cursor_;
}

void TuiLineEdit::Home() {
  cursor_ = 0;
}

void TuiLineEdit::End() {
  cursor_ = TuiWidth(text_);
}

void TuiLineEdit::KillToEnd() {
  if (cursor_ >= TuiWidth(text_)) return;
  text_ = TuiHead(text_, cursor_);
  modified_ = true;
}

void TuiLineEdit::Clear() {
  text_.clear();
  cursor_ = 0;
  modified_ = true;
}

std::string TuiLineEdit::Visible(int width, int& cursorColumn) const {
  const std::string shown = password_ ? std::string(TuiWidth(text_), '*') : text_;
  // Keep the cursor on the last column at most; the head scrolls out.
  const int first = cursor_ >= width ? cursor_ - width + 1 : 0;
  cursorColumn = cursor_ - first;
  return TuiPad(TuiTail(shown, first), width);
}
