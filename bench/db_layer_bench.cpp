// Statements per second through the database access layer against the
// sandbox DBMS: one table, then inserts committed one by one, as the
// installer plays a modeler's insert file; and the catalogue look-up the
// installer makes per modeler.
#include <benchmark/benchmark.h>
#include <crypt.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/db/QelDb.h"
#include "sandbox/dbms/SandboxSite.h"

namespace {

// A throw-away site with a DB2 database and an Oracle service, removed at
// exit.
class BenchSite {
 public:
  BenchSite() {
    std::string pattern = (std::filesystem::temp_directory_path() / "dbbench.XXXXXX").string();
    path_ = mkdtemp(pattern.data()) ? pattern : "";
    std::filesystem::create_directories(path_ + "/etc");
    crypt_data data{};
    std::ofstream(path_ + "/etc/passwd") << "db2inst1:x:2000:2000::/home/db2inst1:/bin/ksh\n";
    std::ofstream(path_ + "/etc/shadow")
        << "db2inst1:" << crypt_r("db2pass", "$6$bench$", &data) << ":19000:0:99999:7:::\n";
    std::ofstream(path_ + "/tnsnames.ora") << "ORCL =\n  (DESCRIPTION = )\n";
    setenv("TESSARDBSETUP_SANDBOX", path_.c_str(), 1);
    setenv("DB2INSTANCE", "db2inst1", 1);
    setenv("TNS_ADMIN", path_.c_str(), 1);
    qelsandbox::CreateDatabase(qelsandbox::Db2Location(path_, "db2inst1", "SAMPLE"), "", "");
    qelsandbox::CreateDatabase(qelsandbox::OracleLocation(path_, "ORCL"), "", "manager");
  }
  ~BenchSite() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  BenchSite(const BenchSite&) = delete;
  BenchSite& operator=(const BenchSite&) = delete;

 private:
  std::string path_;
};

struct Session {
  std::unique_ptr<QelDbConnection> connection;
  std::unique_ptr<QelDbCursor> cursor;
};

Session Open(int dbms) {
  static const BenchSite site;
  Session session;
  int errorCode = 0;
  char message[QelDbMessageSize];
  GetDBConnection(1, 1, dbms, dbms == QelDbDB2 ? "SAMPLE" : "ORCL",
                  dbms == QelDbDB2 ? "db2inst1" : "system",
                  dbms == QelDbDB2 ? "db2pass" : "manager", session.connection, session.cursor,
                  errorCode, message);
  return session;
}

bool Play(Session& session, int dbms, const std::string& statement) {
  int errorCode = 0;
  char message[QelDbMessageSize];
  return ExeSQLStatement(session.cursor.get(), dbms, 0, nullptr, 6, statement,
                         static_cast<int>(statement.size()), errorCode, message) == 0 &&
         CommitStatement(session.connection.get(), dbms, 0, 0, errorCode, message) == 0;
}

void BM_InsertWithCommit(benchmark::State& state) {
  const int dbms = static_cast<int>(state.range(0));
  Session session = Open(dbms);
  if (!session.connection) {
    state.SkipWithError("no sandbox connection");
    return;
  }
  static int tables = 0;
  const std::string table = "BENCH.ITEMS" + std::to_string(++tables);
  if (dbms == QelDbOracle)
    Play(session, dbms, "CREATE USER BENCH IDENTIFIED BY b QUOTA UNLIMITED ON USERS");
  if (!Play(session, dbms,
            "CREATE TABLE " + table +
                " (ID INTEGER NOT NULL PRIMARY KEY, LABEL VARCHAR(64), CREATED TIMESTAMP)")) {
    state.SkipWithError("cannot create the table");
    return;
  }
  long long id = 0;
  for (auto _ : state) {
    const std::string number = std::to_string(++id);
    if (!Play(session, dbms,
              "INSERT INTO " + table + " (ID, LABEL) VALUES (" + number + ", 'item " + number +
                  "')")) {
      state.SkipWithError("insert failed");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(dbms == QelDbDB2 ? "DB2" : "Oracle");
}
BENCHMARK(BM_InsertWithCommit)->Arg(QelDbDB2)->Arg(QelDbOracle);

void BM_IsTableInDB(benchmark::State& state) {
  Session session = Open(QelDbDB2);
  Play(session, QelDbDB2, "CREATE TABLE ZEPDICO.PEOPLE (ID INTEGER)");
  int found = 0;
  int errorCode = 0;
  char message[QelDbMessageSize];
  for (auto _ : state) {
    IsTableInDB(session.cursor.get(), session.connection.get(), QelDbDB2, "ZEPDICO", "PEOPLE",
                found, errorCode, message);
    benchmark::DoNotOptimize(found);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IsTableInDB);

}  // namespace
