// The ODBC configuration every unit test that reaches the sandbox DBMS uses:
// the sandbox's driver registered under the layer's default names "DB2" and
// "Oracle" and under names of the driver tests' own, and data sources. The
// driver manager reads ODBCSYSINI once per process, so there is one for
// the process, made on first use; each test's site comes from
// TESSARDBSETUP_SANDBOX, which the driver reads at connect time.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

inline void UseSandboxOdbcDriver() {
  static const std::string directory = [] {
    char pattern[] = "/tmp/tessarodbc.XXXXXX";
    const char* made = mkdtemp(pattern);
    const std::string path = made ? made : "/tmp";
    std::ofstream(path + "/odbcinst.ini")
        << "[DB2]\nDriver = " TESSARDBSETUP_SANDBOX_ODBC_DRIVER
           "\nDialect = DB2\n\n[Oracle]\nDriver = " TESSARDBSETUP_SANDBOX_ODBC_DRIVER
           "\nDialect = Oracle\n\n[Sandbox DB2 test]\nDriver = " TESSARDBSETUP_SANDBOX_ODBC_DRIVER
           "\nDialect = DB2\n\n[Sandbox Oracle test]\nDriver = " TESSARDBSETUP_SANDBOX_ODBC_DRIVER
           "\nDialect = Oracle\n\n[Sandbox without dialect]\nDriver "
           "= " TESSARDBSETUP_SANDBOX_ODBC_DRIVER "\n";
    std::ofstream(path + "/odbc.ini")
        << "[SAMPLE]\nDriver = Sandbox DB2 test\n\n[ORACLE_SOURCE]\nDriver = Sandbox Oracle "
           "test\nDatabase = ORCL\n";
    // The directory outlives every test of the process; the next private
    // /tmp or the system's clean-up takes it.
    return path;
  }();
  setenv("ODBCSYSINI", directory.c_str(), 1);
  setenv("ODBCINI", (directory + "/odbc.ini").c_str(), 1);
}
