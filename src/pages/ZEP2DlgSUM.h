// Page SUM: before anything is changed, the list of every answer that decides
// what the installation will do, for the administrator to confirm.
#pragma once

#include "ZEP2PagePattern.h"

class ZEP2FrmSUM : public QelDlgFrame {
 public:
  ZEP2FrmSUM(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  QelDlgFrame* Frame1 = nullptr;
  QelDlgFrame* Frame11 = nullptr;
  QelDlgFrame* Frame111 = nullptr;
  QelDlgLabel* Label111 = nullptr;
  QelDlgFrame* Frame112 = nullptr;
  QelDlgEditor* EditorSUM = nullptr;
  // Runs every check of the installation instead of it, changing nothing.
  QelDlgCheckButton* ChkButSUMCheckOnly = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString ChkButSUMCheckOnlyTitle;
  // Kept for the controller; no widget of this page shows it.
  QelUnicodeString FinishButtonTitle;
};

class ZEP2DlgSUM : public ZEP2PageDialog {
 public:
  ZEP2DlgSUM(QelInteractiveApplication* application, const QelString& name);
  void Build();

  // Rewrites the summary from the installation parameters, and copies each
  // line into the log and the trace.
  void SetSummary();

  QelUnicodeString TESADM;
  QelUnicodeString TESDICO;
  QelUnicodeString OPTOEXE;
  QelUnicodeString OPTOEXE_ENVFILE;
  QelUnicodeString OPTOEXE_DBOBJ;
  QelUnicodeString OPTOEXE_STARTUPDATA;
  QelUnicodeString OPTOEXE_VAULT;
  QelUnicodeString OPTOEXE_CLASHSERVER;
  QelUnicodeString OPTOEXE_CLASHCLIENT;
  QelUnicodeString OPTOEXE_SAMPLEDATA;
  QelUnicodeString DBMSTYPE;
  QelUnicodeString DBMSTYPE_DB2;
  QelUnicodeString DBMSTYPE_ORACLE;
  QelUnicodeString AUTHMODE;
  QelUnicodeString AUTHMODE_CLIENT;
  QelUnicodeString AUTHMODE_SERVER;
  QelUnicodeString DB2LOC;
  QelUnicodeString DB2LOC_LOCAL;
  QelUnicodeString DB2LOC_REMOTE;
  QelUnicodeString DB2INSTANCE;
  QelUnicodeString DB2ALIASNAME;
  QelUnicodeString ORALOC;
  QelUnicodeString ORALOC_LOCAL;
  QelUnicodeString ORALOC_REMOTE;
  QelUnicodeString SRVNAME;
  QelUnicodeString DBAUSER;
  QelUnicodeString TBSSCENARII;
  QelUnicodeString TBSSCENARII_TYPICAL;
  QelUnicodeString TBSSCENARII_CUSTOM;
  // Captions of the detail lines that follow the lines above: every other
  // answer that decides what is created or changed. A password shows as
  // PasswordShown, never as typed.
  QelUnicodeString TESDICOP;
  QelUnicodeString EXEMODE;
  QelUnicodeString EXEMODE_INDB;
  QelUnicodeString EXEMODE_INFILE;
  QelUnicodeString DB2INSTANCE_HOMDIR;
  QelUnicodeString DB2DRIVEDIR;
  QelUnicodeString ORACLE_HOME;
  QelUnicodeString ORACLE_N32_HOME;
  QelUnicodeString TNSADMIN;
  QelUnicodeString DBAUSERP;
  QelUnicodeString TBS_EXISTING;
  QelUnicodeString TBS_NEW;
  QelUnicodeString TBS_NEWDIR;
  QelUnicodeString VAULTADM;
  QelUnicodeString VAULTADMP;
  QelUnicodeString VAULTPORT;
  QelUnicodeString VAULTREPO;
  QelUnicodeString CLASHADM;
  QelUnicodeString CLASHADMP;
  QelUnicodeString CLASHOUTDIR;
  QelUnicodeString CLASHV5INSTPATH;
  QelUnicodeString CLASHSRVHOST;
  QelUnicodeString CLASHORBIXPORT;
  ZEP2FrmSUM* Frame = nullptr;

  static constexpr const char* PasswordShown = "***";

 private:
  void AddSummaryLine(const QelUnicodeString& line);
  void AddDatabaseLines();
  void AddTablespaceLines();
  void AddVaultAndClashLines();
};
