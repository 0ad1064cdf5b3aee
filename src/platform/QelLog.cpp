// Log files are written with O_APPEND: father and son share them. The log
// and the error log are unbuffered; the trace is gathered in blocks and
// written whole, before a child starts, before the program waits and at exit.
#include "QelLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "QelFaultInjection.h"
#include "QelSecureFile.h"

namespace {

struct LogFile {
  int descriptor = -1;
  std::string path;
};

LogFile outLog;
LogFile errLog;
LogFile traceLog;
std::string errLogPath;
bool newRunStarted = false;
int traceLevelLimit = 4;
// Trace lines not yet written; one write() of whole lines, so lines of two
// processes still never mix.
std::string traceBuffer;
constexpr std::size_t TraceBlockBytes = 64 * 1024;

std::string LogDirectory() {
  for (const char* variable : {"TESSARDBSETUP_LOGDIR", "HOME"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return "/tmp";
}

int Open(LogFile& file, const std::string& path) {
  if (file.descriptor >= 0) close(file.descriptor);
  file.descriptor = -1;
  file.path = path;
  std::string error;
  const int flags = O_APPEND | (newRunStarted ? O_TRUNC : 0);
  file.descriptor = QelOpenOwnedFile(path, flags, 0600, error);
  if (file.descriptor < 0) {
    std::fprintf(stderr, "tessardbsetup: cannot open log file %s\n", error.c_str());
    return -1;
  }
  return 0;
}

// A null or empty path selects the default, whose directory may not exist yet.
std::string PathOrDefault(const char* path, const char* extension) {
  if (path && *path) return path;
  QelMakeDirectories(LogDirectory(), 0700);
  return QelDefaultLogPath(extension);
}

int TraceLevelLimit() {
  const char* value = std::getenv("TESSARDBSETUP_TRACE_LEVEL");
  return value && *value ? std::atoi(value) : 4;
}

void Write(const LogFile& file, const QelUnicodeString& text) {
  if (file.descriptor < 0 || text.Length() == 0) return;
  // One write per call: O_APPEND keeps lines of two processes from mixing.
  [[maybe_unused]] const ssize_t written = write(file.descriptor, text.c_str(), text.Length());
}

}  // namespace

std::string QelDefaultLogPath(const char* extension) {
  return LogDirectory() + "/tessardbsetup." + extension;
}

QelLogPaths QelCurrentLogPaths() {
  return {outLog.path, errLog.path, traceLog.path};
}

void QelSetErrLogFile(const char* path) {
  errLogPath = path ? path : "";
}

int OpenLogFile(const char* path, int newRun) {
  newRunStarted = newRun != 0;
  const int outResult = Open(outLog, PathOrDefault(path, "log"));
  const int errResult = Open(errLog, PathOrDefault(errLogPath.c_str(), "err"));
  return outResult == 0 && errResult == 0 ? 0 : -1;
}

int OpenTraceLogFile(const char* path, int newRun) {
  static bool flushAtExit = false;
  if (!flushAtExit) flushAtExit = std::atexit(QelFlushLogFiles) == 0;
  QelFlushLogFiles();
  newRunStarted = newRunStarted || newRun != 0;
  traceLevelLimit = TraceLevelLimit();
  return Open(traceLog, PathOrDefault(path, "trace"));
}

void WriteLogFile(const QelUnicodeString& text) {
  Write(outLog, text);
}
void WriteErrLogFile(const QelUnicodeString& text) {
  Write(errLog, text);
}
void WriteTraceLogFile(const QelUnicodeString& text, int level) {
  QelStopWhenTraced(text.str());
  if (level > traceLevelLimit || traceLog.descriptor < 0) return;
  traceBuffer.append(text.c_str(), text.Length());
  if (traceBuffer.size() >= TraceBlockBytes) QelFlushLogFiles();
}

void QelFlushLogFiles() {
  if (traceBuffer.empty()) return;
  if (traceLog.descriptor >= 0) {
    [[maybe_unused]] const ssize_t written =
        write(traceLog.descriptor, traceBuffer.data(), traceBuffer.size());
  }
  traceBuffer.clear();
}

void QelCloseLogFiles() {
  QelFlushLogFiles();
  for (LogFile* file : {&outLog, &errLog, &traceLog}) {
    if (file->descriptor >= 0) close(file->descriptor);
    file->descriptor = -1;
  }
  newRunStarted = false;
}
