// The retained widget model: every dialog and widget is a QelDlgObject in a
// tree. Pages and the controller only change the model; the front end
// (display) renders it and turns input into the model's notifications.
#pragma once

#include <memory>
#include <vector>

#include "QelCommand.h"

class QelDialog;

class QelDlgObject : public QelCommand {
 public:
  // Values the pages pass, as the framework defines them.
  static constexpr int Shown = 2;
  static constexpr int Hidden = 4;
  static constexpr int Sensitive = 8;
  static constexpr int Insensitive = 16;

  // A widget created with a parent is owned by it: the parent's destruction
  // destroys it. Objects without a parent are owned by their creator.
  QelDlgObject(QelDlgObject* parent, const QelString& name, unsigned long style);
  ~QelDlgObject() override;

  QelDlgObject* GetParent() const { return parent_; }
  unsigned long GetStyle() const { return style_; }
  const std::vector<std::unique_ptr<QelDlgObject>>& GetChildren() const { return children_; }
  // The dialog this object belongs to (itself for a dialog).
  virtual QelDialog* GetDialog();
  // Kind for front ends and transcripts: "frame", "label", "editor", ...
  virtual const char* GetKind() const = 0;

  void SetTitle(const QelUnicodeString& title);
  const QelUnicodeString& GetTitle() const { return title_; }

  void SetSensitivity(int sensitivity);
  bool IsSensitive() const { return sensitive_; }
  // Sensitive itself and all its ancestors: what a person can act on.
  bool IsEffectivelySensitive() const;

  virtual void SetVisibility(int visibility);
  bool IsVisible() const { return visible_; }
  bool IsEffectivelyVisible() const;

  // Grid placement inside the parent frame.
  void SetConstraints(int row, int column, int justification);
  int GetRow() const { return row_; }
  int GetColumn() const { return column_; }
  int GetJustification() const { return justification_; }
  void SetResizableRow(int row) { resizableRows_.push_back(row); }
  void SetResizableColumn(int column) { resizableColumns_.push_back(column); }
  const std::vector<int>& GetResizableRows() const { return resizableRows_; }
  const std::vector<int>& GetResizableColumns() const { return resizableColumns_; }

  void SetVisibleTextWidth(int characters) { visibleWidth_ = characters; }
  int GetVisibleTextWidth() const { return visibleWidth_; }
  void SetVisibleTextHeight(int lines) { visibleHeight_ = lines; }
  int GetVisibleTextHeight() const { return visibleHeight_; }

  // Depth-first search of the subtree, this object included.
  QelDlgObject* FindObject(const QelString& name);

 protected:
  // Tells the front end that this object must be drawn again.
  void Changed();

 private:
  QelDlgObject* parent_;
  unsigned long style_;
  std::vector<std::unique_ptr<QelDlgObject>> children_;
  QelUnicodeString title_;
  bool sensitive_ = true;
  bool visible_ = true;
  int row_ = 0;
  int column_ = 0;
  int justification_ = 0;
  int visibleWidth_ = 0;
  int visibleHeight_ = 0;
  std::vector<int> resizableRows_;
  std::vector<int> resizableColumns_;
};
