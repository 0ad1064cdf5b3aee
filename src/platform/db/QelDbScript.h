// Scripts for a DBMS's command-line tool, both ways: the form a statement
// takes in one (what a DDL file in mode 1 receives) and the reading of a
// script back into what that tool would do with it, statement by statement.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The statement as the DBMS's command-line tool runs it from a script: DB2
// (CLP with -t) and SQL*Plus end it with ";" and a newline; SQL*Plus ends
// a PL/SQL unit (type 12, or one that starts like a unit) with a "/" line.
// Trailing blanks and a ";" already ending a plain statement go.
std::string QelDbScriptForm(int dbms, int type, std::string statement);

// What the tool does with one statement of a script.
enum class QelDbScriptAction {
  Execute,         // SQL sent to the DBMS
  Connect,         // DB2 CONNECT TO db [USER u [USING p]]; SQL*Plus CONNECT u[/p][@db]
  Disconnect,      // DB2 CONNECT RESET; SQL*Plus DISCONNECT
  Exit,            // DB2 TERMINATE, QUIT; SQL*Plus EXIT, QUIT: the rest is not read
  StopOnError,     // SQL*Plus WHENEVER SQLERROR EXIT ...
  GoOnAfterError,  // SQL*Plus WHENEVER SQLERROR CONTINUE ...
  Ignore,          // SQL*Plus display settings: SET, PROMPT, SPOOL, REM, WHENEVER OSERROR
};

struct QelDbScriptStep {
  QelDbScriptAction action = QelDbScriptAction::Execute;
  // The statement as the DBMS receives it, or the command as written.
  std::string text;
  // 1-based line of the script where it starts.
  int line = 0;
  // Connect: what the command names; empty when it does not.
  std::string database;
  std::string user;
  std::string password;
};

// The steps of a script of the DBMS (QelDbDB2 or QelDbOracle), in order.
// Statements are split as the DDL files are (docs/ddl-format.md): a ";"
// ending a line outside strings, and for Oracle a "/" line after a block.
// Never fails: what the tool would not understand is left to the DBMS as
// a statement, which then reports it.
std::vector<QelDbScriptStep> QelDbReadScript(int dbms, std::string_view content);
