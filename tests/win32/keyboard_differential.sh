#!/usr/bin/env bash
# The keyboard, proven against the dialog manager: the same key sequences, from the same start,
# go to the Qt program on a fresh emulated machine and to the Windows program under Wine, one
# run each, on one virtual display. What each run leaves must match: the settings profile's
# section [ZARVEN] (or no profile at all), and whether the panel closed. On Linux the stored
# calibration record must also hold the ranges of the positions the profile shows.
#
# Wine has no head tracker (the .exe says "NO Tracker" and its configuration key cannot be
# opened), so the sequences use what does not depend on one: focus movement, the option boxes,
# the yaw bar's scroll codes, OK and Cancel. Both programs start with the bars at 1023/341/341
# (the emulated record; the .exe's fallback) and the options off; the first case checks that.
#
#   tests/win32/keyboard_differential.sh [QT_PROGRAM [EXE]]
#
# Needs Wine, Xvfb and xdotool (tests/win32/wine_smoke.sh installs them) and both programs
# built (build/ and build-win32/ by default).
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
qt_program=${1:-$root/build/app/zarven-controls}
exe=${2:-$root/build-win32/app/zarven-controls.exe}

log() { echo "keyboard differential: $*"; }

for tool in wine wineboot Xvfb xdotool python3; do
  command -v "$tool" >/dev/null || { log "$tool is missing (tests/win32/wine_smoke.sh installs it)"; exit 1; }
done
for program in "$qt_program" "$exe"; do
  [ -f "$program" ] || { log "$program is not built"; exit 1; }
done

# Each case: a name, then the keys xdotool sends once the panel has the focus (on OK). A
# leading "click-yaw-down" clicks the yaw bar's down arrow first.
cases=(
  "start state, Return|Return"
  "Tab order to the first option|Tab Tab space Return"
  "Down walks the group to Power Saver|Down Down Down space Return"
  "Right forward, Left back to Cancel|Right Right Left space Return"
  "Down on OK reaches Cancel, Return presses it|Down Return"
  "Up on OK wraps to the Axes Output box, then a readout box|Up Up Down Return"
  "Up then Down comes back to OK, on to Cancel|Up Down Down space Return"
  "Set Zero's Down reaches the yaw bar: line down, up, Right, Left|Tab Tab Tab Tab Down Down Down Up Right Right Left Return"
  "page keys, Home and End leave the bar|Tab Tab Tab Tab Down Next Prior Home End Down Return"
  "Space on a bar does nothing|Tab Tab Tab Tab Down space Down Return"
  "Escape on a bar cancels|Tab Tab Tab Tab Down Down Escape"
  "Tab and Shift+Tab leave the bar, Down returns to it|Tab Tab Tab Tab Down Tab shift+Tab Down Down Return"
  "arrows in a value box stay there|Tab Tab Tab Tab Down Tab Down Up Left Right Return"
  "a click on a bar leaves the focus on OK|click-yaw-down Up Return"
)

# shellcheck source-path=SCRIPTDIR/../.. source=scripts/xvfb.sh
source "$root/scripts/xvfb.sh"
work=$(mktemp -d)
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  WINEPREFIX="$work/wine" wineserver -k 2>/dev/null
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
start_xvfb || exit 1

# Waits up to $1 seconds for the program to end; true when it did.
program_ended() {
  for _ in $(seq 1 $(($1 * 4))); do
    if ! kill -0 "$program_pid" 2>/dev/null; then
      wait "$program_pid" 2>/dev/null
      program_pid=""
      return 0
    fi
    sleep 0.25
  done
  return 1
}

# The yaw bar's down arrow: the bar ends at 96 of the panel's 175 dialog units, x 137..147 of
# 210. $2 and $3: the frame above and below the client area (none without a window manager).
click_yaw_down_arrow() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  local client=$((HEIGHT - $2 - $3))
  xdotool mousemove $((X + WIDTH * 142 / 210)) $((Y + $2 + client * 91 / 175)) click 1
  sleep 0.5
}

# What a run left: the profile's [ZARVEN] keys in one line, or "no profile"; "left open"
# when the panel did not close.
outcome() {
  local profile=$1 ended=$2 text
  if [ -f "$profile" ]; then
    text=$(tr -d '\r' <"$profile" | grep -E '^[A-Za-z]+=' | tr '\n' ' ')
  else
    text="no profile"
  fi
  [ "$ended" = 1 ] || text="$text; left open"
  echo "${text% }"
}

# The Qt program's stored record against its profile: for yaw, pitch and roll (X, Y, Z) the
# range the position gives, min (2047 - p) / 2 and max (p + 2047) / 2, around centre 1024.
record_matches_profile() {
  python3 - "$1/system.reg" "$1/windows/zarven-controls.INI" <<'EOF'
import re, struct, sys
registry, profile = (open(path, encoding="latin-1").read() for path in sys.argv[1:])
value = re.search(r'"Joystick1Configuration"=hex:((?:[0-9a-f,]|\\\n\s*)+)', registry)
record = bytes(int(b, 16) for b in re.sub(r"\\\n\s*", "", value.group(1)).split(","))
fields = struct.unpack_from("<18I", record, 12)  # jpMin, jpMax, jpCenter: X Y Z R U V each
keys = dict(re.findall(r"^(\w+)=(-?\d+)", profile, re.M))
for axis, key in enumerate(("YawSensitivity", "PitchSensitivity", "RollSensitivity")):
    p = int(keys[key])
    expected = ((2047 - p) // 2, (p + 2047) // 2, 1024)
    stored = (fields[axis], fields[6 + axis], fields[12 + axis])
    if stored != expected:
        sys.exit(f"{key}={p}: record holds min/max/centre {stored}, expected {expected}")
EOF
}

qt_run() {
  local machine=$work/qt$1 keys=$2 window ended=0
  mkdir -p "$machine"
  XDG_DATA_HOME=$machine "$qt_program" 2>"$machine/stderr" &
  program_pid=$!
  if ! window=$(wait_for_window "ZARVEN Controls" 30); then
    kill "$program_pid" 2>/dev/null
    program_ended 5
    echo "the panel did not show: $(head -c 300 "$machine/stderr")"
    return
  fi
  sleep 0.5
  xdotool windowfocus --sync "$window"
  if [[ $keys == click-yaw-down* ]]; then
    click_yaw_down_arrow "$window" 0 0
    keys=${keys#click-yaw-down }
  fi
  # shellcheck disable=SC2086
  xdotool key --delay 150 $keys
  program_ended 10 && ended=1
  if [ "$ended" = 0 ]; then
    kill "$program_pid" 2>/dev/null
    program_ended 5
  fi
  outcome "$machine/zarven-controls/windows/zarven-controls.INI" "$ended"
}

wine_attempt() {
  local keys=$1 profile=$WINEPREFIX/drive_c/windows/zarven-controls.INI box window ended=0
  rm -f "$profile"
  (cd "$WINEPREFIX/drive_c" && exec wine 'C:\zarven-controls.exe' >/dev/null 2>&1) &
  program_pid=$!
  if box=$(wait_for_window "NO Tracker" 60); then
    sleep 0.5
    keys_to "$box" Return
  fi
  if ! wait_for_window "ZARVEN Controls" 30 >/dev/null; then
    echo "the panel did not show"
    wineserver -k
    return
  fi
  sleep 1  # Wine may replace the panel's X window while it first paints
  window=$(wait_for_window "ZARVEN Controls" 5)
  if [[ $keys == click-yaw-down* ]]; then
    click_yaw_down_arrow "$window" 22 3  # Wine draws the caption itself: 22 above, 3 below
    keys=${keys#click-yaw-down }
  fi
  # shellcheck disable=SC2086
  keys_to "$window" $keys
  program_ended 10 && ended=1
  if [ "$ended" = 0 ]; then
    wineserver -k
    program_ended 5
  fi
  outcome "$profile" "$ended"
}

# Under load Wine now and then fails to bring a window up at all; that says nothing about the
# keyboard, so such a run is tried once more (and said so) before it counts.
wine_run() {
  local result
  result=$(wine_attempt "$@")
  if [ "$result" = "the panel did not show" ]; then
    log "Wine did not show the panel; trying that run once more" >&2
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    result=$(wine_attempt "$@")
  fi
  echo "$result"
}

export WINEPREFIX="$work/wine" WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # nothing offers to download Mono or Gecko
log "preparing the Wine prefix"
timeout 180 wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
wineserver -w
cp "$exe" "$WINEPREFIX/drive_c/zarven-controls.exe"

start_state="StereoMode=0 PowerSaver=0 YawSensitivity=1023 PitchSensitivity=341 RollSensitivity=341"
passed=0
failed=0
number=0
for case in "${cases[@]}"; do
  number=$((number + 1))
  name=${case%%|*}
  keys=${case#*|}
  qt=$(qt_run "$number" "$keys")
  native=$(wine_run "$keys")
  problem=""
  if [ "$qt" != "$native" ]; then
    problem="Qt: $qt | Wine: $native"
  elif [ "$number" = 1 ] && [ "$qt" != "$start_state" ]; then
    problem="both start from $qt, not $start_state"
  elif [[ $qt == *Sensitivity* ]]; then
    problem=$(record_matches_profile "$work/qt$number/zarven-controls" 2>&1)
  fi
  if [ -z "$problem" ]; then
    passed=$((passed + 1))
    log "PASS $name ($keys): $qt"
  else
    failed=$((failed + 1))
    log "FAIL $name ($keys): $problem"
  fi
done

echo "keyboard differential: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
