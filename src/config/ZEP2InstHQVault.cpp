// The vault server's properties: seven values replaced in place, every other
// byte of the shipped file kept; the database password only in the form the
// vault services' encryption gives.
#include <array>
#include <fstream>
#include <sstream>
#include <utility>

#include "app/ZEP2InstHQ.h"
#include "config/ZEP2TextEdit.h"
#include "platform/QelLog.h"
#include "platform/QelSecureFile.h"
#include "platform/QelSystem.h"
#include "platform/pdm/TAVOVaultServices.h"

namespace {

using H = ZEP2InstHQ;

void ReportFailure(const QelUnicodeString& reason) {
  WriteErrLogFile("\nRC_VaultServerPropertiesFileUpdate Error!!!\n");
  WriteErrLogFile(reason + "\n");
  WriteTraceLogFile("\nRC_VaultServerPropertiesFileUpdate Error!!!", 2);
  WriteTraceLogFile("\n" + reason, 2);
}

// Replaces every property in order; false with the reason when one cannot
// be replaced (the text is then of no use).
bool ReplaceProperties(std::string& text, const QelUnicodeString& password,
                       QelUnicodeString& reason) {
  const std::array<std::pair<const char*, QelUnicodeString>, 7> properties = {{
      {"VaultServer_HostName = ", H::_svVAULTSrvHostName},
      {"VaultServer_DaemonPort = ", H::_svVAULTSrvDaemonPort},
      {"VaultServer_DBName = ", H::_nvIBMDB2UDB ? H::_svDB2ALIASNAME : H::_svORASRVNAME},
      {"VaultServer_DBVendor = ", H::_nvIBMDB2UDB ? "db2" : "oracle"},
      {"VaultServer_DBUser = ", H::_svVAULTAdm},
      {"VaultServer_DBPassword = ", password},
      {"VaultServer_Repo_0_Path = ", H::_svVAULTRepository},
  }};
  for (const auto& [key, value] : properties) {
    if (value.str().find('\n') != std::string::npos ||
        !zep2text::ReplaceProperty(text, key, value.str())) {
      reason = "Property <" + QelUnicodeString(key) +
               "> missing or not ended by a newline: the file is left unchanged.";
      return false;
    }
  }
  return true;
}

}  // namespace

int ZEP2InstHQ::VaultServerPropertiesFileUpdate() {
  WriteTraceLogFile("\n\nVaultServerPropertiesFileUpdate Begin ...\n", 0);
  const char* installPath = QelGetEnv("QelInstallPath");
  if (!installPath) {
    WriteErrLogFile("\nQelInstallPath Not Found!!!\n");
    WriteTraceLogFile("\nQelInstallPath Not Found!!!", 2);
    WriteTraceLogFile("\nVaultServerPropertiesFileUpdate End.\n\n", 0);
    return -1;
  }
  std::string path = installPath;
  if (path.empty() || path.back() != '/') path += '/';
  path += "docs/java/VaultServer.properties";
  WriteTraceLogFile("\nVaultServerPropertiesFileFullPathName: <" + QelUnicodeString(path) + ">", 1);
  QelFileInfo info;
  QelGetFileInfo(path, info);
  std::ifstream file(path, std::ios::binary);
  bool failed = !file;
  WriteTraceLogFile(failed ? "\nERROR: fopen KO." : "\nfopen OK.", 1);
  std::ostringstream read;
  if (!failed) {
    read << file.rdbuf();
    failed = file.bad() || (info.size > 0 && read.str().empty());
    WriteTraceLogFile(failed ? "\nERROR: fread KO." : "\nfread OK.", 1);
  }
  int result = failed ? -1 : 0;
  if (failed) {
    ReportFailure("Cannot read " + QelUnicodeString(path));
  } else {
    std::string text = read.str();
    QelUnicodeString encrypted;
    QelUnicodeString reason;
    if (TAVOVaultServices::encrypt(_svVAULTAdm, _svVAULTAdmP, encrypted) != 0) {
      reason = "The vault password cannot be encrypted: the file is left unchanged.";
    } else if (ReplaceProperties(text, encrypted, reason)) {
      std::string error;
      result = QelReplaceFileContent(path, text, error);
      if (result != 0) reason = error;
    }
    if (reason.Length() > 0) {
      ReportFailure(reason);
      result = -1;
    }
    WriteTraceLogFile(
        "\nVaultServerPropertiesFileUpdate Return Code : " + QelUnicodeString::FromInt(result), 1);
  }
  WriteTraceLogFile("\nVaultServerPropertiesFileUpdate End.\n\n", 0);
  return result;
}

void ZEP2InstHQ::VaultStarterEnvironmentUpdate() {
  WriteTraceLogFile("\n\nVaultStarterEnvironmentUpdate Begin ...\n", 0);
  WriteTraceLogFile("\nVaultStarterEnvironmentUpdate End.\n\n", 0);
}
