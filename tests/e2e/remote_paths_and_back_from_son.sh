# Remote Oracle and DB2 databases install; Back on the son's first page ends that
# son with 1, the father's page is answered again and a second son finishes.
. "$(dirname "$0")/lib.sh"

# --- Oracle, remote service, existing tablespace ----------------------------
new_site oracle
response_file "$WORK/oracle-remote.rsp" oracle - <<'RSP'
[PanelORALoc]
RadButORALocRemote = checked
[PanelTBSTypicalSel]
ComboTBSTypicalSel = #1
RSP
run_wizard oracle-remote "$WORK/oracle-remote.rsp"
expect_run 0 "Oracle remote installation"
# A remote service offers no new tablespace: the first line is an existing one.
expect_contains "$RUN.transcript" '"page":"PanelTBSTypicalSel","widget":"ComboTBSTypicalSel","value":"USERS"}'
expect_not_contains "$RUN.transcript" '"page":"PanelTBSTypical",'
expect_contains "$RUN.log" '\nOracle database: remote\n'
users=$(db_query PDMORA '
for u in db["users"]:
    if u["name"] in ("PDMADM", "PDMDICO"):
        print(u["name"], u["authentication"], u["default_tablespace"])')
expect_lines "$users" "$(printf 'PDMADM PASSWORD USERS\nPDMDICO PASSWORD USERS')" \
  "the users of the remote Oracle installation"
placement=$(db_query PDMORA '
print(sorted({(o["schema"], o["tablespace"]) for o in db["objects"] if o["type"] == "TABLE"}))')
[ "$placement" = "[('PDMDICO', 'USERS')]" ] || fail "remote Oracle tables are in $placement"
[ -z "$(ls "$TESSARDBSETUP_SANDBOX/tablespaces")" ] || fail "a remote installation created a data file"

# --- DB2, remote alias -------------------------------------------------------
new_site db2
db_snapshot PDMDB "$WORK/pdmdb-before"
response_file "$WORK/db2-remote.rsp" db2 db2_local_database db2_existing_tablespace - <<'RSP'
[PanelDB2Param2]
ComboDB2AliasName = PDMREMOT
RSP
run_wizard db2-remote "$WORK/db2-remote.rsp"
expect_run 0 "DB2 remote installation"
expect_contains "$RUN.log" '\nDB2 database: remote\n'
expect_contains "$RUN.log" '\nDB2 database alias: PDMREMOT\n'
# The administrator account was proposed from the instance.
expect_contains "$RUN.log" '\nDatabase administrator account: DB2INST1\n'
tables=$(db_query PDMREMOT 'print(sum(o["type"] == "TABLE" and o["schema"] == "PDMDICO" for o in db["objects"]))')
expected=$(grep -ho 'CREATE TABLE $(SCHEMA)\.' "$QelReffilesPath"/DBMS/ddl/*.clp --exclude='*VAULTFILE*' | wc -l)
[ "$tables" = "$expected" ] || fail "PDMREMOT holds $tables PDMDICO tables, expected $expected"
db_snapshot PDMDB "$WORK/pdmdb-after"
expect_same_db "$WORK/pdmdb-before" "$WORK/pdmdb-after" "installing into PDMREMOT touched PDMDB"

# --- Back on the son's first page -------------------------------------------
# Each son is a new process; a stand-in WQ0INST numbers them and stops a
# third one, so a son that goes back again and again cannot loop forever.
new_site back
real_son=$(readlink -f "$BIN/WQ0INST")
rm -f "$SITE/pdm/code/command/WQ0INST"
cat >"$SITE/pdm/code/command/WQ0INST" <<WRAPPER
#!/bin/bash
count=\$(( \$(cat "$SITE/sons" 2>/dev/null || echo 0) + 1 ))
echo \$count >"$SITE/sons"
[ \$count -le 2 ] || exit 3
[ \$count -eq 2 ] && [ -n "\${SECOND_SON_ANSWERS:-}" ] &&
  export TESSARDBSETUP_RESPONSE_FILE=\$SECOND_SON_ANSWERS
exec -a WQ0INST "$real_son" "\$@"
WRAPPER
chmod 700 "$SITE/pdm/code/command/WQ0INST"

back_run() {
  rm -f "$SITE/sons"
  db_snapshot PDMDB "$WORK/back-before"
  run_wizard "$@"
  local sons
  sons=$(cat "$SITE/sons" 2>/dev/null || echo 0)
  [ "$sons" -eq 2 ] ||
    fail "$1: $sons sons were started, not 2: the second son did not take its own answers"
  expect_run 0 "Back on the son's first page, then Next ($1)" || return
  mapfile -t pids < <(pids_of "$RUN.transcript")
  [ "${#pids[@]}" -eq 3 ] || fail "$1: ${#pids[@]} processes instead of a father and two sons"
  local father=${pids[0]:-none} first=${pids[1]:-none} second=${pids[2]:-none}
  expect_contains "$RUN.transcript" "{\"pid\":$first,\"event\":\"button\",\"page\":\"PanelDB2Param2\",\"button\":\"Back\"}"
  expect_contains "$RUN.transcript" "{\"pid\":$first,\"event\":\"exit\",\"status\":1,"
  # The father's page is up again and answered again before the second son.
  sed -n "/^{\"pid\":$first,\"event\":\"exit\"/,/^{\"pid\":$second,/p" "$RUN.transcript" \
    >"$WORK/between"
  expect_contains "$WORK/between" "{\"pid\":$father,\"event\":\"page\",\"page\":\"PanelDB2Param\",\"visit\":2}"
  expect_contains "$WORK/between" "{\"pid\":$father,\"event\":\"button\",\"page\":\"PanelDB2Param\",\"button\":\"Next\"}"
  expect_lines "$(pages_of "$RUN.transcript" "$second" | head -n 2)" \
    "$(printf 'PanelDB2Param2\nPanelDBAUSER')" "$1: the second son's first pages"
  expect_contains "$RUN.transcript" "{\"pid\":$second,\"event\":\"exit\",\"status\":0,"
  expect_contains "$RUN.trace" '\nhand BACK code!'
  expect_contains "$RUN.trace" '\nINSTALLATION ENDED\n'
  db_snapshot PDMDB "$WORK/back-after"
  cmp -s "$WORK/back-before" "$WORK/back-after" && fail "$1: PDMDB was not installed"
}

# The second son takes its own answers: the program's side of the journey.
response_file "$WORK/back-first.rsp" db2 - <<'RSP'
[PanelDB2Param2]
ComboDB2AliasName = PDMTEST
button = Back
RSP
response_file "$WORK/back-second.rsp" db2 db2_local_database db2_existing_tablespace
back_run back-two-files "$WORK/back-first.rsp" SECOND_SON_ANSWERS="$WORK/back-second.rsp"

# One response file: its second section for the son's first page is the
# answer of the second son, as for any page answered a second time.
tessardbsetup-sandbox db reset PDMDB >/dev/null
response_file "$WORK/back-one.rsp" db2 db2_local_database db2_existing_tablespace - <<'RSP'
[PanelDB2Param2]
ComboDB2AliasName = PDMTEST
button = Back
[PanelDB2Param2#2]
ComboDB2AliasName = PDMDB
button = Next
RSP
back_run back-one-file "$WORK/back-one.rsp"
finish
