// Combo boxes: a list of lines with one selected line (0-based, -1 for
// none) and an entry field that shows a text of its own.
#pragma once

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

  QelNotification* GetSelectNotification() { return &select_; }

 private:
  std::vector<QelUnicodeString> lines_;
  int selected_ = -1;
  QelUnicodeString field_;
  QelNotification select_{this};
};
