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
  if [ "$failures" -eq 0 ]; then
    echo "ok: $(basename "$0")"
    exit 0
  fi
  echo "$failures check(s) failed in $(basename "$0")" >&2
  exit 1
}
