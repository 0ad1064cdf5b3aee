#!/usr/bin/env bash
# The installer's own cost per statement: a full silent DB2 installation of a
# large generated DDL repository against the same statements played raw.
#
#   bench/install_vs_raw.sh BUILD_DIR [SCALE...]      (SCALE 1-999, default 5 20 80)
#
# BUILD_DIR is a build tree with the benchmarks (raw_ddl_play). Each SCALE is
# a sandbox site's --ddl-scale: 5 gives about 3,100 played statements, 20
# about 12,500, 80 about 50,000; the scales are measured one after the other
# and printed together. RUNS (environment, default 1) repeats both sides in
# turn and keeps the fastest run of each: the machine's load moves single
# runs by tens of percent.
#
# Installer: the wizard runs silently with the answers of
# docs/examples/db2-local.rsp, database objects only (no start-up data),
# executed in the database. Its time is the wall time of the whole run minus
# the fastest of three runs on a site whose DDL files are empty: what remains
# is reading and playing the repository with the wizard's idle steps, traces
# and progress around every statement. The end-of-run pause and the start-up
# cancel out; the modelers' already-installed look-ups, which an empty site
# skips, stay in (a connection and a catalogue query each, a few
# milliseconds in all).
# Raw: bench/raw_ddl_play plays the same filtered statements in the same
# order through the database layer, as the same DBA, one commit per
# statement, on the database reset to its state after init; only its
# execution loop is timed.
# Printed: the number of statements, each side's seconds and statements per
# second, the ratio installer rate / raw rate (1: the wizard adds nothing per
# statement; 0.5: it doubles the cost of each) and what the wizard adds per
# statement in microseconds, each from wall times and, in brackets, from
# processor times. The ratio depends on how dear the statements are, the
# microseconds much less. Last, the size of the full run's trace.
set -euo pipefail
shopt -s inherit_errexit

build=$(realpath "${1:?usage: install_vs_raw.sh BUILD_DIR [SCALE...]}")
shift
scales=("$@")
((${#scales[@]})) || scales=(5 20 80)
runs=${RUNS:-1}
root=$(cd "$(dirname "$0")/.." && pwd)
for program in tessardbsetup tessardbsetup-sandbox bench/raw_ddl_play; do
  [[ -x $build/$program ]] || {
    echo "install_vs_raw: $build/$program is missing: build the tree first" >&2
    exit 2
  }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The example's answers, with the start-up data left out.
sed '/^\[PanelTOEXE\]/a ChkButTOEXEStartupData = unchecked' \
  "$root/docs/examples/db2-local.rsp" >"$work/objects.rsp"
printf '[PanelEXECParam]\nRadButEXEINDB = checked\n' >>"$work/objects.rsp"

"$build/tessardbsetup-sandbox" init "$work/empty" --ddl-scale 1 >/dev/null
for file in "$work/empty/reffiles/DBMS/ddl/"*; do : >"$file"; done

# run_installer SITE: one silent installation on a fresh database; prints
# "WALL CPU STATEMENTS" (seconds, father and son together).
run_installer() {
  local site=$1
  (
    # shellcheck source=/dev/null
    . "$site/env.sh"
    export TESSARDBSETUP_TRANSCRIPT=$site/transcript.jsonl
    tessardbsetup-sandbox db reset PDMDB >/dev/null
    rm -f "$site/logs/"* "$TESSARDBSETUP_TRANSCRIPT"
    TIMEFORMAT='%R %U %S'
    {
      time tessardbsetup -responsefile "$work/objects.rsp" -logout "$site/logs/log" \
        -logerr "$site/logs/err" -logtrace "$site/logs/trace" </dev/null \
        >"$site/logs/console" 2>&1
    } 2>"$work/times"
  ) || {
    echo "install_vs_raw: the installation on $site failed; its logs:" >&2
    tail -n 5 "$site/logs/console" "$site/logs/err" >&2
    return 1
  }
  awk -v played="$(grep -c 'St_PlayDDL  DDL DML Statement' "$site/logs/trace")" \
    '{ printf "%s %.2f %d\n", $1, $2 + $3, played }' "$work/times"
}

# run_raw: prints "WALL CPU STATEMENTS" of raw_ddl_play on the full site.
run_raw() {
  local output
  output=$(
    # shellcheck source=/dev/null
    . "$work/full/env.sh"
    tessardbsetup-sandbox db reset PDMDB >/dev/null
    "$build/bench/raw_ddl_play"
  )
  awk 'NR == 1 { print $4, $6, $2 }' <<<"$output"
}

# The empty site's runs, the part of a run that does not depend on the
# repository, are measured once for all scales.
for ((i = 0; i < 3; ++i)); do run_installer "$work/empty"; done >"$work/empty.runs"
empty=$(sort -n "$work/empty.runs" | head -n 1)
read -r empty_wall empty_cpu empty_count <<<"$empty"

# measure SCALE: both sides on a site of that scale, printed.
measure() {
  local scale=$1
  rm -rf "$work/full" "$work/full.runs" "$work/raw.runs"
  "$build/tessardbsetup-sandbox" init "$work/full" --ddl-scale "$scale" >/dev/null
  # Both sides take turns, so a spell of load on the machine slows both; the
  # fastest run of each counts. Lines are "WALL CPU STATEMENTS".
  for ((i = 0; i < runs; ++i)); do
    run_installer "$work/full" >>"$work/full.runs"
    run_raw >>"$work/raw.runs"
  done
  local full played statements full_wall full_cpu raw_wall raw_cpu raw_count
  full=$(sort -n "$work/full.runs" | head -n 1)
  played=$(sort -n "$work/raw.runs" | head -n 1)
  read -r full_wall full_cpu statements <<<"$full"
  read -r raw_wall raw_cpu raw_count <<<"$played"
  if ((empty_count != 0 || raw_count != statements || statements == 0)); then
    echo "install_vs_raw: statements played: installer $statements, raw $raw_count," \
      "empty site $empty_count" >&2
    exit 1
  fi
  awk -v n="$statements" -v scale="$scale" -v fw="$full_wall" -v fc="$full_cpu" \
    -v ew="$empty_wall" -v ec="$empty_cpu" -v rw="$raw_wall" -v rc="$raw_cpu" \
    -v trace="$(wc -c <"$work/full/logs/trace")" 'BEGIN {
    iw = fw - ew; ic = fc - ec
    printf "scale %d: %d statements\n", scale, n
    printf "installer  %8.2f s  %8.0f statements/s   (cpu %6.2f s; run %.2f s, empty run %.2f s)\n",
      iw, n / iw, ic, fw, ew
    printf "raw        %8.2f s  %8.0f statements/s   (cpu %6.2f s)\n", rw, n / rw, rc
    printf "ratio      %8.2f   installer rate / raw rate   (cpu %.2f)\n", rw / iw, rc / ic
    printf "wizard     %8.0f us per statement   (cpu %.0f us)\n", 1e6 * (iw - rw) / n,
      1e6 * (ic - rc) / n
    printf "trace      %8.1f MB for the full run\n", trace / 1e6
  }'
}

for scale in "${scales[@]}"; do measure "$scale"; done
