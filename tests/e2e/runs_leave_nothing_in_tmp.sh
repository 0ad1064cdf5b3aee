# Whatever ends a run (an installation that finishes, one that fails, a
# cancel, the first process killed outright), /tmp holds nothing of it once
# its last process is gone and, after a kill, the next run has started. A
# run still going on keeps its files through another run's start.
. "$(dirname "$0")/lib_private_tmp.sh"
. "$(dirname "$0")/lib.sh"
new_site
response_file "$WORK/install.rsp" db2 db2_local_database db2_existing_tablespace
response_file "$WORK/cancel.rsp" db2 db2_local_database rollback_then_cancel
printf '[PanelTESADM]\nbutton = Close\n' >"$WORK/close.rsp"
tmp_before=$(ls -A /tmp)

# clean LABEL: /tmp is as before the runs.
clean() {
  expect_lines "$(ls -A /tmp)" "$tmp_before" "$1: /tmp before and after"
}

run_wizard done "$WORK/install.rsp"
expect_run 0 "an installation"
expect_contains "$RUN.trace" '\n/tmp/TessarEnvCustom.sh holds:\n#! /bin/ksh\n'
clean "a finished installation"
"$BIN/tessardbsetup-sandbox" db reset PDMDB >/dev/null

ddl=$QelReffilesPath/DBMS/ddl/PEOPLE.clp
cp "$ddl" "$WORK/PEOPLE.clp"
awk '{ print } /;$/ && ++n == 3 { print ""; print "CREATE TABLE $(SCHEMA).BROKEN (;" }' \
  "$WORK/PEOPLE.clp" >"$ddl"
run_wizard failed "$WORK/install.rsp"
expect_run 1 "an installation with a broken statement"
clean "a failed installation"
cp "$WORK/PEOPLE.clp" "$ddl"

run_wizard cancelled "$WORK/cancel.rsp"
expect_run 2 "a run cancelled in the son"
clean "a cancelled run"

# A run that goes on (its son waiting for a server-setting command) keeps
# its files through another run's start (with settings of its own); once its
# first process is killed, the son ends its command and rolls back, and the
# next start removes what the killed process left.
mkdir -p "$WORK/setting"
printf '#!/bin/sh\necho $$ >"%s"\nwhile :; do sleep 1; done\n' "$WORK/command.pid" \
  >"$WORK/setting/LK0ADSRB"
chmod 755 "$WORK/setting/LK0ADSRB"
RUN=$WORK/run-killed
PATH="$WORK/setting:$PATH" TESSARDBSETUP_TRANSCRIPT="$RUN.transcript" "$BIN/tessardbsetup" \
  -responsefile "$WORK/install.rsp" -logtrace "$RUN.trace" -logout "$RUN.log" -logerr "$RUN.err" \
  </dev/null >"$RUN.out" 2>"$RUN.stderr" &
father=$!
deadline=$((SECONDS + 120))
until [ -s "$WORK/command.pid" ] || [ $SECONDS -ge $deadline ]; do sleep 0.05; done
command_pid=$(cat "$WORK/command.pid" 2>/dev/null)
son=$(pids_of "$RUN.transcript" | sed -n 2p)
if [ -z "$command_pid" ] || [ -z "$son" ]; then
  fail "the son never waited for the server-setting command"
  diagnose
  kill -KILL "$father" $son 2>/dev/null
  finish
fi
left=$(ls -A /tmp)
for name in TESStartTmp.sh "zep2inst$son.sh" ZEP2_db2ilist_result.txt; do
  grep -qx "$name" <<<"$left" || fail "$name is missing while its run goes on"
done
grep -q '^tessardbsetup-answers\.' <<<"$left" || fail "the answer state is missing while its run goes on"
QelUserSettingPath=$WORK/other "$BIN/tessardbsetup" -responsefile "$WORK/close.rsp" \
  -logout "$WORK/meanwhile.log" </dev/null >/dev/null 2>&1
expect_status $? 2 "a run while another goes on"
expect_lines "$(ls -A /tmp)" "$left" "the files of a run going on, through another run's start"

kill -KILL "$father"
wait "$father"
status=$?
expect_run 137 "the killed first process"
deadline=$((SECONDS + 120))
while kill -0 "$son" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
kill -0 "$son" 2>/dev/null && fail "the son of the killed first process did not end"
kill -0 "$command_pid" 2>/dev/null && fail "the command the son waited for still runs"
expect_contains "$RUN.trace" 'The first process is gone'
expect_contains "$RUN.trace" '\nInterrupted: process '
grep -qx TESStartTmp.sh < <(ls -A /tmp) || fail "nothing was left for the next start to remove"
QelUserSettingPath=$WORK/other "$BIN/tessardbsetup" -responsefile "$WORK/close.rsp" \
  -logout "$WORK/next.log" </dev/null >/dev/null 2>&1
expect_status $? 2 "the run after the killed one"
expect_contains "$WORK/next.log" "Removed /tmp/TESStartTmp.sh, left by a run that did not end"
clean "a killed run and the next start"
finish
