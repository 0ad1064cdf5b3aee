// Page DBAUSER. The account is upper-cased as it is typed: it names a
// database user, which both DBMSs keep in upper case.
#include "ZEP2DlgDBAUSER.h"

#include "platform/QelInputCheck.h"

ZEP2FrmDBAUSER::ZEP2FrmDBAUSER(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts(
      "ZEP2FrmDBAUSER",
      {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
       {"Frame1.Frame11.Frame112.Frame1121.LabelDBAUSEROne.Title", &LabelDBAUSEROneTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelDBAUSERBis.Title", &LabelDBAUSERBisTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelDBAUSERTers.Title", &LabelDBAUSERTersTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelDBAUSERQuatro.Title", &LabelDBAUSERQuatroTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelDBAUSER.Title", &LabelDBAUSERTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelDBAUSERP.Title", &LabelDBAUSERPTitle}});

  Skeleton.Build(this, Frame112Title, true);
  LabelDBAUSEROne = ZEP2NewLabel(Skeleton.Frame1121, "LabelDBAUSEROne", LabelDBAUSEROneTitle);
  LabelDBAUSERBis = ZEP2NewLabel(Skeleton.Frame1121, "LabelDBAUSERBis", LabelDBAUSERBisTitle);
  LabelDBAUSERTers = ZEP2NewLabel(Skeleton.Frame1121, "LabelDBAUSERTers", LabelDBAUSERTersTitle);
  LabelDBAUSERQuatro =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelDBAUSERQuatro", LabelDBAUSERQuatroTitle);

  Frame11221 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11221");
  LabelDBAUSER = ZEP2NewLabel(Frame11221, "LabelDBAUSER", LabelDBAUSERTitle);
  EditorDBAUSER = ZEP2NewEditor(Frame11221, "EditorDBAUSER", 0, 15);
  EditorDBAUSER->SetVerifyCallback(InputCheckIdName, this);

  Frame11222 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11222");
  LabelDBAUSERP = ZEP2NewLabel(Frame11222, "LabelDBAUSERP", LabelDBAUSERPTitle);
  EditorDBAUSERP = ZEP2NewEditor(Frame11222, "EditorDBAUSERP", QelDlgEditor::PasswordStyle, 15);
  EditorDBAUSERP->SetVerifyCallback(InputCheckIdPasswd, this);

  SetPos();
}

void ZEP2FrmDBAUSER::SetPos() {
  Skeleton.SetPos();
  ZEP2StackRows({LabelDBAUSEROne, LabelDBAUSERBis, LabelDBAUSERTers, LabelDBAUSERQuatro},
                ZEP2FrameJustification);
  ZEP2StackRows({Frame11221, Frame11222}, ZEP2FrameJustification);
  ZEP2FieldRows({{LabelDBAUSER, EditorDBAUSER}});
  ZEP2FieldRows({{LabelDBAUSERP, EditorDBAUSERP}});
}

ZEP2DlgDBAUSER::ZEP2DlgDBAUSER(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, PageStyle) {}

void ZEP2DlgDBAUSER::Build() {
  LoadTexts("ZEP2DlgDBAUSER",
            {{"Title", &Title},
             {"ERRMSGWndTitle.Title", &ERRMSGWndTitle},
             {"ERRMSGTextToDisplayForDBAUSER.Title", &ERRMSGTextToDisplayForDBAUSER},
             {"ERRMSGWndTitleDBCONN.Title", &ERRMSGWndTitleDBCONN},
             {"ERRMSGTextToDisplayForDBCONN.Title", &ERRMSGTextToDisplayForDBCONN},
             {"ERRMSGWndTitleDRIVER.Title", &ERRMSGWndTitleDRIVER},
             {"ERRMSGTextToDisplayForDRIVER.Title", &ERRMSGTextToDisplayForDRIVER},
             {"ERRMSGOKTitle.Title", &ERRMSGOKTitle},
             {"ERRMSGTextToDisplayForDBAUSERP.Title", &ERRMSGTextToDisplayForDBAUSERP}},
            CancelGroup);
  Frame = new ZEP2FrmDBAUSER(this, "PtrZEP2FrmDBAUSER", FrameStyle);
  FinishBuild(Frame, CANCELButtonValue, 350);
}

void ZEP2DlgDBAUSER::CallBacksManager() {
  AddAnalyseNotificationCB(Frame->EditorDBAUSER->GetModifyNotification(),
                           EditorDBAUSERModifyNotification, nullptr);
}

void ZEP2DlgDBAUSER::EditorDBAUSERModifyNotification(QelCommand* command,
                                                     QelNotification* notification, void* data) {
  ZEP2UpperCaseHandler(command, notification, data);
}
