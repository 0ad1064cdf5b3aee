// The rows of every table share one store and views are read through their
// kept queries: tables wider than one stored record, column types applied to
// values as a table of their own would, writes that read their own table,
// views of views, a unit of work that made objects and rows undone, and
// statements or a stored catalogue that name relations or keys wrongly.
#include <sqlite3.h>

#include "SandboxDbmsTestSite.h"

namespace {

using Strings = std::vector<std::string>;

// Changes the stored catalogue behind the DBMS's back, as a damaged file
// or an older sandbox could have it.
void Damage(const std::string& file, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(SQLITE_OK, sqlite3_open(file.c_str(), &db));
  char* error = nullptr;
  const int result = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
  const std::string message = error ? error : "";
  sqlite3_free(error);
  sqlite3_close(db);
  ASSERT_EQ(SQLITE_OK, result) << message;
}

std::string StoredValue(const std::string& file, const std::string& query) {
  sqlite3* db = nullptr;
  sqlite3_stmt* statement = nullptr;
  std::string value;
  if (sqlite3_open(file.c_str(), &db) == SQLITE_OK &&
      sqlite3_prepare_v2(db, query.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW) {
    value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return value;
}

TEST_F(SandboxDbmsTest, WideTablesKeepEveryColumnThroughWritesAndAlters) {
  constexpr int Width = 70;  // more than two stored records per row
  auto db2 = Db2();
  std::string columns;
  std::string values;
  for (int i = 1; i <= Width; ++i) {
    columns +=
        (i > 1 ? ", C" : "C") + std::to_string(i) + (i == 1 ? " INTEGER NOT NULL" : " INTEGER");
    values += (i > 1 ? ", " : "") + std::to_string(i * 10);
  }
  ASSERT_EQ("", Run(db2, "CREATE TABLE Z.W (" + columns + ", PRIMARY KEY (C1))"));
  ASSERT_EQ("", Run(db2, "INSERT INTO Z.W VALUES (" + values + ")"));
  ASSERT_EQ("", Run(db2, "INSERT INTO Z.W (C1, C33, C70) VALUES (2, 233, 270)"));
  Commit(db2);
  EXPECT_EQ((Strings{"10|320|330|700", "2||233|270"}),
            Rows(db2, "SELECT C1, C32, C33, C70 FROM Z.W ORDER BY C1 DESC"));
  EXPECT_EQ("", Run(db2, "UPDATE Z.W SET C70 = C70 + 1, C2 = 5 WHERE C1 = 2"));
  EXPECT_EQ(Strings{"5|271"}, Rows(db2, "SELECT C2, C70 FROM Z.W WHERE C1 = 2"));
  EXPECT_EQ("", Run(db2, "ALTER TABLE Z.W ADD COLUMN C71 VARCHAR(5) NOT NULL WITH DEFAULT 'new'"));
  EXPECT_EQ((Strings{"2|272|new", "10|701|new"}),
            Rows(db2, "SELECT C1, C70 + 1, C71 FROM Z.W ORDER BY C1"));
  EXPECT_EQ(0u, Run(db2, "INSERT INTO Z.W (C1, C71) VALUES (2, 'x')").find("SQL0803N"));
  EXPECT_EQ("", Run(db2, "DELETE FROM Z.W WHERE C33 = 330"));
  EXPECT_EQ(Strings{"1"}, Rows(db2, "SELECT COUNT(*) FROM Z.W"));
  EXPECT_EQ(Strings{"2|233|new"}, Rows(db2, "SELECT C1, C33, C71 FROM Z.W"));
}

TEST_F(SandboxDbmsTest, StoredValuesKeepTheirColumnsTypes) {
  auto oracle = Oracle();
  EXPECT_EQ("", Run(oracle, "CREATE USER APP IDENTIFIED BY a QUOTA UNLIMITED ON USERS"));
  EXPECT_EQ("", Run(oracle,
                    "CREATE TABLE APP.T (ID NUMBER(9) PRIMARY KEY, CODE VARCHAR2(9), "
                    "PRICE NUMBER(8,2))"));
  // Text that reads as a number is stored as one in a numeric column and
  // compared as one; a number in a character column is text.
  EXPECT_EQ("", Run(oracle, "INSERT INTO APP.T VALUES ('7', 42, '1.5')"));
  EXPECT_EQ("", Run(oracle, "INSERT INTO APP.T VALUES (10, '042', 2)"));
  Commit(oracle);
  EXPECT_EQ(Strings{"7|42|1.5"}, Rows(oracle, "SELECT ID, CODE, PRICE FROM APP.T WHERE ID = '7'"));
  EXPECT_EQ(Strings{"7"}, Rows(oracle, "SELECT ID FROM APP.T WHERE CODE = '42'"));
  EXPECT_EQ(Strings{"10"}, Rows(oracle, "SELECT ID FROM APP.T WHERE CODE = '042'"));
  EXPECT_EQ((Strings{"7", "10"}), Rows(oracle, "SELECT ID FROM APP.T ORDER BY ID"));
  EXPECT_EQ(Strings{"3.5"}, Rows(oracle, "SELECT SUM(PRICE) FROM APP.T"));
  EXPECT_EQ(0u, Run(oracle, "INSERT INTO APP.T VALUES ('7', 1, 1)").find("ORA-00001"));
  EXPECT_EQ(0u, Run(oracle, "INSERT INTO APP.T VALUES (8, 1, 'abc')").find("ORA-01722"));
}

TEST_F(SandboxDbmsTest, WritesThatReadTheirOwnTableSeeItAsBefore) {
  auto db2 = Db2();
  ASSERT_EQ("", Run(db2, "CREATE TABLE Z.N (ID INTEGER NOT NULL PRIMARY KEY, V INTEGER)"));
  ASSERT_EQ("", Run(db2, "INSERT INTO Z.N VALUES (1, 10), (2, 20)"));
  EXPECT_EQ("", Run(db2, "INSERT INTO Z.N SELECT ID + 2, V + 1 FROM Z.N"));
  EXPECT_EQ("", Run(db2, "UPDATE Z.N SET V = (SELECT MAX(V) FROM Z.N) WHERE ID = 1"));
  EXPECT_EQ("", Run(db2, "DELETE FROM Z.N WHERE V < (SELECT MAX(V) FROM Z.N)"));
  Commit(db2);
  EXPECT_EQ((Strings{"1|21", "4|21"}), Rows(db2, "SELECT ID, V FROM Z.N ORDER BY ID"));
  // A failed write leaves every row as it was.
  EXPECT_EQ(0u, Run(db2, "INSERT INTO Z.N VALUES (5, 1), (1, 1)").find("SQL0803N"));
  EXPECT_EQ(0u, Run(db2, "UPDATE Z.N SET ID = 4").find("SQL0803N"));
  EXPECT_EQ((Strings{"1|21", "4|21"}), Rows(db2, "SELECT ID, V FROM Z.N ORDER BY ID"));
}

TEST_F(SandboxDbmsTest, ViewsAreReadThroughTheirQueriesAndTheirTables) {
  auto db2 = Db2();
  ASSERT_EQ("", Run(db2, "CREATE TABLE Z.T (ID INTEGER NOT NULL, NAME VARCHAR(9))"));
  ASSERT_EQ("", Run(db2, "CREATE VIEW Z.V (KEY, LABEL) AS SELECT ID, NAME FROM Z.T WHERE ID > 1"));
  ASSERT_EQ("", Run(db2, "CREATE VIEW Z.VV AS SELECT KEY, LABEL || '!' AS SHOUT FROM Z.V"));
  ASSERT_EQ("", Run(db2, "CREATE VIEW Z.J AS SELECT A.ID, B.ID FROM Z.T A, Z.T B"));
  EXPECT_EQ(0u, Run(db2, "CREATE VIEW Z.BAD (ONE) AS SELECT ID, NAME FROM Z.T").find("SQL0902N"));
  EXPECT_EQ(Strings{}, Rows(db2, "SELECT * FROM Z.VV"));
  ASSERT_EQ("", Run(db2, "INSERT INTO Z.T VALUES (1, 'a'), (2, 'b'), (3, 'c')"));
  Commit(db2);
  EXPECT_EQ((Strings{"2|b!", "3|c!"}), Rows(db2, "SELECT KEY, SHOUT FROM Z.VV ORDER BY KEY"));
  EXPECT_EQ(Strings{"3|c"}, Rows(db2, "SELECT KEY, LABEL FROM Z.V WHERE KEY = '3'"));
  EXPECT_EQ((Strings{"ID", "ID:1"}),
            Rows(db2,
                 "SELECT COLNAME FROM SYSCAT.COLUMNS WHERE TABSCHEMA = 'Z' AND TABNAME = 'J' "
                 "ORDER BY COLNO"));
  EXPECT_EQ(0u, Run(db2, "INSERT INTO Z.V VALUES (4, 'd')").find("SQL0150N"));
  // A view whose view is gone cannot be read, as one whose table is gone.
  EXPECT_EQ("", Run(db2, "DROP VIEW Z.V"));
  EXPECT_EQ(0u, Run(db2, "SELECT * FROM Z.VV").find("SQL0575N"));
}

TEST_F(SandboxDbmsTest, RollbackUndoesObjectsAndRowsMadeInTheUnitOfWork) {
  auto db2 = Db2();
  ASSERT_EQ("", Run(db2, "CREATE TABLE Z.KEEP (ID INTEGER)"));
  ASSERT_EQ("", Run(db2, "INSERT INTO Z.KEEP VALUES (1)"));
  Commit(db2);
  ASSERT_EQ("", Run(db2, "CREATE TABLE Z.GONE (ID INTEGER)"));
  ASSERT_EQ("", Run(db2, "INSERT INTO Z.GONE VALUES (1), (2)"));
  ASSERT_EQ("", Run(db2, "CREATE VIEW Z.GV AS SELECT ID FROM Z.GONE"));
  ASSERT_EQ("", Run(db2, "INSERT INTO Z.KEEP VALUES (2)"));
  ASSERT_EQ("", Run(db2, "DELETE FROM Z.KEEP WHERE ID = 1"));
  EXPECT_EQ(Strings{"2"}, Rows(db2, "SELECT COUNT(*) FROM Z.GV"));
  int errorCode = 0;
  char message[QelDbMessageSize];
  ASSERT_EQ(0, ExeSQLStatement(db2.cursor.get(), QelDbDB2, 0, nullptr, 5, "ROLLBACK", 8, errorCode,
                               message))
      << message;
  EXPECT_FALSE(TableExists(db2, "Z", "GONE"));
  EXPECT_EQ(0u, Run(db2, "SELECT * FROM Z.GV").find("SQL0204N"));
  EXPECT_EQ(Strings{"1"}, Rows(db2, "SELECT ID FROM Z.KEEP"));
  // Another connection sees the committed rows only.
  ASSERT_EQ("", Run(db2, "INSERT INTO Z.KEEP VALUES (3)"));
  auto other = Db2();
  EXPECT_EQ(Strings{"1"}, Rows(other, "SELECT ID FROM Z.KEEP ORDER BY ID"));
  Commit(db2);
  EXPECT_EQ((Strings{"1", "3"}), Rows(other, "SELECT ID FROM Z.KEEP ORDER BY ID"));
}

TEST_F(SandboxDbmsTest, TheMarkerByteInAStatementIsAValueOrAnErrorNeverARelation) {
  auto db2 = Db2();
  ASSERT_EQ("", Run(db2, "CREATE TABLE Z.T (ID INTEGER NOT NULL, NAME VARCHAR(20))"));
  ASSERT_EQ("", Run(db2, "CREATE TABLE Z.OTHER (SECRET VARCHAR(9))"));
  ASSERT_EQ("", Run(db2, "INSERT INTO Z.OTHER VALUES ('hidden')"));
  // In a string it is a character like any other, even where it would
  // enclose an object's id or stand alone.
  Commit(db2);
  const std::string id = StoredValue(qelsandbox::Db2Location(Site(), "db2inst1", "SAMPLE").file,
                                     "SELECT id FROM sbx_objects WHERE name = 'OTHER'");
  ASSERT_FALSE(id.empty());
  const std::string enclosed = "\x01" + id + "\x01";
  ASSERT_EQ("",
            Run(db2, "INSERT INTO Z.T VALUES (1, '" + enclosed + "'), (2, 'a\x01'), (3, '\x01')"));
  EXPECT_EQ((Strings{"1|" + enclosed, "2|a\x01", "3|\x01"}),
            Rows(db2, "SELECT ID, NAME FROM Z.T ORDER BY ID"));
  EXPECT_EQ(Strings{"1"}, Rows(db2, "SELECT ID FROM Z.T WHERE NAME = '" + enclosed + "'"));
  ASSERT_EQ("", Run(db2, "CREATE VIEW Z.V AS SELECT ID FROM Z.T WHERE NAME = 'a\x01'"));
  EXPECT_EQ(Strings{"2"}, Rows(db2, "SELECT ID FROM Z.V"));
  // Outside a string it is an invalid character, unbalanced or not.
  for (const std::string& statement :
       {"SELECT * FROM Z.T WHERE ID = \x01" + id + "\x01", std::string("SELECT \x01"),
        std::string("SELECT * FROM Z.T \"\x01\"")}) {
    EXPECT_EQ("SQL0007N  The character X'01' is not valid in the statement.  SQLSTATE=42601",
              Run(db2, statement));
  }
  auto oracle = Oracle();
  EXPECT_EQ("ORA-00911: invalid character", Run(oracle, "SELECT \x01 FROM DUAL"));
}

TEST_F(SandboxDbmsTest, ADamagedViewQueryOrKeyIsAnErrorNotAHangOrAWrongRelation) {
  auto db2 = Db2();
  ASSERT_EQ("", Run(db2, "CREATE TABLE Z.T (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(9))"));
  ASSERT_EQ("", Run(db2, "CREATE UNIQUE INDEX Z.TN ON Z.T (NAME)"));
  ASSERT_EQ("", Run(db2, "INSERT INTO Z.T VALUES (1, 'a')"));
  ASSERT_EQ("", Run(db2, "CREATE VIEW Z.V AS SELECT ID FROM Z.T"));
  Commit(db2);
  const std::string file = qelsandbox::Db2Location(Site(), "db2inst1", "SAMPLE").file;
  const std::string damaged =
      "SQL0902N  A system error occurred: a relation reference of the statement is damaged: no "
      "object id between its markers.  SQLSTATE=58005";
  for (const std::string& query :
       {std::string("SELECT * FROM \x01"), std::string("SELECT * FROM \x01x\x01"),
        std::string("SELECT * FROM \x01\x01"), std::string("SELECT * FROM \x01-3\x01"),
        std::string("SELECT * FROM \x01"
                    "99999999999999999999\x01")}) {
    Damage(file, "UPDATE sbx_objects SET query = '" + query + "' WHERE name = 'V'");
    EXPECT_EQ(damaged, Run(db2, "SELECT * FROM Z.V"));
  }
  // A key naming a column the table lacks would check nothing: the index's
  // key columns, then the primary key's.
  Damage(file, "UPDATE sbx_objects SET columns = 'NAME' || char(31) || 'GONE' WHERE name = 'TN'");
  const std::string refused = Run(db2, "INSERT INTO Z.T VALUES (2, 'a')");
  EXPECT_EQ(0u, refused.find("SQL0902N")) << refused;
  EXPECT_NE(std::string::npos, refused.find("names the column \"GONE\" the table does not have"))
      << refused;
  Damage(file,
         "UPDATE sbx_constraints SET columns = 'GONE' WHERE object_id = (SELECT id FROM "
         "sbx_objects WHERE name = 'T')");
  EXPECT_EQ("SQL0206N  \"GONE\" is not valid in the context where it is used.  SQLSTATE=42703",
            Run(db2, "INSERT INTO Z.T VALUES (3, 'c')"));
  EXPECT_EQ(Strings{"1|a"}, Rows(db2, "SELECT ID, NAME FROM Z.T"));
}

}  // namespace
