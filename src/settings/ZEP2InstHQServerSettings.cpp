// Server-side settings: how the PDM server reaches each logical database
// (stored through the database layer), and the RDB settings that bind each
// logical name to its schema owner (through LK0ADSRB in a generated script).
#include <unistd.h>

#include "app/ZEP2InstHQ.h"
#include "app/ZEP2ShellScript.h"
#include "platform/QelApplication.h"
#include "platform/QelLog.h"
#include "platform/QelSystem.h"
#include "platform/db/QelDb.h"

namespace {

using H = ZEP2InstHQ;

void TraceFlag(const char* member, int value) {
  WriteTraceLogFile("\nZEP2InstHQ::" + QelUnicodeString(member) + (value ? " 1" : " 0"), 1);
}

bool SingleUser() {
  const char* variable = QelGetEnv("TESSAR_SINGLE_USER");
  return !(variable && QelUnicodeString(variable).ToUpper().Compare("OFF") == 2);
}

void UpdateDisplay() {
  if (H::_ZEP2InstHQHandler && H::_ZEP2InstHQHandler->_Application) {
    H::_ZEP2InstHQHandler->_Application->UpdateDisplay();
  }
}

// Writes one setting. Before the database work, what the name had is put on
// the undo journal first, and a setting whose undo cannot be recorded is
// not written: a failed installation puts every setting back.
int WriteSetting(const QelUnicodeString& name, const QelUnicodeString& server, int vendor,
                 int authentication, const QelUnicodeString& user, const QelUnicodeString& password,
                 bool journal) {
  QelUnicodeString undo;
  if (journal) {
    const int recorded = H::RecordServerSettingUndo(name, server, vendor, undo);
    if (recorded != 0) {
      const QelUnicodeString line =
          "\nThe server setting " + name +
          " is not written, its undo could not be recorded: " + QelUnicodeString(H::_svDBErrorMsg) +
          "\n";
      WriteErrLogFile(line);
      WriteTraceLogFile(line, 2);
      return recorded;
    }
  }
  QelDbError error;
  if (QelDbDatabase::SetServer(name, server, vendor, authentication, user, password, &error) != 0) {
    const QelUnicodeString line =
        "\nThe server setting " + name + " could not be written: " + error.message + "\n";
    WriteErrLogFile(line);
    WriteTraceLogFile(line, 2);
    // The write is one transaction: failed, it left the earlier setting,
    // and a rollback has nothing to put back.
    H::ForgetUndo(undo);
  }
  return 0;
}

int WriteSettings(const char* label, int authentication, bool singleUser) {
  const QelUnicodeString user = singleUser ? H::_svTESADM.ToUpper() : QelUnicodeString();
  const QelUnicodeString password = singleUser ? H::_svTESADMP : QelUnicodeString();
  const bool journal = H::_nvAUTHServer_Force == 1 && (H::_nvEXEDBObj || H::_nvEXEStartupData);
  for (const QelUnicodeString& name : H::_ZEP2InstHQHandler->_DBNameColl) {
    WriteTraceLogFile("\n" + QelUnicodeString(label) + name, 1);
    int result = 0;
    if (H::_nvOracle) {
      result = WriteSetting(name, H::_svORASRVNAME, QelDbOracle, authentication, user, password,
                            journal);
    }
    if (result == 0 && H::_nvIBMDB2UDB) {
      result =
          WriteSetting(name, H::_svDB2ALIASNAME, QelDbDB2, authentication, user, password, journal);
    }
    if (result != 0) return result;
  }
  return 0;
}

}  // namespace

int ZEP2InstHQ::CreateDBSrvSetting() {
  WriteTraceLogFile("\n\nCreateDBSrvSetting Begin.\n", 0);
  const bool singleUser = SingleUser();
  WriteTraceLogFile(singleUser ? "\nSINGLE USER ON" : "\nSINGLE USER OFF", 1);
  TraceFlag("_nvAUTHServer_Force", _nvAUTHServer_Force);
  TraceFlag("_nvAUTHClient", _nvAUTHClient);
  TraceFlag("_nvAUTHServer", _nvAUTHServer);
  TraceFlag("_nvOracle", _nvOracle);
  TraceFlag("_nvIBMDB2UDB", _nvIBMDB2UDB);
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  WriteTraceLogFile(
      "\nModelerNameColl Size: " + QelUnicodeString::FromInt(controller->_ModelerNameColl.Size()),
      1);
  int result = 0;
  if (_nvAUTHClient && !_nvAUTHServer_Force) result = WriteSettings("AUTH Client: ", 2, singleUser);
  if (result == 0 && (_nvAUTHServer || _nvAUTHServer_Force)) {
    result = WriteSettings("AUTH Server: ", 1, singleUser);
  }
  for (int i = 0; i < controller->_DBNameColl.Size(); ++i) {
    StepProgress(1);
    UpdateDisplay();
  }
  WriteTraceLogFile("\nCreateDBSrvSetting End.\n\n", 0);
  return result;
}

void ZEP2InstHQ::AppendRdbSettings() {
  WriteTraceLogFile("\n\nAppendRdbSettings Begin ...\n", 0);
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  const std::string path = "/tmp/zep2inst" + std::to_string(getpid()) + ".sh";
  const std::string baseName = "zep2inst" + std::to_string(getpid()) + ".sh";
  ZEP2ShellScript script(path, "TESSARDBSETUP_TRACE");
  if (script.IsOpen()) script.MakeExecutable("\nrc : ");
  WriteTraceLogFile("\nDo the script file executable", 1);
  script.SendOutputToLog();
  script.Comment("# Append On RDB Settings:");
  script.Line("echo QelUserSettingPath:$QelUserSettingPath");
  script.Line("\n\n");
  script.Line("echo $PANELV2ODOTOP");
  script.Line("");
  script.Line("unset PANELV2ODOTOP");
  script.Line("\n");
  const QelListValQelUnicodeString& names = controller->_DBNameColl;
  const QelListPtr<ZEP2PersModeler>& modelers = controller->_ModelerPersColl;
  for (int i = 1; i <= names.Size(); ++i) {
    // Entry i takes the owner of the i-th modeler; a short list leaves the
    // owner empty rather than reading past it.
    const QelUnicodeString owner = i <= modelers.Size() ? modelers(i)->_SchemaOwner : "";
    script.Line("");
    script.Line("LK0ADSRB " + names(i).str() + " " + names(i).str() + " " +
                ZEP2ShellScript::Quote(owner.str()));
    script.Line("");
    StepProgress(1);
    UpdateDisplay();
  }
  script.Line("rc=$?");
  script.Line("");
  script.Line("return $rc");
  script.Line("");
  int pid = 0;
  int code = 0;
  script.Run(baseName.c_str(), 1, pid, code);
  WriteTraceLogFile("\n<" + QelUnicodeString(path) + "> <" + baseName + ">", 1);
  const QelUnicodeString codeLine =
      "\nAppend RDB Settings Return Code : " + QelUnicodeString::FromInt(code) + "\n";
  WriteTraceLogFile(codeLine, 1);
  if (code != 0) {
    WriteErrLogFile("\nError in Append RDB Settings\n");
    WriteErrLogFile(codeLine);
    WriteTraceLogFile("\nError in Append RDB Settings\n", 2);
  }
  WriteTraceLogFile("\nAppendRdbSettings End.\n\n", 0);
}
