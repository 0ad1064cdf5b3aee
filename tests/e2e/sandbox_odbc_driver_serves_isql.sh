#!/usr/bin/env bash
# The sandbox DBMS is an ODBC driver like a real one: a fresh site registers
# it with unixODBC (odbcinst.ini, a data source per DB2 alias and for the
# Oracle service), and unixODBC's own isql, a client we did not write,
# connects, creates, inserts and lists catalogue rows on both DBMSs; a wrong
# password shows the DBMS's own code. The installer's binaries do not link
# the driver.
source "$(dirname "$0")/lib.sh"

if ! command -v isql >/dev/null || ! command -v odbcinst >/dev/null; then
  echo "unixODBC's isql is missing: run tools/install-packages.sh as root" >&2
  exit 1
fi
new_site

# The registration an administrator sees, in the site's own files.
odbcinst -q -d >"$WORK/drivers" 2>&1 || fail "odbcinst -q -d: $(cat "$WORK/drivers")"
for entry in "TESSAR Sandbox DB2" "TESSAR Sandbox Oracle" DB2 Oracle; do
  expect_contains "$WORK/drivers" "[$entry]\n"
done
odbcinst -q -s >"$WORK/sources" 2>&1 || fail "odbcinst -q -s: $(cat "$WORK/sources")"
for source in PDMDB PDMTEST PDMREMOT PDMORA; do
  expect_contains "$WORK/sources" "[$source]\n"
done
driver=$(odbcinst -q -d -n DB2 | sed -n 's/^Driver *= *//p')
[ -f "$driver" ] || fail "the DB2 entry names no library: '$driver'"
expect_contains "$ODBCSYSINI/odbcinst.ini" "Dialect = Oracle"

# isql COMMAND... : runs isql in batch mode with the site's registration
# only: neither the sandbox variable nor the DBMS clients' variables are set.
isql_run() {
  env -u TESSARDBSETUP_SANDBOX -u DB2INSTANCE -u ORACLE_HOME -u TNS_ADMIN isql -b -v "$@" 2>&1
}

isql_run PDMDB db2inst1 "$PASSWORD" >"$WORK/db2.out" <<'SQL'
CREATE TABLE DB2INST1.PARTS (ID INTEGER NOT NULL, NAME VARCHAR(40))
INSERT INTO DB2INST1.PARTS VALUES (1, 'bolt'), (2, 'nut')
SELECT TABSCHEMA, TABNAME FROM SYSCAT.TABLES
SELECT NAME FROM DB2INST1.PARTS ORDER BY ID
SQL
expect_status $? 0 "isql on the DB2 data source"
expect_contains "$WORK/db2.out" "| DB2INST1 | PARTS"
expect_contains "$WORK/db2.out" "| bolt"
expect_contains "$WORK/db2.out" "2 rows fetched"
# isql commits each statement (autocommit): the DBMS shows the table after.
[ "$(db_query PDMDB 'print(sum(1 for o in db["objects"] if o.get("name") == "PARTS"))')" = 1 ] ||
  fail "the table created through isql is not in the database"

isql_run PDMORA system "$PASSWORD" >"$WORK/oracle.out" <<'SQL'
CREATE TABLE SYSTEM.NOTES (ID NUMBER, BODY VARCHAR2(100))
SELECT OWNER, TABLE_NAME FROM ALL_TABLES
SQL
expect_status $? 0 "isql on the Oracle data source"
expect_contains "$WORK/oracle.out" "| SYSTEM| NOTES"

# A DSN-less connection through the driver name the installer uses.
echo "SELECT TABNAME FROM SYSCAT.TABLES" |
  isql_run -k "DRIVER={DB2};DATABASE=PDMDB;UID=db2inst1;PWD={$PASSWORD}" >"$WORK/dsnless.out"
expect_status $? 0 "isql with DRIVER={DB2}"
expect_contains "$WORK/dsnless.out" "| PARTS"

# The DBMS's error on a statement, then wrong passwords: the DBMS's codes
# and SQLSTATEs behind the driver's tags.
echo "CREATE TABLE DB2INST1.PARTS (ID INTEGER)" | isql_run PDMDB db2inst1 "$PASSWORD" >"$WORK/dup.out"
expect_contains "$WORK/dup.out" "[42710][TESSAR][Sandbox DB2] SQL0601N"
echo "SELECT 1 FROM SYSIBM.SYSDUMMY1" | isql_run PDMDB db2inst1 wrong-secret >"$WORK/db2-refused.out"
expect_status $? 1 "isql with a wrong DB2 password"
expect_contains "$WORK/db2-refused.out" "[08001][unixODBC][TESSAR][Sandbox DB2] SQL30082N"
echo "SELECT 1 FROM DUAL" | isql_run PDMORA system wrong-secret >"$WORK/oracle-refused.out"
expect_status $? 1 "isql with a wrong Oracle password"
expect_contains "$WORK/oracle-refused.out" "[28000][unixODBC][TESSAR][Sandbox Oracle] ORA-01017"
expect_no_secret wrong-secret "$WORK/db2-refused.out" "$WORK/oracle-refused.out"

for binary in tessardbsetup tessardbsetup-sandbox; do
  ldd "$BIN/$binary" | grep -q tessarsbodbc && fail "$binary links the sandbox's ODBC driver"
done
# The product reaches the sandbox through the driver manager alone: none of
# the sandbox DBMS's code, nor its storage, is in the program.
ldd "$BIN/tessardbsetup" | grep -q libsqlite3 && fail "tessardbsetup links SQLite"
ldd "$BIN/tessardbsetup" | grep -q 'libodbc\.so' || fail "tessardbsetup does not link the driver manager"
nm -C "$BIN/tessardbsetup" | grep -iE ' (qelsandbox::|sqlite3_|[a-z_:]*Sandbox)' >"$WORK/sandbox-symbols"
[ -s "$WORK/sandbox-symbols" ] && fail "tessardbsetup holds sandbox code: $(head -n 5 "$WORK/sandbox-symbols")"
finish
