#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt 6.4.2 (qtbase: Core, Gui, Widgets, Network, Test, the Windows platform plugin and
# styles) for 64-bit Windows with Debian's mingw-w64, from Debian's own qt6-base source, and
# packs it as qt-6.4.2-mingw-w64.tar.xz: the archive scripts/build-windows.sh uses where no
# prebuilt one is at hand. Debian 12, as root; about 40 minutes on two cores.
#   scripts/build-qt-windows.sh [OUTPUT_DIR]        (default: the current folder)
# The host tools (moc, rcc, uic) come from Debian's qt6-base-dev-tools of the same version.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
toolchain=$root/cmake/windows-mingw-w64.cmake
out=$(cd "${1:-.}" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/qt-mingw.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/qt-6.4.2-mingw-w64

export DEBIAN_FRONTEND=noninteractive
apt_opts=(-o DPkg::Lock::Timeout=300 -y -qq --no-install-recommends)
apt-get "${apt_opts[@]}" install g++-mingw-w64-x86-64-posix mingw-w64-tools \
    qt6-base-dev qt6-base-dev-tools cmake ninja-build xz-utils dpkg-dev >/dev/null
# Debian's source packages: a deb-src line beside the binary ones.
if ! apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Version: 6.4.2'; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
        >/etc/apt/sources.list.d/debian-src.sources
    apt-get -qq update
fi
cd "$work"
apt-get source --download-only qt6-base=6.4.2+dfsg-10 >/dev/null 2>&1 ||
    apt-get source --download-only qt6-base >/dev/null
tar xJf qt6-base_6.4.2+dfsg.orig.tar.xz
src=$work/qtbase-everywhere-src-6.4.2
# Qt 6.4.2 asks for the dynamic-OpenGL context even when OpenGL is off; Debian's source also
# lacks the Wintab headers, so tablet input is off.
sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
    "$src/src/plugins/platforms/windows/qwindowswindow.cpp"

cmake -S "$src" -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_opengl=OFF -DFEATURE_tabletevent=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_printsupport=OFF -DFEATURE_openssl=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF >/dev/null
cmake --build build --parallel "$(nproc)"
cmake --install build >/dev/null
# Qt's own toolchain file loads the compiler settings from beside the folder, wherever it is
# unpacked.
cp "$toolchain" "$prefix/mingw-w64-posix.cmake"
sed -i 's|^set(__qt_initially_configured_toolchain_file ".*")$|set(__qt_initially_configured_toolchain_file "${CMAKE_CURRENT_LIST_DIR}/../../../mingw-w64-posix.cmake")|' \
    "$prefix/lib/cmake/Qt6/qt.toolchain.cmake"
rm -rf "$prefix/doc"
# The mingw runtime DLLs a program built with this toolchain needs beside it.
mkdir -p "$prefix/runtime"
for dll in libstdc++-6.dll libgcc_s_seh-1.dll; do
    cp "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)" "$prefix/runtime/"
done
cp /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$prefix/runtime/"
x86_64-w64-mingw32-strip --strip-unneeded "$prefix"/bin/*.dll "$prefix"/plugins/*/*.dll "$prefix"/runtime/*.dll
tar -C "$work" -cJf "$out/qt-6.4.2-mingw-w64.tar.xz" qt-6.4.2-mingw-w64
echo "wrote $out/qt-6.4.2-mingw-w64.tar.xz"
