// Check and radio buttons. Radio buttons with the same parent form one
// exclusive group: a person checking one unchecks the others (without
// notifying them). Buttons in different frames are paired by page handlers.
#pragma once

#include "QelDlgObject.h"
#include "QelNotification.h"

class QelDlgToggle : public QelDlgObject {
 public:
  static constexpr int Checked = 0x40000;
  static constexpr int Unchecked = 0x80000;

  using QelDlgObject::QelDlgObject;

  int GetState() const { return checked_ ? Checked : Unchecked; }
  bool IsChecked() const { return checked_; }
  // With notify, the select notification is sent as for a person's click.
  void SetState(int state, bool notify = false);
  QelNotification* GetSelectNotification() { return &select_; }
  QelNotification* GetModifyNotification() { return &select_; }

  // A person's click: ignored when insensitive or hidden.
  virtual void Click() = 0;

 protected:
  void Store(bool checked);
  void Notify() { select_.Send(); }

 private:
  bool checked_ = false;
  QelNotification select_{this};
};

class QelDlgCheckButton : public QelDlgToggle {
 public:
  using QelDlgToggle::QelDlgToggle;
  const char* GetKind() const override { return "checkbutton"; }
  void Click() override;
};

class QelDlgRadioButton : public QelDlgToggle {
 public:
  using QelDlgToggle::QelDlgToggle;
  const char* GetKind() const override { return "radiobutton"; }
  void Click() override;

 private:
  void UncheckGroup();
};
