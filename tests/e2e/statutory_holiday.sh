#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Past the holidays file (it ends with 2026), statutory-holidays.txt still closes the exchanges:
# on New Year's Day 2027 (a Friday) the status reads "假日休盘...", the holiday prompt is heard
# on the sound server and the calendar notice says the year is worked out from the statutory
# holidays; at the auction of 2026-12-31 the advice ends with "明天放假不开盘！".
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
[ -f "$E2E_RUN_DIR/statutory-holidays.txt" ] || e2e_fail "no statutory-holidays.txt in $E2E_RUN_DIR"
cp "$E2E_RUN_DIR/statutory-holidays.txt" "$E2E_APP/"
e2e_start_display
e2e_start_sound
e2e_start_recording

e2e_start_program --at '2027-01-01 10:00:00'
e2e_wait_console status '假日休盘...' 30 ||
    e2e_fail "no 'status: 假日休盘...' within 30 s on 2027-01-01; status lines: $(e2e_console_texts status | tr '\n' '|')"
requested() { e2e_console_has prompt '今天不开盘.wav' && captured=$(e2e_recording_position); }
e2e_wait_until 10 requested ||
    e2e_fail "no 'prompt: 今天不开盘.wav' within 10 s; prompts: $(e2e_console_texts prompt | tr '\n' '|')"
e2e_wait_until 10 eval 'e2e_console_texts notice | grep -qF "2027年的休市日是按法定节假日推算的"' ||
    e2e_fail "the calendar notice does not say 2027 is worked out from the statutory holidays: $(e2e_console_texts notice)"
e2e_expect_speech_after "$captured" "holiday prompt"
e2e_stop_recording
e2e_stop_program

E2E_CONSOLE=$E2E_OUT/console-2026-12-31.txt E2E_STDERR=$E2E_OUT/stderr-2026-12-31.txt
e2e_start_program --at '2026-12-31 09:19:58'
e2e_wait_console_re advice '明天放假不开盘！$' 30 ||
    e2e_fail "no auction advice ending in '明天放假不开盘！' within 30 s of 09:19:58 on 2026-12-31; advice: $(e2e_console_texts advice | tr '\n' '|')"
