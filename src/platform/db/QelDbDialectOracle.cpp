// Oracle: ordinary names, its DBA_ catalogue views and the ORA numbers the
// engine branches on (negated, as the layer reports them).
#include "QelDbDialect.h"

namespace {

constexpr QelDbDialectRules::Code Codes[] = {
    {-1017, QelDbCondition::WrongPassword},     // invalid username/password
    {-12154, QelDbCondition::UnknownDatabase},  // could not resolve the connect identifier
    {-12514, QelDbCondition::UnknownDatabase},  // listener does not know the service
    {-955, QelDbCondition::ObjectExists},       // name already used by an object
    {-1920, QelDbCondition::ObjectExists},      // user name conflicts
    {-1543, QelDbCondition::ObjectExists},      // tablespace already exists
    {-942, QelDbCondition::ObjectMissing},      // table or view does not exist
    {-1918, QelDbCondition::ObjectMissing},     // user does not exist
    {-959, QelDbCondition::ObjectMissing},      // tablespace does not exist
    {-2289, QelDbCondition::ObjectMissing},     // sequence does not exist
    {-4080, QelDbCondition::ObjectMissing},     // trigger does not exist
    {-4043, QelDbCondition::ObjectMissing},     // object does not exist
    {-1952, QelDbCondition::ObjectMissing},     // system privileges not granted
    {-1951, QelDbCondition::ObjectMissing},     // role not granted
    {-1418, QelDbCondition::ObjectMissing},     // index does not exist
    {-1434, QelDbCondition::ObjectMissing},     // synonym does not exist
    {-1919, QelDbCondition::ObjectMissing},     // role does not exist
    {-1031, QelDbCondition::NoPrivilege},       // insufficient privileges
    {-1950, QelDbCondition::NoPrivilege},       // no privileges on tablespace
};

}  // namespace

// Ordinary names of 30 bytes, which cannot hold a double quote even
// between quotes.
const QelDbDialectRules QelDbOracleRules = {
    QelDbOracle,
    "Oracle",
    30,
    30,
    "_$#",
    "",
    false,
    "ORA-",
    "SELECT USERNAME, AUTHENTICATION_TYPE FROM DBA_USERS ORDER BY USERNAME",
    "SELECT TABLESPACE_NAME FROM DBA_TABLESPACES WHERE CONTENTS = 'PERMANENT' AND "
    "TABLESPACE_NAME NOT IN ('SYSTEM', 'SYSAUX') ORDER BY TABLESPACE_NAME",
    "SELECT TABLESPACE_NAME, SUM(BYTES) / 1024 FROM DBA_FREE_SPACE GROUP BY TABLESPACE_NAME "
    "ORDER BY TABLESPACE_NAME",
    "SELECT FILE_NAME FROM DBA_DATA_FILES WHERE TABLESPACE_NAME = 'SYSTEM'",
    "SELECT 1 FROM ALL_TABLES WHERE OWNER = %s AND TABLE_NAME = %s",
    // Users, tablespaces and grants of any privilege come with the DBA role.
    "SELECT GRANTED_ROLE FROM USER_ROLE_PRIVS WHERE USERNAME IN (%s, 'PUBLIC')",
    "DBA",
    Codes,
    sizeof Codes / sizeof Codes[0],
};
