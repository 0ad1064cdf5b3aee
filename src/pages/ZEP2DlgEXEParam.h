// Page EXEParam: whether the statements are executed in the database or
// written into a DDL file for a database administrator, and that file.
#pragma once

#include "ZEP2PagePattern.h"

// Verify filter of the DDL file name and directory editors: no blank, line
// feed or carriage return.
int InputCheckFrameEXEParam(const QelUnicodeString& text, void* frame);

class ZEP2FrmEXEParam : public QelDlgFrame {
 public:
  ZEP2FrmEXEParam(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  ZEP2FrameSkeleton Skeleton;
  QelDlgFrame* Frame11221 = nullptr;
  QelDlgFrame* Frame11222 = nullptr;
  QelDlgFrame* Frame11223 = nullptr;
  QelDlgLabel* LabelEXEParamOne = nullptr;
  QelDlgLabel* LabelEXEParamBis = nullptr;
  QelDlgLabel* LabelEXEParamTers = nullptr;
  QelDlgLabel* LabelEXEParamQuatro = nullptr;
  QelDlgLabel* LabelEXEParamQuinto = nullptr;
  QelDlgLabel* LabelEXEUnderINFILE = nullptr;
  QelDlgLabel* LabelEXEDDLFileName = nullptr;
  QelDlgLabel* LabelEXEDDLFilePath = nullptr;
  QelDlgRadioButton* RadButEXEINFILE = nullptr;
  QelDlgRadioButton* RadButEXEINDB = nullptr;
  QelDlgEditor* EditorEXEDDLFileName = nullptr;
  QelDlgEditor* EditorEXEDDLFilePath = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString LabelEXEParamOneTitle;
  QelUnicodeString LabelEXEParamBisTitle;
  QelUnicodeString LabelEXEParamTersTitle;
  QelUnicodeString LabelEXEParamQuatroTitle;
  QelUnicodeString LabelEXEParamQuintoTitle;
  QelUnicodeString RadButEXEINDBTitle;
  QelUnicodeString RadButEXEINFILETitle;
  QelUnicodeString LabelEXEUnderINFILETitle;
  QelUnicodeString LabelEXEDDLFileNameTitle;
  QelUnicodeString LabelEXEDDLFilePathTitle;
};

class ZEP2DlgEXEParam : public ZEP2PageDialog {
 public:
  ZEP2DlgEXEParam(QelInteractiveApplication* application, const QelString& name);
  void Build();

  // Client data: the frame.
  static void CB_ZEP2DlgEXEParam_SetRadButEXEINDB(QelCommand*, QelNotification*, void* data);
  static void CB_ZEP2DlgEXEParam_SetRadButEXEINFILE(QelCommand*, QelNotification*, void* data);
  static void EditorEXEDDLFilePathChk(QelCommand*, QelNotification*, void*);

  QelUnicodeString ERRMSGTextToDisplayForDDLFILENAME;
  QelUnicodeString ERRMSGTextToDisplayForDDLFILEPATH;
  QelUnicodeString ERRMSGTextToDisplayForDDLFILEPATHW;
  ZEP2FrmEXEParam* Frame = nullptr;

 protected:
  void CallBacksManager() override;
};
