# The server settings an installation writes before its database work are
# put back by its rollback: the earlier setting of each logical name as it
# was, password included. An undo of a setting that fails makes the rollback
# incomplete and is listed; the next run puts the setting back.
. "$(dirname "$0")/lib.sh"
new_site

# stored_settings: every setting as stored, password in clear.
stored_settings() {
  stored_server_settings PDMDB DB2
}

# A configuration-only run leaves settings with the administrator and its
# password (single-user mode).
response_file "$WORK/configure.rsp" db2 db2_local_database db2_existing_tablespace - <<'RSP'
[PanelTOEXE]
ChkButTOEXEStartupData = unchecked
ChkButTOEXEDBObj = unchecked
RSP
run_wizard configure "$WORK/configure.rsp"
expect_run 0 "the configuration-only run" || finish
db_snapshot PDMDB "$WORK/configured"
configured=$(stored_settings)
[ "$(echo "$configured" | grep -c ' PDMADM sandbox$')" -eq 4 ] ||
  fail "the configuration-only run left other settings: $configured"

# An installation without single-user mode writes settings without account
# first, then is cancelled: the earlier settings are back as they were.
response_file "$WORK/cancelled.rsp" db2 db2_local_database db2_existing_tablespace - <<'RSP'
[PanelTOEXE]
ChkButTOEXEStartupData = unchecked
[PanelSTATUS]
cancel-after-statements = 4
RSP
run_wizard cancelled "$WORK/cancelled.rsp" TESSAR_SINGLE_USER=off \
  TESSARDBSETUP_FAULT_LOG="$WORK/count.log"
expect_run 1 "the cancelled installation" || finish
expect_contains "$RUN.trace" '\nSINGLE USER OFF'
expect_contains "$RUN.trace" \
  '\nSt_PlayDROPDDL  DDL DML Statement : <RESTORE SERVER SETTING "TESCOMMON" OF "PDMDB" VENDOR 1 SERVER "PDMDB" AUTHENTICATION '
expect_contains "$RUN.log" '\nROLLBACK COMPLETE\n'
expect_no_secret sandbox "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err" "$RUN.out" \
  "$RUN.stderr"
db_snapshot PDMDB "$WORK/after"
expect_same_db "$WORK/configured" "$WORK/after" "the cancelled installation"
expect_lines "$(stored_settings)" "$configured" "the stored settings after the rollback"
[ -z "$(ls "$QelUserSettingPath" | grep '^TESSARUndo\.')" ] || fail "an undo journal stayed"

# The same run with the DBMS lost from the first undo of a setting on: the
# four settings are the last undone, so the son's last four calls.
calls=$(awk '$1 == "count" && $2 == "database" && $3 > max { max = $3 } END { print max + 0 }' \
  "$WORK/count.log")
run_wizard lost "$WORK/cancelled.rsp" TESSAR_SINGLE_USER=off \
  TESSARDBSETUP_FAULT_DB_CALL="$((calls - 3))+"
expect_run 5 "the rollback that cannot put the settings back" || finish
expect_contains "$RUN.err" \
  '\nUNDO FAILED: <RESTORE SERVER SETTING "ZEPPUBSUB" OF "PDMDB" VENDOR 1 SERVER "PDMDB" AUTHENTICATION '
expect_contains "$RUN.err" 'IDENTIFIED BY "***">\nSQL0901N'
expect_contains "$RUN.transcript" \
  "\"outcome\":\"installation cancelled; rollback incomplete; test fault injected: database calls from $((calls - 3)) on fail on purpose"
listed=$(sed -n '/^ROLLBACK INCOMPLETE: /,/^$/p' "$RUN.log" | grep -c '^RESTORE SERVER SETTING ')
[ "$listed" -eq 4 ] || fail "the incomplete rollback lists $listed settings, not 4"
expect_no_secret sandbox "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err" "$RUN.out" \
  "$RUN.stderr"
db_snapshot PDMDB "$WORK/lost"
cmp -s "$WORK/configured" "$WORK/lost" && fail "the settings were put back despite the faults"

response_file "$WORK/recover.rsp" db2 db2_local_database rollback_then_cancel - <<'RSP'
[PanelTOEXE]
ChkButTOEXEStartupData = unchecked
RSP
run_wizard recover "$WORK/recover.rsp"
expect_run 2 "the run after the incomplete rollback"
expect_contains "$RUN.trace" '\nInterrupted installation undo : <RESTORE SERVER SETTING "ZEPPUBSUB"'
db_snapshot PDMDB "$WORK/recovered"
expect_same_db "$WORK/configured" "$WORK/recovered" "the settings after the next run"
expect_lines "$(stored_settings)" "$configured" "the stored settings after the next run"
finish
