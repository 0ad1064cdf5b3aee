// The PDM services against a sandbox DB2 database and Oracle service holding
// the ZEPADMIN, GRAPH, CONFIG and PEOPLE tables: file look-up, UUIDs, the
// project file import, sessions, the data manager and status-graph imports.
#include <algorithm>
#include <cstring>

#include "SandboxDbmsTestSite.h"
#include "platform/QelLog.h"
#include "platform/db/QelDbStatements.h"
#include "platform/pdm/ZEPServices.h"
#include "sandbox/tool/ddl/DdlRepository.h"

namespace {

using Strings = std::vector<std::string>;

void WriteFile(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

TEST(PdmFileLookup, FirstDirectoryHoldingARegularFileWins) {
  TempDirectory directory;
  const std::string a = directory.File("a");
  const std::string b = directory.File("b/");
  const std::string c = directory.File("c");
  std::filesystem::create_directories(a + "/ZEPAdmin.adm");  // a directory is no file
  WriteFile(b + "ZEPAdmin.adm", "b");
  WriteFile(c + "/ZEPAdmin.adm", "c");
  ScopedEnvironment environment;
  environment.Set("PDM_TEST_PATH", "::" + a + ":" + b + ":" + c);
  char buffer[1024];
  ASSERT_EQ(0, QelGetFilePathFromOfficialVariable("ZEPAdmin.adm", "PDM_TEST_PATH", buffer));
  EXPECT_EQ(b + "ZEPAdmin.adm", std::string(buffer));

  EXPECT_EQ(-1, QelGetFilePathFromOfficialVariable("Missing.adm", "PDM_TEST_PATH", buffer));
  EXPECT_STREQ("", buffer);
  EXPECT_EQ(-1, QelGetFilePathFromOfficialVariable("ZEPAdmin.adm", "PDM_TEST_UNSET", buffer));

  // A path that does not fit the caller's buffer is not cut short.
  std::string deep = directory.Path();
  while (deep.size() < 1030) deep += "/" + std::string(100, 'd');
  WriteFile(deep + "/ZEPAdmin.adm", "deep");
  environment.Set("PDM_TEST_PATH", deep + ":" + c);
  EXPECT_EQ(-1, QelGetFilePathFromOfficialVariable("ZEPAdmin.adm", "PDM_TEST_PATH", buffer));
}

TEST(PdmUuid, RandomWithTheVersionFourBits) {
  unsigned char first[16];
  unsigned char second[16];
  getuuid(first);
  getuuid(second);
  EXPECT_NE(0, std::memcmp(first, second, sizeof first));
  for (const unsigned char* uuid : {first, second}) {
    EXPECT_EQ(0x40, uuid[6] & 0xF0);
    EXPECT_EQ(0x80, uuid[8] & 0xC0);
  }
}

// The modelers whose tables the services use, played from the sandbox DDL
// repository as the installer plays them, so the tests follow the models.
const char* const Modelers[] = {"PEOPLE", "ZEPADMIN", "GRAPH", "CONFIG"};

class PdmServicesTest : public SandboxDbmsTest, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    SandboxDbmsTest::SetUp();
    dba_ = Dba();
    ASSERT_EQ(0, dba_.result) << dba_.message;
    if (Db2()) {
      Prepare("GRANT CONNECT ON DATABASE TO USER PDMADM");
    } else {
      Prepare("CREATE USER ZEPDICO IDENTIFIED BY dicopass QUOTA UNLIMITED ON USERS");
      Prepare("CREATE USER PDMADM IDENTIFIED BY admpass");
      Prepare("GRANT CONNECT TO PDMADM");
    }
    PlayRepository();
    Commit(dba_);
    ZEPServicesConfigure(GetParam(), Db2() ? "SAMPLE" : "ORCL", "ZEPDICO");
  }

  void TearDown() override {
    ZEPSession::CloseSession();
    QelCloseLogFiles();
    QelSetErrLogFile(nullptr);
  }

  void PlayRepository() {
    std::string error;
    ASSERT_EQ(0, WriteDdlRepository(directory_.File("ddl"), 1, error)) << error;
    DdlModelSet models;
    ASSERT_TRUE(LoadDdlModels(models, error)) << error;
    const char* tablespace = Db2() ? "USERSPACE1" : "USERS";
    for (const char* name : Modelers) {
      const auto modeler = std::find_if(models.Modelers().begin(), models.Modelers().end(),
                                        [&](const DdlModeler& m) { return m.name == name; });
      ASSERT_NE(models.Modelers().end(), modeler) << name;
      for (const DdlFileRole role :
           {DdlFileRole::Base, DdlFileRole::Custo, DdlFileRole::Insert, DdlFileRole::Grant}) {
        if (!HasDdlFile(*modeler, role)) continue;
        const std::string path = directory_.File(
            "ddl/" + DdlFileName(name, role, Db2() ? DdlDialect::Db2 : DdlDialect::Oracle));
        const std::string content = ReadWholeFile(path);
        const QelZepDDLFile file(content.data(), content.size(), path);
        for (int i = 1; i <= file.GetSQLOrderColl().Size(); ++i) {
          const QelZepSQLOrder& order = *file.GetSQLOrderColl()(i);
          int length = 0;
          int decision = 0;
          QelUnicodeString filtered;
          char buffer[QelStatementBufferSize];
          FilterSQLStatement(GetParam(), "PDMADM", "ZEPDICO", "ZEPDICO", tablespace, tablespace,
                             order.GetType(), order.GetText(), length, filtered, decision, buffer);
          if (decision == 1) Prepare(filtered.str());
        }
      }
    }
  }

  bool Db2() const { return GetParam() == QelDbDB2; }
  Connection Dba() const { return Db2() ? SandboxDbmsTest::Db2() : Oracle(); }
  void Prepare(const std::string& statement) { ASSERT_EQ("", Run(dba_, statement)) << statement; }

  Strings Select(const std::string& query) { return Rows(dba_, query); }
  std::string Count(const std::string& table) {
    return Select("SELECT COUNT(*) FROM ZEPDICO." + table).at(0);
  }

  // The DBMS's codes for a refused password and a duplicate key.
  int LoginRefused() const { return Db2() ? -30082 : -1017; }
  int Duplicate() const { return Db2() ? -803 : -1; }

  std::string File(const std::string& name, const std::string& text) {
    const std::string path = directory_.File(name);
    WriteFile(path, text);
    return path;
  }

  std::string Graph(int& errorCode, std::string& message, const std::string& path,
                    const char* action = "Import") {
    char buffer[QelDbMessageSize];
    ZEPRDBEIAPI("PDMADM", "admpass", action, path.c_str(), errorCode, buffer);
    message = buffer;
    return message;
  }

  Connection dba_;
};

const std::string AdminFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!-- shipped with the PDM software -->\n"
    "<zepadmin>\n"
    "  <site id=\"x0123456789ABCDEF0123456789ABCDEF\" name=\"Local &amp; main site\" "
    "local=\"1\"/>\n"
    "  <site id='REMOTE_PLANT' name='Plant' host='plant.example' />\n"
    "  <project name=\"DEFAULT\" site=\"x0123456789ABCDEF0123456789ABCDEF\"\n"
    "           description=\"The default project\">\n"
    "    <member login=\"pdmadm\" role=\"ZEPADMIN\"/>\n"
    "  </project>\n"
    "  <project name=\"PLANT\" site=\"REMOTE_PLANT\" state=\"FROZEN\"/>\n"
    "  <database name=\"ignored by the import\"/>\n"
    "</zepadmin>\n";

TEST_P(PdmServicesTest, ProjectFileImportsItsSitesProjectsAndMembersOnce) {
  const std::string path = File("dictionary/ZEPAdmin.adm", AdminFile);
  ASSERT_EQ(0, ZEPXmlAdm(path.c_str(), "PDMADM", "admpass")) << ZEPServicesLastMessage();
  EXPECT_EQ((Strings{"x0123456789ABCDEF0123456789ABCDEF|Local & main site|1|",
                     "REMOTE_PLANT|Plant|0|plant.example"}),
            Select("SELECT SITE_UUID, NAME, IS_LOCAL, HOST FROM ZEPDICO.ZEPADMIN_SITE ORDER BY "
                   "SITE_ID"));
  EXPECT_EQ((Strings{"DEFAULT|x0123456789ABCDEF0123456789ABCDEF|The default project|ACTIVE",
                     "PLANT|REMOTE_PLANT||FROZEN"}),
            Select("SELECT NAME, SITE_UUID, DESCRIPTION, STATE FROM ZEPDICO.ZEPADMIN_PROJECT "
                   "ORDER BY PROJECT_ID"));
  EXPECT_EQ((Strings{"DEFAULT|PDMADM|ZEPADMIN"}),
            Select("SELECT P.NAME, M.LOGIN, M.ROLE_NAME FROM ZEPDICO.ZEPADMIN_MEMBER M "
                   "JOIN ZEPDICO.ZEPADMIN_PROJECT P ON P.PROJECT_ID = M.PROJECT_ID"));

  // A second import is refused by the keys and changes nothing but the record.
  EXPECT_EQ(Duplicate(), ZEPXmlAdm(path.c_str(), "PDMADM", "admpass"));
  EXPECT_EQ(0u, ZEPServicesLastMessage().find(path + ":4: "));
  EXPECT_EQ("2", Count("ZEPADMIN_SITE"));
  EXPECT_EQ("2", Count("ZEPADMIN_PROJECT"));
  EXPECT_EQ((Strings{path + "|PDMADM|0", path + "|PDMADM|" + std::to_string(Duplicate())}),
            Select("SELECT FILE_PATH, IMPORTED_BY, RESULT_CODE FROM ZEPDICO.ZEPADMIN_IMPORT "
                   "ORDER BY IMPORT_ID"));
}

TEST_P(PdmServicesTest, ProjectFileRefusalsSayWhyAndImportNothing) {
  const std::string errors = directory_.File("tessardbsetup.err");
  QelSetErrLogFile(errors.c_str());
  OpenLogFile(directory_.File("tessardbsetup.log").c_str(), 1);

  std::string placeholder = AdminFile;
  placeholder.replace(placeholder.find("x0123456789ABCDEF0123456789ABCDEF"), 33,
                      ZEPPlaceholderSite);
  const std::string shipped = File("shipped.adm", placeholder);
  EXPECT_EQ(ZEPErrorPlaceholderSite, ZEPXmlAdm(shipped.c_str(), "PDMADM", "admpass"));
  EXPECT_EQ(
      shipped + ":4: site DEFAULT_LOCAL_SITE_V5R8 still has the shipped placeholder identifier",
      ZEPServicesLastMessage());

  const struct {
    std::string text;
    std::string message;
  } malformed[] = {
      {"<zepadmin>\n<site id=\"A\" name=\"a\"\n</zepadmin>\n", ":2: unterminated <site> tag"},
      {"<zepadmin>\n  <site id=\"A\" name=\"a\">\n</zepadmin>\n",
       ":3: </zepadmin> closes <site> opened on line 2"},
      {"<zepadmin>\n<site id=\"A\"/>\n</zepadmin>", ":2: <site> without its name attribute"},
      {"<zepadmin>\n<site id=\"A\" name=\"a &copy;\"/>\n</zepadmin>",
       ":2: unknown reference &copy;"},
      {"<projects/>", ":1: the root element is <projects>, not <zepadmin>"},
      {"<zepadmin>\n<project name=\"P\" site=\"NOWHERE\"/>\n</zepadmin>",
       ":2: project P names site NOWHERE, which neither the file nor ZEPDICO.ZEPADMIN_SITE holds"},
      {"<!-- nothing -->\n", ":1: the file holds no element"}};
  for (const auto& [text, message] : malformed) {
    const std::string path = File("bad.adm", text);
    EXPECT_NE(0, ZEPXmlAdm(path.c_str(), "PDMADM", "admpass")) << message;
    EXPECT_EQ(path + message, ZEPServicesLastMessage());
  }

  const std::string good = File("good.adm", AdminFile);
  EXPECT_EQ(LoginRefused(), ZEPXmlAdm(good.c_str(), "PDMADM", "Wrong-Secret"));
  EXPECT_NE(std::string::npos, ZEPServicesLastMessage().find(Db2() ? "SQL30082N" : "ORA-01017"));
  EXPECT_EQ(ZEPErrorFileUnreadable, ZEPXmlAdm(directory_.File("none.adm").c_str(), "PDMADM", "x"));
  EXPECT_EQ("cannot read " + directory_.File("none.adm") + ": No such file or directory",
            ZEPServicesLastMessage());

  EXPECT_EQ("0", Count("ZEPADMIN_SITE"));
  EXPECT_EQ("0", Count("ZEPADMIN_PROJECT"));
  const std::string logged = ReadWholeFile(errors);
  EXPECT_NE(std::string::npos, logged.find("\nZEPXmlAdm: " + shipped + ":4: site "));
  EXPECT_EQ(std::string::npos, logged.find("Wrong-Secret"));
}

TEST_P(PdmServicesTest, SessionServicesNeedAnOpenSession) {
  int errorCode = 0;
  char message[QelDbMessageSize];
  EXPECT_EQ(ZEPErrorNoSession, ZEPDataManagerAPI("PDMADM", "admpass", 0, errorCode, message));
  EXPECT_EQ(ZEPErrorNoSession, errorCode);
  EXPECT_STREQ("no PDM session is open", message);
  int status = 0;
  void* handle = &status;
  EXPECT_EQ(ZEPErrorNoSession,
            TAVOInstallCreateLoginSession("PDMADM", "admpass", "", status, handle));
  EXPECT_EQ(nullptr, handle);

  EXPECT_EQ(0, ZEPSession::OpenSession("PDMADM", "Wrong-Secret"));
  EXPECT_EQ(ZEPErrorNoSession, ZEPDataManagerAPI("PDMADM", "admpass", 0, errorCode, message));
  ASSERT_EQ(1, ZEPSession::OpenSession("PDMADM", "admpass")) << ZEPServicesLastMessage();
  EXPECT_EQ(ZEPErrorUnknownOption, ZEPDataManagerAPI("PDMADM", "admpass", 3, errorCode, message));
  EXPECT_EQ(0, ZEPSession::CloseSession());
  EXPECT_EQ(ZEPErrorNoSession, ZEPDataManagerAPI("PDMADM", "admpass", 0, errorCode, message));
  EXPECT_EQ("0", Select("SELECT COUNT(*) FROM ZEPDICO.CONFIG_DATA_MANAGER WHERE UPDATED_BY IS "
                        "NOT NULL")
                     .at(0));
}

TEST_P(PdmServicesTest, LoginAndDataManagerRecordTheInstallation) {
  const std::string path = File("ZEPAdmin.adm", AdminFile);
  ASSERT_EQ(0, ZEPXmlAdm(path.c_str(), "PDMADM", "admpass")) << ZEPServicesLastMessage();
  ASSERT_EQ(1, ZEPSession::OpenSession("PDMADM", "admpass")) << ZEPServicesLastMessage();
  const auto login = [](const char* administrator) {
    int status = -1;
    void* handle = nullptr;
    EXPECT_EQ(0, TAVOInstallCreateLoginSession(administrator, "admpass", "", status, handle))
        << ZEPServicesLastMessage();
    EXPECT_EQ(0, status);
    EXPECT_NE(nullptr, handle);
  };
  const std::string logins =
      "SELECT P.PERSON_ID, P.LOGIN, P.ACTIVE, R.NAME, O.NAME, A.VALID_UNTIL FROM "
      "ZEPDICO.PEOPLE_PERSON P JOIN ZEPDICO.PEOPLE_ASSIGNMENT A ON A.PERSON_ID = P.PERSON_ID "
      "JOIN ZEPDICO.PEOPLE_ROLE R ON R.ROLE_ID = A.ROLE_ID JOIN ZEPDICO.PEOPLE_ORGANISATION O ON "
      "O.ORG_ID = A.ORG_ID";
  // The administrator the reference rows hold is taken back into service.
  Prepare("UPDATE ZEPDICO.PEOPLE_PERSON SET ACTIVE = 0");
  Prepare(std::string("UPDATE ZEPDICO.PEOPLE_ASSIGNMENT SET VALID_UNTIL = ") +
          (Db2() ? "CURRENT TIMESTAMP" : "SYSTIMESTAMP"));
  Commit(dba_);
  login("pdmadm");
  EXPECT_EQ((Strings{"1|PDMADM|1|ZEPADMIN|ADMIN|"}), Select(logins));
  // Without them, the login creates its person once.
  Prepare("DELETE FROM ZEPDICO.PEOPLE_ASSIGNMENT");
  Prepare("DELETE FROM ZEPDICO.PEOPLE_PERSON");
  Commit(dba_);
  login("PDMADM");
  login("PDMADM");
  EXPECT_EQ((Strings{"100|PDMADM|1|ZEPADMIN|ADMIN|"}), Select(logins));

  int errorCode = -1;
  char message[QelDbMessageSize];
  ASSERT_EQ(0, ZEPDataManagerAPI("PDMADM", "admpass", 0, errorCode, message)) << message;
  const std::string parameters =
      "SELECT PARAMETER_NAME, PARAMETER_VALUE, UPDATED_BY FROM ZEPDICO.CONFIG_DATA_MANAGER ORDER "
      "BY PARAMETER_NAME";
  EXPECT_EQ(
      (Strings{"CHECKIN_COMMENT_REQUIRED|NO|", "DATA_MANAGER_ADMINISTRATOR|PDMADM|PDMADM",
               "DATA_MANAGER_VERSION|V5R8|PDMADM", "DEFAULT_PROJECT|DEFAULT|PDMADM",
               "DEFAULT_SITE|x0123456789ABCDEF0123456789ABCDEF|PDMADM", "DEFAULT_UNIT|MM|",
               "LOCK_TIMEOUT_MINUTES|240|", "SCHEMA_VERSION|V5R2.1|", "VAULT_ENABLED|0|PDMADM"}),
      Select(parameters));

  // Once the vault's tables are there, a second run updates the rows.
  Prepare(Db2() ? "CREATE TABLE ZEPVAULT.VAULT_STORE (STORE_ID INTEGER NOT NULL)"
                : "CREATE TABLE ZEPDICO.VAULT_STORE (STORE_ID NUMBER(10) NOT NULL)");
  Prepare(Db2() ? "GRANT SELECT ON TABLE ZEPVAULT.VAULT_STORE TO USER PDMADM"
                : "GRANT SELECT ON ZEPDICO.VAULT_STORE TO PDMADM");
  Commit(dba_);
  ASSERT_EQ(0, ZEPDataManagerAPI("PDMADM", "admpass", 0, errorCode, message)) << message;
  EXPECT_EQ("VAULT_ENABLED|1|PDMADM", Select(parameters).back());
  EXPECT_EQ("9", Count("CONFIG_DATA_MANAGER"));

  // The DBMS's own refusal reaches the caller, and nothing half-done stays.
  Prepare("DROP TABLE ZEPDICO.CONFIG_DATA_MANAGER");
  Commit(dba_);
  EXPECT_EQ(Db2() ? -204 : -942, ZEPDataManagerAPI("PDMADM", "admpass", 0, errorCode, message));
  EXPECT_EQ(Db2() ? -204 : -942, errorCode);
  EXPECT_EQ(Db2() ? "SQL0204N  \"ZEPDICO.CONFIG_DATA_MANAGER\" is an undefined name.  "
                    "SQLSTATE=42704"
                  : "ORA-00942: table or view does not exist",
            std::string(message));
}

const std::string DocumentGraph =
    "# Life cycle of documents\n"
    "graph ZEP_DOCUMENT\n"
    "state IN_WORK initial\n"
    "state \"IN CHECK\" colour=ORANGE\n"
    "state RELEASED final\n"
    "transition IN_WORK \"IN CHECK\" Submit\n"
    "transition \"IN CHECK\" IN_WORK \"Send back\"\r\n"
    "transition \"IN CHECK\" RELEASED\n";

TEST_P(PdmServicesTest, StatusGraphGoesInWholeOrNotAtAll) {
  int errorCode = -1;
  std::string message;
  const std::string path = File("sample/ZEPDocument.VGraph", DocumentGraph);
  EXPECT_EQ("", Graph(errorCode, message, path));
  EXPECT_EQ(0, errorCode);
  EXPECT_EQ((Strings{"ZEP_DOCUMENT|" + path + "|PDMADM"}),
            Select("SELECT NAME, SOURCE_FILE, IMPORTED_BY FROM ZEPDICO.GRAPH_STATUS_GRAPH"));
  EXPECT_EQ((Strings{"IN_WORK|1|1|0|", "IN CHECK|2|0|0|ORANGE", "RELEASED|3|0|1|"}),
            Select("SELECT NODE_NAME, NODE_POSITION, IS_INITIAL, IS_FINAL, DISPLAY_COLOUR FROM "
                   "ZEPDICO.GRAPH_STATUS_NODE ORDER BY NODE_POSITION"));
  EXPECT_EQ(
      (Strings{"IN CHECK|IN_WORK|Send back", "IN CHECK|RELEASED|", "IN_WORK|IN CHECK|Submit"}),
      Select("SELECT FROM_NODE, TO_NODE, ACTION_NAME FROM ZEPDICO.GRAPH_STATUS_EDGE ORDER "
             "BY FROM_NODE, TO_NODE"));

  Graph(errorCode, message, path);
  EXPECT_EQ(Duplicate(), errorCode);
  EXPECT_EQ(0u, message.find(path + ":2: " + (Db2() ? "SQL0803N" : "ORA-00001")));

  const struct {
    std::string text;
    int code;
    std::string message;
  } refused[] = {
      {"graph G\nstate A\ntransition A B\n", ZEPErrorMalformedFile, ":3: unknown state B"},
      {"state A\n", ZEPErrorMalformedFile, ":1: the graph line must come first"},
      {"graph G\nstate A initial\nstate B initial\n", ZEPErrorMalformedFile,
       ":3: a second initial state (A is one, on line 2)"},
      {"graph G\nstate \"A\n", ZEPErrorMalformedFile, ":2: unterminated quoted name"},
      {"graph G\nstate A\nstate B\ntransition A B\ntransition A B\n", ZEPErrorMalformedFile,
       ":5: transition A -> B is already declared on line 4"},
      {"# empty\n", ZEPErrorMalformedFile, ":1: the file holds no graph line"},
      // Refused by the DBMS on the third row: the graph's first rows go too.
      {"graph PARTIAL\nstate A\nstate " + std::string(65, 'L') + "\n", Db2() ? -433 : -12899,
       ":3: "}};
  for (const auto& [text, code, expected] : refused) {
    const std::string bad = File("sample/Bad.VGraph", text);
    Graph(errorCode, message, bad);
    EXPECT_EQ(code, errorCode) << text;
    EXPECT_EQ(0u, message.find(bad + expected)) << message;
  }
  EXPECT_EQ("1", Count("GRAPH_STATUS_GRAPH"));
  EXPECT_EQ("3", Count("GRAPH_STATUS_NODE"));
  EXPECT_EQ("3", Count("GRAPH_STATUS_EDGE"));

  EXPECT_EQ("unknown action Export: the status-graph service only imports (Import)",
            Graph(errorCode, message, path, "Export"));
  EXPECT_EQ(ZEPErrorUnknownAction, errorCode);
  Graph(errorCode, message, directory_.File("sample/None.VGraph"));
  EXPECT_EQ(ZEPErrorFileUnreadable, errorCode);
  Graph(errorCode, message, File("sample/Other.VGraph", "graph OTHER\nstate A\n"));
  EXPECT_EQ(0, errorCode) << message;
}

INSTANTIATE_TEST_SUITE_P(BothDbms, PdmServicesTest, ::testing::Values(QelDbDB2, QelDbOracle),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::string(info.param == QelDbDB2 ? "Db2" : "Oracle");
                         });

}  // namespace
