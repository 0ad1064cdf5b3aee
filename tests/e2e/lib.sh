# Helpers shared by the end-to-end scripts. Each script gets the build
# directory as $1 and runs in a fresh temporary directory.
set -u
BIN=${1:?build directory}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export QelUserSettingPath=$WORK/settings
export TESSARDBSETUP_LOGDIR=$WORK/logs
unset TESSARDBSETUP_TRACE_LEVEL FATHERPID
failures=0

# Under ASan every process of the test, whoever holds its stderr, writes its
# report to $WORK/sanitizer.<pid>; UBSan (a runtime of its own with g++)
# writes to stderr, which the runs keep in $WORK. finish fails on either.
if [ -n "${ASAN_OPTIONS:-}" ]; then export ASAN_OPTIONS="$ASAN_OPTIONS:log_path=$WORK/sanitizer"; fi

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# holds FILE TEXT: TEXT (printf escapes honoured) appears in FILE, newlines
# included.
holds() {
  local content wanted
  content=$(cat "$1" 2>/dev/null; echo x)
  wanted=$(printf "$2"; echo x)
  [[ ${content%x} == *"${wanted%x}"* ]]
}

expect_contains() {
  holds "$1" "$2" || fail "$1 lacks $(printf %q "$2")"
}

expect_not_contains() {
  ! holds "$1" "$2" || fail "$1 holds $(printf %q "$2")"
}

expect_status() {
  [ "$1" -eq "$2" ] || fail "$3: exit status $1, expected $2"
}

finish() {
  local report
  while IFS= read -r report; do
    fail "a sanitizer report in $report:"
    grep -m 3 -A 20 -E 'runtime error: |ERROR: [A-Za-z]+Sanitizer' "$report" >&2
  done < <(find "$WORK" -maxdepth 1 -type f \( -name 'sanitizer.*' -o -name '*.stderr' -o -name '*.out' \) \
    -exec grep -lE 'runtime error: |ERROR: [A-Za-z]+Sanitizer' {} + 2>/dev/null)
  if [ "$failures" -eq 0 ]; then
    echo "ok: $(basename "$0")"
    exit 0
  fi
  echo "$failures check(s) failed in $(basename "$0")" >&2
  exit 1
}

# --- Response files ----------------------------------------------------------

# Answers that many scripts give, one file per part of a run; a script keeps
# inline only the answers that are its own.
RESPONSES=$(cd "$(dirname "${BASH_SOURCE[0]}")/responses" && pwd)
# The passwords the shared answers give: the sandbox site's (its init's
# default) and the dictionary owner's. A script that chooses others sets them.
PASSWORD=sandbox
DICO_PASSWORD=dicopass

# merge_sections OUT: writes the response file text on the standard input to
# OUT with each section given once: a section given again keeps the earlier
# lines that it does not restate, then takes the later lines. Comments and
# blank lines go.
merge_sections() {
  python3 -c '
import sys
sections, order = {None: []}, [None]
current, given = None, set()
for line in sys.stdin.read().splitlines():
    bare = line.strip()
    if not bare or bare.startswith("#"):
        continue
    if bare.startswith("["):
        current, given = bare, set()
        if current not in sections:
            sections[current] = []
            order.append(current)
        continue
    name = line.split("=", 1)[0].strip()
    lines = sections[current]
    if name not in given:
        lines[:] = [kept for kept in lines if kept[0] != name]
        given.add(name)
    lines.append((name, line))
with open(sys.argv[1], "w") as out:
    for section in order:
        if section is not None:
            print(section, file=out)
        for _, line in sections[section]:
            print(line, file=out)
' "$1"
}

# response_file OUT PART... [NAME=VALUE...]: writes the answers of each PART
# (responses/PART.rsp; "-" is the standard input, e.g. the script's own here
# document) to OUT, in order, merged by merge_sections: a script adds to a
# shared page or changes one of its answers. @NAME@ stands for NAME's value
# among the arguments, else for the shell variable NAME.
response_file() {
  local out=$1 argument name text= filled= placeholder
  shift
  local -A values=()
  for argument; do
    [[ $argument == *=* ]] && values[${argument%%=*}]=${argument#*=}
  done
  for argument; do
    if [ "$argument" = - ]; then
      text+=$(cat)$'\n'
    elif [[ $argument != *=* ]]; then
      if [ ! -f "$RESPONSES/$argument.rsp" ]; then
        fail "no shared response file $argument"
        return 1
      fi
      text+=$(<"$RESPONSES/$argument.rsp")$'\n'
    fi
  done
  # One pass: a value is never searched for placeholders.
  while [[ $text =~ @([A-Za-z_][A-Za-z0-9_]*)@ ]]; do
    placeholder=${BASH_REMATCH[0]} name=${BASH_REMATCH[1]}
    filled+=${text%%"$placeholder"*}
    text=${text#*"$placeholder"}
    if [[ -v values[$name] ]]; then
      filled+=${values[$name]}
    elif [[ -v $name ]]; then
      filled+=${!name}
    else
      fail "response file $out: nothing for $placeholder"
      return 1
    fi
  done
  merge_sections "$out" <<<"$filled$text"
}

# --- Sites and silent runs -------------------------------------------------

# new_site [NAME [INIT OPTIONS...]]: a fresh sandbox site $WORK/NAME (default
# "site") in $SITE, its env.sh sourced (settings, logs, PATH with WQ0INST all
# point into it).
new_site() {
  SITE=$WORK/${1:-site}
  shift $(($# > 0 ? 1 : 0))
  if ! "$BIN/tessardbsetup-sandbox" init "$SITE" "$@" >"$WORK/site-init.out" 2>&1; then
    echo "cannot create the sandbox site $SITE:" >&2
    cat "$WORK/site-init.out" >&2
    exit 1
  fi
  . "$SITE/env.sh"
}

# run_wizard TAG FILE [VAR=value ...]: one silent run, father and son, with
# the answers of FILE and the given variables. Its files are $RUN.trace,
# $RUN.log, $RUN.err, $RUN.transcript, $RUN.out and $RUN.stderr with
# RUN=$WORK/run-TAG; the exit status is in $status (124: the run hung).
run_wizard() {
  RUN=$WORK/run-$1
  local tag=$1 answers=$2
  shift 2
  rm -f "$RUN".*
  env "$@" TESSARDBSETUP_TRANSCRIPT="$RUN.transcript" timeout -k 10 300 \
    "$BIN/tessardbsetup" -responsefile "$answers" -logtrace "$RUN.trace" -logout "$RUN.log" \
    -logerr "$RUN.err" </dev/null >"$RUN.out" 2>"$RUN.stderr"
  status=$?
  # A killed son leaves its settings file, which would make the next run of
  # the script a son: clear it so one hang does not fail the runs after it.
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "the run $tag was killed after 300 seconds" >>"$RUN.stderr"
    rm -f "$QelUserSettingPath"/TESSARInst.*
  fi
}

# diagnose: what the last run left, for a failure message.
diagnose() {
  {
    echo "--- $RUN: stderr"
    tail -n 15 "$RUN.stderr"
    echo "--- transcript (end)"
    tail -n 12 "$RUN.transcript"
    echo "--- error log (end)"
    tail -n 15 "$RUN.err"
    echo "--- trace (end)"
    tail -n 40 "$RUN.trace"
    echo "---"
  } >&2 2>/dev/null
}

# expect_run STATUS LABEL: the last run ended with STATUS; otherwise say so
# and show its files' ends.
expect_run() {
  if [ "$status" -ne "$1" ]; then
    fail "$2: exit status $status, expected $1"
    diagnose
    return 1
  fi
}

# pids_of TRANSCRIPT: the process ids of a run, in order of appearance.
pids_of() {
  grep -o '^{"pid":[0-9]*' "$1" | cut -d: -f2 | awk '!seen[$0]++'
}

# pages_of TRANSCRIPT PID: the pages that process showed, one a line.
pages_of() {
  grep "^{\"pid\":$2,\"event\":\"page\"" "$1" | sed 's/.*"page":"\([^"]*\)".*/\1/'
}

# steps_of TRACE: the installation steps begun, in order, repeats folded
# (St_UpdateBDEnv, despite its prefix, is a routine of St_GenEnvFiles).
steps_of() {
  grep -o '^St_[A-Za-z0-9]* Begin \.\.\.$' "$1" | cut -d' ' -f1 | grep -v '^St_UpdateBDEnv$' | uniq
}

# expect_lines ACTUAL EXPECTED LABEL: two newline-separated lists are equal.
expect_lines() {
  if [ "$1" != "$2" ]; then
    fail "$3 differ:"
    diff <(echo "$2") <(echo "$1") | head -n 30 >&2
  fi
}

# expect_no_secret SECRET FILE...: the password shows nowhere as a word.
expect_no_secret() {
  local secret=$1 file
  shift
  for file; do
    if grep -qw -- "$secret" "$file" 2>/dev/null; then
      fail "$file shows the password: $(grep -nw -m 3 -- "$secret" "$file")"
    fi
  done
}

# db_snapshot NAME OUT [db show options]: the users, tablespaces, objects,
# grants and server settings of a sandbox database, one sorted line each,
# into OUT.
db_snapshot() {
  local name=$1 out=$2
  shift 2
  if ! "$BIN/tessardbsetup-sandbox" db show "$name" --json "$@" >"$out.json" 2>"$out.stderr"; then
    fail "db show $name: $(cat "$out.stderr")"
    : >"$out"
    return 1
  fi
  python3 - "$out.json" >"$out" <<'PY'
import json, sys
report = json.load(open(sys.argv[1]))
for key in ("users", "tablespaces", "objects", "grants", "server_settings"):
    for line in sorted(json.dumps(item, sort_keys=True) for item in report[key]):
        print(key, line)
PY
}

# expect_same_db BEFORE AFTER LABEL: two snapshots are equal.
expect_same_db() {
  if ! cmp -s "$1" "$2"; then
    fail "$3: the database changed"
    diff "$1" "$2" | head -n 20 >&2
  fi
}

# db_query NAME PYTHON [db show options]: runs PYTHON with the database's
# JSON report as "db"; what it prints is the answer.
db_query() {
  local name=$1 code=$2
  shift 2
  "$BIN/tessardbsetup-sandbox" db show "$name" --json "$@" >"$WORK/query.json" || return 1
  python3 -c "import json, sys
db = json.load(open(sys.argv[1]))
$code" "$WORK/query.json"
}

# boxes_of TRANSCRIPT: the boxes a run showed, one a line:
# class|title|text|answer, line breaks of the text written \n.
boxes_of() {
  python3 - "$1" <<'PY'
import json, sys
for line in open(sys.argv[1]):
    event = json.loads(line)
    if event["event"] == "box":
        print("|".join([event["class"], event["title"], event["text"].replace("\n", "\\n"),
                        event["answer"]]))
PY
}

# msg_text CLASS KEY: the text of KEY.Title in the catalogue of CLASS, line
# breaks written \n as boxes_of writes them.
msg_text() {
  python3 - "$BIN/share/msgcatalog/$1.cat" "$2.Title" <<'PY'
import sys
text = None
for line in open(sys.argv[1], encoding="utf-8"):
    if "=" in line and not line.lstrip().startswith("#"):
        key, value = line.split("=", 1)
        if key.strip() == sys.argv[2]:
            text = value.strip(" \t\r\n")
escapes = {"n": "\\n", "t": "\t", "s": " "}
out, i = "", 0
while text is not None and i < len(text):
    if text[i] == "\\" and i + 1 < len(text):
        out += escapes.get(text[i + 1], text[i + 1])
        i += 2
    else:
        out += text[i]
        i += 1
print(out if text is not None else "<no text " + sys.argv[2] + ">")
PY
}

# traced_script TRACE PATH OUT: the text of the generated script PATH as the
# trace shows it the last time it ran (a script goes once it has run).
traced_script() {
  awk -v head="$2 holds:" '$0 == head { text = ""; on = 1; next }
    on { text = text $0 "\n" } on && /^return \$rc$/ { on = 0 } END { printf "%s", text }' \
    "$1" >"$3"
  [ -s "$3" ] || fail "$1 shows no text of $2"
}

# stored_server_settings SERVER VENDOR: the server settings recorded for a
# database (DB2 or Oracle), password in clear, one "name server vendor
# authentication user password" line each, by name.
stored_server_settings() {
  python3 - "$QelUserSettingPath/TESSARDBServers.settings" "$2.$(echo "$1" | tr a-z A-Z)" <<'PY'
import sys
escapes = {"n": "\n", "r": "\r", "0": "\0"}
def unescape(text):
    out, i = "", 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out += escapes.get(text[i + 1], text[i + 1])
            i += 2
        else:
            out += text[i]
            i += 1
    return out
pairs = {}
try:
    for line in open(sys.argv[1], encoding="utf-8", errors="replace").read().split("\n"):
        i = 0
        while i < len(line) and line[i] != "=":
            i += 2 if line[i] == "\\" else 1
        if i < len(line):
            pairs[unescape(line[:i])] = unescape(line[i + 1:])
except FileNotFoundError:
    pass
database = sys.argv[2]
for name in sorted(n for n in pairs.get(database, "").split("\n") if n):
    fields = pairs.get(database + "." + name, "").split("\n")
    if len(fields) >= 5:
        print(name, *fields[:5])
PY
}

# told_before_outcome FILE: what a silent run said on stderr before the line
# every silent run ends with (its outcome).
told_before_outcome() {
  sed '$d' "$1"
}

# expect_outcome_line STATUS PATTERN LABEL: the last run's stderr ends with
# its outcome line: PATTERN (a [[ ]] pattern, * for any text) as what
# ends it, "(exit status STATUS)" and where its log, error log and trace are.
expect_outcome_line() {
  local last
  last=$(tail -n 1 "$RUN.stderr")
  [[ $last == "tessardbsetup: "$2 ]] || fail "$3: the last line: $last"
  [[ $last == *" (exit status $1)"* ]] || fail "$3: the last line lacks its status $1: $last"
  [[ $last == *"; log $RUN.log, error log $RUN.err, trace $RUN.trace" ]] ||
    fail "$3: the last line does not end with the run's files: $last"
}
