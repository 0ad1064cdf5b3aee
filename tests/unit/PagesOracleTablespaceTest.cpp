// The Oracle, tablespace and execution-mode pages: their catalogue keys,
// editor filters and own handlers, and the free-space measure.
#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "TempDirectory.h"
#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2DlgEXEParam.h"
#include "pages/ZEP2DlgORALoc.h"
#include "pages/ZEP2DlgORAParam.h"
#include "pages/ZEP2DlgORAParam2.h"
#include "pages/ZEP2DlgTBSTypical.h"
#include "pages/ZEP2DlgTBSTypicalSel.h"
#include "platform/QelApplication.h"
#include "platform/QelLog.h"

namespace {

const std::string ShippedCatalogues =
    (std::filesystem::path(__FILE__).parent_path() / "../../share/msgcatalog").string();

int Count(const std::string& text, const std::string& what) {
  int count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}

template <class Page>
std::unique_ptr<Page> BuildPage(QelInteractiveApplication* application, const char* identifier) {
  auto page = std::make_unique<Page>(application, identifier);
  page->Build();
  return page;
}

struct PageCase {
  const char* page;
  const char* identifier;
  int dialogKeys;
  int frameKeys;
  std::function<std::unique_ptr<ZEP2PageDialog>(QelInteractiveApplication*, const char*)> build;
};

const PageCase Pages[] = {
    {"ORALoc", "PanelORALoc", 5, 13, BuildPage<ZEP2DlgORALoc>},
    {"ORAParam", "PanelORAParam", 11, 7, BuildPage<ZEP2DlgORAParam>},
    {"ORAParam2", "PanelORAParam2", 11, 11, BuildPage<ZEP2DlgORAParam2>},
    {"TBSTypicalSel", "PanelTBSTypicalSel", 5, 9, BuildPage<ZEP2DlgTBSTypicalSel>},
    {"TBSTypical", "PanelTBSTypical", 14, 11, BuildPage<ZEP2DlgTBSTypical>},
    {"EXEParam", "PanelEXECParam", 10, 11, BuildPage<ZEP2DlgEXEParam>},
};

// Captions a person reads: every label and button below the titled frame.
void ExpectCaptioned(const QelDlgObject* object, const std::string& page) {
  const std::string kind = object->GetKind();
  const std::string name = object->GetCommandName().str();
  if ((kind == "label" || kind == "radiobutton" || kind == "checkbutton") && name != "Label111" &&
      name != "LabelTBSTypicalBLOBName") {
    EXPECT_NE(object->GetTitle().str(), "") << page << " " << name;
  }
  for (const auto& child : object->GetChildren()) ExpectCaptioned(child.get(), page);
}

class OracleTablespacePages : public ::testing::Test {
 protected:
  void SetUp() override {
    ZEP2InstHQ::ResetInstallationParameters();
    std::filesystem::create_directories(directory.File("empty"));
    setenv("QelMsgCatalogPath", directory.File("empty").c_str(), 1);
    OpenTraceLogFile(directory.File("trace").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("QelMsgCatalogPath");
    QelCloseLogFiles();
  }
  void UseShippedCatalogues() { setenv("QelMsgCatalogPath", ShippedCatalogues.c_str(), 1); }
  std::string Trace() const { return ReadWholeFile(directory.File("trace")); }

  TempDirectory directory;
  QelInteractiveApplication application{nullptr, "test"};
};

TEST_F(OracleTablespacePages, WithoutCataloguesEachPageTracesEveryKeyOnceAndStartsHidden) {
  for (const PageCase& page : Pages) {
    const std::string trace = directory.File(std::string("trace.") + page.page);
    OpenTraceLogFile(trace.c_str(), 1);
    const auto dialog = page.build(&application, page.identifier);
    const std::string text = ReadWholeFile(trace);
    const std::string dialogClass = std::string("ZEP2Dlg") + page.page;
    const std::string frameClass = std::string("ZEP2Frm") + page.page;
    EXPECT_EQ(Count(text, "\nError on LoadMsgCatalog " + dialogClass + "!!!"), 1) << page.page;
    EXPECT_EQ(Count(text, "\nError on LoadMsgCatalog " + frameClass + "!!!"), 1) << page.page;
    EXPECT_EQ(Count(text, "\nError on GetCatalogMsg " + dialogClass + " "), page.dialogKeys)
        << page.page;
    EXPECT_EQ(Count(text, "\nError on GetCatalogMsg " + frameClass + " "), page.frameKeys)
        << page.page;
    EXPECT_EQ(Count(text, "\nError on GetCatalogMsg " + frameClass + " Title"), 1) << page.page;
    EXPECT_EQ(dialog->GetCommandName().str(), page.identifier);
    EXPECT_EQ(dialog->GetTitle().str(), "");
    EXPECT_FALSE(dialog->IsVisible()) << page.page;
    EXPECT_EQ(dialog->GetDefaultButton(), QelDlgDialog::CANCELButtonValue);
    EXPECT_NE(dialog->FindObject(("PtrZEP2Frm" + std::string(page.page)).c_str()), nullptr);
  }
  const std::string tablespace = ReadWholeFile(directory.File("trace.TBSTypical"));
  EXPECT_EQ(Count(tablespace, "ZEP2FrmTBSTypical LabelTBSTypicalSpace_ko"), 1);
  EXPECT_EQ(Count(tablespace, "ZEP2FrmTBSTypical LabelTBSTypicalSpace_undefined"), 1);
  EXPECT_EQ(Count(ReadWholeFile(directory.File("trace.TBSTypicalSel")),
                  "ZEP2FrmTBSTypicalSel LabelTBSTypicalComboDef"),
            1);
}

TEST_F(OracleTablespacePages, ShippedCataloguesGiveEveryKeyAndCaptionAText) {
  UseShippedCatalogues();
  for (const PageCase& page : Pages) {
    const auto dialog = page.build(&application, page.identifier);
    EXPECT_EQ(dialog->GetTitle().str().rfind("Database Setup - ", 0), 0u) << page.page;
    EXPECT_NE(dialog->CANCELTextToDisplayForCANCEL.str(), "") << page.page;
    ExpectCaptioned(dialog.get(), page.page);
  }
  const std::string trace = Trace();
  EXPECT_EQ(trace.find("Error on"), std::string::npos) << trace;

  const auto selection = BuildPage<ZEP2DlgTBSTypicalSel>(&application, "PanelTBSTypicalSel");
  EXPECT_EQ(selection->Frame->LabelTBSTypicalComboDefTitle.str(), "<New tablespace>");
  const auto tablespace = BuildPage<ZEP2DlgTBSTypical>(&application, "PanelTBSTypical");
  EXPECT_EQ(tablespace->Frame->LabelTBSTypicalSpace_koTitle.str(), " KB.");
  EXPECT_EQ(tablespace->Frame->LabelTBSTypicalSpace_undefinedTitle.str(), " undefined.");
  EXPECT_NE(tablespace->ERRMSGTextToDisplayForSPACE_TBSDATAFILE.str(), "");
  const auto oracle = BuildPage<ZEP2DlgORAParam>(&application, "PanelORAParam");
  EXPECT_NE(oracle->ERRMSGTextToDisplayForWRONGPATH.str(), "");
}

TEST(PageFilters, BlanksAndLineBreaksAreRefusedAnywhereWhateverTheLength) {
  const std::string longPath = "/" + std::string(4000, 'd') + "/data_file-01.dbf";
  int frame = 0;
  for (const auto filter : {InputCheckFrameEXEParam, InputCheckFrameORAParam,
                            InputCheckFrameORAParam2, InputCheckFrameTBSTypical}) {
    for (const char bad : {' ', '\n', '\r'}) {
      for (const std::string& text :
           {std::string(1, bad) + "/u01", "/u01" + std::string(1, bad) + "/oradata",
            "/u01/oradata" + std::string(1, bad)}) {
        EXPECT_EQ(filter(text, nullptr), 0) << static_cast<int>(bad);
      }
    }
    EXPECT_EQ(filter(longPath, nullptr), 1);
    EXPECT_EQ(filter("TESTBS", &frame), 1);
    EXPECT_EQ(filter("", nullptr), 1) << "an empty answer is refused by Next, with its message";
    EXPECT_EQ(filter("\t/u01", nullptr), 1) << "only blank, line feed and carriage return count";
  }

  for (const auto filter : {InputVerifORADBAId, InputVerifORAServiceName, InputVerifORATNSADMIN}) {
    EXPECT_EQ(filter("PDMDB", nullptr), 0);
    EXPECT_EQ(filter("PDMDB", &frame), 0);
  }
  for (const auto filter : {InputVerifTBSTypicalName, InputVerifTBSTypicalDir}) {
    EXPECT_EQ(filter("TESTBS", nullptr), 1);
    EXPECT_EQ(filter("TESTBS", &frame), 0);
  }
}

TEST_F(OracleTablespacePages, EditorsRefuseBlanksThroughTheirFiltersAndDropTrailingSlashes) {
  const auto oracle = BuildPage<ZEP2DlgORAParam>(&application, "PanelORAParam");
  const auto service = BuildPage<ZEP2DlgORAParam2>(&application, "PanelORAParam2");
  const auto tablespace = BuildPage<ZEP2DlgTBSTypical>(&application, "PanelTBSTypical");
  const auto execution = BuildPage<ZEP2DlgEXEParam>(&application, "PanelEXECParam");
  for (QelDlgEditor* editor :
       {oracle->Frame->EditorORACLE_HOME, oracle->Frame->EditorORACLE_N32_HOME,
        service->Frame->EditorORAServiceName, service->Frame->EditorORATNSADMIN,
        tablespace->Frame->EditorTBSTypicalName, tablespace->Frame->EditorTBSTypicalBLOBName,
        tablespace->Frame->EditorTBSTypicalDir, execution->Frame->EditorEXEDDLFileName,
        execution->Frame->EditorEXEDDLFilePath}) {
    EXPECT_FALSE(editor->CommitText("two words")) << editor->GetCommandName().str();
    EXPECT_FALSE(editor->CommitText("two\rlines")) << editor->GetCommandName().str();
  }

  for (QelDlgEditor* editor :
       {oracle->Frame->EditorORACLE_HOME, oracle->Frame->EditorORACLE_N32_HOME,
        service->Frame->EditorORATNSADMIN, execution->Frame->EditorEXEDDLFilePath}) {
    EXPECT_TRUE(editor->CommitText("/u01/app/oracle///"));
    EXPECT_EQ(editor->GetText().str(), "/u01/app/oracle") << editor->GetCommandName().str();
    EXPECT_TRUE(editor->CommitText("/u01/app/oracle/network"));
    EXPECT_EQ(editor->GetText().str(), "/u01/app/oracle/network");
  }
  EXPECT_FALSE(oracle->Frame->EditorORACLE_N32_HOME->IsVisible());
  EXPECT_FALSE(oracle->Frame->LabelORACLE_N32_HOME->IsVisible());
}

TEST_F(OracleTablespacePages, LocalAndRemoteStayExclusiveAcrossTheirFrames) {
  const auto page = BuildPage<ZEP2DlgORALoc>(&application, "PanelORALoc");
  page->SetVisibility(QelDlgObject::Shown);
  QelDlgRadioButton* local = page->Frame->RadButORALocLocal;
  QelDlgRadioButton* remote = page->Frame->RadButORALocRemote;
  ASSERT_NE(local->GetParent(), remote->GetParent());
  EXPECT_TRUE(local->IsChecked());
  EXPECT_FALSE(remote->IsChecked());

  remote->Click();
  EXPECT_TRUE(remote->IsChecked());
  EXPECT_FALSE(local->IsChecked());
  EXPECT_NE(Trace().find("\nSet Rad But Server"), std::string::npos);

  local->Click();
  EXPECT_TRUE(local->IsChecked());
  EXPECT_FALSE(remote->IsChecked());
  EXPECT_NE(Trace().find("\nSet Rad But Client"), std::string::npos);

  local->Click();
  EXPECT_TRUE(local->IsChecked()) << "clicking the chosen button keeps it chosen";
  EXPECT_FALSE(remote->IsChecked());
}

TEST_F(OracleTablespacePages, UncheckingTNSAdminGreysItsFieldOutAndCheckingEnablesIt) {
  const auto page = BuildPage<ZEP2DlgORAParam2>(&application, "PanelORAParam2");
  page->SetVisibility(QelDlgObject::Shown);
  const ZEP2FrmORAParam2* frame = page->Frame;
  EXPECT_EQ(frame->ChkButTNSADMIN->GetTitle().str(), "TNS_ADMIN");
  EXPECT_TRUE(frame->ChkButTNSADMIN->IsChecked());
  EXPECT_TRUE(frame->EditorORATNSADMIN->IsSensitive());

  frame->ChkButTNSADMIN->Click();
  EXPECT_FALSE(frame->LabelORATNSADMIN->IsSensitive());
  EXPECT_FALSE(frame->EditorORATNSADMIN->IsSensitive());

  frame->ChkButTNSADMIN->Click();
  EXPECT_TRUE(frame->LabelORATNSADMIN->IsSensitive());
  EXPECT_TRUE(frame->EditorORATNSADMIN->IsSensitive());
}

TEST_F(OracleTablespacePages, TheDDLFileCanBeGivenOnlyInFileMode) {
  const auto page = BuildPage<ZEP2DlgEXEParam>(&application, "PanelEXECParam");
  page->SetVisibility(QelDlgObject::Shown);
  const ZEP2FrmEXEParam* frame = page->Frame;
  const auto expectFileWidgets = [frame](bool sensitive) {
    for (const QelDlgObject* widget : {static_cast<QelDlgObject*>(frame->LabelEXEDDLFileName),
                                       static_cast<QelDlgObject*>(frame->EditorEXEDDLFileName),
                                       static_cast<QelDlgObject*>(frame->LabelEXEDDLFilePath),
                                       static_cast<QelDlgObject*>(frame->EditorEXEDDLFilePath)}) {
      EXPECT_EQ(widget->IsSensitive(), sensitive) << widget->GetCommandName().str();
    }
  };
  EXPECT_TRUE(frame->RadButEXEINDB->IsChecked());
  EXPECT_FALSE(frame->RadButEXEINFILE->IsChecked());
  expectFileWidgets(false);

  frame->RadButEXEINFILE->Click();
  EXPECT_FALSE(frame->RadButEXEINDB->IsChecked());
  expectFileWidgets(true);

  frame->RadButEXEINDB->Click();
  EXPECT_FALSE(frame->RadButEXEINFILE->IsChecked());
  expectFileWidgets(false);
}

TEST_F(OracleTablespacePages, ChoosingATablespaceStoresTheChosenLine) {
  const auto page = BuildPage<ZEP2DlgTBSTypicalSel>(&application, "PanelTBSTypicalSel");
  const ZEP2FrmTBSTypicalSel* frame = page->Frame;
  EXPECT_FALSE(frame->LabelTBSTypicalSelBLOB->IsVisible());
  EXPECT_FALSE(frame->ComboTBSTypicalSelBLOB->IsVisible());
  EXPECT_FALSE(frame->ComboTBSTypicalSelBLOB->IsSensitive());
  for (QelDlgCombo* combo : {frame->ComboTBSTypicalSel, frame->ComboTBSTypicalSelBLOB}) {
    for (const char* line : {"<New tablespace>", "USERS", "PDMDATA"}) combo->AddLine(line);
  }

  frame->ComboTBSTypicalSel->SetSelectedPosition(2, true);
  EXPECT_EQ(ZEP2InstHQ::_svSELTBSTYPICAL_NOBLOB.str(), "PDMDATA");
  EXPECT_EQ(ZEP2InstHQ::_svSELTBSTYPICAL_BLOB.str(), "");
  frame->ComboTBSTypicalSelBLOB->SetSelectedPosition(1, true);
  EXPECT_EQ(ZEP2InstHQ::_svSELTBSTYPICAL_BLOB.str(), "USERS");
  EXPECT_EQ(ZEP2InstHQ::_svSELTBSTYPICAL_NOBLOB.str(), "PDMDATA");
  EXPECT_EQ(Count(Trace(), "\nSelectNotification !"), 2);
}

TEST_F(OracleTablespacePages, NamesAreUpperCasedAndTheDirectoryShowsItsFreeSpace) {
  UseShippedCatalogues();
  const auto page = BuildPage<ZEP2DlgTBSTypical>(&application, "PanelTBSTypical");
  const ZEP2FrmTBSTypical* frame = page->Frame;
  EXPECT_EQ(frame->LabelTBSTypicalSpaceNeedOne->GetTitle().str(), "   Required  space : ");
  EXPECT_EQ(frame->LabelTBSTypicalSpaceOne->GetTitle().str(), "   Available space : ");
  EXPECT_EQ(frame->LabelTBSTypicalSpaceNeedBis->GetTitle().str(), " undefined.");
  EXPECT_EQ(frame->LabelTBSTypicalSpaceBis->GetTitle().str(), " undefined.");

  frame->EditorTBSTypicalName->CommitText("tes_tbs1");
  EXPECT_EQ(frame->EditorTBSTypicalName->GetText().str(), "TES_TBS1");
  frame->EditorTBSTypicalBLOBName->CommitText("blob_tbs");
  EXPECT_EQ(frame->EditorTBSTypicalBLOBName->GetText().str(), "BLOB_TBS");

  const auto expectKilobytes = [frame] {
    const std::string shown = frame->LabelTBSTypicalSpaceBis->GetTitle().str();
    ASSERT_GT(shown.size(), 4u);
    EXPECT_EQ(shown.substr(shown.size() - 4), " KB.");
    EXPECT_EQ(shown.find_first_not_of("0123456789"), shown.size() - 4) << shown;
  };
  frame->EditorTBSTypicalDir->CommitText(directory.Path() + "/oradata//");
  EXPECT_EQ(frame->EditorTBSTypicalDir->GetText().str(), directory.Path() + "/oradata");
  expectKilobytes();

  // Nothing of the path exists: no size, and why.
  frame->EditorTBSTypicalDir->CommitText("/no-such-root-tessartest/oradata/PDM");
  EXPECT_EQ(frame->LabelTBSTypicalSpaceBis->GetTitle().str(),
            " undefined. (no part of /no-such-root-tessartest/oradata/PDM exists)");
  frame->EditorTBSTypicalDir->CommitText("no-such-tablespace-directory");
  EXPECT_EQ(frame->LabelTBSTypicalSpaceBis->GetTitle().str(),
            " undefined. (no part of no-such-tablespace-directory exists)");
  frame->EditorTBSTypicalDir->CommitText("/");
  expectKilobytes();
  EXPECT_EQ(frame->EditorTBSTypicalDir->GetText().str(), "");
}

TEST_F(OracleTablespacePages, FreeSpaceIsMeasuredOnTheNearestExistingParent) {
  struct statvfs64 fileSystem {};
  ASSERT_EQ(statvfs64(directory.Path().c_str(), &fileSystem), 0);
  const long long expected = std::min<long long>(
      static_cast<long long>(fileSystem.f_bavail) * fileSystem.f_frsize / 1024, INT_MAX);
  const int measured = ZEP2DlgTBSTypical::GetAvailableSize(directory.Path() + "/u01/oradata/PDM");
  // Others may write to the same file system between the two measures.
  EXPECT_NEAR(measured, expected, 256 * 1024);
  EXPECT_GT(measured, 0);

  EXPECT_EQ(ZEP2DlgTBSTypical::GetAvailableSize("no-such-tablespace-directory"), -1);
  EXPECT_EQ(ZEP2DlgTBSTypical::GetAvailableSize("no-such-tablespace-directory/PDM"), -1);
  EXPECT_EQ(ZEP2DlgTBSTypical::GetAvailableSize("/no-such-root-tessartest/PDM"), -1);
}

}  // namespace
