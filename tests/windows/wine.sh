# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash disable=SC2034
# (SC2034: the E2E_* variables set here are the harness's, read by its functions.)
# The Windows build under Wine on a test desktop of its own: what tests/windows/e2e.sh and
# tests/windows/installer.sh share, on top of the end-to-end harness (tests/e2e/lib.sh).
#   win_init NAME DEADLINE BUILD_DIR [SOURCE_DIR]
#                                 the harness's desktop set-up for BUILD_DIR (the cross build);
#                                 sets WIN_BUILD.
#   win_new_prefix NAME           a fresh Wine prefix in WIN_PREFIX.
#   win_fake_clock PREFIX 'YYYY-MM-DD HH:MM:SS'
#                                 the prefix's wineserver kept running on a clock from then on.
#   win_start_program PREFIX [--at 'YYYY-MM-DD HH:MM:SS'] EXE [ARGS...]
#                                 the program under Wine, as e2e_start_program starts it.
#   win_quit WID WHAT             Ctrl+Q, and it ends with status 0.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"

# The test's desktop and scratch folder; every Wine prefix it makes is stopped at the end.
win_init() # NAME DEADLINE BUILD_DIR [SOURCE_DIR]
{
    [ $# -ge 3 ] || e2e_fail "usage: $0 BUILD_DIR [SOURCE_DIR]"
    E2E__T0=$(e2e__us)
    E2E_NAME=$1
    WIN_BUILD=$(cd "$3" && pwd)
    E2E_SRC=${4:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
    E2E_RUN_DIR=$WIN_BUILD/bin
    [ -f "$E2E_RUN_DIR/Tickbell.exe" ] || e2e_fail "no program at $E2E_RUN_DIR/Tickbell.exe (build it first)"
    e2e_require Xvfb openbox xdotool xprop import convert sox awk wine wineserver wineboot dbus-daemon

    WIN_PREFIXES=()
    WIN_FAKED_CLOCKS=()
    e2e__init_desktop "$E2E_NAME" win__cleanup
    # TZ=Asia/Shanghai (the harness's), as a Linux user's Wine has it: Wine's zone follows it,
    # while the Windows C runtime takes the name for UTC; the programs must not ask the latter.
    unset WINEPREFIX WINESERVER
    export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES='mscoree,mshtml='
    e2e_deadline "$2"
    e2e_log "scratch $E2E_SCRATCH, output $E2E_OUT"
}

# Ctrl+Q, and the program ends with status 0. Under Wine a window can show its title a moment
# before it takes keys, so a press that found it not ready yet is repeated (and said).
win_quit() # WID WHAT
{
    local try
    for try in 1 2 3 4; do
        e2e_key "$1" ctrl+q
        if e2e_wait_program_exit 5; then
            [ "$E2E_EXIT_STATUS" = 0 ] || e2e_fail "$2 ended with status $E2E_EXIT_STATUS after Ctrl+Q"
            [ "$try" = 1 ] || e2e_log "$2 took Ctrl+Q at press $try"
            return 0
        fi
    done
    e2e_fail "$2 did not end on Ctrl+Q (pressed 4 times, 5 s apart)"
}

# Wine's own processes go with their prefixes' servers; the session bus goes last of all.
win__cleanup()
{
    local status=$? prefix
    set +e
    if [ -n "$E2E_PID" ] && e2e__alive "$E2E_PID"; then e2e__stop_pid "$E2E_PID"; fi
    E2E_PID=
    for prefix in "${WIN_PREFIXES[@]}"; do WINEPREFIX=$prefix wineserver -k 2>/dev/null; done
    for prefix in "${WIN_PREFIXES[@]}"; do WINEPREFIX=$prefix wineserver -w 2>/dev/null; done
    (exit "$status")
    e2e__cleanup
}

# A fresh Wine prefix, ready to run programs (its first start takes about ten seconds); its path
# in WIN_PREFIX. Not called in a subshell: the cleanup stops every prefix it has made.
win_new_prefix() # NAME
{
    WIN_PREFIX=$E2E_SCRATCH/$1
    WIN_PREFIXES+=("$WIN_PREFIX")
    WINEPREFIX=$WIN_PREFIX wineboot -i </dev/null >>"$E2E_SCRATCH/wineboot.log" 2>&1 ||
        e2e_fail "wineboot could not make the prefix $1 (see wineboot.log)"
    WINEPREFIX=$WIN_PREFIX wineserver -w
}

win__faketime_lib()
{
    local found=(/usr/lib/*/faketime/libfaketime.so.1)
    [ -e "${found[0]}" ] || e2e_fail "libfaketime is not installed (package faketime)"
    echo "${found[0]}"
}

# The prefix's wineserver, persistent, on a clock that starts at that moment: programs started
# there later with --at leave it, and whatever else runs in the prefix, alone.
win_fake_clock() # PREFIX 'YYYY-MM-DD HH:MM:SS'
{
    local faketime_lib
    faketime_lib=$(win__faketime_lib)
    WINEPREFIX=$1 wineserver -k 2>/dev/null || true
    WINEPREFIX=$1 wineserver -w
    WINEPREFIX=$1 LD_PRELOAD=$faketime_lib FAKETIME="@$2" FAKETIME_DONT_FAKE_MONOTONIC=1 NO_FAKE_STAT=1 \
        wineserver -p </dev/null >/dev/null 2>&1
    WIN_FAKED_CLOCKS+=("$1")
}

# Starts EXE under Wine in PREFIX with --console; with --at the clock starts at that moment. The
# prefix's wineserver must then run under a faked clock too: unless win_fake_clock made it so, a
# running one (and whatever runs in the prefix) is stopped first.
win_start_program() # PREFIX [--at 'YYYY-MM-DD HH:MM:SS'] EXE [ARGS...]
{
    local prefix=$1 at=
    shift
    if [ "${1:-}" = --at ]; then
        at=$2
        shift 2
    fi
    local exe=$1
    shift
    local faketime_lib=
    if [ -n "$at" ]; then
        faketime_lib=$(win__faketime_lib)
        if ! printf '%s\n' "${WIN_FAKED_CLOCKS[@]}" | grep -qxF -- "$prefix"; then
            WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
            WINEPREFIX=$prefix wineserver -w
        fi
    fi
    (
        cd "$(dirname "$exe")" || exit 1
        export WINEPREFIX=$prefix
        if [ -n "$at" ]; then
            export LD_PRELOAD=$faketime_lib FAKETIME="@$at" FAKETIME_DONT_FAKE_MONOTONIC=1 NO_FAKE_STAT=1
        fi
        # A Windows program ends its lines with CR LF; the harness reads them without the CR.
        exec wine "$exe" --console "$@" > >(sed -u 's/\r$//' >"$E2E_CONSOLE")
    ) </dev/null 2>"$E2E_STDERR" &
    E2E_PID=$!
    E2E_STARTED=$(e2e_now)
    e2e_log "started $(basename "$exe") under Wine (pid $E2E_PID${at:+, clock at $at})"
}
