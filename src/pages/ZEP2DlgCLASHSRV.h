// Page CLASHSRV: on a clash client, the host of the clash server and the
// Orbix port it listens on.
#pragma once

#include "ZEP2PagePattern.h"

class ZEP2FrmCLASHSRV : public QelDlgFrame {
 public:
  ZEP2FrmCLASHSRV(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  ZEP2FrameSkeleton Skeleton;
  QelDlgFrame* Frame11221 = nullptr;
  QelDlgLabel* LabelCLASHSRVOne = nullptr;
  QelDlgLabel* LabelCLASHSRVBis = nullptr;
  QelDlgLabel* LabelCLASHSRVTers = nullptr;
  QelDlgLabel* LabelCLASHSRVQuatro = nullptr;
  QelDlgLabel* LabelCLASHSRVHostNameBefore = nullptr;
  QelDlgLabel* LabelCLASHSRVHostName = nullptr;
  QelDlgLabel* LabelCLASHSRVOrbixPort = nullptr;
  QelDlgEditor* EditorCLASHSRVHostName = nullptr;
  QelDlgEditor* EditorCLASHSRVOrbixPort = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString LabelCLASHSRVOneTitle;
  QelUnicodeString LabelCLASHSRVBisTitle;
  QelUnicodeString LabelCLASHSRVTersTitle;
  QelUnicodeString LabelCLASHSRVQuatroTitle;
  QelUnicodeString LabelCLASHSRVHostNameBeforeTitle;
  QelUnicodeString LabelCLASHSRVHostNameTitle;
  QelUnicodeString LabelCLASHSRVOrbixPortTitle;
};

class ZEP2DlgCLASHSRV : public ZEP2PageDialog {
 public:
  ZEP2DlgCLASHSRV(QelInteractiveApplication* application, const QelString& name);
  void Build();

  QelUnicodeString ERRMSGTextToDisplayForCLASHSRV;
  QelUnicodeString ERRMSGTextToDisplayForCLASHSRV_UNKNOWN;
  QelUnicodeString ERRMSGTextToDisplayForCLASHSRV_BADPORT;
  ZEP2FrmCLASHSRV* Frame = nullptr;
};
