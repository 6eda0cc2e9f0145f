#!/usr/bin/env bash
# The keyboard against the dialog manager: each key sequence goes to the Qt program (build/) and
# to the Windows program under Wine. The profile's [ZARVEN] entries and whether the panel closed
# must match, and the Qt program's record must hold the profile's ranges. Wine has no tracker:
# both start at 1023/341/341, options off (the first case checks).
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
name="keyboard differential"
qt_program=$root/build/app/zarven-controls
# shellcheck source-path=SCRIPTDIR source=wine_lib.sh
source "$root/tests/win32/wine_lib.sh"
[ -f "$qt_program" ] || { log "$qt_program is not built" && exit 1; }
install_missing

# "name|keys" sent once the panel has the focus (on OK); "click-yaw-down" clicks the yaw bar first.
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
  "Alt+Down on OK keeps the focus there|alt+Down Down Return"
  "Right on Set Zero reaches the yaw bar, Alt+arrows do not scroll it|Tab Tab Tab Tab Right alt+Down alt+Right Down Return"
  "Shift+arrows move as the arrows do, to the bar and on it|Tab Tab Tab Tab shift+Down shift+Down shift+Up shift+Down Return"
  "Shift+Tab on OK reaches the last readout, Ctrl+F4 closes nothing, Alt+Down on the box moves nothing, Ctrl+Down does|shift+Tab ctrl+F4 Down Tab Up alt+Down ctrl+Down space"
)

# press TOP BOTTOM KEYS...: sends the keys to $panel, framed TOP and BOTTOM pixels.
press() {
  [ "$3" != click-yaw-down ] || { click_yaw_down "$1" "$2" && set -- "$1" "$2" "${@:4}"; }
  keys_to "$panel" "${@:3}"
}

# The profile's entries on one line (or "no profile"), "; left open" if the panel did not close.
outcome() {
  local text="no profile" open=""
  wait_end 10 || { stop_program; open="; left open"; }
  [ -f "$1" ] && text=$(tr -d '\r' <"$1" | grep -E '^[A-Za-z]+=' | tr '\n' ' ')
  echo "${text% }$open"
}

# The Qt program's record against its profile: each axis from position p holds min (2047 - p) / 2,
# max (p + 2047) / 2 and centre 1024.
record_matches_profile() {
  python3 - "$1/system.reg" "$1/windows/zarven-controls.INI" <<'PYTHON'
import re, struct, sys
registry, profile = (open(path, encoding="latin-1").read() for path in sys.argv[1:])
value = re.search(r'"Joystick1Configuration"=hex:((?:[0-9a-f,]|\\\n\s*)+)', registry)[1]
fields = struct.unpack_from("<18I", bytes.fromhex(re.sub(r"[,\\\s]", "", value)), 12)
keys = dict(re.findall(r"^(\w+)=(-?\d+)", profile, re.M))
for axis, key in enumerate(("YawSensitivity", "PitchSensitivity", "RollSensitivity")):
    p = int(keys[key])  # fields: jpMin, jpMax, jpCenter, each for X Y Z R U V
    if fields[axis::6] != ((2047 - p) // 2, (p + 2047) // 2, 1024):
        sys.exit(f"{key}={p}: record holds min/max/centre {fields[axis::6]}")
PYTHON
}

qt_run() {
  mkdir -p "$work/qt$1"
  XDG_DATA_HOME=$work/qt$1 "$qt_program" 2>"$work/qt$1/stderr" &
  program_pid=$!
  panel=$(wait_for_window "ZARVEN Controls" 30) ||
    { stop_program; echo "the panel did not show: $(head -c 300 "$work/qt$1/stderr")"; return; }
  sleep 0.5
  xdotool windowfocus --sync "$panel"
  press 0 0 "${@:2}"
  outcome "$work/qt$1/zarven-controls/windows/zarven-controls.INI"
}

# Under load Wine now and then shows no window at all: such a run is tried once more.
wine_run() {
  rm -f "$profile"
  start_exe
  open_panel || { stop_program; log "Wine did not show the panel; once more" >&2; start_exe
    open_panel; } || { stop_program; echo "the panel did not show"; return; }
  press 22 3 "$@"
  outcome "$profile"
}

start_wine
start_state="StereoMode=0 PowerSaver=0 YawSensitivity=1023 PitchSensitivity=341 RollSensitivity=341"
for number in "${!cases[@]}"; do
  read -r -a keys <<<"${cases[number]#*|}"
  qt=$(qt_run "$number" "${keys[@]}")
  native=$(wine_run "${keys[@]}")
  what="${cases[number]%%|*} (${keys[*]})"
  if [ "$qt" != "$native" ]; then
    verdict "$what" "Qt: $qt | Wine: $native"
  elif [ "$number" = 0 ] && [ "$qt" != "$start_state" ]; then
    verdict "$what" "both start from $qt, not $start_state"
  elif [[ $qt == *Sensitivity* ]] &&
    ! problem=$(record_matches_profile "$work/qt$number/zarven-controls" 2>&1); then
    verdict "$what" "$problem"
  else
    verdict "$what: $qt"
  fi
done
summary
