// Page ORALoc. Each radio button sits in the frame of the texts that explain
// it, so the framework does not group them: the page keeps them exclusive.
#include "ZEP2DlgORALoc.h"

ZEP2FrmORALoc::ZEP2FrmORALoc(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts(
      "ZEP2FrmORALoc",
      {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
       {"Frame1.Frame11.Frame112.Frame1121.LabelORALocOne.Title", &LabelORALocOneTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelORALocBis.Title", &LabelORALocBisTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelORALocTers.Title", &LabelORALocTersTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelORALocQuatro.Title", &LabelORALocQuatroTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelORALocQuinto.Title", &LabelORALocQuintoTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.RadButORALocLocal.Title",
        &RadButORALocLocalTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelORALocLocal.Title",
        &LabelORALocLocalTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelORALocLocalBis.Title",
        &LabelORALocLocalBisTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.RadButORALocRemote.Title",
        &RadButORALocRemoteTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelORALocRemote.Title",
        &LabelORALocRemoteTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelORALocRemoteBis.Title",
        &LabelORALocRemoteBisTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelORALocRemoteTers.Title",
        &LabelORALocRemoteTersTitle}});

  Skeleton.Build(this, Frame112Title, true);
  LabelORALocOne = ZEP2NewLabel(Skeleton.Frame1121, "LabelORALocOne", LabelORALocOneTitle);
  LabelORALocBis = ZEP2NewLabel(Skeleton.Frame1121, "LabelORALocBis", LabelORALocBisTitle);
  LabelORALocTers = ZEP2NewLabel(Skeleton.Frame1121, "LabelORALocTers", LabelORALocTersTitle);
  LabelORALocQuatro = ZEP2NewLabel(Skeleton.Frame1121, "LabelORALocQuatro", LabelORALocQuatroTitle);
  LabelORALocQuinto = ZEP2NewLabel(Skeleton.Frame1121, "LabelORALocQuinto", LabelORALocQuintoTitle);

  Frame11221 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11221");
  RadButORALocLocal = ZEP2NewRadioButton(Frame11221, "RadButORALocLocal", RadButORALocLocalTitle,
                                         QelDlgToggle::Checked);
  LabelORALocLocal = ZEP2NewLabel(Frame11221, "LabelORALocLocal", LabelORALocLocalTitle);
  LabelORALocLocalBis = ZEP2NewLabel(Frame11221, "LabelORALocLocalBis", LabelORALocLocalBisTitle);

  Frame11222 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11222");
  RadButORALocRemote = ZEP2NewRadioButton(Frame11222, "RadButORALocRemote", RadButORALocRemoteTitle,
                                          QelDlgToggle::Unchecked);
  LabelORALocRemote = ZEP2NewLabel(Frame11222, "LabelORALocRemote", LabelORALocRemoteTitle);
  LabelORALocRemoteBis =
      ZEP2NewLabel(Frame11222, "LabelORALocRemoteBis", LabelORALocRemoteBisTitle);
  LabelORALocRemoteTers =
      ZEP2NewLabel(Frame11222, "LabelORALocRemoteTers", LabelORALocRemoteTersTitle);

  SetPos();
}

void ZEP2FrmORALoc::SetPos() {
  Skeleton.SetPos();
  ZEP2StackRows(
      {LabelORALocOne, LabelORALocBis, LabelORALocTers, LabelORALocQuatro, LabelORALocQuinto},
      ZEP2FrameJustification);
  ZEP2StackRows({Frame11221, Frame11222}, ZEP2FrameJustification);
  ZEP2StackRows({RadButORALocLocal, LabelORALocLocal, LabelORALocLocalBis},
                ZEP2FieldLabelJustification);
  ZEP2StackRows(
      {RadButORALocRemote, LabelORALocRemote, LabelORALocRemoteBis, LabelORALocRemoteTers},
      ZEP2FieldLabelJustification);
}

ZEP2DlgORALoc::ZEP2DlgORALoc(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, PageStyle) {}

void ZEP2DlgORALoc::Build() {
  LoadTexts("ZEP2DlgORALoc", {{"Title", &Title}}, CancelGroup);
  Frame = new ZEP2FrmORALoc(this, "PtrZEP2FrmORALoc", FrameStyle);
  FinishBuild(Frame, CANCELButtonValue, 350);
}

void ZEP2DlgORALoc::CallBacksManager() {
  AddAnalyseNotificationCB(Frame->RadButORALocLocal->GetSelectNotification(),
                           CB_ZEP2DlgORALoc_SetRadButClient, Frame);
  AddAnalyseNotificationCB(Frame->RadButORALocRemote->GetSelectNotification(),
                           CB_ZEP2DlgORALoc_SetRadButServer, Frame);
}

void ZEP2DlgORALoc::CB_ZEP2DlgORALoc_SetRadButClient(QelCommand*, QelNotification*, void* data) {
  auto* frame = static_cast<ZEP2FrmORALoc*>(data);
  ZEP2PairRadioButtons(frame->RadButORALocLocal, frame->RadButORALocRemote, "\nSet Rad But Client");
}

void ZEP2DlgORALoc::CB_ZEP2DlgORALoc_SetRadButServer(QelCommand*, QelNotification*, void* data) {
  auto* frame = static_cast<ZEP2FrmORALoc*>(data);
  ZEP2PairRadioButtons(frame->RadButORALocRemote, frame->RadButORALocLocal, "\nSet Rad But Server");
}
