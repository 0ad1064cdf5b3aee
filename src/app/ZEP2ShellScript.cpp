// Generated scripts: created owner-only, so no other user can change what
// the wizard is about to run.
#include "ZEP2ShellScript.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/QelList.h"
#include "platform/QelLog.h"
#include "platform/QelSecureFile.h"
#include "platform/QelSystem.h"

namespace {
constexpr const char* ScriptMode = "700";
}

ZEP2ShellScript::ZEP2ShellScript(std::string path, const char* traceVariable)
    : path_(std::move(path)) {
  std::string error;
  const int descriptor = QelOpenOwnedFile(path_, O_TRUNC, 0700, error);
  if (descriptor < 0) {
    WriteTraceLogFile("\nCannot create script " + QelUnicodeString(error), 2);
    WriteErrLogFile("\nCannot create script " + QelUnicodeString(error) + "\n");
    return;
  }
  close(descriptor);
  file_.open(path_, std::ios::out | std::ios::trunc);
  file_ << "#! /bin/ksh\n\n"
        << "if [[ $" << traceVariable << " -ge 1 ]]\n"
        << "   then  set -x\n"
        << "fi ;\n\n\n";
}

void ZEP2ShellScript::MakeExecutable(const char* rcLabel) {
  file_.flush();
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
  file_ << "\n\n" << comment << "\n\n\n";
}

void ZEP2ShellScript::Line(const std::string& text) {
  file_ << text << "\n";
}

void ZEP2ShellScript::Assign(const std::string& name, const std::string& value) {
  AssignWithSuffix(name, value, "");
}

void ZEP2ShellScript::AssignWithSuffix(const std::string& name, const std::string& value,
                                       const std::string& suffix) {
  file_ << name << "=" << Quote(value) << suffix << "\n\nexport " << name << "\n\n";
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
