// The DBA's bundle: the forward script is the DDL file byte for byte, the
// reverse script holds the undos last first in the same script form, the
// manifest's checksums and counts are those of the files written, the
// files are owner-only, and an earlier bundle goes while nothing else does.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "TempDirectory.h"
#include "engine/ZEP2DDLBundle.h"
#include "platform/db/QelDb.h"
#include "platform/db/QelDbScript.h"

namespace {

class DDLBundleTest : public ::testing::Test {
 protected:
  // A bundle over a DDL file holding content.
  std::unique_ptr<ZEP2DDLBundle> Bundle(int dbms, const std::string& content) {
    ddlPath_ = directory_.File("pdm.ddl");
    std::ofstream(ddlPath_, std::ios::binary) << content;
    return std::make_unique<ZEP2DDLBundle>(dbms, "PDMDB", "DBADMIN", ddlPath_,
                                           open(ddlPath_.c_str(), O_RDONLY | O_CLOEXEC));
  }

  static int Mode(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 ? static_cast<int>(info.st_mode & 07777) : -1;
  }

  // The manifest's "<sha256>  <name>" lines and "# statements: <name> <n>" lines.
  static void ReadManifest(const std::string& text, std::map<std::string, std::string>& sums,
                           std::map<std::string, int>& counts) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
      if (line.rfind("# statements: ", 0) == 0) {
        std::istringstream words(line.substr(14));
        std::string name;
        int count = -1;
        words >> name >> count;
        counts[name] = count;
      } else if (line[0] != '#') {
        ASSERT_EQ(line.substr(64, 2), "  ") << line;
        sums[line.substr(66)] = line.substr(0, 64);
      }
    }
  }

  TempDirectory directory_;
  std::string ddlPath_;
};

TEST(DDLBundleSha256, KnownDigests) {
  EXPECT_EQ(ZEP2Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(ZEP2Sha256Hex("abc"),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  // Longer than one block, with a NUL inside.
  EXPECT_EQ(ZEP2Sha256Hex(std::string(100, 'a') + std::string(1, '\0')).size(), 64u);
  EXPECT_NE(ZEP2Sha256Hex(std::string(100, 'a') + std::string(1, '\0')),
            ZEP2Sha256Hex(std::string(100, 'a')));
}

TEST_F(DDLBundleTest, FilesManifestAndReverseOrder) {
  const std::string forward =
      "-- header\n\nCREATE TABLESPACE \"T\" DATAFILE '/d/T.dbf' SIZE 50M;\n"
      "CREATE USER U IDENTIFIED BY \"secret\" DEFAULT TABLESPACE \"T\";\n"
      "GRANT CONNECT TO U;\nCREATE TABLE U.A (X NUMBER);\nINSERT INTO U.A VALUES (1);\n";
  std::unique_ptr<ZEP2DDLBundle> bundle = Bundle(QelDbOracle, forward);
  bundle->Written("DROP TABLESPACE \"T\" INCLUDING CONTENTS");
  bundle->Written("DROP USER U CASCADE");
  bundle->Written("");  // the grant of a user the run creates: the drop takes it
  bundle->Written("DROP TABLE U.A CASCADE CONSTRAINTS");
  bundle->Written("");
  std::string error;
  ASSERT_EQ(bundle->Write(error), 0) << error;

  const std::string dir = bundle->Directory();
  EXPECT_EQ(dir, ddlPath_ + ".bundle");
  EXPECT_EQ(Mode(dir), 0700);
  for (const char* name : {"forward.sql", "reverse.sql", "MANIFEST", "README"}) {
    EXPECT_EQ(Mode(dir + "/" + name), 0600) << name;
  }
  EXPECT_EQ(ReadWholeFile(dir + "/forward.sql"), forward);

  std::vector<std::string> undone;
  for (const QelDbScriptStep& step :
       QelDbReadScript(QelDbOracle, ReadWholeFile(dir + "/reverse.sql"))) {
    undone.push_back(step.text);
  }
  EXPECT_EQ(undone,
            (std::vector<std::string>{"DROP TABLE U.A CASCADE CONSTRAINTS", "DROP USER U CASCADE",
                                      "DROP TABLESPACE \"T\" INCLUDING CONTENTS"}));

  std::map<std::string, std::string> sums;
  std::map<std::string, int> counts;
  const std::string manifest = ReadWholeFile(dir + "/MANIFEST");
  ReadManifest(manifest, sums, counts);
  ASSERT_EQ(sums.size(), 3u) << manifest;
  for (const auto& [name, sum] : sums) {
    EXPECT_EQ(sum, ZEP2Sha256Hex(ReadWholeFile(dir + "/" + name))) << name;
  }
  EXPECT_EQ(counts, (std::map<std::string, int>{{"forward.sql", 5}, {"reverse.sql", 3}}));
  EXPECT_NE(manifest.find("# dbms: Oracle\n# database: PDMDB\n"), std::string::npos) << manifest;

  // The password is the forward script's alone.
  for (const char* name : {"reverse.sql", "MANIFEST", "README"}) {
    EXPECT_EQ(ReadWholeFile(dir + "/" + name).find("secret"), std::string::npos) << name;
  }
  const std::string readme = ReadWholeFile(dir + "/README");
  for (const char* command :
       {"sha256sum -c --strict MANIFEST", "sqlplus -L DBADMIN@PDMDB", "@forward.sql",
        "@reverse.sql", "tessardbsetup-sandbox sql PDMDB -u DBADMIN -f forward.sql"}) {
    EXPECT_NE(readme.find(command), std::string::npos) << command << "\n" << readme;
  }
}

TEST_F(DDLBundleTest, Db2CommandsAndAnEarlierBundleReplaced) {
  std::unique_ptr<ZEP2DDLBundle> bundle = Bundle(QelDbDB2, "GRANT DBADM ON DATABASE TO USER A;\n");
  bundle->Written("REVOKE DBADM ON DATABASE FROM USER A");
  std::string error;
  ASSERT_EQ(bundle->Write(error), 0) << error;
  // Written again (a new run of the same DDL file): the files are the new ones.
  std::ofstream(ddlPath_, std::ios::binary | std::ios::app) << "COMMIT;\n";
  bundle->Written("");
  ASSERT_EQ(bundle->Write(error), 0) << error;
  const std::string dir = bundle->Directory();
  EXPECT_EQ(ReadWholeFile(dir + "/forward.sql"), "GRANT DBADM ON DATABASE TO USER A;\nCOMMIT;\n");
  EXPECT_NE(ReadWholeFile(dir + "/reverse.sql").find("REVOKE DBADM ON DATABASE FROM USER A;\n"),
            std::string::npos);
  EXPECT_NE(ReadWholeFile(dir + "/MANIFEST").find("# statements: forward.sql 2\n"),
            std::string::npos);
  const std::string readme = ReadWholeFile(dir + "/README");
  for (const char* command :
       {"db2 CONNECT TO PDMDB USER DBADMIN", "db2 -tvsf forward.sql", "db2 -tvf reverse.sql"}) {
    EXPECT_NE(readme.find(command), std::string::npos) << command;
  }
}

TEST_F(DDLBundleTest, WhatIsNotAnEarlierBundleStays) {
  std::unique_ptr<ZEP2DDLBundle> bundle = Bundle(QelDbDB2, "COMMIT;\n");
  const std::string dir = bundle->Directory();
  std::string error;
  // A directory holding a file of the administrator's.
  ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
  std::ofstream(dir + "/notes.txt") << "mine";
  EXPECT_EQ(bundle->Write(error), -1);
  EXPECT_NE(error.find("holds files of its own"), std::string::npos) << error;
  EXPECT_EQ(ReadWholeFile(dir + "/notes.txt"), "mine");
  // A symbolic link in its place is not followed.
  ASSERT_EQ(unlink((dir + "/notes.txt").c_str()), 0);
  ASSERT_EQ(rmdir(dir.c_str()), 0);
  const std::string elsewhere = directory_.File("elsewhere");
  ASSERT_EQ(mkdir(elsewhere.c_str(), 0755), 0);
  ASSERT_EQ(symlink(elsewhere.c_str(), dir.c_str()), 0);
  error.clear();
  EXPECT_EQ(bundle->Write(error), -1);
  EXPECT_NE(error.find("is in the way"), std::string::npos) << error;
  struct stat info {};
  EXPECT_NE(stat((elsewhere + "/forward.sql").c_str(), &info), 0);
}

}  // namespace
