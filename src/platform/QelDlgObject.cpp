// Tree, ownership and common state of the widget model.
#include "QelDlgObject.h"

#include "QelDisplay.h"

QelDlgObject::QelDlgObject(QelDlgObject* parent, const QelString& name, unsigned long style)
    : QelCommand(parent, name), parent_(parent), style_(style) {
  if (parent_) parent_->children_.emplace_back(this);
}

QelDlgObject::~QelDlgObject() {
  // Children go first: their destructors may still look at their parent.
  while (!children_.empty()) children_.pop_back();
}

QelDialog* QelDlgObject::GetDialog() {
  return parent_ ? parent_->GetDialog() : nullptr;
}

void QelDlgObject::SetTitle(const QelUnicodeString& title) {
  title_ = title;
  Changed();
}

void QelDlgObject::SetSensitivity(int sensitivity) {
  sensitive_ = sensitivity != Insensitive;
  Changed();
}

bool QelDlgObject::IsEffectivelySensitive() const {
  for (const QelDlgObject* object = this; object; object = object->parent_) {
    if (!object->sensitive_) return false;
  }
  return true;
}

void QelDlgObject::SetVisibility(int visibility) {
  visible_ = visibility != Hidden;
  Changed();
}

bool QelDlgObject::IsEffectivelyVisible() const {
  for (const QelDlgObject* object = this; object; object = object->parent_) {
    if (!object->visible_) return false;
  }
  return true;
}

void QelDlgObject::SetConstraints(int row, int column, int justification) {
  row_ = row;
  column_ = column;
  justification_ = justification;
}

QelDlgObject* QelDlgObject::FindObject(const QelString& name) {
  if (GetCommandName().Compare(name) == 2) return this;
  for (const auto& child : children_) {
    if (QelDlgObject* found = child->FindObject(name)) return found;
  }
  return nullptr;
}

void QelDlgObject::Changed() {
  if (QelDisplay* display = QelGetDisplay()) display->ObjectChanged(this);
}
