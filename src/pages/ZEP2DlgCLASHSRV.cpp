// Page CLASHSRV. The port editor takes digits only and at most five of them:
// the controller reads it as an integer and checks its range itself.
#include "ZEP2DlgCLASHSRV.h"

ZEP2FrmCLASHSRV::ZEP2FrmCLASHSRV(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts(
      "ZEP2FrmCLASHSRV",
      {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
       {"Frame1.Frame11.Frame112.Frame1121.LabelCLASHSRVOne.Title", &LabelCLASHSRVOneTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelCLASHSRVBis.Title", &LabelCLASHSRVBisTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelCLASHSRVTers.Title", &LabelCLASHSRVTersTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelCLASHSRVQuatro.Title", &LabelCLASHSRVQuatroTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelCLASHSRVHostNameBefore.Title",
        &LabelCLASHSRVHostNameBeforeTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelCLASHSRVHostName.Title",
        &LabelCLASHSRVHostNameTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelCLASHSRVOrbixPort.Title",
        &LabelCLASHSRVOrbixPortTitle}});

  Skeleton.Build(this, Frame112Title, true);
  LabelCLASHSRVOne = ZEP2NewLabel(Skeleton.Frame1121, "LabelCLASHSRVOne", LabelCLASHSRVOneTitle);
  LabelCLASHSRVBis = ZEP2NewLabel(Skeleton.Frame1121, "LabelCLASHSRVBis", LabelCLASHSRVBisTitle);
  LabelCLASHSRVTers = ZEP2NewLabel(Skeleton.Frame1121, "LabelCLASHSRVTers", LabelCLASHSRVTersTitle);
  LabelCLASHSRVQuatro =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelCLASHSRVQuatro", LabelCLASHSRVQuatroTitle);

  Frame11221 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11221");
  LabelCLASHSRVHostNameBefore =
      ZEP2NewLabel(Frame11221, "LabelCLASHSRVHostNameBefore", LabelCLASHSRVHostNameBeforeTitle);
  LabelCLASHSRVHostName =
      ZEP2NewLabel(Frame11221, "LabelCLASHSRVHostName", LabelCLASHSRVHostNameTitle);
  EditorCLASHSRVHostName = ZEP2NewEditor(Frame11221, "EditorCLASHSRVHostName", 0, 15);
  LabelCLASHSRVOrbixPort =
      ZEP2NewLabel(Frame11221, "LabelCLASHSRVOrbixPort", LabelCLASHSRVOrbixPortTitle);
  EditorCLASHSRVOrbixPort =
      ZEP2NewEditor(Frame11221, "EditorCLASHSRVOrbixPort", QelDlgEditor::NumericStyle, 5);
  EditorCLASHSRVOrbixPort->SetMaxCharacterWidth(5);

  SetPos();
}

void ZEP2FrmCLASHSRV::SetPos() {
  Skeleton.SetPos();
  ZEP2StackRows({LabelCLASHSRVOne, LabelCLASHSRVBis, LabelCLASHSRVTers, LabelCLASHSRVQuatro},
                ZEP2FrameJustification);
  ZEP2StackRows({Frame11221}, ZEP2FrameJustification);
  ZEP2FieldRows({{LabelCLASHSRVHostNameBefore, nullptr},
                 {LabelCLASHSRVHostName, EditorCLASHSRVHostName},
                 {LabelCLASHSRVOrbixPort, EditorCLASHSRVOrbixPort}});
}

ZEP2DlgCLASHSRV::ZEP2DlgCLASHSRV(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, PageStyle) {}

void ZEP2DlgCLASHSRV::Build() {
  LoadTexts(
      "ZEP2DlgCLASHSRV",
      {{"Title", &Title},
       {"ERRMSGWndTitle.Title", &ERRMSGWndTitle},
       {"ERRMSGTextToDisplayForCLASHSRV.Title", &ERRMSGTextToDisplayForCLASHSRV},
       {"ERRMSGTextToDisplayForCLASHSRV_UNKNOWN.Title", &ERRMSGTextToDisplayForCLASHSRV_UNKNOWN},
       {"ERRMSGTextToDisplayForCLASHSRV_BADPORT.Title", &ERRMSGTextToDisplayForCLASHSRV_BADPORT},
       {"ERRMSGOKTitle.Title", &ERRMSGOKTitle}},
      CancelGroup);
  Frame = new ZEP2FrmCLASHSRV(this, "PtrZEP2FrmCLASHSRV", FrameStyle);
  FinishBuild(Frame, CANCELButtonValue, 350);
}
