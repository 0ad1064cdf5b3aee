// Safe creation of the program's own files (logs, settings, scripts).
#include "QelSecureFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "QelFaultInjection.h"

namespace {

std::string Reason(const std::string& path, const char* what) {
  return path + ": " + what;
}

bool CheckOwnedRegularFile(int descriptor, const std::string& path, std::string& error) {
  struct stat info {};
  if (fstat(descriptor, &info) != 0) {
    error = Reason(path, std::strerror(errno));
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    error = Reason(path, "not a regular file");
    return false;
  }
  // A second link could make the program write through a name it never chose.
  if (info.st_nlink > 1) {
    error = Reason(path, "has more than one link");
    return false;
  }
  if (info.st_uid != geteuid()) {
    error = Reason(path, "belongs to another user");
    return false;
  }
  return true;
}

// Every write of the file services may be the one an injected fault fails,
// as a full disk would.
bool WriteAll(int descriptor, std::string_view content) {
  if (QelFaultDue(QelFaultKind::FileWrite)) {
    errno = ENOSPC;
    return false;
  }
  while (!content.empty()) {
    const ssize_t written = write(descriptor, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

int QelOpenOwnedFile(const std::string& path, int extraFlags, mode_t mode, std::string& error) {
  // O_TRUNC is applied only once the file is known to be ours.
  const bool truncate = extraFlags & O_TRUNC;
  const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | (extraFlags & ~O_TRUNC);
  const int descriptor = open(path.c_str(), flags, mode);
  if (descriptor < 0) {
    error = Reason(path, errno == ELOOP ? "is a symbolic link" : std::strerror(errno));
    return -1;
  }
  // An existing file keeps no wider mode than the one asked for: what the
  // program writes into it may be secret.
  if (!CheckOwnedRegularFile(descriptor, path, error) ||
      (truncate && ftruncate(descriptor, 0) != 0) || fchmod(descriptor, mode) != 0) {
    if (error.empty()) error = Reason(path, std::strerror(errno));
    close(descriptor);
    return -1;
  }
  return descriptor;
}

int QelWriteFileAtomically(const std::string& path, std::string_view content, mode_t mode,
                           std::string& error) {
  struct stat existing {};
  if (lstat(path.c_str(), &existing) == 0) {
    if (S_ISLNK(existing.st_mode)) {
      error = Reason(path, "is a symbolic link");
      return -1;
    }
    if (existing.st_uid != geteuid()) {
      error = Reason(path, "belongs to another user");
      return -1;
    }
  }
  std::string pattern = path + ".tmpXXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int descriptor = mkostemp(name.data(), O_CLOEXEC);
  if (descriptor < 0) {
    error = Reason(path, std::strerror(errno));
    return -1;
  }
  const bool written = fchmod(descriptor, mode) == 0 && WriteAll(descriptor, content);
  const int savedErrno = errno;
  close(descriptor);
  if (!written || rename(name.data(), path.c_str()) != 0) {
    error = Reason(path, std::strerror(written ? errno : savedErrno));
    unlink(name.data());
    return -1;
  }
  return 0;
}

int QelAppendToOwnedFile(const std::string& path, std::string_view content, mode_t mode,
                         std::string& error) {
  const int descriptor = QelOpenOwnedFile(path, O_APPEND, mode, error);
  if (descriptor < 0) return -1;
  const bool written = WriteAll(descriptor, content) && fsync(descriptor) == 0;
  if (!written) error = Reason(path, std::strerror(errno));
  close(descriptor);
  return written ? 0 : -1;
}

int QelMakeDirectories(const std::string& path, mode_t mode) {
  if (path.empty()) return -1;
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string prefix = path.substr(0, slash);
    if (mkdir(prefix.c_str(), mode) != 0 && errno != EEXIST) return -1;
    if (slash == std::string::npos) break;
  }
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? 0 : -1;
}
