// Page REPORT: how the installation ended, as the installation steps write
// it, and the texts of their questions and error boxes.
#pragma once

#include "ZEP2PagePattern.h"

class ZEP2FrmREPORT : public QelDlgFrame {
 public:
  ZEP2FrmREPORT(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  ZEP2FrameSkeleton Skeleton;
  QelDlgFrame* Frame11221 = nullptr;
  QelDlgLabel* LabelREPORTOne = nullptr;
  QelDlgLabel* LabelREPORTBis = nullptr;
  QelDlgLabel* LabelREPORTTers = nullptr;
  QelDlgEditor* EditorREPORT = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString LabelREPORTOneTitle;
  QelUnicodeString LabelREPORTBisTitle;
  QelUnicodeString LabelREPORTTersTitle;
};

class ZEP2DlgREPORT : public ZEP2PageDialog {
 public:
  ZEP2DlgREPORT(QelInteractiveApplication* application, const QelString& name);
  void Build();

  QelUnicodeString Welcome;
  QelUnicodeString Abort;
  QelUnicodeString Successfull;
  QelUnicodeString Failed;
  QelUnicodeString DBCONN;
  QelUnicodeString DDLRead;
  QelUnicodeString DDLFileExe;
  QelUnicodeString EnvFiles;
  QelUnicodeString TBSCreation;
  QelUnicodeString USERCreation;
  QelUnicodeString USERGrant;
  QelUnicodeString ZEPDataManager;
  QelUnicodeString ZEPProject;
  QelUnicodeString ZEPSuppChain;
  QelUnicodeString CHOICEWndTitle;
  QelUnicodeString CHOICECRETextToDisplayForCHOICECRE;
  QelUnicodeString CHOICETMPTextToDisplayForCHOICETMP;
  QelUnicodeString CHOICEDEFSYSSRVTextToDisplayForCHOICEDEFSYSSRV;
  QelUnicodeString CHOICEDEFSRVSYSTextToDisplayForCHOICEDEFSRVSYS;
  QelUnicodeString ERRMSGWndTitleALLRINST;
  QelUnicodeString ERRMSGTextToDisplayForALLRINST;
  QelUnicodeString ERRMSGWndTitleDBCONN;
  QelUnicodeString ERRMSGTextToDisplayForDBCONN;
  QelUnicodeString ERRMSGWndTitleALLRINSTCHK;
  QelUnicodeString ERRMSGTextToDisplayForALLRINSTCHK;
  QelUnicodeString ERRMSGWndTitleSRVSETTING;
  QelUnicodeString ERRMSGTextToDisplayForSRVSETTING;
  QelUnicodeString ERRMSGWndTitleTBSCREATION;
  QelUnicodeString ERRMSGTextToDisplayForTBSCREATION;
  QelUnicodeString ERRMSGWndTitleUSERCREATION;
  QelUnicodeString ERRMSGTextToDisplayForUSERCREATION;
  QelUnicodeString ERRMSGWndTitleUSERGRANT;
  QelUnicodeString ERRMSGTextToDisplayForUSERGRANT;
  QelUnicodeString ERRMSGWndTitleEXEDDL;
  QelUnicodeString ERRMSGTextToDisplayForEXEDDL;
  QelUnicodeString ERRMSGWndTitleZEPDataManager;
  QelUnicodeString ERRMSGTextToDisplayForZEPDataManager;
  QelUnicodeString ERRMSGWndTitleZEPProject;
  QelUnicodeString ERRMSGTextToDisplayForZEPProject;
  QelUnicodeString ERRMSGWndTitleZEPSuppChain;
  QelUnicodeString ERRMSGTextToDisplayForZEPSuppChain;
  QelUnicodeString ERRMSGWndTitleRDBEI;
  QelUnicodeString ERRMSGTextToDisplayForRDBEI;
  QelUnicodeString ERRMSGRDBEIOpenSession;
  ZEP2FrmREPORT* Frame = nullptr;
};
