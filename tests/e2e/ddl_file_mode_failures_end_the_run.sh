# In DDL-file mode an installation that stops (a DDL file path that is a
# directory, a symbolic link, a named pipe, a hard link or in a missing
# directory; No to an Oracle user creation) still ends the run with a failure
# status, the path and the reason said, instead of leaving it waiting; an
# existing DDL file is kept as <name>.1; a DDL file or a log that existed
# with a wider mode is owner-only once the wizard has written it.
. "$(dirname "$0")/lib.sh"
new_site

# oracle_answers DDL_FILE OUT: Oracle objects into the existing USERS, written
# to DDL_FILE.
oracle_answers() {
  response_file "$2" oracle oracle_existing_tablespace ddl_file DDL_FILE="$1"
}
mkdir -p "$TESSARDBSETUP_SANDBOX/ddlout/a-directory.sql"
db_snapshot PDMORA "$WORK/before"

ddlout=$TESSARDBSETUP_SANDBOX/ddlout
echo 'kept' >"$WORK/link-target"
ln -s "$WORK/link-target" "$ddlout/a-link.sql"
mkfifo "$ddlout/a-pipe.sql"
echo '-- a DBA file' >"$WORK/other-name.sql"
ln "$WORK/other-name.sql" "$ddlout/a-hard-link.sql"

# cannot_create TAG FILE REASON: the DDL file cannot be created; the error
# log and the last line on stderr give its path and why, the first
# statement written fails, and the run ends at once with 1 (the son 3).
cannot_create() {
  oracle_answers "$2" "$WORK/$1.rsp"
  run_wizard "$1" "$WORK/$1.rsp"
  expect_run 1 "a DDL file path that $3" || return
  local told="ZEP2 Installation failed: create DDL file error !!! $ddlout/$2: $3"
  expect_contains "$RUN.err" "\n$told\n"
  expect_contains "$RUN.stderr" "first error: $told;"
  expect_contains "$RUN.transcript" '"status":3,"outcome":"installation failed and was rolled back"'
  expect_contains "$RUN.trace" '\nTESSAR DB SETUP FAILED!\n'
}
cannot_create directory a-directory.sql "is a directory"
cannot_create link a-link.sql "is a symbolic link (refused: it is never followed)"
cannot_create pipe a-pipe.sql "is a named pipe (FIFO), not a regular file"
cannot_create hard-link a-hard-link.sql "has 2 links (a hard link is refused)"
cannot_create missing no-such-directory/pdm.sql "its directory does not exist"
[ "$(cat "$WORK/link-target")" = kept ] || fail "the file behind the link was written"
[ "$(cat "$WORK/other-name.sql")" = '-- a DBA file' ] || fail "the hard-linked file was written"
[ -p "$ddlout/a-pipe.sql" ] || fail "the named pipe was replaced"

# No to the creation of the first user.
oracle_answers pdm.sql "$WORK/refused.rsp"
printf '[ZEP2YesNoInCallBack]\nanswers = No\n' >>"$WORK/refused.rsp"
run_wizard refused "$WORK/refused.rsp"
expect_run 1 "No to a user creation in DDL-file mode"
expect_contains "$RUN.trace" '\nProposition create user <PDMADM> refusee'
db_snapshot PDMORA "$WORK/after"
expect_same_db "$WORK/before" "$WORK/after" "DDL-file mode"

# Files that existed with a wider mode; the existing DDL file is kept as
# pdm.sql.1, its bytes and mode as they were, never overwritten.
ddl=$ddlout/pdm.sql
echo '-- edited by the DBA' >"$ddl"
chmod 0644 "$ddl"
for suffix in log err trace; do : >"$WORK/wide.$suffix" && chmod 0644 "$WORK/wide.$suffix"; done
oracle_answers pdm.sql "$WORK/modes.rsp"
env TESSARDBSETUP_TRANSCRIPT="$WORK/modes.transcript" timeout -k 10 300 "$BIN/tessardbsetup" \
  -responsefile "$WORK/modes.rsp" -logout "$WORK/wide.log" -logerr "$WORK/wide.err" \
  -logtrace "$WORK/wide.trace" </dev/null >/dev/null 2>"$WORK/modes.stderr"
expect_status $? 0 "an installation into an existing DDL file"
for file in "$ddl" "$WORK/wide.log" "$WORK/wide.err" "$WORK/wide.trace"; do
  [ "$(stat -c %a "$file")" = 600 ] || fail "$file kept mode $(stat -c %a "$file")"
done
grep -q 'IDENTIFIED BY "dicopass"' "$ddl" || fail "the DDL file lacks the owner's creation"
[ "$(cat "$ddl.1" 2>/dev/null)" = '-- edited by the DBA' ] || fail "the earlier DDL file is not kept"
[ "$(stat -c %a "$ddl.1")" = 644 ] || fail "the kept DDL file changed its mode"
expect_contains "$WORK/modes.stderr" "the existing DDL file $ddl is kept as $ddl.1\n"
expect_contains "$WORK/wide.log" "\nthe existing DDL file $ddl is kept as $ddl.1\n"
finish
