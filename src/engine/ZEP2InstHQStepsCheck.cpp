// The checks before any change: modelers already installed, and the
// administrator's confirmation of every user decision (Oracle; DB2 asks
// nothing and cannot change authentication, so those lists abort there).
#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2MessageBoxes.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelLog.h"
#include "platform/QelMsgCatalog.h"

namespace {
using H = ZEP2InstHQ;

void TraceDecision(const char* what, const QelUnicodeString& user, const char* answer) {
  const QelUnicodeString line =
      std::string("\nProposition ") + what + " user <" + user.str() + answer;
  WriteLogFile(line);
  WriteTraceLogFile(line, 1);
}
}  // namespace

void ZEP2InstHQ::St_ChkDBAlreadyInstall(QelCommand* command, int, void*) {
  StepBegin(command, "ChkDBAlreadyInstall");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  StepProgress(20);
  if (_nvPosCurColl > controller->_ModelerPersColl.Size()) {
    _nvPosCurColl = 1;
    StepSubscribe(command, "St_ChkCreateUser", St_ChkCreateUser);
    StepEnd("ChkDBAlreadyInstall");
    return;
  }
  ZEP2PersModeler* modeler = controller->_ModelerPersColl(_nvPosCurColl);
  const QelUnicodeString owner = modeler->_SchemaOwner.ToUpper();
  _nvDBErrorCode = 0;
  const int installed = modeler->IsModelerAlreadyInstalled(owner);
  if (_nvDBErrorCode != 0) {
    // The connection or the catalogue query failed: whether the schema is
    // there is unknown, so nothing is installed.
    ZEP2DlgREPORT* report = controller->_DlgREPORT;
    controller->FailInstallation(command, report->ERRMSGWndTitleALLRINSTCHK,
                                 report->ERRMSGTextToDisplayForALLRINSTCHK);
    StepEnd("ChkDBAlreadyInstall");
    return;
  }
  _nvDBErrorCode = installed;
  if (_nvDBErrorCode == 0) {
    ++_nvPosCurColl;
    StepSubscribe(command, "St_ChkDBAlreadyInstall", St_ChkDBAlreadyInstall);
    StepEnd("ChkDBAlreadyInstall");
    return;
  }
  _nvPosCurColl = 1;
  ZEP2DlgREPORT* report = controller->_DlgREPORT;
  QelListValQelUnicodeString parameters;
  parameters.Append(owner);
  const QelUnicodeString text = QelMsgCatalog::BuildMessage(
      "ZEP2DlgREPORT", "ERRMSGTextToDisplayForALLRINST.Title", parameters, "");
  report->CurrentQuestion = text;
  const QelUnicodeString framed = "\n" + text + "\n";
  WriteLogFile(framed);
  WriteErrLogFile(framed);
  WriteTraceLogFile(framed, 2);
  controller->_DlgSTATUS->SetVisibility(QelDlgObject::Hidden);
  report->Frame->EditorREPORT->SetText(report->Welcome);
  controller->RecordFailure(text.str());
  controller->_ErrInSubsIdle = std::make_unique<ZEP2ErrInSubsIdle>(
      controller, report, report->ERRMSGWndTitleALLRINST, text, "", report->ERRMSGOKTitle);
  controller->_ErrInSubsIdle->Build();
  controller->AddAnalyseNotificationCB(
      controller->_ErrInSubsIdle->GetNotify()->GetNfyOKNotification(), CB_ZEP2ErrInSubsIdle_OK,
      nullptr);
  StepSubscribe(command, "St_AbortInst", St_AbortInst);
  StepEnd("ChkDBAlreadyInstall");
}

void ZEP2InstHQ::St_ChkCreateUser(QelCommand* command, int, void*) {
  StepBegin(command, "ChkCreateUser");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  if (_nvOracle) StepProgress(20);
  const QelListValQelUnicodeString& users = controller->_DBUserToCreateColl;
  if (!NextUser(users)) {
    StepSubscribe(command, "St_ChkAlterUserTmpSysSrvSys", St_ChkAlterUserTmpSysSrvSys);
  } else if (_nvIBMDB2UDB || controller->ConfirmUser("CHOICECRETextToDisplayForCHOICECRE.Title",
                                                     users(_nvPosCurColl))) {
    if (_nvOracle) TraceDecision("create", users(_nvPosCurColl), "> acceptee");
    ++_nvPosCurColl;
    StepSubscribe(command, "St_ChkCreateUser", St_ChkCreateUser);
  } else {
    TraceDecision("create", users(_nvPosCurColl), "> refusee");
    controller->RefuseInstallation(command);
  }
  StepEnd("ChkCreateUser");
}

void ZEP2InstHQ::ConfirmEveryUser(QelCommand* command, const char* step, QelIdleFunction self,
                                  const char* nextStep, QelIdleFunction next,
                                  const QelListValQelUnicodeString& users, const char* key,
                                  const char* accepted, const char* refused) {
  if (!NextUser(users)) {
    StepSubscribe(command, nextStep, next);
  } else if (_nvOracle && ConfirmUser(key, users(_nvPosCurColl))) {
    TraceDecision("alter", users(_nvPosCurColl), accepted);
    ++_nvPosCurColl;
    StepSubscribe(command, step, self);
  } else {
    // DB2 cannot switch a user's authentication: such a user stops the run.
    if (_nvOracle) TraceDecision("alter", users(_nvPosCurColl), refused);
    RefuseInstallation(command);
  }
}

void ZEP2InstHQ::St_ChkAlterUserTmpSysSrvSys(QelCommand* command, int, void*) {
  StepBegin(command, "ChkAlterUserTmpSysSrvSys");
  if (_nvOracle) StepProgress(20);
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  controller->ConfirmEveryUser(command, "St_ChkAlterUserTmpSysSrvSys", St_ChkAlterUserTmpSysSrvSys,
                               "St_ChkAlterUserDefSysSrv", St_ChkAlterUserDefSysSrv,
                               controller->_DBUserToAlterTmpSysSrvSysColl,
                               "CHOICETMPTextToDisplayForCHOICETMP.Title", "> temporary acceptee",
                               "> temporary refusee");
  StepEnd("ChkAlterUserTmpSysSrvSys");
}

void ZEP2InstHQ::St_ChkAlterUserDefSysSrv(QelCommand* command, int, void*) {
  StepBegin(command, "ChkAlterUserDefSysSrv");
  if (_nvOracle) StepProgress(20);
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  controller->ConfirmEveryUser(command, "St_ChkAlterUserDefSysSrv", St_ChkAlterUserDefSysSrv,
                               "St_ChkAlterUserDefSrvSys", St_ChkAlterUserDefSrvSys,
                               controller->_DBUserToAlterDefSysSrvColl,
                               "CHOICEDEFSYSSRVTextToDisplayForCHOICEDEFSYSSRV.Title",
                               "> definitively acceptee", "> definitively refusee");
  StepEnd("ChkAlterUserDefSysSrv");
}

void ZEP2InstHQ::St_ChkAlterUserDefSrvSys(QelCommand* command, int, void*) {
  StepBegin(command, "ChkAlterUserDefSrvSys");
  if (_nvOracle) StepProgress(20);
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  const QelListValQelUnicodeString& users = controller->_DBUserToAlterDefSrvSysColl;
  if (!NextUser(users)) {
    if (!_nvEXEDBObj && _nvEXEStartupData) {
      StepSubscribe(command, "St_AlterUserDefSysSrv", St_AlterUserDefSysSrv);
    } else {
      StepSubscribe(command, "St_TypicalTBSCreation", St_TypicalTBSCreation);
    }
  } else {
    QelUnicodeString& flag = controller->_DBUserAuthToAlterDefSrvSysColl(_nvPosCurColl);
    if (_nvOracle && flag.Compare("N") == 2) {
      const bool yes = controller->ConfirmUser(
          "CHOICEDEFSRVSYSTextToDisplayForCHOICEDEFSRVSYS.Title", users(_nvPosCurColl));
      TraceDecision("alter", users(_nvPosCurColl),
                    yes ? "> definitively acceptee" : "> definitively refusee");
      if (yes) flag = "Y";
    }
    ++_nvPosCurColl;
    StepSubscribe(command, "St_ChkAlterUserDefSrvSys", St_ChkAlterUserDefSrvSys);
  }
  StepEnd("ChkAlterUserDefSrvSys");
}
