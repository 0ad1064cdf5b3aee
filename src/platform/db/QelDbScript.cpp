// Statements written into a script for the DBMS's command-line tool, and a
// script read back as that tool reads it: the same separators both ways, so
// that what the DDL file mode writes is what the script runner plays.
#include "QelDbScript.h"

#include <cctype>

#include "QelDb.h"
#include "QelZepDDLFile.h"

namespace {

std::string Upper(std::string_view word) {
  std::string upper(word);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// The first words of a statement, upper case, comments skipped.
std::vector<std::string> LeadingWords(const std::string& text, std::size_t count) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size() && words.size() < count) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (std::isspace(c)) {
      ++i;
    } else if (text.compare(i, 2, "--") == 0) {
      i = text.find('\n', i);
      if (i == std::string::npos) break;
    } else if (text.compare(i, 2, "/*") == 0) {
      i = text.find("*/", i + 2);
      if (i == std::string::npos) break;
      i += 2;
    } else if (std::isalpha(c) || c == '_') {
      std::string word;
      while (i < text.size() &&
             (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_')) {
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(text[i++])));
      }
      words.push_back(word);
    } else {
      break;
    }
  }
  return words;
}

// SQL*Plus ends a PL/SQL unit with a "/" line instead of a semicolon.
bool IsProceduralBlock(const std::string& text) {
  std::vector<std::string> words = LeadingWords(text, 6);
  if (words.empty()) return false;
  if (words[0] == "BEGIN" || words[0] == "DECLARE") return true;
  if (words[0] != "CREATE") return false;
  std::size_t i = 1;
  if (i + 1 < words.size() && words[i] == "OR" && words[i + 1] == "REPLACE") i += 2;
  if (i < words.size() && (words[i] == "EDITIONABLE" || words[i] == "NONEDITIONABLE")) ++i;
  if (i >= words.size()) return false;
  const std::string& kind = words[i];
  return kind == "TRIGGER" || kind == "PROCEDURE" || kind == "FUNCTION" || kind == "PACKAGE" ||
         kind == "TYPE" || kind == "LIBRARY";
}

// A command's words as written (client commands hold names and passwords,
// whose case matters), split at blanks.
std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    const std::size_t begin = i;
    while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i > begin) words.emplace_back(text.substr(begin, i - begin));
  }
  return words;
}

std::string Keyword(const std::vector<std::string>& words, std::size_t i) {
  return i < words.size() ? Upper(words[i]) : std::string();
}

// DB2: CONNECT TO db [USER u [USING p]], CONNECT RESET, a bare CONNECT.
void ReadDb2Connect(const std::vector<std::string>& words, QelDbScriptStep& step) {
  if (Keyword(words, 1) == "RESET") {
    step.action = QelDbScriptAction::Disconnect;
    return;
  }
  if (Keyword(words, 1) != "TO" || words.size() < 3) {
    // A bare CONNECT shows the connection: nothing for the database.
    step.action = QelDbScriptAction::Ignore;
    return;
  }
  step.action = QelDbScriptAction::Connect;
  step.database = words[2];
  for (std::size_t i = 3; i + 1 < words.size(); i += 2) {
    if (Keyword(words, i) == "USER") step.user = words[i + 1];
    if (Keyword(words, i) == "USING") step.password = words[i + 1];
  }
}

// SQL*Plus: CONNECT user[/password][@service].
void ReadOracleConnect(const std::vector<std::string>& words, QelDbScriptStep& step) {
  step.action = QelDbScriptAction::Connect;
  if (words.size() < 2) return;
  std::string login = words[1];
  if (const std::size_t at = login.rfind('@'); at != std::string::npos) {
    step.database = login.substr(at + 1);
    login.resize(at);
  }
  if (const std::size_t slash = login.find('/'); slash != std::string::npos) {
    step.password = login.substr(slash + 1);
    login.resize(slash);
  }
  step.user = login;
}

void ReadClientCommand(int dbms, QelDbScriptStep& step) {
  const std::vector<std::string> words = Words(step.text);
  const std::string first = Keyword(words, 0);
  if (first == "CONNECT") {
    dbms == QelDbDB2 ? ReadDb2Connect(words, step) : ReadOracleConnect(words, step);
  } else if (first == "TERMINATE" || first == "EXIT") {
    step.action = QelDbScriptAction::Exit;
  } else if (first == "WHENEVER" && Keyword(words, 1) == "SQLERROR") {
    step.action = Keyword(words, 2) == "CONTINUE" ? QelDbScriptAction::GoOnAfterError
                                                  : QelDbScriptAction::StopOnError;
  } else {
    step.action = QelDbScriptAction::Ignore;
  }
  // What is shown of a command never holds its password.
  if (!step.password.empty()) {
    const std::size_t at = step.text.find(step.password);
    if (at != std::string::npos) step.text.replace(at, step.password.size(), "***");
  }
}

}  // namespace

std::string QelDbScriptForm(int dbms, int type, std::string statement) {
  while (!statement.empty() && std::isspace(static_cast<unsigned char>(statement.back()))) {
    statement.pop_back();
  }
  if (dbms == QelDbOracle &&
      (type == QelSqlType::ProceduralBlock || IsProceduralBlock(statement))) {
    return statement + "\n/\n";
  }
  if (!statement.empty() && statement.back() == ';') statement.pop_back();
  return statement + ";\n";
}

std::vector<QelDbScriptStep> QelDbReadScript(int dbms, std::string_view content) {
  // The DDL file parser knows each tool's separators; its dialect follows
  // the extension it is told.
  const QelZepDDLFile script(content.data(), content.size(),
                             dbms == QelDbDB2 ? "script.clp" : "script.sql");
  std::vector<QelDbScriptStep> steps;
  const QelListPtr<QelZepSQLOrder>& orders = script.GetSQLOrderColl();
  for (int i = 1; i <= orders.Size(); ++i) {
    const QelZepSQLOrder* order = orders(i);
    QelDbScriptStep step;
    step.text = order->GetText().str();
    step.line = order->GetLine();
    if (order->GetType() == QelSqlType::ClientCommand) {
      ReadClientCommand(dbms, step);
    } else {
      // Commands the parser leaves to the DBMS, ended like SQL by ";".
      const std::vector<std::string> words = LeadingWords(step.text, 2);
      const std::string first = words.empty() ? std::string() : words[0];
      if (first == "QUIT" && words.size() == 1) step.action = QelDbScriptAction::Exit;
      if (first == "DISCONNECT" && words.size() == 1 && dbms != QelDbDB2) {
        step.action = QelDbScriptAction::Disconnect;
      }
    }
    steps.push_back(std::move(step));
  }
  return steps;
}
