// Page ORALoc: whether the Oracle database runs on this host or on another
// one reached through Oracle Net.
#pragma once

#include "ZEP2PagePattern.h"

class ZEP2FrmORALoc : public QelDlgFrame {
 public:
  ZEP2FrmORALoc(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  ZEP2FrameSkeleton Skeleton;
  QelDlgFrame* Frame11221 = nullptr;
  QelDlgFrame* Frame11222 = nullptr;
  QelDlgLabel* LabelORALocOne = nullptr;
  QelDlgLabel* LabelORALocBis = nullptr;
  QelDlgLabel* LabelORALocTers = nullptr;
  QelDlgLabel* LabelORALocQuatro = nullptr;
  QelDlgLabel* LabelORALocQuinto = nullptr;
  QelDlgLabel* LabelORALocLocal = nullptr;
  QelDlgLabel* LabelORALocLocalBis = nullptr;
  QelDlgLabel* LabelORALocRemote = nullptr;
  QelDlgLabel* LabelORALocRemoteBis = nullptr;
  QelDlgLabel* LabelORALocRemoteTers = nullptr;
  QelDlgRadioButton* RadButORALocLocal = nullptr;
  QelDlgRadioButton* RadButORALocRemote = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString LabelORALocOneTitle;
  QelUnicodeString LabelORALocBisTitle;
  QelUnicodeString LabelORALocTersTitle;
  QelUnicodeString LabelORALocQuatroTitle;
  QelUnicodeString LabelORALocQuintoTitle;
  QelUnicodeString RadButORALocLocalTitle;
  QelUnicodeString LabelORALocLocalTitle;
  QelUnicodeString LabelORALocLocalBisTitle;
  QelUnicodeString RadButORALocRemoteTitle;
  QelUnicodeString LabelORALocRemoteTitle;
  QelUnicodeString LabelORALocRemoteBisTitle;
  QelUnicodeString LabelORALocRemoteTersTitle;
};

class ZEP2DlgORALoc : public ZEP2PageDialog {
 public:
  ZEP2DlgORALoc(QelInteractiveApplication* application, const QelString& name);
  void Build();

  // Client data: the frame.
  static void CB_ZEP2DlgORALoc_SetRadButClient(QelCommand*, QelNotification*, void* data);
  static void CB_ZEP2DlgORALoc_SetRadButServer(QelCommand*, QelNotification*, void* data);

  ZEP2FrmORALoc* Frame = nullptr;

 protected:
  void CallBacksManager() override;
};
