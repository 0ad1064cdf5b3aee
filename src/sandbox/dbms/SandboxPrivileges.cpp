// Who may do what: DB2 database authorities and table privileges, Oracle
// roles, system privileges and object privileges, as the sandbox enforces
// them.
#include <algorithm>

#include "SandboxSession.h"

namespace qelsandbox {

namespace {

// "?1, ?2, ..." for count values bound from first on.
std::string Placeholders(std::size_t first, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    if (i) text += ", ";
    text += "?" + std::to_string(first + i);
  }
  return text;
}

bool GrantExists(SqliteDatabase& db, const std::string& kind,
                 const std::vector<std::string>& privileges, long long objectId,
                 const std::vector<std::string>& grantees) {
  SqliteStatement statement =
      db.Prepare("SELECT 1 FROM sbx_grants WHERE kind = ?1 AND object_id = ?2 AND privilege IN (" +
                 Placeholders(3, privileges.size()) + ") AND grantee IN (" +
                 Placeholders(3 + privileges.size(), grantees.size()) + ") LIMIT 1");
  statement.Bind(1, kind).Bind(2, objectId);
  int index = 3;
  for (const std::string& privilege : privileges) statement.Bind(index++, privilege);
  for (const std::string& grantee : grantees) statement.Bind(index++, grantee);
  return statement.Step();
}

// The system privilege that stands in for an object privilege on every
// object of a kind.
std::string AnyPrivilege(const ObjectInfo& object, const std::string& privilege) {
  if (object.type == "SEQUENCE") return privilege == "SELECT" ? "SELECT ANY SEQUENCE" : "";
  if (object.type == "PROCEDURE" || object.type == "FUNCTION" || object.type == "PACKAGE") {
    return privilege == "EXECUTE" ? "EXECUTE ANY PROCEDURE" : "";
  }
  if (privilege == "INDEX") return "CREATE ANY INDEX";
  if (privilege == "REFERENCES") return "";
  return privilege + " ANY TABLE";
}

// The kind named in Oracle's CREATE ANY / DROP ANY privileges.
std::string PrivilegeKind(const std::string& type) {
  if (type == "FUNCTION" || type == "PACKAGE") return "PROCEDURE";
  if (type == "ALIAS") return "SYNONYM";
  return type;
}

}  // namespace

std::vector<std::string> Session::Grantees() {
  if (dialect_ == Dialect::Db2) return {user_, "PUBLIC"};
  if (!grantees_.empty()) return grantees_;
  // Roles granted to roles, breadth first. (A recursive query does the same
  // but costs SQLite a temporary table each time: far slower per statement.)
  std::vector<std::string> grantees{user_, "PUBLIC"};
  SqliteStatement roles =
      db_->Prepare("SELECT privilege FROM sbx_grants WHERE grantee = ?1 AND kind = 'ROLE'");
  for (std::size_t next = 0; next < grantees.size(); ++next) {
    roles.Reset();
    roles.Bind(1, grantees[next]);
    while (roles.Step()) {
      const std::string role = roles.Text(0);
      if (std::find(grantees.begin(), grantees.end(), role) == grantees.end()) {
        grantees.push_back(role);
      }
    }
  }
  grantees_ = grantees;
  return grantees;
}

bool Session::IsAdministrator() {
  if (dialect_ == Dialect::Db2) {
    // The instance owner holds SYSADM over every database of the instance.
    return user_ == ToUpper(location_.instance) ||
           GrantExists(*db_, "DATABASE", {"DBADM"}, 0, Grantees());
  }
  const std::vector<std::string> grantees = Grantees();
  return std::find(grantees.begin(), grantees.end(), "DBA") != grantees.end();
}

bool Session::HasSystemPrivilege(const std::string& privilege) {
  return IsAdministrator() || GrantExists(*db_, "SYSTEM", {privilege}, 0, Grantees());
}

bool Session::HasDatabaseAuthority(const std::string& authority) {
  return IsAdministrator() || GrantExists(*db_, "DATABASE", {authority}, 0, Grantees());
}

bool Session::HasObjectPrivilege(const ObjectInfo& object, const std::string& privilege) {
  if (object.owner == user_ || IsAdministrator()) return true;
  if (dialect_ == Dialect::Oracle) {
    const std::string any = AnyPrivilege(object, privilege);
    if (!any.empty() && HasSystemPrivilege(any)) return true;
  }
  return GrantExists(*db_, "OBJECT", {privilege, "CONTROL"}, object.id, Grantees());
}

bool Session::HasAnyObjectPrivilege(const ObjectInfo& object) {
  if (object.owner == user_ || IsAdministrator()) return true;
  for (const char* privilege : {"SELECT", "INSERT", "UPDATE", "DELETE", "ALTER"}) {
    if (HasObjectPrivilege(object, privilege)) return true;
  }
  SqliteStatement statement = db_->Prepare(
      "SELECT 1 FROM sbx_grants WHERE object_id = ?1 AND "
      "kind = 'OBJECT' AND grantee IN (" +
      Placeholders(2, Grantees().size()) + ")");
  statement.Bind(1, object.id);
  int index = 2;
  for (const std::string& grantee : Grantees()) statement.Bind(index++, grantee);
  return statement.Step();
}

void Session::Insufficient(const std::string& operation, const std::string& object) {
  if (dialect_ == Dialect::Oracle) Raise(OraError(1031, "insufficient privileges"));
  if (object.empty()) {
    Raise(Db2Error(
        552,
        "\"" + user_ + "\" does not have the privilege to perform operation \"" + operation + "\".",
        "42502"));
  }
  Raise(Db2Error(551,
                 "\"" + user_ +
                     "\" does not have the required authorization or privilege to perform "
                     "operation \"" +
                     operation + "\" on object \"" + object + "\".",
                 "42501"));
}

void Session::RequireSystemPrivilege(const std::string& privilege) {
  const bool allowed = dialect_ == Dialect::Db2 ? IsAdministrator() : HasSystemPrivilege(privilege);
  if (!allowed) Insufficient(privilege, {});
}

void Session::RequireCreateIn(const QualifiedName& name, const std::string& type) {
  if (IsAdministrator()) return;
  const bool own = name.schema == user_;
  if (dialect_ == Dialect::Db2) {
    if (!own) Insufficient("CREATE " + type, name.Shown());
    if (type == "TABLE" && !HasDatabaseAuthority("CREATETAB")) Insufficient("CREATETAB", {});
    return;
  }
  if (type == "INDEX") {
    if (!own && !HasSystemPrivilege("CREATE ANY INDEX")) Insufficient("CREATE ANY INDEX", {});
    return;
  }
  const std::string kind = PrivilegeKind(type);
  if (!HasSystemPrivilege(own ? "CREATE " + kind : "CREATE ANY " + kind)) {
    Insufficient("CREATE " + kind, name.Shown());
  }
}

void Session::RequireOwnerOrAny(const ObjectInfo& object, const std::string& action) {
  if (object.owner == user_ || IsAdministrator()) return;
  if (dialect_ == Dialect::Oracle) {
    if (object.schema == user_) return;
    const std::string any =
        action == "COMMENT" ? "COMMENT ANY TABLE" : action + " ANY " + PrivilegeKind(object.type);
    if (HasSystemPrivilege(any)) return;
  }
  if (action == "ALTER" &&
      GrantExists(*db_, "OBJECT", {"ALTER", "CONTROL"}, object.id, Grantees())) {
    return;
  }
  Insufficient(action + " " + object.type, object.Shown());
}

void Session::RequireObjectPrivilege(const ObjectInfo& object, const std::string& privilege) {
  if (HasObjectPrivilege(object, privilege)) return;
  // Oracle does not even admit that an object it hides exists.
  if (dialect_ == Dialect::Oracle && !HasAnyObjectPrivilege(object)) {
    if (object.type == "SEQUENCE") Raise(OraError(2289, "sequence does not exist"));
    Raise(OraError(942, "table or view does not exist"));
  }
  Insufficient(privilege, object.Shown());
}

}  // namespace qelsandbox
