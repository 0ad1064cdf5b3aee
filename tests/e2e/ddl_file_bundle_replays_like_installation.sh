#!/usr/bin/env bash
# The DBA's bundle beside a DDL file: its forward script played with the
# sandbox's runner leaves the database as a direct installation with the same
# answers does, its reverse script then gives back the database as it was,
# and its manifest's checksums and counts are the files' own, so a changed
# script is caught. For DB2 and Oracle.
source "$(dirname "$0")/lib.sh"

CMD=$BIN/tessardbsetup-sandbox
export TESSARDBSETUP_SQL_PASSWORD=$PASSWORD

# comparable SNAPSHOT: the snapshot with the site's directory as SITE, so two
# sites' tablespace paths compare.
comparable() {
  sed "s|$2|SITE|g" "$1"
}

# manifest_count BUNDLE FILE: the statement count the manifest gives FILE.
manifest_count() {
  sed -n "s/^# statements: $2 \([0-9]*\)$/\1/p" "$1/MANIFEST"
}

# play TAG DATABASE DBA SCRIPT [OPTIONS]: the runner on a script of the
# bundle; the statement count of its summary in $played.
play() {
  local tag=$1 database=$2 dba=$3 script=$4
  shift 4
  "$CMD" sql "$database" -u "$dba" -f "$script" "$@" >"$WORK/$tag.out" 2>"$WORK/$tag.err" </dev/null
  expect_status $? 0 "$tag: the runner"
  played=$(sed -n 's/^summary: \([0-9]*\) statements, 0 failed, 0 not run, 0 client commands$/\1/p' \
    "$WORK/$tag.out")
  [ -n "$played" ] || fail "$tag: $(tail -n 3 "$WORK/$tag.out" "$WORK/$tag.err")"
}

# check_bundle TAG BUNDLE: modes, files, the manifest's checksums and a
# tampered script caught.
check_bundle() {
  local tag=$1 bundle=$2
  [ -d "$bundle" ] || { fail "$tag: no bundle $bundle"; return 1; }
  expect_lines "$(cd "$bundle" && stat -c '%a %n' . * | sort -k2)" \
    "$(printf '%s\n' '700 .' '600 MANIFEST' '600 README' '600 forward.sql' '600 reverse.sql')" \
    "$tag: the bundle's files and modes"
  cmp -s "$bundle/forward.sql" "$DDL" || fail "$tag: forward.sql is not the DDL file"
  (cd "$bundle" && sha256sum -c --strict MANIFEST) >"$WORK/$tag-check.out" 2>&1
  expect_status $? 0 "$tag: sha256sum -c of the fresh bundle"
  expect_lines "$(cat "$WORK/$tag-check.out")" \
    "$(printf '%s: OK\n' forward.sql reverse.sql README)" "$tag: the checked files"
  grep -q "^# generated: $(date +%Y)-" "$bundle/MANIFEST" || fail "$tag: the manifest has no date"
  expect_no_secret "$DICO_PASSWORD" "$bundle/reverse.sql" "$bundle/MANIFEST" "$bundle/README"
  # A copy with one statement changed is caught, and so is a missing file.
  cp -r "$bundle" "$WORK/$tag-tampered"
  sed -i '0,/^DROP /s//DROP  /' "$WORK/$tag-tampered/reverse.sql"
  (cd "$WORK/$tag-tampered" && sha256sum -c --strict MANIFEST) >"$WORK/$tag-tampered.out" 2>&1
  expect_status $? 1 "$tag: sha256sum -c of a tampered bundle"
  expect_contains "$WORK/$tag-tampered.out" "reverse.sql: FAILED"
  rm "$WORK/$tag-tampered/README"
  (cd "$WORK/$tag-tampered" && sha256sum -c --strict MANIFEST) >/dev/null 2>&1
  expect_status $? 1 "$tag: sha256sum -c of a bundle without its README"
}

# bundle_round DBMS DATABASE DBA ANSWERS RESPONSE-PARTS...: the whole round
# for one DBMS, with the shared answers of the parts and those of the file
# ANSWERS.
bundle_round() {
  local dbms=$1 database=$2 dba=$3 answers=$4
  shift 4

  # A direct installation on a site of its own.
  new_site "$dbms-direct"
  local direct_site=$SITE
  response_file "$WORK/$dbms-direct.rsp" "$@" - <"$answers"
  run_wizard "$dbms-direct" "$WORK/$dbms-direct.rsp"
  expect_run 0 "$dbms: the direct installation" || return
  db_snapshot "$database" "$WORK/$dbms-direct.snapshot"

  # The same answers into a DDL file on a fresh site.
  new_site "$dbms-file"
  response_file "$WORK/$dbms-file.rsp" "$@" - ddl_file DDL_FILE=pdm.ddl <"$answers"
  run_wizard "$dbms-file" "$WORK/$dbms-file.rsp"
  expect_run 0 "$dbms: the DDL file" || return
  DDL=$TESSARDBSETUP_SANDBOX/ddlout/pdm.ddl
  local bundle=$DDL.bundle
  check_bundle "$dbms" "$bundle" || return
  expect_contains "$RUN.log" "DBA bundle written: $bundle"
  "$CMD" db show "$database" >"$WORK/$dbms-before.txt"

  play "$dbms-forward" "$database" "$dba" "$bundle/forward.sql"
  expect_lines "$played" "$(manifest_count "$bundle" forward.sql)" "$dbms: forward statements run and counted"
  db_snapshot "$database" "$WORK/$dbms-forward.snapshot"
  expect_lines "$(comparable "$WORK/$dbms-forward.snapshot" "$SITE")" \
    "$(comparable "$WORK/$dbms-direct.snapshot" "$direct_site")" "$dbms: the forward script against the installation"

  play "$dbms-reverse" "$database" "$dba" "$bundle/reverse.sql" --continue
  expect_lines "$played" "$(manifest_count "$bundle" reverse.sql)" "$dbms: reverse statements run and counted"
  "$CMD" db show "$database" >"$WORK/$dbms-after.txt"
  cmp -s "$WORK/$dbms-before.txt" "$WORK/$dbms-after.txt" ||
    fail "$dbms: the reverse script left $(diff "$WORK/$dbms-before.txt" "$WORK/$dbms-after.txt" | head -n 20)"
  [ -z "$(ls -A "$TESSARDBSETUP_SANDBOX/tablespaces" 2>/dev/null)" ] ||
    fail "$dbms: the reverse script left $(ls -A "$TESSARDBSETUP_SANDBOX/tablespaces")"
  expect_no_secret "$DICO_PASSWORD" "$RUN.trace" "$RUN.log" "$WORK/$dbms-forward.out" "$WORK/$dbms-forward.err"
}

# Database objects only, in both runs: the start-up data is no part of a
# DDL file.
cat >"$WORK/objects_only.rsp" <<'RSP'
[PanelTOEXE]
ChkButTOEXEDBObj = checked
ChkButTOEXEStartupData = unchecked
RSP
# DB2 offers its database's tablespaces only; Oracle a new one, so that its
# reverse ends by dropping a tablespace.
bundle_round db2 PDMDB db2inst1 "$WORK/objects_only.rsp" db2 db2_local_database db2_existing_tablespace
bundle_round oracle PDMORA system "$WORK/objects_only.rsp" oracle oracle_new_tablespace

finish
