// The process's one display.
#include "QelDisplay.h"

namespace {
std::unique_ptr<QelDisplay>& Current() {
  static std::unique_ptr<QelDisplay> display;
  return display;
}
}  // namespace

QelDisplay* QelGetDisplay() {
  return Current().get();
}

void QelSetDisplay(std::unique_ptr<QelDisplay> display) {
  Current() = std::move(display);
}
