// What each DBMS lets an answer be once it is written into a statement, and
// how it is written there. The engine puts no answer into SQL but through
// these helpers, and the pages refuse with the same rules what the DBMS
// cannot take, so that no answer can add a clause of its own.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "QelDb.h"

// Why a value cannot be written into a statement of a DBMS.
enum class QelDbRefusal {
  None,
  Empty,
  TooLong,
  // A name starts with something else than a letter.
  FirstCharacter,
  // A name holds a character an ordinary (unquoted) name cannot hold.
  Character,
  // A password or delimited name holds a double quote the DBMS cannot take.
  DoubleQuote,
  // A line break, a tab or another control character.
  ControlCharacter,
  // A name the DBMS keeps for itself.
  Reserved,
};

// What a driver reports about a failed call: the SQLSTATE, the DBMS's own
// code (DB2's SQLCODE, Oracle's ORA number) and its message.
struct QelDbDiagnostic {
  std::string sqlstate;
  int native = 0;
  std::string text;
};

class QelDbDialect {
 public:
  // DB2 for QelDbDB2, Oracle for anything else.
  static const QelDbDialect& For(int dbms);

  // Users and tablespaces are named in statements and in the DDL files
  // without quotes, so their names must be ordinary names of the DBMS.
  QelDbRefusal CheckUserName(std::string_view name) const;
  QelDbRefusal CheckTablespaceName(std::string_view name) const;
  QelDbRefusal CheckPassword(std::string_view password) const;
  // A value written as a string literal (a data file path).
  QelDbRefusal CheckLiteral(std::string_view text) const;

  // The value as it stands in a statement, or nothing when the DBMS cannot
  // take it: an ordinary name as typed, a delimited name and a password
  // between double quotes, a literal between single quotes (quotes inside
  // doubled where the DBMS knows that escape).
  std::optional<std::string> OrdinaryName(std::string_view name) const;
  std::optional<std::string> DelimitedName(std::string_view name) const;
  std::optional<std::string> Password(std::string_view password) const;
  std::optional<std::string> Literal(std::string_view text) const;

  // The error the pages show for a driver's diagnostic: the text without
  // the driver's bracketed tags, in the DBMS's own form ("SQL0601N  ...
  // SQLSTATE=42710", "ORA-01920: ..."), and the code the engine branches
  // on (DB2's SQLCODE, the ORA number negated).
  QelDbError Error(const QelDbDiagnostic& diagnostic) const;

  std::size_t MaxUserName() const { return maxUserName_; }
  std::size_t MaxTablespaceName() const { return maxTablespaceName_; }
  std::string_view NameCharacters() const { return nameCharacters_; }
  std::string_view ReservedPrefix() const { return reservedPrefix_; }

 private:
  QelDbDialect(int dbms, std::size_t maxUserName, std::size_t maxTablespaceName,
               std::string_view nameCharacters, std::string_view reservedPrefix, bool doublesQuotes)
      : dbms_(dbms),
        maxUserName_(maxUserName),
        maxTablespaceName_(maxTablespaceName),
        nameCharacters_(nameCharacters),
        reservedPrefix_(reservedPrefix),
        doublesQuotes_(doublesQuotes) {}

  QelDbRefusal CheckName(std::string_view name, std::size_t maxLength) const;

  int dbms_;
  std::size_t maxUserName_;
  std::size_t maxTablespaceName_;
  // Characters besides letters and digits an ordinary name may hold.
  std::string_view nameCharacters_;
  // Tablespace names the DBMS keeps for itself start with it.
  std::string_view reservedPrefix_;
  // Whether "" stands for one " inside a delimited name.
  bool doublesQuotes_;
};

// "the DBMS" in the refusal texts: "DB2" or "Oracle".
const char* QelDbName(int dbms);
