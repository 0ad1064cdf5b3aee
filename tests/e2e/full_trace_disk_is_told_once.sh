# A trace on a disk that fills up during the run: each process says so once on
# stderr and writes no more to it, and the installation goes on to its end
# with the log and the error log intact.
. "$(dirname "$0")/lib_private_tmp.sh"
. "$(dirname "$0")/lib.sh"
new_site

# A file system of a few pages, for the trace alone.
mkdir "$WORK/small"
if ! mount -t tmpfs -o size=16k,mode=0700 tmpfs "$WORK/small"; then
  echo "skipped: $(basename "$0") cannot mount a small file system"
  exit 0
fi
trap 'umount "$WORK/small"; rm -rf "$WORK"' EXIT

RUN=$WORK/run-full
TRACE=$WORK/small/trace
TESSARDBSETUP_TRANSCRIPT="$RUN.transcript" timeout -k 10 300 "$BIN/tessardbsetup" \
  -responsefile "$(dirname "$0")/../../docs/examples/db2-local.rsp" -logtrace "$TRACE" \
  -logout "$RUN.log" -logerr "$RUN.err" </dev/null >"$RUN.out" 2>"$RUN.stderr"
status=$?
expect_run 0 "a DB2 installation whose trace fills its disk"

told="tessardbsetup: cannot write the trace $TRACE: No space left on device; nothing more is written to it"
# Each process tells it once; the son, opening a full file, tells it too.
mapfile -t processes < <(pids_of "$RUN.transcript")
telling=$(grep -c "cannot write" "$RUN.stderr")
[ "$telling" -ge 1 ] && [ "$telling" -le "${#processes[@]}" ] ||
  fail "$telling failed writes told by ${#processes[@]} processes: $(cat "$RUN.stderr")"
[ -z "$(grep "cannot write" "$RUN.stderr" | grep -vxF "$told")" ] ||
  fail "a failed write told otherwise than '$told': $(grep "cannot write" "$RUN.stderr")"
[ "${#processes[@]}" -eq 2 ] || fail "the transcript shows ${#processes[@]} processes"

# What reached the trace is its beginning; the rest of the run is in the log.
size=$(stat -c %s "$TRACE")
[ "$size" -gt 0 ] && [ "$size" -le 16384 ] || fail "the trace holds $size bytes"
expect_contains "$TRACE" "SonLauncher Begin ..."
expect_not_contains "$TRACE" 'INSTALLATION ENDED'
expect_contains "$RUN.log" '\nINSTALLATION ENDED\n'
expect_contains "$RUN.err" "cannot write the trace $TRACE: No space left on device; nothing more is written to it\n"
finish
