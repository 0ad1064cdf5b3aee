// The undo side of the installation: each creation's undo recorded in the
// journal before the creation is made, the rollback that plays the journal
// backwards and goes on past an undo that fails, and its truthful report.
#include <algorithm>
#include <set>

#include "app/ZEP2InstHQ.h"
#include "engine/ZEP2ServerSettingUndo.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelLog.h"
#include "platform/QelMsgCatalog.h"
#include "platform/db/QelDbSecrets.h"
#include "platform/db/QelDbStatements.h"
#include "platform/db/QelZepDDLFile.h"

namespace {

using H = ZEP2InstHQ;

int Dbms() {
  return H::_nvIBMDB2UDB ? QelDbDB2 : QelDbOracle;
}

// A catalogue query on the administrator's connection; a failure leaves its
// message where the failure procedure reads it.
int DbaQuery(const std::string& sql, std::vector<QelDbRow>& rows) {
  QelDbConnection* connection = H::_nvDBAConnection.get();
  QelDbError error;
  if (!connection || !connection->IsOpen()) {
    error = {-1, "the database administrator's connection is not open"};
  } else if (connection->Query(sql, rows, error) == 0) {
    return 0;
  }
  H::_nvDBErrorCode = error.code ? error.code : -1;
  H::SetDBErrorMsg(error.message);
  return H::_nvDBErrorCode;
}

bool CreatedByRun(const std::string& user) {
  const std::vector<std::string>& created = H::_ZEP2InstHQHandler->_UsersCreatedByRun;
  return std::find(created.begin(), created.end(), user) != created.end();
}

void LogEverywhere(const QelUnicodeString& text) {
  WriteErrLogFile(text);
  WriteLogFile(text);
  WriteTraceLogFile(text, 2);
}

}  // namespace

int ZEP2InstHQ::RecordUndo(const QelUnicodeString& undo, bool evenWithoutExecution) {
  if ((!_nvEXECINDB && !evenWithoutExecution) || undo.Length() == 0) return 0;
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  std::unique_ptr<ZEP2UndoJournal>& journal = controller->_UndoJournal;
  std::string error;
  if (!journal) {
    journal = std::make_unique<ZEP2UndoJournal>(
        Dbms(), (_nvIBMDB2UDB ? _svDB2ALIASNAME : _svORASRVNAME).str());
    // What an earlier run could not undo stays in the journal with this
    // run's own creations, so no rollback forgets it.
    if (journal->FileExists() && !journal->Load(error)) {
      journal.reset();
      _nvDBErrorCode = -1;
      SetDBErrorMsg("cannot read the undo journal, so nothing is created: " + error);
      return -1;
    }
    ReportTornJournalLine(*journal);
  }
  if (journal->Record(undo.str(), error) == 0) return 0;
  _nvDBErrorCode = -1;
  SetDBErrorMsg("cannot write the undo journal, so nothing more is created: " + error);
  return -1;
}

int ZEP2InstHQ::RecordServerSettingUndo(const QelUnicodeString& name,
                                        const QelUnicodeString& database, int vendor,
                                        QelUnicodeString& text) {
  ZEP2ServerSettingUndo undo;
  undo.name = name.str();
  undo.database = database.str();
  undo.vendor = vendor;
  QelDbError error;
  if (QelDbDatabase::GetServer(name, database, vendor, undo.restore, undo.previous, error) != 0) {
    _nvDBErrorCode = error.code;
    SetDBErrorMsg(error.message);
    return error.code;
  }
  text = ZEP2ServerSettingUndoText(undo);
  return RecordUndo(text, true);
}

void ZEP2InstHQ::ForgetUndo(const QelUnicodeString& undo) {
  ZEP2UndoJournal* journal = _ZEP2InstHQHandler->_UndoJournal.get();
  if (undo.Length() > 0 && journal && !journal->Empty()) journal->ForgetLast();
}

int ZEP2InstHQ::UndoOfAlterUser(const QelUnicodeString& user, QelUnicodeString& undo) {
  undo = "";
  const std::string name = user.ToUpper().str();
  // File mode reads the catalogue too: the DBA's reverse script needs the
  // same undo as the rollback.
  if ((!_nvEXECINDB && !_nvGENDDLONLY) || _nvIBMDB2UDB || CreatedByRun(name)) return 0;
  std::vector<QelDbRow> rows;
  if (DbaQuery("SELECT AUTHENTICATION_TYPE, DEFAULT_TABLESPACE FROM DBA_USERS WHERE USERNAME = " +
                   QelQuoted(name, '\''),
               rows) != 0) {
    return -1;
  }
  // An unknown user makes the ALTER itself fail: there is nothing to undo.
  if (rows.empty()) return 0;
  std::vector<QelDbRow> quotas;
  if (DbaQuery("SELECT TABLESPACE_NAME, MAX_BYTES FROM DBA_TS_QUOTAS WHERE USERNAME = " +
                   QelQuoted(name, '\''),
               quotas) != 0) {
    return -1;
  }
  // The password a user had cannot be read back; only a user identified by
  // the system gets its authentication restored.
  std::vector<ZEP2UserStatements::Quota> previous;
  const std::set<std::string> tablespaces = {TypicalTablespace().str(),
                                             TypicalBLOBTablespace().str()};
  for (const std::string& tablespace : tablespaces) {
    previous.push_back({tablespace, "0"});
    for (const QelDbRow& quota : quotas) {
      if (quota.at(0) == tablespace) previous.back().bytes = quota.at(1);
    }
  }
  const std::optional<QelUnicodeString> text =
      UserStatements().RestoreUser(name, rows[0].at(0) == "EXTERNAL", rows[0].at(1), previous);
  if (!text) return AnswerNotWritable("a user's name or a tablespace name");
  undo = *text;
  return 0;
}

int ZEP2InstHQ::UndoOfGrant(const QelUnicodeString& user,
                            const std::vector<std::string>& privileges, QelUnicodeString& undo) {
  undo = "";
  const std::string name = user.ToUpper().str();
  if ((!_nvEXECINDB && !_nvGENDDLONLY) || CreatedByRun(name)) return 0;
  std::set<std::string> held;
  std::vector<QelDbRow> rows;
  if (_nvIBMDB2UDB) {
    if (DbaQuery(
            "SELECT DBADMAUTH, CREATETABAUTH, CONNECTAUTH FROM SYSCAT.DBAUTH WHERE GRANTEE = " +
                QelQuoted(name, '\''),
            rows) != 0) {
      return -1;
    }
    const char* const authorities[] = {"DBADM", "CREATETAB", "CONNECT"};
    for (const QelDbRow& row : rows) {
      for (std::size_t i = 0; i < 3 && i < row.size(); ++i) {
        if (row[i] == "Y") held.insert(authorities[i]);
      }
    }
  } else {
    for (const char* sql : {"SELECT PRIVILEGE FROM DBA_SYS_PRIVS WHERE GRANTEE = ",
                            "SELECT GRANTED_ROLE FROM DBA_ROLE_PRIVS WHERE GRANTEE = "}) {
      if (DbaQuery(sql + QelQuoted(name, '\''), rows) != 0) return -1;
      for (const QelDbRow& row : rows) held.insert(row.at(0));
    }
  }
  std::vector<std::string> given;
  for (const std::string& privilege : privileges) {
    if (!held.count(privilege)) given.push_back(privilege);
  }
  if (given.empty()) return 0;
  const std::optional<QelUnicodeString> revoke = UserStatements().Revoke(given, name);
  if (!revoke) return AnswerNotWritable("a user's name");
  undo = *revoke;
  return 0;
}

void ZEP2InstHQ::St_AbortInst(QelCommand* command, int, void*) {
  StepBegin(command, "AbortInst");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  // File mode executes nothing, but writes the server settings like
  // database mode: their undo is all its journal can hold.
  if (_nvEXECINDB || controller->_RollbackStarted ||
      (controller->_UndoJournal && !controller->_UndoJournal->Empty())) {
    controller->AbortStep(command);
  } else {
    // Nothing was executed: there is nothing to undo, but the run must end.
    controller->ReportRollback();
    controller->_DlgSTATUS->SetVisibility(QelDlgObject::Hidden);
    controller->_DlgREPORT->SetVisibility(QelDlgObject::Shown);
    controller->_DlgREPORT->SetButtonSensitivity(QelDlgDialog::CANCEL, QelDlgObject::Sensitive);
  }
  WriteTraceLogFile("\nSt_AbortInst end.", 1);
  WriteTraceLogFile("\nTESSAR DB SETUP FAILED!\n\n", 1);
  controller->_InstallationFailed = true;
}

void ZEP2InstHQ::AbortStep(QelCommand* command) {
  if (!_RollbackStarted) {
    _RollbackStarted = true;
    // A user is dropped only once nobody works as that user any more.
    CloseEngineConnections();
  }
  if (_UndoJournal && !_UndoJournal->Empty()) {
    WriteTraceLogFile("\nSubscribe St_PlayDROPDDL", 1);
    StepSubscribe(command, "St_PlayDROPDDL", St_PlayDROPDDL);
    return;
  }
  FinishRollback();
}

int ZEP2InstHQ::RunUndo(const std::string& text, std::string& message) {
  // A server setting is put back by the database layer, outside any
  // transaction: there is nothing to commit.
  ZEP2ServerSettingUndo setting;
  if (ZEP2ParseServerSettingUndo(text, setting)) {
    const int result = ZEP2ApplyServerSettingUndo(setting, message);
    if (result != 0) _nvDBErrorCode = result;
    return result;
  }
  const QelUnicodeString statement(text);
  int result = ExeSQLStatement(_nvDBACursor.get(), Dbms(), 0, nullptr, QelSqlType::Drop, statement,
                               static_cast<int>(text.size()), _nvDBErrorCode, _svDBErrorMsg);
  // DB2 keeps even DDL in the transaction: without a commit the connection's
  // close would bring the dropped objects back. A commit that failed once is
  // tried again before the undo counts as failed.
  for (int attempt = 0; result == 0 && attempt < 2; ++attempt) {
    if (CommitStatement(_nvDBAConnection.get(), Dbms(), 0, 0, _nvDBErrorCode, _svDBErrorMsg) == 0) {
      break;
    }
    WriteTraceLogFile("\nCommit of the undo failed: " + QelUnicodeString(_svDBErrorMsg), 2);
    if (attempt == 1) result = _nvDBErrorCode ? _nvDBErrorCode : -1;
  }
  if (result == 0) _ZEP2InstHQHandler->_UncommittedUndo.clear();
  message = result == 0 ? "" : _svDBErrorMsg;
  return result;
}

void ZEP2InstHQ::St_PlayDROPDDL(QelCommand* command, int, void*) {
  StepBegin(command, "PlayDROPDDL");
  _ZEP2InstHQHandler->PlayOneDrop(command);
  StepEnd("PlayDROPDDL");
}

void ZEP2InstHQ::PlayOneDrop(QelCommand* command) {
  const std::string text = _UndoJournal->TakeLast();
  const QelUnicodeString shown = QelDbMaskPasswords(text);
  WriteTraceLogFile("\nSt_PlayDROPDDL  DDL DML Statement : <" + shown + ">", 1);
  std::string message;
  if (RunUndo(text, message) == 0) {
    ++_RunCounts.undone;
    _DlgREPORT->Frame->EditorREPORT->SetText(shown);
  } else if (ZEP2UndoFoundNothing(message)) {
    WriteTraceLogFile("\nSt_PlayDROPDDL nothing left to undo: " + QelUnicodeString(message), 1);
  } else {
    // The rollback goes on: what this undo leaves is reported at the end.
    _UndoLeft.insert(_UndoLeft.begin(), text);
    LogEverywhere("\nUNDO FAILED: <" + shown + ">\n" + QelUnicodeString(message) + "\n");
  }
  _nvDBErrorCode = 0;
  if (_UndoJournal->Empty()) {
    StepSubscribe(command, "St_AbortInst", St_AbortInst);
  } else {
    StepSubscribe(command, "St_PlayDROPDDL", St_PlayDROPDDL);
  }
}

void ZEP2InstHQ::FinishRollback() {
  // A failed undo is tried once more after all the others: its failure may
  // have passed, or a later undo (a user's CASCADE) may have removed what it
  // was to remove. What still fails is left.
  std::vector<std::string> left;
  for (auto undo = _UndoLeft.rbegin(); undo != _UndoLeft.rend(); ++undo) {
    std::string message;
    WriteTraceLogFile("\nSt_AbortInst undo again : <" + QelDbMaskPasswords(*undo) + ">", 1);
    if (RunUndo(*undo, message) == 0) {
      ++_RunCounts.undone;
      continue;
    }
    if (ZEP2UndoFoundNothing(message)) continue;
    left.insert(left.begin(), *undo);
  }
  // A creation whose commit failed, with nothing committed since, goes with
  // the connection's close: it is not left.
  const auto uncommitted = std::find(left.begin(), left.end(), _UncommittedUndo);
  if (!_UncommittedUndo.empty() && uncommitted != left.end()) {
    WriteTraceLogFile("\nNever committed, discarded with the connection : <" +
                          QelDbMaskPasswords(_UncommittedUndo) + ">",
                      1);
    left.erase(uncommitted);
  }
  _UndoLeft = left;
  if (_UndoJournal) {
    std::string error;
    if (_UndoJournal->Settle(_UndoLeft, error) != 0) {
      LogEverywhere("\nThe undo journal could not be updated and keeps every statement: " +
                    QelUnicodeString(error) + "\n");
    }
  }
  _RollbackIncomplete = !_UndoLeft.empty();
  ReportRollback();
  _DlgSTATUS->SetVisibility(QelDlgObject::Hidden);
  _DlgREPORT->SetVisibility(QelDlgObject::Shown);
  if (_Application) _Application->UpdateDisplay();
  _DlgREPORT->SetButtonSensitivity(QelDlgDialog::CANCEL, QelDlgObject::Sensitive);
}

void ZEP2InstHQ::ReportRollback() {
  const ZEP2InstallEnd end = _FailedAt.empty() ? ZEP2InstallEnd::Cancelled : ZEP2InstallEnd::Failed;
  const ZEP2InstallOutcome outcome = InstallOutcome(end);
  if (!_RollbackIncomplete) {
    WriteLogFile("\nROLLBACK COMPLETE\n");
    WriteTraceLogFile("\nROLLBACK COMPLETE\n", 1);
    SettleOutcome(outcome, end == ZEP2InstallEnd::Failed ? _DlgREPORT->Failed : _DlgREPORT->Abort);
    return;
  }
  QelUnicodeString left;
  for (const std::string& undo : _UndoLeft) left += "\n" + QelDbMaskPasswords(undo);
  QelListValQelUnicodeString parameters;
  parameters.Append(QelUnicodeString::FromInt(static_cast<long long>(_UndoLeft.size())));
  parameters.Append(_UndoJournal ? QelUnicodeString(_UndoJournal->Path()) : QelUnicodeString());
  const QelUnicodeString text = QelMsgCatalog::BuildMessage(
      "ZEP2DlgREPORT", "RollbackIncomplete.Title", parameters,
      "The installation failed and its rollback is incomplete: %1 statement(s) could not undo "
      "what the installation created. Still in the database, and kept in %2:");
  LogEverywhere("\nROLLBACK INCOMPLETE: " + text + left + "\n");
  SettleOutcome(outcome, text + left);
}
