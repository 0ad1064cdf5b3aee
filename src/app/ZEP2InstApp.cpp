// Command-line reading and the start and end of a run.
#include "ZEP2InstApp.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "../engine/ZEP2ValidationMode.h"
#include "../platform/QelLog.h"
#include "../platform/QelRunNotes.h"
#include "../platform/QelSystem.h"
#include "../platform/QelTempFiles.h"
#include "ZEP2InstHQ.h"
#include "engine/ZEP2InstallOutcome.h"
#include "pages/ZEP2Pages.h"

namespace {

constexpr const char* Usage =
    "usage: tessardbsetup [-logout FILE] [-logerr FILE] [-logtrace FILE] [-responsefile FILE]\n"
    "                     [-validate] [-validate-json FILE]\n"
    "\n"
    "The database-setup wizard of the PDM server.\n"
    "\n"
    "  -responsefile FILE  run silently with the answers of FILE (see README.md)\n"
    "  -logout FILE        the log: decisions and statements\n"
    "  -logerr FILE        the error log\n"
    "  -logtrace FILE      the trace: every step, value and decision\n"
    "  -validate           check only: walk the pages, then run every check the\n"
    "                      installation depends on and report all problems; nothing\n"
    "                      is created or changed (exit status 0 ready, 6 not ready)\n"
    "  -validate-json FILE with -validate (implied): the report as a JSON document,\n"
    "                      readable by its owner only\n"
    "\n"
    "Without a response file the wizard runs interactively in the terminal (standard\n"
    "input and output must be a terminal of at least 80x24). Keys: Tab, Shift-Tab and\n"
    "the arrows move; Space checks a box or opens a list; Enter leaves a field or\n"
    "presses the marked button; Esc or F10 closes the wizard.\n"
    "The second part of the wizard runs as WQ0INST with the same options.\n"
    "Exit status: 0 installed, 1 failed, 2 cancelled or closed (see README.md).\n";

bool HasFlag(int count, char** vector, const char* flag) {
  for (int i = 1; i < count; ++i) {
    if (vector[i] && std::strcmp(vector[i], flag) == 0) return true;
  }
  return false;
}

bool AsksForHelp(int count, char** vector) {
  for (int i = 1; i < count; ++i) {
    if (vector[i] && (std::strcmp(vector[i], "--help") == 0 || std::strcmp(vector[i], "-h") == 0))
      return true;
  }
  return false;
}

}  // namespace

ZEP2InstApp::ZEP2InstApp() : QelInteractiveApplication(nullptr, "Install_ZEP") {}

ZEP2InstApp::~ZEP2InstApp() {
  _ArgVector = nullptr;
}

void ZEP2InstApp::BeginApplication() {
  _ArgVector = nullptr;
  GetArgs(_ArgCount, _ArgVector);
  if (AsksForHelp(_ArgCount, _ArgVector)) {
    std::fputs(Usage, stdout);
    Abort(0, "");
    return;
  }
  const char* outLog = QelFindOptionValue(_ArgCount, _ArgVector, "-logout");
  const char* errLog = QelFindOptionValue(_ArgCount, _ArgVector, "-logerr");
  const char* traceLog = QelFindOptionValue(_ArgCount, _ArgVector, "-logtrace");
  const char* validateJson = QelFindOptionValue(_ArgCount, _ArgVector, "-validate-json");
  if (validateJson || HasFlag(_ArgCount, _ArgVector, "-validate")) {
    zep2validation::Request(validateJson ? validateJson : "");
  }
  // Before the controller: its front end may write to /tmp at once.
  const std::vector<std::string> leftovers = QelClaimTempDirectory();
  _Controller = std::make_unique<ZEP2InstHQ>(this, "ZEP2InstHQ", outLog ? outLog : "",
                                             errLog ? errLog : "", traceLog ? traceLog : "");
  for (const std::string& name : leftovers) {
    WriteLogFile("\nRemoved /tmp/" + QelUnicodeString(name) + ", left by a run that did not end\n");
  }
  _Controller->Build();
}

int ZEP2InstApp::EndApplication() {
  return _ExitStatus;
}

void ZEP2InstApp::ReportEnd(int exitStatus) {
  QelRemoveTempFiles();
  // The son's outcome reaches the father's caller through the father alone.
  if (QelGetEnv("FATHERPID")) return;
  // What waited for the terminal comes before the last line.
  QelFlushLogFiles();
  // A silent run always ends with its outcome: nobody watched its pages. At
  // a terminal the report page has told it; a failure, a finish with
  // warnings and a run a test fault acted in are said whatever else.
  const bool silent = QelFindOptionValue(_ArgCount, _ArgVector, "-responsefile") != nullptr;
  std::string installed;
  std::string installation;
  const bool ranInstallation = QelInstallOutcome(installed, installation);
  const bool warned = exitStatus == 0 && !QelRunNotes(QelRunNoteKind::Warning).empty();
  const bool tested = !QelRunNotes(QelRunNoteKind::TestFault).empty();
  if (!silent && !ranInstallation && (exitStatus == 0 || exitStatus == 2) && !warned && !tested)
    return;
  const QelLogPaths paths = QelCurrentLogPaths();
  std::string details = ranInstallation ? "; " + installation : "";
  // A failure's first error says why, where the outcome may only say where;
  // a cancel or an interruption has no error to quote, and a finished
  // run's error log holds its warnings.
  const bool failed = !ranInstallation || installed.rfind("installation failed", 0) == 0;
  std::ifstream errors(paths.errLog);
  std::string firstError;
  while (failed && exitStatus != 0 && exitStatus != 2 && firstError.empty() &&
         std::getline(errors, firstError)) {
  }
  if (!firstError.empty()) details += "; first error: " + firstError;
  std::fprintf(stderr, "tessardbsetup: %s (exit status %d)%s; %s\n", GetOutcome().c_str(),
               exitStatus, details.c_str(),
               ZEP2RunFilesInWords({paths.log, paths.errLog, paths.trace}).c_str());
}
