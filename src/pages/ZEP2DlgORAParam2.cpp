// Page ORAParam2. The TNS_ADMIN directory is asked only while its check
// button is checked; otherwise the client's default naming files are used.
#include "ZEP2DlgORAParam2.h"

int InputCheckFrameORAParam2(const QelUnicodeString& text, void*) {
  return ZEP2RefuseBlanksAndLineBreaks(text);
}

int InputVerifORAServiceName(const QelUnicodeString&, void*) {
  return 0;
}

int InputVerifORATNSADMIN(const QelUnicodeString&, void*) {
  return 0;
}

ZEP2FrmORAParam2::ZEP2FrmORAParam2(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts(
      "ZEP2FrmORAParam2",
      {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
       {"Frame1.Frame11.Frame112.Frame1121.LabelORAParam2One.Title", &LabelORAParam2OneTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelORAParam2Bis.Title", &LabelORAParam2BisTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelORAParam2Ters.Title", &LabelORAParam2TersTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelORAParam2Quatro.Title", &LabelORAParam2QuatroTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelORAServiceNameBefore.Title",
        &LabelORAServiceNameBeforeTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelORAServiceName.Title",
        &LabelORAServiceNameTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelORAServiceNameAfter.Title",
        &LabelORAServiceNameAfterTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelORATNSADMIN.Title",
        &LabelORATNSADMINTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.Frame112221.LabelChkButTNSADMIN.Title",
        &LabelChkButTNSADMINTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.Frame112221.LabelChkButTNSADMINBis.Title",
        &LabelChkButTNSADMINBisTitle}});

  Skeleton.Build(this, Frame112Title, true);
  LabelORAParam2One = ZEP2NewLabel(Skeleton.Frame1121, "LabelORAParam2One", LabelORAParam2OneTitle);
  LabelORAParam2Bis = ZEP2NewLabel(Skeleton.Frame1121, "LabelORAParam2Bis", LabelORAParam2BisTitle);
  LabelORAParam2Ters =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelORAParam2Ters", LabelORAParam2TersTitle);
  LabelORAParam2Quatro =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelORAParam2Quatro", LabelORAParam2QuatroTitle);

  Frame11221 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11221");
  LabelORAServiceNameBefore =
      ZEP2NewLabel(Frame11221, "LabelORAServiceNameBefore", LabelORAServiceNameBeforeTitle);
  LabelORAServiceName = ZEP2NewLabel(Frame11221, "LabelORAServiceName", LabelORAServiceNameTitle);
  LabelORAServiceNameAfter =
      ZEP2NewLabel(Frame11221, "LabelORAServiceNameAfter", LabelORAServiceNameAfterTitle);
  EditorORAServiceName = ZEP2NewEditor(Frame11221, "EditorORAServiceName", 0, 15);
  EditorORAServiceName->SetInputCallback(InputVerifORAServiceName, this);
  EditorORAServiceName->SetVerifyCallback(InputCheckFrameORAParam2, this);

  Frame11222 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11222");
  LabelORATNSADMIN = ZEP2NewLabel(Frame11222, "LabelORATNSADMIN", LabelORATNSADMINTitle);
  EditorORATNSADMIN = ZEP2NewEditor(Frame11222, "EditorORATNSADMIN", 0, 0);
  EditorORATNSADMIN->SetInputCallback(InputVerifORATNSADMIN, this);
  EditorORATNSADMIN->SetVerifyCallback(InputCheckFrameORAParam2, this);
  Frame112221 = ZEP2NewFrame(Frame11222, "Frame112221");
  LabelChkButTNSADMIN = ZEP2NewLabel(Frame112221, "LabelChkButTNSADMIN", LabelChkButTNSADMINTitle);
  LabelChkButTNSADMINBis =
      ZEP2NewLabel(Frame112221, "LabelChkButTNSADMINBis", LabelChkButTNSADMINBisTitle);
  // The caption is the variable's own name, the same in every language.
  ChkButTNSADMIN =
      ZEP2NewCheckButton(Frame112221, "ChkButTNSADMIN", "TNS_ADMIN", QelDlgToggle::Checked);

  SetPos();
}

void ZEP2FrmORAParam2::SetPos() {
  Skeleton.SetPos();
  ZEP2StackRows({LabelORAParam2One, LabelORAParam2Bis, LabelORAParam2Ters, LabelORAParam2Quatro},
                ZEP2FrameJustification);
  ZEP2StackRows({Frame11221, Frame11222}, ZEP2FrameJustification);
  ZEP2FieldRows({{LabelORAServiceNameBefore, nullptr},
                 {LabelORAServiceName, EditorORAServiceName},
                 {LabelORAServiceNameAfter, nullptr}});
  ZEP2FieldRows({{LabelORATNSADMIN, EditorORATNSADMIN}});
  Frame112221->SetConstraints(1, 0, ZEP2FrameJustification);
  ChkButTNSADMIN->SetConstraints(0, 0, ZEP2FieldLabelJustification);
  LabelChkButTNSADMIN->SetConstraints(0, 1, ZEP2FieldLabelJustification);
  LabelChkButTNSADMINBis->SetConstraints(1, 1, ZEP2FieldLabelJustification);
  Frame112221->SetResizableColumn(1);
}

ZEP2DlgORAParam2::ZEP2DlgORAParam2(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, PageStyle) {}

void ZEP2DlgORAParam2::Build() {
  LoadTexts(
      "ZEP2DlgORAParam2",
      {{"Title", &Title},
       {"ERRMSGWndTitle.Title", &ERRMSGWndTitle},
       {"ERRMSGTextToDisplayForSRVNAME.Title", &ERRMSGTextToDisplayForSRVNAME},
       {"ERRMSGOKTitle.Title", &ERRMSGOKTitle},
       {"ERRMSGTextToDisplayForTNSADMIN.Title", &ERRMSGTextToDisplayForTNSADMIN},
       {"ERRMSGTextToDisplayForWRONG_TNS.Title", &ERRMSGTextToDisplayForWRONG_TNS},
       {"ERRMSGTextToDisplayForUNKNOWN_SRVNAME.Title", &ERRMSGTextToDisplayForUNKNOWN_SRVNAME}},
      CancelGroup);
  Frame = new ZEP2FrmORAParam2(this, "PtrZEP2FrmORAParam2", FrameStyle);
  FinishBuild(Frame, CANCELButtonValue, 350);
}

void ZEP2DlgORAParam2::CallBacksManager() {
  AddAnalyseNotificationCB(Frame->EditorORATNSADMIN->GetModifyNotification(), EditorTNSADMINPathChk,
                           nullptr);
  AddAnalyseNotificationCB(Frame->ChkButTNSADMIN->GetSelectNotification(), ChkButTNSADMINSelect,
                           this);
}

void ZEP2DlgORAParam2::EditorTNSADMINPathChk(QelCommand* command, QelNotification* notification,
                                             void* data) {
  ZEP2TrailingSlashHandler(command, notification, data);
}

void ZEP2DlgORAParam2::ChkButTNSADMINSelect(QelCommand*, QelNotification*, void* data) {
  const ZEP2FrmORAParam2* frame = static_cast<ZEP2DlgORAParam2*>(data)->Frame;
  const int sensitivity = frame->ChkButTNSADMIN->IsChecked() ? Sensitive : Insensitive;
  frame->LabelORATNSADMIN->SetSensitivity(sensitivity);
  frame->EditorORATNSADMIN->SetSensitivity(sensitivity);
}
