// The PDM services' set-up and sessions: where they work, file look-up on a
// path variable, UUIDs, the modelling session and the PDM session.
#include "platform/pdm/ZEPServices.h"

#include <sys/random.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>

#include "PdmConnection.h"

namespace {

std::optional<pdm::Target>& ConfiguredTarget() {
  static std::optional<pdm::Target> target;
  return target;
}

std::unique_ptr<pdm::Connection>& OpenSessionConnection() {
  static std::unique_ptr<pdm::Connection> connection;
  return connection;
}

bool IsRegularFile(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

namespace pdm {

const Target* CurrentTarget() {
  return ConfiguredTarget() ? &*ConfiguredTarget() : nullptr;
}

Connection* SessionConnection() {
  return OpenSessionConnection().get();
}

}  // namespace pdm

void ZEPServicesConfigure(int dbms, const QelUnicodeString& database,
                          const QelUnicodeString& schema) {
  ConfiguredTarget() = pdm::Target{dbms, database.str(), schema.str()};
}

int QelGetFilePathFromOfficialVariable(const char* fileName, const char* variable,
                                       char (&buffer)[1024]) {
  buffer[0] = '\0';
  if (!fileName || !*fileName || !variable) return -1;
  const char* value = std::getenv(variable);
  if (!value) return -1;
  const std::string directories = value;
  std::size_t start = 0;
  while (start <= directories.size()) {
    std::size_t end = directories.find(':', start);
    if (end == std::string::npos) end = directories.size();
    // An empty entry is skipped rather than read as the current directory:
    // where the installer happens to run must not decide which file it uses.
    if (end > start) {
      std::string path = directories.substr(start, end - start);
      if (path.back() != '/') path += '/';
      path += fileName;
      if (IsRegularFile(path)) {
        if (path.size() >= sizeof buffer) return -1;
        std::memcpy(buffer, path.c_str(), path.size() + 1);
        return 0;
      }
    }
    start = end + 1;
  }
  return -1;
}

void getuuid(unsigned char (&uuid)[16]) {
  std::size_t filled = 0;
  while (filled < sizeof uuid) {
    const ssize_t got = getrandom(uuid + filled, sizeof uuid - filled, 0);
    if (got > 0) {
      filled += static_cast<std::size_t>(got);
    } else if (got < 0 && errno != EINTR) {
      break;
    }
  }
  // A kernel without getrandom still has a random device behind this.
  if (filled < sizeof uuid) {
    std::random_device device;
    for (; filled < sizeof uuid; ++filled) uuid[filled] = static_cast<unsigned char>(device());
  }
  uuid[6] = static_cast<unsigned char>((uuid[6] & 0x0F) | 0x40);  // version 4: random
  uuid[8] = static_cast<unsigned char>((uuid[8] & 0x3F) | 0x80);  // the standard's variant
}

SdaiSession* SdaiSession::CurrentSession() {
  static SdaiSession session;
  return &session;
}

int SdaiSession::CloseSession() {
  return 0;
}

int ZEPSession::OpenSession(const char* administrator, const char* password) {
  pdm::ClearReport();
  CloseSession();
  const pdm::Target* target = pdm::CurrentTarget();
  if (!target) {
    pdm::Report("ZEPSession::OpenSession",
                {ZEPErrorNotConfigured, "no database is configured for the PDM services"}, true);
    return 0;
  }
  pdm::Failure failure;
  OpenSessionConnection() = pdm::Connection::Open(*target, administrator ? administrator : "",
                                                  password ? password : "", failure);
  if (!OpenSessionConnection()) {
    pdm::Report("ZEPSession::OpenSession", failure, true);
    return 0;
  }
  return 1;
}

int ZEPSession::CloseSession() {
  if (OpenSessionConnection()) OpenSessionConnection()->Close();
  OpenSessionConnection().reset();
  return 0;
}
