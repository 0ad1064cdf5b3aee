// GRANT and REVOKE: DB2 database authorities, Oracle roles and system
// privileges, and object privileges of both.
#include <algorithm>
#include <set>

#include "SandboxSession.h"

namespace qelsandbox {

namespace {

const std::set<std::string>& Db2Authorities() {
  static const std::set<std::string> authorities = {"DBADM",
                                                    "CONNECT",
                                                    "CREATETAB",
                                                    "BINDADD",
                                                    "IMPLICIT_SCHEMA",
                                                    "LOAD",
                                                    "SECADM",
                                                    "ACCESSCTRL",
                                                    "DATAACCESS",
                                                    "SQLADM",
                                                    "WLMADM",
                                                    "EXPLAIN",
                                                    "QUIESCE_CONNECT",
                                                    "CREATE_EXTERNAL_ROUTINE",
                                                    "CREATE_NOT_FENCED_ROUTINE"};
  return authorities;
}

const std::set<std::string>& OracleSystemPrivileges() {
  static const std::set<std::string> privileges = {"CREATE SESSION",
                                                   "ALTER SESSION",
                                                   "RESTRICTED SESSION",
                                                   "CREATE TABLE",
                                                   "CREATE ANY TABLE",
                                                   "ALTER ANY TABLE",
                                                   "DROP ANY TABLE",
                                                   "SELECT ANY TABLE",
                                                   "INSERT ANY TABLE",
                                                   "UPDATE ANY TABLE",
                                                   "DELETE ANY TABLE",
                                                   "LOCK ANY TABLE",
                                                   "COMMENT ANY TABLE",
                                                   "CREATE VIEW",
                                                   "CREATE ANY VIEW",
                                                   "DROP ANY VIEW",
                                                   "CREATE SEQUENCE",
                                                   "CREATE ANY SEQUENCE",
                                                   "ALTER ANY SEQUENCE",
                                                   "DROP ANY SEQUENCE",
                                                   "SELECT ANY SEQUENCE",
                                                   "CREATE SYNONYM",
                                                   "CREATE ANY SYNONYM",
                                                   "DROP ANY SYNONYM",
                                                   "CREATE PUBLIC SYNONYM",
                                                   "DROP PUBLIC SYNONYM",
                                                   "CREATE ANY INDEX",
                                                   "ALTER ANY INDEX",
                                                   "DROP ANY INDEX",
                                                   "CREATE TRIGGER",
                                                   "CREATE ANY TRIGGER",
                                                   "ALTER ANY TRIGGER",
                                                   "DROP ANY TRIGGER",
                                                   "CREATE PROCEDURE",
                                                   "CREATE ANY PROCEDURE",
                                                   "ALTER ANY PROCEDURE",
                                                   "DROP ANY PROCEDURE",
                                                   "EXECUTE ANY PROCEDURE",
                                                   "CREATE TYPE",
                                                   "CREATE CLUSTER",
                                                   "CREATE USER",
                                                   "ALTER USER",
                                                   "DROP USER",
                                                   "BECOME USER",
                                                   "CREATE ROLE",
                                                   "ALTER ANY ROLE",
                                                   "DROP ANY ROLE",
                                                   "GRANT ANY ROLE",
                                                   "GRANT ANY PRIVILEGE",
                                                   "GRANT ANY OBJECT PRIVILEGE",
                                                   "CREATE TABLESPACE",
                                                   "ALTER TABLESPACE",
                                                   "DROP TABLESPACE",
                                                   "MANAGE TABLESPACE",
                                                   "UNLIMITED TABLESPACE",
                                                   "SELECT ANY DICTIONARY",
                                                   "CREATE DATABASE LINK",
                                                   "CREATE MATERIALIZED VIEW",
                                                   "ANALYZE ANY",
                                                   "AUDIT ANY",
                                                   "ALTER SYSTEM",
                                                   "ALTER DATABASE"};
  return privileges;
}

const std::set<std::string>& ObjectPrivileges() {
  static const std::set<std::string> privileges = {"SELECT", "INSERT", "UPDATE",     "DELETE",
                                                   "ALTER",  "INDEX",  "REFERENCES", "EXECUTE",
                                                   "USAGE",  "CONTROL"};
  return privileges;
}

// Privilege items: words up to a comma, ON, TO or FROM; a column list after
// UPDATE or REFERENCES is accepted and the privilege kept for the table.
std::vector<std::string> PrivilegeItems(Parser& parser) {
  std::vector<std::string> items;
  do {
    std::string item;
    while (parser.Peek().kind == TokenKind::Word && !parser.PeekWord("ON") &&
           !parser.PeekWord("TO") && !parser.PeekWord("FROM")) {
      item += (item.empty() ? "" : " ") + parser.Next().Upper();
    }
    if (item.empty()) parser.Unexpected();
    if (parser.Peek().IsSymbol("(")) parser.SkipParenthesised();
    items.push_back(item);
  } while (parser.AcceptSymbol(","));
  return items;
}

}  // namespace

std::vector<std::string> Session::Grantees(Parser& parser) {
  std::vector<std::string> grantees;
  do {
    if (dialect_ == Dialect::Db2 && !parser.PeekWord("PUBLIC") && !parser.Peek(1).IsSymbol(",") &&
        parser.Peek(1).kind != TokenKind::End &&
        (parser.PeekWord("USER") || parser.PeekWord("GROUP") || parser.PeekWord("ROLE"))) {
      parser.Next();
    }
    grantees.push_back(parser.Identifier());
  } while (parser.AcceptSymbol(","));
  return grantees;
}

void Session::Grant(Parser& parser) {
  const std::vector<std::string> items = PrivilegeItems(parser);
  if (parser.Accept("ON")) {
    if (dialect_ == Dialect::Db2 && parser.Accept("DATABASE")) {
      return GrantDatabaseAuthorities(parser, items, true);
    }
    return GrantObjectPrivileges(parser, items, true);
  }
  if (dialect_ == Dialect::Db2) parser.Unexpected();
  GrantSystemPrivileges(parser, items, true);
}

void Session::Revoke(Parser& parser) {
  const std::vector<std::string> items = PrivilegeItems(parser);
  if (parser.Accept("ON")) {
    if (dialect_ == Dialect::Db2 && parser.Accept("DATABASE")) {
      return GrantDatabaseAuthorities(parser, items, false);
    }
    return GrantObjectPrivileges(parser, items, false);
  }
  if (dialect_ == Dialect::Db2) parser.Unexpected();
  GrantSystemPrivileges(parser, items, false);
}

void Session::GrantDatabaseAuthorities(Parser& parser, const std::vector<std::string>& items,
                                       bool grant) {
  parser.Expect(grant ? "TO" : "FROM");
  const std::vector<std::string> grantees = Grantees(parser);
  if (!grant) parser.AcceptSequence({"BY", "ALL"});
  parser.ExpectEnd();
  for (const std::string& item : items) {
    if (!Db2Authorities().count(item)) {
      Raise(Db2Error(104, "An unexpected token \"" + item + "\" was found following \"GRANT\".",
                     "42601"));
    }
  }
  if (!IsAdministrator()) Insufficient(grant ? "GRANT" : "REVOKE", {});
  for (const std::string& grantee : grantees) {
    if (grant && grantee == user_) {
      Raise(Db2Error(554, "An authorization ID cannot grant a privilege or authority to itself.",
                     "42502"));
    }
    for (const std::string& item : items) {
      if (grant) {
        db_->Prepare(
               "INSERT OR IGNORE INTO sbx_grants(grantee, kind, privilege, object_id, grantor, "
               "admin_option) VALUES (?1, 'DATABASE', ?2, 0, ?3, 0)")
            .Bind(1, grantee)
            .Bind(2, item)
            .Bind(3, user_)
            .Step();
        continue;
      }
      db_->Prepare(
             "DELETE FROM sbx_grants WHERE grantee = ?1 AND kind = 'DATABASE' AND "
             "privilege = ?2")
          .Bind(1, grantee)
          .Bind(2, item)
          .Step();
      if (db_->Changes() == 0) {
        Raise(Db2Error(556,
                       "An attempt to revoke a privilege from \"" + grantee +
                           "\" was denied because \"" + grantee +
                           "\" does not hold this privilege.",
                       "42504"));
      }
    }
  }
}

void Session::GrantSystemPrivileges(Parser& parser, const std::vector<std::string>& items,
                                    bool grant) {
  parser.Expect(grant ? "TO" : "FROM");
  const std::vector<std::string> grantees = Grantees(parser);
  const bool admin = grant && parser.AcceptSequence({"WITH", "ADMIN", "OPTION"});
  parser.ExpectEnd();
  const std::vector<std::string> holders = Grantees();
  const auto holdsWithAdmin = [&](const std::string& kind, const std::string& item) {
    for (const std::string& holder : holders) {
      SqliteStatement statement = db_->Prepare(
          "SELECT 1 FROM sbx_grants WHERE grantee = ?1 AND kind = ?2 AND privilege = ?3 AND "
          "admin_option = 1");
      statement.Bind(1, holder).Bind(2, kind).Bind(3, item);
      if (statement.Step()) return true;
    }
    return false;
  };
  for (const std::string& item : items) {
    const bool role = RoleExists(item);
    if (!role && !OracleSystemPrivileges().count(item)) {
      if (item.find(' ') == std::string::npos) {
        Raise(OraError(1919, "role '" + item + "' does not exist"));
      }
      Raise(OraError(990, "missing or invalid privilege"));
    }
    if (IsAdministrator()) continue;
    if (role && !holdsWithAdmin("ROLE", item) && !HasSystemPrivilege("GRANT ANY ROLE")) {
      Raise(OraError(1932, "ADMIN option not granted for role '" + item + "'"));
    }
    if (!role && !holdsWithAdmin("SYSTEM", item) && !HasSystemPrivilege("GRANT ANY PRIVILEGE")) {
      Insufficient("GRANT", {});
    }
  }
  for (const std::string& grantee : grantees) {
    if (grantee != "PUBLIC" && !UserExists(grantee) && !RoleExists(grantee)) {
      Raise(OraError(1917, "user or role '" + grantee + "' does not exist"));
    }
    for (const std::string& item : items) {
      const std::string kind = RoleExists(item) ? "ROLE" : "SYSTEM";
      if (grant) {
        db_->Prepare(
               "INSERT INTO sbx_grants(grantee, kind, privilege, object_id, grantor, "
               "admin_option) VALUES (?1, ?2, ?3, 0, ?4, ?5) ON CONFLICT DO UPDATE SET "
               "admin_option = max(admin_option, excluded.admin_option)")
            .Bind(1, grantee)
            .Bind(2, kind)
            .Bind(3, item)
            .Bind(4, user_)
            .Bind(5, admin ? 1LL : 0LL)
            .Step();
        continue;
      }
      db_->Prepare("DELETE FROM sbx_grants WHERE grantee = ?1 AND kind = ?2 AND privilege = ?3")
          .Bind(1, grantee)
          .Bind(2, kind)
          .Bind(3, item)
          .Step();
      if (db_->Changes() == 0) {
        Raise(kind == "ROLE"
                  ? OraError(1951, "ROLE '" + item + "' not granted to '" + grantee + "'")
                  : OraError(1952, "system privileges not granted to '" + grantee + "'"));
      }
    }
  }
}

void Session::GrantObjectPrivileges(Parser& parser, const std::vector<std::string>& items,
                                    bool grant) {
  const bool sequence = dialect_ == Dialect::Db2 && parser.Accept("SEQUENCE");
  if (!sequence) parser.Accept("TABLE");
  const QualifiedName name = parser.Name(schema_);
  parser.Expect(grant ? "TO" : "FROM");
  const std::vector<std::string> grantees = Grantees(parser);
  const bool grantOption = grant && parser.AcceptSequence({"WITH", "GRANT", "OPTION"});
  if (!grant) parser.AcceptSequence({"BY", "ALL"});
  parser.ExpectEnd();

  std::optional<ObjectInfo> object = FindObject(name, sequence ? "SEQUENCE" : "TABLE");
  for (int depth = 0;
       object && (object->type == "SYNONYM" || object->type == "ALIAS") && depth < 16; ++depth) {
    object = FindObject({object->targetSchema, object->targetName}, "TABLE");
  }
  if (!object) {
    if (dialect_ == Dialect::Db2) Undefined(name.Shown());
    Raise(OraError(942, "table or view does not exist"));
  }
  std::vector<std::string> privileges;
  for (const std::string& item : items) {
    if (item == "ALL" || item == "ALL PRIVILEGES") {
      for (const char* all :
           {"SELECT", "INSERT", "UPDATE", "DELETE", "ALTER", "INDEX", "REFERENCES"}) {
        privileges.push_back(all);
      }
    } else if (ObjectPrivileges().count(item)) {
      privileges.push_back(item);
    } else if (dialect_ == Dialect::Oracle) {
      Raise(OraError(990, "missing or invalid privilege"));
    } else {
      Raise(Db2Error(104, "An unexpected token \"" + item + "\" was found following \"GRANT\".",
                     "42601"));
    }
  }
  const bool owner =
      object->owner == user_ || (dialect_ == Dialect::Oracle && object->schema == user_);
  const bool anyObject = IsAdministrator() || HasSystemPrivilege("GRANT ANY OBJECT PRIVILEGE");
  // Oracle records a grant made through GRANT ANY OBJECT PRIVILEGE as the
  // owner's: a DBA's script grants what the owner's own session would.
  const std::string grantor =
      dialect_ == Dialect::Oracle && !owner && anyObject ? object->schema : user_;
  if (!owner && !anyObject) {
    for (const std::string& privilege : privileges) {
      bool grantable = false;
      for (const std::string& holder : Grantees()) {
        SqliteStatement statement = db_->Prepare(
            "SELECT 1 FROM sbx_grants WHERE grantee = ?1 AND kind = 'OBJECT' AND privilege "
            "IN (?2, 'CONTROL') AND object_id = ?3 AND admin_option = 1");
        statement.Bind(1, holder).Bind(2, privilege).Bind(3, object->id);
        grantable = grantable || statement.Step();
      }
      if (!grantable) {
        if (dialect_ == Dialect::Oracle && !HasAnyObjectPrivilege(*object)) {
          Raise(OraError(942, "table or view does not exist"));
        }
        Insufficient(grant ? "GRANT" : "REVOKE", object->Shown());
      }
    }
  }
  for (const std::string& grantee : grantees) {
    if (dialect_ == Dialect::Oracle && grantee != "PUBLIC" && !UserExists(grantee) &&
        !RoleExists(grantee)) {
      Raise(OraError(1917, "user or role '" + grantee + "' does not exist"));
    }
    for (const std::string& privilege : privileges) {
      if (grant) {
        db_->Prepare(
               "INSERT INTO sbx_grants(grantee, kind, privilege, object_id, grantor, "
               "admin_option) VALUES (?1, 'OBJECT', ?2, ?3, ?4, ?5) ON CONFLICT DO UPDATE SET "
               "admin_option = max(admin_option, excluded.admin_option)")
            .Bind(1, grantee)
            .Bind(2, privilege)
            .Bind(3, object->id)
            .Bind(4, grantor)
            .Bind(5, grantOption ? 1LL : 0LL)
            .Step();
        continue;
      }
      db_->Prepare(
             "DELETE FROM sbx_grants WHERE grantee = ?1 AND kind = 'OBJECT' AND "
             "privilege = ?2 AND object_id = ?3")
          .Bind(1, grantee)
          .Bind(2, privilege)
          .Bind(3, object->id)
          .Step();
      if (db_->Changes() == 0) {
        if (dialect_ == Dialect::Oracle) {
          Raise(OraError(1927, "cannot REVOKE privileges you did not grant"));
        }
        Raise(Db2Error(556,
                       "An attempt to revoke a privilege from \"" + grantee +
                           "\" was denied because \"" + grantee +
                           "\" does not hold this privilege.",
                       "42504"));
      }
    }
  }
}

}  // namespace qelsandbox
