#!/usr/bin/env bash
# Proves the database layer's ODBC code against a real server: starts a
# PostgreSQL server of its own (initdb in a temporary directory, a Unix
# socket only, an unprivileged account since the server refuses root),
# registers its ODBC driver in a private odbcinst.ini, runs the conformance
# tests and stops the server whatever they do.
#
# usage: run_postgresql_conformance.sh TEST_BINARY
set -euo pipefail
binary=${1:?the conformance test binary}

bindir= driver=
for candidate in /usr/lib/postgresql/*/bin; do [ -x "$candidate/initdb" ] && bindir=$candidate; done
for candidate in /usr/lib/*/odbc/psqlodbcw.so /usr/lib/odbc/psqlodbcw.so; do
  [ -f "$candidate" ] && driver=$candidate && break
done
if [ -z "$bindir" ] || [ -z "$driver" ]; then
  echo "PostgreSQL or its ODBC driver is missing: run tools/install-packages.sh as root" >&2
  exit 1
fi

work=$(mktemp -d)
chmod 755 "$work"
data=$work/data
socket=$work/socket
mkdir -m 700 "$data" && mkdir -m 755 "$socket" "$work/log"

# as_server COMMAND...: runs COMMAND as the account that owns the server.
if [ "$(id -u)" -eq 0 ]; then
  chown nobody:nogroup "$data" "$socket" "$work/log"
  as_server() { setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"; }
else
  as_server() { "$@"; }
fi

stop_server() {
  as_server "$bindir/pg_ctl" -D "$data" stop -m immediate >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap stop_server EXIT

password=conformance-secret
printf '%s\n' "$password" >"$work/pwfile"
chmod 644 "$work/pwfile"
as_server "$bindir/initdb" -D "$data" -U tester --pwfile="$work/pwfile" --auth=scram-sha-256 \
  -E UTF8 --locale=C.UTF-8 >"$work/initdb.log" 2>&1 || { cat "$work/initdb.log" >&2; exit 1; }
rm -f "$work/pwfile"
as_server "$bindir/pg_ctl" -D "$data" -l "$work/log/server.log" -w -t 60 \
  -o "-c listen_addresses= -k $socket -c fsync=off" start >/dev/null ||
  { cat "$work/log/server.log" >&2; exit 1; }

# The driver and a data source named like a database alias, in files of
# our own: the host's ODBC configuration is neither read nor changed.
export ODBCSYSINI=$work/odbc ODBCINI=$work/odbc/odbc.ini
mkdir -p "$ODBCSYSINI"
cat >"$ODBCSYSINI/odbcinst.ini" <<INI
[PostgreSQL Unicode]
Description = PostgreSQL ODBC driver
Driver = $driver
INI
cat >"$ODBCSYSINI/odbc.ini" <<INI
[PGTEST]
Driver = PostgreSQL Unicode
Servername = $socket
Port = 5432
Database = postgres
INI

export TESSARDBSETUP_PG_DSN=PGTEST TESSARDBSETUP_PG_USER=tester TESSARDBSETUP_PG_PASSWORD=$password
export TESSARDBSETUP_PG_PIDFILE=$data/postmaster.pid
# The server goes away in the last test: it runs alone, after the others.
"$binary" --gtest_filter='-*ServerGoesAway*'
"$binary" --gtest_filter='*ServerGoesAway*'
