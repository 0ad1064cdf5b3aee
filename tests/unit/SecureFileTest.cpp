// Whole-file replacement: a failed write leaves the old file as it was and
// no temporary beside it; a done one has the content and the mode asked for.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <vector>

#include "TempDirectory.h"
#include "platform/QelSecureFile.h"

namespace {

class SecureFile : public ::testing::Test {
 protected:
  void TearDown() override { unsetenv("TESSARDBSETUP_FAULT_FILE_WRITE"); }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    DIR* listing = opendir(directory.Path().c_str());
    while (const dirent* entry = listing ? readdir(listing) : nullptr) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    if (listing) closedir(listing);
    return names;
  }
  mode_t ModeOf(const std::string& path) const {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
  }

  TempDirectory directory;
};

using Replace = std::function<int(const std::string&, const std::string&, std::string&)>;

const std::pair<const char*, Replace> replacements[] = {
    {"QelWriteFileAtomically",
     [](const std::string& path, const std::string& content, std::string& error) {
       return QelWriteFileAtomically(path, content, 0640, error);
     }},
    {"QelReplaceFileContent", QelReplaceFileContent},
};

TEST_F(SecureFile, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  const std::string path = directory.File("settings");
  for (const auto& [name, replace] : replacements) {
    std::ofstream(path) << "old content\n";
    // Every write from the first on fails, whatever this process wrote before.
    setenv("TESSARDBSETUP_FAULT_FILE_WRITE", "1+", 1);
    std::string error;
    EXPECT_EQ(replace(path, "new content\n", error), -1) << name;
    unsetenv("TESSARDBSETUP_FAULT_FILE_WRITE");
    EXPECT_EQ(error, path + ": No space left on device") << name;
    EXPECT_EQ(ReadWholeFile(path), "old content\n") << name;
    EXPECT_EQ(Names(), std::vector<std::string>{"settings"}) << name;
  }
}

TEST_F(SecureFile, AReplacementHasTheNewContentAndTheModeAsked) {
  const std::string path = directory.File("environment");
  std::ofstream(path) << "old\n";
  ASSERT_EQ(chmod(path.c_str(), 0604), 0);
  std::string error;
  // The existing file's mode is kept by a content replacement...
  ASSERT_EQ(QelReplaceFileContent(path, "replaced\n", error), 0) << error;
  EXPECT_EQ(ReadWholeFile(path), "replaced\n");
  EXPECT_EQ(ModeOf(path), 0604u);
  // ... and set by an atomic write, whatever the umask lets through.
  const mode_t umaskBefore = umask(0077);
  ASSERT_EQ(QelWriteFileAtomically(path, "written\n", 0640, error), 0) << error;
  umask(umaskBefore);
  EXPECT_EQ(ReadWholeFile(path), "written\n");
  EXPECT_EQ(ModeOf(path), 0640u);
  EXPECT_EQ(Names(), std::vector<std::string>{"environment"});
}

TEST_F(SecureFile, ANameWithoutDirectoryIsWrittenInTheCurrentOne) {
  char before[4096];
  ASSERT_NE(getcwd(before, sizeof before), nullptr);
  ASSERT_EQ(chdir(directory.Path().c_str()), 0);
  std::string error;
  const int result = QelWriteFileAtomically("state", "page 1\n", 0600, error);
  ASSERT_EQ(chdir(before), 0);
  EXPECT_EQ(result, 0) << error;
  EXPECT_EQ(ReadWholeFile(directory.File("state")), "page 1\n");
}

TEST_F(SecureFile, ALinkInPlaceOfTheFileIsRefusedUntouched) {
  const std::string victim = directory.File("victim");
  std::ofstream(victim) << "precious";
  const std::string path = directory.File("settings");
  ASSERT_EQ(symlink(victim.c_str(), path.c_str()), 0);
  for (const auto& [name, replace] : replacements) {
    std::string error;
    EXPECT_EQ(replace(path, "new", error), -1) << name;
    EXPECT_EQ(error, path + ": is a symbolic link") << name;
    EXPECT_EQ(ReadWholeFile(victim), "precious") << name;
  }
}

}  // namespace
