# "Check only" ticked on the summary page, at the keyboard: the report page
# says the installation is ready, the run ends with status 0 and one line
# that says it was a check, and the site and its databases are as they were.
. "$(dirname "$0")/lib_private_tmp.sh"
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_tmux.sh"
. "$(dirname "$0")/lib_validate.sh"

tui_site
. "$SITE/env.sh"
site_state "$WORK/before"
TUI_KEEP_SITE=1 tui_launch 80 24
tui_on "PDM Administrator" -l pdmadm Tab -l sandbox Enter Enter
tui_on "Tasks to Perform" Enter
tui_on "Database System" Enter
tui_on "Dictionary Owner" Enter Enter
tui_on "DB2 Instance" Enter
tui_on "DB2 Database" Enter
tui_on "Database Administrator" Tab -l sandbox Enter Enter
tui_on "Tablespace" Enter
tui_on "Summary"
tmux_expect '\[ \] Check only' "the summary offers the check"
tmux_keys Tab Space
tmux_expect '\[x\] Check only' "the check ticked"
tmux_keys Enter
tmux_expect 'Check only: the installation is ready to run' "the report of the check" 120
tmux_capture "$WORK/report.txt"
expect_contains "$WORK/report.txt" 'Nothing was created or changed'
expect_not_contains "$WORK/report.txt" 'completed successfully'
tui_on "Report" Enter
status=$(tui_exit_status)
expect_status "${status:-99}" 0 "the check at the keyboard"
tmux_capture "$WORK/end.txt"
expect_contains "$WORK/end.txt" 'tessardbsetup: ready to install (exit status 0); check only: ready'
[ "$(grep -c '^tessardbsetup: ' "$WORK/end.txt")" -eq 1 ] || fail "the run ended with more than one line"
site_state "$WORK/after"
expect_same_state "$WORK/before" "$WORK/after" "the check at the keyboard"
tui_terminal_is_sane "after the check"
expect_no_secret sandbox "$WORK/report.txt" "$WORK/end.txt" "$WORK/log" "$WORK/trace"
finish
