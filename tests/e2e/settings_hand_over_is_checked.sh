# The answers handed to the son are checked: a settings file that cannot be
# written stops the run before any son starts; a leftover of a run that did
# not end is removed with a message; another run's file is left alone; a son
# killed by a signal is a fatal error, never Back or Cancel; and no run, in a
# settings directory of any name, leaves the answers behind.
. "$(dirname "$0")/lib.sh"
PASSWORD=Pw4Settings
new_site site --password "$PASSWORD"
sed "s/= sandbox\$/= $PASSWORD/" "$(dirname "$0")/../../docs/examples/db2-local.rsp" >"$WORK/db2.rsp"
SETTINGS_TEXT=$(msg_text ZEP2Launch ERRMSGSettingsNotSaved)

answers_left() {
  ls -A "$1" 2>/dev/null | grep '^TESSARInst\.'
}

# not_saved TAG: the run stopped on DB2Param, saying why, with one process.
not_saved() {
  expect_run 2 "$1"
  expect_contains "$RUN.stderr" "${SETTINGS_TEXT%%%1*}"
  [ "$(pids_of "$RUN.transcript" | wc -l)" -eq 1 ] || fail "$1: a second process started"
  expect_not_contains "$RUN.trace" 'SonLauncher Begin'
  expect_no_secret "$PASSWORD" "$RUN".*
}

# A settings directory that cannot be made (its parent is a file).
touch "$WORK/plain-file"
run_wizard unwritable "$WORK/db2.rsp" QelUserSettingPath="$WORK/plain-file/settings"
not_saved "an unwritable settings directory"
expect_contains "$RUN.stderr" "$WORK/plain-file/settings"

# A link at the settings file: refused, and its target untouched.
echo "not yours" >"$WORK/target"
mkdir -p "$QelUserSettingPath"
ln -s "$WORK/target" "$QelUserSettingPath/TESSARInst.settings"
run_wizard link "$WORK/db2.rsp"
not_saved "a link at the settings file"
[ "$(cat "$WORK/target")" = "not yours" ] || fail "the link's target was written"
rm -f "$QelUserSettingPath"/TESSARInst.*

# A leftover of a run that did not end: removed, said, and a new run goes on.
printf 'TES_INST_PARTII=Y\nTES_TESADM=pdmadm\nTES_TESADMP=LeftOverPw\nTES_DBMS_ORACLE=Y\n' \
  >"$QelUserSettingPath/TESSARInst.settings"
run_wizard stale "$WORK/db2.rsp"
expect_run 0 "a run after a stale settings file"
expect_contains "$RUN.stderr" "removed the installation settings file $QelUserSettingPath/TESSARInst.settings"
expect_contains "$RUN.err" "left by an earlier run that did not end"
[ -z "$(answers_left "$QelUserSettingPath")" ] || fail "settings left: $(answers_left "$QelUserSettingPath")"
expect_no_secret LeftOverPw "$RUN".*
expect_no_secret "$PASSWORD" "$RUN".*
"$BIN/tessardbsetup-sandbox" db reset PDMDB >/dev/null

# Another run's file, its first process alive (it holds the lock): left alone.
printf 'TES_INST_PARTII=Y\n' >"$QelUserSettingPath/TESSARInst.settings"
(
  exec 9>"$QelUserSettingPath/TESSARInst.lock"
  flock 9
  exec sleep 60
) &
holder=$!
deadline=$((SECONDS + 60))
while flock -n "$QelUserSettingPath/TESSARInst.lock" true && [ $SECONDS -lt $deadline ]; do
  sleep 0.1
done
run_wizard busy "$WORK/db2.rsp"
expect_run 2 "a settings file of a running installation"
expect_contains "$RUN.stderr" "another installation is running"
[ -f "$QelUserSettingPath/TESSARInst.settings" ] || fail "another run's settings file was removed"
expect_not_contains "$RUN.transcript" '"event":"page"'
kill "$holder" 2>/dev/null
wait "$holder" 2>/dev/null
rm -f "$QelUserSettingPath"/TESSARInst.*

# A son started without its father's answers refuses to become a first process.
FATHERPID=$$ "$BIN/tessardbsetup" -responsefile "$WORK/db2.rsp" -logtrace "$WORK/orphan.trace" \
  -logerr "$WORK/orphan.err" </dev/null >"$WORK/orphan.out" 2>"$WORK/orphan.stderr"
expect_status $? 4 "a son without settings"
expect_contains "$WORK/orphan.stderr" "holds no answers of a first process"
expect_not_contains "$WORK/orphan.trace" 'SonLauncher'
expect_not_contains "$WORK/orphan.trace" 'CB_TESADM_Next'

# A son killed by a signal: a fatal error of the father, whatever the signal.
mkdir -p "$WORK/killer"
for signal in HUP INT TERM KILL; do
  # The script starts its son with these signals ignored, as the real son
  # installs its own handlers: this one puts the default back first.
  printf '#!/usr/bin/perl\n$SIG{%s} = "DEFAULT";\nkill "%s", $$;\n' "$signal" "$signal" \
    >"$WORK/killer/WQ0INST"
  chmod 755 "$WORK/killer/WQ0INST"
  run_wizard "killed-$signal" "$WORK/db2.rsp" PATH="$WORK/killer:$PATH"
  expect_run 1 "a son killed by SIG$signal"
  expect_contains "$RUN.err" '\nFATAL Error in Installation Second Process\n'
  expect_contains "$RUN.trace" '\nhand error code! (1)'
  expect_not_contains "$RUN.trace" 'hand BACK code'
  expect_not_contains "$RUN.trace" 'hand CLOSE or CANCEL'
  [ -z "$(answers_left "$QelUserSettingPath")" ] || fail "SIG$signal: settings left"
  expect_no_secret "$PASSWORD" "$RUN".*
done

# A settings directory whose name has blanks: a whole run leaves nothing.
spaced="$WORK/my settings dir"
run_wizard spaced "$WORK/db2.rsp" QelUserSettingPath="$spaced"
expect_run 0 "an installation with blanks in the settings directory"
[ -z "$(answers_left "$spaced")" ] || fail "settings left in '$spaced': $(answers_left "$spaced")"
finish
