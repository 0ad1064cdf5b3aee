#!/usr/bin/env bash
# Every test: installs the packages, checks the layout, builds, runs unit and
# end-to-end tests, then runs a part of them again under the sanitizers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-packages.sh"
"$root/tools/check-format.sh"
"$root/tools/build.sh"

# Fuzz targets: a short bounded run of each reader's (bench/fuzz.sh; clang).
"$root/bench/fuzz.sh" "${TESSARDBSETUP_FUZZ_SECONDS:-20}s"

cd "$root/build"
ctest --output-on-failure -j 2

# ASan and UBSan: every unit test and the e2e tests labelled "sanitize".
"$root/tools/run-sanitized-tests.sh"
