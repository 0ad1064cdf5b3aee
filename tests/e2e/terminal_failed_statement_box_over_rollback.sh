# A statement the DBMS refuses in the middle of the DDL play brings the error
# box over the status page without stopping the work behind it: the rollback
# runs and the report page comes up under the box, which Enter then closes.
# The database is as it was before.
. "$(dirname "$0")/lib_private_tmp.sh"
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_tmux.sh"

tui_launch 100 30
db_snapshot PDMDB "$WORK/before"
# The repository is read once the pages are answered: broken in time.
people=$QelReffilesPath/DBMS/ddl/PEOPLE.clp
awk '{ print } /;$/ && ++n == 3 { print ""; print "CREATE TABLE $(SCHEMA).BROKEN (;" }' "$people" \
  >"$people.new" && mv "$people.new" "$people"
tui_on "PDM Administrator" -l pdmadm Tab -l sandbox Enter Enter
tui_on "Tasks to Perform" Enter
tui_on "Database System" Enter
tui_on "Dictionary Owner" Enter Enter
tui_on "DB2 Instance" Space Enter Enter
tui_on "DB2 Database" Enter
tui_on "Database Administrator" Tab -l sandbox Enter Enter
tui_on "Tablespace" Enter
tui_on "Summary" Enter
tmux_expect 'SQL0104N' "the DBMS's message in the error box"
# Nobody answers the box, yet the rollback ends and the report comes up
# behind it.
tmux_expect '^ Database Setup - Report ' "the report page behind the unanswered box" 120
tmux_capture "$WORK/box-over-report.txt"
expect_contains "$WORK/box-over-report.txt" '< OK >'
expect_contains "$WORK/trace" 'St_PlayDROPDDL'
tmux_keys Enter
tmux_wait_gone '< OK >' || fail "Enter did not close the idle-step box"
tui_on "Report" Enter
status=$(tui_exit_status)
expect_status "${status:-99}" 1 "the installation with a refused statement"
db_snapshot PDMDB "$WORK/after"
expect_same_db "$WORK/before" "$WORK/after" "after the rollback behind the box"
tui_terminal_is_sane "after the failed installation"
finish
