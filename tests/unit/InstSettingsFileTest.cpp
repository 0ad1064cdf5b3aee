// The hand-over from father to son: what the father saves is what the son
// reads, and only a "Y" makes a process a son.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TempDirectory.h"
#include "app/ZEP2InstApp.h"
#include "app/ZEP2InstHQ.h"
#include "platform/QelLog.h"
#include "platform/QelSettings.h"
#include "settings/InstSettingsLock.h"

namespace {

using H = ZEP2InstHQ;

class InstSettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    H::ResetInstallationParameters();
    setenv("QelUserSettingPath", directory.File("settings").c_str(), 1);
    setenv("TESSARDBSETUP_LOGDIR", directory.Path().c_str(), 1);
  }
  void TearDown() override {
    QelCloseLogFiles();
    unsetenv("TESSARDBSETUP_LOGDIR");
  }

  // A controller built as the program builds it, logs in the temp directory.
  std::unique_ptr<H> NewController() {
    return std::make_unique<H>(&application, "ZEP2InstHQ", "", "", directory.File("trace"));
  }

  // The son as its father starts it: FATHERPID set (0: nobody to signal)
  // while the father holds the settings lock.
  std::unique_ptr<H> NewSonController() {
    ZEP2InstSettingsLock fatherLock;
    std::string error;
    EXPECT_EQ(fatherLock.Acquire(error), 0) << error;
    setenv("FATHERPID", "0", 1);
    auto son = NewController();
    unsetenv("FATHERPID");
    return son;
  }

  std::string SettingsPath() const { return directory.File("settings/TESSARInst.settings"); }

  static std::vector<std::string> KeysInFile(const std::string& content) {
    std::vector<std::string> keys;
    std::istringstream lines(content);
    for (std::string line; std::getline(lines, line);)
      keys.push_back(line.substr(0, line.find('=')));
    return keys;
  }

  TempDirectory directory;
  ZEP2InstApp application;
};

TEST_F(InstSettingsFile, SavedAnswersMakeTheNextStartASonWithEveryAnswer) {
  // As in a run: the father is built first, the pages then fill the answers.
  auto father = NewController();
  H::_nvINSTPARTII = 1;
  H::_svTESADM = "pdmadm";
  H::_svTESADMP = "p=ss\nword \xE2\x82\xAC";
  H::_svTESADMHomd = "/home/pdmadm";
  H::_svTESDICOOwner = "pdmdico";
  H::_svTESDICOOwnerP = "";
  H::_nvEXEDBObj = 1;
  H::_nvEXEStartupData = 1;
  H::_nvEXECINDB = 0;
  H::_nvGENDDLONLY = 1;
  H::_svDDLFILENAME = "pdm.ddl";
  H::_nvIBMDB2UDB = 1;
  H::_nvAUTHServer = 1;
  H::_svDB2INSTANCE = "db2inst1";
  H::_svDB2INSTANCE_HOMDIR = "/home/db2inst1";
  H::_nvDB2Local = 1;
  H::_svDBAUSER = "db2inst1";
  H::_svDBAUSERP = "sandbox";
  H::_svVAULTAdm = "not carried";
  father->SaveInstSettingPartI();
  const std::string content = ReadWholeFile(SettingsPath());
  const std::vector<std::string> expectedOrder = {
      "TES_INST_PARTII",       "TES_TESADM",
      "TES_TESADMP",           "TES_TESADMHOMD",
      "TES_TESDICOOWNER",      "TES_TESDICOOWNERP",
      "TES_TOEXE_DBOBJ",       "TES_TOEXE_STARTUPDATA",
      "TES_TOEXE_VAULT",       "TES_TOEXE_CLASHINST",
      "TES_TOEXE_CLASHSERVER", "TES_TOEXE_SAMPLEDATA",
      "TES_EXE_INDB",          "TES_EXE_INFILE",
      "TES_DDLFILENAME",       "TES_DDLFILEPATH",
      "TES_DBMS_IBMDB2UDB",    "TES_DBMS_ORACLE",
      "TES_AUTH_CLIENT",       "TES_AUTH_SERVER",
      "TES_DB2_INSTANCE",      "TES_DB2_INSTANCE_HOMDIR",
      "TES_DB2_ALIASNAME",     "TES_DB2_DRIVEDIR",
      "TES_DB2_LOCAL",         "TES_DB2_REMOTE",
      "TES_ORALOC_LOCAL",      "TES_ORALOC_REMOTE",
      "TES_ORA_SID",           "TES_ORA_HOMDIR",
      "TES_ORA_N32HOMDIR",     "TES_ORA_SRVNAME",
      "TES_ORATNS_NAMING",     "TES_ORA_TNS_ADMIN",
      "TES_DBA_USER",          "TES_DBA_USERP"};
  EXPECT_EQ(KeysInFile(content), expectedOrder);
  EXPECT_NE(content.find("TES_DBMS_IBMDB2UDB=Y\n"), std::string::npos);
  EXPECT_NE(content.find("TES_DBMS_ORACLE=N\n"), std::string::npos);
  EXPECT_NE(content.find("TES_ORA_SID=\n"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(directory.File("trace")).find("p=ss"), std::string::npos)
      << "no password in the trace";

  H::ResetInstallationParameters();
  auto son = NewSonController();
  EXPECT_EQ(son->_StartCheck, H::StartCheck::Normal);
  EXPECT_EQ(H::_nvINSTPARTII, 1);
  EXPECT_EQ(H::_svTESADM.str(), "pdmadm");
  EXPECT_EQ(H::_svTESADMP.str(), "p=ss\nword \xE2\x82\xAC");
  EXPECT_EQ(H::_svTESADMHomd.str(), "/home/pdmadm");
  EXPECT_EQ(H::_svTESDICOOwner.str(), "pdmdico");
  EXPECT_EQ(H::_nvEXEDBObj, 1);
  EXPECT_EQ(H::_nvEXEStartupData, 1);
  EXPECT_EQ(H::_nvEXEVault, 0);
  EXPECT_EQ(H::_nvEXECINDB, 0);
  EXPECT_EQ(H::_nvGENDDLONLY, 1);
  EXPECT_EQ(H::_svDDLFILENAME.str(), "pdm.ddl");
  EXPECT_EQ(H::_nvIBMDB2UDB, 1);
  EXPECT_EQ(H::_nvOracle, 0);
  EXPECT_EQ(H::_nvAUTHServer, 1);
  EXPECT_EQ(H::_svDB2INSTANCE.str(), "db2inst1");
  EXPECT_EQ(H::_svDB2INSTANCE_HOMDIR.str(), "/home/db2inst1");
  EXPECT_EQ(H::_nvDB2Local, 1);
  EXPECT_EQ(H::_svDBAUSERP.str(), "sandbox");
  EXPECT_EQ(H::_svVAULTAdm.str(), "") << "unkeyed parameters start at their defaults";
}

TEST_F(InstSettingsFile, OnlyAnExactUpperCaseYCountsAsSet) {
  QelSettingsServices services(directory.File("settings"));
  services.WriteSetting("TES_INST_PARTII", "Y", "TESSARInst");
  services.WriteSetting("TES_TOEXE_DBOBJ", "y", "TESSARInst");
  services.WriteSetting("TES_TOEXE_VAULT", "Y ", "TESSARInst");
  services.WriteSetting("TES_TOEXE_STARTUPDATA", "YES", "TESSARInst");
  services.WriteSetting("TES_DBMS_ORACLE", "Y", "TESSARInst");
  // TES_EXE_INDB absent: a flag whose default is 1 reads as 0.
  services.WriteSetting("TES_DDLFILENAME", "", "TESSARInst");
  H::_svDDLFILENAME = "before";
  auto son = NewSonController();
  EXPECT_EQ(H::_nvINSTPARTII, 1);
  EXPECT_EQ(H::_nvEXEDBObj, 0);
  EXPECT_EQ(H::_nvEXEVault, 0);
  EXPECT_EQ(H::_nvEXEStartupData, 0);
  EXPECT_EQ(H::_nvOracle, 1);
  EXPECT_EQ(H::_nvEXECINDB, 0);
  EXPECT_EQ(H::_svDDLFILENAME.str(), "") << "an empty value overwrites";
}

TEST_F(InstSettingsFile, FileNotMarkedForTheSonIsIgnoredEntirely) {
  for (const char* mark : {"N", "y", "", "YY"}) {
    H::ResetInstallationParameters();
    QelSettingsServices services(directory.File("settings"));
    services.WriteSetting("TES_INST_PARTII", mark, "TESSARInst");
    services.WriteSetting("TES_TESADM", "intruder", "TESSARInst");
    services.WriteSetting("TES_EXE_INDB", "N", "TESSARInst");
    services.WriteSetting("TES_DBMS_ORACLE", "Y", "TESSARInst");
    auto controller = NewController();
    EXPECT_EQ(H::_nvINSTPARTII, 0) << mark;
    EXPECT_EQ(H::_svTESADM.str(), "") << mark;
    EXPECT_EQ(H::_nvEXECINDB, 1) << mark;
    EXPECT_EQ(H::_nvOracle, 0) << mark;
  }
}

TEST_F(InstSettingsFile, TheLauncherScriptsRemovalPatternDeletesItWhateverTheDirectorysName) {
  const std::string spaced = directory.File("my settings");
  setenv("QelUserSettingPath", spaced.c_str(), 1);
  auto father = NewController();
  H::_nvINSTPARTII = 1;
  ASSERT_EQ(father->SaveInstSettingPartI(), 0);
  const std::string path = spaced + "/TESSARInst.settings";
  ASSERT_FALSE(ReadWholeFile(path).empty());
  const std::string command =
      "sh -c 'rm -f \"$QelUserSettingPath\"/TESSARInst.*' && test ! -e '" + path + "'";
  EXPECT_EQ(std::system(command.c_str()), 0);
  H::ResetInstallationParameters();
  NewSonController();
  EXPECT_EQ(H::_nvINSTPARTII, 0) << "with the file gone no start is a son";
}

TEST_F(InstSettingsFile, ASaveThatCannotBeWrittenFails) {
  std::ofstream(directory.File("plain")) << "a file where a directory should be";
  setenv("QelUserSettingPath", directory.File("plain/settings").c_str(), 1);
  auto father = NewController();
  H::_nvINSTPARTII = 1;
  EXPECT_NE(father->SaveInstSettingPartI(), 0);
}

// Who a marked settings file belongs to decides what a start makes of it.
TEST_F(InstSettingsFile, AMarkedFileIsTrustedOnlyFromALiveFather) {
  struct Case {
    const char* mark;
    bool fatherPid;
    bool lockHeld;
    H::StartCheck expected;
    bool fileStays;
  };
  const Case cases[] = {
      {"Y", true, true, H::StartCheck::Normal, true},
      {"Y", false, false, H::StartCheck::StaleRemoved, false},
      {"Y", false, true, H::StartCheck::AnotherRunBusy, true},
      {"Y", true, false, H::StartCheck::SonOrphaned, false},
      {"N", true, true, H::StartCheck::SonWithoutSettings, true},
      {"N", false, false, H::StartCheck::Normal, true},
  };
  for (const Case& test : cases) {
    const std::string label = std::string(test.mark) + (test.fatherPid ? " FATHERPID" : "") +
                              (test.lockHeld ? " locked" : "");
    H::ResetInstallationParameters();
    QelSettingsServices services(directory.File("settings"));
    services.WriteSetting("TES_INST_PARTII", test.mark, "TESSARInst");
    services.WriteSetting("TES_TESADM", "someone", "TESSARInst");
    ZEP2InstSettingsLock otherProcess;
    std::string error;
    if (test.lockHeld) {
      ASSERT_EQ(otherProcess.Acquire(error), 0) << error;
    }
    if (test.fatherPid) setenv("FATHERPID", "0", 1);
    auto controller = NewController();
    unsetenv("FATHERPID");
    otherProcess.Release();
    EXPECT_EQ(controller->_StartCheck, test.expected) << label;
    const bool son = test.expected == H::StartCheck::Normal && test.fatherPid;
    EXPECT_EQ(H::_nvINSTPARTII, son ? 1 : 0) << label;
    EXPECT_EQ(H::_svTESADM.str(), son ? "someone" : "") << label << ": answers not its own";
    EXPECT_EQ(!ReadWholeFile(SettingsPath()).empty(), test.fileStays) << label;
    ZEP2RemoveInstSettingsFiles();
  }
}

}  // namespace
