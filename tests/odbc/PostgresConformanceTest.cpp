// The layer's ODBC code against a real server through its ODBC driver:
// everything that is no dialect (connecting, errors with their SQLSTATE,
// transactions, rows, text, long statements, a server that goes away).
// run_postgresql_conformance.sh starts the server and names it here.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/QelDb.h"
#include "platform/db/odbc/QelOdbcConnection.h"

namespace {

std::string Setting(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string ConnectionString(const std::string& password,
                             const std::string& database = "postgres") {
  return "DSN=" + Setting("TESSARDBSETUP_PG_DSN") +
         ";UID=" + QelOdbcAttributeValue(Setting("TESSARDBSETUP_PG_USER")) +
         ";PWD=" + QelOdbcAttributeValue(password) + ";Database=" + QelOdbcAttributeValue(database);
}

class PostgresConformance : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Setting("TESSARDBSETUP_PG_DSN").empty()) {
      GTEST_SKIP() << "no server: run through run_postgresql_conformance.sh";
    }
  }

  static std::unique_ptr<QelOdbcConnection> Connect() {
    QelDbError error;
    auto connection = QelOdbcConnection::Open(
        QelDbDB2, ConnectionString(Setting("TESSARDBSETUP_PG_PASSWORD")), error);
    EXPECT_TRUE(connection) << error.message;
    return connection;
  }

  static std::vector<QelDbRow> Rows(QelDbConnection& connection, const std::string& query) {
    std::vector<QelDbRow> rows;
    QelDbError error;
    EXPECT_EQ(0, connection.Query(query, rows, error)) << error.message;
    return rows;
  }

  static void Run(QelDbConnection& connection, const std::string& statement) {
    QelDbError error;
    EXPECT_EQ(0, connection.Execute(statement, error)) << error.message;
  }
};

TEST_F(PostgresConformance, ConnectingTellsAWrongPasswordFromAnUnknownDatabase) {
  ASSERT_TRUE(Connect());
  QelDbError error;
  EXPECT_FALSE(QelOdbcConnection::Open(QelDbDB2, ConnectionString("wrong;pass}word"), error));
  // The driver reports every refused connection as 08001; the text tells why.
  EXPECT_EQ(error.sqlstate, "08001") << error.message;
  EXPECT_NE(error.message.find("password authentication failed"), std::string::npos)
      << error.message;
  EXPECT_EQ(error.message.find("wrong;pass"), std::string::npos) << "no password in a message";
  EXPECT_NE(error.code, 0);

  EXPECT_FALSE(QelOdbcConnection::Open(
      QelDbDB2, ConnectionString(Setting("TESSARDBSETUP_PG_PASSWORD"), "nosuchdb"), error));
  EXPECT_NE(error.message.find("nosuchdb"), std::string::npos) << error.message;
  EXPECT_NE(error.message.find("does not exist"), std::string::npos) << error.message;

  EXPECT_FALSE(QelOdbcConnection::Open(QelDbDB2, "DSN=NOSUCHSOURCE;UID=x;PWD=y", error));
  EXPECT_EQ(error.sqlstate, "IM002") << error.message;
}

TEST_F(PostgresConformance, ErrorsCarryTheirSqlstateAndTheSessionGoesOn) {
  auto connection = Connect();
  ASSERT_TRUE(connection);
  QelDbError error;
  EXPECT_NE(0, connection->Execute("CREATE TABLEX broken (a int)", error));
  EXPECT_EQ(error.sqlstate, "42601") << error.message;
  EXPECT_NE(error.message.find("syntax error"), std::string::npos) << error.message;
  EXPECT_EQ(error.message.find('['), std::string::npos) << "no driver tags: " << error.message;
  // A failed statement spoils a PostgreSQL transaction until it ends.
  connection->Commit(error);
  std::vector<QelDbRow> rows;
  EXPECT_NE(0, connection->Query("SELECT * FROM no_such_table", rows, error));
  EXPECT_EQ(error.sqlstate, "42P01") << error.message;
  connection->Commit(error);
  EXPECT_EQ(Rows(*connection, "SELECT 1 + 1"), (std::vector<QelDbRow>{{"2"}}));
}

TEST_F(PostgresConformance, OnlyCommittedWorkOutlivesItsConnection) {
  {
    auto setup = Connect();
    ASSERT_TRUE(setup);
    QelDbError error;
    setup->Execute("DROP TABLE IF EXISTS kept", error);
    Run(*setup, "CREATE TABLE kept (id int, name varchar(40))");
    ASSERT_EQ(0, setup->Commit(error)) << error.message;
  }
  auto writer = Connect();
  auto reader = Connect();
  ASSERT_TRUE(writer && reader);
  Run(*writer, "INSERT INTO kept VALUES (1, 'committed')");
  EXPECT_TRUE(Rows(*reader, "SELECT id FROM kept").empty()) << "autocommit is off";
  QelDbError error;
  ASSERT_EQ(0, writer->Commit(error)) << error.message;
  ASSERT_EQ(0, reader->Commit(error)) << error.message;
  EXPECT_EQ(Rows(*reader, "SELECT name FROM kept"), (std::vector<QelDbRow>{{"committed"}}));

  Run(*writer, "INSERT INTO kept VALUES (2, 'left open')");
  Run(*writer, "DELETE FROM kept WHERE id = 99");
  EXPECT_EQ(0, writer->Close());
  EXPECT_FALSE(writer->IsOpen());
  EXPECT_NE(0, writer->Execute("SELECT 1", error)) << "a closed connection runs nothing";
  ASSERT_EQ(0, reader->Commit(error));
  EXPECT_EQ(Rows(*reader, "SELECT id FROM kept ORDER BY id"), (std::vector<QelDbRow>{{"1"}}))
      << "the closed connection's work was rolled back";
}

TEST_F(PostgresConformance, AStatementCommittedAloneLeavesTheSessionTransactional) {
  auto writer = Connect();
  auto reader = Connect();
  ASSERT_TRUE(writer && reader);
  QelDbError error;
  writer->Execute("DROP TABLE IF EXISTS alone", error);
  ASSERT_EQ(0, writer->Commit(error)) << error.message;
  ASSERT_EQ(0, writer->ExecuteCommitted("CREATE TABLE alone (id int PRIMARY KEY)", error))
      << error.message;
  Run(*reader, "INSERT INTO alone VALUES (0)");
  ASSERT_EQ(0, reader->Commit(error)) << "the table was committed with its creation";

  // A failure leaves nothing open: the next statement alone still commits.
  EXPECT_NE(0, writer->ExecuteCommitted("INSERT INTO alone VALUES (0)", error));
  EXPECT_EQ(error.sqlstate, "23505") << error.message;
  ASSERT_EQ(0, writer->ExecuteCommitted("INSERT INTO alone VALUES (1)", error)) << error.message;

  // Work left uncommitted goes with the next statement committed alone ...
  Run(*writer, "INSERT INTO alone VALUES (2)");
  ASSERT_EQ(0, writer->ExecuteCommitted("INSERT INTO alone VALUES (3)", error)) << error.message;
  // ... and a plain statement after it is no longer committed by itself.
  Run(*writer, "INSERT INTO alone VALUES (4)");
  EXPECT_EQ(0, writer->Close());
  ASSERT_EQ(0, reader->Commit(error));
  EXPECT_EQ(Rows(*reader, "SELECT id FROM alone ORDER BY id"),
            (std::vector<QelDbRow>{{"0"}, {"1"}, {"2"}, {"3"}}));
}

TEST_F(PostgresConformance, RowsComeBackWholeWithNullsTextAndLongValues) {
  auto connection = Connect();
  ASSERT_TRUE(connection);
  const std::string text = "Grüße, ça va? 日本語 ✓";
  EXPECT_EQ(
      Rows(*connection, "SELECT 'a', NULL, 3, '" + text + "' UNION ALL SELECT 'b', 'x', 4, ''"),
      (std::vector<QelDbRow>{{"a", "", "3", text}, {"b", "x", "4", ""}}));
  EXPECT_TRUE(Rows(*connection, "SELECT 1 WHERE false").empty());

  // A statement of 100 kB, and a value longer than any buffer read back.
  std::string long_value;
  for (int i = 0; long_value.size() < 100000; ++i) long_value += "row" + std::to_string(i) + "é;";
  QelDbError error;
  connection->Execute("DROP TABLE IF EXISTS long_values", error);
  Run(*connection, "CREATE TABLE long_values (v text)");
  Run(*connection, "INSERT INTO long_values VALUES ('" + long_value + "')");
  const std::vector<QelDbRow> rows = Rows(*connection, "SELECT v, length(v) FROM long_values");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0].size(), long_value.size());
  EXPECT_TRUE(rows[0][0] == long_value);
  ASSERT_EQ(0, connection->Commit(error)) << error.message;
}

// Runs last and alone: the server is stopped under an open session.
TEST_F(PostgresConformance, TheServerGoesAwayInTheMiddleOfASession) {
  auto connection = Connect();
  ASSERT_TRUE(connection);
  Run(*connection, "SELECT 1");
  std::ifstream pidFile(Setting("TESSARDBSETUP_PG_PIDFILE"));
  pid_t server = 0;
  ASSERT_TRUE(pidFile >> server) << "no server pid";
  ASSERT_EQ(0, kill(server, SIGQUIT));
  for (int i = 0; i < 100 && kill(server, 0) == 0; ++i) usleep(100000);
  QelDbError error;
  EXPECT_NE(0, connection->Execute("SELECT 1", error));
  EXPECT_FALSE(error.message.empty());
  // Whether the driver still calls a commit of nothing a success varies;
  // it must come back, and the session runs nothing more.
  connection->Commit(error);
  std::vector<QelDbRow> rows;
  EXPECT_NE(0, connection->Query("SELECT 1", rows, error));
  EXPECT_EQ(0, connection->Close());
  EXPECT_FALSE(QelOdbcConnection::Open(
      QelDbDB2, ConnectionString(Setting("TESSARDBSETUP_PG_PASSWORD")), error));
  EXPECT_FALSE(error.message.empty());
}

}  // namespace
