// The message boxes: the values callers test, the traces of the answers,
// and the composition and wrapping of error texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <string>

#include "TempDirectory.h"
#include "pages/ZEP2MessageBoxes.h"
#include "platform/QelApplication.h"
#include "platform/QelDisplay.h"
#include "platform/QelLog.h"

namespace {

// A front end that answers from a queue and remembers what it was shown.
class QueueDisplay : public QelDisplay {
 public:
  int DisplayBlocked(QelDlgNotify* notice) override {
    shown.push_back(notice->GetCommandName().str() + "|" + notice->GetTitle().str() + "|" +
                    notice->GetText().str() + "|" + notice->GetOKCaption().str() + "|" +
                    notice->GetCANCELCaption().str());
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<int> answers;
  std::deque<std::string> shown;
};

std::string Characters(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += static_cast<char>('a' + i % 26);
  return text;
}

class MessageBoxes : public ::testing::Test {
 protected:
  void SetUp() override {
    auto queue = std::make_unique<QueueDisplay>();
    display = queue.get();
    QelSetDisplay(std::move(queue));
    OpenTraceLogFile(directory.File("trace").c_str(), 1);
  }
  void TearDown() override {
    QelSetDisplay(nullptr);
    QelCloseLogFiles();
  }
  std::string Trace() const { return ReadWholeFile(directory.File("trace")); }

  TempDirectory directory;
  QueueDisplay* display = nullptr;
  QelDlgDialog page{nullptr, "PanelTESADM", 0};
};

TEST(ErrorText, DetailWrapsAfter69CharactersThenEvery68) {
  EXPECT_EQ(ZEP2WrapDetail(Characters(69)).str(), Characters(69));
  const std::string seventy = ZEP2WrapDetail(Characters(70)).str();
  EXPECT_EQ(seventy, Characters(69) + "\n" + Characters(70).substr(69));

  const std::string wrapped = ZEP2WrapDetail(Characters(150)).str();
  ASSERT_EQ(wrapped.size(), 152u);
  EXPECT_EQ(wrapped[69], '\n');
  EXPECT_EQ(wrapped[137], '\n');
  EXPECT_EQ(wrapped.substr(138).size(), 14u);
  EXPECT_EQ(wrapped.find('\n', 138), std::string::npos);

  // Characters, not bytes: a multi-byte character is never cut in two.
  std::string accented;
  for (int i = 0; i < 70; ++i) accented += "\xC3\xA9";
  const std::string wrappedAccents = ZEP2WrapDetail(accented).str();
  EXPECT_EQ(wrappedAccents.find('\n'), 138u);

  EXPECT_EQ(ZEP2ComposeErrorText("Wrong path.", "").str(), "Wrong path.");
  EXPECT_EQ(ZEP2ComposeErrorText("Wrong path.", "detail").str(), "Wrong path. \ndetail");
}

TEST_F(MessageBoxes, CancelConfirmationReturnsThePressedButtonAndTracesIt) {
  display->answers = {1, 2, 7};
  for (const char* expected :
       {"\nPressedButton : 1", "\nPressedButton : 2", "\nPressedButton : default"}) {
    ZEP2CancelInCallBack box(nullptr, &page, "Cancel", "Really cancel?", "spare", "Yes, cancel",
                             "No, go on");
    const int value = box.Build();
    EXPECT_NE(Trace().find(std::string("\n\nZEP2CancelInCallBack::Build Begin ...\n") + expected +
                           "\nZEP2CancelInCallBack::Build End.\n\n"),
              std::string::npos)
        << value;
  }
  EXPECT_EQ(display->shown.front(),
            "ZEP2CancelInCallBack|Cancel|Really cancel?|Yes, cancel|No, go on");
}

TEST_F(MessageBoxes, YesNoQuestionKeepsTheFrameworksCaptions) {
  display->answers = {3, 4};
  ZEP2YesNoInCallBack yes(nullptr, &page, "Question", "Create it?", "Oui", "Non", "spare");
  EXPECT_EQ(yes.Build(), 3);
  ZEP2YesNoInCallBack no(nullptr, &page, "Question", "Create it?", "Oui", "Non", "spare");
  EXPECT_EQ(no.Build(), 4);
  EXPECT_EQ(display->shown.front(), "ZEP2YesNoInCallBack|Question|Create it?|Yes|No");
  EXPECT_NE(Trace().find("\nPressedButton : Yes\nPressedButton : <3>\nZEP2YesNoInCallBack::Build "
                         "End.\n\n"),
            std::string::npos);
  EXPECT_NE(Trace().find("\nPressedButton : No\nPressedButton : <4>"), std::string::npos);
}

TEST_F(MessageBoxes, ErrorBoxesComposeTheirTexts) {
  display->answers = {1, 1};
  ZEP2ErrInCallBack error(nullptr, &page, "Error", "The account is unknown.", Characters(70),
                          "Understood");
  EXPECT_EQ(error.Build(), 1);
  EXPECT_EQ(display->shown.front(), "ZEP2ErrInCallBack|Error|The account is unknown. \n" +
                                        Characters(69) + "\nr|Understood|Cancel");
  ZEP2ErrDlgDir directory(reinterpret_cast<ZEP2InstHQ*>(this), "The directory /x is missing.");
  directory.Build();
  EXPECT_EQ(display->shown.back(),
            "ZEP2ErrDlgDir|KEYBOARD INPUT ERROR|INPUT ERROR:\nThe directory /x is missing.|OK|"
            "Cancel");
  EXPECT_EQ(Trace(), "\n1\n1");

  ZEP2ErrDlgDir withoutController(nullptr, "nothing");
  withoutController.Build();
  EXPECT_EQ(display->shown.size(), 2u) << "without a controller nothing is shown";
}

int okPresses = 0;
void CountOK(QelCommand*, QelNotification*, void*) {
  ++okPresses;
}

TEST_F(MessageBoxes, IdleStepErrorDoesNotBlockAndReportsItsOK) {
  ZEP2ErrInSubsIdle box(nullptr, &page, "Installation failed", "A statement failed.",
                        "SQL0601N detail", "OK");
  box.Build();
  EXPECT_TRUE(display->shown.empty()) << "the idle-step box does not block";
  QelDlgNotify* notice = box.GetNotify();
  ASSERT_NE(notice, nullptr);
  EXPECT_TRUE(notice->IsVisible());
  EXPECT_EQ(notice->GetText().str(), "A statement failed. \nSQL0601N detail");
  QelCommand controller(nullptr, "controller");
  okPresses = 0;
  controller.AddAnalyseNotificationCB(notice->GetNfyOKNotification(), CountOK, nullptr);
  notice->PressOK();
  EXPECT_EQ(okPresses, 1);
}

TEST_F(MessageBoxes, AnUnansweredIdleStepErrorGoesWithTheApplicationThatShowedIt) {
  // A run can end over an idle-step error box (a signal, a fatal error):
  // the notice, left to the framework, must not outlive the application
  // with an OK handler whose command is gone, or the next front end would
  // find it shown and press it.
  okPresses = 0;
  const QelDialog* notice = nullptr;
  {
    QelApplication application(nullptr, "test");
    auto controller = std::make_unique<QelCommand>(nullptr, "controller");
    ZEP2ErrInSubsIdle box(nullptr, &page, "Installation failed", "A statement failed.", "", "OK");
    box.Build();
    notice = box.GetNotify();
    controller->AddAnalyseNotificationCB(box.GetNotify()->GetNfyOKNotification(), CountOK, nullptr);
    controller.reset();
    const auto& dialogs = QelDialog::AllDialogs();
    ASSERT_NE(std::find(dialogs.begin(), dialogs.end(), notice), dialogs.end());
  }
  const auto& dialogs = QelDialog::AllDialogs();
  EXPECT_EQ(std::find(dialogs.begin(), dialogs.end(), notice), dialogs.end());
  EXPECT_EQ(okPresses, 0);
}

}  // namespace
