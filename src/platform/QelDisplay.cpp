// The process's one display.
#include "QelDisplay.h"

namespace {
// Never destroyed: dialogs destroyed at exit still tell the display, which
// the application removed before then.
std::unique_ptr<QelDisplay>& Current() {
  static auto& display = *new std::unique_ptr<QelDisplay>;
  return display;
}
}  // namespace

QelDisplay* QelGetDisplay() {
  return Current().get();
}

void QelSetDisplay(std::unique_ptr<QelDisplay> display) {
  Current() = std::move(display);
}

namespace {
QelPageStanding pageStanding = nullptr;
QelPageHelp pageHelp = nullptr;
}  // namespace

void QelSetPageStanding(QelPageStanding standing) {
  pageStanding = standing;
}

std::string QelGetPageStanding(const QelDialog* page) {
  return pageStanding ? pageStanding(page) : std::string();
}

void QelSetPageHelp(QelPageHelp help) {
  pageHelp = help;
}

std::string QelGetPageHelp(const QelDialog* page) {
  return pageHelp ? pageHelp(page) : std::string();
}
