#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real editor with the real screen reader, Orca, driven by keys alone: the menus, every
# move of the focus, fields read whole, what the program writes to the status bar, the
# glyph that a command (not typing) leaves, and the entries that Add adds, are spoken.
# Orca runs without a voice; its debug log holds every "SPEECH OUTPUT".
# Usage: e2e_orca.sh path/to/glimra-editor
set -uo pipefail
editor=$(realpath "$1")
source "$(dirname "$0")/e2e_lib.sh"
require_screen_reader "the Orca test"
require "the Orca test" orca
# Orca runs once for each user: it will not start beside the user's own.
if pgrep -u "$(id -u)" -x orca >/dev/null; then
    echo "######## SKIPPED: Orca is already running for this user; the Orca test did not run ########"
    exit 77
fi
start_bus_test

# Orca writes its log in blocks, which a test reading it as it goes would wait on: this
# opens it line by line. No speech server: the log holds what would be spoken.
cat >"$work/line-by-line-orca.py" <<'ORCA'
import builtins, runpy, sys
log, prefs = sys.argv[1:]
real_open = builtins.open
def line_by_line(file, mode='r', *args, **kwargs):
    if file == log and 'w' in mode:
        kwargs['buffering'] = 1
    return real_open(file, mode, *args, **kwargs)
builtins.open = line_by_line
sys.argv = ['orca', '-u', prefs, '-d', 'speech', '--debug-file', log]
runpy.run_path('/usr/bin/orca', run_name='__main__')
ORCA

dbus-run-session -- bash -s <<'SESSION'
set -uo pipefail
work="$WORK"
wait_seconds=20
source "$E2E_LIB"
run_accessible_editor
find_main_window
/usr/bin/python3 "$work/line-by-line-orca.py" "$work/orca-debug.log" "$work/orca-prefs" >"$work/orca.log" 2>&1 &
orca_pid=$!
# Orca waited for, so that no exited Orca of this test stops the next from starting.
# A busy Orca may not heed TERM: it gets 10 seconds, then KILL.
end_orca() {
    kill "$orca_pid" "$editor_pid" 2>/dev/null
    for _ in $(seq 100); do kill -0 "$orca_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$orca_pid" 2>/dev/null
    wait "$orca_pid" 2>/dev/null
}
trap end_orca EXIT
heard_from=0
# said_since LINE TEXT: whether Orca has said TEXT since line LINE of its log.
said_since() { tail -n "+$1" "$work/orca-debug.log" | grep -qF "SPEECH OUTPUT: '$2"; }
# heard TEXT: whether Orca has spoken an utterance that begins with TEXT since the last key.
heard() { said_since "$heard_from" "$1"; }
# press KEY... then TEXT: presses the keys, then waits until Orca has said TEXT.
press() {
    local keys=()
    while [ "$1" != then ]; do keys+=("$1"); shift; done
    heard_from=$(($(wc -l <"$work/orca-debug.log") + 1))
    xdotool key --delay 200 "${keys[@]}"
    wait_for "after ${keys[*]} Orca did not say '$2': $(grep 'SPEECH OUTPUT' "$work/orca-debug.log" | tail -n 4)" heard "$2"
    echo "${keys[*]}: Orca said '$2'"
}
xdotool windowfocus "$main"
wait_for "Orca did not speak of the window: $(tail -n 5 "$work/orca.log")" heard "Glimra絵エディッタ"
# The menus by keys: F10 and Alt each take the keyboard to the first menu, Down opens it,
# Escape gives the keyboard back; the quick preview item says whether it is on.
press F10 then "ファイル."
press Down then "新規作成."
press Escape then "ファイル."
press Escape then "新規作成 push button"
press alt then "ファイル."
press Right then "表示."
press Down then "クイックプレビューを有効 check box not checked"
press Escape Escape then "新規作成 push button"
# A code field is read whole, "00", not "0".
press Tab Tab Tab Tab then "00 selected"
# Tab on to ドットの反転処理; Invert says its status text and the glyph.
press Tab Tab Tab Tab Tab then "ドットの反転処理"
press space then "白黒反転処理をしました　7F 7F 7F 7F 7F"
# Alt+arrow moves are no visit to the menus, even when a screen reader delivers Alt late.
moves_from=$(($(wc -l <"$work/orca-debug.log") + 1))
xdotool key $(printf 'alt+Up alt+Down %.0s' {1..5})
press Tab then "データ一覧"
! said_since "$moves_from" "ファイル." || fail "an Alt+arrow move put the keyboard in the menu bar"
press shift+Tab then "ドットの反転処理"
press ctrl+z then "元に戻しました　00 00 00 00 00"
press ctrl+y then "やり直しました　7F 7F 7F 7F 7F"
# The glyph row by row, and the preview as one picture that describes it.
screen_reader - <<'GRID' || fail "the grids do not describe the glyph"
import pyatspi, e2e_atspi
app = e2e_atspi.editor()
grid = e2e_atspi.find(app, pyatspi.ROLE_PANEL, 'ドットの格子')
preview = e2e_atspi.find(app, pyatspi.ROLE_IMAGE, 'プレビュー')
assert grid and grid.childCount == 35, grid
assert grid.description == '、'.join(f'{r}行 1 2 3 4 5' for r in range(1, 8)), grid.description
assert preview and preview.childCount == 0, preview
print('the grid says:', grid.description)
GRID
# 追加 without a name: its status text, and the focus on the name field is heard, the first
# time too.
press Tab Tab then "追加"
press space then "データ名を入力してください"
wait_for "the focus on the name field was not said" heard "データ名 text"
# Add says the entry it added; the list's first Down says the entry it lands on.
press A then "A"
press shift+Tab shift+Tab then "追加"
press space then "一覧に追加しました：7F 7F 7F 7F 7F    A"
press shift+Tab then "データ一覧"
press Down then "7F 7F 7F 7F 7F    A"
# A refused Add moves the focus to the first code field, which is heard.
press Tab space then "1列のコード text"
wait_for "the refused Add was not said" heard "データを入力してください"
# The version dialog, from its menu bar entry: its text fields are named by their labels.
heard_from=$(($(wc -l <"$work/orca-debug.log") + 1))
xdotool mousemove --window "$main" $((left + 205)) $((top / 2)) click 1
wait_for "the version dialog's mail field was not named: $(grep 'SPEECH OUTPUT' "$work/orca-debug.log" | tail -n 4)" heard "メール："
echo "バージョン情報: Orca said 'メール：'"
press Tab then "サンプルデータ提供："
quit_editor
SESSION
status=$?
[ "$status" = 0 ] && echo "Orca test passed"
exit "$status"
