// The controller: the one object that owns the installation parameters, the
// pages, the engine's collections and the connections of a run.
#pragma once

#include <signal.h>

#include <fstream>
#include <memory>
#include <vector>

#include "../discovery/ZEP2DBInstance.h"
#include "../discovery/ZEP2sqldeinfo.h"
#include "../platform/QelApplication.h"
#include "../platform/QelDialog.h"
#include "../platform/QelList.h"
#include "../platform/QelUnicodeString.h"
#include "../platform/db/QelDb.h"

class ZEP2DlgTESADM;
class ZEP2DlgTESDICO;
class ZEP2DlgTOEXE;
class ZEP2DlgDBMSType;
class ZEP2DlgDB2Param;
class ZEP2DlgDB2Param2;
class ZEP2DlgORALoc;
class ZEP2DlgORAParam;
class ZEP2DlgORAParam2;
class ZEP2DlgDBAUSER;
class ZEP2DlgTBSTypicalSel;
class ZEP2DlgTBSTypical;
class ZEP2DlgEXEParam;
class ZEP2DlgVAULTADM;
class ZEP2DlgWAIT;
class ZEP2DlgCLASHADM;
class ZEP2DlgCLASHSRV;
class ZEP2DlgSUM;
class ZEP2DlgSTATUS;
class ZEP2DlgREPORT;
class ZEP2PageDialog;
class ZEP2ErrInCallBack;
class ZEP2CancelInCallBack;
class ZEP2YesNoInCallBack;
class ZEP2ErrInSubsIdle;
class ZEP2ErrDlgDir;

class ZEP2InstHQ : public QelCommand {
 public:
  ZEP2InstHQ(QelInteractiveApplication* application, const QelString& name,
             QelUnicodeString outLogPath, QelUnicodeString errLogPath,
             QelUnicodeString traceLogPath);
  ~ZEP2InstHQ() override;

  void Build();
  void CallBacksManager();

  // Close and Cancel, shared by the pages: the client data is the page's
  // PageHandlers.
  struct PageHandlers {
    const char* page;
    bool holdsAdministratorConnection;
  };
  static void CB_Close(QelCommand* command, QelNotification* notification, void* data);
  static void CB_Cancel(QelCommand* command, QelNotification* notification, void* data);
  // The page's Cancel confirmation: the pressed button (1 confirms).
  int ConfirmCancel(ZEP2PageDialog* page);
  // Closes and deletes the administrator cursor and connection, if open.
  static void ReleaseDBAConnection();

  static int hand(int signal);
  static void WaitManager(QelCommand* command, int priority, void* data);
  // The father's last page (DB2Param or ORAParam2), or null before a DBMS
  // was chosen.
  QelDlgDialog* FatherPage() const;

  // Account and directory checks: 0 when valid (see the callers' messages
  // for the negative codes). The password is never written anywhere.
  static int authenticateWithPassword(const char* user, const char* password);
  int GetUidGidHomd(const QelUnicodeString& name, int* uid, int* gid, QelUnicodeString* home);
  static int IsDirectory(const QelUnicodeString& path);

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
  static std::unique_ptr<QelDbConnection> _nvDBAConnection;
  static std::unique_ptr<QelDbCursor> _nvDBACursor;
  static std::unique_ptr<QelDbConnection> _nvTESADMConnection;
  static std::unique_ptr<QelDbCursor> _nvTESADMCursor;
  static std::ofstream _GeneratedDDLFile;
  static ZEP2InstHQ* _ZEP2InstHQHandler;
  static QelListPtr<ZEP2DBInstance> _PtrDBInstanceColl;
  static QelListPtr<ZEP2sqldeinfo> _PtrSqldeinfoColl;

  int _SonProcessId = 0;
  struct sigaction _SigAction {};
  QelInteractiveApplication* _Application = nullptr;

  // The pages, created by Build and owned by _Pages: they live as long as
  // the controller.
  std::vector<std::unique_ptr<QelDialog>> _Pages;
  ZEP2DlgTESADM* _DlgTESADM = nullptr;
  ZEP2DlgTESDICO* _DlgTESDICO = nullptr;
  ZEP2DlgTOEXE* _DlgTOEXE = nullptr;
  ZEP2DlgDBMSType* _DlgDBMSType = nullptr;
  ZEP2DlgDB2Param* _DlgDB2Param = nullptr;
  ZEP2DlgDB2Param2* _DlgDB2Param2 = nullptr;
  ZEP2DlgORALoc* _DlgORALoc = nullptr;
  ZEP2DlgORAParam* _DlgORAParam = nullptr;
  ZEP2DlgORAParam2* _DlgORAParam2 = nullptr;
  ZEP2DlgDBAUSER* _DlgDBAUSER = nullptr;
  ZEP2DlgTBSTypicalSel* _DlgTBSTypicalSel = nullptr;
  ZEP2DlgTBSTypical* _DlgTBSTypical = nullptr;
  ZEP2DlgEXEParam* _DlgEXEParam = nullptr;
  ZEP2DlgVAULTADM* _DlgVAULTADM = nullptr;
  ZEP2DlgWAIT* _DlgWAIT = nullptr;
  ZEP2DlgCLASHADM* _DlgCLASHADM = nullptr;
  ZEP2DlgCLASHSRV* _DlgCLASHSRV = nullptr;
  ZEP2DlgSUM* _DlgSUM = nullptr;
  ZEP2DlgSTATUS* _DlgSTATUS = nullptr;
  ZEP2DlgREPORT* _DlgREPORT = nullptr;

  // The message box being shown, one per kind; null otherwise.
  std::unique_ptr<ZEP2ErrInCallBack> _ErrInCallBack;
  std::unique_ptr<ZEP2CancelInCallBack> _CancelInCallBack;
  std::unique_ptr<ZEP2YesNoInCallBack> _YesNoInCallBack;
  std::unique_ptr<ZEP2ErrInSubsIdle> _ErrInSubsIdle;
  std::unique_ptr<ZEP2ErrDlgDir> _ErrDlgDir;

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
  // Creates a page, builds it hidden and keeps it in _Pages.
  template <class Page>
  Page* AddPage(const char* name);
  // The son's first page: DB2Param2 or DBAUSER, then SIGUSR1 to the father.
  void ShowSonFirstPage();
  void SignalFather(QelDialog* firstPage);
};
