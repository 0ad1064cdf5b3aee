// Message boxes and the open list of a combo: centred panels drawn over the
// page, with the values the widget model gives their buttons (1 OK,
// 2 Cancel, 3 Yes, 4 No).

#include <algorithm>

#include "../../QelDlgCombo.h"
#include "../../QelDlgNotify.h"
#include "TuiCurses.h"
#include "TuiDisplay.h"
#include "TuiHotkeys.h"
#include "TuiText.h"

namespace {

constexpr int BoxMaximumWidth = 72;

void FillBox(int top, int left, int height, int width, unsigned long attribute) {
  attrset(static_cast<attr_t>(attribute));
  for (int row = 0; row < height; ++row) mvhline(top + row, left, ' ', width);
  mvaddch(top, left, ACS_ULCORNER);
  mvaddch(top, left + width - 1, ACS_URCORNER);
  mvaddch(top + height - 1, left, ACS_LLCORNER);
  mvaddch(top + height - 1, left + width - 1, ACS_LRCORNER);
  mvhline(top, left + 1, ACS_HLINE, width - 2);
  mvhline(top + height - 1, left + 1, ACS_HLINE, width - 2);
  mvvline(top + 1, left, ACS_VLINE, height - 2);
  mvvline(top + 1, left + width - 1, ACS_VLINE, height - 2);
  attrset(A_NORMAL);
}

void PutIn(int y, int x, const std::string& text, unsigned long attribute) {
  attrset(static_cast<attr_t>(attribute));
  mvaddstr(y, x, text.c_str());
  attrset(A_NORMAL);
}

}  // namespace

std::vector<std::string> QelTuiDisplay::BoxButtons(const QelDlgNotify* notice) const {
  if (notice->IsYesNo() || notice->HasCancel())
    return {notice->GetOKCaption().str(), notice->GetCANCELCaption().str()};
  return {notice->GetOKCaption().str()};
}

int QelTuiDisplay::BoxValue(const QelDlgNotify* notice, int selected) const {
  if (notice->IsYesNo()) return selected == 0 ? QelDlgNotify::YesValue : QelDlgNotify::NoValue;
  if (notice->HasCancel()) return selected == 0 ? QelDlgNotify::OkValue : QelDlgNotify::CancelValue;
  return QelDlgNotify::OkValue;
}

void QelTuiDisplay::DrawNotice(QelDlgNotify* notice, int selected) {
  DrawBox(notice->GetTitle().str(), notice->GetText().str(), BoxButtons(notice), selected, 0);
}

void QelTuiDisplay::DrawBox(const std::string& title, const std::string& text,
                            const std::vector<std::string>& buttons, int selected, int scroll) {
  int buttonsWidth = 0;
  for (const std::string& caption : buttons) buttonsWidth += TuiWidth(caption) + 4 + 2;
  const int limit = std::min(BoxMaximumWidth, COLS - 4);
  int textWidth = std::max({30, buttonsWidth, TuiWidth(title) + 4});
  for (const std::string& line : TuiWrap(text, limit - 4))
    textWidth = std::max(textWidth, TuiWidth(line));
  textWidth = std::min(textWidth, limit - 4);
  const std::vector<std::string> lines = TuiWrap(text, textWidth);
  const int total = static_cast<int>(lines.size());
  const int width = textWidth + 4;
  const int shownLines = std::min(total, LINES - 8);
  const int first = std::clamp(scroll, 0, std::max(0, total - shownLines));
  const int height = shownLines + 5;
  const int top = std::max(0, (LINES - height) / 2);
  const int left = std::max(0, (COLS - width) / 2);
  const unsigned long box = terminal_.Attribute(TuiStyle::Box);
  FillBox(top, left, height, width, box);
  if (!title.empty()) {
    const std::string shown = " " + TuiHead(title, width - 4) + " ";
    PutIn(top, left + (width - TuiWidth(shown)) / 2, shown,
          terminal_.Attribute(TuiStyle::BoxTitle));
  }
  for (int row = 0; row < shownLines; ++row)
    PutIn(top + 2 + row, left + 2, lines[first + row], box);
  // A text longer than the box says so, and where the rest is.
  if (first > 0) PutIn(top + 1, left + width - 10, "^ more ^", box);
  if (first + shownLines < total) PutIn(top + height - 3, left + width - 10, "v more v", box);
  const std::vector<int> hotkeys = TuiHotkeyPositions(buttons);
  int x = left + (width - buttonsWidth + 2) / 2;
  for (int index = 0; index < static_cast<int>(buttons.size()); ++index) {
    const unsigned long style = index == selected ? terminal_.Attribute(TuiStyle::Focus) : box;
    DrawButton(top + height - 2, x, buttons[index], hotkeys[index], false, style);
    x += TuiWidth(buttons[index]) + 4 + 2;
  }
}

void QelTuiDisplay::DrawButton(int y, int x, const std::string& caption, int hotkey, bool isDefault,
                               unsigned long style) {
  PutIn(y, x, isDefault ? "<[" + caption + "]>" : "< " + caption + " >", style);
  if (hotkey < 0) return;
  // Underlined where the terminal can; the text stays the same everywhere.
  PutIn(y, x + 2 + hotkey, TuiHead(TuiTail(caption, hotkey), 1), style | A_UNDERLINE);
}

void QelTuiDisplay::DrawComboList(const TuiLayout& layout) {
  QelDlgCombo* combo = openCombo_.combo;
  const TuiItem* item = layout.Find(combo);
  QelDlgDialog* page = CurrentPage();
  if (!item || !page) return;
  const int lines = combo->GetNbrOfLines();
  const int wanted = std::min(lines, std::max(combo->GetVisibleTextHeight(), 8));
  const int comboY = 2 + item->y - scroll_[page];
  int width = item->width;
  for (int line = 0; line < lines; ++line)
    width = std::max(width, TuiWidth(combo->GetLine(line).str()) + 4);
  width = std::min(width, COLS - 4);
  const int below = LINES - 3 - (comboY + 1);
  const int above = comboY - 1;
  const int rows = std::min(wanted, std::max(1, std::max(below, above) - 2));
  const int top = below >= rows + 2 || below >= above ? comboY + 1 : comboY - rows - 2;
  const int left = std::min(2 + item->x, COLS - width - 1);
  const unsigned long box = terminal_.Attribute(TuiStyle::Box);
  FillBox(top, left, rows + 2, width, box);
  const int first = std::clamp(openCombo_.highlighted - rows + 1, 0, std::max(0, lines - rows));
  const int start = std::min(first, openCombo_.highlighted);
  for (int row = 0; row < rows && start + row < lines; ++row) {
    const int line = start + row;
    const unsigned long style =
        line == openCombo_.highlighted ? terminal_.Attribute(TuiStyle::Focus) : box;
    PutIn(top + 1 + row, left + 1, TuiPad(" " + combo->GetLine(line).str(), width - 2), style);
  }
}
