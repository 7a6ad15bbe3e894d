#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The program as a command-line program: --help and --version on standard output, a write
# error and a misuse told on standard error, each with its exit status, and no window
# system touched (there is no X server here: reaching for one would abort the program).
# Usage: command_line.sh path/to/glimra-editor VERSION
set -uo pipefail
editor="$1"
version="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# [to=FILE] [errors_to=FILE] check NAME STATUS STDOUT-PATTERN STDERR-PATTERN -- ARG...: one
# run of the editor; a pattern is an extended regular expression over the whole stream
# (line breaks read as BEL), or "" for nothing at all.
check() {
    local name="$1" status="$2" out="$3" err="$4" target="${to:-$work/out}"
    shift 5
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$editor" "$@" \
        >"$target" 2>"${errors_to:-$work/err}"
    local got=$?
    [ "$target" = "$work/out" ] || : >"$work/out"
    [ -z "${errors_to:-}" ] || : >"$work/err"
    if [ "$got" != "$status" ] || ! matches "$work/out" "$out" || ! matches "$work/err" "$err"
    then
        echo "FAIL: $name: exit $got (wanted $status)" >&2
        sed 's/^/  stdout: /' "$work/out" >&2
        sed 's/^/  stderr: /' "$work/err" >&2
        failed=1
    fi
}

matches() {
    if [ -z "$2" ]; then [ ! -s "$1" ]; else tr '\n' '\a' <"$1" | grep -Eq "$2"; fi
}

usage='Usage: glimra-editor \[OPTION\]\.\.\. \[FILE\]'
try="Try 'glimra-editor --help' for more information\.$(printf '\a')$"
every_option='.*-h, --help .*--version .*-- .*Report bugs to: <[^>]*@[^>]*>'
check "--help" 0 "^$usage.*$every_option" '' -- --help
check "-h after a file" 0 "^$usage" '' -- a.glm -h
check "--version" 0 "^glimra-editor \(Glimra絵エディッタ\) $version.Copyright \(C\) [0-9]{4} .*License MIT.*NO WARRANTY" \
    '' -- --version
to=/dev/full check "--help to a full device" 1 '' '^glimra-editor: write error.$' -- --help
to=/dev/full check "--version to a full device" 1 '' '^glimra-editor: write error.$' -- --version
check "an unknown option" 2 '' "^glimra-editor: unrecognized option '--frobnicate'.$usage.$try" \
    -- --frobnicate
check "an unknown short option" 2 '' "^glimra-editor: invalid option -- 'q'.$usage" -- -q a.glm
errors_to=/dev/full check "a misuse with nowhere to tell it" 2 '' '' -- --frobnicate
check "two files" 2 '' "^glimra-editor: extra operand 'b.glm'.$usage.$try" -- a.glm b.glm
exit $failed
