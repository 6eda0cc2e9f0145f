#!/usr/bin/env bash
# End to end: the real program in a real window (Xvfb) on a fresh emulated machine. Tab to
# "Enable Stereo Mode", Space, Return; the tracker's state and the profile show stereo on.
# Usage: keyboard_e2e.sh PROGRAM
set -euo pipefail
source "$(dirname "$0")/../../scripts/xvfb.sh"
program=$1

start_xvfb_session

XDG_DATA_HOME=$work "$program" 2>"$work/stderr" &
app=$!

if ! window=$(wait_for_window "ZARVEN Controls"); then
  echo "FAIL: the panel did not appear"; cat "$work/stderr"; exit 1
fi
sleep 0.5
# Focus starts on OK; Tab reaches Cancel, then "Enable Stereo Mode".
xdotool windowfocus --sync "$window"
xdotool key --delay 100 Tab Tab space Return

for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then
  echo "FAIL: the panel did not close on Return"; exit 1
fi
wait "$app"
app=""

prefix=$work/zarven-controls
profile=$prefix/windows/zarven-controls.INI
grep -qx 'StereoMode=1' "$prefix/joysticks.ini" || { echo "FAIL: joysticks.ini:"; cat "$prefix/joysticks.ini"; exit 1; }
grep -qx '\[ZARVEN\]' "$profile" || { echo "FAIL: no [ZARVEN] section in $profile"; exit 1; }
grep -qx 'StereoMode=1' "$profile" || { echo "FAIL: profile:"; cat "$profile"; exit 1; }
grep -qx 'YawSensitivity=1023' "$profile" || { echo "FAIL: profile:"; cat "$profile"; exit 1; }
echo "keyboard end-to-end: 1 passed, 0 failed"
