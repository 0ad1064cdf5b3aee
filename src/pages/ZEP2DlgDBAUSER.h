// Page DBAUSER: the DBMS administrator account the wizard connects with to
// create users and tablespaces.
#pragma once

#include "ZEP2PagePattern.h"

class ZEP2FrmDBAUSER : public QelDlgFrame {
 public:
  ZEP2FrmDBAUSER(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  ZEP2FrameSkeleton Skeleton;
  QelDlgFrame* Frame11221 = nullptr;
  QelDlgFrame* Frame11222 = nullptr;
  QelDlgLabel* LabelDBAUSEROne = nullptr;
  QelDlgLabel* LabelDBAUSERBis = nullptr;
  QelDlgLabel* LabelDBAUSERTers = nullptr;
  QelDlgLabel* LabelDBAUSERQuatro = nullptr;
  QelDlgLabel* LabelDBAUSER = nullptr;
  QelDlgLabel* LabelDBAUSERP = nullptr;
  QelDlgEditor* EditorDBAUSER = nullptr;
  QelDlgEditor* EditorDBAUSERP = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString LabelDBAUSEROneTitle;
  QelUnicodeString LabelDBAUSERBisTitle;
  QelUnicodeString LabelDBAUSERTersTitle;
  QelUnicodeString LabelDBAUSERQuatroTitle;
  QelUnicodeString LabelDBAUSERTitle;
  QelUnicodeString LabelDBAUSERPTitle;
};

class ZEP2DlgDBAUSER : public ZEP2PageDialog {
 public:
  ZEP2DlgDBAUSER(QelInteractiveApplication* application, const QelString& name);
  void Build();

  static void EditorDBAUSERModifyNotification(QelCommand*, QelNotification*, void*);

  QelUnicodeString ERRMSGTextToDisplayForDBAUSER;
  QelUnicodeString ERRMSGWndTitleDBCONN;
  QelUnicodeString ERRMSGTextToDisplayForDBCONN;
  // The database cannot be reached at all through its ODBC route; %1 says why.
  QelUnicodeString ERRMSGWndTitleDRIVER;
  QelUnicodeString ERRMSGTextToDisplayForDRIVER;
  QelUnicodeString ERRMSGTextToDisplayForDBAUSERP;
  ZEP2FrmDBAUSER* Frame = nullptr;

 protected:
  void CallBacksManager() override;
};
