#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The clock tool in New York against a real NTP server (chronyd on the loopback, 2.5 s ahead)
# and one port where nothing listens; the system's network time is on already. 校正系统时间
# reads timedated's NTP property and, finding it on, asks nothing more; 按标准时间提醒 (Alt+T)
# is written to tickbell.ini beside config.txt, where a running Tickbell takes it up.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu.sh"
source "$(dirname "$0")/chrony.sh"
e2e_init "$@"
command -v chronyd >/dev/null || [ -x /usr/sbin/chronyd ] ||
    e2e_fail "chronyd is missing: scripts/install-deps.sh --test installs it (package chrony)"
e2e_require python3
e2e_start_display
E2E_TIMEDATE_NTP=true e2e_start_system_bus

chrony_start "$E2E_SCRATCH/chrony" +2.5 ||
    e2e_fail "chronyd did not start: $(tail -n 5 "$E2E_SCRATCH/chrony/chronyd.log")"
E2E__PIDS+=("$CHRONY_PID")
mkdir -p "$XDG_CONFIG_HOME/tickbell"
printf '[clocktool]\nservers=127.0.0.1:%s, 127.0.0.1:9\n' "$CHRONY_PORT" >"$XDG_CONFIG_HOME/tickbell/tools.ini"

(cd "$E2E_APP" && TZ=America/New_York QT_QPA_PLATFORM=xcb exec plug/clocktool.exe) \
    </dev/null >"$E2E_OUT/clocktool.out" 2>"$E2E_OUT/clocktool.err" &
E2E__PIDS+=($!)
clock=$(e2e_wait_window '^时间校正$' 30) || e2e_fail "the clock tool showed no window"
measured() { grep -q 'measured: taken, 1 of 1 answers agree' "$E2E_OUT/clocktool.err"; }
e2e_wait_until 10 measured || e2e_fail "the tool took no measurement: $(cat "$E2E_OUT/clocktool.err")"
offset=$(sed -n 's/.*measured: taken, 1 of 1 answers agree, \(-\?[0-9]*\) us.*/\1/p' "$E2E_OUT/clocktool.err")
awk -v o="$offset" 'BEGIN { exit !(o > 2490000 && o < 2510000) }' || e2e_fail "measured $offset us, not 2.5 s"
e2e_screenshot "$clock" "$E2E_OUT/clocktool.png"

e2e_key "$clock" alt+s
read_ntp() { grep -q 'Properties.Get org.freedesktop.timedate1 NTP' "$E2E_SYSTEM_CALLS"; }
e2e_wait_until 10 read_ntp || e2e_fail "校正系统时间 did not read timedated's NTP property"
sleep 2 # time enough for a request that must not come
! grep -q SetNTP "$E2E_SYSTEM_CALLS" || e2e_fail "network time was on, yet SetNTP was asked"
e2e_screenshot "$clock" "$E2E_OUT/clocktool-ntp-on.png"

e2e_key "$clock" alt+t
switched() { grep -qx 'standardTime=true' "$E2E_APP/tickbell.ini" 2>/dev/null; }
e2e_wait_until 10 switched || e2e_fail "按标准时间提醒 was not written to tickbell.ini beside config.txt"
e2e_close_request "$clock"
e2e_wait_until 10 e2e__window_gone "$clock" || e2e_fail "the clock tool did not close"
