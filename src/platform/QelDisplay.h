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
  // A shown dialog was shown again: it comes to the front.
  virtual void DialogRaised(QelDialog*) {}
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
  // An idle call has just returned: a front end may draw what changed (it
  // throttles itself so that drawing never slows the work down).
  virtual void IdleCallDone() {}

  // Another process is about to be given the terminal: the display neither
  // draws nor reads it until ReclaimTerminal.
  virtual void ReleaseTerminal() {}
  virtual void ReclaimTerminal() {}
  // The display draws on the terminal and reads it now: a child process
  // started meanwhile must neither write over the screen nor take keys.
  virtual bool HoldsTerminal() const { return false; }

  // The database layer has played one more statement (executed it, or
  // written it into the DDL file).
  virtual void StatementPlayed() {}

  // The process is about to end with status; outcome says why in words.
  virtual void ApplicationEnding(int /*status*/, const std::string& /*outcome*/) {}
};

QelDisplay* QelGetDisplay();
// The program may tell the front end where the run stands on a page (for a
// title line such as "DB2 - step 6 of 11"); empty when it does not know.
using QelPageStanding = std::string (*)(const QelDialog* page);
void QelSetPageStanding(QelPageStanding standing);
std::string QelGetPageStanding(const QelDialog* page);
// The program may give a front end the help text of a page (what the page
// decides and what its fields take); empty when it has none.
using QelPageHelp = std::string (*)(const QelDialog* page);
void QelSetPageHelp(QelPageHelp help);
std::string QelGetPageHelp(const QelDialog* page);
// Replaces the display; null removes it.
void QelSetDisplay(std::unique_ptr<QelDisplay> display);
