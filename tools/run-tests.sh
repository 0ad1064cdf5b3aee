#!/usr/bin/env bash
# Every test: installs the packages, builds, runs unit and end-to-end tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh"
cd "$root/build"
ctest --output-on-failure -j 2
