#!/usr/bin/env bash
# The database layer's ODBC path against a real server's own client: the same
# file of CREATE TABLE statements played by odbc_statement_play (the layer's
# QelOdbcConnection through unixODBC and the server's ODBC driver) and by
# `psql -f`, against the same private PostgreSQL server.
#
#   bench/odbc_vs_psql.sh BUILD_DIR [STATEMENTS]      (default 10000)
#
# The server is started as the conformance tests start theirs
# (tests/odbc/postgresql_server.sh: initdb in a temporary directory, a Unix
# socket only, fsync off) and stopped at the end. Each statement is its own
# transaction on both sides: psql's default autocommit, and the layer's
# ExecuteCommitted (the driver's autocommit, as the installer plays its
# DDL). Every run
# plays into a database of its own, made empty from the same template; the
# two sides take turns RUNS times (default 3) and every run is printed.
# Timed: each client's whole process (start, connection, the statements,
# exit), wall and processor time; the layer's loop alone is printed beside.
# A third side shows what an explicit transaction per statement costs: psql
# -f on the same statements sent as the server's ODBC driver sends them with
# autocommit off ("BEGIN;statement", then COMMIT: two round trips where
# autocommit makes one), as the layer played them before. Printed last: the fastest run of each side and the ratios
# layer rate / psql rate (1: the layer is as fast as psql).
set -euo pipefail
shopt -s inherit_errexit

build=$(realpath "${1:?usage: odbc_vs_psql.sh BUILD_DIR [STATEMENTS]}")
count=${2:-10000}
runs=${RUNS:-3}
root=$(cd "$(dirname "$0")/.." && pwd)
player=$build/bench/odbc_statement_play
[[ -x $player ]] || {
  echo "odbc_vs_psql: $player is missing: build the tree first" >&2
  exit 2
}

password=bench-$RANDOM$RANDOM
# shellcheck source=tests/odbc/postgresql_server.sh
. "$root/tests/odbc/postgresql_server.sh" bench "$password" PGBENCH
export PGPASSWORD=$password TESSARDBSETUP_BENCH_PASSWORD=$password

statements=$pg_work/create_tables.sql
awk -v n="$count" 'BEGIN {
  for (i = 1; i <= n; ++i)
    printf "CREATE TABLE PDM_T%05d (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(64) NOT NULL, " \
      "AMOUNT DECIMAL(12,2), CREATED TIMESTAMP);\n", i
}' >"$statements"
# The same statements as the server's driver sends them with autocommit off:
# "BEGIN;statement" in one message, then COMMIT in another (psql sends a
# line joined by \; as one message).
awk '{ printf "BEGIN\\; %s\nCOMMIT;\n", $0 }' "$statements" >"$pg_work/with_commits.sql"

psql_cmd() {
  "$pg_bindir/psql" -X -q -v ON_ERROR_STOP=1 -h "$pg_socket" -U bench "$@"
}

# timed COMMAND...: runs COMMAND, its output in $pg_work/out; prints
# "WALL CPU" in seconds (processor time of the client alone).
timed() {
  local TIMEFORMAT='%R %U %S'
  { time "$@" >"$pg_work/out" 2>&1; } 2>"$pg_work/times" || {
    echo "odbc_vs_psql: $1 failed:" >&2
    cat "$pg_work/out" >&2
    return 1
  }
  awk '{ printf "%s %.2f\n", $1, $2 + $3 }' "$pg_work/times"
}

count_tables() {
  psql_cmd -d "$1" -At -c "SELECT count(*) FROM pg_tables WHERE schemaname = 'public'"
}

: >"$pg_work/layer.runs"
: >"$pg_work/psql.runs"
: >"$pg_work/psql-tx.runs"
for ((run = 1; run <= runs; ++run)); do
  for side in layer psql psql-tx; do
    database=${side//-/_}_$run
    psql_cmd -d postgres -c "CREATE DATABASE $database"
    if [[ $side == layer ]]; then
      read -r wall cpu < <(timed "$player" "$statements" "DSN=PGBENCH;UID=bench;Database=$database")
      loop=$(awk '{ print $4 }' "$pg_work/out")
    else
      file=$statements
      [[ $side == psql-tx ]] && file=$pg_work/with_commits.sql
      read -r wall cpu < <(timed psql_cmd -d "$database" -f "$file")
      loop=-
    fi
    tables=$(count_tables "$database")
    if ((tables != count)); then
      echo "odbc_vs_psql: $side made $tables tables of $count" >&2
      exit 1
    fi
    echo "$wall $cpu $loop" >>"$pg_work/$side.runs"
    awk -v side="$side" -v run="$run" -v n="$count" -v wall="$wall" -v cpu="$cpu" -v loop="$loop" \
      'BEGIN { printf "run %d %-7s %7.2f s  %6.0f statements/s   (client cpu %.2f s; loop %s s)\n",
        run, side, wall, n / wall, cpu, loop }'
    psql_cmd -d postgres -c "DROP DATABASE $database"
  done
done

read -r layer_wall layer_cpu _ < <(sort -n "$pg_work/layer.runs" | head -n 1)
read -r psql_wall psql_cpu _ < <(sort -n "$pg_work/psql.runs" | head -n 1)
read -r tx_wall tx_cpu _ < <(sort -n "$pg_work/psql-tx.runs" | head -n 1)
awk -v n="$count" -v lw="$layer_wall" -v pw="$psql_wall" -v tw="$tx_wall" -v lc="$layer_cpu" \
  -v pc="$psql_cpu" -v tc="$tx_cpu" 'BEGIN {
  printf "fastest: layer %.2f s (%.0f statements/s), psql -f %.2f s (%.0f statements/s),",
    lw, n / lw, pw, n / pw
  printf " psql -f with a transaction per statement %.2f s (%.0f statements/s)\n", tw, n / tw
  printf "ratio    %.2f   layer rate / psql rate   (client cpu: layer %.2f s, psql %.2f s)\n",
    pw / lw, lc, pc
  printf "ratio    %.2f   layer rate / rate of psql with a transaction per statement (its cpu %.2f s)\n",
    tw / lw, tc
}'
