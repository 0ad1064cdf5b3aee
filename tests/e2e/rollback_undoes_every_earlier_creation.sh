# A statement refused at the first statement of a later modeler undoes the
# earlier modelers' objects and grants too, and a user that existed before the
# run gets back its tablespace, quotas and rights; nothing is left for the next
# run to call "already installed".
. "$(dirname "$0")/lib.sh"

# break_first FILE: a refused statement before the first statement of FILE.
break_first() {
  awk 'BEGIN { done = 0 } !done && /^[A-Z]/ { print "CREATE TABLE $(SCHEMA).BROKEN (;"; print ""; done = 1 } { print }' \
    "$1" >"$1.new" && mv "$1.new" "$1"
  grep -q BROKEN "$1" || fail "could not break $1"
}

# rolled_back TAG DATABASE: the last run failed, undid everything, and the
# database is as in $WORK/TAG-before.
rolled_back() {
  expect_run 1 "$1: a statement refused at a later modeler's start" || return
  expect_contains "$RUN.transcript" '"status":3,"outcome":"installation failed and was rolled back"'
  expect_contains "$RUN.log" '\nROLLBACK COMPLETE\n'
  expect_not_contains "$RUN.err" 'UNDO FAILED'
  ls "$QelUserSettingPath" | grep -q '^TESSARUndo\.' && fail "$1: the undo journal stayed"
  db_snapshot "$2" "$WORK/$1-after"
  expect_same_db "$WORK/$1-before" "$WORK/$1-after" "$1"
}

# --- DB2: PEOPLE's first statement fails; the five modelers before it go.
new_site db2
break_first "$QelReffilesPath/DBMS/ddl/PEOPLE.clp"
response_file "$WORK/db2.rsp" db2 db2_local_database db2_existing_tablespace
db_snapshot PDMDB "$WORK/db2-before"
run_wizard db2 "$WORK/db2.rsp"
rolled_back db2 PDMDB
expect_contains "$RUN.trace" '\nSt_PlayDROPDDL  DDL DML Statement : <DROP TABLE PDMDICO.ZEPOB_'
expect_contains "$RUN.trace" '\nSt_PlayDROPDDL  DDL DML Statement : <REVOKE DBADM, CONNECT, CREATETAB ON DATABASE FROM USER PDMADM>'
# The next run is not told that anything is installed already.
run_wizard db2-again "$WORK/db2.rsp"
expect_not_contains "$RUN.trace" 'St_ChkDBAlreadyInstall Failed'
expect_contains "$RUN.trace" '\nSt_PlayDDL  DDL DML Statement : <CREATE TABLE PDMDICO.BROKEN'

# --- Oracle: the schema owner existed before, with its own default
# tablespace; the administrator existed too, identified by the system.
new_site oracle
break_first "$QelReffilesPath/DBMS/ddl/PEOPLE.sql"
python3 - "$TESSARDBSETUP_SANDBOX/dbms/oracle/PDMORA.sqlite" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
for name, authentication, tablespace in (("PDMDICO", "PASSWORD", "SYSAUX"),
                                         ("PDMADM", "EXTERNAL", "USERS")):
    db.execute("INSERT INTO sbx_users(name, user_id, authentication, password_hash, "
               "default_tablespace, temporary_tablespace, locked, created) SELECT ?, "
               "(SELECT max(user_id) + 1 FROM sbx_users), ?, CASE ? WHEN 'EXTERNAL' THEN NULL "
               "ELSE password_hash END, ?, temporary_tablespace, 0, created FROM sbx_users "
               "WHERE name = 'SYSTEM'", (name, authentication, authentication, tablespace))
db.execute("INSERT INTO sbx_grants(grantee, kind, privilege, object_id, grantor, admin_option) "
           "VALUES ('PDMDICO', 'ROLE', 'CONNECT', 0, 'SYSTEM', 0)")
db.commit()
PY
# The schema owner was given SYSTEM's password above.
response_file "$WORK/oracle.rsp" oracle oracle_existing_tablespace DICO_PASSWORD="$PASSWORD"
db_snapshot PDMORA "$WORK/oracle-before"
run_wizard oracle "$WORK/oracle.rsp"
rolled_back oracle PDMORA
# Server authentication gave the administrator a password for good; the
# rollback identifies it by the system again.
expect_contains "$RUN.trace" 'Alter User Statement: <ALTER USER PDMADM IDENTIFIED BY "***"'
expect_contains "$RUN.trace" '\nSt_PlayDROPDDL  DDL DML Statement : <ALTER USER PDMADM IDENTIFIED EXTERNALLY DEFAULT TABLESPACE "USERS"'
expect_contains "$RUN.trace" '\nSt_PlayDROPDDL  DDL DML Statement : <ALTER USER PDMDICO DEFAULT TABLESPACE "SYSAUX" QUOTA 0 ON "USERS">'
expect_contains "$RUN.trace" '\nSt_PlayDROPDDL  DDL DML Statement : <REVOKE RESOURCE, SELECT ANY TABLE, CREATE ANY VIEW, DROP ANY VIEW FROM PDMDICO>'
expect_no_secret sandbox "$RUN.transcript" "$RUN.log" "$RUN.err"
finish
