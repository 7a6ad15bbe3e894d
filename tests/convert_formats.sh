#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The converter as a user runs it, on Linux and under Wine: the sample list through every
# format it writes and back, byte for byte, and X11's 5 x 7 font read where it is installed;
# on Linux, the README's make rule builds a program with the header it makes.
# Usage: convert_formats.sh path/to/glimra-convert[.exe] SAMPLE.glm
set -uo pipefail
converter="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$2" "$work/sample.glm"
cd "$work"
failed=0
convert() {
    case "$converter" in
    *.exe) wine "$converter" "$@" ;;
    *) "$converter" "$@" ;;
    esac
}
for target in c.h:columns r.h:rows p.py:columns q.py:rows f.bdf:columns s.png:columns; do
    file="${target%%:*}" layout="${target##*:}"
    if ! convert --layout="$layout" sample.glm "$file" || ! convert --layout="$layout" "$file" back.glm ||
        ! cmp -s back.glm sample.glm; then
        echo "FAIL: sample.glm through $file ($layout) and back" >&2
        failed=1
    fi
    rm -f back.glm
done
x11=/usr/share/fonts/X11/misc/5x7.pcf.gz
if [ -f "$x11" ]; then
    cp "$x11" 5x7.pcf.gz
    if ! convert --crop 5x7.pcf.gz x11.glm || ! grep -q '^3E,09,09,3E,00,"A"' x11.glm; then
        echo "FAIL: X11's 5 x 7 font was not read" >&2
        failed=1
    fi
fi
if [[ "$converter" != *.exe ]] && command -v make >/dev/null && command -v cc >/dev/null; then
    cp sample.glm glyphs.glm
    printf '%s\n' '#include <stdio.h>' '#include "glyphs.h"' \
        'int main(void) { printf("%u %02X\n", (unsigned)GLIMRA_GLYPHS_COUNT, glyphs[10][0]); return 0; }' \
        >main.c
    printf 'glyphs.h: glyphs.glm\n\tglimra-convert $< $@\nmain.o: main.c glyphs.h\nmain: main.o\n' \
        >Makefile
    if ! PATH="$(dirname "$converter"):$PATH" make -s main >make.log 2>&1 || [ "$(./main)" != "36 7E" ]; then
        echo "FAIL: the README's make rule did not build a program with the header" >&2
        cat make.log >&2
        failed=1
    fi
fi
exit $failed
