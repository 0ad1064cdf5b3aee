// The services that run inside the PDM session: the installation login of
// the administrator (PEOPLE tables) and the data manager's parameters.
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "PdmConnection.h"
#include "platform/pdm/ZEPServices.h"

namespace {

constexpr const char* DataManagerVersion = "V5R8";
// The role and organisation the PDM server expects its data administrator
// to hold; the installer records the same names in the server's settings.
constexpr const char* AdministratorRole = "ZEPADMIN";
constexpr const char* AdministratorOrganisation = "ADMIN";

constexpr const char* NoSession = "no PDM session is open";

// The first column of the first row of a query, empty when there is none.
// 0, or the DBMS's code.
int FirstValue(pdm::Connection& db, const std::string& query, std::string& value,
               pdm::Failure& failure) {
  std::vector<QelDbRow> rows;
  value.clear();
  if (db.Query(query, rows, failure) != 0) return failure.code;
  if (!rows.empty() && !rows.front().empty()) value = rows.front().front();
  return 0;
}

int IdOfName(pdm::Connection& db, const std::string& table, const std::string& idColumn,
             const char* name, std::string& id, pdm::Failure& failure) {
  if (FirstValue(db,
                 "SELECT " + idColumn + " FROM " + db.Object(table) +
                     " WHERE NAME = " + pdm::Literal(name),
                 id, failure) != 0) {
    return failure.code;
  }
  if (!id.empty()) return 0;
  failure = {ZEPErrorMissingReference, std::string("no ") + name + " in " + db.Object(table) +
                                           ": the PEOPLE reference rows are missing"};
  return failure.code;
}

// The administrator's person, active, holding the administrator role in
// the administrators' organisation; uncommitted. 0, or the failing code.
int RecordLogin(pdm::Connection& db, const std::string& login, pdm::Failure& failure) {
  std::string role;
  std::string organisation;
  std::string person;
  if (IdOfName(db, "PEOPLE_ROLE", "ROLE_ID", AdministratorRole, role, failure) != 0 ||
      IdOfName(db, "PEOPLE_ORGANISATION", "ORG_ID", AdministratorOrganisation, organisation,
               failure) != 0) {
    return failure.code;
  }
  const std::string people = db.Object("PEOPLE_PERSON");
  const std::string byLogin =
      "SELECT PERSON_ID FROM " + people + " WHERE LOGIN = " + pdm::Literal(login);
  if (FirstValue(db, byLogin, person, failure) != 0) return failure.code;
  if (!person.empty()) {
    const std::string activate = "UPDATE " + people + " SET ACTIVE = 1 WHERE PERSON_ID = " + person;
    if (db.Execute(activate, failure) != 0) return failure.code;
  } else if (db.Execute("INSERT INTO " + people +
                            " (PERSON_ID, LOGIN, LAST_NAME, ORG_ID) VALUES (" +
                            db.NextValue("PEOPLE_SEQ_PERSON") + ", " + pdm::Literal(login) +
                            ", 'PDM administrator', " + organisation + ")",
                        failure) != 0 ||
             FirstValue(db, byLogin, person, failure) != 0) {
    return failure.code;
  }
  const std::string assignments = db.Object("PEOPLE_ASSIGNMENT");
  const std::string holding =
      " WHERE PERSON_ID = " + person + " AND ROLE_ID = " + role + " AND ORG_ID = " + organisation;
  std::string assignment;
  const std::string held = "SELECT ASSIGNMENT_ID FROM " + assignments + holding;
  if (FirstValue(db, held, assignment, failure) != 0) return failure.code;
  // A role that was given an end is given back for good.
  return assignment.empty()
             ? db.Execute("INSERT INTO " + assignments +
                              " (ASSIGNMENT_ID, PERSON_ID, ROLE_ID, ORG_ID) VALUES (" +
                              db.NextValue("PEOPLE_SEQ_ASSIGNMENT") + ", " + person + ", " + role +
                              ", " + organisation + ")",
                          failure)
             : db.Execute("UPDATE " + assignments + " SET VALID_UNTIL = NULL" + holding, failure);
}

// The parameters the data manager starts from, read from what the
// installation has put in the database so far.
int Parameters(pdm::Connection& db, const std::string& administrator,
               std::vector<std::pair<std::string, std::string>>& parameters,
               pdm::Failure& failure) {
  parameters = {{"DATA_MANAGER_VERSION", DataManagerVersion},
                {"DATA_MANAGER_ADMINISTRATOR", administrator}};
  // The local site the last project import created is this server's site.
  std::string site;
  if (FirstValue(db,
                 "SELECT SITE_UUID FROM " + db.Object("ZEPADMIN_SITE") +
                     " WHERE IS_LOCAL = 1 ORDER BY SITE_ID DESC",
                 site, failure) != 0) {
    return failure.code;
  }
  if (!site.empty()) {
    parameters.emplace_back("DEFAULT_SITE", site);
    std::string project;
    if (FirstValue(db,
                   "SELECT NAME FROM " + db.Object("ZEPADMIN_PROJECT") +
                       " WHERE SITE_UUID = " + pdm::Literal(site) + " ORDER BY PROJECT_ID",
                   project, failure) != 0) {
      return failure.code;
    }
    if (!project.empty()) parameters.emplace_back("DEFAULT_PROJECT", project);
  }
  // The vault's tables belong to the vault account; the administrator sees
  // them once the vault modeler granted him their use.
  std::string vault;
  if (FirstValue(db,
                 db.Dbms() == QelDbDB2
                     ? "SELECT TABNAME FROM SYSCAT.TABLES WHERE TABNAME = 'VAULT_STORE'"
                     : "SELECT TABLE_NAME FROM ALL_TABLES WHERE TABLE_NAME = 'VAULT_STORE'",
                 vault, failure) != 0) {
    return failure.code;
  }
  parameters.emplace_back("VAULT_ENABLED", vault.empty() ? "0" : "1");
  return 0;
}

int WriteParameters(pdm::Connection& db, const std::string& administrator, pdm::Failure& failure) {
  std::vector<std::pair<std::string, std::string>> parameters;
  if (Parameters(db, administrator, parameters, failure) != 0) return failure.code;
  const std::string table = db.Object("CONFIG_DATA_MANAGER");
  std::vector<QelDbRow> rows;
  if (db.Query("SELECT PARAMETER_NAME FROM " + table, rows, failure) != 0) return failure.code;
  std::set<std::string> existing;
  for (const QelDbRow& row : rows) existing.insert(row.at(0));
  for (const auto& [name, value] : parameters) {
    const std::string statement =
        existing.count(name)
            ? "UPDATE " + table + " SET PARAMETER_VALUE = " + pdm::Literal(value) +
                  ", UPDATED = " + db.Now() + ", UPDATED_BY = " + pdm::Literal(administrator) +
                  " WHERE PARAMETER_NAME = " + pdm::Literal(name)
            : "INSERT INTO " + table + " (PARAMETER_NAME, PARAMETER_VALUE, UPDATED_BY) VALUES (" +
                  pdm::Literal(name) + ", " + pdm::Literal(value) + ", " +
                  pdm::Literal(administrator) + ")";
    if (db.Execute(statement, failure) != 0) return failure.code;
  }
  return 0;
}

}  // namespace

int TAVOInstallCreateLoginSession(const char* administrator, const char*, const char*, int& status,
                                  void*& loginSession) {
  pdm::ClearReport();
  loginSession = nullptr;
  pdm::Connection* session = pdm::SessionConnection();
  pdm::Failure failure;
  if (!session) {
    failure = {ZEPErrorNoSession, NoSession};
  } else if (RecordLogin(*session, QelUnicodeString(administrator).ToUpper().str(), failure) != 0 ||
             session->Commit(failure) != 0) {
    session->Rollback();
  } else {
    loginSession = session;
  }
  status = failure.code;
  if (status != 0) pdm::Report("TAVOInstallCreateLoginSession", failure, true);
  return status;
}

int ZEPDataManagerAPI(const char* administrator, const char*, int options, int& errorCode,
                      char* message) {
  pdm::ClearReport();
  pdm::Connection* session = pdm::SessionConnection();
  pdm::Failure failure;
  if (options != 0) {
    failure = {ZEPErrorUnknownOption,
               "unknown data manager option " + std::to_string(options) + " (only 0 is known)"};
  } else if (!session) {
    failure = {ZEPErrorNoSession, NoSession};
  } else if (WriteParameters(*session, QelUnicodeString(administrator).ToUpper().str(), failure) !=
                 0 ||
             session->Commit(failure) != 0) {
    session->Rollback();
  }
  errorCode = failure.code;
  QelDbSetMessage(message, failure.message);
  if (failure.code != 0) pdm::Report("ZEPDataManagerAPI", failure, false);
  return failure.code;
}
