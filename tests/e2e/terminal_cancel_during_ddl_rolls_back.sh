# Cancel on the status page in the middle of the DDL play of a large
# repository asks for confirmation, rolls back while the status page is
# drawn, shows the report, and leaves the database as it was before.
. "$(dirname "$0")/lib_private_tmp.sh"
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_tmux.sh"

tui_launch 120 40 --ddl-scale 40
db_snapshot PDMDB "$WORK/before"
tui_on "PDM Administrator" -l pdmadm Tab -l sandbox Enter Enter
tui_on "Tasks to Perform" Enter
tui_on "Database System" Enter
tui_on "Dictionary Owner" Enter Enter
tui_on "DB2 Instance" Space Enter Enter
tui_on "DB2 Database" Enter
tui_on "Database Administrator" Tab -l sandbox Enter Enter
tui_on "Tablespace" Enter
tui_on "Summary" Enter
tui_capture_mid_ddl "$WORK/status.txt"
grep -Eq 'Statements played [1-9][0-9]*' "$WORK/status.txt" ||
  fail "the status page does not count the statements played: $(cat "$WORK/status.txt")"
# The status page's only button, Cancel, is its default: Enter presses it.
tmux_keys Enter
tmux_expect 'Stop the installation' "the Cancel confirmation"
tmux_capture "$WORK/confirm.txt"
percent_at_cancel=$(grep -Eo '^ +[0-9]+ %$' "$WORK/confirm.txt" | tr -dc 0-9)
[ "${percent_at_cancel:-100}" -lt 100 ] || fail "the confirmation came after the DDL play"
tmux_keys Enter
tui_on "Report"
tmux_expect 'Outcome: cancelled, everything created was removed' "the report's outcome"
tmux_capture "$WORK/report.txt"
expect_contains "$WORK/report.txt" 'Done: 0 users, 0 tablespaces, '
expect_contains "$WORK/report.txt" "Log: $WORK/log"
expect_contains "$WORK/report.txt" "Error log: $WORK/err"
expect_contains "$WORK/report.txt" "Trace: $WORK/trace"
tmux_keys Enter
status=$(tui_exit_status)
expect_status "${status:-99}" 1 "the cancelled installation"
tmux_capture "$WORK/end.txt"
expect_contains "$WORK/end.txt" \
  'tessardbsetup: installation cancelled and rolled back (exit status 1); cancelled, everything'
expect_not_contains "$WORK/end.txt" 'FATAL'
expect_no_secret sandbox "$WORK/report.txt" "$WORK/end.txt"
db_snapshot PDMDB "$WORK/after"
expect_same_db "$WORK/before" "$WORK/after" "after the rollback"
expect_contains "$WORK/trace" 'CB_STATUS_Cancel CANCEL'
expect_contains "$WORK/trace" 'St_PlayDROPDDL'
tui_terminal_is_sane "after the cancelled installation"
finish
