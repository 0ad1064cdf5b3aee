// Construction of the controller (settings, logs, signal action) and Build,
// which decides whether this process runs the first part of the wizard or
// is the son started for the database part.
#include "ZEP2InstHQ.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "../pages/ZEP2MessageBoxes.h"
#include "../platform/QelLog.h"
#include "../platform/QelMainwin.h"
#include "../platform/QelSignal.h"
#include "../platform/QelSystem.h"
#include "ZEP2InstApp.h"

namespace {

// Null for an empty path: the framework then uses its default file.
const char* PathOrNull(const QelUnicodeString& path) {
  return path.Compare("") == 2 ? nullptr : path.c_str();
}

// A strictly positive decimal pid, or 0. Anything else must never reach
// kill(): 0 or a negative value would signal a whole process group.
pid_t ParsePid(const char* text) {
  if (!text || !*text) return 0;
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || *end != '\0' || value <= 0 || value > INT_MAX) return 0;
  return static_cast<pid_t>(value);
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

  if (outLogPath.Compare("") != 2) _svFullPathNameOfOutLogFile = outLogPath;
  OpenLogFile(PathOrNull(outLogPath), _nvINSTPARTII ? 0 : 1);
  if (errLogPath.Compare("") != 2) _svFullPathNameOfErrLogFile = errLogPath;
  if (traceLogPath.Compare("") != 2) _svFullPathNameOfTraceLogFile = traceLogPath;
  OpenTraceLogFile(PathOrNull(traceLogPath), 0);

  InstallSignalAction();
}

ZEP2InstHQ::~ZEP2InstHQ() {
  if (_ZEP2InstHQHandler == this) _ZEP2InstHQHandler = nullptr;
}

void ZEP2InstHQ::InstallSignalAction() {
  // SA_RESETHAND: one delivery per son; a Back reinstalls it for the next.
  _SigAction.sa_flags = SA_RESETHAND;
  sigemptyset(&_SigAction.sa_mask);
  QelSetSignalAction(SIGUSR1, hand, _SigAction.sa_flags);
}

void ZEP2InstHQ::Build() {
  WriteTraceLogFile(_nvEXECINDB ? "\nDatabase execution mode" : "\nNO Database execution mode", 1);
  WriteTraceLogFile(_nvGENDDLONLY ? "\nFile execution mode\n" : "\nNO File execution mode\n", 1);

  if (_nvINSTPARTII && (_nvIBMDB2UDB || _nvOracle) && QelGetEnv("FATHERPID")) SignalFather();

  CallBacksManager();
}

void ZEP2InstHQ::SignalFather() {
  const char* fatherPid = QelGetEnv("FATHERPID");
  WriteTraceLogFile(QelUnicodeString("\nGrand Father process pid: ") + fatherPid, 1);
  WriteTraceLogFile("\nProcess pid             : " + QelUnicodeString::FromInt(getpid()), 1);
  if (const pid_t father = ParsePid(fatherPid)) kill(father, SIGUSR1);
}

void ZEP2InstHQ::CallBacksManager() {}

void ZEP2InstHQ::EndRun(int exitStatus) {
  auto* application = dynamic_cast<ZEP2InstApp*>(QelApplication::MainApplication());
  if (!application) return;
  application->SetExitStatus(exitStatus);
  application->Destroy();
}
