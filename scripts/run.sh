#!/usr/bin/env bash
# Installs what is missing, builds, and starts the control panel on the emulated joystick
# machine (its files live in ${XDG_DATA_HOME:-~/.local/share}/zarven-controls/).
#   scripts/run.sh                      show the panel on the current display
#   scripts/run.sh --screenshot FILE    show it on a virtual display, save a PNG, close it
# Without a display, the panel is shown on a virtual display and a screenshot is saved to
# zarven-controls.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

screenshot=""
if [ "${1:-}" = "--screenshot" ]; then
  screenshot=${2:?"--screenshot needs a file name"}
fi

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target zarven-controls
program="$root/build/app/zarven-controls"

if [ -z "$screenshot" ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: there is no display (DISPLAY is not set), so the panel cannot open a window here." >&2
  echo "run: showing it on a virtual display instead and saving a screenshot to zarven-controls.png." >&2
  screenshot=zarven-controls.png
fi

if [ -z "$screenshot" ]; then
  exec "$program"
fi

exec "$root/scripts/screenshot.sh" "$screenshot" "$program"
