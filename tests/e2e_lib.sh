# SPDX-License-Identifier: MIT
# What the end-to-end tests share: skipping where a tool is missing, polling with a time
# limit, failing with the logs, an X server of their own, and the editor, Linux's or
# Windows' under Wine. `work` is the test's scratch folder, `editor` the program;
# `wait_seconds` (10 unless set) bounds each wait.

# require WHAT TOOL...: skips the test (exit 77) when a tool is not installed.
require() {
    local what="$1" tool
    shift
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null; then
            echo "######## SKIPPED: $tool is not installed; $what did not run ########"
            exit 77
        fi
    done
}

# fail MESSAGE: says what went wrong, with the end of every log in $work.
fail() {
    local log
    echo "FAIL: $*" >&2
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- ${log##*/}" && tail -n 20 "$log"; } >&2
    done
    exit 1
}

# wait_for WHAT COMMAND...: polls COMMAND until it succeeds, or fails the test with WHAT.
wait_for() {
    local what="$1"
    shift
    for _ in $(seq $((${wait_seconds:-10} * 10))); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "$what"
}

window_named() { xdotool search --onlyvisible --name "$1" | head -n 1; }
no_window_named() { [ -z "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ]; }

# start_xvfb: an X server on a display that it picks itself, so that parallel runs and
# stale locks cannot collide; sets DISPLAY and xvfb_pid. Without -noreset the server
# resets when its last client leaves, and drops a client that connects meanwhile: the
# editor, started right after the readiness probe, failed so in 3 of 40 starts.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
        >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    wait_for "Xvfb chose no display" test -s "$work/display"
    export DISPLAY=":$(head -n 1 "$work/display")"
    unset QT_QPA_PLATFORM QT_SCALE_FACTOR
    wait_for "Xvfb did not start" xdotool getdisplaygeometry
}

# stop_xvfb: ends the X server and waits until it has gone, so that no test leaves one
# behind or still shutting down while the next starts.
stop_xvfb() {
    [ -n "${xvfb_pid:-}" ] || return 0
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    return 0
}

# require_screen_reader WHAT: skips the test unless an accessibility bus and the
# distribution's Python AT-SPI client are there; puts the distribution's Python first.
require_screen_reader() {
    export PATH="/usr/bin:/bin:$PATH"
    require "$1" Xvfb xdotool dbus-run-session gdbus /usr/libexec/at-spi-bus-launcher
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || require "$1" pyatspi
}

# run_accessible_editor ARG...: in the test's D-Bus session, starts the accessibility bus,
# then the editor on it (it joins the bus only if the bus is there first); sets editor_pid.
run_accessible_editor() {
    gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
        --method org.a11y.Bus.GetAddress >"$work/a11y-bus.log" 2>&1 || fail "no accessibility bus"
    (cd "$work" && QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 exec "$EDITOR_BINARY" "$@") \
        >"$work/editor.log" 2>&1 &
    editor_pid=$!
}

# screen_reader SCRIPT ARG...: runs a Python AT-SPI client, which may import e2e_atspi.
screen_reader() {
    PYTHONPATH="$(dirname "$E2E_LIB")" /usr/bin/python3 "$@"
}

# start_editor_test: the scratch folder `work`, removed at exit with the editor and the X
# server that the test started.
start_editor_test() {
    work=$(mktemp -d)
    trap 'kill "${editor_pid:-}" 2>/dev/null; stop_xvfb; rm -rf "$work"' EXIT
}

# start_bus_test: for a test that runs in a D-Bus session of its own. Makes the scratch
# folder `work` (removed at exit), the home of the services that the session starts, and an
# X server; exports what the session's script needs: WORK, EDITOR_BINARY and E2E_LIB.
start_bus_test() {
    work=$(mktemp -d)
    trap 'stop_xvfb; rm -rf "$work"' EXIT
    export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
    mkdir -p "$XDG_CONFIG_HOME"
    start_xvfb
    export WORK="$work" EDITOR_BINARY="$editor" E2E_LIB="$(realpath "${BASH_SOURCE[0]}")"
}

# run_editor ARG...: starts the editor in $work; sets editor_pid.
run_editor() {
    case "$editor" in
    *.exe) (cd "$work" && exec wine "$editor" "$@") ;;
    *) (cd "$work" && exec "$editor" "$@") ;;
    esac >"$work/editor.log" 2>&1 &
    editor_pid=$!
}

# native_path PATH: the path as the editor's file dialog takes it.
native_path() {
    case "$editor" in
    *.exe) winepath -w "$1" ;;
    *) echo "$1" ;;
    esac
}

# paste TEXT: puts TEXT on the clipboard and pastes it where the focus is; for text that
# xdotool cannot type into a Windows program, such as Japanese.
paste() {
    printf '%s' "$1" | xclip -selection clipboard
    wait_for "the clipboard did not take '$1'" clipboard_is "$1"
    xdotool key ctrl+v
}
clipboard_is() { [ "$(xclip -o -selection clipboard)" = "$1" ]; }

# client_origin WINDOW WIDTH HEIGHT: prints where a client area of WIDTH × HEIGHT (at scale
# 1) starts in WINDOW, as "LEFT TOP": below a menu bar, whose height depends on the font,
# and inside a frame where the window holds one (Wine's, with a window manager).
client_origin() {
    local geometry left
    geometry=$(xdotool getwindowgeometry --shell "$1")
    left=$((($(sed -n 's/^WIDTH=//p' <<<"$geometry") - $2) / 2))
    echo "$left $(($(sed -n 's/^HEIGHT=//p' <<<"$geometry") - $3 - left))"
}

# find_main_window: waits for the editor's window; sets `main`, and `left` and `top`, where
# its designed client area starts.
find_main_window() {
    wait_for "the editor window did not appear" window_named "Glimra"
    main=$(window_named "Glimra")
    read -r left top < <(client_origin "$main" 554 174)
}

# quit_editor: ends the editor as its user does, with File → 終了, and checks that it ended
# by itself with status 0 (a coverage build writes its counts only then).
quit_editor() {
    local status
    file_menu_item 4
    wait_for "the editor did not end" editor_ended
    wait "$editor_pid"
    status=$?
    [ "$status" = 0 ] || fail "the editor ended with status $status"
}
visible_windows() { xdotool search --onlyvisible --name '.*' 2>/dev/null | wc -l; }
more_visible_windows_than() { [ "$(visible_windows)" -gt "$1" ]; }
editor_ended() { ! kill -0 "$editor_pid" 2>/dev/null; }

# click X Y: a click at (X, Y) of the designed client area.
click() { xdotool mousemove --window "$main" $(($1 + left)) $(($2 + top)) click 1; }

# Where ImageMagick's own convert is (a stand-in of the same name may come first on PATH).
convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert

# has_bytes FILE BYTES: whether FILE holds exactly BYTES (printf escapes).
has_bytes() { [ -f "$1" ] && [ "$(od -An -c "$1")" = "$(printf '%b' "$2" | od -An -c)" ]; }

# entry_shown: whether the list shows its first entry: the row, white in an empty list and
# black in a window not yet painted, holds text. Clicks sent when a dialog has only just
# gone can reach the window before the file is read.
entry_shown() {
    local mean
    mean=$(xwd -silent -id "$main" |
        "$convert" xwd:- -crop "120x1+$((270 + left))+$((7 + top))" -format '%[fx:mean]' info:) ||
        return 1
    awk -v mean="$mean" 'BEGIN { exit !(mean > 0.2 && mean < 0.95) }'
}

# file_menu_item N: chooses the Nth item of the File menu (4 is 終了).
file_menu_item() {
    local windows
    windows=$(visible_windows)
    xdotool mousemove --window "$main" $((left + 20)) $((top / 2)) click 1
    wait_for "the File menu did not open" more_visible_windows_than "$windows"
    xdotool key $(printf 'Down %.0s' $(seq "$1")) Return
}
