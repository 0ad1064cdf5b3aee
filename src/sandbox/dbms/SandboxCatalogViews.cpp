// The DBMSs' catalogue views (DB2 SYSCAT, Oracle data dictionary) as
// queries over the sandbox's own catalogue, so the layer's catalogue
// queries run unchanged against a real DBMS and the sandbox alike.
#include "SandboxSession.h"

namespace qelsandbox {

namespace {

// Who sees the rows: everyone, dictionary readers (DBA_), the objects the
// session may use (ALL_) or its own ones (USER_).
enum class Access { Public, Dictionary, Accessible, Own };

struct CatalogueView {
  Dialect dialect;
  const char* schema;  // the qualifier it is known under
  const char* name;
  Access access;
  const char* sql;  // {VISIBLE}: the access filter on sbx_objects o; {USER}: the session user
};

constexpr CatalogueView Views[] = {
    {Dialect::Db2, "SYSIBM", "SYSDUMMY1", Access::Public, "SELECT 'Y' AS \"IBMREQD\""},
    {Dialect::Db2, "SYSCAT", "TABLES", Access::Public,
     "SELECT o.schema AS \"TABSCHEMA\", o.name AS \"TABNAME\", o.owner AS \"OWNER\", "
     "'U' AS \"OWNERTYPE\", CASE o.type WHEN 'TABLE' THEN 'T' WHEN 'VIEW' THEN 'V' ELSE 'A' END "
     "AS \"TYPE\", o.tablespace AS \"TBSPACE\", o.index_tablespace AS \"INDEX_TBSPACE\", "
     "o.long_tablespace AS \"LONG_TBSPACE\", o.created AS \"CREATE_TIME\", -1 AS \"CARD\", "
     "(SELECT count(*) FROM sbx_columns c WHERE c.object_id = o.id) AS \"COLCOUNT\", "
     "(SELECT m.text FROM sbx_comments m WHERE m.object_id = o.id AND m.column_name = '') "
     "AS \"REMARKS\", o.target_schema AS \"BASE_TABSCHEMA\", o.target_name AS \"BASE_TABNAME\" "
     "FROM sbx_objects o WHERE o.type IN ('TABLE', 'VIEW', 'ALIAS')"},
    {Dialect::Db2, "SYSCAT", "TABLESPACES", Access::Public,
     "SELECT t.name AS \"TBSPACE\", t.id - 1 AS \"TBSPACEID\", t.owner AS \"OWNER\", "
     "t.created AS \"CREATE_TIME\", CASE t.management WHEN 'DATABASE' THEN 'D' ELSE 'S' END AS "
     "\"TBSPACETYPE\", CASE t.contents WHEN 'LARGE' THEN 'L' WHEN 'SYSTEM TEMPORARY' THEN 'T' "
     "WHEN 'USER TEMPORARY' THEN 'U' ELSE 'A' END AS \"DATATYPE\", 4096 AS \"PAGESIZE\" "
     "FROM sbx_tablespaces t"},
    // The sandbox keeps no pages: a tablespace's free space is the size its
    // containers were declared with (a directory container declares none).
    {Dialect::Db2, "SYSIBMADM", "TBSP_UTILIZATION", Access::Public,
     "SELECT t.name AS \"TBSP_NAME\", t.id - 1 AS \"TBSP_ID\", CASE t.management WHEN "
     "'DATABASE' THEN 'DMS' ELSE 'SMS' END AS \"TBSP_TYPE\", t.contents AS "
     "\"TBSP_CONTENT_TYPE\", (SELECT IFNULL(sum(c.bytes), 0) / 1024 FROM sbx_containers c WHERE "
     "c.tablespace = t.name) AS \"TBSP_TOTAL_SIZE_KB\", 0 AS \"TBSP_USED_SIZE_KB\", (SELECT "
     "IFNULL(sum(c.bytes), 0) / 1024 FROM sbx_containers c WHERE c.tablespace = t.name) AS "
     "\"TBSP_FREE_SIZE_KB\" FROM sbx_tablespaces t"},
    {Dialect::Db2, "SYSCAT", "DBAUTH", Access::Public,
     "SELECT max(g.grantor) AS \"GRANTOR\", g.grantee AS \"GRANTEE\", CASE g.grantee WHEN "
     "'PUBLIC' THEN 'G' ELSE 'U' END AS \"GRANTEETYPE\", "
     "max(CASE g.privilege WHEN 'DBADM' THEN 'Y' ELSE 'N' END) AS \"DBADMAUTH\", "
     "max(CASE g.privilege WHEN 'CREATETAB' THEN 'Y' ELSE 'N' END) AS \"CREATETABAUTH\", "
     "max(CASE g.privilege WHEN 'BINDADD' THEN 'Y' ELSE 'N' END) AS \"BINDADDAUTH\", "
     "max(CASE g.privilege WHEN 'CONNECT' THEN 'Y' ELSE 'N' END) AS \"CONNECTAUTH\", "
     "max(CASE g.privilege WHEN 'CREATE_NOT_FENCED_ROUTINE' THEN 'Y' ELSE 'N' END) AS "
     "\"NOFENCEAUTH\", max(CASE g.privilege WHEN 'IMPLICIT_SCHEMA' THEN 'Y' ELSE 'N' END) AS "
     "\"IMPLSCHEMAAUTH\", max(CASE g.privilege WHEN 'LOAD' THEN 'Y' ELSE 'N' END) AS "
     "\"LOADAUTH\", max(CASE g.privilege WHEN 'SECADM' THEN 'Y' ELSE 'N' END) AS "
     "\"SECURITYADMAUTH\" FROM sbx_grants g WHERE g.kind = 'DATABASE' GROUP BY g.grantee"},
    {Dialect::Db2, "SYSCAT", "COLUMNS", Access::Public,
     "SELECT o.schema AS \"TABSCHEMA\", o.name AS \"TABNAME\", c.name AS \"COLNAME\", "
     "c.position - 1 AS \"COLNO\", c.type_name AS \"TYPENAME\", c.length AS \"LENGTH\", "
     "c.scale AS \"SCALE\", CASE c.nullable WHEN 1 THEN 'Y' ELSE 'N' END AS \"NULLS\", "
     "c.default_value AS \"DEFAULT\", (SELECT m.text FROM sbx_comments m WHERE m.object_id = "
     "o.id AND m.column_name = c.name) AS \"REMARKS\" FROM sbx_columns c JOIN sbx_objects o "
     "ON o.id = c.object_id"},
    {Dialect::Db2, "SYSCAT", "INDEXES", Access::Public,
     "SELECT o.schema AS \"INDSCHEMA\", o.name AS \"INDNAME\", o.owner AS \"OWNER\", "
     "t.schema AS \"TABSCHEMA\", t.name AS \"TABNAME\", CASE o.uniqueness WHEN 1 THEN 'U' ELSE "
     "'D' END AS \"UNIQUERULE\", '+' || replace(o.columns, char(31), '+') AS \"COLNAMES\" "
     "FROM sbx_objects o JOIN sbx_objects t ON t.id = o.base_id WHERE o.type = 'INDEX'"},
    {Dialect::Db2, "SYSCAT", "VIEWS", Access::Public,
     "SELECT o.schema AS \"VIEWSCHEMA\", o.name AS \"VIEWNAME\", o.owner AS \"OWNER\", "
     "o.definition AS \"TEXT\" FROM sbx_objects o WHERE o.type = 'VIEW'"},
    {Dialect::Db2, "SYSCAT", "SEQUENCES", Access::Public,
     "SELECT o.schema AS \"SEQSCHEMA\", o.name AS \"SEQNAME\", o.owner AS \"OWNER\", "
     "s.increment AS \"INCREMENT\", s.min_value AS \"MINVALUE\", s.max_value AS \"MAXVALUE\", "
     "CASE s.cycle WHEN 1 THEN 'Y' ELSE 'N' END AS \"CYCLE\", s.next_value AS "
     "\"NEXTCACHEFIRSTVALUE\" FROM sbx_objects o JOIN sbx_sequences s ON s.object_id = o.id"},
    {Dialect::Db2, "SYSCAT", "SCHEMATA", Access::Public,
     "SELECT DISTINCT o.schema AS \"SCHEMANAME\", o.schema AS \"OWNER\" FROM sbx_objects o"},
    {Dialect::Db2, "SYSCAT", "TABAUTH", Access::Public,
     "SELECT max(g.grantor) AS \"GRANTOR\", g.grantee AS \"GRANTEE\", CASE g.grantee WHEN "
     "'PUBLIC' THEN 'G' ELSE 'U' END AS \"GRANTEETYPE\", o.schema AS \"TABSCHEMA\", o.name AS "
     "\"TABNAME\", max(CASE g.privilege WHEN 'CONTROL' THEN 'Y' ELSE 'N' END) AS "
     "\"CONTROLAUTH\", max(CASE g.privilege WHEN 'SELECT' THEN 'Y' ELSE 'N' END) AS "
     "\"SELECTAUTH\", max(CASE g.privilege WHEN 'INSERT' THEN 'Y' ELSE 'N' END) AS "
     "\"INSERTAUTH\", max(CASE g.privilege WHEN 'UPDATE' THEN 'Y' ELSE 'N' END) AS "
     "\"UPDATEAUTH\", max(CASE g.privilege WHEN 'DELETE' THEN 'Y' ELSE 'N' END) AS "
     "\"DELETEAUTH\", max(CASE g.privilege WHEN 'ALTER' THEN 'Y' ELSE 'N' END) AS "
     "\"ALTERAUTH\", max(CASE g.privilege WHEN 'INDEX' THEN 'Y' ELSE 'N' END) AS \"INDEXAUTH\" "
     "FROM sbx_grants g JOIN sbx_objects o ON o.id = g.object_id WHERE g.kind = 'OBJECT' "
     "GROUP BY g.grantee, o.id"},
    {Dialect::Oracle, "SYS", "DUAL", Access::Public, "SELECT 'X' AS \"DUMMY\""},
    {Dialect::Oracle, "SYS", "DBA_USERS", Access::Dictionary,
     "SELECT u.name AS \"USERNAME\", u.user_id AS \"USER_ID\", CASE u.locked WHEN 1 THEN "
     "'LOCKED' ELSE 'OPEN' END AS \"ACCOUNT_STATUS\", u.default_tablespace AS "
     "\"DEFAULT_TABLESPACE\", u.temporary_tablespace AS \"TEMPORARY_TABLESPACE\", u.created AS "
     "\"CREATED\", 'DEFAULT' AS \"PROFILE\", u.authentication AS \"AUTHENTICATION_TYPE\" "
     "FROM sbx_users u"},
    {Dialect::Oracle, "SYS", "ALL_USERS", Access::Public,
     "SELECT u.name AS \"USERNAME\", u.user_id AS \"USER_ID\", u.created AS \"CREATED\" "
     "FROM sbx_users u"},
    {Dialect::Oracle, "SYS", "DBA_TABLESPACES", Access::Dictionary,
     "SELECT t.name AS \"TABLESPACE_NAME\", 8192 AS \"BLOCK_SIZE\", 'ONLINE' AS \"STATUS\", "
     "t.contents AS \"CONTENTS\", 'LOGGING' AS \"LOGGING\", 'LOCAL' AS \"EXTENT_MANAGEMENT\" "
     "FROM sbx_tablespaces t"},
    {Dialect::Oracle, "SYS", "USER_TABLESPACES", Access::Public,
     "SELECT t.name AS \"TABLESPACE_NAME\", 8192 AS \"BLOCK_SIZE\", 'ONLINE' AS \"STATUS\", "
     "t.contents AS \"CONTENTS\" FROM sbx_tablespaces t"},
    {Dialect::Oracle, "SYS", "DBA_DATA_FILES", Access::Dictionary,
     "SELECT c.path AS \"FILE_NAME\", c.position AS \"FILE_ID\", c.tablespace AS "
     "\"TABLESPACE_NAME\", c.bytes AS \"BYTES\", CASE c.autoextend WHEN 1 THEN 'YES' ELSE 'NO' "
     "END AS \"AUTOEXTENSIBLE\", 'AVAILABLE' AS \"STATUS\" FROM sbx_containers c JOIN "
     "sbx_tablespaces t ON t.name = c.tablespace WHERE t.contents <> 'TEMPORARY'"},
    {Dialect::Oracle, "SYS", "DBA_FREE_SPACE", Access::Dictionary,
     "SELECT c.tablespace AS \"TABLESPACE_NAME\", c.position AS \"FILE_ID\", 1 AS "
     "\"BLOCK_ID\", c.bytes AS \"BYTES\", c.bytes / 8192 AS \"BLOCKS\" FROM sbx_containers c "
     "JOIN sbx_tablespaces t ON t.name = c.tablespace WHERE t.contents <> 'TEMPORARY'"},
    {Dialect::Oracle, "SYS", "DBA_TEMP_FILES", Access::Dictionary,
     "SELECT c.path AS \"FILE_NAME\", c.position AS \"FILE_ID\", c.tablespace AS "
     "\"TABLESPACE_NAME\", c.bytes AS \"BYTES\" FROM sbx_containers c JOIN sbx_tablespaces t "
     "ON t.name = c.tablespace WHERE t.contents = 'TEMPORARY'"},
    {Dialect::Oracle, "SYS", "DBA_TABLES", Access::Dictionary,
     "SELECT o.schema AS \"OWNER\", o.name AS \"TABLE_NAME\", o.tablespace AS "
     "\"TABLESPACE_NAME\", NULL AS \"NUM_ROWS\", 'VALID' AS \"STATUS\" FROM sbx_objects o "
     "WHERE o.type = 'TABLE'"},
    {Dialect::Oracle, "SYS", "ALL_TABLES", Access::Accessible,
     "SELECT o.schema AS \"OWNER\", o.name AS \"TABLE_NAME\", o.tablespace AS "
     "\"TABLESPACE_NAME\", NULL AS \"NUM_ROWS\", 'VALID' AS \"STATUS\" FROM sbx_objects o "
     "WHERE o.type = 'TABLE' AND {VISIBLE}"},
    {Dialect::Oracle, "SYS", "USER_TABLES", Access::Own,
     "SELECT o.name AS \"TABLE_NAME\", o.tablespace AS \"TABLESPACE_NAME\", NULL AS "
     "\"NUM_ROWS\", 'VALID' AS \"STATUS\" FROM sbx_objects o WHERE o.type = 'TABLE' AND "
     "{VISIBLE}"},
    {Dialect::Oracle, "SYS", "DBA_VIEWS", Access::Dictionary,
     "SELECT o.schema AS \"OWNER\", o.name AS \"VIEW_NAME\", o.definition AS \"TEXT\" FROM "
     "sbx_objects o WHERE o.type = 'VIEW'"},
    {Dialect::Oracle, "SYS", "ALL_VIEWS", Access::Accessible,
     "SELECT o.schema AS \"OWNER\", o.name AS \"VIEW_NAME\", o.definition AS \"TEXT\" FROM "
     "sbx_objects o WHERE o.type = 'VIEW' AND {VISIBLE}"},
    {Dialect::Oracle, "SYS", "USER_VIEWS", Access::Own,
     "SELECT o.name AS \"VIEW_NAME\", o.definition AS \"TEXT\" FROM sbx_objects o WHERE "
     "o.type = 'VIEW' AND {VISIBLE}"},
    {Dialect::Oracle, "SYS", "DBA_INDEXES", Access::Dictionary,
     "SELECT o.schema AS \"OWNER\", o.name AS \"INDEX_NAME\", t.schema AS \"TABLE_OWNER\", "
     "t.name AS \"TABLE_NAME\", CASE o.uniqueness WHEN 1 THEN 'UNIQUE' ELSE 'NONUNIQUE' END AS "
     "\"UNIQUENESS\", o.tablespace AS \"TABLESPACE_NAME\" FROM sbx_objects o JOIN sbx_objects t "
     "ON t.id = o.base_id WHERE o.type = 'INDEX'"},
    {Dialect::Oracle, "SYS", "ALL_INDEXES", Access::Accessible,
     "SELECT o.schema AS \"OWNER\", o.name AS \"INDEX_NAME\", t.schema AS \"TABLE_OWNER\", "
     "t.name AS \"TABLE_NAME\", CASE o.uniqueness WHEN 1 THEN 'UNIQUE' ELSE 'NONUNIQUE' END AS "
     "\"UNIQUENESS\", o.tablespace AS \"TABLESPACE_NAME\" FROM sbx_objects o JOIN sbx_objects t "
     "ON t.id = o.base_id WHERE o.type = 'INDEX' AND {VISIBLE}"},
    {Dialect::Oracle, "SYS", "USER_INDEXES", Access::Own,
     "SELECT o.name AS \"INDEX_NAME\", t.schema AS \"TABLE_OWNER\", t.name AS \"TABLE_NAME\", "
     "CASE o.uniqueness WHEN 1 THEN 'UNIQUE' ELSE 'NONUNIQUE' END AS \"UNIQUENESS\", "
     "o.tablespace AS \"TABLESPACE_NAME\" FROM sbx_objects o JOIN sbx_objects t ON t.id = "
     "o.base_id WHERE o.type = 'INDEX' AND {VISIBLE}"},
    {Dialect::Oracle, "SYS", "ALL_SEQUENCES", Access::Accessible,
     "SELECT o.schema AS \"SEQUENCE_OWNER\", o.name AS \"SEQUENCE_NAME\", s.min_value AS "
     "\"MIN_VALUE\", s.max_value AS \"MAX_VALUE\", s.increment AS \"INCREMENT_BY\", CASE "
     "s.cycle WHEN 1 THEN 'Y' ELSE 'N' END AS \"CYCLE_FLAG\", s.next_value AS \"LAST_NUMBER\" "
     "FROM sbx_objects o JOIN sbx_sequences s ON s.object_id = o.id WHERE {VISIBLE}"},
    {Dialect::Oracle, "SYS", "USER_SEQUENCES", Access::Own,
     "SELECT o.name AS \"SEQUENCE_NAME\", s.min_value AS \"MIN_VALUE\", s.max_value AS "
     "\"MAX_VALUE\", s.increment AS \"INCREMENT_BY\", s.next_value AS \"LAST_NUMBER\" FROM "
     "sbx_objects o JOIN sbx_sequences s ON s.object_id = o.id WHERE {VISIBLE}"},
    {Dialect::Oracle, "SYS", "ALL_SYNONYMS", Access::Public,
     "SELECT o.schema AS \"OWNER\", o.name AS \"SYNONYM_NAME\", o.target_schema AS "
     "\"TABLE_OWNER\", o.target_name AS \"TABLE_NAME\" FROM sbx_objects o WHERE o.type = "
     "'SYNONYM'"},
    {Dialect::Oracle, "SYS", "USER_SYNONYMS", Access::Own,
     "SELECT o.name AS \"SYNONYM_NAME\", o.target_schema AS \"TABLE_OWNER\", o.target_name AS "
     "\"TABLE_NAME\" FROM sbx_objects o WHERE o.type = 'SYNONYM' AND {VISIBLE}"},
    {Dialect::Oracle, "SYS", "DBA_OBJECTS", Access::Dictionary,
     "SELECT o.schema AS \"OWNER\", o.name AS \"OBJECT_NAME\", o.id AS \"OBJECT_ID\", o.type "
     "AS \"OBJECT_TYPE\", o.created AS \"CREATED\", 'VALID' AS \"STATUS\" FROM sbx_objects o"},
    {Dialect::Oracle, "SYS", "ALL_OBJECTS", Access::Accessible,
     "SELECT o.schema AS \"OWNER\", o.name AS \"OBJECT_NAME\", o.id AS \"OBJECT_ID\", o.type "
     "AS \"OBJECT_TYPE\", o.created AS \"CREATED\", 'VALID' AS \"STATUS\" FROM sbx_objects o "
     "WHERE {VISIBLE}"},
    {Dialect::Oracle, "SYS", "USER_OBJECTS", Access::Own,
     "SELECT o.name AS \"OBJECT_NAME\", o.id AS \"OBJECT_ID\", o.type AS \"OBJECT_TYPE\", "
     "o.created AS \"CREATED\", 'VALID' AS \"STATUS\" FROM sbx_objects o WHERE {VISIBLE}"},
    {Dialect::Oracle, "SYS", "ALL_TAB_COLUMNS", Access::Accessible,
     "SELECT o.schema AS \"OWNER\", o.name AS \"TABLE_NAME\", c.name AS \"COLUMN_NAME\", "
     "c.type_name AS \"DATA_TYPE\", c.length AS \"DATA_LENGTH\", c.length AS "
     "\"DATA_PRECISION\", c.scale AS \"DATA_SCALE\", CASE c.nullable WHEN 1 THEN 'Y' ELSE 'N' "
     "END AS \"NULLABLE\", c.position AS \"COLUMN_ID\", c.default_value AS \"DATA_DEFAULT\" "
     "FROM sbx_columns c JOIN sbx_objects o ON o.id = c.object_id WHERE {VISIBLE}"},
    {Dialect::Oracle, "SYS", "USER_TAB_COLUMNS", Access::Own,
     "SELECT o.name AS \"TABLE_NAME\", c.name AS \"COLUMN_NAME\", c.type_name AS "
     "\"DATA_TYPE\", c.length AS \"DATA_LENGTH\", c.scale AS \"DATA_SCALE\", CASE c.nullable "
     "WHEN 1 THEN 'Y' ELSE 'N' END AS \"NULLABLE\", c.position AS \"COLUMN_ID\" FROM "
     "sbx_columns c JOIN sbx_objects o ON o.id = c.object_id WHERE {VISIBLE}"},
    {Dialect::Oracle, "SYS", "DBA_ROLES", Access::Dictionary,
     "SELECT r.name AS \"ROLE\", 'NO' AS \"PASSWORD_REQUIRED\" FROM sbx_roles r"},
    {Dialect::Oracle, "SYS", "DBA_ROLE_PRIVS", Access::Dictionary,
     "SELECT g.grantee AS \"GRANTEE\", g.privilege AS \"GRANTED_ROLE\", CASE g.admin_option "
     "WHEN 1 THEN 'YES' ELSE 'NO' END AS \"ADMIN_OPTION\", 'YES' AS \"DEFAULT_ROLE\" FROM "
     "sbx_grants g WHERE g.kind = 'ROLE'"},
    {Dialect::Oracle, "SYS", "USER_ROLE_PRIVS", Access::Public,
     "SELECT g.grantee AS \"USERNAME\", g.privilege AS \"GRANTED_ROLE\", CASE g.admin_option "
     "WHEN 1 THEN 'YES' ELSE 'NO' END AS \"ADMIN_OPTION\" FROM sbx_grants g WHERE g.kind = "
     "'ROLE' AND g.grantee IN ({USER}, 'PUBLIC')"},
    {Dialect::Oracle, "SYS", "DBA_SYS_PRIVS", Access::Dictionary,
     "SELECT g.grantee AS \"GRANTEE\", g.privilege AS \"PRIVILEGE\", CASE g.admin_option WHEN "
     "1 THEN 'YES' ELSE 'NO' END AS \"ADMIN_OPTION\" FROM sbx_grants g WHERE g.kind = "
     "'SYSTEM'"},
    {Dialect::Oracle, "SYS", "USER_SYS_PRIVS", Access::Public,
     "SELECT g.grantee AS \"USERNAME\", g.privilege AS \"PRIVILEGE\", CASE g.admin_option WHEN "
     "1 THEN 'YES' ELSE 'NO' END AS \"ADMIN_OPTION\" FROM sbx_grants g WHERE g.kind = 'SYSTEM' "
     "AND g.grantee IN ({USER}, 'PUBLIC')"},
    {Dialect::Oracle, "SYS", "DBA_TAB_PRIVS", Access::Dictionary,
     "SELECT g.grantee AS \"GRANTEE\", o.schema AS \"OWNER\", o.name AS \"TABLE_NAME\", "
     "g.grantor AS \"GRANTOR\", g.privilege AS \"PRIVILEGE\", CASE g.admin_option WHEN 1 THEN "
     "'YES' ELSE 'NO' END AS \"GRANTABLE\" FROM sbx_grants g JOIN sbx_objects o ON o.id = "
     "g.object_id WHERE g.kind = 'OBJECT'"},
    {Dialect::Oracle, "SYS", "DBA_TS_QUOTAS", Access::Dictionary,
     "SELECT q.tablespace AS \"TABLESPACE_NAME\", q.username AS \"USERNAME\", 0 AS \"BYTES\", "
     "q.max_bytes AS \"MAX_BYTES\" FROM sbx_quotas q"},
    {Dialect::Oracle, "SYS", "USER_TS_QUOTAS", Access::Public,
     "SELECT q.tablespace AS \"TABLESPACE_NAME\", 0 AS \"BYTES\", q.max_bytes AS "
     "\"MAX_BYTES\" FROM sbx_quotas q WHERE q.username = {USER}"},
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

}  // namespace

std::optional<std::string> Session::CatalogueViewSql(const QualifiedName& name, bool qualified) {
  for (const CatalogueView& view : Views) {
    if (view.dialect != dialect_ || name.name != view.name) continue;
    // DB2's catalogue is always named with its schema; Oracle's dictionary
    // views are public synonyms, reachable unqualified too.
    if (dialect_ == Dialect::Db2 ? name.schema != view.schema
                                 : qualified && name.schema != view.schema) {
      continue;
    }
    std::string visible = "1";
    if (view.access == Access::Dictionary && !IsAdministrator() &&
        !HasSystemPrivilege("SELECT ANY DICTIONARY")) {
      Raise(OraError(942, "table or view does not exist"));
    }
    if (view.access == Access::Own) visible = "o.schema = " + QuoteString(user_);
    if (view.access == Access::Accessible && !IsAdministrator() &&
        !HasSystemPrivilege("SELECT ANY TABLE")) {
      std::string grantees;
      for (const std::string& grantee : Grantees()) {
        grantees += (grantees.empty() ? "" : ", ") + QuoteString(grantee);
      }
      visible = "(o.schema = " + QuoteString(user_) +
                " OR o.id IN (SELECT object_id FROM sbx_grants WHERE kind = 'OBJECT' AND "
                "grantee IN (" +
                grantees + ")))";
    }
    return Replace(Replace(view.sql, "{VISIBLE}", visible), "{USER}", QuoteString(user_));
  }
  return std::nullopt;
}

}  // namespace qelsandbox
