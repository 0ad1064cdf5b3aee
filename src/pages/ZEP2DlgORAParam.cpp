// Page ORAParam. The homes are joined with their library directories into the
// son process's paths, so a trailing slash is dropped as soon as it is typed.
#include "ZEP2DlgORAParam.h"

int InputCheckFrameORAParam(const QelUnicodeString& text, void*) {
  return ZEP2RefuseBlanksAndLineBreaks(text);
}

int InputVerifORADBAId(const QelUnicodeString&, void*) {
  return 0;
}

ZEP2FrmORAParam::ZEP2FrmORAParam(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts(
      "ZEP2FrmORAParam",
      {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
       {"Frame1.Frame11.Frame112.Frame1121.LabelORAParamOne.Title", &LabelORAParamOneTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelORAParamBis.Title", &LabelORAParamBisTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelORAParamTers.Title", &LabelORAParamTersTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelORAParamQuatro.Title", &LabelORAParamQuatroTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelORACLE_HOME.Title",
        &LabelORACLE_HOMETitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelORACLE_N32_HOME.Title",
        &LabelORACLE_N32_HOMETitle}});

  Skeleton.Build(this, Frame112Title, true);
  LabelORAParamOne = ZEP2NewLabel(Skeleton.Frame1121, "LabelORAParamOne", LabelORAParamOneTitle);
  LabelORAParamBis = ZEP2NewLabel(Skeleton.Frame1121, "LabelORAParamBis", LabelORAParamBisTitle);
  LabelORAParamTers = ZEP2NewLabel(Skeleton.Frame1121, "LabelORAParamTers", LabelORAParamTersTitle);
  LabelORAParamQuatro =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelORAParamQuatro", LabelORAParamQuatroTitle);

  Frame11221 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11221");
  LabelORACLE_HOME = ZEP2NewLabel(Frame11221, "LabelORACLE_HOME", LabelORACLE_HOMETitle);
  EditorORACLE_HOME = ZEP2NewEditor(Frame11221, "EditorORACLE_HOME", 0, 0);
  EditorORACLE_HOME->SetInputCallback(InputVerifORADBAId, this);
  EditorORACLE_HOME->SetVerifyCallback(InputCheckFrameORAParam, this);
  // A separate home for 32-bit libraries is a need of older hosts only: the
  // page keeps it out of sight.
  LabelORACLE_N32_HOME =
      ZEP2NewLabel(Frame11221, "LabelORACLE_N32_HOME", LabelORACLE_N32_HOMETitle);
  LabelORACLE_N32_HOME->SetVisibility(Hidden);
  EditorORACLE_N32_HOME = ZEP2NewEditor(Frame11221, "EditorORACLE_N32_HOME", 0, 0);
  EditorORACLE_N32_HOME->SetInputCallback(InputVerifORADBAId, this);
  EditorORACLE_N32_HOME->SetVerifyCallback(InputCheckFrameORAParam, this);
  EditorORACLE_N32_HOME->SetVisibility(Hidden);

  SetPos();
}

void ZEP2FrmORAParam::SetPos() {
  Skeleton.SetPos();
  ZEP2StackRows({LabelORAParamOne, LabelORAParamBis, LabelORAParamTers, LabelORAParamQuatro},
                ZEP2FrameJustification);
  ZEP2StackRows({Frame11221}, ZEP2FrameJustification);
  ZEP2FieldRows(
      {{LabelORACLE_HOME, EditorORACLE_HOME}, {LabelORACLE_N32_HOME, EditorORACLE_N32_HOME}});
}

ZEP2DlgORAParam::ZEP2DlgORAParam(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, PageStyle) {}

void ZEP2DlgORAParam::Build() {
  LoadTexts(
      "ZEP2DlgORAParam",
      {{"Title", &Title},
       {"ERRMSGWndTitle.Title", &ERRMSGWndTitle},
       {"ERRMSGTextToDisplayForORACLE_HOME.Title", &ERRMSGTextToDisplayForORACLE_HOME},
       {"ERRMSGTextToDisplayForORACLE_N32_HOME.Title", &ERRMSGTextToDisplayForORACLE_N32_HOME},
       {"ERRMSGOKTitle.Title", &ERRMSGOKTitle},
       {"ERRMSGTextToDisplayForWRONGPATH.Title", &ERRMSGTextToDisplayForWRONGPATH},
       {"ERRMSGTextToDisplayForWRONGN32PATH.Title", &ERRMSGTextToDisplayForWRONGN32PATH}},
      CancelGroup);
  Frame = new ZEP2FrmORAParam(this, "PtrZEP2FrmORAParam", FrameStyle);
  FinishBuild(Frame, CANCELButtonValue, 350);
}

void ZEP2DlgORAParam::CallBacksManager() {
  AddAnalyseNotificationCB(Frame->EditorORACLE_HOME->GetModifyNotification(),
                           EditorORACLEHOMEPathChk, nullptr);
  AddAnalyseNotificationCB(Frame->EditorORACLE_N32_HOME->GetModifyNotification(),
                           EditorORACLEN32HOMEPathChk, nullptr);
}

void ZEP2DlgORAParam::EditorORACLEHOMEPathChk(QelCommand* command, QelNotification* notification,
                                              void* data) {
  ZEP2TrailingSlashHandler(command, notification, data);
}

void ZEP2DlgORAParam::EditorORACLEN32HOMEPathChk(QelCommand* command, QelNotification* notification,
                                                 void* data) {
  ZEP2TrailingSlashHandler(command, notification, data);
}
