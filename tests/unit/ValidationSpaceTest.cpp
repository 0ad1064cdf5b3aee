// The repository's space estimate: what each statement allocates, read from
// its words and not from text inside quotes or names that merely look like
// types.
#include <gtest/gtest.h>

#include "engine/ZEP2ValidationSpace.h"

namespace {

ZEP2SpaceEstimate Estimate(std::initializer_list<const char*> statements) {
  ZEP2SpaceEstimate estimate;
  for (const char* statement : statements) ZEP2EstimateStatement(statement, estimate);
  return estimate;
}

TEST(ValidationSpace, CountsTablesIndexesLargeColumnsAndRows) {
  const ZEP2SpaceEstimate estimate = Estimate({
      "CREATE TABLE $(SCHEMA).PART (ID INTEGER NOT NULL, DOC BLOB(10M), NOTE CLOB) IN "
      "$(TABLESPACE) LONG IN $(BLOB_TABLESPACE)",
      "  create   unique index $(SCHEMA).PART_ID on $(SCHEMA).PART (ID)",
      "CREATE INDEX $(SCHEMA).PART_DOC ON $(SCHEMA).PART (DOC)",
      "create table $(SCHEMA).LEGACY (ID NUMBER, IMAGE LONG RAW)",
      "INSERT INTO $(SCHEMA).PART (ID) VALUES (1)",
      "insert into $(SCHEMA).PART (ID) VALUES (2)",
  });
  EXPECT_EQ(2, estimate.tables);
  EXPECT_EQ(2, estimate.indexes);
  EXPECT_EQ(3, estimate.largeColumns);
  EXPECT_EQ(2, estimate.rows);
}

TEST(ValidationSpace, StatementsThatAllocateNothingCountForNothing) {
  const ZEP2SpaceEstimate estimate = Estimate({
      "GRANT SELECT ON $(SCHEMA).PART TO PUBLIC",
      "DROP TABLE $(SCHEMA).PART",
      "CREATE VIEW $(SCHEMA).V AS SELECT 'CREATE TABLE BLOB' AS X FROM $(SCHEMA).PART",
      "CREATE SEQUENCE $(SCHEMA).S",
      "COMMENT ON TABLE $(SCHEMA).PART IS 'holds a BLOB'",
      "CREATE",
      "",
      // A column whose name only contains a type's letters, and a type named
      // in a quoted default.
      "CREATE TABLE $(SCHEMA).T (BLOBS_SEEN INTEGER, KIND VARCHAR(8) DEFAULT 'BLOB', "
      "\"CLOB\" INTEGER)",
  });
  EXPECT_EQ(1, estimate.tables);
  EXPECT_EQ(0, estimate.indexes);
  EXPECT_EQ(0, estimate.largeColumns);
  EXPECT_EQ(0, estimate.rows);
}

TEST(ValidationSpace, KilobytesAddTheMarginRoundedUp) {
  ZEP2SpaceEstimate estimate;
  EXPECT_EQ(0, estimate.DataKilobytes());
  EXPECT_EQ(0, estimate.BlobKilobytes());
  estimate.tables = 10;
  estimate.indexes = 5;
  estimate.rows = 3;
  estimate.largeColumns = 2;
  const long long data = 10 * ZEP2TableKilobytes + 5 * ZEP2IndexKilobytes + 3 * ZEP2RowKilobytes;
  EXPECT_EQ(data + (data * ZEP2SpaceMarginPercent + 99) / 100, estimate.DataKilobytes());
  EXPECT_EQ(2 * ZEP2LargeColumnKilobytes * (100 + ZEP2SpaceMarginPercent) / 100,
            estimate.BlobKilobytes());
  estimate = ZEP2SpaceEstimate();
  estimate.rows = 1;
  // One kilobyte and a quarter is two: an estimate never rounds down.
  EXPECT_EQ(2, estimate.DataKilobytes());
}

}  // namespace
