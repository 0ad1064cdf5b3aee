// Processes are started with posix_spawn so the child gets exactly the
// environment of the parent; the pending trace is written first, so nothing
// traced before the start can appear after the child's own lines.
#include "QelSystem.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "QelLog.h"

extern char** environ;

namespace {

int ExitCode(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

const char* QelGetEnv(const char* name) {
  return std::getenv(name);
}

int QelStartProcess(const QelUnicodeString& program, const QelListValQelUnicodeString& arguments,
                    int wait, int& pid, int& code) {
  std::vector<char*> argv;
  for (const QelUnicodeString& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  if (argv.empty()) argv.push_back(const_cast<char*>(program.c_str()));
  argv.push_back(nullptr);

  QelFlushLogFiles();
  pid_t child = 0;
  // A bare name is looked up on PATH, as the shell would.
  const bool searchPath = program.str().find('/') == std::string::npos;
  const int spawned =
      searchPath ? posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv.data(), environ)
                 : posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ);
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

int QelWaitProcess(int pid, int& code) {
  int status = 0;
  pid_t waited;
  do {
    waited = waitpid(pid, &status, 0);
  } while (waited < 0 && errno == EINTR);
  if (waited < 0) {
    code = -1;
    return -1;
  }
  code = ExitCode(status);
  return 0;
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
