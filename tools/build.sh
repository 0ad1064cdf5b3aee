#!/usr/bin/env bash
# Configures and builds the project into build/ (warnings are errors).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-packages.sh"
cmake -S "$root" -B "$root/build" -DTESSARDBSETUP_WERROR=ON >/dev/null
cmake --build "$root/build" -j "$(nproc)"
