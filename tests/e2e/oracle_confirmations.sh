# Oracle asks before changing users: No to a creation aborts quietly with nothing
# made; the client-authentication question decides a password user's fate.
. "$(dirname "$0")/lib.sh"
new_site

# oracle_answers OWNER OUT TABLESPACE: answers of an Oracle installation with
# dictionary owner OWNER into TABLESPACE (the shared answers for a new or the
# existing one).
oracle_answers() {
  response_file "$2" oracle "oracle_${3}_tablespace" - <<RSP
[PanelTESDICO]
EditorTESDICO = $1
EditorTESDICOP = ${1}pw
RSP
}

auth_of() {
  db_query PDMORA "print(next((u['authentication'] for u in db['users'] if u['name'] == '$1'), 'missing'))"
}

CREATE_Q=$(msg_text ZEP2DlgREPORT CHOICECRETextToDisplayForCHOICECRE)
TO_SYSTEM_Q=$(msg_text ZEP2DlgREPORT CHOICEDEFSRVSYSTextToDisplayForCHOICEDEFSRVSYS)

# --- No to the creation question -------------------------------------------
db_snapshot PDMORA "$WORK/empty"
oracle_answers pdmdico "$WORK/no.rsp" new
printf '[ZEP2YesNoInCallBack]\nanswers = No\n' >>"$WORK/no.rsp"
run_wizard refuse-creation "$WORK/no.rsp"
[ "$status" -ne 0 ] && [ "$status" -ne 124 ] ||
  { fail "a refused user creation ended with $status"; diagnose; }
expect_lines "$(boxes_of "$RUN.transcript")" \
  "ZEP2YesNoInCallBack|$(msg_text ZEP2DlgREPORT CHOICEWndTitle)|${CREATE_Q//%1/PDMADM}|No" \
  "the boxes of a refused creation"
expect_contains "$RUN.trace" '\nProposition create user <PDMADM> refusee'
expect_contains "$RUN.trace" '\nTESSAR DB SETUP FAILED!\n'
grep -q '^St_TypicalTBSCreation Begin' "$RUN.trace" && fail "the tablespace step ran after a refusal"
db_snapshot PDMORA "$WORK/after-no"
expect_same_db "$WORK/empty" "$WORK/after-no" "a refused creation"
[ -z "$(ls -A "$TESSARDBSETUP_SANDBOX/tablespaces")" ] || fail "a refused run left a data file"

# --- The administrator exists with a password --------------------------------
oracle_answers pdmdico "$WORK/server.rsp" existing
run_wizard server "$WORK/server.rsp"
expect_run 0 "server authentication installation creating PDMADM" || finish
[ "$(auth_of PDMADM)" = PASSWORD ] || fail "PDMADM is $(auth_of PDMADM) after a server installation"

# client RUN-TAG OWNER ANSWERS: a client-authentication installation with a
# new dictionary owner; the creation of OWNER is accepted, ANSWERS follow.
client() {
  oracle_answers "$2" "$WORK/$1.rsp" existing
  printf '[ZEP2YesNoInCallBack]\nanswers = Yes, %s\n' "$3" >>"$WORK/$1.rsp"
  run_wizard "$1" "$WORK/$1.rsp" TESSAR_SINGLE_USER=off
  expect_run 0 "$1: client authentication installation" || return
  local owner=${2^^}
  expect_lines "$(boxes_of "$RUN.transcript" | cut -d'|' -f1,3,4)" \
    "$(printf '%s\n' "ZEP2YesNoInCallBack|${CREATE_Q//%1/$owner}|Yes" \
      "ZEP2YesNoInCallBack|${TO_SYSTEM_Q//%1/PDMADM}|$3")" "$1: the questions"
  expect_contains "$RUN.log" '\nAuthentication of the database users: by the operating system (client)\n'
  [ "$(auth_of "$owner")" = PASSWORD ] || fail "$1: the new owner $owner is $(auth_of "$owner")"
}

client keep-password pdmdic2 No
# A run that hung leaves nothing to build on, and the next would hang too.
[ "$status" -eq 124 ] && finish
expect_contains "$RUN.trace" '\nProposition alter user <PDMADM> definitively refusee'
expect_not_contains "$RUN.trace" 'ALTER USER PDMADM IDENTIFIED EXTERNALLY'
[ "$(auth_of PDMADM)" = PASSWORD ] || fail "PDMADM is $(auth_of PDMADM) after No"

client go-external pdmdic3 Yes
expect_contains "$RUN.trace" '\nProposition alter user <PDMADM> definitively acceptee'
expect_contains "$RUN.trace" 'ALTER USER PDMADM IDENTIFIED EXTERNALLY'
[ "$(auth_of PDMADM)" = EXTERNAL ] || fail "PDMADM is $(auth_of PDMADM) after Yes"
expect_no_secret pdmdic3pw "$RUN.transcript" "$RUN.trace" "$RUN.log" "$RUN.err"
finish
