#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real editor on a real X server, along its typical road: click dots, type a code and
# a name, Add, save through the file dialog, start a new file, open the saved one, read
# the glyph back and copy it. Checks the saved bytes, the dots on screen and the clipboard.
# Japanese goes in through the clipboard, as xdotool cannot type it into a Windows program.
# Usage: e2e_typical_road.sh path/to/glimra-editor[.exe]   (an .exe runs under Wine)
set -uo pipefail
editor="$1"
source "$(dirname "$0")/e2e_lib.sh"
require "the end-to-end test" Xvfb xdotool xclip xwd
work=$(mktemp -d)
case "$editor" in *.exe) require "the end-to-end test under Wine" wine wineserver ;; esac
cleanup() {
    kill "${editor_pid:-}" 2>/dev/null
    case "$editor" in *.exe) wineserver -k 2>/dev/null ;; esac
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

start_xvfb
# Wine's clipboard lives in the session's desktop process: start a session on this display.
case "$editor" in *.exe) wineserver -k 2>/dev/null; wait_seconds=60 ;; esac
run_editor
find_main_window
wait_seconds=10
# The task bar groups the window with its menu entry by the window's class.
case "$editor" in
*.exe) ;;
*) xdotool search --class '^org\.example\.GlimraEditor$' >/dev/null ||
    fail "the window's class is not the menu entry's name" ;;
esac
xdotool windowfocus "$main"
dot() { click $((16 * $1)) $((24 + 16 * $2)); }

# Column 1: rows 1 and 7 by clicking; column 3: typed as 7f; a name; Add.
dot 1 1
dot 1 7
click 194 136 # data_c
xdotool type --delay 50 "7f"
click 180 113 # data_name
xdotool type --delay 50 "T"
paste "テスト"
click 220 40 # data_add

# Toolbar Save asks for a name the first time.
saved="$work/絵.glm"
click 65 13
wait_for "the save dialog did not open" window_named "名前をつけてファイルに保存"
xdotool windowfocus "$(window_named "名前をつけてファイルに保存")"
paste "$(native_path "$saved")"
xdotool key Return
wait_for "the save dialog did not close" no_window_named "名前をつけてファイルに保存"
wait_for "the saved bytes differ: $(od -c "$saved" 2>&1)" \
    has_bytes "$saved" '41,00,7f,00,00,"T\x83\x65\x83\x58\x83\x67"\r\n'

# New, "新規ファイルの作成", OK: an empty list and no current file.
click 17 13
wait_for "the new dialog did not open" window_named "新規作成"
new=$(window_named "新規作成")
read -r new_left new_top < <(client_origin "$new" 269 138)
xdotool mousemove --window "$new" $((80 + new_left)) $((80 + new_top)) click 1 # newfile
xdotool mousemove --window "$new" $((64 + new_left)) $((120 + new_top)) click 1 # OK
wait_for "the new dialog did not close" no_window_named "新規作成"

# Toolbar Open of the saved file, select its entry, Read, then copy.
click 41 13
wait_for "the open dialog did not open" window_named "ファイルを開く"
xdotool windowfocus "$(window_named "ファイルを開く")"
paste "$(native_path "$saved")"
xdotool key Return
wait_for "the open dialog did not close" no_window_named "ファイルを開く"
wait_for "the opened file's entry is not shown" entry_shown
click 330 7   # the first entry of data_list
click 220 88  # data_read
click 89 13   # icon_copy

wait_for "the clipboard holds '$(xclip -o -selection clipboard 2>&1)'" \
    clipboard_is "41 00 7F 00 00    Tテスト"

# The dots on screen: column 1 rows 1 and 7, the whole of column 3.
dots_shown() {
    xwd -silent -id "$main" | "$convert" xwd:- -depth 8 txt:- >"$work/screen.txt" || return 1
    local c r colour want
    for c in 1 2 3 4 5; do
        for r in 1 2 3 4 5 6 7; do
            want=white
            { [ "$c" = 3 ] || { [ "$c" = 1 ] && { [ "$r" = 1 ] || [ "$r" = 7 ]; }; }; } &&
                want=black
            colour=$(grep -m1 "^$((16 * c + left)),$((24 + 16 * r + top)):" "$work/screen.txt")
            case "$want:$colour" in
            black:*"#000000"*) ;;
            white:*"#FFFFFF"*) ;;
            *) echo "dot $c$r should be $want: $colour" >"$work/why" && return 1 ;;
            esac
        done
    done
}
wait_for "the grid does not show the glyph: $(cat "$work/why" 2>/dev/null)" dots_shown
case "$editor" in *.exe) ;; *) quit_editor ;; esac

# Started with the saved file, as a file manager starts it: its entry is there to read.
case "$editor" in
*.exe) ;;
*)
    printf 'nothing' | xclip -selection clipboard
    run_editor "$saved"
    find_main_window
    wait_for "the file given at start is not shown" entry_shown
    click 330 7  # the first entry of data_list
    click 220 88 # data_read
    click 89 13  # icon_copy
    wait_for "the file given at start did not open: '$(xclip -o -selection clipboard 2>&1)'" \
        clipboard_is "41 00 7F 00 00    Tテスト"
    quit_editor
    ;;
esac
echo "end-to-end road passed"
