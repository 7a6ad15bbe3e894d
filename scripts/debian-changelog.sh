#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Writes a Debian changelog made from the project's own CHANGELOG.md to standard output.
# Usage: debian-changelog.sh CHANGELOG.md PACKAGE "MAINTAINER <MAIL>"
set -euo pipefail
awk -v package="$2" -v maintainer="$3" '
function close_release() {
    if (version == "") return
    cmd = "LC_ALL=C date -u -R -d " date
    cmd | getline stamp
    close(cmd)
    printf "\n -- %s  %s\n", maintainer, stamp
}
/^## / {
    close_release()
    if (version != "") print ""
    version = $2
    date = $3
    gsub(/[()]/, "", date)
    printf "%s (%s) unstable; urgency=medium\n\n", package, version
    next
}
version != "" && /^- / { print "  * " substr($0, 3); next }
version != "" && /^  [^ ]/ { print "    " substr($0, 3); next }
END { close_release() }
' "$1"
