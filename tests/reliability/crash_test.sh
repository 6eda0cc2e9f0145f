#!/usr/bin/env bash
# Kills a writer a random 0..MAX_DELAY_MS ms (default 40) into its writes; a fresh process checks.
#   tests/reliability/crash_test.sh [--first-use] CRASH_WRITER KILLS [MAX_DELAY_MS]
# --first-use: a new prefix for every kill, so it lands while the machine seeds it (default
# 10 ms); the next start must then complete a round of writes on a whole machine.
set -uo pipefail
first_use=false
[ "${1:-}" = --first-use ] && first_use=true && shift
writer=$1 kills=$2
max_delay_ms=${3:-$([ "$first_use" = true ] && echo 10 || echo 40)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/zarven-controls
kill_number=0

fail() { echo "FAIL after kill $kill_number: $1"; cat "$work/err" >&2; exit 1; }

# crash_writer MODE [ARGS...] on the prefix: must succeed with nothing on standard error.
run() { "$writer" "$1" "$prefix" "${@:2}" >"$work/out" 2>"$work/err" && [ ! -s "$work/err" ]; }

seen=() cut=0 ahead=0
[ "$first_use" = true ] || run write 1 || fail "a whole round of writes did not complete"
for kill_number in $(seq "$kills"); do
  [ "$first_use" = false ] || rm -rf "$prefix"
  delay_us=$(((RANDOM * 32768 + RANDOM) % (max_delay_ms * 1000 + 1)))
  "$writer" write "$prefix" 2>"$work/err" &
  sleep "$(printf '%d.%06d' $((delay_us / 1000000)) $((delay_us % 1000000)))"
  kill -KILL $! 2>/dev/null
  wait $! 2>/dev/null
  status=$?
  [ "$status" -eq 137 ] || fail "the writer ended by itself (status $status)"
  [ ! -s "$work/err" ] || fail "the writer complained"
  if [ "$first_use" = false ]; then
    run check "${seen[@]}" || fail "the check failed"
    read -r record profile temporaries <"$work/out"
    cut=$((cut + temporaries)) ahead=$((ahead + (record > profile)))
    seen=($((profile + 1)) $((profile + 1))) # what the next whole round must leave
  fi
  run write 1 || fail "the next start did not complete a round"
  run check "${seen[@]}" || fail "the round did not land whole"
done
if [ "$first_use" = true ]; then
  echo "crash test: $kills kills while seeding a new prefix"
else
  echo "crash test: $kills kills; writes cut short: $cut (each left a temporary, which the next" \
    "start removed); the record a round ahead of the profile: $ahead"
fi
echo "crash test: $kills passed, 0 failed"
