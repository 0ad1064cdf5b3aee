#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan) into build-fuzz/ and
# runs each reader's target in turn, then prints per target its executions,
# time, coverage and the crashes, hangs and leaks found.
#
#   bench/fuzz.sh [RUNS | SECONDSs] [TARGET...]
#
# RUNS (default 1000000) stops a target after that many executions, or after
# 10 minutes, whichever comes first; "20s" stops it after 20 seconds instead.
# TARGET names readers (ddl_file response_file settings_file project_file
# status_graph environment_file) or the sandbox DBMS (sandbox_sql); default
# all. Each run first replays the target's regression inputs, then fuzzes
# from its seed corpus and from what earlier runs found
# (build-fuzz/fuzz-corpus/). Inputs that fail are written to
# build-fuzz/fuzz-artifacts/TARGET/; the exit status is 1 when any did.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSARDBSETUP_FUZZ_BUILD:-$root/build-fuzz}
all_targets=(ddl_file response_file settings_file project_file status_graph environment_file
  sandbox_sql)

runs=1000000
seconds=600
if [ $# -gt 0 ] && [[ $1 =~ ^[0-9]+s?$ ]]; then
  if [[ $1 == *s ]]; then
    seconds=${1%s}
    runs=-1
  else
    runs=$1
  fi
  shift
fi
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")

compiler=$(command -v clang++-14 || command -v clang++ || true)
[ -n "$compiler" ] || { echo "fuzz.sh: clang++ not found (tools/install-packages.sh)" >&2; exit 1; }
export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-$(command -v ccache || true)}
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER="$compiler" -DTESSARDBSETUP_FUZZ=ON \
  -DTESSARDBSETUP_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}" >/dev/null

# The readers that take a path get their files in a scratch directory:
# tmpfs keeps that from costing more than the reading.
if [ -z "${TMPDIR:-}" ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

summary=()
failed=0
for target in "${targets[@]}"; do
  binary=$build/tests/fuzz/fuzz_$target
  corpus=$build/fuzz-corpus/$target
  artifacts=$build/fuzz-artifacts/$target
  log=$build/fuzz-logs/$target.log
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  status=0
  regressions=$root/tests/fuzz/regressions/$target
  if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
    "$binary" "$regressions"/* >"$log.replay" 2>&1 || status=1
  fi
  start=$(date +%s)
  if [ "$status" -eq 0 ]; then
    "$binary" "$corpus" "$root/tests/fuzz/corpus/$target" -dict="$root/tests/fuzz/dict/$target.dict" \
      -runs="$runs" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$artifacts/" -print_final_stats=1 >"$log" 2>&1 || status=$?
  fi
  elapsed=$(($(date +%s) - start))
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" 2>/dev/null | tail -1)
  coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" 2>/dev/null | tail -1 || true)
  found=$(find "$artifacts" -newermt "@$start" -type f | wc -l)
  if [ "$status" -ne 0 ]; then
    failed=1
    echo "== $target FAILED (status $status): see $log (and $log.replay)" >&2
    tail -n 30 "$log.replay" "$log" 2>/dev/null >&2 || true
  fi
  summary+=("$(printf '%-17s %12s %7ss  %-22s %s' "$target" "${executions:-0}" "$elapsed" \
    "${coverage:-cov: ? ft: ?}" "$([ "$status" -eq 0 ] && echo 0 || echo "${found:-?} (status $status)")")")
done

printf '%-17s %12s %8s  %-22s %s\n' target executions time coverage crashes/hangs/leaks
printf '%s\n' "${summary[@]}"
exit "$failed"
