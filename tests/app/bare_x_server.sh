#!/usr/bin/env bash
# Each start on a fresh Xvfb with no other client (which resets when its last client leaves),
# under CPU load: the panel must appear every time, never Qt's abort (status 134).
# Usage: bare_x_server.sh PROGRAM [STARTS]
set -uo pipefail
# shellcheck source-path=SCRIPTDIR/../.. source=scripts/xvfb.sh
source "$(dirname "$0")/../../scripts/xvfb.sh"
program=$1
starts=${2:-35}

work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
load=()
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null
  stop_xvfb
  [ ${#load[@]} -gt 0 ] && kill "${load[@]}" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
for _ in 1 2; do yes >/dev/null & load+=($!); done

# Xvfb's sockets: the ones it listens on, and one per client.
xvfb_sockets() {
  find "/proc/$xvfb_pid/fd" -lname 'socket:*' 2>/dev/null | wc -l
}

# One start: the panel appears, SIGTERM ends it. xdotool asks only while the program is
# connected, or the server would reset when the probe leaves.
start_once() {
  start_xvfb || return 1
  local idle data status=0 shown=false
  idle=$(xvfb_sockets)
  data=$(mktemp -d -p "$work")
  XDG_DATA_HOME=$data QT_QPA_PLATFORM=xcb "$program" 2>"$data/stderr" &
  app=$!
  for _ in $(seq 300); do
    kill -0 "$app" 2>/dev/null || break
    if [ "$(xvfb_sockets)" -gt "$idle" ] &&
      [ -n "$(xdotool search --onlyvisible --name '^ZARVEN Controls$' 2>/dev/null)" ]; then
      shown=true
      break
    fi
    sleep 0.05
  done
  kill "$app" 2>/dev/null
  wait "$app" 2>/dev/null || status=$?
  app=""
  stop_xvfb
  wait "$xvfb_pid" 2>/dev/null
  [ "$shown" = true ] && [ "$status" -eq 143 ] && return 0
  { [ "$status" -eq 134 ] || grep -q 'could not connect to display' "$data/stderr"; } &&
    aborts=$((aborts + 1))
  echo "start $1: the panel did not show (status $status); its standard error:"
  head -n 5 "$data/stderr"
  return 1
}

passed=0 failed=0 aborts=0
for start in $(seq "$starts"); do
  if start_once "$start"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
done
echo "Qt aborted $aborts of $starts starts"
echo "bare X server: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
