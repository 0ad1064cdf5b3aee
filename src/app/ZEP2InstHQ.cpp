// Construction of the controller: the front end, the settings (which tell a
// first process from the son), the logs and the signal action.
#include "ZEP2InstHQ.h"

#include <unistd.h>

#include <cstring>

#include "../pages/ZEP2MessageBoxes.h"
#include "../platform/QelFaultInjection.h"
#include "../platform/QelLog.h"
#include "../platform/QelMainwin.h"
#include "../platform/QelRunNotes.h"
#include "../platform/QelSignal.h"
#include "../platform/QelSystem.h"
#include "ZEP2InstApp.h"

namespace {

// Null for an empty path: the framework then uses its default file.
const char* PathOrNull(const QelUnicodeString& path) {
  return path.Compare("") == 2 ? nullptr : path.c_str();
}

}  // namespace

ZEP2InstHQ::ZEP2InstHQ(QelInteractiveApplication* application, const QelString& name,
                       QelUnicodeString outLogPath, QelUnicodeString errLogPath,
                       QelUnicodeString traceLogPath)
    : QelCommand(application, name), _Application(application) {
  _ZEP2InstHQHandler = this;
  std::memset(_svDBErrorMsg, 0, sizeof _svDBErrorMsg);
  QelMainwin::Initialize();

  // The settings decide whether this is the son, and so how the logs open:
  // they are read first, before any trace can be written.
  ReadInstSettingPartI();
  _StartCheck = CheckInstSettingsOwner();

  if (outLogPath.Compare("") != 2) _svFullPathNameOfOutLogFile = outLogPath;
  OpenLogFile(PathOrNull(outLogPath), _nvINSTPARTII ? 0 : 1);
  if (errLogPath.Compare("") != 2) _svFullPathNameOfErrLogFile = errLogPath;
  if (traceLogPath.Compare("") != 2) _svFullPathNameOfTraceLogFile = traceLogPath;
  OpenTraceLogFile(PathOrNull(traceLogPath), 0);
  QelAnnounceTestSwitches();

  InstallSignalAction();
  InstallInterruptActions();
}

ZEP2InstHQ::~ZEP2InstHQ() {
  if (_ZEP2InstHQHandler == this) _ZEP2InstHQHandler = nullptr;
}

bool ZEP2InstHQ::InstallSignalAction() {
  // SA_RESETHAND: one delivery per son; a Back reinstalls it for the next.
  _SigAction.sa_flags = SA_RESETHAND;
  sigemptyset(&_SigAction.sa_mask);
  return QelSetSignalAction(SIGUSR1, hand, _SigAction.sa_flags) == 0;
}

void ZEP2InstHQ::EndRun(int exitStatus) {
  auto* application = dynamic_cast<ZEP2InstApp*>(QelApplication::MainApplication());
  if (!application) return;
  application->SetExitStatus(exitStatus);
  application->SetOutcome(Outcome(exitStatus));
  // An installation that was rolled back says whether it failed or was
  // cancelled; the first process learns it from its son's notes.
  std::string installed;
  std::string line;
  // A check-only run chosen on the son's summary page ends with 0 too: its
  // verdict is the son's to tell.
  if ((exitStatus == 0 || exitStatus == 1 || exitStatus == InstallationFailedStatus ||
       exitStatus == RollbackIncompleteStatus) &&
      QelInstallOutcome(installed, line)) {
    application->SetOutcome(installed);
  }
  application->Destroy();
}

const char* ZEP2InstHQ::Outcome(int exitStatus) {
  switch (exitStatus) {
    case 0:
      return _ZEP2InstHQHandler && _ZEP2InstHQHandler->CheckingOnly() ? "ready to install"
                                                                      : "installation finished";
    case 1:
      return QelGetEnv("FATHERPID") ? "back to the first part of the wizard"
                                    : "the second process failed";
    case 2:
      return "cancelled or closed";
    case InstallationFailedStatus:
      return "installation failed and was rolled back";
    case RollbackIncompleteStatus:
      return "installation failed; rollback incomplete";
    case ZEP2ValidationReport::NotReadyStatus:
      return "not ready: the checks found problems";
    default:
      return "ended with an unexpected status";
  }
}
