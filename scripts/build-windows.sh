#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds Tickbell for 64-bit Windows on Debian 12 (as root) and proves it under Wine:
#   scripts/build-windows.sh [--test] [BUILD_DIR]        (BUILD_DIR: build-windows/)
# Installs what it needs, builds Tickbell.exe and the unit tests with mingw-w64, runs the unit
# tests under Wine, and makes BUILD_DIR/dist/Tickbell-<version>-win64.zip and
# Tickbell-<version>-setup.exe. --test also runs the Windows backends' tests and the end-to-end
# checks on a desktop of their own: the real program and the zip in fresh Wine prefixes
# (tests/windows/e2e.sh), then the programs' resources and the installer and uninstaller
# (tests/windows/installer.sh).
#
# Qt 6.4.2 for mingw-w64 comes from ../shared/toolchains/qt-6.4.2-mingw-w64.tar.xz beside the
# project when that is there; otherwise scripts/build-qt-windows.sh builds the same archive from
# Debian's qt6-base source (about 40 minutes on two cores, once). Either is unpacked in the cache
# folder: $TICKBELL_WINDOWS_CACHE, by default ${XDG_CACHE_HOME:-~/.cache}/tickbell-windows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

run_tests=0
if [ "${1:-}" = --test ]; then
    run_tests=1
    shift
fi
out=$(mkdir -p "${1:-$root/build-windows}" && cd "${1:-$root/build-windows}" && pwd)
cache=${TICKBELL_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tickbell-windows}
jobs=$(nproc)
started=$SECONDS
step() { echo "== $* ($((SECONDS - started)) s)"; }

step "packages"
if [ "$run_tests" = 1 ]; then
    "$root/scripts/install-deps.sh" --test --windows
else
    "$root/scripts/install-deps.sh" --windows
fi

step "Qt for Windows"
qt=$cache/qt-6.4.2-mingw-w64
archive=$root/../shared/toolchains/qt-6.4.2-mingw-w64.tar.xz
mkdir -p "$cache"
if [ ! -f "$archive" ] && [ ! -f "$cache/qt-6.4.2-mingw-w64.tar.xz" ]; then
    echo "no prebuilt Qt beside the project: building it from Debian's source into $cache"
    "$root/scripts/build-qt-windows.sh" "$cache"
fi
[ -f "$archive" ] || archive=$cache/qt-6.4.2-mingw-w64.tar.xz
# Unpacked again whenever the archive changes.
stamp=$(sha256sum "$archive" | cut -d' ' -f1)
if [ "$(cat "$cache/unpacked.sha256" 2>/dev/null)" != "$stamp" ] || [ ! -d "$qt/lib/cmake/Qt6" ]; then
    rm -rf "$qt" "$cache/unpacked.sha256"
    tar -C "$cache" -xJf "$archive"
    echo "$stamp" >"$cache/unpacked.sha256"
fi

step "build"
cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTICKBELL_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/windows-mingw-w64.cmake" -DTICKBELL_WINDOWS_QT="$qt" >/dev/null
cmake --build "$out" -j "$jobs"

# Each run of Wine here uses this prefix, made once (it takes about 10 s).
export WINEPREFIX=$out/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
export WINEARCH=win64
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1

step "unit tests under Wine"
ctest --test-dir "$out" --output-on-failure -j "$jobs" -L unit

step "zip and installer"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/CMakeCache.txt")
name=Tickbell-$version-win64
dist=$out/dist
stage=$dist/$name
rm -rf "$dist"
mkdir -p "$dist"
cmake --install "$out" --prefix "$stage" --strip >/dev/null
# Names in UTF-8 with the flag that says so (Info-ZIP's zip leaves it off), so that Windows' own
# unzip shows the Chinese prompt names.
(cd "$dist" && cmake -E tar cf "$name.zip" --format=zip "$name")
# The installer installs each file of that folder, and its uninstaller deletes exactly those and
# then removes their folders.
(
    cd "$stage"
    find . -type f | sort | awk -v stage="$stage" -v last=none '
        function win(p) { gsub("/", "\\", p); return p }
        {
            rel = substr($0, 3); dir = rel; sub("/?[^/]*$", "", dir)
            if (dir != last) { printf "SetOutPath \"$INSTDIR%s\"\n", (dir == "" ? "" : "\\" win(dir)); last = dir }
            printf "File \"%s/%s\"\n", stage, rel
        }' >"$dist/files.nsh"
    find . -type f | sort | awk '{ p = substr($0, 3); gsub("/", "\\", p); printf "Delete \"$INSTDIR\\%s\"\n", p }' \
        >"$dist/files.nsh.uninstall"
    find . -mindepth 1 -type d | sort -r | awk '{ p = substr($0, 3); gsub("/", "\\", p); printf "RMDir \"$INSTDIR\\%s\"\n", p }' \
        >"$dist/files.nsh.folders"
)
makensis -V2 -INPUTCHARSET UTF8 -DPRODUCT="$out/generated/product.nsh" -DFILES="$dist/files.nsh" \
    -DLICENSE="$stage/LICENSE.txt" -DOUTFILE="$dist/Tickbell-$version-setup.exe" \
    "$root/packaging/windows/tickbell.nsi"
ls -l "$dist/$name.zip" "$dist/Tickbell-$version-setup.exe"

if [ "$run_tests" = 1 ]; then
    step "backend and end-to-end tests under Wine"
    (cd "$out" && "$root/tests/windows/e2e.sh" "$out" "$root")
    (cd "$out" && "$root/tests/windows/installer.sh" "$out" "$root")
fi

step "done in $((SECONDS - started)) s"
