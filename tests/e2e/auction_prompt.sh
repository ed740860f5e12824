#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The morning auction on a Friday: at 09:20:00 the auction prompt is requested and heard on the
# sound server, and the advice ends with the weekend notice. The program starts at 09:15 and its
# clock is moved to just before 09:20 once it runs, however long its start took.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_display
e2e_start_sound
e2e_start_recording

e2e_start_program --at '2010-02-12 09:15:00'

e2e_wait_console status '还没开盘...' 30 ||
    e2e_fail "no 'status: 还没开盘...' within 30 s; status lines: $(e2e_console_texts status | tr '\n' '|')"
# How much sound had been captured when the prompt was requested (it starts with 0.3 s of silence).
requested() { e2e_console_has prompt '机构竞价.wav' && captured=$(e2e_recording_position); }
e2e_console_has prompt '机构竞价.wav' && e2e_fail "the auction prompt came before 09:20 (at $(e2e_clock_now))"
e2e_set_clock '2010-02-12 09:19:58'
e2e_wait_until 15 requested ||
    e2e_fail "no 'prompt: 机构竞价.wav' within 15 s of 09:19:58; prompts: $(e2e_console_texts prompt | tr '\n' '|')"
[ "$(e2e_console_line_no status '还没开盘...')" -lt "$(e2e_console_line_no prompt '机构竞价.wav')" ] ||
    e2e_fail "the auction prompt came before the status '还没开盘...'"

advice_a='注意：当前是开盘前十分钟的机构竞价时间。从机构竞价的情况可以知道机构今天是想看多还是看空，是想洗盘还是想出货，但机构也不能为所欲为，只能顺势而为 ... ...'
e2e_wait_console advice "${advice_a}明天周末不开盘！" 10 ||
    e2e_fail "the auction advice with the weekend notice did not appear; last advice: $(e2e_console_texts advice | tail -n 1)"

prompts=$(e2e_console_texts prompt | tr '\n' '|')
[ "$prompts" = 'Tickbell.wav|机构竞价.wav|' ] || e2e_fail "prompts requested: '$prompts', expected the welcome then the auction"

e2e_expect_speech_after "$captured" "auction prompt"
e2e_program_running || e2e_fail "the program ended during the auction"
e2e_stop_recording
