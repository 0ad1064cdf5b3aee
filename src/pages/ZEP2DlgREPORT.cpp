// Page REPORT. It starts with every button insensitive: the page is shown
// while the outcome is still unknown, and the steps enable what fits it.
#include "ZEP2DlgREPORT.h"

ZEP2FrmREPORT::ZEP2FrmREPORT(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts(
      "ZEP2FrmREPORT",
      {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
       {"Frame1.Frame11.Frame112.Frame1121.LabelREPORTOne.Title", &LabelREPORTOneTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelREPORTBis.Title", &LabelREPORTBisTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelREPORTTers.Title", &LabelREPORTTersTitle}});

  Skeleton.Build(this, Frame112Title, true);
  LabelREPORTOne = ZEP2NewLabel(Skeleton.Frame1121, "LabelREPORTOne", LabelREPORTOneTitle);
  LabelREPORTBis = ZEP2NewLabel(Skeleton.Frame1121, "LabelREPORTBis", LabelREPORTBisTitle);
  LabelREPORTTers = ZEP2NewLabel(Skeleton.Frame1121, "LabelREPORTTers", LabelREPORTTersTitle);

  Frame11221 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11221");
  EditorREPORT = ZEP2NewEditor(Frame11221, "EditorREPORT", QelDlgEditor::MultiLineStyle, 0);

  SetPos();
}

void ZEP2FrmREPORT::SetPos() {
  Skeleton.SetPos();
  ZEP2StackRows({LabelREPORTOne, LabelREPORTBis, LabelREPORTTers}, ZEP2FrameJustification);
  // The report takes all the room the field area has.
  ZEP2StackRows({Frame11221}, ZEP2FrameJustification);
  Skeleton.Frame1122->SetResizableRow(0);
  Skeleton.Frame1122->SetResizableColumn(0);
  EditorREPORT->SetConstraints(0, 0, ZEP2FrameJustification);
  Frame11221->SetResizableRow(0);
  Frame11221->SetResizableColumn(0);
}

ZEP2DlgREPORT::ZEP2DlgREPORT(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, PageStyle) {}

void ZEP2DlgREPORT::Build() {
  LoadTexts("ZEP2DlgREPORT",
            {{"Title", &Title},
             {"Welcome.Title", &Welcome},
             {"Abort.Title", &Abort},
             {"Successfull.Title", &Successfull},
             {"Failed.Title", &Failed},
             {"DBCONN.Title", &DBCONN},
             {"DDLRead.Title", &DDLRead},
             {"DDLFileExe.Title", &DDLFileExe},
             {"EnvFiles.Title", &EnvFiles},
             {"TBSCreation.Title", &TBSCreation},
             {"USERCreation.Title", &USERCreation},
             {"USERGrant.Title", &USERGrant},
             {"ZEPDataManager.Title", &ZEPDataManager},
             {"ZEPProject.Title", &ZEPProject},
             {"ZEPSuppChain.Title", &ZEPSuppChain},
             {"CHOICEWndTitle.Title", &CHOICEWndTitle},
             {"CHOICECRETextToDisplayForCHOICECRE.Title", &CHOICECRETextToDisplayForCHOICECRE},
             {"CHOICETMPTextToDisplayForCHOICETMP.Title", &CHOICETMPTextToDisplayForCHOICETMP},
             {"CHOICEDEFSYSSRVTextToDisplayForCHOICEDEFSYSSRV.Title",
              &CHOICEDEFSYSSRVTextToDisplayForCHOICEDEFSYSSRV},
             {"CHOICEDEFSRVSYSTextToDisplayForCHOICEDEFSRVSYS.Title",
              &CHOICEDEFSRVSYSTextToDisplayForCHOICEDEFSRVSYS},
             {"ERRMSGWndTitleALLRINST.Title", &ERRMSGWndTitleALLRINST},
             {"ERRMSGTextToDisplayForALLRINST.Title", &ERRMSGTextToDisplayForALLRINST},
             {"ERRMSGWndTitleDBCONN.Title", &ERRMSGWndTitleDBCONN},
             {"ERRMSGTextToDisplayForDBCONN.Title", &ERRMSGTextToDisplayForDBCONN},
             {"ERRMSGWndTitleALLRINSTCHK.Title", &ERRMSGWndTitleALLRINSTCHK},
             {"ERRMSGTextToDisplayForALLRINSTCHK.Title", &ERRMSGTextToDisplayForALLRINSTCHK},
             {"ERRMSGWndTitleSRVSETTING.Title", &ERRMSGWndTitleSRVSETTING},
             {"ERRMSGTextToDisplayForSRVSETTING.Title", &ERRMSGTextToDisplayForSRVSETTING},
             {"ERRMSGWndTitleTBSCREATION.Title", &ERRMSGWndTitleTBSCREATION},
             {"ERRMSGTextToDisplayForTBSCREATION.Title", &ERRMSGTextToDisplayForTBSCREATION},
             {"ERRMSGWndTitleUSERCREATION.Title", &ERRMSGWndTitleUSERCREATION},
             {"ERRMSGTextToDisplayForUSERCREATION.Title", &ERRMSGTextToDisplayForUSERCREATION},
             {"ERRMSGWndTitleUSERGRANT.Title", &ERRMSGWndTitleUSERGRANT},
             {"ERRMSGTextToDisplayForUSERGRANT.Title", &ERRMSGTextToDisplayForUSERGRANT},
             {"ERRMSGWndTitleEXEDDL.Title", &ERRMSGWndTitleEXEDDL},
             {"ERRMSGTextToDisplayForEXEDDL.Title", &ERRMSGTextToDisplayForEXEDDL},
             {"ERRMSGWndTitleZEPDataManager.Title", &ERRMSGWndTitleZEPDataManager},
             {"ERRMSGTextToDisplayForZEPDataManager.Title", &ERRMSGTextToDisplayForZEPDataManager},
             {"ERRMSGWndTitleZEPProject.Title", &ERRMSGWndTitleZEPProject},
             {"ERRMSGTextToDisplayForZEPProject.Title", &ERRMSGTextToDisplayForZEPProject},
             {"ERRMSGWndTitleZEPSuppChain.Title", &ERRMSGWndTitleZEPSuppChain},
             {"ERRMSGTextToDisplayForZEPSuppChain.Title", &ERRMSGTextToDisplayForZEPSuppChain},
             {"ERRMSGWndTitleRDBEI.Title", &ERRMSGWndTitleRDBEI},
             {"ERRMSGTextToDisplayForRDBEI.Title", &ERRMSGTextToDisplayForRDBEI},
             {"ERRMSGRDBEIOpenSession.Title", &ERRMSGRDBEIOpenSession},
             {"ERRMSGOKTitle.Title", &ERRMSGOKTitle}},
            NoGroup);
  Frame = new ZEP2FrmREPORT(this, "PtrZEP2FrmREPORT", FrameStyle);
  SetButtonSensitivity(OK, Insensitive);
  SetButtonSensitivity(APPLY, Insensitive);
  SetButtonSensitivity(CANCEL, Insensitive);
  FinishBuild(Frame, CANCELButtonValue, 350);
}
