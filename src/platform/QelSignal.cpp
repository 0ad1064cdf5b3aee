// Self-pipe for signals: the asynchronous part only writes the signal number,
// which keeps it async-signal-safe whatever the registered handler does.
#include "QelSignal.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>

namespace {

int pipeRead = -1;
int pipeWrite = -1;
std::array<QelSignalHandler, NSIG> handlers{};
std::atomic<bool> pending{false};
std::array<volatile std::sig_atomic_t, NSIG> interrupting{};
std::atomic<bool> interruptPending{false};
int interruptDescriptor = -1;
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void Trampoline(int signal) {
  const int savedErrno = errno;
  const unsigned char number = static_cast<unsigned char>(signal);
  pending.store(true, std::memory_order_relaxed);
  if (interrupting[signal]) interruptPending.store(true, std::memory_order_relaxed);
  // A full pipe means the loop has plenty of wake-ups pending already.
  [[maybe_unused]] const ssize_t written = write(pipeWrite, &number, 1);
  errno = savedErrno;
}

bool EnsurePipe() {
  if (pipeRead >= 0) return true;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  pipeRead = fds[0];
  pipeWrite = fds[1];
  return true;
}

}  // namespace

int QelSetSignalAction(int signal, QelSignalHandler handler, int flags) {
  if (signal <= 0 || signal >= NSIG || !EnsurePipe()) return -1;
  handlers[signal] = handler;
  struct sigaction action {};
  action.sa_handler = Trampoline;
  action.sa_flags = flags;
  sigemptyset(&action.sa_mask);
  return sigaction(signal, &action, nullptr) == 0 ? 0 : -1;
}

int QelSetInterruptAction(int signal, QelSignalHandler handler, int flags) {
  if (signal <= 0 || signal >= NSIG) return -1;
  // Marked first: the first delivery may come as soon as the action is set.
  interrupting[signal] = true;
  return QelSetSignalAction(signal, handler, flags);
}

int QelSignalDescriptor() {
  return pipeRead;
}

bool QelSignalPending() {
  return pending.load(std::memory_order_relaxed);
}

bool QelInterruptPending() {
  return interruptPending.load(std::memory_order_relaxed);
}

void QelSetInterruptDescriptor(int descriptor) {
  interruptDescriptor = descriptor;
}

int QelInterruptDescriptor() {
  return interruptDescriptor;
}

sigset_t QelInterruptSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  for (int signal = 1; signal < NSIG; ++signal) {
    if (interrupting[signal]) sigaddset(&signals, signal);
  }
  return signals;
}

void QelDispatchPendingSignals() {
  if (pipeRead < 0) return;
  // Cleared before the pipe is read: a signal arriving meanwhile sets them
  // again.
  pending.store(false, std::memory_order_relaxed);
  interruptPending.store(false, std::memory_order_relaxed);
  unsigned char number = 0;
  while (read(pipeRead, &number, 1) == 1) {
    if (number < handlers.size() && handlers[number]) handlers[number](number);
  }
}
