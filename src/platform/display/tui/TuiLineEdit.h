// The text being typed into an editor before it is committed: cursor moves,
// insertion with the editor's rules (digits only, maximum length), and what
// the field shows (one '*' per character of a password, scrolled so that the
// cursor stays in sight).
#pragma once

#include <string>

class TuiLineEdit {
 public:
  TuiLineEdit() = default;
  TuiLineEdit(std::string text, int maxCharacters, bool numeric, bool password);

  const std::string& Text() const { return text_; }
  int Cursor() const { return cursor_; }
  bool Modified() const { return modified_; }

  // False (nothing changes) when the editor's rules refuse the character.
  bool Insert(const std::string& character);
  void DeleteBefore();
  void DeleteAt();
  void Left();
  void Right();
  void Home();
  void End();
  void KillToEnd();
  // The whole text goes: what is typed next stands alone.
  void Clear();
  // The text counts as typed even if no key changed it (a refused password
  // emptied stays empty when the field is left).
  void MarkModified() { modified_ = true; }

  // width characters as shown, and the cursor's column in them.
  std::string Visible(int width, int& cursorColumn) const;

 private:
  std::string text_;
  int cursor_ = 0;
  int maxCharacters_ = 0;
  bool numeric_ = false;
  bool password_ = false;
  bool modified_ = false;
};
