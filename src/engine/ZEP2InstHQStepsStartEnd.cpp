// The first and last steps of the installation: the preparation behind the
// wait page, St_GenEnvFiles (configuration, the DDL file of file mode, the
// decision to go on or to end) and the successful end on the report page.
#include <fcntl.h>
#include <unistd.h>

#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelLog.h"
#include "platform/QelSecureFile.h"
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

int ZEP2InstHQ::WriteConfiguration() {
  // Each routine reports its own failures; the installation goes on, but
  // for a server setting whose undo could not be recorded.
  const int settings = CreateDBSrvSetting();
  AppendRdbSettings();
  const auto services = CreateServices();
  services->WriteSetting("ZEP_ADMINISTRATOR", _svTESDICOOwner.ToUpper(), "ZEPAdmin");
  services->WriteSetting("ZEP_DATA_ADM", _svTESADM.ToUpper(), "ZEPAdmin");
  services->WriteSetting("ZEP_DATA_ROLE", "ZEPADMIN", "ZEPAdmin");
  services->WriteSetting("ZEP_DATA_ORG", "ADMIN", "ZEPAdmin");
  StepProgress(5);
  if (_nvEXEVault) {
    VaultServerPropertiesFileUpdate();
    StepProgress(5);
  }
  TESSAREnvironmentUpdate();
  StepProgress(5);
  St_UpdateDBEnv();
  StepProgress(5);
  if (_nvEXEVault) {
    VaultStarterEnvironmentUpdate();
    StepProgress(10);
  }
  if (_nvEXEClashInst) {
    TESSARClashSetup();
  } else {
    WriteTraceLogFile("\nClash Client and Server installation is disabled.\n", 1);
  }
  return settings;
}

void ZEP2InstHQ::CreateDDLFile() {
  const std::string path = (_svDDLFILEPATH + "/" + _svDDLFILENAME).str();
  if (_GeneratedDDLFile.is_open()) _GeneratedDDLFile.close();
  _GeneratedDDLFile.clear();
  // The file holds passwords for the DBA: it is private from its creation.
  std::string error;
  const int descriptor = QelOpenOwnedFile(path, O_TRUNC, 0600, error);
  if (descriptor >= 0) close(descriptor);
  if (descriptor >= 0) _GeneratedDDLFile.open(path, std::ios::out | std::ios::trunc);
  if (descriptor < 0 || !_GeneratedDDLFile.is_open()) {
    WriteErrLogFile("\nZEP2 Installation failed: create DDL file error !!!\n");
    WriteTraceLogFile("\nZEP2 Installation failed: create DDL file error !!!\n", 2);
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
  ZEP2DlgSTATUS* status = _DlgSTATUS;
  status->Frame->LabelSTATUSStateTwo->SetTitle(status->EnvFiles + status->Successfull);
  status->Frame->ProgressStatusBarEndStepIt();
  status->SetVisibility(QelDlgObject::Hidden);
  _DlgREPORT->Frame->EditorREPORT->SetText(_DlgREPORT->Successfull);
  _DlgREPORT->SetButtonSensitivity(QelDlgDialog::CANCEL, QelDlgObject::Sensitive);
  if (defaultButton) _DlgREPORT->SetDefaultButton(QelDlgDialog::CANCELButtonValue);
  _DlgREPORT->SetVisibility(QelDlgObject::Shown);
  if (_GeneratedDDLFile.is_open()) _GeneratedDDLFile.flush();
  WriteLogFile("\nINSTALLATION ENDED\n");
  WriteTraceLogFile("\nSt_GenEnvFiles End.", 0);
  WriteTraceLogFile("\nINSTALLATION ENDED\n", 1);
  _InstallationSucceeded = true;
  // A finished installation has nothing to undo; what an earlier run could
  // not undo stays on record.
  std::string error;
  if (_UndoJournal && _UndoJournal->KeepOnlyEarlierRuns(error) != 0) {
    WriteErrLogFile("\nThe undo journal could not be updated: " + QelUnicodeString(error) + "\n");
  }
}
