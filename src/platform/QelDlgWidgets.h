// The simple widgets: frames, labels, separators, push buttons and the
// progress bar. Editors, combos and toggle buttons have files of their own.
#pragma once

#include "QelDlgObject.h"
#include "QelNotification.h"

class QelDlgFrame : public QelDlgObject {
 public:
  using QelDlgObject::QelDlgObject;
  const char* GetKind() const override { return "frame"; }
};

class QelDlgLabel : public QelDlgObject {
 public:
  using QelDlgObject::QelDlgObject;
  const char* GetKind() const override { return "label"; }
};

class QelDlgSeparator : public QelDlgObject {
 public:
  using QelDlgObject::QelDlgObject;
  const char* GetKind() const override { return "separator"; }
};

class QelDlgPushButton : public QelDlgObject {
 public:
  using QelDlgObject::QelDlgObject;
  const char* GetKind() const override { return "pushbutton"; }
  QelNotification* GetSelectNotification() { return &select_; }
  void Press() {
    if (IsEffectivelySensitive()) select_.Send();
  }

 private:
  QelNotification select_{this};
};

class QelDlgProgress : public QelDlgObject {
 public:
  using QelDlgObject::QelDlgObject;
  const char* GetKind() const override { return "progress"; }

  void SetRange(int minimum, int maximum);
  void SetStep(int step) { step_ = step; }
  void SetPosition(int position);
  // Advances by one step, never past the end of the range.
  void StepIt() { SetPosition(position_ + step_); }
  int GetMinimum() const { return minimum_; }
  int GetMaximum() const { return maximum_; }
  int GetPosition() const { return position_; }

 private:
  int minimum_ = 0;
  int maximum_ = 100;
  int step_ = 1;
  int position_ = 0;
};
