// Page WAIT: shown, without buttons, while the engine reads the DDL files and
// works out which database users to create or alter.
#pragma once

#include "ZEP2PagePattern.h"

class ZEP2FrmWAIT : public QelDlgFrame {
 public:
  ZEP2FrmWAIT(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  ZEP2FrameSkeleton Skeleton;
  QelDlgLabel* LabelWAITOne = nullptr;
  QelDlgLabel* LabelWAITBis = nullptr;
  QelDlgLabel* LabelWAITTers = nullptr;
  QelDlgLabel* LabelWAITQuatro = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString LabelWAITOneTitle;
  QelUnicodeString LabelWAITBisTitle;
  QelUnicodeString LabelWAITTersTitle;
  QelUnicodeString LabelWAITQuatroTitle;
};

class ZEP2DlgWAIT : public ZEP2PageDialog {
 public:
  static constexpr unsigned long WaitStyle = 0x44001;

  ZEP2DlgWAIT(QelInteractiveApplication* application, const QelString& name);
  void Build();

  QelUnicodeString ERRMSGTextToDisplayForWAIT;
  ZEP2FrmWAIT* Frame = nullptr;
};
