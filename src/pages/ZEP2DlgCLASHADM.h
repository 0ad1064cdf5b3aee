// Page CLASHADM: the account that runs the clash server, the directory it
// writes its results to and the installation path of the CAD product it drives.
#pragma once

#include "ZEP2PagePattern.h"

class ZEP2FrmCLASHADM : public QelDlgFrame {
 public:
  ZEP2FrmCLASHADM(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  ZEP2FrameSkeleton Skeleton;
  QelDlgFrame* Frame11221 = nullptr;
  QelDlgFrame* Frame11222 = nullptr;
  QelDlgLabel* LabelCLASHADMOne = nullptr;
  QelDlgLabel* LabelCLASHADMBis = nullptr;
  QelDlgLabel* LabelCLASHADMTers = nullptr;
  QelDlgLabel* LabelCLASHADMQuatro = nullptr;
  QelDlgLabel* LabelCLASHADM = nullptr;
  QelDlgLabel* LabelCLASHADMP = nullptr;
  QelDlgLabel* LabelCLASHOutDir = nullptr;
  QelDlgLabel* LabelCLASHV5InstPath = nullptr;
  QelDlgEditor* EditorCLASHADM = nullptr;
  QelDlgEditor* EditorCLASHADMP = nullptr;
  QelDlgEditor* EditorCLASHOutDir = nullptr;
  QelDlgEditor* EditorCLASHV5InstPath = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString LabelCLASHADMOneTitle;
  QelUnicodeString LabelCLASHADMBisTitle;
  QelUnicodeString LabelCLASHADMTersTitle;
  QelUnicodeString LabelCLASHADMQuatroTitle;
  QelUnicodeString LabelCLASHADMTitle;
  QelUnicodeString LabelCLASHADMPTitle;
  QelUnicodeString LabelCLASHOutDirTitle;
  QelUnicodeString LabelCLASHV5InstPathTitle;
};

class ZEP2DlgCLASHADM : public ZEP2PageDialog {
 public:
  ZEP2DlgCLASHADM(QelInteractiveApplication* application, const QelString& name);
  void Build();

  static void EditorCLASHOutDirModifyNotification(QelCommand*, QelNotification*, void*);
  static void EditorCLASHV5InstPathModifyNotification(QelCommand*, QelNotification*, void*);

  QelUnicodeString ERRMSGTextToDisplayForCLASHADM;
  QelUnicodeString ERRMSGTextToDisplayForCLASHADMP;
  QelUnicodeString ERRMSGTextToDisplayForREPO;
  QelUnicodeString ERRMSGTextToDisplayForWRONG_REPO;
  QelUnicodeString ERRMSGTextToDisplayForPATH;
  QelUnicodeString ERRMSGTextToDisplayForWRONG_PATH;
  QelUnicodeString ERRMSGInvalidUsername;
  QelUnicodeString ERRMSGInvalidPassword;
  QelUnicodeString ERRMSGRootUserForbidden;
  QelUnicodeString ERRMSGDirCreationFailed;
  ZEP2FrmCLASHADM* Frame = nullptr;

 protected:
  void CallBacksManager() override;
};
