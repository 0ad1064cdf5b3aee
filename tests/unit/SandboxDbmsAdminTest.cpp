// Administration of sandbox databases (create, reset, the report of `db
// show`) and the finer transaction rules: what a failed statement, a
// rollback and an Oracle DDL statement do to the work around them.
#include <filesystem>

#include "SandboxDbmsTestSite.h"
#include "sandbox/dbms/SandboxAdmin.h"

namespace {

namespace fs = std::filesystem;

using Strings = std::vector<std::string>;

std::string Value(const qelsandbox::ReportRecord& record, const std::string& key) {
  for (const qelsandbox::ReportField& field : record) {
    if (field.key == key) return field.value;
  }
  return "<none>";
}

TEST_F(SandboxDbmsTest, ResetReturnsToTheCreatedState) {
  const qelsandbox::DatabaseLocation orcl = qelsandbox::OracleLocation(Site(), "orcl");
  try {
    qelsandbox::CreateDatabase(orcl, "", "other");
    ADD_FAILURE() << "a second creation was accepted";
  } catch (const qelsandbox::SandboxError& error) {
    EXPECT_EQ("database ORCL already exists (" + orcl.file + ")", error.message);
  }
  {
    auto oracle = Oracle();
    ASSERT_EQ("", Run(oracle, "CREATE TABLESPACE APP DATAFILE 'app.dbf' SIZE 1M"));
    ASSERT_EQ("", Run(oracle, "CREATE USER APP IDENTIFIED BY a DEFAULT TABLESPACE APP"));
    ASSERT_EQ("", Run(oracle, "CREATE TABLE SYSTEM.T (A NUMBER)"));
    ASSERT_EQ("", Run(oracle, "ALTER USER SYSTEM IDENTIFIED BY changed"));
  }
  EXPECT_TRUE(fs::exists(Site() + "/dbms/oracle/ORCL/app.dbf"));
  fs::remove(Site() + "/dbms/oracle/ORCL/users01.dbf");
  qelsandbox::ResetDatabase(orcl);
  EXPECT_FALSE(fs::exists(Site() + "/dbms/oracle/ORCL/app.dbf"));
  EXPECT_TRUE(fs::exists(Site() + "/dbms/oracle/ORCL/users01.dbf"));
  EXPECT_EQ(-1017, Oracle("system", "changed").result);
  auto oracle = Oracle();
  ASSERT_EQ(0, oracle.result) << oracle.message;
  EXPECT_FALSE(TableExists(oracle, "SYSTEM", "T"));
  EXPECT_EQ((Strings{"SYS", "SYSTEM"}), Rows(oracle, "SELECT USERNAME FROM DBA_USERS ORDER BY 1"));
  EXPECT_EQ("", Run(oracle, "CREATE TABLE SYSTEM.T (A NUMBER)"));
}

// A process remembers passwords it has proved; a changed or reset password
// and a wrong one must still be refused after the right one was taken.
TEST_F(SandboxDbmsTest, AProvedPasswordIsRefusedOnceChanged) {
  ASSERT_EQ(0, Db2().result);
  EXPECT_EQ(-30082, Db2("db2inst1", "db2pasS").result);
  EXPECT_EQ(0, Db2().result);
  {
    auto oracle = Oracle();
    ASSERT_EQ(0, oracle.result) << oracle.message;
    ASSERT_EQ("", Run(oracle, "CREATE USER APP IDENTIFIED BY first"));
    ASSERT_EQ("", Run(oracle, "GRANT CREATE SESSION TO APP"));
  }
  ASSERT_EQ(0, Oracle("app", "first").result);
  EXPECT_EQ(-1017, Oracle("app", "firsT").result);
  {
    auto oracle = Oracle();
    ASSERT_EQ("", Run(oracle, "ALTER USER APP IDENTIFIED BY second"));
    ASSERT_EQ("", Run(oracle, "ALTER USER SYSTEM IDENTIFIED BY changed"));
  }
  EXPECT_EQ(-1017, Oracle("app", "first").result);
  EXPECT_EQ(0, Oracle("app", "second").result);
  EXPECT_EQ(-1017, Oracle().result);
  ASSERT_EQ(0, Oracle("system", "changed").result);
  qelsandbox::ResetDatabase(qelsandbox::OracleLocation(Site(), "orcl"));
  EXPECT_EQ(-1017, Oracle("system", "changed").result);
  EXPECT_EQ(0, Oracle().result);
}

// A process's sessions share connections once they end: what one session
// left undone must not show in the next, the next must write the same
// tables, and a database file made anew must not be reached through a
// connection to the old one.
TEST_F(SandboxDbmsTest, EndedSessionsLeaveNothingToTheNext) {
  {
    auto db2 = Db2();
    ASSERT_EQ("", Run(db2, "CREATE TABLE Z.T (A INTEGER NOT NULL PRIMARY KEY)"));
    ASSERT_EQ("", Run(db2, "INSERT INTO Z.T VALUES (1)"));
    Commit(db2);
    ASSERT_EQ("", Run(db2, "INSERT INTO Z.T VALUES (2)"));
  }
  for (const char* value : {"3", "4"}) {
    auto db2 = Db2();
    ASSERT_EQ(0, db2.result) << db2.message;
    EXPECT_EQ("", Run(db2, std::string("INSERT INTO Z.T VALUES (") + value + ")"));
    EXPECT_NE("", Run(db2, "INSERT INTO Z.T VALUES (1)")) << "a stored key taken again";
    Commit(db2);
  }
  {
    auto db2 = Db2();
    EXPECT_EQ((Strings{"1", "3", "4"}), Rows(db2, "SELECT A FROM Z.T ORDER BY A"));
  }
  const qelsandbox::DatabaseLocation sample = qelsandbox::Db2Location(Site(), "db2inst1", "SAMPLE");
  for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(sample.file + suffix);
  qelsandbox::CreateDatabase(sample, "db2inst1", "");
  auto db2 = Db2();
  ASSERT_EQ(0, db2.result) << db2.message;
  EXPECT_FALSE(TableExists(db2, "Z", "T")) << "the old file was reached";
}

TEST_F(SandboxDbmsTest, ReportShowsWhatTheCatalogueHolds) {
  qelsandbox::CreateDatabase(qelsandbox::Db2Location(Site(), "db2inst2", "SAMPLE"), "pdmadm", "");
  EXPECT_EQ(2u, qelsandbox::FindDatabases(Site(), "sample").size());
  EXPECT_EQ(1u, qelsandbox::FindDatabases(Site(), "ORCL").size());
  EXPECT_TRUE(qelsandbox::FindDatabases(Site(), "NONE").empty());

  auto db2 = Db2();
  ASSERT_EQ("", Run(db2, "CREATE TABLE Z.T (A INTEGER NOT NULL PRIMARY KEY)"));
  ASSERT_EQ("", Run(db2, "INSERT INTO Z.T VALUES (1), (2), (3)"));
  ASSERT_EQ("", Run(db2, "CREATE INDEX Z.IX ON Z.T (A)"));
  ASSERT_EQ("", Run(db2, "GRANT SELECT ON Z.T TO PUBLIC"));
  Commit(db2);
  const qelsandbox::DatabaseReport report =
      qelsandbox::Report(qelsandbox::Db2Location(Site(), "db2inst1", "SAMPLE"));
  ASSERT_EQ(1u, report.users.size());
  EXPECT_EQ("DB2INST1", Value(report.users[0], "name"));
  EXPECT_EQ("BINDADD CONNECT CREATETAB DBADM IMPLICIT_SCHEMA LOAD SYSADM",
            Value(report.users[0], "authorities"));
  ASSERT_EQ(3u, report.tablespaces.size());
  EXPECT_EQ(Site() + "/dbms/db2/db2inst1/SAMPLE/TEMPSPACE1",
            Value(report.tablespaces[1], "containers"));
  ASSERT_EQ(2u, report.objects.size());
  EXPECT_EQ("IX", Value(report.objects[0], "name"));
  EXPECT_EQ("Z.T", Value(report.objects[0], "on"));
  EXPECT_EQ("T", Value(report.objects[1], "name"));
  EXPECT_EQ("3", Value(report.objects[1], "rows"));
  EXPECT_TRUE(report.objects[1].back().number);
  bool publicSelect = false;
  for (const qelsandbox::ReportRecord& grant : report.grants) {
    publicSelect =
        publicSelect || (Value(grant, "grantee") == "PUBLIC" && Value(grant, "object") == "Z.T" &&
                         Value(grant, "privilege") == "SELECT");
  }
  EXPECT_TRUE(publicSelect);
}

TEST_F(SandboxDbmsTest, FailedStatementsAndRollbacksUndoOnlyWhatTheyShould) {
  auto db2 = Db2();
  const std::string directory = Site() + "/keep";
  ASSERT_EQ("", Run(db2, "CREATE TABLESPACE KEEP MANAGED BY SYSTEM USING ('" + directory + "')"));
  Commit(db2);
  // A failure inside a unit of work takes back its own statement only.
  ASSERT_EQ("", Run(db2, "CREATE TABLE Z.T (A INTEGER) IN KEEP"));
  EXPECT_NE("", Run(db2, "CREATE TABLE Z.T (B INTEGER)"));
  EXPECT_NE("", Run(db2, "CREATE TABLE Z.U (A INTEGER) IN NOWHERE"));
  EXPECT_TRUE(TableExists(db2, "Z", "T"));
  EXPECT_FALSE(TableExists(db2, "Z", "U"));
  ASSERT_EQ("", Run(db2, "DROP TABLESPACE KEEP"));
  EXPECT_FALSE(TableExists(db2, "Z", "T"));
  ASSERT_EQ("", Run(db2, "ROLLBACK WORK"));
  EXPECT_TRUE(fs::is_directory(directory));
  EXPECT_EQ(Strings{"KEEP"},
            Rows(db2, "SELECT TBSPACE FROM SYSCAT.TABLESPACES WHERE TBSPACE = 'KEEP'"));
  EXPECT_FALSE(TableExists(db2, "Z", "T"));

  auto oracle = Oracle();
  auto observer = Oracle();
  ASSERT_EQ("", Run(oracle, "CREATE TABLE SYSTEM.T (A NUMBER)"));
  ASSERT_EQ("", Run(oracle, "INSERT INTO SYSTEM.T VALUES (1)"));
  // Oracle commits before a DDL statement even when the statement fails.
  EXPECT_EQ("ORA-00955: name is already used by an existing object",
            Run(oracle, "CREATE TABLE SYSTEM.T (A NUMBER)"));
  ASSERT_EQ("", Run(oracle, "INSERT INTO SYSTEM.T VALUES (2)"));
  ASSERT_EQ("", Run(oracle, "ROLLBACK"));
  EXPECT_EQ(Strings{"1"}, Rows(observer, "SELECT A FROM SYSTEM.T"));
  EXPECT_EQ("ORA-03114: not connected to ORACLE", [&] {
    oracle.connection->Close();
    return Run(oracle, "SELECT 1 FROM DUAL");
  }());
}

}  // namespace
