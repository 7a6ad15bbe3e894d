#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Undo and redo on the real editor with real keys, the focus in each kind of control: the
# list after a Delete, which selects the entry again, a code field after a typed code, the
# name field after typing taken back, a button after an Add, the name field for a redo. Checks the bytes that the toolbar Save then writes.
# Usage: e2e_history.sh path/to/glimra-editor
set -uo pipefail
editor="$1"
source "$(dirname "$0")/e2e_lib.sh"
require "the history test" Xvfb xdotool xwd
start_editor_test

printf '41,00,00,00,00,"A"\r\n42,00,00,00,00,"B"\r\n43,00,00,00,00,"C"\r\n' >"$work/h.glm"
start_xvfb
run_editor "$work/h.glm"
find_main_window
xdotool windowfocus "$main"
wait_for "the file given at start is not shown" entry_shown

# Delete the second entry; Ctrl+Z in the list, which Delete gave the focus, brings it back
# selected, so that a second Delete takes it away again.
click 330 7 # the first entry of data_list
xdotool key Down
click 220 64 # data_delete
xdotool key ctrl+z
click 220 64 # data_delete
# A code typed into data_c moves the focus to data_d; Ctrl+Z there takes the code back.
click 194 136 # data_c
xdotool type --delay 50 "7f"
xdotool key ctrl+z
# A dot, then "a" typed into the name and taken back: Ctrl+Z takes back the dot.
click 16 56   # dot12
click 180 113 # data_name
xdotool type --delay 50 "a"
xdotool key BackSpace ctrl+z
# Add a glyph; Ctrl+Z on the button takes the Add back, Ctrl+Y in the name field redoes it.
click 16 40   # dot11
click 180 113 # data_name
xdotool type --delay 50 "X"
click 220 40 # data_add
xdotool key ctrl+z
click 180 113 # data_name
xdotool key ctrl+y
click 65 13 # icon_save: the file opened at start, without asking
wait_for "the saved bytes differ: $(od -c "$work/h.glm" | head -n 8)" has_bytes "$work/h.glm" \
    '41,00,00,00,00,"A"\r\n43,00,00,00,00,"C"\r\n01,00,00,00,00,"X"\r\n'
quit_editor
echo "history test passed"
