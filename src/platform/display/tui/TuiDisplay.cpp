// Life cycle of the terminal front end and what it is told about the model:
// which pages and boxes are shown (the last shown on top), what changed, and
// when the loop lets it draw or read keys.
#include "TuiDisplay.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../../QelApplication.h"
#include "../../QelDlgCombo.h"
#include "../../QelDlgEditor.h"
#include "../../QelDlgNotify.h"
#include "../../QelResponseWords.h"
#include "../../QelRunNotes.h"
#include "../script/Transcript.h"
#include "TuiCurses.h"
#include "TuiFocus.h"
#include "TuiHotkeys.h"

namespace {

// Often enough for a bar that moves smoothly, rarely enough that drawing
// costs the installation nothing worth measuring.
constexpr auto DrawInterval = std::chrono::milliseconds(50);

// The label beside a field, without its trailing colon and blanks.
std::string FieldCaption(const QelDlgObject* field) {
  const QelDlgObject* parent = field->GetParent();
  if (!parent) return {};
  for (const auto& sibling : parent->GetChildren()) {
    if (sibling->GetRow() != field->GetRow() || sibling->GetColumn() != 0) continue;
    if (std::string(sibling->GetKind()) != "label") continue;
    std::string caption = sibling->GetTitle().str();
    while (!caption.empty() && (caption.back() == ' ' || caption.back() == ':')) caption.pop_back();
    return caption;
  }
  return {};
}

}  // namespace

// The second process starts on a page reached with the first one's answers.
QelTuiDisplay::QelTuiDisplay() : answered_(std::getenv("FATHERPID") != nullptr) {}

QelTuiDisplay::~QelTuiDisplay() {
  if (QelApplication* application = QelApplication::MainApplication())
    application->UnwatchDescriptor(STDIN_FILENO);
  terminal_.Stop();
}

bool QelTuiDisplay::Start() {
  if (!terminal_.Start()) return false;
  if (QelApplication* application = QelApplication::MainApplication())
    application->WatchDescriptor(STDIN_FILENO, [this] { ReadKeys(true); });
  return true;
}

void QelTuiDisplay::DialogShown(QelDialog* dialog) {
  if (auto* notice = dynamic_cast<QelDlgNotify*>(dialog)) {
    std::erase(notices_, notice);
    notices_.push_back(notice);
  } else if (auto* page = dynamic_cast<QelDlgDialog*>(dialog)) {
    if (CurrentPage() != page) {
      DropTyping(page);
      CommitEdit();
    }
    std::erase(pages_, page);
    pages_.push_back(page);
    // The status page comes and goes between steps: its clock keeps running.
    shownAt_.emplace(page, std::chrono::steady_clock::now());
    scroll_[page] = 0;
    // Each visit starts on the first field, as a person expects.
    focus_.erase(page);
    if (overlay_.page && overlay_.page != page) overlay_ = {};
    QelTranscript::Record(
        "page", {{"page", page->GetCommandName().str()}, {"visit", page->GetVisitCount()}});
  }
  busy_ = false;
  dirty_ = true;
}

void QelTuiDisplay::DialogRaised(QelDialog* dialog) {
  auto* page = dynamic_cast<QelDlgDialog*>(dialog);
  if (!page || dynamic_cast<QelDlgNotify*>(dialog) || CurrentPage() == page) return;
  DropTyping(page);
  CommitEdit();
  std::erase(pages_, page);
  pages_.push_back(page);
  dirty_ = true;
}

void QelTuiDisplay::DialogHidden(QelDialog* dialog) {
  if (typing_ && typing_->GetDialog() == dialog) typing_ = nullptr;
  if (editing_ && editing_->GetDialog() == dialog) CommitEdit();
  if (openCombo_.combo && openCombo_.combo->GetDialog() == dialog) openCombo_ = {};
  std::erase(pages_, dialog);
  std::erase(notices_, dialog);
  if (dynamic_cast<QelDlgNotify*>(dialog)) focus_.erase(dialog);
  dirty_ = true;
}

void QelTuiDisplay::ObjectChanged(QelDlgObject* object) {
  // A handler wrote back into the field being typed (upper-casing, a
  // trailing slash): the field shows the program's text unless the person
  // has typed since.
  if (object == editing_ && !edit_.Modified()) {
    edit_ = TuiLineEdit(editing_->GetText().str(), editing_->GetMaxCharacterWidth(),
                        editing_->IsNumeric(), editing_->IsPassword());
  }
  dirty_ = true;
}

void QelTuiDisplay::UpdateDisplay() {
  DrawIfDue();
}

void QelTuiDisplay::SetBusyCursor() {
  busy_ = true;
  dirty_ = true;
  DrawIfDue();
}

void QelTuiDisplay::IdleCallDone() {
  DrawIfDue();
}

bool QelTuiDisplay::BeforeWaiting() {
  if (terminal_.IsReleased()) return false;
  // A resize arrives as a key; it may be pending without input to wake on.
  ReadKeys(false);
  busy_ = false;
  // Not only what was marked: wiring a button's handler marks nothing, and
  // the page must not wait with a stale button row.
  Draw();
  return false;
}

void QelTuiDisplay::DrawIfDue() {
  if (terminal_.IsReleased() || !terminal_.IsStarted()) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastDraw_ < DrawInterval) return;
  // The busy indicator turns even when nothing else changed.
  const QelApplication* application = QelApplication::MainApplication();
  if (!dirty_ && !busy_ && !(application && application->HasIdleWork())) return;
  Draw();
}

void QelTuiDisplay::ReleaseTerminal() {
  CommitEdit();
  if (!terminal_.IsReleased() && terminal_.IsStarted()) {
    // Until the son draws, the screen says what is going on.
    erase();
    const std::string waiting = "Starting the second part of the wizard ...";
    mvaddstr(LINES / 2, std::max(0, (COLS - static_cast<int>(waiting.size())) / 2),
             waiting.c_str());
    refresh();
  }
  if (QelApplication* application = QelApplication::MainApplication())
    application->UnwatchDescriptor(STDIN_FILENO);
  terminal_.Release();
}

void QelTuiDisplay::ReclaimTerminal() {
  if (!terminal_.IsReleased()) return;
  terminal_.Reclaim();
  if (QelApplication* application = QelApplication::MainApplication())
    application->WatchDescriptor(STDIN_FILENO, [this] { ReadKeys(true); });
  dirty_ = true;
  Draw();
}

bool QelTuiDisplay::HoldsTerminal() const {
  return terminal_.IsStarted() && !terminal_.IsReleased();
}

void QelTuiDisplay::ApplicationEnding(int status, const std::string& outcome) {
  if (QelApplication* application = QelApplication::MainApplication())
    application->UnwatchDescriptor(STDIN_FILENO);
  terminal_.Stop();
  QelTranscript::Record("exit", {{"status", status}, {"outcome", outcome}});
  // The son's end is told by the father, which also knows how the run ends
  // (the son's line would be overwritten when the father leaves the
  // alternate screen); a failure is told on stderr by the program itself.
  // A close is told as one, so that nobody takes it for a crash.
  const bool son = std::getenv("FATHERPID") != nullptr;
  // Once an installation (or its checks) ran, the program's own last line
  // tells its outcome with the counts and the logs.
  std::string installed;
  std::string line;
  const bool told = QelInstallOutcome(installed, line);
  if (!son && closedByKey_) {
    std::printf(
        "tessardbsetup: the wizard was closed at your request; nothing was installed "
        "(exit status %d)\n",
        status);
  } else if (!son && !told && (status == 0 || status == 2) && !outcome.empty()) {
    std::printf("tessardbsetup: %s (exit status %d)\n", outcome.c_str(), status);
  }
  std::fflush(stdout);
}

QelDlgDialog* QelTuiDisplay::CurrentPage() const {
  for (auto page = pages_.rbegin(); page != pages_.rend(); ++page) {
    if ((*page)->IsVisible()) return *page;
  }
  return nullptr;
}

QelDlgNotify* QelTuiDisplay::CurrentNotice() const {
  if (!blocked_.empty()) return blocked_.back().notice;
  return notices_.empty() ? nullptr : notices_.back();
}

std::vector<QelDlgDialog::Button> QelTuiDisplay::Buttons(QelDlgDialog* page) const {
  // Only buttons the controller wired are shown: the status page has only
  // Cancel, the wait page none.
  std::vector<QelDlgDialog::Button> buttons;
  for (const auto button : {QelDlgDialog::OK, QelDlgDialog::CANCEL, QelDlgDialog::APPLY}) {
    if (page->GetButtonNotification(button)->HasHandlers()) buttons.push_back(button);
  }
  return buttons;
}

std::vector<QelTuiDisplay::Focus> QelTuiDisplay::FocusRing(QelDlgDialog* page,
                                                           const TuiLayout& layout) const {
  std::vector<Focus> ring;
  for (QelDlgObject* widget : TuiFocusOrder(layout)) ring.push_back({widget, -1});
  for (const auto button : Buttons(page)) {
    if (page->IsButtonSensitive(button)) ring.push_back({nullptr, button});
  }
  return ring;
}

QelTuiDisplay::Focus& QelTuiDisplay::PageFocus(QelDlgDialog* page) {
  return focus_[page];
}

void QelTuiDisplay::SettleFocus(QelDlgDialog* page, const TuiLayout& layout) {
  // A widget greyed out or hidden under the focus hands it on to the next
  // one a person can use.
  const std::vector<Focus> ring = FocusRing(page, layout);
  Focus& focus = PageFocus(page);
  if (std::find(ring.begin(), ring.end(), focus) != ring.end()) return;
  Focus next;
  if (!ring.empty()) next = ring.front();
  // On a page without fields the default button is where Enter goes.
  const int defaultButton = DefaultButtonOf(page);
  if (!ring.empty() && !ring.front().widget && defaultButton >= 0) {
    for (const Focus& candidate : ring) {
      if (candidate.button == defaultButton) next = candidate;
    }
  }
  focus = next;
  FocusChanged();
}

void QelTuiDisplay::FocusChanged() {
  QelDlgDialog* page = CurrentPage();
  QelDlgObject* widget = page ? PageFocus(page).widget : nullptr;
  if (widget) lastField_[page] = widget;
  replaceOnType_ = false;
  if (typing_ && typing_ != widget) typing_ = nullptr;
  auto* editor = dynamic_cast<QelDlgEditor*>(widget);
  if (editor && editor->IsMultiLine()) editor = nullptr;
  if (editor == editing_) return;
  editing_ = editor;
  if (editor) {
    edit_ = TuiLineEdit(editor->GetText().str(), editor->GetMaxCharacterWidth(),
                        editor->IsNumeric(), editor->IsPassword());
  }
}

int QelTuiDisplay::DefaultButtonOf(QelDlgDialog* page) const {
  switch (page->GetDefaultButton()) {
    case QelDlgDialog::OKButtonValue:
      return QelDlgDialog::OK;
    case QelDlgDialog::CANCELButtonValue:
      return QelDlgDialog::CANCEL;
    case QelDlgDialog::APPLYButtonValue:
      return QelDlgDialog::APPLY;
    default:
      return -1;
  }
}

int QelTuiDisplay::BodyHeight() const {
  // Title bar and a blank line above; buttons, hint line and a blank below.
  return std::max(1, LINES - 5);
}

int QelTuiDisplay::BodyWidth() const {
  return std::max(1, COLS - 4);
}

TuiLayout QelTuiDisplay::PageLayout(QelDlgDialog* page) const {
  return TuiLayOut(page, BodyWidth(), BodyHeight());
}

bool QelTuiDisplay::CommitEdit() {
  if (!CommitTyping()) return false;
  QelDlgEditor* editor = editing_;
  if (!editor || !edit_.Modified()) return true;
  const std::string text = edit_.Text();
  // The handlers run on the whole text once, as after a person left the
  // field; a refused text leaves the old one.
  const bool accepted = editor->CommitText(text);
  QelTranscript::Record("set", {{"page", editor->GetDialog()->GetCommandName().str()},
                                {"widget", editor->GetCommandName().str()},
                                {"value", editor->IsPassword() ? "***" : text},
                                {"accepted", accepted ? 1 : 0}});
  answered_ = answered_ || accepted;
  if (editing_ == editor) {
    edit_ = TuiLineEdit(editor->GetText().str(), editor->GetMaxCharacterWidth(),
                        editor->IsNumeric(), editor->IsPassword());
  }
  if (!accepted) {
    const std::string caption = FieldCaption(editor);
    message_ = (caption.empty() ? std::string("This field") : "\"" + caption + "\"") +
               " refused the text typed; it keeps its previous value.";
  }
  dirty_ = true;
  return accepted;
}

void QelTuiDisplay::DropTyping(const QelDlgDialog* shown) {
  // Committing would run the combo's handler, which shows its own page
  // again, in the middle of another page being shown: what was typed on a
  // page that is left without its button is not an answer.
  if (typing_ && typing_->GetDialog() != shown) typing_ = nullptr;
}

bool QelTuiDisplay::CommitTyping() {
  QelDlgCombo* combo = typing_;
  if (!combo || !typed_.Modified()) return true;
  // Nothing is pending once the model has the text: its handler may show
  // boxes and pages that commit again.
  typing_ = nullptr;
  std::string refusal;
  const bool accepted = combo->EnterText(typed_.Text(), &refusal);
  answered_ = answered_ || accepted;
  if (!accepted) {
    const std::string caption = FieldCaption(combo);
    message_ = (caption.empty() ? std::string("This field") : "\"" + caption + "\"") +
               " refused the text typed: " + refusal + ".";
  }
  dirty_ = true;
  return accepted;
}

std::vector<std::string> QelTuiDisplay::RowCaptions(QelDlgDialog* page) const {
  std::vector<std::string> captions;
  for (const auto button : Buttons(page))
    captions.emplace_back(QelDlgDialog::GetButtonCaption(button));
  captions.emplace_back("Help");
  return captions;
}

bool QelTuiDisplay::CloseAsks() const {
  return answered_ || (editing_ && edit_.Modified()) || (typing_ && typed_.Modified());
}

void QelTuiDisplay::FocusAfterBox(QelDlgNotify* notice) {
  QelDlgDialog* page = CurrentPage();
  if (!page || notice->IsYesNo() || notice->HasCancel()) return;
  // Only a box shown over this page while it stays: one after which the
  // program moved on is about nothing the person can still correct.
  if (notice->GetFather() && notice->GetFather() != page) return;
  const TuiLayout layout = PageLayout(page);
  const auto last = lastField_.find(page);
  QelDlgObject* field = TuiFocusAfterBox(TuiFocusOrder(layout), notice->GetSubject(),
                                         last == lastField_.end() ? nullptr : last->second);
  if (!field) return;
  FocusField(page, field, field == notice->GetSubject());
}

void QelTuiDisplay::FocusField(QelDlgDialog* page, QelDlgObject* field, bool refused) {
  PageFocus(page) = Focus{field, -1};
  // The editor's text is read again: the box's handler may have changed it.
  editing_ = nullptr;
  FocusChanged();
  if (!refused || !editing_) return;
  if (editing_->IsPassword()) {
    // A refused password is typed again from scratch: appended to the one
    // refused it would be refused again, unseen behind the stars.
    edit_ = TuiLineEdit("", editing_->GetMaxCharacterWidth(), editing_->IsNumeric(), true);
    edit_.MarkModified();
  } else {
    replaceOnType_ = !edit_.Text().empty();
  }
  dirty_ = true;
}
