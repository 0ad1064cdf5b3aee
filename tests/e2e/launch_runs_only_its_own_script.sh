# The son's start script runs only when the first process has just created it:
# a link, another user's file or a directory at its fixed path is reported on
# the page and nothing runs; a /tmp that cannot execute is a fatal error at
# once. No run leaves the answers behind or shows the password.
. "$(dirname "$0")/lib_private_tmp.sh"
. "$(dirname "$0")/lib.sh"
PASSWORD=Pw4Launch
new_site site --password "$PASSWORD"
SCRIPT=/tmp/TESStartTmp.sh

sed "s/= sandbox\$/= $PASSWORD/" "$(dirname "$0")/../../docs/examples/db2-local.rsp" >"$WORK/db2.rsp"
grep -q "$PASSWORD" "$WORK/db2.rsp" || fail "the response file has no password to replace"

# Another user's script, which must never run.
mkdir -p /tmp/other
printf '#!/bin/sh\ntouch /tmp/foreign-script-ran\nexit 0\n' >/tmp/other/script.sh
chmod 755 /tmp/other/script.sh
chown -R nobody /tmp/other

no_answers_left() {
  local left
  left=$(ls -A "$QelUserSettingPath" 2>/dev/null | grep '^TESSARInst\.')
  [ -z "$left" ] || fail "$1: settings files left: $left"
}

# refused TAG WHAT: the run ends on DB2Param with the box naming WHAT, and no
# second process was started.
refused() {
  run_wizard "$1" "$WORK/db2.rsp"
  expect_run 2 "$1: a foreign $SCRIPT"
  [ ! -e /tmp/foreign-script-ran ] || fail "$1: the foreign script ran"
  expect_contains "$RUN.stderr" "$SCRIPT: there is $2"
  expect_contains "$RUN.stderr" "Remove what is at that path"
  [ "$(pids_of "$RUN.transcript" | wc -l)" -eq 1 ] || fail "$1: a second process started"
  expect_contains "$RUN.trace" '\nSonLauncher error !'
  expect_not_contains "$RUN.trace" 'SonLauncher success'
  no_answers_left "$1"
  expect_no_secret "$PASSWORD" "$RUN".*
}

ln -s /tmp/other/script.sh "$SCRIPT"
refused link "a symbolic link to /tmp/other/script.sh"
[ -L "$SCRIPT" ] || fail "the link was removed or replaced"
rm -f "$SCRIPT"

cp /tmp/other/script.sh "$SCRIPT"
chown nobody "$SCRIPT"
refused foreign-file "a file of user nobody"
cmp -s /tmp/other/script.sh "$SCRIPT" || fail "another user's file was changed"
rm -f "$SCRIPT"

mkdir "$SCRIPT"
refused directory "a directory"
rmdir "$SCRIPT"

# A file of our own at the path is a leftover of an earlier run: it is
# replaced, never run as it was, and the installation goes through.
printf 'touch /tmp/foreign-script-ran\n' >"$SCRIPT"
db_snapshot PDMDB "$WORK/before"
run_wizard leftover "$WORK/db2.rsp"
expect_run 0 "a leftover script of our own"
[ ! -e /tmp/foreign-script-ran ] || fail "the leftover script ran as it was"
[ ! -e "$SCRIPT" ] || fail "the start script stays after the run"
expect_contains "$RUN.trace" '\nSonLauncher success !'
no_answers_left leftover
expect_no_secret "$PASSWORD" "$RUN".*
"$BIN/tessardbsetup-sandbox" db reset PDMDB >/dev/null

# /tmp mounted noexec: the start fails at once, and the father says so.
mount -o remount,noexec /tmp
run_wizard noexec "$WORK/db2.rsp"
mount -o remount,exec /tmp
expect_run 1 "a /tmp that cannot execute"
expect_contains "$RUN.err" '\nFATAL Error in Installation Second Process\n'
expect_contains "$RUN.stderr" "the second process cannot be started: $SCRIPT: cannot be started"
expect_contains "$RUN.trace" '\nSonLauncher error !'
expect_contains "$RUN.transcript" '"event":"exit","status":1,'
no_answers_left noexec
[ ! -e "$SCRIPT" ] || fail "the start script stays after a failed start"
expect_no_secret "$PASSWORD" "$RUN".*
db_snapshot PDMDB "$WORK/after"
expect_same_db "$WORK/before" "$WORK/after" "runs that never started a son"

# An unprivileged administrator: root's link at the path is refused the same
# way, and once it is gone the installation runs.
USERDIR=$(mktemp -d /var/tmp/unprivileged.XXXXXX)
chmod 755 "$USERDIR"
chown nobody "$USERDIR"
as_nobody() {
  setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups \
    env -i HOME="$USERDIR" PATH=/usr/bin:/bin bash -c "$1"
}
as_nobody "'$BIN/tessardbsetup-sandbox' init '$USERDIR/site' --password $PASSWORD" >/dev/null ||
  fail "nobody cannot make a sandbox site"
unprivileged_run() {
  as_nobody ". '$USERDIR/site/env.sh'; '$BIN/tessardbsetup' -responsefile '$WORK/db2.rsp' \
    -logtrace '$USERDIR/$1.trace' -logerr '$USERDIR/$1.err' -logout '$USERDIR/$1.log' </dev/null \
    >'$USERDIR/$1.out' 2>'$USERDIR/$1.stderr'"
}
chmod 644 "$WORK/db2.rsp"
chmod 711 "$WORK"
ln -s /tmp/other/script.sh "$SCRIPT"
unprivileged_run refused
expect_status $? 2 "nobody with root's link at $SCRIPT"
expect_contains "$USERDIR/refused.stderr" "$SCRIPT: there is a symbolic link to /tmp/other/script.sh"
[ ! -e /tmp/foreign-script-ran ] || fail "nobody's run ran root's script"
rm -f "$SCRIPT"
unprivileged_run installed
expect_status $? 0 "nobody's installation"
[ -z "$(ls -A "$USERDIR/site/settings" | grep '^TESSARInst\.')" ] || fail "nobody's settings left"
expect_no_secret "$PASSWORD" "$USERDIR"/*.trace "$USERDIR"/*.log "$USERDIR"/*.err "$USERDIR"/*.stderr
rm -rf "$USERDIR"
finish
