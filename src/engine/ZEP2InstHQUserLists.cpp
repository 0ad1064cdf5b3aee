// Which database users the run must create, or switch between password and
// external authentication, decided once from the users the database has.
#include <cstdio>
#include <cstdlib>

#include "app/ZEP2InstHQ.h"
#include "engine/ZEP2Assert.h"
#include "platform/QelLog.h"

namespace {

using H = ZEP2InstHQ;
using List = QelListValQelUnicodeString;

int Find(const List& list, const QelUnicodeString& name) {
  for (int i = 1; i <= list.Size(); ++i) {
    if (list(i).Compare(name) == 2) return i;
  }
  return 0;
}

struct UserLists {
  List* create;
  List* createPasswords;
  List* defSysSrv;
  List* defSysSrvPasswords;
  List* defSrvSys;
  List* defSrvSysPasswords;
  List* defSrvSysFlags;
  List* tmp;
  List* tmpPasswords;
};

// The administrator's rules, also applied to the vault administrator.
void ClassifyAdministrator(const QelUnicodeString& user, const QelUnicodeString& password,
                           const List& existing, const List& authentications,
                           const UserLists& lists) {
  const int found = Find(existing, user);
  const auto trace = [&](const char* what) {
    WriteTraceLogFile("\nThe database User: <" + user + what, 1);
  };
  if (found && authentications(found).Compare("EXTERNAL") == 2) {
    if (H::_nvAUTHClient) {
      lists.tmp->Append(user);
      lists.tmpPasswords->Append(password);
      trace("> is to alter temporary");
    } else {
      lists.defSysSrv->Append(user);
      lists.defSysSrvPasswords->Append(password);
      trace("> is to alter definitively to server authentication");
    }
  } else if (found) {
    if (H::_nvAUTHClient) {
      lists.defSrvSys->Append(user);
      lists.defSrvSysPasswords->Append(password);
      lists.defSrvSysFlags->Append("N");
      trace("> is to alter definitively to system authentication");
    }
  } else {
    lists.create->Append(user);
    lists.createPasswords->Append(password);
    WriteTraceLogFile("\nThe user         : <" + user + "> is to create in database", 1);
    if (H::_nvAUTHClient) {
      lists.defSrvSys->Append(user);
      lists.defSrvSysPasswords->Append(password);
      lists.defSrvSysFlags->Append("Y");
    }
  }
}

}  // namespace

void ZEP2InstHQ::GenUserToCnxColl(QelUnicodeString admin, QelUnicodeString password,
                                  QelListPtr<ZEP2PersModeler>* modelers, List* users,
                                  List* passwords) {
  users->Clear();
  passwords->Clear();
  users->Append(admin.ToUpper());
  passwords->Append(password);
  WriteTraceLogFile("\nSchemaName: <" + admin.ToUpper() + ">", 1);
  for (int i = 1; modelers && i <= modelers->Size(); ++i) {
    const QelUnicodeString owner = (*modelers)(i)->_SchemaOwner.ToUpper();
    if (Find(*users, owner)) continue;
    users->Append(owner);
    passwords->Append((*modelers)(i)->_OwnerPassword);
  }
}

void ZEP2InstHQ::GenDBUserToAlterCreateColl(
    QelUnicodeString admin, QelUnicodeString password, QelListPtr<ZEP2PersModeler>* modelers,
    List* io_pDBUserToCreateColl, List* io_pDBUserPassToCreateColl,
    List* io_pDBUserToAlterDefSysSrvColl, List* io_pDBUserPassToAlterDefSysSrvColl,
    List* io_pDBUserToAlterDefSrvSysColl, List* io_pDBUserPassToAlterDefSrvSysColl,
    List* io_pDBUserAuthToAlterDefSrvSysColl, List* io_pDBUserToAlterTmpSysSrvSysColl,
    List* io_pDBUserPassToAlterTmpSysSrvSysColl) {
  const UserLists lists{io_pDBUserToCreateColl,
                        io_pDBUserPassToCreateColl,
                        io_pDBUserToAlterDefSysSrvColl,
                        io_pDBUserPassToAlterDefSysSrvColl,
                        io_pDBUserToAlterDefSrvSysColl,
                        io_pDBUserPassToAlterDefSrvSysColl,
                        io_pDBUserAuthToAlterDefSrvSysColl,
                        io_pDBUserToAlterTmpSysSrvSysColl,
                        io_pDBUserPassToAlterTmpSysSrvSysColl};
  ZEP2AssertNotNull(lists.create, "io_pDBUserToCreateColl");
  ZEP2AssertNotNull(lists.createPasswords, "io_pDBUserPassToCreateColl");
  ZEP2AssertNotNull(lists.defSysSrv, "io_pDBUserToAlterDefSysSrvColl");
  ZEP2AssertNotNull(lists.defSysSrvPasswords, "io_pDBUserPassToAlterDefSysSrvColl");
  ZEP2AssertNotNull(lists.defSrvSys, "io_pDBUserToAlterDefSrvSysColl");
  ZEP2AssertNotNull(lists.defSrvSysPasswords, "io_pDBUserPassToAlterDefSrvSysColl");
  ZEP2AssertNotNull(lists.defSrvSysFlags, "io_pDBUserAuthToAlterDefSrvSysColl");
  ZEP2AssertNotNull(lists.tmp, "io_pDBUserToAlterTmpSysSrvSysColl");
  ZEP2AssertNotNull(lists.tmpPasswords, "io_pDBUserPassToAlterTmpSysSrvSysColl");
  for (List* list : {lists.create, lists.createPasswords, lists.defSysSrv, lists.defSysSrvPasswords,
                     lists.defSrvSys, lists.defSrvSysPasswords, lists.defSrvSysFlags, lists.tmp,
                     lists.tmpPasswords}) {
    list->Clear();
  }

  const QelUnicodeString upperAdmin = admin.ToUpper();
  List existing;
  List authentications;
  std::unique_ptr<QelDbConnection> connection;
  std::unique_ptr<QelDbCursor> cursor;
  const QelUnicodeString database = _nvIBMDB2UDB ? _svDB2ALIASNAME : _svORASRVNAME;
  if (GenDBConnection(database, _svDBAUSER, _svDBAUSERP, 1, 1, connection, cursor) == 0) {
    WriteTraceLogFile("\nIsSchemaNameInDB Begin ...", 1);
    IsSchemaNameInDB(cursor.get(), connection.get(), _nvIBMDB2UDB ? QelDbDB2 : QelDbOracle,
                     upperAdmin, existing, authentications, _nvDBErrorCode, _svDBErrorMsg);
    WriteTraceLogFile("\nIsSchemaNameInDB End ...", 1);
    cursor->Close();
    connection->Close();
  }

  WriteTraceLogFile("\nTESADM User Begin ...", 1);
  ClassifyAdministrator(upperAdmin, password, existing, authentications, lists);
  WriteTraceLogFile("\nTESADM User End ...", 1);

  const QelUnicodeString vaultAdmin = _svVAULTAdm.ToUpper();
  if (_nvEXEVault) {
    WriteTraceLogFile("\nVAULTAdm User Begin ...", 1);
    if (vaultAdmin.Compare(upperAdmin) != 2) {
      ClassifyAdministrator(vaultAdmin, _svVAULTAdmP, existing, authentications, lists);
    }
    WriteTraceLogFile("\nVAULTAdm User End ...", 1);
  }

  WriteTraceLogFile("\nDictionary Owner User Begin ...", 1);
  if (!modelers) WriteTraceLogFile("\ni_pModelerPersColl == NULL", 2);
  for (int i = 1; modelers && i <= modelers->Size(); ++i) {
    const QelUnicodeString owner = (*modelers)(i)->_SchemaOwner.ToUpper();
    if (owner.Compare("") == 2) {
      WriteTraceLogFile("\nDictionary Owner User empty ==> nothing to do", 1);
      continue;
    }
    if (owner.Compare(upperAdmin) == 2) {
      WriteTraceLogFile("\nDictionary Owner User == TESADM ==> already traited", 1);
      continue;
    }
    if (_nvEXEVault && owner.Compare(vaultAdmin) == 2) {
      WriteTraceLogFile("\nDictionary Owner User == VAULTADM ==> already traited", 1);
      continue;
    }
    const int found = Find(existing, owner);
    if (!found) {
      if (!Find(*lists.create, owner)) {
        lists.create->Append(owner);
        lists.createPasswords->Append((*modelers)(i)->_OwnerPassword);
      }
      continue;
    }
    if (Find(*lists.tmp, owner) || authentications(found).Compare("EXTERNAL") != 2) continue;
    lists.tmp->Append(owner);
    lists.tmpPasswords->Append((*modelers)(i)->_OwnerPassword);
    WriteTraceLogFile("\nThe database User: <" + owner + "> is to alter temporary", 1);
  }
  WriteTraceLogFile("\nDictionary Owner User End ...", 1);
}
