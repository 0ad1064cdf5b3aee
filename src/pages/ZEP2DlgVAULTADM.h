// Page VAULTADM: the vault administrator account, the vault daemon port and
// the repository directory where the vault server keeps its files.
#pragma once

#include "ZEP2PagePattern.h"

class ZEP2FrmVAULTADM : public QelDlgFrame {
 public:
  ZEP2FrmVAULTADM(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  ZEP2FrameSkeleton Skeleton;
  QelDlgFrame* Frame11221 = nullptr;
  QelDlgFrame* Frame11222 = nullptr;
  QelDlgLabel* LabelVAULTADMOne = nullptr;
  QelDlgLabel* LabelVAULTADMBis = nullptr;
  QelDlgLabel* LabelVAULTADMTers = nullptr;
  QelDlgLabel* LabelVAULTADMQuatro = nullptr;
  QelDlgLabel* LabelVAULTADM = nullptr;
  QelDlgLabel* LabelVAULTADMP = nullptr;
  QelDlgLabel* LabelVAULTDaemonPort = nullptr;
  QelDlgLabel* LabelVAULTRepo = nullptr;
  QelDlgEditor* EditorVAULTADM = nullptr;
  QelDlgEditor* EditorVAULTADMP = nullptr;
  QelDlgEditor* EditorVAULTDaemonPort = nullptr;
  QelDlgEditor* EditorVAULTRepo = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString LabelVAULTADMOneTitle;
  QelUnicodeString LabelVAULTADMBisTitle;
  QelUnicodeString LabelVAULTADMTersTitle;
  QelUnicodeString LabelVAULTADMQuatroTitle;
  QelUnicodeString LabelVAULTADMTitle;
  QelUnicodeString LabelVAULTADMPTitle;
  QelUnicodeString LabelVAULTDaemonPortTitle;
  QelUnicodeString LabelVAULTRepoTitle;
};

class ZEP2DlgVAULTADM : public ZEP2PageDialog {
 public:
  ZEP2DlgVAULTADM(QelInteractiveApplication* application, const QelString& name);
  void Build();

  static void EditorVAULTRepoModifyNotification(QelCommand*, QelNotification*, void*);

  QelUnicodeString ERRMSGTextToDisplayForVAULTADM;
  QelUnicodeString ERRMSGTextToDisplayForVAULTADMP;
  QelUnicodeString ERRMSGTextToDisplayForVAULTDaemonPort;
  QelUnicodeString ERRMSGTextToDisplayForREPO;
  QelUnicodeString ERRMSGTextToDisplayForWRONG_REPO;
  QelUnicodeString ERRMSGInvalidUsername;
  QelUnicodeString ERRMSGInvalidPassword;
  QelUnicodeString ERRMSGRootUserForbidden;
  QelUnicodeString ERRMSGDirCreationFailed;
  ZEP2FrmVAULTADM* Frame = nullptr;

 protected:
  void CallBacksManager() override;
};
