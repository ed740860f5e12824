#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Keys, close and exit on the real program under openbox: Escape minimises and the program runs
# on; the window manager's close only minimises, and the next reminder still comes; Ctrl+Q ends
# the program at once with status 0 and leaves config.txt untouched; SIGTERM ends it; a second
# start while one runs ends at once and brings the minimised window back.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_require xwininfo cmp stat
e2e_start_display

config=$E2E_APP/config.txt
title_re='^Tickbellv1\.32 - Orro SOFT$'
has_state() { [[ ,$(e2e_window_state "$main"), == *,$1,* ]]; }
lacks_state() { ! has_state "$1"; }
console_lines() { wc -l <"$E2E_CONSOLE"; }
# For failure messages: $program_is tells whether the program runs and where it waits, or how it ended.
check_program()
{
    if e2e_program_running; then
        program_is="is running (state $(awk '/^State:/ { print $2 }' "/proc/$E2E_PID/status"), in $(cat "/proc/$E2E_PID/wchan"))"
    elif [ -n "$E2E_PID" ] && e2e_wait_program_exit 0; then
        program_is="ended with status $E2E_EXIT_STATUS"
    else
        program_is="is not running"
    fi
}

# Running copies of this test's program (other tests' copies live in other folders).
copies()
{
    local exe n=0
    for exe in /proc/[0-9]*/exe; do
        [ "$(readlink "$exe" 2>/dev/null)" = "$E2E_APP/tickbell" ] && n=$((n + 1))
    done
    echo "$n"
}

# A settings file the program would never write itself (LF line ends, records out of order,
# a rule of our own), so that any rewrite shows in its bytes.
printf 'qqnews:0\nform1.law1:my own rule<br>second line\nflashweb:0\nssoft:0\nshutdown15:0\nmysoft=\n' |
    iconv -f UTF-8 -t GBK >"$config"
cp -p "$config" "$E2E_SCRATCH/config.before"
config_mtime=$(stat -c %.9Y "$config")

# --- Escape and the window manager's close only minimise; the reminders go on.
# Minutes before the 09:40 key point; the clock is moved up to it once the steps below are done.
e2e_start_program --at '2010-02-10 09:35:00'
main=$(e2e_wait_window "$title_re" 30) || { check_program; e2e_fail "the main window did not appear; the program $program_is"; }
e2e_wait_console status '股市开盘中...' 30 || e2e_fail "no 'status: 股市开盘中...' at 09:35"

e2e_key "$main" Escape
e2e_wait_until 10 has_state _NET_WM_STATE_HIDDEN ||
    e2e_fail "Escape did not minimise the window; its state is '$(e2e_window_state "$main")'"
e2e_program_running || e2e_fail "the program ended on Escape"

wmctrl -i -a "$main"
e2e_wait_until 10 lacks_state _NET_WM_STATE_HIDDEN || e2e_fail "wmctrl -a did not restore the window"
e2e_console_has status '盘中关键点..' &&
    e2e_fail "09:40 came before the close request could be made (the clock is at $(e2e_clock_now))"
closed_at_line=$(console_lines)
e2e_close_request "$main"
e2e_wait_until 10 has_state _NET_WM_STATE_HIDDEN ||
    e2e_fail "the window manager's close did not minimise the window; its state is '$(e2e_window_state "$main")'"
xwininfo -id "$main" >/dev/null 2>&1 || e2e_fail "the close request destroyed the main window"
e2e_program_running || e2e_fail "the program ended on the window manager's close"
e2e_set_clock '2010-02-10 09:39:57'
e2e_wait_console status '盘中关键点..' 30 || {
    check_program
    e2e_fail "after the close no 'status: 盘中关键点..' by 09:40; the program $program_is; status lines: $(e2e_console_texts status | tr '\n' '|')"
}
line=$(e2e_console_line_no status '盘中关键点..')
[ "$line" -gt "$closed_at_line" ] || e2e_fail "the 09:40 status came before the close request"
e2e_console_has prompt '盘中关键时间点1.wav' || e2e_fail "no 09:40 prompt after the close; prompts: $(e2e_console_texts prompt | tr '\n' '|')"
has_state _NET_WM_STATE_HIDDEN || e2e_fail "the window came back by itself at 09:40"

# --- Ctrl+Q: the program ends at once, status 0, and the settings file is left alone.
wmctrl -i -a "$main"
e2e_wait_until 10 lacks_state _NET_WM_STATE_HIDDEN || e2e_fail "wmctrl -a did not restore the window"
e2e_key "$main" ctrl+q
pressed=$(e2e_now) # once the key is sent: activating the window first may take a while
e2e_wait_program_exit 10 || e2e_fail "Ctrl+Q did not end the program within 10 s"
took=$(awk -v a="$E2E_ENDED" -v b="$pressed" 'BEGIN { printf "%.2f", a - b }')
e2e_log "Ctrl+Q: ended after ${took}s with status $E2E_EXIT_STATUS"
[ "$E2E_EXIT_STATUS" = 0 ] || e2e_fail "Ctrl+Q ended the program with status $E2E_EXIT_STATUS"
awk -v t="$took" 'BEGIN { exit !(t < 3) }' || e2e_fail "Ctrl+Q took ${took}s to end the program"
cmp "$config" "$E2E_SCRATCH/config.before" || e2e_fail "config.txt changed during the run"
[ "$(stat -c %.9Y "$config")" = "$config_mtime" ] || e2e_fail "config.txt was written again (its time changed)"

# --- SIGTERM ends it.
e2e_start_program --at '2010-02-10 10:05:00'
main=$(e2e_wait_window "$title_re" 30) || { check_program; e2e_fail "the main window did not appear for the SIGTERM run; the program $program_is"; }
kill -TERM "$E2E_PID"
e2e_wait_program_exit 10 || e2e_fail "SIGTERM did not end the program within 10 s"
e2e_log "SIGTERM: ended with status $E2E_EXIT_STATUS"
[ "$(copies)" = 0 ] || e2e_fail "a copy of the program still runs after SIGTERM"

# --- A second start while one runs: it ends at once and the first window comes back.
e2e_start_program --at '2010-02-10 10:05:00'
main=$(e2e_wait_window "$title_re" 30) || { check_program; e2e_fail "the main window did not appear after the SIGTERM run; the program $program_is"; }
first=$E2E_PID
e2e_key "$main" Escape
e2e_wait_until 10 has_state _NET_WM_STATE_HIDDEN || e2e_fail "Escape did not minimise the window"

# The second copy writes to files of its own, so the first one's console stays whole.
first_console=$E2E_CONSOLE first_stderr=$E2E_STDERR
E2E_CONSOLE=$E2E_OUT/second-console.txt E2E_STDERR=$E2E_OUT/second-stderr.txt
e2e_start_program --at '2010-02-10 10:05:00'
second=$E2E_PID
e2e_wait_program_exit 10 || { E2E_PID=$second; e2e_fail "the second start did not end within 10 s"; }
E2E_CONSOLE=$first_console E2E_STDERR=$first_stderr E2E_PID=$first
e2e_log "second start: ended after $(awk -v a="$E2E_ENDED" -v b="$E2E_STARTED" 'BEGIN { printf "%.2f", a - b }')s with status $E2E_EXIT_STATUS; it said: $(cat "$E2E_OUT/second-stderr.txt")"
[ "$E2E_EXIT_STATUS" = 0 ] || e2e_fail "the second start ended with status $E2E_EXIT_STATUS"
e2e_program_running || e2e_fail "the first copy ended when the second started"
[ "$(copies)" = 1 ] || e2e_fail "$(copies) copies of the program run after the second start"
e2e_wait_until 10 lacks_state _NET_WM_STATE_HIDDEN ||
    e2e_fail "the second start did not restore the minimised window; its state is '$(e2e_window_state "$main")'"
xwininfo -id "$main" | grep -q IsViewable || e2e_fail "the restored window is not viewable"
[ "$(xdotool search --onlyvisible --name "$title_re" | wc -l)" = 1 ] || e2e_fail "more than one main window is shown"
e2e_screenshot "$main" "$E2E_OUT/restored.png"
