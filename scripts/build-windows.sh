#!/usr/bin/env bash
# Builds the native 32-bit Windows program with MinGW-w64 into build-win32/: installs the
# cross toolchain when it is missing, configures, builds and strips zarven-controls.exe, and
# prints its stripped size. Beside it, zarven-controls-<version>-win32.zip holds the program and
# a plain-text README.txt (packaging/windows/README.txt with Windows line ends) for handing on.
set -euo pipefail
cd "$(dirname "$0")/.."

needed=()
command -v i686-w64-mingw32-g++-win32 >/dev/null || needed+=(g++-mingw-w64-i686)
command -v i686-w64-mingw32-windres >/dev/null || needed+=(binutils-mingw-w64-i686)
command -v cmake >/dev/null || needed+=(cmake)
command -v ninja >/dev/null || needed+=(ninja-build)
command -v python3 >/dev/null || needed+=(python3)
command -v c++ >/dev/null || needed+=(g++)
if [ ${#needed[@]} -gt 0 ]; then
  echo "build-windows: installing ${needed[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${needed[@]}"
fi

cmake -S . -B build-win32 -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-i686.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel
cmake --build build-win32 --target zarven-controls

exe=build-win32/app/zarven-controls.exe
i686-w64-mingw32-strip "$exe"
echo "build-windows: $exe, stripped size $(stat -c %s "$exe") bytes"

# The .zip: the version from the build's project, the README's lines ended with CR LF for
# Windows editors, both entries stamped with the program's modification time.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-win32/CMakeCache.txt)
zip="build-win32/app/zarven-controls-$version-win32.zip"
python3 - "$exe" packaging/windows/README.txt "$version" "$zip" <<'PYTHON'
import os, sys, time, zipfile

exe, readme, version, target = sys.argv[1:]
stamp = time.localtime(os.stat(exe).st_mtime)[:6]
with open(exe, "rb") as program:
    program_bytes = program.read()
with open(readme, encoding="ascii") as source:
    readme_bytes = source.read().replace("@VERSION@", version).replace("\n", "\r\n").encode("ascii")
partial = target + ".part"
with zipfile.ZipFile(partial, "w") as archive:
    for name, data in (("zarven-controls.exe", program_bytes), ("README.txt", readme_bytes)):
        entry = zipfile.ZipInfo(name, stamp)
        entry.external_attr = 0o644 << 16  # rw-r--r-- when unpacked on a Unix system
        entry.compress_type = zipfile.ZIP_DEFLATED
        archive.writestr(entry, data)
os.replace(partial, target)
PYTHON
echo "build-windows: $zip, $(stat -c %s "$zip") bytes"
