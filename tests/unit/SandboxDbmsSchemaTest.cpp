// The sandbox DBMS's schema objects beyond plain tables: constraints and
// their checks, ALTER TABLE on tables with rows, comments, views, sequences,
// synonyms and aliases, drops and their refusals, and the catalogue views
// and query forms of both dialects.
#include <filesystem>

#include "SandboxDbmsTestSite.h"

namespace {

using Strings = std::vector<std::string>;

TEST_F(SandboxDbmsTest, ConstraintsAreCheckedWhenDeclared) {
  auto db2 = Db2();
  auto oracle = Oracle();
  EXPECT_EQ(
      "SQL0542N  \"ID\" cannot be a column of a primary key or unique key because it can "
      "contain null values.  SQLSTATE=42831",
      Run(db2, "CREATE TABLE Z.P (ID INTEGER PRIMARY KEY)"));
  EXPECT_EQ(Strings{}, Rows(db2, "SELECT TABNAME FROM SYSCAT.TABLES"));
  EXPECT_EQ("", Run(db2,
                    "CREATE TABLE Z.P (ID INTEGER NOT NULL PRIMARY KEY, CODE CHAR(2) NOT "
                    "NULL, CONSTRAINT UQ_CODE UNIQUE (CODE))"));
  EXPECT_EQ("", Run(db2, "CREATE TABLE Z.C (PID INTEGER REFERENCES Z.P, N INTEGER)"));
  EXPECT_EQ(
      "SQL0573N  A column list specified in the references clause of constraint \"FK_N\" "
      "does not identify a unique constraint of the parent table \"Z.P\".  "
      "SQLSTATE=42890",
      Run(db2, "ALTER TABLE Z.C ADD CONSTRAINT FK_N FOREIGN KEY (N) REFERENCES Z.P (N)"));
  EXPECT_EQ("SQL0624N  Table \"Z.P\" already has a \"PRIMARY\" key.  SQLSTATE=42889",
            Run(db2, "ALTER TABLE Z.P ADD PRIMARY KEY (CODE)"));
  // DB2 drops the child's foreign key with the parent.
  EXPECT_EQ("", Run(db2, "DROP TABLE Z.P"));
  EXPECT_EQ("", Run(db2, "CREATE TABLE Z.P (ID INTEGER NOT NULL PRIMARY KEY)"));

  EXPECT_EQ("", Run(oracle, "CREATE TABLE SYSTEM.P (ID NUMBER PRIMARY KEY, NAME VARCHAR2(9))"));
  EXPECT_EQ(Strings{"N"}, Rows(oracle,
                               "SELECT NULLABLE FROM ALL_TAB_COLUMNS WHERE TABLE_NAME = "
                               "'P' AND COLUMN_NAME = 'ID'"));
  EXPECT_EQ("ORA-02270: no matching unique or primary key for this column-list",
            Run(oracle, "CREATE TABLE SYSTEM.C (PNAME VARCHAR2(9) REFERENCES P (NAME))"));
  EXPECT_EQ("ORA-00942: table or view does not exist",
            Run(oracle, "CREATE TABLE SYSTEM.C (PID NUMBER REFERENCES SYSTEM.NONE)"));
  EXPECT_EQ("", Run(oracle, "CREATE TABLE SYSTEM.C (PID NUMBER CONSTRAINT FK_C REFERENCES P)"));
  EXPECT_EQ("ORA-02264: name already used by an existing constraint",
            Run(oracle, "CREATE TABLE SYSTEM.D (X NUMBER CONSTRAINT FK_C PRIMARY KEY)"));
  EXPECT_EQ("ORA-02449: unique/primary keys in table referenced by foreign keys",
            Run(oracle, "DROP TABLE SYSTEM.P"));
  EXPECT_EQ("", Run(oracle, "DROP TABLE SYSTEM.P CASCADE CONSTRAINTS"));
  EXPECT_EQ("", Run(oracle, "CREATE TABLE SYSTEM.K (A NUMBER CHECK (A > 0))"));
  EXPECT_EQ("", Run(oracle, "INSERT INTO SYSTEM.K VALUES (1)"));
  const std::string violated = Run(oracle, "INSERT INTO SYSTEM.K VALUES (-1)");
  EXPECT_EQ(0u, violated.find("ORA-02290: check constraint (SYSTEM.SYS_C")) << violated;
}

TEST_F(SandboxDbmsTest, AlterTableKeepsTheRowsAndChecksThem) {
  auto oracle = Oracle();
  auto db2 = Db2();
  EXPECT_EQ("", Run(oracle, "CREATE TABLE SYSTEM.T (A NUMBER)"));
  EXPECT_EQ("", Run(oracle, "INSERT INTO SYSTEM.T VALUES (1)"));
  EXPECT_EQ("", Run(oracle, "INSERT INTO SYSTEM.T VALUES (1)"));
  EXPECT_EQ("", Run(oracle, "ALTER TABLE SYSTEM.T ADD (B VARCHAR2(5) DEFAULT 'x', C DATE)"));
  EXPECT_EQ((Strings{"1|x|", "1|x|"}), Rows(oracle, "SELECT A, B, C FROM SYSTEM.T"));
  EXPECT_EQ("ORA-01758: table must be empty to add mandatory (NOT NULL) column",
            Run(oracle, "ALTER TABLE SYSTEM.T ADD D NUMBER NOT NULL"));
  EXPECT_EQ("ORA-02437: cannot validate constraint - the existing rows violate it",
            Run(oracle, "ALTER TABLE SYSTEM.T ADD CONSTRAINT PK_T PRIMARY KEY (A)"));
  EXPECT_EQ((Strings{"A", "B", "C"}),
            Rows(oracle,
                 "SELECT COLUMN_NAME FROM USER_TAB_COLUMNS WHERE TABLE_NAME = 'T' "
                 "ORDER BY COLUMN_ID"));
  EXPECT_EQ("ORA-01430: column being added already exists in table",
            Run(oracle, "ALTER TABLE SYSTEM.T ADD A NUMBER"));

  EXPECT_EQ("", Run(db2, "CREATE TABLE Z.T (A INTEGER NOT NULL)"));
  EXPECT_EQ("", Run(db2, "CREATE UNIQUE INDEX Z.IX_T ON Z.T (A)"));
  EXPECT_EQ("", Run(db2, "INSERT INTO Z.T VALUES (1), (2)"));
  EXPECT_EQ("", Run(db2,
                    "ALTER TABLE Z.T ADD COLUMN B INTEGER NOT NULL WITH DEFAULT 5 "
                    "ADD CONSTRAINT PK_T PRIMARY KEY (A)"));
  EXPECT_EQ((Strings{"1|5", "2|5"}), Rows(db2, "SELECT A, B FROM Z.T ORDER BY A"));
  // The unique index survives the rebuild of its table.
  EXPECT_EQ(0u, Run(db2, "INSERT INTO Z.T (A) VALUES (2)").find("SQL0803N"));
  EXPECT_EQ(
      "SQL0193N  In an ALTER TABLE statement, the column \"C\" has been specified as NOT "
      "NULL and the DEFAULT clause was not specified.  SQLSTATE=42601",
      Run(db2, "ALTER TABLE Z.T ADD C INTEGER NOT NULL"));
  EXPECT_EQ("", Run(db2, "COMMENT ON TABLE Z.T IS 'Things'"));
  EXPECT_EQ("", Run(db2, "COMMENT ON COLUMN Z.T.A IS 'Key'"));
  EXPECT_EQ(0u, Run(db2, "COMMENT ON COLUMN Z.T.NONE IS 'x'").find("SQL0205N"));
  EXPECT_EQ(Strings{"Things"}, Rows(db2, "SELECT REMARKS FROM SYSCAT.TABLES WHERE TABNAME = 'T'"));
  EXPECT_EQ((Strings{"A|Key", "B|"}),
            Rows(db2,
                 "SELECT COLNAME, REMARKS FROM SYSCAT.COLUMNS WHERE TABNAME = 'T' ORDER BY "
                 "COLNO"));
  EXPECT_EQ(Strings{"IX_T|U|+A"},
            Rows(db2, "SELECT INDNAME, UNIQUERULE, COLNAMES FROM SYSCAT.INDEXES"));
}

TEST_F(SandboxDbmsTest, ViewsSequencesAndSynonymsResolveTheirObjects) {
  auto oracle = Oracle();
  EXPECT_EQ("", Run(oracle, "CREATE USER APP IDENTIFIED BY a QUOTA UNLIMITED ON USERS"));
  EXPECT_EQ("", Run(oracle, "CREATE TABLE APP.ITEM (ID NUMBER, NAME VARCHAR2(20))"));
  EXPECT_EQ("", Run(oracle, "CREATE SEQUENCE APP.SEQ_ITEM START WITH 100 INCREMENT BY 10"));
  EXPECT_EQ("", Run(oracle, "INSERT INTO APP.ITEM VALUES (APP.SEQ_ITEM.NEXTVAL, 'one')"));
  EXPECT_EQ("", Run(oracle, "INSERT INTO APP.ITEM VALUES (APP.SEQ_ITEM.NEXTVAL, NULL)"));
  EXPECT_EQ((Strings{"100|one", "110|none"}),
            Rows(oracle, "SELECT ID, NVL(NAME, 'none') FROM APP.ITEM ORDER BY ID"));
  EXPECT_EQ(Strings{"110"}, Rows(oracle, "SELECT APP.SEQ_ITEM.CURRVAL FROM DUAL"));
  EXPECT_EQ("", Run(oracle, "CREATE PUBLIC SYNONYM ITEM FOR APP.ITEM"));
  EXPECT_EQ("", Run(oracle,
                    "CREATE OR REPLACE VIEW APP.NAMES (LABEL) AS SELECT NAME FROM ITEM "
                    "WHERE NAME IS NOT NULL WITH READ ONLY"));
  EXPECT_EQ(Strings{"one"}, Rows(oracle, "SELECT LABEL FROM APP.NAMES"));
  EXPECT_EQ("", Run(oracle, "CREATE OR REPLACE VIEW APP.NAMES AS SELECT ID FROM APP.ITEM"));
  EXPECT_EQ(Strings{"NAMES|SELECT ID FROM APP.ITEM"},
            Rows(oracle, "SELECT VIEW_NAME, TEXT FROM ALL_VIEWS WHERE OWNER = 'APP'"));
  EXPECT_EQ("ORA-00955: name is already used by an existing object",
            Run(oracle, "CREATE OR REPLACE VIEW APP.ITEM AS SELECT 1 AS X FROM DUAL"));
  EXPECT_EQ("ORA-00904: \"PRICE\": invalid identifier",
            Run(oracle, "CREATE VIEW APP.BAD AS SELECT PRICE FROM APP.ITEM"));
  EXPECT_EQ("ORA-01418: specified index does not exist", Run(oracle, "DROP INDEX APP.NONE"));
  EXPECT_EQ("ORA-02289: sequence does not exist", Run(oracle, "DROP SEQUENCE APP.NONE"));
  EXPECT_EQ("ORA-01432: public synonym to be dropped does not exist",
            Run(oracle, "DROP PUBLIC SYNONYM NONE"));
  EXPECT_EQ("", Run(oracle, "DROP PUBLIC SYNONYM ITEM"));
  EXPECT_EQ("ORA-00942: table or view does not exist", Run(oracle, "SELECT * FROM ITEM"));

  auto db2 = Db2();
  EXPECT_EQ("", Run(db2, "CREATE TABLE Z.ITEM (ID INTEGER NOT NULL, NAME VARCHAR(20))"));
  EXPECT_EQ("", Run(db2, "CREATE SEQUENCE Z.SEQ AS INTEGER START WITH 1 INCREMENT BY 1 NO CYCLE"));
  EXPECT_EQ("", Run(db2,
                    "INSERT INTO Z.ITEM VALUES (NEXT VALUE FOR Z.SEQ, 'a'), (NEXT VALUE "
                    "FOR Z.SEQ, 'b'), (NEXTVAL FOR Z.SEQ, 'c')"));
  EXPECT_EQ("", Run(db2, "CREATE ALIAS Z.GOODS FOR Z.ITEM"));
  EXPECT_EQ("", Run(db2, "UPDATE Z.GOODS SET NAME = UCASE(NAME) WHERE ID >= 2"));
  EXPECT_EQ((Strings{"1|a", "2|B"}),
            Rows(db2,
                 "SELECT G.ID, G.NAME FROM Z.GOODS G ORDER BY G.ID FETCH FIRST 2 ROWS ONLY "
                 "WITH UR"));
  EXPECT_EQ((Strings{"ITEM|T", "GOODS|A"}),
            Rows(db2,
                 "SELECT TABNAME, TYPE FROM SYSCAT.TABLES WHERE TABSCHEMA = 'Z' ORDER BY "
                 "CREATE_TIME, TYPE DESC"));
  EXPECT_EQ(Strings{"3"}, Rows(db2,
                               "SELECT count(*) FROM Z.ITEM I JOIN SYSIBM.SYSDUMMY1 D ON "
                               "D.IBMREQD = 'Y'"));
  EXPECT_EQ("SQL0204N  \"Z.NONE\" is an undefined name.  SQLSTATE=42704",
            Run(db2, "DROP SEQUENCE Z.NONE"));
  EXPECT_EQ("", Run(db2, "DROP ALIAS Z.GOODS"));
  EXPECT_EQ("SQL0204N  \"Z.GOODS\" is an undefined name.  SQLSTATE=42704",
            Run(db2, "SELECT * FROM Z.GOODS"));
}

TEST_F(SandboxDbmsTest, TablespacesGuardWhatTheyHold) {
  auto oracle = Oracle();
  const std::string file = Site() + "/APPDATA.dbf";
  EXPECT_EQ("", Run(oracle, "CREATE TABLESPACE APPDATA DATAFILE '" + file + "' SIZE 1M"));
  EXPECT_EQ("", Run(oracle, "CREATE TABLE SYSTEM.T (A NUMBER) TABLESPACE APPDATA"));
  EXPECT_EQ("ORA-01549: tablespace not empty, use INCLUDING CONTENTS option",
            Run(oracle, "DROP TABLESPACE APPDATA"));
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ("ORA-01550: cannot drop system tablespace", Run(oracle, "DROP TABLESPACE SYSTEM"));
  EXPECT_EQ("ORA-12919: Can not drop the default permanent tablespace",
            Run(oracle, "DROP TABLESPACE USERS"));
  EXPECT_EQ("ORA-00959: tablespace 'NONE' does not exist",
            Run(oracle, "CREATE TABLE SYSTEM.U (A NUMBER) TABLESPACE NONE"));
  EXPECT_EQ("ORA-02195: Attempt to create PERMANENT object in a TEMPORARY tablespace",
            Run(oracle, "CREATE TABLE SYSTEM.U (A NUMBER) TABLESPACE TEMP"));
  EXPECT_EQ("", Run(oracle, "CREATE USER NOQUOTA IDENTIFIED BY q"));
  EXPECT_EQ("ORA-01950: no privileges on tablespace 'APPDATA'",
            Run(oracle, "CREATE TABLE NOQUOTA.T (A NUMBER) TABLESPACE APPDATA"));
  EXPECT_EQ("", Run(oracle, "DROP TABLESPACE APPDATA INCLUDING CONTENTS AND DATAFILES"));
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_FALSE(TableExists(oracle, "SYSTEM", "T"));

  auto db2 = Db2();
  const std::string busy = Site() + "/busy";
  std::filesystem::create_directories(busy);
  std::ofstream(busy + "/somebody.else") << "data";
  EXPECT_EQ("SQL0294N  The container is already in use.  SQLSTATE=42730",
            Run(db2, "CREATE TABLESPACE BUSY MANAGED BY SYSTEM USING ('" + busy + "')"));
  EXPECT_TRUE(std::filesystem::exists(busy + "/somebody.else"));
  EXPECT_EQ("", Run(db2, "CREATE LARGE TABLESPACE AUTO1"));
  EXPECT_EQ("", Run(db2,
                    "CREATE TABLESPACE DMS1 PAGESIZE 8K MANAGED BY DATABASE USING (FILE "
                    "'dms1.dat' 100) EXTENTSIZE 16 AUTORESIZE YES"));
  Commit(db2);
  EXPECT_TRUE(std::filesystem::is_directory(Site() + "/dbms/db2/db2inst1/SAMPLE/AUTO1"));
  EXPECT_EQ(819200, std::filesystem::file_size(Site() + "/dbms/db2/db2inst1/SAMPLE/dms1.dat"));
  EXPECT_EQ((Strings{"AUTO1|L|S", "DMS1|A|D", "TEMPSPACE1|T|S"}),
            Rows(db2,
                 "SELECT TBSPACE, DATATYPE, TBSPACETYPE FROM SYSCAT.TABLESPACES WHERE "
                 "TBSPACE NOT IN ('SYSCATSPACE', 'USERSPACE1') ORDER BY TBSPACE"));
  EXPECT_EQ(
      "SQL0284N  The table was not created because the table space \"TEMPSPACE1\" is a "
      "temporary table space.  SQLSTATE=42838",
      Run(db2, "CREATE TABLE Z.T (A INTEGER) IN TEMPSPACE1"));
  EXPECT_EQ(0u, Run(db2, "DROP TABLESPACE SYSCATSPACE").find("SQL0282N"));
}

TEST_F(SandboxDbmsTest, RevokesTakeBackWhatGrantsGave) {
  auto oracle = Oracle();
  EXPECT_EQ("", Run(oracle, "CREATE USER READER IDENTIFIED BY r"));
  EXPECT_EQ("", Run(oracle, "CREATE ROLE APP_READ"));
  EXPECT_EQ("", Run(oracle, "GRANT CREATE SESSION, APP_READ TO READER"));
  EXPECT_EQ("", Run(oracle, "CREATE TABLE SYSTEM.T (A NUMBER)"));
  EXPECT_EQ("", Run(oracle, "GRANT SELECT ON SYSTEM.T TO APP_READ"));
  auto reader = Oracle("reader", "r");
  ASSERT_EQ(0, reader.result) << reader.message;
  EXPECT_EQ("", Run(reader, "SELECT * FROM SYSTEM.T"));
  EXPECT_EQ((Strings{"T"}), Rows(reader,
                                 "SELECT TABLE_NAME FROM ALL_TABLES WHERE OWNER = "
                                 "'SYSTEM'"));
  EXPECT_EQ("", Run(oracle, "REVOKE APP_READ FROM READER"));
  EXPECT_EQ("ORA-00942: table or view does not exist", Run(reader, "SELECT * FROM SYSTEM.T"));
  EXPECT_EQ("ORA-01951: ROLE 'APP_READ' not granted to 'READER'",
            Run(oracle, "REVOKE APP_READ FROM READER"));
  EXPECT_EQ("ORA-01917: user or role 'NOBODY' does not exist",
            Run(oracle, "GRANT CONNECT TO NOBODY"));
  EXPECT_EQ("ORA-01919: role 'WIZARDRY' does not exist", Run(oracle, "GRANT WIZARDRY TO READER"));
  EXPECT_EQ("ORA-00990: missing or invalid privilege",
            Run(oracle, "GRANT CREATE WIZARDRY TO READER"));
  EXPECT_EQ("", Run(oracle, "REVOKE CREATE SESSION FROM READER"));
  EXPECT_EQ(-1045, Oracle("reader", "r").result);
  EXPECT_EQ("", Run(oracle, "ALTER USER READER ACCOUNT LOCK"));
  EXPECT_EQ("", Run(oracle, "GRANT CONNECT TO READER"));
  EXPECT_EQ("ORA-28000: the account is locked", Oracle("reader", "r").message);

  auto db2 = Db2();
  EXPECT_EQ("", Run(db2, "GRANT CONNECT ON DATABASE TO USER ZEPDICO, PUBLIC"));
  EXPECT_EQ("", Run(db2, "CREATE TABLE Z.T (A INTEGER)"));
  EXPECT_EQ("", Run(db2, "GRANT SELECT, INSERT ON TABLE Z.T TO USER ZEPDICO"));
  Commit(db2);
  auto owner = Db2("zepdico", "dicopass");
  ASSERT_EQ(0, owner.result) << owner.message;
  EXPECT_EQ("", Run(owner, "INSERT INTO Z.T VALUES (1)"));
  EXPECT_EQ(
      "SQL0551N  \"ZEPDICO\" does not have the required authorization or privilege to "
      "perform operation \"DELETE\" on object \"Z.T\".  SQLSTATE=42501",
      Run(owner, "DELETE FROM Z.T"));
  Commit(owner);
  EXPECT_EQ((Strings{"ZEPDICO|Y|Y|N"}),
            Rows(db2, "SELECT GRANTEE, SELECTAUTH, INSERTAUTH, DELETEAUTH FROM SYSCAT.TABAUTH"));
  EXPECT_EQ("", Run(db2, "REVOKE INSERT ON Z.T FROM USER ZEPDICO"));
  EXPECT_EQ(0u, Run(db2, "REVOKE INSERT ON Z.T FROM USER ZEPDICO").find("SQL0556N"));
  EXPECT_EQ(
      "SQL0554N  An authorization ID cannot grant a privilege or authority to itself.  "
      "SQLSTATE=42502",
      Run(db2, "GRANT DBADM ON DATABASE TO USER DB2INST1"));
  Commit(db2);
  EXPECT_EQ(0u, Run(owner, "INSERT INTO Z.T VALUES (2)").find("SQL0551N"));
}

}  // namespace
