// The environment manager keeps every byte it was not asked to change, and
// replaces the file in one step with its mode; the runtime's environment
// update prepends the library directories once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "TempDirectory.h"
#include "app/ZEP2InstHQ.h"
#include "platform/QelLog.h"
#include "platform/QelSysEnv.h"

namespace {

void WriteFile(const std::string& path, const std::string& text, mode_t mode) {
  std::ofstream(path, std::ios::binary) << text;
  chmod(path.c_str(), mode);
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

std::unique_ptr<QelSysEnv> ReadEnv(const std::string& path) {
  std::unique_ptr<QelSysEnv> env;
  EXPECT_EQ(0, QelSysEnvManager::Read(path, 2, 2, env));
  return env;
}

const std::string Shipped =
    "# runtime environment\r\n"
    "LIBPATH=/opt/lib\r\n"
    "\r\n"
    "  indented = not a variable\r\n"
    "PATH=/bin:/usr/bin\r\n"
    "LIBPATH=/opt/lib2\r\n"
    "9BAD=x\r\n"
    "LAST=no newline";

TEST(EnvironmentManager, RoundTripReplaceAndAppendKeepOtherBytes) {
  TempDirectory directory;
  const std::string path = directory.File("TESSAR.txt");
  WriteFile(path, Shipped, 0640);

  auto env = ReadEnv(path);
  ASSERT_TRUE(env);
  EXPECT_EQ(Shipped, env->Text());
  ASSERT_NE(nullptr, env->GetEnv("LIBPATH"));
  EXPECT_EQ("/opt/lib2", env->GetEnv("LIBPATH")->str());  // the last assignment wins
  EXPECT_EQ(nullptr, env->GetEnv("indented"));
  EXPECT_EQ(nullptr, env->GetEnv("9BAD"));
  ASSERT_EQ(0, QelSysEnvManager::Write(*env, 1));
  EXPECT_EQ(Shipped, ReadWholeFile(path));

  EXPECT_EQ(0, env->PutEnv("LIBPATH", "/new", 1, 0, ""));
  EXPECT_EQ(0, env->PutEnv("PATH", "/kept?", 0, 0, ""));  // options 0 keeps a value
  EXPECT_EQ(0, env->PutEnv("DB2INSTANCE", "db2inst1", 1, 0, "DBMS"));
  EXPECT_EQ(-1, env->PutEnv("TWO", "lines\nvalue", 1, 0, ""));
  EXPECT_EQ(-1, env->PutEnv("BAD NAME", "v", 1, 0, ""));
  ASSERT_EQ(0, QelSysEnvManager::Write(*env, 1));
  EXPECT_EQ(
      "# runtime environment\r\nLIBPATH=/opt/lib\r\n\r\n  indented = not a variable\r\n"
      "PATH=/bin:/usr/bin\r\nLIBPATH=/new\r\n9BAD=x\r\nLAST=no newline\r\n# DBMS\r\n"
      "DB2INSTANCE=db2inst1\r\n",
      ReadWholeFile(path));
  EXPECT_EQ(0640u, ModeOf(path));
  EXPECT_EQ("db2inst1", ReadEnv(path)->GetEnv("DB2INSTANCE")->str());
}

TEST(EnvironmentManager, RefusesLinksAndMissingFiles) {
  TempDirectory directory;
  const std::string target = directory.File("target.txt");
  WriteFile(target, "A=1\n", 0644);
  const std::string link = directory.File("link.txt");
  ASSERT_EQ(0, symlink(target.c_str(), link.c_str()));
  auto env = ReadEnv(link);
  ASSERT_TRUE(env);
  env->PutEnv("A", "2", 1, 0, "");
  EXPECT_NE(0, QelSysEnvManager::Write(*env, 1));
  EXPECT_EQ("A=1\n", ReadWholeFile(target));

  std::unique_ptr<QelSysEnv> missing;
  EXPECT_EQ(-1, QelSysEnvManager::Read(directory.File("absent.txt"), 2, 2, missing));
  EXPECT_FALSE(missing);
}

class RuntimeEnvironmentUpdate : public ::testing::Test {
 protected:
  void SetUp() override {
    ZEP2InstHQ::ResetInstallationParameters();
    setenv("QelInstallPath", directory.Path().c_str(), 1);
    setenv("QelvarV5_environment_name", "TESSAR", 1);
    ZEP2InstHQ::_nvIBMDB2UDB = 1;
    ZEP2InstHQ::_svDB2INSTANCE = "db2inst1";
    ZEP2InstHQ::_svDB2INSTANCE_HOMDIR = "/home/db2inst1";
  }
  void TearDown() override {
    unsetenv("QelInstallPath");
    unsetenv("QelvarV5_environment_name");
    unsetenv("QelvarV5_environment_directory");
    ZEP2InstHQ::ResetInstallationParameters();
  }
  TempDirectory directory;
};

TEST_F(RuntimeEnvironmentUpdate, DirectoryWithTrailingSlashAndPathsPrependedOnce) {
  const std::string path = directory.File("TESSAR.txt");
  const std::string shipped =
      "# env\nLIBPATH=/opt/lib\nLD_LIBRARY_PATH=/opt/lib\nLD_LIBRARYN32_PATH=\n"
      "SHLIB_PATH=/opt/lib\nOTHER=kept\n";
  WriteFile(path, shipped, 0600);
  setenv("QelvarV5_environment_directory", (directory.Path() + "/").c_str(), 1);

  ZEP2InstHQ::TESSAREnvironmentUpdate();
  const std::string once = ReadWholeFile(path);
  const std::string d = "/home/db2inst1/sqllib/lib32:/home/db2inst1/sqllib/lib";
  const std::string java = "/home/db2inst1/sqllib/java/";
  EXPECT_EQ("# env\nLIBPATH=" + d + ":/opt/lib\nLD_LIBRARY_PATH=" + d +
                ":/opt/lib\nLD_LIBRARYN32_PATH=" + d + ":\nSHLIB_PATH=" + d +
                ":/opt/lib\nOTHER=kept\nDB2INSTANCE=db2inst1\nCLASSPATH_JDBC_solaris_a=" + java +
                "db2jcc.jar:" + java + "db2jcc_license_cu.jar:" + java +
                "db2jcc_license_cisuz.jar\n",
            once);
  EXPECT_EQ(0600u, ModeOf(path));

  ZEP2InstHQ::TESSAREnvironmentUpdate();
  EXPECT_EQ(once, ReadWholeFile(path));
}

TEST_F(RuntimeEnvironmentUpdate, OracleWithoutLibraryPathChangesNoSearchPath) {
  const std::string path = directory.File("TESSAR.txt");
  WriteFile(path, "LIBPATH=\nLD_LIBRARY_PATH=/opt/lib\n", 0644);
  setenv("QelvarV5_environment_directory", directory.Path().c_str(), 1);
  ZEP2InstHQ::_nvIBMDB2UDB = 0;
  ZEP2InstHQ::_nvOracle = 1;
  ZEP2InstHQ::_svORACLE_HOME = directory.Path() + "/ora";
  ZEP2InstHQ::TESSAREnvironmentUpdate();
  const std::string o = directory.Path() + "/ora";
  EXPECT_EQ("LIBPATH=\nLD_LIBRARY_PATH=/opt/lib\nORACLE_HOME=" + o + "\nORA_NLS33=" + o +
                "\nCLASSPATH_JDBC_solaris_a=" + o + "/jdbc/lib/ojdbc14.jar:" + o +
                "/jdbc/lib/nls_charset12.jar\n",
            ReadWholeFile(path));
}

}  // namespace

TEST_F(RuntimeEnvironmentUpdate, AValueTheFileCannotHoldLeavesItUnchangedAndIsTold) {
  const std::string path = directory.File("TESSAR.txt");
  setenv("QelvarV5_environment_directory", directory.Path().c_str(), 1);
  QelSetErrLogFile(directory.File("errlog").c_str());
  OpenLogFile(directory.File("log").c_str(), 1);
  // A stray CR before the line end stays in LIBPATH's value; prepending to
  // it alone would fail while the other paths grew at every run.
  const std::string strayCr = "LIBPATH=/opt/lib\r\r\nLD_LIBRARY_PATH=/opt/lib\r\n";
  WriteFile(path, strayCr, 0600);
  EXPECT_EQ(-1, ZEP2InstHQ::TESSAREnvironmentUpdate());
  EXPECT_EQ(strayCr, ReadWholeFile(path));

  // An answer with a line break is refused the same way, whatever DBMS.
  const std::string shipped = "LIBPATH=/opt/lib\n";
  WriteFile(path, shipped, 0600);
  ZEP2InstHQ::_svDB2INSTANCE = "db2\ninst1";
  EXPECT_EQ(-1, ZEP2InstHQ::TESSAREnvironmentUpdate());
  EXPECT_EQ(shipped, ReadWholeFile(path));
  QelCloseLogFiles();
  const std::string errors = ReadWholeFile(directory.File("errlog"));
  EXPECT_NE(
      errors.find("the value of LIBPATH would hold a line break: " + path + " is left unchanged."),
      std::string::npos)
      << errors;
  EXPECT_NE(errors.find("the value of DB2INSTANCE would hold a line break"), std::string::npos);
}
