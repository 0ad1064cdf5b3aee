# An undo the DBMS refuses does not stop the rollback and is never reported as
# a rollback: the son ends "rollback incomplete", the error log has the DBMS's
# message, the report page lists what is left, and the undo journal keeps
# exactly that. The next run offers to remove it and leaves the database as it
# was before the first run.
. "$(dirname "$0")/lib.sh"
new_site
awk '{ print } /;$/ && ++n == 3 { print ""; print "CREATE TABLE $(SCHEMA).BROKEN (;" }' \
  "$QelReffilesPath/DBMS/ddl/PEOPLE.sql" >"$WORK/PEOPLE.sql" &&
  mv "$WORK/PEOPLE.sql" "$QelReffilesPath/DBMS/ddl/PEOPLE.sql"
response_file "$WORK/install.rsp" oracle oracle_new_tablespace
mkdir -p "$TESSARDBSETUP_SANDBOX/tablespaces"
db_snapshot PDMORA "$WORK/before"

# How many database calls the failed installation makes: its last six are the
# drop of the tablespace it created first, the commit, and the removal of the
# four server settings it had written before.
run_wizard count "$WORK/install.rsp" TESSARDBSETUP_FAULT_LOG="$WORK/count.log"
expect_run 1 "the installation with a refused statement" || finish
calls=$(awk '$1 == "count" && $2 == "database" && $3 > max { max = $3 } END { print max }' \
  "$WORK/count.log")
expect_contains "$RUN.trace" 'St_PlayDROPDDL  DDL DML Statement : <DROP TABLESPACE "PDMTBS" INCLUDING CONTENTS>'

# From that drop on, the DBMS refuses everything.
run_wizard refused "$WORK/install.rsp" TESSARDBSETUP_FAULT_DB_CALL="$((calls - 5))+"
expect_run 5 "an installation whose rollback cannot drop its tablespace"
mapfile -t pids < <(pids_of "$RUN.transcript")
expect_contains "$RUN.stderr" \
  "installation failed; rollback incomplete; test fault injected: database calls from $((calls - 5)) on fail on purpose (TESSARDBSETUP_FAULT_DB_CALL=$((calls - 5))+, process ${pids[1]:-0}) (exit status 5)"

# The fault that lost the DBMS is a test switch's: the outcome says so.
expect_contains "$RUN.transcript" "{\"pid\":${pids[1]:-0},\"event\":\"exit\",\"status\":5,\"outcome\":\"installation failed; rollback incomplete; test fault injected: database calls from $((calls - 5)) on fail on purpose"
expect_contains "$RUN.err" '\nUNDO FAILED: <DROP TABLESPACE "PDMTBS" INCLUDING CONTENTS>\nORA-00600: internal error code'
expect_contains "$RUN.err" '\nUNDO FAILED: <REMOVE SERVER SETTING "TESCOMMON" OF "PDMORA" VENDOR 2>\nORA-00600: internal error code'
expect_contains "$RUN.err" '\nROLLBACK INCOMPLETE: The installation failed and its rollback is incomplete: 5 statement(s)'
settings=$(for name in TESCOMMON ZEPADMIN ZEPPEOPLE ZEPPUBSUB; do
  echo "REMOVE SERVER SETTING \"$name\" OF \"PDMORA\" VENDOR 2"
done)
expect_contains "$RUN.log" 'kept in '"$QelUserSettingPath"'/TESSARUndo.ORACLE.PDMORA.journal for the next run or a database administrator:\n'"$settings"'\nDROP TABLESPACE "PDMTBS" INCLUDING CONTENTS\n'
expect_not_contains "$RUN.log" 'ROLLBACK COMPLETE'
# The report page (its text in the log) and the last line never say it was
# rolled back: they name what is left.
left=$(for name in TESCOMMON ZEPADMIN ZEPPEOPLE ZEPPUBSUB; do
  printf 'REMOVE SERVER SETTING "%s" OF "PDMORA" VENDOR 2; ' "$name"
done)'DROP TABLESPACE "PDMTBS" INCLUDING CONTENTS'
outcome="failed at statement 4 of PEOPLE.sql (modeler PEOPLE): ORA-00"
expect_contains "$RUN.log" "\nOutcome: $outcome"
expect_contains "$RUN.log" ", rollback incomplete: $left\nDone: "
expect_contains "$RUN.log" "\nLog: $RUN.log\nError log: $RUN.err\nTrace: $RUN.trace\n"
expect_contains "$RUN.stderr" "(exit status 5); $outcome"
expect_contains "$RUN.stderr" ", rollback incomplete: $left; "
expect_outcome_line 5 "installation failed; rollback incomplete; * created; * statements played, * undone, in * s; *" "an incomplete rollback"
expect_not_contains "$RUN.stderr" 'removed'
journal=$QelUserSettingPath/TESSARUndo.ORACLE.PDMORA.journal
[ "$(stat -c %a "$journal" 2>/dev/null)" = 600 ] || fail "the journal is not owner-only: $(ls -l "$journal")"
expect_lines "$(grep '^undo=' "$journal")" \
  "$(echo "$settings" | sed 's/^/undo=/'; echo 'undo=DROP TABLESPACE "PDMTBS" INCLUDING CONTENTS')" \
  "the statements the journal keeps"
db_snapshot PDMORA "$WORK/left"
expect_lines "$(diff "$WORK/before" "$WORK/left" | grep '^[<>]' | sed 's/"containers".*/"containers"/')" \
  "$(echo '> tablespaces {"builtin": "no", "containers"'
    for name in TESCOMMON ZEPADMIN ZEPPEOPLE ZEPPUBSUB; do
      echo "> server_settings {\"authentication\": \"1\", \"name\": \"$name\", \"password\": \"***\", \"server\": \"PDMORA\", \"user\": \"PDMADM\", \"vendor\": \"2\"}"
    done)" "what the rollback left"
expect_no_secret dicopass "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err" "$journal"

# The next run, once connected as the administrator, offers the rollback.
response_file "$WORK/recover.rsp" oracle rollback_then_cancel
run_wizard recover "$WORK/recover.rsp"
expect_run 2 "the run that removes what was left"
boxes_of "$RUN.transcript" | grep '^ZEP2YesNoInCallBack|' >"$RUN.boxes"
expect_lines "$(cut -d'|' -f2,4 "$RUN.boxes")" "$(msg_text ZEP2DlgDBAUSER INTERRUPTEDWndTitle)|Yes" \
  "the offer to roll back"
grep -q 'was interrupted before it finished' "$RUN.boxes" || fail "the offer says $(cat "$RUN.boxes")"
expect_contains "$RUN.trace" '\nInterrupted installation undo : <DROP TABLESPACE "PDMTBS" INCLUDING CONTENTS>'
expect_contains "$RUN.trace" '\nInterrupted installation undo : <REMOVE SERVER SETTING "TESCOMMON" OF "PDMORA" VENDOR 2>'
expect_contains "$RUN.log" "$(msg_text ZEP2DlgDBAUSER INTERRUPTEDRolledBack)"
[ -e "$journal" ] && fail "the journal stayed after its rollback"
[ -z "$(ls -A "$TESSARDBSETUP_SANDBOX/tablespaces")" ] || fail "the data file stayed"
db_snapshot PDMORA "$WORK/after"
expect_same_db "$WORK/before" "$WORK/after" "the database after the second run"
finish
