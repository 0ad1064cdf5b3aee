# In a terminal of 80x24, a DB2 instance and a database the listings miss are
# typed into their combos (after choosing "Others ...", and straight into the
# field); the installation goes into them, and the record of the run types
# them again in a silent replay.
. "$(dirname "$0")/lib_private_tmp.sh"
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_tmux.sh"

# make_extra_database: the database PDMEXTRA of db2spare, which no directory
# catalogues, and its directory.
make_extra_database() {
  "$BIN/tessardbsetup-sandbox" db create --dbms db2 --instance db2spare --alias PDMEXTRA \
    >"$WORK/db-create.out" 2>&1 || fail "db create PDMEXTRA: $(cat "$WORK/db-create.out")"
  mkdir -p "$SITE/db2data-db2spare/PDMEXTRA"
}

TUI_OPTIONS="-record $WORK/record.rsp " tui_launch 80 24 --unlisted-instance db2spare
make_extra_database
extra=$SITE/db2data-db2spare/PDMEXTRA
tui_on "PDM Administrator" -l pdmadm Tab -l sandbox Enter Enter
tui_on "Tasks to Perform" Enter
tui_on "Database System" Enter
tui_on "Dictionary Owner" Enter Enter

# "Others ..." is the line after the listed instance; choosing it goes on to
# typing.
tui_on "DB2 Instance" Space Down Enter
tmux_expect 'Enter: take the name' "typing after choosing Others ..."
tmux_expect 'Instance home directory: +\[ +\]' "the home emptied for another instance"
tmux_type db2spare
tmux_expect 'DB2 instance: +\[db2spare +v\]' "the typed instance in its field"
tmux_keys Enter
tmux_expect 'Instance home directory: +\[.*/home/db2spare *\]' "the typed instance's home"
tmux_capture "$WORK/instance.txt"
tmux_keys Enter Enter

# Typed straight into the field: the list's first line gives way to it.
tui_on "DB2 Database" -l PDMEXTRA
tmux_expect 'Database alias: +\[PDMEXTRA +v\]' "the typed alias in its field"
tmux_keys Tab
tmux_expect 'Database directory: +\[ +\]' "the directory of the listed database gone"
tmux_type "$extra"
tmux_keys Enter Enter
tui_on "Database Administrator" Tab -l sandbox Enter Enter
tui_on "Tablespace" Enter
tui_on "Summary" Enter
tmux_expect 'completed successfully' "the report of the typed database" 180
tui_on "Report" Enter
status=$(tui_exit_status)
expect_status "${status:-99}" 0 "the installation into typed names at 80x24"
tables=$(db_query PDMEXTRA 'print(len([o for o in db["objects"] if o["type"] == "TABLE"]))' \
  --instance db2spare)
[ "${tables:-0}" -gt 0 ] || fail "no table in the typed database PDMEXTRA of db2spare"
tui_terminal_is_sane "after the installation into typed names"
expect_contains "$WORK/trace" "\nDB2 instance home directory: $SITE/home/db2spare"
expect_no_secret sandbox "$WORK/instance.txt" "$WORK/record.rsp"
expect_contains "$WORK/record.rsp" '[PanelDB2Param]\nComboDB2Instance = db2spare\nbutton = Next\n'
expect_contains "$WORK/record.rsp" \
  "[PanelDB2Param2]\nComboDB2AliasName = PDMEXTRA\nEditorDB2DriveDir = $extra\nbutton = Next\n"
tmux_stop

# The replay types the same names into a site of the same make.
new_site replay --unlisted-instance db2spare
make_extra_database
variables=()
for name in $(grep -o 'TESSARDBSETUP_PW_[A-Za-z0-9_]*' "$WORK/record.rsp" | sort -u); do
  variables+=("$name=sandbox")
done
run_wizard replay "$WORK/record.rsp" "${variables[@]}"
expect_run 0 "the silent replay of the typed names"
expect_contains "$RUN.transcript" \
  '"widget":"ComboDB2Instance","value":"db2spare","typed":1,"accepted":1}'
expect_contains "$RUN.transcript" \
  '"widget":"ComboDB2AliasName","value":"PDMEXTRA","typed":1,"accepted":1}'
tables=$(db_query PDMEXTRA 'print(len([o for o in db["objects"] if o["type"] == "TABLE"]))' \
  --instance db2spare)
[ "${tables:-0}" -gt 0 ] || fail "the replay left no table in PDMEXTRA of db2spare"
finish
