// Processes are started with posix_spawn so the child gets exactly the
// environment of the parent; the pending trace is written first, so nothing
// traced before the start can appear after the child's own lines.
#include "QelSystem.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include "QelDisplay.h"
#include "QelLog.h"

extern char** environ;

const char* QelGetEnv(const char* name) {
  return std::getenv(name);
}

namespace {

int StartProcess(const QelUnicodeString& program, const QelListValQelUnicodeString& arguments,
                 int wait, bool withLog, int& pid, int& code) {
  std::vector<char*> argv;
  for (const QelUnicodeString& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  if (argv.empty()) argv.push_back(const_cast<char*>(program.c_str()));
  argv.push_back(nullptr);

  QelFlushLogFiles();
  pid_t child = 0;
  // While the terminal front end draws, a child's output would land in the
  // middle of the page and a child reading would take the person's keys:
  // its standard descriptors go to /dev/null instead. A child meant to own
  // the terminal (the son) is started after the display released it.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const QelDisplay* display = QelGetDisplay();
  const bool quiet = display && display->HoldsTerminal();
  // A command waited for leads a process group of its own, so that an
  // interruption ends it with everything it started; away from the
  // terminal's foreground group, a read of the terminal would stop it, and
  // none of these commands has anything to read.
  if (quiet || wait) {
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  }
  if (quiet) {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  }
  // A copy above the child's log descriptor: a log that happens to be
  // descriptor 9 would otherwise keep its close-on-exec flag.
  const int log = QelLogDescriptor();
  const int logCopy = withLog && log >= 0 ? fcntl(log, F_DUPFD_CLOEXEC, 10) : -1;
  if (logCopy >= 0) {
    posix_spawn_file_actions_adddup2(&actions, logCopy, QelChildLogDescriptor);
  } else if (withLog) {
    posix_spawn_file_actions_addopen(&actions, QelChildLogDescriptor, "/dev/null", O_WRONLY, 0);
  }
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  if (wait) {
    // Ignored by whoever started us (nohup), SIGTERM would not end it.
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&defaults, signal);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);
  }
  // A bare name is looked up on PATH, as the shell would.
  const bool searchPath = program.str().find('/') == std::string::npos;
  const int spawned =
      searchPath
          ? posix_spawnp(&child, program.c_str(), &actions, &attributes, argv.data(), environ)
          : posix_spawn(&child, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (logCopy >= 0) close(logCopy);
  if (spawned != 0) {
    // glibc reports an exec failure here; the child never ran.
    pid = 0;
    code = wait ? 127 : -1;
    errno = spawned;
    return -1;
  }
  pid = child;
  code = 0;
  if (!wait) return 0;
  return QelWaitProcess(child, code);
}

}  // namespace

int QelStartProcess(const QelUnicodeString& program, const QelListValQelUnicodeString& arguments,
                    int wait, int& pid, int& code) {
  return StartProcess(program, arguments, wait, false, pid, code);
}

int QelStartProcessWithLog(const QelUnicodeString& program,
                           const QelListValQelUnicodeString& arguments, int wait, int& pid,
                           int& code) {
  return StartProcess(program, arguments, wait, true, pid, code);
}

int QelRunShellCommand(const std::string& command) {
  QelListValQelUnicodeString arguments;
  arguments.Append("sh");
  arguments.Append("-c");
  arguments.Append(command);
  int pid = 0;
  int code = 0;
  QelStartProcess("/bin/sh", arguments, 1, pid, code);
  return code;
}

int QelFileAccess(const QelUnicodeString& path, int mode) {
  return access(path.c_str(), mode) == 0 ? 0 : -1;
}

int QelGetFileInfo(const QelUnicodeString& path, QelFileInfo& info) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return -1;
  info.size = status.st_size;
  info.permissions = status.st_mode & 07777;
  info.uid = status.st_uid;
  info.gid = status.st_gid;
  return 0;
}

int QelGetSystemInfo(QelSystemInfo& info) {
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) != 0) return -1;
  info.hostName = host;
  return 0;
}
