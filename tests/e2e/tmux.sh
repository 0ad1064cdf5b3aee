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
  tmux_wait_for '\$ $' || fail "no shell prompt in the tmux pane"
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
