# An installation that goes on past the environment script (a symbolic link
# or another user's file planted at /tmp/TessarEnvCustom.sh, refused and not
# run) ends with 0 but "completed with warnings", naming the script and the
# reason: in its last line on stderr, its transcript's outcome and on the
# report page (whose text the log keeps). What was planted is left alone.
. "$(dirname "$0")/lib.sh"
new_site
response_file "$WORK/install.rsp" db2 db2_local_database db2_existing_tablespace
script=/tmp/TessarEnvCustom.sh

# refused TAG WHAT: one installation with WHAT (the refusal's words) planted
# at the script's path.
refused() {
  run_wizard "$1" "$WORK/install.rsp"
  expect_run 0 "an installation past a refused environment script ($1)" || return
  local warning="the environment script $script was not run: $script: there is $2"
  local last
  last=$(tail -n 1 "$RUN.stderr")
  [[ $last == "tessardbsetup: installation finished, completed with warnings: $warning (exit status 0); completed; "*"; log "* ]] ||
    fail "$1: the last line: $last"
  [[ $(tail -n 1 "$RUN.transcript") == *'"event":"exit","status":0,"outcome":"installation finished, completed with warnings: '"$warning"'"}' ]] ||
    fail "$1: the father's outcome: $(tail -n 1 "$RUN.transcript")"
  grep -q '"event":"exit","status":0,"outcome":"installation finished, completed with warnings: ' \
    <(sed -n 1p <(grep '"event":"exit"' "$RUN.transcript")) || fail "$1: the son's outcome lacks the warning"
  expect_contains "$RUN.log" "\n\n$(msg_text ZEP2DlgREPORT Warnings)\n- $warning\n"
  expect_contains "$RUN.err" "\nWARNING: $warning\n"
  expect_contains "$RUN.err" '\nSt_UpdateBDEnv Error!!!\n'
  "$BIN/tessardbsetup-sandbox" db reset PDMDB >/dev/null
}

echo 'not ours' >"$WORK/elsewhere"
ln -s "$WORK/elsewhere" "$script"
refused link "a symbolic link to $WORK/elsewhere"
[ -L "$script" ] && [ "$(cat "$WORK/elsewhere")" = 'not ours' ] || fail "the planted link was touched"
rm -f "$script"

if [ "$(id -u)" -eq 0 ]; then
  echo 'echo planted' >"$script"
  chown 65534:65534 "$script"
  refused other-user "a file of user $(getent passwd 65534 | cut -d: -f1) (uid 65534)"
  [ "$(stat -c %u "$script")" = 65534 ] && grep -qx 'echo planted' "$script" ||
    fail "the other user's file was touched"
  rm -f "$script"
else
  echo "skipped: another user's file needs root"
fi

# Nothing planted: the same run finishes cleanly and says only that, with
# what it did and where its files are.
run_wizard clean "$WORK/install.rsp"
expect_run 0 "a clean installation"
[ "$(wc -l <"$RUN.stderr")" -eq 1 ] || fail "a clean run wrote more than its outcome: $(cat "$RUN.stderr")"
expect_outcome_line 0 'installation finished (exit status 0); completed; 0 users, 0 tablespaces, [1-9]* objects created; [1-9]* statements played, in * s; log *' "a clean run"
[[ $(tail -n 1 "$RUN.transcript") == *'"event":"exit","status":0,"outcome":"installation finished"}' ]] ||
  fail "the clean run's outcome: $(tail -n 1 "$RUN.transcript")"
expect_not_contains "$RUN.err" "WARNING"
finish
