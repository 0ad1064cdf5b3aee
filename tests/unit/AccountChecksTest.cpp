// Account checks against a sandbox site's passwd and shadow files: every
// hash scheme verifies, root is refused first, and the codes keep their
// meaning. The password never reaches the trace.
#include <crypt.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "TempDirectory.h"
#include "app/ZEP2InstApp.h"
#include "app/ZEP2InstHQ.h"
#include "platform/QelLog.h"

namespace {

using H = ZEP2InstHQ;

std::string Hash(const char* prefix, const char* password) {
  crypt_data data{};
  char salt[CRYPT_GENSALT_OUTPUT_SIZE];
  if (!crypt_gensalt_rn(prefix, 0, nullptr, 0, salt, sizeof salt)) return "";
  const char* hash = crypt_r(password, salt, &data);
  return hash ? hash : "";
}

class AccountChecks : public ::testing::Test {
 protected:
  void SetUp() override {
    H::ResetInstallationParameters();
    setenv("QelUserSettingPath", directory.File("settings").c_str(), 1);
    setenv("TESSARDBSETUP_SANDBOX", directory.Path().c_str(), 1);
    std::filesystem::create_directories(directory.File("etc"));
    std::ofstream passwd(directory.File("etc/passwd"));
    std::ofstream shadow(directory.File("etc/shadow"));
    passwd << "root:x:0:0:root:/root:/bin/sh\n";
    shadow << "root:" << Hash("$6$", "sandbox") << ":19000:0:99999:7:::\n";
    const char* schemes[][2] = {{"pdmyes", "$y$"}, {"pdmsha", "$6$"}, {"pdmdes", ""}};
    for (const auto& [user, prefix] : schemes) {
      passwd << user << ":x:1001:1002:" << user << ":/home/" << user << ":/bin/sh\n";
      shadow << user << ":" << Hash(prefix, "s3cret pass") << ":19000:0:99999:7:::\n";
    }
    passwd << "nosha:x:1003:1003::/home/nosha:/bin/sh\n";
    passwd << "locked:x:1004:1004::/home/locked:/bin/sh\n";
    shadow << "locked:!:19000:0:99999:7:::\n";
    passwd.close();
    shadow.close();
    controller = std::make_unique<H>(&application, "ZEP2InstHQ", "", "", directory.File("trace"));
  }
  void TearDown() override {
    controller.reset();
    unsetenv("TESSARDBSETUP_SANDBOX");
    QelCloseLogFiles();
  }

  TempDirectory directory;
  ZEP2InstApp application;
  std::unique_ptr<H> controller;
};

TEST_F(AccountChecks, PasswordsVerifyWithEveryHashSchemeAndRootIsRefusedFirst) {
  for (const char* user : {"pdmyes", "pdmsha", "pdmdes"}) {
    EXPECT_EQ(H::authenticateWithPassword(user, "s3cret pass"), 0) << user;
    EXPECT_EQ(H::authenticateWithPassword(user, "S3cret pass"), -4) << user;
    EXPECT_EQ(H::authenticateWithPassword(user, ""), -4) << user;
  }
  EXPECT_EQ(H::authenticateWithPassword("root", "sandbox"), -2);
  EXPECT_EQ(H::authenticateWithPassword("nosha", "anything"), -3) << "in passwd, not in shadow";
  EXPECT_EQ(H::authenticateWithPassword("nobody", "anything"), -3);
  EXPECT_EQ(H::authenticateWithPassword("pdmsha ", "s3cret pass"), -3) << "names are not trimmed";
  EXPECT_EQ(H::authenticateWithPassword("locked", ""), -4) << "a locked account never matches";
  EXPECT_EQ(H::authenticateWithPassword("locked", "!"), -4);

  const std::string trace = ReadWholeFile(directory.File("trace"));
  EXPECT_EQ(trace.find("s3cret"), std::string::npos);
  EXPECT_NE(trace.find("\nAuthentication for client : <pdmsha>"), std::string::npos);
  EXPECT_NE(trace.find("\nUser root tried to login and was rejected\nuser root not authorized"),
            std::string::npos);
}

TEST_F(AccountChecks, AccountLookUpFillsItsOutputsOrReportsAndKeepsThem) {
  int uid = -7;
  int gid = -7;
  QelUnicodeString home = "unchanged";
  EXPECT_EQ(controller->GetUidGidHomd("pdmyes", &uid, &gid, &home), 0);
  EXPECT_EQ(uid, 1001);
  EXPECT_EQ(gid, 1002);
  EXPECT_EQ(home.str(), "/home/pdmyes");

  uid = gid = -7;
  home = "unchanged";
  EXPECT_EQ(controller->GetUidGidHomd("ghost", &uid, &gid, &home), -1);
  EXPECT_EQ(uid, -7);
  EXPECT_EQ(home.str(), "unchanged");
  EXPECT_NE(ReadWholeFile(directory.File("trace")).find("\nUser - ghost - must be a unix user\n"),
            std::string::npos);
}

TEST_F(AccountChecks, OnlyReadableDirectoriesAreDirectories) {
  EXPECT_EQ(H::IsDirectory("/"), 0);
  EXPECT_EQ(H::IsDirectory(directory.File("etc/passwd")), -1);
  EXPECT_EQ(H::IsDirectory(directory.File("missing")), -1);
  EXPECT_NE(ReadWholeFile(directory.File("trace"))
                .find("\nEchec de l'ouverture du directory : <" + directory.File("missing") + ">"),
            std::string::npos);
}

}  // namespace
