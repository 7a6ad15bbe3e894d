#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows installer under Wine, as a user meets it: a silent install for this user, the
# Start-menu entry and the .glm file type in the registry, a double-click on a file with a
# Japanese name opening it as the toolbar Open does, and a silent uninstall that leaves
# nothing behind.
# Usage: e2e_installer.sh path/to/glimra-editor-<version>-setup.exe
set -uo pipefail
setup="$1"
source "$(dirname "$0")/e2e_lib.sh"
require "the installer test" Xvfb xdotool xclip wine wineserver
[ -f "$setup" ] || fail "no installer at $setup: scripts/windows/build.sh makes it"
work=$(mktemp -d)
cleanup() {
    wineserver -k 2>/dev/null
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT
start_xvfb
wineserver -k 2>/dev/null # a session of this display's own
wait_seconds=60

registry_value() { wine reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p'; }
local_appdata=$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')
programs=$(winepath -u "$local_appdata\\Programs\\GlimraEditor")
start_menu=$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs")

wine "$setup" /S >"$work/setup.log" 2>&1 || fail "the installer failed"
wait_for "the program was not installed in $programs" test -f "$programs/glimra-editor.exe"
for file in glimra-convert.exe qt.conf translations/qtbase_ja.qm \
    data/mime/packages/glimra-editor.xml sample.glm LICENSE.txt uninstall.exe; do
    [ -f "$programs/$file" ] || fail "the install lacks $file"
done
[ -f "$start_menu/Glimra絵エディッタ.lnk" ] || fail "no Start-menu entry in $start_menu"
[ "$(registry_value 'HKCU\Software\Classes\.glm')" = "GlimraEditor.GlyphFile" ] ||
    fail ".glm is not associated: '$(registry_value 'HKCU\Software\Classes\.glm')'"
command=$(registry_value 'HKCU\Software\Classes\GlimraEditor.GlyphFile\shell\open\command')
[ "$command" = "\"$local_appdata\\Programs\\GlimraEditor\\glimra-editor.exe\" \"%1\"" ] ||
    fail "the open command is '$command'"
registry_value 'HKCU\Software\Classes\GlimraEditor.GlyphFile\DefaultIcon' |
    grep -q 'glimra-editor.exe,0$' || fail "the file type has no icon"

# A double-click runs the registered command on the file. (Wine's shell reads file types
# only from the machine's classes, not the user's, so the test runs it as Explorer would.)
# Opened as the toolbar Open does, the file is the current one: the toolbar Save writes it
# without asking.
glyphs="$work/絵文字.glm"
cp "$programs/sample.glm" "$glyphs"
touch -d 2000-01-01 "$glyphs"
editor=$(sed -n 's/^"\([^"]*\)" "%1"$/\1/p' <<<"$command")
run_editor "$(winepath -w "$glyphs")"
find_main_window
click 65 13 # icon_save
saved_again() { [ "$(stat -c %Y "$glyphs")" -gt 946684800 ]; }
wait_for "the double-clicked file was not the current one" saved_again
no_window_named "名前をつけてファイルに保存" || fail "Save asked for a name"
cmp -s "$glyphs" "$programs/sample.glm" || fail "the saved file differs from what was opened"
wineserver -k

wine "$programs/uninstall.exe" /S >"$work/uninstall.log" 2>&1 || fail "the uninstaller failed"
wineserver -w # it runs from a copy of itself
wait_for "the uninstall left $programs" test ! -e "$programs"
[ ! -e "$start_menu/Glimra絵エディッタ.lnk" ] || fail "the Start-menu entry is left"
for key in 'HKCU\Software\Classes\.glm' 'HKCU\Software\Classes\GlimraEditor.GlyphFile' \
    'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\GlimraEditor'; do
    ! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstall left $key"
done
echo "the installer installs, associates, opens and uninstalls"
