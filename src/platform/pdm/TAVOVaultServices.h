// The vault client services' password encryption: the vault server's
// database password is stored encrypted with the site's vault key, bound to
// the account it belongs to.
#pragma once

#include <string>

#include "platform/QelUnicodeString.h"

class TAVOVaultServices {
 public:
  // The text to store for account's password: a fresh random nonce each
  // call, so two encryptions of one password differ. The site's key is
  // created (owner-only) on first use. 0, or -1 with result unchanged.
  static int encrypt(const QelUnicodeString& account, const QelUnicodeString& password,
                     QelUnicodeString& result);
  // The clear password of a text encrypt produced for account, with the key
  // of the installed tree installPath. 0, or -1 when the key is missing or
  // the text was not made for this account with this key.
  static int decrypt(const std::string& installPath, const QelUnicodeString& account,
                     const QelUnicodeString& text, QelUnicodeString& password);

  // Where the key of the installed tree installPath is kept.
  static std::string KeyPath(const std::string& installPath);
  // Creates that key when it is absent (mode 0600); 0 when a usable key is
  // there, -1 with the reason in error.
  static int EnsureKey(const std::string& installPath, std::string& error);
};
