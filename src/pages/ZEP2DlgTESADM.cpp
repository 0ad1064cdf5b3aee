// Page TESADM. Only the characters of an account name and of a password are
// filtered here; whether the account exists and the password matches is the
// controller's check when Next is pressed.
#include "ZEP2DlgTESADM.h"

#include "platform/QelInputCheck.h"

ZEP2FrmTESADM::ZEP2FrmTESADM(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts(
      "ZEP2FrmTESADM",
      {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTESADMOne.Title", &LabelTESADMOneTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTESADMBis.Title", &LabelTESADMBisTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTESADMTers.Title", &LabelTESADMTersTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTESADMQuatro.Title", &LabelTESADMQuatroTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelTESADM.Title", &LabelTESADMTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelTESADMP.Title", &LabelTESADMPTitle}});

  Skeleton.Build(this, Frame112Title, true);
  LabelTESADMOne = ZEP2NewLabel(Skeleton.Frame1121, "LabelTESADMOne", LabelTESADMOneTitle);
  LabelTESADMBis = ZEP2NewLabel(Skeleton.Frame1121, "LabelTESADMBis", LabelTESADMBisTitle);
  LabelTESADMTers = ZEP2NewLabel(Skeleton.Frame1121, "LabelTESADMTers", LabelTESADMTersTitle);
  LabelTESADMQuatro = ZEP2NewLabel(Skeleton.Frame1121, "LabelTESADMQuatro", LabelTESADMQuatroTitle);

  Frame11221 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11221");
  LabelTESADM = ZEP2NewLabel(Frame11221, "LabelTESADM", LabelTESADMTitle);
  EditorTESADM = ZEP2NewEditor(Frame11221, "EditorTESADM", 0, 15);
  EditorTESADM->SetVerifyCallback(InputCheckIdName, this);

  Frame11222 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11222");
  LabelTESADMP = ZEP2NewLabel(Frame11222, "LabelTESADMP", LabelTESADMPTitle);
  EditorTESADMP = ZEP2NewEditor(Frame11222, "EditorTESADMP", QelDlgEditor::PasswordStyle, 15);
  EditorTESADMP->SetVerifyCallback(InputCheckIdPasswd, this);

  SetPos();
}

void ZEP2FrmTESADM::SetPos() {
  Skeleton.SetPos();
  ZEP2StackRows({LabelTESADMOne, LabelTESADMBis, LabelTESADMTers, LabelTESADMQuatro},
                ZEP2FrameJustification);
  ZEP2StackRows({Frame11221, Frame11222}, ZEP2FrameJustification);
  ZEP2FieldRows({{LabelTESADM, EditorTESADM}});
  ZEP2FieldRows({{LabelTESADMP, EditorTESADMP}});
}

ZEP2DlgTESADM::ZEP2DlgTESADM(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, PageStyle) {}

void ZEP2DlgTESADM::Build() {
  LoadTexts("ZEP2DlgTESADM", {{"Title", &Title}}, CancelGroup,
            {{"ERRMSGWndTitle.Title", &ERRMSGWndTitle},
             {"ERRMSGTextToDisplayForTESADM.Title", &ERRMSGTextToDisplayForTESADM},
             {"ERRMSGOKTitle.Title", &ERRMSGOKTitle},
             {"ERRMSGTextToDisplayForTESADMP.Title", &ERRMSGTextToDisplayForTESADMP},
             {"ERRMSGInvalidUsername.Title", &ERRMSGInvalidUsername},
             {"ERRMSGInvalidPassword.Title", &ERRMSGInvalidPassword},
             {"ERRMSGRootUserForbidden.Title", &ERRMSGRootUserForbidden}});
  Frame = new ZEP2FrmTESADM(this, "PtrZEP2FrmTESADM", FrameStyle);
  // There is no page before the first one to go back to.
  SetButtonSensitivity(OK, Insensitive);
  FinishBuild(Frame, CANCELButtonValue, 350);
}

void ZEP2DlgTESADM::CallBacksManager() {
  AddAnalyseNotificationCB(Frame->EditorTESADM->GetModifyNotification(),
                           EditorTESADMModifyNotification, nullptr);
}

// Nothing to do: unlike the database administrator's, this account is a Unix
// name and keeps its case while it is typed.
void ZEP2DlgTESADM::EditorTESADMModifyNotification(QelCommand*, QelNotification*, void*) {}
