#!/usr/bin/env bash
# Runs every benchmark, one after the other, and prints their figures.
#
#   bench/run_all.sh BUILD_DIR [IN_PROCESS_BUILD_DIR]
#
# With IN_PROCESS_BUILD_DIR (a tree of the layer before it spoke ODBC, built
# alike), the installation through ODBC is also measured against it.
#
# The wizard writes fixed /tmp names; when others run tests on the machine,
# run this in a private /tmp:
#   unshare -m bash -c 'mount -t tmpfs tmpfs /tmp && bench/run_all.sh build'
set -euo pipefail
build=$(realpath "${1:?usage: run_all.sh BUILD_DIR [IN_PROCESS_BUILD_DIR]}")
in_process=${2:-}
here=$(cd "$(dirname "$0")" && pwd)

echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== sandbox DBMS rate by repository size, beside SQLite alone (sandbox_scale.sh)"
"$here/sandbox_scale.sh" "$build" 5 80
echo "== installer against the raw play (install_vs_raw.sh, RUNS=3)"
RUNS=3 "$here/install_vs_raw.sh" "$build" 5 20 80
if [[ -n $in_process ]]; then
  echo "== installer through ODBC against the in-process sandbox (odbc_vs_inprocess.sh, RUNS=3)"
  RUNS=3 "$here/odbc_vs_inprocess.sh" "$in_process" "$build" 5 20 80
fi
echo "== the layer through a real server's ODBC driver against psql -f (odbc_vs_psql.sh, RUNS=3)"
RUNS=3 "$here/odbc_vs_psql.sh" "$build" 10000
echo "== start-up, memory and trace (startup_and_memory.sh)"
"$here/startup_and_memory.sh" "$build" 80
echo "== DDL parser (ddl_parser_bench)"
"$build/bench/ddl_parser_bench" --benchmark_min_time=0.2
echo "== database layer (db_layer_bench)"
"$build/bench/db_layer_bench" --benchmark_min_time=0.2
