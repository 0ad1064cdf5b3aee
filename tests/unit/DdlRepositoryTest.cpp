// The sandbox DDL repository: the files of every modeler in both dialects,
// what the installer's parser makes of them, scaled repositories, the model
// file's error reports, and a full play of the files on the sandbox DBMS.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "SandboxDbmsTestSite.h"
#include "TempDirectory.h"
#include "platform/db/QelDbStatements.h"
#include "platform/db/QelZepDDLFile.h"
#include "sandbox/tool/ddl/DdlModelTexts.h"
#include "sandbox/tool/ddl/DdlRepository.h"

namespace {

constexpr DdlFileRole kRoles[] = {DdlFileRole::Base, DdlFileRole::Custo, DdlFileRole::Insert,
                                  DdlFileRole::Grant};
constexpr DdlDialect kDialects[] = {DdlDialect::Db2, DdlDialect::Oracle};

struct Statement {
  int type = 0;
  std::string text;
  int dropType = 0;
  std::string dropText;
};

std::vector<Statement> ParseFile(const std::string& path) {
  const std::string content = ReadWholeFile(path);
  const QelZepDDLFile file(content.data(), content.size(), path);
  std::vector<Statement> statements;
  const auto& orders = file.GetSQLOrderColl();
  for (int i = 1; i <= orders.Size(); ++i) {
    statements.push_back({orders(i)->GetType(), orders(i)->GetText().str(),
                          orders(i)->GetDropType(), orders(i)->GetDropText().str()});
  }
  return statements;
}

std::string Filtered(int dbms, const std::string& text, int type) {
  int length = 0;
  int decision = 0;
  QelUnicodeString filtered;
  char buffer[QelStatementBufferSize];
  const std::string tablespace = dbms == 1 ? "USERSPACE1" : "USERS";
  FilterSQLStatement(dbms, "pdmadm", "zepdico", "zepdico", tablespace, tablespace, type, text,
                     length, filtered, decision, buffer);
  return decision == 1 ? filtered.str() : "";
}

// The name a creation or its drop is about: the last word of the drop.
std::string DroppedName(const Statement& statement) {
  std::string name = statement.dropText;
  if (name.ends_with(" CASCADE CONSTRAINTS")) name.resize(name.size() - 20);
  return name.substr(name.rfind(' ') + 1);
}

// One repository at scale 1 for the whole suite: writing it is the costly part.
class DdlRepository : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    directory_ = std::make_unique<TempDirectory>();
    std::string error;
    ASSERT_EQ(0, WriteDdlRepository(directory_->File("ddl"), 1, error)) << error;
    ASSERT_TRUE(LoadDdlModels(models_, error)) << error;
  }
  static void TearDownTestSuite() { directory_.reset(); }

  static std::string Path(const DdlModeler& modeler, DdlFileRole role, DdlDialect dialect) {
    return directory_->File("ddl/" + DdlFileName(modeler.name, role, dialect));
  }

  static std::unique_ptr<TempDirectory> directory_;
  static DdlModelSet models_;
};

std::unique_ptr<TempDirectory> DdlRepository::directory_;
DdlModelSet DdlRepository::models_;

TEST_F(DdlRepository, EveryModelerHasItsFilesInBothDialects) {
  const std::vector<std::string>& names = DdlModelerNames();
  ASSERT_EQ(21u, names.size());
  EXPECT_EQ("CDMSTEP", names.front());
  EXPECT_EQ("CableNetwork", names[18]);
  EXPECT_EQ("VAULTFILE", names.back());
  EXPECT_EQ("grant_ZEP_VAULTFILE.sql",
            DdlFileName("VAULTFILE", DdlFileRole::Grant, DdlDialect::Oracle));
  EXPECT_EQ("custo_PUBSUB.clp", DdlFileName("PUBSUB", DdlFileRole::Custo, DdlDialect::Db2));

  std::set<std::string> expected;
  std::set<std::string> optionalRolesMissing;
  for (const DdlModeler& modeler : models_.Modelers()) {
    for (const DdlFileRole role : kRoles) {
      if (!HasDdlFile(modeler, role)) {
        optionalRolesMissing.insert(DdlFileName(modeler.name, role, DdlDialect::Db2));
      }
      for (const DdlDialect dialect : kDialects) {
        if (HasDdlFile(modeler, role)) expected.insert(DdlFileName(modeler.name, role, dialect));
      }
    }
  }
  std::set<std::string> written;
  for (const auto& entry : std::filesystem::directory_iterator(directory_->File("ddl"))) {
    written.insert(entry.path().filename().string());
  }
  EXPECT_EQ(expected, written);
  EXPECT_TRUE(written.count("ZEP_VAULTFILE.clp"));
  EXPECT_FALSE(written.count("VAULTFILE.clp"));
  EXPECT_TRUE(written.count("custo_CDMSTEP.sql"));
  // Not every modeler customises or inserts, and the installer copes with that.
  EXPECT_TRUE(optionalRolesMissing.count("custo_TAVOFILEINTROSPECTIONQUEUE.clp"));
  EXPECT_TRUE(optionalRolesMissing.count("insert_GRAPH.clp"));
}

// What each dialect plays: the statements apart from the client-only lines.
std::vector<Statement> Played(const std::vector<Statement>& statements) {
  std::vector<Statement> played;
  std::copy_if(
      statements.begin(), statements.end(), std::back_inserter(played),
      [](const Statement& statement) { return statement.type != QelSqlType::ClientCommand; });
  return played;
}

TEST_F(DdlRepository, BothDialectsPlayTheSameStatements) {
  int clientCommands = 0;
  for (const DdlModeler& modeler : models_.Modelers()) {
    for (const DdlFileRole role : kRoles) {
      if (!HasDdlFile(modeler, role)) continue;
      const auto db2 = ParseFile(Path(modeler, role, DdlDialect::Db2));
      const auto oracle = ParseFile(Path(modeler, role, DdlDialect::Oracle));
      const std::string file = DdlFileName(modeler.name, role, DdlDialect::Db2);
      EXPECT_EQ(db2.size(), oracle.size()) << file;
      const auto db2Played = Played(db2);
      const auto oraclePlayed = Played(oracle);
      ASSERT_EQ(db2Played.size(), oraclePlayed.size()) << file;
      EXPECT_FALSE(db2Played.empty()) << file;
      for (std::size_t i = 0; i < db2Played.size(); ++i) {
        EXPECT_EQ(db2Played[i].type, oraclePlayed[i].type) << file << " statement " << i + 1;
        EXPECT_EQ(DroppedName(db2Played[i]), DroppedName(oraclePlayed[i])) << file;
      }
      clientCommands += static_cast<int>(db2.size() - db2Played.size());
    }
  }
  // The customisation of CDMSTEP shows the client-only lines are passed over.
  EXPECT_EQ(3, clientCommands);
  const auto custo =
      ParseFile(Path(models_.Modelers().front(), DdlFileRole::Custo, DdlDialect::Db2));
  EXPECT_EQ("CONNECT TO SAMPLE", custo.front().text);
  EXPECT_EQ("TERMINATE", custo.back().text);
  const auto oracle =
      ParseFile(Path(models_.Modelers().front(), DdlFileRole::Custo, DdlDialect::Oracle));
  EXPECT_EQ("PROMPT Customising the CDMSTEP schema for this site", oracle[1].text);
}

TEST_F(DdlRepository, BaseFilesStartWithTheModelersQualifiedFirstTable) {
  for (const DdlModeler& modeler : models_.Modelers()) {
    const std::string firstTable = std::get<DdlTable>(modeler.base.front().statement).name;
    for (const DdlDialect dialect : kDialects) {
      const auto statements = ParseFile(Path(modeler, DdlFileRole::Base, dialect));
      ASSERT_FALSE(statements.empty());
      ASSERT_EQ(QelSqlType::CreateTable, statements.front().type) << modeler.name;
      // The installer's own reading: the text between the first dot and the
      // first parenthesis after it.
      const std::string text = Filtered(dialect == DdlDialect::Db2 ? 1 : 2, statements.front().text,
                                        statements.front().type);
      const std::size_t dot = text.find('.');
      const std::size_t parenthesis = text.find('(', dot);
      ASSERT_NE(std::string::npos, parenthesis) << text;
      EXPECT_EQ("CREATE TABLE ZEPDICO", text.substr(0, dot));
      EXPECT_EQ(firstTable + " ", text.substr(dot + 1, parenthesis - dot - 1));
    }
  }
}

TEST_F(DdlRepository, TablesHaveKeysAndNamesAreUniqueAcrossModelers) {
  std::map<std::string, std::string> owners;  // object name -> file creating it
  int tables = 0;
  for (const DdlModeler& modeler : models_.Modelers()) {
    for (const DdlFileRole role : {DdlFileRole::Base, DdlFileRole::Custo}) {
      if (!HasDdlFile(modeler, role)) continue;
      for (const DdlDialect dialect : kDialects) {
        const std::string path = Path(modeler, role, dialect);
        for (const Statement& statement : ParseFile(path)) {
          if (statement.type == QelSqlType::CreateTable) {
            ++tables;
            EXPECT_NE(std::string::npos, statement.text.find(" PRIMARY KEY (")) << statement.text;
            EXPECT_EQ(dialect == DdlDialect::Db2,
                      statement.text.find(") IN $(TABLESPACE)") != std::string::npos);
          }
          if (statement.dropType != QelSqlType::Drop || dialect == DdlDialect::Oracle) continue;
          const auto [found, added] = owners.emplace(DroppedName(statement), path);
          EXPECT_TRUE(added) << DroppedName(statement) << " in " << path << " and "
                             << found->second;
        }
      }
    }
  }
  EXPECT_LT(90, tables / 2);
}

TEST_F(DdlRepository, EveryCreationHasItsDrop) {
  const std::map<int, std::string> kinds = {{QelSqlType::CreateTable, "TABLE"},
                                            {QelSqlType::CreateView, "VIEW"},
                                            {QelSqlType::CreateIndex, "INDEX"},
                                            {QelSqlType::CreateSequence, "SEQUENCE"}};
  for (const DdlModeler& modeler : models_.Modelers()) {
    for (const DdlFileRole role : kRoles) {
      for (const DdlDialect dialect : kDialects) {
        if (!HasDdlFile(modeler, role)) continue;
        for (const Statement& statement : ParseFile(Path(modeler, role, dialect))) {
          const auto kind = kinds.find(statement.type);
          if (kind == kinds.end()) {
            EXPECT_NE(QelSqlType::Other, statement.type) << statement.text;
            continue;
          }
          EXPECT_EQ(QelSqlType::Drop, statement.dropType);
          const std::string name = DroppedName(statement);
          EXPECT_EQ("DROP " + kind->second + " " + name +
                        (statement.type == QelSqlType::CreateTable && dialect == DdlDialect::Oracle
                             ? " CASCADE CONSTRAINTS"
                             : ""),
                    statement.dropText);
          EXPECT_EQ(0u, name.find("$(SCHEMA).")) << name;
        }
      }
    }
  }
}

TEST_F(DdlRepository, GrantFilesCoverEveryTableViewAndSequence) {
  for (const DdlModeler& modeler : models_.Modelers()) {
    for (const DdlDialect dialect : kDialects) {
      const bool db2 = dialect == DdlDialect::Db2;
      std::set<std::string> grants;
      for (const Statement& statement : ParseFile(Path(modeler, DdlFileRole::Grant, dialect))) {
        EXPECT_EQ(QelSqlType::GrantOrRevoke, statement.type);
        grants.insert(statement.text);
      }
      std::set<std::string> expected;
      for (const DdlFileRole role : {DdlFileRole::Base, DdlFileRole::Custo}) {
        if (!HasDdlFile(modeler, role)) continue;
        for (const Statement& statement : ParseFile(Path(modeler, role, dialect))) {
          const std::string name = DroppedName(statement);
          const std::string grantee = db2 ? " TO USER $(ACCOUNT)" : " TO $(ACCOUNT)";
          if (statement.type == QelSqlType::CreateTable ||
              statement.type == QelSqlType::CreateView) {
            expected.insert(std::string("GRANT SELECT, INSERT, UPDATE, DELETE ON ") +
                            (db2 ? "TABLE " : "") + name + grantee);
          } else if (statement.type == QelSqlType::CreateSequence) {
            expected.insert((db2 ? "GRANT USAGE ON SEQUENCE " : "GRANT SELECT ON ") + name +
                            grantee);
          }
        }
      }
      EXPECT_EQ(expected, grants) << modeler.name;
    }
  }
}

// The tables and columns the PDM service stand-ins work on.
TEST_F(DdlRepository, ServicesFindTheirTables) {
  const std::map<std::string, std::vector<std::string>> contract = {
      {"ZEPADMIN_PROJECT", {"PROJECT_ID", "NAME", "SITE_UUID", "CREATED"}},
      {"ZEPADMIN_SITE", {"SITE_ID", "SITE_UUID", "NAME", "IS_LOCAL"}},
      {"GRAPH_STATUS_GRAPH", {"GRAPH_ID", "NAME", "SOURCE_FILE", "IMPORTED"}},
      {"GRAPH_STATUS_NODE", {"GRAPH_ID", "NODE_NAME", "NODE_POSITION"}},
      {"GRAPH_STATUS_EDGE", {"GRAPH_ID", "FROM_NODE", "TO_NODE"}},
      {"CONFIG_DATA_MANAGER", {"PARAMETER_NAME", "PARAMETER_VALUE", "UPDATED"}},
      {"PEOPLE_PERSON", {"PERSON_ID", "LOGIN"}},
      {"PEOPLE_ORGANISATION", {"ORG_ID", "NAME"}},
      {"PEOPLE_ROLE", {"ROLE_ID", "NAME", "IS_ADMIN"}}};
  std::map<std::string, std::set<std::string>> columns;
  for (const DdlModeler& modeler : models_.Modelers()) {
    for (const DdlItem& item : modeler.base) {
      if (const auto* table = std::get_if<DdlTable>(&item.statement)) {
        for (const DdlColumn& column : table->columns) columns[table->name].insert(column.name);
      }
    }
  }
  for (const auto& [table, needed] : contract) {
    for (const std::string& column : needed)
      EXPECT_TRUE(columns[table].count(column)) << table << "." << column;
  }
  const auto rows = ParseFile(directory_->File("ddl/insert_PEOPLE.clp"));
  EXPECT_EQ(1, std::count_if(rows.begin(), rows.end(), [](const Statement& row) {
              return row.text.find("'ZEPADMIN'") != std::string::npos &&
                     row.text.find("PEOPLE_ROLE") != std::string::npos;
            }));
}

TEST_F(DdlRepository, ScaleRepeatsEveryObjectUnderItsOwnName) {
  const TempDirectory scaled;
  std::string error;
  ASSERT_EQ(0, WriteDdlRepository(scaled.Path(), 100, error)) << error;
  std::size_t statements[2] = {0, 0};
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(scaled.Path())) {
    const std::string path = entry.path().string();
    const bool db2 = path.ends_with(".clp");
    for (const Statement& statement : ParseFile(path)) {
      ++statements[db2 ? 0 : 1];
      if (db2 && statement.dropType == QelSqlType::Drop) {
        EXPECT_TRUE(names.insert(DroppedName(statement)).second) << DroppedName(statement);
      }
    }
  }
  EXPECT_LT(20000u, statements[0]);
  EXPECT_EQ(statements[0], statements[1]);
  EXPECT_TRUE(names.count("$(SCHEMA).PEOPLE_PERSON"));
  EXPECT_TRUE(names.count("$(SCHEMA).PEOPLE_PERSON_100"));
  EXPECT_FALSE(names.count("$(SCHEMA).PEOPLE_PERSON_101"));
  const auto base = ParseFile(scaled.File("PEOPLE.sql"));
  EXPECT_EQ("DROP TABLE $(SCHEMA).PEOPLE_ORGANISATION CASCADE CONSTRAINTS", base.front().dropText);
  // A copy's keys point into the same copy of the parent table.
  const auto person = std::find_if(base.begin(), base.end(), [](const Statement& statement) {
    return statement.dropText == "DROP TABLE $(SCHEMA).PEOPLE_PERSON_7 CASCADE CONSTRAINTS";
  });
  ASSERT_NE(base.end(), person);
  EXPECT_NE(std::string::npos, person->text.find("REFERENCES $(SCHEMA).PEOPLE_ORGANISATION_7\n"));

  EXPECT_EQ(-1, WriteDdlRepository(scaled.Path(), 0, error));
  EXPECT_EQ("the scale is 1 to 999, not 0", error);
  const std::string blocker = scaled.File("PEOPLE.sql") + "/ddl";
  EXPECT_EQ(-1, WriteDdlRepository(blocker, 1, error));
  EXPECT_EQ(0u, error.find("cannot create " + blocker + ": ")) << error;
}

// Model files are written by hand: every fault is told with its file and
// line, whatever the input.
TEST(DdlModel, MalformedLinesAreReportedWithFileAndLine) {
  const std::string table = "modeler DEMO\ntable DEMO_ITEM\ncolumn ITEM_ID id\n";
  const std::string keyed = table + "column LABEL name(8)\nprimary key ITEM_ID\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "1: empty model: it starts with 'modeler NAME'"},
      {"table DEMO_ITEM\n", "1: a model starts with 'modeler NAME'"},
      {"# DEMO\n\nmodeler OTHER\n", "3: the modeler OTHER belongs in OTHER.model, not DEMO.model"},
      {"modeler DEMO\ncolumn A id\n",
       "2: 'column' outside a table: open one with 'table NAME' first"},
      {table + "column B varchr(10)\n",
       "4: unknown column type 'varchr': use id, name(n), text(n), integer, decimal(p,s), "
       "timestamp, flag, blob or clob"},
      {table + "column B name(10) not nul\n", "4: expected 'null', found 'nul'"},
      {table, "2: the table DEMO_ITEM has no primary key"},
      {keyed + "foreign key LABEL references DEMO_NONE\n",
       "2: no table DEMO_NONE is defined before"},
      {keyed + "unique LABEL\n", "2: the unique key column LABEL must be not null"},
      {keyed + "column SIZE integer\n", "2: SIZE is a reserved word of DB2 or Oracle"},
      {keyed + "column ACTIVE flag default 'yes'\n",
       "2: the value of ACTIVE (flag) cannot be a string"},
      {"modeler DEMO\ntable OTHER_ITEM\ncolumn ITEM_ID id\nprimary key ITEM_ID\n",
       "2: the table name OTHER_ITEM must start with the modeler's prefix DEMO_"},
      {"modeler DEMO\nsequence DEMO_SEQ\n" + keyed.substr(13),
       "2: the base file must start with a table: the installer tells an installed modeler by its "
       "first table"},
      {keyed + "index DEMO_IX_A_VERY_LONG_INDEX_NAME on DEMO_ITEM (LABEL)\n",
       "6: the index name DEMO_IX_A_VERY_LONG_INDEX_NAME is longer than 26 characters"},
      {keyed + "view DEMO_V on DEMO_ITEM (LABEL) where GONE = 1\n",
       "6: DEMO_ITEM has no column GONE"},
      {keyed + "view DEMO_V on DEMO_ITEM (LABEL) where LABEL <> null\n",
       "6: nothing equals null: write 'where LABEL is null'"},
      {keyed + "client base begin db2 CONNECT TO SAMPLE\n",
       "6: client commands belong to custo, insert or grant files, not 'base': a base file starts "
       "with its first table"},
      {keyed + "client custo begin db2 DROP TABLE X\n",
       "6: 'DROP' is not a client-only command of db2 scripts: the installer would play it"},
      {keyed + "custo column DEMO_ITEM STATE name(8) not null\n",
       "6: an added column that is not null needs a default (DB2 refuses it otherwise)"},
      {keyed + "row DEMO_ITEM ITEM_ID=1 LABEL='open\n",
       "6: unterminated string: close it with ' (write '' for a quote inside)"},
      {keyed + "row DEMO_ITEM ITEM_ID=1 COLOUR='red'\n", "6: DEMO_ITEM has no column COLOUR"},
      {keyed + "row DEMO_ITEM LABEL='x'\n",
       "6: the row gives no value to ITEM_ID, which is not null"},
      {keyed + "row DEMO_ITEM ITEM_ID=1 LABEL='too long a label'\n",
       "6: the value of LABEL (name(8)) is longer than 8 characters"},
      {keyed + "row DEMO_ITEM ITEM_ID=1\nrow DEMO_ITEM ITEM_ID=1\n",
       "7: a row of DEMO_ITEM already has the key (1)"},
  };
  for (const auto& [text, expected] : cases) {
    DdlModelSet models;
    std::string error;
    EXPECT_FALSE(models.Add(text, "sandbox/model/DEMO.model", error)) << text;
    EXPECT_EQ("sandbox/model/DEMO.model:" + expected, error) << text;
    EXPECT_TRUE(models.Modelers().empty());
  }
}

TEST(DdlModel, LaterModelersBuildOnEarlierOnesOnly) {
  const std::string people =
      "modeler PEOPLE\ntable PEOPLE_PERSON\ncolumn PERSON_ID id\nprimary key PERSON_ID\n"
      "row PEOPLE_PERSON PERSON_ID=1\n";
  const std::string wf =
      "modeler WF\ntable WF_TASK\ncolumn TASK_ID id\ncolumn OWNER_ID integer\n"
      "primary key TASK_ID\nforeign key OWNER_ID references PEOPLE_PERSON\n";
  DdlModelSet models;
  std::string error;
  ASSERT_TRUE(models.Add(people, "PEOPLE.model", error)) << error;
  EXPECT_FALSE(models.Add(wf + "row WF_TASK TASK_ID=1 OWNER_ID=2\n", "WF.model", error));
  EXPECT_EQ("WF.model:7: no row of PEOPLE_PERSON has the key (2)", error);
  EXPECT_FALSE(models.Add("modeler WF\ntable PEOPLE_PERSON\n", "WF.model", error));
  EXPECT_EQ("WF.model:2: the table name PEOPLE_PERSON must start with the modeler's prefix WF_",
            error);
  EXPECT_FALSE(models.Add("modeler WF\nprefix PEOPLE\n", "WF.model", error));
  EXPECT_EQ("WF.model:2: the prefix PEOPLE is already used by another modeler", error);
  // A failed model leaves nothing behind: the same names are free again.
  ASSERT_TRUE(models.Add(wf + "row WF_TASK TASK_ID=1 OWNER_ID=1\n", "WF.model", error)) << error;
  EXPECT_EQ(2u, models.Modelers().size());
  EXPECT_FALSE(models.Add("modeler VAULT\nowner vault\n" + wf.substr(11), "VAULT.model", error));
  EXPECT_EQ("VAULT.model:3: the table name WF_TASK must start with the modeler's prefix VAULT_",
            error);
  EXPECT_FALSE(
      models.Add("modeler VAULT\nowner vault\ntable VAULT_FILE\ncolumn FILE_ID id\n"
                 "column OWNER_ID integer\nprimary key FILE_ID\n"
                 "foreign key OWNER_ID references PEOPLE_PERSON\n",
                 "VAULT.model", error));
  EXPECT_EQ(
      "VAULT.model:3: PEOPLE_PERSON lives in another owner's schema (the vault modeler has "
      "its own)",
      error);
}

TEST(DdlModel, DamagedModelsNeverCrashTheReader) {
  // The PEOPLE model refers to no earlier modeler: it stands alone.
  const auto* people = std::find_if(
      DdlBuiltInModels, DdlBuiltInModels + DdlBuiltInModelCount,
      [](const DdlModelText& model) { return std::string(model.file) == "PEOPLE.model"; });
  ASSERT_NE(DdlBuiltInModels + DdlBuiltInModelCount, people);
  const std::string text = people->text;
  std::string error;
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    start = end == std::string::npos ? text.size() : end + 1;
  }
  // Each line in turn is dropped, cut in half, doubled or led by stray bytes.
  int refused = 0;
  for (std::size_t damaged = 0; damaged < lines.size(); ++damaged) {
    for (int kind = 0; kind < 4; ++kind) {
      std::string mutated;
      for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i != damaged) {
          mutated += lines[i] + "\n";
        } else if (kind == 1) {
          mutated += lines[i].substr(0, lines[i].size() / 2) + "\n";
        } else if (kind == 2) {
          mutated += lines[i] + "\n" + lines[i] + "\n";
        } else if (kind == 3) {
          mutated += std::string("\x7f\xfe'(\0", 5) + lines[i] + "\n";
        }
      }
      DdlModelSet fresh;
      if (fresh.Add(mutated, "PEOPLE.model", error)) continue;
      ++refused;
      const std::size_t colon = error.find(':', 13);
      ASSERT_EQ(0u, error.find("PEOPLE.model:")) << error;
      const int line = std::stoi(error.substr(13, colon - 13));
      EXPECT_GE(line, 1) << error;
      EXPECT_LE(line, static_cast<int>(lines.size()) + 1) << error;
    }
  }
  EXPECT_LT(lines.size(), static_cast<std::size_t>(refused));
}

// The repository installs: every file of every modeler, in the installer's
// order and through its filter, runs on the sandbox DBMS, and the drops
// played backwards leave the schema empty again. Scale 2 has the copies'
// constraints and references checked by the DBMS too.
class DdlRepositoryPlay : public SandboxDbmsTest {
 protected:
  void Play(Connection& on, int dbms, const std::string& ddl) {
    std::vector<Statement> played;
    DdlModelSet models;
    std::string error;
    ASSERT_TRUE(LoadDdlModels(models, error)) << error;
    for (const DdlModeler& modeler : models.Modelers()) {
      for (const DdlFileRole role : kRoles) {
        if (!HasDdlFile(modeler, role)) continue;
        const DdlDialect dialect = dbms == 1 ? DdlDialect::Db2 : DdlDialect::Oracle;
        const std::string path = ddl + "/" + DdlFileName(modeler.name, role, dialect);
        for (const Statement& statement : ParseFile(path)) {
          const std::string text = Filtered(dbms, statement.text, statement.type);
          if (text.empty()) continue;
          ASSERT_EQ("", Run(on, text)) << path << ":\n" << text;
          played.push_back(statement);
        }
      }
    }
    EXPECT_TRUE(TableExists(on, "ZEPDICO", "VAULT_TRANSFER_2"));
    EXPECT_EQ(std::vector<std::string>{"PDMADM"},
              Rows(on, "SELECT LOGIN FROM ZEPDICO.PEOPLE_PERSON"));
    EXPECT_EQ(std::vector<std::string>{"PDMADM"},
              Rows(on, "SELECT LOGIN FROM ZEPDICO.PEOPLE_PERSON_2"));
    EXPECT_EQ(std::vector<std::string>{"ZEPADMIN"},
              Rows(on, "SELECT NAME FROM ZEPDICO.PEOPLE_V_ADMIN_ROLE"));
    for (auto statement = played.rbegin(); statement != played.rend(); ++statement) {
      const std::string drop = Filtered(dbms, statement->dropText, statement->dropType);
      if (!drop.empty()) {
        ASSERT_EQ("", Run(on, drop)) << drop;
      }
    }
    EXPECT_FALSE(TableExists(on, "ZEPDICO", "PEOPLE_PERSON"));
    EXPECT_FALSE(TableExists(on, "ZEPDICO", "CDM_PROTOCOL"));
  }
};

TEST_F(DdlRepositoryPlay, BothDialectsInstallAndRollBack) {
  std::string error;
  ASSERT_EQ(0, WriteDdlRepository(Site() + "/ddl", 2, error)) << error;
  auto db2 = Db2();
  ASSERT_EQ(0, db2.result) << db2.message;
  Play(db2, 1, Site() + "/ddl");

  auto oracle = Oracle();
  ASSERT_EQ(0, oracle.result) << oracle.message;
  ASSERT_EQ("", Run(oracle,
                    "CREATE USER ZEPDICO IDENTIFIED BY dicopass DEFAULT TABLESPACE USERS "
                    "QUOTA UNLIMITED ON USERS"));
  ASSERT_EQ("", Run(oracle, "CREATE USER PDMADM IDENTIFIED BY admpass"));
  Play(oracle, 2, Site() + "/ddl");
}

}  // namespace
