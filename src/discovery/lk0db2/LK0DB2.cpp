// The sandbox's LK0DB2: the database directory of the instance this library
// was installed for, read from <instance home>/sqllib/sqldbdir/sqldbdir
// (the library lives in <instance home>/sqllib/lib). One entry per line:
//   alias|dbname|drive|nodename|type|authentication
// with # comments; docs/db2-directory.md describes it.
#include "discovery/LK0DB2.h"

#include <dlfcn.h>

#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

struct Scan {
  std::vector<sqledinfo> entries;
  std::size_t next = 0;
};

std::map<unsigned short, Scan>& Scans() {
  static std::map<unsigned short, Scan> scans;
  return scans;
}

void SetCode(sqlca* ca, std::int32_t code, const char* state) {
  if (!ca) return;
  std::memset(ca, 0, sizeof *ca);
  std::memcpy(ca->sqlcaid, "SQLCA   ", 8);
  ca->sqlcabc = sizeof *ca;
  ca->sqlcode = code;
  std::memcpy(ca->sqlstate, state, 5);
}

// Copies text into a blank-padded field.
template <std::size_t Size>
void Fill(char (&field)[Size], const std::string& text) {
  std::memset(field, ' ', Size);
  std::memcpy(field, text.data(), std::min(Size, text.size()));
}

std::string DirectoryFile() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&QelDb2sqledosd), &info) || !info.dli_fname) return "";
  std::string library = info.dli_fname;
  const std::size_t slash = library.rfind('/');
  const std::string libraryDirectory = slash == std::string::npos ? "." : library.substr(0, slash);
  return libraryDirectory + "/../sqldbdir/sqldbdir";
}

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t bar = line.find('|', start);
    fields.push_back(line.substr(start, bar - start));
    if (bar == std::string::npos) return fields;
    start = bar + 1;
  }
}

}  // namespace

extern "C" int QelDb2sqledosd(const char* path, unsigned short* handle, unsigned short* count,
                              sqlca* ca) {
  const std::string file = path && *path ? std::string(path) + "/sqldbdir" : DirectoryFile();
  std::ifstream directory(file);
  Scan scan;
  std::string line;
  while (std::getline(directory, line)) {
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> fields = Split(line);
    if (fields.size() < 6 || fields[0].empty() || fields[4].empty()) continue;
    sqledinfo entry{};
    Fill(entry.alias, fields[0]);
    Fill(entry.dbname, fields[1]);
    Fill(entry.drive, fields[2]);
    Fill(entry.intname, "");
    Fill(entry.nodename, fields[3]);
    Fill(entry.dbtype, "DB2/LINUXX8664");
    Fill(entry.comment, "");
    entry.type = fields[4][0];
    entry.authentication = static_cast<std::uint16_t>(std::stoul("0" + fields[5]));
    scan.entries.push_back(entry);
  }
  if (scan.entries.empty()) {
    SetCode(ca, SQLE_RC_NODIR, "     ");
    return SQLE_RC_NODIR;
  }
  unsigned short id = 1;
  while (Scans().count(id)) ++id;
  *count = static_cast<unsigned short>(scan.entries.size());
  *handle = id;
  Scans()[id] = std::move(scan);
  SetCode(ca, 0, "00000");
  return 0;
}

extern "C" int QelDb2sqledgne(unsigned short handle, sqledinfo** entry, sqlca* ca) {
  const auto found = Scans().find(handle);
  if (found == Scans().end() || found->second.next >= found->second.entries.size()) {
    SetCode(ca, -1032, "     ");
    return -1032;
  }
  *entry = &found->second.entries[found->second.next++];
  SetCode(ca, 0, "00000");
  return 0;
}

extern "C" int QelDb2sqledcls(unsigned short handle, sqlca* ca) {
  Scans().erase(handle);
  SetCode(ca, 0, "00000");
  return 0;
}
