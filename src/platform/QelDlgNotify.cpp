// Ownership of notices and the hand-over of blocking questions to the front
// end.
#include "QelDlgNotify.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "QelDisplay.h"
#include "QelInputListener.h"

namespace {
// Never destroyed: the main application, a static object of the program,
// releases the notices still alive when it ends, after a static list made
// on first use would be gone.
std::vector<std::unique_ptr<QelDlgNotify>>& LiveNotices() {
  static auto& notices = *new std::vector<std::unique_ptr<QelDlgNotify>>;
  return notices;
}

// Filled during static initialisation: a function-local object is built on
// first use, whatever the order of the declaring files.
std::vector<std::string>& Classes() {
  static std::vector<std::string> classes;
  return classes;
}
}  // namespace

QelDlgNotify::QelDlgNotify(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDialog(parent, name, style) {}

QelDlgNotify* QelDlgNotify::Create(QelDialog* parent, const QelString& name, unsigned long style) {
  LiveNotices().push_back(std::unique_ptr<QelDlgNotify>(new QelDlgNotify(parent, name, style)));
  return LiveNotices().back().get();
}

const char* QelDlgNotify::DeclareClass(const char* name) {
  if (std::find(Classes().begin(), Classes().end(), name) == Classes().end()) {
    Classes().emplace_back(name);
  }
  return name;
}

const std::vector<std::string>& QelDlgNotify::DeclaredClasses() {
  return Classes();
}

void QelDlgNotify::Release() {
  std::erase_if(LiveNotices(), [this](const auto& notice) { return notice.get() == this; });
}

void QelDlgNotify::ReleaseAll() {
  // Taken out first: a notice's destructor must find the list consistent.
  std::vector<std::unique_ptr<QelDlgNotify>> released;
  released.swap(LiveNotices());
}

QelUnicodeString QelDlgNotify::GetOKCaption() const {
  if (okCaption_.Length()) return okCaption_;
  return IsYesNo() ? "Yes" : "OK";
}

QelUnicodeString QelDlgNotify::GetCANCELCaption() const {
  if (cancelCaption_.Length()) return cancelCaption_;
  return IsYesNo() ? "No" : "Cancel";
}

int QelDlgNotify::DisplayBlocked(const QelUnicodeString& text, const QelUnicodeString& title) {
  SetText(text);
  SetTitle(title);
  QelDisplay* display = QelGetDisplay();
  if (!display) return DefaultAnswer();
  const int value = display->DisplayBlocked(this);
  if (QelInputListener* listener = QelGetInputListener()) listener->BoxAnswered(this, value);
  return value;
}

void QelDlgNotify::PressOK() {
  if (QelInputListener* listener = QelGetInputListener()) listener->BoxAnswered(this, OkValue);
  SetVisibility(Hidden);
  ok_.Send();
  Release();
}
