// Parse throughput of the DDL file parser on a realistic generated schema, and
// the cost of filtering one statement before it is played.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/db/QelDbStatements.h"
#include "platform/db/QelZepDDLFile.h"

namespace {

// About 10 MB in the shape the modelers ship: commented tables with keys,
// indexes, views, and long runs of inserts whose strings hold ';' and "--".
std::string GenerateSchema(bool oracle) {
  std::string script;
  script.reserve(11 * 1024 * 1024);
  script +=
      oracle ? "SET ECHO OFF\nPROMPT Creating the schema\n" : "CONNECT TO PDMDB USER $(ACCOUNT);\n";
  for (int table = 0; script.size() < 10 * 1024 * 1024; ++table) {
    const std::string name = "$(SCHEMA).T_ITEM_" + std::to_string(table);
    script += "-- Items of family " + std::to_string(table) + "\n";
    script += "CREATE TABLE " + name +
              " (\n"
              "  ID        INTEGER NOT NULL,   -- surrogate key\n"
              "  LABEL     VARCHAR(128) DEFAULT 'none; yet',\n"
              "  CREATED   TIMESTAMP,\n"
              "  PRIMARY KEY (ID)\n"
              ") " +
              (oracle ? "TABLESPACE" : "IN") + " $(TABLESPACE);\n";
    script += "CREATE UNIQUE INDEX $(SCHEMA).IX_ITEM_" + std::to_string(table) + " ON " + name +
              " (LABEL);\n";
    script += "CREATE VIEW $(SCHEMA).V_ITEM_" + std::to_string(table) + " AS SELECT ID, LABEL\n" +
              "  FROM " + name + ";\n";
    for (int row = 0; row < 40; ++row) {
      script += "INSERT INTO " + name + " (ID, LABEL) VALUES (" + std::to_string(row) +
                ", 'row -- " + std::to_string(row) + "; it''s fine');\n";
    }
    script += "GRANT SELECT ON " + name + " TO $(ACCOUNT);\n\n";
  }
  script += oracle ? "EXIT\n" : "CONNECT RESET;\nTERMINATE;\n";
  return script;
}

void BM_ParseDdlFile(benchmark::State& state) {
  const bool oracle = state.range(0) == 1;
  const std::string script = GenerateSchema(oracle);
  const QelUnicodeString path = oracle ? "ZEPADMIN.sql" : "ZEPADMIN.clp";
  for (auto _ : state) {
    const QelZepDDLFile file(script.data(), script.size(), path);
    benchmark::DoNotOptimize(file.GetSQLOrderColl().Size());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(script.size()));
  state.SetLabel(oracle ? "Oracle .sql" : "DB2 .clp");
}
BENCHMARK(BM_ParseDdlFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_FilterSQLStatement(benchmark::State& state) {
  const std::string script = GenerateSchema(false);
  const QelZepDDLFile file(script.data(), script.size(), "ZEPADMIN.clp");
  const auto& orders = file.GetSQLOrderColl();
  char buffer[QelStatementBufferSize];
  QelUnicodeString filtered;
  int length = 0;
  int decision = 0;
  int position = 0;
  for (auto _ : state) {
    position = position % orders.Size() + 1;
    const QelZepSQLOrder* order = orders(position);
    benchmark::DoNotOptimize(FilterSQLStatement(1, "pdmadm", "zepdico", "zepdico", "TBS_DATA",
                                                "TBS_BLOB", order->GetType(), order->GetText(),
                                                length, filtered, decision, buffer));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FilterSQLStatement);

}  // namespace
