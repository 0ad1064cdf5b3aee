# Sourced: starts a PostgreSQL server of the caller's own (initdb in a
# temporary directory, a Unix socket only, an unprivileged account since the
# server refuses root) and registers its ODBC driver and a data source in a
# private odbcinst.ini/odbc.ini: the host's ODBC configuration is neither
# read nor changed. A trap stops the server and removes everything on exit,
# whatever the caller does in between.
#
#   . tests/odbc/postgresql_server.sh USER PASSWORD DSN
#
# Sets pg_bindir (the server's programs, psql beside them), pg_socket (the
# socket's directory, also the host to give clients), pg_data, pg_work, and
# exports ODBCSYSINI and ODBCINI; DSN names the database postgres.

pg_user=${1:?the server account}
pg_password=${2:?its password}
pg_dsn=${3:?the data source name}

pg_bindir= pg_driver=
for candidate in /usr/lib/postgresql/*/bin; do [ -x "$candidate/initdb" ] && pg_bindir=$candidate; done
for candidate in /usr/lib/*/odbc/psqlodbcw.so /usr/lib/odbc/psqlodbcw.so; do
  [ -f "$candidate" ] && pg_driver=$candidate && break
done
if [ -z "$pg_bindir" ] || [ -z "$pg_driver" ]; then
  echo "PostgreSQL or its ODBC driver is missing: run tools/install-packages.sh as root" >&2
  exit 1
fi

pg_work=$(mktemp -d)
chmod 755 "$pg_work"
pg_data=$pg_work/data
pg_socket=$pg_work/socket
mkdir -m 700 "$pg_data" && mkdir -m 755 "$pg_socket" "$pg_work/log"

# pg_as_server COMMAND...: runs COMMAND as the account that owns the server.
if [ "$(id -u)" -eq 0 ]; then
  chown nobody:nogroup "$pg_data" "$pg_socket" "$pg_work/log"
  pg_as_server() { setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"; }
else
  pg_as_server() { "$@"; }
fi

pg_stop_server() {
  pg_as_server "$pg_bindir/pg_ctl" -D "$pg_data" stop -m immediate >/dev/null 2>&1 || true
  rm -rf "$pg_work"
}
trap pg_stop_server EXIT

printf '%s\n' "$pg_password" >"$pg_work/pwfile"
chmod 644 "$pg_work/pwfile"
pg_as_server "$pg_bindir/initdb" -D "$pg_data" -U "$pg_user" --pwfile="$pg_work/pwfile" \
  --auth=scram-sha-256 -E UTF8 --locale=C.UTF-8 >"$pg_work/initdb.log" 2>&1 ||
  { cat "$pg_work/initdb.log" >&2; exit 1; }
rm -f "$pg_work/pwfile"
pg_as_server "$pg_bindir/pg_ctl" -D "$pg_data" -l "$pg_work/log/server.log" -w -t 60 \
  -o "-c listen_addresses= -k $pg_socket -c fsync=off" start >/dev/null ||
  { cat "$pg_work/log/server.log" >&2; exit 1; }

export ODBCSYSINI=$pg_work/odbc ODBCINI=$pg_work/odbc/odbc.ini
mkdir -p "$ODBCSYSINI"
cat >"$ODBCSYSINI/odbcinst.ini" <<INI
[PostgreSQL Unicode]
Description = PostgreSQL ODBC driver
Driver = $pg_driver
INI
cat >"$ODBCSYSINI/odbc.ini" <<INI
[$pg_dsn]
Driver = PostgreSQL Unicode
Servername = $pg_socket
Port = 5432
Database = postgres
INI
