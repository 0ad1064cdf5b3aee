// Toggle semantics of check and radio buttons.
#include "QelDlgToggle.h"

#include "QelInputListener.h"

void QelDlgToggle::Store(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Changed();
}

void QelDlgToggle::SetState(int state, bool notify) {
  Store(state == Checked);
  if (notify) Notify();
}

void QelDlgCheckButton::Click() {
  if (!IsEffectivelySensitive() || !IsEffectivelyVisible()) return;
  Store(!IsChecked());
  if (QelInputListener* listener = QelGetInputListener()) listener->WidgetSet(this);
  Notify();
}

void QelDlgRadioButton::Click() {
  if (!IsEffectivelySensitive() || !IsEffectivelyVisible()) return;
  Store(!IsChecked());
  if (IsChecked()) UncheckGroup();
  if (QelInputListener* listener = QelGetInputListener()) listener->WidgetSet(this);
  Notify();
}

void QelDlgRadioButton::UncheckGroup() {
  if (!GetParent()) return;
  for (const auto& sibling : GetParent()->GetChildren()) {
    auto* radio = dynamic_cast<QelDlgRadioButton*>(sibling.get());
    if (radio && radio != this) radio->Store(false);
  }
}
