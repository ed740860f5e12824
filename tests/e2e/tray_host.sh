#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The tray icon follows the desktop's tray: the program starts beside a status-notifier tray (a
# stand-in on the test's own session bus) and registers its item there; the stand-in ends and an
# X11 tray (trayer) takes its place: the icon is docked there within a few seconds, and its click
# brings the window back. trayer ends and the status-notifier tray comes back: the item registers
# with it again.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_require trayer python3
e2e_start_display

standins=$E2E_SCRATCH/desktop.log
start_standin()
{
    : >"$standins"
    /usr/bin/python3 "$E2E_SRC/tests/e2e/desktop_standins.py" "$DBUS_SESSION_BUS_ADDRESS" "$standins" \
        </dev/null >"$E2E_SCRATCH/standins.log" 2>&1 &
    STANDIN=$!
    E2E__PIDS+=("$STANDIN")
    e2e_wait_until 30 grep -qs '^ready' "$E2E_SCRATCH/standins.log" || e2e_fail "the tray stand-in did not start"
}
registered() { grep -qs '"item"' "$standins"; }
# The program's icon window inside trayer's panel, at a tray icon's size.
docked()
{
    local panel
    panel=$(xdotool search --onlyvisible --classname '^panel$' 2>/dev/null | head -n 1) || return 1
    [ -n "$panel" ] && xwininfo -tree -id "$panel" 2>/dev/null | grep -Eq '"tickbell".* (1[6-9]|[2-6][0-9])x(1[6-9]|[2-6][0-9])\+'
}

start_standin
e2e_start_program --at '2027-01-04 10:00:00'
main=$(e2e_wait_window '^Tickbellv1\.32 - Orro SOFT$' 30) || e2e_fail "no main window"
e2e_wait_until 20 registered || e2e_fail "the item did not register with the status-notifier tray"

kill "$STANDIN"
trayer --SetDockType false --transparent false </dev/null >"$E2E_SCRATCH/trayer.log" 2>&1 &
TRAYER=$!
E2E__PIDS+=("$TRAYER")
since=$(e2e_now)
e2e_wait_until 8 docked || e2e_fail "the icon did not dock in the X11 tray within 8 s: $(xwininfo -root -tree | grep -A6 '"panel"')"
e2e_log "docked in the X11 tray $(awk -v a="$since" -v b="$(e2e_now)" 'BEGIN { printf "%.1f", b - a }') s after it started"
import -window root "$E2E_OUT/x11-tray.png" 2>>"$E2E_SCRATCH/import.log"
# Its click brings the minimised window back.
e2e_key "$main" Escape
e2e_wait_until 10 eval '[[ $(e2e_window_state "$main") == *HIDDEN* ]]' || e2e_fail "Escape did not minimise the window"
icon=$(xwininfo -root -tree | awk '/"tickbell": \("tickbell"/ && / (1[6-9]|[2-6][0-9])x/ { print $1 }' | tail -n 1)
xdotool mousemove --window "$icon" 8 8 click 1
e2e_wait_until 10 eval '[[ $(e2e_window_state "$main") != *HIDDEN* ]]' || e2e_fail "a click on the X11 tray's icon did not bring the window back"

kill "$TRAYER"
start_standin
since=$(e2e_now)
e2e_wait_until 8 registered || e2e_fail "the item did not register with the status-notifier tray that came back"
e2e_log "registered again $(awk -v a="$since" -v b="$(e2e_now)" 'BEGIN { printf "%.1f", b - a }') s after the tray came back"
e2e_program_running || e2e_fail "the program ended"
