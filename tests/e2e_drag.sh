#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Real drags from another program onto the real editor, on its own X server: text longer
# than the name field takes lands cut to fit, as does a middle-click paste; a glyph file
# dropped on the window opens, and two files at once are refused with a status text.
# Usage: e2e_drag.sh path/to/glimra-editor path/to/dragsource
set -uo pipefail
editor=$(realpath "$1")
source_program=$(realpath "$2")
source "$(dirname "$0")/e2e_lib.sh"
require "the drag test" Xvfb xdotool xclip xwd convert
work=$(mktemp -d)
cleanup() {
    kill "${source_pid:-}" "${editor_pid:-}" 2>/dev/null
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

start_xvfb
run_editor
find_main_window
# Whether the status bar, along the bottom of the client area, shows any text.
status_shown() {
    xwd -silent -id "$main" | convert xwd:- -crop 300x14+2+$((158 + top)) -threshold 50% \
        -format '%[fx:mean]' info: | grep -qv '^1$'
}
primary_is() { [ "$(xclip -o -selection primary)" = "$1" ]; }
source_gone() { ! kill -0 "$source_pid" 2>/dev/null; }

# Drags with the pointer from a source window at 700,500 to (x, y) of the client area, at a
# hand's pace. The drop is asynchronous between the two programs, and a release that comes
# before the target has answered drops nothing, so each step below drags again until its
# result shows: every drop here gives the same result when repeated.
drag() {
    local x="$1" y="$2"
    shift 2
    "$source_program" "$@" >>"$work/source.log" 2>&1 &
    source_pid=$!
    wait_for "the drag source did not appear" window_named "dragsource"
    local source_window gx gy
    source_window=$(window_named "dragsource")
    xdotool windowmove --sync "$source_window" 700 500
    eval "$(xdotool getwindowgeometry --shell "$main" | sed -n 's/^X=/gx=/p; s/^Y=/gy=/p')"
    xdotool mousemove --sync 750 540 mousedown 1
    sleep 0.3
    for step in 1 2 3 4 5 6 7 8 9 10; do
        sleep 0.1
        xdotool mousemove --sync $((750 + (gx + x - 750) * step / 10)) \
            $((540 + (gy + y + top - 540) * step / 10))
    done
    sleep 0.3
    xdotool mouseup 1
}
# drag_until WHAT CHECK X Y SOURCE-ARGUMENTS...: drags, up to five times, until CHECK holds.
drag_until() {
    local what="$1" check="$2" x="$3" y="$4"
    shift 4
    for _ in 1 2 3 4 5; do
        drag "$x" "$y" "$@"
        for _ in $(seq 20); do
            "$check" >/dev/null 2>&1 && break
            sleep 0.1
        done
        # The source must live until the target has fetched what was dropped.
        kill "$source_pid"
        wait_for "the drag source did not close" source_gone
        "$check" >/dev/null 2>&1 && return 0
    done
    fail "$what"
}

# Twenty-six letters dropped on data_name: the seventeen that fit land.
name_copied() {
    click 89 13 # icon_copy
    clipboard_is "00 00 00 00 00    ABCDEFGHIJKLMNOPQ"
}
drag_until "the dropped text did not land cut to fit: '$(xclip -o -selection clipboard 2>&1)'" \
    name_copied 180 113 text "ABCDEFGHIJKLMNOPQRSTUVWXYZ"

# A middle click pastes the primary selection, cut to fit as well, into the emptied name.
click 180 113 # data_name
xdotool key ctrl+a BackSpace
printf '%s' "abcdefghijklmnopqrstuvwxyz" | xclip -selection primary
wait_for "the primary selection did not take the text" primary_is "abcdefghijklmnopqrstuvwxyz"
xdotool mousemove --window "$main" $((180 + left)) $((113 + top)) click 2
middle_pasted() {
    click 89 13 # icon_copy
    clipboard_is "00 00 00 00 00    abcdefghijklmnopq"
}
wait_for "the middle click did not paste the selection cut to fit" middle_pasted

# A glyph file dropped on the list opens: its entry reads back and copies.
printf '7F,08,08,08,7F,"H"\r\n' >"$work/drop.glm"
entry_copied() {
    click 330 7  # the first entry of data_list
    click 220 88 # data_read
    click 89 13  # icon_copy
    clipboard_is "7F 08 08 08 7F    H"
}
drag_until "the dropped file did not open" entry_copied 330 60 files "$work/drop.glm"

# Two files at once: a click on the window's background empties the status text first.
click 140 50
status_empty() { ! status_shown; }
wait_for "the status text was not cleared" status_empty
drag_until "two dropped files gave no status text" status_shown 330 60 files "$work/drop.glm" \
    "$work/drop.glm"
echo "drag road passed"
