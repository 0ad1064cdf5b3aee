// Where Next and Back lead from the first process's pages (and the DB2
// database page that follows them), what they store, and which answers they
// refuse, driven through the pages' own buttons.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>

#include "TempDirectory.h"
#include "app/ZEP2InstApp.h"
#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelDisplay.h"
#include "platform/QelDlgNotify.h"
#include "platform/QelLog.h"

namespace {

using H = ZEP2InstHQ;

// Answers every box with OK or Yes and remembers its text.
class BoxRecorder : public QelDisplay {
 public:
  int DisplayBlocked(QelDlgNotify* notice) override {
    texts.push_back(notice->GetText().str());
    return notice->DefaultAnswer();
  }
  std::deque<std::string> texts;
};

class Navigation : public ::testing::Test {
 protected:
  void SetUp() override {
    H::ResetInstallationParameters();
    // What the administrator page, always the first, leaves for later pages.
    H::_svTESADM = "pdmadm";
    H::_svTESADMP = "adminpass";
    setenv("QelUserSettingPath", directory.File("settings").c_str(), 1);
    for (const char* name :
         {"TESSAR_SINGLE_USER", "TESSARDBSETUP_NO_PASS_VALIDATION", "TESSARDBSETUP_SANDBOX"}) {
      unsetenv(name);
    }
    auto recorder = std::make_unique<BoxRecorder>();
    boxes = recorder.get();
    QelSetDisplay(std::move(recorder));
    controller = std::make_unique<H>(&application, "ZEP2InstHQ", "", "", directory.File("trace"));
    controller->Build();
  }
  void TearDown() override {
    controller.reset();
    QelSetDisplay(nullptr);
    QelCloseLogFiles();
  }

  // Shows page alone, as the wizard does, and presses one of its buttons.
  void Press(QelDlgDialog* page, QelDlgDialog::Button button) {
    for (const auto& other : controller->_Pages) other->SetVisibility(QelDlgObject::Hidden);
    page->SetVisibility(QelDlgObject::Shown);
    page->PressButton(button);
  }
  void Next(QelDlgDialog* page) { Press(page, QelDlgDialog::CANCEL); }
  void Back(QelDlgDialog* page) { Press(page, QelDlgDialog::OK); }

  // The one page left visible.
  std::string Shown() const {
    std::string shown;
    for (const auto& page : controller->_Pages) {
      if (page->IsVisible()) shown += (shown.empty() ? "" : "+") + page->GetCommandName().str();
    }
    return shown;
  }
  std::string Trace() const { return ReadWholeFile(directory.File("trace")); }

  TempDirectory directory;
  ZEP2InstApp application;
  std::unique_ptr<H> controller;
  BoxRecorder* boxes = nullptr;
};

TEST_F(Navigation, WhatToDoDecidesWhetherTheExecutionPageIsAsked) {
  ZEP2FrmTOEXE* toexe = controller->_DlgTOEXE->Frame;
  struct Case {
    bool objects, startup;
    const char* next;
  } cases[] = {{true, false, "PanelEXECParam"},
               {true, true, "PanelDBMSType"},
               {false, true, "PanelDBMSType"},
               {false, false, "PanelDBMSType"}};
  for (const Case& c : cases) {
    toexe->ChkButTOEXEDBObj->SetState(c.objects ? QelDlgToggle::Checked : QelDlgToggle::Unchecked);
    toexe->ChkButTOEXEStartupData->SetState(c.startup ? QelDlgToggle::Checked
                                                      : QelDlgToggle::Unchecked);
    Next(controller->_DlgTOEXE);
    EXPECT_EQ(Shown(), c.next) << c.objects << c.startup;
    EXPECT_EQ(H::_nvEXEDBObj, c.objects ? 1 : 0);
    EXPECT_EQ(H::_nvEXEStartupData, c.startup ? 1 : 0);
    // DBMSType's Back returns to the page TOEXE's Next went to.
    Back(controller->_DlgDBMSType);
    EXPECT_EQ(Shown(), c.objects && !c.startup ? "PanelEXECParam" : "PanelTOEXE");
  }
  Back(controller->_DlgTOEXE);
  EXPECT_EQ(Shown(), "PanelTESADM");
}

TEST_F(Navigation, TheDdlFileChoiceIsCheckedBeforeItIsKept) {
  ZEP2DlgEXEParam* page = controller->_DlgEXEParam;
  page->Frame->RadButEXEINFILE->SetState(QelDlgToggle::Checked);
  page->Frame->RadButEXEINDB->SetState(QelDlgToggle::Unchecked);
  Next(page);
  EXPECT_EQ(Shown(), "PanelEXECParam");
  ASSERT_EQ(boxes->texts.size(), 1u);
  EXPECT_EQ(boxes->texts.back(), page->ERRMSGTextToDisplayForDDLFILENAME.str());
  page->Frame->EditorEXEDDLFileName->SetText("pdm.ddl");
  page->Frame->EditorEXEDDLFilePath->SetText(directory.File("missing"));
  Next(page);
  EXPECT_EQ(boxes->texts.back(), page->ERRMSGTextToDisplayForDDLFILEPATHW.str());
  page->Frame->EditorEXEDDLFilePath->SetText(directory.Path());
  Next(page);
  EXPECT_EQ(Shown(), "PanelDBMSType");
  EXPECT_EQ(H::_nvEXECINDB, 0);
  EXPECT_EQ(H::_nvGENDDLONLY, 1);
  EXPECT_EQ(H::_svDDLFILEPATH.str(), directory.Path());
}

TEST_F(Navigation, TheDbmsDecidesWhetherTheOwnersPasswordIsAsked) {
  H::_svTESADM = "pdmadm";
  H::_svTESADMP = "adminpass";
  ZEP2FrmTESDICO* owner = controller->_DlgTESDICO->Frame;
  ZEP2FrmDBMSType* dbms = controller->_DlgDBMSType->Frame;
  dbms->RadButIBMUDB->SetState(QelDlgToggle::Checked);
  Next(controller->_DlgDBMSType);
  EXPECT_EQ(Shown(), "PanelTESDICO");
  EXPECT_FALSE(owner->EditorTESDICOP->IsVisible()) << "DB2 uses the administrator's password";
  EXPECT_EQ(owner->EditorTESDICOP->GetText().str(), "adminpass");

  dbms->RadButIBMUDB->SetState(QelDlgToggle::Unchecked);
  dbms->RadButOracle->SetState(QelDlgToggle::Checked);
  H::_svTESDICOOwner = "other";
  Next(controller->_DlgDBMSType);
  EXPECT_TRUE(owner->EditorTESDICOP->IsVisible());
  EXPECT_EQ(owner->EditorTESDICOP->GetText().str(), "") << "another owner types its own";
  EXPECT_EQ(H::_nvOracle, 1);
  EXPECT_EQ(H::_nvIBMDB2UDB, 0);
}

TEST_F(Navigation, AuthenticationModeComesFromTheEnvironment) {
  H::_nvOracle = 1;
  ZEP2DlgTESDICO* page = controller->_DlgTESDICO;
  Next(page);
  EXPECT_EQ(boxes->texts.back(), page->ERRMSGTextToDisplayForTESDICO.str());
  page->Frame->EditorTESDICO->SetText("pdmdico");
  page->Frame->EditorTESDICOP->SetText("secret");
  const std::pair<const char*, int> modes[] = {{nullptr, 0}, {"", 0},    {"on", 0},    {"OFF", 1},
                                               {"off", 1},   {"Off", 1}, {"OFFICE", 0}};
  for (const auto& [value, client] : modes) {
    if (value) {
      setenv("TESSAR_SINGLE_USER", value, 1);
    } else {
      unsetenv("TESSAR_SINGLE_USER");
    }
    Next(page);
    EXPECT_EQ(Shown(), "PanelORALoc");
    EXPECT_EQ(H::_nvAUTHClient, client) << (value ? value : "unset");
    EXPECT_EQ(H::_nvAUTHServer, 1 - client);
  }
  EXPECT_EQ(H::_svTESDICOOwner.str(), "PDMDICO");
  EXPECT_EQ(Trace().find("secret"), std::string::npos);
}

// Users are named in statements without quotes and, under Oracle, their
// passwords stand between double quotes: what the DBMS cannot take there is
// refused on the owner page, whichever account it belongs to, and the
// answers stay as typed.
TEST_F(Navigation, TheOwnerPageRefusesWhatTheDbmsCannotTake) {
  const std::string catalogues =
      (std::filesystem::path(__FILE__).parent_path() / "../../share/msgcatalog").string();
  setenv("QelMsgCatalogPath", catalogues.c_str(), 1);
  ZEP2DlgTESDICO* page = controller->_DlgTESDICO;
  const auto refused = [&](const char* owner, const char* password, const char* expected) {
    boxes->texts.clear();
    page->Frame->EditorTESDICO->SetText(owner);
    page->Frame->EditorTESDICOP->SetText(password);
    Next(page);
    EXPECT_EQ(Shown(), "PanelTESDICO") << owner;
    EXPECT_EQ(page->Frame->EditorTESDICO->GetText().str(), owner) << "kept as typed";
    EXPECT_EQ(page->Frame->EditorTESDICOP->GetText().str(), password) << "kept as typed";
    EXPECT_EQ(boxes->texts.size(), 1u) << owner;
    if (boxes->texts.empty()) return;
    EXPECT_NE(boxes->texts.back().find(expected), std::string::npos) << boxes->texts.back();
    EXPECT_EQ(boxes->texts.back().find(password), std::string::npos) << "no password in a box";
  };
  H::_nvOracle = 1;
  refused("pdm", "pw\" DEFAULT TABLESPACE SYSTEM --", "double quote");
  refused("pdm.dico", "secret", "letters, digits");
  refused("9pdm", "secret", "start with a letter");
  refused("pdm#dico$abcdefghijklmnopqrstuvw", "secret", "at most 30");
  H::_svTESADMP = "ad\"min";
  refused("pdmdico", "secret", "administrator's password");
  H::_svTESADMP = "adminpass";
  H::_svTESADM = "pdm-adm";
  refused("pdmdico", "secret", "administrator account");
  EXPECT_EQ(Trace().find("TABLESPACE SYSTEM"), std::string::npos) << "no password in the trace";

  // DB2 takes @ in a name; a password never reaches its statements.
  H::_svTESADM = "pdmadm";
  H::_nvOracle = 0;
  H::_nvIBMDB2UDB = 1;
  setenv("PATH", directory.Path().c_str(), 1);  // no instance listing program
  boxes->texts.clear();
  page->Frame->EditorTESDICO->SetText("pdm@dico");
  page->Frame->EditorTESDICOP->SetText("it's \"quoted\"");
  Next(page);
  setenv("PATH", "/usr/bin:/bin", 1);
  EXPECT_TRUE(boxes->texts.empty()) << boxes->texts.front();
  EXPECT_EQ(H::_svTESDICOOwner.str(), "PDM@DICO");
  unsetenv("QelMsgCatalogPath");
}

TEST_F(Navigation, TheOracleHomeAndServiceAreCheckedAgainstTheMachine) {
  ZEP2DlgORAParam* home = controller->_DlgORAParam;
  const std::string oracle = directory.File("oracle");
  std::filesystem::create_directories(oracle);
  home->Frame->EditorORACLE_HOME->SetText(oracle);
  Next(home);
  EXPECT_EQ(boxes->texts.back(), home->ERRMSGTextToDisplayForWRONGPATH.str()) << "no lib";
  std::filesystem::create_directories(oracle + "/lib");
  Next(home);
  EXPECT_EQ(Shown(), "PanelORAParam2");
  ZEP2DlgORAParam2* service = controller->_DlgORAParam2;
  EXPECT_EQ(service->Frame->EditorORATNSADMIN->GetText().str(), oracle + "/network/admin");

  Next(service);
  EXPECT_EQ(boxes->texts.back(), service->ERRMSGTextToDisplayForSRVNAME.str());
  service->Frame->EditorORAServiceName->SetText("PDMORA");
  Next(service);
  EXPECT_EQ(boxes->texts.back(), service->ERRMSGTextToDisplayForWRONG_TNS.str());
  EXPECT_EQ(H::_nvINSTPARTII, 0) << "a refused page starts no son";
  Back(service);
  EXPECT_EQ(Shown(), "PanelORAParam");
  EXPECT_EQ(H::_svORASRVNAME.str(), "PDMORA") << "Back keeps what was typed";

  // The service must resolve where the second process's client will look.
  std::filesystem::create_directories(oracle + "/network/admin");
  std::ofstream(oracle + "/network/admin/tnsnames.ora")
      << "# PDM\nPDMORA, PDMORA.WORLD =\n  (DESCRIPTION = (ADDRESS = (HOST = db)(PORT = 1521))\n"
         "    (CONNECT_DATA = (SERVICE_NAME = PDMORA)))\n";
  service->ERRMSGTextToDisplayForUNKNOWN_SRVNAME = "\"%1\" cannot be resolved: %2.";
  service->Frame->EditorORAServiceName->SetText("PDMWRONG");
  Next(service);
  EXPECT_EQ(Shown(), "PanelORAParam2");
  EXPECT_EQ(H::_nvINSTPARTII, 0);
  const std::string refusal = boxes->texts.back();
  EXPECT_NE(refusal.find("\"PDMWRONG\" cannot be resolved"), std::string::npos) << refusal;
  EXPECT_NE(refusal.find(oracle + "/network/admin/tnsnames.ora does not define it (it defines: "
                                  "\"PDMORA\", \"PDMORA.WORLD\")"),
            std::string::npos)
      << refusal;
  EXPECT_EQ(refusal.find("account"), std::string::npos) << "the service, not the account";

  // Resolved whatever its case: the launch goes on, and here stops at once
  // because this process stands for a son.
  setenv("FATHERPID", "1", 1);
  service->Frame->EditorORAServiceName->SetText("pdmora.world");
  Next(service);
  unsetenv("FATHERPID");
  EXPECT_EQ(boxes->texts.back().find("cannot be resolved"), std::string::npos)
      << boxes->texts.back();
  EXPECT_NE(Trace().find("\nINPUT ERROR: service <PDMWRONG>"), std::string::npos);
  EXPECT_EQ(Trace().find("INPUT ERROR: service <pdmora.world>"), std::string::npos);
}

TEST_F(Navigation, TheAdministratorIsAuthenticatedUnlessValidationIsOff) {
  ZEP2DlgTESADM* page = controller->_DlgTESADM;
  page->Frame->EditorTESADM->SetText("root");
  page->Frame->EditorTESADMP->SetText("anything");
  Next(page);
  EXPECT_EQ(boxes->texts.back(), page->ERRMSGRootUserForbidden.str());
  EXPECT_EQ(Shown(), "PanelTESADM");

  setenv("TESSARDBSETUP_NO_PASS_VALIDATION", "", 1);
  Next(page);
  EXPECT_EQ(Shown(), "PanelTOEXE");
  EXPECT_NE(Trace().find("\nPASSWORD VALIDATION OFF"), std::string::npos);
  EXPECT_EQ(controller->_DlgTESDICO->Frame->EditorTESDICO->GetText().str(), "root")
      << "the dictionary owner defaults to the administrator";
}

TEST_F(Navigation, Db2WithoutAnyInstanceStaysOnTheOwnerPage) {
  H::_nvIBMDB2UDB = 1;
  setenv("PATH", directory.Path().c_str(), 1);  // no instance listing program
  ZEP2DlgTESDICO* page = controller->_DlgTESDICO;
  page->Frame->EditorTESDICO->SetText("pdmdico");
  page->Frame->EditorTESDICOP->SetText("secret");
  Next(page);
  setenv("PATH", "/usr/bin:/bin", 1);
  EXPECT_EQ(Shown(), "PanelTESDICO");
  EXPECT_TRUE(boxes->texts.empty()) << "no box, only the trace";
  EXPECT_NE(Trace().find("\nCB_AUTHMode_Next NO DB2 INSTANCE!!!"), std::string::npos);
}

// A DB2 instance or database the listings missed is typed; the name is what
// the pages go on with, and a page stays with its answers when none is given
// or its directory is missing.
TEST_F(Navigation, TypedDb2NamesAreCheckedLikeChosenOnes) {
  ZEP2DlgDB2Param* instancePage = controller->_DlgDB2Param;
  QelDlgCombo& instances = *instancePage->Frame->ComboDB2Instance;
  for (const char* line : {"db2inst1", ZEP2DlgDB2Param::OthersLine}) instances.AddLine(line);
  instancePage->SetVisibility(QelDlgObject::Shown);
  instances.ChooseLine(1);
  Next(instancePage);
  EXPECT_EQ(boxes->texts.back(), "INPUT ERROR:\nInstallation cannot find directory : \n")
      << "choosing Others ... empties the home";
  instancePage->Frame->EditorDB2InstanceHD->SetText(directory.Path());
  Next(instancePage);
  EXPECT_EQ(boxes->texts.back(),
            "INPUT ERROR:\nInstallation needs the name of a DB2 instance : \nchoose it in the "
            "list, or choose \"Others ...\" and type it.");
  ASSERT_TRUE(instances.EnterText("db2lost"));
  Next(instancePage);
  EXPECT_EQ(boxes->texts.back(), "INPUT ERROR:\nInstallation cannot find directory : \n")
      << "an instance without an account has no home to propose";
  EXPECT_EQ(Shown(), "PanelDB2Param");
  EXPECT_EQ(H::_svDB2INSTANCE.str(), "db2lost");
  EXPECT_EQ(H::_nvINSTPARTII, 0) << "a refused page starts no son";
  Back(instancePage);
  EXPECT_EQ(Shown(), "PanelTESDICO");
  EXPECT_EQ(instances.GetField().str(), "db2lost") << "Back keeps what was typed";

  ZEP2DlgDB2Param2* databasePage = controller->_DlgDB2Param2;
  QelDlgCombo& aliases = *databasePage->Frame->ComboDB2AliasName;
  QelDlgEditor& drive = *databasePage->Frame->EditorDB2DriveDir;
  aliases.AddLine(ZEP2DlgDB2Param::OthersLine);
  H::_svDB2INSTANCE = "db2inst1";
  H::_nvDB2Local = 1;
  H::_nvDB2Remote = 0;
  Next(databasePage);
  EXPECT_EQ(boxes->texts.back(),
            "INPUT ERROR:\nInstallation needs the alias of a DB2 database : \nchoose it in the "
            "list, or choose \"Others ...\" and type it.");
  databasePage->SetVisibility(QelDlgObject::Shown);
  ASSERT_TRUE(aliases.EnterText("PDMEXTRA"));
  drive.SetText(directory.File("nowhere"));
  Next(databasePage);
  EXPECT_EQ(boxes->texts.back(),
            "INPUT ERROR:\nInstallation cannot find directory : \n" + directory.File("nowhere"));
  EXPECT_EQ(Shown(), "PanelDB2Param2");

  drive.SetText(directory.Path());
  Next(databasePage);
  EXPECT_EQ(Shown(), "PanelDBAUSER") << "a database the scan missed, where the person says";
  EXPECT_EQ(H::_svDB2ALIASNAME.str(), "PDMEXTRA");
  EXPECT_EQ(H::_nvDB2Local, 1);
  EXPECT_EQ(controller->_DlgDBAUSER->Frame->EditorDBAUSER->GetText().str(), "db2inst1");

  drive.SetText("");
  Next(databasePage);
  EXPECT_EQ(Shown(), "PanelDBAUSER") << "without a directory the database is remote";
  EXPECT_EQ(H::_nvDB2Local, 0);
  EXPECT_EQ(H::_nvDB2Remote, 1);
}

}  // namespace
