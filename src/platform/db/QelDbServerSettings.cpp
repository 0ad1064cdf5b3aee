// The server settings a PDM server reads, in a settings repository of the
// user setting directory: the same place whatever DBMS and driver, where
// the runtime's own settings are.
#include <sstream>

#include "QelDb.h"
#include "platform/QelFaultInjection.h"
#include "platform/QelSettings.h"

namespace {

constexpr const char* Repository = "TESSARDBServers";

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return text;
}

// The names recorded for one database: "<DBMS>.<SERVER>".
std::string DatabaseKey(const QelUnicodeString& server, int vendor) {
  return std::string(vendor == QelDbDB2 ? "DB2." : "Oracle.") + Upper(server.str());
}

std::string SettingKey(const QelUnicodeString& name, const QelUnicodeString& server, int vendor) {
  return DatabaseKey(server, vendor) + "." + name.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

QelDbError Checked(int vendor) {
  if (vendor != QelDbDB2 && vendor != QelDbOracle) {
    return {-1, "unknown DBMS type " + std::to_string(vendor)};
  }
  if (QelFaultDue(QelFaultKind::DatabaseCall)) return QelDbInjectedFault(vendor);
  return {};
}

QelDbError Unwritable(const QelSettingsServices& settings, const std::string& name) {
  return {-1, "cannot record the server setting " + name + " in " +
                  settings.RepositoryPath(Repository)};
}

// Records setting under name (none removes it) and keeps the
// database's list of names in step.
QelDbError Record(const QelUnicodeString& name, const QelUnicodeString& server, int vendor,
                  const QelDbServerSetting* setting) {
  QelSettingsServices settings(QelUserSettingDirectory());
  std::vector<std::string> names =
      Lines(settings.ReadSetting(DatabaseKey(server, vendor), Repository).str());
  std::erase(names, name.str());
  std::string value;
  if (setting) {
    names.push_back(name.str());
    value = Joined({setting->server, std::to_string(setting->vendor),
                    std::to_string(setting->authentication), setting->user, setting->password});
  }
  if (settings.WriteSetting(SettingKey(name, server, vendor), value, Repository) != 0 ||
      settings.WriteSetting(DatabaseKey(server, vendor), Joined(names), Repository) != 0) {
    return Unwritable(settings, name.str());
  }
  return {};
}

bool Read(const QelUnicodeString& name, const QelUnicodeString& server, int vendor,
          QelDbServerSetting& setting) {
  const QelSettingsServices settings(QelUserSettingDirectory());
  const std::vector<std::string> fields =
      Lines(settings.ReadSetting(SettingKey(name, server, vendor), Repository).str());
  if (fields.size() < 5) return false;
  setting = {fields[0], std::atoi(fields[1].c_str()), std::atoi(fields[2].c_str()), fields[3],
             fields[4]};
  return true;
}

}  // namespace

int QelDbDatabase::SetServer(const QelUnicodeString& name, const QelUnicodeString& server,
                             int vendor, int authentication, const QelUnicodeString& user,
                             const QelUnicodeString& password, QelDbError* error) {
  QelDbError failure = Checked(vendor);
  if (failure.code == 0) {
    const QelDbServerSetting setting{server.str(), vendor, authentication, user.str(),
                                     password.str()};
    failure = Record(name, server, vendor, &setting);
  }
  if (error) *error = failure;
  return failure.code;
}

int QelDbDatabase::GetServer(const QelUnicodeString& name, const QelUnicodeString& server,
                             int vendor, bool& found, QelDbServerSetting& setting,
                             QelDbError& error) {
  found = false;
  error = Checked(vendor);
  if (error.code == 0) found = Read(name, server, vendor, setting);
  return error.code;
}

int QelDbDatabase::RestoreServer(const QelUnicodeString& name, const QelUnicodeString& database,
                                 int vendor, const QelDbServerSetting& setting, QelDbError& error) {
  error = Checked(vendor);
  if (error.code == 0) error = Record(name, database, vendor, &setting);
  return error.code;
}

int QelDbDatabase::RemoveServer(const QelUnicodeString& name, const QelUnicodeString& server,
                                int vendor, QelDbError& error) {
  error = Checked(vendor);
  if (error.code == 0) error = Record(name, server, vendor, nullptr);
  return error.code;
}

std::vector<std::pair<std::string, QelDbServerSetting>> QelDbDatabase::ListServers(
    const QelUnicodeString& server, int vendor) {
  std::vector<std::pair<std::string, QelDbServerSetting>> listed;
  const QelSettingsServices settings(QelUserSettingDirectory());
  for (const std::string& name :
       Lines(settings.ReadSetting(DatabaseKey(server, vendor), Repository).str())) {
    QelDbServerSetting setting;
    if (Read(name, server, vendor, setting)) listed.emplace_back(name, setting);
  }
  return listed;
}
