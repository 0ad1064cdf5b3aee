# A text a field refuses is a refused answer: the run ends with 2 and the reason
# on stderr and in the transcript, never leaving the page with the field's
# earlier value; nothing is installed.
. "$(dirname "$0")/lib.sh"

# stopped_on TAG PAGE WIDGET REASON DATABASE: the last run stopped on WIDGET of
# PAGE for REASON without pressing anything there, and DATABASE is as before.
stopped_on() {
  local tag=$1 page=$2 widget=$3 reason=$4 database=$5
  expect_run 2 "$tag" || return
  local line
  line=$(grep -n "^$widget = " "$WORK/$tag.rsp" | cut -d: -f1)
  local message="$page refused the answer for $widget ($WORK/$tag.rsp line $line): $reason"
  expect_contains "$RUN.stderr" "tessardbsetup: $message\n"
  expect_contains "$RUN.transcript" "\"event\":\"set\",\"page\":\"$page\",\"widget\":\"$widget\","
  expect_contains "$RUN.transcript" "\"event\":\"error\",\"message\":\"$message\"}"
  expect_contains "$RUN.transcript" "\"event\":\"exit\",\"status\":2,\"outcome\":\"stopped: $message\"}"
  expect_not_contains "$RUN.transcript" "\"event\":\"button\",\"page\":\"$page\""
  expect_not_contains "$RUN.transcript" '"event":"page","page":"PanelSTATUS"'
  [[ $(tail -n 1 "$RUN.transcript") == *'"event":"exit","status":2,'* ]] ||
    fail "$tag: the father did not end with 2: $(tail -n 1 "$RUN.transcript")"
  [ -z "$(ls -A "$QelUserSettingPath" | grep '^TESSARInst\.')" ] || fail "$tag: settings file left"
  db_snapshot "$database" "$WORK/$tag-after"
  expect_same_db "$WORK/$tag-before" "$WORK/$tag-after" "$tag: a run stopped on a refused text"
  expect_no_secret dicopass "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err" "$RUN.stderr"
}

# --- Oracle: the son's administrator page shows SYSTEM before any answer; an
# account with a blank is refused by the field and must not fall back to it.
new_site oracle
response_file "$WORK/oracle.rsp" oracle oracle_new_tablespace - <<'RSP'
[PanelDBAUSER]
EditorDBAUSER = sys tem
EditorDBAUSERP = @PASSWORD@
[ZEP2YesNoInCallBack]
answers = Yes
RSP
db_snapshot PDMORA "$WORK/oracle-before"
run_wizard oracle "$WORK/oracle.rsp"
stopped_on oracle PanelDBAUSER EditorDBAUSER \
  "refused by the field's check (a character or a length it does not take)" PDMORA
expect_contains "$RUN.transcript" '"widget":"EditorDBAUSER","value":"sys tem","accepted":0}'
expect_not_contains "$RUN.transcript" '"widget":"EditorDBAUSERP"'
[ -z "$(ls -A "$TESSARDBSETUP_SANDBOX/tablespaces")" ] ||
  fail "oracle: a tablespace file was made: $(ls -A "$TESSARDBSETUP_SANDBOX/tablespaces")"

# --- DB2: a tablespace the combo does not list is refused as well, with the
# lines it does list.
new_site db2
response_file "$WORK/db2.rsp" db2 db2_local_database - <<'RSP'
[PanelTBSTypicalSel]
ComboTBSTypicalSel = NOSUCHSPACE
RSP
db_snapshot PDMDB "$WORK/db2-before"
run_wizard db2 "$WORK/db2.rsp"
stopped_on db2 PanelTBSTypicalSel ComboTBSTypicalSel "no line 'NOSUCHSPACE' (its lines: 'USERSPACE1')" \
  PDMDB
finish
