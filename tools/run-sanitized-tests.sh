#!/usr/bin/env bash
# The unit tests and the end-to-end tests labelled "sanitize" (a DB2 and an
# Oracle installation, rollbacks, the DDL file, a record), built with ASan and
# UBSan into build-asan/. The first report ends its process and fails its test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-packages.sh"
cmake -S "$root" -B "$root/build-asan" -DTESSARDBSETUP_WERROR=ON -DTESSARDBSETUP_SANITIZE=ON \
  -DTESSARDBSETUP_BENCH=OFF >/dev/null
cmake --build "$root/build-asan" -j "$(nproc)"

# Every process is ours (the wizard, its son, the sandbox tool, the stand-in
# commands the generated ksh scripts call), so leaks are looked for in all of
# them. A report in a system library would go into a suppression file here,
# with its reason; there is none.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cd "$root/build-asan"
ctest --output-on-failure -j "$(nproc)" -E '^e2e\.'
ctest --output-on-failure -j "$(nproc)" -L '^sanitize$'
