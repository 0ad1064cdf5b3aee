// The tablespace pages: the existing tablespaces offered (and a new one for
// a local Oracle database), and the checks of a tablespace to create.
#include "app/ZEP2InstHQ.h"
#include "engine/ZEP2ValidationMode.h"
#include "pages/ZEP2MessageBoxes.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelLog.h"
#include "wizard/ZEP2PageHelpers.h"

namespace {

using zep2pages::Empty;
using zep2pages::Show;
using zep2pages::Trace;

using H = ZEP2InstHQ;

// Where the database keeps its own data files, which is where its
// administrator expects a new one; the conventional place when the
// catalogue cannot tell or names a directory this machine does not have.
QelUnicodeString OracleDataDirectory() {
  QelUnicodeString directory;
  if (H::_nvDBAConnection) {
    char message[QelDbMessageSize] = {};
    int code = 0;
    if (GetDataFileDirectory(H::_nvDBAConnection.get(), QelDbOracle, directory, code, message) !=
        0) {
      WriteTraceLogFile("\nData file directory not known: " + QelUnicodeString(message), 2);
    }
  }
  if (Empty(directory) || H::IsDirectory(directory) != 0) return "/u/u01/oradata/VXXX";
  WriteTraceLogFile("\nData file directory of the database: <" + directory + ">", 1);
  return directory;
}

}  // namespace

int ZEP2InstHQ::SetTBSTYPICALSELCOMBO() {
  WriteTraceLogFile("\n\nSetTBSTYPICALSELCOMBO Begin ...\n", 0);
  ZEP2FrmTBSTypicalSel* frame = _DlgTBSTypicalSel->Frame;
  QelDlgCombo* combos[] = {frame->ComboTBSTypicalSel, frame->ComboTBSTypicalSelBLOB};
  for (QelDlgCombo* combo : combos) combo->ClearLines();
  Trace("\nSetTBSTYPICALSELCOMBO After Clean ...");
  if (_nvOracle && _nvORALocal && _nvEXEDBObj) {
    for (QelDlgCombo* combo : combos) combo->AddLine(frame->LabelTBSTypicalComboDefTitle);
  }
  Trace("\nSetTBSTYPICALSELCOMBO After New One ...");
  const int dbms = _nvIBMDB2UDB ? QelDbDB2 : QelDbOracle;
  const QelUnicodeString source = _nvIBMDB2UDB ? _svDB2ALIASNAME : _svORASRVNAME;
  int result = 0;
  for (QelDlgCombo* combo : combos) {
    std::unique_ptr<QelDbConnection> connection;
    std::unique_ptr<QelDbCursor> cursor;
    if (GenDBConnection(source, _svDBAUSER, _svDBAUSERP, 1, 1, connection, cursor) != 0) continue;
    result = GetTBSListStd(cursor.get(), connection.get(), dbms, 0, _nvDBErrorCode, _svDBErrorMsg,
                           combo, 1);
    cursor->Close();
    connection->Close();
  }
  // The DDL files name the tablespace without quotes: one whose name is no
  // ordinary name of the DBMS cannot hold the PDM tables and is not offered.
  const QelDbDialect& dialect = QelDbDialect::For(dbms);
  const QelUnicodeString newEntry = DefaultTablespaceEntry();
  for (QelDlgCombo* combo : combos) {
    std::vector<QelUnicodeString> lines;
    for (int i = 0; i < combo->GetNbrOfLines(); ++i) lines.push_back(combo->GetLine(i));
    combo->ClearLines();
    for (const QelUnicodeString& line : lines) {
      if (line.Compare(newEntry) == 2 || dialect.OrdinaryName(line.str())) {
        combo->AddLine(line);
      } else {
        Trace("\nSetTBSTYPICALSELCOMBO not offered, no ordinary name: <" + line + ">");
      }
    }
  }
  if (frame->ComboTBSTypicalSel->GetNbrOfLines() == 0) {
    WriteErrLogFile("\nNo Tablespaces Found!");
    WriteTraceLogFile("\nNo Tablespaces Found!", 2);
    _ErrInCallBack = std::make_unique<ZEP2ErrInCallBack>(this, _DlgTBSTypicalSel, "Error",
                                                         "No Tablespace Found!", "", "");
    _ErrInCallBack->Build();
    _ErrInCallBack.reset();
    return -2;
  }
  for (QelDlgCombo* combo : combos) combo->SetSelectedPosition(0, false);
  WriteTraceLogFile("\nSetTBSTYPICALSELCOMBO End.\n\n", 0);
  return result;
}

void ZEP2InstHQ::CB_TBSTypicalSel_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_TBSTypicalSel_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  c->BusyCursor();
  ZEP2FrmTBSTypical* typical = c->_DlgTBSTypical->Frame;
  if (Empty(typical->EditorTBSTypicalDir->GetText())) {
    typical->EditorTBSTypicalDir->SetText(_nvIBMDB2UDB ? _svDB2DRIVEDir : OracleDataDirectory());
  }
  typical->LabelTBSTypicalSpaceNeedBis->SetTitle(_nvIBMDB2UDB ? "25000 KB." : "102000 KB.");
  // Measured for the directory shown, whether proposed or typed earlier.
  typical->ShowAvailableSpace(typical->EditorTBSTypicalDir->GetText());
  ZEP2DlgTBSTypicalSel* page = c->_DlgTBSTypicalSel;
  _svSELTBSTYPICAL_NOBLOB = page->Frame->ComboTBSTypicalSel->GetSelectedLine();
  WriteTraceLogFile("\nGetLine Selected : <" + _svSELTBSTYPICAL_NOBLOB + ">", 1);
  _svSELTBSTYPICAL_BLOB = _svSELTBSTYPICAL_NOBLOB;
  const bool newTablespace = _svSELTBSTYPICAL_NOBLOB.Compare(DefaultTablespaceEntry()) == 2;
  const int nameSensitivity = newTablespace ? QelDlgObject::Sensitive : QelDlgObject::Insensitive;
  if (!newTablespace) typical->EditorTBSTypicalName->SetText(_svSELTBSTYPICAL_NOBLOB);
  if (newTablespace && Empty(_svCRETBSTYPICAL_NOBLOB))
    typical->EditorTBSTypicalName->SetText("TESTBS");
  typical->EditorTBSTypicalName->SetSensitivity(nameSensitivity);
  typical->LabelTBSTypicalName->SetSensitivity(nameSensitivity);
  for (QelDlgObject* blob : {static_cast<QelDlgObject*>(typical->EditorTBSTypicalBLOBName),
                             static_cast<QelDlgObject*>(typical->LabelTBSTypicalBLOBName)}) {
    blob->SetSensitivity(QelDlgObject::Insensitive);
    blob->SetVisibility(QelDlgObject::Hidden);
  }
  if (newTablespace) return Show(c->_DlgTBSTypical, page);
  if (_nvEXEVault) {
    c->PresetVault();
    return Show(c->_DlgVAULTADM, page);
  }
  page->SetVisibility(QelDlgObject::Hidden);
  CB_VAULTSRV_Next(c, nullptr, nullptr);
}

void ZEP2InstHQ::CB_TBSTypicalSel_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_TBSTypicalSel_Back BACK");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  ReleaseDBAConnection();
  Show(c->_DlgDBAUSER, c->_DlgTBSTypicalSel);
}

void ZEP2InstHQ::CB_TBSTypical_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_TBSTypical_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  c->BusyCursor();
  ZEP2DlgTBSTypical* page = c->_DlgTBSTypical;
  const ZEP2FrmTBSTypical* frame = page->Frame;
  _svCRETBSTYPICAL_NOBLOB = frame->EditorTBSTypicalName->GetText();
  _svCRETBSTYPICAL_BLOB = frame->EditorTBSTypicalBLOBName->GetText();
  _svCRETBSTYPICAL_DIR = frame->EditorTBSTypicalDir->GetText();
  _svCRETBSTYPICAL_BLOB = _svCRETBSTYPICAL_NOBLOB;
  const QelDlgCombo* listed = c->_DlgTBSTypicalSel->Frame->ComboTBSTypicalSel;
  // The listing leaves out the tablespaces the DBMS keeps for itself; a new
  // tablespace cannot take their names either.
  const auto clashes = [listed](const QelUnicodeString& name) {
    for (const char* reserved : {"SYSTEM", "SYSAUX", "TEMP", "UNDOTBS1", "SYSCATSPACE",
                                 "TEMPSPACE1", "SYSTOOLSPACE", "SYSTOOLSTMPSPACE"}) {
      if (name.ToUpper().Compare(reserved) == 2) return true;
    }
    for (int i = 0; i < listed->GetNbrOfLines(); ++i) {
      if (listed->GetLine(i).Compare(name) == 2) return true;
    }
    return false;
  };
  if (Empty(_svCRETBSTYPICAL_NOBLOB)) {
    if (c->Refused(page, page->ERRMSGTextToDisplayForTBSTYPIName, frame->EditorTBSTypicalName))
      return;
  }
  if (clashes(_svCRETBSTYPICAL_NOBLOB) && frame->EditorTBSTypicalName->IsSensitive()) {
    if (c->Refused(page, page->ERRMSGTextToDisplayForTBSTYPINameW, frame->EditorTBSTypicalName))
      return;
  }
  if (Empty(_svCRETBSTYPICAL_BLOB)) {
    if (c->Refused(page, page->ERRMSGTextToDisplayForTBSTYPIBLOBName,
                   frame->EditorTBSTypicalBLOBName))
      return;
  }
  if (clashes(_svCRETBSTYPICAL_BLOB) && frame->EditorTBSTypicalBLOBName->IsSensitive()) {
    if (c->Refused(page, page->ERRMSGTextToDisplayForTBSTYPIBLOBNameW,
                   frame->EditorTBSTypicalBLOBName))
      return;
  }
  if (Empty(_svCRETBSTYPICAL_DIR)) {
    Trace("\nINPUT ERROR: A tablespaces directory is Required");
    if (c->Refused(page, page->ERRMSGTextToDisplayForTBSDATAFILE, frame->EditorTBSTypicalDir))
      return;
  }
  // The name goes into the statements and the DDL files without quotes,
  // the directory into a string literal.
  const int dbms = _nvIBMDB2UDB ? QelDbDB2 : QelDbOracle;
  const QelDbDialect& dialect = QelDbDialect::For(dbms);
  if (c->RefusedForDBMS(page, dialect.CheckTablespaceName(_svCRETBSTYPICAL_NOBLOB.str()),
                        "SubjectTBSName", dbms, AnswerKind::Tablespace) ||
      c->RefusedForDBMS(page, dialect.CheckTablespaceName(_svCRETBSTYPICAL_BLOB.str()),
                        "SubjectTBSName", dbms, AnswerKind::Tablespace) ||
      c->RefusedForDBMS(page, dialect.CheckLiteral(_svCRETBSTYPICAL_DIR.str()), "SubjectTBSDir",
                        dbms)) {
    return;
  }
  // A silent check lists the directory and its space once, in its final
  // check of the machine, with what to do about them.
  if (!zep2validation::Silent()) {
    if (IsDirectory(_svCRETBSTYPICAL_DIR) != 0) {
      Trace("\nINPUT ERROR: WRONG Tablespaces PATH!");
      c->Refused(page, page->ERRMSGTextToDisplayForWRONG_TBSDATAFILE, frame->EditorTBSTypicalDir);
      return;
    }
    const int available = ZEP2DlgTBSTypical::GetAvailableSize(_svCRETBSTYPICAL_DIR);
    const int required = _nvIBMDB2UDB ? _QelDB2TBS_TYPICAL_SPACE : _QelORATBS_TYPICAL_SPACE;
    if (available < required) {
      Trace("\nNot enough space!");
      c->Refused(page, page->ERRMSGTextToDisplayForSPACE_TBSDATAFILE, frame->EditorTBSTypicalDir);
      return;
    }
  }
  c->_DlgSUM->SetSummary();
  if (_nvEXEVault) {
    c->PresetVault();
    return Show(c->_DlgVAULTADM, page);
  }
  page->SetVisibility(QelDlgObject::Hidden);
  CB_VAULTSRV_Next(c, nullptr, nullptr);
}

void ZEP2InstHQ::CB_TBSTypical_Back(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_TBSTypical_Back BACK");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  const ZEP2FrmTBSTypical* frame = c->_DlgTBSTypical->Frame;
  _svCRETBSTYPICAL_NOBLOB = frame->EditorTBSTypicalName->GetText();
  _svCRETBSTYPICAL_BLOB = frame->EditorTBSTypicalBLOBName->GetText();
  _svCRETBSTYPICAL_DIR = frame->EditorTBSTypicalDir->GetText();
  Show(c->_DlgTBSTypicalSel, c->_DlgTBSTypical);
}
