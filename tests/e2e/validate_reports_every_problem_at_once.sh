# Five problems planted at once on an installed site: a missing tablespace
# directory, a wrong DBA password, the earlier installation, a read-only
# environment file and a noexec /tmp. One check-only run reports them all,
# each with what to do, ends with 6, and changes nothing. With the DBA
# refused, the earlier installation is found by connecting as the schema
# owners the answers name.
. "$(dirname "$0")/lib_private_tmp.sh"
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_validate.sh"
new_site

response_file "$WORK/oracle.rsp" oracle oracle_new_tablespace oracle_local_confirmed
run_wizard install "$WORK/oracle.rsp"
expect_run 0 "the earlier installation" || finish

response_file "$WORK/planted.rsp" oracle oracle_new_tablespace - <<'RSP'
[PanelORALoc]
RadButORALocLocal = checked
[PanelDBAUSER]
EditorDBAUSERP = not-the-password
[PanelTBSTypical]
EditorTBSTypicalName = pdmtbs2
EditorTBSTypicalDir = @TESSARDBSETUP_SANDBOX@/no-such-directory
RSP

envfile=${QelvarV5_environment_directory%/}/$QelvarV5_environment_name.txt
[ -f "$envfile" ] || fail "no environment file $envfile"
if ! mount --bind "$envfile" "$envfile" 2>"$WORK/mount.err" ||
  ! mount -o remount,ro,bind "$envfile" 2>>"$WORK/mount.err"; then
  echo "skipped: $(basename "$0") cannot mount the environment file read-only: $(cat "$WORK/mount.err")"
  exit 0
fi
# The checkout and the build tree stay in sight when they lie under /tmp.
. "$(dirname "$0")/../fresh_tmp.sh"
if ! fresh_tmp noexec /tmp -- "$(dirname "$0")/../.." "$BIN" 2>"$WORK/mount.err"; then
  umount "$envfile"
  echo "skipped: $(basename "$0") cannot mount a noexec /tmp: $(cat "$WORK/mount.err")"
  exit 0
fi

site_state "$WORK/before"
run_validate planted "$WORK/planted.rsp"
site_state "$WORK/after"
umount -R /tmp
umount "$envfile"

expect_run 6 "check only with five problems"
expect_same_state "$WORK/before" "$WORK/after" "the check-only run"
# The son script's own output aside, the report's lines.
out=$(grep '^tessardbsetup: ' "$RUN.out")
count=$(grep -c '^tessardbsetup: not ready: [^0-9]' <<<"$out")
[ "$(head -n 1 <<<"$out")" = "tessardbsetup: not ready: $count problems" ] ||
  fail "first line: $(head -n 1 <<<"$out") ($count problem lines)"
[ "$(tail -n 1 <<<"$out")" = "tessardbsetup: not ready: $count problems" ] ||
  fail "last line: $(tail -n 1 <<<"$out")"
sandbox=$TESSARDBSETUP_SANDBOX
for wanted in \
  "not ready: tablespace directory: $sandbox/no-such-directory does not exist; create it" \
  "not ready: DBA connection: cannot connect to PDMORA as SYSTEM: .*; check the DBA user and password" \
  "not ready: earlier installation: the schema of PDMDICO already holds the tables of modeler .*; install into another database or schema, or drop the earlier installation" \
  "not ready: environment file: $envfile is on a file system mounted read-only; remount it read-write" \
  "not ready: script directory: /tmp is mounted noexec: the generated scripts cannot run; remount /tmp without noexec" \
  "not checked: tablespaces: no DBA connection"; do
  grep -q "^tessardbsetup: $wanted" <<<"$out" || fail "stdout lacks '$wanted':
$out"
done
[ "$(grep -c 'no-such-directory' <<<"$out")" -eq 1 ] ||
  fail "the missing tablespace directory is not told exactly once:
$out"
python3 - "$RUN.json" "$count" <<'PY' || fail "the JSON document: $(cat "$RUN.json")"
import json, sys
report = json.load(open(sys.argv[1]))
assert report["ready"] is False and report["exit_status"] == 6, report
assert len(report["problems"]) == int(sys.argv[2]), report
checks = {p["check"] for p in report["problems"]}
for check in ("tablespace directory", "DBA connection", "earlier installation",
              "environment file", "script directory"):
    assert check in checks, (check, checks)
assert all(p["remedy"] for p in report["problems"]), report
PY
[ "$(stat -c %a "$RUN.json")" = 600 ] || fail "the JSON document has mode $(stat -c %a "$RUN.json")"
# No box stopped the run: the refusals were recorded, both processes ran.
expect_not_contains "$RUN.transcript" '"event":"box"'
[ "$(pids_of "$RUN.transcript" | wc -l)" -eq 2 ] || fail "not two processes"
expect_no_secret "not-the-password" "$RUN.out" "$RUN.json" "$RUN.log" "$RUN.err" "$RUN.trace" \
  "$RUN.stderr" "$RUN.transcript"
expect_no_secret "$DICO_PASSWORD" "$RUN.out" "$RUN.json" "$RUN.log" "$RUN.err" "$RUN.trace"
finish
