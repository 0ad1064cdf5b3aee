// The son script: the DBMS environment chosen in the first part, then the
// program again (as WQ0INST) with the father's log options. The son's end,
// whether it signalled first or died at start-up, is mapped to the father's
// exit status.
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "app/ZEP2InstHQ.h"
#include "app/ZEP2ShellScript.h"
#include "engine/ZEP2ValidationMode.h"
#include "pages/ZEP2MessageBoxes.h"
#include "platform/QelDisplay.h"
#include "platform/QelLog.h"
#include "platform/QelMsgCatalog.h"
#include "platform/QelSignal.h"
#include "platform/QelSystem.h"

namespace {

bool ScratchIsNoexec() {
  struct statvfs info {};
  return statvfs("/tmp", &info) == 0 && (info.f_flag & ST_NOEXEC) != 0;
}

using H = ZEP2InstHQ;

constexpr const char* SonScript = "/tmp/TESStartTmp.sh";

std::string LogOptions() {
  std::string options;
  const std::pair<const char*, const QelUnicodeString*> logs[] = {
      {"-logout ", &H::_svFullPathNameOfOutLogFile},
      {"-logerr ", &H::_svFullPathNameOfErrLogFile},
      {"-logtrace ", &H::_svFullPathNameOfTraceLogFile}};
  for (const auto& [option, path] : logs) {
    if (path->Compare("") != 2) options += option + ZEP2ShellScript::Quote(path->str()) + " ";
  }
  return options;
}

void WriteDB2Environment(ZEP2ShellScript& script) {
  WriteTraceLogFile("\nDB2InstanceLoginName GetLine Selected : <" + H::_svDB2INSTANCE + ">", 1);
  const std::string home = H::_svDB2INSTANCE_HOMDIR.str();
  const std::string libraries = home + "/sqllib/lib32:" + home + "/sqllib/lib";
  script.Assign("FATHERPID", std::to_string(getpid()));
  script.Assign("DB2INSTANCE", H::_svDB2INSTANCE.str());
  for (const char* variable : {"LIBPATH", "LD_LIBRARY_PATH", "LD_LIBRARYN32_PATH", "SHLIB_PATH"}) {
    script.AssignWithSuffix(variable, libraries, std::string(":$") + variable);
  }
}

void WriteOracleEnvironment(ZEP2ShellScript& script) {
  const std::string home = H::_svORACLE_HOME.str();
  script.Assign("FATHERPID", std::to_string(getpid()));
  script.Line("unset ORACLE_SID");
  script.Line("");
  script.Assign("ORACLE_HOME", home);
  if (H::_nvORATNS_ADMIN) script.Assign("TNS_ADMIN", H::_svORATNS_ADMIN.str());
  const std::string libraries = home + "/lib32:" + home + "/lib";
  script.AssignWithSuffix("LIBPATH", libraries, ":$LIBPATH");
  script.AssignWithSuffix("LD_LIBRARY_PATH", libraries, ":$LD_LIBRARY_PATH");
  script.AssignWithSuffix("LD_LIBRARYN32_PATH", H::_svORACLE_N32_HOME.str() + "/lib32",
                          ":$LD_LIBRARYN32_PATH");
  script.AssignWithSuffix("SHLIB_PATH", libraries, ":$SHLIB_PATH");
  std::string nls = home;
  for (const char* candidate : {"/ocommon/nls/admin/data", "/nls/data"}) {
    if (QelFileAccess(home + candidate, 0) == 0) {
      nls = home + candidate;
      break;
    }
  }
  script.Assign("ORA_NLS33", nls);
}

}  // namespace

void ZEP2InstHQ::SonLauncher() {
  WriteTraceLogFile("\n\nSonLauncher Begin ...", 0);
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  controller->_SonScript = std::make_unique<ZEP2ShellScript>(SonScript, "TRACE_ZEP");
  ZEP2ShellScript& script = *controller->_SonScript;
  if (!script.IsOpen()) {
    // Whatever is at the path stays as it is, and nothing is run.
    WriteTraceLogFile("\nSonLauncher error !", 2);
    WriteTraceLogFile("\nSonLauncher End ...\n\n", 0);
    const std::string error = script.GetError();
    controller->ReleaseSon();
    return controller->ShowLaunchError("ERRMSGScriptRefused", SonScript, error);
  }
  script.MakeExecutable("\nchmod rc : ");
  script.Comment("# SonLauncher execution:");
  // The script must outlive an interrupted son to remove the answers; the
  // son handles the signals itself (the father forwards them).
  script.Line("trap '' HUP INT TERM");
  script.Line("");
  script.Line("unset PANELV2ODOTOP");
  script.Line("");
  if (_nvIBMDB2UDB) WriteDB2Environment(script);
  if (_nvOracle) WriteOracleEnvironment(script);
  // The paths are for the log; the son owns the terminal.
  script.SendOutputToLog(true);
  for (const char* variable :
       {"$PATH", "$LIBPATH", "$LD_LIBRARY_PATH", "$LD_LIBRARYN32_PATH", "$SHLIB_PATH"}) {
    script.Line(std::string("echo ") + variable);
  }
  script.RestoreOutput();
  script.Line("");
  script.Line("WQ0INST " + LogOptions());
  script.Line("");
  script.Line("rc=$?");
  // ksh reports a son killed by signal N as 256 + N, which the exit status
  // would cut to N: a son killed by SIGHUP would read as Back.
  script.Line("if [[ $rc -gt 255 ]]");
  script.Line("   then  rc=$(( 128 + rc % 256 ))");
  script.Line("fi ;");
  script.Line("");
  script.Line("rm -f \"$QelUserSettingPath\"/TESSARInst.*");
  script.Line("");
  script.Line("");
  script.Line("return $rc");
  script.Line("");
  // The son may die before it signals: its end must reach the loop too.
  // Without these actions its signal would kill its father, or its early
  // death would leave the father waiting for ever: no son is started then.
  if (!controller->InstallSignalAction() ||
      QelSetSignalAction(SIGCHLD, SonEnded, SA_NOCLDSTOP) != 0) {
    const std::string reason = std::strerror(errno);
    WriteTraceLogFile("\nSonLauncher error !", 2);
    WriteTraceLogFile("\nSonLauncher End ...\n\n", 0);
    return controller->FailSonStart("the first process cannot watch the second one: " + reason);
  }
  int code = 0;
  int pid = 0;
  const int fatherPipe = controller->OpenFatherPipe();
  // One terminal, two processes: the son owns it until it ends.
  QelDisplay* display = QelGetDisplay();
  if (display) display->ReleaseTerminal();
  if (zep2validation::Requested() && ScratchIsNoexec()) script.RunThroughShell();
  const int started = script.Close() ? script.Run("TESStartTmp.sh", 0, pid, code) : -1;
  if (display && started != 0) display->ReclaimTerminal();
  if (fatherPipe >= 0) close(fatherPipe);
  controller->_SonProcessId = started == 0 ? pid : 0;
  // Hidden once the son is up, the father's page no longer keeps the loop
  // alive: the son does, until its end is seen.
  if (started == 0 && controller->_Application) {
    controller->_Application->SetAwaited(&controller->_SonProcessId, true);
  }
  WriteTraceLogFile(QelUnicodeString("\n<") + SonScript + "> <TESStartTmp.sh>", 1);
  WriteTraceLogFile("\n SonLauncher Return Code : " + QelUnicodeString::FromInt(code), 1);
  WriteTraceLogFile(started == 0 ? "\nSonLauncher success !" : "\nSonLauncher error !", 2);
  WriteTraceLogFile("\nSonLauncher End ...\n\n", 0);
  if (started != 0) controller->FailSonStart(script.GetError());
}

void ZEP2InstHQ::FailSonStart(const std::string& reason) {
  WriteErrLogFile("\nFATAL Error in Installation Second Process\n");
  WriteErrLogFile(QelUnicodeString(reason) + "\n");
  std::fprintf(stderr, "tessardbsetup: the second process cannot be started: %s\n", reason.c_str());
  ReleaseSon();
  EndRun(1);
}

void ZEP2InstHQ::ReleaseSon() {
  if (_Application) _Application->SetAwaited(&_SonProcessId, false);
  if (_SonScript) _SonScript->Remove();
  _SonScript.reset();
  ZEP2RemoveInstSettingsFiles();
  _SettingsLock.Release();
}

void ZEP2InstHQ::ShowLaunchError(const char* key, const std::string& path,
                                 const std::string& detail) {
  QelDlgDialog* page = FatherPage();
  if (page) {
    for (const auto button : {QelDlgDialog::OK, QelDlgDialog::APPLY, QelDlgDialog::CANCEL}) {
      page->SetButtonSensitivity(button, QelDlgObject::Sensitive);
    }
  }
  const auto text = [](const std::string& name, const QelListValQelUnicodeString& parameters) {
    return QelMsgCatalog::BuildMessage("ZEP2Launch", name + ".Title", parameters, "");
  };
  QelListValQelUnicodeString parameters;
  parameters.Append(path);
  parameters.Append(detail);
  const QelUnicodeString message = text(key, parameters);
  WriteErrLogFile("\n" + message + "\n");
  WriteTraceLogFile("\n" + message, 2);
  const QelListValQelUnicodeString none;
  ZEP2ErrInCallBack box(this, page, text("ERRMSGWndTitle", none), message, "",
                        text("ERRMSGOKTitle", none));
  box.Build();
}

int ZEP2InstHQ::SonEnded(int signal) {
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  const pid_t son = controller ? controller->_SonProcessId : 0;
  int status = 0;
  if (son <= 0 || waitpid(son, &status, WNOHANG) != son) return signal;
  controller->_SonProcessId = 0;
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  WriteTraceLogFile("\n hand Return Code : " + QelUnicodeString::FromInt(code), 1);
  controller->MapSonCode(code);
  if (QelApplication* application = QelApplication::MainApplication()) {
    application->RemoveSubscribe(2, controller);
  }
  return signal;
}
