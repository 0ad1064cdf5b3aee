// Plays a sandbox site's DB2 DDL repository straight through the database
// layer, as the installer would without its wizard around it, and times it.
//
// Usage (after ". SITE/env.sh" and "tessardbsetup-sandbox db reset PDMDB"):
//   raw_ddl_play
// Prints "statements N seconds S cpu C": N statements executed and
// committed, S the wall time and C the processor time of the execution loop
// alone.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/QelDb.h"
#include "platform/db/QelDbStatements.h"
#include "platform/db/QelZepDDLFile.h"
#include "tools/sandbox/ddl/DdlRepository.h"

namespace {

// The answers of the installer's run this is compared with: the database,
// the account, the dictionary owner, the typical tablespace chosen for both
// kinds of table, and the DBA every DB2 statement is played as.
constexpr const char* Database = "PDMDB";
constexpr const char* Account = "PDMADM";
constexpr const char* SchemaOwner = "PDMDICO";
constexpr const char* Tablespace = "USERSPACE1";
constexpr const char* DbaUser = "DB2INST1";
constexpr const char* DbaPassword = "sandbox";

struct Statement {
  int type;
  QelUnicodeString text;
  int length;
};

// Filtered statements in the order the installer plays them; the filter
// runs here so that the timed loop holds only what the DBMS does.
bool LoadStatements(const std::string& repository, std::vector<Statement>& statements) {
  std::vector<std::string> modelers = DdlModelerNames();
  // The compared run leaves the vault unchecked, so its modeler is not played.
  modelers.pop_back();
  for (const std::string& modeler : modelers) {
    for (const DdlFileRole role :
         {DdlFileRole::Base, DdlFileRole::Custo, DdlFileRole::Insert, DdlFileRole::Grant}) {
      const std::string path = repository + "/" + DdlFileName(modeler, role, DdlDialect::Db2);
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
        FilterSQLStatement(QelDbDB2, Account, SchemaOwner, SchemaOwner, Tablespace, Tablespace,
                           order->GetType(), order->GetText(), statement.length, statement.text,
                           decision, buffer);
        if (decision == 1 && statement.type != QelSqlType::ClientCommand) {
          statements.push_back(std::move(statement));
        }
      }
    }
  }
  return true;
}

bool Play(QelDbCursor* cursor, QelDbConnection* connection, const Statement& statement) {
  int errorCode = 0;
  char message[QelDbMessageSize];
  if (ExeSQLStatement(cursor, QelDbDB2, 0, nullptr, statement.type, statement.text,
                      statement.length, errorCode, message) != 0 ||
      CommitStatement(connection, QelDbDB2, 0, 0, errorCode, message) != 0) {
    std::fprintf(stderr, "raw_ddl_play: %s\n  in: %.200s\n", message, statement.text.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main() {
  const char* reffiles = std::getenv("QelReffilesPath");
  if (!reffiles || !std::getenv("TESSARDBSETUP_SANDBOX")) {
    std::fprintf(stderr, "raw_ddl_play: source the sandbox site's env.sh first\n");
    return 2;
  }
  // The son of the wizard gets the instance from its launcher; env.sh does
  // not export it.
  setenv("DB2INSTANCE", "db2inst1", 0);

  std::vector<Statement> statements;
  if (!LoadStatements(std::string(reffiles) + "/DBMS/ddl", statements)) return 1;

  std::unique_ptr<QelDbConnection> connection;
  std::unique_ptr<QelDbCursor> cursor;
  int errorCode = 0;
  char message[QelDbMessageSize];
  if (GetDBConnection(1, 1, QelDbDB2, Database, DbaUser, DbaPassword, connection, cursor, errorCode,
                      message) != 0) {
    std::fprintf(stderr, "raw_ddl_play: %s\n", message);
    return 1;
  }
  // The installer grants this before it plays anything: the files then run
  // against the same database state, outside the timed loop.
  const std::string grant =
      std::string("GRANT DBADM, CONNECT, CREATETAB ON DATABASE TO USER ") + Account;
  if (!Play(cursor.get(), connection.get(),
            {QelSqlType::AdministratorGrant, grant, static_cast<int>(grant.size())})) {
    return 1;
  }

  const auto start = std::chrono::steady_clock::now();
  const std::clock_t cpuStart = std::clock();
  for (const Statement& statement : statements) {
    if (!Play(cursor.get(), connection.get(), statement)) return 1;
  }
  const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  connection->Close();
  std::printf("statements %zu seconds %.3f cpu %.3f\n", statements.size(), elapsed.count(), cpu);
  return 0;
}
