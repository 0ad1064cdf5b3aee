#!/usr/bin/env bash
# The full fault-injection sweep: every position of every sweep that
# tests/e2e/fault_injection_sweep.sh samples in the test suite. It takes a
# quarter of an hour or more on two cores; it prints "N of N positions" per
# sweep. Usage: bench/fault_sweep.sh [BUILD-DIRECTORY] (default build/).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
# The program writes fixed names under /tmp: a private /tmp keeps parallel
# runs apart, and leaves a checkout or build tree under /tmp in sight.
exec env TESSARDBSETUP_PRIVATE_TMP=1 unshare -m --propagation private \
  bash "$root/tests/private_tmp_enter.sh" "$root" "$build" "$PWD" -- \
  env FAULT_SWEEP=all TMPDIR=/var/tmp bash "$root/tests/e2e/fault_injection_sweep.sh" "$build"
