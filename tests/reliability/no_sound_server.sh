#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck disable=SC2034 # the E2E_* variables set here are read by the harness
# No sound server at all: the program starts, runs the timetable across the auction and the
# morning open, requests each prompt, and says once on standard error that it has no sound.
# On a holiday, where the holiday prompt is asked for on every tick, it still says so once,
# and the countdown ends it as usual.
source "$(dirname "$0")/common.sh"
e2e_init "$@"
e2e_start_display
# No e2e_start_sound, and the harness keeps a client from starting a server of its own.
e2e_start_program --at '2010-02-12 09:25:00'
rel_main_window >/dev/null
e2e_wait_console prompt '机构竞价.wav' 30 ||
    e2e_fail "no auction prompt; prompts: $(e2e_console_texts prompt | tr '\n' '|')"
e2e_wait_console advice "$REL_AUCTION_FRIDAY" 10 || e2e_fail "no auction advice with the weekend notice"
rel_expect_morning_open

prompts=$(e2e_console_texts prompt | tr '\n' '|')
[ "$prompts" = 'Tickbell.wav|机构竞价.wav|上午开盘时间.wav|' ] || e2e_fail "prompts requested: '$prompts'"
said=$(rel_stderr_count 'no audio output')
[ "$said" = 1 ] || e2e_fail "standard error says $said times that there is no audio output, expected once: $(cat "$E2E_STDERR")"
e2e_log "standard error: $(rel_stderr_lines 'no audio output')"
e2e_stop_program

E2E_CONSOLE=$E2E_OUT/console-holiday.txt E2E_STDERR=$E2E_OUT/stderr-holiday.txt
e2e_start_program --at '2010-02-15 10:00:00' # Spring Festival
e2e_wait_console status '假日休盘...' 30 || e2e_fail "no holiday status on 2010-02-15"
e2e_wait_program_exit 40 || e2e_fail "the countdown did not end the program on a holiday"
[ "$E2E_EXIT_STATUS" = 0 ] || e2e_fail "exit status $E2E_EXIT_STATUS on a holiday"
asked=$(e2e_console_texts prompt | grep -c '^今天不开盘\.wav$' || true)
[ "$asked" -ge 10 ] || e2e_fail "the holiday prompt was asked for $asked times in the countdown, expected on every tick"
said=$(rel_stderr_count 'no audio output')
repeated=$(rel_stderr_count 'No audio device') # Qt's own line, once for every prompt handed to it
[ "$said" = 1 ] && [ "$repeated" = 0 ] ||
    e2e_fail "$asked holiday prompts: the notice $said times, Qt's 'No audio device' $repeated times; expected the notice once: $(cat "$E2E_STDERR")"
