// Builds the controller of a first process with every page, away from the
// user's own settings and from any sandbox site.
#include "FuzzController.h"

#include <cstdlib>
#include <memory>

#include "FuzzSupport.h"
#include "platform/QelApplication.h"

namespace fuzz {

ZEP2InstHQ& Controller() {
  static QelInteractiveApplication application{nullptr, "fuzz"};
  static const std::unique_ptr<ZEP2InstHQ> controller = [] {
    setenv("QelUserSettingPath", (Scratch() + "/settings").c_str(), 1);
    setenv("QelMsgCatalogPath", (Scratch() + "/catalogues").c_str(), 1);
    for (const char* name : {"FATHERPID", "TESSARDBSETUP_SANDBOX", "TESSARDBSETUP_RESPONSE_FILE"}) {
      unsetenv(name);
    }
    ZEP2InstHQ::ResetInstallationParameters();
    auto built = std::make_unique<ZEP2InstHQ>(&application, "ZEP2InstHQ", Scratch() + "/log",
                                              Scratch() + "/errlog", Scratch() + "/trace");
    built->Build();
    return built;
  }();
  return *controller;
}

}  // namespace fuzz
