#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The grid on the real editor, as its users meet it: a stroke drawn with the mouse button
# held (down a column, off the grid over the preview, back in at another column), which one
# Ctrl+Z takes back whole; a screen reader that reads the glyph cell by cell through AT-SPI
# and presses a cell; the Tab order, which the grid takes no part in; and the row that the
# screen reader is told has the focus once an entry is deleted.
# Usage: e2e_grid.sh path/to/glimra-editor
set -uo pipefail
editor=$(realpath "$1")
source "$(dirname "$0")/e2e_lib.sh"
require_screen_reader "the grid test"
require "the grid test" xclip
start_bus_test

printf '41,00,00,00,00,"A"\r\n42,00,00,00,00,"B"\r\n43,00,00,00,00,"C"\r\n' >"$work/abc.glm"
dbus-run-session -- bash -s <<'SESSION'
set -uo pipefail
work="$WORK"
source "$E2E_LIB"
run_accessible_editor "$work/abc.glm"
find_main_window
xdotool windowfocus "$main"
cat >"$work/client.py" <<'CLIENT'
import subprocess, sys
import pyatspi
from gi.repository import GLib
from e2e_atspi import editor, find, walk, wait

window, left, top = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])


def xdotool(*args):
    subprocess.run(['xdotool', *args], check=True)


def at(x, y):  # a point of the designed client area
    return ['mousemove', '--window', window, str(x + left), str(y + top)]


def clipboard():
    return subprocess.run(['xclip', '-o', '-selection', 'clipboard'], capture_output=True,
                          text=True).stdout


editor = editor()
grid = next(node for node in walk(editor) if node.name == 'ドットの格子')


def glyph():
    """The grid as a screen reader reads it: one check box per cell, column by column."""
    cells = [grid.getChildAtIndex(i) for i in range(grid.childCount)]
    assert len(cells) == 35 and all(c.getRole() == pyatspi.ROLE_CHECK_BOX for c in cells)
    assert cells[0].name.startswith('ドット 1列 1行') and cells[0].description == 'dot11'
    on = [c.getState().contains(pyatspi.STATE_CHECKED) for c in cells]
    return ' '.join('%02X' % sum(on[7 * c + r] << r for r in range(7)) for c in range(5))


# A stroke down column 1, off the grid over the preview, in again at column 3 and down to
# row 5; released there. Cells are 16 pixels apart, dot11's centre at (16, 40).
xdotool(*at(16, 40), 'mousedown', '1')
for y in range(44, 145, 4):
    xdotool(*at(16, y))
xdotool(*at(118, 138))
xdotool(*at(48, 40))
xdotool(*at(48, 104), 'mouseup', '1')
wait('the stroke drew ' + glyph(), lambda: glyph() == '7F 00 1F 00 00')
xdotool('key', 'ctrl+c')
wait('the codes do not follow the stroke: ' + clipboard(),
     lambda: clipboard() == '7F 00 1F 00 00    ')
print('stroke drawn:', glyph())
xdotool('key', 'ctrl+z')
wait('one Ctrl+Z left ' + glyph(), lambda: glyph() == '00 00 00 00 00')

# A screen reader presses dot57.
grid.getChildAtIndex(34).queryAction().doAction(0)
wait('the press on dot57 drew ' + glyph(), lambda: glyph() == '00 00 00 00 40')
print('pressed through AT-SPI:', glyph())

# Tab goes round the controls in the designed order, and never to the grid.
order = ['新規作成', 'ファイルに保存', 'ファイルを開く', 'クリップボードにデータをコピー',
         '1列のコード', '2列のコード', '3列のコード', '4列のコード', '5列のコード',
         'ドットの反転処理', 'データ一覧', '追加 >', '<　読み込み', 'データ名', '削除']


def focused():
    return next((n.name for n in walk(editor) if n.getState().contains(pyatspi.STATE_FOCUSED)),
                None)


xdotool(*at(180, 113), 'click', '1')  # data_name
wait('data_name took no focus', lambda: focused() == 'データ名')
seen = []
for _ in order:
    was = focused()
    xdotool('key', 'Tab')
    wait('Tab left the focus on ' + str(was), lambda: focused() != was)
    seen.append(focused())
start = order.index('データ名') + 1
assert seen == order[start:] + order[:start], 'Tab went ' + ' → '.join(map(str, seen))
print('Tab order:', ' → '.join(seen))

# Once an entry is deleted no row is current: the screen reader is told that the focus is on
# the list, not of a row that has moved or gone.
told = []


def on_focus(event):
    if event.detail1:
        told.append((event.source.getRole(), event.source.name))


pyatspi.Registry.registerEventListener(on_focus, 'object:state-changed:focused')


def heard(name):
    while GLib.MainContext.default().iteration(False):
        pass
    return told and told[-1][1] == name


def deleted(how):
    wait('after 削除 %s the screen reader was told of %s' % (how, told[-3:]),
         lambda: heard('データ一覧'))
    assert all(role != pyatspi.ROLE_LIST_ITEM for role, _ in told[mark:]), \
        'after 削除 %s the screen reader was told of %s' % (how, told[mark:])
    print('told after 削除 %s: %s' % (how, told[-1][1]))


xdotool(*at(330, 7), 'click', '1')  # the first entry of data_list
xdotool('key', 'Down')
wait('the list told of no row B', lambda: heard('42 00 00 00 00    B'))
mark = len(told)
find(editor, pyatspi.ROLE_PUSH_BUTTON, '削除').queryAction().doAction(0)
deleted('pressed through AT-SPI')
xdotool('key', 'Down')  # from nothing selected, the first entry
wait('the list told of no row A', lambda: heard('41 00 00 00 00    A'))
mark = len(told)
xdotool(*at(220, 64), 'click', '1')  # data_delete, which gives the list the focus
deleted('clicked')
CLIENT
screen_reader "$work/client.py" "$main" "$left" "$top" >"$work/client.log" 2>&1
status=$?
cat "$work/client.log"
[ "$status" = 0 ] || fail "the grid test's screen reader found a fault"
quit_editor
SESSION
status=$?
[ "$status" = 0 ] && echo "grid test passed"
exit "$status"
