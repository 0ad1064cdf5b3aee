// Page TESADM: the Unix account of the PDM administrator, the first page of
// the wizard.
#pragma once

#include "ZEP2PagePattern.h"

class ZEP2FrmTESADM : public QelDlgFrame {
 public:
  ZEP2FrmTESADM(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  ZEP2FrameSkeleton Skeleton;
  QelDlgFrame* Frame11221 = nullptr;
  QelDlgFrame* Frame11222 = nullptr;
  QelDlgLabel* LabelTESADMOne = nullptr;
  QelDlgLabel* LabelTESADMBis = nullptr;
  QelDlgLabel* LabelTESADMTers = nullptr;
  QelDlgLabel* LabelTESADMQuatro = nullptr;
  QelDlgLabel* LabelTESADM = nullptr;
  QelDlgLabel* LabelTESADMP = nullptr;
  QelDlgEditor* EditorTESADM = nullptr;
  QelDlgEditor* EditorTESADMP = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString LabelTESADMOneTitle;
  QelUnicodeString LabelTESADMBisTitle;
  QelUnicodeString LabelTESADMTersTitle;
  QelUnicodeString LabelTESADMQuatroTitle;
  QelUnicodeString LabelTESADMTitle;
  QelUnicodeString LabelTESADMPTitle;
};

class ZEP2DlgTESADM : public ZEP2PageDialog {
 public:
  ZEP2DlgTESADM(QelInteractiveApplication* application, const QelString& name);
  void Build();

  static void EditorTESADMModifyNotification(QelCommand*, QelNotification*, void*);

  QelUnicodeString ERRMSGTextToDisplayForTESADM;
  QelUnicodeString ERRMSGTextToDisplayForTESADMP;
  QelUnicodeString ERRMSGInvalidUsername;
  QelUnicodeString ERRMSGInvalidPassword;
  QelUnicodeString ERRMSGRootUserForbidden;
  ZEP2FrmTESADM* Frame = nullptr;

 protected:
  void CallBacksManager() override;
};
