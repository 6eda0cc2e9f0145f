#!/usr/bin/env bash
# Installs the Debian package (as root), checks its files, then runs the installed program under
# Xvfb: the panel appears, Return closes it, it exits 0 having written its profile. Removes the
# package again unless it was installed before.
#   tests/packaging/deb_smoke.sh PATH/TO/zarven-controls_*.deb
set -uo pipefail
deb=$(realpath "${1:?usage: deb_smoke.sh PACKAGE.deb}")
source "$(dirname "$0")/../../scripts/xvfb.sh"

program=/usr/bin/zarven-controls
share=/usr/share
# shellcheck source-path=SCRIPTDIR source=checks.sh
source "$(dirname "$0")/checks.sh"

installed_before=false
dpkg-query -W -f='${Status}' zarven-controls 2>/dev/null | grep -q 'install ok installed' &&
  installed_before=true

work=$(mktemp -d)
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null
  stop_xvfb
  rm -rf "$work"
  [ "$installed_before" = true ] ||
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq zarven-controls >/dev/null 2>&1
}
trap cleanup EXIT

# The package, and the validators of its desktop entry, metainfo and user service.
validators=()
for tool in desktop-file-validate/desktop-file-utils appstreamcli/appstream systemd-analyze/systemd; do
  command -v "${tool%/*}" >/dev/null || validators+=("${tool#*/}")
done
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${validators[@]}" \
  "$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log" >&2; echo "deb smoke: 0 passed, 1 failed"; exit 1; }
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
check "desktop-file-validate rejects the entry" desktop-file-validate "$desktop"
for icon in scalable/apps/zarven-controls.svg \
  {16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/zarven-controls.png; do
  check "no $icon icon" test -f "$share/icons/hicolor/$icon"
done
# Documentation is read from the package itself: slim systems tell dpkg not to unpack it.
contents=$(dpkg-deb -c "$deb" | awk '{ print $NF }')
for file in man/man1/zarven-controls.1.gz doc/zarven-controls/copyright \
  doc/zarven-controls/changelog.gz; do
  check "the package does not hold $share/$file" grep -qx "\./usr/share/$file" <<<"$contents"
done
metainfo=$share/metainfo/com.zarven.controls.metainfo.xml
check "no AppStream metainfo" test -f "$metainfo"
metainfo_validates() {
  appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log" >&2; return 1; }
}
check "appstreamcli rejects the metainfo" metainfo_validates

# The udev rule, and the user service it starts, which systemd accepts.
check "no udev rule" test -f /lib/udev/rules.d/60-input-zarven-controls.rules
units=/usr/lib/systemd/user
check "the log-in instance is not enabled" test -L "$units/default.target.wants/zarven-controls-apply@login.service"
verify_unit() {
  mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
  XDG_RUNTIME_DIR=$work/runtime systemd-analyze verify --user "$units/default.target.wants/$1" \
    >"$work/verify.log" 2>&1 || { cat "$work/verify.log" >&2; return 1; }
  ! grep -q . "$work/verify.log" || { cat "$work/verify.log" >&2; return 1; }
}
check "systemd-analyze rejects the user service" verify_unit zarven-controls-apply@login.service

# The command line; the service's windowless mode does nothing without a machine folder.
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
  local window status=0
  window=$(wait_for_window "ZARVEN Controls" 15) ||
    { echo "the panel did not appear; its standard error:" >&2; cat "$work/stderr" >&2; return 1; }
  sleep 0.5
  xdotool windowfocus --sync "$window" key Return
  for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  ! kill -0 "$app" 2>/dev/null || { echo "the panel did not close on Return" >&2; return 1; }
  wait "$app" || status=$?
  app=""
  [ "$status" -eq 0 ] || { echo "the program exited with status $status" >&2; return 1; }
}
check "the installed program did not run and close with OK" run_panel
check "no settings profile was written" test -f "$work/zarven-controls/windows/zarven-controls.INI"

report "deb smoke"
