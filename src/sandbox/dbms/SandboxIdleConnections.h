// The SQLite connections of this process's ended sessions, kept for its next
// session on the same database: opening a connection reads the catalogue's
// whole schema, and the installer opens a session for every schema it checks.
#pragma once

#include <memory>
#include <string>

#include "SandboxSqlite.h"

namespace qelsandbox {

// A kept connection to the file at path, or a new one.
std::unique_ptr<SqliteDatabase> OpenDatabase(const std::string& path, int busyMilliseconds);

// Keeps the connection of a session that ended, unless it is still in a
// transaction.
void KeepIdleDatabase(const std::string& path, std::unique_ptr<SqliteDatabase> db);

}  // namespace qelsandbox
