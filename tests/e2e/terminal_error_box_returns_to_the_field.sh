# After an error box the focus is back in the field the box is about: what
# is typed next lands there (a refused password is typed afresh, a refused
# directory is replaced) and Enter goes on with it. Typing where no field
# takes it is said on the key line, never dropped in silence.
. "$(dirname "$0")/lib_private_tmp.sh"
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_tmux.sh"
export TESSARDBSETUP_TRANSCRIPT=$WORK/transcript

tui_launch 80 24
# Next (its letter with Alt) on an empty page: the account is refused.
tui_on "PDM Administrator" M-n
tmux_expect 'cannot be left empty' "the empty account's box"
tmux_keys Enter
tmux_wait_gone 'cannot be left empty' || fail "Enter did not close the empty account's box"
tmux_type pdmadm
tmux_keys Tab
tmux_type wrongpw
tmux_keys M-n
tmux_expect 'The password does not match this account' "the wrong password's box"
tmux_keys Enter
tmux_wait_gone 'does not match' || fail "Enter did not close the wrong password's box"
grep -Eq 'Administrator account: +\[pdmadm +\]' <(tmux_capture) ||
  fail "the account typed after the empty account's box did not land in its field"
grep -Eq 'Password: +\[ +\]' <(tmux_capture) || fail "the refused password was not emptied"
tmux_type sandbox
tmux_keys Enter Enter
tui_on "Tasks to Perform"
expect_contains "$TESSARDBSETUP_TRANSCRIPT" \
  '"event":"set","page":"PanelTESADM","widget":"EditorTESADM","value":"pdmadm","accepted":1}'
expect_contains "$TESSARDBSETUP_TRANSCRIPT" '"event":"box","class":"ZEP2ErrInCallBack"'
# Letters on a check button press no field: a letter that is no button's is said.
tmux_keys z
tmux_expect 'Typing goes into a field|takes no typing' "a letter nothing takes"

# Database objects without start-up data: the DDL file page. The start-up
# data check is the second one.
tmux_keys Tab Space Enter
tui_on "Execution Mode" Tab Space Tab
tmux_type pdm.sql
tmux_keys Tab
tmux_type "$WORK/no-such-directory"
tmux_keys Enter Enter
tmux_expect 'The directory of the DDL file does not exist' "the missing directory's box"
tmux_capture "$WORK/box.txt"
tmux_keys Enter
tmux_wait_gone '< OK >' || fail "Enter did not close the missing directory's box"
tmux_expect 'Typing replaces the refused text' "the key line over the refused directory"
mkdir -p "$WORK/ddl"
tmux_type "$WORK/ddl"
tmux_keys Enter Enter
tui_on "Database System"
expect_contains "$TESSARDBSETUP_TRANSCRIPT" \
  "\"widget\":\"EditorEXEDDLFilePath\",\"value\":\"$WORK/ddl\",\"accepted\":1}"
expect_contains "$TESSARDBSETUP_TRANSCRIPT" \
  "\"widget\":\"EditorEXEDDLFilePath\",\"value\":\"$WORK/no-such-directory\",\"accepted\":1}"
expect_not_contains "$TESSARDBSETUP_TRANSCRIPT" "no-such-directory$WORK"
tmux_keys Escape
tmux_expect 'Close the wizard now\?' "the close question"
tmux_keys y
status=$(tui_exit_status)
expect_status "${status:-99}" 2 "closing after the refusals"
expect_contains <(tmux_capture) 'tessardbsetup: the wizard was closed at your request'
expect_no_secret sandbox "$TESSARDBSETUP_TRANSCRIPT"
expect_no_secret wrongpw "$TESSARDBSETUP_TRANSCRIPT" "$WORK/box.txt"
finish
