// Page TOEXE and the rules that keep its flags consistent: start-up data is
// only decided while database objects are chosen, and exactly one of the
// clash server and client buttons is checked at any time.
#include "ZEP2DlgTOEXE.h"

#include <string_view>
#include <utility>

#include "app/ZEP2InstHQ.h"
#include "platform/QelLog.h"
#include "platform/QelSystem.h"

namespace {

// The handlers are registered by the page itself, so the command that
// receives them is always the page.
ZEP2FrmTOEXE* FrameOf(QelCommand* page) {
  return static_cast<ZEP2DlgTOEXE*>(page)->Frame;
}

int Flag(const QelDlgToggle* button) {
  return button->IsChecked() ? 1 : 0;
}

}  // namespace

ZEP2FrmTOEXE::ZEP2FrmTOEXE(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts(
      "ZEP2FrmTOEXE",
      {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTOEXEOne.Title", &LabelTOEXEOneTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTOEXEBis.Title", &LabelTOEXEBisTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTOEXETers.Title", &LabelTOEXETersTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTOEXEQuatro.Title", &LabelTOEXEQuatroTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelUnderTOEXEDBObj.Title",
        &LabelUnderTOEXEDBObjTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelUnderTOEXEStartupData.Title",
        &LabelUnderTOEXEStartupDataTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelUnderTOEXEVault.Title",
        &LabelUnderTOEXEVaultTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.ChkButTOEXEDBObj.Title",
        &ChkButTOEXEDBObjTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.ChkButTOEXEStartupData.Title",
        &ChkButTOEXEStartupDataTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.ChkButTOEXEVault.Title",
        &ChkButTOEXEVaultTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.ChkButTOEXEClash.Title",
        &ChkButTOEXEClashInstTitle}});

  Skeleton.Build(this, Frame112Title, true);
  LabelTOEXEOne = ZEP2NewLabel(Skeleton.Frame1121, "LabelTOEXEOne", LabelTOEXEOneTitle);
  LabelTOEXEBis = ZEP2NewLabel(Skeleton.Frame1121, "LabelTOEXEBis", LabelTOEXEBisTitle);
  LabelTOEXETers = ZEP2NewLabel(Skeleton.Frame1121, "LabelTOEXETers", LabelTOEXETersTitle);
  LabelTOEXEQuatro = ZEP2NewLabel(Skeleton.Frame1121, "LabelTOEXEQuatro", LabelTOEXEQuatroTitle);

  Frame11221 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11221");
  LabelUnderTOEXEDBObj =
      ZEP2NewLabel(Frame11221, "LabelUnderTOEXEDBObj", LabelUnderTOEXEDBObjTitle);
  LabelUnderTOEXEStartupData =
      ZEP2NewLabel(Frame11221, "LabelUnderTOEXEStartupData", LabelUnderTOEXEStartupDataTitle);
  LabelUnderTOEXEVault =
      ZEP2NewLabel(Frame11221, "LabelUnderTOEXEVault", LabelUnderTOEXEVaultTitle);
  ChkButTOEXEDBObj = ZEP2NewCheckButton(Frame11221, "ChkButTOEXEDBObj", ChkButTOEXEDBObjTitle,
                                        QelDlgToggle::Checked);
  ChkButTOEXEStartupData = ZEP2NewCheckButton(Frame11221, "ChkButTOEXEStartupData",
                                              ChkButTOEXEStartupDataTitle, QelDlgToggle::Checked);
  // The vault installation is offered only on purpose: the button stays
  // hidden unless TESSARDBSETUP_OFFER_VAULT is 1.
  ChkButTOEXEVault = ZEP2NewCheckButton(Frame11221, "ChkButTOEXEVault", ChkButTOEXEVaultTitle,
                                        QelDlgToggle::Unchecked);
  const char* offerVault = QelGetEnv("TESSARDBSETUP_OFFER_VAULT");
  if (!offerVault || std::string_view(offerVault) != "1") ChkButTOEXEVault->SetVisibility(Hidden);
  ChkButTOEXEClashInst = ZEP2NewCheckButton(Frame11221, "ChkButTOEXEClashInst",
                                            ChkButTOEXEClashInstTitle, QelDlgToggle::Unchecked);
  SepClash = new QelDlgSeparator(Frame11221, "SepClash", 0);

  // The two choices have no catalogue text of their own: the clash check
  // button above them says what they are about.
  Frame11222 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11222");
  RadButTOEXEClashServer =
      ZEP2NewRadioButton(Frame11222, "RadButTOEXEClashServer", "Server", QelDlgToggle::Unchecked);
  RadButTOEXEClashServer->SetSensitivity(Insensitive);
  RadButTOEXEClashClient =
      ZEP2NewRadioButton(Frame11222, "RadButTOEXEClashClient", "Client", QelDlgToggle::Checked);
  RadButTOEXEClashClient->SetSensitivity(Insensitive);

  SetPos();
}

void ZEP2FrmTOEXE::SetPos() {
  Skeleton.SetPos();
  ZEP2StackRows({LabelTOEXEOne, LabelTOEXEBis, LabelTOEXETers, LabelTOEXEQuatro},
                ZEP2FrameJustification);
  ZEP2StackRows({Frame11221, Frame11222}, ZEP2FrameJustification);
  // One column: each choice with its explanation below it.
  int row = 0;
  for (const auto& [button, explanation] :
       {std::pair<QelDlgObject*, QelDlgObject*>{ChkButTOEXEDBObj, LabelUnderTOEXEDBObj},
        {ChkButTOEXEStartupData, LabelUnderTOEXEStartupData},
        {ChkButTOEXEVault, LabelUnderTOEXEVault}}) {
    button->SetConstraints(row++, 0, ZEP2FrameJustification);
    explanation->SetConstraints(row++, 0, ZEP2FieldLabelJustification);
  }
  SepClash->SetConstraints(row++, 0, ZEP2FrameJustification);
  ChkButTOEXEClashInst->SetConstraints(row, 0, ZEP2FrameJustification);
  Frame11221->SetResizableColumn(0);
  ZEP2StackRows({RadButTOEXEClashServer, RadButTOEXEClashClient}, ZEP2FrameJustification);
}

ZEP2DlgTOEXE::ZEP2DlgTOEXE(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, PageStyle) {}

void ZEP2DlgTOEXE::Build() {
  LoadTexts("ZEP2DlgTOEXE", {{"Title", &Title}}, CancelGroup);
  Frame = new ZEP2FrmTOEXE(this, "PtrZEP2FrmTOEXE", FrameStyle);
  FinishBuild(Frame, CANCELButtonValue, 350);
}

void ZEP2DlgTOEXE::CallBacksManager() {
  AddAnalyseNotificationCB(Frame->ChkButTOEXEDBObj->GetSelectNotification(),
                           ChkButTOEXEDBObjSelectNotification, nullptr);
  AddAnalyseNotificationCB(Frame->ChkButTOEXEStartupData->GetSelectNotification(),
                           ChkButTOEXEStartupDataSelectNotification, nullptr);
  AddAnalyseNotificationCB(Frame->ChkButTOEXEVault->GetSelectNotification(),
                           ChkButTOEXEVaultSelectNotification, nullptr);
  AddAnalyseNotificationCB(Frame->ChkButTOEXEClashInst->GetSelectNotification(),
                           ChkButTOEXEClashInstSelectNotification, nullptr);
  AddAnalyseNotificationCB(Frame->RadButTOEXEClashServer->GetSelectNotification(),
                           RadButTOEXEClashServerSelectNotification, nullptr);
  AddAnalyseNotificationCB(Frame->RadButTOEXEClashClient->GetSelectNotification(),
                           RadButTOEXEClashClientSelectNotification, nullptr);
}

void ZEP2DlgTOEXE::ChkButTOEXEDBObjSelectNotification(QelCommand* page, QelNotification*, void*) {
  WriteTraceLogFile("\nChkButTOEXEDBObjSelectNotification", 1);
  ZEP2InstHQ::_nvEXEDBObj = Flag(FrameOf(page)->ChkButTOEXEDBObj);
}

void ZEP2DlgTOEXE::ChkButTOEXEStartupDataSelectNotification(QelCommand* page, QelNotification*,
                                                            void*) {
  WriteTraceLogFile("\nChkButTOEXEStartupDataSelectNotification", 1);
  const ZEP2FrmTOEXE* frame = FrameOf(page);
  // Start-up data without the objects is no choice of its own: the flag
  // keeps what was decided while the objects were chosen.
  if (frame->ChkButTOEXEDBObj->IsChecked()) {
    ZEP2InstHQ::_nvEXEStartupData = Flag(frame->ChkButTOEXEStartupData);
  }
}

void ZEP2DlgTOEXE::ChkButTOEXEVaultSelectNotification(QelCommand* page, QelNotification*, void*) {
  WriteTraceLogFile("\nChkButTOEXEVaultSelectNotification", 1);
  // The button is hidden: whether the vault is offered at all is told by its
  // sensitivity, not by a check nobody can see.
  ZEP2InstHQ::_nvEXEVault = FrameOf(page)->ChkButTOEXEVault->IsSensitive() ? 1 : 0;
}

void ZEP2DlgTOEXE::ChkButTOEXEClashInstSelectNotification(QelCommand* page, QelNotification*,
                                                          void*) {
  WriteTraceLogFile("\nChkButTOEXEClashInstSelectNotification", 1);
  const ZEP2FrmTOEXE* frame = FrameOf(page);
  ZEP2InstHQ::_nvEXEClashInst = Flag(frame->ChkButTOEXEClashInst);
  const int sensitivity = frame->ChkButTOEXEClashInst->IsChecked() ? Sensitive : Insensitive;
  frame->RadButTOEXEClashServer->SetSensitivity(sensitivity);
  frame->RadButTOEXEClashClient->SetSensitivity(sensitivity);
}

void ZEP2DlgTOEXE::RadButTOEXEClashServerSelectNotification(QelCommand* page, QelNotification*,
                                                            void*) {
  WriteTraceLogFile("\nRadButTOEXEClashServerSelectNotification", 1);
  const ZEP2FrmTOEXE* frame = FrameOf(page);
  if (frame->RadButTOEXEClashServer->IsChecked()) {
    ZEP2InstHQ::_nvEXEClashServer = 1;
    return;
  }
  // Unchecking the server leaves the client as the only possible answer;
  // its own handler runs and confirms the flag.
  ZEP2InstHQ::_nvEXEClashServer = 0;
  frame->RadButTOEXEClashClient->SetState(QelDlgToggle::Checked, true);
}

void ZEP2DlgTOEXE::RadButTOEXEClashClientSelectNotification(QelCommand* page, QelNotification*,
                                                            void*) {
  WriteTraceLogFile("\nRadButTOEXEClashClientSelectNotification", 1);
  const ZEP2FrmTOEXE* frame = FrameOf(page);
  if (frame->RadButTOEXEClashClient->IsChecked()) {
    ZEP2InstHQ::_nvEXEClashServer = 0;
    return;
  }
  ZEP2InstHQ::_nvEXEClashServer = 1;
  frame->RadButTOEXEClashServer->SetState(QelDlgToggle::Checked, true);
}
