# A wrong password on the first page brings the error box over the page;
# Enter closes it, the account stays as typed and the refused password is
# emptied with the focus in it, to be typed afresh (never shown in clear).
. "$(dirname "$0")/lib_private_tmp.sh"
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_tmux.sh"

tui_launch 80 24
tui_on "PDM Administrator" -l pdmadm Tab -l wrongpw Enter Enter
tmux_expect 'The password does not match this account' "the error box over the first page"
tmux_capture "$WORK/box.txt"
expect_contains "$WORK/box.txt" ' Database Setup - PDM Administrator '
expect_contains "$WORK/box.txt" '< OK >'
tmux_keys Enter
tmux_wait_gone '< OK >' || fail "Enter did not close the error box"
tmux_capture "$WORK/after.txt"
grep -Eq 'Administrator account: +\[pdmadm +\]' "$WORK/after.txt" || fail "the account was not kept"
grep -Eq 'Password: +\[ +\]' "$WORK/after.txt" || fail "the refused password was not emptied"
expect_no_secret wrongpw "$WORK/box.txt" "$WORK/after.txt"

# The right password, typed where the focus is, goes on.
tmux_type sandbox
tmux_keys Enter Enter
# Esc asks before it closes the wizard (the page's close request).
tui_on "Tasks to Perform" Escape
tmux_expect 'Close the wizard now\?' "the close question"
tmux_keys y
status=$(tui_exit_status)
expect_status "${status:-99}" 2 "closing on the second page"
tui_terminal_is_sane "after closing"
finish
