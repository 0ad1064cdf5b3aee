// The machine's account database: the host's, or the sandbox site's
// etc/passwd and etc/shadow when TESSARDBSETUP_SANDBOX names a site.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

struct QelAccount {
  std::string name;
  uid_t uid = 0;
  gid_t gid = 0;
  std::string home;
  std::string shell;
};

// The account, or nothing when it does not exist.
std::optional<QelAccount> QelLookupAccount(const std::string& name);

// The stored password hash of the account, or nothing when it has no shadow
// entry (or the shadow database cannot be read).
std::optional<std::string> QelLookupPasswordHash(const std::string& name);
// The same in the accounts of the sandbox site (the host's when site is
// empty), for a caller that names its site rather than inheriting it.
std::optional<std::string> QelLookupPasswordHash(const std::string& name, const std::string& site);

// The directory whose etc/passwd and etc/shadow hold the accounts
// (TESSARDBSETUP_SANDBOX), empty for the host's own.
std::string QelAccountsRoot();
