// Settings repositories keep any value exactly and never write through a
// link or leave a file others can read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TempDirectory.h"
#include "platform/QelSettings.h"

namespace {

class SettingsServices : public ::testing::Test {
 protected:
  TempDirectory directory;
  QelSettingsServices services{directory.File("settings")};
};

TEST_F(SettingsServices, HostileValuesAndKeysReadBackExactly) {
  const std::vector<std::string> values = {
      "",
      "a=b==c",
      "line one\nline two\n",
      "back\\slash\\n not a newline",
      "trailing\\",
      "carriage\rreturn",
      std::string("nul\0inside", 10),
      "  spaces kept  ",
      "d\xC3\xA9j\xC3\xA0 \xE2\x82\xAC \xF0\x9F\x94\x91",
      "=leading equals",
  };
  for (std::size_t i = 0; i < values.size(); ++i) {
    ASSERT_EQ(services.WriteSetting("KEY" + std::to_string(i), values[i], "Repo"), 0);
  }
  ASSERT_EQ(services.WriteSetting("odd=key\nwith newline", "v", "Repo"), 0);
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(services.ReadSetting("KEY" + std::to_string(i), "Repo").str(), values[i]) << i;
  }
  EXPECT_EQ(services.ReadSetting("odd=key\nwith newline", "Repo").str(), "v");
  EXPECT_EQ(services.ReadSetting("odd", "Repo").str(), "");
  EXPECT_EQ(services.ReadSetting("KEY0", "OtherRepo").str(), "") << "repositories are apart";
}

TEST_F(SettingsServices, RewritingAKeyKeepsTheOthersAndTheOrder) {
  services.WriteSetting("A", "1", "Repo");
  services.WriteSetting("B", "2", "Repo");
  services.WriteSetting("A", "3", "Repo");
  EXPECT_EQ(ReadWholeFile(services.RepositoryPath("Repo")), "A=3\nB=2\n");
}

TEST_F(SettingsServices, FileIsPrivateAndNoTemporaryFileIsLeft) {
  ASSERT_EQ(services.WriteSetting("PASSWORD", "secret", "Repo"), 0);
  struct stat info {};
  ASSERT_EQ(stat(services.RepositoryPath("Repo").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  ASSERT_EQ(stat(directory.File("settings").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0077, 0u) << "a created settings directory is private";
  int files = 0;
  for ([[maybe_unused]] const auto& entry :
       std::filesystem::directory_iterator(directory.File("settings"))) {
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(SettingsServices, SymbolicLinkIsNeverWrittenThrough) {
  std::filesystem::create_directories(directory.File("settings"));
  const std::string victim = directory.File("victim");
  { std::ofstream(victim) << "precious"; }
  ASSERT_EQ(symlink(victim.c_str(), services.RepositoryPath("Repo").c_str()), 0);
  EXPECT_EQ(services.WriteSetting("K", "V", "Repo"), -1);
  EXPECT_EQ(ReadWholeFile(victim), "precious");
  EXPECT_TRUE(std::filesystem::is_symlink(services.RepositoryPath("Repo")));
}

TEST_F(SettingsServices, UnwritableDirectoryReportsFailureAndReadsGiveEmpty) {
  QelSettingsServices nowhere(directory.File("file/below/a/file"));
  { std::ofstream(directory.File("file")) << "x"; }
  EXPECT_EQ(nowhere.WriteSetting("K", "V", "Repo"), -1);
  EXPECT_EQ(nowhere.ReadSetting("K", "Repo").str(), "");
}

}  // namespace
