#!/usr/bin/env bash
# Builds the program in a Release build (build-release/), makes the Debian package with CPack
# and prints the .deb's path as the last line of standard output.
#   scripts/package.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-release"

"$root/scripts/install-deps.sh" >&2
# CPack's Debian generator: dpkg-shlibdeps (dpkg-dev) and file for the library dependencies.
if ! command -v dpkg-shlibdeps >/dev/null || ! command -v file >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends dpkg-dev file >&2
fi

# Compiled as Debian compiles its packages: dpkg-buildflags with every hardening feature
# (-O2, stack protector, _FORTIFY_SOURCE, format checks, full RELRO with immediate binding).
# g++ 12 at -O3 would also report a false -Wrestrict in std::string concatenation.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG" \
  "-DCMAKE_CXX_FLAGS=$cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" \
  -DBUILD_TESTING=OFF -DZARVEN_WITH_BENCH=OFF -DZARVEN_SANITIZE=OFF >&2
# Everything the package installs: the program, its manual page and compressed changelog.
cmake --build "$build" >&2

rm -f "$build"/zarven-controls_*.deb
(cd "$build" && cpack -G DEB) >&2
deb=$(ls "$build"/zarven-controls_*.deb)
echo "package: built $deb" >&2
echo "$deb"
