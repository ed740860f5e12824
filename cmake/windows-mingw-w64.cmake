# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds Tickbell for 64-bit Windows with Debian's mingw-w64 (posix threads, which Qt 6
# needs) against a Qt built with the same compiler:
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/windows-mingw-w64.cmake \
#         -DTICKBELL_WINDOWS_QT=/path/to/qt-6.4.2-mingw-w64
# moc, rcc and uic come from the build machine's Qt of the same version (qt6-base-dev-tools).
# scripts/build-windows.sh does all of it; scripts/build-qt-windows.sh builds that Qt with this
# file too (then without TICKBELL_WINDOWS_QT).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# try_compile projects read this file again without the cache: pass the variable on.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TICKBELL_WINDOWS_QT)
if(TICKBELL_WINDOWS_QT)
    # The Qt prefix as a find root and its lib/cmake as the prefix path, as Qt's own toolchain
    # file does (a prefix path inside the root is not prefixed with the root again).
    list(PREPEND CMAKE_FIND_ROOT_PATH "${TICKBELL_WINDOWS_QT}")
    list(PREPEND CMAKE_PREFIX_PATH "${TICKBELL_WINDOWS_QT}/lib/cmake")
    set(QT_HOST_PATH /usr)
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
endif()
