// Log files are written with O_APPEND: father and son share them. The log
// and the error log are unbuffered; the trace is gathered in blocks and
// written whole, before a child starts, before the program waits and at exit.
#include "QelLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "QelDisplay.h"
#include "QelFaultInjection.h"
#include "QelSecureFile.h"

namespace {

struct LogFile {
  explicit LogFile(const char* fileName) : name(fileName) {}
  const char* name;
  int descriptor = -1;
  std::string path;
  // After a failed write the file is given up: a disk that refused once
  // would leave a gap nobody could see.
  bool failed = false;
};

LogFile outLog{"log"};
LogFile errLog{"error log"};
LogFile traceLog{"trace"};
// What could not be written, told on stderr as soon as no front end draws
// on the terminal (a line written over a drawn page would be lost in it).
std::string untoldFailures;
long errLogWrites = 0;
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
  file.failed = false;
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

void TellFailures() {
  if (untoldFailures.empty()) return;
  const QelDisplay* display = QelGetDisplay();
  if (display && display->HoldsTerminal()) return;
  std::fputs(untoldFailures.c_str(), stderr);
  std::fflush(stderr);
  untoldFailures.clear();
}

// One write() per call: O_APPEND keeps lines of two processes from mixing.
// A short write (a full disk) goes on with its rest, whose error then says
// why.
void Write(LogFile& file, const char* data, std::size_t size) {
  if (file.descriptor < 0 || file.failed || size == 0) return;
  while (size > 0) {
    const ssize_t written = write(file.descriptor, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      file.failed = true;
      const std::string failure = "cannot write the " + std::string(file.name) + " " + file.path +
                                  ": " + std::strerror(written < 0 ? errno : ENOSPC) +
                                  "; nothing more is written to it\n";
      untoldFailures += "tessardbsetup: " + failure;
      TellFailures();
      // Whoever reads the error log later learns why the other file stops.
      if (&file != &errLog) Write(errLog, failure.data(), failure.size());
      return;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
}

}  // namespace

std::string QelDefaultLogPath(const char* extension) {
  return LogDirectory() + "/tessardbsetup." + extension;
}

int QelLogDescriptor() {
  return outLog.failed ? -1 : outLog.descriptor;
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
  Write(outLog, text.c_str(), text.Length());
}
void WriteErrLogFile(const QelUnicodeString& text) {
  ++errLogWrites;
  Write(errLog, text.c_str(), text.Length());
}

long QelErrLogWrites() {
  return errLogWrites;
}

void QelTellOnStderr(const std::string& line) {
  untoldFailures += line + "\n";
  TellFailures();
}
void WriteTraceLogFile(const QelUnicodeString& text, int level) {
  WriteTraceLogParts({text.str()}, level);
}

void WriteTraceLogParts(std::initializer_list<std::string_view> parts, int level) {
  if (QelStopPending()) {
    std::string text;
    for (const std::string_view part : parts) text.append(part);
    QelStopWhenTraced(text);
  }
  if (level > traceLevelLimit || traceLog.descriptor < 0 || traceLog.failed) return;
  for (const std::string_view part : parts) traceBuffer.append(part);
  if (traceBuffer.size() >= TraceBlockBytes) QelFlushLogFiles();
}

void QelFlushLogFiles() {
  Write(traceLog, traceBuffer.data(), traceBuffer.size());
  traceBuffer.clear();
  TellFailures();
}

void QelCloseLogFiles() {
  QelFlushLogFiles();
  for (LogFile* file : {&outLog, &errLog, &traceLog}) {
    if (file->descriptor >= 0) close(file->descriptor);
    file->descriptor = -1;
  }
  newRunStarted = false;
}
