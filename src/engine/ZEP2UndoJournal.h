// The undo journal: the statements that undo what an installation created in
// one database, in creation order, kept owner-only beside the settings file.
// Each is appended before its creation is committed, so a run that dies
// leaves a journal that covers at least what it did. The file stays open
// between records: one write per statement.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "ZEP2UndoEntries.h"

class ZEP2UndoJournal {
 public:
  ZEP2UndoJournal(int dbms, std::string database);
  ~ZEP2UndoJournal();
  ZEP2UndoJournal(const ZEP2UndoJournal&) = delete;
  ZEP2UndoJournal& operator=(const ZEP2UndoJournal&) = delete;

  // $QelUserSettingPath/TESSARUndo.<DB2|ORACLE>.<database>.journal
  static std::string PathFor(int dbms, const std::string& database);
  const std::string& Path() const { return path_; }
  int Dbms() const { return dbms_; }
  const std::string& Database() const { return database_; }

  bool FileExists() const;
  // Reads the file's statements; false (with the reason) when it cannot.
  // A record is complete when its line ends: a last line without its end
  // (a write cut short by a full disk, a killed process or a lost machine)
  // is never taken as a statement, only reported by TornLastLine.
  bool Load(std::string& error);
  // After Load: where the file's unfinished last line was and how long it
  // is, for the logs (never its text: it may hold a password); empty when
  // the file ended with a whole line. The next record cuts that line off.
  const std::string& TornLastLine() const { return torn_; }
  // Appends undo to the file (with the header when the file is new), then
  // to the list. -1 with the reason when the file could not take it: the
  // creation must then not be made.
  int Record(const std::string& undo, std::string& error);

  bool Empty() const { return entries_.Empty(); }
  std::size_t Size() const { return entries_.Size(); }
  // The last statement recorded, taken off the list (not the file).
  std::string TakeLast();
  // The creation just recorded failed, and the DBMS undid it: its undo has
  // nothing to do (the file keeps the line until the journal is settled).
  void ForgetLast() { entries_.RemoveLast(); }

  // After a rollback: the file goes when nothing is left; otherwise it is
  // rewritten with exactly what is left, so a later run can try again.
  int Settle(const std::vector<std::string>& left, std::string& error);
  // Renames the file aside (name + ".kept-<time>") and forgets it.
  int SetAside(std::string& keptAs, std::string& error);
  // A finished installation: its own statements are forgotten; the file
  // keeps only what an earlier run had left (or goes when there was none).
  int KeepOnlyEarlierRuns(std::string& error);

 private:
  std::string Header() const;
  // The file is replaced or renamed: the next record opens it again.
  void CloseFile();
  // On opening the file for records: cuts off an unfinished last line Load
  // found and takes the file's length; false (file closed) when it cannot.
  bool TakeWholeLines(std::string& error);

  int dbms_;
  std::string database_;
  std::string path_;
  ZEP2UndoEntries entries_;
  std::size_t earlier_ = 0;
  bool written_ = false;
  int descriptor_ = -1;
  // The file's length after the last whole record: a failed write is cut
  // back to it, so the next record never continues a partial line.
  off_t length_ = 0;
  std::string torn_;
  std::string line_;
};

// Tells the error log, the log and the trace that the journal's last line
// was cut short and is ignored; nothing when it was not.
void ReportTornJournalLine(const ZEP2UndoJournal& journal);

// True when a DBMS message says that what an undo statement removes is not
// there (an undefined name, a privilege not held): nothing is left of it.
bool ZEP2UndoFoundNothing(const std::string& message);
