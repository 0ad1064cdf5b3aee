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

// What the engine needs to know of a DBMS's error, whatever its code.
enum class QelDbCondition {
  Other,
  WrongPassword,
  UnknownDatabase,
  ObjectExists,
  ObjectMissing,
  NoPrivilege,
};

struct QelDbDialectRules;

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

  // What an error code (QelDbError::code) means to the engine.
  QelDbCondition Classify(int code) const;
  // The same for a message of the DBMS ("SQL0204N ...", "ORA-00942: ..."),
  // as the undo journal keeps it.
  QelDbCondition ClassifyMessage(std::string_view message) const;

  // The catalogue queries, as the DBMS's own catalogue views have them.
  // Every user (upper case) and its authentication: PASSWORD or EXTERNAL.
  std::string UsersQuery() const;
  // The tablespaces a table can be created in, by name.
  std::string TablespacesQuery() const;
  // The tablespaces with their free space in kilobytes, by name. DB2 adds
  // the type: an SMS tablespace grows on the file system of its directory
  // containers, and the catalogue gives it no free space of its own.
  std::string FreeSpaceQuery() const;
  // The data files of the database's own tablespace, whose directory is
  // where a new data file goes by default; empty when the DBMS keeps its
  // containers where the database directory already says.
  std::string DataFilesQuery() const;
  // One row when the table schema.table exists.
  std::string TableExistsQuery(std::string_view schema, std::string_view table) const;
  // The authorities of user that the installation's steps need, one per
  // row, first column; and the one the steps cannot do without.
  std::string PrivilegesQuery(std::string_view user) const;
  std::string_view NeededPrivilege() const;

  std::size_t MaxUserName() const;
  std::size_t MaxTablespaceName() const;
  std::string_view NameCharacters() const;
  std::string_view ReservedPrefix() const;

 private:
  friend struct QelDbDialectRules;
  explicit QelDbDialect(const QelDbDialectRules& rules) : rules_(rules) {}

  QelDbRefusal CheckName(std::string_view name, std::size_t maxLength) const;

  const QelDbDialectRules& rules_;
};

// One DBMS's rules and catalogue (QelDbDialectDB2.cpp, QelDbDialectOracle.cpp).
struct QelDbDialectRules {
  int dbms;
  const char* name;
  std::size_t maxUserName;
  std::size_t maxTablespaceName;
  // Characters besides letters and digits an ordinary name may hold.
  std::string_view nameCharacters;
  // Tablespace names the DBMS keeps for itself start with it.
  std::string_view reservedPrefix;
  // Whether "" stands for one " inside a delimited name.
  bool doublesQuotes;
  // How the DBMS writes a code in a message: "SQL" or "ORA-".
  std::string_view codePrefix;
  const char* usersQuery;
  const char* tablespacesQuery;
  const char* freeSpaceQuery;
  const char* dataFilesQuery;
  // Two %s: the schema and the table, each a string literal.
  const char* tableExistsQuery;
  // One %s: the user, a string literal.
  const char* privilegesQuery;
  const char* neededPrivilege;
  struct Code {
    int code;
    QelDbCondition condition;
  };
  const Code* codes;
  std::size_t codeCount;

  QelDbDialect Dialect() const { return QelDbDialect(*this); }
};

extern const QelDbDialectRules QelDbDB2Rules;
extern const QelDbDialectRules QelDbOracleRules;

// "the DBMS" in the refusal texts: "DB2" or "Oracle".
const char* QelDbName(int dbms);
