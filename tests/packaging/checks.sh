# shellcheck shell=bash
# Counted checks for the packaging scripts, sourced by them:
#   check "what is wrong when it fails" COMMAND ARGS...   runs the command, counts the result
#   report NAME                                          prints "NAME: P passed, F failed" and
#                                                        succeeds when nothing failed
passed=0
failed=0

check() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: $what" >&2
  fi
}

report() {
  echo "$1: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
