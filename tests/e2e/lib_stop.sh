# Runs that stop themselves at a traced point (TESSARDBSETUP_STOP_AT), so a
# test can kill or change something at that very point of the son's work.
# Sourced after lib.sh.

# start_stopping_run TAG FILE TEXT [VAR=value ...]: starts a silent run in the
# background whose son stops when its trace receives TEXT, and waits (60 s at
# most) until it has stopped. Sets RUN as run_wizard does, father (the first
# process), stopped (the stopped process) and calls (the database calls it
# had made). Returns 1, with the run's files shown, when it did not stop.
start_stopping_run() {
  RUN=$WORK/run-$1
  local answers=$2 text=$3 line state deadline=$((SECONDS + 60))
  shift 3
  rm -f "$RUN".* "$WORK/stop.log"
  env "$@" TESSARDBSETUP_STOP_AT="$text" TESSARDBSETUP_FAULT_LOG="$WORK/stop.log" \
    TESSARDBSETUP_TRANSCRIPT="$RUN.transcript" timeout -k 10 300 "$BIN/tessardbsetup" \
    -responsefile "$answers" -logtrace "$RUN.trace" -logout "$RUN.log" -logerr "$RUN.err" \
    </dev/null >"$RUN.out" 2>"$RUN.stderr" &
  father=$!
  stopped='' calls=''
  while [ "$SECONDS" -lt "$deadline" ]; do
    line=$(grep -m 1 '^stop ' "$WORK/stop.log" 2>/dev/null)
    if [ -n "$line" ]; then
      read -r _ stopped _ calls _ <<<"$line"
      state=$(sed 's/^.*) \(.\).*/\1/' "/proc/$stopped/stat" 2>/dev/null)
      [ "$state" = T ] && return 0
    fi
    kill -0 "$father" 2>/dev/null || break
    sleep 0.05
  done
  fail "the run $1 did not stop at $(printf %q "$text")"
  diagnose
  kill -KILL "$stopped" "$father" 2>/dev/null
  wait "$father" 2>/dev/null
  return 1
}

# end_run: waits for the father of a started run; its status in $status.
end_run() {
  wait "$father"
  status=$?
}
