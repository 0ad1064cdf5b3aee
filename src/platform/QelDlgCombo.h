// Combo boxes: a list of lines with one selected line (0-based, -1 for
// none) and an entry field that shows a text of its own; a combo may let a
// person type that text when the list misses what they need.
#pragma once

#include <string>
#include <vector>

#include "QelDlgObject.h"
#include "QelNotification.h"

class QelDlgCombo : public QelDlgObject {
 public:
  using QelDlgObject::QelDlgObject;
  const char* GetKind() const override { return "combo"; }

  int GetNbrOfLines() const { return static_cast<int>(lines_.size()); }
  QelUnicodeString GetLine(int line) const;
  void AddLine(const QelUnicodeString& text);
  void ClearLines();

  int GetSelectedPosition() const { return selected_; }
  QelUnicodeString GetSelectedLine() const { return GetLine(selected_); }
  // Selects a line; with notify, the select notification is sent as for a
  // person's choice. Out-of-range lines are ignored.
  void SetSelectedPosition(int line, bool notify);
  // A person's choice of a line: ignored when insensitive, hidden or out of
  // range; otherwise selected and notified.
  void ChooseLine(int line);

  void SetField(const QelUnicodeString& text);
  const QelUnicodeString& GetField() const { return field_; }

  // Lets a person type the field's text. typingLine, when given, is the
  // line that stands for "a name the list does not hold": choosing it is
  // where a person goes on to type.
  void OfferEntryField(const QelUnicodeString& typingLine = QelUnicodeString());
  bool HasEntryField() const { return entryField_; }
  bool IsTypingLine(int line) const;
  // A person's typed text: ignored (false, the reason in refusal) without an
  // entry field, when insensitive or hidden, or for a text holding control
  // characters. Otherwise the field takes the text, the first line of that
  // text is selected (none, -1, when no line has it), and the select
  // notification is sent as for a chosen line, so the page's handler runs
  // once on the whole text.
  bool EnterText(const QelUnicodeString& text, std::string* refusal = nullptr);

  QelNotification* GetSelectNotification() { return &select_; }

 private:
  std::vector<QelUnicodeString> lines_;
  int selected_ = -1;
  QelUnicodeString field_;
  bool entryField_ = false;
  QelUnicodeString typingLine_;
  QelNotification select_{this};
};
