// Each step's failure branch on a sandbox database: the run stops where the
// database refuses, the rollback undoes what the run created newest first,
// the database ends as it was, and an undo that keeps failing is reported
// as an incomplete rollback with what is left kept in the journal.
#include <algorithm>
#include <string>
#include <vector>

#include "EngineTestSite.h"

namespace {

using Texts = std::vector<std::string>;

// The chain of a DB2 installation up to the administrator's connection.
Texts Db2ChainToConnection() {
  return {"GenEnvFiles",           "ChkDBAlreadyInstall*21",
          "ChkCreateUser*3",       "ChkAlterUserTmpSysSrvSys",
          "ChkAlterUserDefSysSrv", "ChkAlterUserDefSrvSys",
          "TypicalTBSCreation",    "TypicalUSERCreation",
          "AlterUserDefSysSrv",    "AlterUserTmpSysSrv",
          "TypicalALTERUser",      "GRANTUserTESADM",
          "TypicalUSERGrant*21",   "GetTESADMConnexion"};
}

Texts Concat(Texts first, const Texts& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

// The last COUNT of TEXTS, or all of them when there are fewer.
Texts Tail(const Texts& texts, std::size_t count) {
  return Texts(texts.end() - static_cast<std::ptrdiff_t>(std::min(count, texts.size())),
               texts.end());
}

// The server settings the first step wrote, put back last: none of the
// names had a setting before the run.
Texts SettingsUndone(const std::string& database, int vendor) {
  Texts undone;
  for (const char* name : {"ZEPPUBSUB", "ZEPPEOPLE", "ZEPADMIN", "TESCOMMON"}) {
    undone.push_back("REMOVE SERVER SETTING \"" + std::string(name) + "\" OF \"" + database +
                     "\" VENDOR " + std::to_string(vendor));
  }
  return undone;
}

TEST_F(EngineTest, AnInstalledModelerStopsTheRunBeforeAnyChange) {
  Build();
  AnswerDb2();
  {
    Connection dba = Db2();
    ASSERT_EQ(Run(dba, "CREATE TABLE ZEPDICO.CDM_PART (ID INTEGER NOT NULL)"), "");
    Commit(dba);
  }
  const Texts before = Db2Catalogue();
  Prepare();
  RunChain();
  EXPECT_EQ(Steps(), (Texts{"GenEnvFiles", "ChkDBAlreadyInstall", "AbortInst", "PlayDROPDDL*4",
                            "AbortInst"}));
  ASSERT_NE(controller_->_ErrInSubsIdle, nullptr) << "the error box is shown";
  EXPECT_NE(controller_->_ErrInSubsIdle->GetNotify()->GetText().str().find("ZEPDICO"),
            std::string::npos);
  EXPECT_EQ(Db2Catalogue(), before);
  EXPECT_TRUE(controller_->_DlgREPORT->IsVisible());
  EXPECT_TRUE(controller_->_InstallationFailed);
  EXPECT_FALSE(controller_->_InstallationSucceeded);
}

TEST_F(EngineTest, ARefusedUserCreationEndsTheRunWithNothingCreated) {
  Build("[ZEP2YesNoInCallBack]\nanswers = No\n");
  AnswerOracle();
  const Texts before = OracleCatalogue();
  Prepare();
  RunChain();
  EXPECT_EQ(Steps(), (Texts{"GenEnvFiles", "ChkDBAlreadyInstall*21", "ChkCreateUser", "AbortInst",
                            "PlayDROPDDL*4", "AbortInst"}));
  EXPECT_NE(Trace().find("\nProposition create user <PDMADM> refusee"), std::string::npos);
  EXPECT_EQ(OracleCatalogue(), before);
  EXPECT_EQ(Undone(), SettingsUndone("ORCL", 2));
}

TEST_F(EngineTest, ATablespaceTheDatabaseRefusesEndsTheRunWithNothingToUndo) {
  Build();
  AnswerDb2();
  {
    Connection dba = Db2();
    ASSERT_EQ(Run(dba, "CREATE REGULAR TABLESPACE \"PDMTBS\" MANAGED BY SYSTEM USING ('" + Site() +
                           "/tablespaces/theirs')"),
              "");
    Commit(dba);
  }
  const Texts before = Db2Catalogue();
  Prepare();
  RunChain();
  EXPECT_EQ(Steps(),
            (Texts{"GenEnvFiles", "ChkDBAlreadyInstall*21", "ChkCreateUser*3",
                   "ChkAlterUserTmpSysSrvSys", "ChkAlterUserDefSysSrv", "ChkAlterUserDefSrvSys",
                   "TypicalTBSCreation", "AbortInst", "PlayDROPDDL*4", "AbortInst"}));
  EXPECT_EQ(Undone(), SettingsUndone("SAMPLE", 1))
      << "the tablespace that was there is not this run's";
  EXPECT_EQ(Db2Catalogue(), before);
  EXPECT_TRUE(std::filesystem::is_directory(Site() + "/tablespaces/theirs"));
  EXPECT_NE(Log().find("\nROLLBACK COMPLETE\n"), std::string::npos);
}

TEST_F(EngineTest, AUserTheDatabaseRefusesUndoesTheUsersAndTablespaceBeforeIt) {
  Build("[ZEP2YesNoInCallBack]\nanswers = Yes\n");
  AnswerOracle();
  const Texts before = OracleCatalogue();
  Prepare();
  // Another session creates the owner after the run decided to create it.
  {
    Connection dba = Oracle();
    ASSERT_EQ(Run(dba, "CREATE USER ZEPDICO IDENTIFIED BY \"theirs\""), "");
  }
  const Texts withOwner = OracleCatalogue();
  RunChain();
  EXPECT_EQ(Steps(), (Texts{"GenEnvFiles", "ChkDBAlreadyInstall*21", "ChkCreateUser*3",
                            "ChkAlterUserTmpSysSrvSys", "ChkAlterUserDefSysSrv",
                            "ChkAlterUserDefSrvSys", "TypicalTBSCreation", "TypicalUSERCreation*2",
                            "AbortInst", "PlayDROPDDL*6", "AbortInst"}));
  EXPECT_EQ(Undone(),
            Concat({"DROP USER PDMADM CASCADE", "DROP TABLESPACE \"PDMTBS\" INCLUDING CONTENTS"},
                   SettingsUndone("ORCL", 2)));
  EXPECT_EQ(OracleCatalogue(), withOwner) << "the owner the run did not create stays";
  EXPECT_NE(OracleCatalogue(), before);
  EXPECT_TRUE(Journal().empty());
}

TEST_F(EngineTest, AnAdministratorWhoCannotConnectUndoesTheGrantThenTheTablespace) {
  Build();
  AnswerDb2();
  const Texts before = Db2Catalogue();
  Prepare();
  H::_svTESADMP = "wrongpass";
  RunChain();
  EXPECT_EQ(Steps(), Concat(Db2ChainToConnection(), {"AbortInst", "PlayDROPDDL*6", "AbortInst"}));
  EXPECT_EQ(Undone(), Concat({"REVOKE DBADM, CONNECT, CREATETAB ON DATABASE FROM USER PDMADM",
                              "DROP TABLESPACE \"PDMTBS\""},
                             SettingsUndone("SAMPLE", 1)));
  EXPECT_NE(Trace().find("\nTESADM Connection KO"), std::string::npos);
  EXPECT_EQ(Db2Catalogue(), before);
  EXPECT_FALSE(std::filesystem::exists(Site() + "/tablespaces/PDMTBS.dbf"));
}

TEST_F(EngineTest, AnOwnerWhoCannotConnectGetsItsRightsAndSettingsBackNewestFirst) {
  Build("[ZEP2YesNoInCallBack]\nanswers = Yes\n");
  AnswerOracle();
  {
    Connection dba = Oracle();
    ASSERT_EQ(Run(dba, "CREATE USER ZEPDICO IDENTIFIED BY \"theirs\""), "");
  }
  const Texts before = OracleCatalogue();
  Prepare();
  RunChain();
  EXPECT_EQ(Tail(Steps(), 4),
            (Texts{"GetSchemaOwnerCnx*2", "AbortInst", "PlayDROPDDL*27", "AbortInst"}));
  // Made last, undone first: the owner's rights, then its default
  // tablespace and quotas once per modeler, back to what it had, then the
  // administrator and the tablespace the run created.
  const Texts undone = Undone();
  ASSERT_EQ(undone.size(), 27u);
  EXPECT_EQ(
      undone.front(),
      "REVOKE CONNECT, RESOURCE, SELECT ANY TABLE, CREATE ANY VIEW, DROP ANY VIEW FROM ZEPDICO");
  for (std::size_t i = 1; i <= 20; ++i) {
    EXPECT_EQ(undone[i].rfind("ALTER USER ZEPDICO DEFAULT TABLESPACE ", 0), 0u) << undone[i];
  }
  EXPECT_NE(undone[1].find("\"PDMTBS\""), std::string::npos) << undone[1];
  EXPECT_EQ(undone[20].find("DEFAULT TABLESPACE \"PDMTBS\""), std::string::npos) << undone[20];
  EXPECT_EQ(undone[21], "DROP USER PDMADM CASCADE");
  EXPECT_EQ(undone[22], "DROP TABLESPACE \"PDMTBS\" INCLUDING CONTENTS");
  EXPECT_EQ(Texts(undone.begin() + 23, undone.end()), SettingsUndone("ORCL", 2));
  EXPECT_EQ(OracleCatalogue(), before);
}

TEST_F(EngineTest, AFailedStatementUndoesTheStatementsBeforeItNewestFirst) {
  Build();
  AnswerDb2();
  {
    Connection dba = Db2();
    ASSERT_EQ(Run(dba, "CREATE TABLE ZEPDICO.CDM_SITE (ID INTEGER NOT NULL)"), "");
    Commit(dba);
  }
  const Texts before = Db2Catalogue();
  Prepare();
  RunChain();
  EXPECT_EQ(Steps(), Concat(Db2ChainToConnection(), {"GetSchemaOwnerCnx*3", "PlayDDL*5",
                                                     "AbortInst", "PlayDROPDDL*9", "AbortInst"}));
  // The custo_ file's table exists already: its creation fails and is not
  // undone; the base file's objects go from the last to the first.
  EXPECT_EQ(Undone(), Concat({"DROP VIEW ZEPDICO.CDM_PARTS", "DROP TABLE ZEPDICO.CDM_LINK",
                              "DROP TABLE ZEPDICO.CDM_PART",
                              "REVOKE DBADM, CONNECT, CREATETAB ON DATABASE FROM USER PDMADM",
                              "DROP TABLESPACE \"PDMTBS\""},
                             SettingsUndone("SAMPLE", 1)));
  ASSERT_NE(controller_->_ErrInSubsIdle, nullptr);
  EXPECT_NE(controller_->_ErrInSubsIdle->GetNotify()->GetText().str().find("SQL0601N"),
            std::string::npos);
  EXPECT_EQ(Db2Catalogue(), before);
  EXPECT_TRUE(Journal().empty());
  EXPECT_FALSE(controller_->_RollbackIncomplete);
}

TEST_F(EngineTest, OracleUndoesTheOwnersStatementsBeforeItsSettingsAndTheRunsUsers) {
  Build("[ZEP2YesNoInCallBack]\nanswers = Yes\n");
  AnswerOracle();
  {
    Connection dba = Oracle();
    ASSERT_EQ(Run(dba, "CREATE USER ZEPDICO IDENTIFIED BY \"dicopass\""), "");
    ASSERT_EQ(Run(dba, "GRANT CONNECT, RESOURCE TO ZEPDICO"), "");
    Connection owner = Oracle("ZEPDICO", "dicopass");
    ASSERT_EQ(Run(owner, "CREATE TABLE ZEPDICO.CDM_SITE (ID INTEGER NOT NULL)"), "");
  }
  const Texts before = OracleCatalogue();
  Prepare();
  RunChain();
  EXPECT_EQ(Tail(Steps(), 4), (Texts{"PlayDDL*5", "AbortInst", "PlayDROPDDL*30", "AbortInst"}));
  const Texts undone = Undone();
  ASSERT_EQ(undone.size(), 30u);
  EXPECT_EQ(Texts(undone.begin(), undone.begin() + 4),
            (Texts{"DROP VIEW ZEPDICO.CDM_PARTS", "DROP TABLE ZEPDICO.CDM_LINK CASCADE CONSTRAINTS",
                   "DROP TABLE ZEPDICO.CDM_PART CASCADE CONSTRAINTS",
                   "REVOKE SELECT ANY TABLE, CREATE ANY VIEW, DROP ANY VIEW FROM ZEPDICO"}));
  EXPECT_EQ(Texts(undone.end() - 6, undone.end()),
            Concat({"DROP USER PDMADM CASCADE", "DROP TABLESPACE \"PDMTBS\" INCLUDING CONTENTS"},
                   SettingsUndone("ORCL", 2)));
  EXPECT_EQ(OracleCatalogue(), before);
}

TEST_F(EngineTest, AnUndoThatKeepsFailingLeavesTheRollbackIncomplete) {
  Build();
  AnswerDb2();
  {
    Connection dba = Db2();
    ASSERT_EQ(Run(dba, "CREATE TABLE ZEPDICO.CDM_SITE (ID INTEGER NOT NULL)"), "");
    Commit(dba);
  }
  Prepare();
  // The database is lost for good just before the tablespace's undo: it and
  // the four server settings written before it stay.
  const Texts left = Concat({"DROP TABLESPACE \"PDMTBS\""}, SettingsUndone("SAMPLE", 1));
  RunChain([&](int) {
    const ZEP2UndoJournal* journal = controller_->_UndoJournal.get();
    if (controller_->_RollbackStarted && journal && journal->Size() == left.size()) {
      environment_.Set("TESSARDBSETUP_FAULT_DB_CALL", "1+");
    }
  });
  environment_.Set("TESSARDBSETUP_FAULT_DB_CALL", std::nullopt);
  EXPECT_TRUE(controller_->_RollbackIncomplete);
  EXPECT_EQ(Journal(), Texts(left.rbegin(), left.rend())) << "kept for the next run, oldest first";
  EXPECT_NE(Report().find("rollback is incomplete"), std::string::npos) << Report();
  EXPECT_NE(Report().find("\nDROP TABLESPACE \"PDMTBS\""), std::string::npos) << Report();
  EXPECT_NE(Log().find("\nROLLBACK INCOMPLETE: "), std::string::npos);
  EXPECT_EQ(Log().find("\nROLLBACK COMPLETE\n"), std::string::npos);
  EXPECT_NE(Trace().find("\nSt_AbortInst undo again : <DROP TABLESPACE \"PDMTBS\">"),
            std::string::npos)
      << "tried once more after the others";
  Connection dba = Db2();
  EXPECT_FALSE(TableExists(dba, "ZEPDICO", "CDM_PART"));
  EXPECT_EQ(Rows(dba, "SELECT TBSPACE FROM SYSCAT.TABLESPACES WHERE TBSPACE = 'PDMTBS'"),
            Texts{"PDMTBS"});
}

TEST_F(EngineTest, AnAdministratorDroppedMeanwhileFailsItsGrantAndTheRunIsUndone) {
  Build("[ZEP2YesNoInCallBack]\nanswers = Yes\n");
  AnswerOracle();
  const Texts before = OracleCatalogue();
  Prepare();
  RunChain([&](int) {
    if (NextStep() != "St_GRANTUserTESADM") return;
    Connection dba = Oracle();
    if (Rows(dba, "SELECT USERNAME FROM DBA_USERS WHERE USERNAME = 'PDMADM'").empty()) return;
    ASSERT_EQ(Run(dba, "DROP USER PDMADM CASCADE"), "");
  });
  EXPECT_EQ(Tail(Steps(), 4),
            (Texts{"GRANTUserTESADM", "AbortInst", "PlayDROPDDL*7", "AbortInst"}));
  // Users the run created carry no undo of their alterations: their drop
  // takes everything. The administrator's drop finds it gone already.
  EXPECT_EQ(Undone(), Concat({"DROP USER ZEPDICO CASCADE", "DROP USER PDMADM CASCADE",
                              "DROP TABLESPACE \"PDMTBS\" INCLUDING CONTENTS"},
                             SettingsUndone("ORCL", 2)));
  EXPECT_NE(Trace().find("\nSt_PlayDROPDDL nothing left to undo: ORA-01918"), std::string::npos);
  EXPECT_EQ(OracleCatalogue(), before);
  EXPECT_FALSE(controller_->_RollbackIncomplete);
}

TEST_F(EngineTest, ADataManagerThatFailsUndoesEveryModelerItFollows) {
  Build();
  AnswerDb2();
  H::_nvEXEStartupData = 1;
  environment_.Set("TESSARDBSETUP_NO_ZEPPROJECT", "");
  const Texts before = Db2Catalogue();
  Prepare();
  RunChain();
  // The small repository has no PEOPLE tables for the data manager.
  EXPECT_EQ(Tail(Steps(), 6), (Texts{"PlayDDL*27", "ZEPProject", "ZEPDataManager", "AbortInst",
                                     "PlayDROPDDL*12", "AbortInst"}));
  EXPECT_EQ(Undone(), Concat({"DROP INDEX ZEPDICO.ZEP_ADMIN_IX", "DROP TABLE ZEPDICO.ZEP_ADMIN",
                              "DROP TABLE ZEPDICO.CDM_SITE", "DROP VIEW ZEPDICO.CDM_PARTS",
                              "DROP TABLE ZEPDICO.CDM_LINK", "DROP TABLE ZEPDICO.CDM_PART",
                              "REVOKE DBADM, CONNECT, CREATETAB ON DATABASE FROM USER PDMADM",
                              "DROP TABLESPACE \"PDMTBS\""},
                             SettingsUndone("SAMPLE", 1)));
  EXPECT_EQ(Db2Catalogue(), before);
}

TEST_F(EngineTest, CancelOnTheStatusPageRollsBackWhatWasPlayed) {
  Build("[ZEP2CancelInCallBack]\nanswers = Yes\n");
  AnswerDb2();
  const Texts before = Db2Catalogue();
  Prepare();
  bool cancelled = false;
  RunChain([&](int) {
    // A person presses Cancel once the base file's two tables exist.
    if (!cancelled && H::_nvPosInModelerPersColl == 1 && H::_nvPosInCurrentDDL == 4) {
      cancelled = true;
      controller_->_DlgSTATUS->PressButton(QelDlgDialog::APPLY);
    }
  });
  ASSERT_TRUE(cancelled);
  EXPECT_EQ(Tail(Steps(), 4), (Texts{"PlayDDL*3", "AbortInst", "PlayDROPDDL*8", "AbortInst"}));
  EXPECT_EQ(Undone(), Concat({"DROP TABLE ZEPDICO.CDM_LINK", "DROP TABLE ZEPDICO.CDM_PART",
                              "REVOKE DBADM, CONNECT, CREATETAB ON DATABASE FROM USER PDMADM",
                              "DROP TABLESPACE \"PDMTBS\""},
                             SettingsUndone("SAMPLE", 1)));
  EXPECT_EQ(Db2Catalogue(), before);
}

}  // namespace
