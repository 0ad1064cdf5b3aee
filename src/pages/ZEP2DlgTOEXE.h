// Page TOEXE: what the run is to do (database objects, start-up data, vault,
// clash component as server or client).
#pragma once

#include "ZEP2PagePattern.h"

class ZEP2FrmTOEXE : public QelDlgFrame {
 public:
  ZEP2FrmTOEXE(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  ZEP2FrameSkeleton Skeleton;
  QelDlgFrame* Frame11221 = nullptr;
  QelDlgFrame* Frame11222 = nullptr;
  QelDlgLabel* LabelTOEXEOne = nullptr;
  QelDlgLabel* LabelTOEXEBis = nullptr;
  QelDlgLabel* LabelTOEXETers = nullptr;
  QelDlgLabel* LabelTOEXEQuatro = nullptr;
  QelDlgLabel* LabelUnderTOEXEDBObj = nullptr;
  QelDlgLabel* LabelUnderTOEXEStartupData = nullptr;
  QelDlgLabel* LabelUnderTOEXEVault = nullptr;
  QelDlgCheckButton* ChkButTOEXEDBObj = nullptr;
  QelDlgCheckButton* ChkButTOEXEStartupData = nullptr;
  QelDlgCheckButton* ChkButTOEXEVault = nullptr;
  QelDlgCheckButton* ChkButTOEXEClashInst = nullptr;
  QelDlgSeparator* SepClash = nullptr;
  QelDlgRadioButton* RadButTOEXEClashServer = nullptr;
  QelDlgRadioButton* RadButTOEXEClashClient = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString LabelTOEXEOneTitle;
  QelUnicodeString LabelTOEXEBisTitle;
  QelUnicodeString LabelTOEXETersTitle;
  QelUnicodeString LabelTOEXEQuatroTitle;
  QelUnicodeString LabelUnderTOEXEDBObjTitle;
  QelUnicodeString LabelUnderTOEXEStartupDataTitle;
  QelUnicodeString LabelUnderTOEXEVaultTitle;
  QelUnicodeString ChkButTOEXEDBObjTitle;
  QelUnicodeString ChkButTOEXEStartupDataTitle;
  QelUnicodeString ChkButTOEXEVaultTitle;
  QelUnicodeString ChkButTOEXEClashInstTitle;
};

// The handlers write the run's flags into the installation parameters as
// soon as a button changes, so they are current before Next reads the page.
class ZEP2DlgTOEXE : public ZEP2PageDialog {
 public:
  ZEP2DlgTOEXE(QelInteractiveApplication* application, const QelString& name);
  void Build();

  static void ChkButTOEXEDBObjSelectNotification(QelCommand*, QelNotification*, void*);
  static void ChkButTOEXEStartupDataSelectNotification(QelCommand*, QelNotification*, void*);
  static void ChkButTOEXEVaultSelectNotification(QelCommand*, QelNotification*, void*);
  static void ChkButTOEXEClashInstSelectNotification(QelCommand*, QelNotification*, void*);
  static void RadButTOEXEClashServerSelectNotification(QelCommand*, QelNotification*, void*);
  static void RadButTOEXEClashClientSelectNotification(QelCommand*, QelNotification*, void*);

  ZEP2FrmTOEXE* Frame = nullptr;

 protected:
  void CallBacksManager() override;
};
