# Ctrl-C in the terminal reaches both processes: on the first process's page
# and on the son's page it is a confirmed Cancel (status 2, nothing created,
# no answers left); in the middle of the DDL play, even pressed twice, the
# installation is rolled back to its end. The terminal works afterwards.
. "$(dirname "$0")/lib_private_tmp.sh"
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_tmux.sh"

no_answers_left() {
  local left
  left=$(ls -A "$QelUserSettingPath" 2>/dev/null | grep '^TESSARInst\.')
  [ -z "$left" ] || fail "$1: settings files left: $left"
}

tui_launch 80 24
tui_on "PDM Administrator" -l pdmadm
tmux_keys C-c
expect_status "$(tui_exit_status || echo 99)" 2 "Ctrl-C on the first page"
tui_terminal_is_sane "after Ctrl-C on the first page"
no_answers_left "the first page"

tui_launch 80 24 --ddl-scale 40
db_snapshot PDMDB "$WORK/before"
tui_on "PDM Administrator" -l pdmadm Tab -l sandbox Enter Enter
tui_on "Tasks to Perform" Enter
tui_on "Database System" Enter
tui_on "Dictionary Owner" Enter Enter
tui_on "DB2 Instance" Space Enter Enter
tui_on "DB2 Database"
tmux_keys C-c
expect_status "$(tui_exit_status || echo 99)" 2 "Ctrl-C on the son's first page"
tui_terminal_is_sane "after Ctrl-C on the son's page"
no_answers_left "the son's page"
expect_contains "$WORK/trace" 'SIGINT received: the run is cancelled'
expect_contains "$WORK/trace" 'hand CLOSE or CANCEL code! (2)'
db_snapshot PDMDB "$WORK/after-page"
expect_same_db "$WORK/before" "$WORK/after-page" "Ctrl-C on the son's page"

# In the middle of the DDL play: no box, the rollback runs to its end (a
# second Ctrl-C is told to wait) and the run ends by itself.
rm -f "$WORK/trace"
tmux_run "clear; tessardbsetup -logtrace $WORK/trace -logout $WORK/log -logerr $WORK/err; echo wizard-exit=\$?"
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
tmux_keys C-c
tmux_keys C-c
expect_status "$(tui_exit_status || echo 99)" 1 "Ctrl-C twice during the DDL play"
tui_terminal_is_sane "after Ctrl-C during the installation"
no_answers_left "the installation"
expect_contains "$WORK/trace" 'SIGINT received: the installation is cancelled and rolled back'
expect_contains "$WORK/trace" 'St_PlayDROPDDL'
expect_not_contains "$WORK/trace" 'CB_STATUS_Cancel CANCEL'
db_snapshot PDMDB "$WORK/after-ddl"
expect_same_db "$WORK/before" "$WORK/after-ddl" "Ctrl-C during the DDL play"
finish
