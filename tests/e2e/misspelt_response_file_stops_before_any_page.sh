# The whole response file is checked against the pages as built before any page
# is shown: a misspelt page, widget, box class or visit is reported with its
# line, and the run ends with 2 having shown and done nothing.
. "$(dirname "$0")/lib.sh"
new_site

# Answers of a complete DB2 installation, one a line in page order; a case
# spoils one line of them.
response_file "$WORK/good.rsp" db2 db2_local_database db2_existing_tablespace - <<'RSP'
[ZEP2YesNoInCallBack]
answers = Yes
RSP
db_snapshot PDMDB "$WORK/before"

# stops TAG LINE FROM TO MESSAGE: with line LINE of the good file changed
# from FROM to TO, the run stops before any page with "rsp:LINE: MESSAGE".
stops() {
  local tag=$1 line=$2 from=$3 to=$4 message=$5
  local answers=$WORK/$tag.rsp
  sed "${line}s/^$from\$/$to/" "$WORK/good.rsp" >"$answers"
  cmp -s "$answers" "$WORK/good.rsp" && fail "$tag: line $line is not '$from'"
  run_wizard "$tag" "$answers"
  expect_run 2 "$tag" || return
  expect_lines "$(told_before_outcome "$RUN.stderr")" "tessardbsetup: $answers:$line: $message" \
    "$tag: stderr"
  expect_outcome_line 2 '*' "$tag"
  # A mistake of form is found as the file is read, before the front end
  # exists (no transcript); one of names once the pages are built, before
  # the first is shown.
  local events=
  [ "$tag" = form ] ||
    events='"event":"error" "event":"exit" '
  expect_lines "$(grep -o '"event":"[a-z]*"' "$RUN.transcript" 2>/dev/null | tr '\n' ' ')" \
    "$events" "$tag: the events of the run"
  [ "$tag" = form ] || expect_contains "$RUN.transcript" \
    "\"event\":\"exit\",\"status\":2,\"outcome\":\"stopped: $answers:$line:"
  expect_not_contains "$RUN.trace" 'CB_TESADM_Next'
  [ ! -e "$QelUserSettingPath/TESSARInst.settings" ] || fail "$tag: a settings file was written"
}

stops page 6 '\[PanelTESDICO\]' '[PanelTESDlCO]' \
  "unknown page 'PanelTESDlCO' (did you mean 'PanelTESDICO'?)"
# A page the son shows is checked by the father too, before its first page.
stops widget 13 'EditorDBAUSERP = sandbox' 'EditorDBAUSRP = sandbox' \
  "page 'PanelDBAUSER' has no widget 'EditorDBAUSRP' (did you mean 'EditorDBAUSERP'?)"
expect_no_secret sandbox "$RUN.stderr" "$RUN.transcript"
stops box 16 '\[ZEP2YesNoInCallBack\]' '[ZEP2YesNoInCalBack]' \
  "unknown section 'ZEP2YesNoInCalBack' (did you mean 'ZEP2YesNoInCallBack'?)"
stops label 2 'EditorTESADM = pdmadm' 'LabelTESADMOne = pdmadm' \
  "'LabelTESADMOne' on page 'PanelTESADM' is a label, which takes no answer"
stops radio 5 'RadButIBMUDB = checked' 'RadButIBMUDB = unchecked' \
  "'RadButIBMUDB' is a radio button: its answer is checked (checking another button of its group unchecks it)"
stops form 14 '\[PanelTBSTypicalSel\]' '[PanelTBSTypicalSel#two]' \
  "invalid visit in section 'PanelTBSTypicalSel#two' (a number from 1)"
stops cancel 15 'ComboTBSTypicalSel = USERSPACE1' 'cancel-after-statements = 5' \
  "'cancel-after-statements' on 'PanelTBSTypicalSel', which does not show an installation running (only PanelSTATUS)"

db_snapshot PDMDB "$WORK/after"
expect_same_db "$WORK/before" "$WORK/after" "runs stopped before any page"
finish
