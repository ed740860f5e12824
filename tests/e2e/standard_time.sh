#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Standard time against a real NTP server: chronyd on the loopback, 2.5 s ahead of the
# computer's clock (both under libfaketime, on one base). The program starts with 按标准时间提醒
# off and asks nothing; switched on in tickbell.ini, as the clock tool switches it, the running
# program measures and says the computer is 2.5 s slow. Then the computer's clock is set 2.5 s
# on, to the servers' time, as the system's time service would: the exchange clock does not
# move, and the 9:20 auction prompt comes once, at the servers' 9:20:00. Switched off again, the
# computer's clock set back 3 s just after 9:30:00 replays nothing: no status goes back, no
# prompt comes twice. Only 127.0.0.1 is asked; no clock but libfaketime's moves.
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
switch() { # true|false
    printf '[reminders]\nstandardTime=%s\n' "$1" >"$E2E_SCRATCH/tickbell.ini"
    mv "$E2E_SCRATCH/tickbell.ini" "$E2E_APP/tickbell.ini"
}
switch true
e2e_wait_console clock '标准时间（仅一台服务器），本机慢 2.5 秒' 15 ||
    e2e_fail "the program did not take up standard time; clock lines: $(e2e_console_texts clock | tr '\n' '|')"
e2e_log "measured at the computer's $(e2e_clock_now): $(e2e_console_texts clock | tr '\n' '|')"
e2e_screenshot "$main" "$E2E_OUT/standard-time.png"

# Real microseconds at which the program's clock (base + OFFSET seconds ahead) shows a moment.
real_us_at() { # 'YYYY-MM-DD HH:MM:SS' OFFSET
    awk -v t="$(date -d "$1" +%s)" -v o="$2" 'BEGIN { printf "%.0f", (t - o) * 1000000 }'
}
sleep_until_us() {
    local left=$(($1 - ${EPOCHREALTIME/[.,]/}))
    [ "$left" -le 0 ] || sleep "$(awk -v l="$left" 'BEGIN { printf "%.6f", l / 1000000 }')"
}

# The computer's clock set to the servers' time at its 09:19:45 (libfaketime reads the file
# again within a second).
sleep_until_us "$(real_us_at '2010-02-12 09:19:45' "$base")"
stepped=$(awk -v b="$base" 'BEGIN { printf "%+.1f", b + 2.5 }')
echo "$stepped" >"$E2E_CLOCK.new" && mv -f "$E2E_CLOCK.new" "$E2E_CLOCK"
e2e_log "the computer's clock set 2.5 s on, to the servers' time"

# The prompt's line, watched closely: the servers' time when it appears.
target=$(date -d '2010-02-12 09:20:00' +%s)
give_up=$(($(real_us_at '2010-02-12 09:20:10' "$stepped") / 1000000))
seen=
until [ -n "$seen" ]; do
    e2e_console_has prompt '机构竞价.wav' && seen=$EPOCHREALTIME
    [ "$EPOCHSECONDS" -lt "$give_up" ] || break
    sleep 0.02
done
[ -n "$seen" ] || e2e_fail "no auction prompt by 09:20:10; prompts: $(e2e_console_texts prompt | tr '\n' '|')"
late=$(awk -v s="${seen/,/.}" -v b="$base" -v t="$target" 'BEGIN { printf "%.3f", s + b + 2.5 - t }')
e2e_log "the auction prompt came ${late} s after the servers' 09:20:00"
awk -v l="$late" 'BEGIN { exit !(l >= -0.05 && l <= 0.3) }' ||
    e2e_fail "the auction prompt came ${late} s after the servers' 9:20, not at it"
grep -q '^2010-02-12 09:20:00 prompt: 机构竞价\.wav$' "$E2E_CONSOLE" ||
    e2e_fail "the prompt is not stamped 09:20:00 on the exchange clock: $(grep ' prompt: ' "$E2E_CONSOLE" | tail -n 1)"
e2e_wait_console_re advice '明天周末不开盘！$' 10 || e2e_fail "no auction advice after the prompt"
e2e_screenshot "$main" "$E2E_OUT/standard-time-auction.png"

# Off; the computer's clock moved to 09:29:55, then set back 3 s just after 09:30:00.
switch false
e2e_wait_console clock '本机时间' 10 || e2e_fail "standard time did not switch off"
base=$(($(date -d '2010-02-12 09:29:55' +%s) - EPOCHSECONDS))
echo "$base" >"$E2E_CLOCK.new" && mv -f "$E2E_CLOCK.new" "$E2E_CLOCK"
e2e_wait_console prompt '上午开盘时间.wav' 15 || e2e_fail "no 9:30 prompt"
# libfaketime reads the file again within a second: the step lands between 09:30:00.4 and .4 after.
sleep_until_us $(($(real_us_at '2010-02-12 09:30:00' "$base") + 400000))
echo "$((base - 3))" >"$E2E_CLOCK.new" && mv -f "$E2E_CLOCK.new" "$E2E_CLOCK"
e2e_log "the computer's clock set back 3 s after 09:30:00.4"
e2e_wait_until 15 eval '[ "$(e2e_clock_now)" \> "2010-02-12 09:30:06" ]' || e2e_fail "the clock did not go on"
sleep 1
statuses=$(e2e_console_texts status | tr '\n' '|')
[ "$statuses" = "还没开盘...|股市开盘中...|" ] || e2e_fail "the status went back: $statuses"
prompts=$(e2e_console_texts prompt | tr '\n' '|')
[ "$prompts" = "Tickbell.wav|机构竞价.wav|上午开盘时间.wav|" ] || e2e_fail "a prompt came twice: $prompts"
e2e_program_running || e2e_fail "the program ended"
