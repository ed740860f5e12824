# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# A real NTP server for the tests and the benchmarks (sourced): Debian's chronyd on 127.0.0.1,
# on a free port, with a config and scratch folder of its own, its clock moved by libfaketime.
# -x: it never sets this machine's clock; with no command socket it touches nothing of a
# chronyd the system may run.
#   chrony_start FOLDER OFFSET   OFFSET: seconds from the real clock, with a sign and fractions
#                                ("+2.5", "-531234567.5"); give the program the same base.
# Sets CHRONY_PID and CHRONY_PORT once it answers (up to 10 s); false when it does not. The
# caller stops it by its pid.
chrony_start()
{
    local folder=$1 offset=$2 found=(/usr/lib/*/faketime/libfaketime.so.1)
    local lib=${found[0]}
    [ -e "$lib" ] || { echo "chrony_start: libfaketime is missing (package faketime)" >&2; return 1; }
    # Unpacked by scripts/install-deps.sh --test; an installed chrony serves as well.
    local chronyd
    for chronyd in /var/cache/tickbell-tests/chrony/usr/sbin/chronyd "$(command -v chronyd)" /usr/sbin/chronyd; do
        [ -x "$chronyd" ] && break
    done
    [ -x "$chronyd" ] ||
        { echo "chrony_start: chronyd is missing (scripts/install-deps.sh --test unpacks it)" >&2; return 1; }
    CHRONY_PORT=$(python3 -c 'import socket; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    mkdir -p "$folder"
    cat >"$folder/chrony.conf" <<CONF
local stratum 8
allow 127.0.0.1
bindaddress 127.0.0.1
port $CHRONY_PORT
cmdport 0
bindcmdaddress /
pidfile $folder/chronyd.pid
driftfile $folder/chrony.drift
CONF
    LD_PRELOAD=$lib FAKETIME=$offset FAKETIME_DONT_FAKE_MONOTONIC=1 \
        "$chronyd" -x -d -u "$(id -un)" -f "$folder/chrony.conf" \
        </dev/null >"$folder/chronyd.log" 2>&1 &
    CHRONY_PID=$!
    local i
    for ((i = 0; i < 100; i++)); do
        chrony__answers "$CHRONY_PORT" && return 0
        kill -0 "$CHRONY_PID" 2>/dev/null || break
        sleep 0.1
    done
    echo "chrony_start: chronyd did not answer on 127.0.0.1:$CHRONY_PORT (see $folder/chronyd.log)" >&2
    return 1
}

# One SNTP request; true when a server answers on the port.
chrony__answers() # PORT
{
    python3 - "$1" <<'PY' 2>/dev/null
import socket, sys
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.settimeout(0.2)
s.sendto(b"\x23" + bytes(47), ("127.0.0.1", int(sys.argv[1])))
sys.exit(0 if len(s.recvfrom(512)[0]) >= 48 else 1)
PY
}
