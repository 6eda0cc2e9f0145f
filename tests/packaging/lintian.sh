#!/usr/bin/env bash
# Runs Debian's package checker on a .deb as CI does and fails when it reports any error or
# warning (information and pedantic tags are shown but do not fail). Installs lintian when it
# is missing.
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
if [ "$status" -ne 0 ]; then
  echo "lintian: $deb has errors or warnings (exit status $status)"
  exit 1
fi
echo "lintian: $deb has no errors and no warnings"
