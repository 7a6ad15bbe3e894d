#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What `cmake --install` puts in place, as a desktop and a software centre read it: into a
# staging folder, every icon size, a valid software-centre listing that composes into a
# catalogue entry with its icons, a manual page without warnings and the documents; into a
# user's own prefix, the .glm file type registered at once.
# Usage: install_tree.sh BUILD-DIR ID VERSION ICON-SIZE...
set -uo pipefail
build="$1"
id="$2"
version="$3"
shift 3
work=$(mktemp -d)
source "$(dirname "$0")/e2e_lib.sh"
trap 'rm -rf "$work"' EXIT
require "the install check" appstreamcli /usr/libexec/appstreamcli-compose man gio \
    update-mime-database
stage="$work/stage"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
    fail "the staged install failed"
share="$stage/usr/share"

for size in "$@"; do
    [ -s "$share/icons/hicolor/${size}x${size}/apps/glimra-editor.png" ] ||
        fail "no ${size}x${size} icon"
done
for file in icons/hicolor/scalable/apps/glimra-editor.svg "applications/$id.desktop" \
    "metainfo/$id.metainfo.xml" man/man1/glimra-editor.1.gz man/man1/glimra-convert.1.gz \
    doc/glimra-editor/changelog.gz \
    doc/glimra-editor/copyright doc/glimra-editor/guide.en.md doc/glimra-editor/guide.ja.md; do
    [ -s "$share/$file" ] || fail "$file is not installed"
done
[ ! -e "$share/mime/mime.cache" ] || fail "a staging folder got a MIME cache of its own"

appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >"$work/validate.log" 2>&1 ||
    fail "the listing is not valid"
! grep -E '^[EW]:' "$work/validate.log" || fail "the listing has warnings"
appstreamcli compose --result-root="$work/catalogue" --origin=glimra-editor --prefix=/usr \
    "$stage" >"$work/compose.log" 2>&1 || fail "the catalogue was not composed"
zcat "$work"/catalogue/usr/share/swcatalog/xml/glimra-editor.xml.gz >"$work/catalogue.xml" ||
    fail "no catalogue"
for size in 64 128; do
    grep -q "<icon type=\"cached\" width=\"$size\" height=\"$size\">$id.png</icon>" \
        "$work/catalogue.xml" || fail "the catalogue entry has no ${size} px icon"
    [ -s "$work/catalogue/usr/share/swcatalog/icons/glimra-editor/${size}x$size/$id.png" ] ||
        fail "the catalogue's ${size} px icon is missing"
done

# Every place that names the version names this one.
grep -q "<release version=\"$version\"" "$share/metainfo/$id.metainfo.xml" ||
    fail "the listing's latest release is not $version"
zcat "$share/doc/glimra-editor/changelog.gz" | head -n 1 | grep -q "^glimra-editor ($version) " ||
    fail "the change log does not begin with $version"
for page in glimra-editor glimra-convert; do
    zcat "$share/man/man1/$page.1.gz" | grep -q "^\.TH .* \"$page $version\"" ||
        fail "the manual page of $page is not of $version"
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
        "$share/man/man1/$page.1.gz" >/dev/null 2>"$work/man.log"
    [ ! -s "$work/man.log" ] || fail "the manual page of $page has warnings"
done
[ -x "$stage/usr/bin/glimra-convert" ] || fail "glimra-convert is not installed"

# A user's own prefix is live: a .glm file is a glyph file as soon as the install ends.
home="$work/home/.local"
cmake --install "$build" --prefix "$home" >"$work/user-install.log" 2>&1 ||
    fail "the user install failed"
cp "$(dirname "$0")/../data/sample.glm" "$work/some.glm"
type=$(XDG_DATA_HOME="$home/share" XDG_DATA_DIRS="$work/none" gio info -a standard::content-type "$work/some.glm" |
    sed -n 's/^ *standard::content-type: //p')
[ "$type" = application/x-glimra-glyphs ] || fail "a .glm file is $type after a user install"
grep -qx "Exec=\"$home/bin/glimra-editor\" %f" "$home/share/applications/$id.desktop" ||
    fail "the user's menu entry does not name the program by its full path"
grep -qx 'Exec=glimra-editor %f' "$share/applications/$id.desktop" ||
    fail "the package's menu entry does not name the program as the system has it"
echo "installed, listed, composed, documented and registered"
