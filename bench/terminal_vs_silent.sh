#!/usr/bin/env bash
# What drawing the live status page costs an installation: the same DB2
# installation of a large generated repository, once silent and once driven
# by keys in a terminal (tmux, 120x40), timed from the summary page's Next to
# the report.
#
#   bench/terminal_vs_silent.sh BUILD_DIR [SCALE]      (SCALE 1-999, default 20)
#
# Run it as root in a private /tmp (unshare -m, tmpfs on /tmp), like the
# end-to-end tests. Silent: the wizard with the answers of
# docs/examples/db2-local.rsp; its time is the whole run's, the pages taking
# a few milliseconds. Terminal: the same answers typed; the clock starts when
# Enter is sent on the summary page and stops when the trace says the
# installation ended (polled every 20 ms, so the figure is that much coarse). Printed: both times and the terminal's extra cost in percent.
set -u
BIN=$(cd "${1:?build directory}" && pwd)
SCALE=${2:-20}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=$(mktemp -d)
trap 'tmux_stop; rm -rf "$WORK"' EXIT
fail() {
  echo "bench: $*" >&2
  exit 1
}
. "$ROOT/tests/e2e/lib_tmux.sh"
trap 'tmux_stop; rm -rf "$WORK"' EXIT

site() {
  SITE=$WORK/$1
  "$BIN/tessardbsetup-sandbox" init "$SITE" --ddl-scale "$SCALE" >/dev/null || fail "no site"
  . "$SITE/env.sh"
}

now() {
  date +%s.%N
}

site silent
start=$(now)
"$BIN/tessardbsetup" -responsefile "$ROOT/docs/examples/db2-local.rsp" -logtrace "$WORK/s.trace" \
  -logout "$WORK/s.log" -logerr "$WORK/s.err" </dev/null >/dev/null 2>&1 || fail "the silent run failed"
silent=$(echo "$(now) - $start" | bc)

tui_launch 120 40 --ddl-scale "$SCALE"
tui_on "PDM Administrator" -l pdmadm Tab -l sandbox Enter Enter
tui_on "Tasks to Perform" Enter
tui_on "Database System" Enter
tui_on "Dictionary Owner" Enter Enter
tui_on "DB2 Instance" Space Enter Enter
tui_on "DB2 Database" Enter
tui_on "Database Administrator" Tab -l sandbox Enter Enter
tui_on "Tablespace" Enter
tui_on "Summary"
start=$(now)
tmux_keys Enter
# The trace, not the screen, is watched: capturing the screen again and
# again would cost the machine more than the drawing being measured.
while ! grep -q 'INSTALLATION ENDED' "$WORK/trace" 2>/dev/null; do sleep 0.02; done
terminal=$(echo "$(now) - $start" | bc)
tui_on "Report" Enter
[ "$(tui_exit_status)" = 0 ] || fail "the terminal run failed"

statements=$(grep -c 'St_PlayDDL  DDL DML Statement' "$WORK/s.trace")
printf 'statements: %s\nsilent:   %.2f s\nterminal: %.2f s\nextra:    %.1f %%\n' "$statements" \
  "$silent" "$terminal" "$(echo "($terminal - $silent) * 100 / $silent" | bc -l)"
