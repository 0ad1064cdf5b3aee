// Response files: sections and visits, values and quoting, box answers,
// options, and an error with its line for every kind of mistake.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include "TempDirectory.h"
#include "platform/display/script/ResponseCatalogue.h"
#include "platform/display/script/ResponseFile.h"

namespace {

using Widgets = std::vector<std::pair<std::string, std::string>>;

// The widgets' names and values, without the lines that give them.
Widgets Pairs(const std::vector<WidgetAnswer>& answers) {
  Widgets pairs;
  for (const WidgetAnswer& answer : answers) pairs.emplace_back(answer.widget, answer.value);
  return pairs;
}

class ResponseFileTest : public ::testing::Test {
 protected:
  std::unique_ptr<ResponseFile> Parse(const std::string& text) {
    error.clear();
    auto file = ResponseFile::Parse(text, "answers.rsp", error);
    EXPECT_EQ(file == nullptr, !error.empty()) << error;
    return file;
  }
  std::string ErrorOf(const std::string& text) {
    EXPECT_EQ(Parse(text), nullptr) << text;
    return error;
  }

  std::string error;
};

TEST_F(ResponseFileTest, PageSectionsAnswerEveryVisitUnlessAVisitHasItsOwn) {
  const auto file = Parse(
      "# silent installation\n"
      "; another comment\n"
      "\n"
      "[PanelTESADM]              # every visit\n"
      "EditorTESADM = pdmadm\n"
      "EditorTESADMP = secret\n"
      "button = next\n"
      "[ PanelTESADM#2 ]\n"
      "button = BACK\n"
      "[PanelTESADM#03]\n"
      "[PanelDB2Param2]\n"
      "ComboDB2AliasName = #2    # a value may start with #\n"
      "EditorTESADM = other page, same widget name\n");
  ASSERT_NE(file, nullptr);

  const PageAnswers* first = file->ForPage("PanelTESADM", 1);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(Pairs(first->widgets),
            (Widgets{{"EditorTESADM", "pdmadm"}, {"EditorTESADMP", "secret"}}));
  EXPECT_EQ(first->button, "Next");
  EXPECT_EQ(first->line, 4);
  EXPECT_EQ(first->widgets[1].line, 6);
  EXPECT_EQ(first->buttonLine, 7);
  EXPECT_EQ(file->ForPage("PanelTESADM", 4), first);

  const PageAnswers* second = file->ForPage("PanelTESADM", 2);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(second->widgets.empty()) << "a visit's section replaces the general one whole";
  EXPECT_EQ(second->button, "Back");
  EXPECT_EQ(second->line, 8);
  const PageAnswers* third = file->ForPage("PanelTESADM", 3);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->line, 10);
  EXPECT_EQ(third->button, "") << "no button given: the front end's default";

  const PageAnswers* db2 = file->ForPage("PanelDB2Param2", 1);
  ASSERT_NE(db2, nullptr);
  EXPECT_EQ(Pairs(db2->widgets), (Widgets{{"ComboDB2AliasName", "#2"},
                                          {"EditorTESADM", "other page, same widget name"}}));
  EXPECT_EQ(file->ForPage("PanelVAULTADM", 1), nullptr);
  EXPECT_EQ(file->ForPage("TESADM", 1), nullptr);

  const auto onlyVisit = Parse("[PanelSUM#2]\nbutton = Close\n");
  ASSERT_NE(onlyVisit, nullptr);
  EXPECT_EQ(onlyVisit->ForPage("PanelSUM", 1), nullptr);
  ASSERT_NE(onlyVisit->ForPage("PanelSUM", 2), nullptr);
  EXPECT_EQ(onlyVisit->ForPage("PanelSUM", 2)->button, "Close");
}

TEST_F(ResponseFileTest, ValuesKeepTheirTextAndQuotesProtectWhatWouldBeCut) {
  const auto file = Parse(
      "[PanelTESADM]\r\n"
      "Plain =   trimmed text \t \r\n"
      "Comment = value # inline comment\n"
      "TabComment = value\t# inline comment\n"
      "Glued = a#b c#d\n"
      "Leading =#not a comment\n"
      "Empty =\n"
      "HashFirst = # a value, not a comment\n"
      "Equals = a=b\n"
      "Quoted = \"pass word # with hash\"   # comment\n"
      "Escapes = \"say \\\"hi\\\"\\\\ \\n\\t end\"\n"
      "Blanks = \"  kept  \"\n"
      "QuotedEmpty = \"\"\n"
      "Inner = it's \"not\" quoted\n"
      "Utf8 = d\xC3\xA9j\xC3\xA0 \xE2\x82\xAC\n"
      "  Spaced Name  = x\n");
  ASSERT_NE(file, nullptr) << error;
  const Widgets expected = {
      {"Plain", "trimmed text"},
      {"Comment", "value"},
      {"TabComment", "value"},
      {"Glued", "a#b c#d"},
      {"Leading", "#not a comment"},
      {"Empty", ""},
      {"HashFirst", "# a value, not a comment"},
      {"Equals", "a=b"},
      {"Quoted", "pass word # with hash"},
      {"Escapes", "say \"hi\"\\ \n\t end"},
      {"Blanks", "  kept  "},
      {"QuotedEmpty", ""},
      {"Inner", "it's \"not\" quoted"},
      {"Utf8", "d\xC3\xA9j\xC3\xA0 \xE2\x82\xAC"},
      {"Spaced Name", "x"},
  };
  EXPECT_EQ(Pairs(file->ForPage("PanelTESADM", 1)->widgets), expected);
}

TEST_F(ResponseFileTest, BoxAnswersComeInOrderAndTheLastOneRepeats) {
  auto file = Parse(
      "[ZEP2YesNoInCallBack]\n"
      "answers = yes , NO,Yes\n"
      "[ZEP2CancelInCallBack]\n"
      "answers = cancel\n"
      "[ZEP2ErrInCallBack]\n"
      "answers = ok\n");
  ASSERT_NE(file, nullptr) << error;
  std::vector<std::string> given;
  for (int i = 0; i < 5; ++i) given.push_back(file->NextBoxAnswer("ZEP2YesNoInCallBack"));
  EXPECT_EQ(given, (std::vector<std::string>{"Yes", "No", "Yes", "Yes", "Yes"}));
  EXPECT_EQ(file->NextBoxAnswer("ZEP2CancelInCallBack"), "Cancel");
  EXPECT_EQ(file->NextBoxAnswer("ZEP2CancelInCallBack"), "Cancel");
  EXPECT_EQ(file->NextBoxAnswer("ZEP2ErrInCallBack"), "OK");
  EXPECT_EQ(file->NextBoxAnswer("ZEP2ErrInSubsIdle"), "") << "classes keep their own queues";
  EXPECT_EQ(file->NextBoxAnswer("ZEP2ErrDlgDir"), "");

  const auto allClasses = Parse(
      "[ZEP2ErrInSubsIdle]\nanswers = OK\n[ZEP2ErrDlgDir]\nanswers = OK\n"
      "[ZEP2CancelInCallBack]\nanswers = Yes, No, OK, Cancel\n");
  EXPECT_NE(allClasses, nullptr) << error;

  // Read but not yet checked: a class without answers leaves the box to
  // its default, however many of them come.
  const auto unanswered = Parse("[ZEP2ErrInCallBack]\nnote = x\n");
  ASSERT_NE(unanswered, nullptr) << error;
  EXPECT_EQ(unanswered->BoxAnswer("ZEP2ErrInCallBack", 0), "");
  EXPECT_EQ(unanswered->BoxAnswer("ZEP2ErrInCallBack", 7), "");
  EXPECT_EQ(unanswered->NextBoxAnswer("ZEP2ErrInCallBack"), "");
}

TEST_F(ResponseFileTest, OptionsHaveDefaultsAndAcceptOnlyTheirValues) {
  const auto defaults = Parse("[PanelTESADM]\n");
  ASSERT_NE(defaults, nullptr);
  EXPECT_FALSE(defaults->ContinueOnRefusal());
  EXPECT_EQ(defaults->MaxRefusals(), 3);

  const auto set = Parse("[options]\non-refusal = Continue   # go on\nmax-refusals = 100\n");
  ASSERT_NE(set, nullptr) << error;
  EXPECT_TRUE(set->ContinueOnRefusal());
  EXPECT_EQ(set->MaxRefusals(), 100);
  const auto stop = Parse("[options]\non-refusal = stop\nmax-refusals = 1\n");
  ASSERT_NE(stop, nullptr) << error;
  EXPECT_FALSE(stop->ContinueOnRefusal());
  EXPECT_EQ(stop->MaxRefusals(), 1);

  for (const char* count : {"0", "101", "-1", "3x", "", "99999999999999999999"}) {
    EXPECT_EQ(ErrorOf(std::string("[options]\nmax-refusals = ") + count),
              "answers.rsp:2: invalid max-refusals '" + std::string(count) +
                  "' (a number from 1 to 100)");
  }
  EXPECT_EQ(ErrorOf("[options]\non-refusal = ignore\n"),
            "answers.rsp:2: invalid on-refusal 'ignore' (stop or continue)");
  EXPECT_EQ(ErrorOf("[options]\nbutton = Next\n"),
            "answers.rsp:2: unknown option 'button' (on-refusal or max-refusals)");
}

TEST_F(ResponseFileTest, EveryMistakeIsReportedWithItsLine) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"[PanelTESADM]\n\nbutton = Nxt\n",
       "answers.rsp:3: unknown button 'Nxt' (Next, Back, Cancel or Close)"},
      {"# comment\nEditorTESADM = pdmadm\n", "answers.rsp:2: 'EditorTESADM' outside any section"},
      {"[PanelTESADM]\nEditorTESADM = a\n[PanelTESADM]\n",
       "answers.rsp:3: section 'PanelTESADM' given twice (first at line 1)"},
      {"[PanelTESADM#2]\n[PanelTESADM#02]\n",
       "answers.rsp:2: section 'PanelTESADM#2' given twice (first at line 1)"},
      {"[options]\n[options]\n", "answers.rsp:2: section 'options' given twice (first at line 1)"},
      {"[PanelTESADM]\nEditorTESADM pdmadm\n",
       "answers.rsp:2: line without '=' (expected name = value)"},
      {"[PanelTESADM]\n = value\n", "answers.rsp:2: no name before '='"},
      {"[PanelTESADM]\nEditorTESADMP = \"secret\n", "answers.rsp:2: unterminated quoted value"},
      {"[PanelTESADM]\nEditorTESADMP = \"secret\\\"\n", "answers.rsp:2: unterminated quoted value"},
      {"[PanelTESADM]\nEditorTESADMP = \"sec\\ret\"\n",
       "answers.rsp:2: unknown escape in quoted value (\\\", \\\\, \\n or \\t)"},
      {"[PanelTESADM]\nEditorTESADMP = \"secret\" more\n",
       "answers.rsp:2: unexpected text after quoted value"},
      {"[PanelTESADM]\nEditorTESADM = a\nbutton = Next\nEditorTESADM = b\n",
       "answers.rsp:4: 'EditorTESADM' given twice in section 'PanelTESADM' (first at line 2)"},
      {"[PanelTESADM]\nbutton = Next\nbutton = Back\n",
       "answers.rsp:3: 'button' given twice in section 'PanelTESADM' (first at line 2)"},
      {"[PanelTESADM\n", "answers.rsp:1: section header without ']'"},
      {"[PanelTESADM] trailing\n", "answers.rsp:1: unexpected text after section header"},
      {"[Panel]\n",
       "answers.rsp:1: unknown section 'Panel' (options, Panel<Name>, Panel<Name>#<visit> or a "
       "box class)"},
      {"[PanelTESADM#0]\n",
       "answers.rsp:1: invalid visit in section 'PanelTESADM#0' (a number from 1)"},
      {"[PanelTESADM#x]\n",
       "answers.rsp:1: invalid visit in section 'PanelTESADM#x' (a number from 1)"},
      {"[PanelTESADM#2#3]\n",
       "answers.rsp:1: invalid visit in section 'PanelTESADM#2#3' (a number from 1)"},
      {"[ZEP2YesNoInCallBack#2]\n",
       "answers.rsp:1: unknown section 'ZEP2YesNoInCallBack#2' (options, Panel<Name>, "
       "Panel<Name>#<visit> or a box class)"},
      {"[PanelSTATUS]\ncancel-after-statements = many\n",
       "answers.rsp:2: invalid cancel-after-statements 'many' (a number from 0)"},
      {"[PanelSTATUS]\ncancel-after-statements = -1\n",
       "answers.rsp:2: invalid cancel-after-statements '-1' (a number from 0)"},
      {"[PanelSTATUS]\ncancel-after-statements = 1234567890\n",
       "answers.rsp:2: invalid cancel-after-statements '1234567890' (a number from 0)"},
      {"[PanelSTATUS]\nbutton = Cancel\ncancel-after-statements = 3\n[PanelSUM]\n",
       "answers.rsp:3: 'cancel-after-statements' stands alone in its section: it presses Cancel, "
       "no widget is set and no other button pressed"},
      {"[PanelSTATUS]\ncancel-after-statements = 3\nLabelSTATUSStateOne = x\n",
       "answers.rsp:2: 'cancel-after-statements' stands alone in its section: it presses Cancel, "
       "no widget is set and no other button pressed"},
      {"[ZEP2YesNoInCallBack]\nanswers = Yes, Maybe\n",
       "answers.rsp:2: unknown answer 'Maybe' (OK, Cancel, Yes or No)"},
      {"[ZEP2YesNoInCallBack]\nanswers = Yes,,No\n",
       "answers.rsp:2: unknown answer '' (OK, Cancel, Yes or No)"},
      {"[ZEP2YesNoInCallBack]\nanswers =\n",
       "answers.rsp:2: no answer given (OK, Cancel, Yes or No)"},
      {"[ZEP2YesNoInCallBack]\nanswers = Yes\nanswers = No\n",
       "answers.rsp:3: 'answers' given twice in section 'ZEP2YesNoInCallBack' (first at line 2)"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ErrorOf(text), expected) << text;
}

TEST_F(ResponseFileTest, CancelAfterStatementsIsAPageAnswerOfItsOwn) {
  const auto file = Parse(
      "[PanelSTATUS]\ncancel-after-statements = 0\n"
      "[PanelSTATUS#2]\ncancel-after-statements = 000123456   # leading zeros\n"
      "[PanelSUM]\nbutton = Next\n");
  ASSERT_NE(file, nullptr) << error;
  EXPECT_EQ(file->ForPage("PanelSTATUS", 1)->cancelAfterStatements, 0);
  EXPECT_EQ(file->ForPage("PanelSTATUS", 1)->cancelLine, 2);
  EXPECT_EQ(file->ForPage("PanelSTATUS", 2)->cancelAfterStatements, 123456);
  EXPECT_EQ(file->ForPage("PanelSUM", 1)->cancelAfterStatements, -1) << "none given";
  EXPECT_TRUE(file->CancelsAfterStatements());

  // Only a later visit's section cancels: the file still does.
  const auto later =
      Parse("[PanelSUM]\nbutton = Next\n[PanelSTATUS#3]\ncancel-after-statements = 7\n");
  ASSERT_NE(later, nullptr) << error;
  EXPECT_TRUE(later->CancelsAfterStatements());
  const auto none = Parse("[PanelSUM]\nbutton = Next\n[PanelSTATUS]\n");
  ASSERT_NE(none, nullptr) << error;
  EXPECT_FALSE(none->CancelsAfterStatements());
}

// The catalogue of a small program: what Check compares a file with.
ResponseCatalogue SmallProgram() {
  ResponseCatalogue catalogue;
  catalogue.pages["PanelTESADM"] = {{"Frame1", "frame"},
                                    {"LabelTESADMOne", "label"},
                                    {"EditorTESADM", "editor"},
                                    {"EditorTESADMP", "editor"}};
  catalogue.pages["PanelTESDICO"] = {{"EditorTESDICO", "editor"}};
  catalogue.pages["PanelTOEXE"] = {{"ChkButTOEXEVault", "checkbutton"},
                                   {"RadButIBMUDB", "radiobutton"},
                                   {"RadButOracle", "radiobutton"},
                                   {"ComboDB2AliasName", "combo"}};
  catalogue.pages["PanelSTATUS"] = {{"LabelSTATUSStateOne", "label"},
                                    {"ProgressSTATUS", "progress"}};
  catalogue.boxClasses = {"ZEP2CancelInCallBack", "ZEP2YesNoInCallBack", "ZEP2ErrInCallBack"};
  return catalogue;
}

TEST_F(ResponseFileTest, ACompleteFileMatchesTheProgram) {
  const auto file = Parse(
      "[options]\non-refusal = continue\n"
      "[PanelTESADM]\nEditorTESADM = pdmadm\nEditorTESADMP = \"pass word\"\nbutton = Next\n"
      "[PanelTESADM#2]\nbutton = Cancel\n"
      "[PanelTOEXE]\nChkButTOEXEVault = unchecked\nRadButOracle = checked\n"
      "ComboDB2AliasName = any line: combo lines are known only at run time\n"
      "[PanelSTATUS]\ncancel-after-statements = 12\n"
      "[ZEP2CancelInCallBack]\nanswers = OK\n[ZEP2YesNoInCallBack]\nanswers = Yes, No\n");
  ASSERT_NE(file, nullptr) << error;
  EXPECT_TRUE(file->Check(SmallProgram(), error)) << error;
  EXPECT_TRUE(Parse("")->Check(SmallProgram(), error)) << "an empty file answers nothing";
}

TEST_F(ResponseFileTest, EveryNameTheProgramLacksIsReportedWithItsLine) {
  const std::string boxClasses = "ZEP2CancelInCallBack, ZEP2YesNoInCallBack, ZEP2ErrInCallBack";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"[PanelTESADM]\nEditorTESADM = pdmadm\n\n[PanelTESDlCO]\nEditorTESDICO = pdmdico\n",
       "answers.rsp:4: unknown page 'PanelTESDlCO' (did you mean 'PanelTESDICO'?)"},
      {"[panelSTATUS]\n",
       "answers.rsp:1: unknown section 'panelSTATUS' (did you mean 'PanelSTATUS'?)"},
      {"[PanelVAULTADM]\n",
       "answers.rsp:1: unknown page 'PanelVAULTADM' (pages: PanelSTATUS, PanelTESADM, "
       "PanelTESDICO, PanelTOEXE)"},
      {"[PanelTESADM#2]\nEditorTESADN = pdmadm\n",
       "answers.rsp:2: page 'PanelTESADM' has no widget 'EditorTESADN' (did you mean "
       "'EditorTESADM'?)"},
      {"[PanelTESADM]\nEditorTESDICO = pdmdico\n",
       "answers.rsp:2: page 'PanelTESADM' has no widget 'EditorTESDICO' (its widgets that take "
       "answers: EditorTESADM, EditorTESADMP)"},
      {"[PanelSTATUS]\nEditorSTATUS = x\n",
       "answers.rsp:2: page 'PanelSTATUS' has no widget 'EditorSTATUS' (it takes no widget "
       "answers)"},
      {"[PanelTESADM]\nLabelTESADMOne = x\n",
       "answers.rsp:2: 'LabelTESADMOne' on page 'PanelTESADM' is a label, which takes no answer"},
      {"[PanelTESADM]\nFrame1 = x\n",
       "answers.rsp:2: 'Frame1' on page 'PanelTESADM' is a frame, which takes no answer"},
      {"[PanelSTATUS]\nProgressSTATUS = 50\n",
       "answers.rsp:2: 'ProgressSTATUS' on page 'PanelSTATUS' is a progress bar, which takes no "
       "answer"},
      {"[PanelTOEXE]\nChkButTOEXEVault = yes\n",
       "answers.rsp:2: 'ChkButTOEXEVault' is a check button: its answer is checked or unchecked"},
      {"[PanelTOEXE]\nRadButIBMUDB = unchecked\n",
       "answers.rsp:2: 'RadButIBMUDB' is a radio button: its answer is checked (checking another "
       "button of its group unchecks it)"},
      {"[PanelTESADM]\ncancel-after-statements = 3\n",
       "answers.rsp:2: 'cancel-after-statements' on 'PanelTESADM', which does not show an "
       "installation running (only PanelSTATUS)"},
      {"[ZEP2YesNoInCalBack]\nanswers = Yes\n",
       "answers.rsp:1: unknown section 'ZEP2YesNoInCalBack' (did you mean "
       "'ZEP2YesNoInCallBack'?)"},
      {"[Options]\non-refusal = continue\n",
       "answers.rsp:1: unknown section 'Options' (did you mean 'options'?)"},
      {"[TESADM]\n",
       "answers.rsp:1: unknown section 'TESADM' (options, a page Panel<Name>[#<visit>] or a box "
       "class: " +
           boxClasses + ")"},
      {"\n[ZEP2ErrInCallBack]\n# none\n[PanelTESADM]\n",
       "answers.rsp:2: section 'ZEP2ErrInCallBack' without answers"},
      {"[ZEP2YesNoInCallBack]\nanswers = Yes\nbutton = Yes\nEditorX = 1\n",
       "answers.rsp:3: unknown key 'button' in section 'ZEP2YesNoInCallBack' (only answers)"},
      {"[ZEP2YesNoInCallBack]\nbutton = Yes\n",
       "answers.rsp:1: section 'ZEP2YesNoInCallBack' without answers"},
      // Sections are stored by name: the mistake reported is still the first
      // one in the file.
      {"[PanelTOEXE]\nChkButTOEXEVault = maybe\n[PanelFOO]\n[ZEP2Foo]\nanswers = OK\n",
       "answers.rsp:2: 'ChkButTOEXEVault' is a check button: its answer is checked or unchecked"},
      {"[ZEP2Foo]\nanswers = OK\n[PanelTESADM]\nEditorX = 1\n",
       "answers.rsp:1: unknown section 'ZEP2Foo' (options, a page Panel<Name>[#<visit>] or a box "
       "class: " +
           boxClasses + ")"},
  };
  for (const auto& [text, expected] : cases) {
    const auto file = Parse(text);
    ASSERT_NE(file, nullptr) << text << error;
    std::string checkError;
    EXPECT_FALSE(file->Check(SmallProgram(), checkError)) << text;
    EXPECT_EQ(checkError, expected) << text;
  }
}

TEST_F(ResponseFileTest, ErrorsNeverShowAValueOrRawBytes) {
  const std::string message = ErrorOf("[PanelTESADM]\nEditorTESADMP = \"Hunter2 secret\n");
  EXPECT_EQ(message.find("Hunter2"), std::string::npos) << message;
  for (const char* text :
       {"[PanelTESADM]\nEditorTESADMX = Hunter2\n", "[PanelTOEXE]\nChkButTOEXEVault = Hunter2\n",
        "[PanelTESADM]\nLabelTESADMOne = Hunter2\n"}) {
    std::string checkError;
    EXPECT_FALSE(Parse(text)->Check(SmallProgram(), checkError));
    EXPECT_EQ(checkError.find("Hunter2"), std::string::npos) << checkError;
  }
  std::string checkError;
  EXPECT_FALSE(
      Parse("[Panel" + std::string(1 << 20, 'X') + "]\n")->Check(SmallProgram(), checkError));
  EXPECT_EQ(checkError,
            "answers.rsp:1: unknown page 'PanelXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX...' (pages: "
            "PanelSTATUS, PanelTESADM, PanelTESDICO, PanelTOEXE)")
      << "a huge name is cut, and never compared letter by letter";
  EXPECT_EQ(ErrorOf("[PanelTESADM]\nbutton = \x1b[2J\x07" + std::string(1000, 'N') + "\n"),
            "answers.rsp:2: unknown button '?[2J?NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN...' (Next, "
            "Back, Cancel or Close)");
}

TEST_F(ResponseFileTest, HostileInputEndsInAnErrorOrAFileNeverACrash) {
  std::string binary;
  for (int round = 0; round < 4; ++round) {
    for (int byte = 0; byte < 256; ++byte) binary += static_cast<char>(byte * 7 + round);
  }
  Parse(binary);
  EXPECT_EQ(ErrorOf("[PanelTESADM]\n" + binary).substr(0, 14), "answers.rsp:2:");

  const std::string huge(1 << 20, 'x');
  const auto hugeValue = Parse("[PanelTESADM]\nEditor = " + huge + "\n");
  ASSERT_NE(hugeValue, nullptr);
  EXPECT_EQ(hugeValue->ForPage("PanelTESADM", 1)->widgets[0].value, huge);
  EXPECT_EQ(ErrorOf("[PanelTESADM]\n\"" + huge),
            "answers.rsp:2: line without '=' (expected name = value)");
  EXPECT_EQ(ErrorOf("[PanelTESADM]\nE = \"" + std::string(1 << 20, '\\')),
            "answers.rsp:2: unterminated quoted value");
  EXPECT_EQ(ErrorOf("[" + huge).substr(0, 14), "answers.rsp:1:");
  EXPECT_EQ(ErrorOf("[PanelTESADM]\nbutton = Next" + std::string(1, '\0') + "\n"),
            "answers.rsp:2: unknown button 'Next?' (Next, Back, Cancel or Close)");
  const auto bom = Parse("\xEF\xBB\xBF[PanelTESADM]\nbutton = Back\n");
  ASSERT_NE(bom, nullptr) << "a byte-order mark from an editor is no mistake";
  EXPECT_EQ(bom->ForPage("PanelTESADM", 1)->button, "Back");

  std::string manyLines;
  for (int i = 0; i < 100000; ++i) manyLines += "[PanelP" + std::to_string(i) + "]\nE = v\n";
  const auto many = Parse(manyLines);
  ASSERT_NE(many, nullptr);
  EXPECT_EQ(many->ForPage("PanelP99999", 1)->line, 199999);
}

TEST_F(ResponseFileTest, LoadReportsUnreadableAndEmptyFilesAndLocatesErrorsByPath) {
  TempDirectory directory;
  const std::string path = directory.File("silent.rsp");
  EXPECT_EQ(ResponseFile::Load(path, error), nullptr);
  EXPECT_EQ(error, "cannot read response file " + path + ": No such file or directory");
  EXPECT_EQ(ResponseFile::Load(directory.Path(), error), nullptr);
  EXPECT_EQ(error, "cannot read response file " + directory.Path() + ": Is a directory");

  // Nothing but blank lines and comments is no answer at all, not empty
  // answers for the first page to refuse.
  for (const char* nothing : {"", "\n\n", "# answers to come\n; none yet\r\n   \n"}) {
    std::ofstream(path) << nothing;
    EXPECT_EQ(ResponseFile::Load(path, error), nullptr) << nothing;
    EXPECT_EQ(error, "response file " + path + " is empty");
  }

  std::ofstream(path) << "[PanelTESADM]\nbutton = Nxt\n";
  EXPECT_EQ(ResponseFile::Load(path, error), nullptr);
  EXPECT_EQ(error, path + ":2: unknown button 'Nxt' (Next, Back, Cancel or Close)");

  std::ofstream(path) << "# one page\n[PanelTESADM]\nbutton = Back\n";
  const auto file = ResponseFile::Load(path, error);
  ASSERT_NE(file, nullptr) << error;
  EXPECT_EQ(file->ForPage("PanelTESADM", 1)->button, "Back");

  const std::string pipe = directory.File("pipe.rsp");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(ResponseFile::Load(pipe, error), nullptr)
      << "a pipe nobody writes to reads as an empty file, at once";
  EXPECT_EQ(error, "response file " + pipe + " is empty");
}

}  // namespace
