// The front-end interface: what a display (terminal or response file) is
// told about the model, and how the loop asks it for input.
#pragma once

#include <memory>
#include <string>

class QelDialog;
class QelDlgObject;
class QelDlgNotify;

class QelDisplay {
 public:
  virtual ~QelDisplay() = default;

  virtual void DialogShown(QelDialog*) {}
  virtual void DialogHidden(QelDialog*) {}
  virtual void ObjectChanged(QelDlgObject*) {}
  // A modal question: returns the pressed-button value.
  virtual int DisplayBlocked(QelDlgNotify* notice) = 0;
  virtual void UpdateDisplay() {}
  virtual void SetBusyCursor() {}

  // Input that is ready now: the loop does not block while there is some.
  virtual bool HasPendingInput() { return false; }
  virtual void ProcessInput() {}
  // The loop is about to wait with no idle work and no input: a front end
  // that knows nothing more will come acts now (true) instead of waiting.
  virtual bool BeforeWaiting() { return false; }
  // A descriptor whose readiness means input (the terminal), or -1.
  virtual int InputDescriptor() const { return -1; }

  // The database layer has played one more statement (executed it, or
  // written it into the DDL file).
  virtual void StatementPlayed() {}

  // The process is about to end with status; outcome says why in words.
  virtual void ApplicationEnding(int /*status*/, const std::string& /*outcome*/) {}
};

QelDisplay* QelGetDisplay();
// Replaces the display; null removes it.
void QelSetDisplay(std::unique_ptr<QelDisplay> display);
