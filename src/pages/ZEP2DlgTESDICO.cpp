// Page TESDICO. The owner is a database user, not checked against the Unix
// accounts; with DB2 the controller hides the password, which is then the
// administrator's.
#include "ZEP2DlgTESDICO.h"

#include "platform/QelInputCheck.h"

ZEP2FrmTESDICO::ZEP2FrmTESDICO(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts(
      "ZEP2FrmTESDICO",
      {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTESDICOOne.Title", &LabelTESDICOOneTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTESDICOBis.Title", &LabelTESDICOBisTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTESDICOTers.Title", &LabelTESDICOTersTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTESDICOQuatro.Title", &LabelTESDICOQuatroTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelTESDICO.Title", &LabelTESDICOTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelTESDICOP.Title", &LabelTESDICOPTitle}});

  Skeleton.Build(this, Frame112Title, true);
  LabelTESDICOOne = ZEP2NewLabel(Skeleton.Frame1121, "LabelTESDICOOne", LabelTESDICOOneTitle);
  LabelTESDICOBis = ZEP2NewLabel(Skeleton.Frame1121, "LabelTESDICOBis", LabelTESDICOBisTitle);
  LabelTESDICOTers = ZEP2NewLabel(Skeleton.Frame1121, "LabelTESDICOTers", LabelTESDICOTersTitle);
  LabelTESDICOQuatro =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelTESDICOQuatro", LabelTESDICOQuatroTitle);

  Frame11221 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11221");
  LabelTESDICO = ZEP2NewLabel(Frame11221, "LabelTESDICO", LabelTESDICOTitle);
  EditorTESDICO = ZEP2NewEditor(Frame11221, "EditorTESDICO", 0, 15);
  EditorTESDICO->SetVerifyCallback(InputCheckIdName, this);

  Frame11222 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11222");
  LabelTESDICOP = ZEP2NewLabel(Frame11222, "LabelTESDICOP", LabelTESDICOPTitle);
  EditorTESDICOP = ZEP2NewEditor(Frame11222, "EditorTESDICOP", QelDlgEditor::PasswordStyle, 15);
  EditorTESDICOP->SetVerifyCallback(InputCheckIdPasswd, this);

  SetPos();
}

void ZEP2FrmTESDICO::SetPos() {
  Skeleton.SetPos();
  ZEP2StackRows({LabelTESDICOOne, LabelTESDICOBis, LabelTESDICOTers, LabelTESDICOQuatro},
                ZEP2FrameJustification);
  ZEP2StackRows({Frame11221, Frame11222}, ZEP2FrameJustification);
  ZEP2FieldRows({{LabelTESDICO, EditorTESDICO}});
  ZEP2FieldRows({{LabelTESDICOP, EditorTESDICOP}});
}

ZEP2DlgTESDICO::ZEP2DlgTESDICO(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, PageStyle) {}

void ZEP2DlgTESDICO::Build() {
  LoadTexts("ZEP2DlgTESDICO", {{"Title", &Title}}, CancelGroup,
            {{"ERRMSGWndTitle.Title", &ERRMSGWndTitle},
             {"ERRMSGTextToDisplayForTESDICO.Title", &ERRMSGTextToDisplayForTESDICO},
             {"ERRMSGOKTitle.Title", &ERRMSGOKTitle},
             {"ERRMSGTextToDisplayForTESDICOP.Title", &ERRMSGTextToDisplayForTESDICOP},
             {"ERRMSGInvalidUsername.Title", &ERRMSGInvalidUsername},
             {"ERRMSGInvalidPassword.Title", &ERRMSGInvalidPassword},
             {"ERRMSGRootUserForbidden.Title", &ERRMSGRootUserForbidden}});
  Frame = new ZEP2FrmTESDICO(this, "PtrZEP2FrmTESDICO", FrameStyle);
  FinishBuild(Frame, CANCELButtonValue, 350);
}

void ZEP2DlgTESDICO::CallBacksManager() {
  AddAnalyseNotificationCB(Frame->EditorTESDICO->GetModifyNotification(),
                           EditorTESDICOModifyNotification, nullptr);
}

// Nothing to do while typing: the controller upper-cases the owner when the
// page is left.
void ZEP2DlgTESDICO::EditorTESDICOModifyNotification(QelCommand*, QelNotification*, void*) {}
