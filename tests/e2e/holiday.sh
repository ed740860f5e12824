#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A listed exchange holiday (National Day 2026, a Thursday): the status line reads "假日休盘...",
# and the "no trading today" prompt is requested and heard on the sound server.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_display
e2e_start_sound
e2e_start_recording

e2e_start_program --at '2026-10-01 10:00:00'

e2e_wait_console status '假日休盘...' 30 ||
    e2e_fail "no 'status: 假日休盘...' within 30 s on 2026-10-01; status lines: $(e2e_console_texts status | tr '\n' '|')"
# How much sound had been captured when the prompt was first requested.
requested() { e2e_console_has prompt '今天不开盘.wav' && captured=$(e2e_recording_position); }
e2e_wait_until 10 requested ||
    e2e_fail "no 'prompt: 今天不开盘.wav' within 10 s; prompts: $(e2e_console_texts prompt | tr '\n' '|')"
[ "$(e2e_console_texts status | head -n 1)" = '假日休盘...' ] ||
    e2e_fail "the first status was '$(e2e_console_texts status | head -n 1)', expected '假日休盘...'"
# The welcome, then the holiday prompt (asked for again on every tick of the day), nothing else.
others=$(e2e_console_texts prompt | grep -vxF -e 'Tickbell.wav' -e '今天不开盘.wav' || true)
[ -z "$others" ] || e2e_fail "other prompts were requested on a holiday: $(tr '\n' '|' <<<"$others")"
[ "$(e2e_console_texts prompt | head -n 1)" = 'Tickbell.wav' ] || e2e_fail "the welcome sound was not requested first"

e2e_expect_speech_after "$captured" "holiday prompt"
e2e_stop_recording
