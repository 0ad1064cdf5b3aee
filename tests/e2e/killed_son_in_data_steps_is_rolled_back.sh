# A son killed in the data steps (the start-up data load and every step after
# it): its father ends with 1 and its FATAL line, the settings file with the
# passwords is gone, and the next run rolls the interrupted installation back,
# server settings included, so the database is as it was before.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_stop.sh"
new_site

answers() {
  cat <<'RSP'
[PanelTESADM]
EditorTESADM = pdmadm
EditorTESADMP = sandbox
[PanelDBMSType]
RadButIBMUDB = checked
[PanelTESDICO]
EditorTESDICO = pdmdico
[PanelDB2Param]
ComboDB2Instance = db2inst1
[PanelDB2Param2]
ComboDB2AliasName = PDMDB
[PanelDBAUSER]
EditorDBAUSERP = sandbox
RSP
}
{ answers; printf '[PanelTBSTypicalSel]\nComboTBSTypicalSel = USERSPACE1\n'; } >"$WORK/install.rsp"
{ answers; printf '[PanelTBSTypicalSel]\nbutton = Cancel\n[ZEP2CancelInCallBack]\nanswers = OK\n'
  printf '[ZEP2YesNoInCallBack]\nanswers = Yes\n'; } >"$WORK/recover.rsp"
journal=$QelUserSettingPath/TESSARUndo.DB2.PDMDB.journal
db_snapshot PDMDB "$WORK/before"

# killed_at LABEL TEXT: the son is killed where its trace receives TEXT.
killed_at() {
  local label=$1 text=$2
  start_stopping_run "$label" "$WORK/install.rsp" "$text" || return
  # The son stopped in the data steps, not before them.
  grep -q '^St_ZEPProject Begin' "$RUN.trace" || fail "$label: stopped before the data steps"
  kill -KILL "$stopped"
  end_run
  expect_run 1 "$label: a father whose son was killed" || return
  expect_contains "$RUN.err" '\nFATAL Error in Installation Second Process\n'
  [ -z "$(ls -A "$QelUserSettingPath" | grep '^TESSARInst\.')" ] || fail "$label: settings file left"
  expect_no_secret sandbox "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err" "$RUN.out" \
    "$RUN.stderr"
  grep -q '^undo=DROP TABLE PDMDICO\.' "$journal" 2>/dev/null || fail "$label: no drops journaled"
  grep -q '^undo=REMOVE SERVER SETTING "TESCOMMON" OF "PDMDB" VENDOR 1$' "$journal" 2>/dev/null ||
    fail "$label: the server settings are not journaled"
  db_snapshot PDMDB "$WORK/killed"
  cmp -s "$WORK/before" "$WORK/killed" && fail "$label: the son had created nothing"

  run_wizard "$label-recover" "$WORK/recover.rsp"
  expect_run 2 "$label: the run after the killed one"
  expect_contains "$RUN.log" 'An earlier installation into PDMDB was interrupted'
  expect_contains "$RUN.trace" \
    '\nInterrupted installation undo : <REMOVE SERVER SETTING "TESCOMMON" OF "PDMDB" VENDOR 1>'
  [ -e "$journal" ] && fail "$label: the journal stayed after its rollback"
  db_snapshot PDMDB "$WORK/after"
  expect_same_db "$WORK/before" "$WORK/after" "$label: the database after the rollback"
}

killed_at project-load $'\nZEPPROJECT'
killed_at data-manager 'Open ZEPSession : OK'
killed_at status-graphs 'St_ZEPRDBEI Import Status Graph File'
killed_at supply-chain 'St_ZEPSuppChain Begin'
killed_at authentication-back 'St_AlterUserTmpSrvSys Begin'
killed_at last-configuration 'St_AlterUserDefSrvSys QelSubsribeIdle St_GenEnvFiles'
finish
