#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Window menu on the real program under openbox: 置顶 puts _NET_WM_STATE_ABOVE on the main
# window and 常规 takes it off; 置顶 survives minimising (Escape) and restoring; 低层 takes it off
# and puts the window below another program's window. The window never moves or changes size.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu.sh"
e2e_init "$@"
e2e_require xmessage xwininfo
e2e_start_display

e2e_start_program --at '2010-02-10 10:05:00'
main=$(e2e_wait_window '^Tickbellv1\.32 - Orro SOFT$' 30) || e2e_fail "the main window did not appear"

# The Window menu is the fourth; its items 常规 置顶 低层 最小化.
choose() { e2e_menu_choose "$main" 4 "$1"; }
has_state() { [[ ,$(e2e_window_state "$main"), == *,$1,* ]]; }
lacks_state() { ! has_state "$1"; }
geometry() { xwininfo -id "$main" | awk -F: '/Absolute upper-left|Width|Height/ { gsub(/ /, "", $2); printf "%s ", $2 }'; }
# Openbox animates minimising and restoring by moving the frame for a moment: wait for it to settle.
at_home() { [ "$(geometry)" = "$home" ]; }
same_place()
{
    e2e_wait_until 10 at_home || e2e_fail "$1: the window moved or changed size: x y w h was '$home', now '$(geometry)'"
}
# Position of a window in the stacking order, bottom first.
stack_index()
{
    xprop -root _NET_CLIENT_LIST_STACKING | sed 's/^[^#]*# //' | tr -d ' ' | tr ',' '\n' |
        awk -v w="$(printf '0x%x' "$1")" 'tolower($0) == w { print NR; found = 1 } END { if (!found) print 0 }'
}
is_active() { [ "$(xdotool getactivewindow)" = "$1" ]; }
stacking() { xprop -root _NET_CLIENT_LIST_STACKING | sed 's/^[^#]*# //'; }
# True when both windows are in the list and the first is lower.
below()
{
    local a b
    a=$(stack_index "$1") b=$(stack_index "$2")
    [ "$a" -gt 0 ] && [ "$b" -gt 0 ] && [ "$a" -lt "$b" ]
}

home=$(geometry)
e2e_log "main window $main at x y w h: $home"
lacks_state _NET_WM_STATE_ABOVE || e2e_fail "the window starts above the others: state $(e2e_window_state "$main")"

# 置顶, then 常规.
choose 2
e2e_wait_until 10 has_state _NET_WM_STATE_ABOVE ||
    e2e_fail "after 窗口 > 置顶 the state is '$(e2e_window_state "$main")', without _NET_WM_STATE_ABOVE"
same_place "置顶"
choose 1
e2e_wait_until 10 lacks_state _NET_WM_STATE_ABOVE ||
    e2e_fail "after 窗口 > 常规 the state still has _NET_WM_STATE_ABOVE: $(e2e_window_state "$main")"
same_place "常规"

# Another program's window, active and on top of ours.
xmessage -name tickbell-e2e-other -title 'other window' 'another program' </dev/null >/dev/null 2>&1 &
E2E__PIDS+=($!)
other=$(e2e_wait_window '^other window$' 20) || e2e_fail "xmessage did not open its window"
wmctrl -i -a "$other"
e2e_wait_until 10 below "$main" "$other" || e2e_fail "activating xmessage did not put it above the main window: $(stacking)"

# 置顶, minimise, restore: still above, also when the other window is activated again.
choose 2
e2e_wait_until 10 has_state _NET_WM_STATE_ABOVE || e2e_fail "置顶 did not set _NET_WM_STATE_ABOVE again"
e2e_key "$main" Escape
e2e_wait_until 10 has_state _NET_WM_STATE_HIDDEN || e2e_fail "Escape did not minimise the window: $(e2e_window_state "$main")"
has_state _NET_WM_STATE_ABOVE || e2e_fail "minimised, the window lost _NET_WM_STATE_ABOVE: $(e2e_window_state "$main")"
wmctrl -i -a "$main"
e2e_wait_until 10 lacks_state _NET_WM_STATE_HIDDEN || e2e_fail "wmctrl -a did not restore the window"
has_state _NET_WM_STATE_ABOVE || e2e_fail "restored, the window lost _NET_WM_STATE_ABOVE: $(e2e_window_state "$main")"
same_place "置顶, minimised and restored"
wmctrl -i -a "$other"
e2e_wait_until 10 is_active "$other" || e2e_fail "xmessage could not be activated"
below "$other" "$main" || e2e_fail "on top, the main window went below the active xmessage: $(stacking)"
e2e_screenshot "$main" "$E2E_OUT/on-top.png"

# 低层: off the top layer and below xmessage (the click on the menu bar raised it first).
choose 3
e2e_wait_until 10 lacks_state _NET_WM_STATE_ABOVE ||
    e2e_fail "after 窗口 > 低层 the state still has _NET_WM_STATE_ABOVE: $(e2e_window_state "$main")"
e2e_wait_until 10 below "$main" "$other" ||
    e2e_fail "after 窗口 > 低层 the main window (at $(stack_index "$main")) is not below xmessage (at $(stack_index "$other")): $(stacking)"
same_place "低层"
e2e_program_running || e2e_fail "the program ended"

# With 置顶 marked, every window the program opens comes up above the main window: the settings
# dialog (through the menu), the viewer (key 1) and the message box of an unset trading program
# (key 8; the shipped settings leave its path empty).
choose 2
e2e_wait_until 10 has_state _NET_WM_STATE_ABOVE || e2e_fail "置顶 did not set _NET_WM_STATE_ABOVE for the dialogs"
opened_above() # WHAT TITLE_ERE CLOSE_KEYS...
{
    local what=$1 title=$2 window
    shift 2
    window=$(e2e_wait_window "$title" 20) || e2e_fail "$what did not open"
    e2e_wait_until 10 below "$main" "$window" ||
        e2e_fail "$what opened below the main window on top: $(stacking) (main $main, $what $window)"
    e2e_key "$window" "$@"
    e2e_wait_until 10 eval "! xdotool search --onlyvisible --name '$title' >/dev/null" || e2e_fail "$what did not close"
}
e2e_key "$main" alt Right Down Return
opened_above "the settings dialog" '^系统设置$' alt+F4
e2e_key "$main" 1
opened_above "the viewer" '^买入纪律 - ' Escape
e2e_key "$main" 8
opened_above "the message box" '^未设置软件路径 \.\.\.$' Return
e2e_program_running || e2e_fail "the program ended"
