// The controller builds every page hidden in its order, shows the first
// page of the process, and every page's widgets are reachable by name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempDirectory.h"
#include "app/ZEP2InstApp.h"
#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelDlgCombo.h"
#include "platform/QelLog.h"

namespace {

using H = ZEP2InstHQ;

class ControllerPages : public ::testing::Test {
 protected:
  void SetUp() override {
    H::ResetInstallationParameters();
    setenv("QelUserSettingPath", directory.File("settings").c_str(), 1);
    controller = std::make_unique<H>(&application, "ZEP2InstHQ", "", "", directory.File("trace"));
    controller->Build();
  }
  void TearDown() override {
    controller.reset();
    QelCloseLogFiles();
  }

  TempDirectory directory;
  ZEP2InstApp application;
  std::unique_ptr<H> controller;
};

TEST_F(ControllerPages, EveryPageExistsInOrderAndOnlyTheFirstIsShown) {
  const std::vector<std::string> order = {
      "PanelTESADM",        "PanelTESDICO",    "PanelTOEXE",     "PanelDBMSType",  "PanelDB2Param",
      "PanelDB2Param2",     "PanelORALoc",     "PanelORAParam",  "PanelORAParam2", "PanelDBAUSER",
      "PanelTBSTypicalSel", "PanelTBSTypical", "PanelEXECParam", "PanelVAULTADM",  "PanelWAIT",
      "PanelCLASHADM",      "PanelCLASHSRV",   "PanelSUM",       "PanelREPORT",    "PanelSTATUS"};
  ASSERT_EQ(controller->_Pages.size(), order.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(controller->_Pages[i]->GetCommandName().str(), order[i]);
    EXPECT_EQ(controller->_Pages[i]->GetFather(), controller.get()) << order[i];
    EXPECT_EQ(controller->_Pages[i]->IsVisible(), i == 0) << order[i];
  }
  EXPECT_EQ(controller->_DlgEXEParam, QelDialog::FindDialog("PanelEXECParam"));
}

TEST_F(ControllerPages, WidgetsAreReachableByNameOnEveryPage) {
  // One widget per page that tests and response files name.
  const std::vector<std::pair<std::string, std::string>> widgets = {
      {"PanelTESADM", "EditorTESADMP"},
      {"PanelTESDICO", "EditorTESDICO"},
      {"PanelTOEXE", "ChkButTOEXEClashInst"},
      {"PanelDBMSType", "RadButOracle"},
      {"PanelDB2Param", "ComboDB2Instance"},
      {"PanelDB2Param2", "EditorDB2DriveDir"},
      {"PanelORALoc", "RadButORALocRemote"},
      {"PanelORAParam", "EditorORACLE_HOME"},
      {"PanelORAParam2", "ChkButTNSADMIN"},
      {"PanelDBAUSER", "EditorDBAUSER"},
      {"PanelTBSTypicalSel", "ComboTBSTypicalSel"},
      {"PanelTBSTypical", "EditorTBSTypicalDir"},
      {"PanelEXECParam", "RadButEXEINFILE"},
      {"PanelVAULTADM", "EditorVAULTRepo"},
      {"PanelWAIT", "LabelWAITOne"},
      {"PanelCLASHADM", "EditorCLASHOutDir"},
      {"PanelCLASHSRV", "EditorCLASHSRVOrbixPort"},
      {"PanelSUM", "EditorSUM"},
      {"PanelREPORT", "EditorREPORT"},
      {"PanelSTATUS", "ProgressSTATUS"}};
  for (const auto& [page, widget] : widgets) {
    QelDialog* dialog = QelDialog::FindDialog(page);
    ASSERT_NE(dialog, nullptr) << page;
    EXPECT_NE(dialog->FindObject(widget), nullptr) << page << " " << widget;
  }
  auto* editor = dynamic_cast<QelDlgEditor*>(
      QelDialog::FindDialog("PanelTBSTypical")->FindObject("EditorTBSTypicalName"));
  ASSERT_NE(editor, nullptr);
  controller->_DlgTBSTypical->SetVisibility(QelDlgObject::Shown);
  EXPECT_TRUE(editor->CommitText("pdmtbs"));
  EXPECT_EQ(editor->GetText().str(), "PDMTBS") << "the page's own handler ran";
}

TEST_F(ControllerPages, EveryButtonBarIsWiredButTheWaitPage) {
  for (const auto& page : controller->_Pages) {
    auto* dialog = dynamic_cast<QelDlgDialog*>(page.get());
    ASSERT_NE(dialog, nullptr);
    const std::string name = dialog->GetCommandName().str();
    const bool wired = name != "PanelWAIT";
    const bool navigates = wired && name != "PanelSTATUS";
    EXPECT_EQ(dialog->GetWindCloseNotification()->HasHandlers(), wired) << name;
    EXPECT_EQ(dialog->GetDiaAPPLYNotification()->HasHandlers(), wired) << name;
    EXPECT_EQ(dialog->GetDiaOKNotification()->HasHandlers(), navigates) << name;
    EXPECT_EQ(dialog->GetDiaCANCELNotification()->HasHandlers(), navigates) << name;
  }
}

}  // namespace
