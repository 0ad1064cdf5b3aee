// Settings repositories: key/value files <repository>.settings in the user
// setting directory. Any value (empty, with '=', a newline or any byte)
// reads back exactly as it was written.
#pragma once

#include <memory>
#include <string>

#include "QelUnicodeString.h"

class QelSettingsServices {
 public:
  explicit QelSettingsServices(std::string directory) : directory_(std::move(directory)) {}

  // Stores the pair, replacing the file in one step (mode 0600, never through
  // a symbolic link). 0 on success, -1 when the file could not be written.
  int WriteSetting(const QelUnicodeString& key, const QelUnicodeString& value,
                   const QelUnicodeString& repository);
  // The stored value, empty when the key, the file or the directory is absent.
  QelUnicodeString ReadSetting(const QelUnicodeString& key,
                               const QelUnicodeString& repository) const;

  std::string RepositoryPath(const QelUnicodeString& repository) const;

 private:
  std::string directory_;
};

std::unique_ptr<QelSettingsServices> CreateServices();

// $QelUserSettingPath; when it is unset, $HOME/.tessardbsetup (or
// /tmp/.tessardbsetup), exported so that child processes and generated
// scripts name the same directory.
std::string QelUserSettingDirectory();
