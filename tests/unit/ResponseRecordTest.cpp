// The record writer: what it writes must read back, through the real
// response-file reader, as the answers of the run it recorded.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/display/script/ResponseFile.h"
#include "platform/record/ResponseRecord.h"

namespace {

using Widgets = std::vector<std::pair<std::string, std::string>>;

// A page's answers as read back, without the lines they were read from.
Widgets Given(const std::vector<WidgetAnswer>& answers) {
  Widgets widgets;
  for (const WidgetAnswer& answer : answers) widgets.emplace_back(answer.widget, answer.value);
  return widgets;
}

std::unique_ptr<ResponseFile> ReadBack(const ResponseRecord& record) {
  std::string error;
  auto file = ResponseFile::Parse(record.Text(), "record", error);
  EXPECT_TRUE(file) << error << "\n" << record.Text();
  return file;
}

// Presses a page as one visit of one process: visits differ unless asked.
void Answer(ResponseRecord& record, const std::string& page, const Widgets& widgets,
            const std::string& button, int visit, long process = 100) {
  for (const auto& [widget, value] : widgets) record.SetWidget(page, widget, value);
  record.Press(page, button, process, visit);
}

TEST(ResponseRecord, EachPressIsASectionNumberedAsTheReaderCountsThem) {
  ResponseRecord record;
  Answer(record, "PanelTESADM", {{"EditorTESADM", "pdmadm"}}, "Next", 1);
  Answer(record, "PanelDB2Param", {{"ComboDB2Instance", "db2inst1"}}, "Next", 1);
  // The son, another process, goes back; the father's page answers again
  // exactly as the first time; the second son answers differently.
  Answer(record, "PanelDB2Param2", {{"ComboDB2AliasName", "PDMTEST"}}, "Back", 1, 200);
  Answer(record, "PanelDB2Param", {{"ComboDB2Instance", "db2inst1"}}, "Next", 2);
  Answer(record, "PanelDB2Param2", {{"ComboDB2AliasName", "PDMDB"}}, "Next", 1, 300);
  // Nothing typed the second time: not the same answer as the first.
  Answer(record, "PanelTESADM", {}, "Next", 2);

  const std::string text = record.Text();
  EXPECT_EQ(text.find("[PanelDB2Param#2]"), std::string::npos) << text;
  EXPECT_NE(text.find("[PanelDB2Param2#2]\nComboDB2AliasName = PDMDB\nbutton = Next\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("[PanelTESADM#2]\nbutton = Next\n"), std::string::npos) << text;
  EXPECT_LT(text.find("[PanelDB2Param2]"), text.find("[PanelDB2Param2#2]"))
      << "sections follow the run";
  EXPECT_EQ(text.find("[options]"), std::string::npos) << "no press was refused";

  const auto file = ReadBack(record);
  ASSERT_TRUE(file);
  const PageAnswers* second = file->ForPage("PanelDB2Param", 2);
  ASSERT_TRUE(second);
  EXPECT_EQ(Given(second->widgets), (Widgets{{"ComboDB2Instance", "db2inst1"}}));
  const PageAnswers* back = file->ForPage("PanelDB2Param2", 1);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->button, "Back");
  const PageAnswers* again = file->ForPage("PanelDB2Param2", 2);
  ASSERT_TRUE(again);
  EXPECT_EQ(Given(again->widgets), (Widgets{{"ComboDB2AliasName", "PDMDB"}}));
  EXPECT_EQ(again->button, "Next");
  EXPECT_TRUE(file->ForPage("PanelTESADM", 2)->widgets.empty());
}

TEST(ResponseRecord, AWidgetSetAgainKeepsItsLastValueInItsLastPlace) {
  ResponseRecord record;
  record.SetWidget("PanelDBMSType", "RadButOracle", "checked");
  record.SetWidget("PanelDBMSType", "RadButIBMUDB", "checked");
  record.SetWidget("PanelDBMSType", "RadButOracle", "checked");
  record.SetWidget("PanelTOEXE", "ChkButTOEXEVault", "unchecked");
  record.ForgetWidget("PanelTOEXE", "ChkButTOEXEVault");
  record.SetWidget("PanelTESADM", "EditorTESADM", "left without a press");
  record.Press("PanelDBMSType", "Next", 1, 1);
  record.Press("PanelTOEXE", "Cancel", 1, 1);

  const auto file = ReadBack(record);
  ASSERT_TRUE(file);
  EXPECT_EQ(Given(file->ForPage("PanelDBMSType", 1)->widgets),
            (Widgets{{"RadButIBMUDB", "checked"}, {"RadButOracle", "checked"}}));
  EXPECT_TRUE(file->ForPage("PanelTOEXE", 1)->widgets.empty());
  EXPECT_EQ(file->ForPage("PanelTOEXE", 1)->button, "Cancel");
  EXPECT_FALSE(file->ForPage("PanelTESADM", 1)) << "a page never pressed is not answered";
}

TEST(ResponseRecord, EveryValueReadsBackExactly) {
  const std::vector<std::string> values = {"",
                                           "plain",
                                           " leading blank",
                                           "trailing tab\t",
                                           "hash # after a blank",
                                           "hash#inside",
                                           "#2",
                                           "#",
                                           "\"starts with a quote",
                                           "ends with a quote\"",
                                           "back\\slash",
                                           "two\nlines",
                                           "carriage\rreturn",
                                           "name = value",
                                           "; not a comment",
                                           "[not a section]",
                                           "caf\xC3\xA9 \xE2\x82\xAC",
                                           "/path/with trailing slash/"};
  ResponseRecord record;
  Widgets widgets;
  for (std::size_t i = 0; i < values.size(); ++i) {
    widgets.emplace_back("Editor" + std::to_string(i), values[i]);
  }
  Answer(record, "PanelTESDICO", widgets, "Next", 1);
  const auto file = ReadBack(record);
  ASSERT_TRUE(file);
  EXPECT_EQ(Given(file->ForPage("PanelTESDICO", 1)->widgets), widgets);
  EXPECT_EQ(ResponseRecord::Quote("pdmadm"), "pdmadm") << "plain values stay readable";
  EXPECT_EQ(ResponseRecord::Quote("#2"), "#2");
}

TEST(ResponseRecord, TypedTextThatLooksLikeAVariableReplaysAsTyped) {
  setenv("RECORD_TEST_VARIABLE", "expanded", 1);
  unsetenv("RECORD_TEST_UNSET");
  EXPECT_EQ(ResponseFile::ExpandVariables("${RECORD_TEST_VARIABLE}/db"), "expanded/db");
  EXPECT_EQ(ResponseFile::ExpandVariables("${RECORD_TEST_UNSET}"), "${RECORD_TEST_UNSET}");
  EXPECT_EQ(ResponseFile::ExpandVariables("$${RECORD_TEST_VARIABLE}"), "${RECORD_TEST_VARIABLE}");
  for (const std::string typed :
       {"${RECORD_TEST_VARIABLE}/db", "$${RECORD_TEST_VARIABLE}", "$$${RECORD_TEST_VARIABLE}}",
        "${RECORD_TEST_VARIABLE}${RECORD_TEST_VARIABLE}", "cost $5", "$", "a$", "${unterminated",
        "{${}}"}) {
    EXPECT_EQ(ResponseFile::ExpandVariables(ResponseRecord::Literal(typed)), typed) << typed;
  }
  unsetenv("RECORD_TEST_VARIABLE");
}

TEST(ResponseRecord, RefusedPressesAskTheReaderToGoOnAsOftenAsTheyCame) {
  ResponseRecord record;
  Answer(record, "PanelTESADM", {{"EditorTESADMP", "${TESSARDBSETUP_PW_EditorTESADMP}"}}, "Next",
         1);
  EXPECT_EQ(record.Text().find("[options]"), std::string::npos);
  Answer(record, "PanelTESADM", {{"EditorTESADMP", "${TESSARDBSETUP_PW_EditorTESADMP_2}"}}, "Next",
         1);
  auto file = ReadBack(record);
  ASSERT_TRUE(file);
  EXPECT_TRUE(file->ContinueOnRefusal());
  EXPECT_EQ(file->MaxRefusals(), 3);
  EXPECT_EQ(Given(file->ForPage("PanelTESADM", 2)->widgets),
            (Widgets{{"EditorTESADMP", "${TESSARDBSETUP_PW_EditorTESADMP_2}"}}));

  // The same page in another process, or another visit, is no refusal.
  Answer(record, "PanelTESADM", {}, "Next", 1, 200);
  Answer(record, "PanelTESADM", {}, "Next", 2, 200);
  for (int press = 0; press < 4; ++press) Answer(record, "PanelDBAUSER", {}, "Next", 1);
  file = ReadBack(record);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->MaxRefusals(), 5) << "four presses in a row, one more for safety";
}

TEST(ResponseRecord, BoxAnswersArePerClassInOrder) {
  ResponseRecord record;
  record.Answer("ZEP2YesNoInCallBack", "Yes");
  record.Answer("ZEP2ErrInCallBack", "OK");
  record.Answer("ZEP2YesNoInCallBack", "No");
  record.Answer("ZEP2CancelInCallBack", "Cancel");
  Answer(record, "PanelTESADM", {}, "Close", 1);
  auto file = ReadBack(record);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->NextBoxAnswer("ZEP2YesNoInCallBack"), "Yes");
  EXPECT_EQ(file->NextBoxAnswer("ZEP2YesNoInCallBack"), "No");
  EXPECT_EQ(file->NextBoxAnswer("ZEP2ErrInCallBack"), "OK");
  EXPECT_EQ(file->NextBoxAnswer("ZEP2CancelInCallBack"), "Cancel");
  EXPECT_EQ(file->NextBoxAnswer("ZEP2ErrInSubsIdle"), "");
  EXPECT_EQ(file->ForPage("PanelTESADM", 1)->button, "Close");
}

TEST(ResponseRecord, PasswordVariablesAreListedForWhoeverReplays) {
  ResponseRecord record;
  record.SetSecretCount("EditorTESADMP", 2);
  record.SetSecretCount("EditorDBAUSERP", 1);
  const std::string text = record.Text();
  for (const char* name : {"TESSARDBSETUP_PW_EditorTESADMP\n", "TESSARDBSETUP_PW_EditorTESADMP_2\n",
                           "TESSARDBSETUP_PW_EditorDBAUSERP\n"}) {
    EXPECT_NE(text.find(name), std::string::npos) << name << " in\n" << text;
  }
  EXPECT_EQ(text.find("EditorDBAUSERP_2"), std::string::npos);
  EXPECT_TRUE(ReadBack(record)) << "the list is a comment";
}

TEST(ResponseRecord, TheStateCarriesTheRecordToTheNextProcess) {
  ResponseRecord father;
  Answer(father, "PanelTESADM", {{"EditorTESADM", "tab\there\nand a line\\"}}, "Next", 1);
  father.Answer("ZEP2ErrInCallBack", "OK");
  father.SetSecretCount("EditorTESADMP", 2);
  father.SetWidget("PanelDB2Param", "ComboDB2Instance", "db2inst1");

  ResponseRecord son;
  son.SetWidget("PanelDB2Param2", "ComboDB2AliasName", "PDMDB");
  ASSERT_TRUE(son.Restore(father.State()));
  son.Press("PanelDB2Param2", "Next", 2, 1);
  EXPECT_NE(son.Text().find("[PanelDB2Param2]\nComboDB2AliasName = PDMDB\n"), std::string::npos)
      << "the son's own input survives taking in the father's";
  EXPECT_EQ(son.Text().find("ComboDB2Instance"), std::string::npos)
      << "the father's unpressed page stays the father's";
  EXPECT_EQ(son.SecretCount("EditorTESADMP"), 2);

  ResponseRecord copy;
  ASSERT_TRUE(copy.Restore(son.State()));
  EXPECT_EQ(copy.Text(), son.Text());
  EXPECT_EQ(copy.Presses().front().widgets, (Widgets{{"EditorTESADM", "tab\there\nand a line\\"}}));

  for (const std::string bad : {"", "something else\n", "tessardbsetup-record-state 1\nset\tA\tB\n",
                                "tessardbsetup-record-state 1\npress\tP\tNext\tx\t1\n"}) {
    EXPECT_FALSE(copy.Restore(bad)) << bad;
  }
  EXPECT_EQ(copy.Text(), son.Text()) << "a state that cannot be read changes nothing";
}

}  // namespace
