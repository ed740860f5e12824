#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on a desktop of its own: a D-Bus session bus, Xvfb, openbox, and PulseAudio on
# a null sink. Everything started here is stopped when the command ends; the servers run in
# sessions of their own so that a Ctrl+C reaches the program first.
# The bus comes first and goes last, and is this desktop's even when the caller has one: without
# it libdbus "autolaunches" a bus on the X display for the first client that asks (Qt's
# accessibility bridge, PulseAudio), which has hung the program and outlived it. Clients of the
# sound server never start a server of their own either.
#   headless-desktop.sh program [args...]
set -euo pipefail

work=$(mktemp -d /tmp/tickbell-desktop.XXXXXX)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
pids=() # in the order started; stopped in reverse

alive() { kill -0 "$1" 2>/dev/null && ! grep -q '^[0-9]* ([^)]*) Z' "/proc/$1/stat" 2>/dev/null; }
# Asks a process to end, insists after ten seconds, and reaps it when it is ours.
stop() {
    kill "$1" 2>/dev/null || return 0
    local i
    for ((i = 0; i < 100; i++)); do
        alive "$1" || break
        sleep 0.1
    done
    if alive "$1"; then kill -KILL "$1" 2>/dev/null || true; fi
    wait "$1" 2>/dev/null || true
}
cleanup() {
    trap - EXIT INT TERM
    # The program first, then the sound server, then what they ran on.
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        if [ "${pids[i]}" = pulseaudio ]; then
            [ -f "$XDG_RUNTIME_DIR/pulse/pid" ] && stop "$(cat "$XDG_RUNTIME_DIR/pulse/pid")"
        else
            stop "${pids[i]}"
        fi
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Waits up to 30 s for a command to succeed.
wait_for() {
    local i
    for ((i = 0; i < 300; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# shellcheck source=scripts/session-bus.sh
source "$(dirname "$0")/session-bus.sh"
session_bus_start "$work" || { echo "headless-desktop: the session bus did not start" >&2; exit 1; }
pids+=("$SESSION_BUS_PID")

# The server picks a free display itself and says which when it is ready.
: >"$work/display"
setsid Xvfb -displayfd 9 -screen 0 1280x800x24 -nolisten tcp 9>"$work/display" </dev/null >"$work/xvfb.log" 2>&1 &
pids+=($!)
wait_for grep -q '[0-9]' "$work/display" || { echo "headless-desktop: Xvfb did not start" >&2; exit 1; }
DISPLAY=:$(tr -dc '0-9' <"$work/display")
export DISPLAY

setsid openbox </dev/null >"$work/openbox.log" 2>&1 &
pids+=($!)

cat >"$work/pulse.pa" <<'PA'
load-module module-null-sink sink_name=nullsink
load-module module-native-protocol-unix auth-anonymous=1
set-default-sink nullsink
PA
printf 'autospawn = no\n' >"$work/pulse-client.conf"
export PULSE_CLIENTCONFIG=$work/pulse-client.conf
pids+=(pulseaudio) # by its pid file
# It registers on our bus; without the display it could not launch one of its own.
env -u DISPLAY setsid pulseaudio -n -F "$work/pulse.pa" --exit-idle-time=-1 --daemonize=yes \
    --log-target="file:$work/pulse.log" </dev/null >/dev/null 2>&1 ||
    echo "headless-desktop: no sound server; prompts will be silent" >&2

echo "headless-desktop: running on display $DISPLAY (connect a viewer, or watch the lines below)" >&2
"$@" &
child=$!
pids+=("$child")
set +e
wait "$child"
exit $?
