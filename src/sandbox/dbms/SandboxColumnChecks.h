// The checks every row of a sandbox table meets for its column types (the
// length of character columns, numbers in numeric columns), as one SQLite
// function call per table rather than one expression per column: SQLite
// keeps every table's checks in memory, for every table of the database.
#pragma once

#include <sqlite3.h>

#include <string>

namespace qelsandbox {

// Makes sbx_fits() known to a connection; every connection to a sandbox
// database needs it to write rows.
void RegisterColumnChecks(sqlite3* db);

// Gathers a table's column checks into CHECK clauses over sbx_fits(). A
// failed check reads as SQLite's own: "CHECK constraint failed: len:NAME"
// or "num:NAME", with SQLite's constraint error code.
class ColumnChecks {
 public:
  void AddLength(const std::string& column, long long length);
  void AddNumber(const std::string& column);
  // ", CHECK (sbx_fits(...))" clauses for the table's definition, or "".
  std::string Clauses();

 private:
  void Add(const std::string& entry, const std::string& column);
  void EndCall();
  // SQLite limits a function's arguments: wide tables take several calls.
  static constexpr int ColumnsPerCall = 100;
  std::string spec_;       // the current call's entries: "L<length>:NAME" or "N:NAME"
  std::string arguments_;  // the current call's column references
  int inCall_ = 0;
  std::string clauses_;
};

}  // namespace qelsandbox
