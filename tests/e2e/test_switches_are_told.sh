# The test switches work in every build, so they never act in silence: each
# one set is said on stderr and in the log as a process starts, and a run in
# which a fault was injected or a process stopped itself says so in its last
# line and in its transcript's outcome, whatever its status.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_stop.sh"
new_site
response_file "$WORK/install.rsp" db2 db2_local_database db2_existing_tablespace

# last_outcome: the outcome of the run's last exit event (the father's).
last_outcome() {
  tail -n 1 "$RUN.transcript" | sed -n 's/.*"event":"exit",.*"outcome":"\(.*\)"}$/\1/p'
}

# Switches set at positions the run never reaches: said, nothing injected,
# and the run ends as it would without them.
run_wizard unreached "$WORK/install.rsp" TESSARDBSETUP_FAULT_DB_CALL=999999 \
  TESSARDBSETUP_FAULT_FILE_WRITE=888888+ TESSARDBSETUP_FAULT_LOG="$WORK/unreached.log"
expect_run 0 "switches that are never reached"
for told in \
  "TESSARDBSETUP_FAULT_DB_CALL=999999: database call 999999 fails on purpose, counted in each process" \
  "TESSARDBSETUP_FAULT_FILE_WRITE=888888+: file writes from 888888 on fail on purpose, counted in each process" \
  "TESSARDBSETUP_FAULT_LOG=$WORK/unreached.log: injected faults and call counts are recorded there"; do
  expect_contains "$RUN.stderr" "tessardbsetup: test switch $told\n"
  expect_contains "$RUN.log" "\nTEST SWITCH SET: $told\n"
done
expect_not_contains "$RUN.stderr" "test fault injected"
[ "$(last_outcome)" = "installation finished" ] || fail "an untouched run's outcome: $(last_outcome)"
"$BIN/tessardbsetup-sandbox" db reset PDMDB >/dev/null

# A fault injected: in the first process (the settings file's write) and in
# the son (its first database call); each run's last line and outcome say
# which, whatever the status the run ends with.
for fault in FILE_WRITE:"file write 1 fails on purpose" DB_CALL:"database call 1 fails on purpose"; do
  variable=TESSARDBSETUP_FAULT_${fault%%:*} said=${fault#*:}
  run_wizard "${fault%%:*}" "$WORK/install.rsp" "$variable=1" TESSARDBSETUP_FAULT_LOG="$WORK/fault.log"
  grep -q '^[a-z-]* 1 ' "$WORK/fault.log" || fail "$variable=1: no fault was injected"
  expect_contains "$RUN.stderr" "tessardbsetup: test switch $variable=1: $said"
  [[ $(tail -n 1 "$RUN.stderr") == "tessardbsetup: "*"(exit status $status)"* ]] ||
    fail "$variable=1: the last line is not the outcome: $(tail -n 1 "$RUN.stderr")"
  [[ $(tail -n 1 "$RUN.stderr") == *"test fault injected: $said ($variable=1, process "* ]] ||
    fail "$variable=1: the last line does not say the fault: $(tail -n 1 "$RUN.stderr")"
  [[ $(last_outcome) == *"; test fault injected: $said ($variable=1, process "* ]] ||
    fail "$variable=1: the outcome does not say the fault: $(last_outcome)"
  rm -f "$WORK/fault.log"
  "$BIN/tessardbsetup-sandbox" db reset PDMDB >/dev/null
done

# A process that stops itself says so before it stops; let go on, the run
# finishes and says it was stopped.
start_stopping_run stop "$WORK/install.rsp" 'St_GenEnvFiles Begin' || finish
expect_contains "$RUN.stderr" \
  "tessardbsetup: test switch TESSARDBSETUP_STOP_AT=St_GenEnvFiles Begin: the process stops itself"
expect_contains "$RUN.stderr" \
  "tessardbsetup: process $stopped stops itself on purpose (TESSARDBSETUP_STOP_AT=St_GenEnvFiles Begin); kill -CONT $stopped lets it go on\n"
kill -CONT "$stopped"
end_run
expect_run 0 "a run let go on after its stop"
stop_said="test fault injected: stopped itself at a trace holding 'St_GenEnvFiles Begin' (TESSARDBSETUP_STOP_AT, process $stopped)"
[[ $(tail -n 1 "$RUN.stderr") == "tessardbsetup: installation finished; $stop_said (exit status 0)"* ]] ||
  fail "the stopped run's last line: $(tail -n 1 "$RUN.stderr")"
[ "$(last_outcome)" = "installation finished; $stop_said" ] ||
  fail "the stopped run's outcome: $(last_outcome)"
finish
