# A settings file marked for the son, while its father holds the settings
# lock, makes the program a son: it keeps the father's trace, appends to it,
# and signals the process named by FATHERPID. A process started as a son
# with any other mark does nothing and says so.
. "$(dirname "$0")/lib.sh"

mkdir -p "$QelUserSettingPath"
# This shell plays the father that holds the lock while its son runs.
exec 9>"$QelUserSettingPath/TESSARInst.lock"
flock 9
write_settings() {
  cat >"$QelUserSettingPath/TESSARInst.settings" <<SETTINGS
TES_INST_PARTII=$1
TES_TESADM=pdmadm
TES_EXE_INDB=Y
TES_EXE_INFILE=N
TES_DBMS_IBMDB2UDB=Y
TES_DB2_INSTANCE=db2inst1
SETTINGS
}

# A stand-in father: it waits for SIGUSR1 (two minutes at most) and records
# it. It is waited for until its trap is set: a signal before would kill it.
start_father() {
  rm -f "$WORK/signalled" "$WORK/father-ready"
  bash -c 'trap "echo USR1 >\"$0\"; exit 0" USR1; : >"$1"; for i in $(seq 1200); do sleep 0.1; done' \
    "$WORK/signalled" "$WORK/father-ready" &
  father=$!
  local deadline=$((SECONDS + 60))
  until [ -e "$WORK/father-ready" ] || [ $SECONDS -ge $deadline ]; do sleep 0.05; done
  [ -e "$WORK/father-ready" ] || fail "the stand-in father never set its trap"
}

write_settings Y
echo "father's line" >"$WORK/T"
start_father
FATHERPID=$father "$BIN/tessardbsetup" -logtrace "$WORK/T" </dev/null
expect_status $? 2 "son without a page to show"
wait "$father"
[ -f "$WORK/signalled" ] || fail "the father did not receive SIGUSR1"
expect_contains "$WORK/T" "father's line"
expect_contains "$WORK/T" "\nGrand Father process pid: $father"
expect_contains "$WORK/T" '\nProcess pid             : '
expect_contains "$WORK/T" '\nDatabase execution mode\nNO File execution mode\n'

# Answers for a silent run, so that only the settings file can stop it.
printf '[PanelTESADM]\nEditorTESADM = pdmadm\n' >"$WORK/answers.rsp"
for mark in N y ""; do
  write_settings "$mark"
  echo "earlier run" >"$WORK/T"
  start_father
  FATHERPID=$father "$BIN/tessardbsetup" -responsefile "$WORK/answers.rsp" -logtrace "$WORK/T" \
    </dev/null 2>"$WORK/stderr"
  expect_status $? 4 "mark '$mark'"
  expect_contains "$WORK/stderr" "holds no answers of a first process"
  kill "$father" 2>/dev/null
  wait "$father" 2>/dev/null
  [ -f "$WORK/signalled" ] && fail "mark '$mark' made a son"
  expect_not_contains "$WORK/T" "earlier run"
  expect_not_contains "$WORK/T" "Grand Father"
done

# A FATHERPID that is not a process id signals nobody (never a process group).
write_settings Y
FATHERPID=0 "$BIN/tessardbsetup" -logtrace "$WORK/T" </dev/null
expect_status $? 2 "FATHERPID=0"
FATHERPID=-1 "$BIN/tessardbsetup" -logtrace "$WORK/T" </dev/null
expect_status $? 2 "FATHERPID=-1"
finish
