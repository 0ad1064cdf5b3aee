// Account look-ups. The sandbox files have the host's formats, so one parser
// of colon-separated lines serves both.
#include "QelAccounts.h"

#include <pwd.h>
#include <shadow.h>

#include <cstdlib>
#include <fstream>
#include <vector>

namespace {

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t colon = line.find(':', start);
    fields.push_back(line.substr(start, colon - start));
    if (colon == std::string::npos) return fields;
    start = colon + 1;
  }
}

// The fields of name's line in a colon-separated file.
std::optional<std::vector<std::string>> FindLine(const std::string& path, const std::string& name) {
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    std::vector<std::string> fields = Fields(line);
    if (!fields.empty() && fields[0] == name) return fields;
  }
  return std::nullopt;
}

bool ToNumber(const std::string& text, unsigned long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtoul(text.c_str(), &end, 10);
  return *end == '\0';
}

}  // namespace

std::string QelAccountsRoot() {
  const char* site = std::getenv("TESSARDBSETUP_SANDBOX");
  return site && *site ? site : "";
}

std::optional<QelAccount> QelLookupAccount(const std::string& name) {
  if (name.empty()) return std::nullopt;
  const std::string site = QelAccountsRoot();
  if (site.empty()) {
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwnam_r(name.c_str(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found) {
      return std::nullopt;
    }
    return QelAccount{found->pw_name, found->pw_uid, found->pw_gid, found->pw_dir, found->pw_shell};
  }
  const auto fields = FindLine(site + "/etc/passwd", name);
  unsigned long uid = 0;
  unsigned long gid = 0;
  if (!fields || fields->size() < 7 || !ToNumber((*fields)[2], uid) ||
      !ToNumber((*fields)[3], gid)) {
    return std::nullopt;
  }
  return QelAccount{name, static_cast<uid_t>(uid), static_cast<gid_t>(gid), (*fields)[5],
                    (*fields)[6]};
}

std::optional<std::string> QelLookupPasswordHash(const std::string& name) {
  return QelLookupPasswordHash(name, QelAccountsRoot());
}

std::optional<std::string> QelLookupPasswordHash(const std::string& name, const std::string& site) {
  if (name.empty()) return std::nullopt;
  if (site.empty()) {
    spwd entry{};
    spwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getspnam_r(name.c_str(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found) {
      return std::nullopt;
    }
    return std::string(found->sp_pwdp ? found->sp_pwdp : "");
  }
  const auto fields = FindLine(site + "/etc/shadow", name);
  if (!fields || fields->size() < 2) return std::nullopt;
  return (*fields)[1];
}
