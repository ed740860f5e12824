#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Tickbell and starts it. Without a desktop (no DISPLAY),
# it starts one of its own (Xvfb, a window manager, a sound server on a null sink) and
# prints what the window shows to the terminal as well.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

build=${TICKBELL_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTICKBELL_TESTS=OFF >/dev/null
cmake --build "$build"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec "$root/scripts/headless-desktop.sh" "$build/bin/tickbell" --console "$@"
fi
exec "$build/bin/tickbell" "$@"
