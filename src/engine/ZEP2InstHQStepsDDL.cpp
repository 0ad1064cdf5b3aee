// Playing the DDL: the administrator's trial connection, the schema owners'
// connections, one statement per idle call in modeler, file and statement
// order, each with its derived drop in the undo journal first.
#include <algorithm>
#include <charconv>
#include <iterator>
#include <string_view>

#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelLog.h"
#include "platform/db/QelDbStatements.h"

namespace {

using H = ZEP2InstHQ;

int Dbms() {
  return H::_nvIBMDB2UDB ? QelDbDB2 : QelDbOracle;
}

QelUnicodeString Database() {
  return H::_nvIBMDB2UDB ? H::_svDB2ALIASNAME : H::_svORASRVNAME;
}

// St_PlayDDL's six counter lines, traced for every statement: put together
// in place in one buffer rather than a string operation per piece.
void TraceCounters() {
  static constexpr std::string_view labels[] = {"\nSt_PlayDDL _nvPosInModelerPersColl     : <",
                                                "\nSt_PlayDDL _nvModelerPersCollSize      : <",
                                                "\nSt_PlayDDL _nvPosInCurrentDDLFILEColl  : <",
                                                "\nSt_PlayDDL _nvCurrentDDLFILECollSize   : <",
                                                "\nSt_PlayDDL _nvPosInCurrentDDL          : <",
                                                "\nSt_PlayDDL _nvNbrOfOrdersInCurrentDDL  : <"};
  const int values[] = {H::_nvPosInModelerPersColl,    H::_nvModelerPersCollSize,
                        H::_nvPosInCurrentDDLFILEColl, H::_nvCurrentDDLFILECollSize,
                        H::_nvPosInCurrentDDL,         H::_nvNbrOfOrdersInCurrentDDL};
  constexpr std::size_t LineBytes = 64;  // a label, an int's 11 characters and '>'
  static_assert(std::all_of(std::begin(labels), std::end(labels),
                            [](std::string_view label) { return label.size() + 12 <= LineBytes; }));
  char lines[std::size(labels) * LineBytes];
  char* end = lines;
  for (std::size_t i = 0; i < std::size(labels); ++i) {
    end = std::copy(labels[i].begin(), labels[i].end(), end);
    end = std::to_chars(end, end + 11, values[i]).ptr;
    *end++ = '>';
  }
  WriteTraceLogParts({std::string_view(lines, static_cast<std::size_t>(end - lines))}, 1);
}

// What the status page's first line says while the modeler plays.
QelUnicodeString ShownModeler(const ZEP2PersModeler* modeler) {
  return H::_ZEP2InstHQHandler->_DlgSTATUS->DDLFileExe + "<" + modeler->_ModelerName + ">";
}

// The file at the current positions, or null when the modeler has none.
QelZepDDLFile* CurrentFile(ZEP2PersModeler* modeler) {
  if (H::_nvPosInCurrentDDLFILEColl < 1 || !modeler->_DDLFileColl ||
      H::_nvPosInCurrentDDLFILEColl > modeler->_DDLFileColl->Size()) {
    return nullptr;
  }
  return (*modeler->_DDLFileColl)(H::_nvPosInCurrentDDLFILEColl);
}

int StatementCount(ZEP2PersModeler* modeler, int file) {
  if (!modeler->_DDLFileColl || file < 1 || file > modeler->_DDLFileColl->Size()) return 0;
  return (*modeler->_DDLFileColl)(file)->GetSQLOrderColl().Size();
}

// The drop that undoes the statement at the current position, filtered as
// the statement was; empty when the statement creates nothing.
QelUnicodeString DerivedDrop(ZEP2PersModeler* modeler, const QelZepDDLFile& file,
                             const QelUnicodeString& account) {
  int type = 0;
  int length = 0;
  QelUnicodeString text;
  GetDROPSQLStatement(type, length, text, H::_nvPosInCurrentDDL, &file);
  // Most statements create nothing: no drop to filter.
  if (type == QelSqlType::ClientCommand || text.Length() == 0) return "";
  int decision = 0;
  QelUnicodeString filtered;
  char buffer[QelStatementBufferSize];
  FilterSQLStatement(Dbms(), account, modeler->_SchemaOwner, modeler->_SchemaOwner,
                     modeler->_Tablespace, modeler->_BLOBTablespace, type, text, length, filtered,
                     decision, buffer);
  if (decision != 1 || type == QelSqlType::ClientCommand) return "";
  return filtered;
}

}  // namespace

void ZEP2InstHQ::St_GetTESADMConnexion(QelCommand* command, int, void*) {
  StepBegin(command, "GetTESADMConnexion");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  ZEP2DlgSTATUS* status = controller->_DlgSTATUS;
  SetStatusLines(status->DBCONN, "");
  StepProgress(20);
  _nvDBErrorCode = 0;
  if (_nvEXECINDB) {
    const int result = GenDBConnection(Database(), _svTESADM.ToUpper(), _svTESADMP, 1, 1,
                                       _nvTESADMConnection, _nvTESADMCursor);
    if (result != 0) {
      WriteTraceLogFile("\nTESADM Connection KO", 2);
      WriteErrLogFile("\nTESADM Connection KO");
      _nvTESADMCursor.reset();
      _nvTESADMConnection.reset();
      _nvDBErrorCode = result;
      controller->FailInstallation(command, controller->_DlgREPORT->ERRMSGWndTitleDBCONN,
                                   controller->_DlgREPORT->ERRMSGTextToDisplayForDBCONN);
      StepEnd("GetTESADMConnexion");
      return;
    }
    WriteTraceLogFile("\nTESADM Connection OK", 1);
    _nvTESADMCursor->Close();
    _nvTESADMCursor.reset();
    _nvTESADMConnection->Close();
    _nvTESADMConnection.reset();
    WriteTraceLogFile("\nTESADM Connection Close", 1);
  }
  _nvPosCurColl = 1;
  StepSubscribe(command, "St_GetSchemaOwnerCnx", St_GetSchemaOwnerCnx);
  StepEnd("GetTESADMConnexion");
}

void ZEP2InstHQ::St_GetSchemaOwnerCnx(QelCommand* command, int, void*) {
  StepBegin(command, "GetSchemaOwnerCnx");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  if (_nvOracle) StepProgress(20);
  const QelListValQelUnicodeString& users = controller->_UserToCnxColl;
  if (!NextUser(users)) {
    if (_nvEXEDBObj || !_nvEXEStartupData) {
      StepSubscribe(command, "St_PlayDDL", St_PlayDDL);
    } else {
      StepSubscribe(command, "St_ZEPProject", St_ZEPProject);
    }
    StepEnd("GetSchemaOwnerCnx");
    return;
  }
  if (_nvOracle && _nvEXECINDB) {
    const QelUnicodeString user = users(_nvPosCurColl).ToUpper();
    std::unique_ptr<QelDbConnection> connection;
    std::unique_ptr<QelDbCursor> cursor;
    const int result =
        GenDBConnection(_svORASRVNAME, user, controller->_UserPassToCnxColl(_nvPosCurColl), 1, 1,
                        connection, cursor);
    if (result != 0) {
      WriteTraceLogFile("\nOracle Connection as user <" + user + "> KO", 2);
      _nvDBErrorCode = result;
      controller->FailInstallation(command, controller->_DlgREPORT->ERRMSGWndTitleDBCONN,
                                   controller->_DlgREPORT->ERRMSGTextToDisplayForDBCONN);
      StepEnd("GetSchemaOwnerCnx");
      return;
    }
    WriteTraceLogFile("\nOracle Connection as user <" + user + "> OK", 1);
    const std::shared_ptr<QelDbConnection> shared = std::move(connection);
    const std::shared_ptr<QelDbCursor> sharedCursor = std::move(cursor);
    const QelListPtr<ZEP2PersModeler>& modelers = controller->_ModelerPersColl;
    for (int i = 1; i <= modelers.Size(); ++i) {
      if (modelers(i)->_SchemaOwner.ToUpper().Compare(user) != 2) continue;
      modelers(i)->_Connection = shared;
      modelers(i)->_Cursor = sharedCursor;
      WriteTraceLogFile("\nConnection associated with modeler <" + modelers(i)->_ModelerName + ">",
                        1);
    }
  }
  ++_nvPosCurColl;
  StepSubscribe(command, "St_GetSchemaOwnerCnx", St_GetSchemaOwnerCnx);
  StepEnd("GetSchemaOwnerCnx");
}

void ZEP2InstHQ::St_PlayDDL(QelCommand* command, int, void*) {
  StepBegin(command, "PlayDDL");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  controller->PlayOneStatement(command);
  StepEnd("PlayDDL");
}

void ZEP2InstHQ::PlayOneStatement(QelCommand* command) {
  TraceCounters();
  if (_ModelerPersColl.Size() < 1) {
    AfterLastModeler(command);
    return;
  }
  ZEP2PersModeler* modeler = _ModelerPersColl(_nvPosInModelerPersColl);
  WriteTraceLogParts(
      {"\nSt_PlayDDL ", modeler->_ProductName.str(), " ", modeler->_ModelerName.str()}, 1);
  ZEP2DlgSTATUS* status = _DlgSTATUS;
  if (_nvPosInCurrentDDLFILEColl == 1 && _nvPosInCurrentDDL == 1) {
    status->Frame->LabelSTATUSStateOne->SetTitle(ShownModeler(modeler));
    WriteTraceLogFile("\nSt_PlayDDL : Affichage Panel STATUS : <" + modeler->_ModelerName + ">", 1);
    status->SetVisibility(QelDlgObject::Shown);
  }
  int result = 0;
  if (QelZepDDLFile* file = CurrentFile(modeler); file && file->GetSQLOrderColl().Size() > 0) {
    status->Frame->ProgressStatusBarStepIt();
    result = PlayStatement(modeler, *file);
  }
  _nvDBErrorCode = result;
  if (result != 0) {
    _DlgREPORT->SetButtonSensitivity(QelDlgDialog::CANCEL, QelDlgObject::Sensitive);
    FailInstallation(command, _DlgREPORT->ERRMSGWndTitleEXEDDL,
                     _DlgREPORT->ERRMSGTextToDisplayForEXEDDL);
    return;
  }
  AdvanceStatement(command, modeler);
}

int ZEP2InstHQ::PlayStatement(ZEP2PersModeler* modeler, const QelZepDDLFile& file) {
  int type = 0;
  int length = 0;
  QelUnicodeString text;
  GetSQLStatement(type, length, text, _nvPosInCurrentDDL, &file);
  const bool vaultFiles = _nvIBMDB2UDB && modeler->_ModelerName.str() == "VAULTFILE";
  if (vaultFiles) {
    WriteTraceLogFile("\nSt_PlayDDL  VAULTFILE Case", 1);
    WriteTraceLogFile("\nSt_PlayDDL  _svVAULTAdm : <" + _svVAULTAdm + ">", 1);
  }
  const QelUnicodeString& account = vaultFiles ? _svVAULTAdm : _svTESADM;
  int decision = 0;
  QelUnicodeString filtered;
  char buffer[QelStatementBufferSize];
  int result = FilterSQLStatement(Dbms(), account, modeler->_SchemaOwner, modeler->_SchemaOwner,
                                  modeler->_Tablespace, modeler->_BLOBTablespace, type, text,
                                  length, filtered, decision, buffer);
  if (decision != 1 || type == QelSqlType::ClientCommand) {
    return result == QelFilterSkipped ? 0 : result;
  }
  WriteTraceLogParts({"\nSt_PlayDDL  DDL DML Statement : <", filtered.str(), ">"}, 1);
  // The undo is on record before the creation; it also tells an object.
  QelUnicodeString drop;
  if (_nvEXECINDB) {
    drop = DerivedDrop(modeler, file, account);
    if (RecordUndo(drop) != 0) return -1;
  }
  // DB2 plays everything as the DBA; Oracle as the schema's owner. Each
  // statement is committed with its execution: a statement that fails
  // leaves nothing behind, so its undo is forgotten.
  QelDbCursor* cursor = _nvIBMDB2UDB ? _nvDBACursor.get() : modeler->_Cursor.get();
  result = 0;
  if (_nvEXECINDB) {
    result = ExeSQLStatement(cursor, Dbms(), 2, nullptr, type, filtered, length, _nvDBErrorCode,
                             _svDBErrorMsg);
    if (result != 0) ForgetUndo(drop);
  }
  if (result == 0 && _nvGENDDLONLY) {
    result = WriteDDLStatement(type, filtered, length, DerivedDrop(modeler, file, account));
  }
  if (result == 0) {
    ++_RunCounts.statements;
    if (drop.Length() > 0) ++_RunCounts.objects;
    _DlgREPORT->Frame->EditorREPORT->ClearLine(1);
    if (_Application) _Application->UpdateDisplay();
  }
  return result;
}

std::string ZEP2InstHQ::PlayedStatementInWords() const {
  if (_nvPosInModelerPersColl < 1 || _nvPosInModelerPersColl > _ModelerPersColl.Size()) {
    return ZEP2StepInWords("PlayDDL");
  }
  ZEP2PersModeler* modeler = _ModelerPersColl(_nvPosInModelerPersColl);
  const QelZepDDLFile* file = CurrentFile(modeler);
  std::string path = file ? file->GetPath().str() : "";
  path = path.substr(path.rfind('/') + 1);
  return "statement " + std::to_string(_nvPosInCurrentDDL) + (path.empty() ? "" : " of " + path) +
         " (modeler " + modeler->_ModelerName.str() + ")";
}

void ZEP2InstHQ::AdvanceStatement(QelCommand* command, ZEP2PersModeler* modeler) {
  if (_nvPosInCurrentDDL < _nvNbrOfOrdersInCurrentDDL) {
    ++_nvPosInCurrentDDL;
    StepSubscribe(command, "St_PlayDDL", St_PlayDDL);
    return;
  }
  if (_nvPosInCurrentDDLFILEColl < _nvCurrentDDLFILECollSize) {
    ++_nvPosInCurrentDDLFILEColl;
    _nvNbrOfOrdersInCurrentDDL = StatementCount(modeler, _nvPosInCurrentDDLFILEColl);
    _nvPosInCurrentDDL = _nvNbrOfOrdersInCurrentDDL > 0 ? 1 : 0;
    StepSubscribe(command, "St_PlayDDL", St_PlayDDL);
    return;
  }
  ZEP2DlgSTATUS* status = _DlgSTATUS;
  status->Frame->LabelSTATUSStateOne->SetTitle(ShownModeler(modeler) + " " + status->Successfull);
  if (_nvPosInModelerPersColl < _nvModelerPersCollSize) {
    ++_nvPosInModelerPersColl;
    ZEP2PersModeler* next = _ModelerPersColl(_nvPosInModelerPersColl);
    _nvCurrentDDLFILECollSize = next->_NbrOfDDLFiles;
    _nvPosInCurrentDDLFILEColl = _nvCurrentDDLFILECollSize > 0 ? 1 : 0;
    _nvNbrOfOrdersInCurrentDDL = StatementCount(next, _nvPosInCurrentDDLFILEColl);
    _nvPosInCurrentDDL = _nvNbrOfOrdersInCurrentDDL > 0 ? 1 : 0;
    StepSubscribe(command, "St_PlayDDL", St_PlayDDL);
    return;
  }
  AfterLastModeler(command);
}

void ZEP2InstHQ::AfterLastModeler(QelCommand* command) {
  if (!_nvEXEDBObj || _nvEXEStartupData) {
    StepSubscribe(command, "St_ZEPProject", St_ZEPProject);
  } else {
    _nvAUTHServer_Force = 0;
    StepSubscribe(command, "St_AlterUserTmpSrvSys", St_AlterUserTmpSrvSys);
  }
}

void ZEP2InstHQ::CloseEngineConnections() {
  const QelListPtr<ZEP2PersModeler>& modelers = _ModelerPersColl;
  for (int i = 1; i <= modelers.Size(); ++i) {
    ZEP2PersModeler* modeler = modelers(i);
    if (modeler->_Cursor) modeler->_Cursor->Close();
    if (modeler->_Connection && modeler->_Connection->IsOpen()) {
      WriteTraceLogFile("\nCursor <" + modeler->_SchemaOwner + "> liberee", 1);
      modeler->_Connection->Close();
      WriteTraceLogFile("\nConnexion <" + modeler->_SchemaOwner + "> liberee", 1);
    }
    modeler->_Cursor.reset();
    modeler->_Connection.reset();
  }
}
