// The database access layer over the sandbox driver: driver choice, the
// catalogue queries the installer relies on, visibility of committed work
// across connections and processes, lock timeouts, the DDL file form of
// statements, server settings and the message buffer.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "SandboxDbmsTestSite.h"
#include "platform/QelDlgCombo.h"
#include "platform/db/QelDbDialect.h"
#include "sandbox/dbms/SandboxAdmin.h"

namespace {

using Strings = std::vector<std::string>;

Strings Lines(const QelListValQelUnicodeString& list) {
  Strings lines;
  for (const QelUnicodeString& item : list) lines.push_back(item.str());
  return lines;
}

// A route that cannot work ends before any driver is asked: no connection,
// no cursor, and the check's own words.
TEST_F(SandboxDbmsTest, AnUnregisteredDriverConnectsNothing) {
  environment_.Set("TESSARDBSETUP_DB2_DRIVER", "Missing DB2 client");
  const Connection none = Connect(QelDbDB2, "NOSOURCE", "db2inst1", "db2pass");
  EXPECT_EQ(-1, none.result);
  EXPECT_EQ(-1, none.errorCode);
  EXPECT_EQ(none.message.rfind("no ODBC driver \"Missing DB2 client\" is registered", 0), 0u)
      << none.message;
  EXPECT_FALSE(none.connection);
  EXPECT_FALSE(none.cursor);
  EXPECT_EQ(0, Db2().result) << "a data source named like the alias wins";
}

TEST_F(SandboxDbmsTest, SchemaNamesComeWithTheirAuthentication) {
  auto oracle = Oracle();
  ASSERT_EQ(0, oracle.result);
  Run(oracle, "CREATE USER PDMADM IDENTIFIED EXTERNALLY");
  Run(oracle, "CREATE USER ZEPDICO IDENTIFIED BY \"x\"");
  QelListValQelUnicodeString users;
  QelListValQelUnicodeString authentications;
  int errorCode = 0;
  char message[QelDbMessageSize];
  ASSERT_EQ(0, IsSchemaNameInDB(oracle.cursor.get(), oracle.connection.get(), QelDbOracle, "PDMADM",
                                users, authentications, errorCode, message))
      << message;
  EXPECT_EQ((Strings{"PDMADM", "SYS", "SYSTEM", "ZEPDICO"}), Lines(users));
  EXPECT_EQ((Strings{"EXTERNAL", "PASSWORD", "PASSWORD", "PASSWORD"}), Lines(authentications));

  // Only a dictionary reader may list the users.
  Run(oracle, "GRANT CREATE SESSION TO ZEPDICO");
  auto plain = Oracle("zepdico", "x");
  EXPECT_EQ(-942, IsSchemaNameInDB(plain.cursor.get(), plain.connection.get(), QelDbOracle, "X",
                                   users, authentications, errorCode, message));
  EXPECT_EQ(-942, errorCode);
  EXPECT_EQ("ORA-00942: table or view does not exist", std::string(message));
  EXPECT_EQ(0, users.Size());

  auto db2 = Db2();
  Run(db2, "GRANT CONNECT ON DATABASE TO USER ZEPDICO");
  Run(db2, "GRANT CONNECT ON DATABASE TO PUBLIC");
  ASSERT_EQ(0, IsSchemaNameInDB(db2.cursor.get(), db2.connection.get(), QelDbDB2, "PDMADM", users,
                                authentications, errorCode, message));
  EXPECT_EQ((Strings{"DB2INST1", "ZEPDICO"}), Lines(users));
  EXPECT_EQ((Strings{"PASSWORD", "PASSWORD"}), Lines(authentications));
}

TEST_F(SandboxDbmsTest, TablespaceListsOfferWhereTablesCanGo) {
  auto db2 = Db2();
  auto oracle = Oracle();
  Run(oracle, "CREATE TABLESPACE DATA1 DATAFILE 'data1.dbf' SIZE 1M");
  QelDlgCombo db2Combo(nullptr, "ComboTBSTypicalSel", 0);
  QelDlgCombo oracleCombo(nullptr, "ComboTBSTypicalSel", 0);
  int errorCode = 0;
  char message[QelDbMessageSize];
  ASSERT_EQ(0, GetTBSListStd(db2.cursor.get(), db2.connection.get(), QelDbDB2, 0, errorCode,
                             message, &db2Combo, 1));
  ASSERT_EQ(0, GetTBSListStd(oracle.cursor.get(), oracle.connection.get(), QelDbOracle, 0,
                             errorCode, message, &oracleCombo, 1));
  ASSERT_EQ(1, db2Combo.GetNbrOfLines());
  EXPECT_EQ("USERSPACE1", db2Combo.GetLine(0).str());
  ASSERT_EQ(2, oracleCombo.GetNbrOfLines());
  EXPECT_EQ("DATA1", oracleCombo.GetLine(0).str());
  EXPECT_EQ("USERS", oracleCombo.GetLine(1).str());
  EXPECT_TRUE(std::filesystem::exists(Site() + "/dbms/oracle/ORCL/data1.dbf"));

  db2.connection->Close();
  EXPECT_EQ(-1024, GetTBSListStd(db2.cursor.get(), db2.connection.get(), QelDbDB2, 0, errorCode,
                                 message, &db2Combo, 1));
  EXPECT_EQ("SQL1024N  A database connection does not exist.  SQLSTATE=08003",
            std::string(message));
}

TEST_F(SandboxDbmsTest, CommittedTablesAreSeenByOtherConnectionsAndProcesses) {
  auto installer = Db2();
  auto checker = Db2();
  EXPECT_EQ("", Run(installer, "CREATE TABLE ZEPDICO.PEOPLE (ID INTEGER)"));
  EXPECT_TRUE(TableExists(installer, "ZEPDICO", "PEOPLE"));
  EXPECT_FALSE(TableExists(checker, "ZEPDICO", "PEOPLE"));
  Commit(installer);
  EXPECT_TRUE(TableExists(checker, "ZEPDICO", "PEOPLE"));

  const pid_t child = fork();
  ASSERT_NE(-1, child);
  if (child == 0) {
    auto owner = Db2();
    const bool created =
        owner.result == 0 && Run(owner, "CREATE TABLE ZEPDICO.WF (ID INTEGER)").empty();
    int errorCode = 0;
    char message[QelDbMessageSize];
    const bool committed =
        created && CommitStatement(owner.connection.get(), QelDbDB2, 0, 0, errorCode, message) == 0;
    _exit(committed ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(child, waitpid(child, &status, 0));
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(0, WEXITSTATUS(status));
  EXPECT_TRUE(TableExists(checker, "ZEPDICO", "WF"));
  EXPECT_FALSE(TableExists(checker, "ZEPDICO", "NOTHING"));

  auto oracle = Oracle();
  EXPECT_EQ("", Run(oracle, "CREATE TABLE SYSTEM.PEOPLE (ID NUMBER)"));
  EXPECT_TRUE(TableExists(oracle, "SYSTEM", "PEOPLE"));
}

TEST_F(SandboxDbmsTest, ALockHeldTooLongIsAnError) {
  environment_.Set("TESSARDBSETUP_SANDBOX_LOCK_TIMEOUT", "50");
  auto first = Db2();
  auto second = Db2();
  EXPECT_EQ("", Run(first, "CREATE TABLE DB2INST1.A (ID INTEGER)"));
  EXPECT_EQ(
      "SQL0911N  The current transaction has been rolled back because of a deadlock or "
      "timeout.  Reason code \"68\".  SQLSTATE=40001",
      Run(second, "CREATE TABLE DB2INST1.B (ID INTEGER)"));
  Commit(first);
  EXPECT_EQ("", Run(second, "CREATE TABLE DB2INST1.B (ID INTEGER)"));

  auto oracleFirst = Oracle();
  auto oracleSecond = Oracle();
  Run(oracleFirst, "CREATE TABLE SYSTEM.T (ID NUMBER)");
  EXPECT_EQ("", Run(oracleFirst, "INSERT INTO SYSTEM.T VALUES (1)"));
  EXPECT_EQ("ORA-00060: deadlock or lock timeout detected while waiting for resource",
            Run(oracleSecond, "INSERT INTO SYSTEM.T VALUES (2)"));
}

TEST_F(SandboxDbmsTest, ScriptModeWritesWhatTheCommandLineToolsRun) {
  std::ostringstream db2;
  std::ostringstream oracle;
  int errorCode = 0;
  char message[QelDbMessageSize];
  const auto write = [&](std::ostringstream& file, int dbms, int type, const std::string& text) {
    EXPECT_EQ(0, ExeSQLStatement(nullptr, dbms, 1, &file, type, text, static_cast<int>(text.size()),
                                 errorCode, message));
  };
  write(db2, QelDbDB2, 7, "GRANT DBADM, CONNECT, CREATETAB ON DATABASE TO USER PDMADM");
  write(db2, QelDbDB2, 0, "INSERT INTO T VALUES ('a;b');  ");
  write(oracle, QelDbOracle, 5, "CREATE USER PDMADM IDENTIFIED BY \"p\"");
  write(oracle, QelDbOracle, 0,
        "CREATE OR REPLACE TRIGGER TRG BEFORE INSERT ON T FOR EACH ROW BEGIN NULL; END;");
  write(oracle, QelDbOracle, 0, "-- anonymous\nDECLARE n NUMBER; BEGIN n := 1; END;\n");
  write(oracle, QelDbOracle, 6, "DELETE FROM T;");
  EXPECT_EQ(
      "GRANT DBADM, CONNECT, CREATETAB ON DATABASE TO USER PDMADM;\n"
      "INSERT INTO T VALUES ('a;b');\n",
      db2.str());
  EXPECT_EQ(
      "CREATE USER PDMADM IDENTIFIED BY \"p\";\n"
      "CREATE OR REPLACE TRIGGER TRG BEFORE INSERT ON T FOR EACH ROW BEGIN NULL; END;\n/\n"
      "-- anonymous\nDECLARE n NUMBER; BEGIN n := 1; END;\n/\n"
      "DELETE FROM T;\n",
      oracle.str());
  EXPECT_EQ(-1, ExeSQLStatement(nullptr, QelDbDB2, 1, nullptr, 0, "X", 1, errorCode, message));
  EXPECT_EQ(-1024, ExeSQLStatement(nullptr, QelDbDB2, 0, nullptr, 0, "X", 1, errorCode, message));
}

TEST_F(SandboxDbmsTest, ServerSettingsAreRecordedWhereTheServerReadsThem) {
  ASSERT_EQ(0, QelDbDatabase::SetServer("TESCOMMON", "SAMPLE", 1, 1, "PDMADM", "admpass"));
  ASSERT_EQ(0, QelDbDatabase::SetServer("TESCOMMON", "sample", 1, 2, "", ""));
  ASSERT_EQ(0, QelDbDatabase::SetServer("ZEPADMIN", "SAMPLE", 1, 1, "PDMADM", "admpass"));
  ASSERT_EQ(0, QelDbDatabase::SetServer("TESCOMMON", "SAMPLE", 2, 1, "", ""));
  const auto settings = QelDbDatabase::ListServers("SAMPLE", 1);
  ASSERT_EQ(2u, settings.size());
  EXPECT_EQ("TESCOMMON", settings[0].first);
  EXPECT_EQ(2, settings[0].second.authentication) << "the alias in any case is one database";
  EXPECT_EQ("", settings[0].second.password);
  EXPECT_EQ("ZEPADMIN", settings[1].first);
  EXPECT_EQ("PDMADM", settings[1].second.user);
  EXPECT_EQ("admpass", settings[1].second.password);
  EXPECT_EQ(1u, QelDbDatabase::ListServers("SAMPLE", 2).size()) << "an Oracle service apart";
  // Nothing of them goes into the database itself.
  auto db2 = Db2();
  EXPECT_EQ(Strings{}, Rows(db2, "SELECT * FROM SYSCAT.TABLES"));
}

TEST(SandboxDbmsMessage, IsCutOnACharacterBoundary) {
  char message[QelDbMessageSize];
  QelDbSetMessage(message, std::string(4998, 'a') + "\xc3\xa9" + "tail");
  EXPECT_EQ(4998u, std::strlen(message));
  QelDbSetMessage(message, std::string(4997, 'a') + "\xc3\xa9" + "tail");
  EXPECT_EQ(4999u, std::strlen(message));
  EXPECT_EQ("\xc3\xa9", std::string(message + 4997));
  QelDbSetMessage(message, "short");
  EXPECT_EQ("short", std::string(message));
  QelDbSetMessage(nullptr, "ignored");
}

}  // namespace

namespace {

// Each dialect's catalogue queries run as they stand on the sandbox, as they
// would on the real catalogue views.
TEST_F(SandboxDbmsTest, TheDialectsCatalogueQueriesRun) {
  auto oracle = Oracle();
  ASSERT_EQ(0, oracle.result) << oracle.message;
  ASSERT_EQ("", Run(oracle, "CREATE TABLESPACE PDMTBS DATAFILE 'pdm.dbf' SIZE 2M"));
  const QelDbDialect& oracleDialect = QelDbDialect::For(QelDbOracle);
  const Strings free = Rows(oracle, oracleDialect.FreeSpaceQuery());
  EXPECT_NE(std::find(free.begin(), free.end(), "PDMTBS|2048"), free.end()) << free.size();
  EXPECT_NE(Rows(oracle, oracleDialect.UsersQuery()), Strings{});
  EXPECT_EQ(Rows(oracle, oracleDialect.TableExistsQuery("SYSTEM", "NONE")), Strings{});
  auto db2 = Db2();
  ASSERT_EQ(0, db2.result) << db2.message;
  const QelDbDialect& db2Dialect = QelDbDialect::For(QelDbDB2);
  EXPECT_NE(Rows(db2, db2Dialect.FreeSpaceQuery()), Strings{});
  EXPECT_NE(Rows(db2, db2Dialect.TablespacesQuery()), Strings{});
  EXPECT_NE(Rows(db2, db2Dialect.UsersQuery()), Strings{});
}

}  // namespace
