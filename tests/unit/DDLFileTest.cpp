// The DDL file parser on both script dialects, the drops it derives, the
// position look-ups of the DDL player, the placeholder filter, and bad input.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "platform/db/QelDbStatements.h"
#include "platform/db/QelZepDDLFile.h"

namespace {

using Statement = std::tuple<int, std::string, int>;  // type, text, first line

const char* const kDb2Script =
    "-- PUBSUB modeler: topics of the publish/subscribe service.\n"
    "CONNECT TO PDMDB USER $(ACCOUNT);\n"
    "\n"
    "CREATE TABLE $(SCHEMA).\"T_TOPIC\" (\n"
    "  ID      INTEGER NOT NULL,      -- key\n"
    "  -- the name is unique, see the index below\n"
    "  NAME    VARCHAR(64) NOT NULL,\n"
    "  PRIMARY KEY (ID)\n"
    ") IN $(TABLESPACE) LONG IN $(BLOB_TABLESPACE);\n"
    "create unique index $(SCHEMA).IX_TOPIC_NAME on $(SCHEMA).\"T_TOPIC\" (NAME) ;\n"
    "CREATE VIEW $(SCHEMA).V_TOPIC AS\n"
    "  SELECT ID, NAME FROM $(SCHEMA).\"T_TOPIC\";\n"
    "INSERT INTO $(SCHEMA).\"T_TOPIC\" VALUES (1, 'a;b -- not a comment');\n"
    "INSERT INTO $(SCHEMA).\"T_TOPIC\" VALUES (2, 'ends with;\n"
    "next line; it''s one string');\n"
    "UPDATE $(SCHEMA).\"T_TOPIC\" SET NAME = 'x'; DELETE FROM $(SCHEMA).\"T_TOPIC\";\n"
    "COMMENT ON TABLE $(SCHEMA).\"T_TOPIC\" IS 'Topics';\n"
    "ALTER TABLE $(SCHEMA).\"T_TOPIC\" ADD COLUMN X INT;   -- added later\n"
    "GRANT SELECT ON $(SCHEMA).\"T_TOPIC\" TO USER $(ACCOUNT);\n"
    "SET SCHEMA $(SCHEMA);\n"
    "CONNECT RESET;\n"
    "TERMINATE;\n";

const char* const kOracleScript =
    "SET ECHO OFF\n"
    "WHENEVER SQLERROR EXIT FAILURE\n"
    "SPOOL zepadmin.log\n"
    "PROMPT Creating the ZEPADMIN schema, don't interrupt\n"
    "CREATE TABLE $(SCHEMA).T_USER (\n"
    "  ID   NUMBER(10) NOT NULL,\n"
    "  NAME VARCHAR2(64),\n"
    "  CONSTRAINT PK_USER PRIMARY KEY (ID)\n"
    ") TABLESPACE $(TABLESPACE);\n"
    "CREATE SEQUENCE $(SCHEMA).SEQ_USER START WITH 1;\n"
    "CREATE OR REPLACE TRIGGER $(SCHEMA).TRG_USER\n"
    "BEFORE INSERT ON $(SCHEMA).T_USER\n"
    "FOR EACH ROW\n"
    "BEGIN\n"
    "  SELECT $(SCHEMA).SEQ_USER.NEXTVAL INTO :NEW.ID FROM DUAL;  -- numbering\n"
    "END;\n"
    "/\n"
    "CREATE PUBLIC SYNONYM T_USER FOR $(SCHEMA).T_USER;\n"
    "GRANT SELECT, INSERT ON $(SCHEMA).T_USER TO $(ACCOUNT);\n"
    "/\n"
    "BEGIN\n"
    "  DBMS_STATS.GATHER_SCHEMA_STATS('$(SCHEMA)');\n"
    "END;\n"
    "  /  \n"
    "SPOOL OFF\n"
    "EXIT;\n";

std::unique_ptr<QelZepDDLFile> Parse(const std::string& content, const char* path) {
  return std::make_unique<QelZepDDLFile>(content.data(), content.size(), path);
}

std::vector<Statement> StatementsOf(const QelZepDDLFile& file) {
  std::vector<Statement> statements;
  const auto& orders = file.GetSQLOrderColl();
  for (int position = 1; position <= orders.Size(); ++position) {
    statements.emplace_back(orders(position)->GetType(), orders(position)->GetText().str(),
                            orders(position)->GetLine());
  }
  return statements;
}

// NUL is found too (the terminator): the parser counts it as a blank.
bool IsBlank(char c) {
  return std::strchr(" \t\r\n\v\f", c) != nullptr;
}

// What must hold for any input, however broken.
void ExpectWellFormed(const QelZepDDLFile& file, std::size_t inputSize) {
  std::size_t total = 0;
  const auto& orders = file.GetSQLOrderColl();
  for (int position = 1; position <= orders.Size(); ++position) {
    const std::string& text = orders(position)->GetText().str();
    ASSERT_FALSE(text.empty()) << "statement " << position;
    ASSERT_FALSE(IsBlank(text.front()) || IsBlank(text.back())) << "statement " << position;
    ASSERT_GE(orders(position)->GetLine(), 1);
    const bool derived = orders(position)->GetDropType() == QelSqlType::Drop;
    ASSERT_EQ(derived, !orders(position)->GetDropText().str().empty());
    total += text.size();
  }
  ASSERT_LE(total, inputSize);
}

TEST(DDLFile, Db2ScriptSplitsAtLineEndingSemicolonsOutsideStrings) {
  const auto file = Parse(kDb2Script, "/ddl/PUBSUB.clp");
  EXPECT_EQ(file->GetDialect(), QelDDLDialect::Db2CommandLine);
  const std::vector<Statement> expected = {
      {20, "CONNECT TO PDMDB USER $(ACCOUNT)", 2},
      {15,
       "CREATE TABLE $(SCHEMA).\"T_TOPIC\" (\n  ID      INTEGER NOT NULL,\n"
       "  NAME    VARCHAR(64) NOT NULL,\n  PRIMARY KEY (ID)\n"
       ") IN $(TABLESPACE) LONG IN $(BLOB_TABLESPACE)",
       4},
      {3, "create unique index $(SCHEMA).IX_TOPIC_NAME on $(SCHEMA).\"T_TOPIC\" (NAME)", 10},
      {2, "CREATE VIEW $(SCHEMA).V_TOPIC AS\n  SELECT ID, NAME FROM $(SCHEMA).\"T_TOPIC\"", 11},
      {6, "INSERT INTO $(SCHEMA).\"T_TOPIC\" VALUES (1, 'a;b -- not a comment')", 13},
      {6, "INSERT INTO $(SCHEMA).\"T_TOPIC\" VALUES (2, 'ends with;\nnext line; it''s one string')",
       14},
      {6, "UPDATE $(SCHEMA).\"T_TOPIC\" SET NAME = 'x'; DELETE FROM $(SCHEMA).\"T_TOPIC\"", 16},
      {10, "COMMENT ON TABLE $(SCHEMA).\"T_TOPIC\" IS 'Topics'", 17},
      {11, "ALTER TABLE $(SCHEMA).\"T_TOPIC\" ADD COLUMN X INT", 18},
      {8, "GRANT SELECT ON $(SCHEMA).\"T_TOPIC\" TO USER $(ACCOUNT)", 19},
      {0, "SET SCHEMA $(SCHEMA)", 20},
      {20, "CONNECT RESET", 21},
      {20, "TERMINATE", 22},
  };
  EXPECT_EQ(StatementsOf(*file), expected);

  // Windows line ends change nothing outside strings.
  std::string crlf;
  for (const char* c = kDb2Script; *c != '\0'; ++c)
    crlf += *c == '\n' ? "\r\n" : std::string(1, *c);
  std::vector<Statement> withoutCarriageReturns = StatementsOf(*Parse(crlf, "PUBSUB.CLP"));
  std::get<1>(withoutCarriageReturns[5])
      .erase(std::get<1>(withoutCarriageReturns[5]).find('\r'), 1);
  EXPECT_EQ(withoutCarriageReturns, expected);
}

TEST(DDLFile, OracleScriptKeepsBlocksWholeAndEndsSqlPlusCommandsWithTheirLine) {
  const auto file = Parse(kOracleScript, "/ddl/ZEPADMIN.sql");
  EXPECT_EQ(file->GetDialect(), QelDDLDialect::OracleScript);
  const std::vector<Statement> expected = {
      {20, "SET ECHO OFF", 1},
      {20, "WHENEVER SQLERROR EXIT FAILURE", 2},
      {20, "SPOOL zepadmin.log", 3},
      {20, "PROMPT Creating the ZEPADMIN schema, don't interrupt", 4},
      {15,
       "CREATE TABLE $(SCHEMA).T_USER (\n  ID   NUMBER(10) NOT NULL,\n  NAME VARCHAR2(64),\n"
       "  CONSTRAINT PK_USER PRIMARY KEY (ID)\n) TABLESPACE $(TABLESPACE)",
       5},
      {4, "CREATE SEQUENCE $(SCHEMA).SEQ_USER START WITH 1", 10},
      {12,
       "CREATE OR REPLACE TRIGGER $(SCHEMA).TRG_USER\nBEFORE INSERT ON $(SCHEMA).T_USER\n"
       "FOR EACH ROW\nBEGIN\n  SELECT $(SCHEMA).SEQ_USER.NEXTVAL INTO :NEW.ID FROM DUAL;\nEND;",
       11},
      {13, "CREATE PUBLIC SYNONYM T_USER FOR $(SCHEMA).T_USER", 18},
      {8, "GRANT SELECT, INSERT ON $(SCHEMA).T_USER TO $(ACCOUNT)", 19},
      {12, "BEGIN\n  DBMS_STATS.GATHER_SCHEMA_STATS('$(SCHEMA)');\nEND;", 21},
      {20, "SPOOL OFF", 25},
      {20, "EXIT", 26},
  };
  EXPECT_EQ(StatementsOf(*file), expected);

  // Under DB2 rules SET is real SQL, and no command ends with its line.
  const Statement db2First = StatementsOf(*Parse(kOracleScript, "ZEPADMIN.clp")).front();
  EXPECT_EQ(std::get<0>(db2First), QelSqlType::Other);
  EXPECT_EQ(std::get<1>(db2First).rfind("SET ECHO OFF\nWHENEVER SQLERROR EXIT FAILURE\n", 0), 0u);
  EXPECT_EQ(QelZepDDLFile::DialectOf("odd.ddl"), QelDDLDialect::OracleScript);
}

TEST(DDLFile, DropsAreDerivedForCreationsOnly) {
  struct Case {
    const char* path;
    const char* statement;
    int type;
    int dropType;
    const char* drop;
  };
  const Case cases[] = {
      {"a.clp", "CREATE TABLE $(SCHEMA).\"T A\"(ID INT);", 15, 9, "DROP TABLE $(SCHEMA).\"T A\""},
      {"a.sql", "CREATE TABLE $(SCHEMA).T (ID INT);", 15, 9,
       "DROP TABLE $(SCHEMA).T CASCADE CONSTRAINTS"},
      {"a.sql", "create or replace view $(SCHEMA).v_x as select 1 from dual;", 2, 9,
       "DROP VIEW $(SCHEMA).v_x"},
      {"a.clp", "CREATE UNIQUE INDEX IX1 ON T (A);", 3, 9, "DROP INDEX IX1"},
      {"a.clp", "CREATE INDEX $(SCHEMA).IX2\n  ON T (A);", 3, 9, "DROP INDEX $(SCHEMA).IX2"},
      {"a.sql", "CREATE SEQUENCE S1;", 4, 9, "DROP SEQUENCE S1"},
      {"a.sql", "CREATE TRIGGER TRG\nBEGIN\n  NULL;\nEND;\n/", 12, 9, "DROP TRIGGER TRG"},
      {"a.sql", "CREATE PUBLIC SYNONYM SYN FOR X.Y;", 13, 9, "DROP PUBLIC SYNONYM SYN"},
      {"a.sql", "CREATE SYNONYM $(ACCOUNT).SYN FOR X.Y;", 13, 9, "DROP SYNONYM $(ACCOUNT).SYN"},
      {"a.sql", "CREATE OR REPLACE PROCEDURE P IS\nBEGIN\n  NULL;\nEND;\n/", 12, 20, ""},
      {"a.clp", "INSERT INTO T VALUES (1);", 6, 20, ""},
      {"a.clp", "GRANT SELECT ON T TO U;", 8, 20, ""},
      {"a.clp", "CREATE TABLESPACE TBS;", 0, 20, ""},
      {"a.clp", "CREATE TABLE (X INT);", 15, 20, ""},
      {"a.clp", "CREATETABLE T (X INT);", 0, 20, ""},
  };
  for (const Case& c : cases) {
    const auto file = Parse(c.statement, c.path);
    ASSERT_EQ(file->GetSQLOrderColl().Size(), 1) << c.statement;
    const QelZepSQLOrder& order = *file->GetSQLOrderColl()(1);
    EXPECT_EQ(order.GetType(), c.type) << c.statement;
    EXPECT_EQ(order.GetDropType(), c.dropType) << c.statement;
    EXPECT_EQ(order.GetDropText().str(), c.drop) << c.statement;
  }
}

TEST(DDLFile, StatementsAndDropsByPosition) {
  const auto file = Parse("CREATE TABLE S.T (A INT);\nINSERT INTO S.T VALUES (1);\n", "x.clp");
  int type = -5;
  int length = -5;
  QelUnicodeString text = "stale";
  EXPECT_EQ(GetSQLStatement(type, length, text, 1, file.get()), 0);
  EXPECT_EQ(std::tie(type, length, text.str()),
            std::make_tuple(15, 24, "CREATE TABLE S.T (A INT)"));
  EXPECT_EQ(GetDROPSQLStatement(type, length, text, 1, file.get()), 0);
  EXPECT_EQ(std::tie(type, length, text.str()), std::make_tuple(9, 14, "DROP TABLE S.T"));
  EXPECT_EQ(GetSQLStatement(type, length, text, 2, file.get()), 0);
  EXPECT_EQ(type, 6);
  EXPECT_EQ(GetDROPSQLStatement(type, length, text, 2, file.get()), 0);
  EXPECT_EQ(std::tie(type, length, text.str()), std::make_tuple(20, 0, ""));

  // Position 0 is what a rollback asks for after stepping back past the
  // first statement: nothing to undo, and not an error.
  text = "stale";
  EXPECT_EQ(GetDROPSQLStatement(type, length, text, 0, file.get()), 0);
  EXPECT_EQ(std::tie(type, length, text.str()), std::make_tuple(20, 0, ""));

  const QelZepDDLFile* const parsed = file.get();
  const QelZepDDLFile* const none = nullptr;
  for (const auto& [position, source] :
       {std::pair{0, parsed}, std::pair{3, parsed}, std::pair{-1, parsed}, std::pair{1, none}}) {
    text = "stale";
    EXPECT_EQ(GetSQLStatement(type, length, text, position, source), -1) << position;
    EXPECT_EQ(std::tie(type, length, text.str()), std::make_tuple(20, 0, "")) << position;
    if (position == 0) continue;
    EXPECT_EQ(GetDROPSQLStatement(type, length, text, position, source), -1) << position;
  }
  EXPECT_EQ(GetDROPSQLStatement(type, length, text, 0, none), -1);
}

struct Filtered {
  int result;
  std::string text;
  int length;
  int decision;
  std::string buffer;
};

Filtered Filter(const std::string& text, int type = QelSqlType::CreateTable) {
  Filtered out{};
  QelUnicodeString filtered;
  char buffer[QelStatementBufferSize];
  std::memset(buffer, 'X', sizeof buffer);
  out.result = FilterSQLStatement(2, "pdmAdm", "zepDico", "zepDico", "TBS_data", "TBS_blob", type,
                                  text, out.length, filtered, out.decision, buffer);
  out.text = filtered.str();
  out.buffer = buffer;
  return out;
}

TEST(DDLFile, FilterReplacesPlaceholdersAndSkipsClientCommands) {
  const Filtered played = Filter(
      "CREATE TABLE $(SCHEMA).T (A INT) IN $(TABLESPACE) LONG IN $(BLOB_TABLESPACE) "
      "-- $(ACCOUNT) $(SCHEMA) $(OTHER) $(SCHEMA $( $(ACCOUNT)");
  const std::string expected =
      "CREATE TABLE ZEPDICO.T (A INT) IN TBS_data LONG IN TBS_blob -- PDMADM ZEPDICO $(OTHER) "
      "$(SCHEMA $( PDMADM";
  EXPECT_EQ(played.result, 0);
  EXPECT_EQ(played.decision, 1);
  EXPECT_EQ(played.text, expected);
  EXPECT_EQ(played.length, static_cast<int>(expected.size()));
  EXPECT_EQ(played.buffer, expected);

  const Filtered client = Filter("CONNECT TO $(SCHEMA)", QelSqlType::ClientCommand);
  EXPECT_EQ(std::tie(client.result, client.decision), std::make_tuple(5, -1));
  const Filtered empty = Filter("");
  EXPECT_EQ(std::tie(empty.result, empty.decision, empty.length), std::make_tuple(5, -1, 0));

  // The buffer keeps 1025 bytes at most and never half a character.
  const std::string ascii(1025, 'a');
  EXPECT_EQ(Filter(ascii).buffer, ascii);
  EXPECT_EQ(Filter(ascii + "b").buffer, ascii);
  const Filtered accented = Filter(std::string(1024, 'a') + "\xC3\xA9" + "z");
  EXPECT_EQ(accented.buffer, std::string(1024, 'a'));
  EXPECT_EQ(accented.length, 1027);
  EXPECT_EQ(Filter(std::string(1023, 'a') + "\xF0\x9F\x98\x80").buffer, std::string(1023, 'a'));
  EXPECT_EQ(Filter(std::string(1021, 'a') + "\xF0\x9F\x98\x80" + "b").buffer,
            std::string(1021, 'a') + "\xF0\x9F\x98\x80");
}

TEST(DDLFile, HostileInputLosesNothingAndNeverBreaks) {
  // A last statement without terminator, and an unbalanced quote that
  // swallows the rest of the file: both kept, nothing dropped silently.
  EXPECT_EQ(StatementsOf(*Parse("DROP X;\n  CREATE TABLE S.T (A INT)  \n-- end", "x.clp")),
            (std::vector<Statement>{{0, "DROP X", 1}, {15, "CREATE TABLE S.T (A INT)", 2}}));
  EXPECT_EQ(StatementsOf(*Parse("INSERT INTO T VALUES ('open;\nCREATE VIEW V AS X;\n", "x.clp")),
            (std::vector<Statement>{{6, "INSERT INTO T VALUES ('open;\nCREATE VIEW V AS X;", 1}}));
  EXPECT_EQ(StatementsOf(*Parse("BEGIN\n  NULL;\nEND;\n", "x.sql")),
            (std::vector<Statement>{{12, "BEGIN\n  NULL;\nEND;", 1}}));

  // NUL bytes read as blanks; other binary bytes pass through as text.
  const char binary[] = "CREATE\0TABLE S.T (A INT);\n\0\0;\n\x01\xFF\x80;\n";
  const std::string withNul(binary, sizeof binary - 1);
  EXPECT_EQ(StatementsOf(*Parse(withNul, "x.clp")),
            (std::vector<Statement>{{15, "CREATE TABLE S.T (A INT)", 1}, {0, "\x01\xFF\x80", 3}}));

  EXPECT_TRUE(StatementsOf(QelZepDDLFile(nullptr, 100, "x.clp")).empty());
  EXPECT_TRUE(StatementsOf(*Parse("", "x.sql")).empty());
  EXPECT_TRUE(StatementsOf(*Parse("-- only ';' comments\n;\n  ;  \n/\n", "x.sql")).empty());

  // 50 MB on one line without terminator: one statement, parsed in one pass.
  std::string huge;
  huge.reserve(50 * 1024 * 1024 + 64);
  huge = "INSERT INTO S.T VALUES ";
  while (huge.size() < 50 * 1024 * 1024) huge += "(1, 'a;b', \"c\"); -";
  const auto big = Parse(huge, "big.clp");
  ASSERT_EQ(big->GetSQLOrderColl().Size(), 1);
  EXPECT_EQ(big->GetSQLOrderColl()(1)->GetType(), QelSqlType::DataChange);
  EXPECT_EQ(big->GetSQLOrderColl()(1)->GetText().Length(), huge.size());
}

TEST(DDLFile, QuotesAndCommentsCountWhereverTheyStandInALine) {
  // Plain code is skipped in words of several bytes: a quote or a comment
  // at any offset, however it falls within those words, must still count.
  for (std::size_t offset = 0; offset < 40; ++offset) {
    SCOPED_TRACE(offset);
    const std::string code = "INSERT INTO T VALUES " + std::string(offset, 'x');
    EXPECT_EQ(StatementsOf(*Parse(code + "'a;\nb' -- c;\n;\n", "x.clp")),
              (std::vector<Statement>{{6, code + "'a;\nb'", 1}}));
    EXPECT_EQ(StatementsOf(*Parse(code + "\"a;\nb\";\n", "x.clp")),
              (std::vector<Statement>{{6, code + "\"a;\nb\"", 1}}));
    EXPECT_EQ(StatementsOf(*Parse(code + "- 1 -- ;\n;\n", "x.clp")),
              (std::vector<Statement>{{6, code + "- 1", 1}}));
  }
}

TEST(DDLFile, MutatedFilesKeepTheInvariants) {
  std::mt19937 random(20240611);
  const std::string sources[] = {kDb2Script, kOracleScript};
  const char* const paths[] = {"m.clp", "m.sql"};
  const char interesting[] = {'\'', '"', ';', '-', '/', '\n', '\0', '(', '$', ' '};
  for (int round = 0; round < 2000; ++round) {
    std::string content = sources[round % 2];
    const int mutations = 1 + static_cast<int>(random() % 8);
    for (int m = 0; m < mutations && !content.empty(); ++m) {
      const std::size_t at = random() % content.size();
      const char byte = random() % 2 ? interesting[random() % sizeof interesting]
                                     : static_cast<char>(random() % 256);
      switch (random() % 3) {
        case 0:
          content[at] = static_cast<char>(content[at] ^ (1 << (random() % 8)));
          break;
        case 1:
          content.erase(at, 1 + random() % 4);
          break;
        default:
          content.insert(at, 1 + random() % 3, byte);
          break;
      }
    }
    SCOPED_TRACE(round);
    ExpectWellFormed(*Parse(content, paths[round % 2]), content.size());
    if (HasFatalFailure()) return;
  }
}

}  // namespace
