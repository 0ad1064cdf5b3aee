// Thin RAII wrappers over SQLite, the storage of the sandbox DBMS. SQLite
// failures are thrown as SqliteFailure and mapped to DBMS errors by the
// session, which knows the dialect and the statement.
#pragma once

#include <sqlite3.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace qelsandbox {

struct SqliteFailure {
  int code = 0;  // extended result code
  std::string message;
  bool IsBusy() const { return (code & 0xff) == SQLITE_BUSY; }
  bool IsConstraint() const { return (code & 0xff) == SQLITE_CONSTRAINT; }
};

class StatementCache;

// Ends a statement: finalised, or handed back to the cache it came from.
struct StatementEnd {
  StatementCache* cache;
  std::string sql;
  StatementEnd() : cache(nullptr) {}
  StatementEnd(StatementCache* from, std::string text) : cache(from), sql(std::move(text)) {}
  void operator()(sqlite3_stmt* statement) const;
};

class SqliteStatement {
 public:
  // A statement taken from cache (compiled anew when the cache has none
  // free), handed back to it when this object ends.
  SqliteStatement(sqlite3* db, const std::string& sql, StatementCache& cache);
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
  std::vector<std::string> ColumnNames() const;
  bool IsNull(int column) const;
  std::string Text(int column) const;
  long long Int(int column) const { return sqlite3_column_int64(statement_.get(), column); }
  std::optional<std::string> OptionalText(int column) const;

 private:
  sqlite3* db_;
  std::unique_ptr<sqlite3_stmt, StatementEnd> statement_;
};

// Compiled statements kept for their next use, by text. The catalogue
// look-ups of every statement are the same few texts; compiling them each
// time would cost more than running them. The oldest ones go first.
class StatementCache {
 public:
  StatementCache() = default;
  StatementCache(const StatementCache&) = delete;
  StatementCache& operator=(const StatementCache&) = delete;
  ~StatementCache();
  sqlite3_stmt* Take(const std::string& sql);
  void Give(const std::string& sql, sqlite3_stmt* statement);

 private:
  static constexpr std::size_t Capacity = 96;
  std::unordered_map<std::string, std::vector<sqlite3_stmt*>> free_;
  std::deque<std::string> order_;  // one entry per statement held, oldest first
};

class SqliteDatabase {
 public:
  // Opens an existing file (create: makes it), in WAL mode with a busy
  // timeout of busyMilliseconds.
  SqliteDatabase(const std::string& path, bool create, int busyMilliseconds);
  SqliteDatabase(const SqliteDatabase&) = delete;
  SqliteDatabase& operator=(const SqliteDatabase&) = delete;

  sqlite3* Handle() const { return db_.get(); }
  // For a connection kept open between sessions: the current busy timeout
  // and statement observer.
  void Renew(int busyMilliseconds);
  bool InTransaction() const { return sqlite3_get_autocommit(db_.get()) == 0; }
  // Closing will not checkpoint or remove the write-ahead log by its name.
  void KeepLogOnClose() {
    sqlite3_db_config(db_.get(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  }
  void Exec(const std::string& sql);
  // Runs one statement of a fixed text (transaction control, savepoints)
  // compiled once: every statement played runs several of them.
  void Run(const std::string& sql) { Prepare(sql).Step(); }
  SqliteStatement Prepare(const std::string& sql) {
    return SqliteStatement(db_.get(), sql, *cache_);
  }
  // First column of the first row, if any.
  std::optional<std::string> QueryText(const std::string& sql);
  long long QueryInt(const std::string& sql);
  std::vector<std::vector<std::string>> QueryRows(const std::string& sql);
  long long Changes() const { return sqlite3_changes64(db_.get()); }

 private:
  struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
  };
  std::unique_ptr<sqlite3, Closer> db_;
  // Declared after the handle: its statements are finalised before it closes.
  std::unique_ptr<StatementCache> cache_ = std::make_unique<StatementCache>();
};

[[noreturn]] void ThrowSqlite(sqlite3* db, int code);

// Sees every statement the sandbox runs on SQLite as it starts, bound values
// written in, on the connections opened after it is set (benchmarks replay
// them on SQLite alone); null stops it.
using SqlObserver = void (*)(const char* sql);
void SetSqlObserver(SqlObserver observer);

// Runs a body inside a SQLite savepoint: released on success, rolled back
// when the body throws.
template <class Body>
void WithSavepoint(SqliteDatabase& db, const char* name, Body&& body) {
  db.Run(std::string("SAVEPOINT ") + name);
  try {
    body();
  } catch (...) {
    db.Run(std::string("ROLLBACK TO ") + name);
    db.Run(std::string("RELEASE ") + name);
    throw;
  }
  db.Run(std::string("RELEASE ") + name);
}

}  // namespace qelsandbox
