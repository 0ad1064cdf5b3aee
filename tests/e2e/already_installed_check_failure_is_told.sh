# When the check for an earlier installation cannot reach the database (its
# connection refused, its catalogue query failing), the administrator is told
# with the DBMS's message and nothing is installed: the failure is not taken
# for a database without the schema.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_stop.sh"
new_site

response_file "$WORK/db2.rsp" db2 db2_local_database db2_existing_tablespace
db_snapshot PDMDB "$WORK/before"
title=$(msg_text ZEP2DlgREPORT ERRMSGWndTitleALLRINSTCHK)
text=$(msg_text ZEP2DlgREPORT ERRMSGTextToDisplayForALLRINSTCHK)

# told LABEL MESSAGE: the run ended with the check's box showing MESSAGE,
# installed nothing and left the database as it was.
told() {
  local label=$1 message=$2
  expect_run 1 "$label" || return
  expect_contains "$RUN.err" '\nFATAL Error in Installation Second Process\n'
  local boxes
  boxes=$(boxes_of "$RUN.transcript")
  expect_lines "$(echo "$boxes" | cut -d'|' -f1,2,4)" "ZEP2ErrInSubsIdle|$title|OK" \
    "$label: the boxes"
  # The box wraps the DBMS's message: its code is enough there.
  [[ $boxes == *"|$text"*"${message:0:9}"*"|OK" ]] || fail "$label: the box does not tell: $boxes"
  expect_contains "$RUN.err" "$message"
  expect_lines "$(steps_of "$RUN.trace" | sed -n '/^St_GenEnvFiles$/,$p')" \
    "$(printf 'St_GenEnvFiles\nSt_ChkDBAlreadyInstall\nSt_AbortInst\nSt_PlayDROPDDL\nSt_AbortInst')" \
    "$label: the steps"
  expect_not_contains "$RUN.trace" '\nRCIsModelerAlreadyInstalled: 0'
  expect_contains "$RUN.log" '\nROLLBACK COMPLETE\n'
  [ -z "$(ls -A "$QelUserSettingPath" | grep '^TESSARInst\.')" ] || fail "$label: settings file left"
  [ -z "$(ls -A "$QelUserSettingPath" | grep '^TESSARUndo\.')" ] || fail "$label: journal left"
  db_snapshot PDMDB "$WORK/after"
  expect_same_db "$WORK/before" "$WORK/after" "$label"
}

# The DBA's account is locked while the son stands at the check: its
# connection is refused (the one opened earlier stays and rolls back).
shadow=$TESSARDBSETUP_SANDBOX/etc/shadow
start_stopping_run refused "$WORK/db2.rsp" 'St_ChkDBAlreadyInstall Begin' || finish
cp "$shadow" "$WORK/shadow"
sed -i 's/^\(db2inst1\):[^:]*:/\1:!:/' "$shadow"
kill -CONT "$stopped"
end_run
cp "$WORK/shadow" "$shadow"
refusal=$(grep -o 'SQL30082N[^"]*' "$RUN.err" | head -n 1)
[ -n "$refusal" ] || fail "the refused connection's message is not in the error log"
told "a refused connection" "${refusal:-SQL30082N}"

# The check's catalogue query fails: the second database call from the check
# on (the first opens its connection).
run_wizard query "$WORK/db2.rsp" TESSARDBSETUP_FAULT_DB_CALL=$((calls + 2))
told "a failed catalogue query" "SQL0901N  The SQL statement or command failed because of a database system error. (Reason \"injected fault: database call $((calls + 2))\".)"
finish
