// Oracle users and roles: CREATE/ALTER/DROP USER with their authentication,
// tablespaces and quotas, CREATE/DROP ROLE. (DB2 users are operating-system
// accounts: DB2 has none of these statements.)
#include "SandboxPasswords.h"
#include "SandboxSession.h"

namespace qelsandbox {

namespace {

constexpr long long Unlimited = -1;

struct UserSpec {
  bool identified = false;
  bool external = false;
  std::string password;
  std::string defaultTablespace;
  std::string temporaryTablespace;
  std::vector<std::pair<std::string, long long>> quotas;
  std::optional<bool> locked;
};

UserSpec ParseUserSpec(Parser& parser) {
  UserSpec definition;
  while (!parser.AtEnd()) {
    if (parser.Accept("IDENTIFIED")) {
      definition.identified = true;
      if (parser.Accept("EXTERNALLY")) {
        definition.external = true;
        continue;
      }
      parser.Expect("BY");
      const Token& password = parser.Peek();
      if (password.kind != TokenKind::Word && password.kind != TokenKind::Quoted) {
        parser.Unexpected();
      }
      // Passwords keep their case, quoted or not.
      definition.password = parser.Next().text;
      definition.external = false;
    } else if (parser.AcceptSequence({"DEFAULT", "TABLESPACE"})) {
      definition.defaultTablespace = parser.Identifier();
    } else if (parser.AcceptSequence({"TEMPORARY", "TABLESPACE"})) {
      definition.temporaryTablespace = parser.Identifier();
    } else if (parser.Accept("QUOTA")) {
      const long long bytes = parser.Accept("UNLIMITED") ? Unlimited : parser.Size();
      parser.Expect("ON");
      definition.quotas.emplace_back(parser.Identifier(), bytes);
    } else if (parser.Accept("PROFILE")) {
      parser.Identifier();
    } else if (parser.Accept("ACCOUNT")) {
      if (parser.Accept("LOCK")) {
        definition.locked = true;
      } else {
        parser.Expect("UNLOCK");
        definition.locked = false;
      }
    } else if (!parser.AcceptSequence({"PASSWORD", "EXPIRE"})) {
      parser.Unexpected();
    }
  }
  return definition;
}

}  // namespace

void Session::CreateUser(Parser& parser) {
  const std::string name = parser.Identifier();
  UserSpec definition = ParseUserSpec(parser);
  if (!definition.identified) parser.Unexpected();
  RequireSystemPrivilege("CREATE USER");
  if (UserExists(name) || RoleExists(name)) {
    Raise(OraError(1920, "user name '" + name + "' conflicts with another user or role name"));
  }
  const auto setting = [this](const char* key) {
    return db_->QueryText(std::string("SELECT value FROM sbx_database WHERE key = '") + key + "'")
        .value_or("SYSTEM");
  };
  if (definition.defaultTablespace.empty())
    definition.defaultTablespace = setting("default_tablespace");
  if (definition.temporaryTablespace.empty())
    definition.temporaryTablespace = setting("temporary_tablespace");
  RequireTablespace(definition.defaultTablespace);
  RequireTablespace(definition.temporaryTablespace);
  db_->Prepare(
         "INSERT INTO sbx_users(name, user_id, authentication, password_hash, "
         "default_tablespace, temporary_tablespace, locked, created) VALUES (?1, "
         "(SELECT IFNULL(max(user_id), 0) + 1 FROM sbx_users), ?2, ?3, ?4, ?5, ?6, ?7)")
      .Bind(1, name)
      .Bind(2, definition.external ? "EXTERNAL" : "PASSWORD")
      .BindOptional(3, definition.external
                           ? std::nullopt
                           : std::optional<std::string>(HashPassword(definition.password)))
      .Bind(4, definition.defaultTablespace)
      .Bind(5, definition.temporaryTablespace)
      .Bind(6, definition.locked.value_or(false) ? 1LL : 0LL)
      .Bind(7, CurrentTimestamp())
      .Step();
  SetQuotas(name, definition.quotas);
}

void Session::SetQuotas(const std::string& user,
                        const std::vector<std::pair<std::string, long long>>& quotas) {
  for (const auto& [tablespace, bytes] : quotas) {
    RequireTablespace(tablespace);
    db_->Prepare(
           "INSERT OR REPLACE INTO sbx_quotas(username, tablespace, max_bytes) "
           "VALUES (?1, ?2, ?3)")
        .Bind(1, user)
        .Bind(2, tablespace)
        .Bind(3, bytes)
        .Step();
  }
}

void Session::AlterUser(Parser& parser) {
  const std::string name = parser.Identifier();
  const UserSpec definition = ParseUserSpec(parser);
  // A user may change its own password and nothing else about itself.
  const bool ownPassword = name == user_ && definition.identified && !definition.external &&
                           definition.defaultTablespace.empty() &&
                           definition.temporaryTablespace.empty() && definition.quotas.empty() &&
                           !definition.locked;
  if (!ownPassword) RequireSystemPrivilege("ALTER USER");
  if (!UserExists(name)) Raise(OraError(1918, "user '" + name + "' does not exist"));
  if (definition.identified) {
    db_->Prepare("UPDATE sbx_users SET authentication = ?2, password_hash = ?3 WHERE name = ?1")
        .Bind(1, name)
        .Bind(2, definition.external ? "EXTERNAL" : "PASSWORD")
        .BindOptional(3, definition.external
                             ? std::nullopt
                             : std::optional<std::string>(HashPassword(definition.password)))
        .Step();
  }
  const auto update = [&](const char* column, const std::string& tablespace) {
    if (tablespace.empty()) return;
    RequireTablespace(tablespace);
    db_->Prepare(std::string("UPDATE sbx_users SET ") + column + " = ?2 WHERE name = ?1")
        .Bind(1, name)
        .Bind(2, tablespace)
        .Step();
  };
  update("default_tablespace", definition.defaultTablespace);
  update("temporary_tablespace", definition.temporaryTablespace);
  SetQuotas(name, definition.quotas);
  if (definition.locked) {
    db_->Prepare("UPDATE sbx_users SET locked = ?2 WHERE name = ?1")
        .Bind(1, name)
        .Bind(2, *definition.locked ? 1LL : 0LL)
        .Step();
  }
}

void Session::DropUser(Parser& parser) {
  const std::string name = parser.Identifier();
  const bool cascade = parser.Accept("CASCADE");
  parser.ExpectEnd();
  RequireSystemPrivilege("DROP USER");
  if (!UserExists(name)) Raise(OraError(1918, "user '" + name + "' does not exist"));
  if (name == user_ || UserHasOtherSessions(name)) {
    Raise(OraError(1940, "cannot drop a user that is currently connected"));
  }
  if (db_->QueryInt("SELECT count(*) FROM sbx_objects WHERE schema = " + QuoteString(name)) > 0) {
    if (!cascade) Raise(OraError(1922, "CASCADE must be specified to drop '" + name + "'"));
    DropSchemaObjects(name);
  }
  for (const char* statement :
       {"DELETE FROM sbx_grants WHERE grantee = ?1", "DELETE FROM sbx_quotas WHERE username = ?1",
        "DELETE FROM sbx_users WHERE name = ?1"}) {
    db_->Prepare(statement).Bind(1, name).Step();
  }
}

void Session::CreateRole(Parser& parser) {
  const std::string name = parser.Identifier();
  parser.AcceptSequence({"NOT", "IDENTIFIED"});
  parser.ExpectEnd();
  RequireSystemPrivilege("CREATE ROLE");
  if (UserExists(name) || RoleExists(name)) {
    Raise(OraError(1921, "role name '" + name + "' conflicts with another user or role name"));
  }
  db_->Prepare("INSERT INTO sbx_roles(name, builtin) VALUES (?1, 0)").Bind(1, name).Step();
  // The creator may pass the role on.
  db_->Prepare(
         "INSERT OR REPLACE INTO sbx_grants(grantee, kind, privilege, object_id, grantor, "
         "admin_option) VALUES (?1, 'ROLE', ?2, 0, ?1, 1)")
      .Bind(1, user_)
      .Bind(2, name)
      .Step();
}

void Session::DropRole(Parser& parser) {
  const std::string name = parser.Identifier();
  parser.ExpectEnd();
  RequireSystemPrivilege("DROP ANY ROLE");
  if (!RoleExists(name)) Raise(OraError(1919, "role '" + name + "' does not exist"));
  for (const char* statement : {"DELETE FROM sbx_grants WHERE grantee = ?1",
                                "DELETE FROM sbx_grants WHERE kind = 'ROLE' AND privilege = ?1",
                                "DELETE FROM sbx_roles WHERE name = ?1"}) {
    db_->Prepare(statement).Bind(1, name).Step();
  }
}

}  // namespace qelsandbox
