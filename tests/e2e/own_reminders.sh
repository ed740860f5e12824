#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The trader's own reminder "14:30 休市前最后一个交易日 明天起休市，检查逆回购", on a desktop with
# dunst answering the notifications, a sound server on a null sink and speech-dispatcher (with
# espeak-ng) as the system's voice.
# - 2026-12-30, a Wednesday with trading on the next day: nothing at 14:30.
# - 2026-12-31, the last trading day before the New Year closure: at 14:30:00 the reminder is
#   printed by --console, notified (我的提醒, its text), shown on the notice line (screenshot),
#   and heard: the chime, then the voice.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_require speech-dispatcher
e2e_start_display
e2e_start_sound
e2e_start_desktop_services
# The system's voice, a speech-dispatcher of the test's own on the sink; the program finds its
# socket in the runtime folder.
speech-dispatcher -s -t 0 -l 2 -L "$E2E_SCRATCH" </dev/null >"$E2E_SCRATCH/speechd.log" 2>&1 &
E2E__PIDS+=($!)
e2e_wait_until 20 test -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ||
    e2e_fail "speech-dispatcher did not start (see speechd.log)"
printf '# 我的提醒\n14:30 休市前最后一个交易日 明天起休市，检查逆回购\n' >"$E2E_APP/reminders.txt"
text='明天起休市，检查逆回购'

e2e_start_program --at '2026-12-30 14:29:55'
e2e_wait_window '^Tickbellv1\.32 - Orro SOFT$' 30 >/dev/null || e2e_fail "no main window"
e2e_wait_until 20 eval '[ "$(e2e_clock_now)" \> "2026-12-30 14:30:02" ]' || e2e_fail "the clock did not go on"
! e2e_console_has reminder "$text" || e2e_fail "the reminder came on 12-30, which is not before a closure"
! e2e_notified '我的提醒' || e2e_fail "a reminder was notified on 12-30: $(e2e_noted notify)"
e2e_stop_program

e2e_start_recording
e2e_start_program --at '2026-12-31 14:29:50'
main=$(e2e_wait_window '^Tickbellv1\.32 - Orro SOFT$' 30) || e2e_fail "no main window"
e2e_wait_until 5 eval '[ "$(e2e_clock_now)" \> "2026-12-31 14:29:54" ]' || e2e_fail "the clock did not go on"
captured=$(e2e_recording_position)
e2e_wait_console reminder "$text" 15 || e2e_fail "no reminder at 14:30; console: $(tail -n 5 "$E2E_CONSOLE")"
grep -q "^2026-12-31 14:30:00 reminder: $text\$" "$E2E_CONSOLE" ||
    e2e_fail "the reminder is not stamped 14:30:00: $(grep ' reminder: ' "$E2E_CONSOLE")"
e2e_wait_until 10 e2e_notified '我的提醒' || e2e_fail "no notification of the reminder: $(e2e_noted notify)"
e2e_noted notify | grep -qF "\"body\": \"$text\"" || e2e_fail "the reminder's notification: $(e2e_noted notify)"
e2e_wait_sound 5 "$captured" || e2e_fail "no chime after the reminder"
e2e_expect_speech_after "$(awk -v c="$captured" 'BEGIN { printf "%.3f", c + 1.2 }')" "reminder's text"
e2e_screenshot "$main" "$E2E_OUT/reminder-notice.png"
[ "$(grep -c ' reminder: ' "$E2E_CONSOLE")" = 1 ] || e2e_fail "the reminder was told more than once"
e2e_program_running || e2e_fail "the program ended"
