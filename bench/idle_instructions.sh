#!/usr/bin/env bash
# Instructions the running program executes while it idles in a real window (Xvfb), counted
# by callgrind over IDLE_SECONDS (default 10) after a 3 s settling period. Unlike CPU time,
# the count hardly depends on what else the machine is doing, so small changes show on a
# shared, noisy machine. Under valgrind the program runs slower, but an idle tick still fits
# in its 20 ms. TITLE is the title of the window to wait for (default "ZARVEN Controls").
#   [IDLE_SECONDS=10] [TITLE=...] bench/idle_instructions.sh PROGRAM [ARGS...]
set -euo pipefail
source "$(dirname "$0")/../scripts/xvfb.sh"
seconds=${IDLE_SECONDS:-10}
title=${TITLE:-ZARVEN Controls}

start_xvfb_session

XDG_DATA_HOME=$work valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
  "$@" 2>/dev/null &
app=$!
wait_for_window "$title" 60 >/dev/null || {
  echo "idle instructions: the window did not appear" >&2
  exit 1
}
sleep 3
callgrind_control --zero "$app" >/dev/null 2>&1
sleep "$seconds"
callgrind_control --dump "$app" >/dev/null 2>&1
for _ in $(seq 50); do
  [ -s "$work/callgrind.out.1" ] && break
  sleep 0.1
done
awk -v s="$seconds" '/^summary:/ { printf "idle instructions: %.2f million in %d s (%.0f a tick of 20 ms)\n", $2 / 1e6, s, $2 / (s * 50) }' \
  "$work/callgrind.out.1"
