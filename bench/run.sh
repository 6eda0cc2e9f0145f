#!/usr/bin/env bash
# Reruns every performance figure of docs/performance.md on this machine:
#   - the readout tick and the sensitivity notification (Google Benchmark, headless double),
#   - a registry write and read of the emulated machine (Google Benchmark),
#   - start-up to the window shown and peak memory, the panel against a bare Qt dialog,
#   - the running panel's idle CPU use, and the instructions it executes while idle.
#   bench/run.sh [RUNS]   (RUNS start-ups of each program, default 15)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-15}
build="$root/build-bench"
source "$root/scripts/xvfb.sh"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target zarven-controls panel_bench emulated_registry_bench bare_dialog \
  launch_until_shown >/dev/null

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "== machine"
echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg)"

echo "== core costs (median of 5 repetitions)"
for bench in panel_bench emulated_registry_bench; do
  "$build/bench/$bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    2>/dev/null | grep '_median'
done

work=$(mktemp -d)
trap 'stop_xvfb; rm -rf "$work"' EXIT
start_xvfb
export XDG_DATA_HOME="$work"
# A seeded machine, as a user has it from the second start on.
"$build/bench/launch_until_shown" "ZARVEN Controls" "$build/app/zarven-controls" >/dev/null

echo "== start-up to the window shown, and peak RSS ($runs runs each, alternating)"
: >"$work/panel" && : >"$work/bare"
for _ in $(seq "$runs"); do
  "$build/bench/launch_until_shown" "ZARVEN Controls" "$build/app/zarven-controls" >>"$work/panel"
  "$build/bench/launch_until_shown" "Bare Dialog" "$build/bench/bare_dialog" >>"$work/bare"
done
panel_ms=$(cut -d' ' -f1 "$work/panel" | median)
bare_ms=$(cut -d' ' -f1 "$work/bare" | median)
panel_kib=$(cut -d' ' -f2 "$work/panel" | median)
bare_kib=$(cut -d' ' -f2 "$work/bare" | median)
awk -v p="$panel_ms" -v b="$bare_ms" \
  'BEGIN { printf "start-up: panel %.1f ms, bare dialog %.1f ms, ratio %.2f (goal <= 1.20)\n", p, b, p / b }'
awk -v p="$panel_kib" -v b="$bare_kib" \
  'BEGIN { printf "peak RSS: panel %d KiB, bare dialog %d KiB, ratio %.2f (goal <= 1.20)\n", p, b, p / b }'
stop_xvfb
unset XDG_DATA_HOME

echo "== idle CPU (3 runs of 10 s each; goal < 0.5 % of one core)"
for _ in 1 2 3; do
  "$root/bench/idle_cpu.sh" "$build/app/zarven-controls" | sed 's/^/panel: /'
  TITLE="Bare Dialog" "$root/bench/idle_cpu.sh" "$build/bench/bare_dialog" --timer |
    sed 's/^/bare dialog with a 20 ms timer: /'
done

echo "== idle instructions (callgrind, 10 s; hardly moved by other load)"
"$root/bench/idle_instructions.sh" "$build/app/zarven-controls" | sed 's/^/panel: /'
TITLE="Bare Dialog" "$root/bench/idle_instructions.sh" "$build/bench/bare_dialog" --timer |
  sed 's/^/bare dialog with a 20 ms timer: /'
