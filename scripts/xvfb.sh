# shellcheck shell=bash
# Sourced by scripts that need a virtual display: start_xvfb starts Xvfb on a free display
# number, exports DISPLAY and sets xvfb_pid; stop_xvfb ends it.
start_xvfb() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  local number
  read -r -t 10 number <"$fifo" || true
  rm -f "$fifo"
  if [ -z "${number:-}" ]; then
    echo "xvfb: Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$number"
  export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
}

stop_xvfb() {
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}

# Prints the id of the first visible window whose title is exactly TITLE, waiting up to
# SECONDS (default 15) for it to appear; fails when it does not.
wait_for_window() {
  local title=$1 tries=$(( ${2:-15} * 10 )) window
  for _ in $(seq "$tries"); do
    window=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1) || true
    if [ -n "$window" ]; then
      echo "$window"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# A virtual display and a scratch folder ($work) for one run of a program: both go at exit,
# together with the program whose process id the caller keeps in $app.
start_xvfb_session() {
  work=$(mktemp -d)
  trap 'end_xvfb_session' EXIT
  start_xvfb
}

end_xvfb_session() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  stop_xvfb
  rm -rf "$work"
}

# keys_to WINDOW KEYS...: sends KEYS (xdotool names) to WINDOW by moving the pointer into it,
# as Wine's windows take the keys under the pointer where no window manager gives the focus.
keys_to() {
  local window=$1
  shift
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + 5)) $((Y + 5))
  sleep 0.3
  xdotool key --delay 150 "$@"
}
