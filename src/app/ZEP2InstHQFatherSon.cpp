// The father's side of the father/son scheme: the SIGUSR1 handler, run on the
// loop through the framework's self-pipe, the wait for the son's end, and
// the mapping of the son's exit code.
#include <csignal>

#include "../platform/QelDisplay.h"
#include "../platform/QelLog.h"
#include "../platform/QelSystem.h"
#include "ZEP2InstHQ.h"
#include "pages/ZEP2Pages.h"
#include "settings/InstSettingsHandBack.h"

int ZEP2InstHQ::hand(int signal) {
  WriteTraceLogFile("\n\nZEP2InstHQ::hand Begin ...\n", 0);
  // A son quick enough to end while the father still slept after starting
  // it may have its end handled before its signal: its father's page is up
  // again, and the stale signal must not hide it.
  if (signal == SIGUSR1 && _ZEP2InstHQHandler && _ZEP2InstHQHandler->_SonProcessId <= 0) {
    WriteTraceLogFile("\nZEP2InstHQ::hand End.\n\n", 0);
    return signal;
  }
  if (signal == SIGUSR1) {
    WriteTraceLogFile("\nSIGNAL SIGUSR1 RECU !!!", 1);
    if (const int pending = _ZEP2InstHQHandler->_PendingForward) {
      _ZEP2InstHQHandler->ForwardToSon(pending);
    }
    if (QelDlgDialog* page = _ZEP2InstHQHandler->FatherPage()) {
      page->SetVisibility(QelDlgObject::Hidden);
    }
    WriteTraceLogFile("\nQelSubsribeIdle ZEP2InstHQ::WaitManager", 1);
    if (QelApplication* application = QelApplication::MainApplication()) {
      application->Subscribe(2, _ZEP2InstHQHandler, nullptr, WaitManager);
    } else {
      WriteTraceLogFile("\nQelApplication::MainApplication() error !!!", 1);
    }
  }
  WriteTraceLogFile("\nZEP2InstHQ::hand End.\n\n", 0);
  return signal;
}

void ZEP2InstHQ::WaitManager(QelCommand* command, int, void*) {
  auto* controller = static_cast<ZEP2InstHQ*>(command);
  WriteTraceLogFile("\n\nWaitManager Begin ...", 0);
  WriteTraceLogFile(
      "\n WaitManager Son pid:" + QelUnicodeString::FromInt(controller->_SonProcessId), 1);
  // The son's end arrives as SIGCHLD through the loop (SonEnded), which
  // keeps the father able to forward an interruption meanwhile: no blocking
  // wait here.
  if (QelApplication* application = QelApplication::MainApplication()) {
    application->RemoveSubscribe(2, controller);
  } else {
    WriteTraceLogFile("\nQelApplication::MainApplication() error !!!", 1);
  }
  WriteTraceLogFile("\nWaitManager End ...\n\n", 0);
}

void ZEP2InstHQ::MapSonCode(int code) {
  if (code == 1) ZEP2TakeAnswersFromSon();
  // The script removes the settings too, but not when it was killed itself.
  ReleaseSon();
  switch (code) {
    case 0:
      WriteTraceLogFile("\nhand success code! (0)", 1);
      EndRun(0);
      break;
    case 1:
      WriteTraceLogFile("\nhand BACK code!", 1);
      InstallSignalAction();
      // The son has given the terminal back: the father's page returns.
      if (QelDisplay* display = QelGetDisplay()) display->ReclaimTerminal();
      break;
    case 2:
      WriteTraceLogFile("\nhand CLOSE or CANCEL code! (2)", 1);
      EndRun(2);
      break;
    case ZEP2ValidationReport::NotReadyStatus:
      // The son has told what is not ready; the caller gets the verdict.
      WriteTraceLogFile("\nhand not ready code! (6)", 1);
      EndRun(ZEP2ValidationReport::NotReadyStatus);
      break;
    case RollbackIncompleteStatus:
      // What is left in the database must reach the caller as such.
      WriteErrLogFile("\nFATAL Error in Installation Second Process: rollback incomplete\n");
      WriteTraceLogFile("\nhand rollback incomplete code! (5)", 1);
      EndRun(RollbackIncompleteStatus);
      SetInterruptedOutcome(true);
      break;
    default:
      WriteErrLogFile("\nFATAL Error in Installation Second Process\n");
      WriteTraceLogFile("\nhand error code! (1)", 1);
      EndRun(1);
      if (code == InstallationFailedStatus) SetInterruptedOutcome(false);
  }
  if (QelDlgDialog* page = FatherPage()) {
    for (const auto button : {QelDlgDialog::OK, QelDlgDialog::APPLY, QelDlgDialog::CANCEL}) {
      page->SetButtonSensitivity(button, QelDlgObject::Sensitive);
    }
    page->SetVisibility(QelDlgObject::Shown);
  }
}

QelDlgDialog* ZEP2InstHQ::FatherPage() const {
  if (_nvIBMDB2UDB) return _DlgDB2Param;
  if (_nvOracle) return _DlgORAParam2;
  return nullptr;
}
