# A refused answer shows its page's box: stopping on refusals ends with 2 and the
# box's text on stderr; going on retries the page and keeps earlier answers.
. "$(dirname "$0")/lib.sh"
new_site

# refused TAG FILE CLASS TITLE TEXT: the run stops on the box CLASS with TITLE
# and TEXT (\n for line breaks), answered OK, and says so on stderr.
refused() {
  run_wizard "$1" "$2"
  expect_run 2 "$1" || return
  local box="$3|$4|$5|OK"
  boxes_of "$RUN.transcript" >"$RUN.boxes"
  if [ "$(cat "$RUN.boxes")" != "$box" ]; then
    fail "$1: the boxes shown are not the expected one"
    printf 'expected: %s\nshown:    %s\n' "$box" "$(cat "$RUN.boxes")" >&2
  fi
  expect_contains "$RUN.stderr" "refused the answers: $4: $5"
  expect_contains "$RUN.transcript" '"event":"exit","status":2,'
  [ -z "$(ls "$QelUserSettingPath" | grep '^TESSARInst\.')" ] || fail "$1: settings file left"
}

TESADM_TITLE=$(msg_text ZEP2DlgTESADM ERRMSGWndTitle)

printf '[PanelTESADM]\nEditorTESADM = root\nEditorTESADMP = sandbox\n' >"$WORK/root.rsp"
refused root "$WORK/root.rsp" ZEP2ErrInCallBack "$TESADM_TITLE" \
  "$(msg_text ZEP2DlgTESADM ERRMSGRootUserForbidden)"
expect_contains "$RUN.trace" '\nUser root tried to login and was rejected'

printf '[PanelTESADM]\nEditorTESADM = pdmadm\nEditorTESADMP = Wr0ngPass\n' >"$WORK/badpass.rsp"
refused wrong-password "$WORK/badpass.rsp" ZEP2ErrInCallBack "$TESADM_TITLE" \
  "$(msg_text ZEP2DlgTESADM ERRMSGInvalidPassword)"
expect_no_secret Wr0ngPass "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err" "$RUN.stderr"

printf '[PanelTESADM]\nEditorTESADM = nosuchadm\nEditorTESADMP = sandbox\n' >"$WORK/nouser.rsp"
refused unknown-user "$WORK/nouser.rsp" ZEP2ErrInCallBack "$TESADM_TITLE" \
  "$(msg_text ZEP2DlgTESADM ERRMSGInvalidUsername)"

response_file "$WORK/nodbapass.rsp" db2 - <<'RSP'
[PanelDBAUSER]
EditorDBAUSER = db2inst1
EditorDBAUSERP = ""
RSP
refused empty-dba-password "$WORK/nodbapass.rsp" ZEP2ErrInCallBack \
  "$(msg_text ZEP2DlgDBAUSER ERRMSGWndTitle)" "$(msg_text ZEP2DlgDBAUSER ERRMSGTextToDisplayForDBAUSERP)"
[ "$(pids_of "$RUN.transcript" | wc -l)" -eq 2 ] || fail "the DBA page's refusal did not come from the son"

missing=$SITE/no/such/instance-home
response_file "$WORK/nohome.rsp" db2 - <<RSP
[PanelDB2Param]
ComboDB2Instance = Others ...
EditorDB2InstanceHD = $missing
RSP
refused missing-instance-home "$WORK/nohome.rsp" ZEP2ErrDlgDir "KEYBOARD INPUT ERROR" \
  "INPUT ERROR:\\nInstallation cannot find directory : \\n$missing"
[ "$(pids_of "$RUN.transcript" | wc -l)" -eq 1 ] || fail "a son was started for a missing instance home"

# A net service name no client resolves is refused on its own page, by its
# name, before any second process starts.
response_file "$WORK/wrongservice.rsp" oracle - <<'RSP'
[PanelORAParam2]
EditorORAServiceName = PDMWRONG
RSP
run_wizard wrong-service "$WORK/wrongservice.rsp"
if expect_run 2 wrong-service; then
  expect_contains "$RUN.stderr" "refused the answers: $(msg_text ZEP2DlgORAParam2 ERRMSGWndTitle): \
The Oracle net service name \"PDMWRONG\" cannot be resolved: no ODBC data source has that name"
  expect_contains "$RUN.stderr" "tnsnames.ora does not define it (it defines: \"PDMORA\")"
  expect_not_contains "$RUN.stderr" "account"
  [ "$(pids_of "$RUN.transcript" | wc -l)" -eq 1 ] || fail "a son was started for an unknown service"
fi

small=$SITE/small
mkdir -p "$small"
if mount -t tmpfs -o size=1m tmpfs "$small" 2>"$WORK/mount.err"; then
  trap 'umount "$small" 2>/dev/null; rm -rf "$WORK"' EXIT
  response_file "$WORK/small.rsp" oracle oracle_new_tablespace - <<RSP
[PanelTBSTypical]
EditorTBSTypicalDir = $small
RSP
  refused too-little-space "$WORK/small.rsp" ZEP2ErrInCallBack \
    "$(msg_text ZEP2DlgTBSTypical ERRMSGWndTitle)" \
    "$(msg_text ZEP2DlgTBSTypical ERRMSGTextToDisplayForSPACE_TBSDATAFILE)"
  expect_contains "$RUN.trace" '\nNot enough space!'
  [ -z "$(ls -A "$small")" ] || fail "a refused directory got files: $(ls -A "$small")"
  umount "$small"
else
  echo "skipped: the too-little-space check needs a tmpfs mount ($(cat "$WORK/mount.err"))"
fi

# --- Going on after refusals -------------------------------------------------
# Each refusal comes after pages already answered; a second section corrects it.
response_file "$WORK/continue-db2.rsp" db2 db2_local_database db2_existing_tablespace - <<RSP
[options]
on-refusal = continue
[PanelTESADM]
EditorTESADM = pdmadm
EditorTESADMP = Wr0ngPass
[PanelTESADM#2]
EditorTESADMP = @PASSWORD@
[PanelDB2Param]
ComboDB2Instance = Others ...
EditorDB2InstanceHD = $missing
[PanelDB2Param#2]
ComboDB2Instance = db2inst1
[PanelDBAUSER]
EditorDBAUSER = db2inst1
EditorDBAUSERP = Wr0ngPass
[PanelDBAUSER#2]
EditorDBAUSERP = @PASSWORD@
RSP
run_wizard continue-db2 "$WORK/continue-db2.rsp"
expect_run 0 "DB2 run going on after three refusals"
boxes_of "$RUN.transcript" | cut -d'|' -f1,2 >"$RUN.boxes"
expect_lines "$(cat "$RUN.boxes")" "$(printf '%s\n' "ZEP2ErrInCallBack|$TESADM_TITLE" \
  "ZEP2ErrDlgDir|KEYBOARD INPUT ERROR" \
  "ZEP2ErrInCallBack|$(msg_text ZEP2DlgDBAUSER ERRMSGWndTitleDBCONN)")" "the refusals' boxes"
expect_contains "$RUN.transcript" 'The database said: \\nSQL30082N  Security processing failed with reason'
for line in "PDM administrator account: pdmadm" "Dictionary owner account: PDMDICO" \
  "DB2 database: local" "DB2 instance: db2inst1" "DB2 database alias: PDMDB" \
  "Database administrator account: DB2INST1"; do
  expect_contains "$RUN.log" "\n$line\n"
done
expect_contains "$RUN.trace" '\nINSTALLATION ENDED\n'
admin=$(db_query PDMDB 'print(" ".join(u["name"] for u in db["users"] if u["name"] == "PDMADM"))')
[ "$admin" = PDMADM ] || fail "the DB2 run that went on did not install PDMADM"
expect_no_secret Wr0ngPass "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err" "$RUN.stderr"

response_file "$WORK/continue-oracle.rsp" oracle oracle_new_tablespace - <<RSP
[options]
on-refusal = continue
[PanelTBSTypical]
EditorTBSTypicalDir = $SITE/no/such/directory
[PanelTBSTypical#2]
EditorTBSTypicalDir = $TESSARDBSETUP_SANDBOX/tablespaces
RSP
run_wizard continue-oracle "$WORK/continue-oracle.rsp"
expect_run 0 "Oracle run going on after a refused tablespace directory"
expect_lines "$(boxes_of "$RUN.transcript" | cut -d'|' -f1,3 | grep ErrInCallBack)" \
  "ZEP2ErrInCallBack|$(msg_text ZEP2DlgTBSTypical ERRMSGTextToDisplayForWRONG_TBSDATAFILE)" \
  "the refused directory's box"
for line in "Dictionary owner account: PDMDICO" "Oracle database: local" \
  "Oracle net service name: PDMORA" "Database administrator account: SYSTEM"; do
  expect_contains "$RUN.log" "\n$line\n"
done
[ -f "$TESSARDBSETUP_SANDBOX/tablespaces/PDMTBS.dbf" ] ||
  fail "the corrected tablespace directory has no PDMTBS data file"
users=$(db_query PDMORA '
print(" ".join(u["name"] + ":" + u["default_tablespace"] for u in db["users"] if u["name"].startswith("PDM")))')
[ "$users" = "PDMADM:PDMTBS PDMDICO:PDMTBS" ] || fail "the Oracle users after the retry: $users"
finish
