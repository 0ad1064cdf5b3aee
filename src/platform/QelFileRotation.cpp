// Creation of a new file that keeps the earlier one as "<path>.1".
#include "QelFileRotation.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Why what lstat found cannot be replaced; empty for a plain file of ours.
std::string Refusal(const struct stat& info) {
  if (S_ISLNK(info.st_mode)) return "is a symbolic link (refused: it is never followed)";
  if (S_ISDIR(info.st_mode)) return "is a directory";
  if (S_ISFIFO(info.st_mode)) return "is a named pipe (FIFO), not a regular file";
  if (S_ISSOCK(info.st_mode)) return "is a socket, not a regular file";
  if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) return "is a device, not a regular file";
  if (!S_ISREG(info.st_mode)) return "is not a regular file";
  if (info.st_uid != geteuid()) return "belongs to another user";
  if (info.st_nlink > 1) {
    return "has " + std::to_string(info.st_nlink) + " links (a hard link is refused)";
  }
  return {};
}

std::string OpenFailure(int number) {
  switch (number) {
    case ENOENT:
      return "its directory does not exist";
    case ELOOP:
      return "is a symbolic link (refused: it is never followed)";
    case EEXIST:
      return "was created by someone else meanwhile";
    case ENXIO:
      return "is a named pipe (FIFO), not a regular file";
    default:
      return std::strerror(number);
  }
}

}  // namespace

int QelCreateKeepingEarlier(const std::string& path, mode_t mode, std::string& kept,
                            std::string& error) {
  kept.clear();
  struct stat info {};
  if (lstat(path.c_str(), &info) == 0) {
    if (const std::string refusal = Refusal(info); !refusal.empty()) {
      error = path + ": " + refusal;
      return -1;
    }
    const std::string earlier = path + ".1";
    if (rename(path.c_str(), earlier.c_str()) != 0) {
      error = path + ": cannot keep the existing file as " + earlier + ": " + std::strerror(errno);
      return -1;
    }
    kept = earlier;
  } else if (errno != ENOENT) {
    error = path + ": " + std::strerror(errno);
    return -1;
  }
  // O_NONBLOCK: whatever appears at the path meanwhile is never waited on.
  const int descriptor =
      open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode);
  if (descriptor < 0) {
    error = path + ": " + OpenFailure(errno);
    return -1;
  }
  if (fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0 ||
      fchmod(descriptor, mode) != 0) {
    error = path + ": " + std::strerror(errno);
    close(descriptor);
    return -1;
  }
  return descriptor;
}
