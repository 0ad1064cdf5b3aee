# One terminal, two processes: Back on the son's first page gives the
# terminal back to the father's page, and Next starts a new son. Whatever
# ends the run (SIGKILL of the son, SIGTERM to the father on its page or
# while the son runs, which cancels the run), the shell gets back a terminal
# that echoes and reads lines.
. "$(dirname "$0")/lib_private_tmp.sh"
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_tmux.sh"

# father_pid / son_pid: the wizard's processes under the pane's shell.
father_pid() {
  pgrep -P "$(tmux_ display-message -p -t "$TMUX_PANE" '#{pane_pid}')" -x tessardbsetup
}
son_pid() {
  local script
  script=$(pgrep -P "$(father_pid)" | head -n 1)
  [ -n "$script" ] && pgrep -P "$script" -x WQ0INST
}

to_the_son() {
  tui_on "PDM Administrator" -l pdmadm Tab -l sandbox Enter Enter
  tui_on "Tasks to Perform" Enter
  tui_on "Database System" Enter
  tui_on "Dictionary Owner" Enter Enter
  tui_on "DB2 Instance" Space Enter Enter
  tui_on "DB2 Database"
}

# --- Back from the son, then a new son, then SIGKILL of that son ---------------
tui_launch 80 24
to_the_son
first_son=$(son_pid)
[ -n "$first_son" ] || fail "no son process behind the DB2 Database page"
# Tab from the alias list over the directory to Back.
tmux_keys Tab Tab
tmux_expect '^ +<\[Next\]>|< Back >' "the button row"
tmux_keys Enter
tui_on "DB2 Instance"
tmux_capture "$WORK/father-again.txt"
grep -Eq 'DB2 instance: +\[db2inst1' "$WORK/father-again.txt" ||
  fail "the father's page lost its answer after Back"
kill -0 "$first_son" 2>/dev/null && fail "the first son still runs after Back"
# The father reads the keys again: Enter is its Next, and a new son starts.
tmux_keys Enter
tui_on "DB2 Database"
second_son=$(son_pid)
[ -n "$second_son" ] && [ "$second_son" != "$first_son" ] || fail "no new son after the second Next"
expect_contains "$WORK/trace" 'hand BACK code!'
kill -KILL "$second_son"
status=$(tui_exit_status)
expect_status "${status:-99}" 1 "the father of a killed son"
tui_terminal_is_sane "after SIGKILL of the son"

# --- SIGTERM to the father on its own page -----------------------------------
tui_launch 80 24
tui_on "PDM Administrator" -l pdmadm
kill -TERM "$(father_pid)"
status=$(tui_exit_status)
expect_status "${status:-99}" 2 "the father cancelled by SIGTERM"
tui_terminal_is_sane "after SIGTERM to the father on its page"

# --- SIGTERM to the father while the son owns the terminal --------------------
tui_launch 80 24
to_the_son
son=$(son_pid)
kill -TERM "$(father_pid)"
status=$(tui_exit_status)
expect_status "${status:-99}" 2 "the father cancelled by SIGTERM while its son ran"
tui_terminal_is_sane "after SIGTERM to the father while the son ran"
deadline=$((SECONDS + 60))
while kill -0 "$son" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
kill -0 "$son" 2>/dev/null && fail "the son outlived its father's SIGTERM"
finish
