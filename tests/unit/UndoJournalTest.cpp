// The undo journal file: what a run records reads back exactly, in order;
// settling keeps exactly what is left; a finished run keeps only what an
// earlier run had left; and which DBMS messages mean "nothing to undo".
#include <gtest/gtest.h>
#include <stdlib.h>
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
