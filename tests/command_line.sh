#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The programs as command-line programs: --help and --version on standard output, a write
# error and a misuse told on standard error, each with its exit status, and no window
# system touched (there is no X server here: reaching for one would abort the program).
# Then the converter's conversions, refusals and exit statuses.
# Usage: command_line.sh path/to/glimra-editor VERSION path/to/glimra-convert SAMPLE.glm
set -uo pipefail
editor="$1"
version="$2"
converter="$3"
sample="$4"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# [to=FILE] [errors_to=FILE] [program=PATH] check NAME STATUS STDOUT-PATTERN STDERR-PATTERN --
# ARG...: one run of the editor (or the program); a pattern is an extended regular expression over the whole stream
# (line breaks read as BEL), or "" for nothing at all.
check() {
    local name="$1" status="$2" out="$3" err="$4" target="${to:-$work/out}"
    shift 5
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "${program:-$editor}" "$@" \
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
check "a Qt option without its value" 2 '' "^glimra-editor: option '-platform' requires an argument.$usage" \
    -- -platform
check "a file after --, and one before" 2 '' "^glimra-editor: extra operand '-b.glm'.$usage" \
    -- a.glm -- -b.glm

program="$converter"
cd "$work"
usage='Usage: glimra-convert \[OPTION\]\.\.\. INPUT OUTPUT'
try="Try 'glimra-convert --help' for more information\.$(printf '\a')$"
check "converter: --help" 0 "^$usage.*--from=FORMAT.*--layout=LAYOUT.*--crop.*$every_option" \
    '' -- --help
check "converter: --version" 0 "^glimra-convert \(Glimra絵エディッタ\) $version.Copyright" '' \
    -- --version
check "converter: an unknown option" 2 '' "^glimra-convert: unrecognized option '--frob'.$usage.$try" \
    -- --frob a.glm b.h
check "converter: an unknown ending" 2 '' "^glimra-convert: 'a.txt': no format has this ending; give --from" \
    -- a.txt b.h
check "converter: - without --to" 2 '' "^glimra-convert: '-' needs --to" -- a.glm -
check "converter: an unknown format" 2 '' "^glimra-convert: invalid argument 'rust' for '--to'" \
    -- --to=rust a.glm b.x
check "converter: one operand" 2 '' "^glimra-convert: missing operand after 'a.glm'" -- a.glm
check "converter: three operands" 2 '' "^glimra-convert: extra operand 'c.py'" -- a.glm b.h c.py

cp "$sample" sample.glm
check "converter: to a header" 0 '' '' -- sample.glm font.h
check "converter: and back" 0 '' '' -- font.h back.glm
cmp -s back.glm sample.glm || { echo "FAIL: the header did not give the glyph file back" >&2; failed=1; }
to="$work/module" check "converter: standard input to standard output" 0 '' '' \
    -- --from=glm --to=python --layout=rows - - <sample.glm
grep -q '^glyphs = \[$' module || { echo "FAIL: no list on standard output" >&2; failed=1; }
printf 'char g[] = {0, 0, 0,\n0x80, 0};\n' >bad.h
check "converter: a code over 7F" 1 '' \
    "^glimra-convert: bad.h:2: glyph 0: 0x80 needs 8 rows; --crop keeps the top 7.$" -- bad.h back.glm
check "converter: the same, from standard input" 1 '' \
    "^glimra-convert: \\(standard input\\):2: glyph 0: 0x80 needs 8 rows" -- --from=c - back.glm <bad.h
check "converter: the same, cropped" 0 '' '' -- --crop bad.h cropped.glm
cmp -s back.glm sample.glm || { echo "FAIL: a refused input changed the output" >&2; failed=1; }
to=/dev/full check "converter: to a full device" 1 '' \
    "^glimra-convert: \\(standard output\\): cannot be written.$" -- --to=python sample.glm -
printf '%s\n' 'STARTFONT 2.1' 'FONT x' 'SIZE 8 75 75' 'FONTBOUNDINGBOX 5 7 0 0' \
    'CHARS 1' 'STARTCHAR none' 'ENCODING -1' 'SWIDTH 750 0' 'DWIDTH 6 0' 'BBX 5 7 0 0' \
    'BITMAP' 20 20 20 20 20 20 20 'ENDCHAR' 'ENDFONT' >uncoded.bdf
check "converter: a glyph without a code" 1 '' \
    "^glimra-convert: warning: uncoded.bdf: 1 glyphs have no code and were left out.glimra-convert: uncoded.bdf: holds no glyph.$" \
    -- uncoded.bdf uncoded.glm
check "converter: a missing input" 1 '' "^glimra-convert: none.glm: cannot be read.$" -- none.glm x.h
check "converter: a folder that is not there" 1 '' \
    "^glimra-convert: no/x.h: cannot be written.$" -- sample.glm no/x.h
exit $failed
