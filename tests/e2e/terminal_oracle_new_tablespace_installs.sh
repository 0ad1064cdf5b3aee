# Keystrokes alone, at 80x24 and at 120x40, carry an Oracle installation with
# a new tablespace: radio buttons, a trailing slash stripped once the field
# is left, the upper-cased tablespace name, the user-creation questions
# answered over the live status page, and the report.
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
  tui_on "Oracle Service Name" -l PDMORA Enter Enter Enter
  tui_on "Database Administrator" Tab -l sandbox Enter Enter
  tui_on "Tablespace" Enter
  tui_on "New Tablespace" C-u -l pdmtbs Tab C-u -l "$SITE/tablespaces" Enter
  tmux_expect 'Tablespace name: +\[PDMTBS +\]' "the upper-cased tablespace name at ${1}x$2"
  tmux_keys Enter
  tui_on "Summary" Enter
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
