#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck disable=SC2034 # the E2E_* variables set here are read by the harness
# A prompt file that is missing, cut off inside its header, cut off inside its sound data, or
# random bytes under the name 机构竞价.wav: at the auction the program asks for it, says once on
# standard error that it cannot play it, and goes on; then, the clock moved to the morning open,
# the next prompt is heard (a cut-off file once hung the program at the next prompt).
source "$(dirname "$0")/common.sh"
e2e_init "$@"
e2e_start_display
e2e_start_sound

auction=$E2E_APP/sound/机构竞价.wav
cp "$auction" "$E2E_SCRATCH/auction.wav"
speech=(-- sinc -600) # the voice, not the welcome chime (nothing below 1 kHz)

for variant in missing cut-in-header cut-in-data random; do
    expected='cannot play .*/sound/机构竞价\.wav'
    case $variant in
    missing) rm -f "$auction"; expected='prompt file missing: .*/sound/机构竞价\.wav' ;;
    cut-in-header) head -c 30 "$E2E_SCRATCH/auction.wav" >"$auction" ;;
    cut-in-data) head -c 20000 "$E2E_SCRATCH/auction.wav" >"$auction" ;;
    random) head -c 65536 /dev/urandom >"$auction" ;;
    esac
    E2E_CONSOLE=$E2E_OUT/console-$variant.txt E2E_STDERR=$E2E_OUT/stderr-$variant.txt
    e2e_start_recording "$E2E_OUT/recording-$variant.wav"
    e2e_start_program --at '2010-02-12 09:25:00'
    e2e_wait_console prompt '机构竞价.wav' 30 ||
        e2e_fail "$variant: no auction prompt; prompts: $(e2e_console_texts prompt | tr '\n' '|')"
    rel_wait_stderr "$expected" 10 || e2e_fail "$variant: standard error does not say /$expected/: $(cat "$E2E_STDERR")"
    e2e_set_clock '2010-02-12 09:29:58'
    e2e_wait_console status '股市开盘中...' 30 || e2e_fail "$variant: the schedule stopped before 09:30"
    opened() { e2e_console_has prompt '上午开盘时间.wav' && at=$(e2e_recording_position); }
    e2e_wait_until 10 opened || e2e_fail "$variant: no morning-open prompt"
    e2e_wait_sound 15 "$at" "${speech[@]}" ||
        e2e_fail "$variant: the morning-open prompt was not heard after the broken one (speech peak $(e2e_recording_peak "$at" "${speech[@]}"))"
    e2e_program_running || e2e_fail "$variant: the program ended"
    said=$(rel_stderr_count '机构竞价\.wav')
    [ "$said" = 1 ] || e2e_fail "$variant: $said lines about the broken file, expected one: $(cat "$E2E_STDERR")"
    e2e_log "$variant: $(grep -E -- "$expected" "$E2E_STDERR")"
    e2e_stop_program
    e2e_stop_recording
done
