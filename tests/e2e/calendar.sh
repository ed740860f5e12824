#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# 工具 > 交易日历 completes a year the holidays file does not cover: on Friday 2027-10-08, a
# trading day by the rules (the National Day week ends on the 7th), the trader opens the calendar
# from the menu, pastes the exchange's notice that closes 1 to 8 October, reads it and saves.
# The program folder's holidays.txt then holds the day, its other lines byte for byte, and the
# next tick says "假日休盘...",
# without a restart. On a 1366 x 768 screen, where the window only fits when it opens inside it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu.sh"
e2e_init "$@"
e2e_require xclip
cp "$E2E_RUN_DIR/statutory-holidays.txt" "$E2E_APP/"
e2e_start_display 1366x768x24

# A window's frame: left top right bottom.
frame_of() # WID
{
    local x y w h l r t b
    eval "$(xwininfo -id "$1" | awk -F: '/Absolute upper-left X/ {print "x=" $2+0} /Absolute upper-left Y/ {print "y=" $2+0}
        /^ *Width/ {print "w=" $2+0} /^ *Height/ {print "h=" $2+0}')"
    read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    echo $((x - l)) $((y - t)) $((x + w + r)) $((y + h + b))
}

# The window wholly inside the work area and over the middle of the window OWNER.
inside_and_over() # WID OWNER
{
    local left top right bottom ax ay aw ah ol ot or ob
    read -r left top right bottom < <(frame_of "$1")
    read -r ol ot or ob < <(frame_of "$2")
    read -r ax ay aw ah _ < <(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g')
    ((left >= ax && top >= ay && right <= ax + aw && bottom <= ay + ah &&
        left <= (ol + or) / 2 && (ol + or) / 2 <= right && top <= (ot + ob) / 2 && (ot + ob) / 2 <= bottom))
}

e2e_start_program --at '2027-10-08 09:58:00'
main=$(e2e_wait_window '^Tickbellv1\.32 - Orro SOFT$' 30) || e2e_fail "no main window"
e2e_wait_console status '股市开盘中...' 30 ||
    e2e_fail "2027-10-08 is not a trading day before the announcement: $(e2e_console_texts status | tr '\n' '|')"
# The main window in the bottom right corner: the calendar, centred over it, would not fit.
xdotool windowmove --sync "$main" 900 420
# 工具: its sixth item, after the design's five.
e2e_menu_choose "$main" 3 6
calendar=$(e2e_wait_window '^交易日历$' 30) || e2e_fail "工具 > 交易日历 opened no window titled 交易日历"
e2e_wait_until 10 inside_and_over "$calendar" "$main" ||
    e2e_fail "交易日历 does not open inside the screen over the main window: $(frame_of "$calendar"), main window $(frame_of "$main")"
import -window root "$E2E_OUT/calendar-screen.png"
e2e_screenshot "$calendar" "$E2E_OUT/calendar-before.png"

announcement='关于2027年国庆节休市安排的通知：2027年10月1日（星期五）至10月8日（星期五）休市，10月11日（星期一）起照常开市。'
printf '%s' "$announcement" >"$E2E_SCRATCH/announcement.txt"
xclip -quiet -selection clipboard -i "$E2E_SCRATCH/announcement.txt" 2>/dev/null &
clip=$!
# The keys' order from the days: the announcement, 识别公告, 保存.
e2e_key "$calendar" Tab ctrl+v
e2e_key "$calendar" Tab space
e2e_screenshot "$calendar" "$E2E_OUT/calendar-read.png"
kill "$clip" 2>/dev/null || true
wait "$clip" 2>/dev/null || true
# A day the pasted notice closes beside the worked-out ones says "announced".
has_day() { tr -d '\r' <"$E2E_APP/holidays.txt" | grep -qxE "$1( announced)?"; }
has_day 2027-10-08 && e2e_fail "holidays.txt changed before 保存"
cp "$E2E_APP/holidays.txt" "$E2E_SCRATCH/holidays-before.txt"
e2e_key "$calendar" Tab space
saved() { has_day 2027-10-08; }
e2e_wait_until 10 saved || e2e_fail "保存 did not write 2027-10-08 to holidays.txt: $(grep '^2027' "$E2E_APP/holidays.txt" | tr '\n' ' ')"
# Only lines added: every line it had stays byte for byte, line ends included.
changed=$(diff "$E2E_SCRATCH/holidays-before.txt" "$E2E_APP/holidays.txt" | grep '^<' || true)
[ -z "$changed" ] || e2e_fail "保存 changed lines of holidays.txt it had: $(head -n 3 <<<"$changed")"
e2e_screenshot "$calendar" "$E2E_OUT/calendar-saved.png"

e2e_wait_console status '假日休盘...' 10 ||
    e2e_fail "the next tick after saving does not say 假日休盘...: $(e2e_console_texts status | tr '\n' '|')"
e2e_log "saved 2027's days; the running day says 假日休盘..."
e2e_stop_program
