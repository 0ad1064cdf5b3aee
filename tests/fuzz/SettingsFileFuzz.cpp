// Fuzzes the installation settings file as the son reads it: whatever the
// file holds, the answers read are saved back and read again unchanged, so
// the father's hand-over carries any value exactly.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "FuzzController.h"
#include "FuzzSupport.h"

namespace {

using H = ZEP2InstHQ;
constexpr const char* Reader = "settings file";

// Every answer the hand-over carries, flags as 0 or 1. Values are never
// printed: the file holds passwords.
std::vector<std::string> Answers() {
  std::vector<std::string> answers;
  for (const QelUnicodeString* text :
       {&H::_svTESADM, &H::_svTESADMP, &H::_svTESADMHomd, &H::_svTESDICOOwner, &H::_svTESDICOOwnerP,
        &H::_svDDLFILENAME, &H::_svDDLFILEPATH, &H::_svDB2INSTANCE, &H::_svDB2INSTANCE_HOMDIR,
        &H::_svDB2ALIASNAME, &H::_svDB2DRIVEDir, &H::_svORACLE_SID, &H::_svORACLE_HOME,
        &H::_svORACLE_N32_HOME, &H::_svORASRVNAME, &H::_svORATNS_ADMIN, &H::_svDBAUSER,
        &H::_svDBAUSERP}) {
    answers.push_back(text->str());
  }
  for (const int flag :
       {H::_nvINSTPARTII, H::_nvEXEDBObj, H::_nvEXEStartupData, H::_nvEXEVault, H::_nvEXEClashInst,
        H::_nvEXEClashServer, H::_nvEXESampleData, H::_nvEXECINDB, H::_nvGENDDLONLY,
        H::_nvIBMDB2UDB, H::_nvOracle, H::_nvAUTHClient, H::_nvAUTHServer, H::_nvDB2Local,
        H::_nvDB2Remote, H::_nvORALocal, H::_nvORARemote, H::_nvORATNS_ADMIN}) {
    fuzz::Expect(flag == 0 || flag == 1, Reader, "a flag read as " + std::to_string(flag));
    answers.push_back(std::to_string(flag));
  }
  return answers;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::Controller();
  mkdir((fuzz::Scratch() + "/settings").c_str(), 0700);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ZEP2InstHQ& controller = fuzz::Controller();
  fuzz::WriteScratchFile("settings/TESSARInst.settings", data, size);
  H::ResetInstallationParameters();
  controller.ReadInstSettingPartI();
  const std::vector<std::string> read = Answers();
  // A first process (no "Y" mark) takes nothing else from the file.
  if (!H::_nvINSTPARTII) {
    H::ResetInstallationParameters();
    fuzz::Expect(read == Answers(), Reader, "answers read without the mark of a son");
    return 0;
  }
  fuzz::Expect(controller.SaveInstSettingPartI() == 0, Reader, "answers read cannot be saved");
  H::ResetInstallationParameters();
  controller.ReadInstSettingPartI();
  fuzz::Expect(read == Answers(), Reader, "answers saved back read otherwise");
  return 0;
}
