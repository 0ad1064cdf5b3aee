// SIGINT, SIGTERM and SIGHUP, and the end of the first process as its son
// sees it. Each ends the run as a confirmed Cancel would, on the loop: a page
// ends at once, an installation is rolled back first, and a father forwards
// the signal to its son and waits for it instead of leaving it running.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "../pages/ZEP2Pages.h"
#include "../platform/QelDlgNotify.h"
#include "../platform/QelLog.h"
#include "../platform/QelSignal.h"
#include "../platform/QelSystem.h"
#include "ZEP2InstHQ.h"

namespace {

constexpr const char* FatherDescriptorVariable = "TESSARDBSETUP_FATHER_FD";

const char* SignalName(int signal) {
  switch (signal) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
    case SIGHUP:
      return "SIGHUP";
    default:
      return "a signal";
  }
}

// The processes whose parent is parent: the script's son runs under the
// script's shell, which ignores the signals it would otherwise die of.
std::vector<pid_t> ChildrenOf(pid_t parent) {
  std::vector<pid_t> children;
  const std::unique_ptr<DIR, int (*)(DIR*)> proc(opendir("/proc"), closedir);
  if (!proc) return children;
  while (const dirent* entry = readdir(proc.get())) {
    const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
    if (pid <= 0) continue;
    std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
    std::string line;
    std::getline(stat, line);
    // "pid (name) state ppid ...": the name may hold blanks and parentheses.
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos) continue;
    char state = 0;
    int parentOfEntry = 0;
    if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parentOfEntry) == 2 &&
        parentOfEntry == parent) {
      children.push_back(pid);
    }
  }
  return children;
}

void Tell(const std::string& text) {
  std::fprintf(stderr, "tessardbsetup: %s\n", text.c_str());
  WriteLogFile("\n" + QelUnicodeString(text) + "\n");
  WriteTraceLogFile("\n" + QelUnicodeString(text), 1);
}

}  // namespace

void ZEP2InstHQ::InstallInterruptActions() {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    if (QelSetInterruptAction(signal, Interrupted, SA_RESTART) != 0) {
      Tell(std::string("interruptions cannot be caught (") + std::strerror(errno) +
           "): one would end the run without undoing what it did");
      WriteErrLogFile("\nInterruptions cannot be caught: an interrupted run is not rolled back\n");
      break;
    }
  }
  // The father keeps the other end of this pipe open as long as it lives:
  // its end, even by SIGKILL, makes the pipe readable here.
  const char* descriptor = QelGetEnv(FatherDescriptorVariable);
  if (!descriptor || !QelGetEnv("FATHERPID") || !_Application) return;
  _FatherDescriptor = std::atoi(descriptor);
  unsetenv(FatherDescriptorVariable);
  if (_FatherDescriptor <= 2 || fcntl(_FatherDescriptor, F_SETFD, FD_CLOEXEC) != 0) {
    _FatherDescriptor = -1;
    return;
  }
  // A command the son waits for must not outlive the father's end either.
  QelSetInterruptDescriptor(_FatherDescriptor);
  _Application->WatchDescriptor(_FatherDescriptor, [] {
    ZEP2InstHQ* controller = _ZEP2InstHQHandler;
    if (!controller || !controller->_Application) return;
    controller->_Application->UnwatchDescriptor(controller->_FatherDescriptor);
    QelSetInterruptDescriptor(-1);
    close(controller->_FatherDescriptor);
    controller->_FatherDescriptor = -1;
    WriteTraceLogFile("\nThe first process is gone", 1);
    Interrupted(SIGHUP);
  });
}

int ZEP2InstHQ::OpenFatherPipe() {
  int descriptors[2];
  if (pipe2(descriptors, O_CLOEXEC) != 0) return -1;
  // Only the read end goes to the son, through its script; a son without it
  // could not tell that its father is gone.
  if (fcntl(descriptors[0], F_SETFD, 0) != 0) {
    close(descriptors[0]);
    close(descriptors[1]);
    return -1;
  }
  setenv(FatherDescriptorVariable, std::to_string(descriptors[0]).c_str(), 1);
  if (_FatherPipeWrite >= 0) close(_FatherPipeWrite);
  _FatherPipeWrite = descriptors[1];
  return descriptors[0];
}

int ZEP2InstHQ::Interrupted(int signal) {
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  if (!controller) return signal;
  WriteTraceLogFile(QelUnicodeString("\nSIGNAL ") + SignalName(signal) + " received", 1);
  if (controller->_SonProcessId > 0) {
    if (controller->_InterruptSignal == 0) controller->_InterruptSignal = signal;
    controller->ForwardToSon(signal);
    return signal;
  }
  if (controller->_InterruptSignal != 0) {
    if (controller->_RollbackWatcher && !controller->InstallationOver()) {
      Tell("rolling back, please wait");
    }
    return signal;
  }
  controller->_InterruptSignal = signal;
  controller->EndOnInterrupt(signal);
  return signal;
}

// The report page is shown under the status page from the start of the
// installation; its Next turns sensitive only once the installation or its
// rollback is over.
bool ZEP2InstHQ::InstallationOver() const {
  return _DlgREPORT && _DlgREPORT->IsVisible() &&
         _DlgREPORT->IsButtonSensitive(QelDlgDialog::CANCEL);
}

void ZEP2InstHQ::EndOnInterrupt(int signal) {
  const std::string name = SignalName(signal);
  if (InstallationOver()) {
    Tell(name + " received on the report page: the run ends");
    return EndInterruptedRun();
  }
  if (_DlgREPORT && _DlgREPORT->IsVisible()) {
    Tell(name + " received: the installation is cancelled and rolled back, please wait");
    // A waiting error box would hold the rollback for a person to answer.
    for (QelDialog* dialog : QelDialog::AllDialogs()) {
      auto* notice = dynamic_cast<QelDlgNotify*>(dialog);
      if (notice && notice->IsVisible()) notice->PressOK();
    }
    if (_DlgSTATUS->IsButtonSensitive(QelDlgDialog::APPLY)) CancelInstallation();
    _RollbackWatcher = std::make_unique<QelCommand>(this, "ZEP2InstHQRollbackWatcher");
    if (_Application) _Application->Subscribe(2, _RollbackWatcher.get(), nullptr, EndAfterRollback);
    return;
  }
  Tell(name + " received: the run is cancelled");
  ReleaseSon();
  ReleaseDBAConnection();
  CloseEngineConnections();
  EndRun(2);
}

void ZEP2InstHQ::EndAfterRollback(QelCommand* watcher, int, void*) {
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  if (!controller || !controller->InstallationOver()) return;
  if (controller->_Application) controller->_Application->RemoveSubscribe(2, watcher);
  controller->EndInterruptedRun();
}

void ZEP2InstHQ::EndInterruptedRun() {
  ReleaseDBAConnection();
  CloseEngineConnections();
  // As after Cancel on the status page: only a finished installation is a
  // success.
  const bool finished = _InstallationSucceeded && !_InstallationFailed;
  if (finished) return EndRun(0);
  EndRun(_RollbackIncomplete ? RollbackIncompleteStatus : InstallationFailedStatus);
  SetInterruptedOutcome(_RollbackIncomplete);
}

void ZEP2InstHQ::SetInterruptedOutcome(bool incomplete) const {
  if (_Application && _InterruptSignal != 0) {
    _Application->SetOutcome(
        std::string("interrupted by ") + SignalName(_InterruptSignal) +
        (incomplete ? ": cancelled, rollback incomplete" : ": cancelled, rolled back"));
  }
}

const char* ZEP2InstHQ::InterruptName(int signal) {
  return SignalName(signal);
}

void ZEP2InstHQ::ForwardToSon(int signal) {
  WriteTraceLogFile(QelUnicodeString("\nForward ") + SignalName(signal) + " to the second process",
                    1);
  bool forwarded = false;
  for (const pid_t son : ChildrenOf(_SonProcessId)) forwarded = kill(son, signal) == 0 || forwarded;
  // A son not started yet gets it once it has shown its first page.
  _PendingForward = forwarded ? 0 : signal;
}
