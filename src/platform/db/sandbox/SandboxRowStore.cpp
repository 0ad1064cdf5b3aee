// The rows of every sandbox table, kept in one SQLite table (sbx_rows) by
// object id, and the relations a statement names, made into SQLite SQL over
// it when the statement runs. A write goes through a temporary copy of the
// table with its real definition, so SQLite applies the column types and
// constraints and reports their failures as it would for a table of its own.
#include <algorithm>

#include "SandboxSession.h"

namespace qelsandbox {

namespace {

// Values per stored record: a row of a wider table takes several records
// ("bands") with the same row number.
constexpr std::size_t BandWidth = 32;

// The temporary copy a write works on; SQLite reports constraint failures
// against it ("NOT NULL constraint failed: sbx_stage.NAME").
constexpr const char* Stage = "temp.sbx_stage";

// A relation in translated SQL, resolved to its current form when the
// statement runs (and when a view that holds it is read).
constexpr char Marker = '\x01';

std::string Slot(std::size_t position) {
  return "v" + std::to_string(position % BandWidth + 1);
}

std::string Band(std::size_t band) {
  return "b" + std::to_string(band);
}

std::size_t Bands(std::size_t columns) {
  return std::max<std::size_t>(1, (columns + BandWidth - 1) / BandWidth);
}

// Columns read through a CAST keep the affinity of the table's column, so
// that comparisons with literals convert them as SQLite's own table would.
std::string Read(const ColumnInfo& column, const std::string& value) {
  const std::string affinity = ColumnAffinity(column.typeName);
  return affinity == "BLOB" ? value : "CAST(" + value + " AS " + affinity + ")";
}

// FROM clause joining the bands of a table's rows, and the WHERE that keeps
// its first band.
std::string BandsFrom(long long id, std::size_t bands) {
  const std::string object = std::to_string(id);
  std::string from = "sbx_rows AS b0";
  for (std::size_t band = 1; band < bands; ++band) {
    from += " LEFT JOIN sbx_rows AS " + Band(band) + " ON " + Band(band) +
            ".object_id = " + object + " AND " + Band(band) + ".band = " + std::to_string(band) +
            " AND " + Band(band) + ".row_no = b0.row_no";
  }
  return from + " WHERE b0.object_id = " + object + " AND b0.band = 0";
}

}  // namespace

std::string RelationMarker(long long id) {
  return std::string(1, Marker) + std::to_string(id) + Marker;
}

std::string Session::RowsSql(long long tableId) {
  const std::vector<ColumnInfo> columns = Columns(tableId);
  std::string select;
  for (std::size_t at = 0; at < columns.size(); ++at) {
    select += (select.empty() ? "" : ", ") +
              Read(columns[at], Band(at / BandWidth) + "." + Slot(at)) + " AS " +
              QuoteIdentifier(columns[at].name);
  }
  return "(SELECT " + select + " FROM " + BandsFrom(tableId, Bands(columns.size())) + ")";
}

std::string Session::ViewSql(long long viewId, int depth) {
  // A view dropped under another view leaves it unusable, as a table does.
  const std::optional<std::string> query =
      db_->QueryText("SELECT query FROM sbx_objects WHERE id = " + std::to_string(viewId));
  if (!query)
    throw SqliteFailure{SQLITE_ERROR, "no such table: main.data_" + std::to_string(viewId)};
  std::string names;
  for (const ColumnInfo& column : Columns(viewId)) {
    names += (names.empty() ? "" : ", ") + QuoteIdentifier(column.name);
  }
  return "(WITH sbx_view (" + names + ") AS (" + ExpandRelations(*query, depth + 1) +
         ") SELECT * FROM sbx_view)";
}

std::string Session::ExpandRelations(const std::string& sql, int depth) {
  if (depth > 32) throw SqliteFailure{SQLITE_ERROR, "views nested too deeply"};
  std::string out;
  std::size_t start = 0;
  for (std::size_t open = sql.find(Marker); open != std::string::npos;
       open = sql.find(Marker, start)) {
    const std::size_t close = sql.find(Marker, open + 1);
    const long long id = std::stoll(sql.substr(open + 1, close - open - 1));
    out.append(sql, start, open - start);
    const std::optional<std::string> type =
        db_->QueryText("SELECT type FROM sbx_objects WHERE id = " + std::to_string(id));
    if (!type) throw SqliteFailure{SQLITE_ERROR, "no such table: main.data_" + std::to_string(id)};
    out += *type == "VIEW" ? ViewSql(id, depth) : RowsSql(id);
    start = close + 1;
  }
  return start == 0 ? sql : out.append(sql, start, std::string::npos);
}

bool Session::HasRows(long long tableId) {
  return db_->QueryInt("SELECT EXISTS (SELECT 1 FROM sbx_rows WHERE object_id = " +
                       std::to_string(tableId) + ")") != 0;
}

long long Session::StageRows(long long tableId, std::size_t storedColumns) {
  db_->Exec(std::string("DROP TABLE IF EXISTS ") + Stage);
  db_->Exec(DataTableSql(tableId, Stage));
  // Only the unique indexes constrain rows; the others change no outcome.
  const Rows indexes = db_->QueryRows(
      "SELECT id, definition FROM sbx_objects WHERE type = 'INDEX' AND uniqueness = 1 AND "
      "base_id = " +
      std::to_string(tableId));
  for (const auto& index : indexes) {
    db_->Exec("CREATE UNIQUE INDEX temp." + QuoteIdentifier("index_" + index[0]) +
              " ON sbx_stage (" + index[1] + ")");
  }
  const std::vector<ColumnInfo> columns = Columns(tableId);
  storedColumns = std::min(storedColumns, columns.size());
  std::string targets;
  std::string values;
  for (std::size_t at = 0; at < storedColumns; ++at) {
    targets += ", " + QuoteIdentifier(columns[at].name);
    values += ", " + Band(at / BandWidth) + "." + Slot(at);
  }
  db_->Exec(std::string("INSERT INTO ") + Stage + " (rowid" + targets + ") SELECT b0.row_no" +
            values + " FROM " + BandsFrom(tableId, Bands(storedColumns)));
  return db_->QueryInt(std::string("SELECT IFNULL(max(rowid), 0) FROM ") + Stage);
}

void Session::StoreStagedRows(long long tableId, std::optional<long long> after) {
  const std::string object = std::to_string(tableId);
  if (!after) db_->Exec("DELETE FROM sbx_rows WHERE object_id = " + object);
  const std::string where = after ? " WHERE rowid > " + std::to_string(*after) : "";
  const std::vector<ColumnInfo> columns = Columns(tableId);
  for (std::size_t band = 0; band < Bands(columns.size()); ++band) {
    std::string slots;
    std::string values;
    for (std::size_t at = band * BandWidth; at < std::min(columns.size(), (band + 1) * BandWidth);
         ++at) {
      slots += ", " + Slot(at);
      values += ", " + QuoteIdentifier(columns[at].name);
    }
    db_->Exec("INSERT INTO sbx_rows (object_id, band, row_no" + slots + ") SELECT " + object +
              ", " + std::to_string(band) + ", rowid" + values + " FROM " + Stage + where);
  }
  DropStage();
}

void Session::DropStage() {
  db_->Exec(std::string("DROP TABLE IF EXISTS ") + Stage);
}

}  // namespace qelsandbox
