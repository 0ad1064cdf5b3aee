// Writing, reading back and playing the undo of a server setting. Its line
// reads like a statement (REMOVE SERVER SETTING / RESTORE SERVER SETTING) so
// that the logs, the report page and the journal show it like the others.
#include "ZEP2ServerSettingUndo.h"

#include <cstdio>
#include <cstdlib>

#include "platform/db/QelDbStatements.h"

namespace {

constexpr const char* RemoveWords = "REMOVE SERVER SETTING ";
constexpr const char* RestoreWords = "RESTORE SERVER SETTING ";

std::string Hex(const std::string& text) {
  std::string hex;
  char pair[3];
  for (const char c : text) {
    std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned char>(c));
    hex += pair;
  }
  return hex;
}

bool FromHex(const std::string& hex, std::string& text) {
  if (hex.size() % 2 != 0) return false;
  text.clear();
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    char* end = nullptr;
    const std::string pair = hex.substr(i, 2);
    const long value = std::strtol(pair.c_str(), &end, 16);
    if (*end != '\0') return false;
    text += static_cast<char>(value);
  }
  return true;
}

// Reads the words and quoted names of a line, one by one.
class Reader {
 public:
  explicit Reader(const std::string& text) : text_(text) {}

  bool Word(const char* expected) {
    Blanks();
    const std::string word = expected;
    if (text_.compare(at_, word.size(), word) != 0) return false;
    at_ += word.size();
    return true;
  }
  bool Name(std::string& name) {
    Blanks();
    if (at_ >= text_.size() || text_[at_] != '"') return false;
    name.clear();
    for (++at_; at_ < text_.size(); ++at_) {
      if (text_[at_] != '"') {
        name += text_[at_];
      } else if (at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
        name += '"';
        ++at_;
      } else {
        ++at_;
        return true;
      }
    }
    return false;
  }
  bool Number(int& value) {
    Blanks();
    const std::size_t start = at_;
    while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
    if (at_ == start) return false;
    value = std::atoi(text_.substr(start, at_ - start).c_str());
    return true;
  }
  bool AtEnd() {
    Blanks();
    return at_ == text_.size();
  }

 private:
  void Blanks() {
    while (at_ < text_.size() && text_[at_] == ' ') ++at_;
  }

  const std::string& text_;
  std::size_t at_ = 0;
};

}  // namespace

std::string ZEP2ServerSettingUndoText(const ZEP2ServerSettingUndo& undo) {
  const std::string where = QelQuoted(undo.name, '"') + " OF " + QelQuoted(undo.database, '"') +
                            " VENDOR " + std::to_string(undo.vendor);
  if (!undo.restore) return RemoveWords + where;
  const QelDbServerSetting& previous = undo.previous;
  return RestoreWords + where + " SERVER " + QelQuoted(previous.server, '"') + " AUTHENTICATION " +
         std::to_string(previous.authentication) + " USER " + QelQuoted(previous.user, '"') +
         " IDENTIFIED BY \"" + Hex(previous.password) + "\"";
}

bool ZEP2ParseServerSettingUndo(const std::string& text, ZEP2ServerSettingUndo& undo) {
  Reader reader(text);
  undo = {};
  undo.restore = reader.Word(RestoreWords);
  if (!undo.restore && !reader.Word(RemoveWords)) return false;
  if (!reader.Name(undo.name) || !reader.Word("OF") || !reader.Name(undo.database) ||
      !reader.Word("VENDOR") || !reader.Number(undo.vendor)) {
    return false;
  }
  if (!undo.restore) return reader.AtEnd();
  QelDbServerSetting& previous = undo.previous;
  std::string hex;
  previous.vendor = undo.vendor;
  return reader.Word("SERVER") && reader.Name(previous.server) && reader.Word("AUTHENTICATION") &&
         reader.Number(previous.authentication) && reader.Word("USER") &&
         reader.Name(previous.user) && reader.Word("IDENTIFIED BY") && reader.Name(hex) &&
         reader.AtEnd() && FromHex(hex, previous.password);
}

int ZEP2ApplyServerSettingUndo(const ZEP2ServerSettingUndo& undo, std::string& message) {
  QelDbError error;
  if (undo.restore) {
    QelDbDatabase::RestoreServer(undo.name, undo.database, undo.vendor, undo.previous, error);
  } else {
    QelDbDatabase::RemoveServer(undo.name, undo.database, undo.vendor, error);
  }
  message = error.message;
  return error.code;
}
