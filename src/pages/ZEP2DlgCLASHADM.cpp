// Page CLASHADM. Both directories lose their trailing slashes as they are
// typed, so the clash scripts and settings always receive one spelling of a path.
#include "ZEP2DlgCLASHADM.h"

#include "platform/QelInputCheck.h"

ZEP2FrmCLASHADM::ZEP2FrmCLASHADM(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts(
      "ZEP2FrmCLASHADM",
      {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
       {"Frame1.Frame11.Frame112.Frame1121.LabelCLASHADMOne.Title", &LabelCLASHADMOneTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelCLASHADMBis.Title", &LabelCLASHADMBisTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelCLASHADMTers.Title", &LabelCLASHADMTersTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelCLASHADMQuatro.Title", &LabelCLASHADMQuatroTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelCLASHADM.Title", &LabelCLASHADMTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelCLASHADMP.Title", &LabelCLASHADMPTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelCLASHOutDir.Title",
        &LabelCLASHOutDirTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelCLASHV5InstPath.Title",
        &LabelCLASHV5InstPathTitle}});

  Skeleton.Build(this, Frame112Title, true);
  LabelCLASHADMOne = ZEP2NewLabel(Skeleton.Frame1121, "LabelCLASHADMOne", LabelCLASHADMOneTitle);
  LabelCLASHADMBis = ZEP2NewLabel(Skeleton.Frame1121, "LabelCLASHADMBis", LabelCLASHADMBisTitle);
  LabelCLASHADMTers = ZEP2NewLabel(Skeleton.Frame1121, "LabelCLASHADMTers", LabelCLASHADMTersTitle);
  LabelCLASHADMQuatro =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelCLASHADMQuatro", LabelCLASHADMQuatroTitle);

  Frame11221 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11221");
  LabelCLASHADM = ZEP2NewLabel(Frame11221, "LabelCLASHADM", LabelCLASHADMTitle);
  EditorCLASHADM = ZEP2NewEditor(Frame11221, "EditorCLASHADM", 0, 15);
  EditorCLASHADM->SetVerifyCallback(InputCheckIdName, this);
  LabelCLASHADMP = ZEP2NewLabel(Frame11221, "LabelCLASHADMP", LabelCLASHADMPTitle);
  EditorCLASHADMP = ZEP2NewEditor(Frame11221, "EditorCLASHADMP", QelDlgEditor::PasswordStyle, 15);
  EditorCLASHADMP->SetVerifyCallback(InputCheckIdPasswd, this);

  Frame11222 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11222");
  LabelCLASHOutDir = ZEP2NewLabel(Frame11222, "LabelCLASHOutDir", LabelCLASHOutDirTitle);
  EditorCLASHOutDir = ZEP2NewEditor(Frame11222, "EditorCLASHOutDir", 0, 0);
  LabelCLASHV5InstPath =
      ZEP2NewLabel(Frame11222, "LabelCLASHV5InstPath", LabelCLASHV5InstPathTitle);
  EditorCLASHV5InstPath = ZEP2NewEditor(Frame11222, "EditorCLASHV5InstPath", 0, 0);

  SetPos();
}

void ZEP2FrmCLASHADM::SetPos() {
  Skeleton.SetPos();
  ZEP2StackRows({LabelCLASHADMOne, LabelCLASHADMBis, LabelCLASHADMTers, LabelCLASHADMQuatro},
                ZEP2FrameJustification);
  ZEP2StackRows({Frame11221, Frame11222}, ZEP2FrameJustification);
  ZEP2FieldRows({{LabelCLASHADM, EditorCLASHADM}, {LabelCLASHADMP, EditorCLASHADMP}});
  ZEP2FieldRows(
      {{LabelCLASHOutDir, EditorCLASHOutDir}, {LabelCLASHV5InstPath, EditorCLASHV5InstPath}});
}

ZEP2DlgCLASHADM::ZEP2DlgCLASHADM(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, PageStyle) {}

void ZEP2DlgCLASHADM::Build() {
  LoadTexts("ZEP2DlgCLASHADM", {{"Title", &Title}}, CancelAndDirectoryGroups,
            {{"ERRMSGWndTitle.Title", &ERRMSGWndTitle},
             {"ERRMSGTextToDisplayForCLASHADM.Title", &ERRMSGTextToDisplayForCLASHADM},
             {"ERRMSGOKTitle.Title", &ERRMSGOKTitle},
             {"ERRMSGTextToDisplayForCLASHADMP.Title", &ERRMSGTextToDisplayForCLASHADMP},
             {"ERRMSGTextToDisplayForREPO.Title", &ERRMSGTextToDisplayForREPO},
             {"ERRMSGTextToDisplayForWRONG_REPO.Title", &ERRMSGTextToDisplayForWRONG_REPO},
             {"ERRMSGTextToDisplayForPATH.Title", &ERRMSGTextToDisplayForPATH},
             {"ERRMSGTextToDisplayForWRONG_PATH.Title", &ERRMSGTextToDisplayForWRONG_PATH},
             {"ERRMSGInvalidUsername.Title", &ERRMSGInvalidUsername},
             {"ERRMSGInvalidPassword.Title", &ERRMSGInvalidPassword},
             {"ERRMSGRootUserForbidden.Title", &ERRMSGRootUserForbidden},
             {"ERRMSGDirCreationFailed.Title", &ERRMSGDirCreationFailed}});
  Frame = new ZEP2FrmCLASHADM(this, "PtrZEP2FrmCLASHADM", FrameStyle);
  FinishBuild(Frame, CANCELButtonValue, 350);
}

void ZEP2DlgCLASHADM::CallBacksManager() {
  AddAnalyseNotificationCB(Frame->EditorCLASHOutDir->GetModifyNotification(),
                           EditorCLASHOutDirModifyNotification, nullptr);
  AddAnalyseNotificationCB(Frame->EditorCLASHV5InstPath->GetModifyNotification(),
                           EditorCLASHV5InstPathModifyNotification, nullptr);
}

void ZEP2DlgCLASHADM::EditorCLASHOutDirModifyNotification(QelCommand* command,
                                                          QelNotification* notification,
                                                          void* data) {
  ZEP2TrailingSlashHandler(command, notification, data);
}

void ZEP2DlgCLASHADM::EditorCLASHV5InstPathModifyNotification(QelCommand* command,
                                                              QelNotification* notification,
                                                              void* data) {
  ZEP2TrailingSlashHandler(command, notification, data);
}
