# A check-only run on a fresh site: ready, status 0, the verdict on stdout and
# in the JSON document, and the site, its settings and its databases exactly
# as before. The summary page's "Check only" does the same in a run without
# -validate.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_validate.sh"
new_site

response_file "$WORK/oracle.rsp" oracle oracle_new_tablespace oracle_local_confirmed

site_state "$WORK/before"
run_validate fresh "$WORK/oracle.rsp"
expect_run 0 "check only on a fresh site"
expect_lines "$(grep '^tessardbsetup: ' "$RUN.out")" "tessardbsetup: ready" "the report on stdout"
[ "$(stat -c %a "$RUN.json")" = 600 ] || fail "the JSON document has mode $(stat -c %a "$RUN.json")"
python3 - "$RUN.json" <<'PY' || fail "the JSON document: $(cat "$RUN.json")"
import json, sys
report = json.load(open(sys.argv[1]))
assert report["ready"] is True and report["exit_status"] == 0, report
assert report["problems"] == [] and report["not_checked"] == [], report
for check in ("DBA connection", "DBA privileges", "earlier installation", "tablespaces",
              "tablespace directory", "free space", "environment file", "script directory"):
    assert check in report["checked"], (check, report["checked"])
PY
# The pages ran as usual, in both processes, and no installation step did.
[ "$(pids_of "$RUN.transcript" | wc -l)" -eq 2 ] || fail "not two processes"
expect_contains "$RUN.trace" '\nSt_Validate Begin ...\n'
expect_not_contains "$RUN.trace" 'St_GenEnvFiles Begin'
expect_not_contains "$RUN.trace" 'St_TypicalTBSCreation Begin'
expect_no_secret "$PASSWORD" "$RUN.out" "$RUN.json" "$RUN.log" "$RUN.err" "$RUN.trace" "$RUN.stderr"
expect_no_secret "$DICO_PASSWORD" "$RUN.out" "$RUN.json" "$RUN.log" "$RUN.err" "$RUN.trace"
site_state "$WORK/after"
expect_same_state "$WORK/before" "$WORK/after" "the check-only run"

# The same choice on the summary page: the checks, the report page, status 0.
response_file "$WORK/check-only.rsp" oracle oracle_new_tablespace - <<'RSP'
[PanelORALoc]
RadButORALocLocal = checked
[PanelSUM]
ChkButSUMCheckOnly = checked
RSP
run_wizard summary "$WORK/check-only.rsp"
expect_run 0 "Check only chosen on the summary page"
expect_contains "$RUN.trace" '\nSt_Validate Begin ...\n'
expect_not_contains "$RUN.trace" 'St_GenEnvFiles Begin'
expect_contains "$RUN.log" 'tessardbsetup: ready'
site_state "$WORK/after-summary"
expect_same_state "$WORK/before" "$WORK/after-summary" "Check only on the summary page"
# A page that refuses an answer in a silent check stops nothing: the refusal
# is listed with what to do, the walk goes on to the second process's
# checks, and the status says not ready.
response_file "$WORK/refused.rsp" oracle oracle_new_tablespace - <<'RSP'
[PanelORALoc]
RadButORALocLocal = checked
[PanelTBSTypical]
EditorTBSTypicalName = SYSTEM
RSP
run_validate refused "$WORK/refused.rsp"
expect_run 6 "check only with a refused tablespace name"
grep -q '^tessardbsetup: not ready: answer on .*; correct the answer' "$RUN.out" ||
  fail "the refusal is not listed: $(cat "$RUN.out")"
expect_contains "$RUN.trace" '\nSt_Validate Begin ...\n'
expect_not_contains "$RUN.transcript" '"event":"box"'
site_state "$WORK/after-refused"
expect_same_state "$WORK/before" "$WORK/after-refused" "the check with a refused answer"
# DB2, a local database and its existing tablespace: ready too, and the
# catalogue checks (authority, tablespaces, free space) were made.
response_file "$WORK/db2.rsp" db2 db2_local_database db2_existing_tablespace
site_state "$WORK/before-db2"
run_validate db2 "$WORK/db2.rsp"
expect_run 0 "check only on a fresh DB2 site"
expect_lines "$(grep '^tessardbsetup: ' "$RUN.out")" "tessardbsetup: ready" "the DB2 report on stdout"
python3 - "$RUN.json" <<'PY' || fail "the DB2 JSON document: $(cat "$RUN.json")"
import json, sys
report = json.load(open(sys.argv[1]))
assert report["ready"] is True and report["not_checked"] == [], report
for check in ("DBA privileges", "earlier installation", "tablespaces", "free space"):
    assert check in report["checked"], (check, report["checked"])
PY
site_state "$WORK/after-db2"
expect_same_state "$WORK/before-db2" "$WORK/after-db2" "the DB2 check-only run"

# Vault and clash server too: the vault directories the vault page would
# create can be created, the files and commands of the last steps are there.
response_file "$WORK/vault.rsp" oracle oracle_new_tablespace - <<'RSP'
[PanelTOEXE]
ChkButTOEXEVault = checked
ChkButTOEXEClashInst = checked
RadButTOEXEClashServer = checked
[PanelORALoc]
RadButORALocLocal = checked
[PanelVAULTADM]
EditorVAULTADM = pdmvault
EditorVAULTADMP = @PASSWORD@
EditorVAULTDaemonPort = 6200
EditorVAULTRepo = @TESSARDBSETUP_SANDBOX@/vault
[PanelCLASHADM]
EditorCLASHADM = pdmclash
EditorCLASHADMP = @PASSWORD@
EditorCLASHOutDir = @TESSARDBSETUP_SANDBOX@/clashout
EditorCLASHV5InstPath = @TESSARDBSETUP_SANDBOX@/pdm
RSP
site_state "$WORK/before-vault"
TESSARDBSETUP_OFFER_VAULT=1 run_validate vault "$WORK/vault.rsp"
expect_run 0 "check only with vault and clash server"
expect_lines "$(grep '^tessardbsetup: ' "$RUN.out")" "tessardbsetup: ready" "the vault report on stdout"
python3 - "$RUN.json" <<'PY' || fail "the vault JSON document: $(cat "$RUN.json")"
import json, sys
report = json.load(open(sys.argv[1]))
for check in ("vault directory", "vault configuration", "vault commands", "vault daemon port",
              "clash commands", "clash directory", "clash configuration"):
    assert check in report["checked"], (check, report["checked"])
PY
[ ! -e "$TESSARDBSETUP_SANDBOX/vault" ] || fail "the check-only run created the vault directory"
site_state "$WORK/after-vault"
expect_same_state "$WORK/before-vault" "$WORK/after-vault" "the vault and clash check-only run"
finish
