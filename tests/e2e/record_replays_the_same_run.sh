# A run recorded with -record replays silently as the same run: a refused
# password with its error box, Back on the son's first page and a second
# son; the same pages, boxes and catalogue, exit 0, and no password written.
# Then a cancelled run whose two processes both answer a Cancel box.
. "$(dirname "$0")/lib.sh"

PASSWORD=Rec0rdPw7
WRONG=Wr0ngPw3

# site NAME: a fresh sandbox site whose accounts all have $PASSWORD.
site() {
  SITE=$WORK/$1
  if ! "$BIN/tessardbsetup-sandbox" init "$SITE" --password "$PASSWORD" >"$WORK/site-init.out" 2>&1; then
    echo "cannot create the sandbox site $SITE:" >&2
    cat "$WORK/site-init.out" >&2
    exit 1
  fi
  . "$SITE/env.sh"
}

# wizard TAG [ARGUMENT ...] -- [VAR=value ...]: one run with the extra
# arguments and variables, its files named as run_wizard names them.
wizard() {
  RUN=$WORK/run-$1
  shift
  local arguments=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do
    arguments+=("$1")
    shift
  done
  [ $# -gt 0 ] && shift
  env "$@" TESSARDBSETUP_TRANSCRIPT="$RUN.transcript" timeout -k 10 300 \
    "$BIN/tessardbsetup" "${arguments[@]}" -logtrace "$RUN.trace" -logout "$RUN.log" \
    -logerr "$RUN.err" </dev/null >"$RUN.out" 2>"$RUN.stderr"
  status=$?
  rm -f "$QelUserSettingPath"/TESSARInst.*
}

# journey TRANSCRIPT: per process in order of appearance, the pages shown
# and the buttons pressed; then the boxes with their answers.
journey() {
  local pid
  for pid in $(pids_of "$1"); do
    echo "process"
    grep "^{\"pid\":$pid,\"event\":\"\(page\|button\)\"" "$1" |
      sed 's/^{"pid":[0-9]*,//; s/"visit":[0-9]*//'
  done
  boxes_of "$1"
}

# --- The recorded run --------------------------------------------------------
site recorded
db_snapshot PDMDB "$WORK/recorded-before"
response_file "$WORK/answers.rsp" db2 db2_local_database db2_existing_tablespace - <<'RSP'
[options]
on-refusal = continue
[PanelTESADM]
EditorTESADM = pdmadm
EditorTESADMP = @WRONG@
[PanelTESADM#2]
EditorTESADMP = @PASSWORD@
[PanelDB2Param2]
ComboDB2AliasName = PDMTEST
button = Back
[PanelDB2Param2#2]
ComboDB2AliasName = PDMDB
button = Next
RSP
RECORD=$WORK/records/db2.rsp
mkdir -p "$WORK/records"
# A relative path: the son, started from a script, still finds the record.
cd "$WORK/records" || exit 1
wizard recorded -responsefile "$WORK/answers.rsp" -record db2.rsp
cd "$WORK" || exit 1
expect_run 0 "the recorded run" || finish
recorded=$RUN
db_snapshot PDMDB "$WORK/recorded-after"
cmp -s "$WORK/recorded-before" "$WORK/recorded-after" && fail "the recorded run installed nothing"
[ "$(pids_of "$recorded.transcript" | wc -l)" -eq 3 ] || fail "the recorded run had no second son"
grep -q '"event":"box","class":"ZEP2ErrInCallBack"' "$recorded.transcript" ||
  fail "the wrong password showed no error box"

[ "$(stat -c %a "$RECORD" 2>/dev/null)" = 600 ] || fail "the record's mode is $(stat -c %a "$RECORD")"
for expected in '[PanelTESADM]\nEditorTESADM = pdmadm\nEditorTESADMP = ${TESSARDBSETUP_PW_EditorTESADMP}\nbutton = Next\n' \
  '[PanelTESADM#2]\nEditorTESADMP = ${TESSARDBSETUP_PW_EditorTESADMP_2}\nbutton = Next\n' \
  '[PanelDB2Param2]\nComboDB2AliasName = PDMTEST\nbutton = Back\n' \
  '[PanelDB2Param2#2]\nComboDB2AliasName = PDMDB\nbutton = Next\n' \
  'EditorDBAUSERP = ${TESSARDBSETUP_PW_EditorDBAUSERP}\n' \
  '[ZEP2ErrInCallBack]\nanswers = OK\n' '[options]\non-refusal = continue\n'; do
  expect_contains "$RECORD" "$expected"
done
# The father's page answered again as the first time needs no section.
expect_not_contains "$RECORD" '[PanelDB2Param#2]'
ls /tmp/tessardbsetup-record.* >/dev/null 2>&1 && fail "the record's state outlived the run"

# --- The replay, on a fresh site ---------------------------------------------
site replayed
wizard replayed -responsefile "$RECORD" -- TESSARDBSETUP_PW_EditorTESADMP="$WRONG" \
  TESSARDBSETUP_PW_EditorTESADMP_2="$PASSWORD" TESSARDBSETUP_PW_EditorDBAUSERP="$PASSWORD"
expect_run 0 "the replay of the record"
replayed=$RUN
expect_lines "$(journey "$replayed.transcript")" "$(journey "$recorded.transcript")" \
  "the pages, buttons and boxes of the recorded run and of its replay"
db_snapshot PDMDB "$WORK/replayed-after"
# Containers lie in each site's own directory.
sed -i "s|$WORK/recorded/|SITE/|g" "$WORK/recorded-after"
sed -i "s|$WORK/replayed/|SITE/|g" "$WORK/replayed-after"
expect_same_db "$WORK/recorded-after" "$WORK/replayed-after" "the replay against the recorded run"

for secret in "$PASSWORD" "$WRONG"; do
  expect_no_secret "$secret" "$RECORD" "$recorded".* "$replayed".*
done

# --- Boxes of one class in both processes, answered in the run's order ------
# The father's Cancel is not confirmed, the son's is: the record lists
# both answers, and the replay's son takes the second.
db_snapshot PDMDB "$WORK/cancelled-before"
response_file "$WORK/cancel.rsp" db2 db2_local_database - <<'RSP'
[PanelTESADM]
button = Cancel
[PanelTESADM#2]
button = Next
[PanelDBAUSER]
button = Cancel
[ZEP2CancelInCallBack]
answers = Cancel, OK
RSP
wizard cancel-recorded -responsefile "$WORK/cancel.rsp" -record "$WORK/records/cancel.rsp"
expect_run 2 "the recorded cancelled run"
cancelled=$RUN
expect_contains "$WORK/records/cancel.rsp" '[ZEP2CancelInCallBack]\nanswers = Cancel, OK\n'
wizard cancel-replayed -responsefile "$WORK/records/cancel.rsp" -- \
  TESSARDBSETUP_PW_EditorTESADMP="$PASSWORD" TESSARDBSETUP_PW_EditorDBAUSERP="$PASSWORD"
expect_run 2 "the replay of the cancelled run"
expect_lines "$(journey "$RUN.transcript")" "$(journey "$cancelled.transcript")" \
  "the pages, buttons and boxes of the cancelled run and of its replay"
expect_lines "$(boxes_of "$RUN.transcript" | cut -d'|' -f1,4)" \
  "$(printf 'ZEP2CancelInCallBack|Cancel\nZEP2CancelInCallBack|OK')" "the replay's Cancel boxes"
db_snapshot PDMDB "$WORK/cancelled-after"
expect_same_db "$WORK/cancelled-before" "$WORK/cancelled-after" "the cancelled runs"
expect_no_secret "$PASSWORD" "$WORK/records/cancel.rsp" "$cancelled".* "$RUN".*

# --- A record that cannot be kept ends the run before anything is asked -----
ln -s "$WORK/elsewhere" "$WORK/records/link.rsp"
wizard refused -responsefile "$RECORD" -record "$WORK/records/link.rsp"
expect_status "$status" 2 "recording through a symbolic link"
expect_contains "$RUN.stderr" 'symbolic link'
[ -e "$WORK/elsewhere" ] && fail "the record was written through a symbolic link"
grep -q '"event":"page"' "$RUN.transcript" 2>/dev/null && fail "a page was shown without its record"
finish
