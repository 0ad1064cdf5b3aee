# A son killed in the data steps (the start-up data load and every step after
# it): its father ends with 1 and its FATAL line, the settings file with the
# passwords is gone, and the next run rolls the interrupted installation back,
# server settings included, so the database is as it was before.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_stop.sh"
new_site

mkdir -p "$TESSARDBSETUP_SANDBOX/tablespaces"
response_file "$WORK/db2-install.rsp" db2 db2_local_database db2_existing_tablespace
response_file "$WORK/oracle-install.rsp" oracle oracle_new_tablespace DICO_PASSWORD=sandbox
for dbms in db2 oracle; do
  base=(db2 db2_local_database)
  [ $dbms = oracle ] && base=(oracle DICO_PASSWORD=sandbox)
  response_file "$WORK/$dbms-recover.rsp" "${base[@]}" rollback_then_cancel
done
db_snapshot PDMDB "$WORK/db2-before"
db_snapshot PDMORA "$WORK/oracle-before"

# killed_at DBMS LABEL TEXT: the son is killed where its trace receives TEXT.
killed_at() {
  local dbms=$1 label="$1 $2" text=$3 database=PDMDB vendor=1 journal
  [ "$dbms" = db2 ] || database=PDMORA vendor=2
  journal=$QelUserSettingPath/TESSARUndo.${dbms^^}.$database.journal
  start_stopping_run "$dbms-$2" "$WORK/$dbms-install.rsp" "$text" || return
  # The son stopped in the data steps, not before them.
  grep -q '^St_ZEPProject Begin' "$RUN.trace" || fail "$label: stopped before the data steps"
  kill -KILL "$stopped"
  end_run
  expect_run 1 "$label: a father whose son was killed" || return
  expect_contains "$RUN.err" '\nFATAL Error in Installation Second Process\n'
  [ -z "$(ls -A "$QelUserSettingPath" | grep '^TESSARInst\.')" ] || fail "$label: settings file left"
  expect_no_secret sandbox "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err" "$RUN.out" \
    "$RUN.stderr"
  grep -q '^undo=DROP TABLE PDMDICO\.' "$journal" 2>/dev/null || fail "$label: no drops journaled"
  grep -q "^undo=REMOVE SERVER SETTING \"TESCOMMON\" OF \"$database\" VENDOR $vendor\$" \
    "$journal" 2>/dev/null || fail "$label: the server settings are not journaled"
  db_snapshot "$database" "$WORK/killed"
  cmp -s "$WORK/$dbms-before" "$WORK/killed" && fail "$label: the son had created nothing"

  run_wizard "$dbms-$2-recover" "$WORK/$dbms-recover.rsp"
  expect_run 2 "$label: the run after the killed one"
  expect_contains "$RUN.log" "An earlier installation into $database was interrupted"
  expect_contains "$RUN.trace" "\nInterrupted installation undo : <REMOVE SERVER SETTING \"TESCOMMON\" OF \"$database\" VENDOR $vendor>"
  [ -e "$journal" ] && fail "$label: the journal stayed after its rollback"
  db_snapshot "$database" "$WORK/after"
  expect_same_db "$WORK/$dbms-before" "$WORK/after" "$label: the database after the rollback"
}

killed_at db2 project-load $'\nZEPPROJECT'
killed_at db2 data-manager 'Open ZEPSession : OK'
killed_at db2 status-graphs 'St_ZEPRDBEI Import Status Graph File'
killed_at db2 supply-chain 'St_ZEPSuppChain Begin'
killed_at db2 authentication-back 'St_AlterUserTmpSrvSys Begin'
killed_at db2 last-configuration 'St_AlterUserDefSrvSys QelSubsribeIdle St_GenEnvFiles'
# Oracle: the users the run created, and their connections, go too.
killed_at oracle data-manager 'Open ZEPSession : OK'
killed_at oracle last-configuration 'St_AlterUserDefSrvSys QelSubsribeIdle St_GenEnvFiles'
finish
