#!/usr/bin/env bash
# Builds the fuzzers with clang into build-fuzz/ and runs each for SECONDS (default 60), from
# the seed corpus in fuzz/corpus/<target>/. New inputs go to build-fuzz/corpus/<target>/, a
# crashing input to build-fuzz/artifacts/. Exits non-zero when any fuzzer finds a fault.
# Inputs reach a little past each file kind's limits (1 MiB INI, 8 MiB system.reg), and memory
# is capped: a single allocation above 256 MiB, or more than 1 GiB in all, is a finding.
#   fuzz/run.sh [SECONDS]
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"

mkdir -p "$build"
if ! { cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
         -DCMAKE_BUILD_TYPE=RelWithDebInfo && cmake --build "$build"; } >"$build/build.log" 2>&1; then
  cat "$build/build.log" >&2
  echo "fuzz: the fuzzers did not build" >&2
  exit 1
fi

status=0
declare -A max_len=([registry_text_fuzzer]=8392704 [ini_text_fuzzer]=1052672
                   [joystick_config_fuzzer]=8192)
for target in registry_text_fuzzer ini_text_fuzzer joystick_config_fuzzer; do
  name=${target%_fuzzer}
  mkdir -p "$build/corpus/$name" "$build/artifacts"
  dictionary=()
  if [ -f "$root/fuzz/$name.dict" ]; then
    dictionary=(-dict="$root/fuzz/$name.dict")
  fi
  log="$build/$target.log"
  if "$build/$target" -max_total_time="$seconds" -max_len="${max_len[$target]}" \
      -rss_limit_mb=1024 -malloc_limit_mb=256 -print_final_stats=1 \
      -artifact_prefix="$build/artifacts/$target-" "${dictionary[@]}" \
      "$build/corpus/$name" "$root/fuzz/corpus/$name" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz: $target: ${runs:-?} runs in ${seconds}s, no finding"
  else
    echo "fuzz: $target: FINDING (log: $log)" >&2
    tail -n 40 "$log" >&2
    status=1
  fi
done
exit $status
