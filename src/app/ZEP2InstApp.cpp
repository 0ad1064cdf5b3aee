// Command-line reading and the start and end of a run.
#include "ZEP2InstApp.h"

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
