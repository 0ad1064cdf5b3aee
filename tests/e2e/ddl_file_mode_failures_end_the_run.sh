# In DDL-file mode an installation that stops (a DDL file path that is a
# directory, No to an Oracle user creation) still ends the run with a failure
# status instead of leaving it waiting; a DDL file or a log that existed with
# a wider mode is owner-only once the wizard has written it.
. "$(dirname "$0")/lib.sh"
new_site

# oracle_answers DDL_FILE OUT: Oracle objects into the existing USERS, written
# to DDL_FILE.
oracle_answers() {
  response_file "$2" oracle oracle_existing_tablespace ddl_file DDL_FILE="$1"
}
mkdir -p "$TESSARDBSETUP_SANDBOX/ddlout/a-directory.sql"
db_snapshot PDMORA "$WORK/before"

# The DDL file cannot be created: the first statement written fails.
oracle_answers a-directory.sql "$WORK/directory.rsp"
run_wizard directory "$WORK/directory.rsp"
expect_run 1 "a DDL file path that is a directory"
expect_contains "$RUN.err" '\nZEP2 Installation failed: create DDL file error !!!\n'
expect_contains "$RUN.transcript" '"status":3,"outcome":"installation failed and was rolled back"'
expect_contains "$RUN.trace" '\nTESSAR DB SETUP FAILED!\n'

# No to the creation of the first user.
oracle_answers pdm.sql "$WORK/refused.rsp"
printf '[ZEP2YesNoInCallBack]\nanswers = No\n' >>"$WORK/refused.rsp"
run_wizard refused "$WORK/refused.rsp"
expect_run 1 "No to a user creation in DDL-file mode"
expect_contains "$RUN.trace" '\nProposition create user <PDMADM> refusee'
db_snapshot PDMORA "$WORK/after"
expect_same_db "$WORK/before" "$WORK/after" "DDL-file mode"

# Files that existed with a wider mode.
ddl=$TESSARDBSETUP_SANDBOX/ddlout/pdm.sql
: >"$ddl"
chmod 0644 "$ddl"
for suffix in log err trace; do : >"$WORK/wide.$suffix" && chmod 0644 "$WORK/wide.$suffix"; done
oracle_answers pdm.sql "$WORK/modes.rsp"
env TESSARDBSETUP_TRANSCRIPT="$WORK/modes.transcript" timeout -k 10 300 "$BIN/tessardbsetup" \
  -responsefile "$WORK/modes.rsp" -logout "$WORK/wide.log" -logerr "$WORK/wide.err" \
  -logtrace "$WORK/wide.trace" </dev/null >/dev/null 2>&1
expect_status $? 0 "an installation into an existing DDL file"
for file in "$ddl" "$WORK/wide.log" "$WORK/wide.err" "$WORK/wide.trace"; do
  [ "$(stat -c %a "$file")" = 600 ] || fail "$file kept mode $(stat -c %a "$file")"
done
grep -q 'IDENTIFIED BY "dicopass"' "$ddl" || fail "the DDL file lacks the owner's creation"
finish
