// The outcome texts. A DBMS message may span lines; the line a run ends
// with must stay one line, so every free text is folded first.
#include "ZEP2InstallOutcome.h"

#include <cstdio>
#include <map>

namespace {

std::string Folded(const std::string& text) {
  std::string folded;
  bool blank = false;
  for (const char c : text) {
    const bool space = c == '\n' || c == '\r' || c == '\t' || c == ' ';
    if (space && (blank || folded.empty())) continue;
    folded += space ? ' ' : c;
    blank = space;
  }
  while (!folded.empty() && folded.back() == ' ') folded.pop_back();
  return folded;
}

std::string Counted(long count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string Joined(const std::vector<std::string>& texts, const char* separator) {
  std::string joined;
  for (const std::string& text : texts) joined += (joined.empty() ? "" : separator) + Folded(text);
  return joined;
}

bool Incomplete(const ZEP2InstallOutcome& outcome) {
  return outcome.end != ZEP2InstallEnd::Completed && !outcome.left.empty();
}

// What ended the installation, without what the rollback made of it.
std::string Cause(const ZEP2InstallOutcome& outcome) {
  if (outcome.end == ZEP2InstallEnd::Failed) {
    std::string cause = "failed at " + Folded(outcome.failedAt);
    if (!Folded(outcome.message).empty()) cause += ": " + Folded(outcome.message);
    return cause;
  }
  const std::string& by = outcome.cancelledBy;
  if (by.empty()) return "cancelled";
  if (by.rfind("SIG", 0) == 0) return "interrupted by " + by + ": cancelled";
  return "cancelled (" + Folded(by) + ")";
}

}  // namespace

std::string ZEP2ElapsedInWords(long seconds) {
  if (seconds < 0) seconds = 0;
  char text[48];
  if (seconds < 60) {
    std::snprintf(text, sizeof text, "%ld s", seconds);
  } else if (seconds < 3600) {
    std::snprintf(text, sizeof text, "%ld min %02ld s", seconds / 60, seconds % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld h %02ld min", seconds / 3600, seconds % 3600 / 60);
  }
  return text;
}

std::string ZEP2StepInWords(const std::string& step) {
  static const std::map<std::string, std::string> words = {
      {"GenEnvFiles", "the server settings"},
      {"ChkDBAlreadyInstall", "the check for an earlier installation"},
      {"TypicalTBSCreation", "the creation of the tablespaces"},
      {"TypicalUSERCreation", "the creation of the database users"},
      {"AlterUserDefSysSrv", "the switch of a database user to its password"},
      {"AlterUserTmpSysSrv", "the temporary password of a database user"},
      {"TypicalALTERUser", "the default tablespace and quotas of a schema owner"},
      {"GRANTUserTESADM", "the rights of the PDM administrator"},
      {"TypicalUSERGrant", "the rights of a schema owner"},
      {"GetTESADMConnexion", "the connection as the PDM administrator"},
      {"GetSchemaOwnerCnx", "the connection as a schema owner"},
      {"PlayDDL", "a DDL statement"},
      {"ZEPProject", "the project administration data"},
      {"ZEPDataManager", "the initialisation of the PDM data manager"},
      {"ZEPRDBEI", "the status-graph import"},
      {"AlterUserTmpSrvSys", "the return of a database user to external authentication"},
      {"AlterUserDefSrvSys", "the switch of a database user to external authentication"},
  };
  const auto found = words.find(step);
  return found != words.end() ? found->second : "the step St_" + step;
}

std::string ZEP2OutcomeHeadline(const ZEP2InstallOutcome& outcome) {
  if (outcome.end == ZEP2InstallEnd::Completed) return "completed";
  if (Incomplete(outcome)) {
    return Cause(outcome) + ", rollback incomplete: " + Joined(outcome.left, "; ");
  }
  if (outcome.end == ZEP2InstallEnd::Failed) return Cause(outcome) + ", rolled back";
  return Cause(outcome) + ", everything created was removed";
}

std::string ZEP2OutcomeCounts(const ZEP2InstallOutcome& outcome) {
  const ZEP2InstallCounts& counts = outcome.counts;
  std::string text = Counted(counts.users, "user", "users") + ", " +
                     Counted(counts.tablespaces, "tablespace", "tablespaces") + ", " +
                     Counted(counts.objects, "object", "objects") + " created";
  if (outcome.end != ZEP2InstallEnd::Completed && !Incomplete(outcome)) text += " and removed";
  text += "; " + Counted(counts.statements, "statement", "statements") + " played";
  if (outcome.end != ZEP2InstallEnd::Completed)
    text += ", " + std::to_string(counts.undone) + " undone";
  return text + ", in " + ZEP2ElapsedInWords(counts.elapsedSeconds);
}

std::string ZEP2OutcomeLine(const ZEP2InstallOutcome& outcome) {
  return ZEP2OutcomeHeadline(outcome) + "; " + ZEP2OutcomeCounts(outcome);
}

std::string ZEP2ShortOutcome(const ZEP2InstallOutcome& outcome) {
  if (outcome.end == ZEP2InstallEnd::Completed) return "installation finished";
  const bool cancelled = outcome.end == ZEP2InstallEnd::Cancelled;
  const std::string what = cancelled ? "installation cancelled" : "installation failed";
  if (Incomplete(outcome)) return what + "; rollback incomplete";
  return what + (cancelled ? " and rolled back" : " and was rolled back");
}

std::string ZEP2RunFilesInWords(const ZEP2RunFiles& files) {
  return "log " + files.log + ", error log " + files.errLog + ", trace " + files.trace;
}

std::string ZEP2OutcomeReport(const ZEP2InstallOutcome& outcome, const ZEP2RunFiles& files) {
  return "Outcome: " + ZEP2OutcomeHeadline(outcome) + "\n" + "Done: " + ZEP2OutcomeCounts(outcome) +
         "\n" + "Log: " + files.log + "\n" + "Error log: " + files.errLog + "\n" +
         "Trace: " + files.trace;
}
