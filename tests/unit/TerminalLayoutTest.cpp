// The terminal front end's arithmetic, which breaks quietly when wrong: text
// wrapping on characters, the line being typed into a field, the layout of a
// page from its grid constraints, and the focus order over greyed-out and
// hidden widgets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/QelDialog.h"
#include "platform/QelDlgCombo.h"
#include "platform/QelDlgEditor.h"
#include "platform/QelDlgToggle.h"
#include "platform/QelDlgWidgets.h"
#include "platform/display/tui/TuiFocus.h"
#include "platform/display/tui/TuiLayout.h"
#include "platform/display/tui/TuiLineEdit.h"
#include "platform/display/tui/TuiText.h"

namespace {

using Lines = std::vector<std::string>;

TEST(TerminalText, WrapsBetweenWordsAtLineFeedsAndCutsLongWords) {
  const struct {
    const char* text;
    int width;
    Lines expected;
  } cases[] = {
      {"", 10, {}},
      {"short", 10, {"short"}},
      {"exactly ten", 11, {"exactly ten"}},
      {"exactly ten", 10, {"exactly", "ten"}},
      {"one two three four", 9, {"one two", "three", "four"}},
      {"first\nsecond line", 20, {"first", "second line"}},
      {"ends with a break\n", 20, {"ends with a break", ""}},
      {"/a/very/long/path/without/blanks", 10, {"/a/very/lo", "ng/path/wi", "thout/blan", "ks"}},
      {"go /a/very/long/path", 8, {"go", "/a/very/", "long/pat", "h"}},
      // Accented letters are one column each, not two bytes.
      {"éèà éèà", 3, {"éèà", "éèà"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TuiWrap(c.text, c.width), c.expected) << c.text << " at " << c.width;
    for (const std::string& line : TuiWrap(c.text, c.width))
      EXPECT_LE(TuiWidth(line), c.width) << line;
  }
  EXPECT_EQ(TuiWidth("éèà"), 3);
  EXPECT_EQ(TuiPad("éè", 4), "éè  ");
  EXPECT_EQ(TuiPad("abcdef", 4), "abcd");
  EXPECT_EQ(TuiHead("éèàx", 2), "éè");
  EXPECT_EQ(TuiTail("éèàx", 3), "x");
}

TEST(TerminalLineEdit, KeepsTheEditorsRulesAndShowsPasswordsAsStars) {
  TuiLineEdit numeric("12", 4, true, false);
  EXPECT_FALSE(numeric.Insert("a"));
  EXPECT_TRUE(numeric.Insert("3"));
  EXPECT_TRUE(numeric.Insert("4"));
  EXPECT_FALSE(numeric.Insert("5")) << "the maximum length holds";
  EXPECT_EQ(numeric.Text(), "1234");

  TuiLineEdit text("pdadm", 0, false, false);
  EXPECT_FALSE(text.Modified());
  text.Home();
  text.Right();
  text.Right();
  EXPECT_TRUE(text.Insert("m"));
  EXPECT_EQ(text.Text(), "pdmadm");
  text.DeleteBefore();
  EXPECT_EQ(text.Text(), "pdadm");
  text.DeleteAt();
  EXPECT_EQ(text.Text(), "pddm");
  text.KillToEnd();
  EXPECT_EQ(text.Text(), "pd");
  EXPECT_TRUE(text.Modified());

  TuiLineEdit password("sécret", 0, false, true);
  int column = -1;
  EXPECT_EQ(password.Visible(8, column), "******  ") << "one star per character";
  EXPECT_EQ(column, 6);

  // A text longer than the field scrolls so the cursor stays in sight.
  TuiLineEdit path("/opt/oracle/product", 0, false, false);
  EXPECT_EQ(path.Visible(8, column), "product ");
  EXPECT_EQ(column, 7);
  path.Home();
  EXPECT_EQ(path.Visible(8, column), "/opt/ora");
  EXPECT_EQ(column, 0);
}

// A page as the wizard builds them: a banner frame without text, a titled
// frame with an introduction, then two field frames of label + input rows.
class TerminalPage : public ::testing::Test {
 protected:
  TerminalPage() {
    dialog.SetVisibility(QelDlgObject::Shown);
    page = new QelDlgFrame(&dialog, "Page", 0);
    auto* banner = new QelDlgFrame(page, "Banner", 0);
    new QelDlgLabel(banner, "Empty", 0);
    banner->SetConstraints(0, 0, 30);
    main = new QelDlgFrame(page, "Main", 1);
    main->SetTitle("Main title");
    main->SetConstraints(0, 1, 30);
    intro = new QelDlgFrame(main, "Intro", 0);
    intro->SetConstraints(0, 0, 30);
    introduction = new QelDlgLabel(intro, "Introduction", 0);
    introduction->SetTitle("An introduction long enough to wrap on a narrow page of text.");
    fields = new QelDlgFrame(main, "Fields", 0);
    fields->SetConstraints(1, 0, 30);
    first = new QelDlgFrame(fields, "First", 0);
    first->SetConstraints(0, 0, 30);
    second = new QelDlgFrame(fields, "Second", 0);
    second->SetConstraints(1, 0, 30);
    accountLabel = Label(first, "LabelAccount", "Account:", 0, 0);
    account = Input<QelDlgEditor>(first, "EditorAccount", 0, 1);
    passwordLabel = Label(first, "LabelPassword", "A much longer caption:", 1, 0);
    password = Input<QelDlgEditor>(first, "EditorPassword", 1, 1);
    // Created before the combo but placed after it: reading order wins.
    check = Input<QelDlgCheckButton>(second, "Check", 1, 0);
    check->SetTitle("Checked choice");
    combo = Input<QelDlgCombo>(second, "Combo", 0, 1);
    Label(second, "LabelCombo", "List:", 0, 0);
  }

  QelDlgLabel* Label(QelDlgObject* parent, const char* name, const char* title, int row,
                     int column) {
    auto* label = new QelDlgLabel(parent, name, 0);
    label->SetTitle(title);
    label->SetConstraints(row, column, 94);
    return label;
  }
  template <typename T>
  T* Input(QelDlgObject* parent, const char* name, int row, int column) {
    auto* input = new T(parent, name, 0);
    input->SetConstraints(row, column, 30);
    return input;
  }
  std::vector<std::string> FocusNames(const TuiLayout& layout) {
    std::vector<std::string> names;
    for (QelDlgObject* object : TuiFocusOrder(layout))
      names.push_back(object->GetCommandName().str());
    return names;
  }

  QelDlgDialog dialog{nullptr, "PanelTest", 0};
  QelDlgFrame* page;
  QelDlgFrame* main;
  QelDlgFrame* intro;
  QelDlgLabel* introduction;
  QelDlgFrame* fields;
  QelDlgFrame* first;
  QelDlgFrame* second;
  QelDlgLabel* accountLabel;
  QelDlgEditor* account;
  QelDlgLabel* passwordLabel;
  QelDlgEditor* password;
  QelDlgCheckButton* check;
  QelDlgCombo* combo;
};

TEST_F(TerminalPage, FieldsOfAllFramesLineUpBesideOneLabelColumn) {
  const TuiLayout layout = TuiLayOut(&dialog, 76, 19);
  const TuiItem* title = layout.Find(main);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->kind, TuiItemKind::FrameTitle);
  EXPECT_EQ(title->x, 0) << "a banner without text takes no column";
  EXPECT_EQ(title->y, 0);
  const TuiItem* text = layout.Find(introduction);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->y, 2) << "one blank line under the frame title";
  EXPECT_EQ(text->lines, Lines{"An introduction long enough to wrap on a narrow page of text."});

  const TuiItem* accountItem = layout.Find(account);
  const TuiItem* passwordItem = layout.Find(password);
  const TuiItem* comboItem = layout.Find(combo);
  ASSERT_TRUE(accountItem && passwordItem && comboItem);
  const int labelColumn = static_cast<int>(std::string("A much longer caption:").size());
  EXPECT_EQ(accountItem->x, labelColumn + 2);
  EXPECT_EQ(passwordItem->x, labelColumn + 2);
  EXPECT_EQ(comboItem->x, labelColumn + 2) << "fields of another frame line up too";
  EXPECT_EQ(layout.Find(accountLabel)->y, accountItem->y);
  EXPECT_EQ(passwordItem->y, accountItem->y + 1);
  EXPECT_EQ(text->y + 2, accountItem->y) << "a blank line sets the text apart from the fields";
  EXPECT_LE(accountItem->x + accountItem->width, 76);
}

TEST_F(TerminalPage, NarrowPagesWrapTextAndKeepEveryWidgetInsideTheWidth) {
  for (const int width : {40, 60, 76, 116}) {
    const TuiLayout layout = TuiLayOut(&dialog, width, 19);
    for (const TuiItem& item : layout.items) {
      EXPECT_GE(item.x, 0) << item.object->GetCommandName().str();
      EXPECT_LE(item.x + item.width, width)
          << item.object->GetCommandName().str() << " at " << width;
      for (const std::string& line : item.lines) EXPECT_LE(TuiWidth(line), item.width);
    }
    // Reading order: no item starts above the one before it.
    for (std::size_t i = 1; i < layout.items.size(); ++i)
      EXPECT_LE(layout.items[i - 1].y, layout.items[i].y);
  }
  EXPECT_GT(TuiLayOut(&dialog, 40, 19).Find(introduction)->lines.size(), 1U);
}

TEST_F(TerminalPage, HiddenWidgetsTakeNoRoomAndATextViewFillsThePage) {
  password->SetVisibility(QelDlgObject::Hidden);
  passwordLabel->SetVisibility(QelDlgObject::Hidden);
  const TuiLayout layout = TuiLayOut(&dialog, 76, 19);
  EXPECT_EQ(layout.Find(password), nullptr);
  EXPECT_EQ(layout.Find(passwordLabel), nullptr);
  EXPECT_EQ(layout.Find(account)->x, static_cast<int>(std::string("Account:").size()) + 2)
      << "the label column shrinks to the labels still shown";

  auto* report = new QelDlgEditor(second, "Report", QelDlgEditor::MultiLineStyle);
  report->SetConstraints(2, 0, 30);
  const TuiLayout filled = TuiLayOut(&dialog, 76, 30);
  const TuiItem* view = filled.Find(report);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->kind, TuiItemKind::TextView);
  EXPECT_EQ(filled.height, 30) << "the text view takes the lines left over";
  EXPECT_EQ(TuiLayOut(&dialog, 76, 5).Find(report)->height, TuiMinimumTextViewHeight);
}

TEST_F(TerminalPage, FocusFollowsReadingOrderAndSkipsGreyedOutAndHiddenWidgets) {
  const TuiLayout layout = TuiLayOut(&dialog, 76, 19);
  EXPECT_EQ(FocusNames(layout),
            (std::vector<std::string>{"EditorAccount", "EditorPassword", "Combo", "Check"}));

  password->SetSensitivity(QelDlgObject::Insensitive);
  combo->SetVisibility(QelDlgObject::Hidden);
  EXPECT_EQ(FocusNames(TuiLayOut(&dialog, 76, 19)),
            (std::vector<std::string>{"EditorAccount", "Check"}));

  // A greyed-out frame greys out everything in it.
  second->SetSensitivity(QelDlgObject::Insensitive);
  const std::vector<QelDlgObject*> order = TuiFocusOrder(TuiLayOut(&dialog, 76, 19));
  EXPECT_EQ(order, std::vector<QelDlgObject*>{account});
  EXPECT_EQ(TuiNextFocus(order, account, true), account) << "one field wraps onto itself";
}

TEST(TerminalLayout, ExplanationsUnderAToggleAreSetInUnderItsCaption) {
  QelDlgDialog dialog{nullptr, "PanelChoices", 0};
  auto* frame = new QelDlgFrame(&dialog, "Choices", 0);
  auto* choice = new QelDlgCheckButton(frame, "Choice", 0);
  choice->SetTitle("Create the database objects");
  choice->SetConstraints(0, 0, 30);
  auto* explanation = new QelDlgLabel(frame, "Explanation", 0);
  explanation->SetTitle("Creates the users, the tablespaces and the schemas of the PDM server.");
  explanation->SetConstraints(1, 0, 94);
  auto* after = new QelDlgLabel(frame, "After", 0);
  after->SetTitle("A text of its own.");
  after->SetConstraints(3, 0, 30);
  auto* separator = new QelDlgSeparator(frame, "Separator", 0);
  separator->SetConstraints(2, 0, 30);

  const TuiLayout layout = TuiLayOut(&dialog, 40, 19);
  const TuiItem* text = layout.Find(explanation);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->x, layout.Find(choice)->x + 4);
  EXPECT_EQ(text->width, 36);
  EXPECT_EQ(text->lines,
            (Lines{"Creates the users, the tablespaces", "and the schemas of the PDM server."}));
  EXPECT_EQ(layout.Find(after)->x, 0) << "only the text under the button is set in";
}

TEST(TerminalFocus, NextFocusWrapsBothWaysAndStartsAtAnEnd) {
  QelDlgDialog dialog{nullptr, "PanelFocus", 0};
  auto* a = new QelDlgEditor(&dialog, "A", 0);
  auto* b = new QelDlgEditor(&dialog, "B", 0);
  auto* c = new QelDlgEditor(&dialog, "C", 0);
  const std::vector<QelDlgObject*> order{a, b, c};
  EXPECT_EQ(TuiNextFocus(order, a, true), b);
  EXPECT_EQ(TuiNextFocus(order, c, true), a);
  EXPECT_EQ(TuiNextFocus(order, a, false), c);
  EXPECT_EQ(TuiNextFocus(order, nullptr, true), a);
  EXPECT_EQ(TuiNextFocus(order, nullptr, false), c);
  EXPECT_EQ(TuiNextFocus({}, a, true), nullptr);
}

}  // namespace
