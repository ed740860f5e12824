#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on a desktop of its own: Xvfb, openbox, and PulseAudio on a null sink.
# Everything started here is stopped when the command ends; the servers run in sessions of
# their own so that a Ctrl+C reaches the program first.
#   headless-desktop.sh program [args...]
set -euo pipefail

work=$(mktemp -d /tmp/tickbell-desktop.XXXXXX)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() {
    # The program first, then what it runs on.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    pulseaudio --kill >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

# The first free display number.
n=90
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
setsid Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=:$n
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done

setsid openbox >"$work/openbox.log" 2>&1 &
pids+=($!)

cat >"$work/pulse.pa" <<'PA'
load-module module-null-sink sink_name=nullsink
load-module module-native-protocol-unix auth-anonymous=1
set-default-sink nullsink
PA
setsid pulseaudio -n -F "$work/pulse.pa" --exit-idle-time=-1 --daemonize=yes --log-target="file:$work/pulse.log" \
    >/dev/null 2>&1 || echo "headless-desktop: no sound server; prompts will be silent" >&2

echo "headless-desktop: running on display $DISPLAY (connect a viewer, or watch the lines below)" >&2
"$@" &
child=$!
pids+=("$child")
set +e
wait "$child"
status=$?
exit "$status"
