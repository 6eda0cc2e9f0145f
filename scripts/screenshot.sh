#!/usr/bin/env bash
# Runs a program on a virtual display (Xvfb), waits for its window, saves a PNG of the screen
# and closes the window with Escape.  Usage: scripts/screenshot.sh FILE PROGRAM [ARGS...]
set -euo pipefail
out=$1
shift

for tool in Xvfb xdotool xwd convert; do
  command -v "$tool" >/dev/null || missing=1
done
if [ -n "${missing:-}" ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    xvfb xauth xdotool x11-apps imagemagick >/dev/null
fi

source "$(dirname "$0")/xvfb.sh"
start_xvfb
trap stop_xvfb EXIT

"$@" &
program=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name "ZARVEN Controls" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "screenshot: the panel did not appear" >&2
  kill "$program" 2>/dev/null || true
  exit 1
fi
sleep 1
xwd -root -silent | convert xwd:- -trim +repage "$out"
echo "screenshot: saved $out" >&2
xdotool windowactivate --sync "$window" key Escape 2>/dev/null || kill "$program"
wait "$program" || true
