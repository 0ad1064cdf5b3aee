#!/usr/bin/env bash
# The main job: builds the program, creates a fresh sandbox site and runs
# the wizard against it. With a response file as argument (default: the DB2
# example) the run is silent; the site stays for inspection afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh" >/dev/null
site=${TESSARDBSETUP_SITE:-$root/sandbox-site}
responses=$(realpath "${1:-$root/docs/examples/db2-local.rsp}")

"$root/build/tessardbsetup-sandbox" init "$site" --force
# shellcheck source=/dev/null
. "$site/env.sh"
export TESSARDBSETUP_TRANSCRIPT=$site/transcript.jsonl

echo "Running the wizard with the answers of $responses ..."
status=0
tessardbsetup -responsefile "$responses" -logout "$site/logs/tessardbsetup.log" \
  -logerr "$site/logs/tessardbsetup.err" -logtrace "$site/logs/tessardbsetup.trace" \
  </dev/null >"$site/logs/console.txt" || status=$?

echo
echo "Exit status: $status ($(tail -n 1 "$TESSARDBSETUP_TRANSCRIPT" | sed -n 's/.*"outcome":"\([^"]*\)".*/\1/p'))"
echo "Pages answered:"
grep -o '"event":"page","page":"[A-Za-z0-9]*"' "$TESSARDBSETUP_TRANSCRIPT" | cut -d'"' -f8 | uniq |
  tr '\n' ' '
echo
echo
echo "Logs:        $site/logs/ (log, error log, trace)"
echo "Transcript:  $TESSARDBSETUP_TRANSCRIPT"
echo "Database:    . $site/env.sh && tessardbsetup-sandbox db show PDMDB"
exit "$status"
