// The undo of a server setting: its journal line reads back exactly whatever
// the names and the password hold, shows no password once masked, is told
// from SQL statements, and puts a sandbox database's setting back as it was.
#include <gtest/gtest.h>

#include <fstream>

#include "SandboxDbmsTestSite.h"
#include "engine/ZEP2ServerSettingUndo.h"
#include "platform/db/QelDbSecrets.h"

namespace {

ZEP2ServerSettingUndo Restore(const std::string& name, const std::string& user,
                              const std::string& password) {
  ZEP2ServerSettingUndo undo;
  undo.name = name;
  undo.database = "PDM \"DB\"";
  undo.vendor = QelDbOracle;
  undo.restore = true;
  undo.previous = {"OTHER SERVICE", QelDbOracle, 2, user, password};
  return undo;
}

bool Same(const ZEP2ServerSettingUndo& a, const ZEP2ServerSettingUndo& b) {
  return a.name == b.name && a.database == b.database && a.vendor == b.vendor &&
         a.restore == b.restore && a.previous.server == b.previous.server &&
         a.previous.vendor == b.previous.vendor &&
         a.previous.authentication == b.previous.authentication &&
         a.previous.user == b.previous.user && a.previous.password == b.previous.password;
}

}  // namespace

TEST(ServerSettingUndo, LinesReadBackExactlyAndMaskTheirPassword) {
  ZEP2ServerSettingUndo removal;
  removal.name = "TESCOMMON";
  removal.database = "PDMDB";
  removal.vendor = QelDbDB2;
  EXPECT_EQ("REMOVE SERVER SETTING \"TESCOMMON\" OF \"PDMDB\" VENDOR 1",
            ZEP2ServerSettingUndoText(removal));
  const ZEP2ServerSettingUndo cases[] = {
      removal,
      Restore("ZEPADMIN", "PDMADM", "s3cret"),
      Restore("ZEP\"PEOPLE\"", "", ""),
      Restore("ZEPPUBSUB", "A \"B\"", "pass \"word\" with\nline \\ and é"),
  };
  for (const ZEP2ServerSettingUndo& undo : cases) {
    const std::string text = ZEP2ServerSettingUndoText(undo);
    ZEP2ServerSettingUndo read;
    ASSERT_TRUE(ZEP2ParseServerSettingUndo(text, read)) << text;
    EXPECT_TRUE(Same(undo, read)) << text;
    EXPECT_EQ(std::string::npos, text.find('\n')) << "one journal line: " << text;
    const std::string masked = QelDbMaskPasswords(text).str();
    if (undo.restore) {
      EXPECT_NE(std::string::npos, masked.find("IDENTIFIED BY \"***\"")) << masked;
    }
    if (!undo.previous.password.empty()) {
      EXPECT_EQ(std::string::npos, masked.find(undo.previous.password)) << masked;
    }
  }
}

TEST(ServerSettingUndo, StatementsAndDamagedLinesAreNoSettingUndo) {
  const std::string restore = ZEP2ServerSettingUndoText(Restore("ZEPADMIN", "PDMADM", "pw"));
  const std::string others[] = {
      "DROP TABLE PDMDICO.ZEPADMIN",
      "REVOKE DBADM ON DATABASE FROM USER PDMADM",
      "REMOVE SERVER SETTING \"TESCOMMON\" OF \"PDMDB\"",
      "REMOVE SERVER SETTING \"TESCOMMON\" OF \"PDMDB\" VENDOR 1 AND MORE",
      "REMOVE SERVER SETTING \"TESCOMMON OF \"PDMDB\" VENDOR 1",
      restore.substr(0, restore.size() - 2) + "\"",
      restore.substr(0, restore.rfind('"', restore.size() - 2)) + "\"ZZ\"",
      restore.substr(0, restore.find(" USER ")),
      restore + " x",
  };
  for (const std::string& text : others) {
    ZEP2ServerSettingUndo read;
    EXPECT_FALSE(ZEP2ParseServerSettingUndo(text, read)) << text;
  }
}

TEST_F(SandboxDbmsTest, SettingUndoPutsBackWhatTheDatabaseHadBefore) {
  QelDbError error;
  ASSERT_EQ(0, QelDbDatabase::SetServer("ZEPADMIN", "SAMPLE", QelDbDB2, 2, "PDMADM", "old pw"));
  // What an installation records before it writes ZEPADMIN and TESCOMMON.
  std::vector<ZEP2ServerSettingUndo> undos;
  for (const char* name : {"ZEPADMIN", "TESCOMMON"}) {
    ZEP2ServerSettingUndo undo;
    undo.name = name;
    undo.database = "SAMPLE";
    undo.vendor = QelDbDB2;
    ASSERT_EQ(
        0, QelDbDatabase::GetServer(name, "SAMPLE", QelDbDB2, undo.restore, undo.previous, error))
        << error.message;
    undos.push_back(undo);
    ASSERT_EQ(0, QelDbDatabase::SetServer(name, "SAMPLE", QelDbDB2, 1, "", ""));
  }
  EXPECT_TRUE(undos[0].restore);
  EXPECT_FALSE(undos[1].restore);
  for (const ZEP2ServerSettingUndo& undo : undos) {
    ZEP2ServerSettingUndo read;
    ASSERT_TRUE(ZEP2ParseServerSettingUndo(ZEP2ServerSettingUndoText(undo), read));
    std::string message;
    EXPECT_EQ(0, ZEP2ApplyServerSettingUndo(read, message)) << message;
  }
  bool found = true;
  QelDbServerSetting setting;
  ASSERT_EQ(0, QelDbDatabase::GetServer("TESCOMMON", "SAMPLE", QelDbDB2, found, setting, error));
  EXPECT_FALSE(found);
  ASSERT_EQ(0, QelDbDatabase::GetServer("ZEPADMIN", "SAMPLE", QelDbDB2, found, setting, error));
  ASSERT_TRUE(found);
  EXPECT_EQ("SAMPLE", setting.server);
  EXPECT_EQ(2, setting.authentication);
  EXPECT_EQ("PDMADM", setting.user);
  EXPECT_EQ("old pw", setting.password);
  // Removing what is not there is no failure; settings that cannot be
  // written are one, with where they are kept.
  std::string message;
  EXPECT_EQ(0, ZEP2ApplyServerSettingUndo(undos[1], message)) << message;
  std::ofstream(Site() + "/not-a-directory") << "x";
  environment_.Set("QelUserSettingPath", Site() + "/not-a-directory/settings");
  EXPECT_NE(0, ZEP2ApplyServerSettingUndo(undos[0], message));
  EXPECT_NE(std::string::npos, message.find("not-a-directory/settings")) << message;
}
