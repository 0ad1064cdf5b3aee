// The vault tree's modes: the repository and its tmp open to everyone,
// secured0 and everything inside it closed to others, however often the
// vault page walks the tree.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "TempDirectory.h"
#include "platform/QelDirectories.h"

namespace {

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(VaultTreeModes, SecuredDirectoriesStayClosedOnEveryPass) {
  TempDirectory directory;
  const std::string repository = directory.File("vault");
  for (const char* sub : {"/tmp/a", "/secured0/inner/deeper", "/secured0x"}) {
    std::filesystem::create_directories(repository + sub);
  }
  for (int pass = 1; pass <= 2; ++pass) {
    ASSERT_EQ(0, ZEPChmod(QelUnicodeString(repository + (pass == 2 ? "/" : ""))));
    EXPECT_EQ(0777u, ModeOf(repository)) << pass;
    EXPECT_EQ(0777u, ModeOf(repository + "/tmp")) << pass;
    EXPECT_EQ(0777u, ModeOf(repository + "/tmp/a")) << pass;
    EXPECT_EQ(0777u, ModeOf(repository + "/secured0x")) << pass;
    EXPECT_EQ(0755u, ModeOf(repository + "/secured0")) << pass;
    EXPECT_EQ(0755u, ModeOf(repository + "/secured0/inner")) << pass;
    EXPECT_EQ(0755u, ModeOf(repository + "/secured0/inner/deeper")) << pass;
  }
}

}  // namespace
