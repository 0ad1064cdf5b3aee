// Fault injection on demand: the Nth call of the database driver or the Nth
// write of the file services fails as a real failure would, so every failure
// path can be swept position by position.
#pragma once

#include <string>
#include <string_view>

enum class QelFaultKind { DatabaseCall, FileWrite };

// Counts one call of kind in this process and tells whether it is the one
// that must fail: TESSARDBSETUP_FAULT_DB_CALL=N (database driver) and
// TESSARDBSETUP_FAULT_FILE_WRITE=N (file services) name the position,
// counted from 1 in each process; "N+" makes the Nth and every later call
// fail. The fault is traced and, when
// TESSARDBSETUP_FAULT_LOG names a file, recorded there as "<kind> <N> <pid>";
// with that file each process also records, as it exits, how many calls it
// made: "count <kind> <calls> <pid>" (kinds "database" and "file-write").
bool QelFaultDue(QelFaultKind kind);

// Test switches never act in silence: each one set is said on stderr and in
// the log as the process starts (called once the log is open), and each
// fault injected or stop made is a note of the run (QelRunNotes.h), so its
// end says so whatever its status.
void QelAnnounceTestSwitches();

// The text a failed call reports: "injected fault: <kind> call <N>".
std::string QelFaultText(QelFaultKind kind);

// TESSARDBSETUP_STOP_AT=TEXT: the first time the trace is given a text
// holding TEXT, the process flushes its trace, records "stop <pid> database
// <calls> file-write <writes>" in TESSARDBSETUP_FAULT_LOG (when set: the
// calls made so far, so the next one's position is known) and stops itself
// (SIGSTOP), as at a debugger's breakpoint. A test can then kill it at that
// very point of its work, without guessing a delay; SIGCONT lets it go on.
void QelStopWhenTraced(std::string_view text);
// Whether QelStopWhenTraced may still stop the process: a text need not be
// put together to be looked at otherwise.
bool QelStopPending();
