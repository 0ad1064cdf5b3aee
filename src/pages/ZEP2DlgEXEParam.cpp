// Page EXEParam. The DDL file's name and directory matter only in file
// execution mode, so they can be typed only while that mode is chosen.
#include "ZEP2DlgEXEParam.h"

namespace {

void SetDDLFileSensitivity(const ZEP2FrmEXEParam* frame, int sensitivity) {
  frame->LabelEXEDDLFileName->SetSensitivity(sensitivity);
  frame->EditorEXEDDLFileName->SetSensitivity(sensitivity);
  frame->LabelEXEDDLFilePath->SetSensitivity(sensitivity);
  frame->EditorEXEDDLFilePath->SetSensitivity(sensitivity);
}

}  // namespace

int InputCheckFrameEXEParam(const QelUnicodeString& text, void*) {
  return ZEP2RefuseBlanksAndLineBreaks(text);
}

ZEP2FrmEXEParam::ZEP2FrmEXEParam(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts(
      "ZEP2FrmEXEParam",
      {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
       {"Frame1.Frame11.Frame112.Frame1121.LabelEXEParamOne.Title", &LabelEXEParamOneTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelEXEParamBis.Title", &LabelEXEParamBisTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelEXEParamTers.Title", &LabelEXEParamTersTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelEXEParamQuatro.Title", &LabelEXEParamQuatroTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelEXEParamQuinto.Title", &LabelEXEParamQuintoTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.RadButEXEINDB.Title", &RadButEXEINDBTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.RadButEXEINFILE.Title",
        &RadButEXEINFILETitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelEXEUnderINFILE.Title",
        &LabelEXEUnderINFILETitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelEXEDDLFileName.Title",
        &LabelEXEDDLFileNameTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11223.LabelEXEDDLFilePath.Title",
        &LabelEXEDDLFilePathTitle}});

  Skeleton.Build(this, Frame112Title, true);
  LabelEXEParamOne = ZEP2NewLabel(Skeleton.Frame1121, "LabelEXEParamOne", LabelEXEParamOneTitle);
  LabelEXEParamBis = ZEP2NewLabel(Skeleton.Frame1121, "LabelEXEParamBis", LabelEXEParamBisTitle);
  LabelEXEParamTers = ZEP2NewLabel(Skeleton.Frame1121, "LabelEXEParamTers", LabelEXEParamTersTitle);
  LabelEXEParamQuatro =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelEXEParamQuatro", LabelEXEParamQuatroTitle);
  LabelEXEParamQuinto =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelEXEParamQuinto", LabelEXEParamQuintoTitle);

  Frame11221 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11221");
  RadButEXEINFILE = ZEP2NewRadioButton(Frame11221, "RadButEXEINFILE", RadButEXEINFILETitle,
                                       QelDlgToggle::Unchecked);
  RadButEXEINDB =
      ZEP2NewRadioButton(Frame11221, "RadButEXEINDB", RadButEXEINDBTitle, QelDlgToggle::Checked);
  LabelEXEUnderINFILE = ZEP2NewLabel(Frame11221, "LabelEXEUnderINFILE", LabelEXEUnderINFILETitle);

  Frame11222 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11222");
  LabelEXEDDLFileName = ZEP2NewLabel(Frame11222, "LabelEXEDDLFileName", LabelEXEDDLFileNameTitle);
  EditorEXEDDLFileName = ZEP2NewEditor(Frame11222, "EditorEXEDDLFileName", 0, 25);
  EditorEXEDDLFileName->SetVerifyCallback(InputCheckFrameEXEParam, this);

  Frame11223 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11223");
  LabelEXEDDLFilePath = ZEP2NewLabel(Frame11223, "LabelEXEDDLFilePath", LabelEXEDDLFilePathTitle);
  EditorEXEDDLFilePath = ZEP2NewEditor(Frame11223, "EditorEXEDDLFilePath", 0, 0);
  EditorEXEDDLFilePath->SetVerifyCallback(InputCheckFrameEXEParam, this);

  SetDDLFileSensitivity(this, Insensitive);
  SetPos();
}

void ZEP2FrmEXEParam::SetPos() {
  Skeleton.SetPos();
  ZEP2StackRows({LabelEXEParamOne, LabelEXEParamBis, LabelEXEParamTers, LabelEXEParamQuatro,
                 LabelEXEParamQuinto},
                ZEP2FrameJustification);
  ZEP2StackRows({Frame11221, Frame11222, Frame11223}, ZEP2FrameJustification);
  ZEP2StackRows({RadButEXEINDB, RadButEXEINFILE, LabelEXEUnderINFILE}, ZEP2FieldLabelJustification);
  ZEP2FieldRows({{LabelEXEDDLFileName, EditorEXEDDLFileName}});
  ZEP2FieldRows({{LabelEXEDDLFilePath, EditorEXEDDLFilePath}});
}

ZEP2DlgEXEParam::ZEP2DlgEXEParam(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, PageStyle) {}

void ZEP2DlgEXEParam::Build() {
  LoadTexts("ZEP2DlgEXEParam", {{"Title", &Title}}, CancelGroup,
            {{"ERRMSGWndTitle.Title", &ERRMSGWndTitle},
             {"ERRMSGTextToDisplayForDDLFILENAME.Title", &ERRMSGTextToDisplayForDDLFILENAME},
             {"ERRMSGTextToDisplayForDDLFILEPATH.Title", &ERRMSGTextToDisplayForDDLFILEPATH},
             {"ERRMSGTextToDisplayForDDLFILEPATHW.Title", &ERRMSGTextToDisplayForDDLFILEPATHW},
             {"ERRMSGOKTitle.Title", &ERRMSGOKTitle}});
  Frame = new ZEP2FrmEXEParam(this, "PtrZEP2FrmEXEParam", FrameStyle);
  FinishBuild(Frame, CANCELButtonValue, 350);
}

void ZEP2DlgEXEParam::CallBacksManager() {
  AddAnalyseNotificationCB(Frame->RadButEXEINDB->GetSelectNotification(),
                           CB_ZEP2DlgEXEParam_SetRadButEXEINDB, Frame);
  AddAnalyseNotificationCB(Frame->RadButEXEINFILE->GetSelectNotification(),
                           CB_ZEP2DlgEXEParam_SetRadButEXEINFILE, Frame);
  AddAnalyseNotificationCB(Frame->EditorEXEDDLFilePath->GetModifyNotification(),
                           EditorEXEDDLFilePathChk, nullptr);
}

void ZEP2DlgEXEParam::CB_ZEP2DlgEXEParam_SetRadButEXEINDB(QelCommand*, QelNotification*,
                                                          void* data) {
  SetDDLFileSensitivity(static_cast<ZEP2FrmEXEParam*>(data), Insensitive);
}

void ZEP2DlgEXEParam::CB_ZEP2DlgEXEParam_SetRadButEXEINFILE(QelCommand*, QelNotification*,
                                                            void* data) {
  SetDDLFileSensitivity(static_cast<ZEP2FrmEXEParam*>(data), Sensitive);
}

void ZEP2DlgEXEParam::EditorEXEDDLFilePathChk(QelCommand* command, QelNotification* notification,
                                              void* data) {
  ZEP2TrailingSlashHandler(command, notification, data);
}
