// Choice of the front end for this process.
#pragma once

class QelMainwin {
 public:
  // A response file (-responsefile FILE on the command line, else
  // $TESSARDBSETUP_RESPONSE_FILE) selects the silent front end and is handed
  // on to child processes through that variable. Without one, a terminal is
  // required. When no front end can run, the reason goes to stderr and the
  // run ends with status 2 once the application's start-up returns.
  // 0 when a front end is ready, -1 otherwise.
  static int Initialize();
};
