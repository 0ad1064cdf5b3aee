// The controller: the one object that owns the installation parameters, the
// pages, the engine's collections and the connections of a run.
#pragma once

#include <signal.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <vector>

#include "../discovery/ZEP2DBInstance.h"
#include "../discovery/ZEP2sqldeinfo.h"
#include "../engine/ZEP2DDLBundle.h"
#include "../engine/ZEP2InstallOutcome.h"
#include "../engine/ZEP2PersModeler.h"
#include "../engine/ZEP2UndoJournal.h"
#include "../engine/ZEP2UserStatements.h"
#include "../engine/ZEP2ValidationReport.h"
#include "../engine/ZEP2ValidationSpace.h"
#include "../platform/QelApplication.h"
#include "../platform/QelDialog.h"
#include "../platform/QelList.h"
#include "../platform/QelUnicodeString.h"
#include "../platform/db/QelDb.h"
#include "../platform/db/QelDbDialect.h"
#include "../settings/InstSettingsLock.h"
#include "ZEP2ShellScript.h"

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
  std::vector<PageHandlers> _PageHandlers;
  // The page's Cancel confirmation: the pressed button (1 confirms).
  int ConfirmCancel(ZEP2PageDialog* page);
  // Closes and deletes the administrator cursor and connection, if open.
  static void ReleaseDBAConnection();

  static int hand(int signal);

  // Next and Back of every page (Close and Cancel are shared).
  static void CB_TESADM_Next(QelCommand*, QelNotification*, void*);
  static void CB_TESADM_Back(QelCommand*, QelNotification*, void*);
  static void CB_TESDICO_Next(QelCommand*, QelNotification*, void*);
  static void CB_TESDICO_Back(QelCommand*, QelNotification*, void*);
  static void CB_TOEXE_Next(QelCommand*, QelNotification*, void*);
  static void CB_TOEXE_Back(QelCommand*, QelNotification*, void*);
  static void CB_DBMSType_Next(QelCommand*, QelNotification*, void*);
  static void CB_DBMSType_Back(QelCommand*, QelNotification*, void*);
  static void CB_DB2Param_Next(QelCommand*, QelNotification*, void*);
  static void CB_DB2Param_Back(QelCommand*, QelNotification*, void*);
  static void CB_DB2Param2_Next(QelCommand*, QelNotification*, void*);
  static void CB_DB2Param2_Back(QelCommand*, QelNotification*, void*);
  static void CB_ORALoc_Next(QelCommand*, QelNotification*, void*);
  static void CB_ORALoc_Back(QelCommand*, QelNotification*, void*);
  static void CB_ORAParam_Next(QelCommand*, QelNotification*, void*);
  static void CB_ORAParam_Back(QelCommand*, QelNotification*, void*);
  static void CB_ORAParam2_Next(QelCommand*, QelNotification*, void*);
  static void CB_ORAParam2_Back(QelCommand*, QelNotification*, void*);
  static void CB_DBAUSER_Next(QelCommand*, QelNotification*, void*);
  static void CB_DBAUSER_Back(QelCommand*, QelNotification*, void*);
  static void CB_TBSTypicalSel_Next(QelCommand*, QelNotification*, void*);
  static void CB_TBSTypicalSel_Back(QelCommand*, QelNotification*, void*);
  static void CB_TBSTypical_Next(QelCommand*, QelNotification*, void*);
  static void CB_TBSTypical_Back(QelCommand*, QelNotification*, void*);
  static void CB_EXEParam_Next(QelCommand*, QelNotification*, void*);
  static void CB_EXEParam_Back(QelCommand*, QelNotification*, void*);
  static void CB_VAULTADM_Next(QelCommand*, QelNotification*, void*);
  static void CB_VAULTADM_Back(QelCommand*, QelNotification*, void*);
  static void CB_CLASHADM_Next(QelCommand*, QelNotification*, void*);
  static void CB_CLASHADM_Back(QelCommand*, QelNotification*, void*);
  static void CB_CLASHSRV_Next(QelCommand*, QelNotification*, void*);
  static void CB_CLASHSRV_Back(QelCommand*, QelNotification*, void*);
  static void CB_SUM_Next(QelCommand*, QelNotification*, void*);
  static void CB_SUM_Back(QelCommand*, QelNotification*, void*);
  static void CB_REPORT_Next(QelCommand*, QelNotification*, void*);
  static void CB_REPORT_Back(QelCommand*, QelNotification*, void*);
  static void CB_STATUS_Cancel(QelCommand*, QelNotification*, void*);
  // Leaving the vault pages (called by other handlers, no page of their own).
  static void CB_VAULTSRV_Next(QelCommand*, QelNotification*, void*);
  static void CB_VAULTSRV_Back(QelCommand*, QelNotification*, void*);

  // The son process: its script, and the end of the son however it comes.
  static void SonLauncher();
  static int SonEnded(int signal);
  void MapSonCode(int code);
  // Exit status of a son whose installation failed and was rolled back.
  static constexpr int InstallationFailedStatus = 3;
  // Exit status of a process started as a son without its father's answers.
  static constexpr int SonWithoutSettingsStatus = 4;

  // What the settings file found at start means for this process.
  enum class StartCheck { Normal, StaleRemoved, AnotherRunBusy, SonWithoutSettings, SonOrphaned };
  StartCheck CheckInstSettingsOwner();
  // Tells the administrator about anything but a normal start; false when
  // the run ends here.
  bool ReportStartCheck() const;
  // Exit status of a son whose installation failed and whose rollback left
  // something in the database.
  static constexpr int RollbackIncompleteStatus = 5;

  // DB2 discovery.
  int SetDB2INSTANCECOMBO();
  static void GetDB2ilist();
  void GetDB2Info(const char* instance);
  // The tablespace combos of TBSTypicalSel: 0, or -2 when nothing to offer.
  int SetTBSTYPICALSELCOMBO();

  // The modeler catalogue and the user lists the engine walks.
  static void GetModelerColl(QelListValQelUnicodeString* io_pModelerNameColl,
                             QelUnicodeString* o_svDDLFileRepository);
  static void GenModelerPersColl(QelListValQelUnicodeString* io_pModelerNameColl,
                                 QelListPtr<ZEP2PersModeler>* io_pModelerPersColl,
                                 ZEP2InstHQ* iZEP2InstHQHandler);
  static void GenUserToCnxColl(QelUnicodeString admin, QelUnicodeString password,
                               QelListPtr<ZEP2PersModeler>* modelers,
                               QelListValQelUnicodeString* users,
                               QelListValQelUnicodeString* passwords);
  static void GenDBUserToAlterCreateColl(
      QelUnicodeString admin, QelUnicodeString password, QelListPtr<ZEP2PersModeler>* modelers,
      QelListValQelUnicodeString* io_pDBUserToCreateColl,
      QelListValQelUnicodeString* io_pDBUserPassToCreateColl,
      QelListValQelUnicodeString* io_pDBUserToAlterDefSysSrvColl,
      QelListValQelUnicodeString* io_pDBUserPassToAlterDefSysSrvColl,
      QelListValQelUnicodeString* io_pDBUserToAlterDefSrvSysColl,
      QelListValQelUnicodeString* io_pDBUserPassToAlterDefSrvSysColl,
      QelListValQelUnicodeString* io_pDBUserAuthToAlterDefSrvSysColl,
      QelListValQelUnicodeString* io_pDBUserToAlterTmpSysSrvSysColl,
      QelListValQelUnicodeString* io_pDBUserPassToAlterTmpSysSrvSysColl);
  // Opens a connection and cursor on database as user (DBMS from the
  // parameters); the DBMS message goes to _nvDBErrorCode/_svDBErrorMsg.
  static int GenDBConnection(const QelUnicodeString& database, const QelUnicodeString& user,
                             const QelUnicodeString& password, int first, int second,
                             std::unique_ptr<QelDbConnection>& connection,
                             std::unique_ptr<QelDbCursor>& cursor);
  // The typical tablespaces: the ones to create when the default entry was
  // chosen, else the existing ones selected.
  static QelUnicodeString TypicalTablespace();
  static QelUnicodeString TypicalBLOBTablespace();
  // The text of the tablespace combo's default entry (new tablespace).
  static QelUnicodeString DefaultTablespaceEntry();

  // The installation steps, one unit of work per idle call.
  static void St_GenCustoDDL(QelCommand*, int, void*);
  static void St_GenEnvFiles(QelCommand*, int, void*);
  static void St_ChkDBAlreadyInstall(QelCommand*, int, void*);
  static void St_ChkCreateUser(QelCommand*, int, void*);
  static void St_ChkAlterUserTmpSysSrvSys(QelCommand*, int, void*);
  static void St_ChkAlterUserDefSysSrv(QelCommand*, int, void*);
  static void St_ChkAlterUserDefSrvSys(QelCommand*, int, void*);
  static void St_TypicalTBSCreation(QelCommand*, int, void*);
  static void St_TypicalUSERCreation(QelCommand*, int, void*);
  static void St_AlterUserDefSysSrv(QelCommand*, int, void*);
  static void St_AlterUserTmpSysSrv(QelCommand*, int, void*);
  static void St_TypicalALTERUser(QelCommand*, int, void*);
  static void St_GRANTUserTESADM(QelCommand*, int, void*);
  static void St_TypicalUSERGrant(QelCommand*, int, void*);
  static void St_GetTESADMConnexion(QelCommand*, int, void*);
  static void St_GetSchemaOwnerCnx(QelCommand*, int, void*);
  static void St_PlayDDL(QelCommand*, int, void*);
  static void St_ZEPProject(QelCommand*, int, void*);
  static void St_ZEPDataManager(QelCommand*, int, void*);
  static void St_ZEPRDBEI(QelCommand*, int, void*);
  static void St_ZEPSuppChain(QelCommand*, int, void*);
  static void St_AlterUserTmpSrvSys(QelCommand*, int, void*);
  static void St_AlterUserDefSrvSys(QelCommand*, int, void*);
  static void St_AbortInst(QelCommand*, int, void*);
  static void St_PlayDROPDDL(QelCommand*, int, void*);
  // Check only: every check the installation depends on, in place of it.
  static void St_Validate(QelCommand*, int, void*);
  // OK of the error box an idle step shows.
  static void CB_ZEP2ErrInSubsIdle_OK(QelCommand*, QelNotification*, void*);
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
  // The run's outcome in words for an exit status of this process.
  static const char* Outcome(int exitStatus);

  // Server-side settings of the logical databases. Non-zero, with the DBMS
  // message, when a setting was not written because its undo could not be
  // recorded (before the database work only).
  static int CreateDBSrvSetting();
  // Records how to put back what name has in the server settings of
  // database (the earlier setting, or none) as undo.
  static int RecordServerSettingUndo(const QelUnicodeString& name, const QelUnicodeString& database,
                                     int vendor, QelUnicodeString& undo);
  // The creation whose undo was recorded last failed and changed nothing.
  static void ForgetUndo(const QelUnicodeString& undo);
  static void AppendRdbSettings();
  // The runtime's environment file and the script that completes it.
  static int TESSAREnvironmentUpdate();
  static void St_UpdateDBEnv();
  // The vault server's properties.
  static int VaultServerPropertiesFileUpdate();
  static void VaultStarterEnvironmentUpdate();
  // The clash component: server or client set-up.
  static void TESSARClashSetup();
  static int GetOrbixPortNumberFromCfgFile();
  static int IsOrbixDaemonRunning();
  static void CustShell_RunTavoClashStarter();
  static void CustShell_RunTavoClashServer();
  static void CustShell_Tessar_ITFCHECK();
  static void SetTESSARClashQelSettings();
  // Whole text files as bytes: 0, or the failure codes of the callers.
  static int ReadFileIntoString(const QelUnicodeString& path, QelUnicodeString& text);
  static int WriteStringIntoFile(const QelUnicodeString& text, const QelUnicodeString& path);

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

  // What this run created, with how to undo it, and what a rollback could
  // not undo.
  std::unique_ptr<ZEP2UndoJournal> _UndoJournal;
  std::vector<std::string> _UndoLeft;
  std::vector<std::string> _UsersCreatedByRun;
  // What the installation did and what ended it, for its outcome.
  ZEP2InstallCounts _RunCounts;
  std::chrono::steady_clock::time_point _InstallationStart;
  bool _InstallationStarted = false;
  const char* _CurrentStep = "";
  std::string _FailedAt;
  std::string _FailureMessage;
  std::string _CancelledBy;
  // File mode: what went into the DDL file with its undo, for the DBA's
  // bundle written beside it at the end.
  std::unique_ptr<ZEP2DDLBundle> _DDLBundle;
  bool _RollbackStarted = false;
  bool _RollbackIncomplete = false;
  // DB2: the undo of the creation whose commit failed, while no commit has
  // been made on the administrator's connection since: closing the
  // connection discards that creation.
  std::string _UncommittedUndo;
  // After the administrator's connection: a journal left by an interrupted
  // run on the same database is offered for rollback.
  void OfferInterruptedRollback(QelDialog* page);

  // Check only, asked on the command line or chosen on the summary page:
  // what the checks found.
  bool CheckingOnly() const;
  bool _CheckOnly = false;
  ZEP2ValidationReport _Validation;
  // A page refusal: the error box (the focus then back on field, when
  // given), and true; in a silent check-only run the refusal is recorded as
  // a problem instead and the run goes on (false).
  bool Refused(ZEP2PageDialog* page, const QelUnicodeString& text, QelDlgObject* field = nullptr);
  void RecordRefusal(ZEP2PageDialog* page, const QelUnicodeString& text);
  // Without a DBA connection, a silent check-only run goes past the
  // tablespace pages when only the database could fill them (true).
  bool SkipTablespacePages(QelDialog* page);

  int _SonProcessId = 0;
  StartCheck _StartCheck = StartCheck::Normal;
  // Held from the save of the settings until the son has ended.
  ZEP2InstSettingsLock _SettingsLock;
  std::unique_ptr<ZEP2ShellScript> _SonScript;
  // Interruptions: the first signal, one the son has not received yet, the
  // father's pipe as each side holds it, and the watch for the report page.
  int _InterruptSignal = 0;
  int _PendingForward = 0;
  int _FatherDescriptor = -1;
  int _FatherPipeWrite = -1;
  std::unique_ptr<QelCommand> _RollbackWatcher;
  // Set when the installation reached its successful end: the run's exit
  // status can then be 0.
  bool _InstallationSucceeded = false;
  // Set once the rollback ran: the run then ends with a failure status.
  bool _InstallationFailed = false;
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
  QelListPtr<ZEP2PersModeler> _ModelerPersColl;
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
  // The step protocol: begin trace and removal of the step's own
  // subscription; the next step's subscription; the end trace.
  static void StepBegin(QelCommand* command, const char* step);
  static void StepSubscribe(QelCommand* command, const char* step, QelIdleFunction next);
  static void StepEnd(const char* step);
  static void StepProgress(int steps);
  static void SetStatusLines(const QelUnicodeString& one, const QelUnicodeString& two);
  // The common failure procedure, with the report page's error title and
  // text; it ends by subscribing St_AbortInst.
  void FailInstallation(QelCommand* command, const QelUnicodeString& title,
                        const QelUnicodeString& text);
  // Executes the statement on the DBA connection (database mode), writes it
  // to the DDL file (file mode) and commits when asked. 0 on success.
  static int RunAdministratorStatement(int type, const QelUnicodeString& text, bool commit,
                                       const QelUnicodeString& undo = "");
  // Puts undo on the journal before its creation. Only statements that are
  // executed need one, unless evenWithoutExecution: what is written in file
  // mode too (the server settings).
  static int RecordUndo(const QelUnicodeString& undo, bool evenWithoutExecution = false);
  // Writes the statement to the DDL file (mode 1) and gives its undo to the
  // DBA's bundle. 0 on success.
  static int WriteDDLStatement(int type, const QelUnicodeString& text, int length,
                               const QelUnicodeString& undo);
  static int RecordDerivedDrop(ZEP2PersModeler* modeler, const QelZepDDLFile& file,
                               const QelUnicodeString& account);
  // The statement texts of the user steps for the DBMS and typical
  // tablespaces of the run.
  static ZEP2UserStatements UserStatements();
  // An answer the DBMS cannot take in a statement reached the engine: the
  // step fails with a message that names the kind of answer, never its
  // value (it may be a password). Returns the error code set.
  static int AnswerNotWritable(const char* what);
  static int UndoOfAlterUser(const QelUnicodeString& user, QelUnicodeString& undo);
  static int UndoOfGrant(const QelUnicodeString& user, const std::vector<std::string>& privileges,
                         QelUnicodeString& undo);
  static int RunUndo(const std::string& text, std::string& message);
  void FinishRollback();
  void ReportRollback();
  // Oracle's confirmation of a user decision: true for Yes.
  bool ConfirmUser(const char* key, const QelUnicodeString& user);
  // A confirmation step over a list whose every element must be accepted.
  void ConfirmEveryUser(QelCommand* command, const char* step, QelIdleFunction self,
                        const char* nextStep, QelIdleFunction next,
                        const QelListValQelUnicodeString& users, const char* key,
                        const char* accepted, const char* refused);
  // An Alter step over a user list: IDENTIFIED BY the list's password, or
  // EXTERNALLY without passwords; with flags, only users flagged "Y". True
  // when the list is done and the next step subscribed.
  bool AlterEveryUser(QelCommand* command, const char* step, QelIdleFunction self,
                      const char* nextStep, QelIdleFunction next,
                      const QelListValQelUnicodeString& users,
                      const QelListValQelUnicodeString* passwords,
                      const QelListValQelUnicodeString* flags);
  // St_PlayDDL's work: one statement, then the positions advanced.
  void PlayOneStatement(QelCommand* command);
  int PlayStatement(ZEP2PersModeler* modeler, const QelZepDDLFile& file);
  void AdvanceStatement(QelCommand* command, ZEP2PersModeler* modeler);
  void AfterLastModeler(QelCommand* command);
  // St_AbortInst's and St_PlayDROPDDL's work.
  void AbortStep(QelCommand* command);
  void PlayOneDrop(QelCommand* command);
  // The start-up data steps' helpers.
  void ConfigurePdmServices();
  void ImportStatusGraph(const std::string& directory, const QelUnicodeString& name);
  // Closes the schema owners' connections the engine opened.
  void CloseEngineConnections();
  // The refusal path of the confirmation steps.
  void RefuseInstallation(QelCommand* command);
  // Shows the report page once the installation has succeeded.
  void EndInstallation(bool defaultButton);
  // How the installation ends, from what the run counted and recorded.
  ZEP2InstallOutcome InstallOutcome(ZEP2InstallEnd end) const;
  // Tells the settled outcome: report page (after head, the page's own
  // text), log, trace, and the run's last line through its notes.
  void SettleOutcome(const ZEP2InstallOutcome& outcome, const QelUnicodeString& head);
  // The first failure of the installation: where (the current step, in
  // words) and what the DBMS said; a later one does not replace it.
  void RecordFailure(const std::string& message);
  // Where St_PlayDDL is, in words: the statement, its file and modeler.
  std::string PlayedStatementInWords() const;
  // The report's list of what the run went on past (empty when nothing),
  // also written to the log and the trace.
  QelUnicodeString WarningsReport();
  void CreateDDLFile();
  // The DBA's bundle beside a DDL file that is complete; a failure is a
  // warning of the run.
  void WriteDDLBundle();
  // The configuration part of St_GenEnvFiles: CreateDBSrvSetting's result.
  int WriteConfiguration();
  // Walks a user list: the element at _nvPosCurColl, or false (position
  // back to 1) when the list is done.
  static bool NextUser(const QelListValQelUnicodeString& users);

  bool InstallSignalAction();
  // Check only: the summary page's choice, then the checks and their end.
  bool StartValidation();
  void ValidateDatabase();
  void ValidateEarlierInstallation(bool administrator);
  void ValidateCatalogue(QelDbConnection& connection);
  void ValidateUsers(QelDbConnection& connection);
  void ValidateTablespaces(QelDbConnection& connection);
  void CheckSystemManagedSpace(const std::string& tablespace, long long needed);
  void ValidateMachine();
  void EndValidation();
  ZEP2SpaceEstimate RepositoryEstimate() const;
  // Shared pieces of the page handlers.
  void ShowError(ZEP2PageDialog* page, const QelUnicodeString& text,
                 const QelUnicodeString& detail = "");
  // The error box about one field's answer: the person is put back in it.
  void ShowFieldError(ZEP2PageDialog* page, QelDlgObject* field, const QelUnicodeString& text);
  // Shows why the DBMS cannot take an answer (subject: its key in the
  // refusal catalogue) and returns true, or returns false for no refusal.
  enum class AnswerKind { UserOrPassword, Tablespace };
  bool RefusedForDBMS(ZEP2PageDialog* page, QelDbRefusal refusal, const char* subject, int dbms,
                      AnswerKind kind = AnswerKind::UserOrPassword);
  // The keyboard input error box (ZEP2ErrDlgDir) with a complete sentence.
  void ShowInputError(const QelUnicodeString& text, QelDlgObject* field = nullptr);
  void BusyCursor();
  void StoreWhatToDo();
  void StoreOracleLocation();
  void StoreOracleService();
  // Saves the answers and starts the son; page greyed meanwhile.
  void EndPartI(QelDlgDialog* page);
  // An error box on the father's page from the launch catalogue; detail
  // fills %2 after the path's %1.
  void ShowLaunchError(const char* key, const std::string& path, const std::string& detail);
  // The father's side once its son has gone, or could not be started: no
  // answer, lock or script of this run stays behind.
  void ReleaseSon();
  // A son that cannot be started is a fatal error at once, never a wait.
  void FailSonStart(const std::string& reason);

  // SIGINT, SIGTERM, SIGHUP and the end of the father: see the handlers.
  void InstallInterruptActions();
  static int Interrupted(int signal);
  void EndOnInterrupt(int signal);
  static void EndAfterRollback(QelCommand* watcher, int, void*);
  void EndInterruptedRun();
  bool InstallationOver() const;
  void SetInterruptedOutcome(bool incomplete) const;
  // SIGINT, SIGTERM, SIGHUP by name.
  static const char* InterruptName(int signal);
  void ForwardToSon(int signal);
  // A pipe whose read end the son inherits (its descriptor, or -1).
  int OpenFatherPipe();
  // What Cancel confirmed on the status page does.
  void CancelInstallation();
  static bool ExistingTablespaceSelected();
  void PresetAdministrator();
  void PresetVault();
  // Subscribes the preparation behind the wait page.
  void StartPreparation();
  void BackFromClash(QelDialog* page);
  void ReadDatabaseDirectory(unsigned short handle, unsigned short count);
  // Vault and clash checks.
  bool AuthenticateOrRefuse(ZEP2PageDialog* page, const QelUnicodeString& account,
                            const QelUnicodeString& password, const char* traceLabel,
                            const QelUnicodeString& rootForbidden,
                            const QelUnicodeString& invalidUser,
                            const QelUnicodeString& invalidPassword);
  bool AskToCreate(ZEP2PageDialog* page, const char* catalog, const QelUnicodeString& directory);
  bool PrepareVaultRepository();
  bool CreateVaultRepository(const std::vector<QelUnicodeString>& directories);
  void LeaveVaultPage();
  // Creates a page, builds it hidden and keeps it in _Pages.
  template <class Page>
  Page* AddPage(const char* name);
  // The son's first page: DB2Param2 or DBAUSER, then SIGUSR1 to the father.
  void ShowSonFirstPage();
  void SignalFather(QelDialog* firstPage);
};
