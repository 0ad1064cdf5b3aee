# Oracle with the vault and a clash server: the vault properties with the
# password only encrypted, the vault block of the custom script, the clash
# scripts rewritten once from their pristine copies, and the clash settings;
# a second installation on a reset database leaves the same scripts.
. "$(dirname "$0")/lib.sh"
new_site
trap '"$BIN/tessardbsetup-sandbox" orbixd stop >/dev/null 2>&1; rm -rf "$WORK"' EXIT
commands=$QelInstallPath/code/command
properties=$QelInstallPath/docs/java/VaultServer.properties
scripts="RunTavoClashStarter RunTavoClashServer Tessar_ITFCHECK"
mkdir "$WORK/shipped"
cp -p "$properties" "$WORK/shipped/"
for s in $scripts; do cp -p "$commands/$s" "$WORK/shipped/"; done

# The paths of the vault and the clash server are left to the wizard to
# expand, as an administrator's file would.
response_file "$WORK/oracle.rsp" oracle oracle_new_tablespace - <<'RSP'
[PanelTOEXE]
ChkButTOEXEVault = checked
ChkButTOEXEClashInst = checked
RadButTOEXEClashServer = checked
[PanelORALoc]
RadButORALocLocal = checked
[PanelTBSTypicalSel]
ComboTBSTypicalSel = #1
[PanelVAULTADM]
EditorVAULTADM = pdmvault
EditorVAULTADMP = sandbox
EditorVAULTDaemonPort = 6200
EditorVAULTRepo = ${TESSARDBSETUP_SANDBOX}/vault
[PanelCLASHADM]
EditorCLASHADM = pdmclash
EditorCLASHADMP = sandbox
EditorCLASHOutDir = ${TESSARDBSETUP_SANDBOX}/clashout
EditorCLASHV5InstPath = ${TESSARDBSETUP_SANDBOX}/pdm
[ZEP2YesNoInCallBack]
answers = Yes
RSP

# Without the switch the vault is not offered: its button cannot be set.
run_wizard hidden "$WORK/oracle.rsp"
expect_run 2 "a vault answer without the switch" && expect_contains "$RUN.stderr" 'ChkButTOEXEVault'
[ ! -e "$SITE/calls.log" ] || [ "$(grep -c . "$SITE/calls.log")" -eq 0 ] ||
  fail "the refused run called the site's commands"

"$BIN/tessardbsetup-sandbox" orbixd start || fail "the stand-in Orbix daemon does not start"
run_wizard first "$WORK/oracle.rsp" TESSARDBSETUP_OFFER_VAULT=1
expect_run 0 "Oracle installation with vault and clash server" || finish
expect_contains "$RUN.trace" '\nOrbix daemon is running OK'
expect_contains "$RUN.trace" '\nQelStartProcess: RegisterTavoClashStarter OK'
expect_contains "$RUN.trace" '\nCreation of TESSARClashServer.imp file OK'
grep -q '^SetEnv -c RegisterTavoClashStarter ' "$SITE/calls.log" ||
  fail "SetEnv -c RegisterTavoClashStarter was not called"

# The configuration routines in their order, on the first pass.
expect_lines "$(awk '/^St_GenEnvFiles Begin/ { on = 1 } on && / (Begin|End)[ .]*$/ { print }
  /^St_GenEnvFiles End/ { exit }' "$RUN.trace" | grep -v 'ReadFileToString\|WriteStringIntoFile\|IsOrbix\|GetOrbix')" \
  "St_GenEnvFiles Begin ...
CreateDBSrvSetting Begin.
CreateDBSrvSetting End.
AppendRdbSettings Begin ...
AppendRdbSettings End.
VaultServerPropertiesFileUpdate Begin ...
VaultServerPropertiesFileUpdate End.
TESSAREnvironmentUpdate Begin ...
TESSAREnvironmentUpdate End.
St_UpdateBDEnv Begin ...
St_UpdateBDEnv Do the script file TessarEnvCustom.sh executable Begin
St_UpdateBDEnv Do the script file TessarEnvCustom.sh executable End
St_UpdateBDEnv End.
VaultStarterEnvironmentUpdate Begin ...
VaultStarterEnvironmentUpdate End.
TESSARClashSetup Begin ...
CustShell_RunTavoClashStarter Begin ...
CustShell_RunTavoClashStarter End.
CustShell_RunTavoClashServer Begin ...
CustShell_RunTavoClashServer End.
CustShell_Tessar_ITFCHECK Begin ...
CustShell_Tessar_ITFCHECK End.
SetTESSARClashQelSettings Begin ...
SetTESSARClashQelSettings End.
TESSARClashSetup End
St_GenEnvFiles End." "the configuration routines of the first pass"

# The seven properties; the password decrypts to the typed one and is
# nowhere in clear; every other byte as shipped.
stored=$(sed -n 's/^VaultServer_DBPassword = //p' "$properties")
[[ $stored == '{xchacha20poly1305}'* ]] || fail "the stored password is not encrypted: $stored"
decrypted=$("$BIN/tessardbsetup-sandbox" vault decrypt) || fail "the stored password does not decrypt"
[ "$decrypted" = sandbox ] || fail "the stored password does not decrypt to the typed one"
host=$(hostname)
sed -e "s|^VaultServer_HostName = .*|VaultServer_HostName = $host|" \
  -e 's|^VaultServer_DaemonPort = .*|VaultServer_DaemonPort = 6200|' \
  -e 's|^VaultServer_DBName = .*|VaultServer_DBName = PDMORA|' \
  -e 's|^VaultServer_DBVendor = .*|VaultServer_DBVendor = oracle|' \
  -e 's|^VaultServer_DBUser = .*|VaultServer_DBUser = pdmvault|' \
  -e "s|^VaultServer_DBPassword = .*|VaultServer_DBPassword = $stored|" \
  -e "s|^VaultServer_Repo_0_Path = .*|VaultServer_Repo_0_Path = $SITE/vault|" \
  "$WORK/shipped/VaultServer.properties" >"$WORK/expected.properties"
cmp -s "$WORK/expected.properties" "$properties" ||
  fail "VaultServer.properties: $(diff "$WORK/expected.properties" "$properties")"
[ "$(stat -c %a "$properties")" = "$(stat -c %a "$WORK/shipped/VaultServer.properties")" ] ||
  fail "VaultServer.properties changed its mode"

# The vault block of the custom script, run (the starter was registered).
traced_script "$RUN.trace" /tmp/TessarEnvCustom.sh "$WORK/TessarEnvCustom.sh"
expect_contains "$WORK/TessarEnvCustom.sh" "  ## VAULT Installation Update\n\nchmod -fR a+wrx,og-w,+st '$QelInstallPath/code/bin/ZEPVaultStarter' \n"
expect_contains "$WORK/TessarEnvCustom.sh" "mkdir -p '$SITE/vault/secured0'\n\n\nmkdir -p '$SITE/vault/tmp'\n"
expect_contains "$WORK/TessarEnvCustom.sh" "  ## VAULT Orbix Register\n\nif [ -f '$commands/RegisterVaultStarter' ] \n"
grep -q "^RegisterVaultStarter TESSARVaultServer [0-9]* [0-9]* $QelInstallPath/startup/orbix " \
  "$SITE/calls.log" || fail "the vault starter was not registered"

# The clash scripts: lines rewritten, pristine copies once, modes kept.
read -r uid gid clashHome < <(awk -F: '$1 == "pdmclash" { print $3, $4, $6 }' "$SITE/etc/passwd")
expected_script() {
  case $1 in
  RunTavoClashStarter) sed -e "s|^ZEPADM_UID=.*|ZEPADM_UID=$uid|" -e "s|^ZEPADM_GID=.*|ZEPADM_GID=$gid|" ;;
  RunTavoClashServer) sed -e "s|^export HOME=.*|export HOME=$clashHome|" \
    -e "s|^CLASH_OUTDIR=.*|CLASH_OUTDIR=$SITE/clashout|" ;;
  Tessar_ITFCHECK) sed -e 's|^IT_DAEMON_PORT=.*|IT_DAEMON_PORT=1570|' \
    -e "s|^QelvarV5installPath=.*|export QelvarV5installPath=$SITE/pdm|" ;;
  esac <"$WORK/shipped/$1"
}
for s in $scripts; do
  expected_script "$s" >"$WORK/expected-$s"
  cmp -s "$WORK/expected-$s" "$commands/$s" || fail "$s: $(diff "$WORK/expected-$s" "$commands/$s")"
  cmp -s "$WORK/shipped/$s" "$commands/$s.orig" || fail "$s.orig is not the shipped script"
  [ "$(stat -c %a "$commands/$s")" = 755 ] && [ "$(stat -c %a "$commands/$s.orig")" = 755 ] ||
    fail "$s or its copy lost the mode 755"
  cp -p "$commands/$s" "$WORK/first-$s"
done

# The clash settings: this host and the Orbix port of Orbix.cfg.
clash_settings="TESSARBatchClashAutomatic=YES
TESSARClashClearance=0.02
TESSARVolumeFilterClearance=0.02
TESSARDocType=NONE
TESSARClashServerName=TESSARClashServer
TESSARSpaceMap=YES
TESSARSendUserNotification=YES
TESSARDefaultClashServer=$host:1570"
expect_lines "$(cat "$QelUserSettingPath/TESSARClash.settings")" "$clash_settings" "the clash settings"

# A second installation on the reset database, daemon stopped: the scripts
# stay as the first run left them, the copies are not made again.
"$BIN/tessardbsetup-sandbox" orbixd stop || fail "the stand-in Orbix daemon does not stop"
"$BIN/tessardbsetup-sandbox" db reset PDMORA >/dev/null || fail "db reset PDMORA"
# The registration fails this time: traced only, the edits are still made.
rm "$QelInstallPath/startup/orbix/config/Repositories/ImpRep/TESSARClashServer.imp"
run_wizard second "$WORK/oracle.rsp" TESSARDBSETUP_OFFER_VAULT=1 \
  TESSARDBSETUP_STANDIN_EXIT_RegisterTavoClashStarter=3
expect_run 0 "the second installation" || finish
expect_contains "$RUN.trace" '\nOrbix daemon is NOT running KO'
expect_contains "$RUN.trace" '\nQelStartProcess: RegisterTavoClashStarter KO - RC = 3'
expect_not_contains "$RUN.trace" 'Creation of TESSARClashServer.imp file'
expect_contains "$RUN.trace" '\nCustShell_Tessar_ITFCHECK End.\n'
expect_contains "$RUN.trace" "\nFound original copy of script: <$commands/RunTavoClashStarter.orig>"
for s in $scripts; do
  cmp -s "$WORK/first-$s" "$commands/$s" || fail "$s differs after the second installation"
  cmp -s "$WORK/shipped/$s" "$commands/$s.orig" || fail "$s.orig changed in the second installation"
done
expect_lines "$(cat "$QelUserSettingPath/TESSARClash.settings")" "$clash_settings" \
  "the clash settings after the second installation"
[ "$(sed -n 's/^VaultServer_DBPassword = //p' "$properties")" != "$stored" ] ||
  fail "two encryptions of the password gave the same text"

expect_no_secret sandbox "$WORK"/run-*.transcript "$WORK"/run-*.trace "$WORK"/run-*.log \
  "$WORK"/run-*.err "$properties" "$WORK/TessarEnvCustom.sh"
finish
