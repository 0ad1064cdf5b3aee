// Keeping the connections of ended sessions for the process's next ones.
#include "SandboxIdleConnections.h"

#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <utility>
#include <vector>

namespace qelsandbox {

namespace {

struct Idle {
  std::string path;
  dev_t device;
  ino_t inode;
  std::unique_ptr<SqliteDatabase> db;
};

// A few databases at most are in use at once: a DB2 and an Oracle one.
constexpr std::size_t IdleKept = 4;

// Sessions may still end while the process exits, after the kept
// connections are gone: theirs then simply close.
bool ended = false;

class IdleConnections {
 public:
  ~IdleConnections() {
    const std::lock_guard<std::mutex> lock(mutex_);
    ended = true;
    // A child that inherited them must not close its parent's connections.
    if (owner_ != getpid()) Forget();
    idle_.clear();
  }

  std::unique_ptr<SqliteDatabase> Take(const std::string& path) {
    const std::lock_guard<std::mutex> lock(mutex_);
    Adopt();
    for (auto idle = idle_.begin(); idle != idle_.end(); ++idle) {
      if (idle->path != path) continue;
      std::unique_ptr<SqliteDatabase> db = std::move(idle->db);
      const bool same = SameFile(path, idle->device, idle->inode);
      idle_.erase(idle);
      if (same) return db;
      // The file was replaced: the connection's last close must leave the
      // new database's write-ahead log alone.
      db->KeepLogOnClose();
      return nullptr;
    }
    return nullptr;
  }

  void Keep(const std::string& path, std::unique_ptr<SqliteDatabase> db) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return;
    const std::lock_guard<std::mutex> lock(mutex_);
    Adopt();
    idle_.push_back({path, status.st_dev, status.st_ino, std::move(db)});
    if (idle_.size() > IdleKept) idle_.erase(idle_.begin());
  }

 private:
  static bool SameFile(const std::string& path, dev_t device, ino_t inode) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && status.st_dev == device && status.st_ino == inode;
  }

  // SQLite connections do not survive a fork: a child starts with none.
  void Adopt() {
    if (owner_ == getpid()) return;
    Forget();
    owner_ = getpid();
  }

  void Forget() {
    for (Idle& idle : idle_) static_cast<void>(idle.db.release());
    idle_.clear();
  }

  std::mutex mutex_;
  pid_t owner_ = getpid();
  std::vector<Idle> idle_;
};

IdleConnections& Connections() {
  static IdleConnections connections;
  return connections;
}

}  // namespace

std::unique_ptr<SqliteDatabase> OpenDatabase(const std::string& path, int busyMilliseconds) {
  if (std::unique_ptr<SqliteDatabase> kept = ended ? nullptr : Connections().Take(path)) {
    kept->Renew(busyMilliseconds);
    return kept;
  }
  return std::make_unique<SqliteDatabase>(path, false, busyMilliseconds);
}

void KeepIdleDatabase(const std::string& path, std::unique_ptr<SqliteDatabase> db) {
  if (!db || db->InTransaction() || ended) return;
  Connections().Keep(path, std::move(db));
}

}  // namespace qelsandbox
