// The modeler catalogue: the names in installation order, and one modeler
// object per name with its owner, tablespaces and parsed DDL files.
#include <cstdio>
#include <cstdlib>

#include "app/ZEP2InstHQ.h"
#include "engine/ZEP2Assert.h"
#include "engine/ZEP2ModelerNames.h"
#include "platform/QelLog.h"
#include "platform/QelSystem.h"

void ZEP2InstHQ::GetModelerColl(QelListValQelUnicodeString* io_pModelerNameColl,
                                QelUnicodeString* o_svDDLFileRepository) {
  ZEP2AssertNotNull(io_pModelerNameColl, "io_pModelerNameColl");
  ZEP2AssertNotNull(o_svDDLFileRepository, "o_svDDLFileRepository");
  io_pModelerNameColl->Clear();
  const char* referenceFiles = QelGetEnv("QelReffilesPath");
  if (!referenceFiles) return;
  *o_svDDLFileRepository = QelUnicodeString(referenceFiles) + "/DBMS/ddl";
  WriteTraceLogFile("\nDDLFileRepository : <" + *o_svDDLFileRepository + ">", 1);
  for (const std::string_view name : ZEP2ModelerNames) io_pModelerNameColl->Append(name);
  if (_nvEXEVault) io_pModelerNameColl->Append(ZEP2VaultModelerName);
  for (const QelUnicodeString& name : *io_pModelerNameColl) {
    WriteTraceLogFile("\nModeler Name : <" + name + ">", 1);
  }
}

void ZEP2InstHQ::GenModelerPersColl(QelListValQelUnicodeString* io_pModelerNameColl,
                                    QelListPtr<ZEP2PersModeler>* io_pModelerPersColl,
                                    ZEP2InstHQ* iZEP2InstHQHandler) {
  ZEP2AssertNotNull(io_pModelerNameColl, "io_pModelerNameColl");
  ZEP2AssertNotNull(io_pModelerPersColl, "io_pModelerPersColl");
  ZEP2AssertNotNull(iZEP2InstHQHandler, "iZEP2InstHQHandler");
  io_pModelerPersColl->Clear();
  _nvModelerPersCollSize = 0;
  _nvPosInModelerPersColl = 0;
  _nvNbrOfOrdersInCurrentDDL = 0;
  _nvNbrOfOrdersInALLDDL = 0;
  const QelUnicodeString tablespace = TypicalTablespace();
  const QelUnicodeString blobTablespace = TypicalBLOBTablespace();
  QelInteractiveApplication* application = iZEP2InstHQHandler->_Application;

  for (const QelUnicodeString& name : *io_pModelerNameColl) {
    WriteTraceLogFile("\nModeler Name : <" + name + ">", 1);
    if (application) {
      application->SetBusyCursor();
      application->UpdateDisplay();
    }
    QelUnicodeString owner = _svTESDICOOwner;
    QelUnicodeString password = _svTESDICOOwnerP;
    if (name.Compare(ZEP2VaultModelerName) == 2) {
      if (_svVAULTAdm.Compare("") == 2) {
        _svVAULTAdm = _svTESDICOOwner;
        _svVAULTAdmP = _svTESDICOOwnerP;
      }
      owner = _svVAULTAdm;
      password = _svVAULTAdmP;
    }
    const bool db2 = _nvIBMDB2UDB;
    ZEP2PersModeler* modeler = io_pModelerPersColl->Append(std::make_unique<ZEP2PersModeler>(
        name, "ZEP", "V5R2.1", iZEP2InstHQHandler->_svDDLFileRepository, owner.ToUpper(), password,
        db2 ? _svDB2ALIASNAME : _svORASRVNAME, _nvIBMDB2UDB, _nvOracle, _nvAUTHClient,
        _nvAUTHServer, db2 ? _nvDB2Local : _nvORALocal, db2 ? _nvDB2Remote : _nvORARemote,
        tablespace, blobTablespace));
    ++_nvModelerPersCollSize;
    _nvNbrOfOrdersInALLDDL += modeler->_NbrOfStatements;
  }

  if (io_pModelerPersColl->Size() > 0) {
    ZEP2PersModeler* first = (*io_pModelerPersColl)(1);
    _nvPosInModelerPersColl = 1;
    _nvCurrentDDLFILECollSize = first->_NbrOfDDLFiles;
    if (_nvCurrentDDLFILECollSize < 1) {
      _nvPosInCurrentDDLFILEColl = 0;
      _nvPosInCurrentDDL = 0;
    } else {
      _nvPosInCurrentDDLFILEColl = 1;
      _nvNbrOfOrdersInCurrentDDL = (*first->_DDLFileColl)(1)->GetSQLOrderColl().Size();
      _nvPosInCurrentDDL = 1;
    }
  }
  const auto traceTotal = [](const char* label, int value) {
    WriteTraceLogFile(label + QelUnicodeString::FromInt(value) + ">", 1);
  };
  traceTotal("\nNombre de fichier DDL DML du premier modeleur a instancier : <",
             _nvCurrentDDLFILECollSize);
  traceTotal("\nNombre d'ordre dans le premier DDL a executer              : <",
             _nvNbrOfOrdersInCurrentDDL);
  traceTotal("\nNombre total d'ordre dans les DDL DML a executer           : <",
             _nvNbrOfOrdersInALLDDL);
}
