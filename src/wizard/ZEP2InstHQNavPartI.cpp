// Next and Back of the first process's pages: the administrator, what to
// do and how, the DBMS, the dictionary owner, and the DB2 instance or the
// Oracle home and service, which end the first part by starting the son.
#include <unistd.h>

#include <cctype>

#include "app/ZEP2InstHQ.h"
#include "engine/ZEP2ValidationMode.h"
#include "pages/ZEP2MessageBoxes.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelLog.h"
#include "platform/QelMsgCatalog.h"
#include "platform/QelSystem.h"
#include "settings/InstSettingsHandBack.h"
#include "settings/InstSettingsLock.h"
#include "wizard/ZEP2PageHelpers.h"

namespace {

using zep2pages::Empty;
using zep2pages::Show;
using zep2pages::Trace;

using H = ZEP2InstHQ;

bool Checked(const QelDlgToggle* button) {
  return button->IsChecked();
}

}  // namespace

void ZEP2InstHQ::ShowError(ZEP2PageDialog* page, const QelUnicodeString& text,
                           const QelUnicodeString& detail) {
  _ErrInCallBack = std::make_unique<ZEP2ErrInCallBack>(this, page, page->ERRMSGWndTitle, text,
                                                       detail, page->ERRMSGOKTitle);
  _ErrInCallBack->Build();
  _ErrInCallBack.reset();
}

void ZEP2InstHQ::ShowFieldError(ZEP2PageDialog* page, QelDlgObject* field,
                                const QelUnicodeString& text) {
  _ErrInCallBack = std::make_unique<ZEP2ErrInCallBack>(this, page, page->ERRMSGWndTitle, text, "",
                                                       page->ERRMSGOKTitle);
  _ErrInCallBack->SetSubject(field);
  _ErrInCallBack->Build();
  _ErrInCallBack.reset();
}

void ZEP2InstHQ::ShowInputError(const QelUnicodeString& text, QelDlgObject* field) {
  _ErrDlgDir = std::make_unique<ZEP2ErrDlgDir>(this, text);
  _ErrDlgDir->SetSubject(field);
  _ErrDlgDir->Build();
  _ErrDlgDir.reset();
}

void ZEP2InstHQ::BusyCursor() {
  if (_Application) _Application->SetBusyCursor();
}

void ZEP2InstHQ::CB_TESADM_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_TESADM_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  c->BusyCursor();
  ZEP2DlgTESADM* page = c->_DlgTESADM;
  _svTESADM = page->Frame->EditorTESADM->GetText();
  _svTESADMP = page->Frame->EditorTESADMP->GetText();
  WriteTraceLogFile("\nTESADM: <" + _svTESADM + ">", 1);
  if (Empty(_svTESADM) &&
      c->Refused(page, page->ERRMSGTextToDisplayForTESADM, page->Frame->EditorTESADM))
    return;
  if (Empty(_svTESADMP) &&
      c->Refused(page, page->ERRMSGTextToDisplayForTESADMP, page->Frame->EditorTESADMP))
    return;
  const bool validate = !QelGetEnv("TESSARDBSETUP_NO_PASS_VALIDATION");
  if (!validate) {
    Trace("\nPASSWORD VALIDATION OFF");
  } else {
    Trace("\nPASSWORD VALIDATION ON");
    const int code = authenticateWithPassword(_svTESADM.c_str(), _svTESADMP.c_str());
    WriteTraceLogFile("\nRCRCauthenticateWithPassword : " + QelUnicodeString::FromInt(code), 1);
    if (code == -2 && c->Refused(page, page->ERRMSGRootUserForbidden, page->Frame->EditorTESADM))
      return;
    if (code == -3 && c->Refused(page, page->ERRMSGInvalidUsername, page->Frame->EditorTESADM))
      return;
    if (code == -4 && c->Refused(page, page->ERRMSGInvalidPassword, page->Frame->EditorTESADMP))
      return;
    if (code != 0 && !zep2validation::Silent()) return;
  }
  if (Empty(_svTESDICOOwner)) {
    c->_DlgTESDICO->Frame->EditorTESDICO->SetText(_svTESADM);
    c->_DlgTESDICO->Frame->EditorTESDICOP->SetText(_svTESADMP);
  }
  c->GetUidGidHomd(_svTESADM, &_nvTESADMUid, &_nvTESADMGid, &_svTESADMHomd);
  if (validate) {
    WriteTraceLogFile("\nTESADM                : <" + _svTESADM + ">", 1);
    WriteTraceLogFile("\nTESADM UID            : <" + QelUnicodeString::FromInt(_nvTESADMUid) + ">",
                      1);
    WriteTraceLogFile("\nTESADM GID            : <" + QelUnicodeString::FromInt(_nvTESADMGid) + ">",
                      1);
    WriteTraceLogFile("\nTESADM home directory : <" + _svTESADMHomd + ">", 1);
  }
  int x = 0;
  int y = 0;
  page->GetRectPosition(x, y);
  WriteTraceLogFile("\nCurWindowPos.x : " + QelUnicodeString::FromInt(x), 1);
  WriteTraceLogFile("\nCurWindowPos.y : " + QelUnicodeString::FromInt(y), 1);
  c->_DlgTOEXE->SetRectPosition(x, y);
  Show(c->_DlgTOEXE, page);
}

void ZEP2InstHQ::CB_TESADM_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_TESADM_Back BACK");
  ZEP2DlgTESADM* page = _ZEP2InstHQHandler->_DlgTESADM;
  _svTESADM = page->Frame->EditorTESADM->GetText().ToUpper();
  _svTESADMP = page->Frame->EditorTESADMP->GetText();
}

void ZEP2InstHQ::StoreWhatToDo() {
  const ZEP2FrmTOEXE* frame = _DlgTOEXE->Frame;
  _nvEXEDBObj = Checked(frame->ChkButTOEXEDBObj);
  _nvEXEStartupData = Checked(frame->ChkButTOEXEStartupData);
  _nvEXEVault = Checked(frame->ChkButTOEXEVault);
  _nvEXEClashInst = Checked(frame->ChkButTOEXEClashInst);
  if (_nvEXEClashInst) _nvEXEClashServer = Checked(frame->RadButTOEXEClashServer);
}

// Database objects without start-up data may go into a DDL file instead.
static bool AsksHowToExecute() {
  return H::_nvEXEDBObj == 1 && H::_nvEXEStartupData == 0;
}

void ZEP2InstHQ::CB_TOEXE_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_TOEXE_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  c->StoreWhatToDo();
  Show(AsksHowToExecute() ? static_cast<QelDialog*>(c->_DlgEXEParam) : c->_DlgDBMSType,
       c->_DlgTOEXE);
}

void ZEP2InstHQ::CB_TOEXE_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_TOEXE_Back BACK");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  c->StoreWhatToDo();
  Show(c->_DlgTESADM, c->_DlgTOEXE);
}

void ZEP2InstHQ::CB_EXEParam_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_EXEParam_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  c->BusyCursor();
  ZEP2DlgEXEParam* page = c->_DlgEXEParam;
  if (!Checked(page->Frame->RadButEXEINFILE)) {
    _nvEXECINDB = 1;
    _nvGENDDLONLY = 0;
    return Show(c->_DlgDBMSType, page);
  }
  _nvEXECINDB = 0;
  _nvGENDDLONLY = 1;
  _svDDLFILENAME = page->Frame->EditorEXEDDLFileName->GetText();
  _svDDLFILEPATH = page->Frame->EditorEXEDDLFilePath->GetText();
  if (Empty(_svDDLFILENAME) &&
      c->Refused(page, page->ERRMSGTextToDisplayForDDLFILENAME, page->Frame->EditorEXEDDLFileName))
    return;
  if (Empty(_svDDLFILEPATH) &&
      c->Refused(page, page->ERRMSGTextToDisplayForDDLFILEPATH, page->Frame->EditorEXEDDLFilePath))
    return;
  if (IsDirectory(_svDDLFILEPATH) != 0) {
    if (c->Refused(page, page->ERRMSGTextToDisplayForDDLFILEPATHW,
                   page->Frame->EditorEXEDDLFilePath))
      return;
  }
  Show(c->_DlgDBMSType, page);
}

void ZEP2InstHQ::CB_EXEParam_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_EXEParam_Back BACK");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  Show(c->_DlgTOEXE, c->_DlgEXEParam);
}

void ZEP2InstHQ::CB_DBMSType_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_DBMSType_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  _nvIBMDB2UDB = Checked(c->_DlgDBMSType->Frame->RadButIBMUDB);
  _nvOracle = Checked(c->_DlgDBMSType->Frame->RadButOracle);
  ZEP2FrmTESDICO* owner = c->_DlgTESDICO->Frame;
  if (_nvIBMDB2UDB) {
    // With DB2 the owner's password is the administrator's: not asked.
    owner->EditorTESDICOP->SetText(_svTESADMP);
    owner->LabelTESDICOP->SetVisibility(QelDlgObject::Hidden);
    owner->EditorTESDICOP->SetVisibility(QelDlgObject::Hidden);
  } else if (_nvOracle && !owner->LabelTESDICOP->IsVisible()) {
    owner->EditorTESDICOP->SetText(_svTESADM.Compare(_svTESDICOOwner) == 2 ? _svTESADMP : "");
    owner->LabelTESDICOP->SetVisibility(QelDlgObject::Shown);
    owner->EditorTESDICOP->SetVisibility(QelDlgObject::Shown);
  }
  Show(c->_DlgTESDICO, c->_DlgDBMSType);
}

void ZEP2InstHQ::CB_DBMSType_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_DBMSType_Back BACK");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  _nvIBMDB2UDB = Checked(c->_DlgDBMSType->Frame->RadButIBMUDB);
  _nvOracle = Checked(c->_DlgDBMSType->Frame->RadButOracle);
  Show(AsksHowToExecute() ? static_cast<QelDialog*>(c->_DlgEXEParam) : c->_DlgTOEXE,
       c->_DlgDBMSType);
}

void ZEP2InstHQ::CB_TESDICO_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_TESDICO_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  c->BusyCursor();
  ZEP2DlgTESDICO* page = c->_DlgTESDICO;
  const char* singleUser = QelGetEnv("TESSAR_SINGLE_USER");
  const bool client = singleUser && QelUnicodeString(singleUser).ToUpper().Compare("OFF") == 2;
  Trace(client ? "\nSINGLE USER OFF" : "\nSINGLE USER ON");
  _svTESDICOOwner = page->Frame->EditorTESDICO->GetText();
  _svTESDICOOwnerP = page->Frame->EditorTESDICOP->GetText();
  if (Empty(_svTESDICOOwner) &&
      c->Refused(page, page->ERRMSGTextToDisplayForTESDICO, page->Frame->EditorTESDICO))
    return;
  if (Empty(_svTESDICOOwnerP) &&
      c->Refused(page, page->ERRMSGTextToDisplayForTESDICOP, page->Frame->EditorTESDICOP))
    return;
  // Both accounts become database users here, named without quotes and,
  // under Oracle, identified by their password between double quotes.
  const int dbms = _nvIBMDB2UDB ? QelDbDB2 : QelDbOracle;
  const QelDbDialect& dialect = QelDbDialect::For(dbms);
  if (c->RefusedForDBMS(page, dialect.CheckUserName(_svTESADM.ToUpper().str()), "SubjectTESADM",
                        dbms) ||
      c->RefusedForDBMS(page, dialect.CheckPassword(_svTESADMP.str()), "SubjectTESADMP", dbms) ||
      c->RefusedForDBMS(page, dialect.CheckUserName(_svTESDICOOwner.ToUpper().str()),
                        "SubjectTESDICO", dbms) ||
      c->RefusedForDBMS(page, dialect.CheckPassword(_svTESDICOOwnerP.str()), "SubjectTESDICOP",
                        dbms)) {
    return;
  }
  _svTESDICOOwner = _svTESDICOOwner.ToUpper();
  _nvAUTHClient = client ? 1 : 0;
  _nvAUTHServer = client ? 0 : 1;
  if (_nvIBMDB2UDB) {
    if (c->SetDB2INSTANCECOMBO() != 0) return Trace("\nCB_AUTHMode_Next NO DB2 INSTANCE!!!");
    return Show(c->_DlgDB2Param, page);
  }
  Show(c->_DlgORALoc, page);
}

void ZEP2InstHQ::CB_TESDICO_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_TESDICO_Back BACK");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  _svTESDICOOwner = c->_DlgTESDICO->Frame->EditorTESDICO->GetText().ToUpper();
  _svTESDICOOwnerP = c->_DlgTESDICO->Frame->EditorTESDICOP->GetText();
  Show(c->_DlgDBMSType, c->_DlgTESDICO);
}

void ZEP2InstHQ::CB_DB2Param_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_DB2Param_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  if (!QelApplication::MainApplication()) return;
  c->BusyCursor();
  ZEP2DlgDB2Param* page = c->_DlgDB2Param;
  _svDB2INSTANCE = ZEP2DlgDB2Param::ChosenName(*page->Frame->ComboDB2Instance);
  WriteTraceLogFile("\nGetLine Selected : <" + _svDB2INSTANCE + ">", 1);
  _svDB2INSTANCE_HOMDIR = page->Frame->EditorDB2InstanceHD->GetText();
  if (IsDirectory(_svDB2INSTANCE_HOMDIR) != 0) {
    return c->ShowInputError("Installation cannot find directory : \n" + _svDB2INSTANCE_HOMDIR,
                             page->Frame->EditorDB2InstanceHD);
  }
  // "Others ..." chosen and nothing typed: no instance to start with.
  if (Empty(_svDB2INSTANCE)) {
    return c->ShowInputError(
        "Installation needs the name of a DB2 instance : \nchoose it in the list, or choose \"" +
        QelUnicodeString(ZEP2DlgDB2Param::OthersLine) + "\" and type it.");
  }
  c->EndPartI(page);
}

void ZEP2InstHQ::CB_DB2Param_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_DB2Param_Back BACK");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  _svDB2INSTANCE = ZEP2DlgDB2Param::ChosenName(*c->_DlgDB2Param->Frame->ComboDB2Instance);
  Show(c->_DlgTESDICO, c->_DlgDB2Param);
}

void ZEP2InstHQ::StoreOracleLocation() {
  _nvORALocal = Checked(_DlgORALoc->Frame->RadButORALocLocal);
  _nvORARemote = Checked(_DlgORALoc->Frame->RadButORALocRemote);
}

void ZEP2InstHQ::CB_ORALoc_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_ORALoc_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  c->StoreOracleLocation();
  Show(c->_DlgORAParam, c->_DlgORALoc);
}

void ZEP2InstHQ::CB_ORALoc_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_ORALoc_Back BACK");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  c->StoreOracleLocation();
  Show(c->_DlgTESDICO, c->_DlgORALoc);
}

void ZEP2InstHQ::CB_ORAParam_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_ORAParam_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  c->BusyCursor();
  ZEP2DlgORAParam* page = c->_DlgORAParam;
  _svORACLE_HOME = page->Frame->EditorORACLE_HOME->GetText();
  _svORACLE_N32_HOME = page->Frame->EditorORACLE_N32_HOME->GetText();
  if (Empty(_svORACLE_HOME) &&
      c->Refused(page, page->ERRMSGTextToDisplayForORACLE_HOME, page->Frame->EditorORACLE_HOME))
    return;
  if (IsDirectory(_svORACLE_HOME) != 0 || IsDirectory(_svORACLE_HOME + "/lib") != 0) {
    if (c->Refused(page, page->ERRMSGTextToDisplayForWRONGPATH, page->Frame->EditorORACLE_HOME))
      return;
  }
  if (Empty(_svORATNS_ADMIN)) {
    c->_DlgORAParam2->Frame->EditorORATNSADMIN->SetText(_svORACLE_HOME + "/network/admin");
  }
  Show(c->_DlgORAParam2, page);
}

void ZEP2InstHQ::CB_ORAParam_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_ORAParam_Back BACK");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  _svORACLE_HOME = c->_DlgORAParam->Frame->EditorORACLE_HOME->GetText();
  Show(c->_DlgORALoc, c->_DlgORAParam);
}

// Where the second process's Oracle client reads tnsnames.ora: the
// TNS_ADMIN the page sets, else the one it inherits, else its home's.
static QelUnicodeString OracleNetDirectory() {
  if (H::_nvORATNS_ADMIN) return H::_svORATNS_ADMIN;
  if (const char* inherited = QelGetEnv("TNS_ADMIN"); inherited && *inherited) return inherited;
  return H::_svORACLE_HOME + "/network/admin";
}

void ZEP2InstHQ::StoreOracleService() {
  const ZEP2FrmORAParam2* frame = _DlgORAParam2->Frame;
  _svORASRVNAME = frame->EditorORAServiceName->GetText();
  _nvORATNS_ADMIN = Checked(frame->ChkButTNSADMIN);
  _svORATNS_ADMIN = _nvORATNS_ADMIN ? frame->EditorORATNSADMIN->GetText() : QelUnicodeString();
}

void ZEP2InstHQ::CB_ORAParam2_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_ORAParam2_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  c->BusyCursor();
  ZEP2DlgORAParam2* page = c->_DlgORAParam2;
  c->StoreOracleService();
  if (Empty(_svORASRVNAME) &&
      c->Refused(page, page->ERRMSGTextToDisplayForSRVNAME, page->Frame->EditorORAServiceName))
    return;
  if (_nvORATNS_ADMIN) {
    if (Empty(_svORATNS_ADMIN) &&
        c->Refused(page, page->ERRMSGTextToDisplayForTNSADMIN, page->Frame->EditorORATNSADMIN))
      return;
    if (IsDirectory(_svORATNS_ADMIN) != 0) {
      if (c->Refused(page, page->ERRMSGTextToDisplayForWRONG_TNS, page->Frame->EditorORATNSADMIN))
        return;
    }
  }
  // A name no client resolves would only fail as a refused login on the
  // administrator page, after the second process has started.
  const std::string unresolved =
      QelDbCheckServiceName(_svORASRVNAME.str(), OracleNetDirectory().str());
  if (!unresolved.empty()) {
    WriteTraceLogFile("\nINPUT ERROR: service <" + _svORASRVNAME + "> " + unresolved, 1);
    QelListValQelUnicodeString parameters;
    parameters.Append(_svORASRVNAME);
    parameters.Append(unresolved);
    QelUnicodeString text;
    QelMsgCatalog::BuildMessage(QelMsg(page->ERRMSGTextToDisplayForUNKNOWN_SRVNAME), text,
                                parameters);
    return c->ShowError(page, text);
  }
  c->EndPartI(page);
}

void ZEP2InstHQ::CB_ORAParam2_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_ORAParam2_Back BACK");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  c->StoreOracleService();
  Show(c->_DlgORAParam, c->_DlgORAParam2);
}

void ZEP2InstHQ::EndPartI(QelDlgDialog* page) {
  // A son never starts a son: that is how a missing hand-over once became
  // an endless chain of processes.
  if (QelGetEnv("FATHERPID")) return ShowLaunchError("ERRMSGNestedSon", "", "");
  std::string error;
  const int locked = _SettingsLock.Acquire(error);
  if (locked == 1) return ShowLaunchError("ERRMSGAnotherRun", ZEP2InstSettingsPath(), "");
  if (locked != 0) {
    return ShowLaunchError("ERRMSGSettingsNotSaved", ZEP2InstSettingsPath(), error);
  }
  ZEP2ForgetAnswersForAnotherDatabase();
  _nvINSTPARTII = 1;
  if (SaveInstSettingPartI() != 0) {
    _nvINSTPARTII = 0;
    ReleaseSon();
    return ShowLaunchError("ERRMSGSettingsNotSaved", ZEP2InstSettingsPath(),
                           "the file cannot be written or does not read back");
  }
  for (const auto button : {QelDlgDialog::OK, QelDlgDialog::APPLY, QelDlgDialog::CANCEL}) {
    page->SetButtonSensitivity(button, QelDlgObject::Insensitive);
  }
  if (_Application) {
    _Application->UpdateDisplay();
    _Application->SetBusyCursor();
  }
  SonLauncher();
  if (_SonProcessId > 0) sleep(1);
}
