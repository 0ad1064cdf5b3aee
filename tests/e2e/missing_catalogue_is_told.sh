# Without the message catalogues the program says so once, and a refusal it
# cannot put in words names the answers refused instead (passwords hidden).
. "$(dirname "$0")/lib.sh"
new_site
cat >"$WORK/wrong.rsp" <<'RSP'
[PanelTESADM]
EditorTESADM = pdmadm
EditorTESADMP = Wr0ngPass
RSP
run_wizard nocatalogue "$WORK/wrong.rsp" QelMsgCatalogPath="$WORK/no-such-directory"
expect_run 2 "a wrong password without catalogues"
[ "$(grep -c 'message catalogue .* not found' "$RUN.stderr")" -eq 1 ] ||
  fail "the missing catalogue is not said exactly once: $(cat "$RUN.stderr")"
expect_contains "$RUN.stderr" "not found in $WORK/no-such-directory"
expect_contains "$RUN.stderr" "PanelTESADM refused the answers (its message has no text"
expect_contains "$RUN.stderr" "EditorTESADM = 'pdmadm', EditorTESADMP = '***'"
expect_no_secret Wr0ngPass "$RUN".*
finish
