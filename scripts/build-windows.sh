#!/usr/bin/env bash
# Builds the native 32-bit Windows program with MinGW-w64 into build-win32/: installs the
# cross toolchain when it is missing, configures, builds and strips zarven-controls.exe, and
# prints its stripped size.
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
