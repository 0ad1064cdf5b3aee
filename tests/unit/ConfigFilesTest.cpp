// The configuration files on disk: whole-file text helpers, the clash
// script edits with their pristine copies, the vault password encryption
// and the generated scripts that run only as written.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "TempDirectory.h"
#include "app/ZEP2InstHQ.h"
#include "app/ZEP2ShellScript.h"
#include "platform/pdm/TAVOVaultServices.h"

namespace {

using H = ZEP2InstHQ;

void WriteFile(const std::string& path, const std::string& text, mode_t mode) {
  std::ofstream(path, std::ios::binary) << text;
  chmod(path.c_str(), mode);
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  lstat(path.c_str(), &info);
  return info.st_mode & 07777;
}

TEST(FileTextHelpers, EmptyMissingAndLinkedFiles) {
  TempDirectory directory;
  const std::string path = directory.File("script");
  WriteFile(path, "", 0750);
  QelUnicodeString text = "before";
  EXPECT_EQ(0, H::ReadFileIntoString(path, text));
  EXPECT_EQ("", text.str());
  text = "kept";
  EXPECT_EQ(-1, H::ReadFileIntoString(directory.File("absent"), text));
  EXPECT_EQ("kept", text.str());

  WriteFile(path, "old content\n", 0750);
  EXPECT_EQ(0, H::WriteStringIntoFile("", path));
  EXPECT_EQ("", ReadWholeFile(path));
  EXPECT_EQ(0750u, ModeOf(path));

  const std::string link = directory.File("link");
  ASSERT_EQ(0, symlink(path.c_str(), link.c_str()));
  EXPECT_EQ(-1, H::WriteStringIntoFile("through a link", link));
  EXPECT_EQ(-1, H::ReadFileIntoString(link, text));
  EXPECT_EQ("", ReadWholeFile(path));
}

class ClashScripts : public ::testing::Test {
 protected:
  void SetUp() override {
    H::ResetInstallationParameters();
    std::filesystem::create_directories(commands);
    setenv("QelInstallPath", directory.Path().c_str(), 1);
    H::_nvCLASHAdmUid = 1001;
    H::_nvCLASHAdmGid = 1002;
    H::_nvCLASHOrbixPort = 1570;
    H::_svCLASHV5InstPath = "/opt/pdm";
  }
  void TearDown() override {
    unsetenv("QelInstallPath");
    H::ResetInstallationParameters();
  }
  TempDirectory directory;
  std::string commands = directory.File("code/command");
};

TEST_F(ClashScripts, EditsKeepModeCopyOnceAndRefuseMissingKeys) {
  const std::string starter = commands + "/RunTavoClashStarter";
  const std::string shipped = "#!/bin/sh\nZEPADM_UID=0\nZEPADM_GID=0\nexec server\n";
  WriteFile(starter, shipped, 0751);
  H::CustShell_RunTavoClashStarter();
  const std::string edited = "#!/bin/sh\nZEPADM_UID=1001\nZEPADM_GID=1002\nexec server\n";
  EXPECT_EQ(edited, ReadWholeFile(starter));
  EXPECT_EQ(0751u, ModeOf(starter));
  EXPECT_EQ(shipped, ReadWholeFile(starter + ".orig"));
  EXPECT_EQ(0751u, ModeOf(starter + ".orig"));

  H::_nvCLASHAdmUid = 7;
  H::CustShell_RunTavoClashStarter();  // the copy stays the shipped text
  EXPECT_EQ(shipped, ReadWholeFile(starter + ".orig"));
  EXPECT_EQ("#!/bin/sh\nZEPADM_UID=7\nZEPADM_GID=1002\nexec server\n", ReadWholeFile(starter));

  const std::string check = commands + "/Tessar_ITFCHECK";
  const std::string noPathLine = "#!/bin/sh\nIT_DAEMON_PORT=1\nexit 0\n";
  WriteFile(check, noPathLine, 0755);
  H::CustShell_Tessar_ITFCHECK();
  EXPECT_EQ(noPathLine, ReadWholeFile(check));  // one key missing: nothing changes

  const std::string server = commands + "/RunTavoClashServer";
  const std::string target = directory.File("elsewhere");
  WriteFile(target, "export HOME=/\nCLASH_OUTDIR=/tmp\n", 0644);
  ASSERT_EQ(0, symlink(target.c_str(), server.c_str()));
  H::CustShell_RunTavoClashServer();
  EXPECT_EQ("export HOME=/\nCLASH_OUTDIR=/tmp\n", ReadWholeFile(target));
  EXPECT_FALSE(std::filesystem::exists(server + ".orig"));
}

TEST_F(ClashScripts, OrbixPortFromTheConfiguration) {
  std::filesystem::create_directories(directory.File("startup/orbix"));
  WriteFile(directory.File("startup/orbix/Orbix.cfg"), "# cfg\nIT_DAEMON_PORT 1570\n", 0644);
  EXPECT_EQ(1570, H::GetOrbixPortNumberFromCfgFile());
  WriteFile(directory.File("startup/orbix/Orbix.cfg"), "IT_DAEMON_PORT 100000\n", 0644);
  EXPECT_EQ(-1, H::GetOrbixPortNumberFromCfgFile());
  unsetenv("QelInstallPath");
  EXPECT_EQ(-1, H::GetOrbixPortNumberFromCfgFile());
}

TEST(VaultPassword, EncryptedTwiceDiffersAndDecryptsForItsAccountOnly) {
  TempDirectory directory;
  std::filesystem::create_directories(directory.File("docs/java"));
  setenv("QelInstallPath", directory.Path().c_str(), 1);
  QelUnicodeString first;
  QelUnicodeString second;
  ASSERT_EQ(0, TAVOVaultServices::encrypt("PDMVAULT", "s3cret pass", first));
  ASSERT_EQ(0, TAVOVaultServices::encrypt("PDMVAULT", "s3cret pass", second));
  unsetenv("QelInstallPath");
  EXPECT_NE(first.str(), second.str());
  EXPECT_EQ(std::string::npos, first.str().find("s3cret"));
  EXPECT_EQ(0600u, ModeOf(TAVOVaultServices::KeyPath(directory.Path())));

  QelUnicodeString clear;
  ASSERT_EQ(0, TAVOVaultServices::decrypt(directory.Path(), "PDMVAULT", second, clear));
  EXPECT_EQ("s3cret pass", clear.str());
  EXPECT_EQ(-1, TAVOVaultServices::decrypt(directory.Path(), "OTHER", second, clear));
  std::string tampered = first.str();
  tampered[tampered.size() - 3] = tampered[tampered.size() - 3] == 'A' ? 'B' : 'A';
  EXPECT_EQ(-1, TAVOVaultServices::decrypt(directory.Path(), "PDMVAULT", tampered, clear));

  // A key others can read is not used.
  chmod(TAVOVaultServices::KeyPath(directory.Path()).c_str(), 0644);
  EXPECT_EQ(-1, TAVOVaultServices::decrypt(directory.Path(), "PDMVAULT", second, clear));
}

class VaultProperties : public ::testing::Test {
 protected:
  void SetUp() override {
    H::ResetInstallationParameters();
    std::filesystem::create_directories(directory.File("docs/java"));
    setenv("QelInstallPath", directory.Path().c_str(), 1);
    H::_nvIBMDB2UDB = 1;
    H::_svDB2ALIASNAME = "PDMDB";
    H::_svVAULTSrvHostName = "pdmhost";
    H::_svVAULTSrvDaemonPort = "6200";
    H::_svVAULTAdm = "pdmvault";
    H::_svVAULTAdmP = "vault pass";
    H::_svVAULTRepository = "/srv/vault";
  }
  void TearDown() override {
    unsetenv("QelInstallPath");
    H::ResetInstallationParameters();
  }
  TempDirectory directory;
  std::string path = directory.File("docs/java/VaultServer.properties");
  std::string shipped =
      "# vault\nVaultServer_HostName = old\nVaultServer_DaemonPort = \nVaultServer_DBName = X\n"
      "VaultServer_DBVendor = X\nVaultServer_DBUser = X\nVaultServer_DBPassword = X\n"
      "VaultServer_Repo_0_Path = X\nVaultServer_LogLevel = INFO";
};

TEST_F(VaultProperties, SevenValuesReplacedOrTheFileLeftAsItWas) {
  WriteFile(path, shipped, 0640);
  ASSERT_EQ(0, H::VaultServerPropertiesFileUpdate());
  const std::string text = ReadWholeFile(path);
  const std::size_t start = text.find("VaultServer_DBPassword = ") + 25;
  const std::string stored = text.substr(start, text.find('\n', start) - start);
  EXPECT_EQ(
      "# vault\nVaultServer_HostName = pdmhost\nVaultServer_DaemonPort = 6200\n"
      "VaultServer_DBName = PDMDB\nVaultServer_DBVendor = db2\nVaultServer_DBUser = pdmvault\n"
      "VaultServer_DBPassword = " +
          stored + "\nVaultServer_Repo_0_Path = /srv/vault\nVaultServer_LogLevel = INFO",
      text);
  QelUnicodeString clear;
  ASSERT_EQ(0, TAVOVaultServices::decrypt(directory.Path(), "pdmvault", stored, clear));
  EXPECT_EQ("vault pass", clear.str());
  EXPECT_EQ(0640u, ModeOf(path));

  // A missing key, or a last property without its newline: nothing changes.
  for (const std::string& broken : {shipped.substr(0, shipped.find("VaultServer_DBUser")) +
                                        shipped.substr(shipped.find("VaultServer_DBPassword")),
                                    shipped.substr(0, shipped.find("\nVaultServer_LogLevel"))}) {
    WriteFile(path, broken, 0640);
    EXPECT_EQ(-1, H::VaultServerPropertiesFileUpdate());
    EXPECT_EQ(broken, ReadWholeFile(path));
  }
  std::filesystem::remove(path);
  EXPECT_EQ(-1, H::VaultServerPropertiesFileUpdate());
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
