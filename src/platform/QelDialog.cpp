// Dialog registry, visibility and the standard buttons.
#include "QelDialog.h"

#include <algorithm>

#include "QelApplication.h"
#include "QelDisplay.h"
#include "QelInputListener.h"

namespace {
// Never destroyed: dialogs owned by static objects (the application, the
// live notices) leave it at exit, after a static registry would be gone.
std::vector<QelDialog*>& Registry() {
  static auto& dialogs = *new std::vector<QelDialog*>;
  return dialogs;
}
}  // namespace

QelDialog::QelDialog(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgObject(nullptr, name, style) {
  // A dialog's parent is only logical (notices name the page they speak
  // for); the creator owns the dialog, so it is not adopted.
  SetFather(parent);
  // Every window starts hidden; it is shown when its turn comes.
  QelDlgObject::SetVisibility(Hidden);
  Registry().push_back(this);
}

QelDialog::~QelDialog() {
  std::erase(Registry(), this);
  if (QelApplication* application = QelApplication::MainApplication()) {
    application->SetWindowShown(this, false);
  }
  if (QelDisplay* display = QelGetDisplay()) display->DialogHidden(this);
}

void QelDialog::SetVisibility(int visibility) {
  const bool wasVisible = IsVisible();
  QelDlgObject::SetVisibility(visibility);
  const bool visible = IsVisible();
  if (QelApplication* application = QelApplication::MainApplication()) {
    application->SetWindowShown(this, visible);
  }
  if (visible && !wasVisible) ++visits_;
  if (QelDisplay* display = QelGetDisplay()) {
    if (visible && !wasVisible) display->DialogShown(this);
    if (!visible && wasVisible) display->DialogHidden(this);
    if (visible && wasVisible) display->DialogRaised(this);
  }
}

const std::vector<QelDialog*>& QelDialog::AllDialogs() {
  return Registry();
}

QelDialog* QelDialog::FindDialog(const QelString& name) {
  const auto found = std::find_if(Registry().begin(), Registry().end(), [&](QelDialog* dialog) {
    return dialog->GetCommandName().Compare(name) == 2;
  });
  return found == Registry().end() ? nullptr : *found;
}

QelDlgDialog::QelDlgDialog(QelInteractiveApplication* application, const QelString& name,
                           unsigned long style)
    : QelDialog(nullptr, name, style), application_(application) {}

QelNotification* QelDlgDialog::GetButtonNotification(Button button) {
  switch (button) {
    case OK:
      return &ok_;
    case APPLY:
      return &apply_;
    case CANCEL:
      return &cancel_;
  }
  return nullptr;
}

void QelDlgDialog::SetButtonSensitivity(Button button, int sensitivity) {
  buttonSensitive_[button] = sensitivity != Insensitive;
  Changed();
}

const char* QelDlgDialog::GetButtonCaption(Button button) {
  switch (button) {
    case OK:
      return "Back";
    case APPLY:
      return "Cancel";
    case CANCEL:
      return "Next";
  }
  return "";
}

void QelDlgDialog::PressButton(Button button) {
  if (!buttonSensitive_[button] || !IsEffectivelySensitive()) return;
  QelNotification* notification = GetButtonNotification(button);
  // A press nothing answers changes nothing, so it is not a person's input.
  QelInputListener* listener = QelGetInputListener();
  if (listener && notification->HasHandlers()) {
    listener->ButtonPressed(this, GetButtonCaption(button));
  }
  notification->Send();
}

void QelDlgDialog::RequestClose() {
  QelInputListener* listener = QelGetInputListener();
  if (listener && close_.HasHandlers()) listener->ButtonPressed(this, "Close");
  close_.Send();
}
