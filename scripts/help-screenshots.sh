#!/usr/bin/env bash
# Makes the pictures of the help pages with the program itself, off screen, on the built-in
# Virtual SP: one per tab from `korvane --tab NAME --screenshot FILE`, and the dialogs from the
# help test's grabs. Writes the PNGs into src/app/help; rebuild afterwards to ship them.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
help="$PWD/src/app/help"
export QT_QPA_PLATFORM=offscreen
cmake --build "$build" -j2 --target korvane app_help_tests
for tab in Preset1 Preset2 Map Tone1 Tone2 Tone3 Wave Global; do
  "$build/src/korvane" --tab "$tab" --screenshot "$help/tab-$tab.png" --quit-when-shown
done
KORVANE_HELP_PICTURES="$help" "$build/tests/app_help_tests" dialogsCanBeGrabbedForTheHelp
ls -l "$help"/*.png
