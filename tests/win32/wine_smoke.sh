#!/usr/bin/env bash
# Smoke test of the native Windows program under Wine on a virtual display, in a throw-away
# prefix. Wine has no joystick, so the program shows the "NO Tracker" notice and then the
# panel. Checks: Alt+F4 cancels without writing the settings profile; the system menu's About
# item opens the about box and Return closes it; toggling "Enable Power Saver" from the
# keyboard, clicking the yaw bar's down arrow and pressing Return writes PowerSaver=1 and
# YawSensitivity=1024 into zarven-controls.INI; imported tracker keys do not upset discovery.
#
#   tests/win32/wine_smoke.sh [--screenshot FILE.png] [EXE]
#
# Builds the program with scripts/build-windows.sh when EXE is not given and not yet built;
# installs Wine and the X tools with apt-get when they are missing.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)

screenshot=""
if [ "${1:-}" = "--screenshot" ]; then
  screenshot=$(realpath -m "$2")
  shift 2
fi
exe=${1:-$root/build-win32/app/zarven-controls.exe}

log() { echo "wine smoke: $*"; }

install_missing() {
  local needed=()
  command -v wine >/dev/null || needed+=(wine)
  dpkg -s wine32:i386 >/dev/null 2>&1 || needed+=(wine32:i386)
  dpkg -s fonts-wine >/dev/null 2>&1 || needed+=(fonts-wine)
  command -v Xvfb >/dev/null || needed+=(xvfb)
  command -v xauth >/dev/null || needed+=(xauth)
  command -v xdotool >/dev/null || needed+=(xdotool)
  if [ -n "$screenshot" ] && ! command -v import >/dev/null; then needed+=(imagemagick); fi
  [ ${#needed[@]} -eq 0 ] && return 0
  log "installing ${needed[*]}"
  dpkg --add-architecture i386
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${needed[@]}"
}

set -e
install_missing
[ -f "$exe" ] || "$root/scripts/build-windows.sh"
set +e

# shellcheck source-path=SCRIPTDIR/../.. source=scripts/xvfb.sh
source "$root/scripts/xvfb.sh"
work=$(mktemp -d)
cleanup() {
  WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
start_xvfb || exit 1

export WINEPREFIX="$work/prefix" WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # nothing offers to download Mono or Gecko
log "preparing the Wine prefix"
timeout 180 wineboot -i >/dev/null 2>&1
# Without a window manager Wine draws the captions itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
wine regedit /S "$(winepath -w "$root/tests/win32/fake-tracker.reg" 2>/dev/null)" >/dev/null 2>&1
wineserver -w
cp "$exe" "$WINEPREFIX/drive_c/zarven-controls.exe"
profile="$WINEPREFIX/drive_c/windows/zarven-controls.INI"

passed=0
failed=0
check() {
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    log "PASS $name"
  else
    failed=$((failed + 1))
    log "FAIL $name"
  fi
}

quietly() { "$@" >/dev/null 2>&1; }

visible_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }

# Waits up to $2 seconds for a visible window captioned exactly $1 and prints its id.
wait_window() {
  local id
  for _ in $(seq 1 $(($2 * 4))); do
    id=$(visible_window "$1")
    [ -n "$id" ] && echo "$id" && return 0
    sleep 0.25
  done
  return 1
}

wait_window_gone() {
  for _ in $(seq 1 $(($2 * 4))); do
    [ -z "$(visible_window "$1")" ] && return 0
    sleep 0.25
  done
  return 1
}

# The yaw bar's down arrow, from its place in the template (x 137, width 10; bottom at 96 of
# 175 dialog units) and Wine's frame (22 pixels above the client area, 3 below).
click_yaw_down_arrow() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + WIDTH * 142 / 210)) $((Y + 22 + (HEIGHT - 25) * 91 / 175)) click 1
  sleep 0.5
}

program_pid=""
start_program() {
  (cd "$WINEPREFIX/drive_c" && exec wine 'C:\zarven-controls.exe' >/dev/null 2>&1) &
  program_pid=$!
}

# Waits up to $1 seconds for the program to end; true when it ended with exit code 0.
program_ended_cleanly() {
  for _ in $(seq 1 $(($1 * 4))); do
    if ! kill -0 "$program_pid" 2>/dev/null; then
      wait "$program_pid"
      return $?
    fi
    sleep 0.25
  done
  return 1
}

# A run whose checks failed may leave the program open: end it before the next one.
end_leftover_program() {
  if kill -0 "$program_pid" 2>/dev/null; then
    wineserver -k
    wait "$program_pid"
  fi
}

# Answers the start-up boxes of discovery with Return (the notice's OK, the question's Yes)
# until the panel shows. Wine may report joysticks of its own, so any of them may come.
notice_seen=0
open_panel() {
  local box id
  for _ in $(seq 1 240); do
    panel=$(visible_window "ZARVEN Controls")
    [ -n "$panel" ] && return 0
    for box in "NO Tracker" "Select HMD to configure" "Error"; do
      id=$(visible_window "$box")
      if [ -n "$id" ]; then
        [ "$box" = "NO Tracker" ] && notice_seen=1
        sleep 0.5
        keys_to "$id" Return
        # One Return a box: a second one would press the panel's OK. A box that is still
        # there after a while had not taken input yet (Wine's first start is slow).
        wait_window_gone "$box" 5
      fi
    done
    sleep 0.25
  done
  return 1
}

oem_key='HKLM\System\CurrentControlSet\Control\MediaProperties\PrivateProperties\Joystick\OEM'
check "the fake tracker's keys are imported" quietly wine reg query "$oem_key\ZARVEN_TRACKER" /v OEMName

log "run 1: Alt+F4 cancels"
start_program
check "discovery passes and the panel shows" open_panel
if [ -n "$screenshot" ] && [ -n "${panel:-}" ]; then
  sleep 2  # let every control paint
  mkdir -p "$(dirname "$screenshot")"
  eval "$(xdotool getwindowgeometry --shell "$panel")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$screenshot" &&
    log "screenshot saved to $screenshot"
fi
[ -n "${panel:-}" ] && keys_to "$panel" alt+F4
check "Alt+F4 ends the program" program_ended_cleanly 20
check "Cancel writes no settings profile" test ! -e "$profile"

log "run 2: the about box, then Power Saver and OK"
end_leftover_program
start_program
check "the panel shows again" open_panel
if [ "$notice_seen" = 1 ]; then log "Wine reports no tracker: the \"NO Tracker\" notice came"; fi
[ -n "${panel:-}" ] && keys_to "$panel" alt+space Up Return
about=$(wait_window "About ZARVEN Controls" 10)
check "the system menu's last item opens the about box" test -n "$about"
[ -n "$about" ] && keys_to "$about" Return
about_closed() { [ -n "$about" ] && wait_window_gone "About ZARVEN Controls" 10; }
check "Return closes the about box" about_closed
# Focus is back on OK, the first tab stop; three tabs reach "Enable Power Saver".
[ -n "${panel:-}" ] && keys_to "$panel" Tab Tab Tab space
[ -n "${panel:-}" ] && click_yaw_down_arrow "$panel"
[ -n "${panel:-}" ] && keys_to "$panel" Return
check "OK ends the program" program_ended_cleanly 20
if [ "$notice_seen" = 1 ]; then
  # No tracker: the options started off, so the toggle turned power saving on.
  check "OK writes PowerSaver=1 to the profile" grep -qE $'^PowerSaver=1\r?$' "$profile"
  # The yaw bar started at the fallback 1023; its down arrow moved it one step.
  check "a line-down click on the yaw bar reaches the panel" \
    grep -qE $'^YawSensitivity=1024\r?$' "$profile"
else
  check "OK writes PowerSaver to the profile" grep -qE $'^PowerSaver=[01]\r?$' "$profile"
fi

echo "wine smoke: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
