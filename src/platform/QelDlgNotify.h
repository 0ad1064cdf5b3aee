// Notice windows: the small modal boxes (errors, confirmations, questions).
// DisplayBlocked asks the front end and returns the pressed button.
#pragma once

#include <string>
#include <vector>

#include "QelDialog.h"
#include "QelNotification.h"

class QelDlgNotify : public QelDialog {
 public:
  // Styles, as the framework defines them.
  static constexpr unsigned long OkCancelStyle = 0x200200;
  static constexpr unsigned long YesNoStyle = 0x800200;
  static constexpr unsigned long OkStyle = 0x100200;
  static constexpr unsigned long DirectoryErrorStyle = 0x10000200;
  // Pressed-button values.
  static constexpr int OkValue = 1;
  static constexpr int CancelValue = 2;
  static constexpr int YesValue = 3;
  static constexpr int NoValue = 4;

  // The framework owns notices: Create gives a window that lives until
  // Release, or, for a notice shown without blocking, until its OK
  // notification has been handled or the main application ends.
  static QelDlgNotify* Create(QelDialog* parent, const QelString& name, unsigned long style);
  void Release();
  // Releases every notice still alive, answered or not: their handlers may
  // belong to commands that are gone.
  static void ReleaseAll();

  // The program names, at start-up, every class of notice it can show, so
  // that a front end can check the classes it is told about (a response
  // file's box sections) before any notice exists. Returns name, for the
  // caller's constant.
  static const char* DeclareClass(const char* name);
  // The declared classes, in declaration order.
  static const std::vector<std::string>& DeclaredClasses();

  const char* GetKind() const override { return "notice"; }
  bool IsYesNo() const { return (GetStyle() & YesNoStyle) == YesNoStyle; }
  bool HasCancel() const { return (GetStyle() & OkCancelStyle) == OkCancelStyle; }

  void SetText(const QelUnicodeString& text) { text_ = text; }
  const QelUnicodeString& GetText() const { return text_; }
  void SetOKTitle(const QelUnicodeString& caption) { okCaption_ = caption; }
  void SetCANCELTitle(const QelUnicodeString& caption) { cancelCaption_ = caption; }
  // Captions as shown: the caller's, else the framework's own.
  QelUnicodeString GetOKCaption() const;
  QelUnicodeString GetCANCELCaption() const;

  // Shows the text and title and waits for a button: 1 OK, 2 Cancel, 3 Yes,
  // 4 No. Without a front end the confirming answer is taken.
  int DisplayBlocked(const QelUnicodeString& text, const QelUnicodeString& title);

  QelNotification* GetNfyOKNotification() { return &ok_; }
  // A person presses OK on a notice shown without blocking.
  void PressOK();

  // The value a box of this style gives when nobody chooses.
  int DefaultAnswer() const { return IsYesNo() ? YesValue : OkValue; }

  // The field a box about a refused answer is about: a front end puts the
  // person back there once the box is closed. Null when it names none.
  void SetSubject(QelDlgObject* field) { subject_ = field; }
  QelDlgObject* GetSubject() const { return subject_; }

 private:
  QelDlgNotify(QelDialog* parent, const QelString& name, unsigned long style);

  QelUnicodeString text_;
  QelUnicodeString okCaption_;
  QelUnicodeString cancelCaption_;
  QelDlgObject* subject_ = nullptr;
  QelNotification ok_{this};
};
