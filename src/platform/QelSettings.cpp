// Settings files: one "key=value" line per pair, with backslash escapes for
// the characters that would break the line structure.
#include "QelSettings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <utility>
#include <vector>

#include "QelEscape.h"
#include "QelSecureFile.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

// What would break a line; a key's '=' would end the key early.
constexpr QelEscape kValueEscapes[] = {{'\n', 'n'}, {'\r', 'r'}, {'\0', '0'}};
constexpr QelEscape kKeyEscapes[] = {{'\n', 'n'}, {'\r', 'r'}, {'\0', '0'}, {'=', '='}};

// Only a plain file of this user is trusted: answers planted through a link
// or in another user's file would be taken for the father's.
std::string ReadOwnFile(const std::string& path) {
  std::string content;
  const int descriptor = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (descriptor < 0) return content;
  struct stat info {};
  if (fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid()) {
    char buffer[8192];
    ssize_t count;
    while ((count = read(descriptor, buffer, sizeof buffer)) > 0) {
      content.append(buffer, static_cast<std::size_t>(count));
    }
  }
  close(descriptor);
  return content;
}

Pairs Load(const std::string& path) {
  Pairs pairs;
  std::istringstream file(ReadOwnFile(path));
  std::string line;
  while (std::getline(file, line)) {
    std::size_t position = 0;
    std::string key;
    QelUnescape(line, position, kKeyEscapes, key, '=');
    if (position >= line.size()) continue;  // no '=': not a pair
    ++position;
    pairs.emplace_back(std::move(key), QelUnescaped(line.substr(position), kValueEscapes));
  }
  return pairs;
}

}  // namespace

std::string QelSettingsServices::RepositoryPath(const QelUnicodeString& repository) const {
  return directory_ + "/" + repository.str() + ".settings";
}

int QelSettingsServices::WriteSetting(const QelUnicodeString& key, const QelUnicodeString& value,
                                      const QelUnicodeString& repository) {
  if (QelMakeDirectories(directory_, 0700) != 0) return -1;
  const std::string path = RepositoryPath(repository);
  Pairs pairs = Load(path);
  bool replaced = false;
  for (auto& [storedKey, storedValue] : pairs) {
    if (storedKey == key.str()) {
      storedValue = value.str();
      replaced = true;
    }
  }
  if (!replaced) pairs.emplace_back(key.str(), value.str());

  std::string content;
  for (const auto& [storedKey, storedValue] : pairs) {
    QelAppendEscaped(content, storedKey, kKeyEscapes);
    content += '=';
    QelAppendEscaped(content, storedValue, kValueEscapes);
    content += '\n';
  }
  std::string error;
  return QelWriteFileAtomically(path, content, 0600, error);
}

QelUnicodeString QelSettingsServices::ReadSetting(const QelUnicodeString& key,
                                                  const QelUnicodeString& repository) const {
  for (const auto& [storedKey, storedValue] : Load(RepositoryPath(repository))) {
    if (storedKey == key.str()) return storedValue;
  }
  return {};
}

std::string QelUserSettingDirectory() {
  const char* configured = std::getenv("QelUserSettingPath");
  if (configured && *configured) return configured;
  const char* home = std::getenv("HOME");
  const std::string directory = std::string(home && *home ? home : "/tmp") + "/.tessardbsetup";
  setenv("QelUserSettingPath", directory.c_str(), 1);
  return directory;
}

std::unique_ptr<QelSettingsServices> CreateServices() {
  return std::make_unique<QelSettingsServices>(QelUserSettingDirectory());
}
