# A second installation into a database that already holds the schema stops at
# the check, before any change, naming the schema owner in its box.
. "$(dirname "$0")/lib.sh"
new_site

response_file "$WORK/db2.rsp" db2 db2_local_database db2_existing_tablespace
run_wizard first "$WORK/db2.rsp"
expect_run 0 "first installation" || finish
expect_not_contains "$RUN.transcript" '"event":"box"'

db_snapshot PDMDB "$WORK/installed"
run_wizard second "$WORK/db2.rsp"
expect_run 1 "second installation into the same schema"
expect_contains "$RUN.err" '\nFATAL Error in Installation Second Process\n'
expected="ZEP2ErrInSubsIdle|$(msg_text ZEP2DlgREPORT ERRMSGWndTitleALLRINST)|$(msg_text ZEP2DlgREPORT ERRMSGTextToDisplayForALLRINST | sed 's/%1/PDMDICO/')|OK"
expect_lines "$(boxes_of "$RUN.transcript")" "$expected" "the boxes of the second run"
expect_contains "$RUN.err" "$(msg_text ZEP2DlgREPORT ERRMSGTextToDisplayForALLRINST | sed 's/%1/PDMDICO/')"
# The first modeler's check finds its table and nothing else runs; the
# rollback puts back the server settings the run had written.
expect_lines "$(steps_of "$RUN.trace" | sed -n '/^St_GenEnvFiles$/,$p')" \
  "$(printf 'St_GenEnvFiles\nSt_ChkDBAlreadyInstall\nSt_AbortInst\nSt_PlayDROPDDL\nSt_AbortInst')" \
  "the second run's steps"
expect_contains "$RUN.trace" '\nTESSAR DB SETUP FAILED!\n'
expect_not_contains "$RUN.trace" '\nINSTALLATION ENDED\n'
[ -z "$(ls -A "$QelUserSettingPath" | grep '^TESSARInst\.')" ] || fail "settings file left"
db_snapshot PDMDB "$WORK/after"
expect_same_db "$WORK/installed" "$WORK/after" "the refused second installation"
finish
