// Record mode through the widget model: a person's input, whichever front end
// gives it, lands in the record file; the program's own writes never do, nor
// does a password.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "TempDirectory.h"
#include "platform/QelDialog.h"
#include "platform/QelDisplay.h"
#include "platform/QelDlgCombo.h"
#include "platform/QelDlgEditor.h"
#include "platform/QelDlgNotify.h"
#include "platform/QelDlgToggle.h"
#include "platform/QelDlgWidgets.h"
#include "platform/QelInputListener.h"
#include "platform/display/script/ResponseFile.h"
#include "platform/record/ResponseRecorder.h"

namespace {

using Widgets = std::vector<std::pair<std::string, std::string>>;

// A page's answers as read back, without the lines they were read from.
Widgets Given(const std::vector<WidgetAnswer>& answers) {
  Widgets widgets;
  for (const WidgetAnswer& answer : answers) widgets.emplace_back(answer.widget, answer.value);
  return widgets;
}

class AnsweringDisplay : public QelDisplay {
 public:
  int DisplayBlocked(QelDlgNotify*) override { return QelDlgNotify::NoValue; }
};

void Ignore(QelCommand*, QelNotification*, void*) {}

void UpperCase(QelCommand*, QelNotification* notification, void*) {
  auto* editor = static_cast<QelDlgEditor*>(notification->GetSource());
  editor->SetText(editor->GetText().ToUpper());
}

class ResponseRecorder : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("TESSARDBSETUP_RECORD_FILE");
    unsetenv("TESSARDBSETUP_RECORD_STATE");
    auto* frame = new QelDlgFrame(&page, "Frame", 0);
    name = new QelDlgEditor(frame, "EditorName", 0);
    name->SetMaxCharacterWidth(8);
    password = new QelDlgEditor(frame, "EditorPass", QelDlgEditor::PasswordStyle);
    combo = new QelDlgCombo(frame, "ComboLines", 0);
    for (const char* line : {"alpha", "#hash", "alpha", "beta"}) combo->AddLine(line);
    check = new QelDlgCheckButton(frame, "ChkBut", 0);
    first = new QelDlgRadioButton(frame, "RadButFirst", 0);
    second = new QelDlgRadioButton(frame, "RadButSecond", 0);
    controller.AddAnalyseNotificationCB(name->GetModifyNotification(), UpperCase, nullptr);
    controller.AddAnalyseNotificationCB(page.GetDiaCANCELNotification(), Ignore, nullptr);
    controller.AddAnalyseNotificationCB(page.GetWindCloseNotification(), Ignore, nullptr);
    page.SetVisibility(QelDlgObject::Shown);
    path = directory.File("run.rsp");
  }
  void TearDown() override {
    QelSetInputListener(nullptr);
    QelSetDisplay(nullptr);
    unsetenv("TESSARDBSETUP_RECORD_FILE");
    unsetenv("TESSARDBSETUP_RECORD_STATE");
  }

  int Start(std::vector<std::string> arguments, std::string& error) {
    arguments.insert(arguments.begin(), "tessardbsetup");
    std::vector<char*> vector;
    for (std::string& argument : arguments) vector.push_back(argument.data());
    return QelStartRecording(static_cast<int>(vector.size()), vector.data(), error);
  }

  std::unique_ptr<ResponseFile> Recorded() {
    std::string error;
    auto file = ResponseFile::Load(path, error);
    EXPECT_TRUE(file) << error << "\n" << ReadWholeFile(path);
    return file;
  }

  TempDirectory directory;
  std::string path;
  QelCommand controller{nullptr, "controller"};
  QelDlgDialog page{nullptr, "PanelTest", 0};
  QelDlgEditor* name = nullptr;
  QelDlgEditor* password = nullptr;
  QelDlgCombo* combo = nullptr;
  QelDlgCheckButton* check = nullptr;
  QelDlgRadioButton* first = nullptr;
  QelDlgRadioButton* second = nullptr;
};

TEST_F(ResponseRecorder, APersonsInputIsRecordedAndTheProgramsWritesAreNot) {
  std::string error;
  ASSERT_EQ(Start({"-record", path}, error), 0) << error;
  QelSetDisplay(std::make_unique<AnsweringDisplay>());
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0) << "the record is there before any input";
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  name->SetText("program");
  combo->SetSelectedPosition(3, true);
  second->SetState(QelDlgToggle::Checked, true);
  EXPECT_FALSE(name->CommitText("far too long"));
  EXPECT_TRUE(name->CommitText("pdmadm"));
  EXPECT_EQ(name->GetText().str(), "PDMADM");
  password->CommitText("s3cret-one");
  combo->ChooseLine(0);
  combo->ChooseLine(1);
  combo->ChooseLine(9);
  first->Click();
  second->Click();
  check->Click();
  check->Click();
  page.PressButton(QelDlgDialog::OK);  // Back: nothing answers it here
  QelDlgNotify* question =
      QelDlgNotify::Create(&page, "ZEP2YesNoInCallBack", QelDlgNotify::YesNoStyle);
  question->DisplayBlocked("Go on?", "Question");
  question->Release();
  QelDlgNotify::Create(&page, "ZEP2ErrInSubsIdle", QelDlgNotify::OkStyle)->PressOK();
  page.PressButton(QelDlgDialog::CANCEL);

  const auto file = Recorded();
  ASSERT_TRUE(file);
  const PageAnswers* answers = file->ForPage("PanelTest", 1);
  ASSERT_TRUE(answers);
  EXPECT_EQ(Given(answers->widgets), (Widgets{{"EditorName", "pdmadm"},
                                              {"EditorPass", "${TESSARDBSETUP_PW_EditorPass}"},
                                              {"ComboLines", "#2"},
                                              {"RadButFirst", "checked"},
                                              {"RadButSecond", "checked"},
                                              {"ChkBut", "unchecked"}}));
  EXPECT_EQ(answers->button, "Next");
  EXPECT_EQ(file->ForPage("PanelTest", 2), answers) << "Back was not a press";
  EXPECT_EQ(file->NextBoxAnswer("ZEP2YesNoInCallBack"), "No");
  EXPECT_EQ(file->NextBoxAnswer("ZEP2ErrInSubsIdle"), "OK");
  EXPECT_EQ(ReadWholeFile(path).find("s3cret"), std::string::npos);

  // The first of two equal lines is named by its number.
  combo->ChooseLine(0);
  page.PressButton(QelDlgDialog::CANCEL);
  EXPECT_EQ(Given(Recorded()->ForPage("PanelTest", 2)->widgets), (Widgets{{"ComboLines", "#1"}}));
}

// A typed name is replayed as typed, so the silent run types it too; one
// that is a line's text is that line, and a "${" in it stays literal.
TEST_F(ResponseRecorder, TextTypedIntoAComboIsRecordedAsTyped) {
  std::string error;
  ASSERT_EQ(Start({"-record", path}, error), 0) << error;
  combo->OfferEntryField();
  ASSERT_TRUE(combo->EnterText("gamma ${HOME}"));
  page.PressButton(QelDlgDialog::CANCEL);
  ASSERT_TRUE(combo->EnterText("beta"));
  page.PressButton(QelDlgDialog::CANCEL);
  combo->ChooseLine(0);
  ASSERT_TRUE(combo->EnterText("alpha"));
  page.PressButton(QelDlgDialog::CANCEL);

  const auto file = Recorded();
  ASSERT_TRUE(file);
  EXPECT_EQ(Given(file->ForPage("PanelTest", 1)->widgets),
            (Widgets{{"ComboLines", "gamma $${HOME}"}}));
  EXPECT_EQ(ResponseFile::ExpandVariables("gamma $${HOME}"), "gamma ${HOME}");
  EXPECT_EQ(Given(file->ForPage("PanelTest", 2)->widgets), (Widgets{{"ComboLines", "beta"}}));
  EXPECT_EQ(Given(file->ForPage("PanelTest", 3)->widgets), (Widgets{{"ComboLines", "#1"}}))
      << "typing a line's text chose its first line, which the text alone would not find";
}

TEST_F(ResponseRecorder, GreyedOutWidgetsAndButtonsRecordNothing) {
  std::string error;
  ASSERT_EQ(Start({"-record", path}, error), 0) << error;
  check->SetSensitivity(QelDlgObject::Insensitive);
  combo->SetVisibility(QelDlgObject::Hidden);
  check->Click();
  combo->ChooseLine(3);
  page.SetButtonSensitivity(QelDlgDialog::CANCEL, QelDlgObject::Insensitive);
  page.PressButton(QelDlgDialog::CANCEL);
  EXPECT_EQ(ReadWholeFile(path).find('['), std::string::npos) << ReadWholeFile(path);
  page.RequestClose();
  const auto file = Recorded();
  ASSERT_TRUE(file);
  EXPECT_TRUE(file->ForPage("PanelTest", 1)->widgets.empty());
  EXPECT_EQ(file->ForPage("PanelTest", 1)->button, "Close");
}

// Two processes of a run: the son goes on from the father's record, with
// the pages' press counts and the password variables of both.
TEST_F(ResponseRecorder, TheSonGoesOnFromTheFathersRecord) {
  std::string error;
  ASSERT_EQ(Start({"-record", "elsewhere.rsp", "-record", path}, error), 0) << error;
  ASSERT_STREQ(std::getenv("TESSARDBSETUP_RECORD_FILE"), path.c_str());
  const std::string state = std::getenv("TESSARDBSETUP_RECORD_STATE");
  password->CommitText("wrong");
  page.PressButton(QelDlgDialog::CANCEL);
  password->CommitText("right");
  page.PressButton(QelDlgDialog::CANCEL);

  // The son, a new process, finds the record through the environment; the
  // father stays the model's listener, so the son is told directly.
  std::string sonError;
  auto son = QelResponseRecorder::Open(path, state, sonError);
  ASSERT_TRUE(son) << sonError;
  page.SetVisibility(QelDlgObject::Hidden);
  page.SetVisibility(QelDlgObject::Shown);
  son->WidgetSet(password);  // "right" again: taken for the one typed last
  password->SetText("third");
  son->WidgetSet(password);
  son->ButtonPressed(&page, "Next");
  son.reset();
  EXPECT_EQ(access(state.c_str(), F_OK), 0) << "only the run's first process removes the state";

  const auto file = Recorded();
  ASSERT_TRUE(file);
  EXPECT_TRUE(file->ContinueOnRefusal()) << "the wrong password was refused on the same visit";
  EXPECT_EQ(Given(file->ForPage("PanelTest", 1)->widgets),
            (Widgets{{"EditorPass", "${TESSARDBSETUP_PW_EditorPass}"}}));
  EXPECT_EQ(Given(file->ForPage("PanelTest", 2)->widgets),
            (Widgets{{"EditorPass", "${TESSARDBSETUP_PW_EditorPass_2}"}}));
  EXPECT_EQ(Given(file->ForPage("PanelTest", 3)->widgets),
            (Widgets{{"EditorPass", "${TESSARDBSETUP_PW_EditorPass_3}"}}));
  const std::string text = ReadWholeFile(path);
  for (const char* secret : {"wrong", "right", "third"}) {
    EXPECT_EQ(text.find(secret), std::string::npos) << secret;
  }
  EXPECT_NE(text.find("#   TESSARDBSETUP_PW_EditorPass_3\n"), std::string::npos) << text;

  // The father takes the son's presses in before recording its own.
  page.PressButton(QelDlgDialog::CANCEL);
  EXPECT_TRUE(Recorded()->ForPage("PanelTest", 4)->widgets.empty());
  QelSetInputListener(nullptr);
  EXPECT_NE(access(state.c_str(), F_OK), 0) << "the run's state outlived it";
}

TEST_F(ResponseRecorder, ARecordThatCannotBeWrittenAnyMoreStopsAndTheRunGoesOn) {
  std::string error;
  ASSERT_EQ(Start({"-record", path}, error), 0) << error;
  const std::string target = directory.File("target");
  ASSERT_EQ(unlink(path.c_str()), 0);
  ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0);
  testing::internal::CaptureStderr();
  page.PressButton(QelDlgDialog::CANCEL);
  page.PressButton(QelDlgDialog::CANCEL);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("the record stops: " + path + ": is a symbolic link"), std::string::npos)
      << said;
  EXPECT_EQ(said.find("the record stops", said.find("the record stops") + 1), std::string::npos)
      << "said once: " << said;
  EXPECT_NE(access(target.c_str(), F_OK), 0);
}

TEST_F(ResponseRecorder, TheRecordIsNeverWrittenThroughALinkOrIntoAnotherUsersFile) {
  std::string error;
  EXPECT_EQ(Start({"-record"}, error), 0) << "an option without a value is ignored";
  EXPECT_EQ(QelGetInputListener(), nullptr);

  const std::string target = directory.File("target");
  ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0);
  EXPECT_EQ(Start({"-record", path}, error), -1);
  EXPECT_NE(error.find("symbolic link"), std::string::npos) << error;
  EXPECT_NE(access(target.c_str(), F_OK), 0) << "nothing was created through the link";
  EXPECT_EQ(QelGetInputListener(), nullptr);
  EXPECT_EQ(std::getenv("TESSARDBSETUP_RECORD_FILE"), nullptr);

  EXPECT_EQ(Start({"-record", directory.File("missing/run.rsp")}, error), -1);
  const std::string answers = directory.File("answers.rsp");
  { std::ofstream(answers) << "[PanelTest]\nbutton = Back\n"; }
  EXPECT_EQ(Start({"-responsefile", answers, "-record", answers}, error), -1);
  EXPECT_EQ(ReadWholeFile(answers), "[PanelTest]\nbutton = Back\n") << "the answers are kept";

  if (geteuid() == 0) {
    const std::string foreign = directory.File("foreign.rsp");
    { std::ofstream(foreign) << "theirs\n"; }
    ASSERT_EQ(chown(foreign.c_str(), 65534, 65534), 0);
    EXPECT_EQ(Start({"-record", foreign}, error), -1);
    EXPECT_NE(error.find("another user"), std::string::npos) << error;
    EXPECT_EQ(ReadWholeFile(foreign), "theirs\n");
  }
}

}  // namespace
