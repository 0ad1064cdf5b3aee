# tmux helpers for the end-to-end scripts that drive the terminal front end:
# a private tmux server per script, a pane of a given size running a shell,
# keys sent one by one, and the screen polled until a text shows (never a
# fixed sleep). Source after lib.sh.

TMUX_SOCKET=$WORK/tmux.socket
TMUX_PANE=wizard
# Seconds a screen may take to show what is awaited.
TMUX_DEADLINE=${TMUX_DEADLINE:-60}

tmux_() {
  tmux -S "$TMUX_SOCKET" "$@"
}

tmux_stop() {
  tmux_ kill-server 2>/dev/null
  true
}

# tmux_start COLUMNS LINES: a pane of that size running an interactive bash
# that has the site's environment (env.sh sourced by the caller) and a
# plain prompt, so captures are stable.
tmux_start() {
  local columns=$1 lines=$2
  tmux_stop
  cat >"$WORK/bashrc" <<RC
PS1='\$ '
export TERM=xterm-256color
RC
  env -u TMUX TERM=xterm-256color tmux -S "$TMUX_SOCKET" -f /dev/null new-session -d \
    -s "$TMUX_PANE" -x "$columns" -y "$lines" "bash --noprofile --rcfile $WORK/bashrc -i"
  tmux_ set-option -t "$TMUX_PANE" status off >/dev/null
  tmux_ set-window-option -t "$TMUX_PANE" window-size manual >/dev/null 2>&1
  tmux_ resize-window -t "$TMUX_PANE" -x "$columns" -y "$lines" >/dev/null 2>&1
  tmux_wait_for '^\$ ?$' || fail "no shell prompt in the tmux pane"
}

tmux_resize() {
  tmux_ resize-window -t "$TMUX_PANE" -x "$1" -y "$2"
}

# tmux_capture [OUT]: the screen as text (to OUT, else to stdout).
tmux_capture() {
  if [ $# -gt 0 ]; then
    tmux_ capture-pane -p -t "$TMUX_PANE" >"$1"
  else
    tmux_ capture-pane -p -t "$TMUX_PANE"
  fi
}

# tmux_keys KEY...: tmux key names (Tab, Enter, Space, BTab, Escape, Down, C-c)
# or literal text with -l first.
tmux_keys() {
  tmux_ send-keys -t "$TMUX_PANE" "$@"
}

# tmux_type TEXT: literal text.
tmux_type() {
  tmux_ send-keys -t "$TMUX_PANE" -l "$1"
}

# tmux_run COMMAND: a command line typed at the shell prompt.
tmux_run() {
  tmux_ send-keys -t "$TMUX_PANE" -l "$1"
  tmux_ send-keys -t "$TMUX_PANE" Enter
}

# tmux_wait_for REGEX [SECONDS]: polls the screen until a line matches
# (grep -E); 1 with the last screen saved in $WORK/screen-timeout.txt when
# the deadline passes.
tmux_wait_for() {
  local regex=$1 deadline=$((SECONDS + ${2:-$TMUX_DEADLINE}))
  while [ $SECONDS -lt $deadline ]; do
    if tmux_capture | grep -Eq -- "$regex"; then
      return 0
    fi
    sleep 0.1
  done
  tmux_capture >"$WORK/screen-timeout.txt"
  echo "--- screen while waiting for /$regex/:" >&2
  cat "$WORK/screen-timeout.txt" >&2
  return 1
}

# tmux_wait_gone REGEX [SECONDS]: polls until no line matches.
tmux_wait_gone() {
  local regex=$1 deadline=$((SECONDS + ${2:-$TMUX_DEADLINE}))
  while [ $SECONDS -lt $deadline ]; do
    tmux_capture | grep -Eq -- "$regex" || return 0
    sleep 0.1
  done
  tmux_capture >"$WORK/screen-timeout.txt"
  return 1
}

# tmux_expect REGEX LABEL [SECONDS]: like tmux_wait_for, counted as a failure.
tmux_expect() {
  tmux_wait_for "$1" "${3:-$TMUX_DEADLINE}" || fail "$2: the screen never showed /$1/"
}

# tmux_exit_status: after the program ended, the status the shell saw.
tmux_exit_status() {
  local marker="exit-status-$RANDOM"
  tmux_run "echo $marker=\$?"
  tmux_wait_for "^$marker=[0-9]+" >/dev/null || return 1
  tmux_capture | grep -Eo "^$marker=[0-9]+" | tail -n 1 | cut -d= -f2
}

trap 'tmux_stop; rm -rf "$WORK"' EXIT

# --- Driving the wizard -------------------------------------------------------

# tui_site [sandbox init options]: a fresh site in $SITE.
tui_site() {
  SITE=$WORK/site
  rm -rf "$SITE"
  if ! "$BIN/tessardbsetup-sandbox" init "$SITE" "$@" >"$WORK/site-init.out" 2>&1; then
    cat "$WORK/site-init.out" >&2
    exit 1
  fi
}

# tui_launch COLUMNS LINES [sandbox init options]: a fresh site (the one
# tui_site made when TUI_KEEP_SITE is set), a pane of that size, and the
# wizard started in it with its logs under $WORK (and the options in
# $TUI_OPTIONS, ending with a blank). When it ends, the shell prints
# "wizard-exit=STATUS".
tui_launch() {
  local columns=$1 lines=$2
  shift 2
  [ -n "${TUI_KEEP_SITE:-}" ] || tui_site "$@"
  . "$SITE/env.sh"
  tmux_start "$columns" "$lines"
  tmux_run ". $SITE/env.sh; cd $WORK; clear; tessardbsetup ${TUI_OPTIONS:-}-logtrace $WORK/trace -logout $WORK/log -logerr $WORK/err; echo wizard-exit=\$?"
}

# tui_on TITLE KEY...: waits for the page whose title bar names TITLE, then
# sends the keys; "-l TEXT" sends TEXT literally.
tui_on() {
  local title=$1
  shift
  tmux_wait_for "^ Database Setup - $title " || {
    fail "the page '$title' never showed"
    return 1
  }
  while [ $# -gt 0 ]; do
    if [ "$1" = -l ]; then
      tmux_type "$2"
      shift 2
    else
      tmux_keys "$1"
      shift
    fi
  done
}

# tui_exit_status: waits for the wizard's end and prints its exit status.
tui_exit_status() {
  tmux_wait_for '^wizard-exit=[0-9]+' 120 >/dev/null || return 1
  tmux_capture | grep -Eo '^wizard-exit=[0-9]+' | tail -n 1 | cut -d= -f2
}

# tui_terminal_is_sane LABEL: the pane's shell reads a line with echo and
# line editing on, as before the wizard ran (stty -a run in the pane).
tui_terminal_is_sane() {
  local marker="sane$RANDOM" modes
  rm -f "$WORK/stty.txt"
  tmux_run "stty -a >$WORK/stty.txt; echo ready-$marker; read line; echo \"got=\$line\""
  # Typed once the shell runs the line, as a person would.
  tmux_wait_for "^ready-$marker" 20 >/dev/null || fail "$1: the shell does not run commands"
  tmux_type "$marker typed"
  tmux_keys Enter
  tmux_wait_for "^got=$marker typed" 20 >/dev/null ||
    fail "$1: the shell did not read the typed line back"
  modes=$(tr ';' '\n' <"$WORK/stty.txt" | tr -s ' ' '\n' | grep -Ex -- '-?(echo|icanon|isig)' | sort |
    tr '\n' ' ')
  [ "$modes" = "echo icanon isig " ] || fail "$1: the terminal modes are '$modes', not echo icanon isig"
  # The typed line shows once as typed (echo) and once as read back.
  [ "$(tmux_capture | grep -c "$marker typed")" -ge 2 ] ||
    fail "$1: the typed line was not echoed"
}

# tui_answer_boxes_until TITLE: presses Enter on every question box (the
# confirming answer) until the page TITLE shows.
tui_answer_boxes_until() {
  local title=$1 deadline=$((SECONDS + 180)) screen
  while [ $SECONDS -lt $deadline ]; do
    screen=$(tmux_capture)
    if grep -Eq "^ Database Setup - $title " <<<"$screen"; then
      return 0
    fi
    if grep -q '< Yes >  < No >' <<<"$screen"; then
      tmux_keys Enter
      tmux_wait_gone '< Yes >  < No >' 10 || true
    fi
    sleep 0.1
  done
  tmux_capture >"$WORK/screen-timeout.txt"
  cat "$WORK/screen-timeout.txt" >&2
  fail "the page '$title' never came"
  return 1
}

# tui_capture_mid_ddl OUT: polls the status page until it shows the DDL of a
# schema being played with a percentage strictly between 0 and 100, and
# keeps that screen in OUT.
tui_capture_mid_ddl() {
  local out=$1 deadline=$((SECONDS + 120)) screen
  while [ $SECONDS -lt $deadline ]; do
    screen=$(tmux_capture)
    if grep -Eq 'objects of schema <[A-Z0-9_]+>' <<<"$screen" &&
      grep -Eq '^ +([1-9]|[1-9][0-9]) %$' <<<"$screen"; then
      printf '%s\n' "$screen" >"$out"
      return 0
    fi
    # Question boxes of the installation are answered on the way.
    grep -q '< Yes >  < No >' <<<"$screen" && tmux_keys Enter
    sleep 0.05
  done
  fail "the status page never showed a schema in the middle of its DDL"
  return 1
}

# tui_summary_shows SIZE REGEX...: the summary page, scrolled through page
# by page into $WORK/summary-SIZE.txt, shows a line matching each REGEX.
tui_summary_shows() {
  local size=$1 regex
  shift
  : >"$WORK/summary-$size.txt"
  for _ in 1 2 3 4; do
    tmux_capture >>"$WORK/summary-$size.txt"
    tmux_keys NPage
    sleep 0.3
  done
  for _ in 1 2 3 4; do tmux_keys PPage; done
  for regex in "$@"; do
    grep -Eq -- "$regex" "$WORK/summary-$size.txt" || fail "the summary at $size lacks /$regex/"
  done
}
