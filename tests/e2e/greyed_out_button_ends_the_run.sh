# A scripted button that is greyed out ends a silent run with an error, never a
# wait: through the page's Cancel when it offers one, at once otherwise.
. "$(dirname "$0")/lib.sh"
new_site

# The first page's Back is greyed: the run says so and ends through Cancel,
# whose confirmation is asked as for a person.
cat >"$WORK/back.rsp" <<'RSP'
[PanelTESADM]
EditorTESADM = pdmadm

button = Back
RSP
run_wizard back "$WORK/back.rsp"
expect_run 2 "Back on the first page"
message="$WORK/back.rsp:4: PanelTESADM: the button Back cannot be pressed (greyed out, or not on this page)"
expect_lines "$(told_before_outcome "$RUN.stderr")" "tessardbsetup: $message" "stderr"
expect_contains "$RUN.transcript" "\"event\":\"error\",\"message\":\"$message\"}"
expect_contains "$RUN.transcript" '"event":"button","page":"PanelTESADM","button":"Cancel"}'
expect_contains "$RUN.transcript" '"event":"box","class":"ZEP2CancelInCallBack"'
expect_contains "$RUN.transcript" '"event":"exit","status":2,"outcome":"cancelled or closed"}'
expect_outcome_line 2 'cancelled or closed (exit status 2); log *' "Back on the first page"
expect_not_contains "$RUN.transcript" '"button":"Back"'

# The same with the Cancel not confirmed: nothing is left to press, and the
# run stops instead of waiting.
printf '[ZEP2CancelInCallBack]\nanswers = Cancel\n' >>"$WORK/back.rsp"
run_wizard declined "$WORK/back.rsp"
expect_run 2 "Back on the first page, Cancel not confirmed"
expect_lines "$(told_before_outcome "$RUN.stderr")" "tessardbsetup: $message
tessardbsetup: PanelTESADM stalled and its Cancel was not confirmed: the run stops" "stderr"
expect_contains "$RUN.transcript" '"answer":"Cancel"}'
expect_contains "$RUN.transcript" '"event":"exit","status":2,"outcome":"stopped: PanelTESADM stalled'

# After a finished installation the report page offers only Next: a Back
# asked for there ends the son at once with 2, and the father with it.
response_file "$WORK/report.rsp" db2 db2_local_database db2_existing_tablespace - <<'RSP'
[PanelREPORT]
button = Back
RSP
run_wizard report "$WORK/report.rsp"
expect_run 2 "Back on the report page"
message="$WORK/report.rsp:17: PanelREPORT: the button Back cannot be pressed (greyed out, or not on this page)"
expect_contains "$RUN.stderr" "tessardbsetup: $message\n"
mapfile -t pids < <(pids_of "$RUN.transcript")
expect_contains "$RUN.transcript" "{\"pid\":${pids[1]:-none},\"event\":\"exit\",\"status\":2,\"outcome\":\"stopped: $message\"}"
[[ $(tail -n 1 "$RUN.transcript") == "{\"pid\":${pids[0]:-none},\"event\":\"exit\",\"status\":2,"* ]] ||
  fail "the father did not end last with 2: $(tail -n 1 "$RUN.transcript")"
expect_not_contains "$RUN.transcript" '"button":"Back"'
[ -z "$(ls -A "$QelUserSettingPath" | grep '^TESSARInst\.')" ] || fail "settings file left"
finish
