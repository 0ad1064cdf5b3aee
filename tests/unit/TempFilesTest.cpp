// The sweep of what killed runs left in /tmp removes only the program's own
// plain files whose run is gone: never a link, another user's file, a file
// with other names, or a file of a run still going on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "TempDirectory.h"
#include "platform/QelTempFiles.h"

namespace {

class TempFiles : public ::testing::Test {
 protected:
  void Create(const std::string& name) { std::ofstream(directory.File(name)) << name << "\n"; }
  bool Exists(const std::string& name) const {
    struct stat info {};
    return lstat(directory.File(name).c_str(), &info) == 0;
  }
  // Claims the directory as a starting run does; the hold stays in holds.
  std::vector<std::string> Claim() {
    std::vector<std::string> removed;
    const int hold = QelClaimTempDirectory(directory.Path(), removed);
    EXPECT_GE(hold, 0);
    holds.push_back(hold);
    std::sort(removed.begin(), removed.end());
    return removed;
  }
  void ReleaseHolds() {
    for (const int hold : holds) close(hold);
    holds.clear();
  }
  void TearDown() override { ReleaseHolds(); }

  // The id of a process that has ended.
  static pid_t GonePid() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
  }

  TempDirectory directory;
  std::vector<int> holds;
};

TEST_F(TempFiles, NamesOfTheProgramAreRecognised) {
  const struct {
    const char* name;
    bool ours;
    int pid;
  } cases[] = {
      {"TESStartTmp.sh", true, 0},
      {"TessarEnvCustom.sh", true, 0},
      {"ZEP2_db2ilist_result.txt", true, 0},
      {"ZEP2_db2ilist_result_sorted.txt", true, 0},
      {"zep2inst4321.sh", true, 4321},
      {"tessardbsetup-answers.a1B2c3", true, 0},
      {"tessardbsetup-answers.a1B2c3.tmpXyZ123", true, 0},
      {"tessardbsetup-record.Q9w8e7", true, 0},
      {"tessardbsetup-answers.", false, 0},
      {"zep2inst.sh", false, 0},
      {"zep2inst12a.sh", false, 0},
      {"zep2inst0.sh", false, 0},
      {"zep2inst12345678901.sh", false, 0},
      {"zep2inst42.sh.orig", false, 0},
      {"TESStartTmp.sh.bak", false, 0},
      {"tessardbsetup.log", false, 0},
  };
  for (const auto& c : cases) {
    int pid = -1;
    EXPECT_EQ(QelIsTempFileName(c.name, pid), c.ours) << c.name;
    EXPECT_EQ(pid, c.pid) << c.name;
  }
}

TEST_F(TempFiles, LeftoversOfGoneRunsGoAndNothingElse) {
  const std::string gone = "zep2inst" + std::to_string(GonePid()) + ".sh";
  const std::string live = "zep2inst" + std::to_string(getpid()) + ".sh";
  for (const std::string& name :
       {std::string("TESStartTmp.sh"), std::string("tessardbsetup-answers.k3y9Qz"), gone, live,
        std::string("unrelated.txt"), std::string("target")}) {
    Create(name);
  }
  ASSERT_EQ(symlink(directory.File("target").c_str(), directory.File("TessarEnvCustom.sh").c_str()),
            0);
  ASSERT_EQ(
      link(directory.File("target").c_str(), directory.File("ZEP2_db2ilist_result.txt").c_str()),
      0);
  ASSERT_EQ(mkdir(directory.File("tessardbsetup-record.Dir123").c_str(), 0700), 0);
  const bool root = geteuid() == 0;
  if (root) {
    Create("tessardbsetup-answers.other");
    ASSERT_EQ(chown(directory.File("tessardbsetup-answers.other").c_str(), 65534, 65534), 0);
  }

  const std::vector<std::string> expected = {"TESStartTmp.sh", "tessardbsetup-answers.k3y9Qz",
                                             gone};
  std::vector<std::string> sorted = expected;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(Claim(), sorted);
  for (const std::string& kept :
       {live, std::string("unrelated.txt"), std::string("target"),
        std::string("TessarEnvCustom.sh"), std::string("ZEP2_db2ilist_result.txt"),
        std::string("tessardbsetup-record.Dir123")}) {
    EXPECT_TRUE(Exists(kept)) << kept;
  }
  if (root) {
    EXPECT_TRUE(Exists("tessardbsetup-answers.other")) << "another user's file";
  }
  EXPECT_EQ(ReadWholeFile(directory.File("target")), "target\n");
}

TEST_F(TempFiles, ARunGoingOnKeepsItsFilesWithoutAPid) {
  Claim();  // a run that goes on
  Create("TESStartTmp.sh");
  Create("tessardbsetup-answers.r4nD0m");
  const std::string gone = "zep2inst" + std::to_string(GonePid()) + ".sh";
  Create(gone);
  EXPECT_EQ(Claim(), std::vector<std::string>{gone}) << "only the file of a gone pid";
  EXPECT_TRUE(Exists("TESStartTmp.sh"));
  EXPECT_TRUE(Exists("tessardbsetup-answers.r4nD0m"));

  ReleaseHolds();  // both runs ended
  EXPECT_EQ(Claim(), (std::vector<std::string>{"TESStartTmp.sh", "tessardbsetup-answers.r4nD0m"}));
}

TEST_F(TempFiles, RemovedAtEndOnlyWhileStillAPlainFileOfOurs) {
  Create("mine");
  Create("target");
  ASSERT_EQ(symlink(directory.File("target").c_str(), directory.File("link").c_str()), 0);
  QelRemoveAtEnd(directory.File("mine"));
  QelRemoveAtEnd(directory.File("mine"));
  QelRemoveAtEnd(directory.File("link"));
  QelRemoveAtEnd(directory.File("never-written"));
  QelRemoveTempFiles();
  EXPECT_FALSE(Exists("mine"));
  EXPECT_TRUE(Exists("link"));
  EXPECT_EQ(ReadWholeFile(directory.File("target")), "target\n");
}

}  // namespace
