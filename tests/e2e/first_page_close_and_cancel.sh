# The first page: Close ends the run with 2 at once; Cancel asks first, and
# only a confirmation ends the run, any other answer leaves the page as it is.
. "$(dirname "$0")/lib.sh"
export TESSARDBSETUP_TRANSCRIPT=$WORK/transcript

run() {
  rm -f "$TESSARDBSETUP_TRANSCRIPT"
  "$BIN/tessardbsetup" -logtrace "$WORK/T" -responsefile "$1" </dev/null 2>"$WORK/err"
}

printf '[PanelTESADM]\nbutton = Close\n' >"$WORK/close.rsp"
run "$WORK/close.rsp"
expect_status $? 2 "Close"
expect_contains "$TESSARDBSETUP_TRANSCRIPT" '"event":"page","page":"PanelTESADM","visit":1}'
expect_contains "$TESSARDBSETUP_TRANSCRIPT" '"event":"button","page":"PanelTESADM","button":"Close"}'
expect_contains "$TESSARDBSETUP_TRANSCRIPT" '"event":"exit","status":2,"outcome":"cancelled or closed"}'
expect_contains "$WORK/T" '\nCB_TESADM_Close CLOSE'
expect_not_contains "$TESSARDBSETUP_TRANSCRIPT" '"event":"box"'

printf '[PanelTESADM]\nbutton = Cancel\n[ZEP2CancelInCallBack]\nanswers = OK\n' >"$WORK/yes.rsp"
run "$WORK/yes.rsp"
expect_status $? 2 "Cancel confirmed"
expect_contains "$TESSARDBSETUP_TRANSCRIPT" '"event":"box","class":"ZEP2CancelInCallBack"'
expect_contains "$TESSARDBSETUP_TRANSCRIPT" '"answer":"OK"}'
expect_contains "$WORK/T" '\nCB_TESADM_Cancel CANCEL\n\nZEP2CancelInCallBack::Build Begin ...\n\nPressedButton : 1'

# Refused: the page stays with what was typed; the second press closes it.
cat >"$WORK/no.rsp" <<'RSP'
[PanelTESADM]
EditorTESADM = pdmadm
EditorTESADMP = secret
button = Cancel
[PanelTESADM#2]
button = Close
[ZEP2CancelInCallBack]
answers = Cancel
RSP
run "$WORK/no.rsp"
expect_status $? 2 "Cancel refused, then Close"
expect_contains "$WORK/T" '\nPressedButton : 2'
expect_contains "$WORK/T" '\nCB_TESADM_Close CLOSE'
pages=$(grep -c '"event":"page"' "$TESSARDBSETUP_TRANSCRIPT")
[ "$pages" -eq 1 ] || fail "the page was shown $pages times: a refused Cancel must leave it up"
expect_not_contains "$TESSARDBSETUP_TRANSCRIPT" secret
expect_not_contains "$WORK/T" secret

# A Cancel refused again and again does not loop forever.
printf '[PanelTESADM]\nbutton = Cancel\n[ZEP2CancelInCallBack]\nanswers = Cancel\n' >"$WORK/loop.rsp"
run "$WORK/loop.rsp"
expect_status $? 2 "Cancel refused every time"
expect_contains "$WORK/err" "not left after 3 answers"
finish
