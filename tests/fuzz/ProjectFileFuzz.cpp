// Fuzzes the project administration file reader through its service: with
// no database configured, a file is either refused with a located reason
// or read whole, and nothing else happens.
#include "FuzzSupport.h"
#include "PdmFileChecks.h"
#include "platform/pdm/ZEPServices.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::WriteScratchFile("ZEPAdmin.adm", data, size);
  const int result = ZEPXmlAdm(path.c_str(), "pdmadm", "fuzz");
  const std::string& message = ZEPServicesLastMessage();
  if (result == ZEPErrorNotConfigured) return 0;
  fuzz::Expect(result == ZEPErrorMalformedFile || result == ZEPErrorPlaceholderSite, "project file",
               "result " + std::to_string(result));
  fuzz::ExpectLocatedMessage("project file", message, path, data, size);
  return 0;
}
