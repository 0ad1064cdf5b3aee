// Page DB2Param. Choosing an instance proposes its owner's home directory,
// where the instance lives; the administrator may still correct it.
#include "ZEP2DlgDB2Param.h"

#include "platform/QelAccounts.h"
#include "platform/QelLog.h"

ZEP2FrmDB2Param::ZEP2FrmDB2Param(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts(
      "ZEP2FrmDB2Param",
      {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
       {"Frame1.Frame11.Frame112.Frame1121.LabelDB2ParamOne.Title", &LabelDB2ParamOneTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelDB2ParamBis.Title", &LabelDB2ParamBisTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelDB2ParamTers.Title", &LabelDB2ParamTersTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelDB2ParamQuatro.Title", &LabelDB2ParamQuatroTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelDB2Instance.Title",
        &LabelDB2InstanceTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelDB2InstanceHD.Title",
        &LabelDB2InstanceHDTitle}});

  Skeleton.Build(this, Frame112Title, true);
  LabelDB2ParamOne = ZEP2NewLabel(Skeleton.Frame1121, "LabelDB2ParamOne", LabelDB2ParamOneTitle);
  LabelDB2ParamBis = ZEP2NewLabel(Skeleton.Frame1121, "LabelDB2ParamBis", LabelDB2ParamBisTitle);
  LabelDB2ParamTers = ZEP2NewLabel(Skeleton.Frame1121, "LabelDB2ParamTers", LabelDB2ParamTersTitle);
  LabelDB2ParamQuatro =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelDB2ParamQuatro", LabelDB2ParamQuatroTitle);

  Frame11221 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11221");
  LabelDB2Instance = ZEP2NewLabel(Frame11221, "LabelDB2Instance", LabelDB2InstanceTitle);
  ComboDB2Instance = ZEP2NewCombo(Frame11221, "ComboDB2Instance", 0);
  ComboDB2Instance->SetVisibleTextHeight(5);
  ComboDB2Instance->OfferEntryField(ZEP2DlgDB2Param::OthersLine);

  Frame11222 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11222");
  LabelDB2InstanceHD = ZEP2NewLabel(Frame11222, "LabelDB2InstanceHD", LabelDB2InstanceHDTitle);
  EditorDB2InstanceHD = ZEP2NewEditor(Frame11222, "EditorDB2InstanceHD", DirectoryStyle, 0);

  SetPos();
}

void ZEP2FrmDB2Param::SetPos() {
  Skeleton.SetPos();
  ZEP2StackRows({LabelDB2ParamOne, LabelDB2ParamBis, LabelDB2ParamTers, LabelDB2ParamQuatro},
                ZEP2FrameJustification);
  ZEP2StackRows({Frame11221, Frame11222}, ZEP2FrameJustification);
  ZEP2FieldRows({{LabelDB2Instance, ComboDB2Instance}});
  ZEP2FieldRows({{LabelDB2InstanceHD, EditorDB2InstanceHD}});
}

ZEP2DlgDB2Param::ZEP2DlgDB2Param(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, PageStyle) {}

void ZEP2DlgDB2Param::Build() {
  LoadTexts("ZEP2DlgDB2Param", {{"Title", &Title}}, CancelGroup);
  Frame = new ZEP2FrmDB2Param(this, "PtrZEP2FrmDB2Param", FrameStyle);
  FinishBuild(Frame, CANCELButtonValue, 350);
}

void ZEP2DlgDB2Param::CallBacksManager() {
  AddAnalyseNotificationCB(Frame->ComboDB2Instance->GetSelectNotification(),
                           ComboSelectNotification, nullptr);
}

QelUnicodeString ZEP2DlgDB2Param::ChosenName(const QelDlgCombo& combo) {
  if (combo.GetSelectedPosition() < 0) return combo.GetField();
  const QelUnicodeString line = combo.GetSelectedLine();
  return line.Compare(OthersLine) == 2 ? QelUnicodeString() : line;
}

// The instance owner's account carries the instance's name, so its home
// directory is the instance's. A listed instance without such an account
// keeps whatever directory is shown: it may have been typed on purpose. A
// typed name without one empties it: the directory shown belonged to an
// earlier choice, and would start the second part with another instance's
// libraries.
void ZEP2DlgDB2Param::ShowInstanceHome() {
  const QelDlgCombo& combo = *Frame->ComboDB2Instance;
  const bool typed = combo.GetSelectedPosition() < 0;
  const QelUnicodeString instance = ChosenName(combo);
  if (!typed && instance.Compare("") == 2) {
    Frame->EditorDB2InstanceHD->SetText("");
  } else if (const auto owner = QelLookupAccount(instance.str())) {
    WriteTraceLogFile("\nDB2 instance home directory: " + QelUnicodeString(owner->home), 1);
    Frame->EditorDB2InstanceHD->SetText(owner->home);
  } else {
    WriteTraceLogFile("\ngetpwnam error !!!", 2);
    if (typed) Frame->EditorDB2InstanceHD->SetText("");
  }
}

void ZEP2DlgDB2Param::ComboSelectNotification(QelCommand* command, QelNotification*, void*) {
  WriteTraceLogFile("\nComboSelectNotification begin ...", 1);
  auto* page = static_cast<ZEP2DlgDB2Param*>(command);
  page->ShowInstanceHome();
  page->SetVisibility(Shown);
  WriteTraceLogFile("\nComboSelectNotification end ...", 1);
}
