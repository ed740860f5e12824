#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Standard time against a real NTP server: chronyd on the loopback, 2.5 s ahead of the
# computer's clock (both under libfaketime, on one base). The program starts with 按标准时间提醒
# off and asks nothing; switched on in tickbell.ini, as the clock tool switches it, the running
# program measures, says the computer is 2.5 s slow, and its 9:20 (the auction prompt) comes
# 2.5 s before the computer's 9:20. Only 127.0.0.1 is asked; no clock but libfaketime's moves.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/chrony.sh"
e2e_init "$@"
e2e_require python3
e2e_start_display

e2e_start_program --at '2010-02-12 09:19:35'
base=$(cat "$E2E_CLOCK") # the program's clock is the real one plus this many seconds
chrony_start "$E2E_SCRATCH/chrony" "$(awk -v b="$base" 'BEGIN { printf "%+.1f", b + 2.5 }')" ||
    e2e_fail "chronyd did not start: $(tail -n 5 "$E2E_SCRATCH/chrony/chronyd.log")"
E2E__PIDS+=("$CHRONY_PID")
e2e_log "chronyd on 127.0.0.1:$CHRONY_PORT, 2.5 s ahead of the program's clock"
mkdir -p "$XDG_CONFIG_HOME/tickbell"
printf '[clocktool]\nservers=127.0.0.1:%s\n' "$CHRONY_PORT" >"$XDG_CONFIG_HOME/tickbell/tools.ini"

main=$(e2e_wait_window '^Tickbellv1\.32 - Orro SOFT$' 30) || e2e_fail "the main window did not appear"
e2e_wait_console status '还没开盘...' 30 || e2e_fail "no 'status: 还没开盘...' within 30 s"
[ -z "$(e2e_console_texts clock)" ] || e2e_fail "standard time ran while off: $(e2e_console_texts clock)"

# Switched on beside config.txt, written whole as QSettings writes it.
printf '[reminders]\nstandardTime=true\n' >"$E2E_SCRATCH/tickbell.ini"
mv "$E2E_SCRATCH/tickbell.ini" "$E2E_APP/tickbell.ini"
e2e_wait_console clock '标准时间，本机慢 2.5 秒' 15 ||
    e2e_fail "the program did not take up standard time; clock lines: $(e2e_console_texts clock | tr '\n' '|')"
e2e_log "measured at the computer's $(e2e_clock_now): $(e2e_console_texts clock | tr '\n' '|')"
e2e_screenshot "$main" "$E2E_OUT/standard-time.png"

# The prompt's line, watched closely: the computer's time when it appears.
target=$(date -d '2010-02-12 09:20:00' +%s)
seen=
until [ -n "$seen" ]; do
    grep -q ' prompt: 机构竞价\.wav$' "$E2E_CONSOLE" && seen=$EPOCHREALTIME && break
    [ "$(date -d "$(e2e_clock_now)" +%s)" -lt $((target + 10)) ] || break
    sleep 0.02
done
[ -n "$seen" ] || e2e_fail "no auction prompt by the computer's 09:20:10; prompts: $(e2e_console_texts prompt | tr '\n' '|')"
early=$(awk -v s="${seen/,/.}" -v b="$base" -v t="$target" 'BEGIN { printf "%.3f", t - (s + b) }')
e2e_log "the auction prompt came ${early} s before the computer's 09:20:00"
# Seen within a few polls of the corrected second (a tick on the computer's second would be
# half a second later).
awk -v e="$early" 'BEGIN { exit !(e >= 2.2 && e <= 2.6) }' ||
    e2e_fail "the auction prompt came ${early} s before the computer's 9:20, not 2.5 s"
grep -q '^2010-02-12 09:20:00 prompt: 机构竞价\.wav$' "$E2E_CONSOLE" ||
    e2e_fail "the prompt is not stamped 09:20:00 on the corrected clock: $(grep ' prompt: ' "$E2E_CONSOLE" | tail -n 1)"
e2e_wait_console_re advice '明天周末不开盘！$' 10 || e2e_fail "no auction advice after the prompt"
e2e_screenshot "$main" "$E2E_OUT/standard-time-auction.png"
e2e_program_running || e2e_fail "the program ended"
