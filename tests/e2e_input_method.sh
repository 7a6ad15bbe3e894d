#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real editor with a real Japanese input method (ibus with anthy, in hiragana mode) on
# its own X server and D-Bus session: a conversion longer than the room left in the name is
# cut to fit, and codes typed while the input method is still in kana mode land as typed.
# Checks the bytes that the toolbar Save then writes.
# Usage: e2e_input_method.sh path/to/glimra-editor
set -uo pipefail
editor=$(realpath "$1")
# The engine is a Python program of the distribution's: its own python3 must come first.
export PATH="/usr/bin:/bin:$PATH"
source "$(dirname "$0")/e2e_lib.sh"
require "the input method test" Xvfb xdotool xwd convert dbus-run-session ibus-daemon ibus \
    /usr/libexec/ibus-engine-anthy
# The input method keeps its settings and its bus address under the test's own home.
start_bus_test

# One entry to start from: the file opened on the command line is the one Save writes.
printf '01,00,00,00,00,"A"\r\n' >"$work/im.glm"

dbus-run-session -- bash -s <<'SESSION'
set -uo pipefail
work="$WORK"
# The input method starts slowly on a busy machine.
wait_seconds=30
source "$E2E_LIB"
engine_is() { [ "$(ibus engine 2>/dev/null)" = "$1" ]; }

gsettings set org.freedesktop.ibus.engine.anthy.common input-mode 0 # hiragana
ibus-daemon --replace --daemonize --xim --panel=disable --cache=refresh >"$work/ibus.log" 2>&1
# `ibus engine NAME` exits 1 even when it has set the engine: ask which engine is set.
make_anthy_the_engine() {
    ibus engine anthy
    engine_is anthy
}
start=$SECONDS
wait_for "anthy did not become the engine" make_anthy_the_engine
echo "anthy ready after $((SECONDS - start)) s"
(cd "$work" && QT_IM_MODULE=ibus exec "$EDITOR_BINARY" "$work/im.glm") >"$work/editor.log" 2>&1 &
editor_pid=$!
find_main_window
xdotool windowfocus "$main"

# Hiragana mode is on from the start: the codes must land as typed all the same. The fifth
# code moves the focus on to the name.
click 152 136 # data_a
xdotool type --delay 60 "41417F4141"
# "kana" then Return commits かな; twenty "ka" then Return commit twenty か, of which the
# fifteen that fit must land. The keys that follow reach the input method after those, so
# they act once it has committed: Shift+Tab twice to 追加 and Return to press it.
xdotool type --delay 60 "kana"
xdotool key --delay 60 Return
xdotool type --delay 40 "kakakakakakakakakakakakakakakakakakakaka"
xdotool key --delay 60 Return shift+Tab shift+Tab Return
# The list's second row shows text once the glyph is added.
second_row_shown() {
    xwd -silent -id "$main" | convert xwd:- -crop 130x14+268+$((17 + top)) -threshold 50% \
        -format '%[fx:mean]' info: | grep -qv '^1$'
}
wait_for "the glyph was not added" second_row_shown
click 65 13 # icon_save: the file opened on the command line, without a dialog

expected="$work/expected"
{
    printf '01,00,00,00,00,"A"\r\n41,41,7F,41,41,"'
    printf 'かな%s' "$(printf 'か%.0s' $(seq 15))" | iconv -f UTF-8 -t CP932
    printf '"\r\n'
} >"$expected"
saved_as_expected() { cmp -s "$work/im.glm" "$expected"; }
wait_for "the saved file holds '$(iconv -f CP932 -t UTF-8 "$work/im.glm" 2>&1)'" saved_as_expected
kill "$editor_pid"
SESSION
status=$?
[ "$status" = 0 ] && echo "input method road passed"
exit "$status"
