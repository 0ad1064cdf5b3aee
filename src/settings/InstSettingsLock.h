// Who owns the installation settings file: the first process of a run holds
// a lock beside it from the save until its son has ended, so a settings file
// whose lock nobody holds is the leftover of a run that did not end.
#pragma once

#include <string>

class ZEP2InstSettingsLock {
 public:
  ZEP2InstSettingsLock() = default;
  ZEP2InstSettingsLock(const ZEP2InstSettingsLock&) = delete;
  ZEP2InstSettingsLock& operator=(const ZEP2InstSettingsLock&) = delete;
  ~ZEP2InstSettingsLock() { Release(); }

  // Takes the lock for this process: 0, 1 when another live process holds
  // it, -1 with the reason in error when the lock file cannot be made.
  int Acquire(std::string& error);
  void Release();
  bool IsAcquired() const { return descriptor_ >= 0; }

  // Whether a live process holds the lock of the settings directory.
  static bool IsHeldByAnother();
  static std::string LockPath();

 private:
  int descriptor_ = -1;
};

// Removes every file of the settings repository ("TESSARInst.*") and of
// the answers a son hands back ("TESSARInstBack.*") from the settings directory, whatever that
// directory is called; links are removed, never followed. The number of files removed.
int ZEP2RemoveInstSettingsFiles();
// The settings file's path, for messages.
std::string ZEP2InstSettingsPath();
