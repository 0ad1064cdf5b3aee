# A clash client: the eight clash settings name the typed server host and
# port; no clash script is touched, nothing is registered.
. "$(dirname "$0")/lib.sh"
new_site
commands=$QelInstallPath/code/command
scripts="RunTavoClashStarter RunTavoClashServer Tessar_ITFCHECK"
mkdir "$WORK/shipped"
for s in $scripts; do cp -p "$commands/$s" "$WORK/shipped/"; done

cat >"$WORK/client.rsp" <<'RSP'
[PanelTESADM]
EditorTESADM = pdmadm
EditorTESADMP = sandbox
[PanelTOEXE]
ChkButTOEXEStartupData = unchecked
ChkButTOEXEDBObj = unchecked
ChkButTOEXEClashInst = checked
RadButTOEXEClashClient = checked
[PanelDBMSType]
RadButIBMUDB = checked
[PanelTESDICO]
EditorTESDICO = pdmdico
[PanelDB2Param]
ComboDB2Instance = db2inst1
[PanelDB2Param2]
ComboDB2AliasName = PDMDB
[PanelDBAUSER]
EditorDBAUSER = db2inst1
EditorDBAUSERP = sandbox
[PanelTBSTypicalSel]
ComboTBSTypicalSel = USERSPACE1
[PanelCLASHSRV]
EditorCLASHSRVHostName = localhost
EditorCLASHSRVOrbixPort = 4321
RSP

run_wizard client "$WORK/client.rsp"
expect_run 0 "clash client installation" || finish
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
[ ! -e "$QelInstallPath/startup/orbix/config/Repositories/ImpRep/TESSARClashServer.imp" ] ||
  fail "a client created the clash server's implementation entry"
finish
