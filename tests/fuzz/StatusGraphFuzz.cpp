// Fuzzes the status-graph reader through its import service: with no
// database configured, a file is either refused with a located reason or
// read whole, and the message buffer always holds a C string.
#include <cstring>

#include "FuzzSupport.h"
#include "PdmFileChecks.h"
#include "platform/db/QelDb.h"
#include "platform/pdm/ZEPServices.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::WriteScratchFile("ZEPFuzz.VGraph", data, size);
  int errorCode = 0;
  char message[QelDbMessageSize];
  std::memset(message, 'x', sizeof message);
  const int result = ZEPRDBEIAPI("pdmadm", "fuzz", "Import", path.c_str(), errorCode, message);
  fuzz::Expect(result == errorCode, "status graph", "result and error code differ");
  fuzz::Expect(std::memchr(message, '\0', sizeof message) != nullptr, "status graph",
               "message buffer without its NUL");
  if (result == ZEPErrorNotConfigured) return 0;
  fuzz::Expect(result == ZEPErrorMalformedFile, "status graph", "result " + std::to_string(result));
  fuzz::ExpectLocatedMessage("status graph", message, path, data, size);
  return 0;
}
