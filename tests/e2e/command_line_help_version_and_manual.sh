# The command line an administrator meets first: --version and --help answer
# without starting the wizard, every option the program reads is documented
# in --help and in the installed manual page, and a mistyped or incomplete
# option stops the program with one line before any page.
. "$(dirname "$0")/lib.sh"
SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
export TERM=xterm
export TESSARDBSETUP_TRANSCRIPT=$WORK/transcript

# --version on a terminal: the name and version, and not one control
# sequence (the wizard would switch the screen first).
script -qec "'$BIN/tessardbsetup' --version" /dev/null >"$WORK/version.tty" </dev/null
expect_status $? 0 "--version"
version_line=$(tr -d '\r' <"$WORK/version.tty")
[[ $version_line =~ ^tessardbsetup\ [0-9]+\.[0-9]+\.[0-9]+$ ]] ||
  fail "--version printed $(printf %q "$(cat "$WORK/version.tty")")"
version=${version_line#tessardbsetup }
grep -q $'\e' "$WORK/version.tty" && fail "--version drove the terminal"
script -qec "'$BIN/tessardbsetup' --help" /dev/null >"$WORK/help" </dev/null
expect_status $? 0 "--help"
grep -q $'\e' "$WORK/help" && fail "--help drove the terminal"
[ -e "$TESSARDBSETUP_LOGDIR" ] && fail "--help or --version opened the logs"
[ -s "$TESSARDBSETUP_TRANSCRIPT" ] && fail "--help or --version showed a page"

# The manual page, installed with the program and readable with man.
cmake --install "$BIN" --prefix "$WORK/prefix" >"$WORK/install.out" 2>&1 ||
  fail "cmake --install: $(cat "$WORK/install.out")"
page=$WORK/prefix/share/man/man1/tessardbsetup.1
[ -f "$page" ] || fail "cmake --install put no $page"
[ -x "$WORK/prefix/bin/tessardbsetup" ] && [ -L "$WORK/prefix/bin/WQ0INST" ] ||
  fail "the program is not installed beside its manual page"
MANWIDTH=100 man --warnings -l "$page" >"$WORK/man.txt" 2>"$WORK/man.err"
expect_status $? 0 "man -l"
[ -s "$WORK/man.err" ] && fail "man warns: $(cat "$WORK/man.err")"
MANWIDTH=100 man -M "$WORK/prefix/share/man" tessardbsetup >"$WORK/man-by-name.txt" 2>&1 ||
  fail "man -M finds no tessardbsetup: $(cat "$WORK/man-by-name.txt")"
cmp -s "$WORK/man.txt" "$WORK/man-by-name.txt" || fail "man by name shows another page"
for section in NAME SYNOPSIS DESCRIPTION OPTIONS ENVIRONMENT FILES "EXIT STATUS" EXAMPLES; do
  grep -q "^$section\$" "$WORK/man.txt" || fail "the manual page has no $section section"
done
head -1 "$WORK/man.txt" | grep -q "^TESSARDBSETUP(1) " || fail "the page is not tessardbsetup(1)"
grep -q "tessardbsetup $version" "$WORK/man.txt" || fail "the page does not give version $version"

# Every option the program looks up, wherever it does, is in both texts.
options=$(grep -rhoE '(QelFindOptionValue\([^;]*|IsAny\([^;]*)"-{1,2}[a-z]+"' "$SOURCE/src" |
  grep -oE '"-{1,2}[a-z]+"' | tr -d '"' | sort -u)
[ "$(echo "$options" | wc -w)" -ge 7 ] || fail "found only these options in the sources: $options"
for option in $options; do
  grep -qe "$option\b" "$WORK/help" || fail "--help does not mention $option"
  grep -qe "$option\b" "$WORK/man.txt" || fail "the manual page does not mention $option"
done
# The variables an administrator sets: the manual's list and --help agree.
variables=$(sed -n '/^ENVIRONMENT$/,/^FILES$/p' "$WORK/man.txt" |
  grep -E '^       [A-Za-z][A-Za-z0-9_]*(, [A-Za-z][A-Za-z0-9_]*)*$' | tr -d , | sort -u)
[ "$(echo "$variables" | wc -w)" -ge 20 ] || fail "the manual lists few variables: $variables"
for variable in $variables; do
  # TESSARDBSETUP_PW_WIDGET: the widget's name is in italics there.
  grep -qe "${variable%WIDGET}" "$WORK/help" || fail "--help does not mention $variable"
done
# No variable the program reads goes undocumented.
for variable in $(grep -rhoE '(QelGetEnv|getenv)\("[A-Za-z0-9_]+"\)' "$SOURCE/src" --exclude-dir=sandbox |
  grep -oE '"[A-Za-z0-9_]+"' | tr -d '"' | sort -u); do
  case $variable in HOME | ESCDELAY) continue ;; esac  # the account's, the terminal library's
  grep -q "$variable" "$WORK/man.txt" || grep -q "\`$variable\`" "$SOURCE/README.md" ||
    fail "$variable is read but documented nowhere"
done

# A mistyped or incomplete option: one line, status 2, no page, no log.
refused() {
  local expected=$1
  shift
  "$BIN/tessardbsetup" "$@" </dev/null >"$WORK/out" 2>"$WORK/err"
  expect_status $? 2 "$*"
  [ "$(cat "$WORK/err")" = "tessardbsetup: $expected" ] ||
    fail "$* said $(printf %q "$(cat "$WORK/err")"), expected $(printf %q "tessardbsetup: $expected")"
  [ -s "$WORK/out" ] && fail "$* wrote to stdout"
  [ -e "$TESSARDBSETUP_LOGDIR" ] && fail "$* opened the logs"
  grep -q '"event":"page"' "$TESSARDBSETUP_TRANSCRIPT" 2>/dev/null && fail "$* showed a page"
}
refused "-record needs a file name" -logtrace "$WORK/t" -record
refused "-record needs a file name, not the option -logout" -record -logout "$WORK/l"
refused "-responsefile needs a file name" -responsefile ""
refused "unknown option -silent (tessardbsetup --help lists the options)" -silent "$WORK/answers"
refused "unknown option --logout (tessardbsetup --help lists the options)" --logout "$WORK/l"
[ -e "$WORK/t" ] && fail "a refused command line opened its trace"

# A value may start with a dash; the words after the options stay ignored.
cd "$WORK" || exit 1
"$BIN/tessardbsetup" -logout -dashed.log -logtrace "$WORK/trace" stray </dev/null 2>"$WORK/err"
expect_status $? 2 "a dashed value (no terminal, no response file)"
expect_not_contains "$WORK/err" "unknown option"
expect_contains "$WORK/trace" '\nNO File execution mode\n'
[ -f "$WORK/-dashed.log" ] || fail "the log named -dashed.log was not written"
finish
