// Page TBSTypicalSel: the tablespace the PDM schemas are created in, chosen
// among the database's tablespaces or as the entry for a new one.
#pragma once

#include "ZEP2PagePattern.h"

class ZEP2FrmTBSTypicalSel : public QelDlgFrame {
 public:
  ZEP2FrmTBSTypicalSel(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  ZEP2FrameSkeleton Skeleton;
  QelDlgFrame* Frame11221 = nullptr;
  QelDlgFrame* Frame11222 = nullptr;
  QelDlgLabel* LabelTBSTypicalSelOne = nullptr;
  QelDlgLabel* LabelTBSTypicalSelBis = nullptr;
  QelDlgLabel* LabelTBSTypicalSelTers = nullptr;
  QelDlgLabel* LabelTBSTypicalSelQuatro = nullptr;
  QelDlgLabel* LabelTBSTypicalSelQuinto = nullptr;
  QelDlgLabel* LabelTBSTypicalSel = nullptr;
  QelDlgLabel* LabelTBSTypicalSelBLOB = nullptr;
  QelDlgCombo* ComboTBSTypicalSel = nullptr;
  QelDlgCombo* ComboTBSTypicalSelBLOB = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString LabelTBSTypicalSelOneTitle;
  QelUnicodeString LabelTBSTypicalSelBisTitle;
  QelUnicodeString LabelTBSTypicalSelTersTitle;
  QelUnicodeString LabelTBSTypicalSelQuatroTitle;
  QelUnicodeString LabelTBSTypicalSelQuintoTitle;
  // The combo entry that stands for a new tablespace; no widget shows it.
  QelUnicodeString LabelTBSTypicalComboDefTitle;
  QelUnicodeString LabelTBSTypicalSelTitle;
  QelUnicodeString LabelTBSTypicalSelBLOBTitle;
};

class ZEP2DlgTBSTypicalSel : public ZEP2PageDialog {
 public:
  ZEP2DlgTBSTypicalSel(QelInteractiveApplication* application, const QelString& name);
  void Build();

  static void ComboTBSTypicalSelSelectNotification(QelCommand*, QelNotification*, void*);
  static void ComboTBSTypicalSelBLOBSelectNotification(QelCommand*, QelNotification*, void*);

  ZEP2FrmTBSTypicalSel* Frame = nullptr;

 protected:
  void CallBacksManager() override;
};
