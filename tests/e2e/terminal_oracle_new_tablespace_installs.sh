# Keystrokes alone, at 80x24 and at 120x40, carry an Oracle installation with
# a new tablespace: radio buttons, a trailing slash stripped once the field
# is left, an unknown service refused on its own page, the DBA password kept
# over a Back to the first part, the free space of the proposed data file
# directory, the upper-cased tablespace name, a summary of every deciding
# answer, the user-creation questions answered over the live status page,
# and the report.
. "$(dirname "$0")/lib_private_tmp.sh"
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_tmux.sh"

for size in "80 24" "120 40"; do
  set -- $size
  tui_launch "$1" "$2" --ddl-scale 8
  tui_on "PDM Administrator" -l pdmadm Tab -l sandbox Enter Enter
  tui_on "Tasks to Perform" Enter
  tui_on "Database System" Down Space Enter
  tui_on "Dictionary Owner" C-u -l pdmdico Tab C-u -l dicopass Enter Enter
  tui_on "Oracle Database Location" Enter
  tui_on "Oracle Home" -l "$SITE/oracle//" Enter
  tmux_expect "Oracle home: +\[$SITE/oracle +\]" "the Oracle home without its slashes at ${1}x$2"
  tmux_keys Enter
  # A service no client resolves is refused on its own page, by its name.
  tui_on "Oracle Service Name" -l PDMWRONG Enter Enter Enter
  tmux_expect '"PDMWRONG" cannot be resolved' "the unknown service refused at ${1}x$2"
  tmux_capture "$WORK/service-box-$1x$2.txt"
  expect_contains "$WORK/service-box-$1x$2.txt" ' Database Setup - Oracle Service Name '
  expect_not_contains "$WORK/service-box-$1x$2.txt" 'account'
  tmux_keys Enter
  tmux_wait_gone '< OK >' || fail "Enter did not close the service box at ${1}x$2"
  tmux_keys BTab BTab C-u
  tmux_type PDMORA
  tmux_keys Enter Enter Enter
  # Back to the first part and on again: the administrator's password stays.
  tui_on "Database Administrator" Tab -l sandbox Tab Enter
  tui_on "Oracle Service Name" Enter Enter Enter
  tui_on "Database Administrator"
  tmux_expect 'Password: +\[\*{7} +\]' "the DBA password kept over Back at ${1}x$2"
  tmux_keys Tab Enter Enter
  tui_on "Tablespace" Enter
  # The proposed directory is the database's own, measured at once.
  tui_on "New Tablespace"
  tmux_expect 'Available space : +[0-9]+ KB\.' "a number for the available space at ${1}x$2"
  tmux_expect "Data file directory: +\\[$SITE/" "the database's data file directory at ${1}x$2"
  expect_not_contains "$WORK/trace" 'u01/oradata/VXXX'
  tmux_keys C-u
  tmux_type pdmtbs
  tmux_keys Tab C-u
  tmux_type "$SITE/tablespaces"
  tmux_keys Enter
  tmux_expect 'Tablespace name: +\[PDMTBS +\]' "the upper-cased tablespace name at ${1}x$2"
  tmux_keys Enter
  tui_on "Summary"
  tui_summary_shows "$1x$2" 'Oracle home: /' 'New tablespace to create: PDMTBS' \
    'Its data file directory: /' 'Password: \*\*\*' 'Oracle net service name: PDMORA'
  expect_no_secret sandbox "$WORK/summary-$1x$2.txt"
  expect_no_secret dicopass "$WORK/summary-$1x$2.txt"
  # The page cuts long paths at its width; the log keeps the lines whole.
  expect_contains "$WORK/log" "Oracle home: $SITE/oracle\n"
  expect_contains "$WORK/log" "Its data file directory: $SITE/tablespaces\n"
  tmux_keys Enter
  tui_capture_mid_ddl "$WORK/status-$1x$2.txt"
  tui_answer_boxes_until "Report"
  tmux_expect 'completed successfully' "the report at ${1}x$2" 180
  tmux_keys Enter
  status=$(tui_exit_status)
  expect_status "${status:-99}" 0 "the Oracle installation at ${1}x$2"
  placement=$(db_query PDMORA '
print(sorted({(o["schema"], o["tablespace"]) for o in db["objects"] if o["type"] == "TABLE"}))')
  [ "$placement" = "[('PDMDICO', 'PDMTBS')]" ] ||
    fail "Oracle tables at ${1}x$2 are in $placement, not PDMDICO/PDMTBS"
  tui_terminal_is_sane "after the Oracle installation at ${1}x$2"
  expect_no_secret dicopass "$WORK/status-$1x$2.txt"
done
finish
