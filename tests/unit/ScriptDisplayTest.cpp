// Silent runs: a response file drives a real page through the same paths a
// person's input takes, and the transcript tells everything that happened.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "TempDirectory.h"
#include "pages/ZEP2DlgDBAUSER.h"
#include "pages/ZEP2MessageBoxes.h"
#include "platform/QelApplication.h"
#include "platform/QelDisplay.h"
#include "platform/QelDlgNotify.h"
#include "platform/QelLog.h"
#include "platform/display/script/ScriptDisplay.h"

namespace {

ZEP2DlgDBAUSER* shownPage = nullptr;
std::string longDetail;

// Stands in for the controller's Next handler: an empty account is refused
// with an error box, anything else leaves the page and ends the run with 0.
void Next(QelCommand*, QelNotification*, void*) {
  if (shownPage->Frame->EditorDBAUSER->GetText().Compare("") == 2) {
    ZEP2ErrInCallBack box(nullptr, shownPage, shownPage->ERRMSGWndTitle,
                          shownPage->ERRMSGTextToDisplayForDBAUSER, longDetail,
                          shownPage->ERRMSGOKTitle);
    box.Build();
    return;
  }
  shownPage->SetVisibility(QelDlgObject::Hidden);
  QelApplication::MainApplication()->Destroy();
}

class PageApplication : public QelInteractiveApplication {
 public:
  PageApplication() : QelInteractiveApplication(nullptr, "test") {}
  void BeginApplication() override {
    page = std::make_unique<ZEP2DlgDBAUSER>(this, "PanelDBAUSER");
    page->Build();
    shownPage = page.get();
    AddAnalyseNotificationCB(page->GetDiaCANCELNotification(), Next, nullptr);
    page->SetVisibility(QelDlgObject::Shown);
  }
  int EndApplication() override { return 0; }
  std::unique_ptr<ZEP2DlgDBAUSER> page;
};

class ScriptDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(directory.File("catalogs"));
    std::ofstream(directory.File("catalogs/ZEP2DlgDBAUSER.cat"))
        << "Title = Database administrator\n"
           "ERRMSGWndTitle.Title = Input error\n"
           "ERRMSGTextToDisplayForDBAUSER.Title = Type the account of the database "
           "administrator.\n"
           "ERRMSGOKTitle.Title = OK\n";
    setenv("QelMsgCatalogPath", directory.File("catalogs").c_str(), 1);
    setenv("TESSARDBSETUP_TRANSCRIPT", directory.File("transcript").c_str(), 1);
    OpenTraceLogFile(directory.File("trace").c_str(), 1);
    longDetail.clear();
    for (int i = 0; i < 150; ++i) longDetail += static_cast<char>('a' + i % 26);
  }
  void TearDown() override {
    unsetenv("QelMsgCatalogPath");
    unsetenv("TESSARDBSETUP_TRANSCRIPT");
    QelCloseLogFiles();
    QelSetDisplay(nullptr);
  }

  int RunWith(const std::string& responses) {
    std::string error;
    auto answers = ResponseFile::Parse(responses, "test.rsp", error);
    EXPECT_TRUE(answers) << error;
    QelSetDisplay(std::make_unique<QelScriptDisplay>(std::move(answers)));
    PageApplication application;
    char program[] = "test";
    char* arguments[] = {program, nullptr};
    const int status = application.Run(1, arguments);
    finalAccount = application.page->Frame->EditorDBAUSER->GetText().str();
    return status;
  }
  std::string Transcript() const { return ReadWholeFile(directory.File("transcript")); }

  TempDirectory directory;
  std::string finalAccount;
};

TEST_F(ScriptDisplay, RefusedAnswersAreRetriedWhenTheFileAsksToGoOn) {
  const int status = RunWith(
      "[options]\non-refusal = continue\n"
      "[PanelDBAUSER]\nEditorDBAUSER = sys tem\nEditorDBAUSERP = secret\n"
      "[PanelDBAUSER#2]\nEditorDBAUSER = system\n"
      "[ZEP2ErrInCallBack]\nanswers = OK\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(finalAccount, "SYSTEM") << "the upper-casing handler ran";

  const std::string transcript = Transcript();
  const std::string pid = "{\"pid\":" + std::to_string(getpid());
  const std::string expected =
      pid + ",\"event\":\"page\",\"page\":\"PanelDBAUSER\",\"visit\":1}\n" + pid +
      ",\"event\":\"set\",\"page\":\"PanelDBAUSER\",\"widget\":\"EditorDBAUSER\",\"value\":\"sys "
      "tem\",\"accepted\":0}\n" +
      pid +
      ",\"event\":\"set\",\"page\":\"PanelDBAUSER\",\"widget\":\"EditorDBAUSERP\",\"value\":\"***"
      "\",\"accepted\":1}\n" +
      pid + ",\"event\":\"button\",\"page\":\"PanelDBAUSER\",\"button\":\"Next\"}\n" + pid +
      ",\"event\":\"box\",\"class\":\"ZEP2ErrInCallBack\",\"title\":\"Input error\",\"text\":"
      "\"Type the account of the database administrator. \\n" +
      longDetail.substr(0, 69) + "\\n" + longDetail.substr(69, 67) + "\\n" +
      longDetail.substr(136) + "\",\"answer\":\"OK\"}\n" + pid +
      ",\"event\":\"set\",\"page\":\"PanelDBAUSER\",\"widget\":\"EditorDBAUSER\",\"value\":"
      "\"system\",\"accepted\":1}\n" +
      pid + ",\"event\":\"button\",\"page\":\"PanelDBAUSER\",\"button\":\"Next\"}\n" + pid +
      ",\"event\":\"exit\",\"status\":0,\"outcome\":\"\"}\n";
  EXPECT_EQ(transcript, expected);
  EXPECT_EQ(transcript.find("secret"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(directory.File("trace")).find("secret"), std::string::npos);
}

TEST_F(ScriptDisplay, ARefusalEndsTheRunWithTheBoxOnStderr) {
  testing::internal::CaptureStderr();
  const int status = RunWith("[PanelDBAUSER]\nEditorDBAUSERP = secret\n");
  const std::string stderrText = testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, 2);
  EXPECT_NE(stderrText.find("PanelDBAUSER refused the answers: Input error: Type the account"),
            std::string::npos)
      << stderrText;
  EXPECT_EQ(stderrText.find("secret"), std::string::npos);
  EXPECT_NE(Transcript().find("\"event\":\"exit\",\"status\":2"), std::string::npos);
}

TEST_F(ScriptDisplay, APageRefusedAgainAndAgainEndsTheRun) {
  testing::internal::CaptureStderr();
  const int status =
      RunWith("[options]\non-refusal = continue\nmax-refusals = 4\n[PanelDBAUSER]\n");
  const std::string stderrText = testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, 2);
  EXPECT_NE(stderrText.find("not left after 4 presses"), std::string::npos) << stderrText;
  std::size_t boxes = 0;
  const std::string transcript = Transcript();
  for (std::size_t at = transcript.find("\"event\":\"box\""); at != std::string::npos;
       at = transcript.find("\"event\":\"box\"", at + 1)) {
    ++boxes;
  }
  EXPECT_EQ(boxes, 4u);
}

TEST_F(ScriptDisplay, AnswersAPersonCouldNotGiveAreReported) {
  for (const char* responses :
       {"[PanelDBAUSER]\nEditorNobody = x\n", "[PanelDBAUSER]\nLabelDBAUSER = x\n"}) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunWith(responses), 2);
    const std::string stderrText = testing::internal::GetCapturedStderr();
    EXPECT_NE(stderrText.find("PanelDBAUSER (line 1)"), std::string::npos) << stderrText;
  }
}

// A run's father and son go through a class's answers together, in the
// order of the run, as a record of the run lists them.
TEST_F(ScriptDisplay, TheRunsProcessesTakeAClasssAnswersInTurn) {
  unsetenv("TESSARDBSETUP_RESPONSE_STATE");
  const std::string responses = "[ZEP2YesNoInCallBack]\nanswers = No, Yes\n";
  std::string error;
  QelScriptDisplay father(ResponseFile::Parse(responses, "test.rsp", error));
  ASSERT_NE(std::getenv("TESSARDBSETUP_RESPONSE_STATE"), nullptr);
  QelDlgNotify* question =
      QelDlgNotify::Create(nullptr, "ZEP2YesNoInCallBack", QelDlgNotify::YesNoStyle);
  EXPECT_EQ(father.DisplayBlocked(question), QelDlgNotify::NoValue);
  {
    QelScriptDisplay son(ResponseFile::Parse(responses, "test.rsp", error));
    EXPECT_EQ(son.DisplayBlocked(question), QelDlgNotify::YesValue);
  }
  EXPECT_EQ(father.DisplayBlocked(question), QelDlgNotify::YesValue) << "the last one repeats";
  question->Release();
}

}  // namespace
