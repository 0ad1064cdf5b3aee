// Page TESDICO: the account that owns the dictionary schema, and with Oracle
// its password.
#pragma once

#include "ZEP2PagePattern.h"

class ZEP2FrmTESDICO : public QelDlgFrame {
 public:
  ZEP2FrmTESDICO(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  ZEP2FrameSkeleton Skeleton;
  QelDlgFrame* Frame11221 = nullptr;
  QelDlgFrame* Frame11222 = nullptr;
  QelDlgLabel* LabelTESDICOOne = nullptr;
  QelDlgLabel* LabelTESDICOBis = nullptr;
  QelDlgLabel* LabelTESDICOTers = nullptr;
  QelDlgLabel* LabelTESDICOQuatro = nullptr;
  QelDlgLabel* LabelTESDICO = nullptr;
  QelDlgLabel* LabelTESDICOP = nullptr;
  QelDlgEditor* EditorTESDICO = nullptr;
  QelDlgEditor* EditorTESDICOP = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString LabelTESDICOOneTitle;
  QelUnicodeString LabelTESDICOBisTitle;
  QelUnicodeString LabelTESDICOTersTitle;
  QelUnicodeString LabelTESDICOQuatroTitle;
  QelUnicodeString LabelTESDICOTitle;
  QelUnicodeString LabelTESDICOPTitle;
};

class ZEP2DlgTESDICO : public ZEP2PageDialog {
 public:
  ZEP2DlgTESDICO(QelInteractiveApplication* application, const QelString& name);
  void Build();

  static void EditorTESDICOModifyNotification(QelCommand*, QelNotification*, void*);

  QelUnicodeString ERRMSGTextToDisplayForTESDICO;
  QelUnicodeString ERRMSGTextToDisplayForTESDICOP;
  QelUnicodeString ERRMSGInvalidUsername;
  QelUnicodeString ERRMSGInvalidPassword;
  QelUnicodeString ERRMSGRootUserForbidden;
  ZEP2FrmTESDICO* Frame = nullptr;

 protected:
  void CallBacksManager() override;
};
