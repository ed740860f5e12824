#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program's end, again and again. Each run starts it at a faked 14:59:50 on a trading day,
# its clock (wall and monotonic) run ten times fast by libfaketime, on a PulseAudio null sink:
# the close prompt plays at 15:00:00 and the countdown ends the program some 2.6 s after the
# start. Every end must come by itself, with status 0, the last countdown title shown, and
# nothing about PulseAudio or an assertion on standard error. (Qt 6.4's sound service, torn
# down at exit while PulseAudio still served the prompt's stream, aborted the program now and
# then: "Assertion 'io_events_please_scan == 0' failed".)
#
#   sped_up_ends.sh RUN_DIR SOURCE_DIR
# Environment: TICKBELL_ENDS, how many ends (default 3: CI runs a few; 50 or more to show that
# the end is safe).
source "$(dirname "$0")/common.sh"
e2e_init "$@"
runs=${TICKBELL_ENDS:-3}
[[ $runs =~ ^[1-9][0-9]*$ ]] || e2e_fail "TICKBELL_ENDS must be a positive count, not '$runs'"
e2e_deadline $((runs * 60 + 60))
speed=10
start='2010-02-12 14:59:50'
e2e_start_display
e2e_start_sound
found=(/usr/lib/*/faketime/libfaketime.so.1)
[ -e "${found[0]}" ] || e2e_fail "libfaketime is not installed (package faketime)"
# A dynamically linked sanitizer runtime must come first in the preload list.
asan_runtime=$(ldd "$E2E_APP/tickbell" | awk '/libasan/ { print $3 }')

last_title=' 1 秒后自动退出 ... '
slowest=0 total=0
for ((run = 1; run <= runs; run++)); do
    E2E_CONSOLE=$E2E_OUT/console-$run.txt E2E_STDERR=$E2E_OUT/stderr-$run.txt
    # An offset rather than a start date: the same setting works under the sanitizers.
    offset=$(($(date -d "$start" +%s) - $(date +%s)))
    (
        cd "$E2E_APP" || exit 1
        export QT_QPA_PLATFORM=xcb BROWSER=$E2E_SCRATCH/browser NO_FAKE_STAT=1
        export LD_PRELOAD=${asan_runtime:+$asan_runtime:}${found[0]} FAKETIME="$offset x$speed" FAKETIME_DONT_FAKE_MONOTONIC=0
        exec "$E2E_APP/tickbell" --console
    ) </dev/null >"$E2E_CONSOLE" 2>"$E2E_STDERR" &
    E2E_PID=$!
    E2E_STARTED=$(e2e_now)
    # 26 faked seconds are 2.6 real ones; a start on a loaded machine takes more.
    e2e_wait_program_exit 60 ||
        e2e_fail "run $run: the program did not end by itself within 60 s (at faked $(tail -n 1 "$E2E_CONSOLE" | cut -c1-19))"
    took=$(awk -v a="$E2E_STARTED" -v b="$E2E_ENDED" 'BEGIN { printf "%.1f", b - a }')
    [ "$E2E_EXIT_STATUS" = 0 ] ||
        e2e_fail "run $run: exit status $E2E_EXIT_STATUS after ${took} s; standard error: $(tail -n 5 "$E2E_STDERR")"
    e2e_console_has title "$last_title" ||
        e2e_fail "run $run: ended without the countdown's last title; titles: $(e2e_console_texts title | tr '\n' '|')"
    e2e_console_has prompt '今天已收盘.wav' || e2e_fail "run $run: the close prompt was not requested"
    ! grep -Eiq 'assert|pulse|abort' "$E2E_STDERR" || e2e_fail "run $run: standard error: $(cat "$E2E_STDERR")"
    total=$(awk -v a="$total" -v b="$took" 'BEGIN { print a + b }')
    slowest=$(awk -v a="$slowest" -v b="$took" 'BEGIN { print (b > a) ? b : a }')
    [ $((run % 10)) = 0 ] && e2e_log "$run ends so far, all by the countdown with status 0"
done
e2e_log "$runs ends in a row, each by the countdown with status 0; $(awk -v t="$total" -v n="$runs" 'BEGIN { printf "%.1f", t / n }') s on average, the slowest ${slowest} s"
