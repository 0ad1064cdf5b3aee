// The process-wide fault counters behind QelFaultDue.
#include "QelFaultInjection.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <vector>

#include "QelLog.h"
#include "QelRunNotes.h"

namespace {

struct Counter {
  const char* variable;
  const char* name;
  long calls = 0;
};

Counter counters[] = {{"TESSARDBSETUP_FAULT_DB_CALL", "database"},
                      {"TESSARDBSETUP_FAULT_FILE_WRITE", "file-write"}};

Counter& CounterOf(QelFaultKind kind) {
  return counters[kind == QelFaultKind::DatabaseCall ? 0 : 1];
}

// "N": the Nth call fails; "N+": the Nth and every later call fail, as
// when the DBMS or the disk is lost for good. 0 when unset or malformed.
long Position(const Counter& counter, bool& lasting) {
  const char* value = std::getenv(counter.variable);
  lasting = false;
  if (!value || !*value) return 0;
  char* end = nullptr;
  const long position = std::strtol(value, &end, 10);
  lasting = *end == '+';
  if (lasting) ++end;
  return *end == '\0' && position > 0 ? position : 0;
}

// What the switch does, in words: "database call 5 fails on purpose".
std::string Meaning(const Counter& counter, long position, bool lasting) {
  const std::string kind = counter.name == std::string("database") ? "database" : "file write";
  if (lasting) {
    return kind + (kind == "database" ? " calls" : "s") + " from " + std::to_string(position) +
           " on fail on purpose";
  }
  return kind + (kind == "database" ? " call " : " ") + std::to_string(position) +
         " fails on purpose";
}

// The record goes straight to the file: the file services are what may be
// failing, and a fault must never hide itself.
void Append(const std::string& line) {
  const char* path = std::getenv("TESSARDBSETUP_FAULT_LOG");
  if (!path || !*path) return;
  const int descriptor = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (descriptor < 0) return;
  [[maybe_unused]] const ssize_t written = write(descriptor, line.data(), line.size());
  close(descriptor);
}

const char* FaultLog() {
  const char* path = std::getenv("TESSARDBSETUP_FAULT_LOG");
  return path && *path ? path : nullptr;
}

// A sweep learns from the count how many positions a run has.
void RecordCounts() {
  for (const Counter& counter : counters) {
    Append("count " + std::string(counter.name) + " " + std::to_string(counter.calls) + " " +
           std::to_string(getpid()) + "\n");
  }
}

const std::string& StopText() {
  static const std::string wanted = [] {
    const char* value = std::getenv("TESSARDBSETUP_STOP_AT");
    return std::string(value ? value : "");
  }();
  return wanted;
}

bool stopped = false;
// The announcement of the stop switch holds its text: it must not stop.
bool announcing = false;

}  // namespace

bool QelStopPending() {
  // Asked for every trace line: the variable is looked at once.
  static const bool wanted = !StopText().empty();
  return wanted && !stopped;
}

bool QelFaultDue(QelFaultKind kind) {
  static const bool counting = [] {
    if (FaultLog()) std::atexit(RecordCounts);
    return FaultLog() != nullptr;
  }();
  Counter& counter = CounterOf(kind);
  bool lasting = false;
  const long position = Position(counter, lasting);
  if (position == 0 && !counting) return false;
  ++counter.calls;
  if (position == 0 || counter.calls < position || (!lasting && counter.calls > position)) {
    return false;
  }
  Append(std::string(counter.name) + " " + std::to_string(counter.calls) + " " +
         std::to_string(getpid()) + "\n");
  // A lasting fault is one note: its first call says what follows.
  if (counter.calls == position) {
    QelNoteTestFault(Meaning(counter, position, lasting) + " (" + counter.variable + "=" +
                     std::getenv(counter.variable) + ", process " + std::to_string(getpid()) + ")");
  }
  WriteTraceLogFile("\nFAULT INJECTED: " + QelUnicodeString(QelFaultText(kind)), 2);
  return true;
}

std::string QelFaultText(QelFaultKind kind) {
  const Counter& counter = CounterOf(kind);
  return std::string("injected fault: ") + counter.name + " call " + std::to_string(counter.calls);
}

void QelAnnounceTestSwitches() {
  std::vector<std::string> lines;
  for (const Counter& counter : counters) {
    const char* value = std::getenv(counter.variable);
    if (!value || !*value) continue;
    bool lasting = false;
    const long position = Position(counter, lasting);
    lines.push_back(std::string(counter.variable) + "=" + value + ": " +
                    (position > 0
                         ? Meaning(counter, position, lasting) + ", counted in each process"
                         : "not a position (N or N+), no fault is injected"));
  }
  if (!StopText().empty()) {
    lines.push_back("TESSARDBSETUP_STOP_AT=" + StopText() +
                    ": the process stops itself (SIGSTOP) the first time its trace holds that "
                    "text; SIGCONT lets it go on");
  }
  if (const char* log = FaultLog()) {
    lines.push_back(std::string("TESSARDBSETUP_FAULT_LOG=") + log +
                    ": injected faults and call counts are recorded there");
  }
  announcing = true;
  for (const std::string& line : lines) {
    QelTellOnStderr("tessardbsetup: test switch " + line);
    WriteLogFile("\nTEST SWITCH SET: " + QelUnicodeString(line) + "\n");
    WriteTraceLogFile("\nTEST SWITCH SET: " + QelUnicodeString(line), 1);
  }
  announcing = false;
}

void QelStopWhenTraced(std::string_view text) {
  if (!QelStopPending() || announcing || text.find(StopText()) == std::string_view::npos) return;
  stopped = true;
  const std::string pid = std::to_string(getpid());
  QelNoteTestFault("stopped itself at a trace holding '" + StopText() +
                   "' (TESSARDBSETUP_STOP_AT, process " + pid + ")");
  QelTellOnStderr("tessardbsetup: process " + pid +
                  " stops itself on purpose (TESSARDBSETUP_STOP_AT=" + StopText() +
                  "); kill -CONT " + pid + " lets it go on");
  QelFlushLogFiles();
  Append("stop " + std::to_string(getpid()) + " database " + std::to_string(counters[0].calls) +
         " file-write " + std::to_string(counters[1].calls) + "\n");
  raise(SIGSTOP);
}
