// Property values, script lines and the Orbix port: edits that keep every
// other byte, and refusals that leave the text as it was.
#include <gtest/gtest.h>

#include <string>

#include "config/ZEP2TextEdit.h"

namespace {

using zep2text::OrbixPort;
using zep2text::ReplaceProperty;
using zep2text::ReplaceScriptLine;

TEST(PropertyReplacement, ValuesReplacedAndRefusalsLeaveTheText) {
  std::string text =
      "# vault\r\nVaultServer_HostName = old-host\r\nVaultServer_DBPassword = \n"
      "VaultServer_DBUser = last";
  ASSERT_TRUE(ReplaceProperty(text, "VaultServer_HostName = ", "pdmhost"));
  EXPECT_EQ(
      "# vault\r\nVaultServer_HostName = pdmhost\r\nVaultServer_DBPassword = \n"
      "VaultServer_DBUser = last",
      text);
  ASSERT_TRUE(ReplaceProperty(text, "VaultServer_DBPassword = ", "secret text"));
  EXPECT_NE(std::string::npos, text.find("VaultServer_DBPassword = secret text\n"));

  const std::string before = text;
  EXPECT_FALSE(ReplaceProperty(text, "VaultServer_DBUser = ", "x"));  // no final newline
  EXPECT_FALSE(ReplaceProperty(text, "VaultServer_Repo_0_Path = ", "/r"));
  EXPECT_EQ(before, text);
}

TEST(ScriptLineEdit, WholeLineRewrittenWithinTheWindowOnly) {
  std::string text = "#!/bin/sh\nZEPADM_UID=0\n    export QelvarV5installPath=/old\nrest\n";
  ASSERT_TRUE(ReplaceScriptLine(text, "ZEPADM_UID=", "ZEPADM_UID=1001"));
  ASSERT_TRUE(
      ReplaceScriptLine(text, "QelvarV5installPath=", "export QelvarV5installPath=/opt/pdm"));
  EXPECT_EQ("#!/bin/sh\nZEPADM_UID=1001\nexport QelvarV5installPath=/opt/pdm\nrest\n", text);
  // Run again: the same text.
  const std::string once = text;
  ASSERT_TRUE(
      ReplaceScriptLine(text, "QelvarV5installPath=", "export QelvarV5installPath=/opt/pdm"));
  EXPECT_EQ(once, text);

  // The key at the very start of the text, and 20 characters into its line.
  std::string first = "IT_DAEMON_PORT=1\nx\n";
  ASSERT_TRUE(ReplaceScriptLine(first, "IT_DAEMON_PORT=", "IT_DAEMON_PORT=1570"));
  EXPECT_EQ("IT_DAEMON_PORT=1570\nx\n", first);
  std::string twenty = "a\n" + std::string(19, ' ') + "CLASH_OUTDIR=/tmp\n";
  ASSERT_TRUE(ReplaceScriptLine(twenty, "CLASH_OUTDIR=", "CLASH_OUTDIR=/out"));
  EXPECT_EQ("a\nCLASH_OUTDIR=/out\n", twenty);

  const std::string farAway = "a\n" + std::string(21, ' ') + "CLASH_OUTDIR=/tmp\n";
  const std::string noNewline = "x\nZEPADM_GID=0";
  std::string absent = "no key here\n";
  EXPECT_FALSE(ReplaceScriptLine(absent, "ZEPADM_GID=", "ZEPADM_GID=5"));
  EXPECT_EQ("no key here\n", absent);
  std::string crlf = "A=1\r\nZEPADM_GID=0\r\n";
  ASSERT_TRUE(ReplaceScriptLine(crlf, "ZEPADM_GID=", "ZEPADM_GID=5"));
  EXPECT_EQ("A=1\r\nZEPADM_GID=5\r\n", crlf);
  std::string far = farAway;
  EXPECT_FALSE(ReplaceScriptLine(far, "CLASH_OUTDIR=", "CLASH_OUTDIR=/out"));
  EXPECT_EQ(farAway, far);
  std::string last = noNewline;
  EXPECT_FALSE(ReplaceScriptLine(last, "ZEPADM_GID=", "ZEPADM_GID=5"));
  EXPECT_EQ(noNewline, last);
}

TEST(OrbixPortNumber, AcceptedRangeAndGarbage) {
  EXPECT_EQ(-1, OrbixPort("IT_DAEMON_PORT 999\n"));
  EXPECT_EQ(1000, OrbixPort("# cfg\nIT_DAEMON_PORT 1000\n"));
  EXPECT_EQ(99999, OrbixPort("IT_DAEMON_PORT\t99999"));
  EXPECT_EQ(-1, OrbixPort("IT_DAEMON_PORT 100000\n"));
  EXPECT_EQ(-1, OrbixPort("IT_DAEMON_PORT port\n1570\n"));
  EXPECT_EQ(-1, OrbixPort("IT_DAEMON_PORT\n1570\n"));  // the number must be on its line
  EXPECT_EQ(-1, OrbixPort("no port here\n"));
  EXPECT_EQ(1570, OrbixPort("IT_DAEMON_PORT 1570\nIT_DAEMON_PORT 2000\n"));
}

}  // namespace
