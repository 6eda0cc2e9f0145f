#!/usr/bin/env bash
# The Windows program under Wine: the "NO Tracker" notice, then the panel. Alt+F4 cancels without
# a profile; the system menu's about box closes on Return; Power Saver, a click on the yaw bar's
# down arrow and Return write PowerSaver=1 and YawSensitivity=1024.
#   tests/win32/wine_smoke.sh [--screenshot FILE.png]   (saves the panel as Wine shows it)
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
name="wine smoke" screenshot=""
[ "${1:-}" = --screenshot ] && screenshot=$(realpath -m "$2") && mkdir -p "${screenshot%/*}"
# shellcheck source-path=SCRIPTDIR source=wine_lib.sh
source "$root/tests/win32/wine_lib.sh"
install_missing
start_wine
wine regedit /S "$(winepath -w "$root/tests/win32/fake-tracker.reg" 2>/dev/null)" >/dev/null 2>&1
oem_key='HKLM\System\CurrentControlSet\Control\MediaProperties\PrivateProperties\Joystick\OEM'
check "the fake tracker's keys are imported" wine reg query "$oem_key\ZARVEN_TRACKER" /v OEMName

log "run 1: Alt+F4 cancels"
start_exe
if check "discovery passes and the panel shows" open_panel; then
  if [ -n "$screenshot" ]; then
    sleep 2 # let every control paint
    eval "$(xdotool getwindowgeometry --shell "$panel")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$screenshot" &&
      log "screenshot saved to $screenshot"
  fi
  keys_to "$panel" alt+F4
fi
check "Alt+F4 ends the program" ended_cleanly 20
check "Cancel writes no settings profile" test ! -e "$profile"

log "run 2: the about box, then Power Saver and OK"
stop_program
start_exe
if check "the panel shows again" open_panel; then
  [ "$notice_seen" = 0 ] || log "Wine reports no tracker: the \"NO Tracker\" notice came"
  keys_to "$panel" alt+space Up Return
  if check "the system menu's last item opens the about box" \
    wait_for_window "About ZARVEN Controls" 10; then
    keys_to "$(visible "About ZARVEN Controls")" Return
    check "Return closes the about box" within 10 gone "About ZARVEN Controls"
  fi
  # Focus is back on OK, the first tab stop; three tabs reach "Enable Power Saver".
  keys_to "$panel" Tab Tab Tab space
  click_yaw_down 22 3
  keys_to "$panel" Return
fi
check "OK ends the program" ended_cleanly 20
if [ "$notice_seen" = 1 ]; then # the options start off, the yaw bar at the fallback 1023
  check "OK writes PowerSaver=1 to the profile" grep -qE $'^PowerSaver=1\r?$' "$profile"
  check "a line-down click on the yaw bar reaches the panel" \
    grep -qE $'^YawSensitivity=1024\r?$' "$profile"
else
  check "OK writes PowerSaver to the profile" grep -qE $'^PowerSaver=[01]\r?$' "$profile"
fi
summary
