// Page DBMSType: whether the PDM database is kept by DB2 or by Oracle.
#pragma once

#include "ZEP2PagePattern.h"

class ZEP2FrmDBMSType : public QelDlgFrame {
 public:
  ZEP2FrmDBMSType(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  ZEP2FrameSkeleton Skeleton;
  QelDlgFrame* Frame11221 = nullptr;
  QelDlgFrame* Frame11222 = nullptr;
  QelDlgLabel* LabelDBMSTypeOne = nullptr;
  QelDlgLabel* LabelDBMSTypeBis = nullptr;
  QelDlgLabel* LabelDBMSTypeTers = nullptr;
  QelDlgLabel* LabelDBMSTypeQuatro = nullptr;
  QelDlgLabel* LabelIBMUDB = nullptr;
  QelDlgLabel* LabelOracle = nullptr;
  QelDlgRadioButton* RadButIBMUDB = nullptr;
  QelDlgRadioButton* RadButOracle = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString LabelDBMSTypeOneTitle;
  QelUnicodeString LabelDBMSTypeBisTitle;
  QelUnicodeString LabelDBMSTypeTersTitle;
  QelUnicodeString LabelDBMSTypeQuatroTitle;
  QelUnicodeString RadButIBMUDBTitle;
  QelUnicodeString RadButOracleTitle;
  QelUnicodeString LabelIBMUDBTitle;
  QelUnicodeString LabelOracleTitle;
};

class ZEP2DlgDBMSType : public ZEP2PageDialog {
 public:
  ZEP2DlgDBMSType(QelInteractiveApplication* application, const QelString& name);
  void Build();

  ZEP2FrmDBMSType* Frame = nullptr;
};
