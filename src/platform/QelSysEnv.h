// Environment files: NAME=value lines read into an environment object,
// edited variable by variable and written back with every other byte (other
// lines, comments, order, line ends) exactly as it was.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "QelUnicodeString.h"

class QelSysEnv {
 public:
  QelSysEnv(std::string path, std::string text);

  // The value of the variable's last assignment, or null when the file
  // does not set it.
  const QelUnicodeString* GetEnv(const QelUnicodeString& name) const;
  // Sets the variable. options 1 replaces the value of its last assignment,
  // options 0 keeps an existing one. A variable the file lacks is appended,
  // after a "# comment" line when comment is not empty. type is kept for the
  // callers' sake and carries no meaning in this format. 0 on success, -1
  // for a name that is not an identifier or a value holding a line break.
  int PutEnv(const QelUnicodeString& name, const QelUnicodeString& value, int options, int type,
             const QelUnicodeString& comment);

  const std::string& GetPath() const { return path_; }
  // The file's text with the edits made.
  std::string Text() const;

 private:
  struct Line {
    std::string text;  // the line without its end
    std::string end;   // "\n", "\r\n" or "" for a last line without one
    std::string name;  // empty for comments and other lines
    QelUnicodeString value;
  };
  Line* LastAssignment(const std::string& name);
  const Line* LastAssignment(const std::string& name) const;
  std::string LineEnd() const;

  std::string path_;
  std::vector<Line> lines_;
};

class QelSysEnvManager {
 public:
  // Reads the environment file path. mode and value are kept for the
  // callers' sake. 0 and env set, or -1 (env null) when the file cannot be
  // read.
  static int Read(const QelUnicodeString& path, int mode, int value,
                  std::unique_ptr<QelSysEnv>& env);
  // Replaces the file in one step, keeping its mode and owner, never
  // through a link. flag is kept for the callers' sake. 0 on success.
  static int Write(const QelSysEnv& env, int flag);
};
