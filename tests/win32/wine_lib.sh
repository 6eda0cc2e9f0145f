# shellcheck shell=bash disable=SC2034,SC2154 # variables shared with the sourcing test
# Sourced by the Wine tests (after $root and $name): a display, a throw-away prefix holding
# C:\zarven-controls.exe, the program's start and end, PASS/FAIL counting.
# shellcheck source-path=SCRIPTDIR/../.. source=scripts/xvfb.sh
source "$root/scripts/xvfb.sh"
exe=$root/build-win32/app/zarven-controls.exe
program_pid="" panel="" notice_seen=0 passed=0 failed=0

log() { echo "$name: $*"; }

# Installs Wine and the X tools (ImageMagick for a $screenshot), and builds the .exe, if missing.
install_missing() {
  local needed=() tool
  for tool in wine Xvfb/xvfb xauth xdotool ${screenshot:+import/imagemagick}; do
    command -v "${tool%/*}" >/dev/null || needed+=("${tool#*/}")
  done
  for tool in wine32:i386 fonts-wine; do dpkg -s "$tool" >/dev/null 2>&1 || needed+=("$tool"); done
  [ ${#needed[@]} -eq 0 ] || { log "installing ${needed[*]}" && dpkg --add-architecture i386 &&
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    --no-install-recommends "${needed[@]}"; } || exit 1
  [ -f "$exe" ] || "$root/scripts/build-windows.sh" || exit 1
}

# Starts the display and makes the prefix; both go at exit, with a program left running.
start_wine() {
  work=$(mktemp -d)
  export WINEPREFIX=$work/wine WINEARCH=win32 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=" # nothing offers to download Mono or Gecko
  trap 'stop_program; wineserver -k 2>/dev/null; stop_xvfb; rm -rf "$work"' EXIT
  start_xvfb || exit 1
  log "preparing the Wine prefix"
  timeout 180 wineboot -i >/dev/null 2>&1
  # Without a window manager Wine draws the captions itself: 22 pixels above the client, 3 below.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  wineserver -w
  cp "$exe" "$WINEPREFIX/drive_c/zarven-controls.exe"
  profile=$WINEPREFIX/drive_c/windows/zarven-controls.INI
}

start_exe() {
  (cd "$WINEPREFIX/drive_c" && exec wine 'C:\zarven-controls.exe' >/dev/null 2>&1) &
  program_pid=$!
}

# within SECONDS COMMAND...: tries COMMAND every quarter second until it succeeds.
within() {
  local i
  for ((i = 0; i < $1 * 4; i++)); do "${@:2}" && return 0; sleep 0.25; done
  return 1
}

ended() { ! kill -0 "$program_pid" 2>/dev/null; }
visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
gone() { [ -z "$(visible "$1")" ]; }

# Waits up to $1 seconds for the program to end; its exit status goes to $program_status.
wait_end() {
  within "$1" ended || return 1
  wait "$program_pid"
  program_status=$? program_pid=""
}

ended_cleanly() { wait_end "$1" && [ "$program_status" -eq 0 ]; }

# Ends the program if it still runs, and with it Wine.
stop_program() {
  [ -n "$program_pid" ] || return 0
  kill "$program_pid" 2>/dev/null
  wineserver -k 2>/dev/null && wineserver -w
  wait_end 5
}

# Answers discovery's boxes (any may come) with Return until the panel shows; sets $panel.
open_panel() {
  within 60 panel_or_box || return 1
  sleep 1 # Wine may replace the panel's X window while it first paints
  panel=$(wait_for_window "ZARVEN Controls" 5)
}

panel_or_box() {
  local box id
  gone "ZARVEN Controls" || return 0
  for box in "NO Tracker" "Select HMD to configure" "Error"; do
    id=$(visible "$box")
    [ -n "$id" ] || continue
    [ "$box" != "NO Tracker" ] || notice_seen=1
    sleep 0.5
    keys_to "$id" Return
    # One Return a box (a second would press OK); one still there had not taken input yet.
    within 5 gone "$box"
  done
  return 1
}

# click_yaw_down TOP BOTTOM: clicks the yaw bar's down arrow (x 137..147 of the panel's 210
# dialog units, its bottom at 96 of 175) in $panel, framed TOP and BOTTOM pixels.
click_yaw_down() {
  eval "$(xdotool getwindowgeometry --shell "$panel")"
  xdotool mousemove $((X + WIDTH * 142 / 210)) $((Y + $1 + (HEIGHT - $1 - $2) * 91 / 175)) click 1
  sleep 0.5
}

# verdict NAME [PROBLEM]: a PASS, or a FAIL that names the problem.
verdict() {
  if [ -z "${2:-}" ]; then log "PASS $1" && ((++passed)); else log "FAIL $1: $2" && ((++failed)); fi
}

# check NAME COMMAND...: a PASS when COMMAND succeeds; its output is dropped.
check() { if "${@:2}" >/dev/null 2>&1; then verdict "$1"; else verdict "$1" "${*:2}" && false; fi; }

summary() { log "$passed passed, $failed failed" && [ "$failed" -eq 0 ]; }
