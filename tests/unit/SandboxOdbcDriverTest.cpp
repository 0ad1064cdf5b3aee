// The sandbox's ODBC driver as the layer meets it: loaded by unixODBC's
// driver manager from a site's odbcinst.ini, reached by data source name and
// by a DSN-less DRIVER= string, with the DBMS's errors, its transactions
// (autocommit off and on), result values read in parts, NULL and UTF-16.
#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

#include "SandboxDbmsTestSite.h"
#include "platform/db/odbc/QelOdbcConnection.h"

namespace {

class SandboxOdbcDriverTest : public SandboxDbmsTest {
 protected:
  void SetUp() override {
    SandboxDbmsTest::SetUp();
    const std::string site = Site();
    // An account whose password needs the connection string's braces.
    std::ofstream(site + "/etc/passwd", std::ios::app) << "bracer:x:2100:2100::/home/b:/bin/sh\n";
    std::ofstream(site + "/etc/shadow", std::ios::app)
        << "bracer:" << CryptHash(Braced) << ":19000:0:99999:7:::\n";
    auto owner = Db2();
    ASSERT_EQ("", Run(owner, "GRANT CONNECT ON DATABASE TO USER BRACER"));
    Commit(owner);
  }

  static std::unique_ptr<QelOdbcConnection> Open(int dbms, const std::string& text,
                                                 QelDbError& error) {
    return QelOdbcConnection::Open(dbms, text, error);
  }

  static std::unique_ptr<QelOdbcConnection> Open(int dbms, const std::string& text) {
    QelDbError error;
    auto connection = QelOdbcConnection::Open(dbms, text, error);
    EXPECT_TRUE(connection) << text << ": " << error.message;
    return connection;
  }

  static std::string Execute(QelDbConnection& connection, const std::string& statement) {
    QelDbError error;
    connection.Execute(statement, error);
    return error.message;
  }

  static std::vector<QelDbRow> Query(QelDbConnection& connection, const std::string& query) {
    std::vector<QelDbRow> rows;
    QelDbError error;
    EXPECT_EQ(0, connection.Query(query, rows, error)) << query << ": " << error.message;
    return rows;
  }

  static constexpr const char* Braced = "pa;ss}word";
};

// An ODBC connection of our own, for what the layer does not show: the raw
// diagnostics, autocommit on, and the C types the layer does not ask for.
class RawConnection {
 public:
  explicit RawConnection(const std::string& text) {
    SQLSetEnvAttr(environment_.Get(), SQL_ATTR_ODBC_VERSION,
                  reinterpret_cast<SQLPOINTER>(static_cast<long>(SQL_OV_ODBC3)), 0);
    connection_ = QelOdbcHandle(SQL_HANDLE_DBC, environment_.Get());
    std::string copy = text;
    result = SQLDriverConnect(connection_.Get(), nullptr, reinterpret_cast<SQLCHAR*>(copy.data()),
                              static_cast<SQLSMALLINT>(copy.size()), nullptr, 0, nullptr,
                              SQL_DRIVER_NOPROMPT);
  }
  ~RawConnection() {
    statement_.Free();
    if (SQL_SUCCEEDED(result)) SQLDisconnect(connection_.Get());
  }

  SQLHDBC Get() const { return connection_.Get(); }
  const QelOdbcHandle& Handle() const { return connection_; }

  // A statement run on a new handle (kept until the next one).
  SQLRETURN Run(const std::string& text) {
    statement_ = QelOdbcHandle(SQL_HANDLE_STMT, connection_.Get());
    std::string copy = text;
    return SQLExecDirect(statement_.Get(), reinterpret_cast<SQLCHAR*>(copy.data()),
                         static_cast<SQLINTEGER>(copy.size()));
  }
  SQLHSTMT Statement() const { return statement_.Get(); }

  SQLRETURN result = SQL_ERROR;

 private:
  QelOdbcHandle environment_{SQL_HANDLE_ENV, SQL_NULL_HANDLE};
  QelOdbcHandle connection_;
  QelOdbcHandle statement_;
};

struct Record {
  std::string sqlstate;
  SQLINTEGER native = 0;
  std::string text;
};

Record FirstRecord(SQLSMALLINT type, SQLHANDLE handle) {
  SQLCHAR state[6] = {};
  SQLINTEGER native = 0;
  SQLCHAR text[1024] = {};
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(SQLGetDiagRec(type, handle, 1, state, &native, text, sizeof text, &length))) {
    return {};
  }
  return {reinterpret_cast<char*>(state), native, reinterpret_cast<char*>(text)};
}

TEST_F(SandboxOdbcDriverTest, ConnectsByDataSourceAndByDriverString) {
  // The data source names the database; its driver entry the dialect and site.
  auto db2 = Open(QelDbDB2, "DSN=SAMPLE;UID=db2inst1;PWD=db2pass");
  ASSERT_TRUE(db2);
  EXPECT_EQ((std::vector<QelDbRow>{{"Y"}}), Query(*db2, "SELECT IBMREQD FROM SYSIBM.SYSDUMMY1"));
  auto oracle = Open(QelDbOracle, "DSN=ORACLE_SOURCE;UID=system;PWD=manager");
  ASSERT_TRUE(oracle);
  EXPECT_EQ((std::vector<QelDbRow>{{"SYSTEM"}}),
            Query(*oracle, "SELECT USERNAME FROM DBA_USERS WHERE USERNAME = 'SYSTEM'"));

  // DSN-less, with a braced value holding ';' and a doubled '}'.
  ASSERT_TRUE(Open(QelDbDB2, "DRIVER={Sandbox DB2 test};Database=sample;UID=bracer;PWD=" +
                                 QelOdbcAttributeValue(Braced)));
  // The connection string's Dialect wins over a driver entry that has none.
  ASSERT_TRUE(
      Open(QelDbOracle,
           "DRIVER={Sandbox without dialect};Dialect=Oracle;DBQ=ORCL;UID=system;PWD=manager"));

  QelDbError error;
  EXPECT_FALSE(
      Open(QelDbDB2, "DRIVER={Sandbox without dialect};Database=sample;UID=a;PWD=b", error));
  EXPECT_EQ("08001", error.sqlstate);
  EXPECT_NE(std::string::npos, error.message.find("Dialect=DB2")) << error.message;
  EXPECT_FALSE(
      Open(QelDbDB2, "DRIVER={Sandbox DB2 test};Database=sample;UID=a;PWD={unclosed", error));
  EXPECT_EQ("08001", error.sqlstate) << error.message;
  EXPECT_FALSE(
      Open(QelDbDB2, "DRIVER={Sandbox DB2 test};Database=nosuch;UID=db2inst1;PWD=db2pass", error));
  EXPECT_EQ(-1013, error.code) << error.message;
  EXPECT_EQ("42705", error.sqlstate);
}

TEST_F(SandboxOdbcDriverTest, WrongPasswordsCarryTheDbmsNativeCode) {
  QelDbError error;
  EXPECT_FALSE(Open(QelDbDB2, "DSN=SAMPLE;UID=db2inst1;PWD=wrong", error));
  EXPECT_EQ(-30082, error.code);
  EXPECT_EQ("08001", error.sqlstate);
  EXPECT_EQ(0u, error.message.find("SQL30082N  Security processing failed")) << error.message;
  EXPECT_EQ(std::string::npos, error.message.find("wrong")) << "no password in a message";

  EXPECT_FALSE(Open(QelDbOracle, "DSN=ORACLE_SOURCE;UID=system;PWD=wrong", error));
  EXPECT_EQ(-1017, error.code);
  EXPECT_EQ("28000", error.sqlstate);
  EXPECT_EQ("ORA-01017: invalid username/password; logon denied", error.message);

  // As the driver gives it: Oracle's number positive, DB2's SQLCODE
  // negative, the text behind the driver's tags.
  RawConnection oracle("DSN=ORACLE_SOURCE;UID=system;PWD=wrong");
  EXPECT_EQ(SQL_ERROR, oracle.result);
  const Record refused = FirstRecord(SQL_HANDLE_DBC, oracle.Get());
  EXPECT_EQ(1017, refused.native);
  EXPECT_NE(std::string::npos, refused.text.find("[TESSAR][Sandbox Oracle] ORA-01017"))
      << refused.text;
  RawConnection db2("DSN=SAMPLE;UID=db2inst1;PWD=wrong");
  EXPECT_EQ(-30082, FirstRecord(SQL_HANDLE_DBC, db2.Get()).native);
}

TEST_F(SandboxOdbcDriverTest, StatementsErrorsAndTransactions) {
  auto db2 = Open(QelDbDB2, "DSN=SAMPLE;UID=db2inst1;PWD=db2pass");
  ASSERT_TRUE(db2);
  EXPECT_EQ("", Execute(*db2, "CREATE TABLE DB2INST1.ITEMS (ID INTEGER, NAME VARCHAR(40))"));
  EXPECT_EQ("", Execute(*db2, "INSERT INTO DB2INST1.ITEMS VALUES (1, 'one'), (2, 'two')"));
  QelDbError error;
  ASSERT_EQ(0, db2->Commit(error)) << error.message;

  // The DBMS's error with its SQLSTATE and code; the session goes on.
  EXPECT_NE(0, db2->Execute("CREATE TABLE DB2INST1.ITEMS (ID INTEGER)", error));
  EXPECT_EQ(-601, error.code);
  EXPECT_EQ("42710", error.sqlstate);
  EXPECT_EQ(0u, error.message.find("SQL0601N  ")) << error.message;
  EXPECT_EQ((std::vector<QelDbRow>{{"1", "one"}, {"2", "two"}}),
            Query(*db2, "SELECT ID, NAME FROM DB2INST1.ITEMS ORDER BY ID"));

  // Autocommit is off: what a closed connection did not commit is gone.
  EXPECT_EQ("", Execute(*db2, "INSERT INTO DB2INST1.ITEMS VALUES (3, 'three')"));
  EXPECT_EQ(3u, Query(*db2, "SELECT ID FROM DB2INST1.ITEMS").size());
  db2->Close();
  db2 = Open(QelDbDB2, "DSN=SAMPLE;UID=db2inst1;PWD=db2pass");
  ASSERT_TRUE(db2);
  EXPECT_EQ(2u, Query(*db2, "SELECT ID FROM DB2INST1.ITEMS").size());
  db2->Close();

  // With autocommit on (ODBC's default) each statement commits itself.
  {
    RawConnection raw("DSN=SAMPLE;UID=db2inst1;PWD=db2pass");
    ASSERT_TRUE(SQL_SUCCEEDED(raw.result));
    ASSERT_EQ(SQL_SUCCESS, raw.Run("INSERT INTO DB2INST1.ITEMS VALUES (4, 'four')"));
  }
  db2 = Open(QelDbDB2, "DSN=SAMPLE;UID=db2inst1;PWD=db2pass");
  ASSERT_TRUE(db2);
  EXPECT_EQ(3u, Query(*db2, "SELECT ID FROM DB2INST1.ITEMS").size());

  // Oracle's errors: the ORA number as the code.
  auto oracle = Open(QelDbOracle, "DSN=ORACLE_SOURCE;UID=system;PWD=manager");
  ASSERT_TRUE(oracle);
  EXPECT_NE(0, oracle->Execute("DROP USER NOSUCHUSER", error));
  EXPECT_EQ(-1918, error.code);
  EXPECT_EQ(0u, error.message.find("ORA-01918: ")) << error.message;
  EXPECT_NE(0, oracle->Execute("SELECT * FROM NOSUCHTABLE", error));
  EXPECT_EQ("42S02", error.sqlstate) << error.message;
}

TEST_F(SandboxOdbcDriverTest, ValuesAreReadInPartsAsNullAndAsUtf16) {
  RawConnection raw("DSN=ORACLE_SOURCE;UID=system;PWD=manager");
  ASSERT_TRUE(SQL_SUCCEEDED(raw.result));
  ASSERT_EQ(SQL_SUCCESS, raw.Run("CREATE TABLE NOTES (ID NUMBER, BODY VARCHAR2(4000))"));
  const std::string longText(3000, 'x');
  ASSERT_EQ(SQL_SUCCESS, raw.Run("INSERT INTO NOTES VALUES (1, '" + longText + "é')"));
  ASSERT_EQ(SQL_SUCCESS, raw.Run("INSERT INTO NOTES (ID) VALUES (2)"));
  ASSERT_EQ(SQL_SUCCESS, raw.Run("SELECT BODY FROM NOTES ORDER BY ID"));
  SQLSMALLINT columns = 0;
  ASSERT_EQ(SQL_SUCCESS, SQLNumResultCols(raw.Statement(), &columns));
  EXPECT_EQ(1, columns);
  SQLCHAR name[32] = {};
  SQLSMALLINT nameLength = 0;
  ASSERT_EQ(SQL_SUCCESS, SQLColAttribute(raw.Statement(), 1, SQL_DESC_LABEL, name, sizeof name,
                                         &nameLength, nullptr));
  EXPECT_EQ("BODY", std::string(reinterpret_cast<char*>(name)));

  ASSERT_EQ(SQL_SUCCESS, SQLFetch(raw.Statement()));
  // Narrow, in parts of 1000 bytes: 01004 with what remained each time.
  std::string read;
  char part[1000];
  SQLLEN indicator = 0;
  SQLRETURN rc;
  std::vector<SQLLEN> remaining;
  while ((rc = SQLGetData(raw.Statement(), 1, SQL_C_CHAR, part, sizeof part, &indicator)) !=
         SQL_NO_DATA) {
    ASSERT_TRUE(SQL_SUCCEEDED(rc));
    remaining.push_back(indicator);
    if (rc == SQL_SUCCESS_WITH_INFO) {
      EXPECT_EQ("01004", FirstRecord(SQL_HANDLE_STMT, raw.Statement()).sqlstate);
    }
    read += part;
  }
  EXPECT_EQ(longText + "é", read);
  EXPECT_EQ((std::vector<SQLLEN>{3002, 2003, 1004, 5}), remaining);

  // Wide: the same value again, as UTF-16.
  ASSERT_EQ(SQL_SUCCESS, SQLCloseCursor(raw.Statement()));
  std::string query = "SELECT BODY FROM NOTES ORDER BY ID";
  ASSERT_EQ(SQL_SUCCESS,
            SQLExecDirect(raw.Statement(), reinterpret_cast<SQLCHAR*>(query.data()), SQL_NTS));
  ASSERT_EQ(SQL_SUCCESS, SQLFetch(raw.Statement()));
  SQLWCHAR wide[4000] = {};
  ASSERT_EQ(SQL_SUCCESS,
            SQLGetData(raw.Statement(), 1, SQL_C_WCHAR, wide, sizeof wide, &indicator));
  EXPECT_EQ(static_cast<SQLLEN>(3001 * sizeof(SQLWCHAR)), indicator);
  EXPECT_EQ(0xE9, wide[3000]);
  EXPECT_EQ(0, wide[3001]);

  ASSERT_EQ(SQL_SUCCESS, SQLFetch(raw.Statement()));
  EXPECT_EQ(SQL_SUCCESS, SQLGetData(raw.Statement(), 1, SQL_C_CHAR, part, sizeof part, &indicator));
  EXPECT_EQ(SQL_NULL_DATA, indicator);
  EXPECT_EQ(SQL_NO_DATA, SQLFetch(raw.Statement()));
}

}  // namespace
