// Keys. Every handler turns a key into the model's own operations (a commit,
// a click, a selection, a button press) and returns reaction flags; none of
// them draws. What is drawn follows from the model's change marks.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cwchar>

#include "../../QelApplication.h"
#include "../../QelDlgCombo.h"
#include "../../QelDlgEditor.h"
#include "../../QelDlgNotify.h"
#include "../../QelDlgToggle.h"
#include "../../QelResponseWords.h"
#include "../script/Transcript.h"
#include "TuiCurses.h"
#include "TuiDisplay.h"
#include "TuiHotkeys.h"
#include "TuiText.h"

namespace {

constexpr int Escape = 27;
constexpr int Tab = '\t';
constexpr int ControlA = 1;
constexpr int ControlE = 5;
constexpr int ControlK = 11;
constexpr int ControlU = 21;
constexpr int Delete = 127;
// Type-ahead in a list starts again after this pause.
constexpr auto TypeAheadPause = std::chrono::milliseconds(1000);
// Reads of a readable terminal that give nothing: the terminal has gone.
constexpr int SilentReadsBeforeHangUp = 50;

bool IsEnter(int key) {
  return key == '\r' || key == '\n' || key == KEY_ENTER;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string Utf8(wint_t character) {
  char buffer[MB_LEN_MAX] = {};
  std::mbstate_t state{};
  const std::size_t length = std::wcrtomb(buffer, static_cast<wchar_t>(character), &state);
  return length == static_cast<std::size_t>(-1) ? std::string() : std::string(buffer, length);
}

// One key as read: a function or control key, or a printable character.
struct ReadKey {
  int key = 0;
  std::string character;
};

// The next key already typed, without waiting; none when there is none.
bool NextKey(ReadKey& read) {
  wint_t character = 0;
  const int kind = wget_wch(stdscr, &character);
  if (kind == ERR) return false;
  const bool function = kind == KEY_CODE_YES;
  const bool printable = !function && character >= 32 && character != Delete;
  read.key = function || !printable ? static_cast<int>(character) : 0;
  read.character = printable ? Utf8(character) : std::string();
  return true;
}

}  // namespace

void QelTuiDisplay::ReadKeys(bool readable) {
  if (terminal_.IsReleased()) return;
  nodelay(stdscr, TRUE);
  int reaction = Ignored;
  bool any = false;
  ReadKey read;
  ReadKey following;
  bool pending = false;
  // One key at a time: keys typed ahead of a press that hands the terminal
  // to the son stay unread, for the son.
  while (pending || NextKey(read)) {
    if (pending) read = following;
    pending = false;
    any = true;
    bool alt = false;
    // Alt+letter arrives as Esc and the letter at once; Esc alone has
    // nothing behind it.
    if (read.key == Escape && NextKey(following)) {
      if (following.character.empty()) {
        pending = true;
      } else {
        read = following;
        alt = true;
      }
    }
    reaction |= HandleKey(read.key, read.character, alt);
    if (terminal_.IsReleased()) break;
    const QelApplication* application = QelApplication::MainApplication();
    if (application && application->IsDestroyed()) break;
  }
  if (any) silentReads_ = 0;
  if (readable && !any && ++silentReads_ > SilentReadsBeforeHangUp) {
    // Readable but empty, again and again: the terminal is gone (a killed
    // father's son loses it). Nobody can answer any more.
    if (QelApplication* application = QelApplication::MainApplication())
      application->Abort(2, "the terminal went away");
  }
  if (reaction & Redraw) dirty_ = true;
}

int QelTuiDisplay::HandleKey(int key, const std::string& character, bool alt) {
  // Space is both a character (in a field) and a key (on a button).
  if (key == 0 && character == " " && !alt) key = ' ';
  const bool tooSmall = COLS < TuiMinimumColumns || LINES < TuiMinimumLines;
  if (key == KEY_RESIZE) {
    dirty_ = true;
    if (tooSmall || heldKeys_.empty()) return Redraw;
    // What was typed while nothing could be shown acts now, in order.
    std::vector<HeldKey> held;
    held.swap(heldKeys_);
    int reaction = Redraw;
    for (const HeldKey& typed : held) reaction |= HandleKey(typed.key, typed.character, typed.alt);
    return reaction;
  }
  // Too small to show anything: keys would act on what nobody sees, so they
  // wait until it is large enough again.
  if (tooSmall) {
    heldKeys_.push_back({key, character, alt});
    dirty_ = true;
    return Redraw;
  }
  if (!message_.empty()) {
    message_.clear();
    dirty_ = true;
  }
  busy_ = false;
  if (overlay_.kind != OverlayKind::None) return OverlayKey(key, character) | Redraw;
  if (QelDlgNotify* notice = CurrentNotice()) return NoticeKey(notice, key, character) | Redraw;
  if (openCombo_.combo) return ComboKey(key, character) | Redraw;
  QelDlgDialog* page = CurrentPage();
  if (!page) return Ignored;
  return PageKey(page, key, character, alt);
}

int QelTuiDisplay::NoticeKey(QelDlgNotify* notice, int key, const std::string& character) {
  const int buttons = static_cast<int>(BoxButtons(notice).size());
  // In a box every letter is a button's or nothing: there is no field.
  const int hotkey = character.empty() ? -1 : TuiHotkeyButton(BoxButtons(notice), character);
  if (!character.empty() && key != ' ' && hotkey < 0) beep();
  if (!blocked_.empty() && blocked_.back().notice == notice) {
    Box& box = blocked_.back();
    if (hotkey >= 0) {
      box.selected = hotkey;
      box.answer = BoxValue(notice, hotkey);
    } else if (key == KEY_LEFT || key == KEY_BTAB || key == KEY_UP) {
      box.selected = (box.selected + buttons - 1) % buttons;
    } else if (key == KEY_RIGHT || key == Tab || key == KEY_DOWN) {
      box.selected = (box.selected + 1) % buttons;
    } else if (IsEnter(key) || key == ' ') {
      box.answer = BoxValue(notice, box.selected);
    } else if (key == Escape || key == KEY_F(10)) {
      box.answer = BoxValue(notice, buttons - 1);
    }
    return Handled | Redraw;
  }
  // A box shown without blocking has only OK; the work behind it goes on.
  if (IsEnter(key) || key == ' ' || key == Escape || hotkey >= 0) notice->PressOK();
  return Handled | Redraw;
}

int QelTuiDisplay::ComboKey(int key, const std::string& character) {
  QelDlgCombo* combo = openCombo_.combo;
  const int lines = combo->GetNbrOfLines();
  int& highlighted = openCombo_.highlighted;
  if (key == KEY_UP) highlighted = std::max(0, highlighted - 1);
  if (key == KEY_DOWN) highlighted = std::min(lines - 1, highlighted + 1);
  if (key == KEY_PPAGE) highlighted = std::max(0, highlighted - 5);
  if (key == KEY_NPAGE) highlighted = std::min(lines - 1, highlighted + 5);
  if (key == KEY_HOME) highlighted = 0;
  if (key == KEY_END) highlighted = lines - 1;
  if (key == Escape || key == Tab || key == KEY_BTAB) {
    openCombo_ = {};
    return Handled;
  }
  if (IsEnter(key)) {
    const int chosen = highlighted;
    openCombo_ = {};
    // The page's own handler runs as for a click in the list.
    answered_ = true;
    combo->ChooseLine(chosen);
    // The line for a name the list misses: the person goes on to type it.
    if (combo->IsTypingLine(chosen) && combo->GetSelectedPosition() == chosen) StartTyping(combo);
    return Handled;
  }
  if (key == KEY_BACKSPACE || key == Delete) {
    if (!openCombo_.typed.empty()) openCombo_.typed.pop_back();
    return Handled;
  }
  if (!character.empty()) {
    const auto now = std::chrono::steady_clock::now();
    if (now - openCombo_.lastTyped > TypeAheadPause) openCombo_.typed.clear();
    openCombo_.lastTyped = now;
    openCombo_.typed += Lower(character);
    for (int line = 0; line < lines; ++line) {
      if (Lower(combo->GetLine(line).str()).starts_with(openCombo_.typed)) {
        highlighted = line;
        break;
      }
    }
  }
  return Handled;
}

int QelTuiDisplay::PageKey(QelDlgDialog* page, int key, const std::string& character, bool alt) {
  if (key == Escape || key == KEY_F(10)) return AskToClose(page);
  if (key == KEY_F(1)) return ShowHelp(page);
  if (alt) {
    if (const int reaction = HotkeyKey(page, character)) return reaction;
    return RefuseCharacter(page);
  }
  const TuiLayout layout = PageLayout(page);
  SettleFocus(page, layout);
  const Focus focus = PageFocus(page);
  if (auto* editor = dynamic_cast<QelDlgEditor*>(focus.widget)) {
    if (editor->IsMultiLine()) {
      if (const int reaction = TextViewKey(editor, key)) return reaction;
    } else {
      // The refused text is selected: typing or deleting replaces it whole,
      // a cursor key keeps it to be corrected.
      if (replaceOnType_ && (!character.empty() || key == KEY_BACKSPACE || key == Delete ||
                             key == '\b' || key == KEY_DC)) {
        replaceOnType_ = false;
        edit_.Clear();
        if (character.empty()) return Handled | Redraw;
      }
      if (key != 0) replaceOnType_ = false;
      if (const int reaction = EditorKey(edit_, key, character)) return reaction;
    }
  }
  if (auto* combo = dynamic_cast<QelDlgCombo*>(focus.widget); combo && combo->HasEntryField()) {
    if (const int reaction = EntryComboKey(page, combo, key, character)) return reaction;
  }
  if (key == Tab || key == KEY_DOWN || (focus.button >= 0 && key == KEY_RIGHT))
    return MoveFocus(page, true);
  if (key == KEY_BTAB || key == KEY_UP || (focus.button >= 0 && key == KEY_LEFT))
    return MoveFocus(page, false);
  if (key == KEY_NPAGE || key == KEY_PPAGE) {
    scroll_[page] += key == KEY_NPAGE ? BodyHeight() / 2 : -BodyHeight() / 2;
    return Handled | Redraw;
  }
  if (auto* combo = dynamic_cast<QelDlgCombo*>(focus.widget)) {
    // Enter stays the default button's, as everywhere outside a text field.
    if (combo->GetNbrOfLines() > 0 && (key == ' ' || key == KEY_F(4) || !character.empty())) {
      openCombo_ = {combo, std::max(0, combo->GetSelectedPosition()), {}, {}};
      if (!character.empty() && character != " ") ComboKey(0, character);
      return Handled | Redraw;
    }
  }
  if (auto* toggle = dynamic_cast<QelDlgToggle*>(focus.widget); toggle && key == ' ') {
    answered_ = true;
    toggle->Click();
    return Handled | Redraw;
  }
  if (focus.button >= 0 && (IsEnter(key) || key == ' ')) {
    PressButton(page, static_cast<QelDlgDialog::Button>(focus.button));
    return Handled | Redraw;
  }
  if (IsEnter(key)) return Activate(page, true);
  if (!character.empty()) {
    if (const int reaction = HotkeyKey(page, character)) return reaction;
    return RefuseCharacter(page);
  }
  return Ignored;
}

int QelTuiDisplay::HotkeyKey(QelDlgDialog* page, const std::string& character) {
  const std::vector<std::string> captions = RowCaptions(page);
  const int index = TuiHotkeyButton(captions, character);
  if (index < 0) return Ignored;
  const std::vector<QelDlgDialog::Button> buttons = Buttons(page);
  if (index == static_cast<int>(buttons.size())) return ShowHelp(page);
  const QelDlgDialog::Button button = buttons[static_cast<std::size_t>(index)];
  if (!page->IsButtonSensitive(button)) {
    beep();
    message_ = captions[static_cast<std::size_t>(index)] + " cannot be pressed on this page now.";
    return Handled | Redraw;
  }
  PressButton(page, button);
  return Handled | Redraw;
}

int QelTuiDisplay::RefuseCharacter(QelDlgDialog* page) {
  beep();
  message_ =
      PageFocus(page).widget
          ? "This field takes no typing: Tab to a text field first, or press a button's letter."
          : "Typing goes into a field: Tab to one first, or press a button's letter.";
  return Handled | Redraw;
}

int QelTuiDisplay::EditorKey(TuiLineEdit& edit, int key, const std::string& character) {
  if (!character.empty()) {
    // The editor's rules refuse a letter in a number field, or one more
    // character than its maximum: the terminal beeps and nothing changes.
    if (!edit.Insert(character)) beep();
    return Handled | Redraw;
  }
  switch (key) {
    case KEY_BACKSPACE:
    case Delete:
    case '\b':
      edit.DeleteBefore();
      break;
    case KEY_DC:
      edit.DeleteAt();
      break;
    case KEY_LEFT:
      edit.Left();
      break;
    case KEY_RIGHT:
      edit.Right();
      break;
    case KEY_HOME:
    case ControlA:
      edit.Home();
      break;
    case KEY_END:
    case ControlE:
      edit.End();
      break;
    case ControlK:
      edit.KillToEnd();
      break;
    case ControlU:
      edit.Home();
      edit.KillToEnd();
      break;
    default:
      return Ignored;
  }
  return Handled | Redraw;
}

int QelTuiDisplay::EntryComboKey(QelDlgDialog* page, QelDlgCombo* combo, int key,
                                 const std::string& character) {
  const bool typing = typing_ == combo;
  // Space opens the list until the person types; then it is a character.
  if (key == KEY_F(4) || (key == ' ' && !typing)) {
    typing_ = nullptr;
    if (combo->GetNbrOfLines() == 0) return Handled | Redraw;
    openCombo_ = {combo, std::max(0, combo->GetSelectedPosition()), {}, {}};
    return Handled | Redraw;
  }
  if (typing && IsEnter(key)) return Activate(page, true);
  // Until the person types, the other keys move on, and Enter on the combo
  // stays the default button's.
  const bool startsTyping =
      !character.empty() || key == KEY_BACKSPACE || key == Delete || key == '\b' || key == ControlU;
  if (!typing && !startsTyping) return Ignored;
  if (!typing) StartTyping(combo);
  return EditorKey(typed_, key, character);
}

void QelTuiDisplay::StartTyping(QelDlgCombo* combo) {
  // A chosen line is replaced by what is typed; a typed name is corrected.
  const bool typedBefore = combo->GetSelectedPosition() < 0;
  typing_ = combo;
  typed_ = TuiLineEdit(typedBefore ? combo->GetField().str() : std::string(), 0, false, false);
}

int QelTuiDisplay::TextViewKey(QelDlgObject* view, int key) {
  int& offset = textScroll_[view];
  const int page = std::max(1, BodyHeight() - 4);
  switch (key) {
    case KEY_UP:
      --offset;
      break;
    case KEY_DOWN:
      ++offset;
      break;
    case KEY_PPAGE:
      offset -= page;
      break;
    case KEY_NPAGE:
      offset += page;
      break;
    case KEY_HOME:
      offset = 0;
      break;
    case KEY_END:
      offset = INT_MAX / 2;
      break;
    default:
      return Ignored;
  }
  // The drawing clamps the offset to the text it shows.
  offset = std::max(0, offset);
  return Handled | Redraw;
}

int QelTuiDisplay::MoveFocus(QelDlgDialog* page, bool forward) {
  CommitEdit();
  // The commit may have run handlers that changed the page.
  if (CurrentPage() != page) return Handled | Redraw;
  const TuiLayout layout = PageLayout(page);
  SettleFocus(page, layout);
  const std::vector<Focus> ring = FocusRing(page, layout);
  if (ring.empty()) return Handled;
  const auto found = std::find(ring.begin(), ring.end(), PageFocus(page));
  const std::size_t index =
      found == ring.end() ? 0 : static_cast<std::size_t>(found - ring.begin());
  const std::size_t size = ring.size();
  PageFocus(page) = ring[forward ? (index + 1) % size : (index + size - 1) % size];
  FocusChanged();
  return Handled | Redraw;
}

int QelTuiDisplay::Activate(QelDlgDialog* page, bool enter) {
  const Focus focus = PageFocus(page);
  // Enter in a field commits it and goes on to the next one.
  const int defaultButton = DefaultButtonOf(page);
  const auto* editor = dynamic_cast<QelDlgEditor*>(focus.widget);
  const bool field = (editor && !editor->IsMultiLine()) || (typing_ && typing_ == focus.widget);
  if (enter && field) {
    MoveFocus(page, true);
    // After the last field Enter waits on the default button, not on the
    // first button of the row (which may be Back).
    if (!PageFocus(page).widget && defaultButton >= 0 &&
        page->IsButtonSensitive(static_cast<QelDlgDialog::Button>(defaultButton)))
      PageFocus(page) = Focus{nullptr, defaultButton};
    return Handled | Redraw;
  }
  if (defaultButton >= 0) PressButton(page, static_cast<QelDlgDialog::Button>(defaultButton));
  return Handled | Redraw;
}

void QelTuiDisplay::PressButton(QelDlgDialog* page, QelDlgDialog::Button button) {
  if (!page->IsButtonSensitive(button) || !page->GetButtonNotification(button)->HasHandlers())
    return;
  // A field refusing its text keeps the page where it is: the person reads
  // why on the hint line first.
  if (!CommitEdit()) return;
  // Cancel answers nothing; Back and Next leave a page with its answers.
  if (button != QelDlgDialog::APPLY) answered_ = true;
  QelTranscript::Record("button", {{"page", page->GetCommandName().str()},
                                   {"button", QelDlgDialog::GetButtonCaption(button)}});
  page->PressButton(button);
  dirty_ = true;
}

void QelTuiDisplay::Close(QelDlgDialog* page) {
  if (!page->GetWindCloseNotification()->HasHandlers()) return;
  openCombo_ = {};
  QelTranscript::Record("button", {{"page", page->GetCommandName().str()}, {"button", "Close"}});
  page->RequestClose();
  dirty_ = true;
}

int QelTuiDisplay::DisplayBlocked(QelDlgNotify* notice) {
  if (terminal_.IsReleased() || !terminal_.IsStarted()) return notice->DefaultAnswer();
  CommitEdit();
  openCombo_ = {};
  // The program's question comes first; the person can ask again after it.
  overlay_ = {};
  blocked_.push_back({notice, 0, 0});
  dirty_ = true;
  int silentReads = 0;
  while (blocked_.back().answer == 0) {
    if (dirty_) Draw();
    nodelay(stdscr, FALSE);
    wint_t character = 0;
    const int kind = wget_wch(stdscr, &character);
    if (kind == ERR) {
      // Interrupted by a signal, or the terminal is gone.
      if (++silentReads > SilentReadsBeforeHangUp)
        blocked_.back().answer = BoxValue(notice, static_cast<int>(BoxButtons(notice).size()) - 1);
      continue;
    }
    silentReads = 0;
    const int key = static_cast<int>(character);
    const bool printable = kind != KEY_CODE_YES && character >= 32 && character != Delete;
    ReadKey read{printable ? 0 : key, printable ? Utf8(character) : std::string()};
    bool alt = false;
    nodelay(stdscr, TRUE);
    ReadKey following;
    if (read.key == Escape && NextKey(following)) {
      if (following.character.empty()) {
        // Esc may answer the box: the key behind it waits for what comes next.
        ungetch(following.key);
      } else {
        read = following;
        alt = true;
      }
    }
    HandleKey(read.key, read.character, alt);
  }
  const int answer = blocked_.back().answer;
  blocked_.pop_back();
  nodelay(stdscr, TRUE);
  dirty_ = true;
  QelTranscript::Record("box", {{"class", notice->GetCommandName().str()},
                                {"title", notice->GetTitle().str()},
                                {"text", notice->GetText().str()},
                                {"answer", QelResponseWords::AnswerOf(*notice, answer)}});
  FocusAfterBox(notice);
  return answer;
}
