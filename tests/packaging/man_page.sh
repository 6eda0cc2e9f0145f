#!/usr/bin/env bash
# Renders a manual page as man shows it on an 80-column terminal, with groff's warnings on, and
# fails when man or groff says anything on standard error; also checks that the NAME section
# gives man's index (whatis, apropos) a "name - summary" line for the page's own name.
#   tests/packaging/man_page.sh PATH/TO/PAGE.1
set -uo pipefail
page=${1:?usage: man_page.sh PAGE}
name=$(basename "$page")
name=${name%.gz}
name=${name%.*}
failed=0

fail() {
  echo "FAIL: $*" >&2
  failed=1
}

if ! messages=$(MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null); then
  fail "man could not render $page"
fi
if [ -n "$messages" ]; then
  fail "man reports on $page:"
  echo "$messages" >&2
fi

whatis=$(lexgrog "$page" 2>&1)
if ! grep -q ": \"$name - ." <<<"$whatis"; then
  fail "no whatis entry \"$name - ...\" in $page: $whatis"
fi

[ "$failed" -eq 0 ] && echo "man page: $page renders without warnings"
exit "$failed"
