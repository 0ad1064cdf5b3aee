// The rows of every sandbox table, kept in one SQLite table (sbx_rows) by
// object id, and the relations a statement names, made into SQLite SQL over
// it when the statement runs. A write goes through a temporary copy of the
// table with its real definition, so SQLite applies the column types and
// constraints and reports their failures as it would for a table of its own.
#include <algorithm>
#include <charconv>

#include "SandboxSession.h"

namespace qelsandbox {

namespace {

// Values per stored record: a row of a wider table takes several records
// ("bands") with the same row number.
constexpr std::size_t BandWidth = 32;

// Stages kept for the tables written last: a repository's inserts come
// table by table. Kept stages change SQLite's temporary schema only when a
// new table is written, and few of them keep that schema small.
constexpr std::size_t StagesKept = 4;

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

std::string StageName(long long tableId) {
  return "temp.sbx_stage_" + std::to_string(tableId);
}

std::string RelationMarker(long long id) {
  return std::string(1, Marker) + std::to_string(id) + Marker;
}

std::string StringLiteral(std::string_view text) {
  std::size_t at = text.find(Marker);
  if (at == std::string_view::npos) return QuoteString(text);
  std::string pieces = "(" + QuoteString(text.substr(0, at));
  for (; at != std::string_view::npos; at = text.find(Marker, at + 1)) {
    const std::size_t next = text.find(Marker, at + 1);
    pieces += " || char(1) || " + QuoteString(text.substr(at + 1, next - at - 1));
  }
  return pieces + ")";
}

void RejectMarkerBytes(Dialect dialect, const std::vector<Token>& tokens) {
  for (const Token& token : tokens) {
    if (token.kind == TokenKind::String || token.text.find(Marker) == std::string::npos) continue;
    Raise(dialect == Dialect::Db2
              ? Db2Error(7, "The character X'01' is not valid in the statement.", "42601")
              : OraError(911, "invalid character"));
  }
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
  SqliteStatement view = db_->Prepare("SELECT query FROM sbx_objects WHERE id = ?1");
  const std::optional<std::string> query =
      view.Bind(1, viewId).Step() ? view.OptionalText(0) : std::nullopt;
  if (!query)
    throw SqliteFailure{SQLITE_ERROR, "no such table: main.data_" + std::to_string(viewId)};
  std::string names;
  for (const ColumnInfo& column : Columns(viewId)) {
    names += (names.empty() ? "" : ", ") + QuoteIdentifier(column.name);
  }
  return "(WITH sbx_view (" + names + ") AS (" + ExpandRelations(*query, depth + 1) +
         ") SELECT * FROM sbx_view)";
}

// What stands between two markers must be an object id: a query stored
// damaged must not be expanded into another relation, nor read past its end.
static long long MarkedId(const std::string& sql, std::size_t open, std::size_t close) {
  long long id = 0;
  const char* first = sql.data() + open + 1;
  const char* last = sql.data() + (close == std::string::npos ? sql.size() : close);
  const std::from_chars_result read = std::from_chars(first, last, id);
  if (close == std::string::npos || read.ptr != last || read.ec != std::errc() || id <= 0) {
    // Not quoted: what follows a damaged marker may be any value's text.
    throw SqliteFailure{SQLITE_ERROR,
                        "a relation reference of the statement is damaged: no object id between "
                        "its markers"};
  }
  return id;
}

std::string Session::ExpandRelations(const std::string& sql, int depth) {
  if (depth > 32) throw SqliteFailure{SQLITE_ERROR, "views nested too deeply"};
  std::string out;
  std::size_t start = 0;
  for (std::size_t open = sql.find(Marker); open != std::string::npos;
       open = sql.find(Marker, start)) {
    const std::size_t close = sql.find(Marker, open + 1);
    const long long id = MarkedId(sql, open, close);
    out.append(sql, start, open - start);
    SqliteStatement object = db_->Prepare("SELECT type FROM sbx_objects WHERE id = ?1");
    const std::optional<std::string> type =
        object.Bind(1, id).Step() ? std::optional<std::string>(object.Text(0)) : std::nullopt;
    if (!type) throw SqliteFailure{SQLITE_ERROR, "no such table: main.data_" + std::to_string(id)};
    out += *type == "VIEW" ? ViewSql(id, depth) : RowsSql(id);
    start = close + 1;
  }
  return start == 0 ? sql : out.append(sql, start, std::string::npos);
}

bool Session::HasRows(long long tableId) {
  SqliteStatement rows =
      db_->Prepare("SELECT EXISTS (SELECT 1 FROM sbx_rows WHERE object_id = ?1)");
  rows.Bind(1, tableId).Step();
  return rows.Int(0) != 0;
}

void Session::PrepareStage(long long tableId, const std::vector<ColumnInfo>& columns) {
  const std::string stage = StageName(tableId);
  const std::string table = DataTableSql(tableId, columns, stage);
  // Only the unique indexes constrain rows; the others change no outcome.
  std::string definition = table;
  std::vector<std::string> indexes;
  SqliteStatement unique = db_->Prepare(
      "SELECT id, definition FROM sbx_objects WHERE type = 'INDEX' AND uniqueness = 1 AND "
      "base_id = ?1 ORDER BY id");
  unique.Bind(1, tableId);
  while (unique.Step()) {
    indexes.push_back("CREATE UNIQUE INDEX temp." + QuoteIdentifier("index_" + unique.Text(0)) +
                      " ON " + QuoteIdentifier(stage.substr(stage.find('.') + 1)) + " (" +
                      unique.Text(1) + ")");
    definition += ";" + indexes.back();
  }
  if (ReuseStage(tableId, definition)) return;
  db_->Exec("DROP TABLE IF EXISTS " + stage);
  db_->Exec(table);
  for (const std::string& index : indexes) db_->Exec(index);
  stages_.insert(stages_.begin(), {tableId, definition});
  if (stages_.size() > StagesKept) {
    db_->Exec("DROP TABLE IF EXISTS " + StageName(stages_.back().first));
    stages_.pop_back();
  }
}

void Session::StageRows(long long tableId, std::size_t storedColumns) {
  const std::vector<ColumnInfo> columns = Columns(tableId);
  PrepareStage(tableId, columns);
  storedColumns = std::min(storedColumns, columns.size());
  std::string targets;
  std::string values;
  for (std::size_t at = 0; at < storedColumns; ++at) {
    targets += ", " + QuoteIdentifier(columns[at].name);
    values += ", " + Band(at / BandWidth) + "." + Slot(at);
  }
  db_->Prepare("INSERT INTO " + StageName(tableId) + " (rowid" + targets + ") SELECT b0.row_no" +
               values + " FROM " + BandsFrom(tableId, Bands(storedColumns)))
      .Step();
}

void Session::CheckStoredKeys(long long tableId, const std::vector<ColumnInfo>& columns) {
  std::vector<std::string> keys;
  SqliteStatement declared = db_->Prepare(
      "SELECT columns FROM sbx_constraints WHERE object_id = ?1 AND kind IN ('P', 'U') UNION ALL "
      "SELECT columns FROM sbx_objects WHERE type = 'INDEX' AND uniqueness = 1 AND base_id = ?1");
  declared.Bind(1, tableId);
  while (declared.Step()) keys.push_back(declared.Text(0));
  const std::string stage = StageName(tableId);
  const std::string bare = stage.substr(stage.find('.') + 1);
  for (const std::string& key : keys) {
    // Stored values and the stage's have both been through the column's
    // type: they compare as stored, and a NULL matches nothing.
    std::string match;
    std::string failed;
    std::size_t bands = 1;
    for (std::size_t start = 0; start <= key.size();) {
      const std::size_t end = std::min(key.find('\x1f', start), key.size());
      const std::string name = key.substr(start, end - start);
      start = end + 1;
      const auto column = std::find_if(columns.begin(), columns.end(),
                                       [&name](const ColumnInfo& c) { return c.name == name; });
      // A key kept from before its column was lost (a damaged catalogue)
      // checks nothing: the write is refused rather than let through.
      if (column == columns.end()) {
        throw SqliteFailure{SQLITE_ERROR, "a unique key of table " + std::to_string(tableId) +
                                              " names the column \"" + name +
                                              "\" the table does not have"};
      }
      const std::size_t at = static_cast<std::size_t>(column - columns.begin());
      bands = std::max(bands, at / BandWidth + 1);
      match += " AND " + Band(at / BandWidth) + "." + Slot(at) + " = s." + QuoteIdentifier(name);
      failed += (failed.empty() ? "" : ", ") + bare + "." + name;
    }
    SqliteStatement duplicate =
        db_->Prepare("SELECT 1 FROM " + stage + " AS s WHERE EXISTS (SELECT 1 FROM " +
                     BandsFrom(tableId, bands) + match + ") LIMIT 1");
    if (duplicate.Step()) {
      throw SqliteFailure{SQLITE_CONSTRAINT_UNIQUE, "UNIQUE constraint failed: " + failed};
    }
  }
}

void Session::InsertStaged(const std::string& sql, long long tableId) {
  const std::vector<ColumnInfo> columns = Columns(tableId);
  // The stage starts empty: what the new rows must not repeat is looked up
  // in the stored rows by key, so an insert costs the same in a table of
  // any size.
  PrepareStage(tableId, columns);
  db_->Exec(sql);
  CheckStoredKeys(tableId, columns);
  SqliteStatement last =
      db_->Prepare("SELECT IFNULL(max(row_no), 0) FROM sbx_rows WHERE object_id = ?1 AND band = 0");
  last.Bind(1, tableId).Step();
  StoreStagedRows(tableId, columns, false, last.Int(0));
}

bool Session::ReuseStage(long long tableId, const std::string& definition) {
  const auto kept = std::find_if(stages_.begin(), stages_.end(),
                                 [tableId](const auto& stage) { return stage.first == tableId; });
  if (kept == stages_.end()) return false;
  const bool same = kept->second == definition;
  stages_.erase(kept);
  if (!same) return false;
  try {
    db_->Prepare("DELETE FROM " + StageName(tableId)).Step();
  } catch (const SqliteFailure&) {
    // A rollback took it away.
    return false;
  }
  stages_.insert(stages_.begin(), {tableId, definition});
  return true;
}

void Session::StoreStagedRows(long long tableId, const std::vector<ColumnInfo>& columns,
                              bool replace, long long offset) {
  if (replace) db_->Prepare("DELETE FROM sbx_rows WHERE object_id = ?1").Bind(1, tableId).Step();
  for (std::size_t band = 0; band < Bands(columns.size()); ++band) {
    std::string slots;
    std::string values;
    for (std::size_t at = band * BandWidth; at < std::min(columns.size(), (band + 1) * BandWidth);
         ++at) {
      slots += ", " + Slot(at);
      values += ", " + QuoteIdentifier(columns[at].name);
    }
    db_->Prepare("INSERT INTO sbx_rows (object_id, band, row_no" + slots + ") SELECT " +
                 std::to_string(tableId) + ", " + std::to_string(band) + ", rowid + ?1" + values +
                 " FROM " + StageName(tableId))
        .Bind(1, offset)
        .Step();
  }
}

}  // namespace qelsandbox
