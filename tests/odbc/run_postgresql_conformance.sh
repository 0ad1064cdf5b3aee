#!/usr/bin/env bash
# Proves the database layer's ODBC code against a real server: starts a
# PostgreSQL server of its own (postgresql_server.sh: a Unix socket only, an
# unprivileged account, a private odbcinst.ini with a data source named like
# a database alias), runs the conformance tests and stops the server
# whatever they do.
#
# usage: run_postgresql_conformance.sh TEST_BINARY
set -euo pipefail
binary=${1:?the conformance test binary}

password=conformance-secret
# shellcheck source=tests/odbc/postgresql_server.sh
. "$(dirname "$0")/postgresql_server.sh" tester "$password" PGTEST

export TESSARDBSETUP_PG_DSN=PGTEST TESSARDBSETUP_PG_USER=tester TESSARDBSETUP_PG_PASSWORD=$password
export TESSARDBSETUP_PG_PIDFILE=$pg_data/postmaster.pid
# The server goes away in the last test: it runs alone, after the others.
"$binary" --gtest_filter='-*ServerGoesAway*'
"$binary" --gtest_filter='*ServerGoesAway*'
