// A parsed DDL/DML file of a modeler: its statements in playing order, each
// with its type code, its text and the statement that undoes it.
#pragma once

#include <cstddef>
#include <string_view>
#include <utility>

#include "platform/QelList.h"
#include "platform/QelUnicodeString.h"

// Type codes of the statements a DDL file yields. The engine keeps 1, 5 and 7
// for the statements it builds itself; 9 is a drop, the only engine code the
// parser produces (for derived drops). docs/ddl-format.md lists them all.
namespace QelSqlType {
inline constexpr int Other = 0;
inline constexpr int AlterUser = 1;
inline constexpr int CreateView = 2;
inline constexpr int CreateIndex = 3;
inline constexpr int CreateSequence = 4;
inline constexpr int CreateTablespaceOrUser = 5;
inline constexpr int DataChange = 6;
inline constexpr int AdministratorGrant = 7;
inline constexpr int GrantOrRevoke = 8;
inline constexpr int Drop = 9;
inline constexpr int CommentOn = 10;
inline constexpr int AlterTable = 11;
inline constexpr int ProceduralBlock = 12;
inline constexpr int CreateSynonym = 13;
inline constexpr int CreateTable = 15;
inline constexpr int ClientCommand = 20;
}  // namespace QelSqlType

// The two script dialects; the file's extension chooses.
enum class QelDDLDialect { Db2CommandLine, OracleScript };

class QelZepSQLOrder {
 public:
  QelZepSQLOrder(int type, QelUnicodeString text, int dropType, QelUnicodeString dropText, int line)
      : type_(type),
        text_(std::move(text)),
        dropType_(dropType),
        dropText_(std::move(dropText)),
        line_(line) {}

  int GetType() const { return type_; }
  const QelUnicodeString& GetText() const { return text_; }
  // The statement that undoes this one: type 9 with its text, or type 20 with
  // an empty text when nothing can be derived (never executed).
  int GetDropType() const { return dropType_; }
  const QelUnicodeString& GetDropText() const { return dropText_; }
  // 1-based line of the file where the statement starts, for error messages.
  int GetLine() const { return line_; }

 private:
  int type_;
  QelUnicodeString text_;
  int dropType_;
  QelUnicodeString dropText_;
  int line_;
};

class QelZepDDLFile {
 public:
  // The content need not be NUL-terminated and may hold any byte: it is the
  // file exactly as read, and the parser never fails on it.
  QelZepDDLFile(const char* content, std::size_t size, const QelUnicodeString& path);

  const QelListPtr<QelZepSQLOrder>& GetSQLOrderColl() const { return orders_; }
  const QelUnicodeString& GetPath() const { return path_; }
  QelDDLDialect GetDialect() const { return dialect_; }

  static QelDDLDialect DialectOf(const QelUnicodeString& path);

 private:
  void Parse(std::string_view content);

  QelUnicodeString path_;
  QelDDLDialect dialect_;
  QelListPtr<QelZepSQLOrder> orders_;
};
