# Keystrokes alone, in a terminal of 120x40 and of 80x24, carry a DB2 local
# installation from the first page to the report; the instance's home is
# shown with the instance, the summary lists the deciding answers, the status
# page shows a schema and its percentage while the DDL plays, and no screen
# shows the password.
. "$(dirname "$0")/lib_private_tmp.sh"
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_tmux.sh"

for size in "120 40" "80 24"; do
  set -- $size
  tui_launch "$1" "$2" --ddl-scale 8
  tui_on "PDM Administrator" -l pdmadm Tab -l sandbox Enter Enter
  tui_on "Tasks to Perform" Enter
  tui_on "Database System" Enter
  tui_on "Dictionary Owner" Enter Enter
  # The instance shown first comes with its home before the list is opened.
  tui_on "DB2 Instance"
  tmux_expect "Instance home directory: +\\[$SITE/" \
    "the instance's home directory on first display at ${1}x$2"
  tmux_keys Enter
  tui_on "DB2 Database" Enter
  tui_on "Database Administrator" Tab -l sandbox Enter Enter
  tui_on "Tablespace" Enter
  tui_on "Summary"
  tui_summary_shows "$1x$2" 'DB2 instance: db2inst1' 'Instance home directory: /' \
    'DB2 database alias: PDM' 'Existing tablespace used: [A-Z]' 'Password: \*\*\*'
  expect_contains "$WORK/log" "Instance home directory: $SITE/home/db2inst1\n"
  expect_no_secret sandbox "$WORK/summary-$1x$2.txt"
  tmux_keys Enter
  tui_capture_mid_ddl "$WORK/status-$1x$2.txt"
  tmux_expect 'completed successfully' "the report at ${1}x$2" 180
  tmux_capture "$WORK/report-$1x$2.txt"
  tui_on "Report" Enter
  status=$(tui_exit_status)
  expect_status "${status:-99}" 0 "the DB2 installation at ${1}x$2"
  tables=$(db_query PDMDB 'print(len([o for o in db["objects"] if o["type"] == "TABLE"]))')
  [ "${tables:-0}" -gt 0 ] || fail "no table in PDMDB after the installation at ${1}x$2"
  tui_terminal_is_sane "after the DB2 installation at ${1}x$2"
  expect_no_secret sandbox "$WORK/status-$1x$2.txt" "$WORK/report-$1x$2.txt"
  tmux_capture "$WORK/end-$1x$2.txt"
  expect_contains "$WORK/end-$1x$2.txt" 'tessardbsetup: installation finished (exit status 0)'
done
finish
