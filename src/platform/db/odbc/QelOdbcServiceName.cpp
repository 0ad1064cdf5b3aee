// The resolution of an Oracle net service name as the client does it for
// the wizard: the ODBC data source of that name first (the layer connects
// through it), then the local naming file of the Oracle Net configuration.
#include "QelOdbcServiceName.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include "QelOdbcDriverCheck.h"

namespace {

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string Trimmed(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

std::string Quoted(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "\"" : ", \"") + name + "\"";
  return list.empty() ? "none" : list;
}

}  // namespace

std::vector<std::string> QelOdbcTnsNames(const std::string& content) {
  std::vector<std::string> names;
  std::string pending;
  int depth = 0;
  bool comment = false;
  for (const char c : content) {
    if (comment) {
      comment = c != '\n';
      continue;
    }
    if (c == '#') {
      comment = true;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth > 0) --depth;
    } else if (depth > 0) {
      continue;
    } else if (c == '=' || c == ',') {
      const std::string name = Trimmed(pending);
      if (!name.empty()) names.push_back(name);
      pending.clear();
    } else {
      pending += c;
    }
    if (c == '(' || c == ')') pending.clear();
  }
  return names;
}

std::string QelOdbcCheckServiceName(const std::string& service, const std::string& tnsAdmin) {
  // A full connect descriptor or an Easy Connect text ("host:port/service")
  // needs no naming file; the client reads it as it stands.
  if (service.find_first_of("(/:") != std::string::npos) return "";
  std::vector<std::string> sources;
  for (const QelOdbcRegistered& source : QelOdbcDataSources()) {
    if (SameName(source.name, service)) return "";
    sources.push_back(source.name);
  }
  const std::string file = tnsAdmin + "/tnsnames.ora";
  std::ifstream stream(file);
  const std::string noSource =
      "no ODBC data source has that name (data sources: " + Quoted(sources) + ")";
  if (!stream) return noSource + " and " + file + " cannot be read";
  std::stringstream content;
  content << stream.rdbuf();
  const std::vector<std::string> names = QelOdbcTnsNames(content.str());
  for (const std::string& name : names) {
    if (SameName(name, service)) return "";
  }
  return noSource + " and " + file + " does not define it (it defines: " + Quoted(names) + ")";
}
