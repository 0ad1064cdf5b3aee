# DB2, local database, existing tablespace: father and son build every modeler's
# schema and start-up data, in step order, and never write a password out.
. "$(dirname "$0")/lib.sh"
new_site

response_file "$WORK/db2.rsp" db2 db2_local_database db2_existing_tablespace - <<'RSP'
[PanelTOEXE]
ChkButTOEXEDBObj = checked
ChkButTOEXEStartupData = checked
[PanelDBAUSER]
EditorDBAUSER = db2inst1
EditorDBAUSERP = @PASSWORD@
RSP

run_wizard db2 "$WORK/db2.rsp"
expect_run 0 "DB2 local installation"

# Every table the DDL repository creates (the vault's only with the vault).
grep -ho 'CREATE TABLE $(SCHEMA)\.[A-Z0-9_]*' "$QelReffilesPath"/DBMS/ddl/*.clp \
  --exclude='*VAULTFILE*' | sed 's/.*\.//' | sort >"$WORK/expected-tables"
[ -s "$WORK/expected-tables" ] || fail "the site's DDL repository creates no table"
db_query PDMDB '
for o in db["objects"]:
    if o["type"] == "TABLE":
        print(o["name"], o["schema"], o["tablespace"])' | sort >"$WORK/tables"
cut -d' ' -f1 "$WORK/tables" >"$WORK/table-names"
if ! cmp -s "$WORK/expected-tables" "$WORK/table-names"; then
  fail "the tables in PDMDB are not those of the DDL files"
  diff "$WORK/expected-tables" "$WORK/table-names" | head -n 20 >&2
fi
[ "$(cut -d' ' -f2,3 "$WORK/tables" | sort -u)" = "PDMDICO USERSPACE1" ] ||
  fail "tables outside schema PDMDICO or tablespace USERSPACE1: $(cut -d' ' -f2,3 "$WORK/tables" | sort -u)"

authorities=$(db_query PDMDB '
print(next((u["authorities"] for u in db["users"] if u["name"] == "PDMADM"), "missing"))')
[[ " $authorities " == *" DBADM "* && " $authorities " == *" CONNECT "* ]] ||
  fail "PDMADM holds '$authorities' instead of DBADM and CONNECT"

# Start-up data: the projects of the project file and the ZEP status graphs.
projects=$(grep -c '<project ' "$QelDictionaryPath/ZEPAdmin.adm")
graphs=$(ls "$QelReffilesPath/sample" | grep -c '^.*ZEP.*\.VGraph$')
rows=$(db_query PDMDB '
rows = {o["name"]: o.get("rows") for o in db["objects"] if o["type"] == "TABLE"}
print(rows.get("ZEPADMIN_PROJECT"), rows.get("GRAPH_STATUS_GRAPH"), rows.get("PEOPLE_PERSON"))')
[ "$rows" = "$projects $graphs 1" ] ||
  fail "rows of ZEPADMIN_PROJECT, GRAPH_STATUS_GRAPH, PEOPLE_PERSON: $rows, expected $projects $graphs 1"
[ "$graphs" -eq 3 ] || fail "the site has $graphs ZEP status graphs, the check expects 3"
grep -q DEFAULT_LOCAL_SITE_V5R8 "$QelDictionaryPath/ZEPAdmin.adm" &&
  fail "the project file still holds the placeholder site"

# Two processes: the father's pages, then the son's under another pid.
mapfile -t pids < <(pids_of "$RUN.transcript")
[ "${#pids[@]}" -eq 2 ] || fail "the transcript shows ${#pids[@]} processes: ${pids[*]}"
father=${pids[0]:-none} son=${pids[1]:-none}
expect_lines "$(pages_of "$RUN.transcript" "$father" | awk '!seen[$0]++')" \
  "$(printf '%s\n' PanelTESADM PanelTOEXE PanelDBMSType PanelTESDICO PanelDB2Param)" \
  "the father's pages"
expect_lines "$(pages_of "$RUN.transcript" "$son")" \
  "$(printf '%s\n' PanelDB2Param2 PanelDBAUSER PanelTBSTypicalSel PanelWAIT PanelSUM \
    PanelREPORT PanelSTATUS)" "the son's pages"
expect_contains "$RUN.transcript" "{\"pid\":$son,\"event\":\"exit\",\"status\":0"
[[ $(tail -n 1 "$RUN.transcript") == "{\"pid\":$father,\"event\":\"exit\",\"status\":0"* ]] ||
  fail "the father's exit 0 is not the run's last event: $(tail -n 1 "$RUN.transcript")"
expect_contains "$RUN.trace" "\nGrand Father process pid: $father\nProcess pid             : $son"

expect_lines "$(steps_of "$RUN.trace" | sed -n '/^St_GenEnvFiles$/,$p')" "$(printf '%s\n' St_GenEnvFiles St_ChkDBAlreadyInstall \
  St_ChkCreateUser St_ChkAlterUserTmpSysSrvSys St_ChkAlterUserDefSysSrv \
  St_ChkAlterUserDefSrvSys St_TypicalTBSCreation St_TypicalUSERCreation \
  St_AlterUserDefSysSrv St_AlterUserTmpSysSrv St_TypicalALTERUser St_GRANTUserTESADM \
  St_TypicalUSERGrant St_GetTESADMConnexion St_GetSchemaOwnerCnx St_PlayDDL St_ZEPProject \
  St_ZEPDataManager St_ZEPRDBEI St_ZEPSuppChain St_AlterUserTmpSrvSys \
  St_AlterUserDefSrvSys St_GenEnvFiles)" "the installation steps"
# Twenty modelers are checked one per call, then one call hands over.
checks=$(grep -c '^St_ChkDBAlreadyInstall Begin \.\.\.$' "$RUN.trace")
[ "$checks" -eq 21 ] || fail "St_ChkDBAlreadyInstall ran $checks times, expected 21"
expect_contains "$RUN.trace" "\nDB2 Grant Statement: <GRANT DBADM, CONNECT, CREATETAB ON DATABASE TO USER PDMADM>"
expect_contains "$RUN.trace" '\nINSTALLATION ENDED\n'
expect_contains "$RUN.log" '\nINSTALLATION ENDED\n'
expect_not_contains "$RUN.trace" 'TESSAR DB SETUP FAILED'

leftover=$(ls "$QelUserSettingPath" | grep '^TESSARInst\.')
[ -z "$leftover" ] || fail "settings files left behind: $leftover"

expect_contains "$RUN.transcript" '"widget":"EditorTESADMP","value":"***"'
expect_contains "$RUN.transcript" '"widget":"EditorDBAUSERP","value":"***"'
expect_no_secret sandbox "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err"

finish
