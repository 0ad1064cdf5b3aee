// The son's answers handed back to its father. The settings file of the
// first part cannot carry them: the launcher script removes it as soon as
// the son ends.
#include "InstSettingsHandBack.h"

#include <unistd.h>

#include <array>
#include <string>

#include "app/ZEP2InstHQ.h"
#include "platform/QelLog.h"
#include "platform/QelSettings.h"

namespace {

using H = ZEP2InstHQ;

constexpr const char* Repository = "TESSARInstBack";
constexpr const char* DatabaseKey = "TES_BACK_DATABASE";

struct HandedBack {
  const char* key;
  QelUnicodeString* value;
};

const std::array<HandedBack, 4> Answers = {{
    {"TES_DB2_ALIASNAME", &H::_svDB2ALIASNAME},
    {"TES_DB2_DRIVEDIR", &H::_svDB2DRIVEDir},
    {"TES_DBA_USER", &H::_svDBAUSER},
    {"TES_DBA_USERP", &H::_svDBAUSERP},
}};

// The database the answers were given for, as the father's pages name it.
std::string ChosenDatabase() {
  if (H::_nvIBMDB2UDB) return "DB2\n" + H::_svDB2INSTANCE.str();
  if (H::_nvOracle) return "Oracle\n" + H::_svORASRVNAME.ToUpper().str();
  return "";
}

// Kept by the father between its son's Back and the next son.
std::string& AnswersDatabase() {
  static std::string database;
  return database;
}

}  // namespace

int ZEP2SaveAnswersForFather() {
  const auto services = CreateServices();
  int result = services->WriteSetting(DatabaseKey, ChosenDatabase(), Repository);
  for (const HandedBack& answer : Answers) {
    if (services->WriteSetting(answer.key, *answer.value, Repository) != 0) result = -1;
  }
  WriteTraceLogFile(result == 0 ? "\nAnswers handed back to the first process"
                                : "\nAnswers NOT handed back to the first process",
                    result == 0 ? 1 : 2);
  return result;
}

void ZEP2TakeAnswersFromSon() {
  const auto services = CreateServices();
  const std::string path = services->RepositoryPath(Repository);
  if (access(path.c_str(), F_OK) != 0) return;
  AnswersDatabase() = services->ReadSetting(DatabaseKey, Repository).str();
  for (const HandedBack& answer : Answers) {
    *answer.value = services->ReadSetting(answer.key, Repository);
  }
  unlink(path.c_str());
  WriteTraceLogFile("\nAnswers of the second process taken back", 1);
}

void ZEP2ForgetAnswersForAnotherDatabase() {
  if (AnswersDatabase() == ChosenDatabase()) return;
  if (!AnswersDatabase().empty()) {
    WriteTraceLogFile("\nAnother database chosen: the second process's answers are forgotten", 1);
  }
  for (const HandedBack& answer : Answers) *answer.value = QelUnicodeString();
  AnswersDatabase().clear();
}
