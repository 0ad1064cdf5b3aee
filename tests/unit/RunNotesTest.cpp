// The notes of a run: each said once, shared by the run's two processes
// through their file, and put into the outcome the end of the run reports.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "TempDirectory.h"
#include "platform/QelRunNotes.h"

namespace {

class RunNotes : public testing::Test {
 protected:
  void SetUp() override {
    unsetenv("FATHERPID");
    unsetenv("TESSARDBSETUP_RUN_NOTES");
    QelStartRunNotes(directory.Path());
  }
  void TearDown() override {
    QelEndRunNotes();
    unsetenv("FATHERPID");
    unsetenv("TESSARDBSETUP_RUN_NOTES");
  }
  // The shared file, as the first process handed it to its son.
  std::string Shared() const { return std::getenv("TESSARDBSETUP_RUN_NOTES"); }

  TempDirectory directory;
};

TEST_F(RunNotes, ACleanRunKeepsItsOutcomeAndLeavesNoFile) {
  EXPECT_EQ(QelOutcomeWithNotes(0, "installation finished"), "installation finished");
  EXPECT_EQ(Shared(), directory.File("TESSARRun." + std::to_string(getpid()) + ".notes"));
  QelEndRunNotes();
  EXPECT_NE(access(Shared().c_str(), F_OK), 0);
}

TEST_F(RunNotes, EachWarningIsSaidOnceAndTheOutcomeListsThemByStatus) {
  QelWarn("the environment script was not run");
  QelWarn("the environment script was not run");
  QelWarn("a catalogue\nholds no text");
  EXPECT_EQ(QelWarnCalls(), 3) << "a repeated warning still counts as said";
  EXPECT_EQ(QelRunNotes(QelRunNoteKind::Warning),
            (std::vector<std::string>{"the environment script was not run",
                                      "a catalogue holds no text"}));
  EXPECT_EQ(QelOutcomeWithNotes(0, "installation finished"),
            "installation finished, completed with warnings: the environment script was not "
            "run; a catalogue holds no text");
  EXPECT_EQ(QelOutcomeWithNotes(2, "cancelled or closed"),
            "cancelled or closed; warnings: the environment script was not run; a catalogue "
            "holds no text");

  QelNoteTestFault("database call 5 fails on purpose");
  EXPECT_EQ(QelOutcomeWithNotes(3, "installation failed and was rolled back"),
            "installation failed and was rolled back; warnings: the environment script was not "
            "run; a catalogue holds no text; test fault injected: database call 5 fails on "
            "purpose");
}

TEST_F(RunNotes, TheSonAddsToItsFathersFileAndTheFatherTakesItsNotesAtTheEnd) {
  QelWarn("father's warning");
  const std::string shared = Shared();
  struct stat info {};
  ASSERT_EQ(stat(shared.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);

  // What a son appends, and a line of no kind, which is ignored.
  std::ofstream(shared, std::ios::app) << "warning son's warning\nwarning father's warning\n"
                                       << "test-fault stopped itself (process 7)\nnonsense\n";
  EXPECT_EQ(QelRunNotes(QelRunNoteKind::Warning),
            (std::vector<std::string>{"father's warning", "son's warning"}));
  EXPECT_EQ(QelRunNotes(QelRunNoteKind::TestFault),
            (std::vector<std::string>{"stopped itself (process 7)"}));

  QelEndRunNotes();
  EXPECT_NE(access(shared.c_str(), F_OK), 0) << "the father removes the file";
  EXPECT_EQ(QelOutcomeWithNotes(0, "installation finished"),
            "installation finished, completed with warnings: father's warning; son's warning; "
            "test fault injected: stopped itself (process 7)");
}

TEST_F(RunNotes, ASonWritesIntoTheFileItInheritedAndLeavesIt) {
  const std::string shared = Shared();
  setenv("FATHERPID", "1", 1);
  QelStartRunNotes(directory.File("elsewhere"));
  QelWarn("son's warning");
  QelEndRunNotes();
  EXPECT_EQ(ReadWholeFile(shared), "warning son's warning\n");
}

TEST_F(RunNotes, TheSonsInstallationOutcomeReachesItsFatherAfterTheFileIsGone) {
  const std::string shared = Shared();
  std::string outcome;
  std::string line;
  EXPECT_FALSE(QelInstallOutcome(outcome, line)) << "no installation ran yet";
  // What a son shares: an earlier outcome, then the one that stands.
  std::ofstream(shared, std::ios::app)
      << "outcome installation failed and was rolled back\noutcome-line failed at X\n"
      << "outcome installation cancelled and rolled back\noutcome-line cancelled; 3 played\n";
  ASSERT_TRUE(QelInstallOutcome(outcome, line));
  EXPECT_EQ(outcome, "installation cancelled and rolled back");
  EXPECT_EQ(line, "cancelled; 3 played");
  QelEndRunNotes();
  ASSERT_TRUE(QelInstallOutcome(outcome, line)) << "the father keeps it once the file is gone";
  EXPECT_EQ(line, "cancelled; 3 played");
  EXPECT_TRUE(QelRunNotes(QelRunNoteKind::Warning).empty()) << "an outcome is no warning";
}

TEST_F(RunNotes, ASonSharesItsInstallationOutcomeOnOneLineEach) {
  const std::string shared = Shared();
  setenv("FATHERPID", "1", 1);
  QelStartRunNotes(directory.File("elsewhere"));
  QelShareInstallOutcome("installation finished", "completed;\n2 users");
  EXPECT_EQ(ReadWholeFile(shared),
            "outcome installation finished\noutcome-line completed; 2 users\n");
}

TEST_F(RunNotes, AFileThatIsNoPlainFileOfOursIsNeitherReadNorWritten) {
  const std::string shared = Shared();
  const std::string planted = directory.File("planted");
  std::ofstream(planted) << "warning planted\n";
  ASSERT_EQ(symlink(planted.c_str(), shared.c_str()), 0);
  QelWarn("own warning");
  EXPECT_EQ(QelRunNotes(QelRunNoteKind::Warning), (std::vector<std::string>{"own warning"}));
  EXPECT_EQ(ReadWholeFile(planted), "warning planted\n");
}

}  // namespace
