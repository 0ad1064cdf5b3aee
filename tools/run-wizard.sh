#!/usr/bin/env bash
# The main job: builds the program and starts the wizard. Arguments are
# passed on (for example -logtrace FILE).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh" >/dev/null
exec "$root/build/tessardbsetup" "$@"
