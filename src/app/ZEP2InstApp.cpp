// Command-line reading and the start and end of a run.
#include "ZEP2InstApp.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "../engine/ZEP2ValidationMode.h"
#include "../platform/QelLog.h"
#include "../platform/QelRunNotes.h"
#include "../platform/QelSystem.h"
#include "../platform/QelTempFiles.h"
#include "ZEP2CommandLine.h"
#include "ZEP2InstHQ.h"
#include "engine/ZEP2InstallOutcome.h"
#include "pages/ZEP2Pages.h"

ZEP2InstApp::ZEP2InstApp() : QelInteractiveApplication(nullptr, "Install_ZEP") {}

ZEP2InstApp::~ZEP2InstApp() {
  _ArgVector = nullptr;
}

void ZEP2InstApp::BeginApplication() {
  _ArgVector = nullptr;
  GetArgs(_ArgCount, _ArgVector);
  // Before the controller, which takes the terminal and opens the logs.
  const ZEP2CommandLineCheck commandLine = ZEP2CheckCommandLine(_ArgCount, _ArgVector);
  switch (commandLine.request) {
    case ZEP2CommandLineRequest::Help:
      std::fputs(ZEP2UsageText().c_str(), stdout);
      Abort(0, "");
      return;
    case ZEP2CommandLineRequest::Version:
      std::fputs(ZEP2VersionText().c_str(), stdout);
      Abort(0, "");
      return;
    case ZEP2CommandLineRequest::Refused:
      std::fprintf(stderr, "tessardbsetup: %s\n", commandLine.message.c_str());
      Abort(2, commandLine.message);
      return;
    case ZEP2CommandLineRequest::Run:
      for (const std::string& line : commandLine.ignored)
        std::fprintf(stderr, "tessardbsetup: %s\n", line.c_str());
      break;
  }
  const char* outLog = QelFindOptionValue(_ArgCount, _ArgVector, "-logout");
  const char* errLog = QelFindOptionValue(_ArgCount, _ArgVector, "-logerr");
  const char* traceLog = QelFindOptionValue(_ArgCount, _ArgVector, "-logtrace");
  const char* validateJson = QelFindOptionValue(_ArgCount, _ArgVector, "-validate-json");
  if (validateJson || commandLine.checkOnly) {
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
  // The son's outcome reaches the father's caller through the father alone;
  // a command line refused, or help asked for, ran nothing to tell of.
  if (QelGetEnv("FATHERPID") || !_Controller) return;
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
