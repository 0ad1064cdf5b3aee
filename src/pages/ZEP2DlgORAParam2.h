// Page ORAParam2: the Oracle net service name to connect to, and the
// TNS_ADMIN directory holding the naming files when one is used.
#pragma once

#include "ZEP2PagePattern.h"

// Verify filter of the service name and TNS_ADMIN editors: no blank, line
// feed or carriage return.
int InputCheckFrameORAParam2(const QelUnicodeString& text, void* frame);
// Input filters of the two editors: 0, the checks are left to Next.
int InputVerifORAServiceName(const QelUnicodeString& text, void* frame);
int InputVerifORATNSADMIN(const QelUnicodeString& text, void* frame);

class ZEP2FrmORAParam2 : public QelDlgFrame {
 public:
  ZEP2FrmORAParam2(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  ZEP2FrameSkeleton Skeleton;
  QelDlgFrame* Frame11221 = nullptr;
  QelDlgFrame* Frame11222 = nullptr;
  QelDlgFrame* Frame112221 = nullptr;
  QelDlgLabel* LabelORAParam2One = nullptr;
  QelDlgLabel* LabelORAParam2Bis = nullptr;
  QelDlgLabel* LabelORAParam2Ters = nullptr;
  QelDlgLabel* LabelORAParam2Quatro = nullptr;
  QelDlgLabel* LabelORAServiceNameBefore = nullptr;
  QelDlgLabel* LabelORAServiceName = nullptr;
  QelDlgLabel* LabelORAServiceNameAfter = nullptr;
  QelDlgLabel* LabelORATNSADMIN = nullptr;
  QelDlgLabel* LabelChkButTNSADMIN = nullptr;
  QelDlgLabel* LabelChkButTNSADMINBis = nullptr;
  QelDlgEditor* EditorORAServiceName = nullptr;
  QelDlgEditor* EditorORATNSADMIN = nullptr;
  QelDlgCheckButton* ChkButTNSADMIN = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString LabelORAParam2OneTitle;
  QelUnicodeString LabelORAParam2BisTitle;
  QelUnicodeString LabelORAParam2TersTitle;
  QelUnicodeString LabelORAParam2QuatroTitle;
  QelUnicodeString LabelORAServiceNameBeforeTitle;
  QelUnicodeString LabelORAServiceNameTitle;
  QelUnicodeString LabelORAServiceNameAfterTitle;
  QelUnicodeString LabelORATNSADMINTitle;
  QelUnicodeString LabelChkButTNSADMINTitle;
  QelUnicodeString LabelChkButTNSADMINBisTitle;
};

class ZEP2DlgORAParam2 : public ZEP2PageDialog {
 public:
  ZEP2DlgORAParam2(QelInteractiveApplication* application, const QelString& name);
  void Build();

  static void EditorTNSADMINPathChk(QelCommand*, QelNotification*, void*);
  // Client data: the dialog.
  static void ChkButTNSADMINSelect(QelCommand*, QelNotification*, void* data);

  QelUnicodeString ERRMSGTextToDisplayForSRVNAME;
  QelUnicodeString ERRMSGTextToDisplayForTNSADMIN;
  QelUnicodeString ERRMSGTextToDisplayForWRONG_TNS;
  // %1 the service name, %2 why no client can resolve it.
  QelUnicodeString ERRMSGTextToDisplayForUNKNOWN_SRVNAME;
  ZEP2FrmORAParam2* Frame = nullptr;

 protected:
  void CallBacksManager() override;
};
