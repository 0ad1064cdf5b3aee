// Page VAULTADM. The repository loses its trailing slashes as it is typed,
// so that the tmp and secured0 directories derived from it never hold "//".
#include "ZEP2DlgVAULTADM.h"

#include "platform/QelInputCheck.h"

ZEP2FrmVAULTADM::ZEP2FrmVAULTADM(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts(
      "ZEP2FrmVAULTADM",
      {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
       {"Frame1.Frame11.Frame112.Frame1121.LabelVAULTADMOne.Title", &LabelVAULTADMOneTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelVAULTADMBis.Title", &LabelVAULTADMBisTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelVAULTADMTers.Title", &LabelVAULTADMTersTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelVAULTADMQuatro.Title", &LabelVAULTADMQuatroTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelVAULTADM.Title", &LabelVAULTADMTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelVAULTADMP.Title", &LabelVAULTADMPTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelVAULTDaemonPort.Title",
        &LabelVAULTDaemonPortTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelVAULTRepo.Title",
        &LabelVAULTRepoTitle}});

  Skeleton.Build(this, Frame112Title, true);
  LabelVAULTADMOne = ZEP2NewLabel(Skeleton.Frame1121, "LabelVAULTADMOne", LabelVAULTADMOneTitle);
  LabelVAULTADMBis = ZEP2NewLabel(Skeleton.Frame1121, "LabelVAULTADMBis", LabelVAULTADMBisTitle);
  LabelVAULTADMTers = ZEP2NewLabel(Skeleton.Frame1121, "LabelVAULTADMTers", LabelVAULTADMTersTitle);
  LabelVAULTADMQuatro =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelVAULTADMQuatro", LabelVAULTADMQuatroTitle);

  Frame11221 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11221");
  LabelVAULTADM = ZEP2NewLabel(Frame11221, "LabelVAULTADM", LabelVAULTADMTitle);
  EditorVAULTADM = ZEP2NewEditor(Frame11221, "EditorVAULTADM", 0, 15);
  EditorVAULTADM->SetVerifyCallback(InputCheckIdName, this);
  LabelVAULTADMP = ZEP2NewLabel(Frame11221, "LabelVAULTADMP", LabelVAULTADMPTitle);
  EditorVAULTADMP = ZEP2NewEditor(Frame11221, "EditorVAULTADMP", QelDlgEditor::PasswordStyle, 15);
  EditorVAULTADMP->SetVerifyCallback(InputCheckIdPasswd, this);
  LabelVAULTDaemonPort =
      ZEP2NewLabel(Frame11221, "LabelVAULTDaemonPort", LabelVAULTDaemonPortTitle);
  EditorVAULTDaemonPort = ZEP2NewEditor(Frame11221, "EditorVAULTDaemonPort", 0, 15);

  Frame11222 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11222");
  LabelVAULTRepo = ZEP2NewLabel(Frame11222, "LabelVAULTRepo", LabelVAULTRepoTitle);
  EditorVAULTRepo = ZEP2NewEditor(Frame11222, "EditorVAULTRepo", 0, 0);

  SetPos();
}

void ZEP2FrmVAULTADM::SetPos() {
  Skeleton.SetPos();
  ZEP2StackRows({LabelVAULTADMOne, LabelVAULTADMBis, LabelVAULTADMTers, LabelVAULTADMQuatro},
                ZEP2FrameJustification);
  ZEP2StackRows({Frame11221, Frame11222}, ZEP2FrameJustification);
  ZEP2FieldRows({{LabelVAULTADM, EditorVAULTADM},
                 {LabelVAULTADMP, EditorVAULTADMP},
                 {LabelVAULTDaemonPort, EditorVAULTDaemonPort}});
  ZEP2FieldRows({{LabelVAULTRepo, EditorVAULTRepo}});
}

ZEP2DlgVAULTADM::ZEP2DlgVAULTADM(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, PageStyle) {}

void ZEP2DlgVAULTADM::Build() {
  LoadTexts(
      "ZEP2DlgVAULTADM", {{"Title", &Title}}, CancelAndDirectoryGroups,
      {{"ERRMSGWndTitle.Title", &ERRMSGWndTitle},
       {"ERRMSGTextToDisplayForVAULTADM.Title", &ERRMSGTextToDisplayForVAULTADM},
       {"ERRMSGOKTitle.Title", &ERRMSGOKTitle},
       {"ERRMSGTextToDisplayForVAULTADMP.Title", &ERRMSGTextToDisplayForVAULTADMP},
       {"ERRMSGTextToDisplayForVAULTDaemonPort.Title", &ERRMSGTextToDisplayForVAULTDaemonPort},
       {"ERRMSGTextToDisplayForREPO.Title", &ERRMSGTextToDisplayForREPO},
       {"ERRMSGTextToDisplayForWRONG_REPO.Title", &ERRMSGTextToDisplayForWRONG_REPO},
       {"ERRMSGInvalidUsername.Title", &ERRMSGInvalidUsername},
       {"ERRMSGInvalidPassword.Title", &ERRMSGInvalidPassword},
       {"ERRMSGRootUserForbidden.Title", &ERRMSGRootUserForbidden},
       {"ERRMSGDirCreationFailed.Title", &ERRMSGDirCreationFailed}});
  Frame = new ZEP2FrmVAULTADM(this, "PtrZEP2FrmVAULTADM", FrameStyle);
  FinishBuild(Frame, CANCELButtonValue, 350);
}

void ZEP2DlgVAULTADM::CallBacksManager() {
  AddAnalyseNotificationCB(Frame->EditorVAULTRepo->GetModifyNotification(),
                           EditorVAULTRepoModifyNotification, nullptr);
}

void ZEP2DlgVAULTADM::EditorVAULTRepoModifyNotification(QelCommand* command,
                                                        QelNotification* notification, void* data) {
  ZEP2TrailingSlashHandler(command, notification, data);
}
