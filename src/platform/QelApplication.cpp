// The event loop. Idle work runs back to back; the loop only blocks when no
// idle work is subscribed, so an installation never waits on the terminal.
#include "QelApplication.h"

#include <malloc.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "QelDisplay.h"
#include "QelDlgNotify.h"
#include "QelLog.h"
#include "QelRunNotes.h"
#include "QelSettings.h"
#include "QelSignal.h"

namespace {
QelApplication* mainApplication = nullptr;
// Freed memory at the top of the heap the process keeps for reuse.
constexpr int KeptHeapBytes = 8 << 20;
// How long keys and a lost father may wait while idle work goes on.
constexpr std::chrono::milliseconds LookInterval{5};
}  // namespace

QelApplication::QelApplication(QelCommand* father, const QelString& name)
    : QelCommand(father, name) {
  if (!mainApplication) mainApplication = this;
}

QelApplication::~QelApplication() {
  if (mainApplication != this) return;
  // A notice shown without blocking and never answered (the run ended over
  // it) goes with the application that showed it, while the application
  // can still forget it: its OK handler's command may be gone already.
  QelDlgNotify::ReleaseAll();
  mainApplication = nullptr;
}

QelApplication* QelApplication::MainApplication() {
  return mainApplication;
}

QelApplication::Subscription* QelApplication::Find(int priority, const QelCommand* command) {
  for (Subscription& subscription : subscriptions_) {
    if (subscription.priority == priority && subscription.command == command) return &subscription;
  }
  return nullptr;
}

void QelApplication::Subscribe(int priority, QelCommand* command, void* data,
                               QelIdleFunction function) {
  if (Subscription* existing = Find(priority, command)) {
    existing->data = data;
    existing->function = function;
    existing->active = true;
    return;
  }
  subscriptions_.push_back({priority, command, data, function, true});
}

void QelApplication::RemoveSubscribe(int priority, QelCommand* command) {
  // Only marked here: the round that may be walking the list compacts it.
  if (Subscription* existing = Find(priority, command)) existing->active = false;
}

bool QelApplication::IsSubscribed(int priority, const QelCommand* command) const {
  return std::any_of(subscriptions_.begin(), subscriptions_.end(), [&](const Subscription& s) {
    return s.priority == priority && s.command == command && s.active;
  });
}

bool QelApplication::HasIdleWork() const {
  return std::any_of(subscriptions_.begin(), subscriptions_.end(),
                     [](const Subscription& s) { return s.active; });
}

void QelApplication::WatchDescriptor(int descriptor, std::function<void()> onReadable) {
  UnwatchDescriptor(descriptor);
  watches_.push_back({descriptor, std::move(onReadable)});
}

void QelApplication::UnwatchDescriptor(int descriptor) {
  std::erase_if(watches_, [descriptor](const Watch& w) { return w.descriptor == descriptor; });
}

void QelApplication::SetWindowShown(const void* window, bool shown) {
  if (shown) {
    shownWindows_.insert(window);
  } else {
    shownWindows_.erase(window);
  }
}

void QelApplication::DispatchEvents(bool block) {
  // Between two pieces of idle work (a statement each while an installation
  // plays) the descriptors are looked at every few milliseconds only: a poll
  // per statement was a good part of the installer's own cost per statement.
  // A caught signal is handled at once all the same.
  if (!block && !QelSignalPending()) {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastLook_ < LookInterval) return;
    lastLook_ = now;
  }
  std::vector<pollfd> descriptors;
  const int signalDescriptor = QelSignalDescriptor();
  if (signalDescriptor >= 0) descriptors.push_back({signalDescriptor, POLLIN, 0});
  for (const Watch& watch : watches_) descriptors.push_back({watch.descriptor, POLLIN, 0});
  if (descriptors.empty()) return;
  // Whoever looks at the trace while the program waits sees all of it.
  if (block) QelFlushLogFiles();
  const int ready = poll(descriptors.data(), descriptors.size(), block ? -1 : 0);
  if (ready <= 0) return;  // EINTR: the signal is in the pipe for the next pass
  for (const pollfd& descriptor : descriptors) {
    if (!(descriptor.revents & (POLLIN | POLLHUP | POLLERR))) continue;
    if (descriptor.fd == signalDescriptor) {
      QelDispatchPendingSignals();
      continue;
    }
    // The callback may change the watch list: look the watch up each time.
    const auto watch = std::find_if(watches_.begin(), watches_.end(),
                                    [&](const Watch& w) { return w.descriptor == descriptor.fd; });
    if (watch != watches_.end()) {
      const std::function<void()> onReadable = watch->onReadable;
      onReadable();
    }
    if (destroyed_) return;
  }
}

void QelApplication::RunIdleRound() {
  // Subscriptions added during this round run from the next one; positions
  // stay valid because removal only marks entries.
  const std::size_t count = subscriptions_.size();
  for (std::size_t i = 0; i < count && !destroyed_; ++i) {
    if (!subscriptions_[i].active) continue;
    const Subscription call = subscriptions_[i];
    call.function(call.command, call.priority, call.data);
    if (QelDisplay* display = QelGetDisplay()) display->IdleCallDone();
  }
  std::erase_if(subscriptions_, [](const Subscription& s) { return !s.active; });
}

bool QelApplication::RunOnce() {
  if (destroyed_) return false;
  QelDisplay* display = QelGetDisplay();
  const bool idleWork = HasIdleWork();
  if (!idleWork && shownWindows_.empty()) return false;
  const bool input = display && display->HasPendingInput();
  if (!idleWork && !input && display && display->BeforeWaiting()) return !destroyed_;
  DispatchEvents(!idleWork && !input);
  if (destroyed_) return false;
  if (input) display->ProcessInput();
  if (destroyed_) return false;
  if (HasIdleWork()) RunIdleRound();
  return !destroyed_;
}

void QelApplication::Abort(int status, const std::string& outcome) {
  abortStatus_ = status;
  outcome_ = outcome;
  Destroy();
}

int QelApplication::Run(int argc, char** argv) {
  argumentCount_ = argc;
  argumentVector_ = argv;
  // A file grown past the size limit (ulimit -f) then fails its write with
  // EFBIG, which the file services and the logs tell, instead of killing the
  // process in the middle of an installation. The son inherits it.
  std::signal(SIGXFSZ, SIG_IGN);
  // Every statement of an installation allocates and frees the database's
  // pages at the top of the heap; at the default threshold each free gave
  // them back to the system and the next statement faulted them in again.
  // A few megabytes kept cost nothing at the peak, which is higher anyway.
  mallopt(M_TRIM_THRESHOLD, KeptHeapBytes);
  QelStartRunNotes(QelUserSettingDirectory());
  QelSetErrLogFile(QelFindOptionValue(argc, argv, "-logerr"));
  BeginApplication();
  while (RunOnce()) {
  }
  Destroy();
  const int status = EndApplication();
  const int exitStatus = abortStatus_ >= 0 ? abortStatus_ : status;
  // The outcome carries what the run went on past and any test fault, in
  // the transcript and in the last line alike.
  QelEndRunNotes();
  outcome_ = QelOutcomeWithNotes(exitStatus, outcome_);
  if (QelDisplay* display = QelGetDisplay()) display->ApplicationEnding(exitStatus, outcome_);
  // The display may hold the terminal: it goes before the process ends.
  QelSetDisplay(nullptr);
  ReportEnd(exitStatus);
  return exitStatus;
}

void QelInteractiveApplication::UpdateDisplay() {
  if (QelDisplay* display = QelGetDisplay()) display->UpdateDisplay();
}

void QelInteractiveApplication::SetBusyCursor() {
  if (QelDisplay* display = QelGetDisplay()) display->SetBusyCursor();
}

const char* QelFindOptionValue(int count, char* const* vector, const char* option) {
  const char* value = nullptr;
  for (int i = 0; i < count; ++i) {
    if (vector[i] && std::strcmp(vector[i], option) == 0 && i + 1 < count && vector[i + 1]) {
      value = vector[i + 1];
    }
  }
  return value;
}
