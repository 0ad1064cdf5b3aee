// How the command line picks the log paths: every argument is examined as an
// option, the last occurrence wins, a dangling option is ignored; and what
// the check before the start lets through.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempDirectory.h"
#include "app/ZEP2CommandLine.h"
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

struct CheckCase {
  std::vector<const char*> arguments;
  ZEP2CommandLineRequest request;
  const char* message;  // Refused: the line; Run: the lines of what is ignored
};

void PrintTo(const CheckCase& check, std::ostream* out) {
  for (const char* argument : check.arguments) *out << (argument ? argument : "(null)") << ' ';
}

class CommandLineCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CommandLineCheck, RefusesUnknownAndIncompleteOptionsWithOneLine) {
  std::vector<char*> vector;
  for (const char* argument : GetParam().arguments) vector.push_back(const_cast<char*>(argument));
  const ZEP2CommandLineCheck check =
      ZEP2CheckCommandLine(static_cast<int>(vector.size()), vector.data());
  EXPECT_EQ(check.request, GetParam().request);
  std::string said = check.message;
  for (const std::string& line : check.ignored) said += line + "\n";
  EXPECT_EQ(said, GetParam().message);
}

using R = ZEP2CommandLineRequest;
constexpr const char* NoRecordFile = "-record needs a file name";
constexpr const char* NoResponseFile = "-responsefile needs a file name";

INSTANTIATE_TEST_SUITE_P(
    Rules, CommandLineCheck,
    ::testing::Values(
        CheckCase{{"prog"}, R::Run, ""},
        CheckCase{{"prog", "-logout", "L", "-logerr", "E", "-logtrace", "T", "-responsefile", "F",
                   "-record", "R"},
                  R::Run,
                  ""},
        // A dangling log option is ignored, and said to be.
        CheckCase{{"prog", "-logtrace"},
                  R::Run,
                  "-logtrace without a file name is ignored: the default trace is used\n"},
        CheckCase{{"prog", "-logerr", nullptr},
                  R::Run,
                  "-logerr without a file name is ignored: the default error log is used\n"},
        CheckCase{{"prog", "-logout", "-logtrace", "T"}, R::Run, ""},
        CheckCase{{"prog", "-logout", "-my.log", "stray", "-"}, R::Run, ""},
        CheckCase{{"prog", "-record"}, R::Refused, NoRecordFile},
        CheckCase{{"prog", "-record", ""}, R::Refused, NoRecordFile},
        CheckCase{{"prog", "-responsefile", nullptr}, R::Refused, NoResponseFile},
        CheckCase{{"prog", "-record", "-logout", "L"},
                  R::Refused,
                  "-record needs a file name, not the option -logout"},
        // Examined as an option although it is -logout's value, as the
        // look-up of the record's file would.
        CheckCase{{"prog", "-logout", "-record"}, R::Refused, NoRecordFile},
        CheckCase{{"prog", "-silent", "F"},
                  R::Refused,
                  "unknown option -silent (tessardbsetup --help lists the options)"},
        CheckCase{{"prog", "-logout", "L", "--logtrace=T"},
                  R::Refused,
                  "unknown option --logtrace=T (tessardbsetup --help lists the options)"},
        CheckCase{{"prog", "-LOGOUT", "L"},
                  R::Refused,
                  "unknown option -LOGOUT (tessardbsetup --help lists the options)"},
        // Asking for help or the version wins over any mistake.
        CheckCase{{"prog", "-bogus", "--help"}, R::Help, ""},
        CheckCase{{"prog", "-record", "-h"}, R::Help, ""},
        CheckCase{{"prog", "--version", "-bogus"}, R::Version, ""},
        CheckCase{{"prog", "--version", "--help"}, R::Help, ""}),
    [](const ::testing::TestParamInfo<CheckCase>& info) {
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
