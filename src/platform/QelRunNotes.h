// What a run went on past (warnings) and the test switches that acted in it
// (an injected fault, a stop), gathered over both processes of the run, so
// that its end says "completed with warnings" and lists them, and a run a
// fault was injected into is never taken for a real one.
#pragma once

#include <string>
#include <vector>

enum class QelRunNoteKind { Warning, TestFault };

// Records a warning of this process once (the same text again is ignored),
// in the error log and the trace, and shares it with the run's other
// process. text is one line, without the "warning: " prefix.
void QelWarn(const std::string& text);
// How often this process called QelWarn, repeated texts included: a step
// that did has said what it went on past.
long QelWarnCalls();
// Records that a test switch acted (in the log); shared the same way.
void QelNoteTestFault(const std::string& text);

// The notes of the whole run so far, this process's first, then those the
// run's other process shared that this one does not have.
std::vector<std::string> QelRunNotes(QelRunNoteKind kind);

// The installation's outcome, settled by the process that ran it (the son),
// for the line the run ends with: shortOutcome the few words of the exit,
// line the outcome with its counts. The latest one shared stands.
void QelShareInstallOutcome(const std::string& shortOutcome, const std::string& line);
// The installation's outcome shared in this run so far by either process;
// false when no installation settled one.
bool QelInstallOutcome(std::string& shortOutcome, std::string& line);

// The file the run's processes share their notes through: the first process
// names one of its own in settingsDirectory and hands it to its son through
// TESSARDBSETUP_RUN_NOTES; a son (started with FATHERPID) appends to its
// father's. Called once as a process starts; again in tests, it forgets the
// notes recorded so far.
void QelStartRunNotes(const std::string& settingsDirectory);
// The first process, as it ends: takes in what its son shared, then removes
// the file. A son leaves it to its father.
void QelEndRunNotes();

// outcome with the run's notes: ", completed with warnings: A; B" after a
// finished run (status 0), "; warnings: A; B" after any other, then
// "; test fault injected: X; Y" whatever the status.
std::string QelOutcomeWithNotes(int status, const std::string& outcome);
