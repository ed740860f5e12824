#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# After the close on a trading day the title counts down from 15 to 1 and the program ends by
# itself about sixteen seconds after 15:00:00, with exit status 0.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_display

e2e_start_program --at '2010-02-10 15:00:00'

# The real window shows the countdown too, not only the console.
wid=$(e2e_wait_window '秒后自动退出' 15) || e2e_fail "no window title with '秒后自动退出' within 15 s"
title=$(e2e_window_title "$wid")
[[ $title =~ ^\ ([1-9]|1[0-5])\ 秒后自动退出\ \.\.\.\ $ ]] || e2e_fail "countdown title is '$title'"

e2e_wait_program_exit 40 || e2e_fail "still running 40 s after start"
elapsed=$(awk -v a="$E2E_ENDED" -v b="$E2E_STARTED" 'BEGIN { printf "%.1f", a - b }')
e2e_log "ended after ${elapsed}s with status $E2E_EXIT_STATUS"
[ "$E2E_EXIT_STATUS" = 0 ] || e2e_fail "exit status $E2E_EXIT_STATUS"
awk -v e="$elapsed" 'BEGIN { exit !(e >= 14 && e <= 25) }' || e2e_fail "ended after ${elapsed}s, expected about 16 s"

expected="Tickbellv1.32 - Orro SOFT"
for n in $(seq 15 -1 1); do expected+=$'\n'" $n 秒后自动退出 ... "; done
actual=$(e2e_console_texts title)
[ "$actual" = "$expected" ] || e2e_fail "titles were:
$actual
expected:
$expected"

e2e_console_texts status | grep -qx '今天已收盘...' || e2e_fail "no 'status: 今天已收盘...' line"
prompts=$(e2e_console_texts prompt | tr '\n' '|')
[ "$prompts" = 'Tickbell.wav|今天已收盘.wav|' ] || e2e_fail "prompts requested: '$prompts'"
