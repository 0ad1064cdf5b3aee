// The terminal front end's key decisions that break quietly when wrong:
// which letter presses which button (the same on every page and box), what
// the key line says where the focus is, and where the focus goes after a
// box about a refused answer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/QelDialog.h"
#include "platform/QelDlgEditor.h"
#include "platform/display/tui/TuiFocus.h"
#include "platform/display/tui/TuiHotkeys.h"
#include "platform/display/tui/TuiKeyLine.h"
#include "platform/display/tui/TuiText.h"

namespace {

using Captions = std::vector<std::string>;

TEST(TerminalHotkeys, EachCaptionKeepsItsLetterOnEveryRowAndClashesMoveOn) {
  const struct {
    Captions captions;
    std::vector<int> positions;
  } rows[] = {
      {{"Back", "Next", "Cancel", "Help"}, {0, 0, 0, 0}},
      {{"Next", "Cancel", "Help"}, {0, 0, 0}},
      {{"Yes", "No"}, {0, 0}},
      {{"OK"}, {0}},
      // A caption whose first letter is taken takes its next word's, then
      // its next free letter.
      {{"Stop the setup", "Save it"}, {0, 5}},
      {{"Cancel", "Continue"}, {0, 1}},
      // Only ASCII letters and digits: positions count characters, not bytes.
      {{"Étape suivante"}, {6}},
      {{"Aa", "aA"}, {0, -1}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(TuiHotkeyPositions(row.captions), row.positions) << row.captions.front();
  }
  const Captions page{"Back", "Next", "Cancel", "Help"};
  EXPECT_EQ(TuiHotkeyButton(page, "n"), 1);
  EXPECT_EQ(TuiHotkeyButton(page, "N"), 1) << "any letter case";
  EXPECT_EQ(TuiHotkeyButton(page, "h"), 3);
  EXPECT_EQ(TuiHotkeyButton(page, "x"), -1);
  EXPECT_EQ(TuiHotkeyButton(page, "a"), -1) << "only the shown letter presses a button";
  EXPECT_EQ(TuiHotkeyButton(page, "é"), -1);
  EXPECT_EQ(TuiHotkeyButton(page, "nb"), -1);
  EXPECT_EQ(TuiHotkeyButton({"Cancel", "Continue"}, "o"), 1);
  EXPECT_EQ(TuiHotkeyButton({"Cancel", "Continue"}, "c"), 0);
}

TEST(TerminalKeyLine, AlwaysSaysF1AndWhatEscDoesWithinTheWidth) {
  const TuiFocusKind kinds[] = {
      TuiFocusKind::Field,  TuiFocusKind::TypingName, TuiFocusKind::EntryCombo, TuiFocusKind::List,
      TuiFocusKind::Toggle, TuiFocusKind::TextView,   TuiFocusKind::Button};
  for (const int width : {78, 118, 40}) {
    for (const TuiFocusKind kind : kinds) {
      for (const bool asks : {false, true}) {
        TuiKeyLineFacts facts;
        facts.focus = kind;
        facts.closeAsks = asks;
        const std::string line = TuiKeyLine(facts, width);
        const std::string where = std::to_string(width) + " columns, kind " +
                                  std::to_string(static_cast<int>(kind)) + ": " + line;
        EXPECT_LE(TuiWidth(line), width) << where;
        EXPECT_TRUE(line.starts_with("Tab: move")) << where;
        EXPECT_NE(line.find("F1: help"), std::string::npos) << where;
        EXPECT_NE(line.find(asks ? "Esc: close (asks)" : "Esc: close"), std::string::npos) << where;
        if (!asks) {
          EXPECT_EQ(line.find("(asks)"), std::string::npos) << where;
        }
      }
    }
  }
  TuiKeyLineFacts field;
  field.focus = TuiFocusKind::Field;
  field.closeAsks = true;
  EXPECT_EQ(TuiKeyLine(field, 78),
            "Tab: move  Enter: next field  Alt+letter: button  F1: help  Esc: close (asks)");
  field.replaces = true;
  EXPECT_EQ(TuiKeyLine(field, 78),
            "Tab: move  Typing replaces the refused text  F1: help  Esc: close (asks)")
      << "the refused text's part outranks Enter and the buttons";
  TuiKeyLineFacts button;
  button.letterKeys = true;
  EXPECT_NE(TuiKeyLine(button, 78).find("letter: button"), std::string::npos);
  EXPECT_EQ(TuiKeyLine(button, 78).find("Alt+"), std::string::npos)
      << "a letter alone presses a button where no field takes it";
  button.canClose = false;
  button.help = false;
  EXPECT_EQ(TuiKeyLine(button, 78), "Tab: move  Enter: press  letter: button")
      << "a page that cannot be closed says nothing of Esc";
}

TEST(TerminalFocus, AfterABoxTheFocusGoesToTheFieldAtFault) {
  QelDlgDialog dialog{nullptr, "PanelFault", 0};
  auto* account = new QelDlgEditor(&dialog, "EditorAccount", 0);
  auto* password = new QelDlgEditor(&dialog, "EditorPassword", 0);
  auto* directory = new QelDlgEditor(&dialog, "EditorDirectory", 0);
  auto* hidden = new QelDlgEditor(&dialog, "EditorHidden", 0);
  const std::vector<QelDlgObject*> order{account, password, directory};
  EXPECT_EQ(TuiFocusAfterBox(order, password, directory), password)
      << "the field the box is about wins over where the person was";
  EXPECT_EQ(TuiFocusAfterBox(order, nullptr, directory), directory)
      << "a box about no field leaves the person where they typed";
  EXPECT_EQ(TuiFocusAfterBox(order, hidden, directory), directory)
      << "a field that cannot take the focus is passed over";
  EXPECT_EQ(TuiFocusAfterBox(order, hidden, hidden), account);
  EXPECT_EQ(TuiFocusAfterBox(order, nullptr, nullptr), account)
      << "never a button: what is typed next goes into a field";
  EXPECT_EQ(TuiFocusAfterBox({}, password, password), nullptr);
}

}  // namespace
