// Fuzzes the sandbox DBMS with statements (the input split at each ';') on
// a database with a table, a unique key and a view: whatever a statement
// holds, it runs or fails with the DBMS's error, and never hangs, crashes or
// throws anything else; the database then still answers.
#include <crypt.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "sandbox/dbms/SandboxSession.h"
#include "sandbox/dbms/SandboxSite.h"

namespace {

using qelsandbox::Dialect;
using qelsandbox::SandboxError;
using qelsandbox::Session;
constexpr const char* Reader = "sandbox DBMS";
constexpr const char* Password = "fuzzpass";

struct Site {
  std::string root;
  std::string file;       // the database the statements run on
  std::string template_;  // its state before the first statement
};

const Site& TheSite() {
  static const Site site = [] {
    Site made{fuzz::Scratch() + "/site", "", ""};
    namespace fs = std::filesystem;
    fs::create_directories(made.root + "/etc");
    // A quick hash: every input opens a session.
    crypt_data data{};
    std::ofstream(made.root + "/etc/passwd") << "db2inst1:x:2000:2000::/home/db2inst1:/bin/ksh\n";
    std::ofstream(made.root + "/etc/shadow")
        << "db2inst1:" << crypt_r(Password, "$1$fuzz$", &data) << ":19000:0:99999:7:::\n";
    setenv("TESSARDBSETUP_SANDBOX", made.root.c_str(), 1);
    setenv("DB2INSTANCE", "db2inst1", 1);
    const qelsandbox::DatabaseLocation location =
        qelsandbox::Db2Location(made.root, "db2inst1", "SAMPLE");
    qelsandbox::CreateDatabase(location, "db2inst1", "");
    {
      auto session = Session::Open(made.root, Dialect::Db2, "SAMPLE", "db2inst1", Password);
      for (const char* statement :
           {"CREATE TABLE Z.T (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(20), N DECIMAL(5,2))",
            "CREATE UNIQUE INDEX Z.TN ON Z.T (NAME)",
            "INSERT INTO Z.T VALUES (1, 'one', 1.5), (2, 'two', NULL)",
            "CREATE VIEW Z.V (K, L) AS SELECT ID, NAME FROM Z.T WHERE ID > 1",
            "CREATE TABLE Z.C (ID INTEGER REFERENCES Z.T (ID), V VARCHAR(5))"}) {
        session->Execute(statement);
      }
      session->Commit();
    }
    made.file = location.file;
    made.template_ = made.root + "/sample.template";
    fs::copy_file(made.file, made.template_);
    return made;
  }();
  return site;
}

void RunAll(Session& session, std::string_view input) {
  while (!input.empty()) {
    const std::size_t end = std::min(input.find(';'), input.size());
    const std::string statement(input.substr(0, end));
    input.remove_prefix(std::min(end + 1, input.size()));
    try {
      session.Execute(statement);
    } catch (const SandboxError& error) {
      fuzz::Expect(error.code < 0 && !error.message.empty(), Reader,
                   "an error without a negative code and a message");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  TheSite();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Site& site = TheSite();
  std::filesystem::copy_file(site.template_, site.file,
                             std::filesystem::copy_options::overwrite_existing);
  try {
    auto session = Session::Open(site.root, Dialect::Db2, "SAMPLE", "db2inst1", Password);
    RunAll(*session, std::string_view(reinterpret_cast<const char*>(data), size));
    session->Rollback();
    // Whatever was run, committed or not, the DBMS still answers.
    session->Query("SELECT IBMREQD FROM SYSIBM.SYSDUMMY1");
  } catch (const SandboxError& error) {
    fuzz::Violated(Reader, "the session failed after the statements: " + error.message);
  }
  return 0;
}
