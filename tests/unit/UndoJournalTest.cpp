// The undo journal file: what a run records reads back exactly, in order;
// settling keeps exactly what is left; a finished run keeps only what an
// earlier run had left; a line cut short is never a statement; and which
// DBMS messages mean "nothing to undo".
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TempDirectory.h"
#include "engine/ZEP2UndoJournal.h"
#include "platform/db/QelDb.h"

namespace {

class UndoJournalTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("QelUserSettingPath", directory_.Path().c_str(), 1); }
  void TearDown() override { unsetenv("QelUserSettingPath"); }

  static std::vector<std::string> Read(int dbms, const std::string& database) {
    ZEP2UndoJournal journal(dbms, database);
    std::string error;
    std::vector<std::string> read;
    if (!journal.Load(error)) return {"<" + error + ">"};
    while (!journal.Empty()) read.insert(read.begin(), journal.TakeLast());
    return read;
  }

  static std::string Content(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  }

  TempDirectory directory_;
};

TEST_F(UndoJournalTest, RecordedStatementsReadBackInOrderFromAPrivateFile) {
  ZEP2UndoJournal journal(QelDbOracle, "PDM/ORA x");
  EXPECT_EQ(directory_.Path() + "/TESSARUndo.ORACLE.PDM_ORA_x.journal", journal.Path());
  EXPECT_FALSE(journal.FileExists());
  std::string error;
  const std::vector<std::string> undos = {"DROP TABLESPACE \"PDMTBS\" INCLUDING CONTENTS",
                                          "DROP USER PDMDICO CASCADE",
                                          "COMMENT ON X IS 'two\nlines \\ and a backslash'",
                                          "\\\r\nbreaks\r\n\\\\ together, at both ends\n\\"};
  for (const std::string& undo : undos) ASSERT_EQ(0, journal.Record(undo, error)) << error;
  EXPECT_TRUE(journal.FileExists());
  struct stat info {};
  ASSERT_EQ(0, stat(journal.Path().c_str(), &info));
  EXPECT_EQ(0600u, info.st_mode & 07777);
  EXPECT_EQ(undos, Read(QelDbOracle, "PDM/ORA x"));
  // Each DBMS and database has its own journal.
  EXPECT_FALSE(ZEP2UndoJournal(QelDbDB2, "PDM/ORA x").FileExists());
  // The rollback takes them newest first.
  EXPECT_EQ(undos.back(), journal.TakeLast());
  // A creation that failed is forgotten; what comes after it reads whole.
  ASSERT_EQ(0, journal.Record("DROP INDEX FAILED_ONE", error)) << error;
  journal.ForgetLast();
  ASSERT_EQ(0, journal.Record("DROP VIEW V", error)) << error;
  EXPECT_EQ("DROP VIEW V", journal.TakeLast());
  EXPECT_EQ(undos[2], journal.TakeLast());
  EXPECT_EQ(undos[1], journal.TakeLast());
  EXPECT_EQ(undos[0], journal.TakeLast());
  EXPECT_TRUE(journal.Empty());
}

TEST_F(UndoJournalTest, SettlingKeepsExactlyWhatIsLeftOrRemovesTheFile) {
  ZEP2UndoJournal journal(QelDbDB2, "PDMDB");
  std::string error;
  for (const char* undo : {"DROP TABLE A.T1", "DROP TABLE A.T2", "DROP TABLE A.T3"}) {
    ASSERT_EQ(0, journal.Record(undo, error)) << error;
  }
  ASSERT_EQ(0, journal.Settle({"DROP TABLE A.T2"}, error)) << error;
  EXPECT_EQ(std::vector<std::string>{"DROP TABLE A.T2"}, Read(QelDbDB2, "PDMDB"));
  ASSERT_EQ(0, journal.Settle({}, error)) << error;
  EXPECT_FALSE(journal.FileExists());
}

TEST_F(UndoJournalTest, RecordsAfterSettlingOrSettingAsideGoToTheNewFile) {
  ZEP2UndoJournal journal(QelDbDB2, "PDMDB");
  std::string error, keptAs;
  for (const char* undo : {"DROP TABLE A.T1", "DROP TABLE A.T2"}) {
    ASSERT_EQ(0, journal.Record(undo, error)) << error;
  }
  ASSERT_EQ(0, journal.Settle({"DROP TABLE A.T1"}, error)) << error;
  ASSERT_EQ(0, journal.Record("DROP TABLE A.T3", error)) << error;
  EXPECT_EQ((std::vector<std::string>{"DROP TABLE A.T1", "DROP TABLE A.T3"}),
            Read(QelDbDB2, "PDMDB"));

  ASSERT_EQ(0, journal.SetAside(keptAs, error)) << error;
  ASSERT_EQ(0, journal.Record("DROP TABLE A.T4", error)) << error;
  EXPECT_EQ(std::vector<std::string>{"DROP TABLE A.T4"}, Read(QelDbDB2, "PDMDB"));
  std::ifstream kept(keptAs);
  const std::string keptText((std::istreambuf_iterator<char>(kept)),
                             std::istreambuf_iterator<char>());
  EXPECT_EQ(std::string::npos, keptText.find("A.T4")) << keptText;
}

TEST_F(UndoJournalTest, AFinishedRunKeepsOnlyWhatAnEarlierRunLeft) {
  std::string error;
  {
    ZEP2UndoJournal earlier(QelDbDB2, "PDMDB");
    ASSERT_EQ(0, earlier.Record("DROP TABLE OLD.LEFT", error)) << error;
  }
  ZEP2UndoJournal journal(QelDbDB2, "PDMDB");
  ASSERT_TRUE(journal.Load(error)) << error;
  ASSERT_EQ(0, journal.Record("DROP TABLE NEW.T1", error)) << error;
  EXPECT_EQ(2u, journal.Size());
  ASSERT_EQ(0, journal.KeepOnlyEarlierRuns(error)) << error;
  EXPECT_EQ(std::vector<std::string>{"DROP TABLE OLD.LEFT"}, Read(QelDbDB2, "PDMDB"));

  ZEP2UndoJournal alone(QelDbDB2, "PDMTEST");
  ASSERT_EQ(0, alone.Record("DROP TABLE NEW.T1", error)) << error;
  ASSERT_EQ(0, alone.KeepOnlyEarlierRuns(error)) << error;
  EXPECT_FALSE(alone.FileExists());
}

TEST_F(UndoJournalTest, SetAsideMovesTheFileOutOfTheWay) {
  ZEP2UndoJournal journal(QelDbOracle, "PDMORA");
  std::string error, keptAs;
  ASSERT_EQ(0, journal.Record("DROP USER X CASCADE", error)) << error;
  ASSERT_EQ(0, journal.SetAside(keptAs, error)) << error;
  EXPECT_FALSE(journal.FileExists());
  EXPECT_EQ(0u, keptAs.rfind(journal.Path() + ".kept-", 0)) << keptAs;
  EXPECT_TRUE(std::ifstream(keptAs).good());
}

TEST_F(UndoJournalTest, ALastLineWithoutItsEndIsIgnoredReportedAndCutOffBeforeTheNextRecord) {
  std::string error;
  const std::string path = ZEP2UndoJournal::PathFor(QelDbDB2, "PDMDB");
  {
    ZEP2UndoJournal killed(QelDbDB2, "PDMDB");
    ASSERT_EQ(0, killed.Record("DROP TABLE A.T1", error)) << error;
    ASSERT_EQ(0, killed.Record("DROP TABLE A.T2", error)) << error;
  }
  // What a process killed in the middle of its write leaves: a record
  // whose end never reached the file. Played back, this one would drop a
  // table the run never created.
  std::ofstream(path, std::ios::app) << "undo=DROP TABLE A.T";

  ZEP2UndoJournal journal(QelDbDB2, "PDMDB");
  ASSERT_TRUE(journal.Load(error)) << error;
  EXPECT_EQ(2u, journal.Size());
  EXPECT_EQ("line 7 (19 bytes) was cut short while it was written", journal.TornLastLine());
  EXPECT_EQ((std::vector<std::string>{"DROP TABLE A.T1", "DROP TABLE A.T2"}),
            Read(QelDbDB2, "PDMDB"));

  // The next record starts a line of its own instead of completing the cut one.
  ASSERT_EQ(0, journal.Record("DROP VIEW A.V", error)) << error;
  EXPECT_EQ(std::string::npos, Content(path).find("A.Tundo=")) << Content(path);
  ZEP2UndoJournal again(QelDbDB2, "PDMDB");
  ASSERT_TRUE(again.Load(error)) << error;
  EXPECT_EQ("", again.TornLastLine());
  EXPECT_EQ((std::vector<std::string>{"DROP TABLE A.T1", "DROP TABLE A.T2", "DROP VIEW A.V"}),
            Read(QelDbDB2, "PDMDB"));

  // A journal cut short in its header holds nothing to play back.
  const std::string header = Content(path).substr(0, Content(path).find("\ndbms=") + 4);
  std::ofstream(path, std::ios::trunc) << header;
  ZEP2UndoJournal headerOnly(QelDbDB2, "PDMDB");
  ASSERT_TRUE(headerOnly.Load(error)) << error;
  EXPECT_TRUE(headerOnly.Empty());
  EXPECT_EQ("line 2 (3 bytes) was cut short while it was written", headerOnly.TornLastLine());
}

TEST_F(UndoJournalTest, ARecordAFullDiskCutShortFailsAndLeavesNoPartOfItsLine) {
  std::string error;
  ZEP2UndoJournal journal(QelDbOracle, "PDMORA");
  ASSERT_EQ(0, journal.Record("DROP USER PDMDICO CASCADE", error)) << error;
  const std::string whole = Content(journal.Path());
  // The file may grow by a few bytes only: the kernel takes part of the
  // next write, as a disk that fills up in the middle of it would.
  rlimit before{};
  ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &before));
  const auto previousSignal = signal(SIGXFSZ, SIG_IGN);
  rlimit small = before;
  small.rlim_cur = whole.size() + 10;
  ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
  const int recorded = journal.Record("DROP TABLESPACE PDMTBS INCLUDING CONTENTS", error);
  setrlimit(RLIMIT_FSIZE, &before);
  signal(SIGXFSZ, previousSignal);
  EXPECT_EQ(-1, recorded);
  EXPECT_NE(std::string::npos, error.find("File too large")) << error;
  EXPECT_EQ(whole, Content(journal.Path()));

  ASSERT_EQ(0, journal.Record("DROP ROLE PDMROLE", error)) << error;
  ZEP2UndoJournal again(QelDbOracle, "PDMORA");
  ASSERT_TRUE(again.Load(error)) << error;
  EXPECT_EQ("", again.TornLastLine());
  EXPECT_EQ((std::vector<std::string>{"DROP USER PDMDICO CASCADE", "DROP ROLE PDMROLE"}),
            Read(QelDbOracle, "PDMORA"));
}

TEST(UndoFoundNothing, OnlyMessagesThatSayTheThingIsNotThere) {
  const std::pair<const char*, bool> cases[] = {
      {"SQL0204N  \"PDMDICO.T\" is an undefined name.  SQLSTATE=42704", true},
      {"SQL0556N  An attempt to revoke a privilege ... does not hold this privilege.", true},
      {"ORA-00942: table or view does not exist", true},
      {"ORA-01918: user 'PDMDICO' does not exist", true},
      {"ORA-00959: tablespace 'PDMTBS' does not exist", true},
      {"ORA-02289: sequence does not exist", true},
      {"ORA-01952: system privileges not granted to 'PDMADM'", true},
      {"ORA-01951: ROLE 'CONNECT' not granted to 'PDMADM'", true},
      {"ORA-01940: cannot drop a user that is currently connected", false},
      {"ORA-00600: internal error code, arguments: [injected fault: database call 7]", false},
      {"SQL0901N  The SQL statement or command failed because of a database system error.", false},
      {"SQL1024N  A database connection does not exist.  SQLSTATE=08003", false},
      {"the message ORA-00942 quoted later", false},
      {"", false}};
  for (const auto& [message, nothing] : cases) {
    EXPECT_EQ(nothing, ZEP2UndoFoundNothing(message)) << message;
  }
}

}  // namespace
