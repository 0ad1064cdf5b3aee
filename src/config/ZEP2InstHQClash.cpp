// The clash component: the Orbix daemon port, the starter's registration,
// the three scripts adapted to the clash administrator (a pristine copy kept
// once), and the settings that tell clients where the server is.
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/ZEP2InstHQ.h"
#include "config/ZEP2TextEdit.h"
#include "platform/QelLog.h"
#include "platform/QelSecureFile.h"
#include "platform/QelSettings.h"
#include "platform/QelSystem.h"

namespace {

using H = ZEP2InstHQ;

QelUnicodeString Number(long long value) {
  return QelUnicodeString::FromInt(value);
}

QelUnicodeString Angle(const char* label, const QelUnicodeString& value) {
  return "\n" + QelUnicodeString(label) + " is: <" + value + ">";
}

struct LineEdit {
  const char* traceName;  // the shell variable named in the trace
  const char* key;
  std::string newLine;
};

// One script edit: the pristine copy once, then every line rewritten in
// memory; the script is written only when every key was found.
void EditScript(const char* routine, const char* script, const std::vector<LineEdit>& edits) {
  const QelUnicodeString name(routine);
  WriteTraceLogFile("\n\n" + name + " Begin ...\n", 0);
  const char* install = QelGetEnv("QelInstallPath");
  if (!install) {
    WriteTraceLogFile("\nQelInstallPath is not set! KO", 1);
    return;
  }
  const std::string commands = std::string(install) + "/code/command";
  const std::string path = commands + "/" + script;
  const std::string copy = path + ".orig";
  WriteTraceLogFile("\nQelInstallPath is: <" + QelUnicodeString(install) + ">", 1);
  WriteTraceLogFile("\nQelCommandPath is: <" + QelUnicodeString(commands) + ">", 1);
  WriteTraceLogFile("\n" + QelUnicodeString(script) + "ShellFullPathName: <" + path + ">", 1);
  const int exists = access(copy.c_str(), F_OK);
  WriteTraceLogFile("\nReturn code from access(F_OK) = " + Number(exists), 1);
  if (exists != 0) {
    WriteTraceLogFile("\nCopying: <" + QelUnicodeString(path) + "> to: <" + copy + ">", 1);
    WriteTraceLogFile("\ncp " + QelUnicodeString(path) + " " + copy, 2);
    std::string error;
    const int copied = QelCopyFileExclusively(path, copy, error);
    WriteTraceLogFile("\nRC after copy is: " + Number(copied), 1);
    if (copied != 0) WriteTraceLogFile("\n" + QelUnicodeString(error), 2);
  } else {
    WriteTraceLogFile("\nFound original copy of script: <" + QelUnicodeString(copy) + ">", 1);
  }
  QelUnicodeString text;
  const int read = H::ReadFileIntoString(path, text);
  WriteTraceLogFile("\nRC_ReadFileIntoString = " + Number(read), 1);
  if (read != 0) {
    WriteTraceLogFile("\nAborting " + name + "!!\n", 1);
    return;
  }
  std::string edited = text.str();
  for (const LineEdit& edit : edits) {
    WriteTraceLogFile("\nChanging " + QelUnicodeString(edit.traceName) + " shell variable", 1);
    if (edit.newLine.find('\n') != std::string::npos ||
        !zep2text::ReplaceScriptLine(edited, edit.key, edit.newLine)) {
      const QelUnicodeString reason = "\n" + name + ": no line with <" + edit.key + "> in " + path +
                                      " (or no newline after it): the script is unchanged.";
      WriteErrLogFile(reason + "\n");
      WriteTraceLogFile(reason, 2);
      WriteTraceLogFile("\n\n" + name + " End.\n", 0);
      return;
    }
  }
  const int written = H::WriteStringIntoFile(edited, path);
  WriteTraceLogFile("\nRC_WriteStringIntoFile = " + Number(written), 1);
  WriteTraceLogFile("\n\n" + name + " End.\n", 0);
}

void RegisterClashStarter(const QelUnicodeString& install, const QelUnicodeString& commands) {
  const QelUnicodeString program = commands + "/SetEnv";
  WriteTraceLogFile("\nQelStartProcess to run is: <" + program + " -c RegisterTavoClashStarter>",
                    1);
  QelListValQelUnicodeString arguments;
  arguments.Append(program);
  arguments.Append("-c");
  arguments.Append("RegisterTavoClashStarter");
  int pid = 0;
  int code = 0;
  QelStartProcess(program, arguments, 1, pid, code);
  if (code != 0) {
    WriteTraceLogFile("\nQelStartProcess: RegisterTavoClashStarter KO - RC = " + Number(code), 1);
    return;
  }
  WriteTraceLogFile("\nQelStartProcess: RegisterTavoClashStarter OK", 1);
  const QelUnicodeString entry =
      install + "/startup/orbix/config/Repositories/ImpRep/TESSARClashServer.imp";
  WriteTraceLogFile("\nVerifying existance of file: <" + entry + ">", 1);
  QelFileInfo info;
  const bool created = QelGetFileInfo(entry, info) == 0 && info.size >= 1;
  WriteTraceLogFile(created ? "\nCreation of TESSARClashServer.imp file OK"
                            : "\nCreation of TESSARClashServer.imp file KO",
                    1);
}

}  // namespace

void ZEP2InstHQ::TESSARClashSetup() {
  WriteTraceLogFile("\n\nTESSARClashSetup Begin ...\n", 0);
  WriteTraceLogFile("\n_nvEXEClashServer is: " + Number(_nvEXEClashServer), 1);
  if (_nvEXEClashServer) {
    WriteTraceLogFile("\nClash Setup for a Server.\n", 1);
    const int port = GetOrbixPortNumberFromCfgFile();
    WriteTraceLogFile("\ntmpOrbixPortNumberFromCfgFile is: <" + Number(port) + ">", 1);
    _nvCLASHOrbixPort = port;
  } else {
    WriteTraceLogFile("\nClash Setup for a Client.\n", 1);
  }
  WriteTraceLogFile(Angle("_svCLASHAdm", _svCLASHAdm), 1);
  WriteTraceLogFile(Angle("_svCLASHAdmHomd", _svCLASHAdmHomd), 1);
  WriteTraceLogFile(Angle("_svTESADMHomd", _svTESADMHomd), 1);
  WriteTraceLogFile(Angle("_svCLASHOutDir", _svCLASHOutDir), 1);
  WriteTraceLogFile(Angle("_svCLASHV5InstPath", _svCLASHV5InstPath), 1);
  WriteTraceLogFile(Angle("_svCLASHSrvHostName", _svCLASHSrvHostName), 1);
  WriteTraceLogFile(Angle("_nvCLASHOrbixPort", Number(_nvCLASHOrbixPort)), 1);
  WriteTraceLogFile(Angle("_nvCLASHAdmUid", Number(_nvCLASHAdmUid)), 1);
  WriteTraceLogFile(Angle("_nvCLASHAdmGid", Number(_nvCLASHAdmGid)), 1);
  if (_nvEXEClashServer) {
    WriteTraceLogFile("\nRC_IsOrbixDaemonRunning is: <" + Number(IsOrbixDaemonRunning()) + ">", 1);
    const char* install = QelGetEnv("QelInstallPath");
    if (!install) {
      WriteTraceLogFile("\nQelInstallPath is not set! KO", 1);
      return;
    }
    const QelUnicodeString commands = QelUnicodeString(install) + "/code/command";
    WriteTraceLogFile("\nQelInstallPath is: <" + QelUnicodeString(install) + ">", 1);
    WriteTraceLogFile("\nQelCommandPath is: <" + commands + ">", 1);
    RegisterClashStarter(install, commands);
    CustShell_RunTavoClashStarter();
    CustShell_RunTavoClashServer();
    CustShell_Tessar_ITFCHECK();
  }
  SetTESSARClashQelSettings();
  WriteTraceLogFile("\nTESSARClashSetup End\n\n", 0);
}

int ZEP2InstHQ::GetOrbixPortNumberFromCfgFile() {
  WriteTraceLogFile("\n\nGetOrbixPortNumberFromCfgFile Begin ...\n", 0);
  const char* install = QelGetEnv("QelInstallPath");
  if (!install) {
    WriteTraceLogFile("\nQelInstallPath is not set! KO", 0);
    return -1;
  }
  const QelUnicodeString path = QelUnicodeString(install) + "/startup/orbix/Orbix.cfg";
  WriteTraceLogFile("\nOrbix.cfg_FullPathName: <" + path + ">", 1);
  QelUnicodeString text;
  WriteTraceLogFile("\nRC_ReadFileIntoString = " + Number(ReadFileIntoString(path, text)), 1);
  const int port = zep2text::OrbixPort(text.str());
  if (port > 0) {
    WriteTraceLogFile("\nOrbix Port number is: <" + Number(port) + "> OK", 1);
  } else {
    WriteTraceLogFile("\nFailed to get Port number from Orbix.cfg! KO", 1);
  }
  WriteTraceLogFile("\n\nGetOrbixPortNumberFromCfgFile End.\n", 0);
  return port;
}

int ZEP2InstHQ::IsOrbixDaemonRunning() {
  static const char* Command = "ps -ef |grep -v grep |grep orbixd >/dev/null 2>&1";
  WriteTraceLogFile("\n\nIsOrbixDaemonRunning Begin ...\n", 0);
  WriteTraceLogFile("\nRunning command: " + QelUnicodeString(Command), 1);
  const int status = QelRunShellCommand(Command);
  const int result = status == 0 ? 1 : -1;
  WriteTraceLogFile(
      result == 1 ? "\nOrbix daemon is running OK" : "\nOrbix daemon is NOT running KO", 1);
  WriteTraceLogFile("\n\nIsOrbixDaemonRunning End.\n", 0);
  return result;
}

void ZEP2InstHQ::CustShell_RunTavoClashStarter() {
  EditScript("CustShell_RunTavoClashStarter", "RunTavoClashStarter",
             {{"ZEPADM_UID", "ZEPADM_UID=", "ZEPADM_UID=" + std::to_string(_nvCLASHAdmUid)},
              {"ZEPADM_GID", "ZEPADM_GID=", "ZEPADM_GID=" + std::to_string(_nvCLASHAdmGid)}});
}

void ZEP2InstHQ::CustShell_RunTavoClashServer() {
  EditScript("CustShell_RunTavoClashServer", "RunTavoClashServer",
             {{"HOME", "export HOME=", "export HOME=" + _svCLASHAdmHomd.str()},
              {"CLASH_OUTDIR", "CLASH_OUTDIR=", "CLASH_OUTDIR=" + _svCLASHOutDir.str()}});
}

void ZEP2InstHQ::CustShell_Tessar_ITFCHECK() {
  EditScript(
      "CustShell_Tessar_ITFCHECK", "Tessar_ITFCHECK",
      {{"IT_DAEMON_PORT", "IT_DAEMON_PORT=", "IT_DAEMON_PORT=" + std::to_string(_nvCLASHOrbixPort)},
       {"QelvarV5installPath",
        "QelvarV5installPath=", "export QelvarV5installPath=" + _svCLASHV5InstPath.str()}});
}

void ZEP2InstHQ::SetTESSARClashQelSettings() {
  WriteTraceLogFile("\n\nSetTESSARClashQelSettings Begin ...\n", 0);
  const char* install = QelGetEnv("QelInstallPath");
  const char* settings = QelGetEnv("QelUserSettingPath");
  if (!install || !*install) {
    WriteTraceLogFile("\nQelInstallPath is not set! KO", 1);
    return;
  }
  if (!settings || !*settings) {
    WriteTraceLogFile("\nQelUserSettingPath is not set! KO", 1);
    return;
  }
  WriteTraceLogFile("\nQelUserSettingPath is: <" + QelUnicodeString(settings) + ">", 1);
  WriteTraceLogFile(
      "\nQelReferenceSettingPath is: <" + QelUnicodeString(install) + "/resources/defaultsetting>",
      1);
  QelUnicodeString host = _svCLASHSrvHostName;
  if (_nvEXEClashServer) {
    QelSystemInfo system;
    QelGetSystemInfo(system);
    host = system.hostName;
  }
  const std::pair<const char*, QelUnicodeString> values[] = {
      {"TESSARBatchClashAutomatic", "YES"},
      {"TESSARClashClearance", "0.02"},
      {"TESSARVolumeFilterClearance", "0.02"},
      {"TESSARDocType", "NONE"},
      {"TESSARClashServerName", "TESSARClashServer"},
      {"TESSARSpaceMap", "YES"},
      {"TESSARSendUserNotification", "YES"},
      {"TESSARDefaultClashServer", host + ":" + Number(_nvCLASHOrbixPort)}};
  const auto services = CreateServices();
  for (const auto& [key, value] : values) services->WriteSetting(key, value, "TESSARClash");
  WriteTraceLogFile("\n\nSetTESSARClashQelSettings End.\n", 0);
}
