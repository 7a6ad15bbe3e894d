#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real editor's own keys and strokes, with real key presses and a real mouse: a stroke
# down a column that Ctrl+Z takes back whole, Alt+Right with the focus in a code field, Alt+H
# in the name field, Ctrl+V of a C initialiser that xclip put on the clipboard with the focus
# in the list, Ctrl+C where no text is selected, which shows each glyph, and F10 into the
# menus.
# Usage: e2e_keys.sh path/to/glimra-editor
set -uo pipefail
editor="$1"
source "$(dirname "$0")/e2e_lib.sh"
require "the keys test" Xvfb xdotool xclip
start_editor_test
copied() {
    xdotool key ctrl+c
    wait_for "the clipboard holds '$(xclip -o -selection clipboard 2>&1)', not '$1'" clipboard_is "$1"
}

start_xvfb
run_editor
find_main_window
xdotool windowfocus "$main"
# Pressed on dot11, held down column 1, off the grid to the left and back in at dot31.
at() { echo mousemove --window "$main" $(($1 + left)) $(($2 + top)); }
xdotool $(at 16 40) mousedown 1
for y in 56 72 88 104 120 136; do xdotool $(at 16 $y); done
xdotool $(at 2 136)
xdotool $(at 48 40) mouseup 1
copied "7F 00 01 00 00    "
xdotool key ctrl+z
copied "00 00 00 00 00    "
click 16 40   # dot11
click 194 136 # data_c, its code selected by the focus
xdotool key alt+Right
copied "00 01 00 00 00    "
click 180 113 # data_name
xdotool type --delay 50 "Q"
xdotool key alt+h
copied "00 00 00 01 00    Q"
printf '{0x7F, 0x08, 0x08, 0x08, 0x7F};' | xclip -selection clipboard
wait_for "the clipboard did not take the line" clipboard_is "{0x7F, 0x08, 0x08, 0x08, 0x7F};"
click 330 100 # data_list, empty
xdotool key ctrl+v
copied "7F 08 08 08 7F    "
# F10 takes the keyboard to the menus, as Alt does: 編集, then its copy item.
printf 'nothing yet' | xclip -selection clipboard
wait_for "the clipboard was not emptied" clipboard_is "nothing yet"
xdotool key --delay 100 F10 Right Right Down Return
wait_for "F10 did not reach the menus: the clipboard holds '$(xclip -o -selection clipboard 2>&1)'" \
    clipboard_is "7F 08 08 08 7F    "
quit_editor
echo "keys test passed"
