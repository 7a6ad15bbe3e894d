#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Cross-builds for Windows (scripts/windows/build.sh) and runs the unit tests under Wine,
# in a Wine prefix of their own in build-windows/wine, on an X server of their own.
# Usage: scripts/windows/test.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
# The end-to-end tests under Wine drive the .exe and the installer on Xvfb.
scripts/setup.sh wine64 wine xvfb xdotool xclip x11-apps imagemagick fonts-ipafont-gothic >&2
scripts/windows/build.sh >&2
export WINEPREFIX="$PWD/build-windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>build-windows/display \
    >build-windows/xvfb.log 2>&1 &
xvfb_pid=$!
# Errors here must not become the script's: set -e holds in traps too.
trap 'wineserver -k 2>/dev/null || true; kill $xvfb_pid 2>/dev/null || true; wait $xvfb_pid 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    [ -s build-windows/display ] && break
    sleep 0.1
done
export DISPLAY=":$(head -n 1 build-windows/display)"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Making the Wine prefix" >&2
    wineboot --init
    # Qt asks for "MS Shell Dlg", which Wine would draw with a serif face without kana.
    for face in "MS Shell Dlg" "MS Shell Dlg 2"; do
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ \
            /d IPAPGothic /f >/dev/null
    done
    wineserver -w
fi
cd build-windows
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300
