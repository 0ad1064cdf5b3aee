// The installation chain run to its end on a sandbox database: which steps
// run in which order for DB2, Oracle and the DDL file, which modelers and
// files are played in which order, and what the database holds afterwards.
#include <string>
#include <vector>

#include "EngineTestSite.h"
#include "sandbox/tool/ddl/DdlRepository.h"

namespace {

using StepList = std::vector<std::string>;

// The chain from the first St_GenEnvFiles to the second, which ends the
// installation. 20 modelers: CDMSTEP plays 7 statements (4 files), ZEPADMIN
// 2, and each of the 18 modelers without a file takes one call.
StepList InstalledChain(bool oracle) {
  return {"GenEnvFiles",
          "ChkDBAlreadyInstall*21",
          "ChkCreateUser*3",
          "ChkAlterUserTmpSysSrvSys",
          "ChkAlterUserDefSysSrv",
          "ChkAlterUserDefSrvSys",
          "TypicalTBSCreation",
          oracle ? "TypicalUSERCreation*3" : "TypicalUSERCreation",
          "AlterUserDefSysSrv",
          "AlterUserTmpSysSrv",
          oracle ? "TypicalALTERUser*21" : "TypicalALTERUser",
          "GRANTUserTESADM",
          "TypicalUSERGrant*21",
          "GetTESADMConnexion",
          "GetSchemaOwnerCnx*3",
          "PlayDDL*27",
          "AlterUserTmpSrvSys",
          "AlterUserDefSrvSys",
          "GenEnvFiles"};
}

TEST_F(EngineTest, Db2RunsTheChainInOrderAndPlaysEveryModelerFileByFile) {
  Build();
  AnswerDb2();
  Prepare();
  RunChain();
  EXPECT_EQ(Steps(), InstalledChain(false));
  // Modeler order, then base, custo_, insert_ and grant_ files, each in its
  // statement order; the client-only CONNECT is not played.
  EXPECT_EQ(Played(), (std::vector<std::string>{
                          "CREATE TABLE ZEPDICO.CDM_PART (ID INTEGER NOT NULL)",
                          "CREATE TABLE ZEPDICO.CDM_LINK (ID INTEGER NOT NULL)",
                          "CREATE VIEW ZEPDICO.CDM_PARTS AS SELECT ID FROM ZEPDICO.CDM_PART",
                          "CREATE TABLE ZEPDICO.CDM_SITE (ID INTEGER NOT NULL)",
                          "INSERT INTO ZEPDICO.CDM_SITE VALUES (1)",
                          "GRANT SELECT ON ZEPDICO.CDM_PART TO USER PDMADM",
                          "CREATE TABLE ZEPDICO.ZEP_ADMIN (ID INTEGER NOT NULL)",
                          "CREATE INDEX ZEPDICO.ZEP_ADMIN_IX ON ZEPDICO.ZEP_ADMIN (ID)"}));
  const std::string trace = Trace();
  EXPECT_NE(trace.find("\nDDLFilePathName              : <" + Repository() + "/CDMSTEP.clp>"),
            std::string::npos);
  EXPECT_NE(trace.find("\nSt_PlayDDL ZEP PUBSUB"), std::string::npos)
      << "a modeler without files still gets its turn";
  EXPECT_LT(trace.find("\nSt_PlayDDL ZEP CDMSTEP"), trace.find("\nSt_PlayDDL ZEP PUBSUB"));
  EXPECT_LT(trace.find("\nSt_PlayDDL ZEP PUBSUB"), trace.find("\nSt_PlayDDL ZEP ZEPADMIN"));
  EXPECT_LT(trace.find("\nSt_PlayDDL ZEP ZEPADMIN"), trace.find("\nSt_PlayDDL ZEP PRODUCTFREEZE"));
  EXPECT_NE(Log().find("\nINSTALLATION ENDED\n"), std::string::npos);
  EXPECT_TRUE(controller_->_InstallationSucceeded);
  EXPECT_TRUE(controller_->_DlgREPORT->IsVisible());
  EXPECT_TRUE(Journal().empty()) << "a finished installation leaves nothing to undo";

  Connection dba = Db2();
  for (const char* table : {"CDM_PART", "CDM_LINK", "CDM_SITE", "ZEP_ADMIN"}) {
    EXPECT_TRUE(TableExists(dba, "ZEPDICO", table)) << table;
  }
  EXPECT_EQ(Rows(dba, "SELECT ID FROM ZEPDICO.CDM_SITE"), std::vector<std::string>{"1"});
  EXPECT_EQ(Rows(dba,
                 "SELECT DBADMAUTH, CREATETABAUTH, CONNECTAUTH FROM SYSCAT.DBAUTH "
                 "WHERE GRANTEE = 'PDMADM'"),
            std::vector<std::string>{"Y|Y|Y"});
  EXPECT_TRUE(std::filesystem::is_directory(Site() + "/tablespaces/PDMTBS.dbf"));
}

TEST_F(EngineTest, OracleAsksBeforeCreatingUsersAndPlaysAsTheSchemaOwner) {
  Build("[ZEP2YesNoInCallBack]\nanswers = Yes\n");
  AnswerOracle();
  Prepare();
  RunChain();
  EXPECT_EQ(Steps(), InstalledChain(true));
  const std::string trace = Trace();
  EXPECT_NE(trace.find("\nProposition create user <PDMADM> acceptee"), std::string::npos);
  EXPECT_NE(trace.find("\nProposition create user <ZEPDICO> acceptee"), std::string::npos);
  EXPECT_NE(trace.find("\nConnection associated with modeler <CDMSTEP>"), std::string::npos);
  const std::vector<std::string> played = Played();
  ASSERT_EQ(played.size(), 8u) << "SET is the client's, not played";
  EXPECT_EQ(played[5], "GRANT SELECT ON ZEPDICO.CDM_PART TO PDMADM");
  EXPECT_EQ(trace.find("dicopass"), std::string::npos) << "no password in the trace";
  EXPECT_EQ(trace.find("admpass"), std::string::npos);

  Connection owner = Oracle("ZEPDICO", "dicopass");
  ASSERT_EQ(owner.result, 0) << owner.message;
  for (const char* table : {"CDM_PART", "CDM_LINK", "CDM_SITE", "ZEP_ADMIN"}) {
    EXPECT_TRUE(TableExists(owner, "ZEPDICO", table)) << table;
  }
  Connection dba = Oracle();
  EXPECT_EQ(Rows(dba,
                 "SELECT USERNAME, DEFAULT_TABLESPACE FROM DBA_USERS WHERE USERNAME IN "
                 "('PDMADM', 'ZEPDICO') ORDER BY USERNAME"),
            (std::vector<std::string>{"PDMADM|PDMTBS", "ZEPDICO|PDMTBS"}));
  EXPECT_TRUE(controller_->_InstallationSucceeded);
}

TEST_F(EngineTest, ClientAuthenticationIdentifiesTheCreatedUsersExternallyAtTheEnd) {
  Build("[ZEP2YesNoInCallBack]\nanswers = Yes\n");
  AnswerOracle();
  H::_nvAUTHClient = 1;
  H::_nvAUTHServer = 0;
  Prepare();
  RunChain();
  StepList expected = InstalledChain(true);
  // The administrator the run creates is flagged for the switch without a
  // question and identified externally at the end; the owner keeps its
  // password.
  expected[5] = "ChkAlterUserDefSrvSys*2";
  expected[17] = "AlterUserDefSrvSys*2";
  EXPECT_EQ(Steps(), expected);
  Connection dba = Oracle();
  EXPECT_EQ(Rows(dba,
                 "SELECT USERNAME, AUTHENTICATION_TYPE FROM DBA_USERS WHERE USERNAME IN "
                 "('PDMADM', 'ZEPDICO') ORDER BY USERNAME"),
            (std::vector<std::string>{"PDMADM|EXTERNAL", "ZEPDICO|PASSWORD"}));
}

TEST_F(EngineTest, StartUpDataIsInitialisedOnceEveryModelerIsInstalled) {
  // The data manager needs the whole data model: the sandbox's repository.
  std::filesystem::remove_all(Repository());
  std::string error;
  ASSERT_EQ(WriteDdlRepository(Repository(), 1, error), 0) << error;
  environment_.Set("TESSARDBSETUP_NO_ZEPPROJECT", "");
  Build();
  AnswerDb2();
  H::_nvEXEStartupData = 1;
  Prepare();
  const int statements = H::_nvNbrOfOrdersInALLDDL;
  RunChain();
  StepList expected = InstalledChain(false);
  expected[15] = "PlayDDL*" + std::to_string(statements);
  expected.insert(expected.begin() + 16,
                  {"ZEPProject", "ZEPDataManager", "ZEPRDBEI", "ZEPSuppChain"});
  EXPECT_EQ(Steps(), expected);
  EXPECT_NE(Log().find("\nSt_ZEPDataManager OK"), std::string::npos);
  EXPECT_TRUE(controller_->_InstallationSucceeded);
  Connection dba = Db2();
  EXPECT_EQ(Rows(dba, "SELECT LOGIN FROM ZEPDICO.PEOPLE_PERSON WHERE LOGIN = 'PDMADM'"),
            std::vector<std::string>{"PDMADM"});
}

TEST_F(EngineTest, TheDdlFileGetsEveryStatementInOrderAndTheDatabaseNothing) {
  Build();
  AnswerDb2();
  H::_nvEXECINDB = 0;
  H::_nvGENDDLONLY = 1;
  H::_svDDLFILEPATH = Site();
  H::_svDDLFILENAME = "pdm.ddl";
  const std::vector<std::string> before = Db2Catalogue();
  Prepare();
  RunChain();
  EXPECT_EQ(Steps(), InstalledChain(false));
  const std::string ddl = ReadWholeFile(Site() + "/pdm.ddl");
  const std::vector<std::string> order = {
      "CREATE REGULAR TABLESPACE \"PDMTBS\" MANAGED BY SYSTEM USING ('" + Site() +
          "/tablespaces/PDMTBS.dbf');\n",
      "GRANT DBADM, CONNECT, CREATETAB ON DATABASE TO USER PDMADM;\n",
      "CREATE TABLE ZEPDICO.CDM_PART (ID INTEGER NOT NULL);\n",
      "CREATE VIEW ZEPDICO.CDM_PARTS AS SELECT ID FROM ZEPDICO.CDM_PART;\n",
      "INSERT INTO ZEPDICO.CDM_SITE VALUES (1);\n",
      "CREATE INDEX ZEPDICO.ZEP_ADMIN_IX ON ZEPDICO.ZEP_ADMIN (ID);\n"};
  std::size_t at = 0;
  for (const std::string& statement : order) {
    const std::size_t found = ddl.find(statement, at);
    ASSERT_NE(found, std::string::npos) << statement << " after offset " << at << " in\n" << ddl;
    at = found + statement.size();
  }
  EXPECT_EQ(ddl.find("CONNECT TO SAMPLE"), std::string::npos);
  EXPECT_EQ(Db2Catalogue(), before) << "file mode changes nothing in the database";
  EXPECT_FALSE(std::filesystem::exists(Site() + "/tablespaces/PDMTBS.dbf"));
  EXPECT_TRUE(Journal().empty());
}

}  // namespace
