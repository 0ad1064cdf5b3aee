// The application object: reads the command line, creates the controller
// and hands the exit status back to the framework.
#pragma once

#include <memory>

#include "../platform/QelApplication.h"

class ZEP2InstHQ;

class ZEP2InstApp : public QelInteractiveApplication {
 public:
  ZEP2InstApp();
  ~ZEP2InstApp() override;

  void BeginApplication() override;
  int EndApplication() override;
  // A run that failed tells on stderr what happened and where to read more.
  void ReportEnd(int exitStatus) override;

  void SetExitStatus(int status) { _ExitStatus = status; }
  ZEP2InstHQ* GetController() const { return _Controller.get(); }

 private:
  int _ExitStatus = 2;
  int _ArgCount = 0;
  char** _ArgVector = nullptr;
  // The controller lives as long as the application object: to the end of
  // the process in the program, to the end of the test that made it.
  std::unique_ptr<ZEP2InstHQ> _Controller;
};
