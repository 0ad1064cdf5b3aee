// Silent runs: a page is answered once per visit, in the order of the
// response file, through the same widget paths a keystroke takes, so the
// page handlers run exactly as for a person. A text a field refuses, or a
// page that is not left after its button was pressed, is a refused answer;
// the run then ends unless the file asks to go on, and a page refused again
// and again ends it anyway. A button that cannot be pressed ends the run
// too: nothing a silent run waits for can make it usable.
#include "ScriptDisplay.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "../../QelApplication.h"
#include "../../QelDialog.h"
#include "../../QelDlgCombo.h"
#include "../../QelDlgEditor.h"
#include "../../QelDlgNotify.h"
#include "../../QelDlgToggle.h"
#include "../../QelResponseWords.h"
#include "../../QelSecureFile.h"
#include "ResponseCatalogue.h"
#include "Transcript.h"

namespace {

std::string Name(const QelDlgObject* object) {
  return object->GetCommandName().str();
}

bool IsErrorNotice(const QelDlgNotify* notice) {
  return !notice->IsYesNo() && !notice->HasCancel();
}

// A response file names answers by what a person reads on the buttons;
// an answer the box does not offer falls to its nearest meaning.
int AnswerValue(const QelDlgNotify* notice, const std::string& answer) {
  const bool negative = answer == QelResponseWords::Cancel || answer == QelResponseWords::No;
  if (notice->IsYesNo()) return negative ? QelDlgNotify::NoValue : QelDlgNotify::YesValue;
  if (notice->HasCancel()) return negative ? QelDlgNotify::CancelValue : QelDlgNotify::OkValue;
  return QelDlgNotify::OkValue;
}

QelDlgDialog::Button ButtonOf(const std::string& name) {
  if (name == QelResponseWords::Back) return QelDlgDialog::OK;
  if (name == QelResponseWords::Cancel) return QelDlgDialog::APPLY;
  return QelDlgDialog::CANCEL;
}

}  // namespace

QelScriptDisplay::QelScriptDisplay(std::unique_ptr<ResponseFile> answers)
    : answers_(std::move(answers)),
      cancelsAfterStatements_(answers_ && answers_->CancelsAfterStatements()) {
  // The processes of one run count a page's answers together, so that
  // "[Page#2]" means the page's second answer even when a new son gives it.
  if (const char* state = std::getenv("TESSARDBSETUP_RESPONSE_STATE"); state && *state) {
    statePath_ = state;
    LoadState();
  } else {
    std::string pattern = "/tmp/tessardbsetup-answers.XXXXXX";
    const int descriptor = mkstemp(pattern.data());
    if (descriptor >= 0) {
      close(descriptor);
      statePath_ = pattern;
      ownsState_ = true;
      setenv("TESSARDBSETUP_RESPONSE_STATE", statePath_.c_str(), 1);
    }
  }
}

QelScriptDisplay::~QelScriptDisplay() {
  if (!ownsState_) return;
  unlink(statePath_.c_str());
  unsetenv("TESSARDBSETUP_RESPONSE_STATE");
}

void QelScriptDisplay::LoadState() {
  // Another process of the run may have answered pages since: its counts
  // are as real as this process's own.
  std::ifstream file(statePath_);
  std::string page;
  int count = 0;
  while (file >> page >> count) presses_[page] = std::max(presses_[page], count);
}

void QelScriptDisplay::SaveState() {
  if (statePath_.empty()) return;
  std::string content;
  for (const auto& [page, count] : presses_) content += page + " " + std::to_string(count) + "\n";
  std::string error;
  if (QelWriteFileAtomically(statePath_, content, 0600, error) == 0 || stateLost_) return;
  stateLost_ = true;
  Report("the count of the answers given cannot be saved, so another process of the run may " +
         std::string("answer a page as on its earlier visits: ") + error);
}

void QelScriptDisplay::DialogShown(QelDialog* dialog) {
  if (!dynamic_cast<QelDlgDialog*>(dialog)) return;
  if (!checked_) {
    checked_ = true;
    std::string error;
    if (!answers_->Check(ResponseCatalogue::FromModel(), error)) Fail(error);
  }
  if (stopped_) return;
  playedAtShow_[dialog] = played_;
  QelTranscript::Record("page", {{"page", Name(dialog)}, {"visit", dialog->GetVisitCount()}});
}

const PageAnswers* QelScriptDisplay::AnswersFor(const std::string& page) const {
  const auto presses = presses_.find(page);
  return answers_->ForPage(page, (presses == presses_.end() ? 0 : presses->second) + 1);
}

bool QelScriptDisplay::CanPress(QelDlgDialog* page, const std::string& button) const {
  if (button == QelResponseWords::Close) return page->GetWindCloseNotification()->HasHandlers();
  const QelDlgDialog::Button which = ButtonOf(button);
  return page->IsButtonSensitive(which) && page->GetButtonNotification(which)->HasHandlers();
}

bool QelScriptDisplay::Unanswered(QelDlgDialog* page) {
  return page->IsVisible() && (page->GetVisitCount() > answeredVisit_[page] || retry_[page]);
}

QelDlgDialog* QelScriptDisplay::PendingPage() {
  for (QelDialog* dialog : QelDialog::AllDialogs()) {
    auto* page = dynamic_cast<QelDlgDialog*>(dialog);
    if (!page || !Unanswered(page)) continue;
    // A page without a usable Next waits (the report page, until the
    // outcome is known); a button the file names is answered at once, so
    // that its being greyed out is reported.
    const PageAnswers* answers = AnswersFor(Name(page));
    if (answers && answers->cancelAfterStatements >= 0) continue;
    if ((answers && !answers->button.empty()) || CanPress(page, QelResponseWords::Next))
      return page;
  }
  return nullptr;
}

QelDlgDialog* QelScriptDisplay::PageToCancel() {
  // Asked between any two statements: a file that cancels nothing answers
  // at once, without looking at every page.
  if (!cancelsAfterStatements_) return nullptr;
  for (QelDialog* dialog : QelDialog::AllDialogs()) {
    auto* page = dynamic_cast<QelDlgDialog*>(dialog);
    if (!page || !page->IsVisible() || page->GetVisitCount() <= answeredVisit_[page]) continue;
    const PageAnswers* answers = AnswersFor(Name(page));
    if (answers && answers->cancelAfterStatements >= 0 &&
        played_ - playedAtShow_[page] >= answers->cancelAfterStatements &&
        CanPress(page, QelResponseWords::Cancel)) {
      return page;
    }
  }
  return nullptr;
}

QelDlgNotify* QelScriptDisplay::PendingNotice() const {
  for (QelDialog* dialog : QelDialog::AllDialogs()) {
    auto* notice = dynamic_cast<QelDlgNotify*>(dialog);
    if (notice && notice->IsVisible()) return notice;
  }
  return nullptr;
}

bool QelScriptDisplay::HasPendingInput() {
  if (stopped_) return false;
  // A person may press the status page's Cancel while statements are being
  // played: the press comes between two of them.
  if (PageToCancel()) return true;
  // Nothing else is answered while the program works: a button made usable
  // in the middle of a chain of steps (the report's, during a rollback)
  // waits for the chain's end, as anybody reading the screen would.
  const QelApplication* application = QelApplication::MainApplication();
  if (application && application->HasIdleWork()) return false;
  return PendingNotice() || PendingPage();
}

void QelScriptDisplay::ProcessInput() {
  if (QelDlgDialog* page = PageToCancel()) {
    CancelAfterStatements(page);
  } else if (QelDlgNotify* notice = PendingNotice()) {
    AnswerNotice(notice);
  } else if (QelDlgDialog* page = PendingPage()) {
    AnswerPage(page);
  }
}

int QelScriptDisplay::Answer(QelDlgNotify* notice) {
  // A class's answers go in the order of the run, whichever process shows
  // the box, as a record of the run writes them: its boxes are counted
  // with the pages, under "@<class>".
  if (!statePath_.empty()) LoadState();
  const std::string answer =
      answers_->BoxAnswer(Name(notice), static_cast<std::size_t>(presses_["@" + Name(notice)]++));
  SaveState();
  const int value = answer.empty() ? notice->DefaultAnswer() : AnswerValue(notice, answer);
  QelTranscript::Record("box", {{"class", Name(notice)},
                                {"title", notice->GetTitle().str()},
                                {"text", notice->GetText().str()},
                                {"answer", QelResponseWords::AnswerOf(*notice, value)}});
  return value;
}

QelDlgDialog* QelScriptDisplay::PageOfferingCancel() const {
  for (QelDialog* dialog : QelDialog::AllDialogs()) {
    auto* page = dynamic_cast<QelDlgDialog*>(dialog);
    if (page && page->IsVisible() && CanPress(page, QelResponseWords::Cancel)) return page;
  }
  return nullptr;
}

bool QelScriptDisplay::BeforeWaiting() {
  if (stopped_) return false;
  // A page that offers Cancel waits for a person, and a silent run has none.
  if (QelDlgDialog* page = PageOfferingCancel()) {
    if (cancelledVisit_[page] == page->GetVisitCount()) {
      Fail(Name(page) + " stalled and its Cancel was not confirmed: the run stops");
      return true;
    }
    std::string message = Name(page) + " stalled with nothing left to do";
    const PageAnswers* answers = Unanswered(page) ? AnswersFor(Name(page)) : nullptr;
    if (answers && answers->cancelAfterStatements >= 0) {
      message += " after " + std::to_string(played_ - playedAtShow_[page]) + " of the " +
                 std::to_string(answers->cancelAfterStatements) + " statements to Cancel after";
    }
    CannotPress(page, message + ": cancelled");
    return true;
  }
  // A shown page whose buttons are all greyed once its answer was given
  // waits for another process (the son); one still to be answered would
  // wait for ever.
  for (QelDialog* dialog : QelDialog::AllDialogs()) {
    auto* page = dynamic_cast<QelDlgDialog*>(dialog);
    if (page && Unanswered(page)) {
      Fail(Name(page) + " shows no button that can be pressed, and nothing runs: the run stops");
      return true;
    }
  }
  return false;
}

void QelScriptDisplay::AnswerNotice(QelDlgNotify* notice) {
  Answer(notice);
  notice->PressOK();
}

int QelScriptDisplay::DisplayBlocked(QelDlgNotify* notice) {
  const int value = Answer(notice);
  if (pressing_ && IsErrorNotice(notice) && !refusal_) {
    refusal_ = Refusal{notice->GetTitle().str(), notice->GetText().str()};
  }
  return value;
}

const PageAnswers* QelScriptDisplay::BeginAnswer(QelDlgDialog* page) {
  const std::string name = Name(page);
  if (!statePath_.empty()) LoadState();
  const int visit = ++presses_[name];
  SaveState();
  answeredVisit_[page] = page->GetVisitCount();
  retry_[page] = false;
  return answers_->ForPage(name, visit);
}

void QelScriptDisplay::AnswerPage(QelDlgDialog* page) {
  const std::string name = Name(page);
  const PageAnswers* answers = BeginAnswer(page);
  const std::vector<WidgetAnswer> none;
  for (const WidgetAnswer& answer : answers ? answers->widgets : none) {
    std::string reason;
    const Setting setting =
        SetWidget(page, answer.widget, ResponseFile::ExpandVariables(answer.value), reason);
    const std::string where = answers_->Name() + ":" + std::to_string(answer.line) + ": ";
    if (setting == Setting::Impossible) return Fail(where + name + ": " + reason);
    if (setting == Setting::Refused) {
      return RefusedText(page, name + " refused the answer for " + answer.widget + " (" +
                                   answers_->Name() + " line " + std::to_string(answer.line) +
                                   "): " + reason);
    }
  }
  const bool given = answers && !answers->button.empty();
  const std::string button = given ? answers->button : QelResponseWords::Next;
  if (!CanPress(page, button)) {
    CannotPress(page, given ? answers_->Name() + ":" + std::to_string(answers->buttonLine) + ": " +
                                  name + ": the button " + button +
                                  " cannot be pressed (greyed out, or not on this page)"
                            : name + " stalled with nothing left to do: cancelled");
    return;
  }
  const int visitBefore = page->GetVisitCount();
  Press(page, button);
  AfterPress(page, visitBefore, button);
}

void QelScriptDisplay::CancelAfterStatements(QelDlgDialog* page) {
  BeginAnswer(page);
  const long played = played_ - playedAtShow_[page];
  QelTranscript::Record(
      "button",
      {{"page", Name(page)}, {"button", QelResponseWords::Cancel}, {"statements", played}});
  // Whatever the confirmation box answers, this was the visit's answer: a
  // Cancel that is not confirmed lets the installation go on.
  Push(page, QelResponseWords::Cancel);
}

QelScriptDisplay::Setting QelScriptDisplay::SetWidget(QelDlgDialog* page, const std::string& name,
                                                      const std::string& value,
                                                      std::string& reason) {
  QelDlgObject* object = page->FindObject(name);
  if (!object || object == page) {
    reason = "the page has no widget " + name;
    return Setting::Impossible;
  }
  if (!object->IsEffectivelyVisible() || !object->IsEffectivelySensitive()) {
    reason = name + " cannot be changed now (hidden or greyed out)";
    return Setting::Impossible;
  }
  if (auto* editor = dynamic_cast<QelDlgEditor*>(object)) {
    const bool accepted = editor->CommitText(value, &reason);
    QelTranscript::Record("set", {{"page", Name(page)},
                                  {"widget", name},
                                  {"value", editor->IsPassword() ? "***" : value},
                                  {"accepted", accepted ? 1 : 0}});
    return accepted ? Setting::Set : Setting::Refused;
  }
  if (auto* combo = dynamic_cast<QelDlgCombo*>(object)) {
    int line = -1;
    const bool lineNumber = value.size() > 1 && value[0] == '#';
    if (lineNumber) {
      line = std::atoi(value.c_str() + 1) - 1;
    } else {
      for (int i = 0; i < combo->GetNbrOfLines(); ++i) {
        if (combo->GetLine(i).str() == value) line = i;
      }
    }
    if (line < 0 && !lineNumber && combo->HasEntryField()) {
      // A name the list misses, typed into the field as a person would.
      const bool accepted = combo->EnterText(value, &reason);
      QelTranscript::Record("set", {{"page", Name(page)},
                                    {"widget", name},
                                    {"value", value},
                                    {"typed", 1},
                                    {"accepted", accepted ? 1 : 0}});
      return accepted ? Setting::Set : Setting::Refused;
    }
    if (line < 0 || line >= combo->GetNbrOfLines()) {
      QelTranscript::Record(
          "set", {{"page", Name(page)}, {"widget", name}, {"value", value}, {"accepted", 0}});
      reason = "no line '" + value + "' (its lines:";
      for (int i = 0; i < combo->GetNbrOfLines(); ++i) {
        reason += (i ? ", '" : " '") + combo->GetLine(i).str() + "'";
      }
      reason += combo->GetNbrOfLines() ? ")" : " none)";
      return Setting::Refused;
    }
    QelTranscript::Record(
        "set", {{"page", Name(page)}, {"widget", name}, {"value", combo->GetLine(line).str()}});
    combo->ChooseLine(line);
    return Setting::Set;
  }
  // Check has made sure a check button is given checked or unchecked, and
  // a radio button checked.
  if (auto* toggle = dynamic_cast<QelDlgToggle*>(object)) {
    QelTranscript::Record("set", {{"page", Name(page)}, {"widget", name}, {"value", value}});
    if (toggle->IsChecked() != (value == QelResponseWords::Checked)) toggle->Click();
    return Setting::Set;
  }
  reason = name + " is a " + object->GetKind() + ", which takes no answer";
  return Setting::Impossible;
}

void QelScriptDisplay::RefusedText(QelDlgDialog* page, const std::string& message) {
  // The button is not pressed: the page would be left with the field's
  // earlier value, an answer the file never gave.
  if (!answers_->ContinueOnRefusal()) return Fail(message);
  Report(message);
  if (Stayed(Name(page))) retry_[page] = true;
}

void QelScriptDisplay::CannotPress(QelDlgDialog* page, const std::string& message) {
  // Another page may be the one that can end the run (the status page
  // under a greyed report page).
  QelDlgDialog* cancel = CanPress(page, QelResponseWords::Cancel) ? page : PageOfferingCancel();
  if (!cancel || cancelledVisit_[cancel] == cancel->GetVisitCount()) return Fail(message);
  Report(message);
  cancelledVisit_[cancel] = cancel->GetVisitCount();
  answeredVisit_[cancel] = cancel->GetVisitCount();
  // This page is answered again once the Cancel's work is done, and ends
  // the run then if its button still cannot be pressed.
  if (cancel != page) retry_[page] = true;
  Press(cancel, QelResponseWords::Cancel);
}

void QelScriptDisplay::Press(QelDlgDialog* page, const std::string& button) {
  QelTranscript::Record("button", {{"page", Name(page)}, {"button", button}});
  Push(page, button);
}

void QelScriptDisplay::Push(QelDlgDialog* page, const std::string& button) {
  refusal_.reset();
  pressing_ = true;
  if (button == QelResponseWords::Close) {
    page->RequestClose();
  } else {
    page->PressButton(ButtonOf(button));
  }
  pressing_ = false;
}

void QelScriptDisplay::AfterPress(QelDlgDialog* page, int visitBefore, const std::string& button) {
  const std::string name = Name(page);
  QelApplication* application = QelApplication::MainApplication();
  if (application && application->IsDestroyed()) return;
  const bool stayed =
      page->IsVisible() && page->GetVisitCount() == visitBefore &&
      (button == QelResponseWords::Close || page->IsButtonSensitive(ButtonOf(button)));
  if (!stayed) {
    stays_[name] = 0;
    return;
  }
  if (refusal_ && !answers_->ContinueOnRefusal()) {
    if (refusal_->title.empty() && refusal_->text.empty()) {
      return Fail(name + " refused the answers (its message has no text: is the catalogue " +
                  "missing?): " + DescribeAnswers(page));
    }
    return Fail(name + " refused the answers: " + refusal_->title + ": " + refusal_->text);
  }
  if (Stayed(name)) retry_[page] = true;
}

std::string QelScriptDisplay::DescribeAnswers(QelDlgDialog* page) const {
  const std::string name = Name(page);
  const auto visit = presses_.find(name);
  const PageAnswers* answers =
      visit == presses_.end() ? nullptr : answers_->ForPage(name, visit->second);
  std::string described;
  for (const WidgetAnswer& answer : answers ? answers->widgets : std::vector<WidgetAnswer>{}) {
    const auto* editor = dynamic_cast<const QelDlgEditor*>(page->FindObject(answer.widget));
    described += (described.empty() ? "" : ", ") + answer.widget + " = '" +
                 (editor && editor->IsPassword() ? "***" : answer.value) + "'";
  }
  return described.empty() ? "no widget was set" : described;
}

bool QelScriptDisplay::Stayed(const std::string& page) {
  const int stays = ++stays_[page];
  if (stays < answers_->MaxRefusals()) return true;
  Fail(page + " was not left after " + std::to_string(stays) +
       " answers in a row; the run stops instead of looping");
  return false;
}

void QelScriptDisplay::Report(const std::string& message) {
  std::fprintf(stderr, "tessardbsetup: %s\n", message.c_str());
  QelTranscript::Record("error", {{"message", message}});
}

void QelScriptDisplay::Fail(const std::string& message) {
  Report(message);
  stopped_ = true;
  if (QelApplication* application = QelApplication::MainApplication())
    application->Abort(2, "stopped: " + message);
}

void QelScriptDisplay::ApplicationEnding(int status, const std::string& outcome) {
  QelTranscript::Record("exit", {{"status", status}, {"outcome", outcome}});
}
