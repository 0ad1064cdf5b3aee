# A command the wizard waits for that never ends (the DB2 instance lister
# reading a pipe nobody writes, the server-setting command deaf to SIGTERM)
# does not hold the run: SIGTERM, SIGINT or SIGHUP sent to the wizard alone
# ends the command with everything it started, and the run ends as that
# signal always ends it there. Nothing of the run is left running or in /tmp.
. "$(dirname "$0")/lib_private_tmp.sh"
. "$(dirname "$0")/lib.sh"
PASSWORD=Pw4Waits
new_site site --password "$PASSWORD"
sed "s/= sandbox\$/= $PASSWORD/" "$(dirname "$0")/../../docs/examples/db2-local.rsp" >"$WORK/db2.rsp"

FIFO=/tmp/planted.fifo
mkfifo "$FIFO"
mkdir -p "$WORK/lister" "$WORK/setting"
cat >"$WORK/lister/GetDB2IList.sh" <<SH
#!/bin/sh
echo \$\$ >"$WORK/command.pid"
cat "$FIFO" >/tmp/ZEP2_db2ilist_result.txt
SH
cat >"$WORK/setting/LK0ADSRB" <<SH
#!/bin/sh
trap '' TERM
echo \$\$ >"$WORK/command.pid"
while :; do sleep 1; done
SH
chmod 755 "$WORK/lister/GetDB2IList.sh" "$WORK/setting/LK0ADSRB"
tmp_before=$(ls -A /tmp)
db_snapshot PDMDB "$WORK/before"

# start_blocked TAG DIR: a silent run in a session of its own ($run_pid leads
# it) with DIR first on PATH, once DIR's command is running.
start_blocked() {
  RUN=$WORK/run-$1
  rm -f "$RUN".* "$WORK/command.pid"
  PATH="$2:$PATH" TESSARDBSETUP_TRANSCRIPT="$RUN.transcript" setsid "$BIN/tessardbsetup" \
    -responsefile "$WORK/db2.rsp" -logtrace "$RUN.trace" -logout "$RUN.log" -logerr "$RUN.err" \
    </dev/null >"$RUN.out" 2>"$RUN.stderr" &
  run_pid=$!
  local deadline=$((SECONDS + 120))
  until [ -s "$WORK/command.pid" ] || [ $SECONDS -ge $deadline ]; do sleep 0.05; done
  command_pid=$(cat "$WORK/command.pid" 2>/dev/null)
  [ -n "$command_pid" ] || fail "$1: the blocking command never started"
}

# interrupt TAG SIGNAL STATUS: SIGNAL to the wizard alone ends the run with
# STATUS within 10 seconds, and nothing of it is left.
interrupt() {
  kill "-$2" "$run_pid"
  local deadline=$((SECONDS + 10))
  while kill -0 "$run_pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
  if kill -0 "$run_pid" 2>/dev/null; then
    fail "$1: the run still goes on 10 seconds after $2"
    diagnose
    kill -KILL -- "-$run_pid"
  fi
  wait "$run_pid"
  status=$?
  expect_run "$3" "$1: $2 while a command runs"
  deadline=$((SECONDS + 10))
  while pgrep -s "$run_pid" >/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
  pgrep -s "$run_pid" >/dev/null && fail "$1: processes left: $(pgrep -a -s "$run_pid")"
  kill -0 "$command_pid" 2>/dev/null && fail "$1: the command $command_pid still runs"
  expect_contains "$RUN.trace" "\nInterrupted: process "
  expect_contains "$RUN.stderr" "$2 received: "
  [ -z "$(ls -A "$QelUserSettingPath" | grep '^TESSARInst\.')" ] || fail "$1: settings files left"
  expect_lines "$(ls -A /tmp)" "$tmp_before" "$1: /tmp before and after"
  expect_no_secret "$PASSWORD" "$RUN".*
}

# On the first process's page: a confirmed Cancel, nothing created.
for signal in TERM INT HUP; do
  start_blocked "lister-$signal" "$WORK/lister"
  interrupt "lister-$signal" "SIG$signal" 2
  expect_contains "$RUN.stderr" "SIG$signal received: the run is cancelled"
  expect_contains "$RUN.trace" "\n GetDB2ilist Return Code : 143"
  [ "$(pids_of "$RUN.transcript" | wc -l)" -eq 1 ] || fail "lister-$signal: a second process started"
done
db_snapshot PDMDB "$WORK/after-lister"
expect_same_db "$WORK/before" "$WORK/after-lister" "runs interrupted on a page"

# In the son's installation, with a command that ignores SIGTERM: it is
# killed (its shell dies of SIGTERM, the command by SIGKILL after the grace),
# and the installation is rolled back as on any SIGTERM there.
start_blocked setting "$WORK/setting"
interrupt setting SIGTERM 1
expect_contains "$RUN.stderr" 'SIGTERM received: the installation is cancelled and rolled back'
expect_contains "$RUN.stderr" 'interrupted by SIGTERM: cancelled, rolled back'
# An interruption, not a failure: its outcome, not an error, ends the line.
expect_contains "$RUN.stderr" ' (exit status 1); interrupted by SIGTERM: cancelled, everything created was removed; '
expect_not_contains "$RUN.stderr" 'first error'
expect_contains "$RUN.trace" "\nAppend RDB Settings Return Code : 143"
db_snapshot PDMDB "$WORK/after-setting"
expect_same_db "$WORK/before" "$WORK/after-setting" "an installation interrupted in a command"
rm -f "$FIFO"
finish
