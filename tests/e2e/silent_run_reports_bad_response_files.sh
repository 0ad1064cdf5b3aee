# Without a terminal a response file is required; a bad one is reported with
# its line number and the run ends with status 2, the trace still written.
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
expect_contains "$WORK/err" "missing.rsp"
finish
