// Check only, the machine's side: the directories the installation writes
// into, the files and commands of its last steps, the hosts and ports it
// configures, the scratch directory of its scripts; and the end of a
// check-only run, on the report page and, when silent, on stdout and in the
// JSON document.
#include <cstdio>
#include <string>

#include "ZEP2ValidationHost.h"
#include "ZEP2ValidationMode.h"
#include "ZEP2ValidationSpace.h"
#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelLog.h"
#include "platform/QelRunNotes.h"
#include "platform/QelSystem.h"

namespace {

using H = ZEP2InstHQ;

std::string Variable(const char* name) {
  const char* value = QelGetEnv(name);
  return value ? value : "";
}

// Where the last steps find the runtime's files: a missing variable makes
// every path under it unknown, which is a problem of its own.
bool Known(ZEP2ValidationReport& report, const char* variable, const char* check) {
  if (!Variable(variable).empty()) return true;
  report.Add(check, std::string("$") + variable + " is not set",
             std::string("set ") + variable + " as the PDM installation's environment does");
  return false;
}

void ValidateEnvironmentFile(ZEP2ValidationReport& report) {
  const char* check = "environment file";
  if (!Known(report, "QelvarV5_environment_directory", check) ||
      !Known(report, "QelvarV5_environment_name", check)) {
    return;
  }
  std::string path = Variable("QelvarV5_environment_directory");
  if (path.back() != '/') path += "/";
  ZEP2CheckEditableFile(report, check, path + Variable("QelvarV5_environment_name") + ".txt");
  if (Known(report, "QelCommandPath", "server settings command")) {
    ZEP2CheckCommand(report, "server settings command", Variable("QelCommandPath") + "/LK0ADSRB");
  }
}

void ValidateVault(ZEP2ValidationReport& report) {
  const std::string repository = H::_svVAULTRepository.str();
  const std::string base = repository.substr(0, repository.find_last_not_of('/') + 1);
  // The vault page creates what is missing once a person agrees; a
  // check-only run only says whether it could.
  ZEP2CheckCreatableDirectory(report, "vault directory", repository, H::_nvVAULTAdmUid, 0777);
  ZEP2CheckCreatableDirectory(report, "vault directory", base + "/tmp", H::_nvVAULTAdmUid, 0777);
  ZEP2CheckCreatableDirectory(report, "vault directory", base + "/secured0", H::_nvVAULTAdmUid,
                              0755);
  if (Known(report, "QelInstallPath", "vault configuration")) {
    const std::string install = Variable("QelInstallPath");
    ZEP2CheckEditableFile(report, "vault configuration",
                          install + "/docs/java/VaultServer.properties");
    ZEP2CheckCommand(report, "vault commands", install + "/code/bin/ZEPVaultStarter");
  }
  if (Known(report, "QelCommandPath", "vault commands")) {
    ZEP2CheckCommand(report, "vault commands",
                     Variable("QelCommandPath") + "/RegisterVaultStarter");
  }
  ZEP2CheckPort(report, "vault daemon port", H::_svVAULTSrvDaemonPort.str());
  if (!H::_svVAULTSrvHostName.str().empty()) {
    ZEP2CheckHostName(report, "vault server host", H::_svVAULTSrvHostName.str());
  }
}

void ValidateClash(ZEP2ValidationReport& report) {
  if (!Known(report, "QelInstallPath", "clash configuration")) return;
  const std::string install = Variable("QelInstallPath");
  const std::string commands = install + "/code/command";
  ZEP2CheckCommand(report, "clash commands", commands + "/SetEnv");
  ZEP2CheckCommand(report, "clash commands", commands + "/RegisterTavoClashStarter");
  if (H::_nvEXEClashServer) {
    ZEP2CheckDirectory(report, "clash directory", H::_svCLASHOutDir.str(), H::_nvCLASHAdmUid, 0700);
    ZEP2CheckEditableFile(report, "clash configuration", install + "/startup/orbix/Orbix.cfg");
    for (const char* script : {"RunTavoClashStarter", "RunTavoClashServer", "Tessar_ITFCHECK"}) {
      ZEP2CheckEditableFile(report, "clash configuration", commands + "/" + script);
    }
  } else {
    ZEP2CheckHostName(report, "clash server host", H::_svCLASHSrvHostName.str());
    ZEP2CheckPort(report, "clash server port", std::to_string(H::_nvCLASHOrbixPort));
  }
}

}  // namespace

void ZEP2InstHQ::ValidateMachine() {
  ZEP2ValidationReport& report = _Validation;
  if (_nvOracle && _nvORALocal && !ExistingTablespaceSelected()) {
    const std::string directory = _svCRETBSTYPICAL_DIR.str();
    ZEP2CheckDirectory(report, "tablespace directory", directory, -1, 0);
    const ZEP2SpaceEstimate estimate = RepositoryEstimate();
    ZEP2CheckFreeSpace(report, "free space", directory,
                       estimate.DataKilobytes() + estimate.BlobKilobytes());
  }
  ValidateEnvironmentFile(report);
  if (_nvEXEVault) ValidateVault(report);
  if (_nvEXEClashInst) ValidateClash(report);
  ZEP2CheckScriptDirectory(report, "/tmp");
}

void ZEP2InstHQ::EndValidation() {
  const ZEP2ValidationReport& report = _Validation;
  // For the run's last line, which the first process writes.
  const std::size_t problems = report.Problems().size();
  QelShareInstallOutcome(
      report.Ready() ? "ready to install" : "not ready: the checks found problems",
      report.Ready()
          ? "check only: ready, nothing was created or changed"
          : "check only: " + std::to_string(problems) + (problems == 1 ? " problem" : " problems") +
                " (listed in the log), nothing was created or "
                "changed");
  WriteLogFile("\n" + QelUnicodeString(report.Lines()));
  WriteTraceLogFile("\n" + QelUnicodeString(report.Lines()), 1);
  if (zep2validation::Silent()) {
    std::fputs(report.Lines().c_str(), stdout);
    std::fflush(stdout);
  }
  const std::string json = zep2validation::JsonPath();
  std::string error;
  if (!json.empty() && ZEP2WriteValidationJson(report, json, error) != 0) {
    WriteErrLogFile("\n" + QelUnicodeString(error) + "\n");
    std::fprintf(stderr, "tessardbsetup: %s\n", error.c_str());
  }
  _DlgREPORT->Frame->EditorREPORT->SetText(report.Text());
  _DlgREPORT->SetButtonSensitivity(QelDlgDialog::CANCEL, QelDlgObject::Sensitive);
  _DlgREPORT->SetDefaultButton(QelDlgDialog::CANCELButtonValue);
  _DlgREPORT->SetVisibility(QelDlgObject::Shown);
  _DlgSTATUS->SetVisibility(QelDlgObject::Hidden);
}
