#!/usr/bin/env bash
# Pictures of the main tabs for the README, made by Korvane itself offscreen on a fresh
# Virtual SP (its factory bank), with settings and memory of their own so nothing of the
# user's is read or changed: docs/screenshots/tab-<name>.png.
set -euo pipefail
cd "$(dirname "$0")/.."
exe=build/src/korvane
[ -x "$exe" ] || scripts/build.sh
out="$PWD/docs/screenshots"
mkdir -p "$out"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
# Opened where and as large as a user might have left it, so each tab shows whole.
mkdir -p "$scratch/config/Talvern Systems"
cat > "$scratch/config/Talvern Systems/Korvane.conf" <<'CONF'
[Application]
Window%20Left=20
Window%20Top=40
Window%20Width=980
Window%20Height=800
CONF
for tab in Preset1 Map Tone1 Wave Global; do
  name="$(echo "$tab" | tr '[:upper:]' '[:lower:]')"
  HOME="$scratch" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" \
    QT_QPA_PLATFORM="offscreen:configfile=$PWD/scripts/screenshots-screen.json" \
    "$exe" --tab "$tab" --screenshot "$out/tab-$name.png" 2>/dev/null
done
