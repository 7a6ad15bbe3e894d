#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real editor saves a long list while a screen reader presses 削除 through AT-SPI. The
# press comes while the save paints the window: the file must hold the list as it was when
# the Save began, and the entry goes only once the save has ended.
# Usage: e2e_long_work.sh path/to/glimra-editor
set -uo pipefail
editor=$(realpath "$1")
source "$(dirname "$0")/e2e_lib.sh"
require_screen_reader "the long work test"
require "the long work test" xwd
start_bus_test

# Names written with NEC's 87 90 (≒), which a save writes as 81 E0: every line is encoded
# afresh, so the save runs long enough to paint the window many times.
export ENTRIES=1000000
/usr/bin/python3 - "$work/big.glm" <<'MAKE'
import os, sys
line = b'41,00,00,00,00,"\x87\x90%07d"\r\n'
with open(sys.argv[1], 'wb') as out:
    for start in range(0, int(os.environ['ENTRIES']), 100000):
        out.write(b''.join(line % n for n in range(start, start + 100000)))
MAKE

dbus-run-session -- bash -s <<'SESSION'
set -uo pipefail
work="$WORK"
wait_seconds=30
source "$E2E_LIB"
run_accessible_editor "$work/big.glm"
find_main_window
xdotool windowfocus "$main"
wait_for "the file given at start is not shown" entry_shown
click 330 7 # the first entry of data_list
cat >"$work/client.py" <<'CLIENT'
import os, subprocess, sys, time
import pyatspi
from e2e_atspi import editor, find, wait

path, role = sys.argv[1:]
entries = int(os.environ['ENTRIES'])
editor = editor()
if role == 'saver':
    # The toolbar Save, pressed as a screen reader does: answered once the save has ended.
    save = find(editor, pyatspi.ROLE_PUSH_BUTTON, 'ファイルに保存')
    print('pressing', flush=True)
    save.queryAction().doAction(0)
    sys.exit(0)

delete = find(editor, pyatspi.ROLE_PUSH_BUTTON, '削除')
rows = find(editor, pyatspi.ROLE_LIST, 'データ一覧').queryTable()
print('before the save:', rows.nRows, 'entries')
assert rows.nRows == entries
before = os.stat(path).st_ino
saver = subprocess.Popen([sys.executable, __file__, path, 'saver'], stdout=subprocess.PIPE, text=True)
assert saver.stdout.readline().strip() == 'pressing'
started = time.time()
# Sent well after the Save, on the same bus: answered only once the editor takes its
# events again, while the save paints the window.
time.sleep(0.3)
delete.queryAction().doAction(0)
print('削除 pressed after %.2f s' % (time.time() - started))
if os.stat(path).st_ino != before:
    sys.exit('FAIL: the save had ended before the press came; make the list longer')
saver.wait(60)
wait('the save did not end', lambda: os.stat(path).st_ino != before, 60)
print('saved after %.2f s' % (time.time() - started))
wait('the held 削除 did not run after the save', lambda: rows.nRows == entries - 1, 60)
print('after the save:', rows.nRows, 'entries')
CLIENT
screen_reader "$work/client.py" "$work/big.glm" reader >"$work/client.log" 2>&1
status=$?
cat "$work/client.log"
[ "$status" = 0 ] || fail "the screen reader's press during the save went wrong"
# The file holds every entry of the list as it was when the Save began, written afresh.
[ "$(wc -l <"$work/big.glm")" = "$ENTRIES" ] || fail "the saved file lost lines"
printf '41,00,00,00,00,"\x81\xe00000000"\r\n' | cmp -s - <(head -n 1 "$work/big.glm") ||
    fail "the saved file does not start with the first entry"
printf '41,00,00,00,00,"\x81\xe0%07d"\r\n' $((ENTRIES - 1)) | cmp -s - <(tail -n 1 "$work/big.glm") ||
    fail "the saved file does not end with the last entry"
quit_editor
SESSION
status=$?
[ "$status" = 0 ] && echo "long work test passed"
exit "$status"
