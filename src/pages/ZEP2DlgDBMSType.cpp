// Page DBMSType. The two radio buttons share a frame, so the framework keeps
// them exclusive and the page needs no handler of its own.
#include "ZEP2DlgDBMSType.h"

ZEP2FrmDBMSType::ZEP2FrmDBMSType(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts(
      "ZEP2FrmDBMSType",
      {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
       {"Frame1.Frame11.Frame112.Frame1121.LabelDBMSTypeOne.Title", &LabelDBMSTypeOneTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelDBMSTypeBis.Title", &LabelDBMSTypeBisTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelDBMSTypeTers.Title", &LabelDBMSTypeTersTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelDBMSTypeQuatro.Title", &LabelDBMSTypeQuatroTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.RadButIBMUDB.Title", &RadButIBMUDBTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.RadButOracle.Title", &RadButOracleTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelIBMUDB.Title", &LabelIBMUDBTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelOracle.Title", &LabelOracleTitle}});

  Skeleton.Build(this, Frame112Title, true);
  LabelDBMSTypeOne = ZEP2NewLabel(Skeleton.Frame1121, "LabelDBMSTypeOne", LabelDBMSTypeOneTitle);
  LabelDBMSTypeBis = ZEP2NewLabel(Skeleton.Frame1121, "LabelDBMSTypeBis", LabelDBMSTypeBisTitle);
  LabelDBMSTypeTers = ZEP2NewLabel(Skeleton.Frame1121, "LabelDBMSTypeTers", LabelDBMSTypeTersTitle);
  LabelDBMSTypeQuatro =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelDBMSTypeQuatro", LabelDBMSTypeQuatroTitle);

  Frame11221 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11221");
  RadButIBMUDB =
      ZEP2NewRadioButton(Frame11221, "RadButIBMUDB", RadButIBMUDBTitle, QelDlgToggle::Checked);
  RadButOracle =
      ZEP2NewRadioButton(Frame11221, "RadButOracle", RadButOracleTitle, QelDlgToggle::Unchecked);

  Frame11222 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11222");
  LabelIBMUDB = ZEP2NewLabel(Frame11222, "LabelIBMUDB", LabelIBMUDBTitle);
  LabelOracle = ZEP2NewLabel(Frame11222, "LabelOracle", LabelOracleTitle);

  SetPos();
}

void ZEP2FrmDBMSType::SetPos() {
  Skeleton.SetPos();
  ZEP2StackRows({LabelDBMSTypeOne, LabelDBMSTypeBis, LabelDBMSTypeTers, LabelDBMSTypeQuatro},
                ZEP2FrameJustification);
  ZEP2StackRows({Frame11221, Frame11222}, ZEP2FrameJustification);
  ZEP2StackRows({RadButIBMUDB, RadButOracle}, ZEP2FrameJustification);
  ZEP2StackRows({LabelIBMUDB, LabelOracle}, ZEP2FieldLabelJustification);
}

ZEP2DlgDBMSType::ZEP2DlgDBMSType(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, PageStyle) {}

void ZEP2DlgDBMSType::Build() {
  LoadTexts("ZEP2DlgDBMSType", {{"Title", &Title}}, CancelGroup);
  Frame = new ZEP2FrmDBMSType(this, "PtrZEP2FrmDBMSType", FrameStyle);
  FinishBuild(Frame, CANCELButtonValue, 350);
}
