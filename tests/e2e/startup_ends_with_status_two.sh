# With no page to show the program traces its execution mode and ends with
# status 2; the log options follow the command-line rules.
. "$(dirname "$0")/lib.sh"

"$BIN/tessardbsetup" -logout "$WORK/L" -logtrace "$WORK/T" </dev/null
expect_status $? 2 "plain start"
[ -f "$WORK/L" ] || fail "log file L was not created"
expect_contains "$WORK/T" '\nDatabase execution mode'
expect_contains "$WORK/T" '\nNO File execution mode\n'
[ "$(stat -c %a "$WORK/T")" = 600 ] || fail "trace mode is $(stat -c %a "$WORK/T")"

# A second run starts the files afresh.
echo "stale line" >>"$WORK/T"
"$BIN/tessardbsetup" -logout "$WORK/L" -logtrace "$WORK/T" </dev/null
expect_not_contains "$WORK/T" "stale line"

"$BIN/tessardbsetup" -logtrace "$WORK/first" -logtrace "$WORK/second" </dev/null
expect_status $? 2 "trace given twice"
[ -e "$WORK/first" ] && fail "the first -logtrace path was used"
expect_contains "$WORK/second" '\nNO File execution mode\n'

# A dangling option is ignored: the defaults are used.
"$BIN/tessardbsetup" -logtrace </dev/null
expect_status $? 2 "dangling option"
expect_contains "$TESSARDBSETUP_LOGDIR/tessardbsetup.trace" '\nDatabase execution mode'
[ -f "$TESSARDBSETUP_LOGDIR/tessardbsetup.log" ] || fail "default log missing"
[ -f "$TESSARDBSETUP_LOGDIR/tessardbsetup.err" ] || fail "default error log missing"

# The program answers to its son-script name too.
"$BIN/WQ0INST" -logtrace "$WORK/wq" </dev/null
expect_status $? 2 "WQ0INST"
expect_contains "$WORK/wq" '\nNO File execution mode\n'

# A trace path that is a link to somebody's file is refused, not followed.
echo precious >"$WORK/victim"
ln -s "$WORK/victim" "$WORK/link"
"$BIN/tessardbsetup" -logtrace "$WORK/link" </dev/null 2>"$WORK/stderr"
expect_status $? 2 "trace through a link"
[ "$(cat "$WORK/victim")" = precious ] || fail "the link's target was written"
expect_contains "$WORK/stderr" "cannot open log file"
finish
