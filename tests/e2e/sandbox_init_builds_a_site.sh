# `tessardbsetup-sandbox init` builds a complete site: every variable the
# wizard reads, the stand-in commands, the accounts, the DB2 instance and its
# databases, the Oracle home and service; it refuses a non-empty directory
# unless asked to replace it.
. "$(dirname "$0")/lib.sh"

site=$WORK/site
"$BIN/tessardbsetup-sandbox" init "$site" >"$WORK/out" 2>&1 || fail "init failed: $(cat "$WORK/out")"
"$BIN/tessardbsetup-sandbox" init "$site" >"$WORK/out" 2>&1
[ $? -eq 1 ] || fail "a second init over the site must be refused"
expect_contains "$WORK/out" "--force"
touch "$site/marker"
"$BIN/tessardbsetup-sandbox" init "$site" --force >/dev/null 2>&1 || fail "init --force failed"
[ -e "$site/marker" ] && fail "--force kept what was there"

(
  . "$site/env.sh"
  for variable in TESSARDBSETUP_SANDBOX QelInstallPath QelCommandPath QelReffilesPath \
    QelDictionaryPath QelUserSettingPath QelvarV5_environment_name QelvarV5_environment_directory \
    TESSARDBSETUP_LOGDIR; do
    [ -n "${!variable:-}" ] || echo "unset $variable"
  done
  [ "$(command -v WQ0INST)" = "$QelCommandPath/WQ0INST" ] || echo "WQ0INST not on PATH"
  GetDB2IList.sh || echo "GetDB2IList.sh failed"
  grep -qx db2inst1 /tmp/ZEP2_db2ilist_result.txt || echo "instance not listed"
  grep -q "^GetDB2IList.sh " "$site/calls.log" || echo "call not recorded"
  TESSARDBSETUP_STANDIN_EXIT_LK0ADSRB=4 LK0ADSRB a b c
  [ $? -eq 4 ] || echo "stand-in exit status not taken from the environment"
  [ -d "$site/home/db2inst1/sqllib/lib" ] || echo "no instance home"
  [ -f "$site/home/db2inst1/sqllib/lib/libLK0DB2.so" ] || echo "no LK0DB2"
  [ -d "$site/oracle/lib" ] && [ -f "$site/oracle/network/admin/tnsnames.ora" ] || echo "oracle home"
  grep -q "^LIBPATH=." "$QelvarV5_environment_directory/$QelvarV5_environment_name.txt" ||
    echo "no LIBPATH in the runtime environment"
  grep -q DEFAULT_LOCAL_SITE_V5R8 "$QelDictionaryPath/ZEPAdmin.adm" || echo "no site placeholder"
  grep -q IT_DAEMON_PORT "$QelInstallPath/startup/orbix/Orbix.cfg" || echo "no Orbix port"
  [ "$(ls "$QelReffilesPath/DBMS/ddl" | wc -l)" -gt 100 ] || echo "DDL repository incomplete"
  for alias in PDMDB PDMTEST PDMREMOT PDMORA; do
    tessardbsetup-sandbox db show "$alias" >/dev/null || echo "no database $alias"
  done
) >"$WORK/problems" 2>&1
[ -s "$WORK/problems" ] && fail "site: $(cat "$WORK/problems")"

# The accounts and the databases accept their administrators: the wizard's
# own checks get through to the tablespace page on both DBMSs.
. "$site/env.sh"
response_file "$WORK/db2.rsp" db2 - <<'RSP'
[PanelDBAUSER]
EditorDBAUSERP = @PASSWORD@
[PanelTBSTypicalSel]
button = Close
RSP
export TESSARDBSETUP_TRANSCRIPT=$WORK/transcript
timeout 300 tessardbsetup -responsefile "$WORK/db2.rsp" -logtrace "$WORK/T" </dev/null >/dev/null 2>&1
expect_status $? 2 "DB2 run closed on the tablespace page"
expect_contains "$TESSARDBSETUP_TRANSCRIPT" '"page":"PanelTBSTypicalSel"'
expect_contains "$WORK/T" '\nUser successfully logged in'
expect_contains "$WORK/T" '\nDB2 Alias name: PDMDB'
finish
