// The run's notes: this process's in memory, the other process's through one
// owner-only file of the settings directory, one "<kind> <text>" line each.
#include "QelRunNotes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "QelLog.h"
#include "QelSecureFile.h"

namespace {

constexpr const char* SharedVariable = "TESSARDBSETUP_RUN_NOTES";

struct Notes {
  std::vector<std::string> warnings;
  std::vector<std::string> faults;
  std::string outcome;
  std::string outcomeLine;
};

constexpr const char* OutcomeWord = "outcome ";
constexpr const char* OutcomeLineWord = "outcome-line ";

Notes own;
std::string sharedPath;
bool firstProcess = true;
long warnCalls = 0;

std::vector<std::string>& ListOf(Notes& notes, QelRunNoteKind kind) {
  return kind == QelRunNoteKind::Warning ? notes.warnings : notes.faults;
}

const char* WordOf(QelRunNoteKind kind) {
  return kind == QelRunNoteKind::Warning ? "warning" : "test-fault";
}

std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  std::replace(text.begin(), text.end(), '\r', ' ');
  return text;
}

// Only a plain file of this user: the notes end up on the report page.
int OpenShared(int flags) {
  if (sharedPath.empty()) return -1;
  const int descriptor =
      open(sharedPath.c_str(), flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
  if (descriptor < 0) return -1;
  struct stat info {};
  if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid()) {
    close(descriptor);
    return -1;
  }
  return descriptor;
}

// Straight to the file, in one write: the file services may be what a test
// fault fails, and the lines of two processes must not mix.
void ShareLine(const std::string& line) {
  int descriptor = OpenShared(O_WRONLY | O_APPEND | O_CREAT);
  // The settings directory is made when the answers are first saved; a
  // note may come before.
  if (descriptor < 0 && errno == ENOENT && !sharedPath.empty()) {
    QelMakeDirectories(sharedPath.substr(0, sharedPath.rfind('/')), 0700);
    descriptor = OpenShared(O_WRONLY | O_APPEND | O_CREAT);
  }
  if (descriptor < 0) return;
  [[maybe_unused]] const ssize_t written = write(descriptor, line.data(), line.size());
  close(descriptor);
}

void Share(QelRunNoteKind kind, const std::string& text) {
  ShareLine(std::string(WordOf(kind)) + " " + text + "\n");
}

Notes ReadShared() {
  Notes shared;
  const int descriptor = OpenShared(O_RDONLY);
  if (descriptor < 0) return shared;
  std::string content;
  char buffer[4096];
  for (ssize_t count; (count = read(descriptor, buffer, sizeof buffer)) != 0;) {
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) break;
    content.append(buffer, static_cast<std::size_t>(count));
  }
  close(descriptor);
  std::size_t start = 0;
  for (std::size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string line = content.substr(start, end - start);
    for (const QelRunNoteKind kind : {QelRunNoteKind::Warning, QelRunNoteKind::TestFault}) {
      const std::string prefix = std::string(WordOf(kind)) + " ";
      if (line.starts_with(prefix)) ListOf(shared, kind).push_back(line.substr(prefix.size()));
    }
    if (line.starts_with(OutcomeWord)) shared.outcome = line.substr(std::strlen(OutcomeWord));
    if (line.starts_with(OutcomeLineWord)) {
      shared.outcomeLine = line.substr(std::strlen(OutcomeLineWord));
    }
  }
  return shared;
}

bool Add(QelRunNoteKind kind, const std::string& text) {
  std::vector<std::string>& list = ListOf(own, kind);
  if (std::find(list.begin(), list.end(), text) != list.end()) return false;
  list.push_back(text);
  Share(kind, text);
  return true;
}

void Merge(std::vector<std::string>& list, const std::vector<std::string>& more) {
  for (const std::string& text : more) {
    if (std::find(list.begin(), list.end(), text) == list.end()) list.push_back(text);
  }
}

std::string Joined(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts) joined += (joined.empty() ? "" : "; ") + text;
  return joined;
}

}  // namespace

void QelWarn(const std::string& text) {
  ++warnCalls;
  const std::string line = OneLine(text);
  if (!Add(QelRunNoteKind::Warning, line)) return;
  WriteErrLogFile("\nWARNING: " + QelUnicodeString(line) + "\n");
  WriteTraceLogFile("\nWARNING: " + QelUnicodeString(line), 1);
}

long QelWarnCalls() {
  return warnCalls;
}

void QelNoteTestFault(const std::string& text) {
  const std::string line = OneLine(text);
  if (!Add(QelRunNoteKind::TestFault, line)) return;
  WriteLogFile("\nTEST SWITCH ACTED: " + QelUnicodeString(line) + "\n");
}

std::vector<std::string> QelRunNotes(QelRunNoteKind kind) {
  std::vector<std::string> notes = ListOf(own, kind);
  Notes shared = ReadShared();
  Merge(notes, ListOf(shared, kind));
  return notes;
}

void QelShareInstallOutcome(const std::string& shortOutcome, const std::string& line) {
  own.outcome = OneLine(shortOutcome);
  own.outcomeLine = OneLine(line);
  ShareLine(OutcomeWord + own.outcome + "\n" + OutcomeLineWord + own.outcomeLine + "\n");
}

bool QelInstallOutcome(std::string& shortOutcome, std::string& line) {
  Notes notes = own;
  if (notes.outcome.empty()) notes = ReadShared();
  if (notes.outcome.empty()) return false;
  shortOutcome = notes.outcome;
  line = notes.outcomeLine;
  return true;
}

void QelStartRunNotes(const std::string& settingsDirectory) {
  own = {};
  warnCalls = 0;
  const char* inherited = std::getenv(SharedVariable);
  const char* father = std::getenv("FATHERPID");
  firstProcess = !(father && *father && inherited && *inherited);
  if (!firstProcess) {
    sharedPath = inherited;
    return;
  }
  sharedPath.clear();
  if (settingsDirectory.empty()) {
    unsetenv(SharedVariable);
    return;
  }
  sharedPath = settingsDirectory + "/TESSARRun." + std::to_string(getpid()) + ".notes";
  // A leftover of a killed run that had this process id is no note of ours.
  unlink(sharedPath.c_str());
  setenv(SharedVariable, sharedPath.c_str(), 1);
}

void QelEndRunNotes() {
  if (!firstProcess || sharedPath.empty()) return;
  Notes shared = ReadShared();
  Merge(own.warnings, shared.warnings);
  Merge(own.faults, shared.faults);
  if (own.outcome.empty()) {
    own.outcome = shared.outcome;
    own.outcomeLine = shared.outcomeLine;
  }
  unlink(sharedPath.c_str());
  sharedPath.clear();
}

std::string QelOutcomeWithNotes(int status, const std::string& outcome) {
  std::string result = outcome;
  const std::vector<std::string> warnings = QelRunNotes(QelRunNoteKind::Warning);
  if (!warnings.empty()) {
    result += (status == 0 ? ", completed with warnings: " : "; warnings: ") + Joined(warnings);
  }
  const std::vector<std::string> faults = QelRunNotes(QelRunNoteKind::TestFault);
  if (!faults.empty()) result += "; test fault injected: " + Joined(faults);
  return result;
}
