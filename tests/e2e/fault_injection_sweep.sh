# A DB2 and an Oracle installation of a small repository, rerun with the 1st,
# 2nd, 3rd ... database call failing (then file write), until a run passes
# untouched. Every run ends with a documented status and leaves the database
# as it was, or says its rollback is incomplete and keeps in its undo journal
# exactly what a later run then removes; no settings file, no password shown.
# FAULT_SWEEP=all runs every position (bench/fault_sweep.sh); the default
# runs a sample: the first positions, every 7th, and the last ones.
. "$(dirname "$0")/lib.sh"

PASSWORD=Sweep4pw
SWEEP=${FAULT_SWEEP:-sample}

# small_repository MODELERS...: only these modelers' files stay; all but the
# last keep their base file's first three statements. A statement that
# cannot run (marked BROKEN) follows them when BREAK is set.
small_repository() {
  python3 - "$QelReffilesPath/DBMS/ddl" "${BREAK:-}" "$@" <<'PY'
import os, sys
directory, broken, modelers = sys.argv[1], sys.argv[2], sys.argv[3:]
for name in os.listdir(directory):
    path = os.path.join(directory, name)
    stem = name.rsplit(".", 1)[0]
    base = stem.split("_", 1)[1] if stem.startswith(("custo_", "insert_", "grant_")) else stem
    if base not in modelers or (base != modelers[-1] and base != stem):
        os.remove(path)
        continue
    if base == modelers[-1]:
        continue
    out, count = [], 0
    for line in open(path):
        if count >= 3 and line.strip() and not line.lstrip().startswith("--"):
            break
        out.append(line)
        count += line.rstrip().endswith(";")
    if broken and base == modelers[0]:
        out.append("\nCREATE TABLE $(SCHEMA).BROKEN (;\n")
    open(path, "w").write("".join(out))
PY
}

# DBMS_ANSWERS: the shared answers of each DBMS up to its tablespace page.
declare -A DBMS_ANSWERS=([db2]="db2 db2_local_database" [oracle]=oracle)

# answers DBMS OUT: the database objects alone, into DB2's own tablespace or
# a new Oracle one.
answers() {
  local tablespace=db2_existing_tablespace
  [ "$1" = db2 ] || tablespace=oracle_new_tablespace
  response_file "$2" ${DBMS_ANSWERS[$1]} "$tablespace" DICO_PASSWORD="$PASSWORD" - <<'RSP'
[PanelTOEXE]
ChkButTOEXEStartupData = unchecked
RSP
}

# recovery_answers DBMS OUT: the answers of a run that only rolls back an
# interrupted installation: Yes to the offer, then Cancel on the tablespace
# page.
recovery_answers() {
  response_file "$2" ${DBMS_ANSWERS[$1]} rollback_then_cancel DICO_PASSWORD="$PASSWORD" - <<'RSP'
[PanelTOEXE]
ChkButTOEXEStartupData = unchecked
RSP
}

son_status() {
  grep '"event":"exit"' "$RUN.transcript" | sed -n 's/.*"status":\([0-9]*\),.*/\1/p' | head -n 1
}

journals() {
  ls "$QelUserSettingPath" 2>/dev/null | grep '^TESSARUndo\..*\.journal$'
}

# positions TOTAL: the positions to run, one a line, TOTAL + 1 (untouched)
# last.
positions() {
  if [ "$SWEEP" = all ]; then
    seq 1 "$(($1 + 1))"
  else
    { seq 1 4; seq 5 7 "$1"; seq "$(($1 - 3))" "$(($1 + 1))"; } | awk '$1 > 0' | sort -nu
  fi
}

# check_run LABEL DATABASE: the checks every swept run must pass.
check_run() {
  local label=$1 database=$2 son
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    fail "$label: the run hung"
    return
  fi
  case $status in 0 | 1 | 2 | 5) ;; *) fail "$label: undocumented status $status" ;; esac
  son=$(son_status)
  [ "$status" != 5 ] || [ "${son:-none}" = 5 ] || fail "$label: 5 from a son that ended ${son:-none}"
  case ${son:-none} in 0 | 1 | 2 | 3 | 4 | 5 | none) ;; *) fail "$label: undocumented son status $son" ;; esac
  [ -z "$(ls -A "$QelUserSettingPath" | grep '^TESSARInst\.')" ] || fail "$label: settings file left"
  # The fault never passes for a real failure: the run's last line and its
  # outcome say it was injected, whatever the status.
  if [ -s "$WORK/fault.log" ] && grep -q '^[a-z-]* [0-9]* ' "$WORK/fault.log"; then
    [[ $(tail -n 1 "$RUN.stderr") == *"test fault injected: "* ]] ||
      fail "$label: the last line does not say the fault: $(tail -n 1 "$RUN.stderr")"
    [[ $(tail -n 1 "$RUN.transcript") == *'"outcome":"'*'test fault injected: '* ]] ||
      fail "$label: the outcome does not say the fault: $(tail -n 1 "$RUN.transcript")"
  fi
  expect_no_secret "$PASSWORD" "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err" "$RUN.out" \
    "$RUN.stderr"
  db_snapshot "$database" "$WORK/after"
  if [ "${son:-none}" = 5 ]; then
    incomplete=$((incomplete + 1))
    cmp -s "$WORK/before" "$WORK/after" &&
      fail "$label: rollback said incomplete, nothing is left: $(grep -A1 'UNDO FAILED' "$RUN.err")"
    expect_contains "$RUN.err" '\nUNDO FAILED: <'
    expect_contains "$RUN.transcript" '"outcome":"installation failed; rollback incomplete;'
    [ -n "$(journals)" ] || fail "$label: an incomplete rollback kept no journal"
    # What the journal keeps is exactly what is left: a run that plays it
    # brings the database back.
    run_wizard "$label-recovery" "$WORK/recovery.rsp"
    expect_contains "$RUN.trace" '\nInterrupted installation undo : <'
    db_snapshot "$database" "$WORK/after"
  elif [ "${son:-none}" = 0 ]; then
    # A failure the installation may pass over (a configuration file): the
    # run finished and says so.
    tolerated=$((tolerated + 1))
    expect_contains "$RUN.log" '\nINSTALLATION ENDED\n'
    [ -z "$(journals)" ] || fail "$label: journal left: $(journals)"
    expect_same_db "$WORK/installed" "$WORK/after" "$label (a finished installation)"
    return
  fi
  expect_same_db "$WORK/before" "$WORK/after" "$label"
  [ -z "$(journals)" ] || fail "$label: journal left: $(journals)"
}

# sweep DBMS DATABASE KIND VARIABLE: one sweep; prints its figures.
sweep() {
  local dbms=$1 database=$2 kind=$3 variable=$4 total position ran=0 untouched=0
  SITE=$WORK/$dbms-$kind${BREAK:+-broken}${LASTING:+-lasting}
  "$BIN/tessardbsetup-sandbox" init "$SITE" --password "$PASSWORD" >/dev/null || exit 1
  . "$SITE/env.sh"
  small_repository CDMSTEP ZEPADMIN
  mkdir -p "$TESSARDBSETUP_SANDBOX/tablespaces"
  answers "$dbms" "$WORK/answers.rsp"
  recovery_answers "$dbms" "$WORK/recovery.rsp"
  db_snapshot "$database" "$WORK/before"
  run_wizard "$dbms-$kind-count" "$WORK/answers.rsp" TESSARDBSETUP_FAULT_LOG="$WORK/count.log"
  expect_run "${EXPECT_CLEAN:-0}" "$dbms: the run without a fault" || return
  db_snapshot "$database" "$WORK/installed"
  total=$(awk -v k="$kind" '$1 == "count" && $2 == k && $3 > max { max = $3 } END { print max + 0 }' \
    "$WORK/count.log")
  rm -f "$WORK/count.log"
  "$BIN/tessardbsetup-sandbox" db reset "$database" >/dev/null
  incomplete=0 tolerated=0
  for position in $(positions "$total"); do
    rm -f "$WORK/fault.log"
    run_wizard "$dbms-$kind-$position" "$WORK/answers.rsp" "$variable=$position${LASTING:-}" \
      TESSARDBSETUP_FAULT_LOG="$WORK/fault.log"
    ran=$((ran + 1))
    if ! grep -q "^$kind $position " "$WORK/fault.log" 2>/dev/null; then
      untouched=1
      expect_run "${EXPECT_CLEAN:-0}" "$dbms $kind $position: the untouched run"
      break
    fi
    check_run "$dbms $kind $position" "$database"
    "$BIN/tessardbsetup-sandbox" db reset "$database" >/dev/null
    rm -rf "$TESSARDBSETUP_SANDBOX/tablespaces"/*
  done
  [ "$untouched" -eq 1 ] || fail "$dbms $kind: no run passed untouched"
  echo "$dbms, ${BREAK:+broken repository, }${LASTING:+lasting }$kind faults: $ran of $ran positions" \
    "($((total + 1)) in all; $incomplete rollbacks incomplete then completed by the next run;" \
    "$tolerated faults passed over by a finished installation)"
}

sweep db2 PDMDB database TESSARDBSETUP_FAULT_DB_CALL
sweep oracle PDMORA database TESSARDBSETUP_FAULT_DB_CALL
sweep db2 PDMDB file-write TESSARDBSETUP_FAULT_FILE_WRITE
sweep oracle PDMORA file-write TESSARDBSETUP_FAULT_FILE_WRITE
# The DBMS lost for good from a position on: the rollback cannot undo
# anything, says so, and the next run undoes it all.
LASTING=+ sweep db2 PDMDB database TESSARDBSETUP_FAULT_DB_CALL
LASTING=+ sweep oracle PDMORA database TESSARDBSETUP_FAULT_DB_CALL
# A statement that fails by itself: the later positions hit the rollback.
BREAK=1 EXPECT_CLEAN=1 sweep db2 PDMDB database TESSARDBSETUP_FAULT_DB_CALL
BREAK=1 EXPECT_CLEAN=1 sweep oracle PDMORA database TESSARDBSETUP_FAULT_DB_CALL
finish
