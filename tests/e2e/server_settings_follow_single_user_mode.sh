# Single-user mode decides the account of the server settings: off, user and
# password stay empty; unset, the upper-cased administrator with its
# password, which then shows in no log, trace, transcript or script.
. "$(dirname "$0")/lib.sh"

# answers PASSWORD OUT: the server settings alone, on a site whose accounts
# all have PASSWORD.
answers() {
  response_file "$2" db2 db2_local_database db2_existing_tablespace PASSWORD="$1" - <<'RSP'
[PanelTOEXE]
ChkButTOEXEStartupData = unchecked
ChkButTOEXEDBObj = unchecked
[PanelDBAUSER]
EditorDBAUSER = db2inst1
EditorDBAUSERP = @PASSWORD@
RSP
}

# stored_settings: name, user and password of every setting as stored.
stored_settings() {
  stored_server_settings PDMDB DB2 | cut -d' ' -f1,5,6
}

names="TESCOMMON ZEPADMIN ZEPPEOPLE ZEPPUBSUB"

new_site off
answers sandbox "$WORK/off.rsp"
# LK0ADSRB fails here: reported, and the installation still ends well.
run_wizard off "$WORK/off.rsp" TESSAR_SINGLE_USER=off TESSARDBSETUP_STANDIN_EXIT_LK0ADSRB=4
expect_run 0 "installation with single-user mode off" || finish
expect_contains "$RUN.err" '\nError in Append RDB Settings\n\nAppend RDB Settings Return Code : 4\n'
expect_contains "$RUN.trace" '\nSINGLE USER OFF'
# No database work: one pass, with the client authentication chosen.
expect_lines "$(db_query PDMDB '
for s in db["server_settings"]:
    print(s["name"], s["vendor"], s["authentication"], repr(s["user"]), repr(s["password"]))')" \
  "$(for n in $names; do echo "$n 1 2 '' ''"; done)" "the settings without single user"
expect_lines "$(stored_settings)" "$(for n in $names; do echo "$n  "; done)" \
  "the stored settings without single user"

# The site's accounts share one password: this run's administrator gets
# another, checked through the site's own password check.
SITE=$WORK/on
secret=Adm1nSecret
"$BIN/tessardbsetup-sandbox" init "$SITE" --password "$secret" >/dev/null || fail "init --password"
. "$SITE/env.sh"
answers "$secret" "$WORK/on.rsp"
run_wizard on "$WORK/on.rsp"
expect_run 0 "installation in single-user mode" || finish
expect_contains "$RUN.trace" '\nSINGLE USER ON'
expect_lines "$(db_query PDMDB '
for s in db["server_settings"]:
    print(s["name"], s["authentication"], s["user"], s["password"])')" \
  "$(for n in $names; do echo "$n 1 PDMADM ***"; done)" "the settings in single-user mode"
expect_lines "$(stored_settings)" "$(for n in $names; do echo "$n PDMADM $secret"; done)" \
  "the stored settings in single-user mode"
"$BIN/tessardbsetup-sandbox" db show PDMDB >"$WORK/db-show.txt" 2>&1 || fail "db show PDMDB"
grep -Eq '^  TESCOMMON +server PDMDB, vendor 1, authentication 1, user PDMADM, password \*\*\*$' \
  "$WORK/db-show.txt" || fail "db show lists no TESCOMMON setting: $(grep TESCOMMON "$WORK/db-show.txt")"
expect_no_secret "$secret" "$WORK/db-show.txt" "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err" "$RUN.out" \
  "$RUN.stderr" "$QelvarV5_environment_directory/TESSAR.txt"
finish
