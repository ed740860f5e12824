#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The tools in plug/ started by the real program: keys 6, 9 and 0 and the five items of the 工具
# menu bring up their windows (the calculator is a stand-in on the program's PATH), and Esc
# closes them; 时间校正's 校正系统时间 asks timedated to switch network time on; a second key 9
# starts no second calculator while the first runs, and a second key 0 brings the first
# 转仓计算器 forward instead of opening another; 快速关机 from the menu is cancelled with Esc and
# asks nothing of the system. Then, with shutdown15:1, the clock moved to
# the close: at 15:00:08 the countdown comes up and, left alone, a minute later asks logind to
# power off, on the test's own system bus.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu.sh"
e2e_init "$@"
e2e_deadline 290
e2e_require xmessage
e2e_start_display
e2e_start_system_bus

# The clock tool asks only the loopback, on a port where nothing listens. The program folder can
# be written, so it keeps config.txt and tools.ini.
printf '[clocktool]\nservers=127.0.0.1:9\n' >"$E2E_APP/tools.ini"
# The system's calculator: a stand-in that notes its pid and shows a window.
bin=$E2E_SCRATCH/bin
calculators=$E2E_SCRATCH/calculators.pids
mkdir -p "$bin"
: >"$calculators"
printf '#!/bin/sh\necho $$ >>"%s"\nexec xmessage -title "stand-in calculator" calculator\n' "$calculators" >"$bin/galculator"
chmod +x "$bin/galculator"
# The shipped settings with the shutdown after the close switched on (ASCII, the same in GBK).
sed 's/^shutdown15:0/shutdown15:1/' "$E2E_APP/plug/config.txt" >"$E2E_APP/config.txt"
grep -q '^shutdown15:1' "$E2E_APP/config.txt" || e2e_fail "could not switch shutdown15 on"

PATH="$bin:$PATH" e2e_start_program --at '2010-02-10 14:50:00'
main=$(e2e_wait_window '^Tickbellv1\.32 - Orro SOFT$' 30) || e2e_fail "the main window did not appear"

# The tool's window comes up; a picture is kept, and it is closed with Esc.
tool_window() # TITLE_ERE WHAT PICTURE
{
    local wid
    wid=$(e2e_wait_window "$1" 20) || e2e_fail "$2 showed no window titled /$1/"
    e2e_screenshot "$wid" "$E2E_OUT/$3.png"
    e2e_key "$wid" Escape
    e2e_wait_until 10 e2e__window_gone "$wid" || e2e_fail "$2 did not close on Esc"
    e2e_log "$2: window seen and closed with Esc"
}
# abacus.exe stays while its calculator runs, and ends with it.
abacus_gone() { ! pgrep -f "^$E2E_APP/plug/abacus.exe" >/dev/null; }
calculator_window() # WHAT
{
    local wid
    wid=$(e2e_wait_window '^stand-in calculator$' 20) || e2e_fail "$1 started no calculator"
    kill "$(tail -n 1 "$calculators")"
    e2e_wait_until 10 e2e__window_gone "$wid" || e2e_fail "the stand-in calculator stayed"
    e2e_wait_until 10 abacus_gone || e2e_fail "abacus.exe stayed after its calculator ended"
    e2e_log "$1: the system's calculator started"
}

# 时间校正 from key 6; its 校正系统时间 (Alt+S) has timedated switch network time on, and then,
# network time being on, asks nothing more.
e2e_key "$main" 6
clock=$(e2e_wait_window '^时间校正$' 20) || e2e_fail "key 6 showed no window titled 时间校正"
e2e_key "$clock" alt+s
synced() { grep -q 'SetNTP' "$E2E_SYSTEM_CALLS"; }
e2e_wait_until 20 synced || e2e_fail "校正系统时间 asked nothing of timedated"
# Network time was off: the tool read so, then asked for it.
[ "$(cat "$E2E_SYSTEM_CALLS")" = $'org.freedesktop.DBus.Properties.Get org.freedesktop.timedate1 NTP\norg.freedesktop.timedate1.SetNTP true true' ] ||
    e2e_fail "the system was asked: $(cat "$E2E_SYSTEM_CALLS")"
: >"$E2E_SYSTEM_CALLS"
# Again, with network time on now: the tool reads so and asks nothing more.
e2e_key "$clock" alt+s
read_again() { grep -q 'Properties.Get' "$E2E_SYSTEM_CALLS"; }
e2e_wait_until 20 read_again || e2e_fail "校正系统时间 did not read timedated's NTP property again"
sleep 2 # time enough for a request that must not come
[ "$(cat "$E2E_SYSTEM_CALLS")" = 'org.freedesktop.DBus.Properties.Get org.freedesktop.timedate1 NTP' ] ||
    e2e_fail "with network time on, the system was asked: $(cat "$E2E_SYSTEM_CALLS")"
e2e_screenshot "$clock" "$E2E_OUT/clocktool-ntp-on.png"
: >"$E2E_SYSTEM_CALLS"
e2e_close_request "$clock"
e2e_wait_until 10 e2e__window_gone "$clock" || e2e_fail "时间校正 did not close on a close request"
e2e_log "key 6: 时间校正 seen; 校正系统时间 asked timedated for network time, once"
# Key 9 twice: the second start finds the first, which still runs its calculator.
e2e_key "$main" 9
e2e_wait_window '^stand-in calculator$' 20 >/dev/null || e2e_fail "key 9 started no calculator"
e2e_key "$main" 9
found() { grep -q 'the calculator is already running' "$E2E_STDERR"; }
e2e_wait_until 20 found || e2e_fail "the second key 9 did not reach the running abacus.exe"
[ "$(wc -l <"$calculators")" = 1 ] || e2e_fail "key 9 pressed twice started $(wc -l <"$calculators") calculators"
calculator_window "key 9 twice: one calculator"
e2e_key "$main" 0
tool_window '^转仓计算器$' "key 0" posmover

# A second start brings the first forward: one window, whatever the number of presses.
e2e_key "$main" 0
first=$(e2e_wait_window '^转仓计算器$' 20) || e2e_fail "key 0 showed no window"
e2e_key "$main" 0
sleep 3 # time for a second copy to show a window of its own
windows=$(xdotool search --onlyvisible --name '^转仓计算器$' | wc -l)
[ "$windows" = 1 ] || e2e_fail "key 0 pressed twice shows $windows windows titled 转仓计算器"
e2e_close_request "$first"
e2e_wait_until 10 e2e__window_gone "$first" || e2e_fail "转仓计算器 did not close"

# 工具: 常规计算器 9, 时间校正器, 转仓计算器 0, 涨停版计算, 快速关机.
e2e_menu_choose "$main" 3 1
calculator_window "工具 > 常规计算器 9"
e2e_menu_choose "$main" 3 2
tool_window '^时间校正$' "工具 > 时间校正器" clocktool-menu
e2e_menu_choose "$main" 3 3
tool_window '^转仓计算器$' "工具 > 转仓计算器 0" posmover-menu
e2e_menu_choose "$main" 3 4
tool_window '^涨停版计算$' "工具 > 涨停版计算" ceilprice
e2e_menu_choose "$main" 3 5
countdown=$(e2e_wait_window ' 秒后关机 - 快速关机$' 20) || e2e_fail "工具 > 快速关机 showed no countdown"
e2e_screenshot "$countdown" "$E2E_OUT/poweroff.png"
e2e_key "$countdown" Escape
e2e_wait_until 10 e2e__window_gone "$countdown" || e2e_fail "Esc did not close the countdown"
[ ! -s "$E2E_SYSTEM_CALLS" ] || e2e_fail "the cancelled countdown asked the system: $(cat "$E2E_SYSTEM_CALLS")"
e2e_log "工具 > 快速关机: countdown seen, Esc cancelled it"

# The close: at 15:00:08 the countdown, and a minute later the request to power off.
e2e_set_clock '2010-02-10 15:00:00'
countdown=$(e2e_wait_window ' 秒后关机 - 快速关机$' 30) || e2e_fail "no countdown after 15:00:08 with shutdown15:1"
shown=$(e2e_now)
title=$(e2e_window_title "$countdown")
[[ $title =~ ^(60|59|58)\ 秒后关机\ -\ 快速关机$ ]] || e2e_fail "the countdown started at '$title'"
asked() { grep -q 'PowerOff' "$E2E_SYSTEM_CALLS"; }
e2e_wait_until 80 asked || e2e_fail "no PowerOff call within 80 s of the countdown (calls: $(cat "$E2E_SYSTEM_CALLS"))"
waited=$(awk -v a="$(e2e_now)" -v b="$shown" 'BEGIN { printf "%.1f", a - b }')
e2e_log "PowerOff asked ${waited} s after the countdown showed"
awk -v w="$waited" 'BEGIN { exit !(w >= 55) }' || e2e_fail "PowerOff was asked after only ${waited} s"
calls=$(cat "$E2E_SYSTEM_CALLS")
[ "$calls" = 'org.freedesktop.login1.Manager.PowerOff true' ] || e2e_fail "the system was asked: $calls"
# The system took it: the countdown goes.
e2e_wait_until 10 e2e__window_gone "$countdown" || e2e_fail "the countdown stayed after the system took the request"
