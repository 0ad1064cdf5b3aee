// The lock of the installation settings file and the removal of its files.
// flock locks vanish with their holder, so a killed father leaves no lock
// behind even when it leaves the file.
#include "InstSettingsLock.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/QelSecureFile.h"
#include "platform/QelSettings.h"

namespace {
// The settings file and the answers a son hands back (InstSettingsHandBack).
constexpr const char* Prefixes[] = {"TESSARInst.", "TESSARInstBack."};
}  // namespace

std::string ZEP2InstSettingsLock::LockPath() {
  return QelUserSettingDirectory() + "/TESSARInst.lock";
}

std::string ZEP2InstSettingsPath() {
  return CreateServices()->RepositoryPath("TESSARInst");
}

int ZEP2InstSettingsLock::Acquire(std::string& error) {
  Release();
  if (QelMakeDirectories(QelUserSettingDirectory(), 0700) != 0) {
    error = QelUserSettingDirectory() + ": " + std::strerror(errno);
    return -1;
  }
  const int descriptor = QelOpenOwnedFile(LockPath(), 0, 0600, error);
  if (descriptor < 0) return -1;
  if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
    const bool busy = errno == EWOULDBLOCK;
    error = LockPath() + ": " + (busy ? "held by another installation" : std::strerror(errno));
    close(descriptor);
    return busy ? 1 : -1;
  }
  descriptor_ = descriptor;
  return 0;
}

void ZEP2InstSettingsLock::Release() {
  if (descriptor_ < 0) return;
  close(descriptor_);
  descriptor_ = -1;
}

bool ZEP2InstSettingsLock::IsHeldByAnother() {
  const int descriptor = open(LockPath().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (descriptor < 0) return false;
  const bool held = flock(descriptor, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  close(descriptor);
  return held;
}

int ZEP2RemoveInstSettingsFiles() {
  const std::string directory = QelUserSettingDirectory();
  const std::unique_ptr<DIR, int (*)(DIR*)> entries(opendir(directory.c_str()), closedir);
  if (!entries) return 0;
  int removed = 0;
  while (const dirent* entry = readdir(entries.get())) {
    bool ours = false;
    for (const char* prefix : Prefixes) {
      ours = ours || std::strncmp(entry->d_name, prefix, std::strlen(prefix)) == 0;
    }
    if (!ours) continue;
    if (unlinkat(dirfd(entries.get()), entry->d_name, 0) == 0) ++removed;
  }
  return removed;
}
