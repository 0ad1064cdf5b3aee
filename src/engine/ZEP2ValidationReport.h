// The problems a check-only run finds, collected instead of stopping at the
// first, and the forms they leave in: lines for a person, a JSON document
// for automation, and the exit status.
#pragma once

#include <string>
#include <vector>

struct ZEP2ValidationProblem {
  // Which check found it ("tablespace directory", "DBA connection", ...).
  std::string check;
  std::string problem;
  // What the administrator does about it.
  std::string remedy;
};

struct ZEP2ValidationSkip {
  std::string check;
  std::string reason;
};

class ZEP2ValidationReport {
 public:
  // Exit status of a run whose checks found problems.
  static constexpr int NotReadyStatus = 6;

  // The same check finding the same problem twice (a page refusal, then
  // the final check) is one problem.
  void Add(const std::string& check, const std::string& problem, const std::string& remedy);
  // A check that could not be made because something it depends on failed.
  void NotChecked(const std::string& check, const std::string& reason);
  // A check that was made, whatever it found.
  void Checked(const std::string& check);

  // Unmade checks follow from a problem already listed: readiness is the
  // absence of problems.
  bool Ready() const { return problems_.empty(); }
  int ExitStatus() const { return Ready() ? 0 : NotReadyStatus; }
  const std::vector<ZEP2ValidationProblem>& Problems() const { return problems_; }
  const std::vector<ZEP2ValidationSkip>& Skipped() const { return skipped_; }
  const std::vector<std::string>& Made() const { return made_; }

  // "ready" or "not ready: N problem(s)".
  std::string Verdict() const;
  // One line per problem and per check not made, the verdict first and
  // last, each line starting with "tessardbsetup: ".
  std::string Lines() const;
  // The report page's text: the verdict, then the problems with what to do.
  std::string Text() const;
  std::string Json() const;

 private:
  std::vector<ZEP2ValidationProblem> problems_;
  std::vector<ZEP2ValidationSkip> skipped_;
  std::vector<std::string> made_;
};

// Writes the report's JSON document to path, readable by its owner alone
// (never through a symbolic link). 0, or -1 with the reason in error.
int ZEP2WriteValidationJson(const ZEP2ValidationReport& report, const std::string& path,
                            std::string& error);
