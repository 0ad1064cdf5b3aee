// The space estimate: words of each statement, never the statement run.
#include "ZEP2ValidationSpace.h"

#include <cctype>
#include <string>
#include <vector>

namespace {

// The statement's words, upper case; quoted text and punctuation separate
// words and are dropped, so a column named in quotes cannot pass for a type.
std::vector<std::string> Words(std::string_view statement) {
  std::vector<std::string> words;
  std::string word;
  char quote = 0;
  for (const char c : statement) {
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
    } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') {
      word += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      continue;
    }
    if (!word.empty()) words.push_back(std::move(word));
    word.clear();
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

bool IsLargeObject(const std::vector<std::string>& words, std::size_t i) {
  const std::string& word = words[i];
  if (word == "BLOB" || word == "CLOB" || word == "DBCLOB" || word == "NCLOB") return true;
  // Oracle's LONG RAW and DB2's LONG VARCHAR live beside the rows as LOBs do.
  return word == "LONG" && i + 1 < words.size() &&
         (words[i + 1] == "RAW" || words[i + 1] == "VARCHAR");
}

long long WithMargin(long long kilobytes) {
  return kilobytes + (kilobytes * ZEP2SpaceMarginPercent + 99) / 100;
}

}  // namespace

long long ZEP2SpaceEstimate::DataKilobytes() const {
  return WithMargin(tables * ZEP2TableKilobytes + indexes * ZEP2IndexKilobytes +
                    rows * ZEP2RowKilobytes);
}

long long ZEP2SpaceEstimate::BlobKilobytes() const {
  return WithMargin(largeColumns * ZEP2LargeColumnKilobytes);
}

void ZEP2EstimateStatement(std::string_view statement, ZEP2SpaceEstimate& estimate) {
  const std::vector<std::string> words = Words(statement);
  if (words.size() < 2) return;
  if (words[0] == "INSERT" && words[1] == "INTO") {
    ++estimate.rows;
    return;
  }
  if (words[0] != "CREATE") return;
  std::size_t kind = 1;
  if (words[kind] == "UNIQUE") ++kind;
  if (kind >= words.size()) return;
  if (words[kind] == "INDEX") {
    ++estimate.indexes;
  } else if (words[kind] == "TABLE") {
    ++estimate.tables;
    for (std::size_t i = kind + 1; i < words.size(); ++i) {
      if (IsLargeObject(words, i)) ++estimate.largeColumns;
    }
  }
}
