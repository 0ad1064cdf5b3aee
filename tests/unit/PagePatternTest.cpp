// Pages build from their catalogues, trace what is missing and never stop
// for it, start hidden, and run the common handlers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "TempDirectory.h"
#include "pages/ZEP2DlgDBAUSER.h"
#include "platform/QelApplication.h"
#include "platform/QelLog.h"

namespace {

class PagePattern : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QelMsgCatalogPath", directory.File("catalogs").c_str(), 1);
    std::filesystem::create_directories(directory.File("catalogs"));
    OpenTraceLogFile(directory.File("trace").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("QelMsgCatalogPath");
    QelCloseLogFiles();
  }
  std::string Trace() const { return ReadWholeFile(directory.File("trace")); }
  static int Count(const std::string& text, const std::string& what) {
    int count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
      ++count;
    }
    return count;
  }

  TempDirectory directory;
  QelInteractiveApplication application{nullptr, "test"};
};

TEST_F(PagePattern, WithoutCataloguesThePageBuildsEmptyAndTracesEveryKey) {
  ZEP2DlgDBAUSER page(&application, "PanelDBAUSER");
  page.Build();
  const std::string trace = Trace();
  EXPECT_EQ(Count(trace, "\nError on LoadMsgCatalog ZEP2DlgDBAUSER!!!"), 1);
  EXPECT_EQ(Count(trace, "\nError on LoadMsgCatalog ZEP2FrmDBAUSER!!!"), 1);
  EXPECT_EQ(Count(trace, "\nError on GetCatalogMsg ZEP2DlgDBAUSER "), 13);
  EXPECT_EQ(Count(trace, "\nError on GetCatalogMsg ZEP2FrmDBAUSER "), 7);
  EXPECT_NE(trace.find("\nError on GetCatalogMsg ZEP2DlgDBAUSER CANCELWndTitle"),
            std::string::npos);
  EXPECT_NE(trace.find("\nError on GetCatalogMsg ZEP2FrmDBAUSER Title"), std::string::npos);
  EXPECT_NE(trace.find("\nError on GetCatalogMsg ZEP2FrmDBAUSER LabelDBAUSERP"), std::string::npos);
  EXPECT_EQ(page.GetTitle().str(), "");
  EXPECT_FALSE(page.IsVisible());
  EXPECT_EQ(page.GetDefaultButton(), QelDlgDialog::CANCELButtonValue);
  EXPECT_EQ(page.GetWidth(), 350);
  EXPECT_EQ(page.GetHeight(), 545);
  ASSERT_NE(page.Frame, nullptr);
  EXPECT_EQ(page.FindObject("PtrZEP2FrmDBAUSER"), page.Frame);
  EXPECT_EQ(page.Frame->EditorDBAUSER->GetParent(), page.Frame->Frame11221);
  EXPECT_TRUE(page.Frame->EditorDBAUSERP->IsPassword());
}

TEST_F(PagePattern, CatalogueTextsBecomeTitlesAndHandlersRun) {
  std::ofstream(directory.File("catalogs/ZEP2DlgDBAUSER.cat"))
      << "Title = Database administrator\nCANCELWndTitle.Title = Cancel the installation\n";
  std::ofstream(directory.File("catalogs/ZEP2FrmDBAUSER.cat"))
      << "Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelDBAUSER.Title = Account:\n";
  ZEP2DlgDBAUSER page(&application, "PanelDBAUSER");
  page.Build();
  EXPECT_EQ(page.GetTitle().str(), "Database administrator");
  EXPECT_EQ(page.CANCELWndTitle.str(), "Cancel the installation");
  EXPECT_EQ(page.Frame->LabelDBAUSER->GetTitle().str(), "Account:");
  const std::string trace = Trace();
  EXPECT_EQ(trace.find("LoadMsgCatalog"), std::string::npos);
  EXPECT_EQ(trace.find("ZEP2DlgDBAUSER CANCELWndTitle"), std::string::npos);
  EXPECT_NE(trace.find("ZEP2DlgDBAUSER CANCELNOBUTTON"), std::string::npos);

  EXPECT_TRUE(page.Frame->EditorDBAUSER->CommitText("system"));
  EXPECT_EQ(page.Frame->EditorDBAUSER->GetText().str(), "SYSTEM");
  EXPECT_FALSE(page.Frame->EditorDBAUSER->CommitText("sys tem"))
      << "an account name with a blank is refused";
  EXPECT_EQ(page.Frame->EditorDBAUSER->GetText().str(), "SYSTEM");
  EXPECT_TRUE(page.Frame->EditorDBAUSERP->CommitText("pass word"));
  EXPECT_FALSE(page.Frame->EditorDBAUSERP->CommitText("two\nlines"));
}

TEST(CommonHandlers, TrailingSlashesGoAndRadioPairsStayExclusive) {
  QelDlgDialog page(nullptr, "PanelTest", 0);
  auto* editor = new QelDlgEditor(&page, "EditorDir", 0);
  QelCommand controller(nullptr, "controller");
  controller.AddAnalyseNotificationCB(editor->GetModifyNotification(), ZEP2TrailingSlashHandler,
                                      nullptr);
  editor->CommitText("/opt/pdm///");
  EXPECT_EQ(editor->GetText().str(), "/opt/pdm");
  editor->CommitText("/opt/pdm/vault");
  EXPECT_EQ(editor->GetText().str(), "/opt/pdm/vault");

  auto* local = new QelDlgRadioButton(new QelDlgFrame(&page, "Frame11221", 0), "Local", 0);
  auto* remote = new QelDlgRadioButton(new QelDlgFrame(&page, "Frame11222", 0), "Remote", 0);
  local->SetState(QelDlgToggle::Checked);
  ZEP2PairRadioButtons(remote, local, "\nSet Rad But Server");
  EXPECT_TRUE(remote->IsChecked());
  EXPECT_FALSE(local->IsChecked());
}

}  // namespace
