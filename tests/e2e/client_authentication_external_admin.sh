# Client authentication on Oracle: the administrator ends identified externally,
# with a password only while the installation runs, whether created or existing.
. "$(dirname "$0")/lib.sh"
new_site

# answers OWNER FILE: an Oracle installation into USERS with dictionary owner
# OWNER.
answers() {
  response_file "$2" oracle oracle_existing_tablespace - <<RSP
[PanelTESDICO]
EditorTESDICO = $1
EditorTESDICOP = $1-secret
RSP
}

auth_of() {
  db_query PDMORA "print(next((u['authentication'] for u in db['users'] if u['name'] == '$1'), 'missing'))"
}
tables_of() {
  db_query PDMORA "print(sum(o['type'] == 'TABLE' and o['schema'] == '$1' for o in db['objects']))"
}
expected_tables=$(grep -ho 'CREATE TABLE $(SCHEMA)\.' "$QelReffilesPath"/DBMS/ddl/*.sql \
  --exclude='*VAULTFILE*' | wc -l)

# First run: PDMADM does not exist; it is created, then made external
# without a question (only its creation is asked).
answers pdmdico "$WORK/first.rsp"
run_wizard first "$WORK/first.rsp" TESSAR_SINGLE_USER=OFF
expect_run 0 "client authentication, administrator created" || finish
expect_lines "$(boxes_of "$RUN.transcript" | grep -o 'The database user [A-Z]* [a-z ]*')" \
  "$(printf 'The database user PDMADM does not exist yet\nThe database user PDMDICO does not exist yet')" \
  "the first run's questions"
expect_contains "$RUN.trace" '\nSINGLE USER OFF'
expect_contains "$RUN.trace" 'ALTER USER PDMADM IDENTIFIED EXTERNALLY'
[ "$(auth_of PDMADM)" = EXTERNAL ] || fail "PDMADM is $(auth_of PDMADM) after the first run"
[ "$(auth_of PDMDICO)" = PASSWORD ] || fail "PDMDICO is $(auth_of PDMDICO) after the first run"
[ "$(tables_of PDMDICO)" = "$expected_tables" ] || fail "PDMDICO holds $(tables_of PDMDICO) tables"
# Server authentication while the database work runs, the chosen client
# authentication once it is over; no account in either.
names="TESCOMMON ZEPADMIN ZEPPEOPLE ZEPPUBSUB"
expect_lines "$(grep -o '^AUTH [A-Za-z]*: [A-Z]*$' "$RUN.trace")" \
  "$(for n in $names; do echo "AUTH Server: $n"; done; for n in $names $names; do echo "AUTH Client: $n"; done)" \
  "the server settings of both passes"
expect_lines "$(db_query PDMORA '
for s in db["server_settings"]:
    print(s["name"], s["server"], s["vendor"], s["authentication"], repr(s["user"]), repr(s["password"]))')" \
  "$(for n in $names; do echo "$n PDMORA 2 2 '' ''"; done)" "the server settings at the end"

# Second run, another dictionary owner: PDMADM is external before the run.
answers pdmdic2 "$WORK/second.rsp"
run_wizard second "$WORK/second.rsp" TESSAR_SINGLE_USER=OFF
expect_run 0 "client authentication, administrator identified externally"
temporary=$(msg_text ZEP2DlgREPORT CHOICETMPTextToDisplayForCHOICETMP)
boxes_of "$RUN.transcript" | cut -d'|' -f3,4 >"$RUN.boxes"
expect_lines "$(cat "$RUN.boxes")" "$(printf '%s\n' \
  "$(msg_text ZEP2DlgREPORT CHOICECRETextToDisplayForCHOICECRE | sed 's/%1/PDMDIC2/')|Yes" \
  "${temporary//%1/PDMADM}|Yes")" "the second run's questions"
expect_contains "$RUN.trace" '\nProposition alter user <PDMADM> temporary acceptee'
expect_contains "$RUN.trace" '\nAlter User Statement: <ALTER USER PDMADM IDENTIFIED BY "***" DEFAULT TABLESPACE "USERS"'
expect_contains "$RUN.trace" '\nTESADM Connection OK'
# The temporary password is taken back after the data steps used it.
sed -n '/^St_ZEPSuppChain Begin/,$p' "$RUN.trace" >"$WORK/after-data"
expect_contains "$WORK/after-data" '\nAlter User Statement: <ALTER USER PDMADM IDENTIFIED EXTERNALLY>'
expect_lines "$(grep -c 'ALTER USER PDMADM IDENTIFIED EXTERNALLY' "$RUN.trace")" 1 \
  "the switches of PDMADM back to external"
[ "$(auth_of PDMADM)" = EXTERNAL ] || fail "PDMADM is $(auth_of PDMADM) after the second run"
[ "$(auth_of PDMDIC2)" = PASSWORD ] || fail "PDMDIC2 is $(auth_of PDMDIC2)"
[ "$(tables_of PDMDIC2)" = "$expected_tables" ] || fail "PDMDIC2 holds $(tables_of PDMDIC2) tables"
expect_no_secret sandbox "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err"
expect_no_secret pdmdic2-secret "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err"
finish
