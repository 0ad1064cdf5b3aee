// The account, task, DBMS and DB2 pages: what they load and trace, the
// widgets the controller reads, and the handlers that keep the run's flags
// and directories in step with what is chosen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TempDirectory.h"
#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2DlgDB2Param.h"
#include "pages/ZEP2DlgDB2Param2.h"
#include "pages/ZEP2DlgDBMSType.h"
#include "pages/ZEP2DlgTESADM.h"
#include "pages/ZEP2DlgTESDICO.h"
#include "pages/ZEP2DlgTOEXE.h"
#include "platform/QelApplication.h"
#include "platform/QelLog.h"

namespace {

// The catalogues shipped with the program, found from this source file.
std::string ShippedCatalogues() {
  return (std::filesystem::path(__FILE__).parent_path() / "../../share/msgcatalog")
      .lexically_normal()
      .string();
}

template <class Page>
std::unique_ptr<ZEP2PageDialog> BuildPage(QelInteractiveApplication* application,
                                          const char* identifier) {
  auto page = std::make_unique<Page>(application, identifier);
  page->Build();
  return page;
}

struct PageCase {
  const char* identifier;
  const char* name;
  int dialogKeys;
  int frameKeys;
  std::function<std::unique_ptr<ZEP2PageDialog>(QelInteractiveApplication*, const char*)> build;
};

const std::vector<PageCase>& AllPages() {
  static const std::vector<PageCase> pages = {
      {"PanelTESADM", "TESADM", 12, 7, BuildPage<ZEP2DlgTESADM>},
      {"PanelTESDICO", "TESDICO", 12, 7, BuildPage<ZEP2DlgTESDICO>},
      {"PanelTOEXE", "TOEXE", 5, 12, BuildPage<ZEP2DlgTOEXE>},
      {"PanelDBMSType", "DBMSType", 5, 9, BuildPage<ZEP2DlgDBMSType>},
      {"PanelDB2Param", "DB2Param", 5, 7, BuildPage<ZEP2DlgDB2Param>},
      {"PanelDB2Param2", "DB2Param2", 5, 8, BuildPage<ZEP2DlgDB2Param2>},
  };
  return pages;
}

int Count(const std::string& text, const std::string& what) {
  int count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}

class AccountAndDbmsPages : public ::testing::Test {
 protected:
  void SetUp() override {
    ZEP2InstHQ::ResetInstallationParameters();
    std::filesystem::create_directories(directory.File("catalogs"));
    setenv("QelMsgCatalogPath", directory.File("catalogs").c_str(), 1);
    OpenTraceLogFile(directory.File("trace").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("QelMsgCatalogPath");
    unsetenv("TESSARDBSETUP_SANDBOX");
    QelCloseLogFiles();
    ZEP2InstHQ::ResetInstallationParameters();
  }
  std::string Trace() const { return ReadWholeFile(directory.File("trace")); }
  void WriteCatalogue(const std::string& name, const std::string& content) const {
    std::ofstream(directory.File("catalogs/" + name + ".cat")) << content;
  }

  TempDirectory directory;
  QelInteractiveApplication application{nullptr, "test"};
};

TEST_F(AccountAndDbmsPages, WithoutCataloguesEveryPageBuildsAndTracesEachKeyOnce) {
  std::vector<std::unique_ptr<ZEP2PageDialog>> pages;
  for (const PageCase& page : AllPages())
    pages.push_back(page.build(&application, page.identifier));

  const std::string trace = Trace();
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const PageCase& expected = AllPages()[i];
    const std::string dialog = std::string("ZEP2Dlg") + expected.name;
    const std::string frame = std::string("ZEP2Frm") + expected.name;
    SCOPED_TRACE(expected.name);
    EXPECT_EQ(Count(trace, "\nError on LoadMsgCatalog " + dialog + "!!!"), 1);
    EXPECT_EQ(Count(trace, "\nError on LoadMsgCatalog " + frame + "!!!"), 1);
    EXPECT_EQ(Count(trace, "\nError on GetCatalogMsg " + dialog + " "), expected.dialogKeys);
    EXPECT_EQ(Count(trace, "\nError on GetCatalogMsg " + frame + " "), expected.frameKeys);
    EXPECT_EQ(Count(trace, "\nError on GetCatalogMsg " + frame + " Title"), 1);

    const ZEP2PageDialog& page = *pages[i];
    EXPECT_EQ(page.GetCommandName().str(), expected.identifier);
    EXPECT_EQ(page.GetTitle().str(), "");
    EXPECT_FALSE(page.IsVisible());
    EXPECT_EQ(page.GetDefaultButton(), QelDlgDialog::CANCELButtonValue);
    EXPECT_EQ(page.GetWidth(), 350);
    EXPECT_EQ(page.GetHeight(), 545);
    EXPECT_NE(pages[i]->FindObject("PtrZEP2Frm" + std::string(expected.name)), nullptr);
    EXPECT_EQ(page.IsButtonSensitive(QelDlgDialog::OK), i != 0)
        << "only the first page has no Back";
  }
  EXPECT_NE(trace.find("\nError on GetCatalogMsg ZEP2DlgTESADM ERRMSGRootUserForbidden\n"),
            std::string::npos);
  EXPECT_NE(trace.find("\nError on GetCatalogMsg ZEP2FrmTOEXE ChkButTOEXEClash\n"),
            std::string::npos);
  EXPECT_NE(trace.find("\nError on GetCatalogMsg ZEP2FrmDB2Param2 LabelDB2DriveDirRemote"),
            std::string::npos);
}

TEST_F(AccountAndDbmsPages, ShippedCataloguesHoldATextForEveryKey) {
  setenv("QelMsgCatalogPath", ShippedCatalogues().c_str(), 1);
  std::vector<std::unique_ptr<ZEP2PageDialog>> pages;
  for (const PageCase& page : AllPages())
    pages.push_back(page.build(&application, page.identifier));

  const std::string trace = Trace();
  EXPECT_EQ(trace.find("Error on"), std::string::npos) << trace;
  for (const auto& page : pages) {
    EXPECT_EQ(page->GetTitle().str().rfind("Database Setup - ", 0), 0u) << page->GetTitle().str();
    EXPECT_NE(page->CANCELTextToDisplayForCANCEL.str().find("Nothing has been changed"),
              std::string::npos);
  }

  const auto& administrator = static_cast<const ZEP2DlgTESADM&>(*pages[0]);
  EXPECT_EQ(administrator.Frame->LabelTESADMP->GetTitle().str(),
            administrator.Frame->LabelTESADMPTitle.str());
  const auto& tasks = static_cast<const ZEP2DlgTOEXE&>(*pages[2]);
  EXPECT_EQ(tasks.Frame->ChkButTOEXEClashInst->GetTitle().str(),
            tasks.Frame->ChkButTOEXEClashInstTitle.str());
  const auto& database = static_cast<const ZEP2DlgDB2Param2&>(*pages[5]);
  EXPECT_EQ(database.Frame->LabelDB2DriveDir->GetTitle().str(),
            database.Frame->LabelDB2DriveDirLocalTitle.str())
      << "the drive label starts with the local text";
}

struct WidgetCase {
  int page;
  const char* name;
  const char* kind;
  const char* parent;
  unsigned long style;
  int width;
  bool sensitive;
  bool visible;
};

TEST_F(AccountAndDbmsPages, WidgetsHaveTheirKindPlaceStyleAndInitialState) {
  std::vector<std::unique_ptr<ZEP2PageDialog>> pages;
  for (const PageCase& page : AllPages())
    pages.push_back(page.build(&application, page.identifier));

  const WidgetCase widgets[] = {
      {0, "EditorTESADM", "editor", "Frame11221", 0, 15, true, true},
      {0, "EditorTESADMP", "editor", "Frame11222", 0x40000, 15, true, true},
      {0, "LabelTESADMQuatro", "label", "Frame1121", 0, 0, true, true},
      {1, "EditorTESDICO", "editor", "Frame11221", 0, 15, true, true},
      {1, "EditorTESDICOP", "editor", "Frame11222", 0x40000, 15, true, true},
      {2, "ChkButTOEXEVault", "checkbutton", "Frame11221", 0, 0, true, false},
      {2, "SepClash", "separator", "Frame11221", 0, 0, true, true},
      {2, "RadButTOEXEClashServer", "radiobutton", "Frame11222", 0, 0, false, true},
      {2, "RadButTOEXEClashClient", "radiobutton", "Frame11222", 0, 0, false, true},
      {3, "RadButOracle", "radiobutton", "Frame11221", 0, 0, true, true},
      {3, "LabelOracle", "label", "Frame11222", 0, 0, true, true},
      {4, "ComboDB2Instance", "combo", "Frame11221", 0x40000, 0, true, true},
      {4, "EditorDB2InstanceHD", "editor", "Frame11222", 0x4000000, 0, true, true},
      {5, "ComboDB2AliasName", "combo", "Frame11221", 0x40000, 0, true, true},
      {5, "EditorDB2DriveDir", "editor", "Frame11222", 0x4000000, 0, true, true},
  };
  for (const WidgetCase& expected : widgets) {
    SCOPED_TRACE(expected.name);
    const QelDlgObject* widget = pages[expected.page]->FindObject(expected.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_STREQ(widget->GetKind(), expected.kind);
    EXPECT_EQ(widget->GetParent()->GetCommandName().str(), expected.parent);
    EXPECT_EQ(widget->GetStyle(), expected.style);
    EXPECT_EQ(widget->GetVisibleTextWidth(), expected.width);
    EXPECT_EQ(widget->IsSensitive(), expected.sensitive);
    EXPECT_EQ(widget->IsVisible(), expected.visible);
  }

  const auto& tasks = static_cast<const ZEP2DlgTOEXE&>(*pages[2]);
  EXPECT_TRUE(tasks.Frame->ChkButTOEXEDBObj->IsChecked());
  EXPECT_TRUE(tasks.Frame->ChkButTOEXEStartupData->IsChecked());
  EXPECT_FALSE(tasks.Frame->ChkButTOEXEVault->IsChecked());
  EXPECT_FALSE(tasks.Frame->ChkButTOEXEClashInst->IsChecked());
  EXPECT_FALSE(tasks.Frame->RadButTOEXEClashServer->IsChecked());
  EXPECT_TRUE(tasks.Frame->RadButTOEXEClashClient->IsChecked());
  const auto& dbms = static_cast<const ZEP2DlgDBMSType&>(*pages[3]);
  EXPECT_TRUE(dbms.Frame->RadButIBMUDB->IsChecked());
  EXPECT_FALSE(dbms.Frame->RadButOracle->IsChecked());
  pages[3]->SetVisibility(QelDlgObject::Shown);
  dbms.Frame->RadButOracle->Click();
  EXPECT_FALSE(dbms.Frame->RadButIBMUDB->IsChecked()) << "the two systems exclude each other";
  EXPECT_EQ(static_cast<const ZEP2DlgDB2Param&>(*pages[4])
                .Frame->ComboDB2Instance->GetVisibleTextHeight(),
            5);

  const auto& administrator = static_cast<const ZEP2DlgTESADM&>(*pages[0]);
  EXPECT_TRUE(administrator.Frame->EditorTESADM->CommitText("pdmadm"));
  EXPECT_FALSE(administrator.Frame->EditorTESADM->CommitText("pdm adm"));
  EXPECT_EQ(administrator.Frame->EditorTESADM->GetText().str(), "pdmadm") << "typed as is";
  const auto& owner = static_cast<const ZEP2DlgTESDICO&>(*pages[1]);
  EXPECT_FALSE(owner.Frame->EditorTESDICOP->CommitText("two\nlines"));
}

TEST_F(AccountAndDbmsPages, TaskFlagsFollowTheButtonsByTheirRules) {
  ZEP2DlgTOEXE page(&application, "PanelTOEXE");
  page.Build();
  page.SetVisibility(QelDlgObject::Shown);
  ZEP2FrmTOEXE& frame = *page.Frame;

  frame.ChkButTOEXEStartupData->Click();
  EXPECT_EQ(ZEP2InstHQ::_nvEXEStartupData, 0);
  frame.ChkButTOEXEStartupData->Click();
  EXPECT_EQ(ZEP2InstHQ::_nvEXEStartupData, 1);
  frame.ChkButTOEXEDBObj->Click();
  EXPECT_EQ(ZEP2InstHQ::_nvEXEDBObj, 0);
  frame.ChkButTOEXEStartupData->Click();
  EXPECT_FALSE(frame.ChkButTOEXEStartupData->IsChecked());
  EXPECT_EQ(ZEP2InstHQ::_nvEXEStartupData, 1) << "decided only while the objects are chosen";
  frame.ChkButTOEXEDBObj->Click();
  EXPECT_EQ(ZEP2InstHQ::_nvEXEDBObj, 1);

  frame.RadButTOEXEClashServer->Click();
  EXPECT_FALSE(frame.RadButTOEXEClashServer->IsChecked()) << "insensitive until clash is chosen";
  frame.ChkButTOEXEClashInst->Click();
  EXPECT_EQ(ZEP2InstHQ::_nvEXEClashInst, 1);
  EXPECT_TRUE(frame.RadButTOEXEClashServer->IsSensitive());
  EXPECT_TRUE(frame.RadButTOEXEClashClient->IsSensitive());
  frame.RadButTOEXEClashServer->Click();
  EXPECT_TRUE(frame.RadButTOEXEClashServer->IsChecked());
  EXPECT_FALSE(frame.RadButTOEXEClashClient->IsChecked());
  EXPECT_EQ(ZEP2InstHQ::_nvEXEClashServer, 1);
  frame.RadButTOEXEClashServer->Click();
  EXPECT_TRUE(frame.RadButTOEXEClashClient->IsChecked()) << "one of the two is always checked";
  EXPECT_EQ(ZEP2InstHQ::_nvEXEClashServer, 0);
  frame.RadButTOEXEClashClient->Click();
  EXPECT_TRUE(frame.RadButTOEXEClashServer->IsChecked());
  EXPECT_EQ(ZEP2InstHQ::_nvEXEClashServer, 1);
  frame.ChkButTOEXEClashInst->Click();
  EXPECT_EQ(ZEP2InstHQ::_nvEXEClashInst, 0);
  EXPECT_FALSE(frame.RadButTOEXEClashServer->IsSensitive());
  EXPECT_FALSE(frame.RadButTOEXEClashClient->IsSensitive());

  // The vault button is hidden: its sensitivity, not its check, is the answer.
  frame.ChkButTOEXEVault->SetState(QelDlgToggle::Unchecked, true);
  EXPECT_EQ(ZEP2InstHQ::_nvEXEVault, 1);
  frame.ChkButTOEXEVault->SetSensitivity(QelDlgObject::Insensitive);
  frame.ChkButTOEXEVault->SetState(QelDlgToggle::Checked, true);
  EXPECT_EQ(ZEP2InstHQ::_nvEXEVault, 0);

  const std::string trace = Trace();
  EXPECT_EQ(Count(trace, "\nChkButTOEXEStartupDataSelectNotification"), 3);
  EXPECT_EQ(Count(trace, "\nChkButTOEXEDBObjSelectNotification"), 2);
  EXPECT_EQ(Count(trace, "\nChkButTOEXEClashInstSelectNotification"), 2);
  EXPECT_EQ(Count(trace, "\nRadButTOEXEClashServerSelectNotification"), 3);
  EXPECT_EQ(Count(trace, "\nRadButTOEXEClashClientSelectNotification"), 2);
  EXPECT_EQ(Count(trace, "\nChkButTOEXEVaultSelectNotification"), 2);
}

TEST_F(AccountAndDbmsPages, ChosenInstanceProposesItsOwnersHome) {
  std::filesystem::create_directories(directory.File("site/etc"));
  std::ofstream(directory.File("site/etc/passwd"))
      << "pdmadm:x:1000:1000::/home/pdmadm:/bin/sh\n"
         "db2inst1:x:1001:1001::/home/db2inst1:/bin/sh\n";
  setenv("TESSARDBSETUP_SANDBOX", directory.File("site").c_str(), 1);
  ZEP2DlgDB2Param page(&application, "PanelDB2Param");
  page.Build();
  QelDlgCombo& combo = *page.Frame->ComboDB2Instance;
  QelDlgEditor& home = *page.Frame->EditorDB2InstanceHD;
  for (const char* line : {"db2ghost", "db2inst1", ZEP2DlgDB2Param::OthersLine})
    combo.AddLine(line);
  home.SetText("/typed/by/hand");

  combo.SetSelectedPosition(0, true);
  EXPECT_EQ(home.GetText().str(), "/typed/by/hand") << "an instance without an account";
  combo.SetSelectedPosition(1, true);
  EXPECT_EQ(home.GetText().str(), "/home/db2inst1");
  EXPECT_TRUE(page.IsVisible());
  combo.SetSelectedPosition(2, true);
  EXPECT_EQ(home.GetText().str(), "");

  const std::string trace = Trace();
  EXPECT_EQ(Count(trace, "\nComboSelectNotification begin ..."), 3);
  EXPECT_EQ(Count(trace, "\nComboSelectNotification end ..."), 3);
  EXPECT_EQ(Count(trace, "\ngetpwnam error !!!"), 1);
  EXPECT_EQ(Count(trace, "\nDB2 instance home directory: /home/db2inst1"), 1);
}

TEST_F(AccountAndDbmsPages, TypedInstanceProposesItsOwnersHomeOrNone) {
  std::filesystem::create_directories(directory.File("site/etc"));
  std::ofstream(directory.File("site/etc/passwd"))
      << "pdmadm:x:1000:1000::/home/pdmadm:/bin/sh\n"
         "db2inst1:x:1001:1001::/home/db2inst1:/bin/sh\n";
  setenv("TESSARDBSETUP_SANDBOX", directory.File("site").c_str(), 1);
  ZEP2DlgDB2Param page(&application, "PanelDB2Param");
  page.Build();
  page.SetVisibility(QelDlgObject::Shown);
  QelDlgCombo& combo = *page.Frame->ComboDB2Instance;
  QelDlgEditor& home = *page.Frame->EditorDB2InstanceHD;
  for (const char* line : {"db2inst1", ZEP2DlgDB2Param::OthersLine}) combo.AddLine(line);
  EXPECT_TRUE(combo.HasEntryField());
  EXPECT_TRUE(combo.IsTypingLine(1));

  combo.SetSelectedPosition(0, true);
  ASSERT_TRUE(combo.EnterText("pdmadm"));
  EXPECT_EQ(home.GetText().str(), "/home/pdmadm");
  EXPECT_EQ(ZEP2DlgDB2Param::ChosenName(combo).str(), "pdmadm");
  ASSERT_TRUE(combo.EnterText("db2ghost"));
  EXPECT_EQ(home.GetText().str(), "") << "the home shown was another instance's";
  EXPECT_EQ(ZEP2DlgDB2Param::ChosenName(combo).str(), "db2ghost");
  home.SetText("/typed/by/hand");
  ASSERT_TRUE(combo.EnterText("db2inst1"));
  EXPECT_EQ(combo.GetSelectedPosition(), 0) << "typing a listed instance chooses it";
  EXPECT_EQ(home.GetText().str(), "/home/db2inst1");
  combo.ChooseLine(1);
  EXPECT_EQ(ZEP2DlgDB2Param::ChosenName(combo).str(), "") << "nothing typed after Others yet";

  const std::string trace = Trace();
  EXPECT_EQ(Count(trace, "\nComboSelectNotification begin ..."), 5);
  EXPECT_EQ(Count(trace, "\ngetpwnam error !!!"), 1);
  EXPECT_EQ(Count(trace, "\nDB2 instance home directory: /home/pdmadm"), 1);
}

TEST_F(AccountAndDbmsPages, TypedAliasTheScanMissedLeavesItsDirectoryToThePerson) {
  auto& entries = ZEP2InstHQ::_PtrSqldeinfoColl;
  entries.Clear();
  entries.Append(std::make_unique<ZEP2sqldeinfo>("FARDB", "FARDB", "/far/side", "NODE1",
                                                 ZEP2sqldeinfo::Remote, 0));
  entries.Append(std::make_unique<ZEP2sqldeinfo>("PDMDB", "PDMDB", "/db2/data", "",
                                                 ZEP2sqldeinfo::Indirect, 0));
  ZEP2DlgDB2Param2 page(&application, "PanelDB2Param2");
  page.Build();
  page.SetVisibility(QelDlgObject::Shown);
  ZEP2FrmDB2Param2& frame = *page.Frame;
  QelDlgCombo& combo = *frame.ComboDB2AliasName;
  for (const char* line : {"FARDB", "PDMDB", ZEP2DlgDB2Param::OthersLine}) combo.AddLine(line);

  combo.SetSelectedPosition(0, true);
  ASSERT_TRUE(combo.EnterText("PDMEXTRA"));
  EXPECT_EQ(combo.GetField().str(), "PDMEXTRA") << "the typed alias stays in the field";
  EXPECT_EQ(frame.EditorDB2DriveDir->GetText().str(), "");
  EXPECT_EQ(frame.LabelDB2DriveDir->GetTitle().str(), frame.LabelDB2DriveDirLocalTitle.str());
  EXPECT_EQ(ZEP2DlgDB2Param2::FindEntry("PDMEXTRA"), nullptr);

  ASSERT_TRUE(combo.EnterText("PDMDB"));
  EXPECT_EQ(combo.GetSelectedPosition(), 1);
  EXPECT_EQ(frame.EditorDB2DriveDir->GetText().str(), "/db2/data");
  EXPECT_EQ(ZEP2InstHQ::_nvDB2Local, 1);
  ASSERT_NE(ZEP2DlgDB2Param2::FindEntry("FARDB"), nullptr);
  EXPECT_EQ(ZEP2DlgDB2Param2::FindEntry("FARDB")->nodename.str(), "NODE1");
  entries.Clear();
}

TEST_F(AccountAndDbmsPages, ChosenAliasTellsLocalFromRemote) {
  WriteCatalogue("ZEP2FrmDB2Param2",
                 "Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelDB2DriveDirLocal.Title = "
                 "Directory:\n"
                 "Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelDB2DriveDirRemote.Title = "
                 "Remote:\n");
  auto& entries = ZEP2InstHQ::_PtrSqldeinfoColl;
  entries.Append(std::make_unique<ZEP2sqldeinfo>("FARDB", "FARDB", "/far/side", "NODE1",
                                                 ZEP2sqldeinfo::Remote, 0));
  entries.Append(std::make_unique<ZEP2sqldeinfo>("PDMDB", "PDMDB", "/db2/data", "",
                                                 ZEP2sqldeinfo::Indirect, 0));
  entries.Append(std::make_unique<ZEP2sqldeinfo>("PDMDB", "OTHER", "/db2/second", "",
                                                 ZEP2sqldeinfo::Indirect, 0));
  ZEP2DlgDB2Param2 page(&application, "PanelDB2Param2");
  page.Build();
  ZEP2FrmDB2Param2& frame = *page.Frame;
  QelDlgCombo& combo = *frame.ComboDB2AliasName;
  for (const char* line : {"FARDB", "PDMDB", "LOSTDB", ZEP2DlgDB2Param::OthersLine}) {
    combo.AddLine(line);
  }

  combo.SetSelectedPosition(1, true);
  EXPECT_EQ(ZEP2InstHQ::_svDB2DRIVEDir.str(), "/db2/data") << "the first entry of the alias";
  EXPECT_EQ(ZEP2InstHQ::_nvDB2Local, 1);
  EXPECT_EQ(ZEP2InstHQ::_nvDB2Remote, 0);
  EXPECT_EQ(frame.EditorDB2DriveDir->GetText().str(), "/db2/data");
  EXPECT_EQ(frame.LabelDB2DriveDir->GetTitle().str(), "Directory:");
  EXPECT_EQ(combo.GetField().str(), "PDMDB");

  combo.SetSelectedPosition(0, true);
  EXPECT_EQ(ZEP2InstHQ::_svDB2DRIVEDir.str(), "/far/side");
  EXPECT_EQ(ZEP2InstHQ::_nvDB2Local, 0);
  EXPECT_EQ(ZEP2InstHQ::_nvDB2Remote, 1);
  EXPECT_EQ(frame.EditorDB2DriveDir->GetText().str(), "");
  EXPECT_EQ(frame.LabelDB2DriveDir->GetTitle().str(), "Remote:");

  frame.EditorDB2DriveDir->SetText("/kept");
  combo.SetSelectedPosition(2, true);
  EXPECT_EQ(combo.GetField().str(), "LOSTDB");
  EXPECT_EQ(ZEP2InstHQ::_svDB2DRIVEDir.str(), "/far/side") << "an unknown alias changes nothing";
  EXPECT_EQ(ZEP2InstHQ::_nvDB2Remote, 1);
  EXPECT_EQ(frame.EditorDB2DriveDir->GetText().str(), "/kept");
  EXPECT_EQ(frame.LabelDB2DriveDir->GetTitle().str(), "Remote:");

  combo.SetSelectedPosition(3, true);
  EXPECT_EQ(frame.EditorDB2DriveDir->GetText().str(), "");
  EXPECT_TRUE(page.IsVisible());

  const std::string trace = Trace();
  EXPECT_EQ(Count(trace, "\nSelectNotification !"), 4);
  EXPECT_EQ(Count(trace, "\nDB2 Alias Name found in collection ..."), 2);
  EXPECT_EQ(Count(trace, "\nREMOTE !!!"), 1);
  EXPECT_EQ(Count(trace, "\nNOT REMOTE !!!"), 1);
  EXPECT_EQ(Count(trace, "\nDB2Drive : </db2/data>"), 1);
}

}  // namespace
