// Page DB2Param2. Choosing an alias tells whether the database is local or
// remote; a local database's directory also becomes the proposed place of
// new tablespaces.
#include "ZEP2DlgDB2Param2.h"

#include "ZEP2DlgDB2Param.h"
#include "ZEP2DlgTBSTypical.h"
#include "app/ZEP2InstHQ.h"
#include "platform/QelLog.h"

namespace {

// Proposes the local database's directory on the tablespace page, with the
// space left there. Without a controller (or before its pages exist) there
// is no tablespace page to prepare.
void ProposeTablespaceDirectory(const QelUnicodeString& drive) {
  const ZEP2InstHQ* controller = ZEP2InstHQ::_ZEP2InstHQHandler;
  if (!controller || !controller->_DlgTBSTypical || !controller->_DlgTBSTypical->Frame) return;
  ZEP2FrmTBSTypical* frame = controller->_DlgTBSTypical->Frame;
  frame->ShowAvailableSpace(drive);
  frame->EditorTBSTypicalDir->SetText(drive);
}

}  // namespace

ZEP2FrmDB2Param2::ZEP2FrmDB2Param2(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts(
      "ZEP2FrmDB2Param2",
      {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
       {"Frame1.Frame11.Frame112.Frame1121.LabelDB2Param2One.Title", &LabelDB2Param2OneTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelDB2Param2Bis.Title", &LabelDB2Param2BisTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelDB2Param2Ters.Title", &LabelDB2Param2TersTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelDB2Param2Quatro.Title", &LabelDB2Param2QuatroTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelDB2DBAliasName.Title",
        &LabelDB2DBAliasNameTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelDB2DriveDirLocal.Title",
        &LabelDB2DriveDirLocalTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelDB2DriveDirRemote.Title",
        &LabelDB2DriveDirRemoteTitle}});

  Skeleton.Build(this, Frame112Title, true);
  LabelDB2Param2One = ZEP2NewLabel(Skeleton.Frame1121, "LabelDB2Param2One", LabelDB2Param2OneTitle);
  LabelDB2Param2Bis = ZEP2NewLabel(Skeleton.Frame1121, "LabelDB2Param2Bis", LabelDB2Param2BisTitle);
  LabelDB2Param2Ters =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelDB2Param2Ters", LabelDB2Param2TersTitle);
  LabelDB2Param2Quatro =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelDB2Param2Quatro", LabelDB2Param2QuatroTitle);

  Frame11221 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11221");
  LabelDB2DBAliasName = ZEP2NewLabel(Frame11221, "LabelDB2DBAliasName", LabelDB2DBAliasNameTitle);
  ComboDB2AliasName = ZEP2NewCombo(Frame11221, "ComboDB2AliasName", 0);
  ComboDB2AliasName->OfferEntryField(ZEP2DlgDB2Param::OthersLine);

  Frame11222 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11222");
  LabelDB2DriveDir = ZEP2NewLabel(Frame11222, "LabelDB2DriveDir", LabelDB2DriveDirLocalTitle);
  EditorDB2DriveDir =
      ZEP2NewEditor(Frame11222, "EditorDB2DriveDir", ZEP2FrmDB2Param::DirectoryStyle, 0);

  SetPos();
}

void ZEP2FrmDB2Param2::SetPos() {
  Skeleton.SetPos();
  ZEP2StackRows({LabelDB2Param2One, LabelDB2Param2Bis, LabelDB2Param2Ters, LabelDB2Param2Quatro},
                ZEP2FrameJustification);
  ZEP2StackRows({Frame11221, Frame11222}, ZEP2FrameJustification);
  ZEP2FieldRows({{LabelDB2DBAliasName, ComboDB2AliasName}});
  ZEP2FieldRows({{LabelDB2DriveDir, EditorDB2DriveDir}});
}

ZEP2DlgDB2Param2::ZEP2DlgDB2Param2(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, PageStyle) {}

void ZEP2DlgDB2Param2::Build() {
  LoadTexts("ZEP2DlgDB2Param2", {{"Title", &Title}}, CancelGroup);
  Frame = new ZEP2FrmDB2Param2(this, "PtrZEP2FrmDB2Param2", FrameStyle);
  FinishBuild(Frame, CANCELButtonValue, 350);
}

const ZEP2sqldeinfo* ZEP2DlgDB2Param2::FindEntry(const QelUnicodeString& alias) {
  const QelListPtr<ZEP2sqldeinfo>& entries = ZEP2InstHQ::_PtrSqldeinfoColl;
  for (int position = 1; position <= entries.Size(); ++position) {
    if (entries(position)->alias.Compare(alias) == 2) return entries(position);
  }
  return nullptr;
}

void ZEP2DlgDB2Param2::CallBacksManager() {
  AddAnalyseNotificationCB(Frame->ComboDB2AliasName->GetSelectNotification(),
                           ComboDB2DBAliasNameSelectNotification, nullptr);
}

// A remote database has no directory on this machine, so its directory field
// is emptied; an alias missing from the directory scan changes nothing. A
// typed alias the scan missed empties the directory too: the one shown
// belonged to an earlier choice, and the database's own is for the person to
// give (none for a remote database).
void ZEP2DlgDB2Param2::ComboDB2DBAliasNameSelectNotification(QelCommand* command, QelNotification*,
                                                             void*) {
  WriteTraceLogFile("\nSelectNotification !", 1);
  auto* page = static_cast<ZEP2DlgDB2Param2*>(command);
  ZEP2FrmDB2Param2* frame = page->Frame;
  QelDlgCombo& combo = *frame->ComboDB2AliasName;
  const bool typed = combo.GetSelectedPosition() < 0;
  // A typed alias is the field's text already.
  if (!typed) combo.SetField(combo.GetSelectedLine());
  const QelUnicodeString alias = ZEP2DlgDB2Param::ChosenName(combo);
  if (!typed && alias.Compare("") == 2) {
    frame->EditorDB2DriveDir->SetText("");
    page->SetVisibility(Shown);
    return;
  }
  const ZEP2sqldeinfo* entry = FindEntry(alias);
  if (!entry && typed) {
    frame->LabelDB2DriveDir->SetTitle(frame->LabelDB2DriveDirLocalTitle);
    frame->EditorDB2DriveDir->SetText("");
  } else if (entry) {
    WriteTraceLogFile("\nDB2 Alias Name found in collection ...", 1);
    ZEP2InstHQ::_svDB2DRIVEDir = entry->drive;
    if (entry->type == ZEP2sqldeinfo::Remote) {
      WriteTraceLogFile("\nREMOTE !!!", 1);
      ZEP2InstHQ::_nvDB2Local = 0;
      ZEP2InstHQ::_nvDB2Remote = 1;
      frame->LabelDB2DriveDir->SetTitle(frame->LabelDB2DriveDirRemoteTitle);
      frame->EditorDB2DriveDir->SetText("");
    } else {
      WriteTraceLogFile("\nNOT REMOTE !!!", 1);
      ZEP2InstHQ::_nvDB2Local = 1;
      ZEP2InstHQ::_nvDB2Remote = 0;
      WriteTraceLogFile("\nDB2Drive : <" + entry->drive + ">", 1);
      frame->LabelDB2DriveDir->SetTitle(frame->LabelDB2DriveDirLocalTitle);
      frame->EditorDB2DriveDir->SetText(entry->drive);
      ProposeTablespaceDirectory(entry->drive);
    }
  }
  page->SetVisibility(Shown);
}
