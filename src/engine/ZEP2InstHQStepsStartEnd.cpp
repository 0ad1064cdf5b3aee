// The first and last steps of the installation: the preparation behind the
// wait page, St_GenEnvFiles (configuration, the DDL file of file mode, the
// decision to go on or to end) and the successful end on the report page.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelFileRotation.h"
#include "platform/QelLog.h"
#include "platform/QelMsgCatalog.h"
#include "platform/QelRunNotes.h"
#include "platform/QelSettings.h"
#include "platform/QelTime.h"

void ZEP2InstHQ::St_GenCustoDDL(QelCommand* command, int, void*) {
  StepBegin(command, "GenCustoDDL");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  WriteTraceLogFile("\nSt_PlayDDL : Affichage Panel WAIT.", 1);
  controller->_DlgWAIT->SetVisibility(QelDlgObject::Shown);
  QelInteractiveApplication* application = controller->_Application;
  if (application) application->SetBusyCursor();
  if (!_nvDDLFileCustomized) {
    _nvDDLFileCustomized = 1;
    GetModelerColl(&controller->_ModelerNameColl, &controller->_svDDLFileRepository);
    if (application) application->UpdateDisplay();
    GenModelerPersColl(&controller->_ModelerNameColl, &controller->_ModelerPersColl, controller);
    if (application) application->UpdateDisplay();
    GenDBUserToAlterCreateColl(
        _svTESADM, _svTESADMP, &controller->_ModelerPersColl, &controller->_DBUserToCreateColl,
        &controller->_DBUserPassToCreateColl, &controller->_DBUserToAlterDefSysSrvColl,
        &controller->_DBUserPassToAlterDefSysSrvColl, &controller->_DBUserToAlterDefSrvSysColl,
        &controller->_DBUserPassToAlterDefSrvSysColl, &controller->_DBUserAuthToAlterDefSrvSysColl,
        &controller->_DBUserToAlterTmpSysSrvSysColl,
        &controller->_DBUserPassToAlterTmpSysSrvSysColl);
    if (application) application->UpdateDisplay();
    GenUserToCnxColl(_svTESADM, _svTESADMP, &controller->_ModelerPersColl,
                     &controller->_UserToCnxColl, &controller->_UserPassToCnxColl);
  }
  if (!_nvEXEClashInst) {
    controller->_DlgSUM->SetSummary();
    controller->_DlgSUM->SetVisibility(QelDlgObject::Shown);
  } else if (_nvEXEClashServer) {
    controller->_DlgCLASHADM->SetVisibility(QelDlgObject::Shown);
  } else {
    controller->_DlgCLASHSRV->SetVisibility(QelDlgObject::Shown);
  }
  controller->_DlgWAIT->SetVisibility(QelDlgObject::Hidden);
  StepEnd("GenCustoDDL");
}

void ZEP2InstHQ::St_GenEnvFiles(QelCommand* command, int, void*) {
  WriteTraceLogFile("\n\nSt_GenEnvFiles Begin ...\n", 0);
  WriteTraceLogFile("\nQelApplication::MainApplication() RemoveSubscribe", 1);
  if (QelApplication* application = QelApplication::MainApplication()) {
    application->RemoveSubscribe(2, command);
  }
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  controller->_CurrentStep = "GenEnvFiles";
  if (!controller->_InstallationStarted) {
    controller->_InstallationStarted = true;
    controller->_InstallationStart = std::chrono::steady_clock::now();
  }
  ZEP2DlgSTATUS* status = controller->_DlgSTATUS;
  status->Frame->LabelSTATUSStateOne->SetTitle(status->EnvFiles);
  status->SetVisibility(QelDlgObject::Shown);
  StepProgress(20);

  for (const char* name : {"TESCOMMON", "ZEPADMIN", "ZEPPEOPLE", "ZEPPUBSUB"}) {
    controller->_DBNameColl.Append(name);
  }
  const int settings = controller->WriteConfiguration();

  _nvDBErrorCode = 0;
  if (!_nvEXEDBObj && !_nvEXEStartupData) {
    controller->EndInstallation(true);
  } else if (_nvAUTHServer_Force != 1) {
    controller->EndInstallation(false);
  } else if (settings != 0) {
    // A setting whose undo is not on record could not be put back: nothing
    // is installed, and the settings already written are put back.
    _nvDBErrorCode = settings;
    ZEP2DlgREPORT* report = controller->_DlgREPORT;
    controller->FailInstallation(command, report->ERRMSGWndTitleSRVSETTING,
                                 report->ERRMSGTextToDisplayForSRVSETTING);
  } else {
    status->Frame->LabelSTATUSStateTwo->SetTitle(status->EnvFiles + status->Successfull);
    if (_nvEXEDBObj) {
      if (_nvGENDDLONLY) controller->CreateDDLFile();
      WriteTraceLogFile("\nQelSubsribeIdle St_ChkDBAlreadyInstall ...", 1);
      StepSubscribe(command, "St_ChkDBAlreadyInstall", St_ChkDBAlreadyInstall);
    } else {
      StepSubscribe(command, "St_ChkAlterUserTmpSysSrvSys", St_ChkAlterUserTmpSysSrvSys);
    }
  }
  WriteTraceLogFile("\nSt_GenEnvFiles End.\n\n", 0);
}

namespace {

// A configuration routine that failed, or wrote to the error log, without
// a warning of its own is a warning all the same: the installation goes on
// past it, and the end of the run must not say it finished cleanly.
void Configure(const char* what, const std::function<bool()>& routine) {
  const long errors = QelErrLogWrites();
  const long warnings = QelWarnCalls();
  const bool done = routine();
  if (QelWarnCalls() > warnings) return;
  if (!done || QelErrLogWrites() > errors) QelWarn(std::string(what) + " (see the error log)");
}

}  // namespace

int ZEP2InstHQ::WriteConfiguration() {
  // Each routine reports its own failures; the installation goes on, but
  // for a server setting whose undo could not be recorded.
  int settings = 0;
  Configure("the server settings of the logical databases were not all written", [&] {
    settings = CreateDBSrvSetting();
    return settings == 0;
  });
  Configure("the server settings were not all registered", [] {
    AppendRdbSettings();
    return true;
  });
  Configure("the ZEPAdmin settings were not all written", [] {
    const auto services = CreateServices();
    int failed = 0;
    failed |= services->WriteSetting("ZEP_ADMINISTRATOR", _svTESDICOOwner.ToUpper(), "ZEPAdmin");
    failed |= services->WriteSetting("ZEP_DATA_ADM", _svTESADM.ToUpper(), "ZEPAdmin");
    failed |= services->WriteSetting("ZEP_DATA_ROLE", "ZEPADMIN", "ZEPAdmin");
    failed |= services->WriteSetting("ZEP_DATA_ORG", "ADMIN", "ZEPAdmin");
    return failed == 0;
  });
  StepProgress(5);
  if (_nvEXEVault) {
    Configure("the vault server's properties were not updated",
              [] { return VaultServerPropertiesFileUpdate() == 0; });
    StepProgress(5);
  }
  Configure("the runtime's environment file was not updated",
            [] { return TESSAREnvironmentUpdate() == 0; });
  StepProgress(5);
  Configure("the environment script /tmp/TessarEnvCustom.sh did not complete", [] {
    St_UpdateDBEnv();
    return true;
  });
  StepProgress(5);
  if (_nvEXEVault) {
    Configure("the vault starter was not set up", [] {
      VaultStarterEnvironmentUpdate();
      return true;
    });
    StepProgress(10);
  }
  if (_nvEXEClashInst) {
    Configure("the clash component was not set up completely", [] {
      TESSARClashSetup();
      return true;
    });
  } else {
    WriteTraceLogFile("\nClash Client and Server installation is disabled.\n", 1);
  }
  return settings;
}

void ZEP2InstHQ::CreateDDLFile() {
  const std::string path = (_svDDLFILEPATH + "/" + _svDDLFILENAME).str();
  if (_GeneratedDDLFile.is_open()) _GeneratedDDLFile.close();
  _GeneratedDDLFile.clear();
  // The file holds passwords for the DBA: it is private from its creation,
  // and the stream writes to the very file created, never to whatever the
  // name may lead to by then.
  std::string kept;
  std::string error;
  const int descriptor = QelCreateKeepingEarlier(path, 0600, kept, error);
  _DDLBundle.reset();
  if (descriptor >= 0) {
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
    _GeneratedDDLFile.open(self, std::ios::out);
    if (!_GeneratedDDLFile.is_open()) error = path + ": " + std::strerror(errno);
    // The bundle's forward script is read back from this very file.
    const int reader = open(self.c_str(), O_RDONLY | O_CLOEXEC);
    if (_GeneratedDDLFile.is_open() && reader >= 0) {
      _DDLBundle = std::make_unique<ZEP2DDLBundle>(
          _nvIBMDB2UDB ? QelDbDB2 : QelDbOracle,
          (_nvIBMDB2UDB ? _svDB2ALIASNAME : _svORASRVNAME).str(), _svDBAUSER.str(), path, reader);
    } else if (reader >= 0) {
      close(reader);
    }
    close(descriptor);
  }
  if (!kept.empty()) {
    const std::string told = "the existing DDL file " + path + " is kept as " + kept;
    WriteLogFile("\n" + QelUnicodeString(told) + "\n");
    WriteTraceLogFile("\n" + QelUnicodeString(told), 1);
    QelTellOnStderr("tessardbsetup: " + told);
  }
  if (!_GeneratedDDLFile.is_open()) {
    const QelUnicodeString text =
        "\nZEP2 Installation failed: create DDL file error !!! " + QelUnicodeString(error) + "\n";
    WriteErrLogFile(text);
    WriteTraceLogFile(text, 2);
    return;
  }
  QelTime now;
  now.GetCurrentLocalTime();
  _GeneratedDDLFile << "------------------------------------------\n"
                    << "--                                      --\n"
                    << "--  Corvane                             --\n"
                    << "--  DDL Generated by ZEP2 installation  --\n"
                    << (_nvIBMDB2UDB ? "--  DDL for IBM UDB only                --\n"
                                     : "--  DDL for Oracle only                 --\n")
                    << "--  Generation date:                    --\n"
                    << "--          " << now.ConvertToString("%c").str() << "    --\n"
                    << "--                                      --\n"
                    << "------------------------------------------\n"
                    << "\n";
  _GeneratedDDLFile.flush();
}

void ZEP2InstHQ::EndInstallation(bool defaultButton) {
  _InstallationSucceeded = true;
  // Before the report: a bundle that could not be written is one of its
  // warnings.
  WriteDDLBundle();
  // A finished installation has nothing to undo; what an earlier run could
  // not undo stays on record.
  std::string error;
  if (_UndoJournal && _UndoJournal->KeepOnlyEarlierRuns(error) != 0) {
    WriteErrLogFile("\nThe undo journal could not be updated: " + QelUnicodeString(error) + "\n");
    QelWarn("the undo journal could not be updated: " + error);
  }
  ZEP2DlgSTATUS* status = _DlgSTATUS;
  status->Frame->LabelSTATUSStateTwo->SetTitle(status->EnvFiles + status->Successfull);
  status->Frame->ProgressStatusBarEndStepIt();
  status->SetVisibility(QelDlgObject::Hidden);
  SettleOutcome(InstallOutcome(ZEP2InstallEnd::Completed),
                _DlgREPORT->Successfull + WarningsReport());
  _DlgREPORT->SetButtonSensitivity(QelDlgDialog::CANCEL, QelDlgObject::Sensitive);
  if (defaultButton) _DlgREPORT->SetDefaultButton(QelDlgDialog::CANCELButtonValue);
  _DlgREPORT->SetVisibility(QelDlgObject::Shown);
  if (_GeneratedDDLFile.is_open()) _GeneratedDDLFile.flush();
  WriteLogFile("\nINSTALLATION ENDED\n");
  WriteTraceLogFile("\nSt_GenEnvFiles End.", 0);
  WriteTraceLogFile("\nINSTALLATION ENDED\n", 1);
}

QelUnicodeString ZEP2InstHQ::WarningsReport() {
  const std::vector<std::string> warnings = QelRunNotes(QelRunNoteKind::Warning);
  if (warnings.empty()) return {};
  const QelUnicodeString heading = QelMsgCatalog::BuildMessage(
      "ZEP2DlgREPORT", "Warnings.Title", {},
      "The installation completed with warnings: it went on past what follows.");
  std::string report = "\n\n" + heading.str();
  for (const std::string& warning : warnings) report += "\n- " + warning;
  WriteLogFile(QelUnicodeString(report) + "\n");
  WriteTraceLogFile(QelUnicodeString(report), 1);
  return report;
}
