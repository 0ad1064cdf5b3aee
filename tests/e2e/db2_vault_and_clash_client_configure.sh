# DB2 with the vault and a clash client, no database work: the vault
# properties name the DB2 alias and vendor and the repository without its
# typed trailing slash, every other byte as shipped; the
# eight clash settings name the typed server host and port; no clash script
# is touched, nothing is registered with Orbix for the clash component.
. "$(dirname "$0")/lib.sh"
new_site
commands=$QelInstallPath/code/command
scripts="RunTavoClashStarter RunTavoClashServer Tessar_ITFCHECK"
properties=$QelInstallPath/docs/java/VaultServer.properties
mkdir "$WORK/shipped"
for s in $scripts; do cp -p "$commands/$s" "$WORK/shipped/"; done
cp -p "$properties" "$WORK/shipped/"

response_file "$WORK/client.rsp" db2 db2_local_database db2_existing_tablespace - <<'RSP'
[PanelTOEXE]
ChkButTOEXEStartupData = unchecked
ChkButTOEXEDBObj = unchecked
ChkButTOEXEVault = checked
ChkButTOEXEClashInst = checked
RadButTOEXEClashClient = checked
[PanelDBAUSER]
EditorDBAUSER = db2inst1
EditorDBAUSERP = @PASSWORD@
[PanelVAULTADM]
EditorVAULTADM = pdmvault
EditorVAULTADMP = sandbox
EditorVAULTDaemonPort = 6100
EditorVAULTRepo = ${TESSARDBSETUP_SANDBOX}/vault/
[ZEP2YesNoInCallBack]
answers = Yes
[PanelCLASHSRV]
EditorCLASHSRVHostName = localhost
EditorCLASHSRVOrbixPort = 4321
RSP

run_wizard client "$WORK/client.rsp" TESSARDBSETUP_OFFER_VAULT=1
expect_run 0 "vault and clash client installation" || finish

stored=$(sed -n 's/^VaultServer_DBPassword = //p' "$properties")
[ "$("$BIN/tessardbsetup-sandbox" vault decrypt)" = sandbox ] ||
  fail "the vault password does not decrypt to the typed one"
sed -e "s|^VaultServer_HostName = .*|VaultServer_HostName = $(hostname)|" \
  -e 's|^VaultServer_DBName = .*|VaultServer_DBName = PDMDB|' \
  -e 's|^VaultServer_DBVendor = .*|VaultServer_DBVendor = db2|' \
  -e 's|^VaultServer_DBUser = .*|VaultServer_DBUser = pdmvault|' \
  -e "s|^VaultServer_DBPassword = .*|VaultServer_DBPassword = $stored|" \
  -e "s|^VaultServer_Repo_0_Path = .*|VaultServer_Repo_0_Path = $SITE/vault|" \
  "$WORK/shipped/VaultServer.properties" >"$WORK/expected.properties"
cmp -s "$WORK/expected.properties" "$properties" ||
  fail "VaultServer.properties: $(diff "$WORK/expected.properties" "$properties")"
traced_script "$RUN.trace" /tmp/TessarEnvCustom.sh "$WORK/TessarEnvCustom.sh"
expect_contains "$WORK/TessarEnvCustom.sh" "\n  ## VAULT Orbix Register\n"
expect_no_secret sandbox "$properties" "$WORK/TessarEnvCustom.sh" "$RUN.trace" "$RUN.transcript"

expect_contains "$RUN.trace" '\nClash Setup for a Client.\n'
expect_not_contains "$RUN.trace" 'CustShell_'
expect_lines "$(cat "$QelUserSettingPath/TESSARClash.settings")" "TESSARBatchClashAutomatic=YES
TESSARClashClearance=0.02
TESSARVolumeFilterClearance=0.02
TESSARDocType=NONE
TESSARClashServerName=TESSARClashServer
TESSARSpaceMap=YES
TESSARSendUserNotification=YES
TESSARDefaultClashServer=localhost:4321" "the clash settings"
for s in $scripts; do
  cmp -s "$WORK/shipped/$s" "$commands/$s" || fail "$s was changed"
  [ ! -e "$commands/$s.orig" ] || fail "$s.orig was made"
done
grep -q '^SetEnv ' "$SITE/calls.log" && fail "a client registered the clash starter"
grep -q '^RegisterVaultStarter TESSARVaultServer ' "$SITE/calls.log" ||
  fail "the vault starter was not registered"
[ ! -e "$QelInstallPath/startup/orbix/config/Repositories/ImpRep/TESSARClashServer.imp" ] ||
  fail "a client created the clash server's implementation entry"
finish
