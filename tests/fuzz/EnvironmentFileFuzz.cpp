// Fuzzes the runtime's environment file as the installation updates it, and
// the text edits of the other configuration files on the same bytes: every
// byte not edited survives, and an update done twice changes nothing more.
#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "app/ZEP2InstHQ.h"
#include "config/ZEP2TextEdit.h"
#include "platform/QelSysEnv.h"

namespace {

using H = ZEP2InstHQ;
constexpr const char* Reader = "environment file";

// The variables an update may set; every other line must stay as it was.
const std::set<std::string> Updated = {
    "ORACLE_HOME", "ORA_NLS33",       "TNS_ADMIN",
    "LIBPATH",     "LD_LIBRARY_PATH", "LD_LIBRARYN32_PATH",
    "SHLIB_PATH",  "DB2INSTANCE",     "CLASSPATH_JDBC_solaris_a"};

std::string EnvironmentPath() {
  return fuzz::Scratch() + "/env/TESSAR.txt";
}

// The lines of text, ends included, that do not assign an updated variable.
std::vector<std::string> UntouchedLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t newline = text.find('\n', start);
    const std::size_t end = newline == std::string::npos ? text.size() : newline + 1;
    std::string line = text.substr(start, end - start);
    start = end;
    const std::size_t equal = line.find('=');
    if (equal != std::string::npos && Updated.count(line.substr(0, equal))) continue;
    lines.push_back(std::move(line));
  }
  return lines;
}

void CheckUpdate(const std::string& original, bool oracle) {
  H::_nvOracle = oracle ? 1 : 0;
  H::_nvIBMDB2UDB = oracle ? 0 : 1;
  const std::string dbms = oracle ? "Oracle: " : "DB2: ";
  const int result = H::TESSAREnvironmentUpdate();
  const std::string once = fuzz::ReadFile(EnvironmentPath());
  // A value the file cannot hold refuses the whole update.
  if (result != 0) {
    fuzz::Expect(once == original, Reader, dbms + "a refused update changed the file");
    return;
  }
  const std::vector<std::string> before = UntouchedLines(original);
  const std::vector<std::string> after = UntouchedLines(once);
  bool kept = after.size() >= before.size();
  for (std::size_t i = 0; kept && i < before.size(); ++i) {
    // The last line gains a line end when a variable is appended after it.
    kept =
        after[i] == before[i] || (i + 1 == before.size() && before[i].back() != '\n' &&
                                  (after[i] == before[i] + "\n" || after[i] == before[i] + "\r\n"));
  }
  fuzz::Expect(kept, Reader, dbms + "a line the update does not own changed");
  std::unique_ptr<QelSysEnv> env;
  fuzz::Expect(QelSysEnvManager::Read(EnvironmentPath(), 2, 2, env) == 0 && env, Reader,
               dbms + "updated file unreadable");
  const QelUnicodeString* home = env->GetEnv(oracle ? "ORACLE_HOME" : "DB2INSTANCE");
  const QelUnicodeString& expected = oracle ? H::_svORACLE_HOME : H::_svDB2INSTANCE;
  fuzz::Expect(home && home->str() == expected.str(), Reader, dbms + "the DBMS variable not set");
  fuzz::Expect(H::TESSAREnvironmentUpdate() == 0, Reader, dbms + "second update failed");
  fuzz::Expect(fuzz::ReadFile(EnvironmentPath()) == once, Reader,
               dbms + "a second update changed the file again");
}

// The edits of the vault properties, the clash scripts and the Orbix
// configuration leave every byte outside the edited value or line.
void CheckTextEdits(const std::string& text) {
  const int port = zep2text::OrbixPort(text);
  fuzz::Expect(port == -1 || (port >= 1000 && port <= 99999), Reader, "Orbix port out of range");
  std::string edited = text;
  if (zep2text::ReplaceProperty(edited, "VaultServer_DBName = ", "PDMDB")) {
    const std::size_t value = text.find("VaultServer_DBName = ") + 21;
    fuzz::Expect(
        edited.compare(0, value, text, 0, value) == 0 && edited.compare(value, 5, "PDMDB") == 0,
        Reader, "property edit changed the text before its value");
    std::string again = edited;
    fuzz::Expect(
        zep2text::ReplaceProperty(again, "VaultServer_DBName = ", "PDMDB") && again == edited,
        Reader, "property edit not stable");
  } else {
    fuzz::Expect(edited == text, Reader, "a refused property edit changed the text");
  }
  edited = text;
  if (zep2text::ReplaceScriptLine(edited, "IT_DAEMON_PORT=", "IT_DAEMON_PORT=1570")) {
    fuzz::Expect(edited.find("IT_DAEMON_PORT=1570") != std::string::npos, Reader,
                 "script line edit lost its line");
  } else {
    fuzz::Expect(edited == text, Reader, "a refused script line edit changed the text");
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  mkdir((fuzz::Scratch() + "/env").c_str(), 0700);
  setenv("QelInstallPath", (fuzz::Scratch() + "/pdm").c_str(), 1);
  setenv("QelvarV5_environment_name", "TESSAR", 1);
  setenv("QelvarV5_environment_directory", (fuzz::Scratch() + "/env").c_str(), 1);
  H::ResetInstallationParameters();
  H::_svORACLE_HOME = "/opt/oracle/product";
  H::_svORACLE_N32_HOME = "/opt/oracle/n32";
  H::_svORATNS_ADMIN = "/opt/oracle/network/admin";
  H::_svDB2INSTANCE = "db2inst1";
  H::_svDB2INSTANCE_HOMDIR = "/home/db2inst1";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  fuzz::Expect(QelSysEnv("fuzz", text).Text() == text, Reader, "read and written back otherwise");
  for (const bool oracle : {false, true}) {
    fuzz::WriteScratchFile("env/TESSAR.txt", data, size);
    CheckUpdate(text, oracle);
  }
  CheckTextEdits(text);
  return 0;
}
