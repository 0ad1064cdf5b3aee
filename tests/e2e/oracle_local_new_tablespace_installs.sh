# Oracle, local service, new tablespace: its data file is made, each missing user
# is asked for, then created with a password there, and the schema lands in it.
. "$(dirname "$0")/lib.sh"
new_site

response_file "$WORK/oracle.rsp" oracle oracle_new_tablespace oracle_local_confirmed

run_wizard oracle "$WORK/oracle.rsp"
expect_run 0 "Oracle local installation with a new tablespace"

datafile=$TESSARDBSETUP_SANDBOX/tablespaces/PDMTBS.dbf
[ -f "$datafile" ] || fail "no data file $datafile: $(ls "$TESSARDBSETUP_SANDBOX/tablespaces")"
containers=$(db_query PDMORA '
print(next((t["containers"] for t in db["tablespaces"] if t["name"] == "PDMTBS"), "missing"))')
[ "$containers" = "$datafile" ] || fail "tablespace PDMTBS has containers '$containers'"

users=$(db_query PDMORA '
for u in db["users"]:
    if u["name"] in ("PDMADM", "PDMDICO"):
        print(u["name"], u["authentication"], u["default_tablespace"])')
expect_lines "$users" "$(printf 'PDMADM PASSWORD PDMTBS\nPDMDICO PASSWORD PDMTBS')" \
  "the created users"

grep -ho 'CREATE TABLE $(SCHEMA)\.[A-Z0-9_]*' "$QelReffilesPath"/DBMS/ddl/*.sql \
  --exclude='*VAULTFILE*' | sed 's/.*\./PDMDICO PDMTBS /' | sort >"$WORK/expected-tables"
db_query PDMORA '
for o in db["objects"]:
    if o["type"] == "TABLE":
        print(o["schema"], o["tablespace"], o["name"])' | sort >"$WORK/tables"
if ! cmp -s "$WORK/expected-tables" "$WORK/tables"; then
  fail "the tables of PDMORA are not the DDL files' tables, owned by PDMDICO in PDMTBS"
  diff "$WORK/expected-tables" "$WORK/tables" | head -n 20 >&2
fi

# One question per user to create, administrator first, both accepted.
grep '"event":"box"' "$RUN.transcript" >"$WORK/boxes"
expect_lines "$(sed 's/.*"class":"\([^"]*\)".*"answer":"\([^"]*\)".*/\1 \2/' "$WORK/boxes")" \
  "$(printf 'ZEP2YesNoInCallBack Yes\nZEP2YesNoInCallBack Yes')" "the boxes of the run"
expect_lines "$(grep -o 'The database user [A-Z]* does not exist yet' "$WORK/boxes")" \
  "$(printf 'The database user PDMADM does not exist yet\nThe database user PDMDICO does not exist yet')" \
  "the creation questions"
expect_contains "$RUN.trace" '\nProposition create user <PDMADM> acceptee'
expect_contains "$RUN.trace" '\nProposition create user <PDMDICO> acceptee'
expect_contains "$RUN.trace" "\nCreate tablespace statement: <CREATE TABLESPACE \"PDMTBS\" DATAFILE '$datafile' SIZE 50M AUTOEXTEND ON NEXT 500K MAXSIZE UNLIMITED"
expect_contains "$RUN.trace" '\nCreate user statement: <CREATE USER PDMDICO IDENTIFIED BY "***" DEFAULT TABLESPACE "PDMTBS" QUOTA UNLIMITED ON "PDMTBS"'

expect_no_secret sandbox "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err"
expect_no_secret dicopass "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err"
finish
