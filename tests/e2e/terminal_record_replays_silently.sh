# An interactive run with -record, a wrong password and its error box
# included, replays silently with the password variables set: the replay
# passes the pages the person pressed, in the same order, and leaves the
# same catalogue. No password is in the record or on any screen.
. "$(dirname "$0")/lib_private_tmp.sh"
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_tmux.sh"

PASSWORD=Tui5ecret
WRONG=N0tTheOne

TUI_OPTIONS="-record $WORK/record.rsp " tui_launch 100 30 --password "$PASSWORD"
screens=()
tui_on "PDM Administrator" -l pdmadm Tab -l "$WRONG" Enter Enter
tmux_expect 'The password does not match this account' "the error box of the wrong password"
tmux_capture "$WORK/screen-box.txt"
screens+=("$WORK/screen-box.txt")
# The box puts the focus back in the refused password, emptied.
tmux_keys Enter
tmux_wait_gone '< OK >' || fail "Enter did not close the wrong password's box"
tmux_type "$PASSWORD"
tmux_keys Enter Enter
tui_on "Tasks to Perform" Enter
tui_on "Database System" Enter
tui_on "Dictionary Owner" Enter Enter
tui_on "DB2 Instance" Space Enter Enter
tui_on "DB2 Database" Enter
tui_on "Database Administrator" Tab -l "$PASSWORD" Enter Enter
tui_on "Tablespace" Enter
tui_on "Summary" Enter
tmux_expect 'completed successfully' "the report of the recorded run" 180
tmux_capture "$WORK/screen-report.txt"
screens+=("$WORK/screen-report.txt")
tui_on "Report" Enter
status=$(tui_exit_status)
expect_status "${status:-99}" 0 "the recorded interactive run"
db_snapshot PDMDB "$WORK/recorded"
# The two sites differ only by their place.
sed -i "s|$SITE/|SITE/|g" "$WORK/recorded"
expect_no_secret "$PASSWORD" "$WORK/record.rsp" "${screens[@]}"
expect_no_secret "$WRONG" "$WORK/record.rsp" "${screens[@]}"
expect_contains "$WORK/record.rsp" '${TESSARDBSETUP_PW_EditorTESADMP}'
tmux_stop

# The replay, silent, on a fresh site with the variables the record lists.
new_site replay --password "$PASSWORD"
variables=()
for name in $(grep -o 'TESSARDBSETUP_PW_[A-Za-z0-9_]*' "$WORK/record.rsp" | sort -u); do
  value=$PASSWORD
  [ "$name" = TESSARDBSETUP_PW_EditorTESADMP ] && value=$WRONG
  variables+=("$name=$value")
done
[ ${#variables[@]} -ge 3 ] || fail "the record names only ${#variables[@]} password variables"
run_wizard replay "$WORK/record.rsp" "${variables[@]}"
expect_run 0 "the silent replay of the record"
# Pages in the order a person pressed their buttons, and as the replay
# answered them (the page of each button press).
recorded=$(grep -o '^\[Panel[A-Za-z0-9]*' "$WORK/record.rsp" | tr -d '[')
replayed=$(grep '"event":"button"' "$RUN.transcript" | sed 's/.*"page":"\([^"]*\)".*/\1/')
expect_lines "$(sort -u <<<"$replayed")" "$(sort -u <<<"$recorded")" "the pages recorded and replayed"
boxes=$(boxes_of "$RUN.transcript" | cut -d'|' -f1,4)
expect_lines "$boxes" "ZEP2ErrInCallBack|OK" "the boxes of the replay"
db_snapshot PDMDB "$WORK/replayed"
sed -i "s|$SITE/|SITE/|g" "$WORK/replayed"
expect_same_db "$WORK/recorded" "$WORK/replayed" "the catalogue left by the replay"
finish
