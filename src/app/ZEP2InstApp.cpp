// Command-line reading and the start and end of a run.
#include "ZEP2InstApp.h"

#include "ZEP2InstHQ.h"

ZEP2InstApp::ZEP2InstApp() : QelInteractiveApplication(nullptr, "Install_ZEP") {}

ZEP2InstApp::~ZEP2InstApp() {
  // The controller outlives the application on purpose: callbacks still
  // reachable during shutdown find it intact.
  _ArgVector = nullptr;
  _Controller = nullptr;
}

void ZEP2InstApp::BeginApplication() {
  _ArgVector = nullptr;
  GetArgs(_ArgCount, _ArgVector);
  const char* outLog = QelFindOptionValue(_ArgCount, _ArgVector, "-logout");
  const char* errLog = QelFindOptionValue(_ArgCount, _ArgVector, "-logerr");
  const char* traceLog = QelFindOptionValue(_ArgCount, _ArgVector, "-logtrace");
  // Never deleted: the controller lives until the process ends.
  _Controller = new ZEP2InstHQ(this, "ZEP2InstHQ", outLog, errLog, traceLog);
  _Controller->Build();
}

int ZEP2InstApp::EndApplication() {
  return _ExitStatus;
}
