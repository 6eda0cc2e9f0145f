#!/usr/bin/env bash
# Installs the Debian package, checks that its files landed and validate, then runs the
# INSTALLED program in a real window (Xvfb) on a fresh emulated machine: the panel appears,
# Return closes it with OK, it exits 0 and has written its settings profile. Removes the
# package again unless it was installed before. Runs as root.
#   tests/packaging/deb_smoke.sh PATH/TO/zarven-controls_*.deb
set -uo pipefail
deb=$(realpath "${1:?usage: deb_smoke.sh PACKAGE.deb}")
source "$(dirname "$0")/../../scripts/xvfb.sh"

program=/usr/bin/zarven-controls
share=/usr/share
# shellcheck source-path=SCRIPTDIR source=checks.sh
source "$(dirname "$0")/checks.sh"

installed_before=false
if dpkg-query -W -f='${Status}' zarven-controls 2>/dev/null | grep -q 'install ok installed'; then
  installed_before=true
fi

work=$(mktemp -d)
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null
  stop_xvfb
  rm -rf "$work"
  if [ "$installed_before" = false ]; then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq zarven-controls >/dev/null 2>&1
  fi
}
trap cleanup EXIT

if ! DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1; then
  cat "$work/apt.log" >&2
  echo "deb smoke: 0 passed, 1 failed"
  exit 1
fi
passed=$((passed + 1))

# The package's metadata: the Qt libraries (found by dpkg-shlibdeps) and the platform plugins.
depends=$(dpkg-deb -f "$deb" Depends)
for dependency in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins; do
  check "the package does not depend on $dependency" grep -qw "$dependency" <<<"$depends"
done
check "the package has no maintainer" test -n "$(dpkg-deb -f "$deb" Maintainer)"

# The files in place.
check "the program is not installed as $program" test -x "$program"
desktop=$share/applications/zarven-controls.desktop
check "no desktop entry" test -f "$desktop"
check "the desktop entry does not carry the program's name" grep -qx 'Name=ZARVEN Controls' "$desktop"
check "the desktop entry does not name the icon" grep -qx 'Icon=zarven-controls' "$desktop"
if command -v desktop-file-validate >/dev/null; then
  check "desktop-file-validate rejects the entry" desktop-file-validate "$desktop"
fi
check "no scalable icon" test -f "$share/icons/hicolor/scalable/apps/zarven-controls.svg"
for size in 16 24 32 48 64 128 256; do
  check "no ${size}x${size} icon" test -f "$share/icons/hicolor/${size}x${size}/apps/zarven-controls.png"
done
# Documentation is read from the package itself: slim systems tell dpkg not to unpack it.
contents=$(dpkg-deb -c "$deb" | awk '{ print $NF }')
for file in man/man1/zarven-controls.1.gz doc/zarven-controls/copyright \
  doc/zarven-controls/changelog.gz; do
  check "the package does not hold $share/$file" grep -qx "\./usr/share/$file" <<<"$contents"
done
metainfo=$share/metainfo/com.zarven.controls.metainfo.xml
check "no AppStream metainfo" test -f "$metainfo"
if command -v appstreamcli >/dev/null; then
  metainfo_validates() {
    appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
      { cat "$work/appstream.log" >&2; return 1; }
  }
  check "appstreamcli rejects the metainfo" metainfo_validates
fi

# Day to day with real joysticks: the udev rule, and the user service it starts, which systemd
# accepts (an instance per joystick, and the one enabled for log-in).
check "no udev rule" test -f /lib/udev/rules.d/60-input-zarven-controls.rules
units=/usr/lib/systemd/user
check "the log-in instance is not enabled" test -L "$units/default.target.wants/zarven-controls-apply@login.service"
verify_unit() {
  mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
  XDG_RUNTIME_DIR=$work/runtime systemd-analyze verify --user "$units/default.target.wants/$1" \
    >"$work/verify.log" 2>&1 || { cat "$work/verify.log" >&2; return 1; }
  ! grep -q . "$work/verify.log" || { cat "$work/verify.log" >&2; return 1; }
}
if command -v systemd-analyze >/dev/null; then
  check "systemd-analyze rejects the user service" verify_unit zarven-controls-apply@login.service
fi

# The command line of the installed program, and the windowless mode the service runs: with no
# machine folder it does nothing and creates nothing.
check "--version does not tell the version" grep -qx 'zarven-controls 1\.[0-9]*\.[0-9]*' \
  <<<"$("$program" --version)"
unknown_option_fails() {
  local status=0
  "$program" --no-such-option 2>"$work/stderr" || status=$?
  [ "$status" -eq 2 ] && [ "$(wc -l <"$work/stderr")" -eq 1 ]
}
check "an unknown option does not end with one line and status 2" unknown_option_fails
check "--apply without a machine folder fails" env XDG_DATA_HOME="$work/none" "$program" --apply
check "--apply without a machine folder created one" test ! -e "$work/none/zarven-controls"

# The installed program in a real window.
run_panel() {
  start_xvfb || return 1
  XDG_DATA_HOME=$work "$program" 2>"$work/stderr" &
  app=$!
  local window=""
  for _ in $(seq 150); do
    window=$(xdotool search --onlyvisible --name '^ZARVEN Controls$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  if [ -z "$window" ]; then
    echo "the panel did not appear; its standard error:" >&2
    cat "$work/stderr" >&2
    return 1
  fi
  sleep 0.5
  xdotool windowfocus --sync "$window" key Return
  for _ in $(seq 100); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$app" 2>/dev/null; then
    echo "the panel did not close on Return" >&2
    return 1
  fi
  local status=0
  wait "$app" || status=$?
  app=""
  if [ "$status" -ne 0 ]; then
    echo "the program exited with status $status" >&2
    return 1
  fi
}
check "the installed program did not run and close with OK" run_panel
check "no settings profile was written" test -f "$work/zarven-controls/windows/zarven-controls.INI"

report "deb smoke"
