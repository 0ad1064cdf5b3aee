// Host services: environment, processes, file information.
#pragma once

#include <sys/types.h>

#include <string>

#include "QelList.h"
#include "QelUnicodeString.h"

// The variable's value, or null when it is not set.
const char* QelGetEnv(const char* name);

// Starts program with arguments (the first is the child's argv[0]).
// wait = 1: waits, code is the exit status (128 + signal number when the
// child was killed, 127 when the program could not be executed).
// wait = 0: returns at once, pid is the child's, code 0.
// Returns 0 when the process was started, -1 with errno set when it could
// not be (code then 127 with wait = 1, -1 with wait = 0).
// With wait = 1 the child leads a process group of its own, its standard
// input is /dev/null, and the wait is QelWaitProcess's.
int QelStartProcess(const QelUnicodeString& program, const QelListValQelUnicodeString& arguments,
                    int wait, int& pid, int& code);

// As QelStartProcess, with the log as the child's descriptor
// QelChildLogDescriptor (/dev/null when there is no log): a generated script
// sends its commands' output there instead of the terminal.
constexpr int QelChildLogDescriptor = 9;
int QelStartProcessWithLog(const QelUnicodeString& program,
                           const QelListValQelUnicodeString& arguments, int wait, int& pid,
                           int& code);

// Waits for the child pid; code as for QelStartProcess. An interruption
// (QelSetInterruptAction) arriving before or during the wait ends it: the
// child's process group gets SIGTERM, SIGKILL after a short grace, and code
// tells the signal it died of. 0, or -1 when pid is not a child of this
// process.
int QelWaitProcess(int pid, int& code);

// Runs command with /bin/sh -c, waiting as QelStartProcess does; the
// command's exit code (127 when the shell cannot run).
int QelRunShellCommand(const std::string& command);

// access(2): 0 when the path exists (mode 0) or allows mode.
int QelFileAccess(const QelUnicodeString& path, int mode);

struct QelFileInfo {
  long long size = 0;
  mode_t permissions = 0;
  uid_t uid = 0;
  gid_t gid = 0;
};
// 0 and info filled, or -1 when the path cannot be examined.
int QelGetFileInfo(const QelUnicodeString& path, QelFileInfo& info);

struct QelSystemInfo {
  QelUnicodeString hostName;
};
// Facts about this machine. 0 on success.
int QelGetSystemInfo(QelSystemInfo& info);
