#!/usr/bin/env bash
# Kills a writer with SIGKILL at random moments while it writes through the emulated machine,
# and checks after every kill, in a fresh process, that the machine's files are whole.
#
#   tests/reliability/crash_test.sh CRASH_WRITER KILLS [MAX_DELAY_MS]
#     One prefix; the writer writes the configuration record and a profile, round after
#     round. After each kill every file must parse and each item hold the old or the new
#     value (crash_writer check). MAX_DELAY_MS defaults to 40.
#   tests/reliability/crash_test.sh --first-use CRASH_WRITER KILLS [MAX_DELAY_MS]
#     A fresh prefix for every kill, so the kill lands while the machine seeds it. The next
#     start must find a whole machine: it writes and checks a round, and all three machine
#     files exist. MAX_DELAY_MS defaults to 10.
# Each kill comes a random 0..MAX_DELAY_MS milliseconds after the writer started.
set -uo pipefail
first_use=false
if [ "${1:-}" = "--first-use" ]; then
  first_use=true
  shift
fi
writer=$1
kills=$2
max_delay_ms=${3:-$([ "$first_use" = true ] && echo 10 || echo 40)}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/zarven-controls
journal=$work/journal
stderr=$work/stderr
kill_number=0

fail() {
  echo "FAIL after kill $kill_number: $1"
  cat "$stderr" >&2
  echo "crash test: $((kill_number > 0 ? kill_number - 1 : 0)) passed, 1 failed"
  exit 1
}

# Starts a writer, kills it after a random delay; it must not have ended or complained.
kill_writer() {
  local delay_us=$(((RANDOM * 32768 + RANDOM) % (max_delay_ms * 1000 + 1)))
  "$writer" write "$prefix" "$journal" 2>"$stderr" &
  local pid=$!
  sleep "$(printf '%d.%06d' $((delay_us / 1000000)) $((delay_us % 1000000)))"
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  local status=$?
  if [ "$status" -ne 137 ]; then
    fail "the writer ended by itself (status $status)"
  fi
  if [ -s "$stderr" ]; then
    fail "the writer complained"
  fi
}

# A fresh process checks the prefix; sets `result` to its one-line verdict.
check_prefix() {
  if ! result=$("$writer" check "$prefix" "$journal" 2>"$stderr") || [ -s "$stderr" ]; then
    fail "the check failed"
  fi
}

write_round() {
  if ! "$writer" write "$prefix" "$journal" 1 2>"$stderr" || [ -s "$stderr" ]; then
    fail "a whole round of writes did not complete"
  fi
}

if [ "$first_use" = true ]; then
  for kill_number in $(seq "$kills"); do
    rm -rf "$prefix" "$journal"
    kill_writer
    write_round
    check_prefix
    for file in system.reg system.ini joysticks.ini; do
      [ -f "$prefix/$file" ] || fail "the machine was left without $file"
    done
  done
  echo "crash test: $kills kills while seeding a new prefix"
  echo "crash test: $kills passed, 0 failed"
  exit 0
fi

# One whole round first, so each item holds a counter before the kills begin.
write_round
declare -A outcome=()
temporaries=0
for kill_number in $(seq "$kills"); do
  kill_writer
  check_prefix
  read -r _ reg _ ini _ temporaries <<<"$result"
  outcome[reg-$reg]=$((${outcome[reg-$reg]:-0} + 1))
  outcome[ini-$ini]=$((${outcome[ini-$ini]:-0} + 1))
done

echo "crash test: $kills kills; writes cut short: registry ${outcome[reg-kept]:-0} kept the old" \
  "value, ${outcome[reg-landed]:-0} the new; profile ${outcome[ini-kept]:-0} kept the old," \
  "${outcome[ini-landed]:-0} the new; temporary files left behind: $temporaries"
echo "crash test: $kills passed, 0 failed"
