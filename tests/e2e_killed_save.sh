#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real editor is killed while it writes a long file in place, through the file's second
# name, when the file holds neither the old list nor the new: a whole copy of the old must
# stand beside it.
# Usage: e2e_killed_save.sh path/to/glimra-editor
set -uo pipefail
editor="$1"
source "$(dirname "$0")/e2e_lib.sh"
require "the killed save test" Xvfb xdotool xwd cmp python3 strace
start_editor_test
wait_seconds=60

# A million entries, the first unlike the rest, so that the file's first bytes change as
# soon as the new list, without it, is written over them.
{
    printf '7F,7F,7F,7F,7F,"first"\r\n'
    awk 'BEGIN { for (n = 1; n < 1000000; n++) printf "41,00,00,00,00,\"%07d\"\r\n", n }'
} >"$work/big.glm"
ln "$work/big.glm" "$work/other.glm"
cp "$work/big.glm" "$work/old.glm"
tail -n +2 "$work/old.glm" >"$work/new.glm"
old_start=$(head -c 24 "$work/old.glm")

# The kill must come between the write and the cut of the file's end, which on a fast disk
# follow each other within a millisecond: the cut waits three seconds here, as on a slow
# disk.
binary=$(realpath "$editor")
cat >"$work/slow-disk" <<SLOW
#!/bin/sh
exec strace -f -qq -o /dev/null -e trace=ftruncate -e inject=ftruncate:delay_enter=3000000 \\
    "$binary" "\$@"
SLOW
chmod +x "$work/slow-disk"
editor="$work/slow-disk"

start_xvfb
run_editor "$work/other.glm"
find_main_window
editor_pid=$(pgrep -f "^$binary $work/other.glm") # the editor itself, not its tracer
xdotool windowfocus "$main"
wait_for "the file given at start is not shown" entry_shown
click 330 7  # the first entry of data_list
click 220 64 # data_delete
# Killed the moment the file begins to change, by a poller that reads without a pause.
python3 - "$work/big.glm" "$editor_pid" "$work/poller-ready" <<'POLL' &
import os, signal, sys, time
path, pid, ready = sys.argv[1], int(sys.argv[2]), sys.argv[3]
with open(path, 'rb') as file:
    start = os.pread(file.fileno(), 24, 0)
    open(ready, 'w').close()
    end = time.monotonic() + 60
    while time.monotonic() < end:
        if os.pread(file.fileno(), 24, 0) != start:
            os.kill(pid, signal.SIGKILL)
            sys.exit(0)
sys.exit(1)
POLL
poller=$!
wait_for "the poller did not start" test -e "$work/poller-ready"
click 65 13 # the toolbar Save, to the file opened: in place, as it has a second name
wait "$poller" || fail "the file never began to change"
wait "$editor_pid" 2>/dev/null

# Written, not yet cut to its new length: the file holds the new list and the old one's
# last line, neither list, and the copy beside it must be whole.
cmp -s "$work/big.glm" "$work/old.glm" && fail "the save had not begun when it was killed"
cmp -s "$work/big.glm" "$work/new.glm" && fail "the save had ended when it was killed"
copies=("$work"/glimra-copy-*.glm)
[ -f "${copies[0]}" ] && cmp -s "${copies[0]}" "$work/old.glm" ||
    fail "killed during the save, the file holds neither list and no copy of the old is beside it: $(ls -l "$work")"
[ "$(stat -c %i "$work/big.glm")" = "$(stat -c %i "$work/other.glm")" ] ||
    fail "the two names are one file no more"
echo "killed save test passed: a whole copy of the old list stands beside the file"
