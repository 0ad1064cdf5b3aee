// The first process starts the log files afresh; the son keeps what its
// father wrote and appends.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "TempDirectory.h"
#include "app/ZEP2InstApp.h"
#include "app/ZEP2InstHQ.h"
#include "platform/QelLog.h"
#include "platform/QelSettings.h"
#include "settings/InstSettingsLock.h"

namespace {

using H = ZEP2InstHQ;

class LogFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    H::ResetInstallationParameters();
    setenv("QelUserSettingPath", directory.File("settings").c_str(), 1);
    unsetenv("TESSARDBSETUP_TRACE_LEVEL");
    // The pages' catalogues as shipped: a missing one is a warning of the
    // run, written to the error log these tests read whole.
    const std::string catalogues =
        (std::filesystem::path(__FILE__).parent_path() / "../../share/msgcatalog").string();
    setenv("QelMsgCatalogPath", catalogues.c_str(), 1);
  }
  void TearDown() override {
    QelCloseLogFiles();
    unsetenv("QelMsgCatalogPath");
  }

  // A run: the trace as the constructor left it, before Build writes.
  std::string Start() {
    QelSetErrLogFile(directory.File("err").c_str());
    H controller(&application, "ZEP2InstHQ", directory.File("log"), directory.File("err"),
                 directory.File("trace"));
    const std::string traceBeforeBuild = ReadWholeFile(directory.File("trace"));
    controller.Build();
    WriteLogFile("log line\n");
    WriteErrLogFile("error line\n");
    QelCloseLogFiles();
    return traceBeforeBuild;
  }

  TempDirectory directory;
  ZEP2InstApp application;
};

TEST_F(LogFiles, FirstProcessTruncatesAndSonAppends) {
  for (const char* name : {"log", "err", "trace"}) {
    std::ofstream(directory.File(name)) << "left over from an earlier run\n";
  }
  Start();
  for (const char* name : {"log", "err", "trace"}) {
    EXPECT_EQ(ReadWholeFile(directory.File(name)).find("earlier run"), std::string::npos) << name;
  }
  EXPECT_EQ(ReadWholeFile(directory.File("log")), "log line\n");

  // The son: the settings file marks Part II, and its father, which holds
  // the settings lock, is named by FATHERPID (0: nobody to signal).
  QelSettingsServices(directory.File("settings"))
      .WriteSetting("TES_INST_PARTII", "Y", "TESSARInst");
  ZEP2InstSettingsLock fatherLock;
  std::string error;
  ASSERT_EQ(fatherLock.Acquire(error), 0) << error;
  H::ResetInstallationParameters();
  setenv("FATHERPID", "0", 1);
  Start();
  unsetenv("FATHERPID");
  EXPECT_EQ(ReadWholeFile(directory.File("log")), "log line\nlog line\n");
  EXPECT_EQ(ReadWholeFile(directory.File("err")), "error line\nerror line\n");
  // The son read no TES_EXE_INDB, so it runs without database execution.
  const std::string trace = ReadWholeFile(directory.File("trace"));
  const std::size_t father = trace.find("\nDatabase execution mode\nNO File execution mode\n");
  const std::size_t son = trace.find("\nNO Database execution mode\nNO File execution mode\n");
  EXPECT_NE(father, std::string::npos);
  EXPECT_NE(son, std::string::npos);
  EXPECT_LT(father, son) << "the son appends after what its father wrote";
}

TEST_F(LogFiles, ReadingTheSettingsWritesNoTraceAndFilesArePrivate) {
  QelSettingsServices(directory.File("settings"))
      .WriteSetting("TES_INST_PARTII", "N", "TESSARInst");
  // A trace left readable by everybody is ours to narrow before we write.
  std::ofstream(directory.File("trace")) << "earlier\n";
  ASSERT_EQ(chmod(directory.File("trace").c_str(), 0644), 0);
  EXPECT_EQ(Start(), "") << "the constructor, settings read included, traces nothing";
  EXPECT_NE(ReadWholeFile(directory.File("trace")).find("\nNO File execution mode\n"),
            std::string::npos);
  struct stat info {};
  ASSERT_EQ(stat(directory.File("trace").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(LogFiles, ALinkInPlaceOfTheTraceIsRefused) {
  const std::string victim = directory.File("victim");
  std::ofstream(victim) << "precious";
  ASSERT_EQ(symlink(victim.c_str(), directory.File("trace").c_str()), 0);
  Start();
  EXPECT_EQ(ReadWholeFile(victim), "precious");
}

TEST_F(LogFiles, TraceLevelLimitDropsDeeperLines) {
  setenv("TESSARDBSETUP_TRACE_LEVEL", "0", 1);
  ASSERT_EQ(OpenTraceLogFile(directory.File("trace").c_str(), 1), 0);
  WriteTraceLogFile("\nBegin ...\n", 0);
  WriteTraceLogFile("\nvalue", 1);
  QelCloseLogFiles();
  unsetenv("TESSARDBSETUP_TRACE_LEVEL");
  EXPECT_EQ(ReadWholeFile(directory.File("trace")), "\nBegin ...\n");
}

}  // namespace
