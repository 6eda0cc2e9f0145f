#!/usr/bin/env bash
# Runs a program on a virtual display (Xvfb), waits for its window, saves a PNG of the screen
# and closes the window with Escape.  Usage: scripts/screenshot.sh FILE PROGRAM [ARGS...]
set -euo pipefail
out=$1
missing=()
shift

for package in xvfb xauth xdotool imagemagick; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
if [ -n "${missing[*]:-}" ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

source "$(dirname "$0")/xvfb.sh"
start_xvfb
trap stop_xvfb EXIT

"$@" &
program=$!
# The panel, or a box the program shows before it (no tracker found, or a question which).
if ! window=$(wait_for_window "(ZARVEN Controls|NO Tracker|Select HMD to configure)"); then
  echo "screenshot: the panel did not appear" >&2
  kill "$program" 2>/dev/null || true
  exit 1
fi
sleep 1
/usr/bin/import -window root png:- | /usr/bin/convert png:- -trim +repage "$out"
title=$(xdotool getwindowname "$window")
if [ "$title" = "ZARVEN Controls" ]; then
  echo "screenshot: saved $out" >&2
  xdotool windowfocus --sync "$window" && sleep 0.3 && xdotool key Escape
else
  echo "screenshot: saved $out, showing the box \"$title\" that came before the panel" >&2
  kill "$program" 2>/dev/null || true
fi
wait "$program" || true
