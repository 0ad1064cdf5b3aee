// The form every generated shell script shares: the ksh header with its
// trace switch, the executable bit, the generator's comment, exported
// assignments, the command and its return code. A script is run only when
// this process has just created it and it is still the same file, and it
// goes with this object.
#pragma once

#include <sys/types.h>

#include <string>

#include "platform/QelUnicodeString.h"

class ZEP2ShellScript {
 public:
  // Creates path exclusively for this user (never through a link, never over
  // anything but a leftover file of this user) and writes the header tested
  // on traceVariable. On failure IsOpen is false and GetError says why.
  ZEP2ShellScript(std::string path, const char* traceVariable);
  ~ZEP2ShellScript();
  ZEP2ShellScript(const ZEP2ShellScript&) = delete;
  ZEP2ShellScript& operator=(const ZEP2ShellScript&) = delete;

  bool IsOpen() const { return descriptor_ >= 0; }
  const std::string& GetPath() const { return path_; }
  // Why the script cannot be written or run, for the administrator.
  const std::string& GetError() const { return error_; }

  // Makes the script executable by its owner with chmod, traced with
  // rcLabel; the return code is only traced: the mode was set at creation.
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
  // From here on, what the script and its commands print goes to the log,
  // not to the terminal of a silent run or under a drawn page. Until
  // RestoreOutput when restorable: a command after it may own the terminal.
  void SendOutputToLog(bool restorable = false);
  void RestoreOutput();
  // Writes what was composed; false (and GetError) when the file could not
  // take all of it.
  bool Close();

  // Writes what is still pending, traces the script's text, then starts it
  // under baseName (wait as QelStartProcess), but only
  // when the path is still the file this object created: same file, this
  // user's, one link, owner-only. 0, or -1 with GetError and nothing run.
  int Run(const char* baseName, int wait, int& pid, int& code);
  // Run then hands the script to the shell as an argument instead of
  // executing it: a check-only run goes on past a scratch directory mounted
  // noexec, which it reports.
  void RunThroughShell() { throughShell_ = true; }
  // Removes the script when the path is still the file this object created;
  // the destructor does it too.
  void Remove();

  // text in single quotes, with every quote of its own escaped.
  static std::string Quote(const std::string& text);

 private:
  bool IsStillOurs();
  // Says in the trace and the error log why nothing was run.
  void NotRun() const;

  std::string path_;
  std::string content_;
  std::string error_;
  int descriptor_ = -1;
  dev_t device_ = 0;
  ino_t inode_ = 0;
  bool written_ = false;
  bool toLog_ = false;
  bool throughShell_ = false;
};
