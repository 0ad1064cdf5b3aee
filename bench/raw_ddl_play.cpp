// Plays a sandbox site's DDL repository straight through the database layer,
// as the installer would without its wizard around it, and times it; then,
// on request, the SQL the sandbox ran replayed on SQLite alone.
//
// Usage (after ". SITE/env.sh"; the database is reset first):
//   raw_ddl_play [db2|oracle] [--physical]
// Prints "statements N seconds S cpu C": N statements executed and
// committed, S the wall time and C the processor time of the execution loop
// alone, and "rate R statements/s". With --physical: the database is reset
// again and the statements the sandbox ran on SQLite while playing (every
// write: the catalogue entries of tables, indexes and views, the rows, with
// the same BEGIN and COMMIT around each statement; not its look-ups and
// savepoints) run again on one SQLite connection: "sqlite statements M seconds S cpu C",
// and "physical ratio X": how many times longer the sandbox took than SQLite
// alone for the same work.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/QelDb.h"
#include "platform/db/QelDbStatements.h"
#include "platform/db/QelZepDDLFile.h"
#include "sandbox/dbms/SandboxColumnChecks.h"
#include "sandbox/dbms/SandboxSite.h"
#include "sandbox/dbms/SandboxSqlite.h"
#include "sandbox/tool/ddl/DdlRepository.h"

namespace {

// The answers of the installer's run this is compared with: the database,
// the account, the dictionary owner, the typical tablespace chosen for both
// kinds of table, and who plays the statements: the DBA under DB2, the
// dictionary owner on its own connection under Oracle.
struct Setup {
  int dbms;
  DdlDialect dialect;
  const char* database;
  const char* tablespace;
  const char* player;
  const char* password;
};
constexpr Setup Db2Setup{QelDbDB2, DdlDialect::Db2, "PDMDB", "USERSPACE1", "DB2INST1", "sandbox"};
constexpr Setup OracleSetup{QelDbOracle, DdlDialect::Oracle, "PDMORA",
                            "USERS",     "PDMDICO",          "sandbox"};
constexpr const char* Account = "PDMADM";
constexpr const char* SchemaOwner = "PDMDICO";

struct Statement {
  int type;
  QelUnicodeString text;
  int length;
};

struct Timing {
  double wall;
  double cpu;
};

template <class Body>
Timing Timed(Body&& body) {
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t cpuStart = std::clock();
  body();
  const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  return {elapsed.count(), cpu};
}

// What the sandbox runs on SQLite while the timed loop plays.
std::vector<std::string> ranOnSqlite;
bool recording = false;

// Whether a statement only reads (the sandbox's catalogue look-ups and
// privilege checks, the queries of the repository).
bool OnlyReads(const char* sql) {
  return std::strncmp(sql, "SELECT", 6) == 0 || std::strncmp(sql, "WITH", 4) == 0 ||
         std::strncmp(sql, "VALUES", 6) == 0;
}

// What the sandbox writes to its storage (the catalogue entries that are its
// tables, views and indexes, the rows and their checks) is kept; its
// look-ups and savepoints stay out: the replay holds what any storage of the
// same objects and rows would have to do.
void Record(const char* sql) {
  if (!recording || OnlyReads(sql) || std::strncmp(sql, "SAVEPOINT", 9) == 0 ||
      std::strncmp(sql, "RELEASE", 7) == 0 || std::strncmp(sql, "ROLLBACK TO", 11) == 0 ||
      std::strncmp(sql, "PRAGMA", 6) == 0) {
    return;
  }
  ranOnSqlite.emplace_back(sql);
}

// Filtered statements in the order the installer plays them; the filter
// runs here so that the timed loop holds only what the DBMS does.
bool LoadStatements(const Setup& setup, const std::string& repository,
                    std::vector<Statement>& statements) {
  std::vector<std::string> modelers = DdlModelerNames();
  // The compared run leaves the vault unchecked, so its modeler is not played.
  modelers.pop_back();
  for (const std::string& modeler : modelers) {
    for (const DdlFileRole role :
         {DdlFileRole::Base, DdlFileRole::Custo, DdlFileRole::Insert, DdlFileRole::Grant}) {
      const std::string path = repository + "/" + DdlFileName(modeler, role, setup.dialect);
      std::ifstream file(path, std::ios::binary);
      if (!file) {
        // custo_ and insert_ files are optional, as for the installer.
        if (role == DdlFileRole::Base || role == DdlFileRole::Grant) {
          std::fprintf(stderr, "raw_ddl_play: cannot read %s\n", path.c_str());
          return false;
        }
        continue;
      }
      const std::string content{std::istreambuf_iterator<char>(file),
                                std::istreambuf_iterator<char>()};
      const QelZepDDLFile parsed(content.data(), content.size(), path);
      const auto& orders = parsed.GetSQLOrderColl();
      for (int position = 1; position <= orders.Size(); ++position) {
        const QelZepSQLOrder* order = orders(position);
        Statement statement{order->GetType(), {}, 0};
        int decision = 0;
        char buffer[QelStatementBufferSize];
        FilterSQLStatement(setup.dbms, Account, SchemaOwner, SchemaOwner, setup.tablespace,
                           setup.tablespace, order->GetType(), order->GetText(), statement.length,
                           statement.text, decision, buffer);
        if (decision == 1 && statement.type != QelSqlType::ClientCommand) {
          statements.push_back(std::move(statement));
        }
      }
    }
  }
  return true;
}

struct Connection {
  std::unique_ptr<QelDbConnection> connection;
  std::unique_ptr<QelDbCursor> cursor;
};

bool Connect(const Setup& setup, const char* user, const char* password, Connection& opened) {
  int errorCode = 0;
  char message[QelDbMessageSize];
  if (GetDBConnection(1, 1, setup.dbms, setup.database, user, password, opened.connection,
                      opened.cursor, errorCode, message) != 0) {
    std::fprintf(stderr, "raw_ddl_play: %s\n", message);
    return false;
  }
  return true;
}

bool Play(const Setup& setup, Connection& on, const Statement& statement) {
  int errorCode = 0;
  char message[QelDbMessageSize];
  if (ExeSQLStatement(on.cursor.get(), setup.dbms, 0, nullptr, statement.type, statement.text,
                      statement.length, errorCode, message) != 0 ||
      CommitStatement(on.connection.get(), setup.dbms, 0, 0, errorCode, message) != 0) {
    std::fprintf(stderr, "raw_ddl_play: %s\n  in: %.200s\n", message, statement.text.c_str());
    return false;
  }
  return true;
}

bool PlayText(const Setup& setup, Connection& on, const std::string& text) {
  return Play(setup, on, {QelSqlType::AdministratorGrant, text, static_cast<int>(text.size())});
}

// What the installer has done before it plays anything, outside the timed
// loop: the account's authorities (DB2), or the two users (Oracle). Then
// the connection the statements are played on.
bool Prepare(const Setup& setup, Connection& player) {
  if (setup.dbms == QelDbDB2) {
    return Connect(setup, setup.player, setup.password, player) &&
           PlayText(setup, player,
                    std::string("GRANT DBADM, CONNECT, CREATETAB ON DATABASE TO USER ") + Account);
  }
  Connection dba;
  if (!Connect(setup, "SYSTEM", "sandbox", dba)) return false;
  for (const char* user : {SchemaOwner, Account}) {
    const std::string name = user;
    if (!PlayText(setup, dba,
                  "CREATE USER " + name + " IDENTIFIED BY \"" + setup.password +
                      "\" DEFAULT TABLESPACE " + setup.tablespace + " QUOTA UNLIMITED ON " +
                      setup.tablespace) ||
        !PlayText(setup, dba, "GRANT CONNECT, RESOURCE TO " + name)) {
      return false;
    }
  }
  dba.connection->Close();
  return Connect(setup, setup.player, setup.password, player);
}

qelsandbox::DatabaseLocation Location(const Setup& setup, const std::string& site) {
  return setup.dbms == QelDbDB2 ? qelsandbox::Db2Location(site, "db2inst1", setup.database)
                                : qelsandbox::OracleLocation(site, setup.database);
}

// The recorded SQL on one SQLite connection opened as the sandbox opens its
// own (WAL, synchronous NORMAL), on the database reset again.
bool Replay(const std::string& file, Timing& timing) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "raw_ddl_play: cannot open %s\n", file.c_str());
    sqlite3_close_v2(db);
    return false;
  }
  sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
  // The sandbox's tables check their rows' values with this function.
  qelsandbox::RegisterColumnChecks(db);
  bool ok = true;
  timing = Timed([&] {
    for (const std::string& sql : ranOnSqlite) {
      char* error = nullptr;
      if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "raw_ddl_play: SQLite: %s\n  in: %.200s\n", error ? error : "?",
                     sql.c_str());
        sqlite3_free(error);
        ok = false;
        return;
      }
    }
  });
  sqlite3_close_v2(db);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const Setup* setup = &Db2Setup;
  bool physical = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "oracle") {
      setup = &OracleSetup;
    } else if (argument == "--physical") {
      physical = true;
    } else if (argument != "db2") {
      std::fprintf(stderr, "usage: raw_ddl_play [db2|oracle] [--physical]\n");
      return 2;
    }
  }
  const char* reffiles = std::getenv("QelReffilesPath");
  const char* site = std::getenv("TESSARDBSETUP_SANDBOX");
  if (!reffiles || !site) {
    std::fprintf(stderr, "raw_ddl_play: source the sandbox site's env.sh first\n");
    return 2;
  }
  // The son of the wizard gets these from its launcher; env.sh does not
  // export them.
  setenv("DB2INSTANCE", "db2inst1", 0);
  setenv("TNS_ADMIN", (std::string(site) + "/oracle/network/admin").c_str(), 0);

  std::vector<Statement> statements;
  if (!LoadStatements(*setup, std::string(reffiles) + "/DBMS/ddl", statements)) return 1;
  const qelsandbox::DatabaseLocation location = Location(*setup, site);
  qelsandbox::ResetDatabase(location);
  if (physical) qelsandbox::SetSqlObserver(Record);

  Connection player;
  if (!Prepare(*setup, player)) return 1;
  bool ok = true;
  recording = true;
  const Timing played = Timed([&] {
    for (const Statement& statement : statements) {
      if (!(ok = Play(*setup, player, statement))) return;
    }
  });
  recording = false;
  if (!ok) return 1;
  player.connection->Close();
  std::printf("statements %zu seconds %.3f cpu %.3f\n", statements.size(), played.wall, played.cpu);
  std::printf("rate %.0f statements/s\n", statements.size() / played.wall);
  if (!physical) return 0;

  qelsandbox::SetSqlObserver(nullptr);
  qelsandbox::ResetDatabase(location);
  Timing replayed{};
  if (!Replay(location.file, replayed)) return 1;
  std::printf("sqlite statements %zu seconds %.3f cpu %.3f\n", ranOnSqlite.size(), replayed.wall,
              replayed.cpu);
  std::printf("physical ratio %.2f (wall), %.2f (cpu): sandbox time / SQLite time\n",
              played.wall / replayed.wall, played.cpu / replayed.cpu);
  return 0;
}
