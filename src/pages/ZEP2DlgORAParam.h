// Page ORAParam: the Oracle home directory (and, on hosts that need it, the
// home whose 32-bit libraries the son process loads).
#pragma once

#include "ZEP2PagePattern.h"

// Verify filter of both home editors: no blank, line feed or carriage return.
int InputCheckFrameORAParam(const QelUnicodeString& text, void* frame);
// Input filter of both home editors: 0, the check is left to Next.
int InputVerifORADBAId(const QelUnicodeString& text, void* frame);

class ZEP2FrmORAParam : public QelDlgFrame {
 public:
  ZEP2FrmORAParam(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  ZEP2FrameSkeleton Skeleton;
  QelDlgFrame* Frame11221 = nullptr;
  QelDlgLabel* LabelORAParamOne = nullptr;
  QelDlgLabel* LabelORAParamBis = nullptr;
  QelDlgLabel* LabelORAParamTers = nullptr;
  QelDlgLabel* LabelORAParamQuatro = nullptr;
  QelDlgLabel* LabelORACLE_HOME = nullptr;
  QelDlgLabel* LabelORACLE_N32_HOME = nullptr;
  QelDlgEditor* EditorORACLE_HOME = nullptr;
  QelDlgEditor* EditorORACLE_N32_HOME = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString LabelORAParamOneTitle;
  QelUnicodeString LabelORAParamBisTitle;
  QelUnicodeString LabelORAParamTersTitle;
  QelUnicodeString LabelORAParamQuatroTitle;
  QelUnicodeString LabelORACLE_HOMETitle;
  QelUnicodeString LabelORACLE_N32_HOMETitle;
};

class ZEP2DlgORAParam : public ZEP2PageDialog {
 public:
  ZEP2DlgORAParam(QelInteractiveApplication* application, const QelString& name);
  void Build();

  static void EditorORACLEHOMEPathChk(QelCommand*, QelNotification*, void*);
  static void EditorORACLEN32HOMEPathChk(QelCommand*, QelNotification*, void*);

  QelUnicodeString ERRMSGTextToDisplayForORACLE_HOME;
  QelUnicodeString ERRMSGTextToDisplayForORACLE_N32_HOME;
  QelUnicodeString ERRMSGTextToDisplayForWRONGPATH;
  QelUnicodeString ERRMSGTextToDisplayForWRONGN32PATH;
  ZEP2FrmORAParam* Frame = nullptr;

 protected:
  void CallBacksManager() override;
};
