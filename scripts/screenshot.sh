#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the editor under Xvfb and writes a PNG of its main window.
# Usage: scripts/screenshot.sh [output.png] [xdotool commands to run first ...]
# GLIMRA_EDITOR names another binary to start, e.g. an older build to compare with.
# In the commands, WINDOW stands for the editor's window, e.g.
#   scripts/screenshot.sh out.png "mousemove --window WINDOW 16 60 click 1"
set -euo pipefail
cd "$(dirname "$0")/.."
output="${1:-docs/main-window.png}"
shift || true
scripts/setup.sh xvfb xdotool x11-apps imagemagick
scripts/build.sh >/dev/null

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1600x1000x24 -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$editor" "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY="$display"
sleep 1
"${GLIMRA_EDITOR:-build/src/glimra-editor}" &
editor=$!
window=""
for _ in $(seq 50); do
    window=$(xdotool search --onlyvisible --name "Glimra" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.2
done
[ -n "$window" ] || { echo "the editor window did not appear" >&2; exit 1; }
sleep 0.5
for step in "$@"; do
    # shellcheck disable=SC2086
    xdotool ${step//WINDOW/$window}
    sleep 0.3
done
mkdir -p "$(dirname "$output")"
xwd -silent -id "$window" | convert xwd:- "$output"
echo "$output"
