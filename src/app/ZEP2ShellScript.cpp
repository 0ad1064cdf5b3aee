// Generated scripts: created exclusively and owner-only, and run only while
// they are still the file this process wrote, so no other user can change
// or swap what the wizard is about to run.
#include "ZEP2ShellScript.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/QelLog.h"
#include "platform/QelSystem.h"

namespace {

constexpr const char* ScriptMode = "700";
constexpr mode_t ScriptModeBits = 0700;

// Removes a script this user left at path earlier (the same process writes
// its scripts more than once). Anything else there stays, and the exclusive
// creation then refuses it.
void RemoveOwnLeftover(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return;
  if (S_ISREG(info.st_mode) && info.st_uid == geteuid() && info.st_nlink == 1) {
    unlink(path.c_str());
  }
}

bool WriteAll(int descriptor, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = write(descriptor, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

ZEP2ShellScript::ZEP2ShellScript(std::string path, const char* traceVariable)
    : path_(std::move(path)) {
  RemoveOwnLeftover(path_);
  descriptor_ =
      open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, ScriptModeBits);
  struct stat info {};
  if (descriptor_ < 0 || fstat(descriptor_, &info) != 0) {
    Refuse(std::strerror(errno));
    return;
  }
  // The creation mask must not widen or narrow what the owner gets.
  fchmod(descriptor_, ScriptModeBits);
  device_ = info.st_dev;
  inode_ = info.st_ino;
  pending_ = std::string("#! /bin/ksh\n\nif [[ $") + traceVariable +
             " -ge 1 ]]\n   then  set -x\nfi ;\n\n\n";
}

ZEP2ShellScript::~ZEP2ShellScript() {
  Close();
}

void ZEP2ShellScript::Refuse(const std::string& reason) {
  WriteTraceLogFile("\nCannot create script " + QelUnicodeString(path_ + ": " + reason), 2);
  WriteErrLogFile("\nCannot create script " + QelUnicodeString(path_ + ": " + reason) + "\n");
  if (descriptor_ >= 0) close(descriptor_);
  descriptor_ = -1;
  failed_ = true;
}

void ZEP2ShellScript::MakeExecutable(const char* rcLabel) {
  WriteTraceLogFile("\nDo the script file executable", 1);
  WriteTraceLogFile("\nchmod " + QelUnicodeString(ScriptMode) + " " + path_, 2);
  QelListValQelUnicodeString arguments;
  arguments.Append("chmod");
  arguments.Append(ScriptMode);
  arguments.Append(path_);
  int pid = 0;
  int code = 0;
  QelStartProcess("chmod", arguments, 1, pid, code);
  WriteTraceLogFile(rcLabel + QelUnicodeString::FromInt(code), 1);
}

void ZEP2ShellScript::Comment(const std::string& comment) {
  pending_ += "\n\n" + comment + "\n\n\n";
}

void ZEP2ShellScript::Line(const std::string& text) {
  pending_ += text + "\n";
}

void ZEP2ShellScript::Assign(const std::string& name, const std::string& value) {
  AssignWithSuffix(name, value, "");
}

void ZEP2ShellScript::AssignWithSuffix(const std::string& name, const std::string& value,
                                       const std::string& suffix) {
  pending_ += name + "=" + Quote(value) + suffix + "\n\nexport " + name + "\n\n";
}

bool ZEP2ShellScript::Close() {
  if (descriptor_ < 0) return !failed_;
  const bool complete = WriteAll(descriptor_, pending_) && close(descriptor_) == 0;
  descriptor_ = -1;
  pending_.clear();
  if (!complete) {
    Refuse(std::strerror(errno));
    return false;
  }
  written_ = true;
  return true;
}

int ZEP2ShellScript::Run(const char* baseName, int wait, int& pid, int& code) {
  pid = 0;
  code = -1;
  if (!Close() || !written_) return -1;
  struct stat info {};
  const char* problem = nullptr;
  if (lstat(path_.c_str(), &info) != 0) {
    problem = "is gone";
  } else if (!S_ISREG(info.st_mode) || info.st_dev != device_ || info.st_ino != inode_) {
    problem = "is no longer the script this process wrote";
  } else if (info.st_uid != geteuid() || info.st_nlink != 1) {
    problem = "changed owner or links";
  } else if ((info.st_mode & 07777) != ScriptModeBits) {
    problem = "is not owner-only (mode 0700)";
  }
  if (problem) {
    const QelUnicodeString text = "\nNot run: " + QelUnicodeString(path_) + " " + problem;
    WriteTraceLogFile(text, 2);
    WriteErrLogFile(text + "\n");
    return -1;
  }
  QelListValQelUnicodeString arguments;
  arguments.Append(baseName);
  return QelStartProcess(path_, arguments, wait, pid, code);
}

std::string ZEP2ShellScript::Quote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}
