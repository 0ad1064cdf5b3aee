// The front end's own boxes over a page: the page's help (F1) and the
// question before Close (Esc, F10) ends the run and loses the answers. Their
// texts come from the front end's catalogue, with English defaults.
#include <algorithm>

#include "../../QelDisplay.h"
#include "../../QelMsgCatalog.h"
#include "../script/Transcript.h"
#include "TuiCurses.h"
#include "TuiDisplay.h"
#include "TuiHotkeys.h"
#include "TuiText.h"

namespace {

constexpr int Escape = 27;
constexpr int Tab = '\t';

std::string Text(const char* key, const char* fallback,
                 const QelListValQelUnicodeString& parameters = {}) {
  return QelMsgCatalog::BuildMessage("QelTuiDisplay", std::string(key) + ".Title", parameters,
                                     fallback)
      .str();
}

bool IsEnter(int key) {
  return key == '\r' || key == '\n' || key == KEY_ENTER;
}

}  // namespace

int QelTuiDisplay::AskToClose(QelDlgDialog* page) {
  if (!page->GetWindCloseNotification()->HasHandlers()) return Handled;
  if (!CloseAsks()) {
    Close(page);
    return Handled | Redraw;
  }
  openCombo_ = {};
  overlay_ = {OverlayKind::CloseQuestion,
              page,
              Text("CLOSEWndTitle", "Close the wizard"),
              Text("CLOSETextToDisplayForCLOSE",
                   "Close the wizard now? Every answer typed so far is lost and nothing is "
                   "installed.\n\nYes closes the wizard; No goes back to the page with all "
                   "its answers."),
              {Text("CLOSEYESBUTTON", "Yes"), Text("CLOSENOBUTTON", "No")},
              // An Esc and an Enter typed in haste keep the answers.
              1,
              0};
  return Handled | Redraw;
}

int QelTuiDisplay::ShowHelp(QelDlgDialog* page) {
  openCombo_ = {};
  std::string help = QelGetPageHelp(page);
  if (help.empty()) {
    help = Text("HELPMissing",
                "No help has been written for this page. Its texts say what it asks; the "
                "wizard's manual page says more.");
  }
  QelListValQelUnicodeString title;
  title.Append(page->GetTitle());
  overlay_ = {OverlayKind::Help,
              page,
              Text("HELPWndTitle", "Help: %1", title),
              help,
              {Text("HELPOKBUTTON", "OK")},
              0,
              0};
  QelTranscript::Record("help", {{"page", page->GetCommandName().str()}});
  return Handled | Redraw;
}

int QelTuiDisplay::OverlayKey(int key, const std::string& character) {
  const int buttons = static_cast<int>(overlay_.buttons.size());
  const int hotkey = character.empty() ? -1 : TuiHotkeyButton(overlay_.buttons, character);
  if (overlay_.kind == OverlayKind::Help) {
    const int page = std::max(1, LINES - 12);
    if (key == KEY_DOWN) ++overlay_.scroll;
    if (key == KEY_UP) --overlay_.scroll;
    if (key == KEY_NPAGE || key == ' ') overlay_.scroll += page;
    if (key == KEY_PPAGE) overlay_.scroll -= page;
    if (key == KEY_HOME) overlay_.scroll = 0;
    // The drawing clamps the scroll to the text.
    overlay_.scroll = std::max(0, overlay_.scroll);
    if (IsEnter(key) || key == Escape || key == KEY_F(1) || key == KEY_F(10) || hotkey >= 0) {
      overlay_ = {};
    } else if (!character.empty() && key != ' ') {
      beep();
    }
    return Handled;
  }
  if (key == KEY_LEFT || key == KEY_BTAB || key == KEY_UP) {
    overlay_.selected = (overlay_.selected + buttons - 1) % buttons;
  } else if (key == KEY_RIGHT || key == Tab || key == KEY_DOWN) {
    overlay_.selected = (overlay_.selected + 1) % buttons;
  } else if (hotkey >= 0) {
    AnswerClose(hotkey == 0);
  } else if (IsEnter(key) || key == ' ') {
    AnswerClose(overlay_.selected == 0);
  } else if (key == Escape || key == KEY_F(10)) {
    // Esc in a box keeps its meaning: the box goes and nothing happens.
    AnswerClose(false);
  } else if (!character.empty()) {
    beep();
  }
  return Handled;
}

void QelTuiDisplay::AnswerClose(bool close) {
  QelDlgDialog* page = overlay_.page;
  overlay_ = {};
  QelTranscript::Record("question", {{"page", page->GetCommandName().str()},
                                     {"question", "close"},
                                     {"answer", close ? "Yes" : "No"}});
  if (!close) return;
  closedByKey_ = true;
  Close(page);
}

void QelTuiDisplay::DrawOverlay() {
  if (overlay_.kind == OverlayKind::None) return;
  DrawBox(overlay_.title, overlay_.text, overlay_.buttons, overlay_.selected, overlay_.scroll);
}
