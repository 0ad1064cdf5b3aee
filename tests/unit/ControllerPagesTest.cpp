// The controller builds every page hidden in its order, shows the first
// page of the process, every page's widgets are reachable by name, and each
// page's buttons lead where the wizard's paths go.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempDirectory.h"
#include "app/ZEP2InstApp.h"
#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelDisplay.h"
#include "platform/QelDlgCombo.h"
#include "platform/QelDlgNotify.h"
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

// Where each button of each page leads, for each path through the wizard:
// the pages' own buttons are pressed, so a Next wired as a Back (or a
// handler that shows the wrong page) is caught.
class PageButtons : public ::testing::Test {
 protected:
  // Answers every box with answer (OK when 0) and remembers its text.
  class Boxes : public QelDisplay {
   public:
    int DisplayBlocked(QelDlgNotify* notice) override {
      texts.push_back(notice->GetText().str());
      return answer ? answer : notice->DefaultAnswer();
    }
    int answer = 0;
    std::vector<std::string> texts;
  };

  void SetUp() override {
    H::ResetInstallationParameters();
    setenv("QelUserSettingPath", directory.File("settings").c_str(), 1);
    setenv("TESSARDBSETUP_NO_PASS_VALIDATION", "", 1);
    for (const char* name : {"TESSAR_SINGLE_USER", "TESSARDBSETUP_SANDBOX", "FATHERPID"}) {
      unsetenv(name);
    }
    auto display = std::make_unique<Boxes>();
    boxes = display.get();
    QelSetDisplay(std::move(display));
    controller = std::make_unique<H>(&application, "ZEP2InstHQ", "", "", directory.File("trace"));
    controller->Build();
  }
  void TearDown() override {
    controller.reset();
    QelSetDisplay(nullptr);
    QelCloseLogFiles();
    unsetenv("TESSARDBSETUP_NO_PASS_VALIDATION");
    H::ResetInstallationParameters();
  }

  // Shows page alone, presses button and returns the pages then shown.
  std::string Press(QelDlgDialog* page, const std::string& button) {
    for (const auto& other : controller->_Pages) other->SetVisibility(QelDlgObject::Hidden);
    page->SetVisibility(QelDlgObject::Shown);
    if (button == "Close") {
      page->RequestClose();
    } else {
      page->PressButton(button == "Next"   ? QelDlgDialog::CANCEL
                        : button == "Back" ? QelDlgDialog::OK
                                           : QelDlgDialog::APPLY);
    }
    std::string shown;
    for (const auto& other : controller->_Pages) {
      if (other->IsVisible()) shown += (shown.empty() ? "" : "+") + other->GetCommandName().str();
    }
    return shown;
  }

  static void Set(QelDlgToggle* button, bool checked) {
    button->SetState(checked ? QelDlgToggle::Checked : QelDlgToggle::Unchecked);
  }
  void ChooseDbms(bool oracle) {
    Set(controller->_DlgDBMSType->Frame->RadButIBMUDB, !oracle);
    Set(controller->_DlgDBMSType->Frame->RadButOracle, oracle);
  }
  std::string NewTablespaceEntry() const {
    return controller->_DlgTBSTypicalSel->Frame->LabelTBSTypicalComboDefTitle.str();
  }
  // The selection page offers the new tablespace entry and one existing.
  void OfferTablespaces(bool newOne) {
    QelDlgCombo* combo = controller->_DlgTBSTypicalSel->Frame->ComboTBSTypicalSel;
    combo->ClearLines();
    combo->AddLine(NewTablespaceEntry());
    combo->AddLine("USERS");
    combo->SetSelectedPosition(newOne ? 0 : 1, false);
  }
  int ExitStatus() { return application.EndApplication(); }

  TempDirectory directory;
  ZEP2InstApp application;
  std::unique_ptr<H> controller;
  Boxes* boxes = nullptr;
};

TEST_F(PageButtons, TheFirstProcessWalksForwardAndBackPageByPage) {
  struct Path {
    const char* name;
    bool objectsOnly;
  } paths[] = {{"database objects only: the execution page is asked", true},
               {"with start-up data: straight to the DBMS", false}};
  H* c = nullptr;
  for (const Path& path : paths) {
    c = controller.get();
    c->_DlgTESADM->Frame->EditorTESADM->SetText("pdmadm");
    c->_DlgTESADM->Frame->EditorTESADMP->SetText("secret");
    EXPECT_EQ(Press(c->_DlgTESADM, "Next"), "PanelTOEXE") << path.name;
    Set(c->_DlgTOEXE->Frame->ChkButTOEXEDBObj, true);
    Set(c->_DlgTOEXE->Frame->ChkButTOEXEStartupData, !path.objectsOnly);
    const std::string afterWhatToDo = path.objectsOnly ? "PanelEXECParam" : "PanelDBMSType";
    EXPECT_EQ(Press(c->_DlgTOEXE, "Next"), afterWhatToDo) << path.name;
    if (path.objectsOnly) {
      Set(c->_DlgEXEParam->Frame->RadButEXEINDB, true);
      Set(c->_DlgEXEParam->Frame->RadButEXEINFILE, false);
      EXPECT_EQ(Press(c->_DlgEXEParam, "Next"), "PanelDBMSType");
      EXPECT_EQ(Press(c->_DlgEXEParam, "Back"), "PanelTOEXE");
    }
    ChooseDbms(true);
    EXPECT_EQ(Press(c->_DlgDBMSType, "Next"), "PanelTESDICO") << path.name;
    EXPECT_EQ(Press(c->_DlgDBMSType, "Back"), path.objectsOnly ? "PanelEXECParam" : "PanelTOEXE")
        << path.name;
    EXPECT_EQ(Press(c->_DlgTOEXE, "Back"), "PanelTESADM") << path.name;
    EXPECT_EQ(Press(c->_DlgTESADM, "Back"), "PanelTESADM") << "the first page has nowhere back";
  }
  c->_DlgTESDICO->Frame->EditorTESDICO->SetText("zepdico");
  c->_DlgTESDICO->Frame->EditorTESDICOP->SetText("secret");
  EXPECT_EQ(Press(c->_DlgTESDICO, "Next"), "PanelORALoc");
  EXPECT_EQ(Press(c->_DlgTESDICO, "Back"), "PanelDBMSType");
  for (const bool local : {true, false}) {
    Set(c->_DlgORALoc->Frame->RadButORALocLocal, local);
    Set(c->_DlgORALoc->Frame->RadButORALocRemote, !local);
    EXPECT_EQ(Press(c->_DlgORALoc, "Next"), "PanelORAParam") << local;
    EXPECT_EQ(H::_nvORALocal, local ? 1 : 0);
    EXPECT_EQ(Press(c->_DlgORALoc, "Back"), "PanelTESDICO") << local;
  }
  std::filesystem::create_directories(directory.File("oracle/lib"));
  c->_DlgORAParam->Frame->EditorORACLE_HOME->SetText(directory.File("oracle"));
  EXPECT_EQ(Press(c->_DlgORAParam, "Next"), "PanelORAParam2");
  EXPECT_EQ(Press(c->_DlgORAParam, "Back"), "PanelORALoc");
  EXPECT_EQ(Press(c->_DlgORAParam2, "Back"), "PanelORAParam");
  EXPECT_EQ(Press(c->_DlgDB2Param, "Back"), "PanelTESDICO");
}

TEST_F(PageButtons, TheSonsFirstPagesLeadOnOrBackToTheFather) {
  H* c = controller.get();
  H::_nvIBMDB2UDB = 1;
  H::_nvDB2Remote = 1;
  H::_svDB2INSTANCE = "db2inst1";
  EXPECT_EQ(Press(c->_DlgDB2Param2, "Next"), "PanelDB2Param2") << "no database alias yet";
  ASSERT_TRUE(c->_DlgDB2Param2->Frame->ComboDB2AliasName->EnterText("PDMDB"));
  EXPECT_EQ(Press(c->_DlgDB2Param2, "Next"), "PanelDBAUSER");
  EXPECT_EQ(c->_DlgDBAUSER->Frame->EditorDBAUSER->GetText().str(), "db2inst1");
  EXPECT_EQ(Press(c->_DlgDBAUSER, "Back"), "PanelDB2Param2") << "DB2: the database page";
  EXPECT_FALSE(application.IsDestroyed());
  // The son's first page's Back ends the son with 1: the father shows its
  // own last page again.
  Press(c->_DlgDB2Param2, "Back");
  EXPECT_TRUE(application.IsDestroyed());
  EXPECT_EQ(ExitStatus(), 1);
}

TEST_F(PageButtons, OracleDbaPageBackEndsTheSon) {
  H::_nvOracle = 1;
  Press(controller->_DlgDBAUSER, "Back");
  EXPECT_TRUE(application.IsDestroyed());
  EXPECT_EQ(ExitStatus(), 1);
}

TEST_F(PageButtons, TheTablespaceAndVaultPagesLeadByTheChoicesMade) {
  H* c = controller.get();
  H::_nvOracle = 1;
  H::_nvORALocal = 1;
  EXPECT_EQ(Press(c->_DlgTBSTypicalSel, "Back"), "PanelDBAUSER");
  // A new tablespace is described on its own page, whose Back returns.
  OfferTablespaces(true);
  EXPECT_EQ(Press(c->_DlgTBSTypicalSel, "Next"), "PanelTBSTypical");
  EXPECT_EQ(Press(c->_DlgTBSTypical, "Back"), "PanelTBSTypicalSel");
  // An existing one goes to the vault page when the vault is configured,
  // and that page's Back returns to the selection.
  OfferTablespaces(false);
  H::_nvEXEVault = 1;
  EXPECT_EQ(Press(c->_DlgTBSTypicalSel, "Next"), "PanelVAULTADM");
  EXPECT_EQ(Press(c->_DlgVAULTADM, "Back"), "PanelTBSTypicalSel");
  // Without the vault the preparation starts behind the wait page.
  H::_nvEXEVault = 0;
  EXPECT_EQ(Press(c->_DlgTBSTypicalSel, "Next"), "PanelWAIT");
  EXPECT_TRUE(application.IsSubscribed(2, c)) << "the preparation is subscribed";
  application.RemoveSubscribe(2, c);
  // With a new tablespace, the vault page's Back returns to its page.
  OfferTablespaces(true);
  Press(c->_DlgTBSTypicalSel, "Next");
  H::_nvEXEVault = 1;
  EXPECT_EQ(Press(c->_DlgVAULTADM, "Back"), "PanelTBSTypical");
}

TEST_F(PageButtons, TheClashAndSummaryPagesLeadBackToWhatCameBefore) {
  H* c = controller.get();
  H::_nvOracle = 1;
  OfferTablespaces(false);
  Press(c->_DlgTBSTypicalSel, "Next");
  application.RemoveSubscribe(2, c);
  struct Case {
    bool vault, clash, server;
    const char* summaryBack;
    const char* clashBack;
  } cases[] = {{false, false, false, "PanelTBSTypicalSel", nullptr},
               {true, false, false, "PanelVAULTADM", nullptr},
               {true, true, true, "PanelCLASHADM", "PanelVAULTADM"},
               {false, true, false, "PanelCLASHSRV", "PanelTBSTypicalSel"}};
  for (const Case& test : cases) {
    H::_nvEXEVault = test.vault;
    H::_nvEXEClashInst = test.clash;
    H::_nvEXEClashServer = test.server;
    EXPECT_EQ(Press(c->_DlgSUM, "Back"), test.summaryBack) << test.summaryBack;
    if (!test.clashBack) continue;
    QelDlgDialog* clash = test.server ? static_cast<QelDlgDialog*>(c->_DlgCLASHADM)
                                      : static_cast<QelDlgDialog*>(c->_DlgCLASHSRV);
    EXPECT_EQ(Press(clash, "Back"), test.clashBack) << test.summaryBack;
  }
}

TEST_F(PageButtons, TheSummaryStartsTheInstallationAndTheReportEndsTheRun) {
  H* c = controller.get();
  H::_nvTBSTypical = 1;
  H::_nvEXEDBObj = 1;
  EXPECT_EQ(Press(c->_DlgSUM, "Next"), "PanelREPORT+PanelSTATUS");
  EXPECT_TRUE(application.IsSubscribed(2, c)) << "the first step is subscribed";
  application.RemoveSubscribe(2, c);
  // The report page offers only its finishing button, once the run is over.
  EXPECT_EQ(Press(c->_DlgREPORT, "Back"), "PanelREPORT");
  EXPECT_EQ(Press(c->_DlgREPORT, "Next"), "PanelREPORT");
  EXPECT_FALSE(application.IsDestroyed());
  c->_InstallationSucceeded = true;
  c->_DlgREPORT->SetButtonSensitivity(QelDlgDialog::CANCEL, QelDlgObject::Sensitive);
  Press(c->_DlgREPORT, "Next");
  EXPECT_TRUE(application.IsDestroyed());
  EXPECT_EQ(ExitStatus(), 0);
}

TEST_F(PageButtons, CancelAsksAndEndsTheRunOnlyWhenConfirmed) {
  H* c = controller.get();
  boxes->answer = QelDlgNotify::CancelValue;
  EXPECT_EQ(Press(c->_DlgTOEXE, "Cancel"), "PanelTOEXE");
  EXPECT_EQ(boxes->texts.size(), 1u) << "the confirmation was asked";
  EXPECT_FALSE(application.IsDestroyed());
  boxes->answer = QelDlgNotify::OkValue;
  Press(c->_DlgTOEXE, "Cancel");
  EXPECT_TRUE(application.IsDestroyed());
  EXPECT_EQ(ExitStatus(), 2);
}

TEST_F(PageButtons, CloseEndsTheRunAtOnce) {
  Press(controller->_DlgTESDICO, "Close");
  EXPECT_TRUE(boxes->texts.empty()) << "nothing is asked";
  EXPECT_TRUE(application.IsDestroyed());
  EXPECT_EQ(ExitStatus(), 2);
}

TEST_F(PageButtons, CancelOnTheStatusPageStartsTheRollback) {
  H* c = controller.get();
  H::_nvEXECINDB = 1;
  c->_DlgSTATUS->SetButtonSensitivity(QelDlgDialog::APPLY, QelDlgObject::Sensitive);
  Press(c->_DlgSTATUS, "Cancel");
  EXPECT_FALSE(application.IsDestroyed()) << "the rollback runs before the run ends";
  EXPECT_TRUE(application.IsSubscribed(2, c));
  EXPECT_NE(ReadWholeFile(directory.File("trace")).find("\nQelSubsribeIdle St_AbortInst"),
            std::string::npos);
  application.RemoveSubscribe(2, c);
}

}  // namespace
