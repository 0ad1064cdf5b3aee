# A new tablespace may not take the name of one the DBMS keeps for itself,
# although the listing leaves those out: SYSTEM, SYSAUX and TEMP are refused
# on the tablespace page as names in use, and nothing is created.
. "$(dirname "$0")/lib.sh"
new_site
db_snapshot PDMORA "$WORK/before"
for name in SYSTEM sysaux Temp; do
  response_file "$WORK/$name.rsp" oracle oracle_new_tablespace - <<RSP
[PanelTBSTypical]
EditorTBSTypicalName = $name
EditorTBSTypicalDir = $TESSARDBSETUP_SANDBOX
RSP
  run_wizard "$name" "$WORK/$name.rsp"
  expect_run 2 "a new tablespace named $name" || continue
  boxes_of "$RUN.transcript" | grep '^ZEP2ErrInCallBack|' | cut -d'|' -f3 >"$RUN.boxes"
  expect_lines "$(cat "$RUN.boxes")" "$(msg_text ZEP2DlgTBSTypical ERRMSGTextToDisplayForTBSTYPINameW)" \
    "the refusal of $name"
  expect_not_contains "$RUN.trace" 'St_TypicalTBSCreation Begin'
done
db_snapshot PDMORA "$WORK/after"
expect_same_db "$WORK/before" "$WORK/after" "refused tablespace names"
finish
