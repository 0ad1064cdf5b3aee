#!/usr/bin/env bash
# Start-up and memory of silent DB2 installations on sandbox sites.
#
#   bench/startup_and_memory.sh BUILD_DIR [SCALE]      (SCALE default 80)
#
# Printed, each the fastest of RUNS runs (environment, default 3):
# - start-up: from the father's start to the son's first page shown (the
#   first transcript "page" event of a process other than the father), on a
#   site whose DDL files are empty, polled every 2 ms;
# - whole run: the same run from start to the father's exit: everything but
#   the repository (start-up, users and grants, the configuration files, the
#   pauses);
# - the son's peak resident memory in an installation of a site of SCALE
#   (80: about 50,000 statements), the son run under bench/peak_rss;
# - that installation's trace: its size, and the time writing it takes
#   (bench/trace_write_bench: in blocks as the program writes it, and line
#   by line for comparison).
# The answers are those of docs/examples/db2-local.rsp, database objects only
# (no start-up data), executed in the database. The wizard writes fixed /tmp
# names: run this in a private /tmp when others run tests on the machine.
set -euo pipefail
shopt -s inherit_errexit

build=$(realpath "${1:?usage: startup_and_memory.sh BUILD_DIR [SCALE]}")
scale=${2:-80}
runs=${RUNS:-3}
root=$(cd "$(dirname "$0")/.." && pwd)
for program in tessardbsetup tessardbsetup-sandbox WQ0INST bench/peak_rss \
  bench/trace_write_bench; do
  [[ -x $build/$program ]] || {
    echo "startup_and_memory: $build/$program is missing: build the tree first" >&2
    exit 2
  }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sed '/^\[PanelTOEXE\]/a ChkButTOEXEStartupData = unchecked' \
  "$root/docs/examples/db2-local.rsp" >"$work/objects.rsp"
printf '[PanelEXECParam]\nRadButEXEINDB = checked\n' >>"$work/objects.rsp"

"$build/tessardbsetup-sandbox" init "$work/empty" --ddl-scale 1 >/dev/null
for file in "$work/empty/reffiles/DBMS/ddl/"*; do : >"$file"; done
"$build/tessardbsetup-sandbox" init "$work/full" --ddl-scale "$scale" >/dev/null

# The son is WQ0INST found on PATH: this one records its peak memory.
mkdir "$work/wrap"
printf '#!/bin/sh\nexec "%s" "$SON_RSS_FILE" "%s" "$@"\n' "$build/bench/peak_rss" \
  "$build/WQ0INST" >"$work/wrap/WQ0INST"
chmod +x "$work/wrap/WQ0INST"

now() { date +%s.%N; }

# run SITE: one silent installation on a fresh database; prints
# "FIRST_SON_PAGE_SECONDS WHOLE_RUN_SECONDS".
run() {
  local site=$1
  (
    # shellcheck source=/dev/null
    . "$site/env.sh"
    export PATH=$work/wrap:$PATH SON_RSS_FILE=$site/son.rss
    export TESSARDBSETUP_TRANSCRIPT=$site/transcript.jsonl
    tessardbsetup-sandbox db reset PDMDB >/dev/null
    rm -f "$site/logs/"* "$TESSARDBSETUP_TRANSCRIPT" "$SON_RSS_FILE"
    : >"$TESSARDBSETUP_TRANSCRIPT"
    local start first="" father status=0
    start=$(now)
    tessardbsetup -responsefile "$work/objects.rsp" -logout "$site/logs/log" \
      -logerr "$site/logs/err" -logtrace "$site/logs/trace" </dev/null \
      >"$site/logs/console" 2>&1 &
    father=$!
    while kill -0 "$father" 2>/dev/null; do
      if [[ -z $first ]] && grep -v "\"pid\":$father," "$TESSARDBSETUP_TRANSCRIPT" |
        grep -q '"event":"page"'; then
        first=$(now)
      fi
      sleep 0.002
    done
    wait "$father" || status=$?
    local end
    end=$(now)
    if ((status != 0)) || [[ -z $first ]]; then
      echo "startup_and_memory: the installation on $site failed ($status); its logs:" >&2
      tail -n 5 "$site/logs/console" "$site/logs/err" >&2
      exit 1
    fi
    awk -v s="$start" -v f="$first" -v e="$end" 'BEGIN { printf "%.3f %.3f\n", f - s, e - s }'
  )
}

for ((i = 0; i < runs; ++i)); do run "$work/empty"; done >"$work/empty.runs"
read -r _ whole < <(sort -k2 -n "$work/empty.runs" | head -n 1)
read -r first _ < <(sort -n "$work/empty.runs" | head -n 1)
run "$work/full" >/dev/null
rss=$(awk '{ print $2 }' "$work/full/son.rss")
statements=$(grep -c 'St_PlayDDL  DDL DML Statement' "$work/full/logs/trace")

printf 'start-up   %6.3f s   father started to the son'"'"'s first page shown\n' "$first"
printf 'whole run  %6.3f s   silent installation, empty repository\n' "$whole"
awk -v kb="$rss" -v scale="$scale" -v n="$statements" 'BEGIN {
  printf "son memory %6.1f MB  peak resident, scale %d (%d statements)\n", kb / 1024, scale, n
}'
"$build/bench/trace_write_bench" "$work/full/logs/trace"
