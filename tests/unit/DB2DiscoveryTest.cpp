// The DB2 instance listing: the listing program's exit codes, the result
// file's reading rules and the fall-back when sorting fails; instances
// accumulate in the combo without duplicates, "Others ..." last.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "TempDirectory.h"
#include "app/ZEP2InstApp.h"
#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelLog.h"

namespace {

using H = ZEP2InstHQ;

class DB2Discovery : public ::testing::Test {
 protected:
  void SetUp() override {
    H::ResetInstallationParameters();
    setenv("QelUserSettingPath", directory.File("settings").c_str(), 1);
    savedPath = std::getenv("PATH");
    setenv("PATH", (directory.Path() + ":" + savedPath).c_str(), 1);
    controller = std::make_unique<H>(&application, "ZEP2InstHQ", "", "", directory.File("trace"));
    controller->Build();
  }
  void TearDown() override {
    setenv("PATH", savedPath.c_str(), 1);
    controller.reset();
    QelCloseLogFiles();
  }

  // A listing program that writes content and exits with status.
  void Lister(const std::string& content, int status) {
    WriteScript("GetDB2IList.sh", "printf '" + content + "' >/tmp/ZEP2_db2ilist_result.txt\nexit " +
                                      std::to_string(status));
  }
  void WriteScript(const std::string& name, const std::string& body) {
    const std::string path = directory.File(name);
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    chmod(path.c_str(), 0755);
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    const QelDlgCombo* combo = controller->_DlgDB2Param->Frame->ComboDB2Instance;
    for (int i = 0; i < combo->GetNbrOfLines(); ++i) lines.push_back(combo->GetLine(i).str());
    return lines;
  }
  std::string Trace() const { return ReadWholeFile(directory.File("trace")); }

  TempDirectory directory;
  ZEP2InstApp application;
  std::unique_ptr<H> controller;
  std::string savedPath;
};

TEST_F(DB2Discovery, WordsAreReadSortedUntilOneRepeatsAndNeverTwiceInTheCombo) {
  Lister("db2inst2\\ndb2inst1\\n", 0);
  EXPECT_EQ(controller->SetDB2INSTANCECOMBO(), 0);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"db2inst1", "db2inst2", "Others ..."}));
  EXPECT_EQ(H::_PtrDBInstanceColl(1)->kind.str(), "IBMUDB");
  EXPECT_EQ(H::_PtrDBInstanceColl(1)->version.str(), "UNKNOWN");

  // A word equal to the one before ends the list; the combo keeps its lines.
  Lister("aaa\\naaa\\nzzz\\n", 0);
  EXPECT_EQ(controller->SetDB2INSTANCECOMBO(), 0);
  EXPECT_EQ(H::_PtrDBInstanceColl.Size(), 1);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"db2inst1", "db2inst2", "aaa", "Others ..."}));
}

// The instance shown first has its home shown with it, as if chosen from
// the list; a later listing (Back, then Next again) keeps what was chosen or
// typed and the home shown for it.
TEST_F(DB2Discovery, TheShownInstanceHasItsHomeAndAnotherListingKeepsTheChoice) {
  unsetenv("TESSARDBSETUP_SANDBOX");
  const passwd* root = getpwnam("root");
  ASSERT_NE(root, nullptr);
  ZEP2DlgDB2Param* page = controller->_DlgDB2Param;
  QelDlgCombo& combo = *page->Frame->ComboDB2Instance;
  QelDlgEditor& home = *page->Frame->EditorDB2InstanceHD;
  Lister("zz-tessar-none\\nroot\\n", 0);
  ASSERT_EQ(controller->SetDB2INSTANCECOMBO(), 0);
  EXPECT_EQ(combo.GetSelectedLine().str(), "root");
  EXPECT_EQ(home.GetText().str(), root->pw_dir) << "filled before the list is ever opened";

  page->SetVisibility(QelDlgObject::Shown);
  combo.ChooseLine(1);
  home.SetText(directory.Path());
  ASSERT_EQ(controller->SetDB2INSTANCECOMBO(), 0);
  EXPECT_EQ(combo.GetSelectedLine().str(), "zz-tessar-none");
  EXPECT_EQ(home.GetText().str(), directory.Path()) << "a corrected home stays";

  ASSERT_TRUE(combo.EnterText("typed-tessar-none"));
  EXPECT_EQ(home.GetText().str(), "") << "a typed instance without an account has no home";
  home.SetText(directory.Path());
  ASSERT_EQ(controller->SetDB2INSTANCECOMBO(), 0);
  EXPECT_EQ(combo.GetSelectedPosition(), -1);
  EXPECT_EQ(ZEP2DlgDB2Param::ChosenName(combo).str(), "typed-tessar-none");
  EXPECT_EQ(home.GetText().str(), directory.Path());
}

TEST_F(DB2Discovery, AFailingSortFallsBackToTheUnsortedFile) {
  WriteScript("sort", "exit 1");
  Lister("zeta\\nalpha\\n", 0);
  controller->SetDB2INSTANCECOMBO();
  EXPECT_EQ(H::_PtrDBInstanceColl(1)->name.str(), "zeta");
  EXPECT_NE(Trace().find("\ninputfileName : /tmp/ZEP2_db2ilist_result.txt"), std::string::npos);
}

TEST_F(DB2Discovery, ListingFailuresLeaveNoInstance) {
  Lister("", 255);
  EXPECT_EQ(controller->SetDB2INSTANCECOMBO(), -2);
  EXPECT_NE(Trace().find("\nZEP2 Installation wizard detects no DB2 database on your system !!!"),
            std::string::npos);
  Lister("db2inst1\\n", 3);
  EXPECT_EQ(controller->SetDB2INSTANCECOMBO(), -2);
  EXPECT_NE(Trace().find("\nGetDB2ilist error !\n"), std::string::npos);
  EXPECT_TRUE(Lines().empty()) << "no \"Others ...\" without an instance";
}

}  // namespace
