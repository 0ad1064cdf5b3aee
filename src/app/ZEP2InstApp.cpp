// Command-line reading and the start and end of a run.
#include "ZEP2InstApp.h"

#include <cstdio>
#include <fstream>
#include <string>

#include "../platform/QelLog.h"
#include "../platform/QelSystem.h"
#include "ZEP2InstHQ.h"
#include "pages/ZEP2Pages.h"

ZEP2InstApp::ZEP2InstApp() : QelInteractiveApplication(nullptr, "Install_ZEP") {}

ZEP2InstApp::~ZEP2InstApp() {
  _ArgVector = nullptr;
}

void ZEP2InstApp::BeginApplication() {
  _ArgVector = nullptr;
  GetArgs(_ArgCount, _ArgVector);
  const char* outLog = QelFindOptionValue(_ArgCount, _ArgVector, "-logout");
  const char* errLog = QelFindOptionValue(_ArgCount, _ArgVector, "-logerr");
  const char* traceLog = QelFindOptionValue(_ArgCount, _ArgVector, "-logtrace");
  _Controller = std::make_unique<ZEP2InstHQ>(this, "ZEP2InstHQ", outLog ? outLog : "",
                                             errLog ? errLog : "", traceLog ? traceLog : "");
  _Controller->Build();
}

int ZEP2InstApp::EndApplication() {
  return _ExitStatus;
}

void ZEP2InstApp::ReportEnd(int exitStatus) {
  // The son's failures reach the father's caller through the father alone;
  // a cancelled or refused run (2) has already said why on stderr.
  if (exitStatus == 0 || exitStatus == 2 || QelGetEnv("FATHERPID")) return;
  const QelLogPaths paths = QelCurrentLogPaths();
  std::ifstream errors(paths.errLog);
  std::string firstError;
  while (firstError.empty() && std::getline(errors, firstError)) {
  }
  std::fprintf(stderr, "tessardbsetup: %s (exit status %d)%s%s; log %s, error log %s, trace %s\n",
               GetOutcome().c_str(), exitStatus,
               firstError.empty() ? "" : "; first error: ", firstError.c_str(), paths.log.c_str(),
               paths.errLog.c_str(), paths.trace.c_str());
}
