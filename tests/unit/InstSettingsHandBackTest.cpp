// The answers a son hands back when it goes Back to its father: they reach
// the father exactly, owner-only, once; and they are forgotten as soon as
// the father's pages name another database.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "TempDirectory.h"
#include "app/ZEP2InstHQ.h"
#include "platform/QelSettings.h"
#include "settings/InstSettingsHandBack.h"
#include "settings/InstSettingsLock.h"

namespace {

using H = ZEP2InstHQ;

class HandBack : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QelUserSettingPath", directory.File("settings").c_str(), 1);
    std::filesystem::create_directories(directory.File("settings"));
    // A father that took nothing yet: what an earlier test left is dropped.
    H::ResetInstallationParameters();
    ZEP2ForgetAnswersForAnotherDatabase();
  }
  static std::string Repository() { return CreateServices()->RepositoryPath("TESSARInstBack"); }
  // The father's own parameters: the son's are gone with the son.
  static void AsFather(int dbms, const char* database) {
    H::ResetInstallationParameters();
    (dbms == QelDbDB2 ? H::_nvIBMDB2UDB : H::_nvOracle) = 1;
    (dbms == QelDbDB2 ? H::_svDB2INSTANCE : H::_svORASRVNAME) = database;
  }

  TempDirectory directory;
};

TEST_F(HandBack, OracleAnswersComeBackOnceAndOnlyForTheSameService) {
  AsFather(QelDbOracle, "PDMORA");
  H::_svDBAUSER = "SYSTEM";
  H::_svDBAUSERP = "dba =secret\n";
  ASSERT_EQ(ZEP2SaveAnswersForFather(), 0);
  struct stat status {};
  ASSERT_EQ(stat(Repository().c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u) << "it holds a password";

  AsFather(QelDbOracle, "PDMORA");
  ZEP2TakeAnswersFromSon();
  EXPECT_EQ(H::_svDBAUSER.str(), "SYSTEM");
  EXPECT_EQ(H::_svDBAUSERP.str(), "dba =secret\n") << "read back byte for byte";
  EXPECT_FALSE(std::filesystem::exists(Repository())) << "taken once, then removed";

  H::_svORASRVNAME = "pdmora";
  ZEP2ForgetAnswersForAnotherDatabase();
  EXPECT_EQ(H::_svDBAUSERP.str(), "dba =secret\n") << "a service name's case does not matter";
  H::_svORASRVNAME = "PDMTEST";
  ZEP2ForgetAnswersForAnotherDatabase();
  EXPECT_EQ(H::_svDBAUSER.str(), "");
  EXPECT_EQ(H::_svDBAUSERP.str(), "") << "another service, another password";

  // No son went Back: nothing to take, nothing changes.
  H::_svDBAUSER = "KEPT";
  ZEP2TakeAnswersFromSon();
  EXPECT_EQ(H::_svDBAUSER.str(), "KEPT");
}

TEST_F(HandBack, Db2AnswersFollowTheInstanceAndTheDbmsAndLeftoversAreRemoved) {
  AsFather(QelDbDB2, "db2inst1");
  H::_svDB2ALIASNAME = "PDMTEST";
  H::_svDB2DRIVEDir = "/data/PDMTEST";
  H::_svDBAUSER = "DB2INST1";
  H::_svDBAUSERP = "db2pass";
  ASSERT_EQ(ZEP2SaveAnswersForFather(), 0);
  AsFather(QelDbDB2, "db2inst1");
  ZEP2TakeAnswersFromSon();
  ZEP2ForgetAnswersForAnotherDatabase();
  EXPECT_EQ(H::_svDB2ALIASNAME.str(), "PDMTEST");
  EXPECT_EQ(H::_svDB2DRIVEDir.str(), "/data/PDMTEST");
  EXPECT_EQ(H::_svDBAUSERP.str(), "db2pass");

  // The same name under the other DBMS is another database.
  H::_nvIBMDB2UDB = 0;
  H::_nvOracle = 1;
  H::_svORASRVNAME = "db2inst1";
  ZEP2ForgetAnswersForAnotherDatabase();
  EXPECT_EQ(H::_svDB2ALIASNAME.str(), "");
  EXPECT_EQ(H::_svDBAUSERP.str(), "");

  // A hand-back a killed father never read goes with the settings file.
  ASSERT_EQ(ZEP2SaveAnswersForFather(), 0);
  EXPECT_GE(ZEP2RemoveInstSettingsFiles(), 1);
  EXPECT_FALSE(std::filesystem::exists(Repository()));
}

}  // namespace
