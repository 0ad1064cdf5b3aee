// The `sql` verb: plays a script on a sandbox database as the DBMS's
// command-line tool would (DB2's CLP with -t, SQL*Plus), through the same
// ODBC route the installer takes: the DDL file a DBA is handed, its reverse,
// or any script of his own.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "SandboxCommand.h"
#include "platform/db/QelDb.h"
#include "platform/db/QelDbScript.h"
#include "platform/db/QelDbSecrets.h"
#include "sandbox/dbms/SandboxAdmin.h"

namespace {

constexpr const char* PasswordVariable = "TESSARDBSETUP_SQL_PASSWORD";

constexpr const char* Help =
    "usage: tessardbsetup-sandbox sql DATABASE -f FILE [-u USER] [--continue] [-v]\n"
    "                                 [--dbms db2|oracle] [--instance I] [--site DIR]\n"
    "\n"
    "Plays FILE (\"-\": the standard input) on DATABASE (a DB2 alias or an Oracle service of\n"
    "the site) as the DBMS's command-line tool would: statements end with \";\" at the end of a\n"
    "line, Oracle blocks with a \"/\" line; DB2 CONNECT TO / CONNECT RESET / TERMINATE and\n"
    "SQL*Plus CONNECT / EXIT / WHENEVER SQLERROR / SET / PROMPT / SPOOL / REM are done or\n"
    "skipped as the tool does. Run it with the site's environment (. SITE/env.sh).\n"
    "\n"
    "  -u, --user USER  connect as USER (else the script's CONNECT does); the password\n"
    "                   comes from $TESSARDBSETUP_SQL_PASSWORD, else from a prompt on the\n"
    "                   terminal, never from the command line\n"
    "  -s, --stop       stop at the first failed statement (the default; SQL*Plus's\n"
    "                   WHENEVER SQLERROR EXIT, DB2 CLP's -s)\n"
    "  --continue       go on past failed statements (WHENEVER SQLERROR CONTINUE)\n"
    "  -v, --echo       show each statement before it runs (passwords as ***)\n"
    "\n"
    "DB2 commits each statement (the CLP's autocommit); Oracle commits at the end, as SQL*Plus\n"
    "does on EXIT. The last line is a summary: statements run, failed, not run, client\n"
    "commands. Exit status: 0 every statement done, 1 a failure, 2 usage.\n";

int UsageError(const std::string& text) {
  std::fprintf(stderr, "tessardbsetup-sandbox sql: %s\n\n%s", text.c_str(), Help);
  return ExitUsage;
}

int Error(const std::string& text) {
  std::fprintf(stderr, "tessardbsetup-sandbox sql: %s\n", text.c_str());
  return ExitError;
}

// The tools' short options, as the long ones the parser knows.
std::vector<std::string> LongOptions(const std::vector<std::string>& arguments) {
  std::vector<std::string> converted;
  for (const std::string& argument : arguments) {
    if (argument == "-f") {
      converted.push_back("--file");
    } else if (argument == "-u") {
      converted.push_back("--user");
    } else if (argument == "-v") {
      converted.push_back("--echo");
    } else if (argument == "-s") {
      converted.push_back("--stop");
    } else {
      converted.push_back(argument);
    }
  }
  return converted;
}

bool ReadScript(const std::string& path, std::string& content) {
  if (path == "-") {
    content.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return true;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream text;
  text << file.rdbuf();
  content = text.str();
  return !file.bad();
}

// The password from the terminal, not echoed; false when there is none.
bool PromptPassword(const std::string& user, const std::string& database, std::string& password) {
  const int terminal = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (terminal < 0) return false;
  const std::string prompt = "Password for " + user + " on " + database + ": ";
  if (write(terminal, prompt.data(), prompt.size()) < 0) {
    close(terminal);
    return false;
  }
  termios saved{};
  const bool restore = tcgetattr(terminal, &saved) == 0;
  if (restore) {
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(terminal, TCSAFLUSH, &quiet);
  }
  password.clear();
  char c = 0;
  bool ended = false;
  while (read(terminal, &c, 1) == 1) {
    if (c == '\n') {
      ended = true;
      break;
    }
    password += c;
  }
  if (restore) tcsetattr(terminal, TCSAFLUSH, &saved);
  if (write(terminal, "\n", 1) < 0) ended = false;
  close(terminal);
  return ended;
}

struct Totals {
  int statements = 0;
  int failed = 0;
  int notRun = 0;
  int clientCommands = 0;
};

class ScriptPlayer {
 public:
  ScriptPlayer(int dbms, std::string database, std::string user, std::string scriptName,
               bool stopOnError, bool echo)
      : dbms_(dbms),
        database_(std::move(database)),
        user_(std::move(user)),
        scriptName_(std::move(scriptName)),
        stopOnError_(stopOnError),
        echo_(echo) {}
  ~ScriptPlayer() { Disconnect(); }

  Totals Play(const std::vector<QelDbScriptStep>& steps) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
      if (!PlayStep(steps[i])) {
        for (std::size_t j = i + 1; j < steps.size(); ++j) {
          if (steps[j].action == QelDbScriptAction::Execute) ++totals_.notRun;
        }
        break;
      }
    }
    // SQL*Plus commits what is pending when it leaves, whatever ended it.
    if (dbms_ == QelDbOracle && connection_) {
      QelDbError error;
      if (connection_->Commit(error) != 0) {
        ++totals_.failed;
        std::fprintf(stderr, "%s: the final commit failed: %s\n", scriptName_.c_str(),
                     error.message.c_str());
      }
    }
    Disconnect();
    return totals_;
  }

 private:
  // false when the script ends here.
  bool PlayStep(const QelDbScriptStep& step) {
    if (step.action != QelDbScriptAction::Execute) ++totals_.clientCommands;
    switch (step.action) {
      case QelDbScriptAction::Execute:
        return Execute(step);
      case QelDbScriptAction::Connect:
        if (Connect(step.database, step.user, step.password, step.line)) return true;
        ++totals_.failed;
        return !stopOnError_;
      case QelDbScriptAction::Disconnect:
        Disconnect();
        return true;
      case QelDbScriptAction::Exit:
        return false;
      case QelDbScriptAction::StopOnError:
        stopOnError_ = true;
        return true;
      case QelDbScriptAction::GoOnAfterError:
        stopOnError_ = false;
        return true;
      case QelDbScriptAction::Ignore:
        return true;
    }
    return true;
  }

  bool Execute(const QelDbScriptStep& step) {
    ++totals_.statements;
    if (echo_) std::printf("%s\n\n", QelDbMaskPasswords(step.text).str().c_str());
    if (!connection_ && !refused_ && !Connect("", "", "", step.line)) {
      // The connection's failure is told: the statement's would repeat it.
      ++totals_.failed;
      return !stopOnError_;
    }
    QelDbError error;
    int result = -1;
    if (!connection_) {
      error.message = dbms_ == QelDbDB2
                          ? "SQL1024N  A database connection does not exist.  SQLSTATE=08003"
                          : "SP2-0640: Not connected";
    } else {
      // DB2's CLP commits each statement; SQL*Plus leaves DML to COMMIT.
      result = dbms_ == QelDbDB2 ? connection_->ExecuteCommitted(step.text, error)
                                 : connection_->Execute(step.text, error);
    }
    std::fflush(stdout);
    if (result == 0) return true;
    ++totals_.failed;
    std::fprintf(stderr, "%s:%d: %s\n", scriptName_.c_str(), step.line,
                 QelDbMaskPasswords(error.message).str().c_str());
    return !stopOnError_;
  }

  // Connects as the command names it; what it leaves out comes from the
  // command line (database, user) and its password from the environment or
  // the terminal.
  bool Connect(const std::string& database, const std::string& user, const std::string& password,
               int line) {
    Disconnect();
    const std::string target = database.empty() ? database_ : database;
    const std::string login = user.empty() ? user_ : user;
    std::string secret = password;
    std::string problem;
    if (login.empty()) {
      problem = "not connected: give --user, or CONNECT in the script";
    } else if (secret.empty() && !SamePerson(login)) {
      problem = "CONNECT as " + login + " needs its password in the command";
    } else if (secret.empty() && !CommandLinePassword(target, secret)) {
      problem = std::string("no password for ") + login + ": set " + PasswordVariable +
                " or run from a terminal";
    }
    if (problem.empty()) {
      std::unique_ptr<QelDbConnection> connection;
      std::unique_ptr<QelDbCursor> cursor;
      int code = 0;
      char message[QelDbMessageSize] = "";
      if (GetDBConnection(1, 1, dbms_, target, login, secret, connection, cursor, code, message) ==
          0) {
        connection_ = std::move(connection);
        refused_ = false;
        return true;
      }
      problem = message;
    }
    refused_ = true;
    std::fprintf(stderr, "%s:%d: cannot connect to %s as %s: %s\n", scriptName_.c_str(), line,
                 target.c_str(), login.empty() ? "(nobody)" : login.c_str(), problem.c_str());
    return false;
  }

  bool SamePerson(const std::string& login) const {
    return QelUnicodeString(login).ToUpper().Compare(QelUnicodeString(user_).ToUpper()) == 2;
  }

  bool CommandLinePassword(const std::string& database, std::string& password) {
    if (!passwordKnown_) {
      if (const char* value = std::getenv(PasswordVariable)) {
        password_ = value;
        passwordKnown_ = true;
      } else {
        passwordKnown_ = PromptPassword(user_, database, password_);
      }
    }
    password = password_;
    return passwordKnown_;
  }

  void Disconnect() {
    if (connection_) connection_->Close();
    connection_.reset();
  }

  int dbms_;
  std::string database_;
  std::string user_;
  std::string scriptName_;
  bool stopOnError_;
  bool echo_;
  std::unique_ptr<QelDbConnection> connection_;
  // A connection that failed is not tried again for every statement.
  bool refused_ = false;
  bool passwordKnown_ = false;
  std::string password_;
  Totals totals_;
};

}  // namespace

int RunSqlVerb(const std::vector<std::string>& arguments) {
  CommandOptions options;
  std::string error;
  if (!ParseCommandOptions(LongOptions(arguments), {"site", "dbms", "instance", "file", "user"},
                           {"continue", "stop", "echo", "help", "password"}, options, error)) {
    return UsageError(error);
  }
  if (options.flags.count("help")) {
    std::fputs(Help, stdout);
    return ExitOk;
  }
  if (options.flags.count("password") || options.values.count("password")) {
    return UsageError(std::string("a password is never given on the command line: set ") +
                      PasswordVariable + " or answer the prompt");
  }
  if (options.positional.size() != 1) return UsageError("one DATABASE is needed");
  if (!options.values.count("file")) return UsageError("-f FILE is needed");
  if (options.flags.count("continue") && options.flags.count("stop")) {
    return UsageError("--continue and --stop exclude each other");
  }
  const std::string site = CommandSite(options);
  if (site.empty()) return UsageError("no site: give --site DIR or set TESSARDBSETUP_SANDBOX");
  qelsandbox::DatabaseLocation location;
  const std::string& name = options.positional[0];
  if (const int status = LocateDatabase(options, site, name, "sql", location); status != ExitOk) {
    return status;
  }
  const std::string& path = options.values["file"];
  std::string content;
  if (!ReadScript(path, content)) return Error("cannot read " + path);
  const int dbms = location.dialect == qelsandbox::Dialect::Db2 ? QelDbDB2 : QelDbOracle;
  // What a DBA's shell has from the instance's db2profile or from oraenv,
  // the site's env.sh leaves to the installer's son: the database's own.
  if (dbms == QelDbDB2 && !std::getenv("DB2INSTANCE")) {
    setenv("DB2INSTANCE", location.instance.c_str(), 1);
  }
  if (dbms == QelDbOracle && !std::getenv("ORACLE_HOME") && !std::getenv("TNS_ADMIN")) {
    setenv("ORACLE_HOME", (site + "/oracle").c_str(), 1);
  }
  const auto user = options.values.find("user");
  ScriptPlayer player(dbms, name, user == options.values.end() ? "" : user->second,
                      path == "-" ? "(stdin)" : path, !options.flags.count("continue"),
                      options.flags.count("echo") > 0);
  const Totals totals = player.Play(QelDbReadScript(dbms, content));
  std::printf("summary: %d statements, %d failed, %d not run, %d client commands\n",
              totals.statements, totals.failed, totals.notRun, totals.clientCommands);
  return totals.failed == 0 ? ExitOk : ExitError;
}
