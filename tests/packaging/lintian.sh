#!/usr/bin/env bash
# Debian's package checker on a .deb as CI runs it: fails on any error or warning.
#   tests/packaging/lintian.sh PATH/TO/zarven-controls_*.deb
set -euo pipefail
deb=${1:?usage: lintian.sh PACKAGE.deb}

if ! command -v lintian >/dev/null; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends lintian
fi

# lintian warns on standard error when it runs as root, as it does in CI; that is not a finding.
status=0
lintian --fail-on error,warning --display-info "$deb" 2> >(grep -v 'running with root privileges' >&2) ||
  status=$?
[ "$status" -eq 0 ] || { echo "lintian: $deb has errors or warnings (exit status $status)"; exit 1; }
echo "lintian: $deb has no errors and no warnings"
