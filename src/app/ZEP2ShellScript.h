// The form every generated shell script shares: the ksh header with its
// trace switch, the executable bit, the generator's comment, exported
// assignments, the command and its return code.
#pragma once

#include <sys/types.h>

#include <string>

#include "platform/QelList.h"
#include "platform/QelUnicodeString.h"

class ZEP2ShellScript {
 public:
  // Creates path exclusively for this user (never through a link, never over
  // a file of another owner; a leftover of this user is removed first) and
  // writes the header tested on traceVariable. A refusal is traced and
  // written to the error log, and the script stays closed.
  ZEP2ShellScript(std::string path, const char* traceVariable);
  ~ZEP2ShellScript();
  ZEP2ShellScript(const ZEP2ShellScript&) = delete;
  ZEP2ShellScript& operator=(const ZEP2ShellScript&) = delete;

  bool IsOpen() const { return descriptor_ >= 0; }
  const std::string& GetPath() const { return path_; }

  // Makes the script executable by its owner with chmod, traced with
  // rcLabel; the return code is only traced.
  void MakeExecutable(const char* rcLabel);
  // Two empty lines, "# <generator> execution:" style comment, two empty lines.
  void Comment(const std::string& comment);
  void Line(const std::string& text);
  // NAME=value (value single-quoted for the shell), then export NAME.
  void Assign(const std::string& name, const std::string& value);
  // NAME='quoted'<suffix>: for values that end with a variable to expand,
  // such as ":$LIBPATH".
  void AssignWithSuffix(const std::string& name, const std::string& value,
                        const std::string& suffix);
  // Writes what is pending and closes the file; false when a write failed.
  bool Close();

  // Starts the script (arguments: baseName only) when it is still the file
  // this object created, complete, owner-only with mode 0700 and a single
  // link; anything else at the path is reported and nothing runs. Returns
  // as QelStartProcess; -1 with code -1 when the script was refused.
  int Run(const char* baseName, int wait, int& pid, int& code);

  // text in single quotes, with every quote of its own escaped.
  static std::string Quote(const std::string& text);

 private:
  void Refuse(const std::string& reason);

  std::string path_;
  std::string pending_;
  int descriptor_ = -1;
  bool written_ = false;
  bool failed_ = false;
  dev_t device_ = 0;
  ino_t inode_ = 0;
};
