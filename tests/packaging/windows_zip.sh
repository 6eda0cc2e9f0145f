#!/usr/bin/env bash
# The Windows .zip of scripts/build-windows.sh: exactly the built program and README.txt, the
# README ASCII with CR LF ends, carrying the version and where the profile lands.
#   tests/packaging/windows_zip.sh [PATH/TO/zarven-controls-*-win32.zip]
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
archives=("$root"/build-win32/app/zarven-controls-*-win32.zip)
zip=${1:-${archives[-1]}}
[ -f "$zip" ] || { echo "windows zip: no archive (run scripts/build-windows.sh first)" >&2; exit 1; }
exe=$(dirname "$zip")/zarven-controls.exe
version=$(basename "$zip" -win32.zip)
version=${version#zarven-controls-}
# shellcheck source-path=SCRIPTDIR source=checks.sh
source "$(dirname "$0")/checks.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
check "the archive does not unpack" unzip -q "$zip" -d "$work"
check "the archive does not hold exactly the program and README.txt" \
  test "$(cd "$work" && find . -type f | sort | tr '\n' ' ')" = "./README.txt ./zarven-controls.exe "
check "the archived program differs from $exe" cmp -s "$work/zarven-controls.exe" "$exe"

readme=$work/README.txt
check "README.txt holds more than ASCII" bash -c "! LC_ALL=C grep -q '[^[:print:][:space:]]' '$readme'"
check "README.txt has a line without CR LF" bash -c "! grep -qv \$'\\r\$' '$readme'"
check "README.txt does not name version $version" grep -q "ZARVEN Controls $version for Windows" "$readme"
check "README.txt has a placeholder left" bash -c "! grep -q '@[A-Z_]*@' '$readme'"
check "README.txt does not say where the profile lands" grep -q 'zarven-controls\.INI' "$readme"

report "windows zip"
