# A database route that cannot work is told before anything is created: a
# driver that is not registered and a driver library that does not load each
# end a silent run with 2 and one line on stderr that says which and why.
. "$(dirname "$0")/lib.sh"

# stopped TAG DATABASE TEXT...: the run ended with 2, its one stderr line
# holds every TEXT, and DATABASE and the site's data files are as before.
stopped() {
  local tag=$1 database=$2 text
  shift 2
  expect_run 2 "$tag" || return
  [ "$(told_before_outcome "$RUN.stderr" | wc -l)" -eq 1 ] ||
    fail "$tag: stderr is not one line and the outcome: $(cat "$RUN.stderr")"
  expect_outcome_line 2 '*' "$tag"
  for text; do expect_contains "$RUN.stderr" "$text"; done
  expect_not_contains "$RUN.transcript" '"event":"page","page":"PanelSTATUS"'
  db_snapshot "$database" "$WORK/$tag-after"
  expect_same_db "$WORK/$tag-before" "$WORK/$tag-after" "$tag"
  [ -z "$(ls -A "$TESSARDBSETUP_SANDBOX/tablespaces")" ] || fail "$tag: a tablespace file was made"
  expect_no_secret "$PASSWORD" "$RUN.stderr" "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err"
}

# --- Oracle without a data source of the service's name, through a driver
# name nobody registered.
new_site oracle
python3 - "$ODBCINI" <<'PY'
import sys
text = open(sys.argv[1]).read()
start = text.index("[PDMORA]")
end = text.find("\n[", start + 1)
open(sys.argv[1], "w").write(text[:start] + (text[end + 1:] if end >= 0 else ""))
PY
response_file "$WORK/oracle.rsp" oracle oracle_new_tablespace
db_snapshot PDMORA "$WORK/unregistered-before"
run_wizard unregistered "$WORK/oracle.rsp" TESSARDBSETUP_ORACLE_DRIVER="Missing Oracle Client"
stopped unregistered PDMORA 'no ODBC driver \"Missing Oracle Client\" is registered for Oracle' \
  "$ODBCSYSINI/odbcinst.ini (ODBCSYSINI)" 'registered drivers: \"TESSAR Sandbox DB2\"' \
  "TESSARDBSETUP_ORACLE_DRIVER"

# --- DB2 through its data source, whose driver's library is not there.
new_site db2
sed -i "0,/^Driver = .*/s||Driver = $WORK/missing/libdb2o.so|" "$ODBCSYSINI/odbcinst.ini"
response_file "$WORK/db2.rsp" db2 db2_local_database db2_existing_tablespace
db_snapshot PDMDB "$WORK/unloadable-before"
run_wizard unloadable "$WORK/db2.rsp"
stopped unloadable PDMDB '\"TESSAR Sandbox DB2\" (named by the data source \"PDMDB\")' \
  "its library $WORK/missing/libdb2o.so does not load" "No such file or directory"
finish
