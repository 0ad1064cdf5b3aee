# Without a terminal a response file is required; a bad one is reported with
# its line number, an empty or unreadable one as such, and the run ends with
# status 2 before any page, the trace still written.
. "$(dirname "$0")/lib.sh"

"$BIN/tessardbsetup" -logtrace "$WORK/T" </dev/null 2>"$WORK/err"
expect_status $? 2 "no terminal, no response file"
expect_contains "$WORK/err" "-responsefile FILE"
expect_contains "$WORK/T" '\nNO File execution mode\n'

printf '[PanelTESADM]\nEditorTESADM = pdmadm\nbutton = Nxt\n' >"$WORK/bad.rsp"
"$BIN/tessardbsetup" -responsefile "$WORK/bad.rsp" </dev/null 2>"$WORK/err"
expect_status $? 2 "bad button"
expect_contains "$WORK/err" "bad.rsp:3:"

TESSARDBSETUP_RESPONSE_FILE=$WORK/missing.rsp "$BIN/tessardbsetup" </dev/null 2>"$WORK/err"
expect_status $? 2 "missing response file from the environment"
expect_contains "$WORK/err" "tessardbsetup: cannot read response file $WORK/missing.rsp: No such file or directory\n"

# empty_or_unreadable LABEL FILE MESSAGE: the run ends with 2 and MESSAGE,
# no page shown.
empty_or_unreadable() {
  TESSARDBSETUP_TRANSCRIPT=$WORK/$1.transcript "$BIN/tessardbsetup" -responsefile "$2" \
    </dev/null 2>"$WORK/err"
  expect_status $? 2 "$1"
  expect_contains "$WORK/err" "tessardbsetup: $3\n"
  expect_not_contains "$WORK/err" "cannot be left empty"
  ! grep -q '"event":"page"' "$WORK/$1.transcript" 2>/dev/null || fail "$1: a page was shown"
}
: >"$WORK/empty.rsp"
empty_or_unreadable "an empty response file" "$WORK/empty.rsp" "response file $WORK/empty.rsp is empty"
printf '# answers to come\n\n; none yet\n' >"$WORK/comments.rsp"
empty_or_unreadable "comments only" "$WORK/comments.rsp" "response file $WORK/comments.rsp is empty"
mkdir "$WORK/directory.rsp"
empty_or_unreadable "a directory" "$WORK/directory.rsp" \
  "cannot read response file $WORK/directory.rsp: Is a directory"
empty_or_unreadable "a missing file" "$WORK/missing.rsp" \
  "cannot read response file $WORK/missing.rsp: No such file or directory"
# Root reads any file: the permission is tried as another user.
printf '[PanelTESADM]\nEditorTESADM = pdmadm\n' >"$WORK/private.rsp"
chmod 0600 "$WORK/private.rsp"
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
  chmod 0755 "$WORK"
  setpriv --reuid=65534 --regid=65534 --clear-groups env QelUserSettingPath="$WORK/nobody" \
    TESSARDBSETUP_LOGDIR="$WORK/nobody" "$BIN/tessardbsetup" -responsefile "$WORK/private.rsp" \
    </dev/null 2>"$WORK/err"
  expect_status $? 2 "an unreadable response file"
  expect_contains "$WORK/err" "cannot read response file $WORK/private.rsp: Permission denied\n"
else
  echo "skipped: the unreadable response file needs root and setpriv"
fi
finish
