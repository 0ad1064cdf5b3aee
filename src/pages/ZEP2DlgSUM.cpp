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
  ChkButSUMCheckOnly->SetConstraints(0, 1, ZEP2FrameJustification);
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
            CancelGroup);
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
  AddSummaryLine(OPTOEXE);
  AddSummaryLine(OPTOEXE_ENVFILE);
  if (H::_nvEXEDBObj) AddSummaryLine(OPTOEXE_DBOBJ);
  if (H::_nvEXEStartupData) AddSummaryLine(OPTOEXE_STARTUPDATA);
  if (H::_nvEXEVault) AddSummaryLine(OPTOEXE_VAULT);
  if (H::_nvEXEClashInst)
    AddSummaryLine(H::_nvEXEClashServer ? OPTOEXE_CLASHSERVER : OPTOEXE_CLASHCLIENT);
  if (H::_nvEXESampleData && H::_nvEXESampleDataActiv) AddSummaryLine(OPTOEXE_SAMPLEDATA);

  if (H::_nvIBMDB2UDB) AddSummaryLine(DBMSTYPE + DBMSTYPE_DB2);
  if (H::_nvOracle) AddSummaryLine(DBMSTYPE + DBMSTYPE_ORACLE);
  if (H::_nvAUTHClient) AddSummaryLine(AUTHMODE + AUTHMODE_CLIENT);
  if (H::_nvAUTHServer) AddSummaryLine(AUTHMODE + AUTHMODE_SERVER);

  if (H::_nvIBMDB2UDB) {
    if (H::_nvDB2Local) AddSummaryLine(DB2LOC + DB2LOC_LOCAL);
    if (H::_nvDB2Remote) AddSummaryLine(DB2LOC + DB2LOC_REMOTE);
    AddSummaryLine(DB2INSTANCE + H::_svDB2INSTANCE);
    AddSummaryLine(DB2ALIASNAME + H::_svDB2ALIASNAME);
  }
  if (H::_nvOracle) {
    if (H::_nvORALocal) AddSummaryLine(ORALOC + ORALOC_LOCAL);
    if (H::_nvORARemote) AddSummaryLine(ORALOC + ORALOC_REMOTE);
    AddSummaryLine(SRVNAME + H::_svORASRVNAME);
  }

  AddSummaryLine(DBAUSER + H::_svDBAUSER);
  if (H::_nvTBSTypical) AddSummaryLine(TBSSCENARII + TBSSCENARII_TYPICAL);
  if (H::_nvTBSCustom) AddSummaryLine(TBSSCENARII + TBSSCENARII_CUSTOM);
  WriteTraceLogFile("\nZEP2DlgSUM::SetSummary end.\n\n", 0);
}
