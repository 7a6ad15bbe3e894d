#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what building, running and testing the editor needs on Debian 12, when missing.
# Usage: scripts/setup.sh [extra-package ...]
set -euo pipefail

packages=(cmake g++ make qt6-base-dev qt6-base-dev-tools qt6-translations-l10n fonts-ipafont-gothic
    "$@")
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
