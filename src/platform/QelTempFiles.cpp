// Leftovers are recognised by name, owner and file type, and by whether their
// run is gone: a process id in the name, or for the fixed names the lock
// every run holds on the directory. Entries are examined and removed
// relative to the directory's descriptor and never followed: in a sticky
// /tmp nobody else can swap an entry of ours between the look and the
// removal.
#include "QelTempFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <thread>

namespace {

constexpr const char* FixedNames[] = {"TESStartTmp.sh", "TessarEnvCustom.sh",
                                      "ZEP2_db2ilist_result.txt",
                                      "ZEP2_db2ilist_result_sorted.txt"};
// mkstemp names, and the temporary files their atomic rewrites use.
constexpr const char* Prefixes[] = {"tessardbsetup-answers.", "tessardbsetup-record."};
constexpr const char* PidScriptPrefix = "zep2inst";
constexpr const char* PidScriptSuffix = ".sh";

std::vector<std::string>& RemovedAtEnd() {
  static std::vector<std::string> paths;
  return paths;
}

bool ProcessGone(int pid) {
  return kill(pid, 0) != 0 && errno == ESRCH;
}

bool PlainFileOfOurs(int directory, const char* name) {
  struct stat info {};
  return fstatat(directory, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
         info.st_uid == geteuid() && info.st_nlink == 1;
}

// Converting the exclusive lock to a shared one releases it for a moment: a
// run starting then sweeps too, and finds nothing of ours yet. A run that
// keeps its exclusive lock is sweeping: it is waited for, briefly.
void HoldShared(int directory) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (flock(directory, LOCK_SH | LOCK_NB) == 0 || errno != EWOULDBLOCK) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace

bool QelIsTempFileName(const std::string& name, int& pid) {
  pid = 0;
  for (const char* fixed : FixedNames) {
    if (name == fixed) return true;
  }
  for (const char* prefix : Prefixes) {
    if (name.size() > std::string(prefix).size() && name.rfind(prefix, 0) == 0) return true;
  }
  const std::string prefix = PidScriptPrefix;
  const std::string suffix = PidScriptSuffix;
  if (name.size() <= prefix.size() + suffix.size() || name.rfind(prefix, 0) != 0 ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return false;
  }
  const std::string digits =
      name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  if (digits.size() > 9 || digits.front() == '0' ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  pid = std::atoi(digits.c_str());
  return true;
}

int QelClaimTempDirectory(const std::string& directory, std::vector<std::string>& removed) {
  const int descriptor = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return -1;
  // Every run holds the directory shared: getting it exclusively means no
  // run is going on, so nothing under a fixed name is in use.
  const bool alone = flock(descriptor, LOCK_EX | LOCK_NB) == 0;
  const int listing = dup(descriptor);
  const std::unique_ptr<DIR, int (*)(DIR*)> entries(listing >= 0 ? fdopendir(listing) : nullptr,
                                                    closedir);
  if (!entries && listing >= 0) close(listing);
  while (const dirent* entry = entries ? readdir(entries.get()) : nullptr) {
    int pid = 0;
    if (!QelIsTempFileName(entry->d_name, pid)) continue;
    const bool runGone = pid > 0 ? ProcessGone(pid) : alone;
    if (runGone && PlainFileOfOurs(descriptor, entry->d_name) &&
        unlinkat(descriptor, entry->d_name, 0) == 0) {
      removed.push_back(entry->d_name);
    }
  }
  HoldShared(descriptor);
  return descriptor;
}

std::vector<std::string> QelClaimTempDirectory() {
  std::vector<std::string> removed;
  // Never closed: the hold ends with the process (its children do not
  // inherit it, so a command left running holds nothing).
  QelClaimTempDirectory("/tmp", removed);
  return removed;
}

void QelRemoveAtEnd(const std::string& path) {
  std::vector<std::string>& paths = RemovedAtEnd();
  if (std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(path);
}

void QelRemoveTempFiles() {
  for (const std::string& path : RemovedAtEnd()) {
    const std::size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int descriptor = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) continue;
    const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    if (PlainFileOfOurs(descriptor, name.c_str())) unlinkat(descriptor, name.c_str(), 0);
    close(descriptor);
  }
  RemovedAtEnd().clear();
}
