# Every message catalogue that is missing, unreadable or holds no text is
# said once on stderr (once per catalogue and process) and is a warning of
# the run; a refusal the program cannot put in words names the answers
# refused instead (passwords hidden).
. "$(dirname "$0")/lib.sh"
new_site
cat >"$WORK/wrong.rsp" <<'RSP'
[PanelTESADM]
EditorTESADM = pdmadm
EditorTESADMP = Wr0ngPass
RSP

# told_catalogues STDERR: the catalogues said, one a line, sorted.
told_catalogues() {
  sed -n 's/^tessardbsetup: message catalogue \([A-Za-z0-9]*\)\.cat .*/\1/p' "$1" | sort
}

run_wizard nocatalogue "$WORK/wrong.rsp" QelMsgCatalogPath="$WORK/no-such-directory"
expect_run 2 "a wrong password without catalogues"
told=$(told_catalogues "$RUN.stderr")
[ -n "$told" ] && [ "$told" = "$(sort -u <<<"$told")" ] ||
  fail "the missing catalogues are not said once each: $(cat "$RUN.stderr")"
for class in ZEP2DlgTESADM ZEP2FrmTESADM ZEP2DlgREPORT ZEP2FrmSTATUS; do
  grep -qx "$class" <<<"$told" || fail "the missing $class.cat is not said"
done
expect_contains "$RUN.stderr" "not found in $WORK/no-such-directory"
expect_contains "$RUN.stderr" "PanelTESADM refused the answers (its message has no text"
expect_contains "$RUN.stderr" "EditorTESADM = 'pdmadm', EditorTESADMP = '***'"
expect_contains "$RUN.err" '\nWARNING: message catalogue ZEP2DlgTESADM.cat not found in '
expect_contains "$RUN.transcript" '; warnings: message catalogue '
expect_no_secret Wr0ngPass "$RUN".*

# One catalogue missing, one that is a directory, one empty: each of those
# three is said, once, with what is wrong; the others are read.
catalogues=$WORK/catalogues
cp -r "$BIN/share/msgcatalog" "$catalogues"
rm "$catalogues/ZEP2DlgTOEXE.cat"
rm "$catalogues/ZEP2DlgSUM.cat" && mkdir "$catalogues/ZEP2DlgSUM.cat"
: >"$catalogues/ZEP2FrmTOEXE.cat"
run_wizard damaged "$WORK/wrong.rsp" QelMsgCatalogPath="$catalogues"
expect_run 2 "a wrong password with three catalogues damaged"
expect_lines "$(told_catalogues "$RUN.stderr")" "$(printf '%s\n' ZEP2DlgSUM ZEP2DlgTOEXE ZEP2FrmTOEXE)" \
  "the catalogues said"
expect_contains "$RUN.stderr" "message catalogue ZEP2DlgTOEXE.cat not found in $catalogues: "
expect_contains "$RUN.stderr" \
  "message catalogue ZEP2DlgSUM.cat cannot be read ($catalogues/ZEP2DlgSUM.cat: is a directory)"
expect_contains "$RUN.stderr" \
  "message catalogue ZEP2FrmTOEXE.cat ($catalogues/ZEP2FrmTOEXE.cat) holds no text"
# The first page's own texts were read: its refusal is said in its words.
expect_not_contains "$RUN.stderr" "its message has no text"
finish
