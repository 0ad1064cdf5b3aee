// The site's ODBC configuration. The driver manager reads it through
// ODBCSYSINI and ODBCINI (env.sh), so neither the host's /etc/odbcinst.ini
// nor a user's ~/.odbc.ini plays any part.
#include <string>
#include <vector>

#include "SiteFiles.h"

namespace {

struct DriverEntry {
  const char* name;
  const char* description;
  const char* dialect;
};

// The entries an administrator sees in `odbcinst -q -d`: the sandbox's own
// names, and the names a real DBMS client registers, which the installer
// connects through unless told otherwise.
constexpr DriverEntry Entries[] = {
    {"TESSAR Sandbox DB2", "TESSAR sandbox DBMS, DB2 dialect", "DB2"},
    {"TESSAR Sandbox Oracle", "TESSAR sandbox DBMS, Oracle dialect", "Oracle"},
    {"DB2", "DB2 through the TESSAR sandbox DBMS", "DB2"},
    {"Oracle", "Oracle through the TESSAR sandbox DBMS", "Oracle"},
};

}  // namespace

void WriteOdbcConfiguration(const std::string& site, const std::string& executableDirectory,
                            const std::string& db2Instance,
                            const std::vector<std::string>& db2Aliases,
                            const std::string& oracleService) {
  // Instance and TNSAdmin stand in for DB2INSTANCE and TNS_ADMIN when the
  // client's environment has neither, as in a shell that sourced env.sh only.
  std::string drivers =
      "# ODBC drivers of the sandbox site " + site +
      "\n# Site, Dialect, Instance and TNSAdmin are the sandbox driver's own attributes.\n";
  for (const DriverEntry& entry : Entries) {
    const bool db2 = std::string(entry.dialect) == "DB2";
    drivers +=
        std::string("\n[") + entry.name + "]\nDescription = " + entry.description +
        "\nDriver = " + executableDirectory + "/libtessarsbodbc.so\nDialect = " + entry.dialect +
        "\nSite = " + site + "\n" +
        (db2 ? "Instance = " + db2Instance : "TNSAdmin = " + site + "/oracle/network/admin") + "\n";
  }
  std::string sources = "# Data sources of the sandbox site " + site + "\n";
  for (const std::string& alias : db2Aliases) {
    sources += "\n[" + alias + "]\nDescription = DB2 database " + alias + " of instance " +
               db2Instance + "\nDriver = TESSAR Sandbox DB2\nDatabase = " + alias + "\n";
  }
  sources += "\n[" + oracleService + "]\nDescription = Oracle service " + oracleService +
             "\nDriver = TESSAR Sandbox Oracle\nDatabase = " + oracleService + "\n";
  WriteSiteFile(site + "/odbc/odbcinst.ini", drivers, 0644);
  WriteSiteFile(site + "/odbc/odbc.ini", sources, 0644);
}
