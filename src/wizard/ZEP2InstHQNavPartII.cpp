// Next and Back of the son's pages: the DB2 database, the DBMS
// administrator, the summary, the status and report pages, and the vault
// and clash pages' way back.
#include "app/ZEP2InstHQ.h"
#include "engine/ZEP2ValidationMode.h"
#include "pages/ZEP2MessageBoxes.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelLog.h"
#include "platform/QelMsgCatalog.h"
#include "settings/InstSettingsHandBack.h"
#include "wizard/ZEP2PageHelpers.h"

namespace {

using zep2pages::Empty;
using zep2pages::Show;
using zep2pages::Trace;

using H = ZEP2InstHQ;

// Back on the son's first page: the son ends and its father shows its own
// last page again, keeping what was answered here for the next son.
void BackToFather() {
  ZEP2SaveAnswersForFather();
  H::EndRun(1);
}

}  // namespace

void ZEP2InstHQ::CB_DB2Param2_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_DB2Param2_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  c->BusyCursor();
  ZEP2DlgDB2Param2* page = c->_DlgDB2Param2;
  _svDB2ALIASNAME = ZEP2DlgDB2Param::ChosenName(*page->Frame->ComboDB2AliasName);
  _svDB2DRIVEDir = page->Frame->EditorDB2DriveDir->GetText();
  if (Empty(_svDB2ALIASNAME)) {
    return c->ShowInputError(
        "Installation needs the alias of a DB2 database : \nchoose it in the list, or choose \"" +
        QelUnicodeString(ZEP2DlgDB2Param::OthersLine) + "\" and type it.");
  }
  if (!ZEP2DlgDB2Param2::FindEntry(_svDB2ALIASNAME)) {
    // The directory scan does not know the database: it is local where the
    // person says it lives, remote when no directory is given. Whether the
    // alias exists at all, the administrator connection tells next.
    _nvDB2Local = Empty(_svDB2DRIVEDir) ? 0 : 1;
    _nvDB2Remote = 1 - _nvDB2Local;
    if (_nvDB2Local && IsDirectory(_svDB2DRIVEDir) != 0) {
      return c->ShowInputError("Installation cannot find directory : \n" + _svDB2DRIVEDir,
                               page->Frame->EditorDB2DriveDir);
    }
  }
  const bool reachable = _nvDB2Remote || (_nvDB2Local && IsDirectory(_svDB2DRIVEDir) == 0);
  if (!reachable) return;
  if (Empty(_svDBAUSER)) c->_DlgDBAUSER->Frame->EditorDBAUSER->SetText(_svDB2INSTANCE);
  Show(c->_DlgDBAUSER, page);
}

void ZEP2InstHQ::CB_DB2Param2_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_DB2Param2_Back BACK");
  ZEP2DlgDB2Param2* page = _ZEP2InstHQHandler->_DlgDB2Param2;
  _svDB2ALIASNAME = ZEP2DlgDB2Param::ChosenName(*page->Frame->ComboDB2AliasName);
  _svDB2DRIVEDir = page->Frame->EditorDB2DriveDir->GetText();
  BackToFather();
}

void ZEP2InstHQ::CB_DBAUSER_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_DBAUSER_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  c->BusyCursor();
  ZEP2DlgDBAUSER* page = c->_DlgDBAUSER;
  _svDBAUSER = page->Frame->EditorDBAUSER->GetText().ToUpper();
  _svDBAUSERP = page->Frame->EditorDBAUSERP->GetText();
  if (Empty(_svDBAUSER) &&
      c->Refused(page, page->ERRMSGTextToDisplayForDBAUSER, page->Frame->EditorDBAUSER))
    return;
  if (Empty(_svDBAUSERP) &&
      c->Refused(page, page->ERRMSGTextToDisplayForDBAUSERP, page->Frame->EditorDBAUSERP))
    return;
  ReleaseDBAConnection();
  const QelUnicodeString source = _nvIBMDB2UDB ? _svDB2ALIASNAME : _svORASRVNAME;
  // A driver that cannot work is no wrong password: said for what it is,
  // before the first connection.
  const std::string problem = QelDbCheckDriver(_nvIBMDB2UDB ? QelDbDB2 : QelDbOracle, source.str());
  if (!problem.empty() && zep2validation::Silent()) {
    // The checks at the end say what the driver lacks, and what it stops.
    WriteErrLogFile("\n" + QelUnicodeString(problem));
  } else if (!problem.empty()) {
    WriteErrLogFile("\n" + QelUnicodeString(problem));
    Trace("\nDRIVER CHECK: " + QelUnicodeString(problem));
    QelListValQelUnicodeString parameters;
    parameters.Append(problem);
    QelUnicodeString text;
    QelMsgCatalog::BuildMessage(QelMsg(page->ERRMSGTextToDisplayForDRIVER), text, parameters);
    c->_ErrInCallBack = std::make_unique<ZEP2ErrInCallBack>(c, page, page->ERRMSGWndTitleDRIVER,
                                                            text, "", page->ERRMSGOKTitle);
    c->_ErrInCallBack->Build();
    c->_ErrInCallBack.reset();
    return;
  }
  const bool connected = problem.empty() && GenDBConnection(source, _svDBAUSER, _svDBAUSERP, 1, 1,
                                                            _nvDBAConnection, _nvDBACursor) == 0;
  if (!connected) {
    _nvDBACursor.reset();
    _nvDBAConnection.reset();
  }
  if (!connected && problem.empty() && !zep2validation::Silent()) {
    c->_ErrInCallBack = std::make_unique<ZEP2ErrInCallBack>(c, page, page->ERRMSGWndTitleDBCONN,
                                                            page->ERRMSGTextToDisplayForDBCONN,
                                                            _svDBErrorMsg, page->ERRMSGOKTitle);
    c->_ErrInCallBack->Build();
    c->_ErrInCallBack.reset();
    return;
  }
  // A check-only run reports an interrupted run's journal; it rolls nothing back.
  if (!c->CheckingOnly()) c->OfferInterruptedRollback(page);
  _nvTBSTypical = 1;
  _nvTBSCustom = 0;
  if (!connected && c->SkipTablespacePages(page)) return;
  if (c->_DlgTBSTypicalSel->Frame->ComboTBSTypicalSel->GetNbrOfLines() == 0) {
    const int result = c->SetTBSTYPICALSELCOMBO();
    if (result != 0) {
      WriteTraceLogFile(
          "\nERROR: SetTBSTYPICALSELCOMBO return code:" + QelUnicodeString::FromInt(result), 2);
      return;
    }
  }
  Show(c->_DlgTBSTypicalSel, page);
}

void ZEP2InstHQ::CB_DBAUSER_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_DBAUSER_Back BACK");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  _svDBAUSER = c->_DlgDBAUSER->Frame->EditorDBAUSER->GetText().ToUpper();
  _svDBAUSERP = c->_DlgDBAUSER->Frame->EditorDBAUSERP->GetText();
  if (_nvIBMDB2UDB) return Show(c->_DlgDB2Param2, c->_DlgDBAUSER);
  BackToFather();
}

bool ZEP2InstHQ::ExistingTablespaceSelected() {
  const QelUnicodeString entry = DefaultTablespaceEntry();
  return _svSELTBSTYPICAL_NOBLOB.Compare(entry) != 2 && _svSELTBSTYPICAL_BLOB.Compare(entry) != 2;
}

void ZEP2InstHQ::PresetVault() {
  ZEP2FrmVAULTADM* frame = _DlgVAULTADM->Frame;
  if (Empty(_svVAULTAdm)) {
    _svVAULTAdm = _svTESADM;
    frame->EditorVAULTADM->SetText(_svVAULTAdm);
  }
  if (Empty(_svVAULTAdmP)) {
    _svVAULTAdmP = _svTESADMP;
    frame->EditorVAULTADMP->SetText(_svVAULTAdmP);
  }
  if (Empty(_svVAULTRepository)) {
    _svVAULTRepository = _svTESADMHomd + "/TESSARVault";
    frame->EditorVAULTRepo->SetText(_svVAULTRepository);
  }
}

void ZEP2InstHQ::CB_VAULTADM_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_VAULTADM_Back BACK");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  const ZEP2FrmVAULTADM* frame = c->_DlgVAULTADM->Frame;
  _svVAULTAdm = frame->EditorVAULTADM->GetText();
  _svVAULTAdmP = frame->EditorVAULTADMP->GetText();
  _svVAULTRepository = frame->EditorVAULTRepo->GetText();
  Show(ExistingTablespaceSelected() ? static_cast<QelDialog*>(c->_DlgTBSTypicalSel)
                                    : c->_DlgTBSTypical,
       c->_DlgVAULTADM);
}

void ZEP2InstHQ::CB_VAULTSRV_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_VAULTSRV_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  c->_DlgSUM->SetSummary();
  c->StartPreparation();
}

void ZEP2InstHQ::StartPreparation() {
  WriteTraceLogFile("\nQelSubsribeIdle St_GenCustoDDL", 1);
  if (QelApplication* application = QelApplication::MainApplication()) {
    application->Subscribe(2, this, nullptr, St_GenCustoDDL);
  } else {
    WriteTraceLogFile("\nQelApplication::MainApplication() error !!!", 1);
  }
  _DlgWAIT->SetVisibility(QelDlgObject::Shown);
}

void ZEP2InstHQ::CB_VAULTSRV_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_VAULTSRV_Back BACK");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  if (_nvEXEVault) return c->_DlgVAULTADM->SetVisibility(QelDlgObject::Shown);
  (ExistingTablespaceSelected() ? static_cast<QelDialog*>(c->_DlgTBSTypicalSel) : c->_DlgTBSTypical)
      ->SetVisibility(QelDlgObject::Shown);
}

void ZEP2InstHQ::BackFromClash(QelDialog* page) {
  if (_nvEXEVault) _DlgVAULTADM->SetVisibility(QelDlgObject::Shown);
  page->SetVisibility(QelDlgObject::Hidden);
  if (!_nvEXEVault) CB_VAULTSRV_Back(this, nullptr, nullptr);
}

void ZEP2InstHQ::CB_CLASHADM_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_CLASHADM_Back BACK");
  _ZEP2InstHQHandler->BackFromClash(_ZEP2InstHQHandler->_DlgCLASHADM);
}

void ZEP2InstHQ::CB_CLASHSRV_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_CLASHSRV_Back BACK");
  _ZEP2InstHQHandler->BackFromClash(_ZEP2InstHQHandler->_DlgCLASHSRV);
}

void ZEP2InstHQ::CB_SUM_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_SUM_Back BACK");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  if (_nvEXEClashInst) {
    (_nvEXEClashServer ? static_cast<QelDialog*>(c->_DlgCLASHADM) : c->_DlgCLASHSRV)
        ->SetVisibility(QelDlgObject::Shown);
  } else if (_nvEXEVault) {
    c->_DlgVAULTADM->SetVisibility(QelDlgObject::Shown);
  }
  c->_DlgSUM->SetVisibility(QelDlgObject::Hidden);
  if (!_nvEXEClashInst && !_nvEXEVault) CB_VAULTSRV_Back(c, nullptr, nullptr);
}

void ZEP2InstHQ::CB_SUM_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_SUM_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  if (c->StartValidation()) return;
  c->_DlgREPORT->SetVisibility(QelDlgObject::Shown);
  c->_DlgSUM->SetVisibility(QelDlgObject::Hidden);
  ZEP2FrmSTATUS* status = c->_DlgSTATUS->Frame;
  c->_DlgSTATUS->SetVisibility(QelDlgObject::Shown);
  for (QelDlgLabel* label :
       {status->LabelSTATUSStateOne, status->LabelSTATUSStateTwo, status->LabelSTATUSStateTers}) {
    label->SetTitle("");
  }
  if (c->_Application) c->_Application->UpdateDisplay();
  status->SetProgressStatusBarRange(_nvEXEDBObj, _nvEXEStartupData, _nvEXESampleData, _nvEXECINDB);
  c->_DlgSTATUS->SetVisibility(QelDlgObject::Shown);
  if (!_nvEXEDBObj && !_nvEXEStartupData && !(_nvEXESampleData && _nvEXESampleDataActiv)) {
    _nvAUTHServer_Force = 0;
  }
  if (!_nvTBSTypical) return;
  if (QelApplication* application = QelApplication::MainApplication()) {
    application->Subscribe(2, c, nullptr, St_GenEnvFiles);
  } else {
    Trace("\nQelApplication::MainApplication() error !!!");
  }
}

void ZEP2InstHQ::CB_STATUS_Cancel(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_STATUS_Cancel CANCEL");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  ZEP2DlgSTATUS* status = c->_DlgSTATUS;
  if (c->ConfirmCancel(status) != 1) return;
  if (!status->IsButtonSensitive(QelDlgDialog::APPLY)) return;
  c->CancelInstallation();
}

void ZEP2InstHQ::CancelInstallation() {
  QelApplication* application = QelApplication::MainApplication();
  if (!application) return Trace("\nQelApplication::MainApplication() error !!!");
  _DlgSTATUS->SetButtonSensitivity(QelDlgDialog::APPLY, QelDlgObject::Insensitive);
  Trace("\nQelSubsribeIdle St_AbortInst");
  // One subscription per command: the abort takes the pending step's place.
  application->Subscribe(2, this, nullptr, St_AbortInst);
}

void ZEP2InstHQ::CB_REPORT_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_REPORT_Back BACK");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  Show(c->_DlgSUM, c->_DlgREPORT);
}

void ZEP2InstHQ::CB_REPORT_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_REPORT_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  if (!QelApplication::MainApplication()) return;
  if (_nvDBACursor) {
    _nvDBACursor->Close();
    _nvDBACursor.reset();
    Trace("\nCursor _nvDBACursor liberee");
  }
  if (_nvDBAConnection) {
    _nvDBAConnection->Close();
    _nvDBAConnection.reset();
    Trace("\nConnexion _nvDBAConnection liberee");
  }
  c->CloseEngineConnections();
  Trace("\nFinish before _Application->Destroy()");
  if (c->CheckingOnly()) return EndRun(c->_Validation.ExitStatus());
  // The report page ends every run; only a completed installation is a
  // success for the automation that started the wizard.
  if (c->_InstallationSucceeded && !c->_InstallationFailed) return EndRun(0);
  EndRun(c->_RollbackIncomplete ? RollbackIncompleteStatus : InstallationFailedStatus);
}
