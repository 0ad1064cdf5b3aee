// The sandbox DBMS as the installer meets it: logins, the installer's own
// statements and their effects on the catalogue and the disk, transactions,
// privileges, and the checks on data statements, for DB2 and Oracle.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "SandboxDbmsTestSite.h"
#include "sandbox/dbms/SandboxAdmin.h"

namespace {

namespace fs = std::filesystem;

using Strings = std::vector<std::string>;

long long FileSize(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 ? static_cast<long long>(status.st_size) : -1;
}

TEST_F(SandboxDbmsTest, LoginsAreCheckedLikeTheDbms) {
  auto wrongDb2 = Db2("db2inst1", "wrong");
  EXPECT_EQ(-30082, wrongDb2.result);
  EXPECT_EQ(
      "SQL30082N  Security processing failed with reason \"24\" (\"USERNAME AND/OR "
      "PASSWORD INVALID\").  SQLSTATE=08001",
      wrongDb2.message);
  EXPECT_FALSE(wrongDb2.connection);

  EXPECT_EQ("SQL1060N  User \"NOBODY1\" does not have the CONNECT privilege.  SQLSTATE=08004",
            Db2("nobody1", "nopass").message);
  EXPECT_EQ(
      "SQL1013N  The database alias name or database name \"NOSUCH\" could not be found.  "
      "SQLSTATE=42705",
      Connect(QelDbDB2, "nosuch", "db2inst1", "db2pass").message);
  auto db2 = Db2("DB2INST1", "db2pass");
  ASSERT_EQ(0, db2.result) << db2.message;
  EXPECT_TRUE(db2.connection->IsOpen());

  auto wrongOracle = Oracle("system", "Manager");
  EXPECT_EQ(-1017, wrongOracle.result);
  EXPECT_EQ("ORA-01017: invalid username/password; logon denied", wrongOracle.message);
  EXPECT_EQ("ORA-01017: invalid username/password; logon denied",
            Oracle("ghost", "manager").message);
  EXPECT_EQ("ORA-12154: TNS:could not resolve the connect identifier specified",
            Connect(QelDbOracle, "OTHER", "system", "manager").message);
  EXPECT_EQ(0, Oracle().result);

  environment_.Set("DB2INSTANCE", std::nullopt);
  // The driver check tells it before the driver would.
  EXPECT_NE(Db2().message.find("cannot connect: DB2INSTANCE is not set"), std::string::npos);
  environment_.Set("TNS_ADMIN", std::nullopt);
  environment_.Set("ORACLE_HOME", Site() + "/nohome");
  EXPECT_EQ(-12154, Oracle().result);
}

TEST_F(SandboxDbmsTest, OracleInstallerStatementsHaveTheirEffects) {
  auto dba = Oracle();
  ASSERT_EQ(0, dba.result) << dba.message;
  const std::string file = Site() + "/oradata/TESTBS.dbf";
  fs::create_directories(Site() + "/oradata");
  EXPECT_EQ("", Run(dba, "CREATE TABLESPACE \"TESTBS\" DATAFILE '" + file +
                             "' SIZE 50M AUTOEXTEND ON NEXT 500K MAXSIZE UNLIMITED DEFAULT "
                             "STORAGE ( INITIAL 10K NEXT 50K MINEXTENTS 1 MAXEXTENTS 200 "
                             "PCTINCREASE 10 ) ONLINE"));
  EXPECT_EQ(50LL * 1024 * 1024, FileSize(file));
  EXPECT_EQ("", Run(dba,
                    "CREATE USER PDMADM IDENTIFIED BY \"adm pass\" DEFAULT TABLESPACE "
                    "\"TESTBS\" QUOTA UNLIMITED ON \"TESTBS\" QUOTA UNLIMITED ON \"TESTBS\""));
  EXPECT_EQ("", Run(dba, "CREATE USER ZEPDICO IDENTIFIED EXTERNALLY"));
  EXPECT_EQ("", Run(dba,
                    "GRANT CONNECT, RESOURCE, SELECT ANY TABLE, CREATE USER, DROP USER, "
                    "ALTER USER, CREATE ANY VIEW, DROP ANY VIEW TO PDMADM WITH ADMIN OPTION"));
  EXPECT_EQ((Strings{"PDMADM|PASSWORD|TESTBS", "ZEPDICO|EXTERNAL|USERS"}),
            Rows(dba,
                 "SELECT USERNAME, AUTHENTICATION_TYPE, DEFAULT_TABLESPACE FROM DBA_USERS "
                 "WHERE USERNAME NOT LIKE 'SYS%' ORDER BY USERNAME"));
  EXPECT_EQ((Strings{"TESTBS|" + file}),
            Rows(dba,
                 "SELECT TABLESPACE_NAME, FILE_NAME FROM DBA_DATA_FILES WHERE "
                 "TABLESPACE_NAME = 'TESTBS'"));

  // An externally identified user cannot log in with a password until the
  // installer gives it one, and the administrator passes on what it got.
  EXPECT_EQ(-1017, Oracle("zepdico", "").result);
  EXPECT_EQ("", Run(dba,
                    "ALTER USER ZEPDICO IDENTIFIED BY \"dico\" DEFAULT TABLESPACE "
                    "\"TESTBS\" QUOTA UNLIMITED ON \"TESTBS\" QUOTA UNLIMITED ON \"TESTBS\""));
  auto admin = Oracle("pdmadm", "adm pass");
  ASSERT_EQ(0, admin.result) << admin.message;
  EXPECT_EQ("", Run(admin,
                    "GRANT CONNECT,RESOURCE, SELECT ANY TABLE, CREATE ANY VIEW, DROP ANY "
                    "VIEW TO ZEPDICO"));
  auto owner = Oracle("zepdico", "dico");
  ASSERT_EQ(0, owner.result) << owner.message;
  EXPECT_EQ("", Run(owner,
                    "CREATE TABLE ZEPDICO.PEOPLE (ID NUMBER(10) NOT NULL, NAME "
                    "VARCHAR2(40), CONSTRAINT PK_PEOPLE PRIMARY KEY (ID)) TABLESPACE TESTBS"));
  EXPECT_EQ("", Run(owner, "INSERT INTO PEOPLE (ID, NAME) VALUES (1, 'Ada')"));
  Commit(owner);
  EXPECT_EQ("", Run(admin, "CREATE VIEW ZEPDICO.V_PEOPLE AS SELECT NAME FROM ZEPDICO.PEOPLE"));
  EXPECT_EQ(Strings{"Ada"}, Rows(admin, "SELECT * FROM ZEPDICO.V_PEOPLE"));

  const qelsandbox::DatabaseReport report =
      qelsandbox::Report(qelsandbox::OracleLocation(Site(), "ORCL"));
  bool tableShown = false;
  for (const qelsandbox::ReportRecord& object : report.objects) {
    if (object.at(1).value == "PEOPLE") {
      tableShown = object.at(0).value == "ZEPDICO" && object.back().value == "1";
    }
  }
  EXPECT_TRUE(tableShown);

  EXPECT_EQ("", Run(dba, "ALTER USER ZEPDICO IDENTIFIED EXTERNALLY"));
  EXPECT_EQ(-1017, Oracle("zepdico", "dico").result);
  // A user is not dropped while one of its sessions is open, in this
  // process or another; a closed session no longer counts.
  EXPECT_EQ("ORA-01940: cannot drop a user that is currently connected",
            Run(dba, "DROP USER ZEPDICO CASCADE"));
  owner.connection->Close();
  EXPECT_EQ("ORA-01922: CASCADE must be specified to drop 'ZEPDICO'",
            Run(dba, "DROP USER ZEPDICO"));
  EXPECT_EQ("", Run(dba, "DROP USER ZEPDICO CASCADE"));
  EXPECT_FALSE(TableExists(dba, "ZEPDICO", "PEOPLE"));
  EXPECT_EQ("ORA-01918: user 'ZEPDICO' does not exist", Run(dba, "DROP USER ZEPDICO CASCADE"));
  EXPECT_EQ("", Run(dba, "DROP TABLESPACE \"TESTBS\" INCLUDING CONTENTS"));
  EXPECT_FALSE(fs::exists(file));
  EXPECT_EQ(Strings{"USERS"}, Rows(dba,
                                   "SELECT DEFAULT_TABLESPACE FROM DBA_USERS WHERE "
                                   "USERNAME = 'PDMADM'"));
}

TEST_F(SandboxDbmsTest, Db2InstallerStatementsHaveTheirEffects) {
  auto dba = Db2();
  ASSERT_EQ(0, dba.result) << dba.message;
  const std::string directory = Site() + "/db2data/TESTBS.dbf";
  EXPECT_EQ("", Run(dba, "CREATE REGULAR TABLESPACE \"TESTBS\" MANAGED BY SYSTEM USING ('" +
                             directory + "')"));
  EXPECT_TRUE(fs::is_directory(directory));
  Commit(dba);
  EXPECT_EQ("", Run(dba, "GRANT DBADM, CONNECT, CREATETAB ON DATABASE TO USER PDMADM"));
  EXPECT_EQ("", Run(dba, "GRANT CONNECT, CREATETAB ON DATABASE TO USER ZEPDICO"));
  Commit(dba);
  EXPECT_EQ((Strings{"PDMADM|Y|Y", "ZEPDICO|N|Y"}),
            Rows(dba,
                 "SELECT GRANTEE, DBADMAUTH, CONNECTAUTH FROM SYSCAT.DBAUTH WHERE GRANTEE "
                 "<> 'DB2INST1' ORDER BY GRANTEE"));

  auto admin = Db2("pdmadm", "admpass");
  ASSERT_EQ(0, admin.result) << admin.message;
  EXPECT_EQ("", Run(admin,
                    "CREATE TABLE ZEPDICO.PEOPLE (ID INTEGER NOT NULL, NAME VARCHAR(40) "
                    "WITH DEFAULT 'nobody', PRIMARY KEY (ID)) IN TESTBS"));
  EXPECT_EQ("", Run(admin, "INSERT INTO ZEPDICO.PEOPLE (ID) VALUES (1), (2)"));
  Commit(admin);
  EXPECT_EQ((Strings{"1|nobody", "2|nobody"}),
            Rows(admin, "SELECT ID, NAME FROM ZEPDICO.PEOPLE ORDER BY ID"));
  EXPECT_EQ((Strings{"ZEPDICO|PEOPLE|TESTBS|PDMADM"}),
            Rows(dba, "SELECT TABSCHEMA, TABNAME, TBSPACE, OWNER FROM SYSCAT.TABLES"));

  // DB2 drops the tables with their tablespace, and the directory goes at
  // commit.
  EXPECT_EQ("", Run(dba, "DROP TABLESPACE \"TESTBS\""));
  EXPECT_TRUE(fs::is_directory(directory));
  Commit(dba);
  EXPECT_FALSE(fs::exists(directory));
  EXPECT_FALSE(TableExists(dba, "ZEPDICO", "PEOPLE"));
  EXPECT_EQ("SQL0204N  \"TESTBS\" is an undefined name.  SQLSTATE=42704",
            Run(dba, "DROP TABLESPACE \"TESTBS\""));
}

TEST_F(SandboxDbmsTest, Db2WorkWithoutCommitIsGoneAfterClose) {
  const std::string directory = Site() + "/db2data/TMPBS";
  {
    auto dba = Db2();
    ASSERT_EQ(0, dba.result) << dba.message;
    EXPECT_EQ("", Run(dba, "CREATE REGULAR TABLESPACE \"TMPBS\" MANAGED BY SYSTEM USING ('" +
                               directory + "')"));
    EXPECT_EQ("", Run(dba, "CREATE TABLE DB2INST1.T (A INTEGER) IN TMPBS"));
    EXPECT_TRUE(TableExists(dba, "DB2INST1", "T"));
    EXPECT_TRUE(fs::is_directory(directory));
    EXPECT_EQ(0, dba.connection->Close());
  }
  EXPECT_FALSE(fs::exists(directory));
  auto again = Db2();
  EXPECT_FALSE(TableExists(again, "DB2INST1", "T"));
  EXPECT_EQ(Strings{}, Rows(again,
                            "SELECT TBSPACE FROM SYSCAT.TABLESPACES WHERE TBSPACE = "
                            "'TMPBS'"));
  // A rolled back creation frees the name and the directory for the next.
  EXPECT_EQ("", Run(again, "CREATE REGULAR TABLESPACE \"TMPBS\" MANAGED BY SYSTEM USING ('" +
                               directory + "')"));
  EXPECT_EQ("", Run(again, "ROLLBACK"));
  EXPECT_FALSE(fs::exists(directory));
}

TEST_F(SandboxDbmsTest, OracleDdlCommitsItselfAndDmlWaitsForCommit) {
  auto writer = Oracle();
  auto reader = Oracle();
  ASSERT_EQ(0, writer.result);
  EXPECT_EQ("", Run(writer, "CREATE TABLE SYSTEM.ITEMS (ID NUMBER PRIMARY KEY)"));
  EXPECT_TRUE(TableExists(reader, "SYSTEM", "ITEMS"));
  EXPECT_EQ("", Run(writer, "INSERT INTO ITEMS VALUES (1)"));
  EXPECT_EQ(Strings{"0"}, Rows(reader, "SELECT count(*) FROM SYSTEM.ITEMS"));
  // The next DDL statement commits the pending insert.
  EXPECT_EQ("", Run(writer, "CREATE INDEX SYSTEM.IX_ITEMS ON SYSTEM.ITEMS (ID DESC)"));
  EXPECT_EQ(Strings{"1"}, Rows(reader, "SELECT count(*) FROM SYSTEM.ITEMS"));
  EXPECT_EQ("", Run(writer, "INSERT INTO ITEMS VALUES (2)"));
  writer.connection->Close();
  EXPECT_EQ(Strings{"1"}, Rows(reader, "SELECT count(*) FROM SYSTEM.ITEMS"));
}

TEST_F(SandboxDbmsTest, DuplicateCreationsFailAndChangeNothing) {
  auto db2 = Db2();
  EXPECT_EQ("", Run(db2, "CREATE TABLE ZEP.T (A INTEGER NOT NULL PRIMARY KEY)"));
  EXPECT_EQ("", Run(db2, "INSERT INTO ZEP.T VALUES (7)"));
  EXPECT_EQ(
      "SQL0601N  The name of the object to be created is identical to the existing name "
      "\"ZEP.T\" of type \"TABLE\".  SQLSTATE=42710",
      Run(db2, "CREATE TABLE ZEP.T (B CHAR(1))"));
  EXPECT_EQ(Strings{"7"}, Rows(db2, "SELECT * FROM ZEP.T"));
  EXPECT_EQ(Strings{"A"}, Rows(db2, "SELECT COLNAME FROM SYSCAT.COLUMNS WHERE TABNAME = 'T'"));
  EXPECT_EQ(
      "SQL0601N  The name of the object to be created is identical to the existing name "
      "\"USERSPACE1\" of type \"TABLESPACE\".  SQLSTATE=42710",
      Run(db2, "CREATE TABLESPACE USERSPACE1 MANAGED BY SYSTEM USING ('x')"));
  EXPECT_FALSE(fs::exists(Site() + "/dbms/db2/db2inst1/SAMPLE/x"));

  auto oracle = Oracle();
  const std::string file = Site() + "/USERS2.dbf";
  EXPECT_EQ("", Run(oracle, "CREATE TABLESPACE USERS2 DATAFILE '" + file + "' SIZE 1M"));
  EXPECT_EQ("ORA-01543: tablespace 'USERS2' already exists",
            Run(oracle, "CREATE TABLESPACE USERS2 DATAFILE '" + Site() + "/other.dbf' SIZE 2M"));
  EXPECT_FALSE(fs::exists(Site() + "/other.dbf"));
  EXPECT_EQ(1024 * 1024, FileSize(file));
  EXPECT_EQ("", Run(oracle, "CREATE USER U1 IDENTIFIED BY p1"));
  EXPECT_EQ("ORA-01920: user name 'U1' conflicts with another user or role name",
            Run(oracle, "CREATE USER U1 IDENTIFIED BY p2"));
  EXPECT_EQ("", Run(oracle, "GRANT CREATE SESSION TO U1"));
  EXPECT_EQ(0, Oracle("u1", "p1").result);
  EXPECT_EQ("", Run(oracle, "CREATE SEQUENCE SYSTEM.S START WITH 10"));
  EXPECT_EQ("ORA-00955: name is already used by an existing object",
            Run(oracle, "CREATE TABLE SYSTEM.S (A NUMBER)"));
  // A file in the way fails the creation and leaves no tablespace behind.
  EXPECT_EQ("ORA-01537: cannot add file '" + file + "' - file already part of database",
            Run(oracle, "CREATE TABLESPACE USERS3 DATAFILE '" + file + "' SIZE 1M"));
  std::ofstream(Site() + "/stray.dbf") << "not ours";
  EXPECT_EQ("ORA-01119: error in creating database file '" + Site() +
                "/stray.dbf'\nORA-27038: created file already exists",
            Run(oracle, "CREATE TABLESPACE USERS3 DATAFILE '" + Site() + "/stray.dbf' SIZE 1M"));
  EXPECT_EQ("not ours", ReadWholeFile(Site() + "/stray.dbf"));
  EXPECT_EQ(Strings{}, Rows(oracle,
                            "SELECT 1 FROM DBA_TABLESPACES WHERE TABLESPACE_NAME = "
                            "'USERS3'"));
}

TEST_F(SandboxDbmsTest, PrivilegesAreEnforced) {
  auto oracle = Oracle();
  EXPECT_EQ("", Run(oracle, "CREATE USER CLERK IDENTIFIED BY \"c\""));
  EXPECT_EQ("ORA-01045: user CLERK lacks CREATE SESSION privilege; logon denied",
            Oracle("clerk", "c").message);
  EXPECT_EQ("", Run(oracle, "GRANT CONNECT TO CLERK"));
  auto clerk = Oracle("clerk", "c");
  ASSERT_EQ(0, clerk.result) << clerk.message;
  EXPECT_EQ("ORA-01031: insufficient privileges", Run(clerk, "CREATE TABLE T (A NUMBER)"));
  EXPECT_EQ("ORA-01031: insufficient privileges", Run(clerk, "CREATE USER X IDENTIFIED BY y"));
  EXPECT_EQ("ORA-01031: insufficient privileges",
            Run(clerk, "CREATE TABLESPACE T2 DATAFILE 't2.dbf' SIZE 1M"));
  EXPECT_EQ("ORA-01932: ADMIN option not granted for role 'CONNECT'",
            Run(clerk, "GRANT CONNECT TO SYSTEM"));
  EXPECT_EQ("ORA-00942: table or view does not exist", Run(clerk, "SELECT * FROM DBA_USERS"));
  EXPECT_EQ("", Run(oracle, "GRANT RESOURCE TO CLERK"));
  EXPECT_EQ("", Run(clerk, "CREATE TABLE T (A NUMBER)"));
  EXPECT_EQ("ORA-01031: insufficient privileges", Run(clerk, "CREATE TABLE SYSTEM.T (A NUMBER)"));
  EXPECT_EQ("", Run(oracle, "CREATE TABLE SYSTEM.SECRET (A NUMBER)"));
  EXPECT_EQ("ORA-00942: table or view does not exist", Run(clerk, "SELECT * FROM SYSTEM.SECRET"));
  EXPECT_EQ("", Run(oracle, "GRANT SELECT ON SYSTEM.SECRET TO CLERK"));
  EXPECT_EQ("", Run(clerk, "SELECT * FROM SYSTEM.SECRET"));
  EXPECT_EQ("ORA-01031: insufficient privileges",
            Run(clerk, "INSERT INTO SYSTEM.SECRET VALUES (1)"));

  auto db2 = Db2();
  EXPECT_EQ("", Run(db2, "GRANT CONNECT ON DATABASE TO USER ZEPDICO"));
  Commit(db2);
  auto owner = Db2("zepdico", "dicopass");
  ASSERT_EQ(0, owner.result) << owner.message;
  EXPECT_EQ(
      "SQL0552N  \"ZEPDICO\" does not have the privilege to perform operation "
      "\"CREATETAB\".  SQLSTATE=42502",
      Run(owner, "CREATE TABLE T (A INTEGER)"));
  EXPECT_EQ(
      "SQL0551N  \"ZEPDICO\" does not have the required authorization or privilege to "
      "perform operation \"CREATE TABLE\" on object \"OTHER.T\".  SQLSTATE=42501",
      Run(owner, "CREATE TABLE OTHER.T (A INTEGER)"));
  EXPECT_EQ(
      "SQL0552N  \"ZEPDICO\" does not have the privilege to perform operation \"GRANT\".  "
      "SQLSTATE=42502",
      Run(owner, "GRANT DBADM ON DATABASE TO USER ZEPDICO"));
  EXPECT_EQ(
      "SQL0552N  \"ZEPDICO\" does not have the privilege to perform operation "
      "\"CREATE TABLESPACE\".  SQLSTATE=42502",
      Run(owner, "CREATE TABLESPACE X MANAGED BY SYSTEM USING ('x')"));
  EXPECT_EQ("", Run(db2, "GRANT CREATETAB ON DATABASE TO USER ZEPDICO"));
  Commit(db2);
  EXPECT_EQ("", Run(owner, "CREATE TABLE T (A INTEGER)"));
}

TEST_F(SandboxDbmsTest, DataStatementsAreCheckedAgainstTheirTable) {
  auto db2 = Db2();
  auto oracle = Oracle();
  const std::string table =
      "CREATE TABLE Z.ITEM (ID INTEGER NOT NULL, CODE VARCHAR(3) NOT NULL, QTY DECIMAL(5,2), "
      "CONSTRAINT PK_ITEM PRIMARY KEY (ID))";
  EXPECT_EQ("", Run(db2, table));
  EXPECT_EQ("", Run(oracle, "CREATE USER Z IDENTIFIED BY z QUOTA UNLIMITED ON USERS"));
  EXPECT_EQ("", Run(oracle, table));

  EXPECT_EQ("SQL0204N  \"Z.NONE\" is an undefined name.  SQLSTATE=42704",
            Run(db2, "INSERT INTO Z.NONE VALUES (1)"));
  EXPECT_EQ("ORA-00942: table or view does not exist",
            Run(oracle, "INSERT INTO Z.NONE VALUES (1)"));
  EXPECT_EQ(
      "SQL0117N  The number of values assigned is not the same as the number of specified "
      "or implied columns.  SQLSTATE=42802",
      Run(db2, "INSERT INTO Z.ITEM VALUES (1, 'a')"));
  EXPECT_EQ("ORA-00947: not enough values", Run(oracle, "INSERT INTO Z.ITEM VALUES (1, 'a')"));
  EXPECT_EQ("ORA-00913: too many values", Run(oracle, "INSERT INTO Z.ITEM (ID) VALUES (1, 'a')"));
  EXPECT_EQ(
      "SQL0407N  Assignment of a NULL value to a NOT NULL column \"Z.ITEM.CODE\" is not "
      "allowed.  SQLSTATE=23502",
      Run(db2, "INSERT INTO Z.ITEM (ID) VALUES (1)"));
  EXPECT_EQ("ORA-01400: cannot insert NULL into (\"Z\".\"ITEM\".\"CODE\")",
            Run(oracle, "INSERT INTO Z.ITEM (ID, CODE) VALUES (1, NULL)"));
  EXPECT_EQ("ORA-00904: \"COLOUR\": invalid identifier",
            Run(oracle, "INSERT INTO Z.ITEM (ID, COLOUR) VALUES (1, 'red')"));
  EXPECT_EQ("ORA-12899: value too large for column \"Z\".\"ITEM\".\"CODE\"",
            Run(oracle, "INSERT INTO Z.ITEM VALUES (1, 'abcd', 1)"));
  EXPECT_EQ("ORA-01722: invalid number", Run(oracle, "INSERT INTO Z.ITEM VALUES ('x', 'a', 1)"));

  // The second row's duplicate key undoes the whole statement.
  EXPECT_EQ(
      "SQL0803N  One or more values in the INSERT statement, UPDATE statement, or foreign "
      "key update caused by a DELETE statement are not valid because the primary key, "
      "unique constraint or unique index identified by \"PK_ITEM\" constrains table "
      "\"Z.ITEM\" from having duplicate values for the index key.  SQLSTATE=23505",
      Run(db2, "INSERT INTO Z.ITEM VALUES (1, 'a', 1.5), (1, 'b', 2)"));
  EXPECT_EQ(Strings{"0"}, Rows(db2, "SELECT count(*) FROM Z.ITEM"));
  EXPECT_EQ("", Run(oracle, "INSERT INTO Z.ITEM VALUES (1, 'a', 1.5)"));
  EXPECT_EQ("ORA-00001: unique constraint (Z.PK_ITEM) violated",
            Run(oracle, "INSERT INTO Z.ITEM VALUES (1, 'b', 2)"));
  EXPECT_EQ("", Run(oracle, "INSERT INTO Z.ITEM VALUES (2, 'b', 2)"));
  EXPECT_EQ("", Run(oracle, "UPDATE Z.ITEM I SET QTY = QTY * 2 WHERE I.ID = 2"));
  EXPECT_EQ("", Run(oracle, "DELETE FROM Z.ITEM WHERE CODE = 'a'"));
  EXPECT_EQ(Strings{"2|b|4"}, Rows(oracle, "SELECT ID, CODE, QTY FROM Z.ITEM"));
  EXPECT_EQ(Strings{"X"}, Rows(oracle, "SELECT DUMMY FROM DUAL"));

  EXPECT_EQ("SQL0104N  An unexpected token \"FROBNICATE\" was found.  SQLSTATE=42601",
            Run(db2, "FROBNICATE Z.ITEM"));
  EXPECT_EQ("ORA-00900: invalid SQL statement", Run(oracle, "FROBNICATE Z.ITEM"));
  EXPECT_EQ("SQL0204N  \"VARCHAR3\" is an undefined name.  SQLSTATE=42704",
            Run(db2, "CREATE TABLE Z.BAD (A VARCHAR3(2))"));
  EXPECT_EQ("ORA-00902: invalid datatype", Run(oracle, "CREATE TABLE Z.BAD (A VARCHAR3(2))"));
}

TEST_F(SandboxDbmsTest, PasswordsNeverAppearInMessages) {
  auto oracle = Oracle();
  for (const std::string& statement :
       {std::string("CREATE USER SECRETIVE IDENTIFIED BY \"TopSecret1\" WHATEVER"),
        std::string("ALTER USER NOBODY IDENTIFIED BY \"TopSecret1\""),
        std::string("CREATE USER X IDENTIFIED BY TopSecret1 TopSecret1"),
        std::string("CREATE USER X IDENTIFIED BY \"TopSecret1")}) {
    const std::string message = Run(oracle, statement);
    EXPECT_FALSE(message.empty()) << statement;
    EXPECT_EQ(std::string::npos, message.find("TopSecret1")) << message;
  }
  auto db2 = Db2();
  const std::string message = Run(db2, "CREATE USER X IDENTIFIED BY \"TopSecret1\" X");
  EXPECT_EQ(0u, message.find("SQL0104N"));
  EXPECT_EQ(std::string::npos, message.find("TopSecret1")) << message;
}

}  // namespace

TEST_F(SandboxDbmsTest, OracleDropsNoUserWithASessionOfALiveProcess) {
  auto dba = Oracle();
  ASSERT_EQ(0, dba.result) << dba.message;
  ASSERT_EQ("", Run(dba, "CREATE USER HOLDER IDENTIFIED BY \"holder\""));
  ASSERT_EQ("", Run(dba, "GRANT CONNECT TO HOLDER"));
  int ready[2];
  ASSERT_EQ(0, pipe(ready));
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const auto session = Oracle("holder", "holder");
    const char answer = session.result == 0 ? 'y' : 'n';
    [[maybe_unused]] const ssize_t written = write(ready[1], &answer, 1);
    pause();
    _exit(0);
  }
  char answer = 0;
  ASSERT_EQ(1, read(ready[0], &answer, 1));
  EXPECT_EQ('y', answer);
  EXPECT_EQ("ORA-01940: cannot drop a user that is currently connected",
            Run(dba, "DROP USER HOLDER CASCADE"));
  // A process that dies takes its sessions with it, closed or not.
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  close(ready[0]);
  close(ready[1]);
  EXPECT_EQ("", Run(dba, "DROP USER HOLDER CASCADE"));
}
