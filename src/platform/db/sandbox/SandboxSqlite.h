// Thin RAII wrappers over SQLite, the storage of the sandbox DBMS. SQLite
// failures are thrown as SqliteFailure and mapped to DBMS errors by the
// session, which knows the dialect and the statement.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qelsandbox {

struct SqliteFailure {
  int code = 0;  // extended result code
  std::string message;
  bool IsBusy() const { return (code & 0xff) == SQLITE_BUSY; }
  bool IsConstraint() const { return (code & 0xff) == SQLITE_CONSTRAINT; }
};

class SqliteStatement {
 public:
  SqliteStatement(sqlite3* db, const std::string& sql);
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  SqliteStatement& Bind(int index, const std::string& value);
  SqliteStatement& Bind(int index, long long value);
  SqliteStatement& BindNull(int index);
  SqliteStatement& BindOptional(int index, const std::optional<std::string>& value);
  // Advances to the next row: false when there is none.
  bool Step();
  void Reset();

  int Columns() const { return sqlite3_column_count(statement_.get()); }
  bool IsNull(int column) const;
  std::string Text(int column) const;
  long long Int(int column) const { return sqlite3_column_int64(statement_.get(), column); }
  std::optional<std::string> OptionalText(int column) const;

 private:
  struct Finalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
  };
  sqlite3* db_;
  std::unique_ptr<sqlite3_stmt, Finalizer> statement_;
};

class SqliteDatabase {
 public:
  // Opens an existing file (create: makes it), in WAL mode with a busy
  // timeout of busyMilliseconds.
  SqliteDatabase(const std::string& path, bool create, int busyMilliseconds);
  SqliteDatabase(const SqliteDatabase&) = delete;
  SqliteDatabase& operator=(const SqliteDatabase&) = delete;

  sqlite3* Handle() const { return db_.get(); }
  void Exec(const std::string& sql);
  SqliteStatement Prepare(const std::string& sql) { return SqliteStatement(db_.get(), sql); }
  // First column of the first row, if any.
  std::optional<std::string> QueryText(const std::string& sql);
  long long QueryInt(const std::string& sql);
  std::vector<std::vector<std::string>> QueryRows(const std::string& sql);
  long long Changes() const { return sqlite3_changes64(db_.get()); }
  // Whether a table or view of that (quoted) name exists, as of the last
  // committed schema: compiling a statement notices another connection's
  // changes, where SQLite's cached schema alone may not.
  bool HasTable(const std::string& quotedName);

 private:
  struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
  };
  std::unique_ptr<sqlite3, Closer> db_;
};

[[noreturn]] void ThrowSqlite(sqlite3* db, int code);

// Runs a body inside a SQLite savepoint: released on success, rolled back
// when the body throws.
template <class Body>
void WithSavepoint(SqliteDatabase& db, const char* name, Body&& body) {
  db.Exec(std::string("SAVEPOINT ") + name);
  try {
    body();
  } catch (...) {
    db.Exec(std::string("ROLLBACK TO ") + name);
    db.Exec(std::string("RELEASE ") + name);
    throw;
  }
  db.Exec(std::string("RELEASE ") + name);
}

}  // namespace qelsandbox
