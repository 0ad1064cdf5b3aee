# A statement the DBMS refuses stops the installation with the DBMS's message and
# undoes everything the run did; the son ends with 3, the father with 1.
. "$(dirname "$0")/lib.sh"

# break_modeler FILE: a refused statement after the first three of FILE.
break_modeler() {
  awk '{ print } /;$/ && ++n == 3 { print ""; print "CREATE TABLE $(SCHEMA).BROKEN (;" }' "$1" \
    >"$1.new" && mv "$1.new" "$1"
  grep -q BROKEN "$1" || fail "could not break $1"
}

# failed_run TAG FILE DATABASE MESSAGE: the run fails on the broken statement
# with the DBMS's MESSAGE and DATABASE is back as it was.
failed_run() {
  local tag=$1 answers=$2 database=$3 message=$4
  db_snapshot "$database" "$WORK/$tag-before"
  run_wizard "$tag" "$answers"
  expect_run 1 "$tag: installation with a refused statement"
  mapfile -t pids < <(pids_of "$RUN.transcript")
  local father=${pids[0]:-none} son=${pids[1]:-none}
  expect_contains "$RUN.transcript" "{\"pid\":$son,\"event\":\"exit\",\"status\":3,"
  [[ $(tail -n 1 "$RUN.transcript") == "{\"pid\":$father,\"event\":\"exit\",\"status\":1,"* ]] ||
    fail "$tag: the father did not end last with 1: $(tail -n 1 "$RUN.transcript")"
  expect_contains "$RUN.err" '\nFATAL Error in Installation Second Process\n'
  expect_contains "$RUN.err" "$message"
  boxes_of "$RUN.transcript" | grep '^ZEP2ErrInSubsIdle|' >"$RUN.boxes"
  [ "$(wc -l <"$RUN.boxes")" -eq 1 ] || fail "$tag: $(wc -l <"$RUN.boxes") idle-step error boxes"
  [[ $(cat "$RUN.boxes") == "ZEP2ErrInSubsIdle|$(msg_text ZEP2DlgREPORT ERRMSGWndTitleEXEDDL)|$(msg_text ZEP2DlgREPORT ERRMSGTextToDisplayForEXEDDL)"*"$message"* ]] ||
    fail "$tag: the error box is $(cat "$RUN.boxes")"
  expect_contains "$RUN.trace" '\nSt_PlayDDL  DDL DML Statement : <CREATE TABLE'
  expect_contains "$RUN.trace" '\nTESSAR DB SETUP FAILED!\n'
  grep -q '^St_PlayDROPDDL Begin' "$RUN.trace" || fail "$tag: no statement was undone"
  expect_not_contains "$RUN.trace" 'St_ZEPProject Begin'
  expect_not_contains "$RUN.trace" '\nINSTALLATION ENDED\n'
  [ -z "$(ls -A "$QelUserSettingPath" | grep '^TESSARInst\.')" ] || fail "$tag: settings file left"
  db_snapshot "$database" "$WORK/$tag-after"
  expect_same_db "$WORK/$tag-before" "$WORK/$tag-after" "$tag: a rolled-back installation"
  # Where it failed, what the DBMS said, that it was rolled back, and the
  # counts, on the report page (its text in the log) and in the last line.
  local outcome="failed at statement 4 of PEOPLE.$5 (modeler PEOPLE): $message"
  expect_outcome_line 1 "installation failed and was rolled back (exit status 1); $outcome*, rolled back; * created and removed; * statements played, [1-9]* undone, in * s; *" "$tag"
  expect_contains "$RUN.log" "\n$(msg_text ZEP2DlgREPORT Failed)\n\nOutcome: $outcome"
  expect_contains "$RUN.log" "\nOUTCOME: $outcome"
}

# --- DB2, existing tablespace -----------------------------------------------
new_site db2
break_modeler "$QelReffilesPath/DBMS/ddl/PEOPLE.clp"
response_file "$WORK/db2.rsp" db2 db2_local_database db2_existing_tablespace
failed_run db2 "$WORK/db2.rsp" PDMDB 'SQL0104N' clp
# The modelers before PEOPLE were installed, then undone.
expect_contains "$RUN.trace" '\nSt_PlayDROPDDL  DDL DML Statement : <DROP TABLE PDMDICO.CDM_'

# --- Oracle, new tablespace --------------------------------------------------
new_site oracle
break_modeler "$QelReffilesPath/DBMS/ddl/PEOPLE.sql"
response_file "$WORK/oracle.rsp" oracle oracle_new_tablespace
failed_run oracle "$WORK/oracle.rsp" PDMORA 'ORA-00' sql
expect_contains "$RUN.log" ' users, 1 tablespace, '
expect_contains "$RUN.trace" '\nCreate tablespace statement: <CREATE TABLESPACE "PDMTBS"'
[ -z "$(ls -A "$TESSARDBSETUP_SANDBOX/tablespaces")" ] ||
  fail "the new tablespace's data file is still there: $(ls -A "$TESSARDBSETUP_SANDBOX/tablespaces")"
expect_no_secret dicopass "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err"
finish
