// Silent runs: a page is answered once per visit, in the order of the
// response file, through the same widget paths a keystroke takes, so the
// page handlers run exactly as for a person. A page that is not left after
// its button was pressed has been refused; the run then ends unless the
// file asks to go on, and a page refused again and again ends it anyway.
#include "ScriptDisplay.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "../../QelApplication.h"
#include "../../QelDialog.h"
#include "../../QelDlgCombo.h"
#include "../../QelDlgEditor.h"
#include "../../QelDlgNotify.h"
#include "../../QelDlgToggle.h"
#include "../../QelSecureFile.h"
#include "Transcript.h"

namespace {

std::string Name(const QelDlgObject* object) {
  return object->GetCommandName().str();
}

bool IsErrorNotice(const QelDlgNotify* notice) {
  return !notice->IsYesNo() && !notice->HasCancel();
}

std::string AnswerWord(const QelDlgNotify* notice, int value) {
  switch (value) {
    case QelDlgNotify::CancelValue:
      return "Cancel";
    case QelDlgNotify::YesValue:
      return "Yes";
    case QelDlgNotify::NoValue:
      return "No";
    default:
      return notice->IsYesNo() ? "Yes" : "OK";
  }
}

// A response file names answers by what a person reads on the buttons;
// an answer the box does not offer falls to its nearest meaning.
int AnswerValue(const QelDlgNotify* notice, const std::string& answer) {
  const bool negative = answer == "Cancel" || answer == "No";
  if (notice->IsYesNo()) return negative ? QelDlgNotify::NoValue : QelDlgNotify::YesValue;
  if (notice->HasCancel()) return negative ? QelDlgNotify::CancelValue : QelDlgNotify::OkValue;
  return QelDlgNotify::OkValue;
}

QelDlgDialog::Button ButtonOf(const std::string& name) {
  if (name == "Back") return QelDlgDialog::OK;
  if (name == "Cancel") return QelDlgDialog::APPLY;
  return QelDlgDialog::CANCEL;
}

}  // namespace

QelScriptDisplay::QelScriptDisplay(std::unique_ptr<ResponseFile> answers)
    : answers_(std::move(answers)) {
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

void QelScriptDisplay::SaveState() const {
  if (statePath_.empty()) return;
  std::string content;
  for (const auto& [page, count] : presses_) content += page + " " + std::to_string(count) + "\n";
  std::string error;
  QelWriteFileAtomically(statePath_, content, 0600, error);
}

void QelScriptDisplay::DialogShown(QelDialog* dialog) {
  if (dynamic_cast<QelDlgDialog*>(dialog)) {
    QelTranscript::Record("page", {{"page", Name(dialog)}, {"visit", dialog->GetVisitCount()}});
  }
}

const PageAnswers* QelScriptDisplay::AnswersFor(const std::string& page) const {
  const auto presses = presses_.find(page);
  return answers_->ForPage(page, (presses == presses_.end() ? 0 : presses->second) + 1);
}

std::string QelScriptDisplay::ButtonFor(const std::string& page) const {
  const PageAnswers* answers = AnswersFor(page);
  return answers && !answers->button.empty() ? answers->button : "Next";
}

bool QelScriptDisplay::CanPress(QelDlgDialog* page, const std::string& button) const {
  if (button == "Close") return page->GetWindCloseNotification()->HasHandlers();
  const QelDlgDialog::Button which = ButtonOf(button);
  return page->IsButtonSensitive(which) && page->GetButtonNotification(which)->HasHandlers();
}

QelDlgDialog* QelScriptDisplay::PendingPage() {
  for (QelDialog* dialog : QelDialog::AllDialogs()) {
    auto* page = dynamic_cast<QelDlgDialog*>(dialog);
    if (!page || !page->IsVisible()) continue;
    const bool newVisit = page->GetVisitCount() > answeredVisit_[page];
    if ((newVisit || retry_[page]) && CanPress(page, ButtonFor(Name(page)))) return page;
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
  // Nothing is answered while the program works: a button made usable in
  // the middle of a chain of steps (the report's, during a rollback) waits
  // for the chain's end, as anybody reading the screen would.
  const QelApplication* application = QelApplication::MainApplication();
  if (application && application->HasIdleWork()) return false;
  return PendingNotice() || PendingPage();
}

void QelScriptDisplay::ProcessInput() {
  if (QelDlgNotify* notice = PendingNotice()) {
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
                                {"answer", AnswerWord(notice, value)}});
  return value;
}

bool QelScriptDisplay::BeforeWaiting() {
  for (QelDialog* dialog : QelDialog::AllDialogs()) {
    auto* page = dynamic_cast<QelDlgDialog*>(dialog);
    if (!page || !page->IsVisible() || !CanPress(page, "Cancel")) continue;
    // A page whose buttons are all greyed waits for another process; one
    // that offers Cancel waits for a person, and a silent run has none.
    const std::string message = Name(page) + " stalled with nothing left to do: cancelled";
    std::fprintf(stderr, "tessardbsetup: %s\n", message.c_str());
    QelTranscript::Record("error", {{"message", message}});
    Press(page, "Cancel");
    return true;
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

void QelScriptDisplay::AnswerPage(QelDlgDialog* page) {
  const std::string name = Name(page);
  if (!statePath_.empty()) LoadState();
  const int visit = ++presses_[name];
  SaveState();
  const PageAnswers* answers = answers_->ForPage(name, visit);
  answeredVisit_[page] = page->GetVisitCount();
  retry_[page] = false;
  textRefused_ = false;
  if (answers) {
    for (const auto& [widget, value] : answers->widgets) {
      std::string reason;
      if (!SetWidget(page, widget, ResponseFile::ExpandVariables(value), reason)) {
        Fail("response file, " + name + " (line " + std::to_string(answers->line) + "): " + reason);
        return;
      }
    }
  }
  const std::string button = answers && !answers->button.empty() ? answers->button : "Next";
  const int visitBefore = page->GetVisitCount();
  Press(page, button);
  AfterPress(page, visitBefore, button);
}

bool QelScriptDisplay::SetWidget(QelDlgDialog* page, const std::string& name,
                                 const std::string& value, std::string& reason) {
  QelDlgObject* object = page->FindObject(name);
  if (!object || object == page) {
    reason = "the page has no widget " + name;
    return false;
  }
  if (!object->IsEffectivelyVisible() || !object->IsEffectivelySensitive()) {
    reason = name + " cannot be changed now (hidden or greyed out)";
    return false;
  }
  if (auto* editor = dynamic_cast<QelDlgEditor*>(object)) {
    const bool accepted = editor->CommitText(value);
    QelTranscript::Record("set", {{"page", Name(page)},
                                  {"widget", name},
                                  {"value", editor->IsPassword() ? "***" : value},
                                  {"accepted", accepted ? 1 : 0}});
    if (!accepted) textRefused_ = true;
    return true;
  }
  if (auto* combo = dynamic_cast<QelDlgCombo*>(object)) {
    int line = -1;
    if (value.size() > 1 && value[0] == '#') {
      line = std::atoi(value.c_str() + 1) - 1;
    } else {
      for (int i = 0; i < combo->GetNbrOfLines(); ++i) {
        if (combo->GetLine(i).str() == value) line = i;
      }
    }
    if (line < 0 || line >= combo->GetNbrOfLines()) {
      reason = name + " has no line " + value + " (lines:";
      for (int i = 0; i < combo->GetNbrOfLines(); ++i)
        reason += " '" + combo->GetLine(i).str() + "'";
      reason += ")";
      return false;
    }
    QelTranscript::Record(
        "set", {{"page", Name(page)}, {"widget", name}, {"value", combo->GetLine(line).str()}});
    combo->ChooseLine(line);
    return true;
  }
  if (auto* toggle = dynamic_cast<QelDlgToggle*>(object)) {
    const bool radio = dynamic_cast<QelDlgRadioButton*>(toggle) != nullptr;
    if (value != "checked" && (radio || value != "unchecked")) {
      reason = name + " takes " + (radio ? "'checked'" : "'checked' or 'unchecked'") + ", not '" +
               value + "'";
      return false;
    }
    QelTranscript::Record("set", {{"page", Name(page)}, {"widget", name}, {"value", value}});
    if (toggle->IsChecked() != (value == "checked")) toggle->Click();
    return true;
  }
  reason = name + " is a " + object->GetKind() + ", which takes no answer";
  return false;
}

void QelScriptDisplay::Press(QelDlgDialog* page, const std::string& button) {
  QelTranscript::Record("button", {{"page", Name(page)}, {"button", button}});
  refusal_.reset();
  pressing_ = true;
  if (button == "Close") {
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
  const bool stayed = page->IsVisible() && page->GetVisitCount() == visitBefore &&
                      (button == "Close" || page->IsButtonSensitive(ButtonOf(button)));
  if (!stayed) {
    stays_[name] = 0;
    return;
  }
  const int stays = ++stays_[name];
  const bool refused = refusal_ || textRefused_;
  if (refused && !answers_->ContinueOnRefusal()) {
    Fail(refusal_ ? name + " refused the answers: " + refusal_->title + ": " + refusal_->text
                  : name + " refused a text typed into one of its fields");
    return;
  }
  if (stays >= answers_->MaxRefusals()) {
    Fail(name + " was not left after " + std::to_string(stays) +
         " presses in a row; the run stops instead of looping");
    return;
  }
  retry_[page] = true;
}

void QelScriptDisplay::Fail(const std::string& message) {
  std::fprintf(stderr, "tessardbsetup: %s\n", message.c_str());
  QelTranscript::Record("error", {{"message", message}});
  if (QelApplication* application = QelApplication::MainApplication())
    application->Abort(2, "stopped: " + message);
}

void QelScriptDisplay::ApplicationEnding(int status, const std::string& outcome) {
  QelTranscript::Record("exit", {{"status", status}, {"outcome", outcome}});
}
