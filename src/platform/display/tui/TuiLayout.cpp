// Grid layout. A frame's children are grouped by row; each row is a line of
// cells, one per column. Column 0 of rows that also hold an input is the
// label column: its width is shared by the whole dialog so that the fields
// of different frames line up. A cell that is the only one of its row takes
// the whole width, so introductions and explanations wrap across the page.
#include "TuiLayout.h"

#include <algorithm>
#include <map>

#include "../../QelDialog.h"
#include "../../QelDlgCombo.h"
#include "../../QelDlgEditor.h"
#include "../../QelDlgToggle.h"
#include "../../QelDlgWidgets.h"
#include "TuiText.h"

namespace {

constexpr int ColumnGap = 2;
constexpr int TogglePrefix = 4;  // "[x] "

bool IsInput(const QelDlgObject* object) {
  return dynamic_cast<const QelDlgEditor*>(object) || dynamic_cast<const QelDlgCombo*>(object) ||
         dynamic_cast<const QelDlgToggle*>(object);
}

std::vector<QelDlgObject*> VisibleChildren(const QelDlgObject* frame);

// A frame that would show nothing (a banner without text) takes no column.
bool HasContent(const QelDlgObject* object) {
  if (!object->IsVisible()) return false;
  if (!dynamic_cast<const QelDlgFrame*>(object)) {
    return IsInput(object) || !object->GetTitle().str().empty() ||
           std::string(object->GetKind()) != "label";
  }
  if (!object->GetTitle().str().empty()) return true;
  for (const auto& child : object->GetChildren()) {
    if (HasContent(child.get())) return true;
  }
  return false;
}

bool HasInput(const QelDlgObject* object) {
  if (IsInput(object)) return true;
  for (const auto& child : object->GetChildren()) {
    if (child->IsVisible() && HasInput(child.get())) return true;
  }
  return false;
}

std::vector<QelDlgObject*> VisibleChildren(const QelDlgObject* frame) {
  std::vector<QelDlgObject*> children;
  for (const auto& child : frame->GetChildren()) {
    if (HasContent(child.get())) children.push_back(child.get());
  }
  // Creation order breaks ties: widgets left in one cell stack as created.
  std::stable_sort(children.begin(), children.end(), [](QelDlgObject* a, QelDlgObject* b) {
    return a->GetRow() != b->GetRow() ? a->GetRow() < b->GetRow() : a->GetColumn() < b->GetColumn();
  });
  return children;
}

class Planner {
 public:
  Planner(int textViewHeight) : textViewHeight_(textViewHeight) {}

  // Width of the label column: the widest label set beside an input.
  void MeasureLabelColumn(const QelDlgObject* frame) {
    std::map<int, std::vector<QelDlgObject*>> rows;
    for (QelDlgObject* child : VisibleChildren(frame)) rows[child->GetRow()].push_back(child);
    for (const auto& [row, cells] : rows) {
      const bool hasInput = std::any_of(cells.begin(), cells.end(), [](QelDlgObject* o) {
        return o->GetColumn() > 0 && IsInput(o);
      });
      for (QelDlgObject* cell : cells) {
        if (hasInput && cell->GetColumn() == 0 && !IsInput(cell))
          labelColumn_ = std::max(labelColumn_, TuiWidth(cell->GetTitle().str()));
      }
    }
    for (QelDlgObject* child : VisibleChildren(frame)) {
      if (dynamic_cast<QelDlgFrame*>(child)) MeasureLabelColumn(child);
    }
  }

  void LimitLabelColumn(int width) { labelColumn_ = std::min(labelColumn_, width * 2 / 5); }

  // Lays out frame's children from (y, x) in width columns; returns the height.
  int Frame(QelDlgObject* frame, int y, int x, int width) {
    int top = y;
    // A dialog's title is the page title, drawn above the page.
    if (!dynamic_cast<QelDialog*>(frame) && !frame->GetTitle().str().empty()) {
      std::vector<std::string> lines = TuiWrap(frame->GetTitle().str(), width);
      const int height = static_cast<int>(lines.size());
      Add(frame, TuiItemKind::FrameTitle, top, x, width, height, std::move(lines));
      top += height + 1;
    }
    std::map<int, std::vector<QelDlgObject*>> rows;
    for (QelDlgObject* child : VisibleChildren(frame)) rows[child->GetRow()].push_back(child);
    const std::vector<int> columns = ColumnWidths(frame, width);
    std::size_t index = 0;
    bool afterToggle = false;
    for (const auto& [row, cells] : rows) {
      // A text right under a check or radio button explains it: it is set
      // in under the button's caption.
      const bool explanation =
          afterToggle && std::all_of(cells.begin(), cells.end(), [](QelDlgObject* o) {
            return o->GetColumn() == 0 && std::string(o->GetKind()) == "label";
          });
      const int indent = explanation ? TogglePrefix : 0;
      top += Row(cells, columns, top, x + indent, width - indent);
      if (!explanation) {
        afterToggle = cells.front()->GetColumn() == 0 && dynamic_cast<QelDlgToggle*>(cells.front());
      }
      // A block of text set apart from the fields below it reads better.
      const bool textBlock = std::all_of(cells.begin(), cells.end(), [](QelDlgObject* cell) {
        return dynamic_cast<QelDlgFrame*>(cell) && !HasInput(cell);
      });
      if (++index < rows.size() && textBlock) ++top;
    }
    return top - y;
  }

  TuiLayout Result(int height) {
    layout_.height = height;
    return std::move(layout_);
  }

 private:
  // Natural width of a column-1 cell content.
  int NaturalWidth(const QelDlgObject* object) const {
    if (auto* editor = dynamic_cast<const QelDlgEditor*>(object)) {
      const int visible = editor->GetVisibleTextWidth();
      return visible > 0 ? std::max(visible + 2, 20) : TuiFieldWidth;
    }
    if (auto* combo = dynamic_cast<const QelDlgCombo*>(object)) {
      int widest = std::max(combo->GetVisibleTextWidth(), 12);
      for (int i = 0; i < combo->GetNbrOfLines(); ++i)
        widest = std::max(widest, TuiWidth(combo->GetLine(i).str()));
      return std::min(widest + 4, TuiFieldWidth);
    }
    if (dynamic_cast<const QelDlgToggle*>(object))
      return TogglePrefix + TuiWidth(object->GetTitle().str());
    return TuiWidth(object->GetTitle().str());
  }

  // Column 0 is the label column when the frame has a column 1; frames and
  // texts spanning alone take everything.
  std::vector<int> ColumnWidths(const QelDlgObject* frame, int width) const {
    int lastColumn = 0;
    for (QelDlgObject* child : VisibleChildren(frame))
      lastColumn = std::max(lastColumn, child->GetColumn());
    if (lastColumn == 0) return {width};
    std::vector<int> columns(lastColumn + 1, 0);
    int labelWidth = 0;
    for (QelDlgObject* child : VisibleChildren(frame)) {
      if (child->GetColumn() == 0 && !dynamic_cast<QelDlgFrame*>(child))
        labelWidth = std::max(labelWidth, std::min(NaturalWidth(child), labelColumn_));
    }
    // Rows of caption and field share the dialog's label column; a frame led
    // by something else (a check button before its explanation) keeps the
    // width of what it shows.
    std::map<int, std::vector<QelDlgObject*>> rows;
    for (QelDlgObject* child : VisibleChildren(frame)) rows[child->GetRow()].push_back(child);
    bool fieldRows = false;
    for (const auto& [row, cells] : rows) {
      const bool captioned = std::any_of(cells.begin(), cells.end(), [](QelDlgObject* o) {
        return o->GetColumn() == 0 && !IsInput(o) && !dynamic_cast<QelDlgFrame*>(o);
      });
      const bool input = std::any_of(cells.begin(), cells.end(), [](QelDlgObject* o) {
        return o->GetColumn() > 0 && IsInput(o);
      });
      fieldRows |= captioned && input;
    }
    columns[0] = fieldRows ? labelColumn_ : std::min(labelWidth, width / 2);
    bool columnZeroUsed = false;
    for (QelDlgObject* child : VisibleChildren(frame)) columnZeroUsed |= child->GetColumn() == 0;
    if (columns[0] == 0 && labelWidth > 0) columns[0] = std::min(labelWidth, width * 2 / 5);
    if (!columnZeroUsed) columns[0] = 0;
    int left = width - columns[0] - ColumnGap * lastColumn + (columnZeroUsed ? 0 : ColumnGap);
    for (int column = 1; column <= lastColumn; ++column) {
      columns[column] = std::max(1, left / (lastColumn - column + 1));
      left -= columns[column];
    }
    return columns;
  }

  int Row(const std::vector<QelDlgObject*>& cells, const std::vector<int>& columns, int y, int x,
          int width) {
    const bool alone = std::all_of(cells.begin(), cells.end(), [&](QelDlgObject* o) {
      return o->GetColumn() == cells.front()->GetColumn();
    });
    std::map<int, int> cellHeight;
    int rowHeight = 0;
    for (QelDlgObject* cell : cells) {
      const int column = std::min<int>(cell->GetColumn(), static_cast<int>(columns.size()) - 1);
      int cellX = x;
      for (int c = 0; c < column; ++c) cellX += columns[c] > 0 ? columns[c] + ColumnGap : 0;
      int cellWidth = alone ? x + width - cellX : columns[column];
      if (!alone && column == static_cast<int>(columns.size()) - 1) cellWidth = x + width - cellX;
      const int height = Widget(cell, y + cellHeight[column], cellX, std::max(1, cellWidth));
      cellHeight[column] += height;
      rowHeight = std::max(rowHeight, cellHeight[column]);
    }
    return rowHeight;
  }

  int Widget(QelDlgObject* object, int y, int x, int width) {
    if (dynamic_cast<QelDlgFrame*>(object)) return Frame(object, y, x, width);
    if (auto* editor = dynamic_cast<QelDlgEditor*>(object)) {
      if (editor->IsMultiLine()) {
        Add(object, TuiItemKind::TextView, y, x, width, textViewHeight_, {});
        return textViewHeight_;
      }
      Add(object, TuiItemKind::Editor, y, x, std::min(width, NaturalWidth(object)), 1, {});
      return 1;
    }
    if (dynamic_cast<QelDlgCombo*>(object)) {
      Add(object, TuiItemKind::Combo, y, x, std::min(width, NaturalWidth(object)), 1, {});
      return 1;
    }
    if (auto* toggle = dynamic_cast<QelDlgToggle*>(object)) {
      std::vector<std::string> lines =
          TuiWrap(toggle->GetTitle().str(), std::max(1, width - TogglePrefix));
      if (lines.empty()) lines.emplace_back();
      const int height = static_cast<int>(lines.size());
      const bool radio = dynamic_cast<QelDlgRadioButton*>(toggle) != nullptr;
      Add(object, radio ? TuiItemKind::RadioButton : TuiItemKind::CheckButton, y, x, width, height,
          std::move(lines));
      return height;
    }
    if (dynamic_cast<QelDlgSeparator*>(object)) {
      Add(object, TuiItemKind::Separator, y, x, width, 1, {});
      return 1;
    }
    if (dynamic_cast<QelDlgProgress*>(object)) {
      // The bar, then the line that tells the time and the steps.
      Add(object, TuiItemKind::Progress, y, x, width, 2, {});
      return 2;
    }
    std::vector<std::string> lines = TuiWrap(object->GetTitle().str(), width);
    const int height = static_cast<int>(lines.size());
    if (height == 0) return 0;  // an empty label takes no room
    Add(object, TuiItemKind::Label, y, x, width, height, std::move(lines));
    return height;
  }

  void Add(QelDlgObject* object, TuiItemKind kind, int y, int x, int width, int height,
           std::vector<std::string> lines) {
    layout_.items.push_back({object, kind, y, x, width, height, std::move(lines)});
  }

  int textViewHeight_;
  int labelColumn_ = 0;
  TuiLayout layout_;
};

TuiLayout LayOutOnce(QelDlgObject* root, int width, int textViewHeight) {
  Planner planner(textViewHeight);
  planner.MeasureLabelColumn(root);
  planner.LimitLabelColumn(width);
  const int height = planner.Frame(root, 0, 0, width);
  TuiLayout layout = planner.Result(height);
  std::stable_sort(
      layout.items.begin(), layout.items.end(),
      [](const TuiItem& a, const TuiItem& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
  return layout;
}

}  // namespace

const TuiItem* TuiLayout::Find(const QelDlgObject* object) const {
  for (const TuiItem& item : items) {
    if (item.object == object) return &item;
  }
  return nullptr;
}

TuiLayout TuiLayOut(QelDlgObject* root, int width, int fillHeight) {
  TuiLayout layout = LayOutOnce(root, width, TuiMinimumTextViewHeight);
  const auto views = std::count_if(layout.items.begin(), layout.items.end(), [](const TuiItem& i) {
    return i.kind == TuiItemKind::TextView;
  });
  const int spare = fillHeight - layout.height;
  if (views == 0 || spare <= 0) return layout;
  return LayOutOnce(root, width, TuiMinimumTextViewHeight + spare / static_cast<int>(views));
}
