#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# No desktop (over SSH, no DISPLAY): without --console the program says so in Chinese and
# English and ends with status 2; with --console it runs the day offscreen, prints and speaks.
# Its tickbell.ini is garbled ("[reminders", standardTime=banana): standard time stays off,
# and a UDP listener on the loopback, the only time server in tools.ini, hears nothing.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_require python3
e2e_start_sound
e2e_start_recording

status=0
(cd "$E2E_APP" && env -u DISPLAY -u QT_QPA_PLATFORM timeout 30 ./tickbell) >/dev/null 2>"$E2E_OUT/plain.txt" || status=$?
[ "$status" = 2 ] || e2e_fail "without a desktop and --console the program ended with $status, not 2: $(cat "$E2E_OUT/plain.txt")"
grep -q '没有找到桌面' "$E2E_OUT/plain.txt" && grep -q 'no desktop found' "$E2E_OUT/plain.txt" &&
    grep -q 'tickbell --console' "$E2E_OUT/plain.txt" && grep -q 'scripts/run.sh' "$E2E_OUT/plain.txt" ||
    e2e_fail "the no-desktop message is not as it should be: $(cat "$E2E_OUT/plain.txt")"

listener=$E2E_SCRATCH/udp.log
: >"$listener"
python3 -u - "$listener" <<'PY' >"$E2E_SCRATCH/udp.port" 2>"$E2E_SCRATCH/udp.err" &
import socket, sys
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])
while True:
    data, peer = s.recvfrom(2048)
    with open(sys.argv[1], "a") as log:
        log.write("%d bytes from %s\n" % (len(data), peer))
PY
E2E__PIDS+=($!)
e2e_wait_until 10 test -s "$E2E_SCRATCH/udp.port" || e2e_fail "the UDP listener did not start"
port=$(cat "$E2E_SCRATCH/udp.port")
printf '[clocktool]\nservers=127.0.0.1:%s\n' "$port" >"$E2E_APP/tools.ini"
printf '[reminders\nstandardTime=banana\n' >"$E2E_APP/tickbell.ini"

e2e_start_program --no-desktop --at '2010-02-12 09:19:50'
e2e_wait_console status '还没开盘...' 30 || e2e_fail "no 'status: 还没开盘...' line without a desktop"
recorded=$(e2e_recording_position)
e2e_wait_console prompt '机构竞价.wav' 30 ||
    e2e_fail "no auction prompt at 9:20; prompts: $(e2e_console_texts prompt | tr '\n' '|')"
e2e_expect_speech_after "$recorded" "auction prompt"
grep -q 'standardTime=banana is neither true nor false' "$E2E_STDERR" ||
    e2e_fail "no warning about standardTime=banana on standard error"
! grep -qi 'abort\|Reinstalling' "$E2E_STDERR" || e2e_fail "Qt complained: $(cat "$E2E_STDERR")"
# Standard time would have asked at start, 10 s and more ago.
[ ! -s "$listener" ] || e2e_fail "standard time sent while the switch was garbled: $(cat "$listener")"
e2e_console_texts clock | grep -qv '^本机时间$' && e2e_fail "standard time ran: $(e2e_console_texts clock | tr '\n' '|')"
e2e_stop_recording
e2e_stop_program
