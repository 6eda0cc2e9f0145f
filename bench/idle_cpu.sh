#!/usr/bin/env bash
# CPU use of the running panel while it idles in a real window (Xvfb) with its 20 ms readout
# ticking: the time all its threads spent on a CPU (/proc/<pid>/task/*/schedstat, in ns) over
# a window of IDLE_SECONDS (default 10), after a 2 s settling period, as a percentage of one
# core. TITLE is the title of the window to wait for (default "ZARVEN Controls").
#   [IDLE_SECONDS=10] [TITLE=...] bench/idle_cpu.sh PROGRAM [ARGS...]
set -euo pipefail
source "$(dirname "$0")/../scripts/xvfb.sh"
seconds=${IDLE_SECONDS:-10}
title=${TITLE:-ZARVEN Controls}

start_xvfb_session

XDG_DATA_HOME=$work "$@" 2>/dev/null &
app=$!
wait_for_window "$title" >/dev/null || { echo "idle CPU: the window did not appear" >&2; exit 1; }
sleep 2

cpu_ns() { cat /proc/"$app"/task/*/schedstat | awk '{ sum += $1 } END { printf "%d", sum }'; }
start=$(cpu_ns)
start_ns=$(date +%s%N)
sleep "$seconds"
end=$(cpu_ns)
end_ns=$(date +%s%N)
awk -v cpu=$((end - start)) -v wall=$((end_ns - start_ns)) \
  'BEGIN { printf "idle CPU: %.3f %% of one core (%.1f ms on a CPU in %.1f s)\n", 100 * cpu / wall, cpu / 1e6, wall / 1e9 }'
