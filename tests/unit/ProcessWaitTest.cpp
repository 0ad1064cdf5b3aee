// A command the program waits for ends with the program's interruptions:
// its whole process group goes, and one deaf to SIGTERM is killed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <string>
#include <thread>

#include "TempDirectory.h"
#include "platform/QelSignal.h"
#include "platform/QelSystem.h"

namespace {

int interruptions = 0;

int CountInterruption(int signal) {
  ++interruptions;
  return signal;
}

class ProcessWait : public ::testing::Test {
 protected:
  void SetUp() override {
    interruptions = 0;
    ASSERT_EQ(QelSetInterruptAction(SIGALRM, CountInterruption, SA_RESTART), 0);
  }
  void TearDown() override {
    alarm(0);
    QelDispatchPendingSignals();
    std::signal(SIGALRM, SIG_DFL);
  }

  // Runs command with sh -c, waiting; its exit code.
  static int Run(const std::string& command) {
    QelListValQelUnicodeString arguments;
    arguments.Append("sh");
    arguments.Append("-c");
    arguments.Append(command);
    int pid = 0;
    int code = 0;
    EXPECT_EQ(QelStartProcess("/bin/sh", arguments, 1, pid, code), 0);
    return code;
  }

  // Whether pid still runs (a zombie waiting for its reaper does not).
  static bool Running(pid_t pid) {
    for (int attempt = 0; attempt < 200; ++attempt) {
      std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
      std::string line;
      if (!std::getline(stat, line)) return false;
      if (line.substr(line.rfind(')') + 2, 1) == "Z") return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }

  TempDirectory directory;
};

TEST_F(ProcessWait, ACommandLeadsItsOwnGroupAndGivesItsCode) {
  const std::string file = directory.File("group");
  EXPECT_EQ(Run("echo $$ $(cut -d' ' -f5 /proc/$$/stat) >'" + file + "'; exit 7"), 7);
  std::ifstream ids(file);
  pid_t pid = 0;
  pid_t group = 0;
  ids >> pid >> group;
  EXPECT_GT(pid, 0);
  EXPECT_EQ(pid, group);
  EXPECT_EQ(interruptions, 0);
}

TEST_F(ProcessWait, AnInterruptionEndsTheCommandAndAllItStarted) {
  const std::string file = directory.File("started");
  alarm(1);
  EXPECT_EQ(Run("sleep 300 & echo $! >'" + file + "'; wait"), 128 + SIGTERM);
  pid_t started = 0;
  std::ifstream(file) >> started;
  ASSERT_GT(started, 0);
  EXPECT_FALSE(Running(started)) << "the command's own child outlived it";
  EXPECT_TRUE(QelInterruptPending()) << "the handler runs later, on the loop";
  QelDispatchPendingSignals();
  EXPECT_EQ(interruptions, 1);
  EXPECT_FALSE(QelInterruptPending());

  // One that arrived before the wait began ends the next wait at once.
  raise(SIGALRM);
  EXPECT_EQ(Run("sleep 300"), 128 + SIGTERM);
}

TEST_F(ProcessWait, ACommandDeafToSigtermIsKilled) {
  alarm(1);
  EXPECT_EQ(Run("trap '' TERM; while :; do sleep 1; done"), 128 + SIGKILL);
}

}  // namespace
