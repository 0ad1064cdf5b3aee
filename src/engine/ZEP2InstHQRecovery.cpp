// An installation that died (a killed process, a lost machine) leaves its
// undo journal: the next run that reaches the same database as its
// administrator offers to play it back, so no half-installed database is
// left for a DBA to clean by hand.
#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2MessageBoxes.h"
#include "platform/QelLog.h"
#include "platform/QelMsgCatalog.h"
#include "platform/QelNotification.h"
#include "platform/db/QelDbSecrets.h"

namespace {

QelUnicodeString Text(const char* key, const QelListValQelUnicodeString& parameters,
                      const char* fallback) {
  return QelMsgCatalog::BuildMessage("ZEP2DlgDBAUSER", key, parameters, fallback);
}

void LogEverywhere(const QelUnicodeString& text) {
  WriteErrLogFile(text);
  WriteLogFile(text);
  WriteTraceLogFile(text, 2);
}

// The administrator decides on the rollback knowing that the journal's
// last statement was lost.
QelUnicodeString TornNotice(const ZEP2UndoJournal& journal) {
  if (journal.TornLastLine().empty()) return "";
  return " " + Text("INTERRUPTEDTorn.Title", {},
                    "The journal's last line was cut short while it was written: it is ignored, "
                    "and the log says more.");
}

}  // namespace

void ZEP2InstHQ::OfferInterruptedRollback(QelDialog* page) {
  const int dbms = _nvIBMDB2UDB ? QelDbDB2 : QelDbOracle;
  const QelUnicodeString database = _nvIBMDB2UDB ? _svDB2ALIASNAME : _svORASRVNAME;
  ZEP2UndoJournal journal(dbms, database.str());
  if (!journal.FileExists()) return;
  std::string error;
  if (!journal.Load(error)) {
    LogEverywhere("\nThe undo journal of an interrupted installation cannot be read: " +
                  QelUnicodeString(error) + "\n");
    return;
  }
  ReportTornJournalLine(journal);
  if (journal.Empty()) {
    // No whole statement: a record is written before what it undoes is
    // created, so one cut short stands for nothing made.
    std::string keptAs;
    if (journal.SetAside(keptAs, error) != 0) {
      LogEverywhere("\nThe undo journal cannot be set aside: " + QelUnicodeString(error) + "\n");
    } else {
      LogEverywhere(
          "\nThe undo journal of an interrupted installation holds no whole statement; "
          "it is kept as " +
          QelUnicodeString(keptAs) + "\n");
    }
    return;
  }
  LogEverywhere("\nAn earlier installation into " + database +
                " was interrupted: " + QelUnicodeString(journal.Path()) + " holds " +
                QelUnicodeString::FromInt(static_cast<long long>(journal.Size())) +
                " statement(s) that undo it.\n");
  QelListValQelUnicodeString parameters;
  parameters.Append(database);
  parameters.Append(QelUnicodeString::FromInt(static_cast<long long>(journal.Size())));
  const QelUnicodeString title = Text("INTERRUPTEDWndTitle.Title", {}, "Interrupted installation");
  _YesNoInCallBack = std::make_unique<ZEP2YesNoInCallBack>(
      this, page, title,
      Text("INTERRUPTEDText.Title", parameters,
           "An earlier installation into %1 was interrupted before it finished. Remove what it "
           "created (%2 statements undo it) before going on?") +
          TornNotice(journal),
      "", "", "");
  const int answer = _YesNoInCallBack->Build();
  _YesNoInCallBack.reset();
  if (answer != QelDlgNotify::YesValue) {
    std::string keptAs;
    if (journal.SetAside(keptAs, error) != 0) {
      LogEverywhere("\nThe undo journal cannot be set aside: " + QelUnicodeString(error) + "\n");
    } else {
      LogEverywhere(
          "\nThe interrupted installation is left as it is; its undo journal is kept as " +
          QelUnicodeString(keptAs) + "\n");
    }
    return;
  }
  std::vector<std::string> failed;
  while (!journal.Empty()) {
    const std::string text = journal.TakeLast();
    const QelUnicodeString shown = QelDbMaskPasswords(text);
    WriteTraceLogFile("\nInterrupted installation undo : <" + shown + ">", 1);
    std::string message;
    if (RunUndo(text, message) == 0 || ZEP2UndoFoundNothing(message)) continue;
    failed.insert(failed.begin(), text);
    LogEverywhere("\nUNDO FAILED: <" + shown + ">\n" + QelUnicodeString(message) + "\n");
  }
  // As in a rollback, a failed undo is tried once more after the others.
  std::vector<std::string> left;
  for (auto undo = failed.rbegin(); undo != failed.rend(); ++undo) {
    std::string message;
    if (RunUndo(*undo, message) != 0 && !ZEP2UndoFoundNothing(message)) {
      left.insert(left.begin(), *undo);
    }
  }
  if (journal.Settle(left, error) != 0) {
    LogEverywhere("\nThe undo journal could not be updated and keeps every statement: " +
                  QelUnicodeString(error) + "\n");
  }
  QelUnicodeString detail;
  for (const std::string& undo : left) detail += "\n" + QelDbMaskPasswords(undo);
  QelListValQelUnicodeString counts;
  counts.Append(QelUnicodeString::FromInt(static_cast<long long>(left.size())));
  counts.Append(QelUnicodeString(journal.Path()));
  const QelUnicodeString outcome =
      left.empty() ? Text("INTERRUPTEDRolledBack.Title", {},
                          "What the interrupted installation had created has been removed.")
                   : Text("INTERRUPTEDIncomplete.Title", counts,
                          "The rollback of the interrupted installation is incomplete: %1 "
                          "statement(s) failed; what they undo is still in the database and "
                          "kept in %2:");
  LogEverywhere("\n" + outcome + detail + "\n");
  _ErrInCallBack = std::make_unique<ZEP2ErrInCallBack>(this, page, title, outcome, detail, "OK");
  _ErrInCallBack->Build();
  _ErrInCallBack.reset();
}
