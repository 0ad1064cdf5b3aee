// Top-level windows: the generic dialog and the wizard dialog with its three
// standard buttons (OK, APPLY, CANCEL) and its window-close request.
#pragma once

#include "QelDlgObject.h"
#include "QelNotification.h"

class QelInteractiveApplication;

class QelDialog : public QelDlgObject {
 public:
  QelDialog(QelDialog* parent, const QelString& name, unsigned long style);
  ~QelDialog() override;

  QelDialog* GetDialog() override { return this; }
  const char* GetKind() const override { return "dialog"; }

  // Showing a hidden dialog starts a new visit; showing a shown one only
  // brings it to the front.
  void SetVisibility(int visibility) override;
  int GetVisitCount() const { return visits_; }

  void GetRectPosition(int& x, int& y) const {
    x = x_;
    y = y_;
  }
  void SetRectPosition(int x, int y) {
    x_ = x;
    y_ = y;
  }
  void SetRectDimensions(int x, int y, int width, int height) {
    x_ = x;
    y_ = y;
    width_ = width;
    height_ = height;
  }
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }

  // Every dialog alive, in creation order (front ends look pages up here).
  static const std::vector<QelDialog*>& AllDialogs();
  static QelDialog* FindDialog(const QelString& name);

 private:
  int visits_ = 0;
  int x_ = 0;
  int y_ = 0;
  int width_ = 0;
  int height_ = 0;
};

class QelDlgDialog : public QelDialog {
 public:
  enum Button { OK = 0, APPLY = 1, CANCEL = 2 };
  // Default-button values.
  static constexpr int OKButtonValue = 1024;
  static constexpr int CANCELButtonValue = 2048;
  static constexpr int APPLYButtonValue = 8192;

  QelDlgDialog(QelInteractiveApplication* application, const QelString& name, unsigned long style);

  QelNotification* GetDiaOKNotification() { return &ok_; }
  QelNotification* GetDiaAPPLYNotification() { return &apply_; }
  QelNotification* GetDiaCANCELNotification() { return &cancel_; }
  QelNotification* GetWindCloseNotification() { return &close_; }
  QelNotification* GetButtonNotification(Button button);

  void SetButtonSensitivity(Button button, int sensitivity);
  bool IsButtonSensitive(Button button) const { return buttonSensitive_[button]; }
  void SetDefaultButton(int value) { defaultButton_ = value; }
  int GetDefaultButton() const { return defaultButton_; }

  // The framework's captions of the wizard dialog: OK goes back, CANCEL
  // goes on, APPLY abandons.
  static const char* GetButtonCaption(Button button);

  // What a person's press does: nothing on an insensitive button, else the
  // button's notification. The close request is always honoured.
  void PressButton(Button button);
  void RequestClose();

  QelInteractiveApplication* GetApplication() const { return application_; }

 private:
  QelInteractiveApplication* application_;
  QelNotification ok_{this};
  QelNotification apply_{this};
  QelNotification cancel_{this};
  QelNotification close_{this};
  bool buttonSensitive_[3] = {true, true, true};
  int defaultButton_ = 0;
};
