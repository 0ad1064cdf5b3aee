// What the sandbox DBMS does to stay fast in a large repository must not
// show: a table altered keeps its rows, grants, indexes and views, in a unit
// of work that can still be rolled back; a table made without rows is
// checked and behaves as one; the catalogue views stay right after many
// objects come and go.
#include "SandboxDbmsTestSite.h"

namespace {

using Strings = std::vector<std::string>;

TEST_F(SandboxDbmsTest, AlteredTablesKeepRowsGrantsIndexesAndViews) {
  auto db2 = Db2();
  EXPECT_EQ("", Run(db2, "GRANT CONNECT ON DATABASE TO USER PDMADM"));
  EXPECT_EQ("", Run(db2, "CREATE TABLE Z.T (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(10))"));
  EXPECT_EQ("", Run(db2, "CREATE UNIQUE INDEX Z.IX_NAME ON Z.T (NAME)"));
  EXPECT_EQ("", Run(db2, "CREATE VIEW Z.V AS SELECT ID, NAME FROM Z.T WHERE ID > 1"));
  EXPECT_EQ("", Run(db2, "GRANT SELECT, INSERT ON TABLE Z.T TO USER PDMADM"));
  EXPECT_EQ("", Run(db2, "INSERT INTO Z.T VALUES (1, 'one'), (2, 'two')"));
  EXPECT_EQ("", Run(db2, "ALTER TABLE Z.T ADD COLUMN CODE VARCHAR(3) NOT NULL WITH DEFAULT 'abc'"));
  Commit(db2);
  EXPECT_EQ((Strings{"1|one|abc", "2|two|abc"}),
            Rows(db2, "SELECT ID, NAME, CODE FROM Z.T ORDER BY ID"));
  EXPECT_EQ(Strings{"2|two"}, Rows(db2, "SELECT ID, NAME FROM Z.V"));
  EXPECT_EQ(0u, Run(db2, "INSERT INTO Z.T (ID, NAME) VALUES (3, 'one')").find("SQL0803N"));
  EXPECT_EQ(0u, Run(db2, "INSERT INTO Z.T (ID, CODE) VALUES (4, 'long')").find("SQL0433N"));

  auto admin = Db2("pdmadm", "admpass");
  EXPECT_EQ("", Run(admin, "INSERT INTO Z.T (ID, NAME) VALUES (5, 'five')"));
  Commit(admin);
  EXPECT_EQ((Strings{"1|one", "2|two", "5|five"}),
            Rows(admin, "SELECT ID, NAME FROM Z.T ORDER BY ID"));

  // DB2 keeps DDL in the unit of work: a rolled-back ALTER leaves the table
  // as it was, rows and all.
  EXPECT_EQ("", Run(db2, "ALTER TABLE Z.T ADD COLUMN LATER INTEGER"));
  EXPECT_EQ("", Run(db2, "INSERT INTO Z.T (ID, LATER) VALUES (6, 6)"));
  int errorCode = 0;
  char message[QelDbMessageSize];
  ASSERT_EQ(0, ExeSQLStatement(db2.cursor.get(), QelDbDB2, 0, nullptr, 5, "ROLLBACK", 8, errorCode,
                               message))
      << message;
  EXPECT_EQ((Strings{"1|one|abc", "2|two|abc", "5|five|abc"}),
            Rows(db2, "SELECT * FROM Z.T ORDER BY ID"));
  EXPECT_EQ(0u, Run(db2, "SELECT LATER FROM Z.T").find("SQL0206N"));

  auto oracle = Oracle();
  EXPECT_EQ("", Run(oracle, "CREATE USER APP IDENTIFIED BY a QUOTA UNLIMITED ON USERS"));
  EXPECT_EQ("", Run(oracle, "CREATE USER READER IDENTIFIED BY r"));
  EXPECT_EQ("", Run(oracle, "GRANT CREATE SESSION TO READER"));
  EXPECT_EQ("", Run(oracle, "CREATE TABLE APP.ITEM (ID NUMBER PRIMARY KEY, NAME VARCHAR2(9))"));
  EXPECT_EQ("", Run(oracle, "GRANT SELECT ON APP.ITEM TO READER"));
  EXPECT_EQ("", Run(oracle, "INSERT INTO APP.ITEM VALUES (1, 'one')"));
  Commit(oracle);
  EXPECT_EQ("", Run(oracle,
                    "ALTER TABLE APP.ITEM ADD (PRICE NUMBER(8,2) DEFAULT 0, NOTE "
                    "VARCHAR2(20))"));
  auto reader = Oracle("reader", "r");
  EXPECT_EQ(Strings{"1|one|0|"}, Rows(reader, "SELECT ID, NAME, PRICE, NOTE FROM APP.ITEM"));
  EXPECT_EQ(0u, Run(oracle, "INSERT INTO APP.ITEM (ID) VALUES (1)").find("ORA-00001"));
}

TEST_F(SandboxDbmsTest, TablesWithoutRowsAreCheckedAndBehaveAsTables) {
  auto db2 = Db2();
  // The definition is checked when the table is created, rows or not.
  EXPECT_EQ(0u, Run(db2, "CREATE TABLE Z.BAD (A INTEGER CHECK (NOPE > 0))").find("SQL0206N"));
  EXPECT_FALSE(TableExists(db2, "Z", "BAD"));
  EXPECT_EQ("", Run(db2, "CREATE TABLE Z.E (A INTEGER NOT NULL, B VARCHAR(4))"));
  EXPECT_EQ("", Run(db2, "CREATE UNIQUE INDEX Z.IX_E ON Z.E (B)"));
  EXPECT_EQ("", Run(db2, "ALTER TABLE Z.E ADD CONSTRAINT CK_A CHECK (A < 10)"));
  EXPECT_EQ("", Run(db2, "ALTER TABLE Z.E ADD COLUMN C INTEGER NOT NULL WITH DEFAULT 7"));
  Commit(db2);
  EXPECT_EQ(Strings{}, Rows(db2, "SELECT A, B, C FROM Z.E"));
  EXPECT_EQ(Strings{"0"}, Rows(db2, "SELECT COUNT(*) FROM Z.E"));
  // Its first rows meet everything declared before them.
  EXPECT_EQ("", Run(db2, "INSERT INTO Z.E (A, B) VALUES (1, 'x')"));
  EXPECT_EQ(0u, Run(db2, "INSERT INTO Z.E (A, B) VALUES (2, 'x')").find("SQL0803N"));
  EXPECT_EQ(0u, Run(db2, "INSERT INTO Z.E (A, B) VALUES (20, 'y')").find("SQL0545N"));
  EXPECT_EQ(0u, Run(db2, "INSERT INTO Z.E (A, B) VALUES (3, 'toolong')").find("SQL0433N"));
  EXPECT_EQ(0u, Run(db2, "INSERT INTO Z.E (A, B) VALUES ('x', 'z')").find("SQL0408N"));
  // Lengths count characters, not bytes.
  EXPECT_EQ("", Run(db2, "INSERT INTO Z.E (A, B) VALUES (4, '\xc3\xa9t\xc3\xa9s')"));
  EXPECT_EQ((Strings{"1|x|7", "4|\xc3\xa9t\xc3\xa9s|7"}),
            Rows(db2, "SELECT A, B, C FROM Z.E ORDER BY A"));
  EXPECT_EQ("", Run(db2, "CREATE TABLE Z.F (A INTEGER)"));
  EXPECT_EQ("", Run(db2, "DELETE FROM Z.F WHERE A = 1"));
  EXPECT_EQ(0u, Run(db2, "UPDATE Z.F SET NOPE = 1").find("SQL0206N"));
  EXPECT_EQ("", Run(db2, "TRUNCATE TABLE Z.F IMMEDIATE"));
  EXPECT_EQ("", Run(db2, "DROP TABLE Z.F"));
  EXPECT_EQ(0u, Run(db2, "SELECT * FROM Z.F").find("SQL0204N"));
}

TEST_F(SandboxDbmsTest, CatalogueViewsStayRightAfterManyObjects) {
  constexpr int Tables = 120;
  auto db2 = Db2();
  for (int i = 0; i < Tables; ++i) {
    const std::string n = std::to_string(i);
    ASSERT_EQ("",
              Run(db2, "CREATE TABLE Z.T" + n + " (ID INTEGER NOT NULL PRIMARY KEY, P INTEGER)"));
    ASSERT_EQ("", Run(db2, "CREATE INDEX Z.IX" + n + " ON Z.T" + n + " (P)"));
    ASSERT_EQ("", Run(db2, "CREATE VIEW Z.V" + n + " AS SELECT ID FROM Z.T" + n));
    ASSERT_EQ("", Run(db2, "GRANT SELECT ON TABLE Z.T" + n + " TO USER PDMADM"));
    if (i > 0) {
      ASSERT_EQ("", Run(db2, "ALTER TABLE Z.T" + n + " ADD CONSTRAINT FK" + n +
                                 " FOREIGN KEY (P) REFERENCES Z.T" + std::to_string(i - 1)));
    }
    if (i % 3 == 0) {
      ASSERT_EQ("", Run(db2, "INSERT INTO Z.T" + n + " VALUES (1, NULL)"));
    }
    Commit(db2);
  }
  const auto count = [&](const std::string& query) { return Rows(db2, query).at(0); };
  EXPECT_EQ("120",
            count("SELECT COUNT(*) FROM SYSCAT.TABLES WHERE TABSCHEMA = 'Z' AND TYPE = 'T'"));
  EXPECT_EQ("120",
            count("SELECT COUNT(*) FROM SYSCAT.TABLES WHERE TABSCHEMA = 'Z' AND TYPE = 'V'"));
  EXPECT_EQ("120", count("SELECT COUNT(*) FROM SYSCAT.INDEXES WHERE TABSCHEMA = 'Z'"));
  EXPECT_EQ("120", count("SELECT COUNT(*) FROM SYSCAT.TABAUTH WHERE GRANTEE = 'PDMADM'"));
  EXPECT_TRUE(TableExists(db2, "Z", "T0"));
  EXPECT_TRUE(TableExists(db2, "Z", "T119"));

  // Dropping every other table takes its index and grant with it, and the
  // foreign keys that pointed at it: the tables after it take rows freely.
  for (int i = 0; i < Tables; i += 2) {
    ASSERT_EQ("", Run(db2, "DROP TABLE Z.T" + std::to_string(i)));
  }
  Commit(db2);
  EXPECT_EQ("60", count("SELECT COUNT(*) FROM SYSCAT.TABLES WHERE TABSCHEMA = 'Z' AND TYPE = 'T'"));
  EXPECT_EQ("60", count("SELECT COUNT(*) FROM SYSCAT.INDEXES WHERE TABSCHEMA = 'Z'"));
  EXPECT_EQ("60", count("SELECT COUNT(*) FROM SYSCAT.TABAUTH WHERE GRANTEE = 'PDMADM'"));
  EXPECT_FALSE(TableExists(db2, "Z", "T118"));
  EXPECT_TRUE(TableExists(db2, "Z", "T119"));
  EXPECT_EQ("", Run(db2, "INSERT INTO Z.T119 VALUES (1, 999)"));
  EXPECT_EQ(0u, Run(db2, "SELECT * FROM Z.V118").find("SQL0575N"));
  EXPECT_EQ(Strings{"1"}, Rows(db2, "SELECT ID FROM Z.V119"));

  auto oracle = Oracle();
  EXPECT_EQ("", Run(oracle, "CREATE USER APP IDENTIFIED BY a QUOTA UNLIMITED ON USERS"));
  for (int i = 0; i < 40; ++i) {
    const std::string n = std::to_string(i);
    ASSERT_EQ("", Run(oracle, "CREATE TABLE APP.T" + n + " (ID NUMBER PRIMARY KEY)"));
    ASSERT_EQ("", Run(oracle, "CREATE SEQUENCE APP.S" + n));
  }
  EXPECT_EQ(Strings{"40"}, Rows(oracle, "SELECT COUNT(*) FROM DBA_TABLES WHERE OWNER = 'APP'"));
  EXPECT_EQ((Strings{"SEQUENCE|40", "TABLE|40"}),
            Rows(oracle,
                 "SELECT OBJECT_TYPE, COUNT(*) FROM DBA_OBJECTS WHERE OWNER = 'APP' GROUP BY "
                 "OBJECT_TYPE ORDER BY OBJECT_TYPE"));
  EXPECT_EQ("", Run(oracle, "DROP USER APP CASCADE"));
  EXPECT_EQ(Strings{"0"}, Rows(oracle, "SELECT COUNT(*) FROM DBA_OBJECTS WHERE OWNER = 'APP'"));
}

}  // namespace
