// Encryption with an authenticated cipher (XChaCha20-Poly1305): the account
// name is authenticated with the text, so a password moved to another
// account's property no longer decrypts. Stored form: the prefix, then the
// nonce and the cipher text in base64.
#include "TAVOVaultServices.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/QelSystem.h"

namespace {

constexpr const char* Prefix = "{xchacha20poly1305}";
using Key = std::array<unsigned char, crypto_aead_xchacha20poly1305_ietf_KEYBYTES>;

// Reads the key, refusing a link, a file of another owner or one that
// others may read.
bool ReadKey(const std::string& path, Key& key, std::string& error) {
  const int descriptor = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  struct stat info {};
  if (descriptor < 0 || fstat(descriptor, &info) != 0) {
    error = path + ": " + std::strerror(errno);
    if (descriptor >= 0) close(descriptor);
    return false;
  }
  bool usable = S_ISREG(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & 077) == 0;
  if (!usable) error = path + ": not an owner-only key file of this user";
  usable = usable && read(descriptor, key.data(), key.size()) == static_cast<ssize_t>(key.size());
  if (error.empty() && !usable) error = path + ": key too short";
  close(descriptor);
  return usable;
}

std::string InstallPath() {
  const char* path = QelGetEnv("QelInstallPath");
  return path ? path : "";
}

}  // namespace

std::string TAVOVaultServices::KeyPath(const std::string& installPath) {
  std::string path = installPath;
  if (!path.empty() && path.back() != '/') path += '/';
  return path + "docs/java/VaultServer.key";
}

int TAVOVaultServices::EnsureKey(const std::string& installPath, std::string& error) {
  if (sodium_init() < 0) {
    error = "the cipher library cannot start";
    return -1;
  }
  const std::string path = KeyPath(installPath);
  const int descriptor =
      open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (descriptor >= 0) {
    Key key{};
    randombytes_buf(key.data(), key.size());
    const bool written =
        fchmod(descriptor, 0600) == 0 &&
        write(descriptor, key.data(), key.size()) == static_cast<ssize_t>(key.size());
    sodium_memzero(key.data(), key.size());
    if (close(descriptor) != 0 || !written) {
      error = path + ": cannot write the key";
      unlink(path.c_str());
      return -1;
    }
    return 0;
  }
  if (errno != EEXIST) {
    error = path + ": " + std::strerror(errno);
    return -1;
  }
  Key key{};
  const bool usable = ReadKey(path, key, error);
  sodium_memzero(key.data(), key.size());
  return usable ? 0 : -1;
}

int TAVOVaultServices::encrypt(const QelUnicodeString& account, const QelUnicodeString& password,
                               QelUnicodeString& result) {
  const std::string installPath = InstallPath();
  std::string error;
  Key key{};
  if (installPath.empty() || EnsureKey(installPath, error) != 0 ||
      !ReadKey(KeyPath(installPath), key, error)) {
    return -1;
  }
  std::vector<unsigned char> sealed(crypto_aead_xchacha20poly1305_ietf_NPUBBYTES +
                                    password.Length() + crypto_aead_xchacha20poly1305_ietf_ABYTES);
  unsigned char* nonce = sealed.data();
  randombytes_buf(nonce, crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);
  unsigned long long length = 0;
  crypto_aead_xchacha20poly1305_ietf_encrypt(
      nonce + crypto_aead_xchacha20poly1305_ietf_NPUBBYTES, &length,
      reinterpret_cast<const unsigned char*>(password.c_str()), password.Length(),
      reinterpret_cast<const unsigned char*>(account.c_str()), account.Length(), nullptr, nonce,
      key.data());
  sodium_memzero(key.data(), key.size());
  std::vector<char> text(sodium_base64_encoded_len(sealed.size(), sodium_base64_VARIANT_ORIGINAL));
  sodium_bin2base64(text.data(), text.size(), sealed.data(), sealed.size(),
                    sodium_base64_VARIANT_ORIGINAL);
  result = std::string(Prefix) + text.data();
  return 0;
}

int TAVOVaultServices::decrypt(const std::string& installPath, const QelUnicodeString& account,
                               const QelUnicodeString& text, QelUnicodeString& password) {
  const std::string& stored = text.str();
  const std::size_t prefix = std::strlen(Prefix);
  std::string error;
  Key key{};
  if (sodium_init() < 0 || stored.compare(0, prefix, Prefix) != 0 ||
      !ReadKey(KeyPath(installPath), key, error)) {
    return -1;
  }
  std::vector<unsigned char> sealed(stored.size());
  std::size_t length = 0;
  const bool decoded = sodium_base642bin(sealed.data(), sealed.size(), stored.c_str() + prefix,
                                         stored.size() - prefix, nullptr, &length, nullptr,
                                         sodium_base64_VARIANT_ORIGINAL) == 0 &&
                       length >= crypto_aead_xchacha20poly1305_ietf_NPUBBYTES +
                                     crypto_aead_xchacha20poly1305_ietf_ABYTES;
  std::vector<unsigned char> clear(length);
  unsigned long long clearLength = 0;
  const bool opened = decoded && crypto_aead_xchacha20poly1305_ietf_decrypt(
                                     clear.data(), &clearLength, nullptr,
                                     sealed.data() + crypto_aead_xchacha20poly1305_ietf_NPUBBYTES,
                                     length - crypto_aead_xchacha20poly1305_ietf_NPUBBYTES,
                                     reinterpret_cast<const unsigned char*>(account.c_str()),
                                     account.Length(), sealed.data(), key.data()) == 0;
  sodium_memzero(key.data(), key.size());
  if (!opened) return -1;
  password = std::string(reinterpret_cast<const char*>(clear.data()), clearLength);
  sodium_memzero(clear.data(), clear.size());
  return 0;
}
