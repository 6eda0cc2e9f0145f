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
