# Helpers of the check-only scripts: a silent -validate run, and a
# fingerprint of everything a run could change on a sandbox site.

# run_validate TAG FILE [OPTION...]: one silent check-only run, father and
# son, with the answers of FILE, its JSON document in $RUN.json; files and
# $status as run_wizard leaves them.
run_validate() {
  RUN=$WORK/run-$1
  local tag=$1 answers=$2
  shift 2
  rm -f "$RUN".*
  TESSARDBSETUP_TRANSCRIPT="$RUN.transcript" timeout -k 10 300 \
    "$BIN/tessardbsetup" -validate -responsefile "$answers" -validate-json "$RUN.json" \
    -logtrace "$RUN.trace" -logout "$RUN.log" -logerr "$RUN.err" "$@" </dev/null \
    >"$RUN.out" 2>"$RUN.stderr"
  status=$?
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "the run $tag was killed after 300 seconds" >>"$RUN.stderr"
    rm -f "$QelUserSettingPath"/TESSARInst.*
  fi
}

# site_state OUT: a hash of every file of the site and of the settings
# directory (the logs aside), with each file's mode, and the sandbox
# databases' catalogues.
site_state() {
  local out=$1 name
  {
    for dir in "$SITE" "$QelUserSettingPath"; do
      [ -d "$dir" ] || continue
      (cd "$dir" && find . \( -path ./logs -o -name '*.log' -o -name '*.trace' \) -prune -o \
        \( -type f -o -type l \) -printf '%p %m %l\n' | sort)
      (cd "$dir" && find . \( -path ./logs -o -name '*.log' -o -name '*.trace' \) -prune -o \
        -type f -print0 | sort -z | xargs -0 -r sha256sum)
    done
  } >"$out"
  for name in PDMDB PDMORA; do
    db_snapshot "$name" "$out.$name" 2>/dev/null || :
    cat "$out.$name" >>"$out"
  done
}

# expect_same_state BEFORE AFTER LABEL
expect_same_state() {
  # A fingerprint without files or database rows would prove nothing.
  grep -q '^[0-9a-f]\{64\}  \./' "$1" && grep -q '^users ' "$1" || fail "$3: no site state in $1"
  if ! cmp -s "$1" "$2"; then
    fail "$3 changed the site:"
    diff "$1" "$2" | head -n 20 >&2
  fi
}
