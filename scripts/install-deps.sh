#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what Tickbell needs to build, run and test on Debian 12. Safe to run again:
# apt-get only installs what is missing.
set -euo pipefail

# --test: also what the tests use; --windows: also the Windows cross build and Wine.
want_test=0
want_windows=0
for arg in "$@"; do
    case $arg in
    --test) want_test=1 ;;
    --windows) want_windows=1 ;;
    *) echo "usage: $0 [--test] [--windows]" >&2; exit 2 ;;
    esac
done

runtime=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-multimedia-dev libqt6multimedia6 qt6-qpa-plugins qt6-translations-l10n
    libgl-dev libxcb1-dev
    fonts-arphic-ukai fonts-arphic-uming fonts-noto-cjk
    xdg-utils
)
# The reminders' voice: Qt TextToSpeech and its speech-dispatcher plugin, speech-dispatcher with
# espeak-ng's Mandarin voice. Debian's qt6-speech-dev headers include QtQmlIntegration, which only
# qt6-declarative-dev has.
runtime+=(qt6-speech-dev libqt6texttospeech6 qt6-speech-speechd-plugin qt6-declarative-dev
    speech-dispatcher speech-dispatcher-espeak-ng)
# Also used by the run command on a machine without a display (a session bus of its own too).
runtime+=(xvfb xauth openbox pulseaudio pulseaudio-utils dbus-daemon)

testing=(
    x11-utils xdotool wmctrl xclip sox espeak-ng faketime imagemagick procps psmisc gdb
    clang libclang-rt-14-dev llvm
    appstream desktop-file-utils dpkg-dev file lintian
    trayer # an X11 tray, to take the status-notifier tray's place
    python3-ephem python3-gi gir1.2-lunardate-3.0
    dunst libglib2.0-bin # a real notification daemon, and gdbus to read the tray item
    icoutils # wrestool: the icon and version of the Windows tools in plug/
    # chronyd's libraries: chrony itself is unpacked below, not installed
    libcap2 libedit2 libgnutls30 libnettle8 libseccomp2
)

windows=(
    g++-mingw-w64-x86-64-posix qt6-base-dev-tools xz-utils wine wine64 nsis unzip icoutils locales
)

pkgs=("${runtime[@]}")
[ "$want_test" = 1 ] && pkgs+=("${testing[@]}")
[ "$want_windows" = 1 ] && pkgs+=("${windows[@]}")

missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt_opts=(-o DPkg::Lock::Timeout=300 -y --no-install-recommends)
    apt-get "${apt_opts[@]}" update -qq || apt-get "${apt_opts[@]}" update
    apt-get "${apt_opts[@]}" install -qq "${missing[@]}"
fi

# chrony, Debian's NTP server, is the tests' real peer for network time. It is unpacked, not
# installed: the package would replace this machine's own time service (it conflicts with
# systemd-timesyncd) and could start setting its clock. The tests start the unpacked chronyd
# themselves, on the loopback, with -x (it never sets the clock); tests/e2e/chrony.sh finds it.
chrony_root=/var/cache/tickbell-tests/chrony
if [ "$want_test" = 1 ] && [ ! -x "$chrony_root/usr/sbin/chronyd" ]; then
    echo "unpacking chrony into $chrony_root"
    download=$(mktemp -d)
    chmod 755 "$download"
    fetch() { (cd "$download" && apt-get -o DPkg::Lock::Timeout=300 download -qq chrony) 2>/dev/null; }
    fetch || { apt-get -o DPkg::Lock::Timeout=300 update -qq && fetch; } ||
        { echo "could not download the chrony package" >&2; exit 1; }
    rm -rf "$chrony_root"
    mkdir -p "$chrony_root"
    dpkg-deb -x "$download"/chrony_*.deb "$chrony_root"
    rm -rf "$download"
fi
