// The process's one input listener.
#include "QelInputListener.h"

namespace {
std::unique_ptr<QelInputListener>& Current() {
  static std::unique_ptr<QelInputListener> listener;
  return listener;
}
}  // namespace

QelInputListener* QelGetInputListener() {
  return Current().get();
}

void QelSetInputListener(std::unique_ptr<QelInputListener> listener) {
  Current() = std::move(listener);
}
