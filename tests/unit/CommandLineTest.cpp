// How the command line picks the log paths: every argument is examined as an
// option, the last occurrence wins, a dangling option is ignored.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempDirectory.h"
#include "app/ZEP2InstApp.h"
#include "app/ZEP2InstHQ.h"
#include "platform/QelApplication.h"
#include "platform/QelLog.h"

namespace {

struct OptionCase {
  std::vector<const char*> arguments;
  const char* option;
  const char* expected;  // null: not found
};

void PrintTo(const OptionCase& option, std::ostream* out) {
  for (const char* argument : option.arguments) *out << (argument ? argument : "(null)") << ' ';
}

class CommandLine : public ::testing::TestWithParam<OptionCase> {};

TEST_P(CommandLine, FindsTheValueOfTheLastUsableOccurrence) {
  std::vector<char*> vector;
  for (const char* argument : GetParam().arguments) vector.push_back(const_cast<char*>(argument));
  const char* found =
      QelFindOptionValue(static_cast<int>(vector.size()), vector.data(), GetParam().option);
  if (GetParam().expected) {
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found, GetParam().expected);
  } else {
    EXPECT_EQ(found, nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CommandLine,
    ::testing::Values(OptionCase{{"prog"}, "-logout", nullptr},
                      OptionCase{{"prog", "-logout", "L"}, "-logout", "L"},
                      OptionCase{{"prog", "-logout"}, "-logout", nullptr},
                      OptionCase{{"prog", "-logtrace", "A", "-logtrace", "B"}, "-logtrace", "B"},
                      OptionCase{{"prog", "-logtrace", "A", "-logtrace"}, "-logtrace", "A"},
                      // The value after an option is examined as an option too.
                      OptionCase{{"prog", "-logout", "-logtrace", "T"}, "-logout", "-logtrace"},
                      OptionCase{{"prog", "-logout", "-logtrace", "T"}, "-logtrace", "T"},
                      OptionCase{{"prog", "-logout", nullptr}, "-logout", nullptr},
                      // Argument 0 is examined as well.
                      OptionCase{{"-logerr", "E"}, "-logerr", "E"},
                      OptionCase{{"prog", "-LOGOUT", "L", "-logout=L"}, "-logout", nullptr}),
    [](const ::testing::TestParamInfo<OptionCase>& info) {
      return "Case" + std::to_string(info.index);
    });

class ApplicationStart : public ::testing::Test {
 protected:
  void SetUp() override {
    ZEP2InstHQ::ResetInstallationParameters();
    setenv("QelUserSettingPath", directory.File("settings").c_str(), 1);
  }
  void TearDown() override { QelCloseLogFiles(); }
  TempDirectory directory;
};

TEST_F(ApplicationStart, PathsReachTheControllerAndEmptyOnesSelectDefaults) {
  setenv("TESSARDBSETUP_LOGDIR", directory.Path().c_str(), 1);
  const std::string trace = directory.File("t2");
  std::vector<std::string> storage = {"tessardbsetup", "-logtrace", directory.File("t1"),
                                      "-logout",       "-logtrace", trace};
  std::vector<char*> vector;
  for (std::string& argument : storage) vector.push_back(argument.data());

  // "-logout -logtrace" makes "-logtrace" the out-log: a file in the cwd.
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(directory.Path());
  ZEP2InstApp application;
  ASSERT_EQ(QelApplication::MainApplication(), &application);
  const int status = application.Run(static_cast<int>(vector.size()), vector.data());

  std::filesystem::current_path(previous);
  EXPECT_EQ(status, 2) << "nothing set a status: the run ends cancelled";
  EXPECT_EQ(ZEP2InstHQ::_svFullPathNameOfOutLogFile.str(), "-logtrace");
  EXPECT_EQ(ZEP2InstHQ::_svFullPathNameOfTraceLogFile.str(), trace);
  EXPECT_EQ(ZEP2InstHQ::_svFullPathNameOfErrLogFile.str(), "");
  EXPECT_NE(ReadWholeFile(trace).find("\nNO File execution mode\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(directory.File("t1"))) << "the second -logtrace wins";
  EXPECT_TRUE(std::filesystem::exists(directory.File("-logtrace")));
  // No -logerr: the error log is the default one, next to the other defaults.
  EXPECT_EQ(QelDefaultLogPath("err"), directory.File("tessardbsetup.err"));
  unsetenv("TESSARDBSETUP_LOGDIR");
}

}  // namespace
