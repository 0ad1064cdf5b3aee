// The modeler catalogue: the names in installation order, each modeler's
// files by dialect (the grant file counted twice), the totals the progress
// bar uses, and the already-installed decision from the first table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "TempDirectory.h"
#include "app/ZEP2InstApp.h"
#include "app/ZEP2InstHQ.h"
#include "platform/QelLog.h"
#include "sandbox/tool/ddl/DdlRepository.h"

namespace {

using H = ZEP2InstHQ;

class ModelerCatalog : public ::testing::Test {
 protected:
  void SetUp() override {
    H::ResetInstallationParameters();
    setenv("QelUserSettingPath", directory.File("settings").c_str(), 1);
    setenv("QelReffilesPath", directory.File("reffiles").c_str(), 1);
    std::string error;
    ASSERT_EQ(WriteDdlRepository(directory.File("reffiles/DBMS/ddl"), 1, error), 0) << error;
    controller = std::make_unique<H>(&application, "ZEP2InstHQ", "", "", directory.File("trace"));
    controller->Build();
    H::_svTESDICOOwner = "pdmdico";
    H::_nvEXEDBObj = 1;
    H::_nvEXECINDB = 0;  // no database: the decision rests on the files
  }
  void TearDown() override {
    controller.reset();
    unsetenv("QelReffilesPath");
    QelCloseLogFiles();
  }

  void Build() {
    H::GetModelerColl(&controller->_ModelerNameColl, &controller->_svDDLFileRepository);
    H::GenModelerPersColl(&controller->_ModelerNameColl, &controller->_ModelerPersColl,
                          controller.get());
  }

  TempDirectory directory;
  ZEP2InstApp application;
  std::unique_ptr<H> controller;
};

TEST_F(ModelerCatalog, NamesComeInInstallationOrderWithTheVaultLast) {
  Build();
  ASSERT_EQ(controller->_ModelerNameColl.Size(), 20);
  EXPECT_EQ(controller->_ModelerNameColl(1).str(), "CDMSTEP");
  EXPECT_EQ(controller->_ModelerNameColl(19).str(), "CableNetwork");
  EXPECT_EQ(controller->_svDDLFileRepository.str(), directory.File("reffiles/DBMS/ddl"));
  H::_nvEXEVault = 1;
  Build();
  ASSERT_EQ(controller->_ModelerNameColl.Size(), 21);
  EXPECT_EQ(controller->_ModelerNameColl(21).str(), "VAULTFILE");
  EXPECT_EQ(H::_svVAULTAdm.str(), "pdmdico") << "an empty vault account becomes the owner";
  EXPECT_NE(ReadWholeFile(directory.File("trace"))
                .find("\ngrant_DDLFileName        : <grant_ZEP_VAULTFILE>"),
            std::string::npos);
  unsetenv("QelReffilesPath");
  Build();
  EXPECT_EQ(controller->_ModelerNameColl.Size(), 0) << "no reference files, no modeler";
}

TEST_F(ModelerCatalog, EachDbmsReadsItsDialectAndTheTotalsAddUp) {
  for (const bool db2 : {true, false}) {
    H::_nvIBMDB2UDB = db2;
    H::_nvOracle = !db2;
    Build();
    const QelListPtr<ZEP2PersModeler>& modelers = controller->_ModelerPersColl;
    ASSERT_EQ(modelers.Size(), 20);
    int total = 0;
    for (int i = 1; i <= modelers.Size(); ++i) {
      const ZEP2PersModeler* modeler = modelers(i);
      EXPECT_EQ(modeler->_SchemaOwner.str(), "PDMDICO");
      int statements = 0;
      for (int f = 1; f <= modeler->_DDLFileColl->Size(); ++f) {
        const std::string path = (*modeler->_DDLFileColl)(f)->GetPath().str();
        EXPECT_TRUE(path.ends_with(db2 ? ".clp" : ".sql")) << path;
        statements += (*modeler->_DDLFileColl)(f)->GetSQLOrderColl().Size();
      }
      EXPECT_EQ(modeler->_NbrOfStatements, statements) << modeler->_ModelerName.str();
      ASSERT_EQ(modeler->_GrantFileColl->Size(), 1) << modeler->_ModelerName.str();
      EXPECT_EQ((*modeler->_DDLFileColl)(modeler->_NbrOfDDLFiles)->GetPath().str(),
                (*modeler->_GrantFileColl)(1)->GetPath().str())
          << "the grant file is played last and counted again on its own";
      total += statements;
    }
    EXPECT_EQ(H::_nvNbrOfOrdersInALLDDL, total);
    EXPECT_EQ(H::_nvPosInModelerPersColl, 1);
    EXPECT_EQ(H::_nvPosInCurrentDDLFILEColl, 1);
    EXPECT_EQ(H::_nvPosInCurrentDDL, 1);
  }
  H::_nvEXEDBObj = 0;
  Build();
  EXPECT_EQ(controller->_ModelerPersColl(1)->_NbrOfDDLFiles, 0);
  EXPECT_EQ(H::_nvNbrOfOrdersInALLDDL, 0);
  EXPECT_EQ(H::_nvPosInCurrentDDLFILEColl, 0) << "counters start at 0 without DDL";
  EXPECT_EQ(H::_nvPosInCurrentDDL, 0);
}

TEST_F(ModelerCatalog, AFileThatCannotBeReadWholeIsReadAsEmpty) {
  H::_nvIBMDB2UDB = true;
  H::_nvOracle = false;
  Build();
  const int files = controller->_ModelerPersColl(1)->_NbrOfDDLFiles;
  // A directory where a file should be: it opens, yet has no size to read.
  const std::string custo = directory.File("reffiles/DBMS/ddl/custo_CDMSTEP.clp");
  std::filesystem::remove(custo);
  std::filesystem::create_directory(custo);
  Build();
  EXPECT_EQ(controller->_ModelerPersColl(1)->_NbrOfDDLFiles, files - 1);
  EXPECT_EQ(controller->_ModelerPersColl.Size(), 20);
}

TEST_F(ModelerCatalog, TheFirstTableDecidesWhetherAModelerIsInstalled) {
  H::_nvIBMDB2UDB = 1;
  Build();
  ZEP2PersModeler* first = controller->_ModelerPersColl(1);
  EXPECT_EQ(first->IsModelerAlreadyInstalled("PDMDICO"), 0)
      << "without database execution nothing is installed";

  // A first table without "schema." cannot be checked: it counts as
  // installed, which stops the installation before any change.
  const std::string path = directory.File("reffiles/DBMS/ddl/CDMSTEP.clp");
  std::ofstream(path) << "-- broken\nCREATE TABLE NOSCHEMA (ID INTEGER NOT NULL);\n";
  std::ofstream(directory.File("reffiles/DBMS/ddl/PUBSUB.clp"))
      << "CREATE TABLE $(SCHEMA).PUBSUB_TOPIC ID INTEGER;\n";
  Build();
  EXPECT_EQ(controller->_ModelerPersColl(1)->IsModelerAlreadyInstalled("PDMDICO"), -2);
  EXPECT_EQ(controller->_ModelerPersColl(2)->IsModelerAlreadyInstalled("PDMDICO"), -3);
}

}  // namespace
