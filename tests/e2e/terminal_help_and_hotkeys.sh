# F1 shows the page's help in a box that Esc or Enter closes, back to the
# page with its answers; the buttons carry underlined letters that press
# them (with Alt in a field, alone elsewhere), and keys typed while the
# terminal is too small act once it is large enough.
. "$(dirname "$0")/lib_private_tmp.sh"
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_tmux.sh"
export TESSARDBSETUP_TRANSCRIPT=$WORK/transcript

tui_launch 120 40
tui_on "PDM Administrator" -l pdmadm
tmux_expect 'F1: help' "the key line names F1"
tmux_keys F1
tmux_expect 'Help: Database Setup - PDM Administrator' "the help box"
tmux_capture "$WORK/help.txt"
expect_contains "$WORK/help.txt" 'Checked on Next'
grep -qw root "$WORK/help.txt" || fail "the help does not say root is refused"
expect_contains "$WORK/help.txt" '< OK >'
tmux_keys Escape
tmux_wait_gone 'Help: Database Setup' || fail "Esc did not close the help"
tmux_capture "$WORK/page.txt"
grep -Eq 'Administrator account: +\[pdmadm +\]' "$WORK/page.txt" || fail "the help lost the account"
expect_contains "$WORK/page.txt" '< Help >'
# The letters are underlined: N of Next, B of Back (greyed out here: none).
tmux_ capture-pane -e -p -t "$TMUX_PANE" >"$WORK/attributes.txt"
grep -q $'\e\\[[0-9;]*4[0-9;]*mN' "$WORK/attributes.txt" || fail "the N of Next is not underlined"
grep -q $'\e\\[[0-9;]*4[0-9;]*mH' "$WORK/attributes.txt" || fail "the H of Help is not underlined"

# Alt+H in a field is Help too; Enter closes it.
tmux_keys M-h
tmux_expect 'Help: Database Setup - PDM Administrator' "Alt+H"
tmux_keys Enter
tmux_wait_gone 'Help: Database Setup' || fail "Enter did not close the help"
tmux_keys Tab
tmux_type sandbox
tmux_keys M-n
tui_on "Tasks to Perform"
# On a check button a letter alone presses its button: b goes back.
tmux_keys b
tui_on "PDM Administrator"
grep -Eq 'Password: +\[\*{7} +\]' <(tmux_capture) || fail "Back lost the password"
expect_contains "$TESSARDBSETUP_TRANSCRIPT" '"event":"help","page":"PanelTESADM"}'
expect_contains "$TESSARDBSETUP_TRANSCRIPT" '"event":"button","page":"PanelTOEXE","button":"Back"}'

# Too small: the keys wait and act once the terminal is large enough.
tmux_keys M-n
tui_on "Tasks to Perform"
tmux_resize 60 20
tmux_expect 'please enlarge it' "the too-small notice"
tmux_keys M-n
tmux_expect '1 keys typed' "the notice counts the key held"
tmux_resize 120 40
tui_on "Database System"
tmux_keys Escape
tmux_expect 'Close the wizard now\?' "the close question"
tmux_keys y
status=$(tui_exit_status)
expect_status "${status:-99}" 2 "closing after the help"
finish
