// Drawing of a page: the title bar, the laid-out widgets scrolled so that
// the focus stays in sight, the dialog's buttons with the default one
// marked, and a hint line with the keys (or a message about a refused text).

#include <algorithm>
#include <cstdio>

#include "../../QelApplication.h"
#include "../../QelDlgCombo.h"
#include "../../QelDlgEditor.h"
#include "../../QelDlgNotify.h"
#include "../../QelDlgToggle.h"
#include "../../QelDlgWidgets.h"
#include "TuiCurses.h"
#include "TuiDisplay.h"
#include "TuiHotkeys.h"
#include "TuiKeyLine.h"
#include "TuiText.h"

namespace {

constexpr int BodyTop = 2;
constexpr int BodyLeft = 2;
constexpr const char* Spinner = "|/-\\";

void Put(int y, int x, const std::string& text, unsigned long attribute) {
  attrset(static_cast<attr_t>(attribute));
  mvaddstr(y, x, text.c_str());
  attrset(A_NORMAL);
}

std::string Elapsed(std::chrono::steady_clock::duration duration) {
  const long seconds = std::chrono::duration_cast<std::chrono::seconds>(duration).count();
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return text;
}

}  // namespace

void QelTuiDisplay::Draw() {
  if (terminal_.IsReleased() || !terminal_.IsStarted()) return;
  lastDraw_ = std::chrono::steady_clock::now();
  dirty_ = false;
  ++spinner_;
  cursorY_ = cursorX_ = -1;
  erase();
  if (COLS < TuiMinimumColumns || LINES < TuiMinimumLines) {
    DrawTooSmall();
  } else if (QelDlgDialog* page = CurrentPage()) {
    const TuiLayout layout = PageLayout(page);
    SettleFocus(page, layout);
    DrawTitleBar(page);
    DrawBody(page, layout);
    DrawButtons(page);
    DrawHintLine(page);
    if (openCombo_.combo) DrawComboList(layout);
  } else {
    DrawTitleBar(nullptr);
  }
  if (COLS >= TuiMinimumColumns && LINES >= TuiMinimumLines) {
    for (QelDlgNotify* notice : notices_) {
      const bool blocked = !blocked_.empty() && blocked_.back().notice == notice;
      if (!blocked) DrawNotice(notice, 0);
    }
    if (!blocked_.empty()) DrawNotice(blocked_.back().notice, blocked_.back().selected);
    DrawOverlay();
  }
  const bool showCursor =
      cursorY_ >= 0 && !openCombo_.combo && !CurrentNotice() && overlay_.kind == OverlayKind::None;
  curs_set(showCursor ? 1 : 0);
  if (showCursor) move(cursorY_, cursorX_);
  refresh();
}

void QelTuiDisplay::DrawTooSmall() {
  const std::string size = std::to_string(COLS) + "x" + std::to_string(LINES);
  const std::vector<std::string> lines = TuiWrap(
      "The terminal is " + size + ". The wizard needs at least " +
          std::to_string(TuiMinimumColumns) + "x" + std::to_string(TuiMinimumLines) +
          ": please enlarge it. Nothing you typed is lost: " + std::to_string(heldKeys_.size()) +
          " keys typed meanwhile act once the wizard is shown again.",
      std::max(10, COLS - 2));
  int y = std::max(0, (LINES - static_cast<int>(lines.size())) / 2);
  for (const std::string& line : lines) {
    if (y >= LINES) break;
    Put(y++, std::max(0, (COLS - TuiWidth(line)) / 2), line, A_BOLD);
  }
}

void QelTuiDisplay::DrawTitleBar(QelDlgDialog* page) {
  const unsigned long style = terminal_.Attribute(TuiStyle::TitleBar);
  Put(0, 0, std::string(COLS, ' '), style);
  std::string right = page ? QelGetPageStanding(page) : std::string();
  if (right.empty()) right = "tessardbsetup";
  const QelApplication* application = QelApplication::MainApplication();
  if (busy_ || (application && application->HasIdleWork()))
    right = std::string("working ") + Spinner[spinner_ % 4] + "  " + right;
  const int rightWidth = TuiWidth(right);
  const std::string title = page ? page->GetTitle().str() : std::string();
  Put(0, 1, TuiHead(title, std::max(0, COLS - rightWidth - 4)), style);
  Put(0, COLS - rightWidth - 1, right, style);
}

int QelTuiDisplay::ScrollFor(QelDlgDialog* page, const TuiLayout& layout) {
  const int height = BodyHeight();
  int& offset = scroll_[page];
  if (const TuiItem* focused = layout.Find(PageFocus(page).widget)) {
    if (focused->y < offset) offset = focused->y;
    if (focused->y + std::min(focused->height, height) > offset + height)
      offset = focused->y + std::min(focused->height, height) - height;
  }
  offset = std::clamp(offset, 0, std::max(0, layout.height - height));
  return offset;
}

void QelTuiDisplay::DrawBody(QelDlgDialog* page, const TuiLayout& layout) {
  const int offset = ScrollFor(page, layout);
  const int height = BodyHeight();
  const QelDlgObject* focused = PageFocus(page).widget;
  for (const TuiItem& item : layout.items) {
    const int y = BodyTop + item.y - offset;
    if (item.y + item.height <= offset || item.y >= offset + height) continue;
    DrawItem(item, y, item.object == focused);
  }
  const unsigned long hint = terminal_.Attribute(TuiStyle::Hint);
  if (offset > 0) Put(BodyTop - 1, COLS - 10, "^ more ^", hint);
  if (offset + height < layout.height) Put(BodyTop + height, COLS - 10, "v more v", hint);
}

void QelTuiDisplay::DrawItem(const TuiItem& item, int y, bool focused) {
  const bool sensitive = item.object->IsEffectivelySensitive();
  const unsigned long dim = sensitive ? A_NORMAL : terminal_.Attribute(TuiStyle::Dim);
  const int x = BodyLeft + item.x;
  const int bodyEnd = BodyTop + BodyHeight();
  auto lines = [&](const std::vector<std::string>& texts, int left, unsigned long attribute) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
      const int row = y + static_cast<int>(i);
      if (row >= BodyTop && row < bodyEnd) Put(row, left, texts[i], attribute);
    }
  };
  switch (item.kind) {
    case TuiItemKind::FrameTitle:
      lines(item.lines, x, A_BOLD | dim);
      break;
    case TuiItemKind::Label:
      lines(item.lines, x, (item.object->GetStyle() & 0x80000 ? A_BOLD : A_NORMAL) | dim);
      break;
    case TuiItemKind::Editor:
      DrawEditor(item, y, focused);
      break;
    case TuiItemKind::TextView:
      DrawTextView(item, y, focused);
      break;
    case TuiItemKind::Combo: {
      const auto* combo = static_cast<const QelDlgCombo*>(item.object);
      const unsigned long style =
          focused ? terminal_.Attribute(TuiStyle::Focus) : terminal_.Attribute(TuiStyle::Field);
      const int inner = std::max(1, item.width - 4);
      if (focused && combo == typing_) {
        int column = 0;
        Put(y, x, "[" + typed_.Visible(inner, column) + " v]", style | dim);
        cursorY_ = y;
        cursorX_ = x + 1 + column;
        break;
      }
      Put(y, x, "[" + TuiPad(combo->GetField().str(), inner) + " v]", style | dim);
      break;
    }
    case TuiItemKind::CheckButton:
    case TuiItemKind::RadioButton: {
      const auto* toggle = static_cast<const QelDlgToggle*>(item.object);
      const bool radio = item.kind == TuiItemKind::RadioButton;
      const std::string mark =
          radio ? (toggle->IsChecked() ? "(*)" : "( )") : (toggle->IsChecked() ? "[x]" : "[ ]");
      Put(y, x, mark, (focused ? terminal_.Attribute(TuiStyle::Focus) : A_BOLD) | dim);
      lines(item.lines, x + 4, dim);
      if (focused) cursorY_ = y, cursorX_ = x + 1;
      break;
    }
    case TuiItemKind::Separator:
      attrset(static_cast<attr_t>(dim));
      mvhline(y, x, ACS_HLINE, item.width);
      attrset(A_NORMAL);
      break;
    case TuiItemKind::Progress:
      DrawProgress(item, y);
      break;
  }
}

void QelTuiDisplay::DrawEditor(const TuiItem& item, int y, bool focused) {
  const auto* editor = static_cast<const QelDlgEditor*>(item.object);
  const int x = BodyLeft + item.x;
  const bool sensitive = editor->IsEffectivelySensitive();
  const int inner = std::max(1, item.width - 2);
  // Brackets show where a field is even without colours or underline.
  const unsigned long frame = sensitive ? A_BOLD : terminal_.Attribute(TuiStyle::Dim);
  Put(y, x, "[", frame);
  Put(y, x + inner + 1, "]", frame);
  if (focused && editor == editing_) {
    int column = 0;
    Put(y, x + 1, edit_.Visible(inner, column), terminal_.Attribute(TuiStyle::Focus));
    cursorY_ = y;
    cursorX_ = x + 1 + column;
    return;
  }
  const std::string text = editor->GetText().str();
  const std::string shown = editor->IsPassword() ? std::string(TuiWidth(text), '*') : text;
  const unsigned long style =
      sensitive ? terminal_.Attribute(TuiStyle::Field) : terminal_.Attribute(TuiStyle::Dim);
  Put(y, x + 1, TuiPad(shown, inner), style);
}

void QelTuiDisplay::DrawTextView(const TuiItem& item, int y, bool focused) {
  const auto* editor = static_cast<const QelDlgEditor*>(item.object);
  const int x = BodyLeft + item.x;
  const int textWidth = std::max(1, item.width - 2);
  std::vector<std::string> lines;
  for (int line = 1; line <= editor->GetLineCount(); ++line) {
    std::vector<std::string> wrapped = TuiWrap(editor->GetLine(line).str(), textWidth);
    if (wrapped.empty()) wrapped.emplace_back();
    lines.insert(lines.end(), wrapped.begin(), wrapped.end());
  }
  const int total = static_cast<int>(lines.size());
  int& offset = textScroll_[editor];
  offset = std::clamp(offset, 0, std::max(0, total - item.height));
  for (int row = 0; row < item.height && offset + row < total; ++row) {
    if (y + row >= BodyTop && y + row < BodyTop + BodyHeight())
      Put(y + row, x, lines[offset + row], A_NORMAL);
  }
  // The right-hand column tells where the view stands in the text.
  const unsigned long bar =
      focused ? terminal_.Attribute(TuiStyle::Focus) : terminal_.Attribute(TuiStyle::Dim);
  for (int row = 0; row < item.height && total > item.height; ++row) {
    if (y + row < BodyTop || y + row >= BodyTop + BodyHeight()) continue;
    const char* mark = "|";
    if (row == 0 && offset > 0) mark = "^";
    if (row == item.height - 1 && offset + item.height < total) mark = "v";
    Put(y + row, x + item.width - 1, mark, bar);
  }
}

void QelTuiDisplay::DrawProgress(const TuiItem& item, int y) {
  const auto* progress = static_cast<const QelDlgProgress*>(item.object);
  const int x = BodyLeft + item.x;
  const int width = std::max(1, item.width - 2);
  const long span = std::max(1, progress->GetMaximum() - progress->GetMinimum());
  const long done = progress->GetPosition() - progress->GetMinimum();
  const int filled = static_cast<int>(std::clamp<long>(done * width / span, 0, width));
  Put(y, x, "[", A_BOLD);
  Put(y, x + 1, std::string(filled, '#'), terminal_.Attribute(TuiStyle::BarDone));
  Put(y, x + 1 + filled, std::string(width - filled, '-'), terminal_.Attribute(TuiStyle::BarLeft));
  Put(y, x + 1 + width, "]", A_BOLD);
  const QelDialog* dialog = const_cast<QelDlgProgress*>(progress)->GetDialog();
  const auto shown = shownAt_.find(dialog);
  std::string line = "Step " + std::to_string(std::max(0L, done)) + " of " + std::to_string(span) +
                     "   Statements played " + std::to_string(statementsPlayed_);
  if (shown != shownAt_.end())
    line = "Elapsed " + Elapsed(std::chrono::steady_clock::now() - shown->second) + "   " + line;
  Put(y + 1, x, TuiHead(line, item.width), terminal_.Attribute(TuiStyle::Hint));
}

void QelTuiDisplay::DrawButtons(QelDlgDialog* page) {
  const std::vector<QelDlgDialog::Button> buttons = Buttons(page);
  const std::vector<std::string> captions = RowCaptions(page);
  const std::vector<int> hotkeys = TuiHotkeyPositions(captions);
  const int defaultButton = DefaultButtonOf(page);
  int width = 0;
  for (const auto button : buttons)
    width += TuiWidth(QelDlgDialog::GetButtonCaption(button)) + 4 + 3;
  int x = std::max(1, COLS - width - 1);
  const int y = LINES - 2;
  attrset(terminal_.Attribute(TuiStyle::Dim));
  mvhline(y - 1, 0, ACS_HLINE, COLS);
  attrset(A_NORMAL);
  // Help stands apart on the left: it leaves the page as it is.
  DrawButton(y, 1, captions.back(), hotkeys.back(), false, terminal_.Attribute(TuiStyle::Button));
  const Focus focus = PageFocus(page);
  for (std::size_t index = 0; index < buttons.size(); ++index) {
    const auto button = buttons[index];
    const bool isDefault = static_cast<int>(button) == defaultButton;
    unsigned long style = isDefault ? terminal_.Attribute(TuiStyle::DefaultButton)
                                    : terminal_.Attribute(TuiStyle::Button);
    if (!page->IsButtonSensitive(button)) style = terminal_.Attribute(TuiStyle::Dim);
    if (focus.button == static_cast<int>(button) && !focus.widget)
      style = terminal_.Attribute(TuiStyle::Focus);
    const int hotkey = page->IsButtonSensitive(button) ? hotkeys[index] : -1;
    DrawButton(y, x, captions[index], hotkey, isDefault, style);
    x += TuiWidth(captions[index]) + 4 + 3;
  }
}

void QelTuiDisplay::DrawHintLine(QelDlgDialog* page) {
  const int y = LINES - 1;
  if (!message_.empty()) {
    Put(y, 0, TuiPad(" " + message_, COLS), terminal_.Attribute(TuiStyle::Error));
    return;
  }
  const Focus focus = PageFocus(page);
  TuiKeyLineFacts facts;
  facts.canClose = page->GetWindCloseNotification()->HasHandlers();
  facts.closeAsks = CloseAsks();
  if (auto* editor = dynamic_cast<QelDlgEditor*>(focus.widget)) {
    facts.focus = editor->IsMultiLine() ? TuiFocusKind::TextView : TuiFocusKind::Field;
  } else if (auto* combo = dynamic_cast<QelDlgCombo*>(focus.widget)) {
    facts.focus = !combo->HasEntryField() ? TuiFocusKind::List
                  : typing_ == combo      ? TuiFocusKind::TypingName
                                          : TuiFocusKind::EntryCombo;
  } else if (dynamic_cast<QelDlgToggle*>(focus.widget)) {
    facts.focus = TuiFocusKind::Toggle;
  }
  // Letters alone press buttons wherever they are not typed into something.
  facts.letterKeys = facts.focus == TuiFocusKind::Button || facts.focus == TuiFocusKind::Toggle ||
                     facts.focus == TuiFocusKind::TextView;
  facts.replaces = replaceOnType_;
  Put(y, 1, TuiKeyLine(facts, COLS - 2), terminal_.Attribute(TuiStyle::Hint));
}
