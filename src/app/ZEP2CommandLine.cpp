// The options the program takes, one table for the check and the usage text.
// The manual page (docs/man/tessardbsetup.1.in) says the same; the command
// line test holds the two together.
#include "ZEP2CommandLine.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#ifndef TESSARDBSETUP_VERSION
#error "TESSARDBSETUP_VERSION comes from the project's version in CMakeLists.txt"
#endif

namespace {

enum class MissingFile {
  // The log paths: without one the default file is used, so a dangling
  // log option is ignored and the run goes on.
  Ignored,
  // A response file or record asked for and not named would start a
  // different run from the one meant: nothing runs.
  Refused,
};

struct Option {
  const char* name;
  const char* what;  // for the line about a dangling option
  MissingFile missing;
  const char* meaning;
};

constexpr std::array Options{
    Option{"-responsefile", "response file", MissingFile::Refused,
           "run silently with the answers of FILE"},
    Option{"-record", "record", MissingFile::Refused,
           "write the run's answers to FILE, a response file that replays it"},
    Option{"-logout", "log", MissingFile::Ignored, "the log: decisions and statements"},
    Option{"-logerr", "error log", MissingFile::Ignored,
           "the error log: errors for the administrator"},
    Option{"-logtrace", "trace", MissingFile::Ignored, "the trace: every step, value and decision"},
    Option{"-validate-json", "check report", MissingFile::Refused,
           "with -validate (implied): the check's report as a JSON document, owner-only"},
};

// The one option without a value.
constexpr const char* CheckOnly = "-validate";

const Option* Find(const char* argument) {
  const auto found = std::find_if(Options.begin(), Options.end(), [&](const Option& option) {
    return std::strcmp(option.name, argument) == 0;
  });
  return found == Options.end() ? nullptr : &*found;
}

bool IsAny(const char* argument, std::initializer_list<std::string_view> names) {
  return std::find(names.begin(), names.end(), argument) != names.end();
}

// The one line for an option whose file is missing; empty when the option
// has its file.
std::string CheckValue(const Option& option, const char* value, bool& refused) {
  const std::string name = option.name;
  refused = false;
  if (option.missing == MissingFile::Ignored) {
    if (value) return "";
    return name + " without a file name is ignored: the default " + option.what + " is used";
  }
  refused = true;
  if (!value || !*value) return name + " needs a file name";
  if (Find(value)) return name + " needs a file name, not the option " + value;
  refused = false;
  return "";
}

}  // namespace

ZEP2CommandLineCheck ZEP2CheckCommandLine(int count, char* const* vector) {
  ZEP2CommandLineCheck check;
  for (int i = 1; i < count; ++i) {
    if (!vector[i]) continue;
    if (IsAny(vector[i], {"--help", "-h"})) return {ZEP2CommandLineRequest::Help, "", {}};
    if (IsAny(vector[i], {"--version"})) check.request = ZEP2CommandLineRequest::Version;
  }
  if (check.request == ZEP2CommandLineRequest::Version) return check;
  for (int i = 1; i < count; ++i) {
    const char* argument = vector[i];
    if (!argument) continue;
    const char* value = i + 1 < count ? vector[i + 1] : nullptr;
    if (const Option* option = Find(argument)) {
      bool refused = false;
      const std::string line = CheckValue(*option, value, refused);
      if (refused) return {ZEP2CommandLineRequest::Refused, line, {}};
      if (!line.empty()) check.ignored.push_back(line);
      continue;
    }
    // A value may start with a dash ("-logout -my.log"); anything else that
    // does is an option this program does not know.
    const bool isValue = i > 1 && vector[i - 1] && Find(vector[i - 1]);
    if (!isValue && std::strcmp(argument, CheckOnly) == 0) {
      check.checkOnly = true;
      continue;
    }
    if (!isValue && argument[0] == '-' && argument[1] != '\0') {
      return {
          ZEP2CommandLineRequest::Refused,
          "unknown option " + std::string(argument) + " (tessardbsetup --help lists the options)",
          {}};
    }
  }
  return check;
}

std::string ZEP2UsageText() {
  std::string text =
      "usage: tessardbsetup [-responsefile FILE] [-record FILE]\n"
      "                     [-logout FILE] [-logerr FILE] [-logtrace FILE]\n"
      "                     [-validate] [-validate-json FILE]\n"
      "       tessardbsetup --help | --version\n"
      "\n"
      "The database-setup wizard of the PDM server.\n"
      "\n"
      "Options:\n";
  for (const Option& option : Options) {
    std::string name = "  " + std::string(option.name) + " FILE";
    name.resize(22, ' ');
    text += name + option.meaning + "\n";
  }
  text +=
      "  -validate           check only: walk the pages, then run every check the\n"
      "                      installation depends on and report all problems; nothing\n"
      "                      is created or changed\n"
      "  -h, --help          print this help and exit\n"
      "  --version           print the program's name and version and exit\n"
      "\n"
      "A later occurrence of an option overrides an earlier one. A log option without\n"
      "a file is ignored; without one, each file goes to the log directory as\n"
      "tessardbsetup.log, tessardbsetup.err and tessardbsetup.trace. An unknown option,\n"
      "or -responsefile or -record without a file, ends the program with status 2.\n"
      "\n"
      "Without a response file the wizard runs interactively in the terminal (standard\n"
      "input and output must be a terminal of at least 80x24). Keys: Tab, Shift-Tab and\n"
      "the arrows move; Space checks a box or opens a list; Enter leaves a field or\n"
      "presses the marked button; F1 shows the page's help; Alt and a button's\n"
      "underlined letter press it; Esc or F10 closes the wizard, asking first once\n"
      "something is answered.\n"
      "The second part of the wizard runs as WQ0INST with the same options.\n"
      "\n"
      "Environment:\n"
      "  QelInstallPath, QelCommandPath   the installed PDM tree and its commands\n"
      "  QelReffilesPath                  the reference files (DDL repository, samples)\n"
      "  QelDictionaryPath                directory of the project file ZEPAdmin.adm\n"
      "  QelvarV5_environment_directory, QelvarV5_environment_name\n"
      "                                   the runtime's environment file\n"
      "  QelUserSettingPath               the settings repositories\n"
      "                                   (default $HOME/.tessardbsetup)\n"
      "  QelMsgCatalogPath                directories of the message catalogues\n"
      "  TESSARDBSETUP_LOGDIR             the log directory (default $HOME, else /tmp)\n"
      "  TESSARDBSETUP_TRACE_LEVEL        deepest trace level written, 0 to 4 (default 4)\n"
      "  TESSARDBSETUP_TRANSCRIPT         file that receives one JSON line per event\n"
      "  TESSARDBSETUP_DB2_DRIVER         ODBC driver for DB2 (default DB2)\n"
      "  TESSARDBSETUP_ORACLE_DRIVER      ODBC driver for Oracle (default Oracle)\n"
      "  ODBCSYSINI, ODBCINI              where unixODBC finds odbcinst.ini, odbc.ini\n"
      "  TESSAR_SINGLE_USER               OFF: client authentication, else server\n"
      "  TESSARDBSETUP_NO_PASS_VALIDATION set: the administrator's password is not checked\n"
      "  TESSARDBSETUP_NO_ZEPPROJECT      set: no project file import\n"
      "  TESSARDBSETUP_NO_ZEPRDBEI        set: no status-graph import\n"
      "  TESSARDBSETUP_OFFER_VAULT        1: offer the vault configuration\n"
      "  TESSARDBSETUP_PW_<WIDGET>        a password for the replay of a record\n"
      "  TESSARDBSETUP_TRACE, TRACE_ZEP   1 or more: generated scripts trace their commands\n"
      "  TESSARDBSETUP_SANDBOX            a sandbox site (set by the site's env.sh)\n"
      "  NO_COLOR                         set: no colours in the terminal\n"
      "\n"
      "Exit status: 0 installed; 1 failed, or installation cancelled and rolled back;\n"
      "2 cancelled or closed before the installation, a silent run stopped, or a\n"
      "command-line error; 5 rollback incomplete; 6 a check-only run found problems.\n"
      "See tessardbsetup(1) and README.md.\n";
  return text;
}

std::string ZEP2VersionText() {
  return std::string("tessardbsetup ") + TESSARDBSETUP_VERSION + "\n";
}
