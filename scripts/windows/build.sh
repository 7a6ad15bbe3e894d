#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Cross-builds the editor, the converter and their unit tests for 64-bit Windows in build-windows/, with the
# static Qt that build-qt.sh makes (or finds cached), and packs
# dist/glimra-editor-<version>-windows-x64.zip and the installer
# dist/glimra-editor-<version>-setup.exe.
# Usage: scripts/windows/build.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
qt=$(scripts/windows/build-qt.sh | tail -n 1)
scripts/setup.sh zip nsis qt6-translations-l10n >&2
# Debian's rcc compresses with zstd, which the static QtCore lacks.
cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/scripts/windows/mingw-w64.cmake" \
    -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_FIND_ROOT_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_AUTORCC_OPTIONS=--no-zstd -DCMAKE_CROSSCOMPILING_EMULATOR=wine \
    -DGLIMRA_TESTS=ON -DGLIMRA_WERROR="${GLIMRA_WERROR:-OFF}" >/dev/null
cmake --build build-windows --parallel "$(nproc)"

version=$(sed -n 's/^project(GlimraEditor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
stage="build-windows/dist/glimra-editor-$version"
rm -rf "$stage" && mkdir -p "$stage/translations" "$stage/data/mime/packages" dist
# Symbols stay in the build tree for debugging; users get the program without them.
x86_64-w64-mingw32-strip -o "$stage/glimra-editor.exe" build-windows/src/glimra-editor.exe
x86_64-w64-mingw32-strip -o "$stage/glimra-convert.exe" build-windows/src/glimra-convert.exe
cp data/sample.glm "$stage/"
cp LICENSE "$stage/LICENSE.txt"
cp docs/guide.en.md docs/guide.ja.md "$stage/"
cp /usr/share/qt6/translations/qtbase_ja.qm "$stage/translations/"
# Qt looks for file types beside the program too: the file dialog names .glm files.
cp data/glimra-editor.xml "$stage/data/mime/packages/"
# The static Qt is not relocatable: this tells it where its translations are.
printf '[Paths]\nPrefix=.\n' >"$stage/qt.conf"
rm -f "dist/glimra-editor-$version-windows-x64.zip"
(cd build-windows/dist && zip -qr "../../dist/glimra-editor-$version-windows-x64.zip" \
    "glimra-editor-$version")
makensis -V2 -DVERSION="$version" -DSTAGE="$PWD/$stage" \
    -DOUT="$PWD/dist/glimra-editor-$version-setup.exe" scripts/windows/installer.nsi
echo "dist/glimra-editor-$version-windows-x64.zip"
echo "dist/glimra-editor-$version-setup.exe"
