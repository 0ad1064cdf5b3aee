// The form every generated shell script shares: the ksh header with its
// trace switch, the executable bit, the generator's comment, exported
// assignments, the command and its return code.
#pragma once

#include <fstream>
#include <string>

#include "platform/QelUnicodeString.h"

class ZEP2ShellScript {
 public:
  // Creates path for this user only (never through a link, never a file of
  // another owner) and writes the header tested on traceVariable.
  ZEP2ShellScript(std::string path, const char* traceVariable);

  bool IsOpen() const { return file_.is_open(); }
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
  void Close() { file_.close(); }

  // text in single quotes, with every quote of its own escaped.
  static std::string Quote(const std::string& text);

 private:
  std::string path_;
  std::ofstream file_;
};
