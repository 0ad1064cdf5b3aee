#!/usr/bin/env bash
# Every test: installs the packages, builds, runs unit and end-to-end tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh"

# Fuzz targets: a short bounded run of each reader's (bench/fuzz.sh; clang).
"$root/bench/fuzz.sh" "${TESSARDBSETUP_FUZZ_SECONDS:-20}s"

cd "$root/build"
ctest --output-on-failure -j 2
