# A son killed in the middle of the DDL play: its father ends with 1 and its
# FATAL line, the settings file with the passwords is gone, and the undo
# journal the son kept lets the next run offer the rollback, after which the
# database is as it was before the first run. A record the kill cut short is
# told and never played back.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_stop.sh"
new_site
response_file "$WORK/install.rsp" db2 db2_local_database db2_existing_tablespace
db_snapshot PDMDB "$WORK/before"

# The son stops itself as the fourth modeler's play begins, and is killed
# there. A kill timed by reading the trace could land anywhere later: the
# trace comes in blocks, so the son is well past what it shows, at times
# past the end of the installation, whose journal is gone by then.
start_stopping_run killed "$WORK/install.rsp" 'St_PlayDDL _nvPosInModelerPersColl     : <4>' ||
  finish
[ "$(grep -c '^St_PlayDDL Begin' "$RUN.trace")" -ge 40 ] ||
  fail "the son stopped before it was well into the DDL play"
kill -KILL "$stopped"
end_run
expect_run 1 "a father whose son was killed"
expect_contains "$RUN.err" '\nFATAL Error in Installation Second Process\n'
[ -z "$(ls -A "$QelUserSettingPath" | grep '^TESSARInst\.settings')" ] || fail "the settings file stayed"
journal=$QelUserSettingPath/TESSARUndo.DB2.PDMDB.journal
[ -s "$journal" ] || fail "the killed son left no undo journal"
grep -q '^undo=DROP TABLE PDMDICO\.' "$journal" || fail "the journal lacks the DDL's drops"
db_snapshot PDMDB "$WORK/killed"
cmp -s "$WORK/before" "$WORK/killed" && fail "the son was killed before it created anything"

# Killed in the middle of a journal write, the son would have left this.
torn_line=$(($(wc -l <"$journal") + 1))
printf 'undo=DROP TABLESPACE PDMT' >>"$journal"

# The next run offers the rollback, then is cancelled on the tablespace page.
response_file "$WORK/recover.rsp" db2 db2_local_database rollback_then_cancel
run_wizard recover "$WORK/recover.rsp"
expect_run 2 "the run after the killed one"
expect_contains "$RUN.log" 'An earlier installation into PDMDB was interrupted'
expect_contains "$RUN.trace" '\nInterrupted installation undo : <DROP TABLE PDMDICO.'
expect_contains "$RUN.trace" '\nInterrupted installation undo : <REVOKE DBADM, CONNECT, CREATETAB ON DATABASE FROM USER PDMADM>'
expect_contains "$RUN.err" "\nThe undo journal $journal: line $torn_line (25 bytes) was cut short while it was written; it is ignored"
boxes_of "$RUN.transcript" >"$RUN.boxes"
expect_contains "$RUN.boxes" "$(msg_text ZEP2DlgDBAUSER INTERRUPTEDTorn)"
expect_not_contains "$RUN.trace" 'DROP TABLESPACE PDMT>'
[ -e "$journal" ] && fail "the journal stayed after its rollback"
db_snapshot PDMDB "$WORK/after"
expect_same_db "$WORK/before" "$WORK/after" "the database after the rollback of the killed run"
finish
