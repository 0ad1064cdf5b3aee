// Hashing and checking the sandbox's account passwords, with the process's
// memory of passwords it has already checked.
#include "SandboxPasswords.h"

#include <crypt.h>
#include <sodium.h>
#include <string.h>

#include <array>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "SandboxSql.h"

namespace qelsandbox {

namespace {

// A connection may still be opened while the process exits, after the
// memory of proved passwords is gone: it then takes the slow way.
bool forgotten = false;

// What the process remembers of a successful check: a digest of the stored
// hash and the password under a key made for this process alone, never the
// password. A changed password has a new stored hash, so its old entries
// no longer match; a wrong password always takes the slow way.
class ProvenPasswords {
 public:
  using Digest = std::array<unsigned char, crypto_generichash_BYTES>;

  ProvenPasswords() {
    if (sodium_init() < 0) return;
    crypto_generichash_keygen(key_.data());
    ready_ = true;
  }
  ~ProvenPasswords() {
    forgotten = true;
    sodium_memzero(key_.data(), key_.size());
  }
  ProvenPasswords(const ProvenPasswords&) = delete;
  ProvenPasswords& operator=(const ProvenPasswords&) = delete;

  bool Holds(const std::string& password, const std::string& hash) {
    Digest digest{};
    if (!DigestOf(password, hash, digest)) return false;
    const std::lock_guard<std::mutex> lock(mutex_);
    bool found = false;
    for (const Digest& entry : entries_) {
      found |= sodium_memcmp(entry.data(), digest.data(), digest.size()) == 0;
    }
    return found;
  }

  void Add(const std::string& password, const std::string& hash) {
    Digest digest{};
    if (!DigestOf(password, hash, digest)) return;
    const std::lock_guard<std::mutex> lock(mutex_);
    // A run uses a handful of accounts; the oldest make room beyond that.
    if (entries_.size() == MaxEntries) entries_.erase(entries_.begin());
    entries_.push_back(digest);
  }

 private:
  static constexpr std::size_t MaxEntries = 32;

  bool DigestOf(const std::string& password, const std::string& hash, Digest& digest) const {
    if (!ready_) return false;
    crypto_generichash_state state;
    const auto bytes = [](const std::string& text) {
      return reinterpret_cast<const unsigned char*>(text.c_str());
    };
    // Each part with its terminating NUL, so no two pairs run together alike.
    crypto_generichash_init(&state, key_.data(), key_.size(), digest.size());
    crypto_generichash_update(&state, bytes(hash), hash.size() + 1);
    crypto_generichash_update(&state, bytes(password), password.size() + 1);
    crypto_generichash_final(&state, digest.data(), digest.size());
    return true;
  }

  std::array<unsigned char, crypto_generichash_KEYBYTES> key_{};
  bool ready_ = false;
  std::mutex mutex_;
  std::vector<Digest> entries_;
};

ProvenPasswords& Proven() {
  static ProvenPasswords proven;
  return proven;
}

bool SlowVerify(const std::string& password, const std::string& hash) {
  auto data = std::make_unique<crypt_data>();
  const char* computed = crypt_r(password.c_str(), hash.c_str(), data.get());
  bool same = computed && computed[0] != '*' && std::string_view(computed).size() == hash.size();
  if (same) {
    // Constant time: how much matched does not show in the time taken.
    unsigned char difference = 0;
    for (std::size_t i = 0; i < hash.size(); ++i) {
      difference |= static_cast<unsigned char>(computed[i] ^ hash[i]);
    }
    same = difference == 0;
  }
  explicit_bzero(data.get(), sizeof(crypt_data));
  return same;
}

}  // namespace

std::string HashPassword(const std::string& password) {
  char salt[CRYPT_GENSALT_OUTPUT_SIZE];
  if (!crypt_gensalt_rn("$6$", 0, nullptr, 0, salt, sizeof salt)) {
    Raise({-1, "cannot generate a password salt"});
  }
  auto data = std::make_unique<crypt_data>();
  const char* hash = crypt_r(password.c_str(), salt, data.get());
  std::string result = hash && hash[0] != '*' ? hash : "";
  explicit_bzero(data.get(), sizeof(crypt_data));
  if (result.empty()) Raise({-1, "cannot hash a password"});
  return result;
}

bool VerifyPassword(const std::string& password, const std::string& hash) {
  if (hash.empty() || hash[0] == '!' || hash[0] == '*') return false;
  if (!forgotten && Proven().Holds(password, hash)) return true;
  if (!SlowVerify(password, hash)) return false;
  if (!forgotten) Proven().Add(password, hash);
  return true;
}

}  // namespace qelsandbox
