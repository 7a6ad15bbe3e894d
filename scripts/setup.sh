#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what building, running and testing the editor needs on Debian 12, when missing.
# Usage: scripts/setup.sh [--tests] [extra-package ...]
#   --tests: also what the whole suite needs. The end-to-end tests drive the real editor on
#   Xvfb, one with a Japanese input method; the installed tree is checked as a desktop reads
#   it (menu entry, software-centre listing, manual page, file type).
set -euo pipefail

packages=(cmake g++ make qt6-base-dev qt6-base-dev-tools qt6-translations-l10n fonts-ipafont-gothic
    libfreetype-dev)
if [ "${1:-}" = --tests ]; then
    shift
    packages+=(xvfb xdotool xclip x11-apps imagemagick ibus ibus-anthy dconf-gsettings-backend
        dbus desktop-file-utils appstream appstream-compose man-db shared-mime-info
        libglib2.0-bin librapidcheck-dev at-spi2-core python3-pyatspi strace orca xfonts-base
        xfonts-utils python3)
fi
packages+=("$@")
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
