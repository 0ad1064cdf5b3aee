// Reading back and removing a sandbox database's server settings, so that an
// installation can put back what it found before it wrote its own.
#include "SandboxAdmin.h"
#include "SandboxSession.h"

namespace qelsandbox {

bool ReadServerSetting(const DatabaseLocation& location, const std::string& name,
                       ServerSetting& setting) {
  try {
    SqliteDatabase db(location.file, false, LockTimeoutMilliseconds());
    SqliteStatement row = db.Prepare(
        "SELECT server, vendor, authentication, username, password FROM sbx_server_settings "
        "WHERE name = ?1");
    row.Bind(1, name);
    if (!row.Step()) return false;
    setting = {name,        row.Text(0), static_cast<int>(row.Int(1)), static_cast<int>(row.Int(2)),
               row.Text(3), row.Text(4)};
    return true;
  } catch (const SqliteFailure& failure) {
    Raise({-1, "cannot read the server setting " + name + ": " + failure.message});
  }
}

void RemoveServerSetting(const DatabaseLocation& location, const std::string& name) {
  try {
    SqliteDatabase db(location.file, false, LockTimeoutMilliseconds());
    db.Exec("BEGIN IMMEDIATE");
    db.Prepare("DELETE FROM sbx_server_settings WHERE name = ?1").Bind(1, name).Step();
    db.Exec("COMMIT");
  } catch (const SqliteFailure& failure) {
    Raise({-1, "cannot remove the server setting " + name + ": " + failure.message});
  }
}

}  // namespace qelsandbox
