#!/usr/bin/env bash
# tessardbsetup-sandbox db: creates a DB2 database and an Oracle service in a
# fresh site, shows them as text and JSON, resets a changed one, and answers
# mistakes with its exit statuses (1 error, 2 usage).
source "$(dirname "$0")/lib.sh"

CMD=$BIN/tessardbsetup-sandbox
SITE=$WORK/site
mkdir -p "$SITE"

"$CMD" db create --dbms db2 --instance db2inst1 --alias sample --owner dbadmin --site "$SITE" \
  >"$WORK/out" 2>&1
expect_status $? 0 "db2 create"
[ -d "$SITE/dbms/db2/db2inst1/SAMPLE/USERSPACE1" ] || fail "USERSPACE1 has no directory"

export TESSARDBSETUP_SANDBOX=$SITE
"$CMD" db create --dbms oracle --service ORCL --system-password 'S3cret!' >"$WORK/out" 2>&1
expect_status $? 0 "oracle create"
[ -f "$SITE/dbms/oracle/ORCL/system01.dbf" ] || fail "SYSTEM has no data file"
"$CMD" db create --dbms oracle --service ORCL >"$WORK/out" 2>&1
expect_status $? 1 "second oracle create"
expect_contains "$WORK/out" "database ORCL already exists"

"$CMD" db show SAMPLE >"$WORK/db2.txt" 2>&1
expect_status $? 0 "db2 show"
expect_contains "$WORK/db2.txt" "Database SAMPLE (DB2, instance db2inst1)"
expect_contains "$WORK/db2.txt" "DBADMIN"
expect_contains "$WORK/db2.txt" "TEMPSPACE1           SYSTEM TEMPORARY"

"$CMD" db show orcl --json >"$WORK/orcl.json" 2>&1
expect_status $? 0 "oracle show --json"
python3 -c '
import json, sys
report = json.load(open(sys.argv[1]))
assert sorted(report) == ["database", "grants", "objects", "server_settings", "tablespaces",
                          "users"], sorted(report)
assert [u["name"] for u in report["users"]] == ["SYS", "SYSTEM"], report["users"]
assert [t["name"] for t in report["tablespaces"]] == ["SYSTEM", "SYSAUX", "USERS", "TEMP"]
assert {"grantee": "SYSTEM", "privilege": "DBA"}.items() <= next(
    g for g in report["grants"] if g["grantee"] == "SYSTEM" and g["kind"] == "ROLE").items()
' "$WORK/orcl.json" || fail "the JSON report is not what create leaves"
expect_not_contains "$WORK/orcl.json" 'S3cret!'
expect_not_contains "$WORK/orcl.json" '$6$'

# Change the catalogue behind the command's back, then reset.
python3 - "$SITE/dbms/oracle/ORCL.sqlite" "$SITE/extra.dbf" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.execute("INSERT INTO sbx_users(name, user_id, authentication, created) "
           "VALUES ('INTRUDER', 99, 'EXTERNAL', 'now')")
db.execute("INSERT INTO sbx_tablespaces(name, contents, management, owner, builtin, created) "
           "VALUES ('EXTRA', 'PERMANENT', 'FILE', 'SYS', 0, 'now')")
db.execute("INSERT INTO sbx_containers(tablespace, position, path, kind) "
           "VALUES ('EXTRA', 1, ?, 'FILE')", (sys.argv[2],))
db.commit()
open(sys.argv[2], "w").write("data")
PY
"$CMD" db show ORCL >"$WORK/changed.txt" 2>&1
expect_contains "$WORK/changed.txt" "INTRUDER"
"$CMD" db reset ORCL >"$WORK/out" 2>&1
expect_status $? 0 "oracle reset"
"$CMD" db show ORCL >"$WORK/reset.txt" 2>&1
expect_not_contains "$WORK/reset.txt" "INTRUDER"
expect_not_contains "$WORK/reset.txt" "EXTRA"
expect_contains "$WORK/reset.txt" "SYSTEM               PASSWORD"
[ ! -e "$SITE/extra.dbf" ] || fail "reset left the EXTRA data file"

"$CMD" db show NOSUCH >"$WORK/out" 2>&1
expect_status $? 1 "show of a missing database"
expect_contains "$WORK/out" "no database NOSUCH"
"$CMD" db show >"$WORK/out" 2>&1
expect_status $? 2 "show without a name"
"$CMD" db create --dbms sybase >"$WORK/out" 2>&1
expect_status $? 2 "create of an unknown DBMS"
"$CMD" frobnicate >"$WORK/out" 2>&1
expect_status $? 2 "unknown verb"
env -u TESSARDBSETUP_SANDBOX "$CMD" db show SAMPLE >"$WORK/out" 2>&1
expect_status $? 2 "no site"
expect_contains "$WORK/out" "no site"
"$CMD" --help >"$WORK/out" 2>&1
expect_status $? 0 "--help"
expect_contains "$WORK/out" "  db     create, show and reset"

finish
