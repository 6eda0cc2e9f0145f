#!/usr/bin/env bash
# CPU use of the running panel while it idles in a real window (Xvfb) with its 20 ms readout
# ticking: user + system time from /proc/<pid>/stat over a window of SECONDS (default 10),
# after a 2 s settling period, as a percentage of one core.
#   bench/idle_cpu.sh PROGRAM [SECONDS]
set -euo pipefail
program=$1
seconds=${2:-10}

work=$(mktemp -d)
display=:$((100 + $$ % 400))
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

XDG_DATA_HOME=$work "$program" 2>/dev/null &
app=$!
for _ in $(seq 150); do
  xdotool search --onlyvisible --name '^ZARVEN Controls$' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 2

ticks() { awk '{ print $14 + $15 }' "/proc/$app/stat"; }
hz=$(getconf CLK_TCK)
start=$(ticks)
start_ns=$(date +%s%N)
sleep "$seconds"
end=$(ticks)
end_ns=$(date +%s%N)
awk -v t=$((end - start)) -v hz="$hz" -v ns=$((end_ns - start_ns)) \
  'BEGIN { printf "idle CPU: %.3f %% of one core (%d ticks of 1/%d s over %.1f s)\n", 100 * t / hz / (ns / 1e9), t, hz, ns / 1e9 }'
