#!/usr/bin/env bash
# Sets up, builds and starts Korvane. Without a MIDI interface it runs on the built-in
# Virtual SP. Without a display it starts under a virtual one and saves a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/korvane "$@"
fi
shot="$PWD/korvane-main-window.png"
echo "No display: starting Korvane under a virtual display."
xvfb-run -a -s "-screen 0 1280x1024x24" build/src/korvane --screenshot "$shot" "$@"
