// How much tablespace the repository needs, estimated from the statements
// of its DDL and DML files before any of them is played. docs/validation.md
// gives the rule and why its sizes were chosen.
#pragma once

#include <string_view>

struct ZEP2SpaceEstimate {
  int tables = 0;
  int indexes = 0;
  int largeColumns = 0;
  int rows = 0;

  // The typical tablespace: tables, indexes and start-up rows.
  long long DataKilobytes() const;
  // The BLOB tablespace: the large-object columns.
  long long BlobKilobytes() const;
};

// The first allocation of each object as the DBMSs make it in the typical
// tablespaces, and the room of one start-up row.
constexpr long long ZEP2TableKilobytes = 64;
constexpr long long ZEP2IndexKilobytes = 64;
constexpr long long ZEP2LargeColumnKilobytes = 256;
constexpr long long ZEP2RowKilobytes = 1;
// Headroom over the sum, in percent: the first rows of the PDM's own use.
constexpr long long ZEP2SpaceMarginPercent = 25;

// Counts what one statement creates or inserts into estimate; statements
// that allocate nothing (grants, comments, drops) count for nothing.
void ZEP2EstimateStatement(std::string_view statement, ZEP2SpaceEstimate& estimate);
