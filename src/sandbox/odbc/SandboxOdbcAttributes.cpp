// Connection strings and the profile look-ups behind DSN and DRIVER.
#include "SandboxOdbcAttributes.h"

#include <odbcinst.h>
#include <strings.h>

#include <cstdlib>
#include <vector>

namespace sbodbc {

namespace {

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A value of section in odbc.ini (user, then system) or odbcinst.ini.
std::string Profile(const std::string& section, const char* key, const char* file) {
  if (section.empty()) return {};
  std::vector<char> value(4096);
  const int length = SQLGetPrivateProfileString(section.c_str(), key, "", value.data(),
                                                static_cast<int>(value.size()), file);
  return length > 0 ? Trimmed(std::string(value.data(), static_cast<std::size_t>(length)))
                    : std::string();
}

// A driver name may come braced from a connection string's DRIVER={...}.
std::string Unbraced(const std::string& name) {
  if (name.size() >= 2 && name.front() == '{' && name.back() == '}') {
    return name.substr(1, name.size() - 2);
  }
  return name;
}

}  // namespace

bool CaseInsensitiveLess::operator()(const std::string& left, const std::string& right) const {
  return strcasecmp(left.c_str(), right.c_str()) < 0;
}

std::optional<Attributes> ParseConnectionString(const std::string& text) {
  Attributes attributes;
  std::size_t position = 0;
  while (position < text.size()) {
    if (text[position] == ';' || text[position] == ' ') {
      ++position;
      continue;
    }
    const std::size_t equals = text.find('=', position);
    if (equals == std::string::npos) return std::nullopt;
    const std::string key = Trimmed(text.substr(position, equals - position));
    if (key.empty() || key.find(';') != std::string::npos) return std::nullopt;
    position = equals + 1;
    std::string value;
    while (position < text.size() && text[position] == ' ') ++position;
    if (position < text.size() && text[position] == '{') {
      ++position;
      bool closed = false;
      while (position < text.size()) {
        if (text[position] == '}') {
          if (position + 1 < text.size() && text[position + 1] == '}') {
            value += '}';
            position += 2;
            continue;
          }
          ++position;
          closed = true;
          break;
        }
        value += text[position++];
      }
      if (!closed) return std::nullopt;
      // Only blanks may stand between the closing brace and the separator.
      while (position < text.size() && text[position] == ' ') ++position;
      if (position < text.size() && text[position] != ';') return std::nullopt;
    } else {
      const std::size_t end = text.find(';', position);
      value = Trimmed(text.substr(position, end == std::string::npos ? end : end - position));
      position = end == std::string::npos ? text.size() : end;
    }
    attributes.emplace(key, value);
  }
  return attributes;
}

ConnectSettings ResolveSettings(const Attributes& given) {
  const auto find = [&](const char* key) {
    const auto found = given.find(key);
    return found == given.end() ? std::string() : found->second;
  };
  ConnectSettings settings;
  settings.dataSource = find("DSN");
  settings.driver = Unbraced(find("DRIVER"));
  if (settings.driver.empty()) settings.driver = Profile(settings.dataSource, "Driver", "ODBC.INI");
  // Each attribute: the connection string, the data source, the driver entry.
  const auto resolve = [&](std::initializer_list<const char*> keys, bool driverEntry) {
    for (const char* key : keys) {
      if (std::string value = find(key); !value.empty()) return value;
    }
    for (const char* key : keys) {
      if (std::string value = Profile(settings.dataSource, key, "ODBC.INI"); !value.empty()) {
        return value;
      }
    }
    if (!driverEntry) return std::string();
    for (const char* key : keys) {
      if (std::string value = Profile(settings.driver, key, "ODBCINST.INI"); !value.empty()) {
        return value;
      }
    }
    return std::string();
  };
  settings.dialect = resolve({"Dialect"}, true);
  settings.site = resolve({"Site"}, true);
  settings.database = resolve({"Database", "DBQ"}, false);
  settings.user = resolve({"UID"}, false);
  settings.password = resolve({"PWD"}, false);
  settings.instance = resolve({"Instance"}, true);
  settings.tnsAdmin = resolve({"TNSAdmin"}, true);
  if (settings.database.empty()) settings.database = settings.dataSource;
  if (settings.site.empty()) {
    const char* site = std::getenv("TESSARDBSETUP_SANDBOX");
    settings.site = site ? site : "";
  }
  return settings;
}

std::string CompletedConnectionString(const ConnectSettings& settings) {
  const auto value = [](const std::string& text) {
    if (text.find_first_of(";{}= ") == std::string::npos) return text;
    std::string braced = "{";
    for (const char c : text) {
      braced += c;
      if (c == '}') braced += '}';
    }
    return braced + "}";
  };
  std::string text;
  if (!settings.dataSource.empty()) text += "DSN=" + value(settings.dataSource) + ";";
  if (!settings.driver.empty()) text += "DRIVER=" + value(settings.driver) + ";";
  text += "Dialect=" + settings.dialect + ";Database=" + value(settings.database) +
          ";UID=" + value(settings.user) + ";";
  return text;
}

}  // namespace sbodbc
