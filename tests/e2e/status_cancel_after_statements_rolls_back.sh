# [PanelSTATUS] cancel-after-statements = N presses the status page's Cancel once
# N statements have been played: the confirmation is asked, everything the run
# created is undone, the son ends with 3 and the father with 1.
. "$(dirname "$0")/lib.sh"

# cancelled TAG FILE DATABASE N: the run was cancelled after N statements and
# DATABASE is back as it was.
cancelled() {
  local tag=$1 answers=$2 database=$3 count=$4
  db_snapshot "$database" "$WORK/$tag-before"
  run_wizard "$tag" "$answers"
  expect_run 1 "$tag: Cancel after $count statements" || return
  mapfile -t pids < <(pids_of "$RUN.transcript")
  local father=${pids[0]:-none} son=${pids[1]:-none}
  expect_contains "$RUN.transcript" \
    "{\"pid\":$son,\"event\":\"button\",\"page\":\"PanelSTATUS\",\"button\":\"Cancel\",\"statements\":$count}"
  expect_contains "$RUN.transcript" "{\"pid\":$son,\"event\":\"box\",\"class\":\"ZEP2CancelInCallBack\","
  expect_contains "$RUN.transcript" "{\"pid\":$son,\"event\":\"exit\",\"status\":3,"
  [[ $(tail -n 1 "$RUN.transcript") == "{\"pid\":$father,\"event\":\"exit\",\"status\":1,"* ]] ||
    fail "$tag: the father did not end last with 1: $(tail -n 1 "$RUN.transcript")"
  # Every statement played is traced just before it runs: exactly N came
  # before the press.
  local played
  played=$(awk '/^CB_STATUS_Cancel CANCEL$/ { exit } { print }' "$RUN.trace" |
    grep -cE '[Ss]tatement *: *<')
  [ "$played" -eq "$count" ] || fail "$tag: $played statements played before Cancel, not $count"
  expect_contains "$RUN.trace" '\nCB_STATUS_Cancel CANCEL\n'
  expect_contains "$RUN.trace" '\nTESSAR DB SETUP FAILED!\n'
  expect_not_contains "$RUN.trace" '\nINSTALLATION ENDED\n'
  [ -z "$(ls -A "$QelUserSettingPath" | grep '^TESSARInst\.')" ] || fail "$tag: settings file left"
  db_snapshot "$database" "$WORK/$tag-after"
  expect_same_db "$WORK/$tag-before" "$WORK/$tag-after" "$tag: an installation cancelled"
  # A cancel, not a failure: said so with what had been done, on the report
  # page (its text in the log) and in the last line.
  local outcome="cancelled, everything created was removed; * created and removed; $count statement* played, * undone, in * s"
  expect_outcome_line 1 "installation cancelled and rolled back (exit status 1); $outcome; log *" "$tag"
  expect_contains "$RUN.transcript" "{\"pid\":$son,\"event\":\"exit\",\"status\":3,\"outcome\":\"installation cancelled and rolled back\"}"
  expect_contains "$RUN.log" "\n$(msg_text ZEP2DlgREPORT Abort)\n\nOutcome: cancelled, everything created was removed\nDone: "
  expect_contains "$RUN.log" "\nLog: $RUN.log\nError log: $RUN.err\nTrace: $RUN.trace\n"
  expect_not_contains "$RUN.stderr" 'FATAL'
  expect_not_contains "$RUN.stderr" 'first error'
}

# db2_answers COUNT OUT: Cancel on the status page after COUNT statements.
db2_answers() {
  response_file "$2" db2 db2_local_database db2_existing_tablespace - <<RSP
[PanelSTATUS]
cancel-after-statements = $1
RSP
}

# --- DB2: the grant and the first modeler's first statements, then Cancel.
new_site db2
db2_answers 4 "$WORK/db2.rsp"
cancelled db2 "$WORK/db2.rsp" PDMDB 4
grep -q '^St_PlayDROPDDL Begin' "$RUN.trace" || fail "db2: no statement was undone"

# --- Oracle, new tablespace: Cancel before any statement, then after the
# tablespace, the users and some of their alterations.
new_site oracle
# oracle_answers COUNT OUT: the same on Oracle.
oracle_answers() {
  response_file "$2" oracle oracle_new_tablespace - <<RSP
[ZEP2YesNoInCallBack]
answers = Yes
[PanelSTATUS]
cancel-after-statements = $1
RSP
}
for count in 0 12; do
  oracle_answers "$count" "$WORK/oracle-$count.rsp"
  cancelled "oracle-$count" "$WORK/oracle-$count.rsp" PDMORA "$count"
  [ -z "$(ls -A "$TESSARDBSETUP_SANDBOX/tablespaces")" ] ||
    fail "oracle-$count: a data file is left: $(ls -A "$TESSARDBSETUP_SANDBOX/tablespaces")"
  expect_no_secret dicopass "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err" "$RUN.stderr"
done
expect_contains "$RUN.trace" '\nCreate tablespace statement: <CREATE TABLESPACE "PDMTBS"'

# --- An installation that stops by itself before the count (no project file
# for the start-up data) is cancelled and rolled back all the same, with a
# word on how far it got.
new_site stalled
rm "$QelDictionaryPath/ZEPAdmin.adm"
# stalled TAG STATUS: the last run's stalled installation was cancelled and
# undone, and the run ended with STATUS.
stalled() {
  expect_run "$2" "$1: a stalled installation" || return
  expect_contains "$RUN.transcript" '"event":"button","page":"PanelSTATUS","button":"Cancel"}'
  grep -q '^St_PlayDROPDDL Begin' "$RUN.trace" || fail "$1: no statement was undone"
  db_snapshot PDMDB "$WORK/$1-after"
  expect_same_db "$WORK/stalled-before" "$WORK/$1-after" "$1: a stalled installation"
}
db_snapshot PDMDB "$WORK/stalled-before"
db2_answers 999999999 "$WORK/stalled.rsp"
run_wizard stalled "$WORK/stalled.rsp"
stalled stalled 1
expect_contains "$RUN.stderr" "tessardbsetup: PanelSTATUS stalled with nothing left to do after "
expect_contains "$RUN.stderr" " of the 999999999 statements to Cancel after: cancelled\n"

# A report-page button asked for that cannot be pressed goes through the
# status page's Cancel too, and ends the son with 2 once the rollback is done.
db2_answers 999999999 "$WORK/report.rsp"
printf '[PanelREPORT]\nbutton = Back\n' >>"$WORK/report.rsp"
run_wizard report "$WORK/report.rsp"
stalled report 2
message="$WORK/report.rsp:19: PanelREPORT: the button Back cannot be pressed (greyed out, or not on this page)"
expect_lines "$(told_before_outcome "$RUN.stderr")" "tessardbsetup: $message
tessardbsetup: $message" "report: stderr"
expect_contains "$RUN.transcript" "\"event\":\"exit\",\"status\":2,\"outcome\":\"stopped: $message\"}"

# --- A count the installation never reaches: it finishes, nothing pressed.
new_site complete
db2_answers 999999999 "$WORK/complete.rsp"
run_wizard complete "$WORK/complete.rsp"
expect_run 0 "Cancel after more statements than the installation has"
expect_not_contains "$RUN.transcript" '"button":"Cancel"'
expect_contains "$RUN.trace" '\nINSTALLATION ENDED\n'
expect_outcome_line 0 'installation finished (exit status 0); completed; 0 users, 0 tablespaces, [1-9]* objects created; [1-9]* statements played, in * s; log *' "complete"
expect_contains "$RUN.log" "\n$(msg_text ZEP2DlgREPORT Successfull)\n\nOutcome: completed\nDone: 0 users, 0 tablespaces, "
finish
