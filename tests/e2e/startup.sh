#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up: the main window opens with its title, the welcome sound is heard, config.txt is
# made from plug/config.txt, and the window shows its Chinese texts (a screenshot is kept).
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_display
e2e_start_sound
e2e_start_recording

[ ! -e "$E2E_APP/config.txt" ] || e2e_fail "the program copy already has a config.txt"
# A trading day in the morning session, so the status line shows Chinese at once.
e2e_start_program --at '2010-02-10 10:05:00'

wid=$(e2e_wait_window '^Tickbellv1\.32 - Orro SOFT$' 30) ||
    e2e_fail "no window titled 'Tickbellv1.32 - Orro SOFT' within 30 s; titles seen: $(e2e_console_texts title | tr '\n' '|')"
title=$(e2e_window_title "$wid")
[ "$title" = 'Tickbellv1.32 - Orro SOFT' ] || e2e_fail "window title is '$title'"

e2e_wait_console status '股市开盘中...' 15 ||
    e2e_fail "no 'status: 股市开盘中...' line at 10:05 on a trading day; status lines: $(e2e_console_texts status | tr '\n' '|')"

e2e_wait_until 10 test -s "$E2E_APP/config.txt" || e2e_fail "config.txt was not created in the program folder"
cmp "$E2E_APP/config.txt" "$E2E_APP/plug/config.txt" ||
    e2e_fail "config.txt differs from plug/config.txt"

# The status line is red on black: wait until it is painted, then keep the picture. Its five
# characters and dots span well over 300 px; the start-up text "Tickbell" spans far less.
shot=$E2E_OUT/main-window.png
red_width()
{
    e2e_screenshot "$wid" "$shot"
    convert "$shot" -fill black +opaque 'rgb(255,0,0)' -trim -format '%w' info: 2>/dev/null
}
status_painted() { [ "$(red_width)" -gt 300 ]; }
e2e_wait_until 10 status_painted || e2e_fail "the red status line is not painted (red text $(red_width) px wide); see $shot"
# 10:05 is inside no prompt window, so the welcome chime is the only sound.
[ "$(e2e_console_texts prompt)" = 'Tickbell.wav' ] ||
    e2e_fail "prompts requested: $(e2e_console_texts prompt | tr '\n' '|'), expected only Tickbell.wav"
e2e_wait_sound 15 || e2e_fail "the welcome sound was not heard on the sink within 15 s"
e2e_stop_recording
e2e_program_running || e2e_fail "the program ended by itself"
e2e_log "screenshot: $shot"
