// Fuzzes the DDL file parser in both dialects: the statement list must be
// well formed, say the same once re-rendered and parsed again, and survive
// the access by position and the placeholder filter the player uses.
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "platform/db/QelDbStatements.h"
#include "platform/db/QelZepDDLFile.h"

namespace {

constexpr const char* Reader = "DDL file";

struct Statement {
  int type;
  std::string text;
  int dropType;
  std::string dropText;

  bool operator==(const Statement&) const = default;
};

std::vector<Statement> Parse(std::string_view content, const char* path) {
  const QelZepDDLFile file(content.data(), content.size(), path);
  std::vector<Statement> statements;
  for (int i = 1; i <= file.GetSQLOrderColl().Size(); ++i) {
    const QelZepSQLOrder* order = file.GetSQLOrderColl()(i);
    statements.push_back({order->GetType(), order->GetText().str(), order->GetDropType(),
                          order->GetDropText().str()});
  }
  return statements;
}

bool IsBlank(char c) {
  return std::strchr(" \t\r\n\v\f", c) != nullptr || c == '\0';
}

bool IsKnownType(int type) {
  for (const int known : {0, 2, 3, 4, 6, 8, 10, 11, 12, 13, 15, 20}) {
    if (type == known) return true;
  }
  return false;
}

void CheckShape(const QelZepDDLFile& file) {
  int previousLine = 1;
  for (int i = 1; i <= file.GetSQLOrderColl().Size(); ++i) {
    const QelZepSQLOrder& order = *file.GetSQLOrderColl()(i);
    const std::string& text = order.GetText().str();
    const std::string where = "statement " + std::to_string(i) + ": ";
    fuzz::Expect(!text.empty() && !IsBlank(text.front()) && !IsBlank(text.back()), Reader,
                 where + "empty or not trimmed");
    fuzz::Expect(text.find('\0') == std::string::npos, Reader, where + "holds a NUL");
    fuzz::Expect(IsKnownType(order.GetType()), Reader,
                 where + "type " + std::to_string(order.GetType()));
    fuzz::Expect(order.GetLine() >= previousLine, Reader, where + "starts before the one before");
    previousLine = order.GetLine();
    const bool derived =
        order.GetDropType() == QelSqlType::Drop && order.GetDropText().str().rfind("DROP ", 0) == 0;
    const bool none =
        order.GetDropType() == QelSqlType::ClientCommand && order.GetDropText().str().empty();
    fuzz::Expect(derived || none, Reader, where + "drop is neither a DROP nor nothing");
  }
}

bool IsOracleBlock(const Statement& statement, QelDDLDialect dialect) {
  return dialect == QelDDLDialect::OracleScript && statement.type == QelSqlType::ProceduralBlock;
}

// The statements written back as a file of the dialect; the last one may
// go without its terminator (it may be an unterminated string).
std::string Render(const std::vector<Statement>& statements, QelDDLDialect dialect,
                   bool lastTerminated) {
  std::string content;
  for (std::size_t i = 0; i < statements.size(); ++i) {
    content += statements[i].text;
    if (i + 1 == statements.size() && !lastTerminated) break;
    content += IsOracleBlock(statements[i], dialect) ? "\n/\n" : ";\n";
  }
  return content;
}

void CheckRerendered(const std::vector<Statement>& statements, const char* path,
                     QelDDLDialect dialect) {
  if (statements.empty()) return;
  const bool same = Parse(Render(statements, dialect, true), path) == statements ||
                    Parse(Render(statements, dialect, false), path) == statements;
  fuzz::Expect(same, Reader, std::string("re-rendered statements parse otherwise (") + path + ")");
}

bool HoldsPlaceholder(const std::string& text) {
  for (const char* placeholder : {"$(ACCOUNT)", "$(SCHEMA)", "$(TABLESPACE)", "$(BLOB_TABLESPACE)"})
    if (text.find(placeholder) != std::string::npos) return true;
  return false;
}

void CheckFiltered(int type, const QelUnicodeString& text, const std::string& where) {
  int length = 0;
  int decision = 0;
  QelUnicodeString filtered;
  char buffer[QelStatementBufferSize];
  const int result = FilterSQLStatement(0, "pdmadm", "pdmdico", "pdmdico", "TBS_DATA", "TBS_BLOB",
                                        type, text, length, filtered, decision, buffer);
  const std::string& out = filtered.str();
  fuzz::Expect(!HoldsPlaceholder(out), Reader, where + "placeholder left after the filter");
  const std::size_t kept = std::strlen(buffer);
  fuzz::Expect(kept < QelStatementBufferSize && out.compare(0, kept, buffer) == 0, Reader,
               where + "buffer is not the start of the filtered text");
  fuzz::Expect(kept == out.size() || (out.size() > kept && kept + 3 >= QelStatementBufferSize - 1),
               Reader, where + "buffer cut further than one character");
  const bool skipped = type == QelSqlType::ClientCommand || out.empty();
  fuzz::Expect(result == (skipped ? QelFilterSkipped : 0) && decision == (skipped ? -1 : 1) &&
                   length == static_cast<int>(out.size()),
               Reader, where + "filter result");
}

void CheckPlayerAccess(const QelZepDDLFile& file) {
  const int count = file.GetSQLOrderColl().Size();
  int type = 0;
  int length = 0;
  QelUnicodeString text;
  fuzz::Expect(GetSQLStatement(type, length, text, 0, &file) == -1 &&
                   GetSQLStatement(type, length, text, count + 1, &file) == -1 &&
                   GetDROPSQLStatement(type, length, text, 0, &file) == 0 &&
                   type == QelSqlType::ClientCommand,
               Reader, "positions outside the file");
  for (int position = 1; position <= count; ++position) {
    const std::string where = "statement " + std::to_string(position) + ": ";
    fuzz::Expect(GetSQLStatement(type, length, text, position, &file) == 0 &&
                     length == static_cast<int>(text.Length()),
                 Reader, where + "not played");
    CheckFiltered(type, text, where);
    fuzz::Expect(GetDROPSQLStatement(type, length, text, position, &file) == 0, Reader,
                 where + "no drop");
    CheckFiltered(type, text, where + "drop: ");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  for (const char* path : {"fuzz.clp", "fuzz.sql"}) {
    const QelZepDDLFile file(content.data(), content.size(), path);
    CheckShape(file);
    CheckPlayerAccess(file);
    CheckRerendered(Parse(content, path), path, file.GetDialect());
  }
  return 0;
}
