// The steps that create the typical tablespaces and the users, switch their
// authentication and grant their rights, each statement through the DBA
// connection (and into the DDL file in file mode).
#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelLog.h"
#include "platform/db/QelDbDialect.h"
#include "platform/db/QelDbSecrets.h"
#include "platform/db/QelZepDDLFile.h"

namespace {

using H = ZEP2InstHQ;

QelUnicodeString Trimmed(const QelUnicodeString& text) {
  return text.Strip(QelUnicodeString::Both, ' ');
}

}  // namespace

ZEP2UserStatements ZEP2InstHQ::UserStatements() {
  return ZEP2UserStatements(_nvIBMDB2UDB ? QelDbDB2 : QelDbOracle, TypicalTablespace(),
                            TypicalBLOBTablespace());
}

int ZEP2InstHQ::AnswerNotWritable(const char* what) {
  const char* dbms = QelDbName(_nvIBMDB2UDB ? QelDbDB2 : QelDbOracle);
  SetDBErrorMsg(QelUnicodeString("The answer for ") + what +
                " cannot be written into a statement: it holds a character " + dbms +
                " does not take there. Go back and change it.");
  WriteErrLogFile(QelUnicodeString("\n") + _svDBErrorMsg);
  _nvDBErrorCode = -1;
  return _nvDBErrorCode;
}

void ZEP2InstHQ::St_TypicalTBSCreation(QelCommand* command, int, void*) {
  StepBegin(command, "TypicalTBSCreation");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  ZEP2DlgSTATUS* status = controller->_DlgSTATUS;
  SetStatusLines(status->TBSCreation, "");
  StepProgress(20);
  _svCRETBSTYPICAL_NOBLOB = Trimmed(_svCRETBSTYPICAL_NOBLOB);
  _svCRETBSTYPICAL_BLOB = Trimmed(_svCRETBSTYPICAL_BLOB);
  const QelUnicodeString defaultEntry = DefaultTablespaceEntry();
  int result = 0;
  const ZEP2UserStatements statements = UserStatements();
  const auto create = [&statements](const QelUnicodeString& name, bool blob, int& created) {
    const std::optional<ZEP2Statement> statement =
        statements.CreateTablespace(name, _svCRETBSTYPICAL_DIR, blob);
    if (!statement) return AnswerNotWritable("the tablespace name or its directory");
    WriteTraceLogFile("\nCreate tablespace statement: <" + statement->text + ">", 1);
    const int result = RunAdministratorStatement(QelSqlType::CreateTablespaceOrUser,
                                                 statement->text, true, statement->undo);
    if (result == 0 && _nvEXECINDB) created = 1;
    return result;
  };
  if (_svSELTBSTYPICAL_NOBLOB.Compare(defaultEntry) == 2) {
    result = create(_svCRETBSTYPICAL_NOBLOB, false, _nvTypicalTBSCreated);
  }
  if (result == 0 && _svSELTBSTYPICAL_BLOB.Compare(defaultEntry) == 2 &&
      _svCRETBSTYPICAL_BLOB.Compare(_svCRETBSTYPICAL_NOBLOB) != 2) {
    result = create(_svCRETBSTYPICAL_BLOB, true, _nvTypicalTBSBLOBCreated);
  }
  _nvDBErrorCode = result;
  if (result != 0) {
    controller->FailInstallation(command, controller->_DlgREPORT->ERRMSGWndTitleTBSCREATION,
                                 controller->_DlgREPORT->ERRMSGTextToDisplayForTBSCREATION);
  } else {
    SetStatusLines(status->TBSCreation, status->TBSCreation + status->Successfull);
    StepSubscribe(command, "St_TypicalUSERCreation", St_TypicalUSERCreation);
  }
  StepEnd("TypicalTBSCreation");
}

void ZEP2InstHQ::St_TypicalUSERCreation(QelCommand* command, int, void*) {
  StepBegin(command, "TypicalUSERCreation");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  ZEP2DlgSTATUS* status = controller->_DlgSTATUS;
  SetStatusLines(status->USERCreation, "");
  _svTESDICOOwner = Trimmed(_svTESDICOOwner).ToUpper();
  _svTESADM = Trimmed(_svTESADM).ToUpper();
  if (_nvIBMDB2UDB) {
    WriteTraceLogFile("\nDB2 Nothing to do", 1);
    _nvPosCurColl = 1;
    StepSubscribe(command, "St_AlterUserDefSysSrv", St_AlterUserDefSysSrv);
    StepEnd("TypicalUSERCreation");
    return;
  }
  StepProgress(20);
  const QelListValQelUnicodeString& users = controller->_DBUserToCreateColl;
  if (!NextUser(users)) {
    StepSubscribe(command, "St_AlterUserDefSysSrv", St_AlterUserDefSysSrv);
    StepEnd("TypicalUSERCreation");
    return;
  }
  const QelUnicodeString user = users(_nvPosCurColl).ToUpper();
  const std::optional<ZEP2Statement> statement =
      UserStatements().CreateUser(user, controller->_DBUserPassToCreateColl(_nvPosCurColl));
  if (!statement) {
    AnswerNotWritable("a user name or password");
    controller->FailInstallation(command, controller->_DlgREPORT->ERRMSGWndTitleUSERCREATION,
                                 controller->_DlgREPORT->ERRMSGTextToDisplayForUSERCREATION);
    StepEnd("TypicalUSERCreation");
    return;
  }
  WriteTraceLogFile("\nCreate user statement: <" + QelDbMaskPasswords(statement->text) + ">", 1);
  // A user the DDL file creates is one its reverse drops whole, as the
  // rollback drops one this run created.
  const bool created = _nvEXECINDB || _nvGENDDLONLY;
  if (created) controller->_UsersCreatedByRun.push_back(user.str());
  _nvDBErrorCode = RunAdministratorStatement(QelSqlType::CreateTablespaceOrUser, statement->text,
                                             true, statement->undo);
  if (_nvDBErrorCode != 0) {
    // A user the DBMS refused to create may be one that existed already.
    if (created) controller->_UsersCreatedByRun.pop_back();
    controller->FailInstallation(command, controller->_DlgREPORT->ERRMSGWndTitleUSERCREATION,
                                 controller->_DlgREPORT->ERRMSGTextToDisplayForUSERCREATION);
  } else {
    // Remember what the run created, so that a rollback removes it again.
    if (_nvEXECINDB && user.Compare(_svTESADM.ToUpper()) == 2) _nvTESADMNIUserCreated = 1;
    if (_nvEXECINDB && user.Compare(_svTESDICOOwner.ToUpper()) == 2) _nvTESDICOOwnerCreated = 1;
    ++_nvPosCurColl;
    StepSubscribe(command, "St_TypicalUSERCreation", St_TypicalUSERCreation);
  }
  StepEnd("TypicalUSERCreation");
}

bool ZEP2InstHQ::AlterEveryUser(QelCommand* command, const char* step, QelIdleFunction self,
                                const char* nextStep, QelIdleFunction next,
                                const QelListValQelUnicodeString& users,
                                const QelListValQelUnicodeString* passwords,
                                const QelListValQelUnicodeString* flags) {
  if (_nvIBMDB2UDB) {
    WriteTraceLogFile("\nDB2 Nothing to do", 1);
    _nvPosCurColl = 1;
    StepSubscribe(command, nextStep, next);
    return true;
  }
  StepProgress(20);
  // Users whose flag is not "Y" are passed over without a statement.
  while (_nvPosCurColl <= users.Size() && flags && (*flags)(_nvPosCurColl).Compare("Y") != 2) {
    ++_nvPosCurColl;
  }
  if (!NextUser(users)) {
    StepSubscribe(command, nextStep, next);
    return true;
  }
  const QelUnicodeString user = users(_nvPosCurColl).ToUpper();
  const ZEP2UserStatements statements = UserStatements();
  const std::optional<QelUnicodeString> altered =
      passwords ? statements.AlterUserPassword(user, (*passwords)(_nvPosCurColl))
                : statements.AlterUserExternally(user);
  if (!altered) {
    AnswerNotWritable("a user name or password");
    FailInstallation(command, _DlgSTATUS->ERRMSGWndTitleUSERALTER,
                     _DlgSTATUS->ERRMSGTextToDisplayForUSERALTER);
    return false;
  }
  const QelUnicodeString& text = *altered;
  WriteTraceLogFile("\nAlter User Statement: <" + QelDbMaskPasswords(text) + ">", 1);
  QelUnicodeString undo;
  _nvDBErrorCode = UndoOfAlterUser(user, undo);
  if (_nvDBErrorCode == 0) {
    _nvDBErrorCode = RunAdministratorStatement(QelSqlType::AlterUser, text, false, undo);
  }
  if (_nvDBErrorCode != 0) {
    FailInstallation(command, _DlgSTATUS->ERRMSGWndTitleUSERALTER,
                     _DlgSTATUS->ERRMSGTextToDisplayForUSERALTER);
    return false;
  }
  ++_nvPosCurColl;
  StepSubscribe(command, step, self);
  return false;
}

void ZEP2InstHQ::St_AlterUserDefSysSrv(QelCommand* command, int, void*) {
  StepBegin(command, "AlterUserDefSysSrv");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  SetStatusLines(controller->_DlgSTATUS->USERAlter, "");
  controller->AlterEveryUser(command, "St_AlterUserDefSysSrv", St_AlterUserDefSysSrv,
                             "St_AlterUserTmpSysSrv", St_AlterUserTmpSysSrv,
                             controller->_DBUserToAlterDefSysSrvColl,
                             &controller->_DBUserPassToAlterDefSysSrvColl, nullptr);
  StepEnd("AlterUserDefSysSrv");
}

void ZEP2InstHQ::St_AlterUserTmpSysSrv(QelCommand* command, int, void*) {
  StepBegin(command, "AlterUserTmpSysSrv");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  controller->AlterEveryUser(command, "St_AlterUserTmpSysSrv", St_AlterUserTmpSysSrv,
                             "St_TypicalALTERUser", St_TypicalALTERUser,
                             controller->_DBUserToAlterTmpSysSrvSysColl,
                             &controller->_DBUserPassToAlterTmpSysSrvSysColl, nullptr);
  StepEnd("AlterUserTmpSysSrv");
}

void ZEP2InstHQ::St_AlterUserTmpSrvSys(QelCommand* command, int, void*) {
  StepBegin(command, "AlterUserTmpSrvSys");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  controller->AlterEveryUser(command, "St_AlterUserTmpSrvSys", St_AlterUserTmpSrvSys,
                             "St_AlterUserDefSrvSys", St_AlterUserDefSrvSys,
                             controller->_DBUserToAlterTmpSysSrvSysColl, nullptr, nullptr);
  StepEnd("AlterUserTmpSrvSys");
}

void ZEP2InstHQ::St_AlterUserDefSrvSys(QelCommand* command, int, void*) {
  StepBegin(command, "AlterUserDefSrvSys");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  const bool done = controller->AlterEveryUser(
      command, "St_AlterUserDefSrvSys", St_AlterUserDefSrvSys, "St_GenEnvFiles", St_GenEnvFiles,
      controller->_DBUserToAlterDefSrvSysColl, nullptr,
      &controller->_DBUserAuthToAlterDefSrvSysColl);
  // The database work is over: the second call of St_GenEnvFiles ends the
  // installation.
  if (done) {
    _nvPosCurColl = 1;
    _nvAUTHServer_Force = 0;
    _nvEXEDBObj = 0;
    _nvEXEStartupData = 0;
    _nvEXESampleData = 0;
    _nvEXESampleDataActiv = 0;
    WriteTraceLogFile("\nSt_AlterUserDefSrvSys QelSubsribeIdle St_GenEnvFiles", 1);
  }
  StepEnd("AlterUserDefSrvSys");
}

void ZEP2InstHQ::St_TypicalALTERUser(QelCommand* command, int, void*) {
  StepBegin(command, "TypicalALTERUser");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  if (_nvIBMDB2UDB) {
    WriteTraceLogFile("\nDB2 Nothing to do", 1);
    _nvPosCurColl = 1;
    StepSubscribe(command, "St_GRANTUserTESADM", St_GRANTUserTESADM);
    StepEnd("TypicalALTERUser");
    return;
  }
  StepProgress(20);
  if (_nvPosCurColl > controller->_ModelerPersColl.Size()) {
    _nvPosCurColl = 1;
    StepSubscribe(command, "St_GRANTUserTESADM", St_GRANTUserTESADM);
    StepEnd("TypicalALTERUser");
    return;
  }
  const QelUnicodeString owner =
      controller->_ModelerPersColl(_nvPosCurColl)->_SchemaOwner.ToUpper();
  WriteTraceLogFile("\nl_svSchemaName: <" + owner + ">", 1);
  const std::optional<QelUnicodeString> text = UserStatements().AlterUserTablespaces(owner);
  QelUnicodeString undo;
  if (!text) {
    _nvDBErrorCode = AnswerNotWritable("a schema owner's name or a tablespace name");
  } else {
    WriteTraceLogFile("\nAlter User Statement: <" + *text + ">", 1);
    _nvDBErrorCode = UndoOfAlterUser(owner, undo);
  }
  if (_nvDBErrorCode == 0) {
    _nvDBErrorCode = RunAdministratorStatement(QelSqlType::AlterUser, *text, false, undo);
  }
  if (_nvDBErrorCode != 0) {
    controller->FailInstallation(command, controller->_DlgSTATUS->ERRMSGWndTitleUSERALTER,
                                 controller->_DlgSTATUS->ERRMSGTextToDisplayForUSERALTER);
  } else {
    ++_nvPosCurColl;
    StepSubscribe(command, "St_TypicalALTERUser", St_TypicalALTERUser);
  }
  StepEnd("TypicalALTERUser");
}

void ZEP2InstHQ::St_GRANTUserTESADM(QelCommand* command, int, void*) {
  StepBegin(command, "GRANTUserTESADM");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  ZEP2DlgSTATUS* status = controller->_DlgSTATUS;
  SetStatusLines(status->USERGrant, "");
  StepProgress(20);
  const QelUnicodeString admin = _svTESADM.ToUpper();
  const ZEP2UserStatements statements = UserStatements();
  const std::optional<ZEP2Grant> grant = statements.Grant(ZEP2Grantee::Administrator, admin);
  const std::optional<QelUnicodeString> alter = statements.AlterUserTablespaces(admin);
  QelUnicodeString undo;
  if (!grant || !alter) {
    _nvDBErrorCode = AnswerNotWritable("the administrator's name or a tablespace name");
  } else if (_nvIBMDB2UDB) {
    WriteTraceLogFile("\nDB2 Grant Statement: <" + grant->text + ">", 1);
    _nvDBErrorCode = UndoOfGrant(admin, grant->privileges, undo);
    if (_nvDBErrorCode == 0) {
      _nvDBErrorCode =
          RunAdministratorStatement(QelSqlType::AdministratorGrant, grant->text, true, undo);
    }
    // DB2 knows its users by their authorities: a rollback takes back what
    // this run gave an administrator the database did not know.
    bool unknownBefore = false;
    for (const QelUnicodeString& user : controller->_DBUserToCreateColl) {
      unknownBefore = unknownBefore || user.Compare(admin) == 2;
    }
    if (_nvDBErrorCode == 0 && _nvEXECINDB && unknownBefore) _nvTESADMNIUserCreated = 1;
  } else {
    WriteTraceLogFile("\nOracle Grant Statement: <" + grant->text + ">", 1);
    _nvDBErrorCode = UndoOfAlterUser(admin, undo);
    if (_nvDBErrorCode == 0) {
      _nvDBErrorCode =
          RunAdministratorStatement(QelSqlType::AdministratorGrant, *alter, true, undo);
    }
    if (_nvDBErrorCode == 0) _nvDBErrorCode = UndoOfGrant(admin, grant->privileges, undo);
    if (_nvDBErrorCode == 0) {
      _nvDBErrorCode =
          RunAdministratorStatement(QelSqlType::AdministratorGrant, grant->text, true, undo);
    }
  }
  if (_nvDBErrorCode != 0) {
    controller->FailInstallation(command, controller->_DlgREPORT->ERRMSGWndTitleUSERGRANT,
                                 controller->_DlgREPORT->ERRMSGTextToDisplayForUSERGRANT);
  } else {
    _nvPosCurColl = 1;
    StepSubscribe(command, "St_TypicalUSERGrant", St_TypicalUSERGrant);
  }
  StepEnd("GRANTUserTESADM");
}

void ZEP2InstHQ::St_TypicalUSERGrant(QelCommand* command, int, void*) {
  StepBegin(command, "TypicalUSERGrant");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  StepProgress(20);
  const QelListPtr<ZEP2PersModeler>& modelers = controller->_ModelerPersColl;
  if (_nvPosCurColl > modelers.Size()) {
    _nvPosCurColl = 1;
    StepSubscribe(command, "St_GetTESADMConnexion", St_GetTESADMConnexion);
    StepEnd("TypicalUSERGrant");
    return;
  }
  const QelUnicodeString owner = modelers(_nvPosCurColl)->_SchemaOwner.ToUpper();
  bool seenBefore = false;
  for (int i = 1; i < _nvPosCurColl; ++i) {
    seenBefore = seenBefore || modelers(i)->_SchemaOwner.ToUpper().Compare(owner) == 2;
  }
  const bool administrator = owner.Compare(_svTESADM.ToUpper()) == 2;
  const bool grant =
      !seenBefore && !administrator && (_nvOracle || owner.Compare(_svVAULTAdm.ToUpper()) == 2);
  _nvDBErrorCode = 0;
  if (grant) {
    const std::optional<ZEP2Grant> statement =
        UserStatements().Grant(ZEP2Grantee::SchemaOwner, owner);
    QelUnicodeString undo;
    if (!statement) {
      _nvDBErrorCode = AnswerNotWritable("a schema owner's name");
    } else {
      WriteTraceLogFile("\nGrant Statement: <" + statement->text + ">", 1);
      _nvDBErrorCode = UndoOfGrant(owner, statement->privileges, undo);
    }
    if (_nvDBErrorCode == 0) {
      _nvDBErrorCode =
          RunAdministratorStatement(QelSqlType::AdministratorGrant, statement->text, true, undo);
    }
  }
  if (_nvDBErrorCode != 0) {
    controller->FailInstallation(command, controller->_DlgREPORT->ERRMSGWndTitleUSERGRANT,
                                 controller->_DlgREPORT->ERRMSGTextToDisplayForUSERGRANT);
  } else {
    ++_nvPosCurColl;
    StepSubscribe(command, "St_TypicalUSERGrant", St_TypicalUSERGrant);
  }
  StepEnd("TypicalUSERGrant");
}
