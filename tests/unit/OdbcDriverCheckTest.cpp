// The driver check before the first connection: a driver that is not
// registered, one whose library does not load and one without the
// variables its client needs are each told for what they are, and a data
// source named like the database wins over the driver name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "SandboxDbmsTestSite.h"
#include "TempDirectory.h"
#include "platform/db/QelDb.h"
#include "platform/db/odbc/QelOdbcDriverCheck.h"
#include "platform/db/odbc/QelOdbcServiceName.h"

namespace {

// A library every machine has that loads as a driver library would.
std::string LoadableLibrary() {
  for (const char* candidate :
       {"/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so",
        "/usr/lib/aarch64-linux-gnu/odbc/psqlodbcw.so", "/lib/x86_64-linux-gnu/libm.so.6",
        "/lib/aarch64-linux-gnu/libm.so.6"}) {
    if (std::filesystem::exists(candidate)) return candidate;
  }
  return "";
}

TEST(OdbcDriverCheck, EachFailureIsToldForWhatItIs) {
  const std::string library = LoadableLibrary();
  if (library.empty()) GTEST_SKIP() << "no library to stand for a driver";
  TempDirectory directory;
  const std::string odbc = directory.File("odbc");
  std::filesystem::create_directories(odbc);
  std::ofstream(odbc + "/odbcinst.ini")
      << "[Working]\nDriver = " << library << "\n[Broken]\nDriver = " << odbc
      << "/libmissing.so\n[NoLibrary]\nDescription = x\n";
  std::ofstream(odbc + "/odbc.ini") << "[PDMDB]\nDriver = Broken\nDatabase = PDMDB\n";
  ScopedEnvironment environment;
  environment.Set("ODBCSYSINI", odbc);
  environment.Set("ODBCINI", odbc + "/odbc.ini");
  environment.Set("DB2INSTANCE", std::nullopt);
  environment.Set("ORACLE_HOME", std::nullopt);
  environment.Set("TNS_ADMIN", std::nullopt);
  environment.Set("TESSARDBSETUP_DB2_DRIVER", std::nullopt);
  environment.Set("TESSARDBSETUP_ORACLE_DRIVER", "Working");

  QelOdbcRoute route;
  std::string problem = QelOdbcCheckRoute(QelDbDB2, "SAMPLE", route);
  EXPECT_NE(problem.find("no ODBC driver \"DB2\" is registered"), std::string::npos) << problem;
  EXPECT_NE(problem.find("\"Working\", \"Broken\", \"NoLibrary\""), std::string::npos) << problem;
  EXPECT_NE(problem.find(odbc + "/odbcinst.ini (ODBCSYSINI)"), std::string::npos) << problem;
  EXPECT_NE(problem.find("TESSARDBSETUP_DB2_DRIVER"), std::string::npos) << problem;

  environment.Set("TESSARDBSETUP_DB2_DRIVER", "NoLibrary");
  problem = QelOdbcCheckRoute(QelDbDB2, "SAMPLE", route);
  EXPECT_NE(problem.find("names no library"), std::string::npos) << problem;

  environment.Set("TESSARDBSETUP_DB2_DRIVER", "Working");
  problem = QelOdbcCheckRoute(QelDbDB2, "SAMPLE", route);
  EXPECT_NE(problem.find("DB2INSTANCE is not set"), std::string::npos) << problem;
  environment.Set("DB2INSTANCE", "db2inst1");
  EXPECT_EQ(QelOdbcCheckRoute(QelDbDB2, "SAMPLE", route), "");
  EXPECT_EQ(route.connectionString, "DRIVER=Working;DATABASE=SAMPLE");
  EXPECT_EQ(QelOdbcWithCredentials(route, "db2inst1", "p;w}d"),
            "DRIVER=Working;DATABASE=SAMPLE;UID=db2inst1;PWD={p;w}}d}");

  problem = QelOdbcCheckRoute(QelDbOracle, "ORCL", route);
  EXPECT_NE(problem.find("neither ORACLE_HOME nor TNS_ADMIN"), std::string::npos) << problem;
  environment.Set("TNS_ADMIN", directory.Path());
  EXPECT_EQ(QelOdbcCheckRoute(QelDbOracle, "ORCL", route), "");
  EXPECT_EQ(route.connectionString, "DRIVER=Working;DBQ=ORCL");

  // The data source of the alias's name decides the driver, case aside.
  problem = QelOdbcCheckRoute(QelDbDB2, "pdmdb", route);
  EXPECT_EQ(route.dataSource, "PDMDB");
  EXPECT_EQ(route.connectionString, "DSN=PDMDB");
  EXPECT_NE(problem.find("\"Broken\" (named by the data source \"PDMDB\")"), std::string::npos)
      << problem;
  EXPECT_NE(problem.find("libmissing.so does not load"), std::string::npos) << problem;
}

// An Oracle net service name resolves as the client resolves it: through a
// data source of its name or an entry of tnsnames.ora, whose other "=" and
// names inside descriptions or comments define nothing.
TEST(OdbcServiceName, ResolvesThroughADataSourceOrTnsNamesOnly) {
  EXPECT_EQ(
      QelOdbcTnsNames("# ORCL = (commented out)\n"
                      "PDMORA, pdmtest.world =\n"
                      "  (DESCRIPTION =\n"
                      "    (ADDRESS_LIST = (ADDRESS = (PROTOCOL = TCP)(HOST = h)(PORT = 1)))\n"
                      "    (CONNECT_DATA = (SERVICE_NAME = INNER)))\n"
                      "LAST=(DESCRIPTION=(ADDRESS=(HOST=x)))  # trailing\n"
                      "UNBALANCED = ((\n"),
      (std::vector<std::string>{"PDMORA", "pdmtest.world", "LAST", "UNBALANCED"}));

  TempDirectory directory;
  const std::string odbc = directory.File("odbc");
  std::filesystem::create_directories(odbc);
  std::ofstream(odbc + "/odbcinst.ini") << "[Oracle]\nDriver = /nowhere/lib.so\n";
  std::ofstream(odbc + "/odbc.ini") << "[PDMSOURCE]\nDriver = Oracle\nDatabase = PDMORA\n";
  ScopedEnvironment environment;
  environment.Set("ODBCSYSINI", odbc);
  environment.Set("ODBCINI", odbc + "/odbc.ini");
  const std::string admin = directory.File("admin");
  std::filesystem::create_directories(admin);

  EXPECT_EQ(QelOdbcCheckServiceName("pdmsource", admin), "") << "a data source, case aside";
  EXPECT_EQ(QelOdbcCheckServiceName("dbhost:1521/PDM", admin), "") << "Easy Connect";
  std::string problem = QelOdbcCheckServiceName("PDMORA", admin);
  EXPECT_NE(problem.find("data sources: \"PDMSOURCE\""), std::string::npos) << problem;
  EXPECT_NE(problem.find(admin + "/tnsnames.ora cannot be read"), std::string::npos) << problem;

  std::ofstream(admin + "/tnsnames.ora") << "PDMORA, PDMTEST.WORLD =\n (DESCRIPTION = "
                                            "(CONNECT_DATA = (SERVICE_NAME = INNER)))\n";
  EXPECT_EQ(QelOdbcCheckServiceName("pdmtest.world", admin), "");
  problem = QelOdbcCheckServiceName("INNER", admin);
  EXPECT_NE(problem.find(admin + "/tnsnames.ora does not define it (it defines: \"PDMORA\", "
                                 "\"PDMTEST.WORLD\")"),
            std::string::npos)
      << problem;
  EXPECT_NE(QelOdbcCheckServiceName("PDMTEST", admin), "") << "no domain is guessed";
}

}  // namespace
