// Generated scripts run only as this process wrote them: anything found at
// the path beforehand, or swapped in before the start, is refused.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "TempDirectory.h"
#include "app/ZEP2ShellScript.h"
#include "platform/QelLog.h"

namespace {

class ShellScript : public ::testing::Test {
 protected:
  // A script that leaves a mark when it runs.
  std::unique_ptr<ZEP2ShellScript> Write() {
    auto script = std::make_unique<ZEP2ShellScript>(Path(), "TESSARDBSETUP_TRACE");
    script->Line("touch '" + Mark() + "'");
    script->Line("return 7");
    return script;
  }
  std::string Path() const { return directory.File("script.sh"); }
  std::string Mark() const { return directory.File("ran"); }
  bool Ran() const { return access(Mark().c_str(), F_OK) == 0; }

  TempDirectory directory;
};

TEST_F(ShellScript, RunsWhatItWroteAndRemovesIt) {
  auto script = Write();
  ASSERT_TRUE(script->Close()) << script->GetError();
  struct stat info {};
  ASSERT_EQ(stat(Path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0700u);
  int pid = 0;
  int code = 0;
  ASSERT_EQ(script->Run("script.sh", 1, pid, code), 0) << script->GetError();
  EXPECT_EQ(code, 7);
  EXPECT_TRUE(Ran());
  EXPECT_EQ(ReadWholeFile(Path()).rfind("#! /bin/ksh\n\nif [[ $TESSARDBSETUP_TRACE -ge 1 ]]", 0),
            0u);
  script->Remove();
  EXPECT_NE(access(Path().c_str(), F_OK), 0);
}

TEST_F(ShellScript, AnythingButOwnLeftoverAtThePathIsRefusedAndKept) {
  std::ofstream(directory.File("foreign")) << "touch '" << Mark() << "'\n";
  ASSERT_EQ(symlink(directory.File("foreign").c_str(), Path().c_str()), 0);
  EXPECT_FALSE(ZEP2ShellScript(Path(), "T").IsOpen());
  EXPECT_NE(ZEP2ShellScript(Path(), "T").GetError().find("there is a symbolic link to"),
            std::string::npos);
  EXPECT_EQ(ReadWholeFile(directory.File("foreign")), "touch '" + Mark() + "'\n");
  ASSERT_EQ(unlink(Path().c_str()), 0);

  ASSERT_EQ(link(directory.File("foreign").c_str(), Path().c_str()), 0);
  EXPECT_NE(ZEP2ShellScript(Path(), "T").GetError().find("a file with 2 links"), std::string::npos);
  ASSERT_EQ(unlink(Path().c_str()), 0);

  ASSERT_EQ(mkdir(Path().c_str(), 0700), 0);
  EXPECT_NE(ZEP2ShellScript(Path(), "T").GetError().find("there is a directory"),
            std::string::npos);
  ASSERT_EQ(rmdir(Path().c_str()), 0);

  std::ofstream(Path()) << "an earlier run's script\n";
  auto script = Write();
  EXPECT_TRUE(script->IsOpen()) << "a plain file of our own is a leftover, replaced";
  ASSERT_TRUE(script->Close());
  EXPECT_EQ(ReadWholeFile(Path()).find("earlier run"), std::string::npos);
  EXPECT_FALSE(Ran());
}

TEST_F(ShellScript, AScriptChangedAfterWritingIsNotRun) {
  int pid = 0;
  int code = 0;
  {
    auto script = Write();
    ASSERT_TRUE(script->Close());
    ASSERT_EQ(chmod(Path().c_str(), 0777), 0);
    EXPECT_EQ(script->Run("script.sh", 1, pid, code), -1) << "opened to others";
    EXPECT_NE(script->GetError().find("is no longer the script this process wrote"),
              std::string::npos);
    ASSERT_EQ(unlink(Path().c_str()), 0);
  }
  {
    auto script = Write();
    ASSERT_TRUE(script->Close());
    ASSERT_EQ(std::rename(Path().c_str(), directory.File("moved").c_str()), 0);
    std::ofstream(Path()) << "touch '" << Mark() << "'\n";
    ASSERT_EQ(chmod(Path().c_str(), 0700), 0);
    EXPECT_EQ(script->Run("script.sh", 1, pid, code), -1) << "another file in its place";
    script->Remove();
    EXPECT_EQ(access(Path().c_str(), F_OK), 0) << "a file it did not write is not removed";
  }
  EXPECT_FALSE(Ran());
}

}  // namespace

TEST_F(ShellScript, WhatAScriptPrintsGoesToTheLogAndTheTerminalComesBack) {
  const std::string log = directory.File("run.log");
  QelSetErrLogFile(directory.File("run.err").c_str());
  ASSERT_EQ(OpenLogFile(log.c_str(), 1), 0);
  WriteLogFile("before\n");
  {
    ZEP2ShellScript script(Path(), "TESSARDBSETUP_TRACE");
    script.SendOutputToLog(true);
    script.Line("echo paths");
    script.Line("echo complaint >&2");
    script.RestoreOutput();
    // The log's descriptor is not left to the commands that follow.
    script.Line("{ echo leaked >&9; } 2>/dev/null && touch '" + Mark() + "'");
    script.Line("return 0");
    int pid = 0;
    int code = -1;
    ASSERT_EQ(script.Run("script.sh", 1, pid, code), 0) << script.GetError();
    EXPECT_EQ(code, 0);
  }
  EXPECT_FALSE(Ran()) << "descriptor 9 stayed open after RestoreOutput";
  {
    ZEP2ShellScript script(Path(), "TESSARDBSETUP_TRACE");
    script.SendOutputToLog();
    script.Line("echo settings");
    script.Line("return 3");
    int pid = 0;
    int code = -1;
    ASSERT_EQ(script.Run("script.sh", 1, pid, code), 0) << script.GetError();
    EXPECT_EQ(code, 3);
  }
  WriteLogFile("after\n");
  QelCloseLogFiles();
  EXPECT_EQ(ReadWholeFile(log), "before\npaths\ncomplaint\nsettings\nafter\n");
}
