// SQLite handles and prepared statements with errors turned into exceptions.
#include "SandboxSqlite.h"

#include <sys/stat.h>

#include <algorithm>

#include "SandboxColumnChecks.h"

namespace qelsandbox {

namespace {

SqlObserver sqlObserver = nullptr;

int ObserveStatement(unsigned, void*, void* statement, void*) {
  if (char* sql = sqlite3_expanded_sql(static_cast<sqlite3_stmt*>(statement))) {
    if (sqlObserver) sqlObserver(sql);
    sqlite3_free(sql);
  }
  return 0;
}

}  // namespace

void SetSqlObserver(SqlObserver observer) {
  sqlObserver = observer;
}

void ThrowSqlite(sqlite3* db, int code) {
  throw SqliteFailure{db ? sqlite3_extended_errcode(db) : code,
                      db ? sqlite3_errmsg(db) : sqlite3_errstr(code)};
}

SqliteStatement::SqliteStatement(sqlite3* db, const std::string& sql, StatementCache& cache)
    : db_(db) {
  sqlite3_stmt* raw = cache.Take(sql);
  if (!raw) {
    const int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr);
    if (rc != SQLITE_OK) {
      sqlite3_finalize(raw);
      ThrowSqlite(db, rc);
    }
  }
  statement_ = std::unique_ptr<sqlite3_stmt, StatementEnd>(raw, StatementEnd(&cache, sql));
}

void StatementEnd::operator()(sqlite3_stmt* statement) const {
  if (!cache) {
    sqlite3_finalize(statement);
    return;
  }
  // Reset at once: a statement left stepping would hold its read open.
  sqlite3_reset(statement);
  sqlite3_clear_bindings(statement);
  cache->Give(sql, statement);
}

StatementCache::~StatementCache() {
  for (auto& [sql, statements] : free_) {
    for (sqlite3_stmt* statement : statements) sqlite3_finalize(statement);
  }
}

sqlite3_stmt* StatementCache::Take(const std::string& sql) {
  const auto found = free_.find(sql);
  if (found == free_.end() || found->second.empty()) return nullptr;
  sqlite3_stmt* statement = found->second.back();
  found->second.pop_back();
  // Its place in the order goes with it; the oldest entry of that text is
  // as good as any other to drop.
  order_.erase(std::find(order_.begin(), order_.end(), sql));
  return statement;
}

void StatementCache::Give(const std::string& sql, sqlite3_stmt* statement) {
  if (order_.size() >= Capacity) {
    std::vector<sqlite3_stmt*>& oldest = free_[order_.front()];
    sqlite3_finalize(oldest.back());
    oldest.pop_back();
    if (oldest.empty()) free_.erase(order_.front());
    order_.pop_front();
  }
  free_[sql].push_back(statement);
  order_.push_back(sql);
}

SqliteStatement& SqliteStatement::Bind(int index, const std::string& value) {
  sqlite3_bind_text(statement_.get(), index, value.data(), static_cast<int>(value.size()),
                    SQLITE_TRANSIENT);
  return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, long long value) {
  sqlite3_bind_int64(statement_.get(), index, value);
  return *this;
}

SqliteStatement& SqliteStatement::BindNull(int index) {
  sqlite3_bind_null(statement_.get(), index);
  return *this;
}

SqliteStatement& SqliteStatement::BindOptional(int index, const std::optional<std::string>& value) {
  return value ? Bind(index, *value) : BindNull(index);
}

bool SqliteStatement::Step() {
  const int rc = sqlite3_step(statement_.get());
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  ThrowSqlite(db_, rc);
}

void SqliteStatement::Reset() {
  sqlite3_reset(statement_.get());
  sqlite3_clear_bindings(statement_.get());
}

bool SqliteStatement::IsNull(int column) const {
  return sqlite3_column_type(statement_.get(), column) == SQLITE_NULL;
}

std::string SqliteStatement::Text(int column) const {
  const auto* text = sqlite3_column_text(statement_.get(), column);
  if (!text) return {};
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<std::size_t>(sqlite3_column_bytes(statement_.get(), column)));
}

std::optional<std::string> SqliteStatement::OptionalText(int column) const {
  if (IsNull(column)) return std::nullopt;
  return Text(column);
}

SqliteDatabase::SqliteDatabase(const std::string& path, bool create, int busyMilliseconds) {
  sqlite3* raw = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
  // The files hold password hashes and server settings: owner only.
  const mode_t previous = umask(077);
  const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
  umask(previous);
  db_.reset(raw);
  if (rc != SQLITE_OK) ThrowSqlite(raw, rc);
  sqlite3_extended_result_codes(raw, 1);
  // SQLite would take an unknown "COLUMN" for a string: DB2 and Oracle
  // report it, and so must the sandbox.
  sqlite3_db_config(raw, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_db_config(raw, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
  sqlite3_busy_timeout(raw, busyMilliseconds);
  RegisterColumnChecks(raw);
  if (sqlObserver) sqlite3_trace_v2(raw, SQLITE_TRACE_STMT, ObserveStatement, nullptr);
  // WAL lets readers of other connections and processes go on while one
  // connection holds an open transaction. NORMAL synchronisation survives a
  // crash of any process; only a power loss may lose the last commits.
  QueryText("PRAGMA journal_mode=WAL");
  Exec("PRAGMA synchronous=NORMAL");
  Exec("PRAGMA foreign_keys=OFF");
}

void SqliteDatabase::Renew(int busyMilliseconds) {
  sqlite3_busy_timeout(db_.get(), busyMilliseconds);
  sqlite3_trace_v2(db_.get(), sqlObserver ? SQLITE_TRACE_STMT : 0,
                   sqlObserver ? ObserveStatement : nullptr, nullptr);
}

void SqliteDatabase::Exec(const std::string& sql) {
  char* error = nullptr;
  const int rc = sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, &error);
  if (rc != SQLITE_OK) {
    SqliteFailure failure{sqlite3_extended_errcode(db_.get()), error ? error : sqlite3_errstr(rc)};
    sqlite3_free(error);
    throw failure;
  }
}

std::vector<std::string> SqliteStatement::ColumnNames() const {
  std::vector<std::string> names;
  for (int column = 0; column < Columns(); ++column) {
    const char* name = sqlite3_column_name(statement_.get(), column);
    names.emplace_back(name ? name : "");
  }
  return names;
}

std::optional<std::string> SqliteDatabase::QueryText(const std::string& sql) {
  SqliteStatement statement = Prepare(sql);
  if (!statement.Step()) return std::nullopt;
  return statement.OptionalText(0);
}

long long SqliteDatabase::QueryInt(const std::string& sql) {
  SqliteStatement statement = Prepare(sql);
  return statement.Step() ? statement.Int(0) : 0;
}

std::vector<std::vector<std::string>> SqliteDatabase::QueryRows(const std::string& sql) {
  SqliteStatement statement = Prepare(sql);
  std::vector<std::vector<std::string>> rows;
  while (statement.Step()) {
    std::vector<std::string>& row = rows.emplace_back();
    for (int column = 0; column < statement.Columns(); ++column) {
      row.push_back(statement.Text(column));
    }
  }
  return rows;
}

}  // namespace qelsandbox
