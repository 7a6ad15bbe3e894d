#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real editor saves through a file's second name and through a link to a file not made
# yet: the file's other name sees the new glyphs, and the link stays a link.
# Usage: e2e_links.sh path/to/glimra-editor
set -uo pipefail
editor="$1"
source "$(dirname "$0")/e2e_lib.sh"
require "the links test" Xvfb xdotool xclip xwd
start_editor_test
inode() { stat -c '%i %h' "$1"; }

printf '41,00,00,00,00,"A"\r\n' >"$work/a.glm"
ln "$work/a.glm" "$work/b.glm"
ln -s made.glm "$work/link.glm"
both='41,00,00,00,00,"A"\r\n01,00,00,00,00,"B"\r\n'

start_xvfb
run_editor "$work/b.glm"
find_main_window
xdotool windowfocus "$main"
wait_for "the file given at start is not shown" entry_shown
click 16 40   # dot11
click 180 113 # data_name
xdotool type --delay 50 "B"
click 220 40 # data_add

# The toolbar Save writes to the file opened at start without asking.
before=$(inode "$work/a.glm")
click 65 13
wait_for "the second name does not see the save: $(od -c "$work/a.glm")" has_bytes "$work/a.glm" "$both"
[ "$(inode "$work/a.glm")" = "$before" ] || fail "the two names are one file no more"
[ "$(inode "$work/b.glm")" = "$before" ] || fail "the name saved through is another file now"

# Save with a name, to the link: the file it points to is made.
file_menu_item 3
wait_for "the save dialog did not open" window_named "名前をつけてファイルに保存"
xdotool windowfocus "$(window_named "名前をつけてファイルに保存")"
paste "$work/link.glm"
xdotool key Return
wait_for "the save dialog did not close" no_window_named "名前をつけてファイルに保存"
wait_for "the linked file was not made: $(ls -l "$work")" has_bytes "$work/made.glm" "$both"
[ -L "$work/link.glm" ] || fail "the link became a file"
quit_editor
echo "links test passed"
