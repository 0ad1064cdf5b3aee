// Check only: instead of the installation, every check it depends on, run
// against the database and the machine with all problems collected, and a
// report that says what to do about each. Nothing is created, written or
// run that an installation would leave behind.
#include <cstdlib>
#include <string>
#include <vector>

#include "ZEP2UndoJournal.h"
#include "ZEP2ValidationHost.h"
#include "ZEP2ValidationMode.h"
#include "ZEP2ValidationSpace.h"
#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelLog.h"
#include "platform/QelSystem.h"

namespace {

using H = ZEP2InstHQ;

// The schema owner a modeler's check connects as, while the administrator
// cannot: the answers name it and its password, and it reads its own tables
// in the catalogue.
class AnsweredAdministrator {
 public:
  AnsweredAdministrator(const QelUnicodeString& user, const QelUnicodeString& password)
      : user_(H::_svDBAUSER), password_(H::_svDBAUSERP) {
    H::_svDBAUSER = user;
    H::_svDBAUSERP = password;
  }
  ~AnsweredAdministrator() {
    H::_svDBAUSER = user_;
    H::_svDBAUSERP = password_;
  }
  AnsweredAdministrator(const AnsweredAdministrator&) = delete;
  AnsweredAdministrator& operator=(const AnsweredAdministrator&) = delete;

 private:
  QelUnicodeString user_;
  QelUnicodeString password_;
};

int Dbms() {
  return H::_nvIBMDB2UDB ? QelDbDB2 : QelDbOracle;
}

QelUnicodeString Database() {
  return H::_nvIBMDB2UDB ? H::_svDB2ALIASNAME : H::_svORASRVNAME;
}

std::vector<std::string> FirstColumn(QelDbConnection& connection, const std::string& query,
                                     std::string& error) {
  std::vector<QelDbRow> rows;
  QelDbError failure;
  std::vector<std::string> values;
  if (connection.Query(query, rows, failure) != 0) {
    error = failure.message;
    return values;
  }
  for (const QelDbRow& row : rows) values.push_back(row.empty() ? "" : row[0]);
  return values;
}

bool Holds(const std::vector<std::string>& values, const std::string& value) {
  for (const std::string& held : values) {
    if (QelUnicodeString(held).ToUpper().Compare(QelUnicodeString(value).ToUpper()) == 2) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool ZEP2InstHQ::Refused(ZEP2PageDialog* page, const QelUnicodeString& text, QelDlgObject* field) {
  if (!zep2validation::Silent()) {
    if (field) {
      ShowFieldError(page, field, text);
    } else {
      ShowError(page, text);
    }
    return true;
  }
  RecordRefusal(page, text);
  return false;
}

void ZEP2InstHQ::RecordRefusal(ZEP2PageDialog* page, const QelUnicodeString& text) {
  const std::string where = page->Title.str().empty() ? "a page" : page->Title.str();
  WriteTraceLogFile("\nCHECK ONLY: refusal recorded on " + QelUnicodeString(where) + ": " + text,
                    1);
  zep2validation::HandOn({"answer on " + where, text.str(),
                          "correct the answer in the response file (or on the page)"});
}

bool ZEP2InstHQ::SkipTablespacePages(QelDialog* page) {
  // A new Oracle tablespace on this host is offered without the database.
  if (!zep2validation::Silent() || (_nvOracle && _nvORALocal && _nvEXEDBObj)) return false;
  WriteTraceLogFile("\nCHECK ONLY: no DBA connection, the tablespace pages are passed", 1);
  if (_nvEXEVault) {
    PresetVault();
    _DlgVAULTADM->SetVisibility(QelDlgObject::Shown);
  } else {
    CB_VAULTSRV_Next(this, nullptr, nullptr);
  }
  page->SetVisibility(QelDlgObject::Hidden);
  return true;
}

bool ZEP2InstHQ::CheckingOnly() const {
  return _CheckOnly || zep2validation::Requested();
}

void ZEP2InstHQ::St_Validate(QelCommand* command, int, void*) {
  StepBegin(command, "Validate");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  for (const ZEP2ValidationProblem& refusal : zep2validation::HandedOn()) {
    controller->_Validation.Add(refusal.check, refusal.problem, refusal.remedy);
  }
  controller->ValidateDatabase();
  controller->ValidateMachine();
  controller->EndValidation();
  StepEnd("Validate");
}

void ZEP2InstHQ::ValidateDatabase() {
  ZEP2ValidationReport& report = _Validation;
  const int dbms = Dbms();
  const QelUnicodeString database = Database();
  if (!_nvEXECINDB) {
    report.NotChecked("database", "file execution mode: the statements go into the DDL file");
    return;
  }
  const std::string driver = QelDbCheckDriver(dbms, database.str());
  report.Checked("database driver");
  if (!driver.empty()) {
    report.Add("database driver", driver, "install or register the DBMS client's ODBC driver");
  }
  std::unique_ptr<QelDbConnection> connection;
  std::unique_ptr<QelDbCursor> cursor;
  report.Checked("DBA connection");
  const bool connected = driver.empty() && GenDBConnection(database, _svDBAUSER, _svDBAUSERP, 1, 1,
                                                           connection, cursor) == 0;
  if (!connected && driver.empty()) {
    report.Add(
        "DBA connection",
        "cannot connect to " + database.str() + " as " + _svDBAUSER.str() + ": " + _svDBErrorMsg,
        "check the DBA user and password on the DBA page, and that the database is up");
  }
  ValidateEarlierInstallation(connected);
  if (!connected) {
    const std::string reason = driver.empty() ? "no DBA connection" : "the driver cannot work";
    for (const char* check : {"DBA privileges", "database users", "tablespaces", "free space"}) {
      report.NotChecked(check, reason);
    }
  } else {
    ValidateCatalogue(*connection);
    cursor->Close();
    connection->Close();
  }
  const ZEP2UndoJournal journal(dbms, database.str());
  report.Checked("interrupted installation");
  if (journal.FileExists()) {
    report.Add("interrupted installation",
               "an earlier run on " + database.str() +
                   " was interrupted and left its undo journal " +
                   ZEP2UndoJournal::PathFor(dbms, database.str()),
               "run the wizard without check only and accept the rollback it offers");
  }
}

void ZEP2InstHQ::ValidateEarlierInstallation(bool administrator) {
  ZEP2ValidationReport& report = _Validation;
  const std::string check = "earlier installation";
  report.Checked(check);
  std::vector<std::string> seen;
  bool unchecked = false;
  for (int i = 1; i <= _ModelerPersColl.Size(); ++i) {
    ZEP2PersModeler* modeler = _ModelerPersColl(i);
    const QelUnicodeString owner = modeler->_SchemaOwner.ToUpper();
    if (Holds(seen, owner.str())) continue;
    _nvDBErrorCode = 0;
    int installed = 0;
    if (administrator) {
      installed = modeler->IsModelerAlreadyInstalled(owner);
    } else {
      const AnsweredAdministrator as(owner, modeler->_OwnerPassword);
      installed = modeler->IsModelerAlreadyInstalled(owner);
    }
    if (_nvDBErrorCode != 0) {
      unchecked = true;
      continue;
    }
    if (installed == 0) continue;
    seen.push_back(owner.str());
    report.Add(check,
               "the schema of " + owner.str() + " already holds the tables of modeler " +
                   modeler->_ModelerName.str(),
               "install into another database or schema, or drop the earlier installation");
  }
  if (unchecked) {
    report.NotChecked(check, administrator ? "the catalogue query failed"
                                           : "no DBA connection, and the schema owners could not "
                                             "connect with the answered passwords");
  }
}

void ZEP2InstHQ::ValidateCatalogue(QelDbConnection& connection) {
  ZEP2ValidationReport& report = _Validation;
  const QelDbDialect& dialect = QelDbDialect::For(Dbms());
  std::string error;
  const std::vector<std::string> privileges =
      FirstColumn(connection, dialect.PrivilegesQuery(_svDBAUSER.str()), error);
  if (!error.empty()) {
    report.NotChecked("DBA privileges", "the catalogue query failed: " + error);
  } else if (!Holds(privileges, std::string(dialect.NeededPrivilege()))) {
    report.Add("DBA privileges",
               _svDBAUSER.str() + " lacks " + std::string(dialect.NeededPrivilege()) +
                   ", which creating users, tablespaces and grants needs",
               "grant it " + std::string(dialect.NeededPrivilege()) + ", or answer another DBA");
  } else {
    report.Checked("DBA privileges");
  }
  ValidateUsers(connection);
  ValidateTablespaces(connection);
}

void ZEP2InstHQ::ValidateUsers(QelDbConnection& connection) {
  std::string error;
  const std::vector<std::string> users =
      FirstColumn(connection, QelDbDialect::For(Dbms()).UsersQuery(), error);
  if (!error.empty()) return _Validation.NotChecked("database users", error);
  _Validation.Checked("database users");
  for (int i = 1; i <= _DBUserToCreateColl.Size(); ++i) {
    const std::string user = _DBUserToCreateColl(i).ToUpper().str();
    if (!Holds(users, user)) continue;
    _Validation.Add("database users",
                    "user " + user + " exists already, and the installation would create it",
                    "drop the user, or answer another account");
  }
}

void ZEP2InstHQ::ValidateTablespaces(QelDbConnection& connection) {
  ZEP2ValidationReport& report = _Validation;
  const QelDbDialect& dialect = QelDbDialect::For(Dbms());
  std::string error;
  const std::vector<std::string> tablespaces =
      FirstColumn(connection, dialect.TablespacesQuery(), error);
  if (!error.empty()) return report.NotChecked("tablespaces", error);
  report.Checked("tablespaces");
  const ZEP2SpaceEstimate estimate = RepositoryEstimate();
  const bool existing = ExistingTablespaceSelected();
  const QelUnicodeString names[] = {TypicalTablespace(), TypicalBLOBTablespace()};
  for (const QelUnicodeString& name : names) {
    const bool there = Holds(tablespaces, name.ToUpper().str());
    if (existing && !there) {
      report.Add("tablespaces", "tablespace " + name.str() + " does not exist",
                 "choose an existing tablespace, or a new one");
    } else if (!existing && there && _nvOracle) {
      report.Add("tablespaces",
                 "tablespace " + name.str() +
                     " exists already, and the installation would "
                     "create it",
                 "answer another name, or choose the existing tablespace");
    }
  }
  if (!existing) return;
  std::vector<QelDbRow> rows;
  QelDbError failure;
  if (connection.Query(dialect.FreeSpaceQuery(), rows, failure) != 0) {
    return report.NotChecked("free space", failure.message);
  }
  report.Checked("free space");
  const long long needed[] = {estimate.DataKilobytes(), estimate.BlobKilobytes()};
  for (int i = 0; i < 2; ++i) {
    for (const QelDbRow& row : rows) {
      if (row.size() < 2 || QelUnicodeString(row[0]).ToUpper().Compare(names[i].ToUpper()) != 2) {
        continue;
      }
      if (row.size() > 2 && row[2] == "SMS") {
        CheckSystemManagedSpace(names[i].str(), needed[i]);
        continue;
      }
      const long long available = std::atoll(row[1].c_str());
      if (available >= needed[i]) continue;
      report.Add("free space",
                 "tablespace " + names[i].str() + " has " + std::to_string(available) +
                     " KB free, the repository needs about " + std::to_string(needed[i]) + " KB",
                 "add a container or data file to it, or choose another tablespace");
    }
  }
}

void ZEP2InstHQ::CheckSystemManagedSpace(const std::string& tablespace, long long needed) {
  // Its containers lie under the database's directory, which only a local
  // database shows.
  if (!_nvDB2Local || _svDB2DRIVEDir.str().empty()) {
    return _Validation.NotChecked("free space", "tablespace " + tablespace +
                                                    " grows on the file system of a database "
                                                    "directory this host does not show");
  }
  ZEP2CheckFreeSpace(_Validation, "free space", _svDB2DRIVEDir.str(), needed);
}

ZEP2SpaceEstimate ZEP2InstHQ::RepositoryEstimate() const {
  ZEP2SpaceEstimate estimate;
  for (int i = 1; i <= _ModelerPersColl.Size(); ++i) {
    const ZEP2PersModeler* modeler = _ModelerPersColl(i);
    if (!modeler->_DDLFileColl) continue;
    for (int f = 1; f <= modeler->_DDLFileColl->Size(); ++f) {
      const QelListPtr<QelZepSQLOrder>& orders = (*modeler->_DDLFileColl)(f)->GetSQLOrderColl();
      for (int s = 1; s <= orders.Size(); ++s)
        ZEP2EstimateStatement(orders(s)->GetText().str(), estimate);
    }
  }
  return estimate;
}

bool ZEP2InstHQ::StartValidation() {
  // Back from the report page, the choice can be changed: a person may
  // check, correct the site and check again, then install.
  _CheckOnly = _DlgSUM->Frame->ChkButSUMCheckOnly->IsChecked();
  if (!CheckingOnly()) return false;
  // A silent check-only run keeps the refusals its pages recorded.
  if (!zep2validation::Requested()) _Validation = ZEP2ValidationReport();
  WriteTraceLogFile("\nCHECK ONLY: the checks run in place of the installation", 1);
  _DlgSUM->SetVisibility(QelDlgObject::Hidden);
  _DlgSTATUS->Frame->LabelSTATUSStateOne->SetTitle("Checking the installation's prerequisites");
  _DlgSTATUS->SetVisibility(QelDlgObject::Shown);
  if (_Application) _Application->UpdateDisplay();
  if (QelApplication* application = QelApplication::MainApplication()) {
    application->Subscribe(2, this, nullptr, St_Validate);
  }
  return true;
}
