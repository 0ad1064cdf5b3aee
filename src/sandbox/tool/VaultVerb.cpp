// tessardbsetup-sandbox vault decrypt: the clear text of the vault server's
// database password, for tests that check what the installer encrypted.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "SandboxCommand.h"
#include "platform/pdm/TAVOVaultServices.h"

namespace {

constexpr const char* Help =
    "usage: tessardbsetup-sandbox vault decrypt [--site DIR]\n"
    "  prints the password of VaultServer_DBPassword, decrypted with the site's\n"
    "  vault key for the account of VaultServer_DBUser (sandbox passwords only)\n";

// The value of "key = value" in a properties text, or false.
bool Property(const std::string& text, const std::string& key, std::string& value) {
  std::istringstream lines(text);
  const std::string prefix = key + " = ";
  for (std::string line; std::getline(lines, line);) {
    if (line.compare(0, prefix.size(), prefix) == 0) {
      value = line.substr(prefix.size());
      return true;
    }
  }
  return false;
}

}  // namespace

int RunVaultVerb(const std::vector<std::string>& arguments) {
  CommandOptions options;
  std::string error;
  if (!ParseCommandOptions(arguments, {"site"}, {"help"}, options, error) ||
      options.flags.count("help") || options.positional.size() != 1 ||
      options.positional[0] != "decrypt") {
    std::fprintf(options.flags.count("help") ? stdout : stderr, "%s%s", error.c_str(), Help);
    return options.flags.count("help") ? ExitOk : ExitUsage;
  }
  const std::string site = CommandSite(options);
  const std::string install = site + "/pdm";
  std::ifstream file(install + "/docs/java/VaultServer.properties", std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  std::string account;
  std::string stored;
  QelUnicodeString password;
  if (site.empty() || !file || !Property(text.str(), "VaultServer_DBUser", account) ||
      !Property(text.str(), "VaultServer_DBPassword", stored) ||
      TAVOVaultServices::decrypt(install, account, stored, password) != 0) {
    std::fprintf(stderr,
                 "tessardbsetup-sandbox vault: no password of this site's key to decrypt\n");
    return ExitError;
  }
  std::printf("%s\n", password.c_str());
  return ExitOk;
}
