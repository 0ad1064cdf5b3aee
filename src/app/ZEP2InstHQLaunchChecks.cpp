// What a process makes of the settings file it finds at start: the son's
// hand-over, a leftover of a run that did not end, another run's file, or a
// son started without one. Each case other than the hand-over is told to the
// administrator; none ends silently or starts a son of its own.
#include <cstdio>

#include "../platform/QelLog.h"
#include "../platform/QelSystem.h"
#include "../settings/InstSettingsLock.h"
#include "ZEP2InstHQ.h"

ZEP2InstHQ::StartCheck ZEP2InstHQ::CheckInstSettingsOwner() {
  const bool son = QelGetEnv("FATHERPID") != nullptr;
  if (!_nvINSTPARTII) return son ? StartCheck::SonWithoutSettings : StartCheck::Normal;
  const bool held = ZEP2InstSettingsLock::IsHeldByAnother();
  if (son && held) return StartCheck::Normal;
  // Answers of another run, or of one that ended without its son: this
  // process must not act on them.
  ResetInstallationParameters();
  _ZEP2InstHQHandler = this;
  if (held) return StartCheck::AnotherRunBusy;
  ZEP2RemoveInstSettingsFiles();
  return son ? StartCheck::SonOrphaned : StartCheck::StaleRemoved;
}

bool ZEP2InstHQ::ReportStartCheck() const {
  const std::string settings = ZEP2InstSettingsPath();
  std::string message;
  int status = 0;
  switch (_StartCheck) {
    case StartCheck::Normal:
      return true;
    case StartCheck::StaleRemoved:
      message = "removed the installation settings file " + settings +
                ", left by an earlier run that did not end (it held that run's answers, "
                "passwords included); a new installation starts";
      break;
    case StartCheck::AnotherRunBusy:
      message = "another installation is running with the settings directory of " + settings +
                " (its first process holds " + ZEP2InstSettingsLock::LockPath() +
                "); wait for it to end, or use another QelUserSettingPath";
      status = 2;
      break;
    case StartCheck::SonWithoutSettings:
      message = "started as the second process of an installation (FATHERPID is set) but " +
                settings +
                " holds no answers of a first process; nothing is done. Start tessardbsetup "
                "without FATHERPID in its environment";
      status = SonWithoutSettingsStatus;
      break;
    case StartCheck::SonOrphaned:
      message =
          "started as the second process of an installation whose first process is gone; "
          "its settings file " +
          settings + " was removed and nothing is done";
      status = SonWithoutSettingsStatus;
      break;
  }
  std::fprintf(stderr, "tessardbsetup: %s\n", message.c_str());
  WriteErrLogFile("\n" + QelUnicodeString(message) + "\n");
  WriteTraceLogFile("\n" + QelUnicodeString(message), 1);
  if (status == 0) return true;
  EndRun(status);
  return false;
}
