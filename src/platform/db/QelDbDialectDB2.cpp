// DB2: authorization and tablespace names, its catalogue views and the
// SQLCODEs the engine branches on.
#include "QelDbDialect.h"

namespace {

constexpr QelDbDialectRules::Code Codes[] = {
    {-30082, QelDbCondition::WrongPassword},   // security processing failed
    {-1013, QelDbCondition::UnknownDatabase},  // database alias not found
    {-1031, QelDbCondition::UnknownDatabase},  // database directory not found
    {-601, QelDbCondition::ObjectExists},      // name of the object already exists
    {-612, QelDbCondition::ObjectExists},      // duplicate name
    {-204, QelDbCondition::ObjectMissing},     // undefined name
    {-556, QelDbCondition::ObjectMissing},     // revoke of an authority not held
    {-551, QelDbCondition::NoPrivilege},       // no privilege for the operation
    {-552, QelDbCondition::NoPrivilege},       // no privilege to create
    {-1092, QelDbCondition::NoPrivilege},      // no authority for the command
};

}  // namespace

// DB2 authorization names of 30 bytes, tablespace names of 18; SYS is kept
// for the catalogue's own tablespaces.
const QelDbDialectRules QelDbDB2Rules = {
    QelDbDB2,
    "DB2",
    30,
    18,
    "_@#$",
    "SYS",
    true,
    "SQL",
    // DB2 users are operating-system accounts known by their authorities;
    // they log in with their system password: none is EXTERNAL to us.
    "SELECT DISTINCT GRANTEE, 'PASSWORD' FROM SYSCAT.DBAUTH WHERE GRANTEETYPE = 'U' "
    "ORDER BY GRANTEE",
    "SELECT TBSPACE FROM SYSCAT.TABLESPACES WHERE DATATYPE IN ('A', 'L') AND TBSPACE <> "
    "'SYSCATSPACE' ORDER BY TBSPACE",
    "SELECT TBSP_NAME, TBSP_FREE_SIZE_KB, TBSP_TYPE FROM SYSIBMADM.TBSP_UTILIZATION ORDER BY "
    "TBSP_NAME",
    "",
    "SELECT 1 FROM SYSCAT.TABLES WHERE TABSCHEMA = %s AND TABNAME = %s AND TYPE = 'T'",
    // Tablespaces, authorities granted to others: DBADM covers what the
    // steps do.
    "SELECT 'DBADM' FROM SYSCAT.DBAUTH WHERE GRANTEE = %s AND DBADMAUTH = 'Y'",
    "DBADM",
    Codes,
    sizeof Codes / sizeof Codes[0],
};
