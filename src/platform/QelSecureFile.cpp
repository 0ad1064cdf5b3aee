// Safe creation of the program's own files (logs, settings, scripts).
#include "QelSecureFile.h"

#include <fcntl.h>
#include <pwd.h>
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

}  // namespace

// Every write of the file services may be the one an injected fault fails,
// as a full disk would.
bool QelWriteAll(int descriptor, std::string_view content) {
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

namespace {

// A file we own may have been created wider by an earlier version or by
// hand: group and others lose what mode does not give them, so what we write
// now is not readable more widely than asked. The owner's bits stay.
bool NarrowMode(int descriptor, mode_t mode) {
  struct stat info {};
  if (fstat(descriptor, &info) != 0) return false;
  const mode_t wanted = info.st_mode & (mode | S_IRWXU) & 07777;
  return wanted == (info.st_mode & 07777) || fchmod(descriptor, wanted) == 0;
}

int SyncFailure(const std::string& path, int number, std::string& error) {
  error = path + ": written, but its directory cannot be synced: " + std::strerror(number);
  return -1;
}

// A rename is durable once its directory is: a journal or an environment
// file said written must still be there after a power cut. A directory this
// user may not read (EACCES) or a file system that cannot sync one (EINVAL)
// has nothing more to give.
int SyncDirectoryOf(const std::string& path, std::string& error) {
  const std::size_t slash = path.rfind('/');
  const std::string directory =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const int descriptor = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return errno == EACCES ? 0 : SyncFailure(path, errno, error);
  const bool synced = fsync(descriptor) == 0 || errno == EINVAL;
  const int savedErrno = errno;
  close(descriptor);
  return synced ? 0 : SyncFailure(path, savedErrno, error);
}

bool IsOwnLeftover(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1 &&
         info.st_uid == geteuid();
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
  if (!CheckOwnedRegularFile(descriptor, path, error) ||
      (truncate && ftruncate(descriptor, 0) != 0) || !NarrowMode(descriptor, mode)) {
    if (error.empty()) error = Reason(path, std::strerror(errno));
    close(descriptor);
    return -1;
  }
  return descriptor;
}

int QelCreateExclusiveFile(const std::string& path, mode_t mode, std::string& error) {
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  int descriptor = open(path.c_str(), flags, mode);
  if (descriptor < 0 && errno == EEXIST && IsOwnLeftover(path)) {
    // Only our own plain file goes: a link or another user's file is never
    // touched, whoever runs the program.
    if (unlink(path.c_str()) == 0) descriptor = open(path.c_str(), flags, mode);
  }
  if (descriptor < 0) {
    const std::string what = errno == EEXIST ? QelDescribePath(path) : "";
    error = Reason(path, what.empty() ? std::strerror(errno) : ("there is " + what).c_str());
    return -1;
  }
  // The umask may have taken bits away, never added any: set exactly mode.
  if (fchmod(descriptor, mode) != 0) {
    error = Reason(path, std::strerror(errno));
    close(descriptor);
    unlink(path.c_str());
    return -1;
  }
  return descriptor;
}

std::string QelDescribePath(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return "";
  if (S_ISLNK(info.st_mode)) {
    std::vector<char> target(4096);
    const ssize_t length = readlink(path.c_str(), target.data(), target.size() - 1);
    return "a symbolic link" +
           (length > 0 ? " to " + std::string(target.data(), static_cast<std::size_t>(length))
                       : std::string());
  }
  if (S_ISDIR(info.st_mode)) return "a directory";
  if (!S_ISREG(info.st_mode)) return "a special file (pipe, socket or device)";
  if (info.st_uid != geteuid()) {
    const passwd* owner = getpwuid(info.st_uid);
    return "a file of user " + std::string(owner ? owner->pw_name : "?") + " (uid " +
           std::to_string(info.st_uid) + ")";
  }
  if (info.st_nlink > 1) return "a file with " + std::to_string(info.st_nlink) + " links";
  return "a file of yours";
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
  // The content reaches the disk before the new name does: after a crash
  // the path holds the old file or the new one, never an empty one.
  const bool written =
      fchmod(descriptor, mode) == 0 && QelWriteAll(descriptor, content) && fsync(descriptor) == 0;
  const int savedErrno = errno;
  close(descriptor);
  if (!written || rename(name.data(), path.c_str()) != 0) {
    error = Reason(path, std::strerror(written ? errno : savedErrno));
    unlink(name.data());
    return -1;
  }
  return SyncDirectoryOf(path, error);
}

int QelAppendToOwnedFile(const std::string& path, std::string_view content, mode_t mode,
                         std::string& error) {
  const int descriptor = QelOpenOwnedFile(path, O_APPEND, mode, error);
  if (descriptor < 0) return -1;
  const bool written = QelWriteAll(descriptor, content) && fsync(descriptor) == 0;
  if (!written) error = Reason(path, std::strerror(errno));
  close(descriptor);
  return written ? 0 : -1;
}

int QelReplaceFileContent(const std::string& path, std::string_view content, std::string& error) {
  struct stat existing {};
  if (lstat(path.c_str(), &existing) != 0) {
    error = Reason(path, std::strerror(errno));
    return -1;
  }
  if (!S_ISREG(existing.st_mode)) {
    error = Reason(path, S_ISLNK(existing.st_mode) ? "is a symbolic link" : "not a regular file");
    return -1;
  }
  std::string pattern = path + ".tmpXXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int descriptor = mkostemp(name.data(), O_CLOEXEC);
  if (descriptor < 0) {
    error = Reason(path, std::strerror(errno));
    return -1;
  }
  // The owner is kept where this user may give it (root); otherwise the
  // file must already be this user's: it never changes hands silently.
  const bool sameOwner = existing.st_uid == geteuid() && existing.st_gid == getegid();
  const bool owned = sameOwner || fchown(descriptor, existing.st_uid, existing.st_gid) == 0 ||
                     existing.st_uid == geteuid();
  const bool written = owned && fchmod(descriptor, existing.st_mode & 07777) == 0 &&
                       QelWriteAll(descriptor, content) && fsync(descriptor) == 0;
  const int savedErrno = errno;
  close(descriptor);
  if (!written || rename(name.data(), path.c_str()) != 0) {
    error = Reason(path, !owned    ? "belongs to another user"
                         : written ? std::strerror(errno)
                                   : std::strerror(savedErrno));
    unlink(name.data());
    return -1;
  }
  return SyncDirectoryOf(path, error);
}

int QelCopyFileExclusively(const std::string& source, const std::string& copy, std::string& error) {
  const int input = open(source.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  struct stat info {};
  if (input < 0 || fstat(input, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = Reason(
        source, input < 0 && errno == ELOOP ? "is a symbolic link" : "not a readable regular file");
    if (input >= 0) close(input);
    return -1;
  }
  const mode_t mode = info.st_mode & 07777;
  const int output = open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
  if (output < 0) {
    error = Reason(copy, std::strerror(errno));
    close(input);
    return -1;
  }
  bool copied = fchmod(output, mode) == 0;
  char buffer[8192];
  for (ssize_t got; copied && (got = read(input, buffer, sizeof buffer)) != 0;) {
    if (got < 0 && errno == EINTR) continue;
    copied =
        got > 0 && QelWriteAll(output, std::string_view(buffer, static_cast<std::size_t>(got)));
  }
  if (!copied) error = Reason(copy, std::strerror(errno));
  close(input);
  if (close(output) != 0 && copied) {
    error = Reason(copy, std::strerror(errno));
    copied = false;
  }
  if (!copied) unlink(copy.c_str());
  return copied ? 0 : -1;
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
