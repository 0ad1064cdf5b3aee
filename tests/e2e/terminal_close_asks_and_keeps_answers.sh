# Esc (the page's close) ends the run at once only while nothing is
# answered; later it asks first. No keeps every answer, as the summary page
# shows; Yes ends the run with status 2 and a line saying the wizard was
# closed. The key line says what Esc does.
. "$(dirname "$0")/lib_private_tmp.sh"
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_tmux.sh"
export TESSARDBSETUP_TRANSCRIPT=$WORK/transcript

for size in "80 24" "120 40"; do
  set -- $size
  rm -f "$TESSARDBSETUP_TRANSCRIPT"

  # Nothing typed yet: nothing to lose, no question.
  tui_launch "$1" "$2"
  tui_on "PDM Administrator"
  tmux_expect 'Esc: close' "the key line says what Esc does at ${1}x$2"
  expect_not_contains <(tmux_capture) '(asks)'
  tmux_keys Escape
  status=$(tui_exit_status)
  expect_status "${status:-99}" 2 "Esc on the untouched first page at ${1}x$2"
  expect_contains <(tmux_capture) 'tessardbsetup: cancelled or closed (exit status 2)'
  expect_not_contains "$TESSARDBSETUP_TRANSCRIPT" '"event":"question"'
  expect_contains "$TESSARDBSETUP_TRANSCRIPT" '"event":"button","page":"PanelTESADM","button":"Close"}'

  rm -f "$TESSARDBSETUP_TRANSCRIPT"
  tui_launch "$1" "$2"
  tui_on "PDM Administrator" -l pdmadm Tab -l sandbox Enter Enter
  tui_on "Tasks to Perform" Enter
  tui_on "Database System" Enter
  tui_on "Dictionary Owner" Escape
  tmux_expect 'Close the wizard now\?' "the question over the owner page at ${1}x$2"
  tmux_capture "$WORK/question.txt"
  expect_contains "$WORK/question.txt" '< Yes >  < No >'
  expect_contains "$WORK/question.txt" ' Database Setup - Dictionary Owner '
  # n: the No button's letter.
  tmux_keys n
  tmux_wait_gone 'Close the wizard now' || fail "No did not close the question at ${1}x$2"
  tmux_expect 'Esc: close \(asks\)' "the key line says Esc asks once answers exist at ${1}x$2"
  grep -Eq 'Dictionary owner: +\[pdmadm +\]' <(tmux_capture) || fail "No lost the owner at ${1}x$2"
  # Esc inside the question keeps its meaning: the question goes, the page stays.
  tmux_keys Escape
  tmux_expect 'Close the wizard now\?' "the question again at ${1}x$2"
  tmux_keys Escape
  tmux_wait_gone 'Close the wizard now' || fail "Esc did not leave the question at ${1}x$2"
  tmux_keys Enter Enter
  tui_on "DB2 Instance" Space Enter
  tmux_expect 'Instance home directory: +\[/' "the instance's home directory at ${1}x$2"
  tmux_keys Enter
  tui_on "DB2 Database" Enter
  tui_on "Database Administrator" Tab -l sandbox Enter Enter
  tui_on "Tablespace" Enter
  tui_on "Summary"
  tmux_capture "$WORK/summary.txt"
  expect_contains "$WORK/summary.txt" PDMADM
  expect_contains "$WORK/summary.txt" db2inst1
  tmux_keys Escape
  tmux_expect 'Close the wizard now\?' "the question over the summary at ${1}x$2"
  tmux_keys y
  status=$(tui_exit_status)
  expect_status "${status:-99}" 2 "Yes on the summary's question at ${1}x$2"
  tmux_capture "$WORK/end.txt"
  # The son's close is told by the father, which ends the run.
  expect_contains "$WORK/end.txt" 'tessardbsetup: cancelled or closed'
  expect_contains "$WORK/end.txt" '(exit status 2)'
  expect_contains "$TESSARDBSETUP_TRANSCRIPT" \
    '"event":"question","page":"PanelTESDICO","question":"close","answer":"No"}'
  expect_contains "$TESSARDBSETUP_TRANSCRIPT" \
    '"event":"question","page":"PanelSUM","question":"close","answer":"Yes"}'
  expect_contains "$TESSARDBSETUP_TRANSCRIPT" '"event":"button","page":"PanelSUM","button":"Close"}'
  expect_contains "$TESSARDBSETUP_TRANSCRIPT" '"event":"exit","status":2'
  closes=$(grep -c '"button":"Close"' "$TESSARDBSETUP_TRANSCRIPT")
  [ "$closes" -eq 1 ] || fail "the run was closed $closes times at ${1}x$2: No must close nothing"
  tui_terminal_is_sane "after closing at ${1}x$2"
  expect_no_secret sandbox "$TESSARDBSETUP_TRANSCRIPT" "$WORK/summary.txt" "$WORK/end.txt"
done
finish
