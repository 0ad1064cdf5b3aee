# SIGTERM, SIGINT and SIGHUP during the DDL play, and the first process's
# death, end in a rollback: the database is as before, no process of the run
# and no answer is left, and the next run installs normally. A signal on a
# page ends the run as a confirmed Cancel, and a failed run says why.
. "$(dirname "$0")/lib.sh"
PASSWORD=Pw4Signals
new_site site --ddl-scale 40 --password "$PASSWORD"
sed "s/= sandbox\$/= $PASSWORD/" "$(dirname "$0")/../../docs/examples/oracle-local-new-tablespace.rsp" \
  >"$WORK/oracle.rsp"
db_snapshot PDMORA "$WORK/before"

# start_run TAG: a silent run in a session of its own ($run_pid leads it).
start_run() {
  RUN=$WORK/run-$1
  rm -f "$RUN".*
  TESSARDBSETUP_TRANSCRIPT="$RUN.transcript" setsid "$BIN/tessardbsetup" -responsefile \
    "$WORK/oracle.rsp" -logtrace "$RUN.trace" -logout "$RUN.log" -logerr "$RUN.err" \
    </dev/null >"$RUN.out" 2>"$RUN.stderr" &
  run_pid=$!
}

# wait_for_play: the DDL play is under way (statements played, not ended).
wait_for_play() {
  local deadline=$((SECONDS + 120))
  while [ $SECONDS -lt $deadline ]; do
    played=$(grep -c 'St_PlayDDL  DDL DML Statement' "$RUN.trace" 2>/dev/null)
    if [ "${played:-0}" -gt 0 ]; then
      grep -q 'INSTALLATION ENDED' "$RUN.trace" && break
      return 0
    fi
    sleep 0.05
  done
  fail "$RUN: the DDL play was not caught under way"
  return 1
}

# ended TAG STATUS: the run ended with STATUS within a minute, nothing of it
# is left running or on disk, and the database is as before.
ended() {
  local deadline=$((SECONDS + 60))
  while kill -0 "$run_pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
  wait "$run_pid"
  status=$?
  expect_run "$2" "$1"
  while pgrep -s "$run_pid" >/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
  pgrep -s "$run_pid" >/dev/null && fail "$1: processes left: $(pgrep -a -s "$run_pid")"
  local left
  left=$(ls -A "$QelUserSettingPath" | grep '^TESSARInst\.')
  [ -z "$left" ] || fail "$1: settings files left: $left"
  grep -q 'St_PlayDROPDDL Begin' "$RUN.trace" || fail "$1: nothing was rolled back"
  db_snapshot PDMORA "$WORK/after-$1"
  expect_same_db "$WORK/before" "$WORK/after-$1" "$1"
  expect_no_secret "$PASSWORD" "$RUN".*
}

start_run term
wait_for_play && kill -TERM "$run_pid"
ended term 1
expect_contains "$RUN.stderr" 'SIGTERM received: the installation is cancelled and rolled back'
expect_contains "$RUN.stderr" 'interrupted by SIGTERM: cancelled, rolled back (exit status 1); interrupted by SIGTERM: cancelled, everything created was removed; '
expect_contains "$RUN.stderr" "error log $RUN.err"
# An interruption is no crash: no fatal error is quoted.
expect_not_contains "$RUN.stderr" 'FATAL'
expect_not_contains "$RUN.stderr" 'first error'
expect_contains "$RUN.log" "\n$(msg_text ZEP2DlgREPORT Abort)\n\nOutcome: interrupted by SIGTERM: cancelled, everything created was removed\n"

start_run hup
wait_for_play && kill -HUP "$run_pid"
ended hup 1
expect_contains "$RUN.stderr" 'interrupted by SIGHUP: cancelled, rolled back'

# Ctrl-C reaches every process of the terminal's group; a second one while
# the rollback runs does not abandon it. It is sent once the first is acted
# on: two signals sent before either is handled are one.
start_run int
if wait_for_play && kill -INT -- "-$run_pid"; then
  deadline=$((SECONDS + 60))
  until grep -q 'SIGINT received: the installation is cancelled' "$RUN.stderr" ||
    [ $SECONDS -ge $deadline ]; do
    sleep 0.05
  done
  kill -INT -- "-$run_pid"
fi
ended int 1
expect_contains "$RUN.stderr" 'interrupted by SIGINT: cancelled, rolled back (exit status 1); interrupted by SIGINT: cancelled, everything created was removed; '
expect_not_contains "$RUN.stderr" 'first error'
expect_contains "$RUN.stderr" 'rolling back, please wait'

# The first process killed outright: its son sees it gone and rolls back.
start_run father-killed
wait_for_play && kill -KILL "$run_pid"
ended father-killed 137
expect_contains "$RUN.trace" 'The first process is gone'

# After all of them, the same settings directory installs normally.
run_wizard again "$WORK/oracle.rsp"
expect_run 0 "an installation after the interrupted ones"

# A signal on the first process's page (here while it lists the DB2
# instances): a confirmed Cancel, nothing created, nothing left.
mkdir -p "$WORK/slow"
printf '#!/bin/sh\ntouch "%s"\nsleep 30\n' "$WORK/listing-started" >"$WORK/slow/GetDB2IList.sh"
chmod 755 "$WORK/slow/GetDB2IList.sh"
sed "s/= sandbox\$/= $PASSWORD/" "$(dirname "$0")/../../docs/examples/db2-local.rsp" >"$WORK/db2.rsp"
db_snapshot PDMDB "$WORK/db2-before"
RUN=$WORK/run-page
PATH="$WORK/slow:$PATH" TESSARDBSETUP_TRANSCRIPT="$RUN.transcript" setsid "$BIN/tessardbsetup" \
  -responsefile "$WORK/db2.rsp" -logtrace "$RUN.trace" -logerr "$RUN.err" </dev/null \
  >"$RUN.out" 2>"$RUN.stderr" &
run_pid=$!
deadline=$((SECONDS + 60))
until [ -e "$WORK/listing-started" ] || [ $SECONDS -ge $deadline ]; do sleep 0.05; done
kill -INT -- "-$run_pid"
wait "$run_pid"
status=$?
expect_run 2 "SIGINT on the first process's page"
expect_contains "$RUN.stderr" 'SIGINT received: the run is cancelled'
[[ $(tail -n 1 "$RUN.stderr") == "tessardbsetup: cancelled or closed (exit status 2); log "* ]] ||
  fail "the run interrupted on a page does not end with its outcome: $(tail -n 1 "$RUN.stderr")"
[ "$(pids_of "$RUN.transcript" | wc -l)" -eq 1 ] || fail "a second process started"
[ -z "$(ls -A "$QelUserSettingPath" | grep '^TESSARInst\.')" ] || fail "page: settings left"
db_snapshot PDMDB "$WORK/db2-after"
expect_same_db "$WORK/db2-before" "$WORK/db2-after" "a run interrupted on a page"

# A failing silent run names the failure, its counts and the logs in one line.
"$BIN/tessardbsetup-sandbox" db reset PDMORA >/dev/null
awk '{ print } /;$/ && ++n == 3 { print ""; print "CREATE TABLE $(SCHEMA).BROKEN (;" }' \
  "$QelReffilesPath/DBMS/ddl/PEOPLE.sql" >"$WORK/PEOPLE.sql" &&
  cp "$WORK/PEOPLE.sql" "$QelReffilesPath/DBMS/ddl/PEOPLE.sql"
run_wizard broken "$WORK/oracle.rsp"
expect_run 1 "an installation with a broken statement"
summary=$(grep -c 'installation failed and was rolled back (exit status 1); ' "$RUN.stderr")
[ "$summary" -eq 1 ] || fail "the failed run's summary is on $summary lines of stderr"
expect_outcome_line 1 'installation failed and was rolled back (exit status 1); failed at statement 4 of PEOPLE.sql (modeler PEOPLE): ORA-*, rolled back; * created and removed; * statements played, * undone, in * s; *' "broken"
expect_no_secret "$PASSWORD" "$RUN".*
finish
