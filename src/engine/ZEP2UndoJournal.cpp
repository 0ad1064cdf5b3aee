// Reading, appending and settling the undo journal file.
#include "ZEP2UndoJournal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string_view>

#include "platform/QelEscape.h"
#include "platform/QelLog.h"
#include "platform/QelSecureFile.h"
#include "platform/QelSettings.h"
#include "platform/db/QelDb.h"
#include "platform/db/QelDbDialect.h"

namespace {

constexpr const char* EntryKey = "undo=";

// One statement a line: backslashes and line breaks escaped.
constexpr QelEscape kLineEscapes[] = {{'\n', 'n'}, {'\r', 'r'}};

void AppendEntry(std::string& journal, const std::string& undo) {
  journal += EntryKey;
  QelAppendEscaped(journal, undo, kLineEscapes);
  journal += '\n';
}

// A database name becomes part of a file name: only safe characters stay.
std::string FileNamePart(const std::string& text) {
  std::string part;
  for (const char c : text) {
    const bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '_' || c == '-';
    part += safe ? c : '_';
  }
  return part.empty() ? "_" : part;
}

std::string Now(const char* format) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[64];
  std::strftime(text, sizeof text, format, &local);
  return text;
}

}  // namespace

ZEP2UndoJournal::ZEP2UndoJournal(int dbms, std::string database)
    : dbms_(dbms), database_(std::move(database)), path_(PathFor(dbms_, database_)) {}

ZEP2UndoJournal::~ZEP2UndoJournal() {
  CloseFile();
}

void ZEP2UndoJournal::CloseFile() {
  if (descriptor_ >= 0) close(descriptor_);
  descriptor_ = -1;
}

std::string ZEP2UndoJournal::PathFor(int dbms, const std::string& database) {
  return QelUserSettingDirectory() + "/TESSARUndo." + (dbms == QelDbDB2 ? "DB2." : "ORACLE.") +
         FileNamePart(database) + ".journal";
}

bool ZEP2UndoJournal::FileExists() const {
  return access(path_.c_str(), F_OK) == 0;
}

std::string ZEP2UndoJournal::Header() const {
  return "# tessardbsetup undo journal: the statements that undo an installation, in creation "
         "order\ndbms=" +
         std::string(dbms_ == QelDbDB2 ? "DB2" : "ORACLE") +
         "\ndatabase=" + QelEscaped(database_, kLineEscapes) +
         "\nstarted=" + Now("%Y-%m-%d %H:%M:%S") + " pid " + std::to_string(getpid()) + "\n";
}

bool ZEP2UndoJournal::Load(std::string& error) {
  CloseFile();
  std::ifstream file(path_, std::ios::binary);
  if (!file) {
    error = path_ + ": " + std::strerror(errno);
    return false;
  }
  entries_.Clear();
  torn_.clear();
  length_ = 0;
  std::string line;
  for (std::size_t number = 1; std::getline(file, line); ++number) {
    // getline stops at the end of the file without a line break only for
    // a line that never got its end: what it holds is not all of a record.
    if (file.eof()) {
      torn_ = "line " + std::to_string(number) + " (" + std::to_string(line.size()) +
              " bytes) was cut short while it was written";
      break;
    }
    length_ += static_cast<off_t>(line.size() + 1);
    if (line.rfind(EntryKey, 0) == 0)
      entries_.Append(QelUnescaped(std::string_view(line).substr(5), kLineEscapes));
  }
  if (file.bad()) {
    error = path_ + ": cannot be read";
    entries_.Clear();
    return false;
  }
  earlier_ = entries_.Size();
  written_ = true;
  return true;
}

int ZEP2UndoJournal::Record(const std::string& undo, std::string& error) {
  if (descriptor_ < 0) {
    if (QelMakeDirectories(QelUserSettingDirectory(), 0700) != 0) {
      error = QelUserSettingDirectory() + ": " + std::strerror(errno);
      return -1;
    }
    descriptor_ = QelOpenOwnedFile(path_, O_APPEND, 0600, error);
    if (descriptor_ < 0) return -1;
    if (!TakeWholeLines(error)) return -1;
  }
  // The line's buffer stays with the journal: a record per object created.
  line_.clear();
  if (!written_) line_ = Header();
  AppendEntry(line_, undo);
  // write() without fsync: the journal guards against this process dying (a
  // kill, a crash), and what write() returned from is the kernel's whatever
  // becomes of the process. Only a machine that stops could lose the last
  // lines; flushing to the disk per statement would cost milliseconds each
  // on a disk, more than the statement. A settled journal is flushed.
  if (!QelWriteAll(descriptor_, line_)) {
    error = path_ + ": " + std::strerror(errno);
    // What part of the line a full disk took is cut off again: the next
    // record must start a line of its own, not complete this one.
    if (ftruncate(descriptor_, length_) != 0) {
      error += " (and its unfinished last line stays: " + std::string(std::strerror(errno)) + ")";
    }
    CloseFile();
    return -1;
  }
  length_ += static_cast<off_t>(line_.size());
  written_ = true;
  entries_.Append(undo);
  return 0;
}

bool ZEP2UndoJournal::TakeWholeLines(std::string& error) {
  // Appending after an unfinished line would join the two into one record
  // that means neither, so the line Load found cut short goes first.
  if (!torn_.empty()) {
    if (ftruncate(descriptor_, length_) != 0) {
      error = path_ + ": its unfinished last line cannot be cut off: " + std::strerror(errno);
      CloseFile();
      return false;
    }
    torn_.clear();
    return true;
  }
  struct stat info {};
  if (fstat(descriptor_, &info) != 0) {
    error = path_ + ": " + std::strerror(errno);
    CloseFile();
    return false;
  }
  length_ = info.st_size;
  return true;
}

std::string ZEP2UndoJournal::TakeLast() {
  std::string last = entries_.Last();
  entries_.RemoveLast();
  return last;
}

int ZEP2UndoJournal::Settle(const std::vector<std::string>& left, std::string& error) {
  CloseFile();
  entries_.Clear();
  torn_.clear();
  if (left.empty()) {
    written_ = false;
    if (unlink(path_.c_str()) != 0 && errno != ENOENT) {
      error = path_ + ": " + std::strerror(errno);
      return -1;
    }
    return 0;
  }
  std::string content = Header();
  for (const std::string& undo : left) AppendEntry(content, undo);
  return QelWriteFileAtomically(path_, content, 0600, error);
}

int ZEP2UndoJournal::SetAside(std::string& keptAs, std::string& error) {
  CloseFile();
  keptAs = path_ + ".kept-" + Now("%Y%m%d-%H%M%S");
  if (rename(path_.c_str(), keptAs.c_str()) != 0) {
    error = path_ + ": " + std::strerror(errno);
    return -1;
  }
  entries_.Clear();
  torn_.clear();
  written_ = false;
  return 0;
}

int ZEP2UndoJournal::KeepOnlyEarlierRuns(std::string& error) {
  entries_.Truncate(earlier_);
  const std::vector<std::string> earlier = entries_.All();
  earlier_ = 0;
  return Settle(earlier, error);
}

void ReportTornJournalLine(const ZEP2UndoJournal& journal) {
  if (journal.TornLastLine().empty()) return;
  const QelUnicodeString text = "\nThe undo journal " + QelUnicodeString(journal.Path()) + ": " +
                                QelUnicodeString(journal.TornLastLine()) +
                                "; it is ignored: a statement cut short is never run.\n";
  WriteErrLogFile(text);
  WriteLogFile(text);
  WriteTraceLogFile(text, 2);
}

bool ZEP2UndoFoundNothing(const std::string& message) {
  // The journal keeps the message alone; a message names its DBMS by its code.
  for (const int dbms : {QelDbDB2, QelDbOracle}) {
    if (QelDbDialect::For(dbms).ClassifyMessage(message) == QelDbCondition::ObjectMissing) {
      return true;
    }
  }
  return false;
}
