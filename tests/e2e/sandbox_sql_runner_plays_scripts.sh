#!/usr/bin/env bash
# tessardbsetup-sandbox sql: splits a script as the DDL file mode writes it
# for the DBMS's command-line tool, handles the tool's client commands, stops
# at the first failure or goes on when told, ends with a summary line and a
# telling exit status, and never shows a password.
source "$(dirname "$0")/lib.sh"

CMD=$BIN/tessardbsetup-sandbox
new_site

# sql TAG ARGS...: one run; $out and $err hold its outputs, $status its status.
sql() {
  local tag=$1
  shift
  out=$WORK/$tag.out err=$WORK/$tag.err
  "$CMD" sql "$@" >"$out" 2>"$err" </dev/null
  status=$?
}

# rows NAME TABLE: the rows of a table in the database's report ("none": no table).
rows() {
  db_query "$1" "print(next((o['rows'] for o in db['objects'] if o['name'] == '$2'), 'none'))"
}

export TESSARDBSETUP_SQL_PASSWORD=$PASSWORD

# --- DB2: statements over lines, ";" inside strings, CONNECT RESET and
# CONNECT TO, TERMINATE ending the script.
cat >"$WORK/db2.sql" <<'SQL'
-- A comment line, then a statement over three lines.
CREATE TABLE DB2INST1.T1 (
  A INTEGER NOT NULL,   -- a comment; with a semicolon;
  B VARCHAR(20));
INSERT INTO DB2INST1.T1 VALUES (1, 'one; two;
three;');
CONNECT RESET;
CONNECT TO PDMDB;
INSERT INTO DB2INST1.T1 VALUES (2, 'b');
TERMINATE;
DROP TABLE DB2INST1.T1;
SQL
sql db2 PDMDB -u db2inst1 -f "$WORK/db2.sql"
expect_status "$status" 0 "a DB2 script that succeeds"
expect_contains "$out" "summary: 3 statements, 0 failed, 1 not run, 3 client commands"
[ "$(rows PDMDB T1)" = 2 ] || fail "T1 has $(rows PDMDB T1) rows, expected 2 (the DROP after TERMINATE not run)"

# --- A failing statement stops the script (the default) ...
cat >"$WORK/fails.sql" <<'SQL'
INSERT INTO DB2INST1.T1 VALUES (3, 'c');
INSERT INTO DB2INST1.NOSUCH VALUES (4);
INSERT INTO DB2INST1.T1 VALUES (5, 'e');
INSERT INTO DB2INST1.T1 VALUES (6, 'f');
SQL
sql stop PDMDB -u db2inst1 -f "$WORK/fails.sql"
expect_status "$status" 1 "a failing statement"
expect_contains "$out" "summary: 2 statements, 1 failed, 2 not run, 0 client commands"
expect_contains "$err" "$WORK/fails.sql:2: SQL0204N"
[ "$(rows PDMDB T1)" = 3 ] || fail "after a stop T1 has $(rows PDMDB T1) rows, expected 3"
# ... and -s says the same; --continue goes on past it, still failing the run.
sql stop-s PDMDB -u db2inst1 -s -f "$WORK/fails.sql"
expect_contains "$out" "summary: 2 statements, 1 failed, 2 not run"
sql continue PDMDB -u db2inst1 -f "$WORK/fails.sql" --continue
expect_status "$status" 1 "a failing statement with --continue"
expect_contains "$out" "summary: 4 statements, 1 failed, 0 not run, 0 client commands"
[ "$(rows PDMDB T1)" = 7 ] || fail "after -s and --continue T1 has $(rows PDMDB T1) rows, expected 7"

# --- Oracle: a block ended by "/", SQL*Plus commands skipped, WHENEVER
# SQLERROR choosing whether a failure stops, the password masked when echoed.
cat >"$WORK/oracle.sql" <<'SQL'
SET ECHO OFF
PROMPT Creating; don't stop
WHENEVER SQLERROR CONTINUE
CREATE USER RUNNER IDENTIFIED BY "Run;Secret1" DEFAULT TABLESPACE "USERS" QUOTA UNLIMITED ON "USERS";
GRANT CONNECT, RESOURCE TO RUNNER;
CREATE TABLE RUNNER.T2 (ID NUMBER(10) NOT NULL, NAME VARCHAR2(20));
CREATE SEQUENCE RUNNER.S2;
CREATE OR REPLACE TRIGGER RUNNER.TRG2
BEFORE INSERT ON RUNNER.T2
FOR EACH ROW
BEGIN
  SELECT RUNNER.S2.NEXTVAL INTO :NEW.ID FROM DUAL;
END;
/
DROP TABLE RUNNER.NOSUCH;
INSERT INTO RUNNER.T2 VALUES (1, 'a');
WHENEVER SQLERROR EXIT FAILURE
DROP TABLE RUNNER.NOSUCH;
INSERT INTO RUNNER.T2 VALUES (2, 'b');
EXIT
SQL
sql oracle PDMORA -u system -v -f "$WORK/oracle.sql"
expect_status "$status" 1 "an Oracle script whose second failure stops it"
expect_contains "$out" "summary: 8 statements, 2 failed, 1 not run, 4 client commands"
expect_contains "$err" "$WORK/oracle.sql:15: ORA-00942"
expect_contains "$err" "$WORK/oracle.sql:18: ORA-00942"
expect_contains "$out" 'CREATE USER RUNNER IDENTIFIED BY "***"'
expect_contains "$out" "END;"
expect_no_secret 'Run;Secret1' "$out" "$err"
[ "$(rows PDMORA T2)" = 1 ] || fail "T2 has $(rows PDMORA T2) rows, expected 1 (committed at the end)"
db_query PDMORA "print(sorted(o['type'] for o in db['objects'] if o['schema'] == 'RUNNER'))" \
  >"$WORK/runner-objects"
expect_lines "$(cat "$WORK/runner-objects")" "['SEQUENCE', 'TABLE', 'TRIGGER']" "RUNNER's objects"

# A CONNECT in the script, its password never shown; the standard input as the script.
printf 'CONNECT runner/Run;Secret1@PDMORA\nINSERT INTO T2 VALUES (3, %s);\nCOMMIT;\n' "'c'" |
  "$CMD" sql PDMORA -f - >"$WORK/connect.out" 2>"$WORK/connect.err"
expect_status $? 0 "a script that connects by itself"
expect_contains "$WORK/connect.out" "summary: 2 statements, 0 failed, 0 not run, 1 client commands"
[ "$(rows PDMORA T2)" = 2 ] || fail "T2 has $(rows PDMORA T2) rows after the CONNECT script"

# --- Connections refused, and the password kept off the command line.
TESSARDBSETUP_SQL_PASSWORD=wrong-Pass9 sql wrong PDMDB -u db2inst1 -f "$WORK/db2.sql"
expect_status "$status" 1 "a wrong password"
expect_contains "$err" "cannot connect to PDMDB as db2inst1: SQL30082N"
expect_contains "$out" "summary: 1 statements, 1 failed, 3 not run"
expect_no_secret 'wrong-Pass9' "$out" "$err"
env -u TESSARDBSETUP_SQL_PASSWORD "$CMD" sql PDMDB -u db2inst1 -f "$WORK/db2.sql" \
  >"$WORK/nopass.out" 2>"$WORK/nopass.err" </dev/null
expect_status $? 1 "no password and no terminal"
expect_contains "$WORK/nopass.err" "no password for db2inst1: set TESSARDBSETUP_SQL_PASSWORD"
sql usage PDMDB -u db2inst1 --password sandbox -f "$WORK/db2.sql"
expect_status "$status" 2 "a password on the command line"
expect_contains "$err" "a password is never given on the command line"
sql nofile PDMDB -u db2inst1
expect_status "$status" 2 "no script"
sql nodb NOSUCH -u db2inst1 -f "$WORK/db2.sql"
expect_status "$status" 1 "an unknown database"
expect_contains "$err" "no database NOSUCH"

finish
