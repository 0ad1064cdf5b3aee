// A sandbox site for the sandbox DBMS tests: Unix accounts with real crypt
// hashes, a DB2 instance with database SAMPLE, an Oracle service ORCL named
// in tnsnames.ora, and the environment that points the layer at them.
#pragma once

#include <crypt.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "SandboxOdbcConfiguration.h"
#include "TempDirectory.h"
#include "platform/db/QelDb.h"
#include "sandbox/dbms/SandboxSite.h"

// Sets environment variables for one test and puts the old values back.
class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) {
      value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }
  }
  void Set(const std::string& name, const std::optional<std::string>& value) {
    if (!saved_.count(name)) {
      const char* old = getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

inline std::string CryptHash(const std::string& password) {
  crypt_data data{};
  return crypt_r(password.c_str(), "$6$sandboxtest$", &data);
}

class SandboxDbmsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string site = directory_.Path();
    std::filesystem::create_directories(site + "/etc");
    std::filesystem::create_directories(site + "/tns");
    std::ofstream passwd(site + "/etc/passwd");
    std::ofstream shadow(site + "/etc/shadow");
    int uid = 2000;
    for (const auto& [account, password] : Accounts()) {
      passwd << account << ":x:" << uid << ":" << uid << "::/home/" << account << ":/bin/ksh\n";
      shadow << account << ":" << CryptHash(password) << ":19000:0:99999:7:::\n";
      ++uid;
    }
    std::ofstream(site + "/tns/tnsnames.ora")
        << "# sandbox services\nORCL =\n  (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = "
           "localhost)(PORT = 1521)) (CONNECT_DATA = (SERVICE_NAME = ORCL)))\n";
    UseSandboxOdbcDriver();
    environment_.Set("TESSARDBSETUP_SANDBOX", site);
    // Where the layer records the server settings.
    environment_.Set("QelUserSettingPath", site + "/settings");
    environment_.Set("DB2INSTANCE", "db2inst1");
    environment_.Set("TNS_ADMIN", site + "/tns");
    environment_.Set("TESSARDBSETUP_SANDBOX_LOCK_TIMEOUT", "2000");
    qelsandbox::CreateDatabase(qelsandbox::Db2Location(site, "db2inst1", "SAMPLE"), "db2inst1", "");
    qelsandbox::CreateDatabase(qelsandbox::OracleLocation(site, "ORCL"), "", "manager");
  }

  static std::map<std::string, std::string> Accounts() {
    return {{"db2inst1", "db2pass"},
            {"pdmadm", "admpass"},
            {"zepdico", "dicopass"},
            {"nobody1", "nopass"}};
  }

  std::string Site() const { return directory_.Path(); }

  // A connection through the layer, or a failed test with its message.
  struct Connection {
    std::unique_ptr<QelDbConnection> connection;
    std::unique_ptr<QelDbCursor> cursor;
    int errorCode = 0;
    std::string message;
    int result = 0;
  };

  static Connection Connect(int dbms, const std::string& database, const std::string& user,
                            const std::string& password) {
    Connection opened;
    char message[QelDbMessageSize];
    opened.result = GetDBConnection(1, 1, dbms, database, user, password, opened.connection,
                                    opened.cursor, opened.errorCode, message);
    opened.message = message;
    return opened;
  }

  static Connection Db2(const std::string& user = "db2inst1",
                        const std::string& password = "db2pass") {
    return Connect(QelDbDB2, "sample", user, password);
  }

  static Connection Oracle(const std::string& user = "system",
                           const std::string& password = "manager") {
    return Connect(QelDbOracle, "orcl", user, password);
  }

  // Runs a statement in mode 0; the DBMS message, empty on success.
  static std::string Run(Connection& on, const std::string& statement) {
    int errorCode = 0;
    char message[QelDbMessageSize];
    const int result =
        ExeSQLStatement(on.cursor.get(), on.connection->GetDBMS(), 0, nullptr, 5, statement,
                        static_cast<int>(statement.size()), errorCode, message);
    return result == 0 ? "" : message;
  }

  static void Commit(Connection& on) {
    int errorCode = 0;
    char message[QelDbMessageSize];
    ASSERT_EQ(
        0, CommitStatement(on.connection.get(), on.connection->GetDBMS(), 0, 0, errorCode, message))
        << message;
  }

  // The rows of a query, each row's columns joined with '|'.
  static std::vector<std::string> Rows(Connection& on, const std::string& query) {
    std::vector<QelDbRow> rows;
    QelDbError error;
    EXPECT_EQ(0, on.connection->Query(query, rows, error)) << error.message;
    std::vector<std::string> joined;
    for (const QelDbRow& row : rows) {
      std::string line;
      for (std::size_t i = 0; i < row.size(); ++i) line += (i ? "|" : "") + row[i];
      joined.push_back(line);
    }
    return joined;
  }

  static bool TableExists(Connection& on, const std::string& schema, const std::string& table) {
    int found = -1;
    int errorCode = 0;
    char message[QelDbMessageSize];
    EXPECT_EQ(0, IsTableInDB(on.cursor.get(), on.connection.get(), on.connection->GetDBMS(), schema,
                             table, found, errorCode, message))
        << message;
    return found == 1;
  }

  TempDirectory directory_;
  ScopedEnvironment environment_;
};
