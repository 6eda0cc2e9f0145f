# shellcheck shell=bash
# Counted checks for the packaging scripts, sourced by them.
passed=0 failed=0

# check "what is wrong when it fails" COMMAND ARGS...: runs the command, counts the result.
check() {
  if "${@:2}"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $1" >&2; fi
}

# report NAME: prints "NAME: P passed, F failed"; succeeds when nothing failed.
report() { echo "$1: $passed passed, $failed failed" && [ "$failed" -eq 0 ]; }
