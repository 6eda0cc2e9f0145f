#!/usr/bin/env bash
# Renders a manual page at 80 columns with groff's warnings on, failing on any message, and
# checks that NAME gives whatis a "name - summary" line.
#   tests/packaging/man_page.sh PATH/TO/PAGE.1
set -uo pipefail
page=${1:?usage: man_page.sh PAGE}
name=$(basename "$page")
name=${name%.gz}
name=${name%.*}
failed=0

fail() { echo "FAIL: $*" >&2; failed=1; }

messages=$(MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null) ||
  fail "man could not render $page"
[ -z "$messages" ] || fail "man reports on $page:"$'\n'"$messages"
whatis=$(lexgrog "$page" 2>&1)
grep -q ": \"$name - ." <<<"$whatis" || fail "no whatis entry \"$name - ...\" in $page: $whatis"

[ "$failed" -eq 0 ] && echo "man page: $page renders without warnings"
exit "$failed"
