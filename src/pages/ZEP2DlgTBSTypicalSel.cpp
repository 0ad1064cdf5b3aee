// Page TBSTypicalSel. The large-object combo is filled like the first one but
// stays hidden: large objects always go to the data tablespace.
#include "ZEP2DlgTBSTypicalSel.h"

#include "app/ZEP2InstHQ.h"
#include "platform/QelLog.h"

ZEP2FrmTBSTypicalSel::ZEP2FrmTBSTypicalSel(QelDialog* parent, const QelString& name,
                                           unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts(
      "ZEP2FrmTBSTypicalSel",
      {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTBSTypicalSelOne.Title",
        &LabelTBSTypicalSelOneTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTBSTypicalSelBis.Title",
        &LabelTBSTypicalSelBisTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTBSTypicalSelTers.Title",
        &LabelTBSTypicalSelTersTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTBSTypicalSelQuatro.Title",
        &LabelTBSTypicalSelQuatroTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTBSTypicalSelQuinto.Title",
        &LabelTBSTypicalSelQuintoTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTBSTypicalComboDef.Title",
        &LabelTBSTypicalComboDefTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelTBSTypicalSel.Title",
        &LabelTBSTypicalSelTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelTBSTypicalSelBLOB.Title",
        &LabelTBSTypicalSelBLOBTitle}});

  Skeleton.Build(this, Frame112Title, true);
  LabelTBSTypicalSelOne =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelTBSTypicalSelOne", LabelTBSTypicalSelOneTitle);
  LabelTBSTypicalSelBis =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelTBSTypicalSelBis", LabelTBSTypicalSelBisTitle);
  LabelTBSTypicalSelTers =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelTBSTypicalSelTers", LabelTBSTypicalSelTersTitle);
  LabelTBSTypicalSelQuatro =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelTBSTypicalSelQuatro", LabelTBSTypicalSelQuatroTitle);
  LabelTBSTypicalSelQuinto =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelTBSTypicalSelQuinto", LabelTBSTypicalSelQuintoTitle);

  Frame11221 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11221");
  LabelTBSTypicalSel = ZEP2NewLabel(Frame11221, "LabelTBSTypicalSel", LabelTBSTypicalSelTitle);
  ComboTBSTypicalSel = ZEP2NewCombo(Frame11221, "ComboTBSTypicalSel", 15);

  Frame11222 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11222");
  LabelTBSTypicalSelBLOB =
      ZEP2NewLabel(Frame11222, "LabelTBSTypicalSelBLOB", LabelTBSTypicalSelBLOBTitle);
  LabelTBSTypicalSelBLOB->SetVisibility(Hidden);
  ComboTBSTypicalSelBLOB = ZEP2NewCombo(Frame11222, "ComboTBSTypicalSelBLOB", 15);
  ComboTBSTypicalSelBLOB->SetVisibility(Hidden);
  ComboTBSTypicalSelBLOB->SetSensitivity(Insensitive);

  SetPos();
}

void ZEP2FrmTBSTypicalSel::SetPos() {
  Skeleton.SetPos();
  ZEP2StackRows({LabelTBSTypicalSelOne, LabelTBSTypicalSelBis, LabelTBSTypicalSelTers,
                 LabelTBSTypicalSelQuatro, LabelTBSTypicalSelQuinto},
                ZEP2FrameJustification);
  ZEP2StackRows({Frame11221, Frame11222}, ZEP2FrameJustification);
  ZEP2FieldRows({{LabelTBSTypicalSel, ComboTBSTypicalSel}});
  ZEP2FieldRows({{LabelTBSTypicalSelBLOB, ComboTBSTypicalSelBLOB}});
}

ZEP2DlgTBSTypicalSel::ZEP2DlgTBSTypicalSel(QelInteractiveApplication* application,
                                           const QelString& name)
    : ZEP2PageDialog(application, name, PageStyle) {}

void ZEP2DlgTBSTypicalSel::Build() {
  LoadTexts("ZEP2DlgTBSTypicalSel", {{"Title", &Title}}, CancelGroup);
  Frame = new ZEP2FrmTBSTypicalSel(this, "PtrZEP2FrmTBSTypicalSel", FrameStyle);
  FinishBuild(Frame, CANCELButtonValue, 350);
}

void ZEP2DlgTBSTypicalSel::CallBacksManager() {
  AddAnalyseNotificationCB(Frame->ComboTBSTypicalSel->GetSelectNotification(),
                           ComboTBSTypicalSelSelectNotification, nullptr);
  AddAnalyseNotificationCB(Frame->ComboTBSTypicalSelBLOB->GetSelectNotification(),
                           ComboTBSTypicalSelBLOBSelectNotification, nullptr);
}

void ZEP2DlgTBSTypicalSel::ComboTBSTypicalSelSelectNotification(QelCommand* command,
                                                                QelNotification*, void*) {
  WriteTraceLogFile("\nSelectNotification !", 1);
  ZEP2InstHQ::_svSELTBSTYPICAL_NOBLOB =
      static_cast<ZEP2DlgTBSTypicalSel*>(command)->Frame->ComboTBSTypicalSel->GetSelectedLine();
}

void ZEP2DlgTBSTypicalSel::ComboTBSTypicalSelBLOBSelectNotification(QelCommand* command,
                                                                    QelNotification*, void*) {
  WriteTraceLogFile("\nSelectNotification !", 1);
  ZEP2InstHQ::_svSELTBSTYPICAL_BLOB =
      static_cast<ZEP2DlgTBSTypicalSel*>(command)->Frame->ComboTBSTypicalSelBLOB->GetSelectedLine();
}
