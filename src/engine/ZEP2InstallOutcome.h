// How an installation ended, in words: the closing block of the report page
// and the one line a run ends with are composed here from the same facts, so
// the two never tell different stories.
#pragma once

#include <string>
#include <vector>

// What the run did to the database, counted as it went.
struct ZEP2InstallCounts {
  long users = 0;
  long tablespaces = 0;
  // Schema objects the DDL created (tables, views, indexes, ...).
  long objects = 0;
  // Statements executed, or written into the DDL file.
  long statements = 0;
  // Undo statements the rollback played.
  long undone = 0;
  long elapsedSeconds = 0;
};

enum class ZEP2InstallEnd { Completed, Cancelled, Failed };

struct ZEP2InstallOutcome {
  ZEP2InstallEnd end = ZEP2InstallEnd::Completed;
  // Cancelled: what stopped it, a signal's name ("SIGINT") or words; empty
  // for the status page's Cancel.
  std::string cancelledBy;
  // Failed: where, in words, and what the DBMS said.
  std::string failedAt;
  std::string message;
  // What the rollback could not undo, passwords already masked.
  std::vector<std::string> left;
  ZEP2InstallCounts counts;
};

struct ZEP2RunFiles {
  std::string log;
  std::string errLog;
  std::string trace;
};

// "14 s", "3 min 05 s", "1 h 02 min".
std::string ZEP2ElapsedInWords(long seconds);
// The step St_<step> as an administrator would name what it does.
std::string ZEP2StepInWords(const std::string& step);
// "completed", "cancelled, everything created was removed", "failed at X:
// M, rolled back", "...: rollback incomplete: A; B".
std::string ZEP2OutcomeHeadline(const ZEP2InstallOutcome& outcome);
// "2 users, 1 tablespace, 40 objects created and removed; 120 statements
// played, 41 undone, in 3 s".
std::string ZEP2OutcomeCounts(const ZEP2InstallOutcome& outcome);
// The headline and the counts on one line.
std::string ZEP2OutcomeLine(const ZEP2InstallOutcome& outcome);
// The few words of a process's exit: "installation cancelled and rolled
// back", "installation failed; rollback incomplete", ...
std::string ZEP2ShortOutcome(const ZEP2InstallOutcome& outcome);
// "log A, error log B, trace C".
std::string ZEP2RunFilesInWords(const ZEP2RunFiles& files);
// The report page's closing block: outcome, counts and where the files are.
std::string ZEP2OutcomeReport(const ZEP2InstallOutcome& outcome, const ZEP2RunFiles& files);
