// How the installation ended, told where the administrator looks: the
// report page under the page's own text, the log, the trace, and (through
// the run's notes) the line the first process ends with.
#include <chrono>
#include <cstring>

#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelLog.h"
#include "platform/QelRunNotes.h"
#include "platform/db/QelDbSecrets.h"

ZEP2InstallOutcome ZEP2InstHQ::InstallOutcome(ZEP2InstallEnd end) const {
  ZEP2InstallOutcome outcome;
  outcome.end = end;
  if (end == ZEP2InstallEnd::Failed) {
    outcome.failedAt = _FailedAt;
    outcome.message = _FailureMessage;
  } else if (end == ZEP2InstallEnd::Cancelled) {
    outcome.cancelledBy = _InterruptSignal != 0 ? InterruptName(_InterruptSignal) : _CancelledBy;
  }
  if (end != ZEP2InstallEnd::Completed) {
    for (const std::string& undo : _UndoLeft)
      outcome.left.push_back(QelDbMaskPasswords(undo).str());
  }
  outcome.counts = _RunCounts;
  outcome.counts.users = static_cast<long>(_UsersCreatedByRun.size());
  outcome.counts.tablespaces = (_nvTypicalTBSCreated ? 1 : 0) + (_nvTypicalTBSBLOBCreated ? 1 : 0);
  if (_InstallationStarted) {
    outcome.counts.elapsedSeconds =
        static_cast<long>(std::chrono::duration_cast<std::chrono::seconds>(
                              std::chrono::steady_clock::now() - _InstallationStart)
                              .count());
  }
  return outcome;
}

void ZEP2InstHQ::SettleOutcome(const ZEP2InstallOutcome& outcome, const QelUnicodeString& head) {
  const QelLogPaths paths = QelCurrentLogPaths();
  const std::string report = ZEP2OutcomeReport(outcome, {paths.log, paths.errLog, paths.trace});
  const QelUnicodeString shown = head + "\n\n" + QelUnicodeString(report);
  _DlgREPORT->Frame->EditorREPORT->SetText(shown);
  const QelUnicodeString line(ZEP2OutcomeLine(outcome));
  // The log keeps what the page showed: a silent run has no other record.
  WriteLogFile("\n" + shown + "\n\nOUTCOME: " + line + "\n");
  WriteTraceLogFile("\nOUTCOME: " + line, 1);
  QelShareInstallOutcome(ZEP2ShortOutcome(outcome), line.str());
}

void ZEP2InstHQ::RecordFailure(const std::string& message) {
  if (!_FailedAt.empty()) return;
  const std::string step = _CurrentStep;
  _FailedAt = step == "PlayDDL" ? PlayedStatementInWords() : ZEP2StepInWords(step);
  // A DBMS may quote the statement it refused, password clause included.
  _FailureMessage = QelDbMaskPasswords(message).str();
}
