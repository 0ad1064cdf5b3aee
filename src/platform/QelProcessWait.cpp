// The wait for a child that an interruption ends: the child (and whatever it
// started in its process group) is asked to end, then killed, so a command
// that never ends (a script reading a pipe nobody writes) cannot hold the
// program past SIGINT, SIGTERM or SIGHUP.
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <string>

#include "QelLog.h"
#include "QelSignal.h"
#include "QelSystem.h"

namespace {

// Long enough for a script to end its commands, short enough to end the run
// well within what an administrator waits after Ctrl-C.
constexpr std::chrono::milliseconds Grace{2000};
constexpr int TickMilliseconds = 20;

int ExitCode(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

// A descriptor that turns readable when the child ends, so the wait sleeps
// without polling; -1 on a kernel without it (the wait then ticks).
int ChildDescriptor(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
  return -1;
#endif
}

class Descriptor {
 public:
  explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
  ~Descriptor() {
    if (descriptor_ >= 0) close(descriptor_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return descriptor_; }

 private:
  int descriptor_;
};

// Blocks the interruptions outside ppoll, so one arriving between the look
// at the pending state and the sleep still wakes the sleep.
class InterruptionsHeld {
 public:
  InterruptionsHeld() {
    const sigset_t interruptions = QelInterruptSignals();
    sigprocmask(SIG_BLOCK, &interruptions, &previous_);
  }
  ~InterruptionsHeld() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
  InterruptionsHeld(const InterruptionsHeld&) = delete;
  InterruptionsHeld& operator=(const InterruptionsHeld&) = delete;
  const sigset_t* Previous() const { return &previous_; }

 private:
  sigset_t previous_{};
};

// 1: the child ended (status filled), 0: not yet, -1: no such child.
int Reap(pid_t pid, int& status) {
  const pid_t waited = waitpid(pid, &status, WNOHANG);
  if (waited == pid) return 1;
  if (waited == 0 || errno == EINTR) return 0;
  return -1;
}

// Sleeps until the child ends (descriptor), a tick passes (no descriptor, or
// no mask: the grace counts time), or, with a mask, an interruption comes.
// True when the interruption descriptor turned readable.
bool Sleep(int descriptor, const sigset_t* mask) {
  pollfd watched[2];
  nfds_t count = 0;
  if (descriptor >= 0) watched[count++] = {descriptor, POLLIN, 0};
  const int interruption = mask ? QelInterruptDescriptor() : -1;
  if (interruption >= 0) watched[count++] = {interruption, POLLIN, 0};
  const timespec tick{0, TickMilliseconds * 1000000L};
  if (ppoll(watched, count, descriptor >= 0 && mask ? nullptr : &tick, mask) <= 0) return false;
  return interruption >= 0 && watched[count - 1].revents != 0;
}

// The child's process group when it leads one (the commands we wait for
// do), else the child alone.
pid_t Target(pid_t pid) {
  return getpgid(pid) == pid ? -pid : pid;
}

bool TargetGone(pid_t target) {
  return kill(target, 0) != 0 && errno == ESRCH;
}

// SIGTERM to all of it, then SIGKILL to what is left after the grace. The
// child is reaped either way; its status says how it ended.
int EndChild(pid_t pid, int descriptor, int& status) {
  const pid_t target = Target(pid);
  kill(target, SIGTERM);
  // A stopped process would keep SIGTERM pending for ever.
  kill(target, SIGCONT);
  bool reaped = false;
  const auto deadline = std::chrono::steady_clock::now() + Grace;
  while (std::chrono::steady_clock::now() < deadline) {
    if (!reaped) {
      const int reap = Reap(pid, status);
      if (reap < 0) return -1;
      reaped = reap == 1;
    }
    if (reaped && (target == pid || TargetGone(target))) return 0;
    Sleep(reaped ? -1 : descriptor, nullptr);
  }
  kill(target, SIGKILL);
  if (reaped) return 0;
  pid_t waited;
  do {
    waited = waitpid(pid, &status, 0);
  } while (waited < 0 && errno == EINTR);
  return waited == pid ? 0 : -1;
}

}  // namespace

int QelWaitProcess(int pid, int& code) {
  code = -1;
  const Descriptor child(ChildDescriptor(pid));
  int status = 0;
  bool interrupted = false;
  {
    const InterruptionsHeld held;
    while (true) {
      if (QelInterruptPending()) {
        interrupted = true;
        break;
      }
      const int reap = Reap(pid, status);
      if (reap < 0) return -1;
      if (reap == 1) break;
      if (Sleep(child.Get(), held.Previous())) {
        interrupted = true;
        break;
      }
    }
  }
  if (interrupted) {
    if (EndChild(pid, child.Get(), status) != 0) return -1;
    WriteTraceLogFile("\nInterrupted: process " + QelUnicodeString::FromInt(pid) +
                          " and the processes it started were ended",
                      1);
  }
  code = ExitCode(status);
  return 0;
}
