// The controller: the one object that owns the installation parameters, the
// pages, the engine's collections and the connections of a run.
#pragma once

#include <signal.h>

#include <fstream>

#include "../platform/QelApplication.h"
#include "../platform/QelList.h"
#include "../platform/QelUnicodeString.h"

class QelDbConnection;
class QelDbCursor;

class ZEP2InstHQ : public QelCommand {
 public:
  ZEP2InstHQ(QelInteractiveApplication* application, const QelString& name,
             QelUnicodeString outLogPath, QelUnicodeString errLogPath,
             QelUnicodeString traceLogPath);
  ~ZEP2InstHQ() override;

  void Build();
  void CallBacksManager();

  static int hand(int signal);
  static void WaitManager(QelCommand* command, int priority, void* data);

  int SaveInstSettingPartI();
  int ReadInstSettingPartI();

  // Sets the process exit status and ends the application's loop.
  static void EndRun(int exitStatus);

  // Puts every installation parameter back to its default, as at program
  // start (a process that builds several controllers, such as the tests).
  static void ResetInstallationParameters();

  // Copies text into _svDBErrorMsg, truncated to the buffer.
  static void SetDBErrorMsg(const QelUnicodeString& text);

#define QEL_TEXT(name, initial) static QelUnicodeString name;
#define QEL_INT(name, initial) static int name;
#include "ZEP2InstHQParameters.def"
#undef QEL_TEXT
#undef QEL_INT

  static constexpr int DBErrorMsgSize = 5000;
  static char _svDBErrorMsg[DBErrorMsgSize];
  static QelDbConnection* _nvDBAConnection;
  static QelDbCursor* _nvDBACursor;
  static QelDbConnection* _nvTESADMConnection;
  static QelDbCursor* _nvTESADMCursor;
  static std::ofstream _GeneratedDDLFile;
  static ZEP2InstHQ* _ZEP2InstHQHandler;

  int _SonProcessId = 0;
  struct sigaction _SigAction {};
  QelInteractiveApplication* _Application = nullptr;

  QelListValQelUnicodeString _ModelerNameColl;
  QelListValQelUnicodeString _UserToCnxColl;
  QelListValQelUnicodeString _UserPassToCnxColl;
  QelListValQelUnicodeString _DBUserToCreateColl;
  QelListValQelUnicodeString _DBUserPassToCreateColl;
  QelListValQelUnicodeString _DBUserToAlterDefSysSrvColl;
  QelListValQelUnicodeString _DBUserPassToAlterDefSysSrvColl;
  QelListValQelUnicodeString _DBUserToAlterDefSrvSysColl;
  QelListValQelUnicodeString _DBUserPassToAlterDefSrvSysColl;
  QelListValQelUnicodeString _DBUserAuthToAlterDefSrvSysColl;
  QelListValQelUnicodeString _DBUserToAlterTmpSysSrvSysColl;
  QelListValQelUnicodeString _DBUserPassToAlterTmpSysSrvSysColl;
  QelListValQelUnicodeString _StatusGraphFileColl;
  QelUnicodeString _svDDLFileRepository;
  QelListValQelUnicodeString _DBNameColl;

 private:
  void InstallSignalAction();
  void SignalFather();
};
