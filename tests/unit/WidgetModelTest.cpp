// The widget model as pages and front ends rely on it: a person's input goes
// through the verify callback and raises notifications in order, program
// writes do not, radio groups stay exclusive, dialogs count their visits.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/QelDialog.h"
#include "platform/QelDlgCombo.h"
#include "platform/QelDlgEditor.h"
#include "platform/QelDlgToggle.h"
#include "platform/QelDlgWidgets.h"
#include "platform/QelInputListener.h"

namespace {

std::vector<std::string> events;

void Record(QelCommand* command, QelNotification* notification, void* data) {
  events.push_back(command->GetCommandName().str() + ":" +
                   notification->GetSource()->GetCommandName().str() + ":" +
                   static_cast<const char*>(data));
}

int RefuseBlanks(const QelUnicodeString& text, void*) {
  events.push_back("verify:" + text.str());
  return text.str().find(' ') == std::string::npos ? 1 : 0;
}

int Input(const QelUnicodeString& text, void*) {
  events.push_back("input:" + text.str());
  return 0;
}

// Handlers that write back into their own editor, as the page handlers do.
void UpperCase(QelCommand*, QelNotification* notification, void*) {
  auto* editor = static_cast<QelDlgEditor*>(notification->GetSource());
  editor->SetText(editor->GetText().ToUpper());
}

class WidgetModel : public ::testing::Test {
 protected:
  void SetUp() override { events.clear(); }
  QelDlgDialog dialog{nullptr, "PanelTest", 0};
  QelCommand controller{nullptr, "controller"};
};

TEST_F(WidgetModel, EditorInputIsVerifiedThenStoredThenNotified) {
  auto* frame = new QelDlgFrame(&dialog, "Frame1", 0);
  auto* editor = new QelDlgEditor(frame, "EditorName", 0);
  editor->SetVerifyCallback(RefuseBlanks, nullptr);
  editor->SetInputCallback(Input, nullptr);
  controller.AddAnalyseNotificationCB(editor->GetModifyNotification(), Record,
                                      const_cast<char*>("first"));
  controller.AddAnalyseNotificationCB(editor->GetModifyNotification(), UpperCase, nullptr);
  controller.AddAnalyseNotificationCB(editor->GetModifyNotification(), Record,
                                      const_cast<char*>("second"));

  EXPECT_FALSE(editor->CommitText("two words"));
  EXPECT_EQ(editor->GetText().str(), "") << "a refused text changes nothing";
  EXPECT_TRUE(editor->CommitText("pdmadm"));
  EXPECT_EQ(editor->GetText().str(), "PDMADM") << "a handler may write into its own editor";
  EXPECT_EQ(events, (std::vector<std::string>{"verify:two words", "verify:pdmadm", "input:pdmadm",
                                              "controller:EditorName:first",
                                              "controller:EditorName:second"}));

  events.clear();
  editor->SetText("from the program");
  EXPECT_TRUE(events.empty()) << "program writes do not notify";
  EXPECT_EQ(dialog.FindObject("EditorName"), editor);
}

TEST_F(WidgetModel, EditorLimitsAndLines) {
  auto* port = new QelDlgEditor(&dialog, "EditorPort", QelDlgEditor::NumericStyle);
  port->SetMaxCharacterWidth(5);
  std::string refusal = "unchanged when accepted";
  EXPECT_TRUE(port->CommitText("12345", &refusal));
  EXPECT_EQ(refusal, "unchanged when accepted");
  EXPECT_FALSE(port->CommitText("123456", &refusal));
  EXPECT_EQ(refusal, "longer than 5 characters");
  EXPECT_FALSE(port->CommitText("12a", &refusal));
  EXPECT_EQ(refusal, "not a number (digits only)");
  EXPECT_FALSE(port->CommitText("12a456"));
  EXPECT_EQ(port->GetText().str(), "12345");
  port->SetVerifyCallback(
      [](const QelUnicodeString& text, void*) { return text.str() != "0" ? 1 : 0; }, nullptr);
  EXPECT_FALSE(port->CommitText("0", &refusal));
  EXPECT_EQ(refusal, "refused by the field's check (a character or a length it does not take)");
  EXPECT_FALSE(port->CommitText("1234567", &refusal));
  EXPECT_EQ(refusal, "longer than 5 characters") << "the first rule broken is the one given";

  auto* report = new QelDlgEditor(&dialog, "EditorReport", QelDlgEditor::MultiLineStyle);
  EXPECT_FALSE(report->IsPassword()) << "the multi-line style contains the password bit";
  report->SetText("one\ntwo");
  report->SetLine(4, "four");
  EXPECT_EQ(report->GetLineCount(), 4);
  EXPECT_EQ(report->GetText().str(), "one\ntwo\n\nfour");
  report->ClearLine(1);
  EXPECT_EQ(report->GetLine(1).str(), "two");
  report->SetText("");
  EXPECT_EQ(report->GetLineCount(), 0);
}

TEST_F(WidgetModel, ComboSelectionFillsTheFieldAndNotifiesOnRequest) {
  auto* combo = new QelDlgCombo(&dialog, "ComboAlias", 0x40000);
  controller.AddAnalyseNotificationCB(combo->GetSelectNotification(), Record,
                                      const_cast<char*>("select"));
  combo->AddLine("PDMDB");
  combo->AddLine("Others ...");
  combo->SetSelectedPosition(1, false);
  EXPECT_TRUE(events.empty());
  combo->SetSelectedPosition(0, true);
  EXPECT_EQ(combo->GetField().str(), "PDMDB");
  EXPECT_EQ(events.size(), 1u);
  combo->SetSelectedPosition(5, true);
  EXPECT_EQ(combo->GetSelectedPosition(), 0) << "a line that does not exist is ignored";
  combo->ClearLines();
  EXPECT_EQ(combo->GetSelectedPosition(), -1);
}

// What the listener sees of a typed text, and whether the page's handler has
// run by then (it must not have: the record is written before the handlers).
class TypedTextListener : public QelInputListener {
 public:
  void WidgetSet(QelDlgObject* widget) override {
    const auto* combo = static_cast<const QelDlgCombo*>(widget);
    events.push_back("heard:" + combo->GetField().str() + ":" +
                     std::to_string(combo->GetSelectedPosition()));
  }
  void ButtonPressed(QelDlgDialog*, const char*) override {}
  void BoxAnswered(QelDlgNotify*, int) override {}
};

TEST_F(WidgetModel, TypedComboTextSelectsItsLineOrNoneAndNotifiesOnce) {
  dialog.SetVisibility(QelDlgObject::Shown);
  auto* combo = new QelDlgCombo(&dialog, "ComboAlias", 0x40000);
  controller.AddAnalyseNotificationCB(combo->GetSelectNotification(), Record,
                                      const_cast<char*>("select"));
  for (const char* line : {"PDMDB", "PDMTEST", "PDMDB", "Others ..."}) combo->AddLine(line);
  QelSetInputListener(std::make_unique<TypedTextListener>());

  std::string refusal;
  EXPECT_FALSE(combo->EnterText("PDMEXTRA", &refusal))
      << "a combo takes typed text only when offered";
  EXPECT_EQ(refusal, "takes only one of its lines, not a typed text");
  combo->OfferEntryField("Others ...");
  EXPECT_TRUE(combo->IsTypingLine(3));
  EXPECT_FALSE(combo->IsTypingLine(0));
  EXPECT_FALSE(combo->IsTypingLine(4));

  combo->SetSelectedPosition(1, false);
  ASSERT_TRUE(combo->EnterText("PDMEXTRA"));
  EXPECT_EQ(combo->GetSelectedPosition(), -1) << "a name no line holds selects none";
  EXPECT_EQ(combo->GetSelectedLine().str(), "");
  EXPECT_EQ(combo->GetField().str(), "PDMEXTRA");
  EXPECT_EQ(events, (std::vector<std::string>{"heard:PDMEXTRA:-1", "controller:ComboAlias:select"}))
      << "heard first, then the page's handler, once";

  events.clear();
  ASSERT_TRUE(combo->EnterText("PDMDB"));
  EXPECT_EQ(combo->GetSelectedPosition(), 0) << "typing a line's text is choosing its first line";
  EXPECT_EQ(events, (std::vector<std::string>{"heard:PDMDB:0", "controller:ComboAlias:select"}));

  events.clear();
  EXPECT_FALSE(combo->EnterText("PDM\nDB", &refusal));
  EXPECT_EQ(refusal, "a typed text holds no control characters");
  EXPECT_FALSE(combo->EnterText("PDM\tDB"));
  combo->SetSensitivity(QelDlgObject::Insensitive);
  EXPECT_FALSE(combo->EnterText("OTHER", &refusal));
  EXPECT_EQ(refusal, "cannot be changed now (hidden or greyed out)");
  combo->SetSensitivity(QelDlgObject::Sensitive);
  dialog.SetVisibility(QelDlgObject::Hidden);
  EXPECT_FALSE(combo->EnterText("OTHER"));
  EXPECT_TRUE(events.empty()) << "a refused text is neither heard nor notified";
  EXPECT_EQ(combo->GetField().str(), "PDMDB");
  EXPECT_EQ(combo->GetSelectedPosition(), 0);

  dialog.SetVisibility(QelDlgObject::Shown);
  ASSERT_TRUE(combo->EnterText(""));
  EXPECT_EQ(combo->GetSelectedPosition(), -1) << "an emptied field chooses nothing";
  QelSetInputListener(nullptr);
}

TEST_F(WidgetModel, RadioButtonsOfOneFrameAreExclusiveAndTogglesRespectSensitivity) {
  dialog.SetVisibility(QelDlgObject::Shown);  // nobody clicks into a hidden window
  auto* group = new QelDlgFrame(&dialog, "Frame11221", 0);
  auto* db2 = new QelDlgRadioButton(group, "RadButIBMUDB", 0);
  auto* oracle = new QelDlgRadioButton(group, "RadButOracle", 0);
  auto* elsewhere = new QelDlgRadioButton(&dialog, "RadButOther", 0);
  db2->SetState(QelDlgToggle::Checked);
  elsewhere->SetState(QelDlgToggle::Checked);
  controller.AddAnalyseNotificationCB(db2->GetSelectNotification(), Record,
                                      const_cast<char*>("db2"));
  controller.AddAnalyseNotificationCB(oracle->GetSelectNotification(), Record,
                                      const_cast<char*>("oracle"));

  oracle->Click();
  EXPECT_TRUE(oracle->IsChecked());
  EXPECT_FALSE(db2->IsChecked());
  EXPECT_TRUE(elsewhere->IsChecked()) << "another frame is another group";
  EXPECT_EQ(events, std::vector<std::string>{"controller:RadButOracle:oracle"});

  auto* check = new QelDlgCheckButton(group, "ChkButVault", 0);
  group->SetSensitivity(QelDlgObject::Insensitive);
  check->Click();
  db2->Click();
  EXPECT_FALSE(check->IsChecked()) << "an insensitive parent greys out its children";
  EXPECT_TRUE(oracle->IsChecked());
  group->SetSensitivity(QelDlgObject::Sensitive);
  check->Click();
  EXPECT_EQ(check->GetState(), QelDlgToggle::Checked);
}

TEST_F(WidgetModel, DialogsStartHiddenCountVisitsAndIgnoreInsensitiveButtons) {
  EXPECT_FALSE(dialog.IsVisible());
  EXPECT_EQ(QelDialog::FindDialog("PanelTest"), &dialog);
  controller.AddAnalyseNotificationCB(dialog.GetDiaCANCELNotification(), Record,
                                      const_cast<char*>("next"));
  dialog.SetVisibility(QelDlgObject::Shown);
  dialog.SetVisibility(QelDlgObject::Shown);
  EXPECT_EQ(dialog.GetVisitCount(), 1) << "showing a shown dialog is no new visit";
  dialog.SetVisibility(QelDlgObject::Hidden);
  dialog.SetVisibility(QelDlgObject::Shown);
  EXPECT_EQ(dialog.GetVisitCount(), 2);

  dialog.SetButtonSensitivity(QelDlgDialog::CANCEL, QelDlgObject::Insensitive);
  dialog.PressButton(QelDlgDialog::CANCEL);
  EXPECT_TRUE(events.empty());
  dialog.SetButtonSensitivity(QelDlgDialog::CANCEL, QelDlgObject::Sensitive);
  dialog.PressButton(QelDlgDialog::CANCEL);
  EXPECT_EQ(events, std::vector<std::string>{"controller:PanelTest:next"});
}

TEST_F(WidgetModel, ProgressStaysInsideItsRange) {
  auto* bar = new QelDlgProgress(&dialog, "Progress", 0);
  bar->SetRange(1, 10);
  bar->SetStep(4);
  EXPECT_EQ(bar->GetPosition(), 1);
  bar->StepIt();
  bar->StepIt();
  bar->StepIt();
  EXPECT_EQ(bar->GetPosition(), 10);
  bar->SetRange(1, 5);
  EXPECT_EQ(bar->GetPosition(), 5);
}

}  // namespace
