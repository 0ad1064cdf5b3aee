// The outcome texts an administrator reads on the report page and in the
// last line of a run: each ending says what happened, with its counts.
#include <gtest/gtest.h>

#include "engine/ZEP2InstallOutcome.h"

namespace {

ZEP2InstallOutcome Counted(ZEP2InstallEnd end) {
  ZEP2InstallOutcome outcome;
  outcome.end = end;
  outcome.counts = {2, 1, 40, 120, 41, 3};
  return outcome;
}

}  // namespace

TEST(InstallOutcome, EachEndingSaysWhatHappenedWithItsCounts) {
  const ZEP2InstallOutcome completed = Counted(ZEP2InstallEnd::Completed);
  EXPECT_EQ(ZEP2OutcomeLine(completed),
            "completed; 2 users, 1 tablespace, 40 objects created; 120 statements played, in 3 s");
  EXPECT_EQ(ZEP2ShortOutcome(completed), "installation finished");

  const ZEP2InstallOutcome cancelled = Counted(ZEP2InstallEnd::Cancelled);
  EXPECT_EQ(ZEP2OutcomeLine(cancelled),
            "cancelled, everything created was removed; 2 users, 1 tablespace, 40 objects created "
            "and removed; 120 statements played, 41 undone, in 3 s");
  EXPECT_EQ(ZEP2ShortOutcome(cancelled), "installation cancelled and rolled back");

  ZEP2InstallOutcome failed = Counted(ZEP2InstallEnd::Failed);
  failed.failedAt = "statement 4 of PEOPLE.sql (modeler PEOPLE)";
  failed.message = "ORA-00904: invalid identifier\n  near \"(\"";
  EXPECT_EQ(ZEP2OutcomeHeadline(failed),
            "failed at statement 4 of PEOPLE.sql (modeler PEOPLE): ORA-00904: invalid identifier "
            "near \"(\", rolled back");
  EXPECT_EQ(ZEP2ShortOutcome(failed), "installation failed and was rolled back");
}

TEST(InstallOutcome, InterruptionReadsAsInterruptionNotAsFailure) {
  ZEP2InstallOutcome interrupted = Counted(ZEP2InstallEnd::Cancelled);
  interrupted.cancelledBy = "SIGINT";
  EXPECT_EQ(ZEP2OutcomeHeadline(interrupted),
            "interrupted by SIGINT: cancelled, everything created was removed");
  interrupted.cancelledBy = "a change of database user was refused";
  EXPECT_EQ(ZEP2OutcomeHeadline(interrupted),
            "cancelled (a change of database user was refused), everything created was removed");
  EXPECT_EQ(ZEP2OutcomeHeadline(interrupted).find("fail"), std::string::npos);
}

TEST(InstallOutcome, IncompleteRollbackListsWhatIsLeftAndNeverSaysRemoved) {
  ZEP2InstallOutcome failed = Counted(ZEP2InstallEnd::Failed);
  failed.failedAt = "a DDL statement";
  failed.message = "SQL0104N";
  failed.left = {"DROP TABLESPACE \"PDMTBS\"", "REMOVE SERVER SETTING \"TESCOMMON\""};
  EXPECT_EQ(ZEP2OutcomeLine(failed),
            "failed at a DDL statement: SQL0104N, rollback incomplete: DROP TABLESPACE \"PDMTBS\"; "
            "REMOVE SERVER SETTING \"TESCOMMON\"; 2 users, 1 tablespace, 40 objects created; 120 "
            "statements played, 41 undone, in 3 s");
  EXPECT_EQ(ZEP2ShortOutcome(failed), "installation failed; rollback incomplete");
  ZEP2InstallOutcome cancelled = failed;
  cancelled.end = ZEP2InstallEnd::Cancelled;
  cancelled.cancelledBy = "SIGTERM";
  EXPECT_EQ(ZEP2OutcomeHeadline(cancelled).rfind("interrupted by SIGTERM: cancelled, rollback "
                                                 "incomplete: DROP TABLESPACE",
                                                 0),
            0u);
  EXPECT_EQ(ZEP2ShortOutcome(cancelled), "installation cancelled; rollback incomplete");
  EXPECT_EQ(ZEP2OutcomeLine(cancelled).find("removed"), std::string::npos);
}

TEST(InstallOutcome, SingularCountsElapsedTimeAndReportBlock) {
  ZEP2InstallOutcome outcome;
  outcome.counts = {1, 0, 1, 1, 0, 0};
  EXPECT_EQ(ZEP2OutcomeCounts(outcome),
            "1 user, 0 tablespaces, 1 object created; 1 statement played, in 0 s");
  const struct {
    long seconds;
    const char* words;
  } times[] = {{-4, "0 s"},          {59, "59 s"},          {60, "1 min 00 s"},
               {605, "10 min 05 s"}, {3599, "59 min 59 s"}, {3600, "1 h 00 min"},
               {7384, "2 h 03 min"}};
  for (const auto& time : times) EXPECT_EQ(ZEP2ElapsedInWords(time.seconds), time.words);

  EXPECT_EQ(ZEP2OutcomeReport(outcome, {"/l/a.log", "/l/a.err", "/l/a.trace"}),
            "Outcome: completed\nDone: 1 user, 0 tablespaces, 1 object created; 1 statement "
            "played, in 0 s\nLog: /l/a.log\nError log: /l/a.err\nTrace: /l/a.trace");
  EXPECT_EQ(ZEP2RunFilesInWords({"A", "B", "C"}), "log A, error log B, trace C");
  EXPECT_EQ(ZEP2StepInWords("TypicalTBSCreation"), "the creation of the tablespaces");
  EXPECT_EQ(ZEP2StepInWords("Unheard"), "the step St_Unheard");
}
