// The machine-side checks: stat, statvfs, access and the resolver only.
#include "ZEP2ValidationHost.h"

#include <netdb.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Room for the few small scripts a run writes.
constexpr long long ScriptKilobytes = 64;

std::string Parent(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Octal(unsigned mode) {
  char text[8];
  std::snprintf(text, sizeof text, "%04o", mode & 07777);
  return text;
}

bool ReadOnlyMount(const std::string& path) {
  struct statvfs info {};
  return statvfs(path.c_str(), &info) == 0 && (info.f_flag & ST_RDONLY) != 0;
}

}  // namespace

void ZEP2CheckDirectory(ZEP2ValidationReport& report, const std::string& check,
                        const std::string& path, int ownerUid, unsigned mode) {
  report.Checked(check);
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    report.Add(check, path + " does not exist", "create it, or answer an existing directory");
    return;
  }
  if (!S_ISDIR(info.st_mode)) {
    report.Add(check, path + " is no directory", "answer a directory");
    return;
  }
  if (ReadOnlyMount(path)) {
    report.Add(check, path + " is on a file system mounted read-only",
               "remount it read-write, or answer a directory elsewhere");
  } else if (access(path.c_str(), W_OK | X_OK) != 0) {
    report.Add(check, path + " is not writable by this user",
               "give this user write access, or answer another directory");
  }
  if (ownerUid < 0) return;
  if (static_cast<int>(info.st_uid) != ownerUid) {
    report.Add(check,
               path + " belongs to uid " + std::to_string(info.st_uid) + ", not to uid " +
                   std::to_string(ownerUid),
               "chown it to the account answered for it");
  }
  if ((info.st_mode & mode) != mode) {
    report.Add(check, path + " has mode " + Octal(info.st_mode) + ", which lacks " + Octal(mode),
               "chmod it to at least " + Octal(mode));
  }
}

void ZEP2CheckCreatableDirectory(ZEP2ValidationReport& report, const std::string& check,
                                 const std::string& path, int ownerUid, unsigned mode) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0)
    return ZEP2CheckDirectory(report, check, path, ownerUid, mode);
  report.Checked(check);
  std::string parent = Parent(path);
  while (stat(parent.c_str(), &info) != 0 && parent != "/" && parent != ".")
    parent = Parent(parent);
  if (!S_ISDIR(info.st_mode)) {
    report.Add(check, path + " cannot be created: " + parent + " is no directory",
               "answer a path under an existing directory");
  } else if (ReadOnlyMount(parent)) {
    report.Add(check,
               path + " cannot be created: " + parent + " is on a file system mounted read-only",
               "remount it read-write, or answer a directory elsewhere");
  } else if (access(parent.c_str(), W_OK | X_OK) != 0) {
    report.Add(check, path + " cannot be created: " + parent + " is not writable by this user",
               "create it yourself, or answer a directory elsewhere");
  }
}

void ZEP2CheckEditableFile(ZEP2ValidationReport& report, const std::string& check,
                           const std::string& path) {
  report.Checked(check);
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) {
    report.Add(check, path + " does not exist", "restore it from the PDM installation");
    return;
  }
  if (S_ISLNK(info.st_mode)) {
    report.Add(check, path + " is a symbolic link, which is never written through",
               "replace the link by the file it points to");
    return;
  }
  if (!S_ISREG(info.st_mode)) {
    report.Add(check, path + " is no regular file", "restore the file from the PDM installation");
    return;
  }
  if (ReadOnlyMount(path)) {
    report.Add(check, path + " is on a file system mounted read-only",
               "remount it read-write before the installation");
  } else if (access(path.c_str(), W_OK) != 0 || access(Parent(path).c_str(), W_OK | X_OK) != 0) {
    report.Add(check, path + " or its directory is not writable by this user",
               "give this user write access to the file and its directory");
  }
}

void ZEP2CheckCommand(ZEP2ValidationReport& report, const std::string& check,
                      const std::string& path) {
  report.Checked(check);
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    report.Add(check, path + " does not exist", "reinstall the PDM software's commands");
  } else if (!S_ISREG(info.st_mode) || access(path.c_str(), X_OK) != 0) {
    report.Add(check, path + " is not executable", "chmod +x it, or reinstall it");
  }
}

void ZEP2CheckScriptDirectory(ZEP2ValidationReport& report, const std::string& path) {
  const std::string check = "script directory";
  report.Checked(check);
  struct statvfs info {};
  if (statvfs(path.c_str(), &info) != 0) {
    report.Add(check, path + ": " + std::strerror(errno), "provide a writable " + path);
    return;
  }
  if (info.f_flag & ST_RDONLY) {
    report.Add(check, path + " is mounted read-only", "remount " + path + " read-write");
  }
  if (info.f_flag & ST_NOEXEC) {
    report.Add(check, path + " is mounted noexec: the generated scripts cannot run",
               "remount " + path + " without noexec (mount -o remount,exec " + path + ")");
  }
  const long long freeKilobytes =
      static_cast<long long>(info.f_bavail) * static_cast<long long>(info.f_frsize) / 1024;
  if (freeKilobytes < ScriptKilobytes) {
    report.Add(check,
               path + " has " + std::to_string(freeKilobytes) + " KB free, the scripts need " +
                   std::to_string(ScriptKilobytes) + " KB",
               "free space in " + path);
  }
}

void ZEP2CheckFreeSpace(ZEP2ValidationReport& report, const std::string& check,
                        const std::string& path, long long neededKilobytes) {
  report.Checked(check);
  struct statvfs info {};
  if (statvfs(path.c_str(), &info) != 0) {
    report.NotChecked(check, path + ": " + std::strerror(errno));
    return;
  }
  const long long freeKilobytes =
      static_cast<long long>(info.f_bavail) * static_cast<long long>(info.f_frsize) / 1024;
  if (freeKilobytes < neededKilobytes) {
    report.Add(check,
               path + " has " + std::to_string(freeKilobytes) + " KB free, the repository needs " +
                   std::to_string(neededKilobytes) + " KB",
               "free space there, or answer a directory on a larger file system");
  }
}

void ZEP2CheckHostName(ZEP2ValidationReport& report, const std::string& check,
                       const std::string& host) {
  report.Checked(check);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  addrinfo* found = nullptr;
  const int code = getaddrinfo(host.c_str(), nullptr, &hints, &found);
  if (found) freeaddrinfo(found);
  if (code != 0) {
    report.Add(check, "host " + host + " does not resolve (" + gai_strerror(code) + ")",
               "correct the host name, or add it to the name service");
  }
}

void ZEP2CheckPort(ZEP2ValidationReport& report, const std::string& check,
                   const std::string& port) {
  report.Checked(check);
  bool digits = !port.empty() && port.size() <= 5;
  for (const char c : port) digits = digits && c >= '0' && c <= '9';
  if (!digits || std::stol(port) < 1 || std::stol(port) > 65535) {
    report.Add(check, "port '" + port + "' is no number from 1 to 65535", "answer a valid port");
  }
}
