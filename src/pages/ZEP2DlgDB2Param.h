// Page DB2Param: the DB2 instance the database belongs to, and its home
// directory.
#pragma once

#include "ZEP2PagePattern.h"

class ZEP2FrmDB2Param : public QelDlgFrame {
 public:
  // The directory display of the DB2 pages.
  static constexpr unsigned long DirectoryStyle = 0x4000000;

  ZEP2FrmDB2Param(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  ZEP2FrameSkeleton Skeleton;
  QelDlgFrame* Frame11221 = nullptr;
  QelDlgFrame* Frame11222 = nullptr;
  QelDlgLabel* LabelDB2ParamOne = nullptr;
  QelDlgLabel* LabelDB2ParamBis = nullptr;
  QelDlgLabel* LabelDB2ParamTers = nullptr;
  QelDlgLabel* LabelDB2ParamQuatro = nullptr;
  QelDlgLabel* LabelDB2Instance = nullptr;
  QelDlgLabel* LabelDB2InstanceHD = nullptr;
  QelDlgCombo* ComboDB2Instance = nullptr;
  QelDlgEditor* EditorDB2InstanceHD = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString LabelDB2ParamOneTitle;
  QelUnicodeString LabelDB2ParamBisTitle;
  QelUnicodeString LabelDB2ParamTersTitle;
  QelUnicodeString LabelDB2ParamQuatroTitle;
  QelUnicodeString LabelDB2InstanceTitle;
  QelUnicodeString LabelDB2InstanceHDTitle;
};

class ZEP2DlgDB2Param : public ZEP2PageDialog {
 public:
  // The combo line that stands for an instance missing from the list.
  static constexpr const char* OthersLine = "Others ...";

  ZEP2DlgDB2Param(QelInteractiveApplication* application, const QelString& name);
  void Build();

  // The name a combo of the DB2 pages stands for: its chosen line, or the
  // text typed into its field when no line is chosen; empty while
  // "Others ..." is chosen and nothing is typed yet.
  static QelUnicodeString ChosenName(const QelDlgCombo& combo);

  // EditorDB2InstanceHD := the home directory of the instance the combo
  // stands for (see ComboSelectNotification).
  void ShowInstanceHome();

  static void ComboSelectNotification(QelCommand*, QelNotification*, void*);

  ZEP2FrmDB2Param* Frame = nullptr;

 protected:
  void CallBacksManager() override;
};
