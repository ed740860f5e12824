# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# A D-Bus session bus of a desktop's own, for the test desktops and the run command's headless
# desktop (sourced). No service can be started through it, so it starts nothing itself.
#   session_bus_start FOLDER [--others]
# writes FOLDER/bus.conf, starts dbus-daemon in a session of its own with its socket in FOLDER/bus
# and its log in FOLDER/bus.log, and waits up to 30 s for its address. Sets SESSION_BUS_PID and
# exports DBUS_SESSION_BUS_ADDRESS; false when it did not start. --others: programs run as
# another user may connect too.
session_bus_start()
{
    local folder=$1 mode=700 others=
    if [ "${2:-}" = --others ]; then
        mode=755
        others='    <allow user="*"/>'
    fi
    mkdir -m "$mode" "$folder/bus"
    cat >"$folder/bus.conf" <<BUS
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$folder/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
$others
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
BUS
    : >"$folder/bus.address"
    setsid dbus-daemon --config-file="$folder/bus.conf" --nofork --nopidfile --print-address=9 \
        9>"$folder/bus.address" </dev/null >"$folder/bus.log" 2>&1 &
    SESSION_BUS_PID=$!
    local i
    for ((i = 0; i < 300; i++)); do
        grep -q '^unix:' "$folder/bus.address" && break
        sleep 0.1
    done
    grep -q '^unix:' "$folder/bus.address" || return 1
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$folder/bus.address")
    export DBUS_SESSION_BUS_ADDRESS
}
