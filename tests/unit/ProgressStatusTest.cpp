// The status page's progress bar: its range from the work to be done, the
// status-graph files it lists on the way, and how its percentage moves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "TempDirectory.h"
#include "app/ZEP2InstApp.h"
#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2DlgSTATUS.h"
#include "pages/ZEP2DlgTBSTypicalSel.h"
#include "platform/QelDisplay.h"
#include "platform/QelLog.h"

namespace {

using H = ZEP2InstHQ;

// Counts repaints and keeps every text the percentage label was given.
class RecordingDisplay : public QelDisplay {
 public:
  int DisplayBlocked(QelDlgNotify*) override { return 1; }
  void UpdateDisplay() override { ++repaints; }
  void ObjectChanged(QelDlgObject* object) override {
    if (object == watched) titles.push_back(object->GetTitle().str());
  }
  int repaints = 0;
  const QelDlgObject* watched = nullptr;
  std::vector<std::string> titles;
};

std::vector<int> pauses;

class ProgressStatus : public ::testing::Test {
 protected:
  void SetUp() override {
    H::ResetInstallationParameters();
    setenv("QelUserSettingPath", directory.File("settings").c_str(), 1);
    setenv("TESSARDBSETUP_LOGDIR", directory.Path().c_str(), 1);
    setenv("QelMsgCatalogPath",
           (std::filesystem::path(__FILE__).parent_path() / "../../share/msgcatalog").c_str(), 1);
    unsetenv("QelReffilesPath");
    controller = std::make_unique<H>(&application, "ZEP2InstHQ", "", "", directory.File("trace"));
    page = std::make_unique<ZEP2DlgSTATUS>(&application, "PanelSTATUS");
    page->Build();
    auto recording = std::make_unique<RecordingDisplay>();
    display = recording.get();
    display->watched = page->Frame->LabelSTATUSStateTers;
    QelSetDisplay(std::move(recording));
    pauses.clear();
    realPause = ZEP2FrmSTATUS::Pause;
    ZEP2FrmSTATUS::Pause = [](int seconds) { pauses.push_back(seconds); };
  }
  void TearDown() override {
    ZEP2FrmSTATUS::Pause = realPause;
    QelSetDisplay(nullptr);
    controller.reset();
    QelCloseLogFiles();
    H::ResetInstallationParameters();
    for (const char* name :
         {"QelUserSettingPath", "TESSARDBSETUP_LOGDIR", "QelMsgCatalogPath", "QelReffilesPath"})
      unsetenv(name);
  }

  // The text of the tablespace combo's default entry, as the page that owns
  // it holds it; empty while that page does not exist.
  QelUnicodeString DefaultEntry() {
    if (!tablespacePage) {
      tablespacePage = std::make_unique<ZEP2DlgTBSTypicalSel>(&application, "PanelTBSTypicalSel");
      tablespacePage->Build();
      controller->_DlgTBSTypicalSel = tablespacePage.get();
    }
    return tablespacePage->Frame->LabelTBSTypicalComboDefTitle;
  }

  static void Fill(QelListValQelUnicodeString& list, int size) {
    list.Clear();
    for (int i = 1; i <= size; ++i) list.Append("NAME" + std::to_string(i));
  }

  std::string SampleDirectory(const std::vector<std::string>& files) {
    const std::string references = directory.File("reffiles");
    std::filesystem::create_directories(references + "/sample");
    for (const std::string& file : files) std::ofstream(references + "/sample/" + file) << "graph";
    return references;
  }

  std::vector<std::string> StatusGraphs() const {
    std::vector<std::string> names;
    for (const QelUnicodeString& name : controller->_StatusGraphFileColl)
      names.push_back(name.str());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string Trace() const { return ReadWholeFile(directory.File("trace")); }

  TempDirectory directory;
  ZEP2InstApp application;
  std::unique_ptr<H> controller;
  std::unique_ptr<ZEP2DlgTBSTypicalSel> tablespacePage;
  std::unique_ptr<ZEP2DlgSTATUS> page;
  RecordingDisplay* display = nullptr;
  ZEP2FrmSTATUS::PauseFunction realPause = nullptr;
};

enum Selection { NewTablespace, ExistingTablespace };

struct RangeCase {
  const char* name;
  bool oracle;
  int dbObjects, startupData;
  int modelers, toCreate, toConnect, toServer, toSystem, forTheRun, statements, graphs;
  Selection tablespace, blobTablespace;
  int expected;
};

TEST_F(ProgressStatus, RangeCountsTheWorkOfTheChosenTasks) {
  const std::vector<RangeCase> cases = {
      {"DB2 objects and start-up data, one modeler", false, 1, 1, 1, 0, 0, 0, 0, 0, 7, 0,
       NewTablespace, NewTablespace, 40 + 90 + 20 + 80 + 7 + 120 + 90},
      {"neither task counts only the modelers", true, 0, 0, 4, 3, 3, 3, 3, 3, 50, 2, NewTablespace,
       NewTablespace, 40 + (4 - 1) * 2 + 90},
      {"Oracle objects in existing tablespaces", true, 1, 0, 2, 1, 3, 1, 2, 1, 11, 2,
       ExistingTablespace, ExistingTablespace,
       40 + 2 + 90 + (2 * 2 + 2) * 20 + (2 + 2 * 1 + 3 + 2 * 1 + 2 * 2 + 3 * 1) * 20 + 11 + 2 + 90},
      {"Oracle start-up data only, two status graphs", true, 0, 1, 2, 5, 3, 1, 2, 1, 11, 2,
       NewTablespace, NewTablespace,
       40 + 2 + 90 + (2 + 2) * 20 + (2 + 3 + 2 * 1 + 2 * 2 + 3 * 1) * 20 + 120 + 2 * 20 + 2 + 90},
      {"DB2 start-up data only ignores the user lists", false, 0, 1, 1, 5, 3, 1, 2, 1, 11, 0,
       NewTablespace, NewTablespace, 40 + 90 + (1 + 2) * 20 + 120 + 90},
      {"only the BLOB tablespace is new", false, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, ExistingTablespace,
       NewTablespace, 40 + 90 + 20 + 80 + 90},
  };
  for (const RangeCase& c : cases) {
    SCOPED_TRACE(c.name);
    H::_nvOracle = c.oracle;
    H::_nvIBMDB2UDB = !c.oracle;
    H::_nvNbrOfOrdersInALLDDL = c.statements;
    H::_svSELTBSTYPICAL_NOBLOB = c.tablespace == NewTablespace ? DefaultEntry() : "USERSPACE1";
    H::_svSELTBSTYPICAL_BLOB = c.blobTablespace == NewTablespace ? DefaultEntry() : "USERSPACE1";
    Fill(controller->_ModelerNameColl, c.modelers);
    Fill(controller->_DBUserToCreateColl, c.toCreate);
    Fill(controller->_UserToCnxColl, c.toConnect);
    Fill(controller->_DBUserToAlterDefSysSrvColl, c.toServer);
    Fill(controller->_DBUserToAlterDefSrvSysColl, c.toSystem);
    Fill(controller->_DBUserToAlterTmpSysSrvSysColl, c.forTheRun);
    std::vector<std::string> graphs;
    for (int i = 1; i <= c.graphs; ++i)
      graphs.push_back("ZEPGraph" + std::to_string(i) + ".VGraph");
    std::filesystem::remove_all(directory.File("reffiles"));
    setenv("QelReffilesPath", SampleDirectory(graphs).c_str(), 1);

    page->Frame->SetProgressStatusBarRange(c.dbObjects, c.startupData, 1, 1);
    EXPECT_EQ(H::_nvRangeMax, c.expected);
    EXPECT_EQ(page->Frame->ProgressSTATUS->GetMinimum(), 1);
    EXPECT_EQ(page->Frame->ProgressSTATUS->GetMaximum(), c.expected);
  }
}

TEST_F(ProgressStatus, OnlyZEPNamesEndingInVGraphAreListedAsStatusGraphs) {
  setenv("QelReffilesPath",
         SampleDirectory({"ZEPStatus.VGraph", "ZEPReview.VGraph", "Status.VGraph",
                          "ZEPStatus.VGraph.orig", "ZEPnotes.txt"})
             .c_str(),
         1);
  controller->_StatusGraphFileColl.Append("stale.VGraph");
  page->Frame->SetProgressStatusBarRange(0, 0, 0, 1);
  EXPECT_EQ(StatusGraphs(), std::vector<std::string>{"stale.VGraph"})
      << "without start-up data nothing is listed";

  page->Frame->SetProgressStatusBarRange(0, 1, 0, 1);
  EXPECT_EQ(StatusGraphs(), (std::vector<std::string>{"ZEPReview.VGraph", "ZEPStatus.VGraph"}));
  EXPECT_NE(Trace().find("svStatusGraphFileName : ZEPReview.VGraph"), std::string::npos);
  EXPECT_EQ(Trace().find("svStatusGraphFileName : ZEPStatus.VGraph.orig"), std::string::npos);

  setenv("QelReffilesPath", directory.File("nowhere").c_str(), 1);
  page->Frame->SetProgressStatusBarRange(0, 1, 0, 1);
  EXPECT_TRUE(StatusGraphs().empty()) << "missing sample directory";

  controller->_StatusGraphFileColl.Append("stale.VGraph");
  unsetenv("QelReffilesPath");
  page->Frame->SetProgressStatusBarRange(0, 1, 0, 1);
  EXPECT_TRUE(StatusGraphs().empty()) << "missing variable";
}

TEST_F(ProgressStatus, PercentageStartsAtZeroAndChangesOnlyWithItsIntegerValue) {
  Fill(controller->_ModelerNameColl, 36);  // range 40 + 70 + 90 = 200
  page->Frame->SetProgressStatusBarRange(0, 0, 0, 1);
  const ZEP2FrmSTATUS& frame = *page->Frame;
  ASSERT_EQ(H::_nvRangeMax, 200);
  EXPECT_TRUE(page->IsVisible());
  EXPECT_EQ(frame.LabelSTATUSStateOne->GetTitle().str(), page->DDLRead.str());
  EXPECT_EQ(frame.LabelSTATUSStateTwo->GetTitle().str(), (page->DDLRead + page->Successfull).str());
  EXPECT_NE(page->Successfull.str(), "");
  EXPECT_EQ(frame.LabelSTATUSStateTers->GetTitle().str(), "0 %");
  const std::string trace = Trace();
  EXPECT_LT(trace.find("\n\nSetProgressStatusBarRange Begin ...\n"),
            trace.find("\nSetProgressStatusBarRange End.\n\n"));
  EXPECT_NE(trace.find("\nSetProgressStatusBarRange End.\n\n"), std::string::npos);

  display->repaints = 0;
  display->titles.clear();
  for (int step = 0; step < 10; ++step) page->Frame->ProgressStatusBarStepIt();
  EXPECT_EQ(frame.ProgressSTATUS->GetPosition(), 11);
  EXPECT_EQ(display->titles, (std::vector<std::string>{"1 %", "2 %", "3 %", "4 %", "5 %"}));
  EXPECT_EQ(display->repaints, 5) << "a step that keeps the percentage draws nothing";

  page->Frame->ProgressStatusBarEndStepIt();
  EXPECT_EQ(frame.ProgressSTATUS->GetPosition(), 200);
  EXPECT_EQ(frame.LabelSTATUSStateTers->GetTitle().str(), "100 %");
  EXPECT_EQ(pauses, std::vector<int>{2});

  display->titles.clear();
  page->Frame->ProgressStatusBarEndStepIt();
  EXPECT_EQ(frame.ProgressSTATUS->GetPosition(), 200);
  EXPECT_TRUE(display->titles.empty());
  EXPECT_EQ(pauses, (std::vector<int>{2, 2})) << "a full bar still pauses";
}

}  // namespace
