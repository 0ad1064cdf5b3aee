# Answers holding quotes, semicolons, comment marks, backslashes or shell
# syntax either install with the value intact or are refused on their page
# with a box; no answer adds a clause to a statement, and no fragment of a
# password shows in any output.
. "$(dirname "$0")/lib.sh"

# no_fragment TEXT FILE...: TEXT shows nowhere, as a whole or as the part
# after its first quote (what a mask that stops at a quote would leak).
no_fragment() {
  local text=$1 file
  shift
  for file; do
    [ -f "$file" ] || continue
    if grep -qF -- "$text" "$file" || grep -qF -- "${text#*\"}" "$file"; then
      fail "$file shows a fragment of the secret $(printf %q "$text")"
    fi
  done
}

# every_output: the files a run wrote, logs and settings included.
every_output() {
  echo "$RUN.trace" "$RUN.log" "$RUN.err" "$RUN.transcript" "$RUN.out" "$RUN.stderr"
  find "$QelUserSettingPath" "$TESSARDBSETUP_LOGDIR" -type f 2>/dev/null
  find /tmp -maxdepth 1 -type f 2>/dev/null
}

# --- Oracle: a dictionary owner's password with every kind of SQL and shell
# syntax, and a data file directory with quotes and semicolons, install as
# given: the owner's own connection plays the DDL with that password.
new_site oracle
owner_password="it's;--/*\$(id)\`id\`\\x' || 'y"
directory="$TESSARDBSETUP_SANDBOX/tablespaces/o'brien;--\$(id)"
mkdir -p "$directory"
quoted=$(python3 -c 'import sys; print("\"" + sys.argv[1].replace("\\", "\\\\").replace("\"", "\\\"") + "\"")' "$owner_password")
response_file "$WORK/accepted.rsp" oracle oracle_new_tablespace - <<RSP
[PanelTESDICO]
EditorTESDICOP = $quoted
[PanelTBSTypical]
EditorTBSTypicalDir = "$directory"
[ZEP2YesNoInCallBack]
answers = Yes
RSP
run_wizard accepted "$WORK/accepted.rsp"
if expect_run 0 "hostile values that the DBMS takes"; then
  [ -f "$directory/PDMTBS.dbf" ] || fail "the data file is not in $directory: $(ls -A "$directory")"
  users=$(db_query PDMORA 'print(" ".join(sorted(u["name"] for u in db["users"])))')
  [ "$users" = "PDMADM PDMDICO SYS SYSTEM" ] || fail "users after the run: $users"
  db_query PDMORA '
owner = [u for u in db["users"] if u["name"] == "PDMDICO"][0]
print(owner)' >"$WORK/owner.txt"
  expect_contains "$WORK/owner.txt" "PDMTBS"
  tables=$(db_query PDMORA 'print(sum(1 for o in db["objects"] if o["schema"] == "PDMDICO"))')
  [ "${tables:-0}" -gt 0 ] || fail "no object in the owner's schema"
fi
no_fragment "$owner_password" $(every_output)

# --- Oracle cannot take a double quote in a password, nor in a quoted name:
# each is refused on its page, nothing is created and nothing of the secret
# shows.
refused() {
  local tag=$1 expected=$2
  run_wizard "$tag" "$WORK/$tag.rsp"
  expect_run 2 "$tag" || return
  expect_contains "$RUN.stderr" "$expected"
  expect_not_contains "$RUN.transcript" '"event":"page","page":"PanelSTATUS"'
  [ -z "$(ls -A "$TESSARDBSETUP_SANDBOX/tablespaces")" ] ||
    fail "$tag: a tablespace file was made"
}
new_site oracle2
db_snapshot PDMORA "$WORK/before"
quote_password='pw" DEFAULT TABLESPACE SYSTEM --'
response_file "$WORK/quote.rsp" oracle oracle_new_tablespace - <<RSP
[PanelTESDICO]
EditorTESDICOP = "pw\\" DEFAULT TABLESPACE SYSTEM --"
RSP
refused quote "holds a double quote (\"), which Oracle cannot take in a password"
no_fragment "$quote_password" $(every_output)

response_file "$WORK/name.rsp" oracle oracle_new_tablespace - <<'RSP'
[PanelTBSTypical]
EditorTBSTypicalName = pdm"tbs
RSP
refused name "The tablespace name may hold only letters, digits and the characters _ \$ #"

# A Unix account name the owner's field takes but Oracle does not.
response_file "$WORK/owner.rsp" oracle oracle_new_tablespace - <<'RSP'
[PanelTESDICO]
EditorTESDICO = pdm.dico
RSP
refused owner "The schema owner's name may hold only letters, digits and the characters _ \$ #"
db_snapshot PDMORA "$WORK/after"
expect_same_db "$WORK/before" "$WORK/after" "refused answers"
finish
