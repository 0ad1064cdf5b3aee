// The three outputs of a run: the log (decisions and statements), the error
// log (errors for the administrator) and the trace (levels 0 to 4).
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "QelUnicodeString.h"

// newRun = 1: this process starts a run, so the log, the error log and the
// trace it opens start empty. newRun = 0: the process continues a run begun
// by another one (the son of the father/son scheme) and appends, keeping
// what was written before. A null path selects the default file.
// 0 on success; a file that cannot be opened is reported once on stderr.
int OpenLogFile(const char* path, int newRun);
int OpenTraceLogFile(const char* path, int newRun);

// Path of the error log; null selects the default. Opened with the log.
void QelSetErrLogFile(const char* path);

// The paths of the log, the error log and the trace in use (empty before
// they are opened), for telling the administrator where to look.
struct QelLogPaths {
  std::string log;
  std::string errLog;
  std::string trace;
};
QelLogPaths QelCurrentLogPaths();

void WriteLogFile(const QelUnicodeString& text);
// The log's descriptor (opened for appending), for a child whose output
// belongs in the log; -1 when there is no log to write to.
int QelLogDescriptor();
void WriteErrLogFile(const QelUnicodeString& text);
// How many texts were given to the error log so far in this process: a step
// that wrote to it without failing went on past an error.
long QelErrLogWrites();

// Says line (a line feed is added) on stderr as soon as no front end draws
// on the terminal: at once in a silent run, else when the terminal is given
// back (at the latest, the end of the process).
void QelTellOnStderr(const std::string& line);
void WriteTraceLogFile(const QelUnicodeString& text, int level);
// The parts traced as one text, without putting it together first: for the
// lines an installation writes for every statement.
void WriteTraceLogParts(std::initializer_list<std::string_view> parts, int level);

// The trace keeps lines up to $TESSARDBSETUP_TRACE_LEVEL (default 4: all).
// Default paths: $TESSARDBSETUP_LOGDIR, else $HOME, else /tmp, holding
// tessardbsetup.log, tessardbsetup.err and tessardbsetup.trace.
std::string QelDefaultLogPath(const char* extension);

// The trace is written in blocks, not line by line: a large installation
// traces tens of thousands of lines. Its pending lines go to the file here:
// before a child process starts, before the program waits for anything
// (input, a signal, a child), before it signals another process, and at
// exit. The log and the error log are written at once.
void QelFlushLogFiles();

// Closes the three files (tests that open logs again in one process).
void QelCloseLogFiles();
