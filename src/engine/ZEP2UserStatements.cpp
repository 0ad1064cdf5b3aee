// The SQL texts of the tablespace, user and grant steps.
#include "ZEP2UserStatements.h"

#include <string_view>

#include "platform/db/QelDb.h"
#include "platform/db/QelDbDialect.h"

namespace {

constexpr std::string_view OracleTablespaceStorage =
    " DEFAULT STORAGE ( INITIAL 10K NEXT 50K MINEXTENTS 1 MAXEXTENTS 200 PCTINCREASE 10 ) ONLINE";

// The grants as the DBMSs are given them; their privilege lists are read
// back from these texts.
constexpr std::string_view DB2AdministratorGrant =
    "GRANT DBADM, CONNECT, CREATETAB ON DATABASE TO USER ";
constexpr std::string_view OracleAdministratorGrant =
    "GRANT CONNECT, RESOURCE, SELECT ANY TABLE, CREATE USER, DROP USER, ALTER USER, CREATE ANY "
    "VIEW, DROP ANY VIEW TO ";
constexpr std::string_view DB2OwnerGrant = "GRANT CONNECT, CREATETAB ON DATABASE TO USER ";
constexpr std::string_view OracleOwnerGrant =
    "GRANT CONNECT,RESOURCE, SELECT ANY TABLE, CREATE ANY VIEW, DROP ANY VIEW TO ";

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// "GRANT A, B,C ON DATABASE TO USER " or "GRANT A, B TO ": A, B and C.
std::vector<std::string> PrivilegesOf(std::string_view grant) {
  grant.remove_prefix(std::string_view("GRANT ").size());
  const std::size_t on = grant.find(" ON DATABASE ");
  grant = grant.substr(0, on != std::string_view::npos ? on : grant.rfind(" TO "));
  std::vector<std::string> privileges;
  while (!grant.empty()) {
    const std::size_t comma = grant.find(',');
    privileges.emplace_back(Trimmed(grant.substr(0, comma)));
    grant = comma == std::string_view::npos ? std::string_view() : grant.substr(comma + 1);
  }
  return privileges;
}

std::optional<std::string> UserName(const QelDbDialect& dialect, const QelUnicodeString& user) {
  if (dialect.CheckUserName(user.str()) != QelDbRefusal::None) return std::nullopt;
  return user.str();
}

}  // namespace

ZEP2UserStatements::ZEP2UserStatements(int dbms, const QelUnicodeString& tablespace,
                                       const QelUnicodeString& blobTablespace)
    : dbms_(dbms), tablespace_(tablespace), blobTablespace_(blobTablespace) {}

std::optional<ZEP2Statement> ZEP2UserStatements::CreateTablespace(const QelUnicodeString& name,
                                                                  const QelUnicodeString& directory,
                                                                  bool blob) const {
  const QelDbDialect& dialect = QelDbDialect::For(dbms_);
  if (dialect.CheckTablespaceName(name.str()) != QelDbRefusal::None) return std::nullopt;
  const std::optional<std::string> quotedName = dialect.DelimitedName(name.str());
  const std::optional<std::string> file =
      dialect.Literal(directory.str() + "/" + name.str() + ".dbf");
  if (!quotedName || !file) return std::nullopt;
  if (dbms_ == QelDbDB2) {
    return ZEP2Statement{
        "CREATE REGULAR TABLESPACE " + *quotedName + " MANAGED BY SYSTEM USING (" + *file + ")",
        "DROP TABLESPACE " + *quotedName};
  }
  return ZEP2Statement{"CREATE TABLESPACE " + *quotedName + " DATAFILE " + *file +
                           " SIZE 50M AUTOEXTEND ON NEXT 500K MAXSIZE " +
                           (blob ? "100M" : "UNLIMITED") + std::string(OracleTablespaceStorage),
                       "DROP TABLESPACE " + *quotedName + " INCLUDING CONTENTS"};
}

std::optional<std::string> ZEP2UserStatements::TablespaceClauses() const {
  const QelDbDialect& dialect = QelDbDialect::For(dbms_);
  const std::optional<std::string> tablespace = dialect.DelimitedName(tablespace_.str());
  const std::optional<std::string> blob = dialect.DelimitedName(blobTablespace_.str());
  if (!tablespace || !blob) return std::nullopt;
  return " DEFAULT TABLESPACE " + *tablespace + " QUOTA UNLIMITED ON " + *tablespace +
         " QUOTA UNLIMITED ON " + *blob;
}

std::optional<std::string> ZEP2UserStatements::IdentifiedByPassword(
    const QelUnicodeString& user, const QelUnicodeString& password) const {
  const QelDbDialect& dialect = QelDbDialect::For(dbms_);
  const std::optional<std::string> name = UserName(dialect, user);
  const std::optional<std::string> secret = dialect.Password(password.str());
  const std::optional<std::string> clauses = TablespaceClauses();
  if (!name || !secret || !clauses) return std::nullopt;
  return *name + " IDENTIFIED BY " + *secret + *clauses;
}

std::optional<ZEP2Statement> ZEP2UserStatements::CreateUser(
    const QelUnicodeString& user, const QelUnicodeString& password) const {
  const std::optional<std::string> identified = IdentifiedByPassword(user, password);
  if (!identified) return std::nullopt;
  return ZEP2Statement{"CREATE USER " + *identified, "DROP USER " + user.str() + " CASCADE"};
}

std::optional<QelUnicodeString> ZEP2UserStatements::AlterUserPassword(
    const QelUnicodeString& user, const QelUnicodeString& password) const {
  const std::optional<std::string> identified = IdentifiedByPassword(user, password);
  if (!identified) return std::nullopt;
  return QelUnicodeString("ALTER USER " + *identified);
}

std::optional<QelUnicodeString> ZEP2UserStatements::AlterUserExternally(
    const QelUnicodeString& user) const {
  const std::optional<std::string> name = UserName(QelDbDialect::For(dbms_), user);
  if (!name) return std::nullopt;
  return QelUnicodeString("ALTER USER " + *name + " IDENTIFIED EXTERNALLY");
}

std::optional<QelUnicodeString> ZEP2UserStatements::AlterUserTablespaces(
    const QelUnicodeString& user) const {
  const std::optional<std::string> name = UserName(QelDbDialect::For(dbms_), user);
  const std::optional<std::string> clauses = TablespaceClauses();
  if (!name || !clauses) return std::nullopt;
  return QelUnicodeString("ALTER USER " + *name + *clauses);
}

std::optional<ZEP2Grant> ZEP2UserStatements::Grant(ZEP2Grantee grantee,
                                                   const QelUnicodeString& user) const {
  const std::optional<std::string> name = UserName(QelDbDialect::For(dbms_), user);
  if (!name) return std::nullopt;
  const bool db2 = dbms_ == QelDbDB2;
  const bool administrator = grantee == ZEP2Grantee::Administrator;
  const std::string_view grant = administrator
                                     ? (db2 ? DB2AdministratorGrant : OracleAdministratorGrant)
                                     : (db2 ? DB2OwnerGrant : OracleOwnerGrant);
  std::string text = std::string(grant) + *name;
  if (administrator && !db2) text += " WITH ADMIN OPTION";
  return ZEP2Grant{text, PrivilegesOf(grant)};
}

std::optional<QelUnicodeString> ZEP2UserStatements::Revoke(
    const std::vector<std::string>& privileges, const QelUnicodeString& user) const {
  const std::optional<std::string> name = UserName(QelDbDialect::For(dbms_), user);
  if (!name || privileges.empty()) return std::nullopt;
  std::string given;
  for (const std::string& privilege : privileges) given += (given.empty() ? "" : ", ") + privilege;
  return QelUnicodeString("REVOKE " + given +
                          (dbms_ == QelDbDB2 ? " ON DATABASE FROM USER " : " FROM ") + *name);
}

std::optional<QelUnicodeString> ZEP2UserStatements::RestoreUser(
    const QelUnicodeString& user, bool external, const std::string& defaultTablespace,
    const std::vector<Quota>& quotas) const {
  const QelDbDialect& dialect = QelDbDialect::For(dbms_);
  const std::optional<std::string> name = UserName(dialect, user);
  if (!name) return std::nullopt;
  std::string text = "ALTER USER " + *name;
  if (external) text += " IDENTIFIED EXTERNALLY";
  if (!defaultTablespace.empty()) {
    const std::optional<std::string> tablespace = dialect.DelimitedName(defaultTablespace);
    if (!tablespace) return std::nullopt;
    text += " DEFAULT TABLESPACE " + *tablespace;
  }
  for (const Quota& quota : quotas) {
    const std::optional<std::string> tablespace = dialect.DelimitedName(quota.tablespace);
    if (!tablespace) return std::nullopt;
    // The catalogue gives the quota in bytes, -1 for no limit.
    const std::string bytes = quota.bytes == "-1" ? "UNLIMITED" : quota.bytes;
    if (bytes.empty()) return std::nullopt;
    for (const char c : bytes) {
      if (bytes != "UNLIMITED" && (c < '0' || c > '9')) return std::nullopt;
    }
    text += " QUOTA " + bytes + " ON " + *tablespace;
  }
  return QelUnicodeString(text);
}
