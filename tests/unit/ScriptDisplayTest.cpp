// Silent runs: a response file drives a real page through the same paths a
// person's input takes, and the transcript tells everything that happened.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "TempDirectory.h"
#include "pages/ZEP2DlgDBAUSER.h"
#include "pages/ZEP2MessageBoxes.h"
#include "platform/QelApplication.h"
#include "platform/QelDisplay.h"
#include "platform/QelDlgCombo.h"
#include "platform/QelDlgNotify.h"
#include "platform/QelLog.h"
#include "platform/display/script/ScriptDisplay.h"

namespace {

ZEP2DlgDBAUSER* shownPage = nullptr;
std::string longDetail;
// What the page offers besides Next: a Back that is greyed out, and a Cancel
// (ending the run with 2) unless a test takes it away.
bool offerCancel = true;
bool greyPassword = false;
bool greyNext = false;
// Two combos on the page: ComboTyped offers an entry field, ComboListed
// takes only its lines; their select handler notes what it was given.
bool withCombos = false;
std::vector<std::string> selections;

void Selected(QelCommand*, QelNotification* notification, void*) {
  const auto* combo = static_cast<const QelDlgCombo*>(notification->GetSource());
  selections.push_back(combo->GetCommandName().str() + ":" + combo->GetField().str() + ":" +
                       std::to_string(combo->GetSelectedPosition()));
}

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

void Back(QelCommand*, QelNotification*, void*) {
  ADD_FAILURE() << "Back is greyed out: nobody can press it";
}

void Cancel(QelCommand*, QelNotification*, void*) {
  shownPage->SetVisibility(QelDlgObject::Hidden);
  QelApplication::MainApplication()->Abort(2, "cancelled");
}

class PageApplication : public QelInteractiveApplication {
 public:
  PageApplication() : QelInteractiveApplication(nullptr, "test") {}
  void BeginApplication() override {
    page = std::make_unique<ZEP2DlgDBAUSER>(this, "PanelDBAUSER");
    page->Build();
    shownPage = page.get();
    // The account a page may show before any answer, as the Oracle son's does.
    page->Frame->EditorDBAUSER->SetText("SYSTEM");
    AddAnalyseNotificationCB(page->GetDiaCANCELNotification(), Next, nullptr);
    AddAnalyseNotificationCB(page->GetDiaOKNotification(), Back, nullptr);
    page->SetButtonSensitivity(QelDlgDialog::OK, QelDlgObject::Insensitive);
    if (offerCancel) AddAnalyseNotificationCB(page->GetDiaAPPLYNotification(), Cancel, nullptr);
    if (greyPassword) page->Frame->EditorDBAUSERP->SetSensitivity(QelDlgObject::Insensitive);
    if (greyNext) page->SetButtonSensitivity(QelDlgDialog::CANCEL, QelDlgObject::Insensitive);
    if (withCombos) {
      auto* typed = new QelDlgCombo(page->Frame, "ComboTyped", 0x40000);
      auto* listed = new QelDlgCombo(page->Frame, "ComboListed", 0x40000);
      typed->OfferEntryField("Others ...");
      for (QelDlgCombo* combo : {typed, listed}) {
        for (const char* line : {"PDMDB", "PDMTEST"}) combo->AddLine(line);
        AddAnalyseNotificationCB(combo->GetSelectNotification(), Selected, nullptr);
      }
    }
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
    // The frame needs no text here; a missing catalogue would be told on
    // stderr, which these tests read line by line.
    std::ofstream(directory.File("catalogs/ZEP2FrmDBAUSER.cat")) << "# no texts needed\n";
    setenv("QelMsgCatalogPath", directory.File("catalogs").c_str(), 1);
    setenv("TESSARDBSETUP_TRANSCRIPT", directory.File("transcript").c_str(), 1);
    OpenTraceLogFile(directory.File("trace").c_str(), 1);
    longDetail.clear();
    for (int i = 0; i < 150; ++i) longDetail += static_cast<char>('a' + i % 26);
    offerCancel = true;
    greyPassword = false;
    greyNext = false;
    withCombos = false;
    selections.clear();
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
  // RunWith, with what the run wrote on stderr in errors.
  int RunCapturing(const std::string& responses) {
    testing::internal::CaptureStderr();
    const int status = RunWith(responses);
    errors = testing::internal::GetCapturedStderr();
    return status;
  }
  std::size_t Count(const std::string& text) const {
    const std::string transcript = Transcript();
    std::size_t count = 0;
    for (std::size_t at = transcript.find(text); at != std::string::npos;
         at = transcript.find(text, at + 1)) {
      ++count;
    }
    return count;
  }

  TempDirectory directory;
  std::string finalAccount;
  std::string errors;
};

TEST_F(ScriptDisplay, RefusedAnswersAreRetriedWhenTheFileAsksToGoOn) {
  const int status = RunWith(
      "[options]\non-refusal = continue\n"
      "[PanelDBAUSER]\nEditorDBAUSER = sys tem\nEditorDBAUSERP = secret\n"
      "[PanelDBAUSER#2]\nEditorDBAUSER = \"\"\n"
      "[PanelDBAUSER#3]\nEditorDBAUSER = system\n"
      "[ZEP2ErrInCallBack]\nanswers = OK\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(finalAccount, "SYSTEM") << "the upper-casing handler ran";

  // The refused text is never followed by a press: the page would be left
  // with the account it showed before, which the file did not give.
  const std::string transcript = Transcript();
  const std::string pid = "{\"pid\":" + std::to_string(getpid());
  const std::string expected =
      pid + ",\"event\":\"page\",\"page\":\"PanelDBAUSER\",\"visit\":1}\n" + pid +
      ",\"event\":\"set\",\"page\":\"PanelDBAUSER\",\"widget\":\"EditorDBAUSER\",\"value\":\"sys "
      "tem\",\"accepted\":0}\n" +
      pid +
      ",\"event\":\"error\",\"message\":\"PanelDBAUSER refused the answer for EditorDBAUSER "
      "(test.rsp line 4): refused by the field's check (a character or a length it does not "
      "take)\"}\n" +
      pid +
      ",\"event\":\"set\",\"page\":\"PanelDBAUSER\",\"widget\":\"EditorDBAUSER\",\"value\":\"\","
      "\"accepted\":1}\n" +
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

TEST_F(ScriptDisplay, ARefusedTextEndsTheRunWithoutLeavingThePage) {
  EXPECT_EQ(RunCapturing("[PanelDBAUSER]\nEditorDBAUSER = sys tem\nEditorDBAUSERP = secret\n"), 2);
  EXPECT_EQ(errors,
            "tessardbsetup: PanelDBAUSER refused the answer for EditorDBAUSER (test.rsp line 2): "
            "refused by the field's check (a character or a length it does not take)\n");
  EXPECT_EQ(finalAccount, "SYSTEM") << "the field kept its text";
  EXPECT_EQ(Count("\"event\":\"button\""), 0u) << "the page was left with the earlier account";
  EXPECT_EQ(Count("\"widget\":\"EditorDBAUSERP\""), 0u) << "nothing is set after a refusal";
  EXPECT_EQ(Count("\"event\":\"exit\",\"status\":2,\"outcome\":\"stopped: PanelDBAUSER refused"),
            1u);
}

TEST_F(ScriptDisplay, AButtonThatCannotBePressedEndsTheRun) {
  // Through the page's Cancel when it offers one, as a person would end it.
  EXPECT_EQ(RunCapturing("[PanelDBAUSER]\nEditorDBAUSER = system\n\nbutton = Back\n"), 2);
  EXPECT_EQ(errors,
            "tessardbsetup: test.rsp:4: PanelDBAUSER: the button Back cannot be pressed (greyed "
            "out, or not on this page)\n");
  EXPECT_EQ(Count("\"event\":\"button\",\"page\":\"PanelDBAUSER\",\"button\":\"Cancel\"}"), 1u);
  EXPECT_EQ(Count("\"event\":\"exit\",\"status\":2,\"outcome\":\"cancelled\"}"), 1u);

  // At once when there is no Cancel either: nothing could ever be pressed.
  offerCancel = false;
  EXPECT_EQ(RunCapturing("[PanelDBAUSER]\nbutton = Cancel\n"), 2);
  EXPECT_EQ(errors,
            "tessardbsetup: test.rsp:2: PanelDBAUSER: the button Cancel cannot be pressed (greyed "
            "out, or not on this page)\n");
  EXPECT_EQ(Count("\"event\":\"button\""), 1u) << "only the first run's Cancel";

  // Nothing named, Next greyed, nothing running: the page would wait for
  // ever.
  greyNext = true;
  EXPECT_EQ(RunCapturing("[PanelDBAUSER]\nEditorDBAUSER = system\n"), 2);
  EXPECT_EQ(errors,
            "tessardbsetup: PanelDBAUSER shows no button that can be pressed, and nothing runs: "
            "the run stops\n");
  EXPECT_EQ(Count("\"event\":\"set\""), 1u) << "the first run's only: nothing was set";
}

TEST_F(ScriptDisplay, ARefusalEndsTheRunWithTheBoxOnStderr) {
  testing::internal::CaptureStderr();
  const int status = RunWith("[PanelDBAUSER]\nEditorDBAUSER = \"\"\nEditorDBAUSERP = secret\n");
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
  const int status = RunWith(
      "[options]\non-refusal = continue\nmax-refusals = 4\n[PanelDBAUSER]\nEditorDBAUSER =\n");
  const std::string stderrText = testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, 2);
  EXPECT_NE(stderrText.find("not left after 4 answers"), std::string::npos) << stderrText;
  std::size_t boxes = 0;
  const std::string transcript = Transcript();
  for (std::size_t at = transcript.find("\"event\":\"box\""); at != std::string::npos;
       at = transcript.find("\"event\":\"box\"", at + 1)) {
    ++boxes;
  }
  EXPECT_EQ(boxes, 4u);
}

TEST_F(ScriptDisplay, AFieldAPersonCannotChangeEndsTheRunWithItsLine) {
  greyPassword = true;
  EXPECT_EQ(RunCapturing("[PanelDBAUSER]\nEditorDBAUSER = system\nEditorDBAUSERP = secret\n"), 2);
  EXPECT_EQ(errors,
            "tessardbsetup: test.rsp:3: PanelDBAUSER: EditorDBAUSERP cannot be changed now (hidden "
            "or greyed out)\n");
  EXPECT_EQ(Count("\"event\":\"button\""), 0u);
  EXPECT_EQ(Transcript().find("secret"), std::string::npos);
}

// A name no line holds is typed into a combo that offers an entry field, as
// a person would type it; any other combo refuses it with the file's line.
TEST_F(ScriptDisplay, ATypedNameGoesOnlyIntoACombosEntryField) {
  withCombos = true;
  EXPECT_EQ(RunWith("[PanelDBAUSER]\nComboTyped = PDMEXTRA\nComboListed = #2\n"
                    "EditorDBAUSER = system\n"),
            0);
  EXPECT_EQ(selections,
            (std::vector<std::string>{"ComboTyped:PDMEXTRA:-1", "ComboListed:PDMTEST:1"}));
  EXPECT_EQ(Count("\"widget\":\"ComboTyped\",\"value\":\"PDMEXTRA\",\"typed\":1,\"accepted\":1}"),
            1u);

  selections.clear();
  EXPECT_EQ(RunWith("[PanelDBAUSER]\nComboTyped = PDMTEST\n"), 0);
  EXPECT_EQ(selections, (std::vector<std::string>{"ComboTyped:PDMTEST:1"}))
      << "a line's text chooses the line, typed or not";

  selections.clear();
  std::filesystem::remove(directory.File("transcript"));
  EXPECT_EQ(RunCapturing("[PanelDBAUSER]\nComboTyped = PDMEXTRA\nComboListed = PDMEXTRA\n"), 2);
  EXPECT_EQ(errors,
            "tessardbsetup: PanelDBAUSER refused the answer for ComboListed (test.rsp line 3): no "
            "line 'PDMEXTRA' (its lines: 'PDMDB', 'PDMTEST')\n");
  EXPECT_EQ(Count("\"event\":\"button\""), 0u);

  // "#n" stays a line number even where names can be typed.
  selections.clear();
  EXPECT_EQ(RunCapturing("[PanelDBAUSER]\nComboTyped = #3\n"), 2);
  EXPECT_EQ(errors,
            "tessardbsetup: PanelDBAUSER refused the answer for ComboTyped (test.rsp line 2): no "
            "line '#3' (its lines: 'PDMDB', 'PDMTEST')\n");
  EXPECT_TRUE(selections.empty());
}

TEST_F(ScriptDisplay, NamesThePagesLackEndTheRunBeforeAnyPage) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"[PanelDBAUSER]\nEditorDBAUSER = system\nEditorNobody = x\n",
       "test.rsp:3: page 'PanelDBAUSER' has no widget 'EditorNobody' (its widgets that take "
       "answers: EditorDBAUSER, EditorDBAUSERP)"},
      {"[PanelDBAUSER]\nLabelDBAUSER = x\n",
       "test.rsp:2: 'LabelDBAUSER' on page 'PanelDBAUSER' is a label, which takes no answer"},
      {"[PanelDBAUSR]\n", "test.rsp:1: unknown page 'PanelDBAUSR' (did you mean 'PanelDBAUSER'?)"},
      {"[ZEP2ErrInCalBack]\nanswers = OK\n",
       "test.rsp:1: unknown section 'ZEP2ErrInCalBack' (did you mean 'ZEP2ErrInCallBack'?)"},
      {"[PanelDBAUSER]\ncancel-after-statements = 1\n",
       "test.rsp:2: 'cancel-after-statements' on 'PanelDBAUSER', which does not show an "
       "installation running (no page does)"},
  };
  for (const auto& [responses, message] : cases) {
    EXPECT_EQ(RunCapturing(responses), 2) << responses;
    EXPECT_EQ(errors, "tessardbsetup: " + message + "\n");
    EXPECT_EQ(Count("\"event\":\"page\""), 0u) << responses;
    EXPECT_EQ(Count("\"event\":\"set\""), 0u) << responses;
    std::filesystem::remove(directory.File("transcript"));
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
