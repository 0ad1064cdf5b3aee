// Message catalogues: the line format, where catalogue files are looked for,
// and the substitution of parameters into their texts.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TempDirectory.h"
#include "platform/QelMsgCatalog.h"

namespace {

class MsgCatalog : public ::testing::Test {
 protected:
  void SetUp() override { unsetenv("QelMsgCatalogPath"); }
  void TearDown() override { unsetenv("QelMsgCatalogPath"); }

  std::string Directory(const std::string& name) {
    const std::string path = directory.File(name);
    std::filesystem::create_directories(path);
    return path;
  }
  void WriteCatalog(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
  }
  std::string Text(const QelMsgCatalog& catalog, const std::string& key) {
    QelMsg message;
    catalog.GetCatalogMsg(key, message);
    return message.GetText().str();
  }

  TempDirectory directory;
};

QelListValQelUnicodeString Parameters(std::initializer_list<const char*> values) {
  QelListValQelUnicodeString list;
  for (const char* value : values) list.Append(value);
  return list;
}

TEST_F(MsgCatalog, LineFormatTrimsUnescapesAndSkipsComments) {
  QelMsgCatalog catalog;
  catalog.Parse(
      "# a comment = not a key\n"
      "   \t# an indented comment = not a key either\n"
      "\n"
      "  \t\n"
      "Title = Administrator account  \t\n"
      "\tSpaced . Key\t=\tvalue\n"
      "Lines.Title = first\\nsecond\\tafter tab\n"
      "Blanks.Title = \\s  kept  \\s\n"
      "Slash.Title = C:\\\\dir\\\\n\n"
      "Unknown.Title = \\q\\=\\\"\n"
      "Trailing.Title = ends with \\\n"
      "Equals.Title = a = b == c\n"
      "Empty.Title =\n"
      "Hash.Title = not # a comment\n"
      "no equals sign here\n"
      " = empty key\n"
      "Twice.Title = first\n"
      "Twice.Title = second\n"
      "Crlf.Title = windows line\r\n"
      "Last.Title = no line feed at the end");
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Title", "Administrator account"},
      {"Spaced . Key", "value"},
      {"Lines.Title", "first\nsecond\tafter tab"},
      {"Blanks.Title", "   kept   "},
      {"Slash.Title", "C:\\dir\\n"},
      {"Unknown.Title", "q=\""},
      {"Trailing.Title", "ends with \\"},
      {"Equals.Title", "a = b == c"},
      {"Empty.Title", ""},
      {"Hash.Title", "not # a comment"},
      {"Twice.Title", "second"},
      {"Crlf.Title", "windows line"},
      {"Last.Title", "no line feed at the end"},
  };
  for (const auto& [key, text] : expected) {
    QelMsg message;
    EXPECT_EQ(catalog.GetCatalogMsg(key, message), 0) << key;
    EXPECT_EQ(message.GetText().str(), text) << key;
  }
  QelMsg message("left over");
  for (const char* absent : {"# a comment", "no equals sign here", "", "Spaced.Key", "title"}) {
    EXPECT_EQ(catalog.GetCatalogMsg(absent, message), -1) << absent;
    EXPECT_TRUE(message.IsEmpty()) << absent;
  }
}

TEST_F(MsgCatalog, HostileContentNeverStopsTheReading) {
  std::string content =
      "\xEF\xBB\xBF"
      "Before = ok\n";
  for (int byte = 0; byte < 256; ++byte) content += static_cast<char>(byte);
  content += "\nBinary\x01\xff = \x80\xfe\\";
  content += "\nHuge = " + std::string(1 << 20, 'x') + "\r\r\n";
  content += "Backslashes = " + std::string(100001, '\\') + "\n";
  content += "After = still read\n";
  QelMsgCatalog catalog;
  catalog.Parse(content);
  EXPECT_EQ(Text(catalog, "Before"), "ok") << "a byte-order mark is no part of the first key";
  EXPECT_EQ(Text(catalog, "Binary\x01\xff"), "\x80\xfe\\");
  EXPECT_EQ(Text(catalog, "Huge"), std::string(1 << 20, 'x') + "\r") << "only one CR is a line end";
  EXPECT_EQ(Text(catalog, "Backslashes"), std::string(50001, '\\'));
  EXPECT_EQ(Text(catalog, "After"), "still read");
}

TEST_F(MsgCatalog, FirstDirectoryHoldingTheCatalogueWins) {
  const std::string first = Directory("first");
  const std::string second = Directory("second");
  WriteCatalog(first + "/ZEP2DlgTESADM.cat", "Title = from first\n");
  WriteCatalog(second + "/ZEP2DlgTESADM.cat", "Title = from second\nOnly.Title = x\n");
  WriteCatalog(second + "/ZEP2FrmTESADM.cat", "Title = frame from second\n");
  std::filesystem::create_directories(first + "/ZEP2DlgVAULT.cat");
  WriteCatalog(second + "/ZEP2DlgVAULT.cat", "Title = not hidden by a directory\n");
  setenv("QelMsgCatalogPath", (":" + first + "::" + second + ":").c_str(), 1);

  QelMsgCatalog catalog;
  ASSERT_EQ(catalog.LoadMsgCatalog("ZEP2DlgTESADM"), 0);
  EXPECT_EQ(Text(catalog, "Title"), "from first");
  EXPECT_EQ(Text(catalog, "Only.Title"), "") << "catalogues of one name are not merged";
  ASSERT_EQ(catalog.LoadMsgCatalog("ZEP2FrmTESADM"), 0);
  EXPECT_EQ(Text(catalog, "Title"), "frame from second");
  ASSERT_EQ(catalog.LoadMsgCatalog("ZEP2DlgVAULT"), 0);
  EXPECT_EQ(Text(catalog, "Title"), "not hidden by a directory");

  EXPECT_EQ(catalog.LoadMsgCatalog("ZEP2DlgMISSING"), -1);
  EXPECT_EQ(Text(catalog, "Title"), "") << "a failed load leaves no messages behind";
  WriteCatalog(directory.File("Outside.cat"), "Title = outside\n");
  EXPECT_EQ(catalog.LoadMsgCatalog("../Outside"), -1);
  EXPECT_EQ(catalog.LoadMsgCatalog(""), -1);

  setenv("QelMsgCatalogPath", second.c_str(), 1);
  ASSERT_EQ(catalog.LoadMsgCatalog("ZEP2DlgTESADM"), 0);
  EXPECT_EQ(Text(catalog, "Title"), "from second");
}

TEST_F(MsgCatalog, DefaultDirectoriesFollowTheExecutable) {
  using Directories = std::vector<std::string>;
  const Directories defaults = {"/opt/pdm/bin/share/msgcatalog",
                                "/opt/pdm/bin/../share/tessardbsetup/msgcatalog"};
  EXPECT_EQ(QelMsgCatalog::CatalogDirectories(nullptr, "/opt/pdm/bin"), defaults);
  EXPECT_EQ(QelMsgCatalog::CatalogDirectories("", "/opt/pdm/bin"), defaults);
  EXPECT_EQ(QelMsgCatalog::CatalogDirectories("::", "/opt/pdm/bin"), Directories{})
      << "a set path replaces the defaults even when it names nothing";
  EXPECT_EQ(QelMsgCatalog::CatalogDirectories("/a::/b:", "/opt/pdm/bin"),
            (Directories{"/a", "/b"}));
  EXPECT_EQ(QelMsgCatalog::CatalogDirectories(nullptr, ""), Directories{});

  const std::string executable = std::filesystem::read_symlink("/proc/self/exe").string();
  const std::string executableDirectory = executable.substr(0, executable.rfind('/'));
  const Directories found = QelMsgCatalog::CatalogDirectories();
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0], executableDirectory + "/share/msgcatalog")
      << "relative to the program, not to the working directory";
}

TEST_F(MsgCatalog, BuildMessageSubstitutesNumberedParameters) {
  const QelListValQelUnicodeString parameters = Parameters({"/u/vault", "42", "%1", ""});
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Directory %1 cannot be created.", "Directory /u/vault cannot be created."},
      {"%2%1", "42/u/vault"},
      {"%1 %1", "/u/vault /u/vault"},
      {"%3 is not expanded again", "%1 is not expanded again"},
      {"[%4]", "[]"},
      {"%5 and %9 stay", "%5 and %9 stay"},
      {"100%% sure, %%1 is literal", "100% sure, %1 is literal"},
      {"%0 %a % at the end %", "%0 %a % at the end %"},
      {"%10", "/u/vault0"},
      {"", ""},
  };
  for (const auto& [text, expected] : cases) {
    QelUnicodeString result = "left over";
    EXPECT_EQ(QelMsgCatalog::BuildMessage(QelMsg(text), result, parameters), 0);
    EXPECT_EQ(result.str(), expected) << text;
  }
  QelUnicodeString result;
  QelMsgCatalog::BuildMessage(QelMsg("%1 and %%"), result, QelListValQelUnicodeString());
  EXPECT_EQ(result.str(), "%1 and %");
}

TEST_F(MsgCatalog, BuildMessageFromCatalogueFallsBackToTheDefaultText) {
  const std::string catalogs = Directory("catalogs");
  WriteCatalog(catalogs + "/ZEP2DlgREPORT.cat",
               "ERRMSGTextToDisplayForALLRINST.Title = Schema %1 is already installed.\n"
               "Blank.Title =\n");
  setenv("QelMsgCatalogPath", catalogs.c_str(), 1);
  const QelListValQelUnicodeString owner = Parameters({"PDMDICT"});

  EXPECT_EQ(QelMsgCatalog::BuildMessage("ZEP2DlgREPORT", "ERRMSGTextToDisplayForALLRINST.Title",
                                        owner, "default %1")
                .str(),
            "Schema PDMDICT is already installed.");
  EXPECT_EQ(
      QelMsgCatalog::BuildMessage("ZEP2DlgREPORT", "Missing.Title", owner, "default %1").str(),
      "default PDMDICT");
  EXPECT_EQ(QelMsgCatalog::BuildMessage("ZEP2DlgNONE", "Title", owner, "default %1").str(),
            "default PDMDICT");
  EXPECT_EQ(QelMsgCatalog::BuildMessage("ZEP2DlgREPORT", "Blank.Title", owner, "default").str(), "")
      << "a key given empty on purpose is not missing";
}

}  // namespace
