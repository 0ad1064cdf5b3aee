// Where each widget of a dialog goes on a character grid: the grid
// constraints of every frame, read in reading order, fitted to a width.
// Pure arithmetic on the widget model, so it is tested without a terminal.
#pragma once

#include <string>
#include <vector>

class QelDlgObject;

enum class TuiItemKind {
  FrameTitle,
  Label,
  Editor,
  TextView,  // a multi-line editor: text that scrolls
  Combo,
  CheckButton,
  RadioButton,
  Separator,
  Progress,
};

struct TuiItem {
  QelDlgObject* object;
  TuiItemKind kind;
  int y;
  int x;
  int width;
  int height;
  // Labels, frame titles and toggle captions, wrapped to the width.
  std::vector<std::string> lines;
};

struct TuiLayout {
  std::vector<TuiItem> items;  // in reading order: top to bottom, left to right
  int height = 0;
  const TuiItem* Find(const QelDlgObject* object) const;
};

// Lays out the visible widgets below root in width columns. A text view
// takes the lines left over by the rest up to fillHeight (at least
// TuiMinimumTextViewHeight).
TuiLayout TuiLayOut(QelDlgObject* root, int width, int fillHeight);

constexpr int TuiMinimumTextViewHeight = 4;
// Columns an editor or combo with no width of its own takes at most.
constexpr int TuiFieldWidth = 40;
