// Focus order: reading order of the laid-out items, so that the order
// follows what the page shows, whatever order the widgets were created in.
#include "TuiFocus.h"

#include <algorithm>

#include "../../QelDlgObject.h"

std::vector<QelDlgObject*> TuiFocusOrder(const TuiLayout& layout) {
  std::vector<QelDlgObject*> order;
  for (const TuiItem& item : layout.items) {
    switch (item.kind) {
      case TuiItemKind::Editor:
      case TuiItemKind::TextView:
      case TuiItemKind::Combo:
      case TuiItemKind::CheckButton:
      case TuiItemKind::RadioButton:
        if (item.object->IsEffectivelyVisible() && item.object->IsEffectivelySensitive())
          order.push_back(item.object);
        break;
      default:
        break;
    }
  }
  return order;
}

QelDlgObject* TuiNextFocus(const std::vector<QelDlgObject*>& order, const QelDlgObject* current,
                           bool forward) {
  if (order.empty()) return nullptr;
  const auto found = std::find(order.begin(), order.end(), current);
  if (found == order.end()) return forward ? order.front() : order.back();
  const std::size_t index = static_cast<std::size_t>(found - order.begin());
  const std::size_t size = order.size();
  return order[forward ? (index + 1) % size : (index + size - 1) % size];
}

QelDlgObject* TuiFocusAfterBox(const std::vector<QelDlgObject*>& order, const QelDlgObject* subject,
                               const QelDlgObject* lastField) {
  for (const QelDlgObject* wanted : {subject, lastField}) {
    const auto found = std::find(order.begin(), order.end(), wanted);
    if (wanted && found != order.end()) return *found;
  }
  return order.empty() ? nullptr : order.front();
}
