# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash disable=SC2034
# (SC2034: the E2E_* variables set here are for the tests that source this file.)
# Harness for the end-to-end tests: the real program on a desktop of its own.
#
# A test is a bash script that CTest runs as  script RUN_DIR SOURCE_DIR  and that starts with
#     source "$(dirname "$0")/lib.sh"
#     e2e_init "$@"
# Everything the test starts through these functions is stopped when the script ends, also when
# it fails or is interrupted. Exit non-zero (e2e_fail) to fail. Nothing here sleeps for a fixed
# time where a condition can be waited for; every wait has a timeout in seconds, generous enough
# for a loaded machine. On failure the stack of every thread of a program still running (gdb),
# and the tails of the program's output and of the servers' logs are printed; E2E_KEEP=1 keeps
# the scratch folder.
#
# Every test has a D-Bus session bus of its own, started first and stopped last: without one,
# libdbus "autolaunches" a bus on the X display for the first client that asks (Qt's
# accessibility bridge, PulseAudio), and such a launch has hung the program for good. Clients of
# PulseAudio never start a server of their own. Anything still running at the end whose
# environment names the scratch folder is stopped, and fails the test.
#
# Set up
#   e2e_init RUN_DIR SOURCE_DIR   strict mode, scratch folder, clean environment, the session
#                                 bus (DBUS_SESSION_BUS_ADDRESS; any user may connect), cleanup
#                                 trap, and a copy of the runnable folder (tickbell, plug/,
#                                 sound/, holidays.txt, statutory-holidays.txt) in $E2E_APP;
#                                 never the build tree's config.txt.
#                                 Sets E2E_NAME, E2E_SCRATCH, E2E_APP, E2E_OUT (kept after the
#                                 test: screenshots and logs), E2E_SRC, E2E_RUN_DIR.
#   e2e_deadline SECONDS          end the test (with cleanup) after this long; e2e_init sets 240.
#   e2e_start_display [WxHxD]     Xvfb on a free display (1280x800x24) and openbox; exports DISPLAY.
#   e2e_start_sound               PulseAudio with a null sink "nullsink" as the default output.
#   e2e_start_system_bus          a system bus of the test's own with stand-ins for logind and
#                                 timedated that note each call in $E2E_SYSTEM_CALLS (one line a
#                                 call: "org.freedesktop.login1.Manager.PowerOff true"); exports
#                                 DBUS_SYSTEM_BUS_ADDRESS. Without it, the system bus a test's
#                                 programs see is one that does not exist.
#   e2e_start_recording [WAV]     record the sink's monitor; kept as WAV (E2E_RECORDING, default
#                                 $E2E_OUT/recording.wav) when stopped. Returns once samples
#                                 flow (up to ~2 s). Positions in the capture follow the sink's
#                                 clock, not the wall clock: to tell before from after an event,
#                                 note e2e_recording_position when it happens.
#   e2e_recording_peak [START [LENGTH]] [-- SOX_EFFECTS...]
#                                 peak (0..1) of what has been captured so far.
#   e2e_recording_position        seconds captured so far (a START or LENGTH for the above).
#   e2e_wait_sound SECS [-- SOX_EFFECTS...] wait until the capture holds sound.
#   e2e_expect_speech_after CAPTURED WHAT   no speech up to CAPTURED s of the capture, some
#                                 within 15 s after (WHAT names the prompt in failures).
#   e2e_stop_recording            stop the recorder and write the WAV file.
# The program
#   e2e_program_stack [PID]       print the stack of every thread of the program (gdb).
#   e2e_start_program [--no-desktop] [--at 'YYYY-MM-DD HH:MM:SS'] [ARGS...]
#                                 start $E2E_APP/tickbell --console (with the clock set by
#                                 libfaketime when --at is given; it runs on from there;
#                                 --no-desktop: with no DISPLAY and no Qt platform chosen),
#                                 TZ=Asia/Shanghai, LC_ALL=C.UTF-8; a PATH given for the call
#                                 is the program's alone. Sets E2E_PID and E2E_STARTED
#                                 (e2e_now). Standard output goes to $E2E_CONSOLE, errors to
#                                 $E2E_STDERR. A BROWSER stub logs opened addresses instead.
#   e2e_set_clock 'YYYY-MM-DD HH:MM:SS'
#                                 move the clock of the program started with --at forward to
#                                 that moment (it follows within a second; never backwards), so
#                                 that a test waits for its steps, not against the clock.
#   e2e_clock_now                 the program's time now ('YYYY-MM-DD HH:MM:SS').
#   e2e_program_running           true while the program is alive.
#   e2e_wait_program_exit SECS    wait for it to end by itself; sets E2E_EXIT_STATUS and
#                                 E2E_ENDED (e2e_now); false on timeout.
#   e2e_stop_program              end it with TERM; one that is still there 10 s later has its
#                                 stack printed, is killed, and fails the test.
#   e2e_browser_calls             the addresses handed to the browser, one a line.
# Console lines ("<date> <time> KIND: TEXT", KIND one of title, status, advice, prompt)
#   e2e_console_texts KIND        TEXT of every line of that kind, in order.
#   e2e_wait_console KIND TEXT [SECS]       wait for a line with exactly that TEXT.
#   e2e_wait_console_re KIND ERE [SECS]     wait for a line whose TEXT matches the regex.
#   e2e_console_has KIND TEXT               true when there is such a line.
#   e2e_console_line_no KIND TEXT           line number of the first such line (empty if none).
# Windows
#   e2e_wait_window TITLE_ERE [SECS]        print the id of a visible window with a matching
#                                           title, waiting for it.
#   e2e_window_title WID          its title (_NET_WM_NAME, UTF-8).
#   e2e_wait_title WID TEXT [SECS]          wait until the title is exactly TEXT.
#   e2e_window_state WID          its _NET_WM_STATE atoms, comma-separated ("" when none).
#   e2e_screenshot WID FILE       PNG of the window's contents; also copied to
#                                 $TICKBELL_E2E_SHOTS when that is set to an existing folder.
#   e2e_key WID KEYS...           activate the window and press keys (xdotool key syntax).
#   e2e_close_request WID         a real close request from the window manager (wmctrl -c).
# Sound files
#   e2e_sound_peak FILE [START [LENGTH]] [-- SOX_EFFECTS...]
#                                 peak amplitude (0..1) of a stretch of a WAV (or .raw capture).
#   e2e_has_sound FILE [START [LENGTH]] [-- SOX_EFFECTS...]
#                                 true when that peak is above E2E_SOUND_THRESHOLD (0.02).
# Utilities
#   e2e_now                       seconds since e2e_init, with fractions.
#   e2e_wait_until SECS CMD...    run CMD every 0.1 s until it succeeds; false on timeout.
#   e2e_require TOOL...           fail at once, with a clear message, when a command is missing.
#   e2e_log MSG / e2e_fail MSG    a line on standard error; e2e_fail also ends the test with 1.

set -euo pipefail

# shellcheck source=scripts/session-bus.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/session-bus.sh"

E2E_SOUND_THRESHOLD=${E2E_SOUND_THRESHOLD:-0.02}

e2e_log() { printf '[%s %6.2f] %s\n' "${E2E_NAME:-e2e}" "$(e2e_now)" "$*" >&2; }

e2e_fail()
{
    printf '[%s] FAIL: %s\n' "${E2E_NAME:-e2e}" "$*" >&2
    exit 1
}

e2e__us() { local t=${EPOCHREALTIME/[.,]/}; echo "$t"; } # microseconds of the real clock

e2e_now()
{
    local d=$(($(e2e__us) - ${E2E__T0:-$(e2e__us)}))
    printf '%d.%03d\n' $((d / 1000000)) $((d % 1000000 / 1000))
}

e2e_wait_until()
{
    local timeout=$1
    shift
    local whole=${timeout%%.*} frac=0
    [[ $timeout == *.* ]] && frac=${timeout#*.}
    frac=${frac}000000
    local deadline=$(($(e2e__us) + ${whole:-0} * 1000000 + 10#${frac:0:6}))
    until "$@"; do
        if [ "$(e2e__us)" -ge "$deadline" ]; then
            "$@" # one last look
            return
        fi
        sleep 0.1
    done
}

e2e_require()
{
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null ||
            e2e_fail "$tool is missing: scripts/install-deps.sh --test installs what the tests use"
    done
}
e2e__require() { e2e_require "$@"; }

e2e_init()
{
    [ $# -ge 1 ] || e2e_fail "usage: $0 RUN_DIR [SOURCE_DIR]"
    E2E__T0=$(e2e__us)
    E2E_NAME=$(basename "$0" .sh)
    E2E_RUN_DIR=$(cd "$1" && pwd)
    E2E_SRC=${2:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
    [ -x "$E2E_RUN_DIR/tickbell" ] || e2e_fail "no program at $E2E_RUN_DIR/tickbell (build it first)"
    e2e_require Xvfb openbox xdotool xprop wmctrl import convert sox awk
    e2e__init_desktop "$E2E_NAME" e2e__cleanup

    # The program folder: the files the program looks for beside itself, and nothing else.
    E2E_APP=$E2E_SCRATCH/app
    mkdir -p "$E2E_APP"
    cp "$E2E_RUN_DIR/tickbell" "$E2E_APP/"
    local item
    for item in plug sound holidays.txt statutory-holidays.txt; do
        [ -e "$E2E_RUN_DIR/$item" ] && cp -R "$E2E_RUN_DIR/$item" "$E2E_APP/"
    done
    E2E_BROWSER_LOG=$E2E_SCRATCH/browser.log
    printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\n' "$E2E_BROWSER_LOG" >"$E2E_SCRATCH/browser"
    chmod +x "$E2E_SCRATCH/browser"
    : >"$E2E_BROWSER_LOG"
    e2e_deadline 240
    e2e_log "scratch $E2E_SCRATCH, output $E2E_OUT"
}

# What every test desktop starts from: the scratch and output folders, the EXIT trap CLEANUP, a
# clean private environment (nothing from the caller's desktop, sound server or Qt setup) and a
# session bus of its own, started before anything else.
e2e__init_desktop() # NAME CLEANUP
{
    E2E__T0=${E2E__T0:-$(e2e__us)}
    E2E__PATH=$PATH
    E2E_NAME=$1
    E2E_SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/tickbell-e2e-$E2E_NAME.XXXXXX")
    E2E_OUT=${E2E_OUTPUT_DIR:-$PWD/output}/$E2E_NAME
    rm -rf "$E2E_OUT"
    mkdir -p "$E2E_OUT"
    E2E__PIDS=()
    E2E_PID=
    E2E_RECORDER_PID=
    E2E_PULSE=0
    E2E__BUS_PID=
    E2E_CONSOLE=$E2E_OUT/console.txt
    E2E_STDERR=$E2E_OUT/stderr.txt
    XDG_RUNTIME_DIR=$E2E_SCRATCH/runtime
    trap "$2" EXIT
    trap 'exit 130' INT
    trap 'e2e_log "stopped (deadline or TERM)"; exit 143' TERM
    trap 'e2e_log "command failed (line $LINENO): $BASH_COMMAND"' ERR

    unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER QT_QPA_PLATFORM \
        QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS \
        QT_AUTO_SCREEN_SCALE_FACTOR QT_LOGGING_RULES PULSE_SERVER PULSE_SINK LD_PRELOAD FAKETIME
    export HOME=$E2E_SCRATCH/home XDG_RUNTIME_DIR=$E2E_SCRATCH/runtime TMPDIR=$E2E_SCRATCH/tmp
    export XDG_CONFIG_HOME=$HOME/.config XDG_CACHE_HOME=$HOME/.cache XDG_DATA_HOME=$HOME/.local/share
    mkdir -p "$HOME" "$TMPDIR" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    export TZ=Asia/Shanghai LC_ALL=C.UTF-8 LANG=C.UTF-8
    # Nothing a test starts may reach the machine's own power or clock services.
    export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$E2E_SCRATCH/no-system-bus
    # A client that finds no server must not start one of its own behind our back.
    printf 'autospawn = no\n' >"$E2E_SCRATCH/pulse-client.conf"
    export PULSE_CLIENTCONFIG=$E2E_SCRATCH/pulse-client.conf
    e2e__start_bus
}

# The session bus, before anything that might look for one. No service can be started through
# it, so it starts nothing itself; programs run as another user (in a scratch folder opened to
# them) may connect too.
e2e__start_bus()
{
    e2e_require dbus-daemon setsid
    # Its socket in the scratch folder (open to all), which goes with it.
    session_bus_start "$E2E_SCRATCH" --others || e2e_fail "the session bus did not start (see bus.log)"
    E2E__BUS_PID=$SESSION_BUS_PID
}

# The stack of every thread of a running program, for a failure that would otherwise only say
# "timed out".
e2e_program_stack() # [PID]
{
    local pid=${1:-$E2E_PID}
    e2e__alive "$pid" || return 0
    echo "----- stack of the running program (pid $pid: $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | cut -c1-120))" >&2
    if ! command -v gdb >/dev/null; then
        echo "(no gdb: scripts/install-deps.sh --test installs it); waiting in $(cat "/proc/$pid/wchan" 2>/dev/null)" >&2
        return 0
    fi
    timeout 60 gdb -nx -batch -p "$pid" -iex 'set debuginfod enabled off' -ex 'set pagination off' \
        -ex 'thread apply all bt' </dev/null 2>&1 | grep -E '^(Thread|#)' >&2 || true
    # And what the display holds: a window that never showed, or showed under another name.
    if [ -n "${DISPLAY:-}" ]; then
        echo "----- windows on $DISPLAY" >&2
        timeout 10 xwininfo -root -tree 2>&1 | grep -E '^ +0x' | grep -v '(has no name)' | head -n 30 >&2 || true
    fi
}

# Processes still running whose environment names the scratch folder: anything a test or the
# program started and nobody stopped (an autolaunched bus, a sound server, a helper).
e2e__leftovers()
{
    local file pid
    # grep itself runs with an empty environment, so that it does not find itself.
    for file in $(env -i /bin/grep -lsF -- "$E2E_SCRATCH/" /proc/[0-9]*/environ); do
        pid=${file#/proc/}
        pid=${pid%/environ}
        [ "$pid" != $$ ] && e2e__alive "$pid" && echo "$pid"
    done
}

# The script ends itself before CTest would kill it, so that the cleanup still runs.
e2e_deadline()
{
    e2e__stop_watchdog
    # A session of its own, so that stopping its group takes its sleep along, whenever the stop
    # comes. Its output goes nowhere: CTest waits until every holder of the test's pipe is gone.
    setsid bash -c 'sleep "$1" && kill -TERM "$2"' watchdog "$1" "$$" </dev/null >/dev/null 2>&1 &
    E2E__WATCHDOG=$!
}

e2e__stop_watchdog()
{
    [ -n "${E2E__WATCHDOG:-}" ] || return 0
    # Its group, and itself: just started, it may not have made its session yet, and then the
    # group's kill finds nothing and the wait would last until its sleep ends.
    kill -TERM -- "-$E2E__WATCHDOG" 2>/dev/null || true
    kill -TERM "$E2E__WATCHDOG" 2>/dev/null || true
    wait "$E2E__WATCHDOG" 2>/dev/null || true
    E2E__WATCHDOG=
}

e2e__alive() { [ -n "${1:-}" ] && [ -e "/proc/$1" ] && ! grep -q '^[0-9]* ([^)]*) Z' "/proc/$1/stat" 2>/dev/null; }

# Ask politely, then insist; reap our own children so no zombie is left. False when it had to
# be killed; with --stack its stack is printed first.
e2e__stop_pid() # [--stack] PID [SIGNAL]
{
    local stack=0
    [ "$1" = --stack ] && { stack=1; shift; }
    local pid=$1 signal=${2:-TERM}
    e2e__alive "$pid" || { wait "$pid" 2>/dev/null || true; return 0; }
    kill "-$signal" "$pid" 2>/dev/null || true
    local ended=0
    if ! e2e_wait_until 10 eval "! e2e__alive $pid"; then
        ended=1
        if [ "$stack" = 1 ]; then
            e2e_log "pid $pid did not end within 10 s of $signal"
            e2e_program_stack "$pid"
        fi
        kill -KILL "$pid" 2>/dev/null || true
    fi
    wait "$pid" 2>/dev/null || true
    return "$ended"
}

# The program at the end of a test: when the test failed, the stack of a program still running
# comes first (it may be why), then it is stopped. False when it had to be killed.
e2e__end_program() # STATUS
{
    [ -n "$E2E_PID" ] && e2e__alive "$E2E_PID" || return 0
    local stack=--stack
    if [ "$1" != 0 ]; then
        e2e_program_stack "$E2E_PID"
        stack=
    fi
    e2e__stop_pid $stack "$E2E_PID" ||
        echo "[$E2E_NAME] FAIL: the program did not end within 10 s of TERM (its stack is above)" >&2
}

e2e__cleanup()
{
    local status=$?
    trap - ERR
    set +eu
    # The deadline has done its work once the cleanup runs; it must not cut the cleanup short.
    e2e__stop_watchdog
    e2e__end_program "$status" || [ "$status" != 0 ] || status=1
    [ -n "$E2E_RECORDER_PID" ] && e2e__stop_pid "$E2E_RECORDER_PID" INT
    if [ "$E2E_PULSE" = 1 ] && [ -f "$XDG_RUNTIME_DIR/pulse/pid" ]; then
        local pa
        pa=$(cat "$XDG_RUNTIME_DIR/pulse/pid")
        kill "$pa" 2>/dev/null
        e2e_wait_until 10 eval "! e2e__alive $pa" || kill -KILL "$pa" 2>/dev/null
    fi
    local i
    for ((i = ${#E2E__PIDS[@]} - 1; i >= 0; i--)); do e2e__stop_pid "${E2E__PIDS[i]}"; done
    [ -n "$E2E__BUS_PID" ] && e2e__stop_pid "$E2E__BUS_PID"
    local left pid
    left=$(e2e__leftovers)
    if [ -n "$left" ]; then
        for pid in $left; do
            echo "[$E2E_NAME] FAIL: left running: pid $pid $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | cut -c1-160)" >&2
            kill -TERM "$pid" 2>/dev/null
        done
        for pid in $left; do e2e_wait_until 10 eval "! e2e__alive $pid" || kill -KILL "$pid" 2>/dev/null; done
        [ "$status" = 0 ] && status=1
    fi
    if [ "$status" != 0 ]; then
        local f
        for f in "$E2E_CONSOLE" "$E2E_STDERR" "$E2E_SCRATCH"/*.log; do
            [ -s "$f" ] || continue
            echo "----- $(basename "$f") (last 40 lines)" >&2
            tail -n 40 "$f" >&2
        done
        cp "$E2E_SCRATCH"/*.log "$E2E_OUT/" 2>/dev/null
    fi
    if [ "${E2E_KEEP:-0}" = 1 ]; then
        echo "[$E2E_NAME] kept $E2E_SCRATCH" >&2
    else
        rm -rf "$E2E_SCRATCH"
    fi
    [ "$status" = 0 ] && echo "[$E2E_NAME] passed" >&2
    exit "$status"
}

e2e_start_display()
{
    local size=${1:-1280x800x24} displayfile=$E2E_SCRATCH/display
    : >"$displayfile"
    # -displayfd: the server picks a free display number itself and says which when it is ready.
    Xvfb -displayfd 9 -screen 0 "$size" -nolisten tcp -noreset 9>"$displayfile" </dev/null >"$E2E_SCRATCH/xvfb.log" 2>&1 &
    E2E__PIDS+=($!)
    local xvfb=$!
    e2e_wait_until 30 grep -q '[0-9]' "$displayfile" || e2e_fail "Xvfb did not start (see xvfb.log)"
    e2e__alive "$xvfb" || e2e_fail "Xvfb ended at start"
    DISPLAY=:$(tr -dc '0-9' <"$displayfile")
    export DISPLAY
    openbox --sm-disable </dev/null >"$E2E_SCRATCH/openbox.log" 2>&1 &
    E2E__PIDS+=($!)
    e2e_wait_until 30 eval 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' ||
        e2e_fail "openbox did not take over the display (see openbox.log)"
    e2e_log "display $DISPLAY with openbox"
}

e2e_start_sound()
{
    e2e_require pulseaudio pactl parec
    cat >"$E2E_SCRATCH/pulse.pa" <<'PA'
load-module module-null-sink sink_name=nullsink
load-module module-native-protocol-unix auth-anonymous=1
set-default-sink nullsink
PA
    E2E_PULSE=1 # from here on the cleanup looks for its pid file
    # Root is fine for a private daemon on our own runtime folder. It registers on our session
    # bus; without the display it could not launch a bus of its own even if it lost that one.
    env -u DISPLAY pulseaudio -n -F "$E2E_SCRATCH/pulse.pa" --exit-idle-time=-1 --daemonize=yes --disallow-exit \
        --log-target="file:$E2E_SCRATCH/pulse.log" </dev/null >/dev/null 2>&1 ||
        e2e_fail "pulseaudio did not start (see pulse.log)"
    e2e_wait_until 30 eval 'pactl list short sinks 2>/dev/null | grep -q nullsink' ||
        e2e_fail "the null sink did not appear"
    e2e_log "sound server on a null sink"
}

e2e_start_system_bus()
{
    # Debian's interpreter, which has python3-gi.
    local python=/usr/bin/python3 session=$DBUS_SESSION_BUS_ADDRESS
    [ -x "$python" ] || python=$(command -v python3) || e2e_fail "python3 is missing"
    mkdir -p "$E2E_SCRATCH/system"
    session_bus_start "$E2E_SCRATCH/system" || e2e_fail "the test's system bus did not start (see system/bus.log)"
    E2E__PIDS+=("$SESSION_BUS_PID")
    export DBUS_SYSTEM_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS
    DBUS_SESSION_BUS_ADDRESS=$session
    E2E_SYSTEM_CALLS=$E2E_SCRATCH/system-calls.log
    : >"$E2E_SYSTEM_CALLS"
    "$python" "$(dirname "${BASH_SOURCE[0]}")/system_standins.py" "$DBUS_SYSTEM_BUS_ADDRESS" "$E2E_SYSTEM_CALLS" \
        </dev/null >"$E2E_SCRATCH/standins.log" 2>&1 &
    E2E__PIDS+=($!)
    e2e_wait_until 30 grep -q '^ready' "$E2E_SCRATCH/standins.log" ||
        e2e_fail "the logind and timedated stand-ins did not start (see standins.log)"
    e2e_log "system bus of our own with logind and timedated stand-ins"
}

# The desktop's services on the test's own session bus: a stand-in tray
# (org.kde.StatusNotifierWatcher with a host) that notes each item's registration, a monitor
# that notes every Notify call, and dunst, a real notification daemon, that answers and shows
# them. e2e_noted KIND prints the JSON of what was noted of a kind ("item", "notify"), one a line.
e2e_start_desktop_services()
{
    e2e_require dunst gdbus python3
    E2E_DESKTOP_LOG=$E2E_SCRATCH/desktop.log
    : >"$E2E_DESKTOP_LOG"
    /usr/bin/python3 "$E2E_SRC/tests/e2e/desktop_standins.py" "$DBUS_SESSION_BUS_ADDRESS" "$E2E_DESKTOP_LOG" \
        </dev/null >"$E2E_SCRATCH/standins.log" 2>&1 &
    E2E__PIDS+=($!)
    e2e_wait_until 30 grep -qs '^ready' "$E2E_SCRATCH/standins.log" ||
        e2e_fail "the tray stand-in did not start (see standins.log)"
    dunst </dev/null >"$E2E_SCRATCH/dunst.log" 2>&1 &
    E2E__PIDS+=($!)
    e2e_wait_until 30 e2e__owned org.freedesktop.Notifications ||
        e2e_fail "dunst did not take the notifications (see dunst.log)"
    e2e_log "a tray stand-in and dunst on the session bus"
}
e2e__owned() { gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner "$1" 2>/dev/null | grep -q true; }
e2e_noted() { /usr/bin/python3 -c 'import json, sys
for line in open(sys.argv[1], encoding="utf-8"):
    r = json.loads(line)
    if sys.argv[2] in r: print(json.dumps(r[sys.argv[2]], ensure_ascii=False))' "$E2E_DESKTOP_LOG" "$1"; }
e2e_notified() { e2e_noted notify | grep -qF "\"summary\": \"$1\""; } # SUMMARY

# Raw samples, so that what has been captured so far can be measured while the recorder runs.
E2E__RAW_FORMAT=(-t raw -e signed-integer -b 16 -c 1 -r 16000)

e2e_start_recording()
{
    E2E_RECORDING=${1:-$E2E_OUT/recording.wav}
    E2E__RAW=$E2E_SCRATCH/recording.raw
    # A short latency keeps what the server holds back small.
    parec -d nullsink.monitor --format=s16le --rate=16000 --channels=1 --latency-msec=50 \
        </dev/null >"$E2E__RAW" 2>"$E2E_SCRATCH/parec.log" &
    E2E_RECORDER_PID=$!
    # The null sink hands out its first samples a block (up to 2 s) after the recorder connects;
    # wait for them, so that the capture covers everything played from now on.
    e2e_wait_until 30 test -s "$E2E__RAW" || e2e_fail "the recorder captured nothing (see parec.log)"
}

e2e_recording_peak() { e2e_sound_peak "$E2E__RAW" "$@"; }

e2e_recording_position() # seconds captured so far
{
    local bytes
    bytes=$(stat -c %s "$E2E__RAW")
    printf '%d.%03d\n' $((bytes / 32000)) $((bytes % 32000 / 32))
}

e2e_wait_sound() # SECS [-- EFFECTS...]
{
    local timeout=$1
    shift
    e2e_wait_until "$timeout" e2e_has_sound "$E2E__RAW" "$@"
}

# Speech on the sink (the voice band below 600 Hz, where the welcome chime has nothing): none in
# the first CAPTURED seconds of the recording, some within 15 s after. WHAT names the prompt.
e2e_expect_speech_after() # CAPTURED WHAT
{
    local captured=$1 what=$2 before
    local speech=(-- sinc -600)
    export E2E_SOUND_THRESHOLD=0.1
    before=$(e2e_recording_peak 0 "$captured" "${speech[@]}")
    awk -v p="$before" -v t="$E2E_SOUND_THRESHOLD" 'BEGIN { exit !(p <= t) }' ||
        e2e_fail "speech on the sink before the $what was requested (peak $before)"
    e2e_wait_sound 15 "$captured" "${speech[@]}" ||
        e2e_fail "no speech on the sink within 15 s of the $what's request (peak $(e2e_recording_peak "$captured" "${speech[@]}"))"
    e2e_log "speech-band peak $before in the ${captured}s captured before the request, $(e2e_recording_peak "$captured" "${speech[@]}") after"
}

e2e_stop_recording()
{
    [ -n "$E2E_RECORDER_PID" ] || return 0
    e2e__stop_pid "$E2E_RECORDER_PID" INT
    E2E_RECORDER_PID=
    sox "${E2E__RAW_FORMAT[@]}" "$E2E__RAW" "$E2E_RECORDING" 2>>"$E2E_SCRATCH/parec.log" ||
        e2e_fail "cannot convert the recording"
}

e2e__sox_stretch() # FILE [START [LENGTH]] [-- EFFECTS...] -> prints sox stat output
{
    local file=$1
    shift
    local input=("$file") trim=()
    [[ $file == *.raw ]] && input=("${E2E__RAW_FORMAT[@]}" "$file")
    if [ $# -gt 0 ] && [ "$1" != -- ]; then
        trim=(trim "$1")
        shift
        if [ $# -gt 0 ] && [ "$1" != -- ]; then
            trim+=("$1")
            shift
        fi
    fi
    [ "${1:-}" = -- ] && shift
    sox "${input[@]}" -n "${trim[@]}" "$@" stat 2>&1
}

e2e_sound_peak()
{
    local out
    out=$(e2e__sox_stretch "$@") || { echo "e2e_sound_peak: sox failed: $out" >&2; echo 0; return 1; }
    awk '/^Maximum amplitude/ { print $3; found = 1 } END { if (!found) print 0 }' <<<"$out"
}

e2e_has_sound()
{
    local peak
    peak=$(e2e_sound_peak "$@") || return 1
    awk -v p="$peak" -v t="$E2E_SOUND_THRESHOLD" 'BEGIN { exit !(p > t) }'
}

e2e__faketime_lib()
{
    local found=(/usr/lib/*/faketime/libfaketime.so.1)
    [ -e "${found[0]}" ] || e2e_fail "libfaketime is not installed (package faketime)"
    echo "${found[0]}"
}

# The program's clock is the real one plus an offset that libfaketime reads from $E2E_CLOCK
# (again at most a second after it changes). Each start has a file of its own, so that starting
# another copy leaves the clock of one still running alone; e2e_set_clock moves the latest.
# The file is replaced whole, never half written.
E2E__CLOCKS=0
e2e__new_clock() # 'YYYY-MM-DD HH:MM:SS'
{
    E2E__CLOCKS=$((E2E__CLOCKS + 1))
    E2E_CLOCK=$E2E_SCRATCH/clock-$E2E__CLOCKS
    e2e__write_clock "$1"
}
e2e__write_clock() # 'YYYY-MM-DD HH:MM:SS'
{
    local target offset
    target=$(date -d "$1" +%s) || e2e_fail "not a time: '$1'"
    offset=$((target - EPOCHSECONDS))
    if [ "$offset" -ge 0 ]; then echo "+$offset"; else echo "$offset"; fi >"$E2E_CLOCK.new"
    mv -f "$E2E_CLOCK.new" "$E2E_CLOCK"
}

e2e_clock_now() # the program's time of day, as 'YYYY-MM-DD HH:MM:SS'
{
    local offset
    offset=$(cat "$E2E_CLOCK")
    date -d "@$((EPOCHSECONDS + offset))" '+%Y-%m-%d %H:%M:%S'
}

e2e_set_clock() # 'YYYY-MM-DD HH:MM:SS'
{
    [ -n "${E2E_CLOCK:-}" ] || e2e_fail "e2e_set_clock needs a program started with --at"
    local now target
    now=$(date -d "$(e2e_clock_now)" +%s)
    target=$(date -d "$1" +%s) || e2e_fail "not a time: '$1'"
    if [ "$target" -le "$now" ]; then
        e2e_log "the clock is at $(e2e_clock_now) already, past $1: left as it is"
        return 0
    fi
    e2e__write_clock "$1"
    e2e_log "clock moved to $1"
}

e2e_start_program()
{
    # A PATH given for this call (PATH=... e2e_start_program) is the program's alone.
    local program_path=$PATH
    local PATH=$E2E__PATH
    local at= desktop=1
    if [ "${1:-}" = --no-desktop ]; then
        desktop=0
        shift
    fi
    if [ "${1:-}" = --at ]; then
        at=$2
        shift 2
    fi
    local faketime_lib=
    if [ -n "$at" ]; then
        faketime_lib=$(e2e__faketime_lib)
        e2e__new_clock "$at"
    fi
    [ -n "${DISPLAY:-}" ] || [ "$desktop" = 0 ] || e2e_fail "e2e_start_program needs e2e_start_display first"
    (
        cd "$E2E_APP"
        export BROWSER=$E2E_SCRATCH/browser PATH=$program_path
        if [ "$desktop" = 1 ]; then export QT_QPA_PLATFORM=xcb; else unset DISPLAY QT_QPA_PLATFORM; fi
        if [ -n "$at" ]; then
            # Only the wall clock moves; Qt's timers run on the real monotonic clock. File times
            # stay real: faked ones make fontconfig rescan every font and rewrite its caches.
            export LD_PRELOAD=$faketime_lib FAKETIME_DONT_FAKE_MONOTONIC=1 NO_FAKE_STAT=1
            export FAKETIME_TIMESTAMP_FILE=$E2E_CLOCK FAKETIME_CACHE_DURATION=1
        fi
        exec "$E2E_APP/tickbell" --console "$@"
    ) </dev/null >"$E2E_CONSOLE" 2>"$E2E_STDERR" &
    E2E_PID=$!
    E2E_STARTED=$(e2e_now)
    e2e_log "started tickbell (pid $E2E_PID${at:+, clock at $at})"
}

e2e_program_running() { e2e__alive "$E2E_PID"; }

e2e_wait_program_exit()
{
    e2e_wait_until "${1:-30}" eval '! e2e__alive "$E2E_PID"' || return 1
    E2E_ENDED=$(e2e_now)
    E2E_EXIT_STATUS=0
    wait "$E2E_PID" || E2E_EXIT_STATUS=$?
    E2E_PID=
}

e2e_stop_program()
{
    [ -n "$E2E_PID" ] || return 0
    local pid=$E2E_PID
    E2E_PID=
    e2e__stop_pid --stack "$pid" || e2e_fail "the program did not end within 10 s of TERM (its stack is above)"
}

e2e_browser_calls() { cat "$E2E_BROWSER_LOG"; }

e2e_console_texts() # KIND
{
    awk -v kind="$1: " '{
        rest = $0
        sub(/^[0-9]+-[0-9]+-[0-9]+ [0-9]+:[0-9]+:[0-9]+ /, "", rest)
        if (substr(rest, 1, length(kind)) == kind) print substr(rest, length(kind) + 1)
    }' "$E2E_CONSOLE"
}

e2e_console_line_no() # KIND TEXT
{
    awk -v kind="$1: " -v text="$2" '{
        rest = $0
        sub(/^[0-9]+-[0-9]+-[0-9]+ [0-9]+:[0-9]+:[0-9]+ /, "", rest)
        if (rest == kind text) { print NR; exit }
    }' "$E2E_CONSOLE"
}

e2e_console_has() { [ -n "$(e2e_console_line_no "$1" "$2")" ]; }
e2e__console_matches() { e2e_console_texts "$1" | grep -Eq -- "$2"; }

e2e_wait_console() # KIND TEXT [SECS]
{
    e2e_wait_until "${3:-20}" e2e_console_has "$1" "$2"
}

e2e_wait_console_re() # KIND ERE [SECS]
{
    e2e_wait_until "${3:-20}" e2e__console_matches "$1" "$2"
}

# What xdotool found, even when it then stumbled over a window that went away meanwhile (its
# complaints go to xdotool.log, shown when the test fails).
e2e__find_window()
{
    local found
    found=$(xdotool search --onlyvisible --name "$1" 2>>"$E2E_SCRATCH/xdotool.log") || true
    found=${found%%$'\n'*}
    [ -n "$found" ] && echo "$found"
}

e2e_wait_window() # TITLE_ERE [SECS]
{
    e2e_wait_until "${2:-30}" e2e__find_window "$1" >/dev/null || return 1
    e2e__find_window "$1"
}

e2e_window_title() # WID
{
    xprop -id "$1" -notype _NET_WM_NAME 2>/dev/null |
        sed -n 's/^_NET_WM_NAME = "\(.*\)"$/\1/p' | sed 's/\\"/"/g; s/\\\\/\\/g'
}

e2e__title_is() { [ "$(e2e_window_title "$1")" = "$2" ]; }

e2e_wait_title() # WID TEXT [SECS]
{
    e2e_wait_until "${3:-20}" e2e__title_is "$1" "$2"
}

e2e_window_state() # WID
{
    xprop -id "$1" -notype _NET_WM_STATE 2>/dev/null |
        sed -n 's/^_NET_WM_STATE = //p' | tr -d ' '
}

e2e_screenshot() # WID FILE
{
    import -window "$1" "$2" 2>>"$E2E_SCRATCH/import.log" || e2e_fail "screenshot of window $1 failed"
    local shots=${TICKBELL_E2E_SHOTS:-}
    if [ -d "$shots" ]; then cp "$2" "$shots/$E2E_NAME-$(basename "$2")"; fi
}

e2e_key() # WID KEYS...
{
    local wid=$1
    shift
    xdotool windowactivate --sync "$wid" key --clearmodifiers "$@"
}

e2e_close_request() { wmctrl -i -c "$1"; }
