// Checks of Unix accounts and directories named on the pages. The password
// check takes the whole stored hash as the salt, so every hash scheme the
// host's crypt knows (yescrypt, SHA-512, the traditional one) verifies.
#include <crypt.h>
#include <dirent.h>

#include <cstring>
#include <memory>

#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2MessageBoxes.h"
#include "platform/QelAccounts.h"
#include "platform/QelLog.h"

namespace {

constexpr const char* Separator = "\n====================================================";

// Constant-time comparison: the time taken does not tell how much matched.
bool SameHash(const char* computed, const std::string& stored) {
  const std::size_t length = std::strlen(computed);
  if (length != stored.size()) return false;
  unsigned char difference = 0;
  for (std::size_t i = 0; i < length; ++i) {
    difference |= static_cast<unsigned char>(computed[i] ^ stored[i]);
  }
  return difference == 0;
}

}  // namespace

int ZEP2InstHQ::authenticateWithPassword(const char* user, const char* password) {
  WriteTraceLogFile("\n\nauthenticateWithPassword Begin ...\n", 0);
  WriteTraceLogFile(Separator, 1);
  WriteTraceLogFile(std::string("\nAuthentication for client : <") + user + ">", 1);
  if (std::strcmp(user, "root") == 0) {
    WriteTraceLogFile("\nUser root tried to login and was rejected", 1);
    WriteTraceLogFile("\nuser root not authorized", 1);
    WriteTraceLogFile(Separator, 1);
    return -2;
  }
  const std::optional<std::string> stored = QelLookupPasswordHash(user);
  if (!stored) {
    WriteTraceLogFile("\nUser tried to log but is not recognized by the system.", 1);
    WriteTraceLogFile("\nUser unknown", 1);
    WriteTraceLogFile(Separator, 1);
    return -3;
  }
  // crypt_data is large; the heap keeps it off a small stack.
  auto data = std::make_unique<crypt_data>();
  const char* computed = crypt_r(password, stored->c_str(), data.get());
  // A locked or empty stored hash ("!", "*", "") never matches: crypt fails
  // on it or gives a "*" failure token that differs from it.
  const bool valid =
      computed && computed[0] != '*' && !stored->empty() && SameHash(computed, *stored);
  explicit_bzero(data.get(), sizeof(crypt_data));
  if (!valid) {
    WriteTraceLogFile("\nPassword not valid", 1);
    WriteTraceLogFile(Separator, 1);
    return -4;
  }
  WriteTraceLogFile("\nUser is authentified ", 1);
  WriteTraceLogFile("\nUser successfully logged in", 1);
  WriteTraceLogFile("\nauthenticateWithPassword End.\n\n", 0);
  return 0;
}

int ZEP2InstHQ::GetUidGidHomd(const QelUnicodeString& name, int* uid, int* gid,
                              QelUnicodeString* home) {
  WriteTraceLogFile("\n\nGetUidGid Begin ...\n", 0);
  int result = 0;
  if (const std::optional<QelAccount> account = QelLookupAccount(name.str())) {
    WriteTraceLogFile("\ngetpwnam success ...", 1);
    *uid = static_cast<int>(account->uid);
    *gid = static_cast<int>(account->gid);
    *home = account->home;
    WriteTraceLogFile("\nUid and Gid Valuated ...", 1);
  } else {
    WriteTraceLogFile("\ngetpwnam error !!!", 2);
    const QelUnicodeString message = "User - " + name + " - must be a unix user";
    WriteTraceLogFile("\n" + message + "\n", 2);
    _ErrDlgDir = std::make_unique<ZEP2ErrDlgDir>(this, message);
    _ErrDlgDir->Build();
    _ErrDlgDir.reset();
    result = -1;
  }
  WriteTraceLogFile("\nGetUidGid End.\n\n", 0);
  return result;
}

int ZEP2InstHQ::IsDirectory(const QelUnicodeString& path) {
  WriteTraceLogFile("\n\nIsDirectory Begin ...\n", 0);
  DIR* directory = opendir(path.c_str());
  const int result = directory ? 0 : -1;
  if (directory) {
    closedir(directory);
    WriteTraceLogFile("\nSuccess de l'ouverture du directory : <" + path + ">", 1);
  } else {
    WriteTraceLogFile("\nEchec de l'ouverture du directory : <" + path + ">", 1);
  }
  WriteTraceLogFile("\nIsDirectory End.\n\n", 0);
  return result;
}
