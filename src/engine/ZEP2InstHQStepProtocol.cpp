// What every installation step shares: its traces and idle subscriptions,
// the status page's progress, the administrator statements, the
// confirmations and the common failure procedure.
#include <chrono>
#include <thread>

#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2MessageBoxes.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelLog.h"
#include "platform/QelMsgCatalog.h"
#include "platform/db/QelDbStatements.h"

void ZEP2InstHQ::StepBegin(QelCommand* command, const char* step) {
  WriteTraceLogParts({"\n\nSt_", step, " Begin ...\n"}, 0);
  // A failure names the step it happened in.
  if (_ZEP2InstHQHandler) _ZEP2InstHQHandler->_CurrentStep = step;
  if (QelApplication* application = QelApplication::MainApplication()) {
    application->RemoveSubscribe(2, command);
  } else {
    WriteTraceLogFile("\nQelApplication::MainApplication() error !!!", 1);
  }
}

void ZEP2InstHQ::StepSubscribe(QelCommand* command, const char* step, QelIdleFunction next) {
  QelApplication* application = QelApplication::MainApplication();
  if (!application) {
    WriteTraceLogFile("\nQelApplication::MainApplication() error !!!", 1);
    return;
  }
  WriteTraceLogParts({"\nQelSubsribeIdle ", step}, 1);
  application->Subscribe(2, command, nullptr, next);
}

void ZEP2InstHQ::StepEnd(const char* step) {
  WriteTraceLogParts({"\nSt_", step, " end.\n\n"}, 0);
}

void ZEP2InstHQ::StepProgress(int steps) {
  ZEP2DlgSTATUS* status = _ZEP2InstHQHandler->_DlgSTATUS;
  for (int i = 0; i < steps; ++i) status->Frame->ProgressStatusBarStepIt();
}

void ZEP2InstHQ::SetStatusLines(const QelUnicodeString& one, const QelUnicodeString& two) {
  ZEP2DlgSTATUS* status = _ZEP2InstHQHandler->_DlgSTATUS;
  status->Frame->LabelSTATUSStateOne->SetTitle(one);
  status->Frame->LabelSTATUSStateTwo->SetTitle(two);
}

bool ZEP2InstHQ::NextUser(const QelListValQelUnicodeString& users) {
  if (_nvPosCurColl <= users.Size()) return true;
  _nvPosCurColl = 1;
  return false;
}

int ZEP2InstHQ::RunAdministratorStatement(int type, const QelUnicodeString& text, bool commit,
                                          const QelUnicodeString& undo) {
  const int dbms = _nvIBMDB2UDB ? QelDbDB2 : QelDbOracle;
  // The undo is on record before the creation can be committed.
  int result = RecordUndo(undo);
  if (result != 0) return result;
  if (_nvEXECINDB) {
    result = ExeSQLStatement(_nvDBACursor.get(), dbms, 0, nullptr, type, text,
                             static_cast<int>(text.Length()), _nvDBErrorCode, _svDBErrorMsg);
    if (result != 0) ForgetUndo(undo);
    if (result == 0 && commit) {
      result = CommitStatement(_nvDBAConnection.get(), dbms, 0, 0, _nvDBErrorCode, _svDBErrorMsg);
      if (result != 0 && _nvIBMDB2UDB) _ZEP2InstHQHandler->_UncommittedUndo = undo.str();
    }
  }
  if (result == 0 && _nvGENDDLONLY) {
    result = WriteDDLStatement(type, text, static_cast<int>(text.Length()), undo);
  }
  if (result == 0 && (_nvEXECINDB || _nvGENDDLONLY)) ++_ZEP2InstHQHandler->_RunCounts.statements;
  return result;
}

bool ZEP2InstHQ::ConfirmUser(const char* key, const QelUnicodeString& user) {
  QelListValQelUnicodeString parameters;
  parameters.Append(user);
  ZEP2DlgREPORT* report = _DlgREPORT;
  report->CurrentQuestion = QelMsgCatalog::BuildMessage("ZEP2DlgREPORT", key, parameters, "");
  _YesNoInCallBack = std::make_unique<ZEP2YesNoInCallBack>(this, report, report->CHOICEWndTitle,
                                                           report->CurrentQuestion, "", "", "");
  const int answer = _YesNoInCallBack->Build();
  _YesNoInCallBack.reset();
  return answer == QelDlgNotify::YesValue;
}

void ZEP2InstHQ::RefuseInstallation(QelCommand* command) {
  _nvPosCurColl = 1;
  _CancelledBy = _nvOracle ? "a change of database user was refused"
                           : "a database user's authentication cannot be changed under DB2";
  _DlgSTATUS->SetVisibility(QelDlgObject::Hidden);
  _DlgREPORT->Frame->EditorREPORT->SetText(_DlgREPORT->Welcome);
  StepSubscribe(command, "St_AbortInst", St_AbortInst);
}

void ZEP2InstHQ::FailInstallation(QelCommand* command, const QelUnicodeString& title,
                                  const QelUnicodeString& text) {
  _nvPosCurColl = 1;
  SetStatusLines("", _DlgSTATUS->Failed);
  _DlgSTATUS->SetVisibility(QelDlgObject::Shown);
  if (_Application) _Application->UpdateDisplay();
  ZEP2FrmSTATUS::Pause(2);
  _DlgSTATUS->SetVisibility(QelDlgObject::Hidden);
  _DlgREPORT->Frame->EditorREPORT->SetText(_DlgREPORT->Welcome);
  RecordFailure(_svDBErrorMsg);
  const QelUnicodeString message = QelUnicodeString("\n") + _svDBErrorMsg + "\n";
  WriteErrLogFile(message);
  WriteLogFile(message);
  WriteTraceLogFile(message, 2);
  _ErrInSubsIdle = std::make_unique<ZEP2ErrInSubsIdle>(this, _DlgREPORT, title, text, _svDBErrorMsg,
                                                       _DlgREPORT->ERRMSGOKTitle);
  _ErrInSubsIdle->Build();
  AddAnalyseNotificationCB(_ErrInSubsIdle->GetNotify()->GetNfyOKNotification(),
                           CB_ZEP2ErrInSubsIdle_OK, nullptr);
  StepSubscribe(command, "St_AbortInst", St_AbortInst);
}

void ZEP2InstHQ::CB_ZEP2ErrInSubsIdle_OK(QelCommand* command, QelNotification* notification,
                                         void*) {
  WriteTraceLogFile("\nZEP2ErrInSubsIdle OK", 1);
  static_cast<QelDialog*>(notification->GetSource())->SetVisibility(QelDlgObject::Hidden);
  static_cast<ZEP2InstHQ*>(command)->_ErrInSubsIdle.reset();
}

QelUnicodeString ZEP2InstHQ::DefaultTablespaceEntry() {
  const ZEP2DlgTBSTypicalSel* page =
      _ZEP2InstHQHandler ? _ZEP2InstHQHandler->_DlgTBSTypicalSel : nullptr;
  return page ? page->Frame->LabelTBSTypicalComboDefTitle : QelUnicodeString();
}

QelUnicodeString ZEP2InstHQ::TypicalTablespace() {
  return _svSELTBSTYPICAL_NOBLOB.Compare(DefaultTablespaceEntry()) == 2 ? _svCRETBSTYPICAL_NOBLOB
                                                                        : _svSELTBSTYPICAL_NOBLOB;
}

QelUnicodeString ZEP2InstHQ::TypicalBLOBTablespace() {
  return _svSELTBSTYPICAL_BLOB.Compare(DefaultTablespaceEntry()) == 2 ? _svCRETBSTYPICAL_BLOB
                                                                      : _svSELTBSTYPICAL_BLOB;
}

int ZEP2InstHQ::GenDBConnection(const QelUnicodeString& database, const QelUnicodeString& user,
                                const QelUnicodeString& password, int first, int second,
                                std::unique_ptr<QelDbConnection>& connection,
                                std::unique_ptr<QelDbCursor>& cursor) {
  WriteTraceLogFile("\n\nGenDBConnection Begin ...\n", 0);
  const int dbms = _nvIBMDB2UDB ? QelDbDB2 : QelDbOracle;
  return GetDBConnection(second, first, dbms, database, user, password, connection, cursor,
                         _nvDBErrorCode, _svDBErrorMsg);
}
