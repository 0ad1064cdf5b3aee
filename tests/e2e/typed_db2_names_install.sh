# A DB2 instance and a database that the listings miss are typed into their
# combos: the run goes on with the typed names and installs into that
# database; a typed name that does not exist is refused with its message and
# the page's answers are kept.
. "$(dirname "$0")/lib.sh"
new_site site --unlisted-instance db2spare
"$BIN/tessardbsetup-sandbox" db create --dbms db2 --instance db2spare --alias PDMEXTRA \
  >"$WORK/db-create.out" 2>&1 || fail "db create PDMEXTRA: $(cat "$WORK/db-create.out")"
mkdir -p "$SITE/db2data-db2spare/PDMEXTRA"

# The pages up to the instance, shared by every run below.
cat >"$WORK/first-pages.rsp" <<'RSP'
[PanelTESADM]
EditorTESADM = pdmadm
EditorTESADMP = sandbox
[PanelTOEXE]
ChkButTOEXEDBObj = checked
ChkButTOEXEStartupData = unchecked
[PanelDBMSType]
RadButIBMUDB = checked
[PanelTESDICO]
EditorTESDICO = pdmdico
RSP

# An instance nobody has: no account, so no home to propose.
cat "$WORK/first-pages.rsp" - >"$WORK/lost.rsp" <<'RSP'
[PanelDB2Param]
ComboDB2Instance = db2lost
RSP
run_wizard lost "$WORK/lost.rsp"
expect_run 2 "a typed instance that does not exist"
expect_contains "$RUN.stderr" 'Installation cannot find directory : '
expect_contains "$RUN.transcript" \
  '"widget":"ComboDB2Instance","value":"db2lost","typed":1,"accepted":1}'
expect_not_contains "$RUN.transcript" '"page":"PanelDB2Param2"'
expect_contains "$RUN.trace" '\nGetLine Selected : <db2lost>'

# The unlisted instance and a database its directory does not catalogue: the
# database is local, in the directory typed beside it.
cat "$WORK/first-pages.rsp" - >"$WORK/typed.rsp" <<'RSP'
[PanelDB2Param]
ComboDB2Instance = db2spare
[PanelDB2Param2]
ComboDB2AliasName = PDMEXTRA
EditorDB2DriveDir = ${TESSARDBSETUP_SANDBOX}/db2data-db2spare/PDMEXTRA
[PanelDBAUSER]
EditorDBAUSER = db2spare
EditorDBAUSERP = sandbox
[PanelTBSTypicalSel]
ComboTBSTypicalSel = USERSPACE1
RSP
grep -q 'db2spare' "$SITE/pdm/code/command/GetDB2IList.sh" &&
  fail "the site's instance listing names db2spare: nothing is typed"
run_wizard typed "$WORK/typed.rsp"
expect_run 0 "an installation into a typed instance and database"
expect_contains "$RUN.transcript" \
  '"widget":"ComboDB2Instance","value":"db2spare","typed":1,"accepted":1}'
expect_contains "$RUN.transcript" \
  '"widget":"ComboDB2AliasName","value":"PDMEXTRA","typed":1,"accepted":1}'
expect_contains "$RUN.trace" "\nDB2 instance home directory: $SITE/home/db2spare"
expect_contains "$RUN.trace" '\nDB2InstanceLoginName GetLine Selected : <db2spare>'
expect_contains "$RUN.trace" '\nINSTALLATION ENDED\n'
tables=$(db_query PDMEXTRA 'print(len([o for o in db["objects"] if o["type"] == "TABLE"]))' \
  --instance db2spare)
[ "${tables:-0}" -gt 0 ] || fail "no table in the typed database PDMEXTRA of db2spare"
listed=$(db_query PDMDB 'print(len([o for o in db["objects"] if o["type"] == "TABLE"]))' \
  --instance db2spare)
[ "${listed:-1}" -eq 0 ] || fail "the listed PDMDB of db2spare got $listed tables"
expect_no_secret sandbox "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err"

# A database nobody catalogued or created, typed without a directory: remote,
# and the administrator connection says it cannot be found; the alias page
# is not left with another database.
sed -e 's/^ComboDB2AliasName = PDMEXTRA$/ComboDB2AliasName = PDMNONE/' \
  -e '/^EditorDB2DriveDir = /d' "$WORK/typed.rsp" >"$WORK/none.rsp"
run_wizard none "$WORK/none.rsp"
expect_run 2 "a typed database that does not exist"
boxes=$(boxes_of "$RUN.transcript")
[[ $boxes == ZEP2ErrInCallBack\|*SQL1013N*PDMNONE* ]] ||
  fail "the connection's error box does not name PDMNONE: $boxes"
[ "$(pages_of "$RUN.transcript" "$(pids_of "$RUN.transcript" | tail -n 1)" | tail -n 1)" = \
  PanelDBAUSER ] || fail "the run did not stop on the administrator page"
finish
