// Plays a file of SQL statements through the database layer's ODBC
// connection, each statement executed and committed on its own, as
// `psql -f` runs the same file in its default autocommit mode; used by
// odbc_vs_psql.sh to compare the layer with the server's own client.
//
// Usage: odbc_statement_play FILE CONNECTION
//   FILE        one statement per line, its terminating ';' optional
//   CONNECTION  the ODBC connection string without its password, which is
//               read from TESSARDBSETUP_BENCH_PASSWORD (never printed)
// Prints "statements N seconds S cpu C rate R statements/s": the execution
// loop alone, wall and processor time.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "platform/db/QelDb.h"
#include "platform/db/odbc/QelOdbcConnection.h"

namespace {

std::vector<std::string> ReadStatements(const char* path) {
  std::vector<std::string> statements;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    while (!line.empty() && (line.back() == ';' || line.back() == ' ' || line.back() == '\r')) {
      line.pop_back();
    }
    if (!line.empty()) statements.push_back(line);
  }
  return statements;
}

double CpuSeconds() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: odbc_statement_play FILE CONNECTION\n");
    return 2;
  }
  const std::vector<std::string> statements = ReadStatements(argv[1]);
  if (statements.empty()) {
    std::fprintf(stderr, "odbc_statement_play: no statement in %s\n", argv[1]);
    return 2;
  }
  const char* password = std::getenv("TESSARDBSETUP_BENCH_PASSWORD");
  QelDbError error;
  auto connection = QelOdbcConnection::Open(
      QelDbDB2, std::string(argv[2]) + ";PWD=" + QelOdbcAttributeValue(password ? password : ""),
      error);
  if (!connection) {
    std::fprintf(stderr, "odbc_statement_play: %s\n", error.message.c_str());
    return 1;
  }
  const auto start = std::chrono::steady_clock::now();
  const double cpuStart = CpuSeconds();
  for (const std::string& statement : statements) {
    if (connection->ExecuteCommitted(statement, error) != 0) {
      std::fprintf(stderr, "odbc_statement_play: %s\n", error.message.c_str());
      return 1;
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double cpu = CpuSeconds() - cpuStart;
  std::printf("statements %zu seconds %.3f cpu %.3f rate %.0f statements/s\n", statements.size(),
              seconds, cpu, statements.size() / seconds);
  return 0;
}
