# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash disable=SC2034 # the variables are for the scripts that source this
# Shared by the install tests:  script BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail

BUILD=$(cd "$1" && pwd)
SRC=$(cd "$2" && pwd)
VERSION=$3
NAME=$(basename "$0" .sh)
APP_ID=org.tickbell.Tickbell

# What the program folder must hold: the nine voice prompts (one with an upper-case
# extension) and the reminders' chime, the default settings, the holidays file and the festival
# dates.
PROMPTS=(Tickbell.wav 我的提醒.wav 机构竞价.wav 上午开盘时间.wav 盘中关键时间点.wav 5分钟后收盘.wav 中午休盘时间.WAV
    下午开盘时间.wav 今天已收盘.wav 今天不开盘.wav)
PROGRAM_FILES=(tickbell plug/config.txt holidays.txt statutory-holidays.txt)
for p in "${PROMPTS[@]}"; do PROGRAM_FILES+=("sound/$p"); done
# The tools Tickbell starts from plug/, executables under their Windows names.
TOOLS=(clocktool abacus posmover ceilprice poweroff)
for t in "${TOOLS[@]}"; do PROGRAM_FILES+=("plug/$t.exe"); done
ICON_SIZES=(16 22 24 32 48 64 128 256)

FAILURES=0
fail() { echo "[$NAME] FAIL: $*" >&2; FAILURES=$((FAILURES + 1)); }
die() { echo "[$NAME] FAIL: $*" >&2; exit 1; }
check() { # MESSAGE CMD...: a failed check is reported and the test goes on to the next one
    local what=$1
    shift
    "$@" || fail "$what"
}
finish() {
    [ "$FAILURES" = 0 ] || die "$FAILURES check(s) failed"
    echo "[$NAME] passed" >&2
}

# A scratch folder, removed at exit; world-readable, so that an unprivileged user can run what
# is installed in it.
new_scratch() {
    SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/tickbell-$NAME.XXXXXX")
    chmod 755 "$SCRATCH"
    trap 'rm -rf "$SCRATCH"' EXIT
}

# An unprivileged user with a home and a runtime folder of its own in SCRATCH; root would
# write anywhere. "${AS_USER[@]}" CMD runs CMD as that user in a clean environment (add
# VAR=value words before CMD); setpriv and env exec, so "${AS_USER[@]}" CMD & leaves $! the
# pid of CMD itself.
USER_ID=65534
make_user_home() {
    if [ "$(id -u)" != 0 ]; then
        [ "$FAILURES" = 0 ] || die "$FAILURES check(s) failed"
        echo "[$NAME] skipped the rest: acting as another user needs root" >&2
        exit 77
    fi
    USER_HOME=$SCRATCH/user-home
    USER_RUNTIME=$SCRATCH/user-runtime
    mkdir -p "$USER_HOME" "$USER_RUNTIME"
    chmod 700 "$USER_RUNTIME"
    chown -R "$USER_ID:$USER_ID" "$USER_HOME" "$USER_RUNTIME"
    AS_USER=(setpriv --reuid="$USER_ID" --regid="$USER_ID" --clear-groups -- env -i PATH=/usr/bin:/bin
        HOME="$USER_HOME" XDG_CONFIG_HOME="$USER_HOME/.config" XDG_RUNTIME_DIR="$USER_RUNTIME"
        TZ=Asia/Shanghai LC_ALL=C.UTF-8)
}

# Every file and symlink under a folder with its type, mode and content hash, one a line.
fingerprint() {
    (cd "$1" && find . -mindepth 1 -printf '%y %m %p\n' | sort && find . -type f -print0 | sort -z |
        xargs -0 -r sha256sum)
}

png_size() { # FILE -> "WIDTHxHEIGHT" from the PNG header
    local w h
    w=$(od -An -tu1 -j16 -N4 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }')
    h=$(od -An -tu1 -j20 -N4 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }')
    echo "${w}x${h}"
}

desktop_key() { # FILE KEY -> the value in the [Desktop Entry] group
    awk -F= -v key="$2" '/^\[/ { inside = ($0 == "[Desktop Entry]") } inside && $1 == key { sub(/^[^=]*=/, ""); print; exit }' "$1"
}
