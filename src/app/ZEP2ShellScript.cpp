// Generated scripts: created exclusively and owner-only, written through the
// descriptor that created them, and checked again right before they run, so
// nothing another user placed or swapped in at the path is ever executed.
#include "ZEP2ShellScript.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/QelList.h"
#include "platform/QelLog.h"
#include "platform/QelSecureFile.h"
#include "platform/QelSystem.h"

namespace {

constexpr const char* ScriptMode = "700";
constexpr mode_t ScriptPermissions = 0700;

}  // namespace

ZEP2ShellScript::ZEP2ShellScript(std::string path, const char* traceVariable)
    : path_(std::move(path)) {
  descriptor_ = QelCreateExclusiveFile(path_, ScriptPermissions, error_);
  if (descriptor_ < 0) {
    WriteTraceLogFile("\nCannot create script " + QelUnicodeString(error_), 2);
    WriteErrLogFile("\nCannot create script " + QelUnicodeString(error_) + "\n");
    return;
  }
  struct stat info {};
  fstat(descriptor_, &info);
  device_ = info.st_dev;
  inode_ = info.st_ino;
  content_ = std::string("#! /bin/ksh\n\n") + "if [[ $" + traceVariable + " -ge 1 ]]\n" +
             "   then  set -x\n" + "fi ;\n\n\n";
}

ZEP2ShellScript::~ZEP2ShellScript() {
  if (descriptor_ >= 0) close(descriptor_);
  Remove();
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
  content_ += "\n\n" + comment + "\n\n\n";
}

void ZEP2ShellScript::Line(const std::string& text) {
  content_ += text + "\n";
}

void ZEP2ShellScript::Assign(const std::string& name, const std::string& value) {
  AssignWithSuffix(name, value, "");
}

void ZEP2ShellScript::AssignWithSuffix(const std::string& name, const std::string& value,
                                       const std::string& suffix) {
  content_ += name + "=" + Quote(value) + suffix + "\n\nexport " + name + "\n\n";
}

void ZEP2ShellScript::SendOutputToLog(bool restorable) {
  toLog_ = true;
  const std::string log = std::to_string(QelChildLogDescriptor);
  content_ += std::string("exec ") + (restorable ? "7>&1 8>&2 " : "") + ">&" + log + " 2>&" + log +
              " " + log + ">&-\n";
}

void ZEP2ShellScript::RestoreOutput() {
  content_ += "exec >&7 2>&8 7>&- 8>&-\n";
}

bool ZEP2ShellScript::Close() {
  if (descriptor_ < 0) return false;
  written_ = QelWriteAll(descriptor_, content_) && fsync(descriptor_) == 0;
  if (!written_) error_ = path_ + ": " + std::strerror(errno);
  close(descriptor_);
  descriptor_ = -1;
  return written_;
}

bool ZEP2ShellScript::IsStillOurs() {
  struct stat info {};
  if (lstat(path_.c_str(), &info) != 0) {
    error_ = path_ + ": " + std::strerror(errno);
    return false;
  }
  if (info.st_dev != device_ || info.st_ino != inode_ || !S_ISREG(info.st_mode) ||
      info.st_uid != geteuid() || info.st_nlink != 1 ||
      (info.st_mode & 07777) != ScriptPermissions) {
    error_ = path_ + ": is no longer the script this process wrote (there is now " +
             QelDescribePath(path_) + ")";
    return false;
  }
  return true;
}

int ZEP2ShellScript::Run(const char* baseName, int wait, int& pid, int& code) {
  pid = 0;
  code = -1;
  if (descriptor_ >= 0) Close();
  if (!written_) {
    if (error_.empty()) error_ = path_ + ": the script was not written";
    return -1;
  }
  QelListValQelUnicodeString arguments;
  arguments.Append(throughShell_ ? "ksh" : baseName);
  if (throughShell_) arguments.Append(path_);
  // The script goes once it has run: what it was stays in the trace.
  WriteTraceLogFile("\n" + QelUnicodeString(path_) + " holds:\n" + content_, 2);
  if (!IsStillOurs()) {
    NotRun();
    return -1;
  }
  const std::string program = throughShell_ ? "/bin/ksh" : path_;
  const int started = toLog_ ? QelStartProcessWithLog(program, arguments, wait, pid, code)
                             : QelStartProcess(program, arguments, wait, pid, code);
  if (started != 0) {
    error_ = path_ + ": cannot be started (" + std::strerror(errno) +
             "; is /tmp mounted noexec, or is /bin/ksh missing?)";
    NotRun();
    return -1;
  }
  return 0;
}

void ZEP2ShellScript::NotRun() const {
  const QelUnicodeString text = "\nNot run: " + QelUnicodeString(error_);
  WriteTraceLogFile(text, 2);
  WriteErrLogFile(text + "\n");
}

void ZEP2ShellScript::Remove() {
  if (device_ != 0 && IsStillOurs()) unlink(path_.c_str());
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
