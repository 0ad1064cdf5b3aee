// Page SUM. The summary goes to the log as well as to the page, so that a log
// read after the run says what the administrator had confirmed.
#include "ZEP2DlgSUM.h"

#include "app/ZEP2InstHQ.h"
#include "platform/QelLog.h"

ZEP2FrmSUM::ZEP2FrmSUM(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts("ZEP2FrmSUM",
                       {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
                        {"FinishButton.Title", &FinishButtonTitle},
                        {"Frame1.ChkButSUMCheckOnly.Title", &ChkButSUMCheckOnlyTitle}});

  // Not the common skeleton: the summary fills the titled frame itself, with
  // no introduction text above it.
  Frame1 = ZEP2NewFrame(this, "Frame1");
  Frame11 = ZEP2NewFrame(Frame1, "Frame11");
  Frame111 = ZEP2NewFrame(Frame11, "Frame111");
  Label111 = new QelDlgLabel(Frame111, "Label111", 0);
  Frame112 = new QelDlgFrame(Frame11, "Frame112", 1);
  Frame112->SetTitle(Frame112Title);
  EditorSUM = ZEP2NewEditor(Frame112, "EditorSUM", QelDlgEditor::MultiLineStyle, 0);
  ChkButSUMCheckOnly = ZEP2NewCheckButton(Frame1, "ChkButSUMCheckOnly", ChkButSUMCheckOnlyTitle,
                                          QelDlgToggle::Unchecked);

  SetPos();
}

void ZEP2FrmSUM::SetPos() {
  Frame1->SetConstraints(0, 0, ZEP2FrameJustification);
  SetResizableRow(0);
  SetResizableColumn(0);
  Frame11->SetConstraints(0, 0, ZEP2FrameJustification);
  ChkButSUMCheckOnly->SetConstraints(1, 0, ZEP2FrameJustification);
  Frame1->SetResizableRow(0);
  Frame1->SetResizableColumn(0);
  Frame111->SetConstraints(0, 0, ZEP2FrameJustification);
  Label111->SetConstraints(0, 0, ZEP2FrameJustification);
  Frame112->SetConstraints(0, 1, ZEP2FrameJustification);
  Frame11->SetResizableRow(0);
  Frame11->SetResizableColumn(1);
  EditorSUM->SetConstraints(0, 0, ZEP2FrameJustification);
  Frame112->SetResizableRow(0);
  Frame112->SetResizableColumn(0);
}

ZEP2DlgSUM::ZEP2DlgSUM(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, PageStyle) {}

void ZEP2DlgSUM::Build() {
  LoadTexts("ZEP2DlgSUM",
            {{"Title", &Title},
             {"TESADM.Title", &TESADM},
             {"TESDICO.Title", &TESDICO},
             {"OPTOEXE.Title", &OPTOEXE},
             {"OPTOEXE_ENVFILE.Title", &OPTOEXE_ENVFILE},
             {"OPTOEXE_DBOBJ.Title", &OPTOEXE_DBOBJ},
             {"OPTOEXE_STARTUPDATA.Title", &OPTOEXE_STARTUPDATA},
             {"OPTOEXE_VAULT.Title", &OPTOEXE_VAULT},
             {"OPTOEXE_CLASHSERVER.Title", &OPTOEXE_CLASHSERVER},
             {"OPTOEXE_CLASHCLIENT.Title", &OPTOEXE_CLASHCLIENT},
             {"OPTOEXE_SAMPLEDATA.Title", &OPTOEXE_SAMPLEDATA},
             {"DBMSTYPE.Title", &DBMSTYPE},
             {"DBMSTYPE_DB2.Title", &DBMSTYPE_DB2},
             {"DBMSTYPE_ORACLE.Title", &DBMSTYPE_ORACLE},
             {"AUTHMODE.Title", &AUTHMODE},
             {"AUTHMODE_CLIENT.Title", &AUTHMODE_CLIENT},
             {"AUTHMODE_SERVER.Title", &AUTHMODE_SERVER},
             {"DB2LOC.Title", &DB2LOC},
             {"DB2LOC_LOCAL.Title", &DB2LOC_LOCAL},
             {"DB2LOC_REMOTE.Title", &DB2LOC_REMOTE},
             {"DB2INSTANCE.Title", &DB2INSTANCE},
             {"DB2ALIASNAME.Title", &DB2ALIASNAME},
             {"ORALOC.Title", &ORALOC},
             {"ORALOC_LOCAL.Title", &ORALOC_LOCAL},
             {"ORALOC_REMOTE.Title", &ORALOC_REMOTE},
             {"SRVNAME.Title", &SRVNAME},
             {"DBAUSER.Title", &DBAUSER},
             {"TBSSCENARII.Title", &TBSSCENARII},
             {"TBSSCENARII_TYPICAL.Title", &TBSSCENARII_TYPICAL},
             {"TBSSCENARII_CUSTOM.Title", &TBSSCENARII_CUSTOM}},
            CancelGroup,
            {{"TESDICOP.Title", &TESDICOP},
             {"EXEMODE.Title", &EXEMODE},
             {"EXEMODE_INDB.Title", &EXEMODE_INDB},
             {"EXEMODE_INFILE.Title", &EXEMODE_INFILE},
             {"DB2INSTANCE_HOMDIR.Title", &DB2INSTANCE_HOMDIR},
             {"DB2DRIVEDIR.Title", &DB2DRIVEDIR},
             {"ORACLE_HOME.Title", &ORACLE_HOME},
             {"ORACLE_N32_HOME.Title", &ORACLE_N32_HOME},
             {"TNSADMIN.Title", &TNSADMIN},
             {"DBAUSERP.Title", &DBAUSERP},
             {"TBS_EXISTING.Title", &TBS_EXISTING},
             {"TBS_NEW.Title", &TBS_NEW},
             {"TBS_NEWDIR.Title", &TBS_NEWDIR},
             {"VAULTADM.Title", &VAULTADM},
             {"VAULTADMP.Title", &VAULTADMP},
             {"VAULTPORT.Title", &VAULTPORT},
             {"VAULTREPO.Title", &VAULTREPO},
             {"CLASHADM.Title", &CLASHADM},
             {"CLASHADMP.Title", &CLASHADMP},
             {"CLASHOUTDIR.Title", &CLASHOUTDIR},
             {"CLASHV5INSTPATH.Title", &CLASHV5INSTPATH},
             {"CLASHSRVHOST.Title", &CLASHSRVHOST},
             {"CLASHORBIXPORT.Title", &CLASHORBIXPORT}});
  Frame = new ZEP2FrmSUM(this, "PtrZEP2FrmSUM", FrameStyle);
  FinishBuild(Frame, CANCELButtonValue, 350);
}

void ZEP2DlgSUM::AddSummaryLine(const QelUnicodeString& line) {
  Frame->EditorSUM->SetLine(Frame->EditorSUM->GetLineCount() + 1, line);
  const QelUnicodeString framed = "\n" + line + "\n";
  WriteLogFile(framed);
  WriteTraceLogFile(framed, 1);
}

void ZEP2DlgSUM::SetSummary() {
  using H = ZEP2InstHQ;
  WriteTraceLogFile("\n\nZEP2DlgSUM::SetSummary begin ...\n", 0);
  while (Frame->EditorSUM->GetLineCount() > 0) Frame->EditorSUM->ClearLine(1);

  AddSummaryLine(TESADM + H::_svTESADM);
  AddSummaryLine(TESDICO + H::_svTESDICOOwner);
  // With DB2 the owner's password is the administrator's, and never asked.
  if (H::_nvOracle) AddSummaryLine(TESDICOP + PasswordShown);
  AddSummaryLine(OPTOEXE);
  AddSummaryLine(OPTOEXE_ENVFILE);
  if (H::_nvEXEDBObj) AddSummaryLine(OPTOEXE_DBOBJ);
  if (H::_nvEXEStartupData) AddSummaryLine(OPTOEXE_STARTUPDATA);
  if (H::_nvEXEVault) AddSummaryLine(OPTOEXE_VAULT);
  if (H::_nvEXEClashInst)
    AddSummaryLine(H::_nvEXEClashServer ? OPTOEXE_CLASHSERVER : OPTOEXE_CLASHCLIENT);
  if (H::_nvEXESampleData && H::_nvEXESampleDataActiv) AddSummaryLine(OPTOEXE_SAMPLEDATA);
  if (H::_nvGENDDLONLY) {
    AddSummaryLine(EXEMODE + EXEMODE_INFILE + H::_svDDLFILEPATH + "/" + H::_svDDLFILENAME);
  } else if (H::_nvEXEDBObj || H::_nvEXEStartupData) {
    AddSummaryLine(EXEMODE + EXEMODE_INDB);
  }

  if (H::_nvIBMDB2UDB) AddSummaryLine(DBMSTYPE + DBMSTYPE_DB2);
  if (H::_nvOracle) AddSummaryLine(DBMSTYPE + DBMSTYPE_ORACLE);
  if (H::_nvAUTHClient) AddSummaryLine(AUTHMODE + AUTHMODE_CLIENT);
  if (H::_nvAUTHServer) AddSummaryLine(AUTHMODE + AUTHMODE_SERVER);
  AddDatabaseLines();

  AddSummaryLine(DBAUSER + H::_svDBAUSER);
  AddSummaryLine(DBAUSERP + PasswordShown);
  if (H::_nvTBSTypical) AddSummaryLine(TBSSCENARII + TBSSCENARII_TYPICAL);
  if (H::_nvTBSCustom) AddSummaryLine(TBSSCENARII + TBSSCENARII_CUSTOM);
  AddTablespaceLines();
  AddVaultAndClashLines();
  WriteTraceLogFile("\nZEP2DlgSUM::SetSummary end.\n\n", 0);
}

void ZEP2DlgSUM::AddDatabaseLines() {
  using H = ZEP2InstHQ;
  if (H::_nvIBMDB2UDB) {
    if (H::_nvDB2Local) AddSummaryLine(DB2LOC + DB2LOC_LOCAL);
    if (H::_nvDB2Remote) AddSummaryLine(DB2LOC + DB2LOC_REMOTE);
    AddSummaryLine(DB2INSTANCE + H::_svDB2INSTANCE);
    AddSummaryLine(DB2INSTANCE_HOMDIR + H::_svDB2INSTANCE_HOMDIR);
    AddSummaryLine(DB2ALIASNAME + H::_svDB2ALIASNAME);
    if (H::_nvDB2Local) AddSummaryLine(DB2DRIVEDIR + H::_svDB2DRIVEDir);
  }
  if (H::_nvOracle) {
    if (H::_nvORALocal) AddSummaryLine(ORALOC + ORALOC_LOCAL);
    if (H::_nvORARemote) AddSummaryLine(ORALOC + ORALOC_REMOTE);
    AddSummaryLine(SRVNAME + H::_svORASRVNAME);
    AddSummaryLine(ORACLE_HOME + H::_svORACLE_HOME);
    if (!H::_svORACLE_N32_HOME.str().empty()) {
      AddSummaryLine(ORACLE_N32_HOME + H::_svORACLE_N32_HOME);
    }
    if (H::_nvORATNS_ADMIN) AddSummaryLine(TNSADMIN + H::_svORATNS_ADMIN);
  }
}

// The tablespace the schemas go into: an existing one as chosen, or the one
// to create with the directory of its data file.
void ZEP2DlgSUM::AddTablespaceLines() {
  using H = ZEP2InstHQ;
  if (H::_svSELTBSTYPICAL_NOBLOB.str().empty()) return;
  if (H::_svSELTBSTYPICAL_NOBLOB.Compare(H::DefaultTablespaceEntry()) != 2) {
    AddSummaryLine(TBS_EXISTING + H::_svSELTBSTYPICAL_NOBLOB);
    return;
  }
  AddSummaryLine(TBS_NEW + H::_svCRETBSTYPICAL_NOBLOB);
  AddSummaryLine(TBS_NEWDIR + H::_svCRETBSTYPICAL_DIR);
}

void ZEP2DlgSUM::AddVaultAndClashLines() {
  using H = ZEP2InstHQ;
  if (H::_nvEXEVault) {
    AddSummaryLine(VAULTADM + H::_svVAULTAdm);
    AddSummaryLine(VAULTADMP + PasswordShown);
    AddSummaryLine(VAULTPORT + H::_svVAULTSrvDaemonPort);
    AddSummaryLine(VAULTREPO + H::_svVAULTRepository);
  }
  if (!H::_nvEXEClashInst) return;
  if (H::_nvEXEClashServer) {
    AddSummaryLine(CLASHADM + H::_svCLASHAdm);
    AddSummaryLine(CLASHADMP + PasswordShown);
    AddSummaryLine(CLASHOUTDIR + H::_svCLASHOutDir);
    AddSummaryLine(CLASHV5INSTPATH + H::_svCLASHV5InstPath);
  } else {
    AddSummaryLine(CLASHSRVHOST + H::_svCLASHSrvHostName);
    AddSummaryLine(CLASHORBIXPORT + QelUnicodeString::FromInt(H::_nvCLASHOrbixPort));
  }
}
