#!/usr/bin/env bash
# The main job: builds the program, creates a fresh sandbox site and runs
# the wizard against it. On a terminal without an argument the wizard is
# interactive; with a response file as argument, or without a terminal, the
# run is silent (default answers: the DB2 example). The site stays for
# inspection afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

usage() {
  cat <<'USAGE'
usage: tools/run-wizard.sh [RESPONSE-FILE]

Builds the program, creates a fresh sandbox site (sandbox-site/, or
$TESSARDBSETUP_SITE) and runs the database-setup wizard against it.

  no argument, on a terminal   the interactive wizard in this terminal
                               (Tab/arrows move, Space checks or opens a list,
                               Enter goes on, Esc or F10 closes)
  RESPONSE-FILE                a silent run with the answers of the file
  no argument, no terminal     a silent run with docs/examples/db2-local.rsp

The sandbox's Unix accounts (pdmadm, pdmdico, pdmvault, pdmclash, db2inst1)
and its Oracle SYSTEM user all have the password "sandbox".
USAGE
}

case "${1:-}" in
  -h | --help)
    usage
    exit 0
    ;;
esac

"$root/tools/build.sh" >/dev/null
site=${TESSARDBSETUP_SITE:-$root/sandbox-site}
"$root/build/tessardbsetup-sandbox" init "$site" --force >/dev/null
# shellcheck source=/dev/null
. "$site/env.sh"
logs=(-logout "$site/logs/tessardbsetup.log" -logerr "$site/logs/tessardbsetup.err"
  -logtrace "$site/logs/tessardbsetup.trace")

if [ $# -eq 0 ] && [ -t 0 ] && [ -t 1 ]; then
  cat <<INTRO
A fresh sandbox site is ready in $site.
  Unix accounts: pdmadm (PDM administrator), pdmdico (dictionary owner),
                 pdmvault, pdmclash, db2inst1 (DB2 instance owner)
  DB2:           instance db2inst1, local databases PDMDB and PDMTEST, remote PDMREMOT
  Oracle:        home $site/oracle, service PDMORA, administrator SYSTEM
  Password of every account above: sandbox
Keys: Tab/Shift-Tab/arrows move, Space checks or opens a list, Enter goes on,
Esc or F10 closes. Press Enter to start the wizard.
INTRO
  read -r _
  status=0
  tessardbsetup "${logs[@]}" || status=$?
  echo
  echo "Exit status: $status"
  echo "Logs:        $site/logs/ (log, error log, trace)"
  echo "Database:    . $site/env.sh && tessardbsetup-sandbox db show PDMDB   (or PDMORA)"
  exit "$status"
fi

responses=$(realpath "${1:-$root/docs/examples/db2-local.rsp}")
export TESSARDBSETUP_TRANSCRIPT=$site/transcript.jsonl
echo "Running the wizard with the answers of $responses ..."
status=0
tessardbsetup -responsefile "$responses" "${logs[@]}" </dev/null >"$site/logs/console.txt" ||
  status=$?

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
