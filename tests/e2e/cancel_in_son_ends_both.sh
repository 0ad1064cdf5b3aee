# Cancel confirmed in the son ends son and father with 2, changing nothing and
# leaving no settings file; Cancel not confirmed keeps the page as it was.
. "$(dirname "$0")/lib.sh"
new_site

CANCEL_BOX="ZEP2CancelInCallBack|$(msg_text ZEP2DlgDBAUSER CANCELWndTitle)|$(msg_text ZEP2DlgDBAUSER CANCELTextToDisplayForCANCEL)"
db_snapshot PDMDB "$WORK/before"

response_file "$WORK/confirmed.rsp" db2 db2_local_database - <<'RSP'
[PanelDBAUSER]
EditorDBAUSER = db2inst1
EditorDBAUSERP = @PASSWORD@
button = Cancel
[ZEP2CancelInCallBack]
answers = OK
RSP
run_wizard confirmed "$WORK/confirmed.rsp"
expect_run 2 "Cancel confirmed on the son's DBA page"
mapfile -t pids < <(pids_of "$RUN.transcript")
father=${pids[0]:-none} son=${pids[1]:-none}
expect_lines "$(boxes_of "$RUN.transcript")" "$CANCEL_BOX|OK" "the boxes"
expect_lines "$(pages_of "$RUN.transcript" "$son")" "$(printf 'PanelDB2Param2\nPanelDBAUSER')" \
  "the son's pages"
expect_contains "$RUN.transcript" "{\"pid\":$son,\"event\":\"exit\",\"status\":2,"
[[ $(tail -n 1 "$RUN.transcript") == "{\"pid\":$father,\"event\":\"exit\",\"status\":2,"* ]] ||
  fail "the father did not end last with 2: $(tail -n 1 "$RUN.transcript")"
expect_contains "$RUN.trace" '\nCB_DBAUSER_Cancel CANCEL'
expect_contains "$RUN.trace" '\nhand CLOSE or CANCEL code! (2)'
expect_not_contains "$RUN.trace" 'St_GenEnvFiles Begin'
leftover=$(ls -A "$QelUserSettingPath" | grep '^TESSARInst\.')
[ -z "$leftover" ] || fail "settings files left after a cancelled run: $leftover"
db_snapshot PDMDB "$WORK/after-confirmed"
expect_same_db "$WORK/before" "$WORK/after-confirmed" "a cancelled run"

# Not confirmed: the next press of the same page finds the typed answers
# still there; the later Cancel on the tablespace page is confirmed.
response_file "$WORK/refused.rsp" db2 db2_local_database - <<'RSP'
[PanelDBAUSER]
EditorDBAUSER = db2inst1
EditorDBAUSERP = @PASSWORD@
button = Cancel
[PanelDBAUSER#2]
button = Next
[PanelTBSTypicalSel]
button = Cancel
[ZEP2CancelInCallBack]
answers = Cancel, OK
RSP
run_wizard refused "$WORK/refused.rsp"
expect_run 2 "Cancel refused on the DBA page, confirmed on the tablespace page"
mapfile -t pids < <(pids_of "$RUN.transcript")
son=${pids[1]:-none}
expect_lines "$(pages_of "$RUN.transcript" "$son")" \
  "$(printf 'PanelDB2Param2\nPanelDBAUSER\nPanelTBSTypicalSel')" "the son's pages"
expect_lines "$(boxes_of "$RUN.transcript" | cut -d'|' -f1,4)" \
  "$(printf 'ZEP2CancelInCallBack|Cancel\nZEP2CancelInCallBack|OK')" "the Cancel boxes"
expect_lines "$(grep "\"pid\":$son,\"event\":\"button\"" "$RUN.transcript" | sed 's/.*"page":"\([^"]*\)","button":"\([^"]*\)".*/\1 \2/')" \
  "$(printf 'PanelDB2Param2 Next\nPanelDBAUSER Cancel\nPanelDBAUSER Next\nPanelTBSTypicalSel Cancel')" \
  "the son's presses"
# Both processes append to the trace, so only single lines are looked for.
expect_contains "$RUN.trace" '\nCB_DBAUSER_Cancel CANCEL'
expect_contains "$RUN.trace" '\nPressedButton : 2'
expect_contains "$RUN.trace" '\nCB_TBSTypicalSel_Cancel CANCEL'
expect_contains "$RUN.transcript" "{\"pid\":$son,\"event\":\"exit\",\"status\":2,"
[ -z "$(ls -A "$QelUserSettingPath" | grep '^TESSARInst\.')" ] || fail "settings file left"
db_snapshot PDMDB "$WORK/after-refused"
expect_same_db "$WORK/before" "$WORK/after-refused" "a run cancelled on the tablespace page"
finish
