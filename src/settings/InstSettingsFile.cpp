// The installation settings file: the answers of the first part of the
// wizard, handed from the father to the son through the repository
// "TESSARInst". The key order is the order of writing and reading.
#include <array>

#include "../app/ZEP2InstHQ.h"
#include "../platform/QelLog.h"
#include "../platform/QelSettings.h"

namespace {

constexpr const char* Repository = "TESSARInst";

// Exactly one of text and flag is set.
struct SettingKey {
  const char* key;
  QelUnicodeString* text;
  int* flag;
};

using H = ZEP2InstHQ;
const std::array<SettingKey, 36> Keys = {{
    {"TES_INST_PARTII", nullptr, &H::_nvINSTPARTII},
    {"TES_TESADM", &H::_svTESADM, nullptr},
    {"TES_TESADMP", &H::_svTESADMP, nullptr},
    {"TES_TESADMHOMD", &H::_svTESADMHomd, nullptr},
    {"TES_TESDICOOWNER", &H::_svTESDICOOwner, nullptr},
    {"TES_TESDICOOWNERP", &H::_svTESDICOOwnerP, nullptr},
    {"TES_TOEXE_DBOBJ", nullptr, &H::_nvEXEDBObj},
    {"TES_TOEXE_STARTUPDATA", nullptr, &H::_nvEXEStartupData},
    {"TES_TOEXE_VAULT", nullptr, &H::_nvEXEVault},
    {"TES_TOEXE_CLASHINST", nullptr, &H::_nvEXEClashInst},
    {"TES_TOEXE_CLASHSERVER", nullptr, &H::_nvEXEClashServer},
    {"TES_TOEXE_SAMPLEDATA", nullptr, &H::_nvEXESampleData},
    {"TES_EXE_INDB", nullptr, &H::_nvEXECINDB},
    {"TES_EXE_INFILE", nullptr, &H::_nvGENDDLONLY},
    {"TES_DDLFILENAME", &H::_svDDLFILENAME, nullptr},
    {"TES_DDLFILEPATH", &H::_svDDLFILEPATH, nullptr},
    {"TES_DBMS_IBMDB2UDB", nullptr, &H::_nvIBMDB2UDB},
    {"TES_DBMS_ORACLE", nullptr, &H::_nvOracle},
    {"TES_AUTH_CLIENT", nullptr, &H::_nvAUTHClient},
    {"TES_AUTH_SERVER", nullptr, &H::_nvAUTHServer},
    {"TES_DB2_INSTANCE", &H::_svDB2INSTANCE, nullptr},
    {"TES_DB2_INSTANCE_HOMDIR", &H::_svDB2INSTANCE_HOMDIR, nullptr},
    {"TES_DB2_ALIASNAME", &H::_svDB2ALIASNAME, nullptr},
    {"TES_DB2_DRIVEDIR", &H::_svDB2DRIVEDir, nullptr},
    {"TES_DB2_LOCAL", nullptr, &H::_nvDB2Local},
    {"TES_DB2_REMOTE", nullptr, &H::_nvDB2Remote},
    {"TES_ORALOC_LOCAL", nullptr, &H::_nvORALocal},
    {"TES_ORALOC_REMOTE", nullptr, &H::_nvORARemote},
    {"TES_ORA_SID", &H::_svORACLE_SID, nullptr},
    {"TES_ORA_HOMDIR", &H::_svORACLE_HOME, nullptr},
    {"TES_ORA_N32HOMDIR", &H::_svORACLE_N32_HOME, nullptr},
    {"TES_ORA_SRVNAME", &H::_svORASRVNAME, nullptr},
    {"TES_ORATNS_NAMING", nullptr, &H::_nvORATNS_ADMIN},
    {"TES_ORA_TNS_ADMIN", &H::_svORATNS_ADMIN, nullptr},
    {"TES_DBA_USER", &H::_svDBAUSER, nullptr},
    {"TES_DBA_USERP", &H::_svDBAUSERP, nullptr},
}};

int FlagFromText(const QelUnicodeString& value) {
  return value.Compare("Y") == 2 ? 1 : 0;
}

}  // namespace

int ZEP2InstHQ::SaveInstSettingPartI() {
  WriteTraceLogFile("\n\nSaveInstSettingPartI Begin ...\n", 0);
  const auto services = CreateServices();
  int result = 0;
  for (const SettingKey& setting : Keys) {
    const QelUnicodeString value = setting.text ? *setting.text : (*setting.flag ? "Y" : "N");
    if (services->WriteSetting(setting.key, value, Repository) != 0) result = -1;
  }
  // The son trusts only what it reads: a mark that does not read back would
  // make it a first process again.
  if (services->ReadSetting(Keys[0].key, Repository).Compare(_nvINSTPARTII ? "Y" : "N") != 2) {
    result = -1;
  }
  if (result != 0) WriteTraceLogFile("\nSaveInstSettingPartI error !", 2);
  WriteTraceLogFile("\nSaveInstSettingPartI End ...\n\n", 0);
  return result;
}

int ZEP2InstHQ::ReadInstSettingPartI() {
  // Runs before the trace is open: it must not write any.
  const auto services = CreateServices();
  _nvINSTPARTII = FlagFromText(services->ReadSetting(Keys[0].key, Repository));
  if (!_nvINSTPARTII) return 0;
  for (std::size_t i = 1; i < Keys.size(); ++i) {
    const QelUnicodeString value = services->ReadSetting(Keys[i].key, Repository);
    if (Keys[i].text) {
      *Keys[i].text = value;
    } else {
      *Keys[i].flag = FlagFromText(value);
    }
  }
  return 0;
}
