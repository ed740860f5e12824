#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the benchmarks of an existing build and prints their figures. Builds nothing; never fails
# on a figure, only when a benchmark cannot run at all.
#   tests/bench/run-benchmarks.sh <build-dir>
# Shorter runs:
#   BENCH_TIMER_SECONDS=130   seconds each timer landing run lasts
#   BENCH_IDLE_SECONDS=60     seconds of idle measured for tickbell and the bare window
#   BENCH_STARTS=5            starts of each program for the start-up figures
#   BENCH_SCHEDULE_RUNS=3     simulated years of schedule ticks (about a minute each)
#   BENCH_SCHEDULE_DAYS=365
#   BENCH_STANDARD_RUNS=3     runs of standard time against chronyd (about 25 s each)
#   BENCH_REMINDER_RUNS=201   runs of finding the next time of 200 reminders, at 25 moments each
#   BENCH_ONLY="schedule reminders timer idle startup tools standard tray"   the parts to run
#   BENCH_KEEP=1              keep the scratch folder (logs, the programs' standard error)
# Needs Xvfb, openbox and faketime for the window figures, and chronyd (unpacked by scripts/install-deps.sh --test) for
# standard time; gives tickbell a PulseAudio null sink when pulseaudio is installed.
set -euo pipefail

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
    echo "usage: $0 <build-dir>" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
bench=$build/tests/bench
timer_seconds=${BENCH_TIMER_SECONDS:-130}
idle_seconds=${BENCH_IDLE_SECONDS:-60}
starts=${BENCH_STARTS:-5}
schedule_runs=${BENCH_SCHEDULE_RUNS:-3}
schedule_days=${BENCH_SCHEDULE_DAYS:-365}
standard_runs=${BENCH_STANDARD_RUNS:-3}
reminder_runs=${BENCH_REMINDER_RUNS:-201}
only=" ${BENCH_ONLY:-schedule reminders timer idle startup tools standard tray} "
wants() { [[ $only == *" $1 "* ]]; }

for exe in bench_schedule bench_reminders bench_second_timer bare_window first_frame startup_phases bench_standard_time; do
    [ -x "$bench/$exe" ] || { echo "missing $bench/$exe: build the tests first" >&2; exit 1; }
done
[ -x "$build/bin/tickbell" ] || { echo "missing $build/bin/tickbell: build first" >&2; exit 1; }

export LC_ALL=C.UTF-8
scratch=$(mktemp -d /tmp/tickbell-bench.XXXXXX)
pids=()          # what runs now that was started here, stopped by its own pid
pulse_pidfiles=()
stop_started() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    for f in "${pulse_pidfiles[@]}"; do [ -f "$f" ] && kill "$(cat "$f")" 2>/dev/null || true; done
    wait 2>/dev/null || true
    pids=()
    pulse_pidfiles=()
}
cleanup() {
    stop_started
    if [ -n "${BENCH_KEEP:-}" ]; then echo "bench: scratch files kept in $scratch" >&2; else rm -rf "$scratch"; fi
}
trap cleanup EXIT INT TERM

say() { echo "bench: $*" >&2; }
results=()       # "label|value" lines of the final table
add() { results+=("$1|$2"); }

# Reads key=value pairs from a first_frame line.
field() { tr ' ' '\n' <<<"$1" | sed -n "s/^$2=//p"; }
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "n/a"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
col_of() { [ -s "$1" ] && sed -n "s/.*\b$2=\([0-9.]*\).*/\1/p" "$1" | median || echo n/a; } # FILE KEY
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }
mb() { awk -v k="$1" 'BEGIN { printf "%.1f MB", k / 1024 }'; }

# A desktop of its own: Xvfb, optionally openbox and a PulseAudio null sink. Sets D_DISPLAY,
# D_RUNTIME (for XDG_RUNTIME_DIR) and D_SOUND; run programs on it with those in their environment.
desktop() {
    local wm=$1 sound=$2 dir n
    dir=$(mktemp -d "$scratch/desktop.XXXXXX")
    n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
    pids+=($!)
    D_DISPLAY=:$n
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
    sleep 0.3
    D_RUNTIME=$dir/runtime
    mkdir -m 700 "$D_RUNTIME"
    if [ "$wm" = openbox ]; then
        DISPLAY=$D_DISPLAY openbox >"$dir/openbox.log" 2>&1 &
        pids+=($!)
        sleep 0.5
    fi
    D_SOUND=none
    if [ "$sound" = sound ] && command -v pulseaudio >/dev/null; then
        printf 'load-module module-null-sink sink_name=nullsink\nload-module module-native-protocol-unix auth-anonymous=1\nset-default-sink nullsink\n' >"$dir/pulse.pa"
        if XDG_RUNTIME_DIR=$D_RUNTIME pulseaudio -n -F "$dir/pulse.pa" --exit-idle-time=-1 --daemonize=yes \
            --log-target="file:$dir/pulse.log" >/dev/null 2>&1; then
            pulse_pidfiles+=("$D_RUNTIME/pulse/pid")
            D_SOUND="PulseAudio null sink"
        else
            D_SOUND="none (pulseaudio did not start)"
        fi
    fi
}
# Runs a command on the last desktop made.
on_desktop() { DISPLAY=$D_DISPLAY XDG_RUNTIME_DIR=$D_RUNTIME "$@"; }

# A runnable folder of its own, so that config.txt is written there and not in the build.
program_copy() {
    local dir
    dir=$(mktemp -d "$scratch/program.XXXXXX")
    cp -a "$build/bin/." "$dir/"
    mkdir -p "$dir/home"
    echo "$dir"
}

load_at_start=$(cut -d' ' -f1-3 /proc/loadavg)

# The window figures run at a fixed moment inside the morning session (a Wednesday, no prompt
# or launch due), for tickbell and the bare window alike. NO_FAKE_STAT: see the fonts below.
faketime_lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1 || true)
moment="2010-02-10 10:05:00"
fake_env=(--env "LD_PRELOAD=$faketime_lib" --env "FAKETIME=@$moment" --env FAKETIME_DONT_FAKE_MONOTONIC=1
    --env NO_FAKE_STAT=1 --env TZ=Asia/Shanghai)
if { wants idle || wants startup; } && [ -z "$faketime_lib" ]; then
    echo "faketime is not installed (package faketime)" >&2
    exit 1
fi

# A program that finds fontconfig's caches out of date rescans every font (about 150 ms of CPU)
# and, as root, rewrites them. A process under libfaketime without NO_FAKE_STAT sees faked
# folder times and does that on every start, and the next ordinary process again. Bring the
# caches up to date first, and flag a section during which they were rewritten.
fc-match sans >/dev/null 2>&1 || true
fc_stamp() { stat -c %Y.%Z /var/cache/fontconfig 2>/dev/null || echo none; }
fc_mark=$(fc_stamp)
fc_check() { # section label
    local now
    now=$(fc_stamp)
    if [ "$now" != "$fc_mark" ]; then
        add "$1: WARNING" "fontconfig caches were rewritten during this part; its figures include font rescans"
        fc-match sans >/dev/null 2>&1 || true
        now=$(fc_stamp)
    fi
    fc_mark=$now
}

# ---------------------------------------------------------------------------------------------
if wants schedule; then
    say "schedule: $schedule_runs x $schedule_days days of ticks"
    out=$("$bench/bench_schedule" --runs "$schedule_runs" --days "$schedule_days" --holidays "$build/bin/holidays.txt")
    echo "$out" >&2
    v() { sed -n "s/^$1 *\([0-9.]*\).*/\1/p" <<<"$out"; }
    add "1 schedule tick (SessionSchedule::tick + QDateTime step), ns per tick, median of $schedule_runs" "$(v schedule.ns_per_tick)"
    add "1 of which the QDateTime::addSecs step, ns" "$(v schedule.step_ns)"
    add "1 one run of $schedule_days simulated days ($((schedule_days * 86400)) ticks), s" "$(v schedule.seconds_per_run)"
    add "1 DateKey, ns per call" "$(v calendar.DateKey_ns)"
    add "1 IsHoliday (with its DateKey), ns per call" "$(v calendar.IsHoliday_ns)"
    fc_mark=$(fc_stamp)
fi

# ---------------------------------------------------------------------------------------------
if wants reminders; then
    say "reminders: the next time of 200 reminders, $reminder_runs runs"
    out=$("$bench/bench_reminders" --runs "$reminder_runs" --program-folder "$build/bin")
    echo "$out" >&2
    v() { sed -n "s/^$1 *\([0-9.]*\).*/\1/p" <<<"$out"; }
    add "1 next time of all 200 reminders (calendar asked afresh), ms: median / slowest moment's median / largest" \
        "$(v reminders.all_next_ms_median) / $(v reminders.slowest_moment_ms_median) / $(v reminders.all_next_ms_max)"
fi

# ---------------------------------------------------------------------------------------------
timer_row() { # label, line of bench_second_timer
    local l=$2
    add "2 $1: landing after the second median / p99 / max ms" \
        "$(field "$l" median_ms) / $(field "$l" p99_ms) / $(field "$l" max_ms)"
    add "2 $1: seconds skipped / doubled (of $(field "$l" seconds))" "$(field "$l" skipped) / $(field "$l" doubled)"
}
if wants timer; then
    for load in idle loaded; do
        if [ $load = loaded ]; then
            for _ in $(seq "$(nproc)"); do
                yes >/dev/null &
                pids+=($!)
            done
        fi
        say "timers: $timer_seconds s, CPU $load ($([ $load = loaded ] && echo "yes >/dev/null on $(nproc) cores" || echo "no load"))"
        # Each timer in a process of its own, both at once.
        "$bench/bench_second_timer" --timer second --seconds "$timer_seconds" >"$scratch/second.txt" &
        p1=$!
        "$bench/bench_second_timer" --timer coarse --seconds "$timer_seconds" >"$scratch/coarse.txt" &
        p2=$!
        wait $p1 $p2
        stop_started
        cat "$scratch/second.txt" "$scratch/coarse.txt" >&2
        timer_row "SecondTimer, $load" "$(cat "$scratch/second.txt")"
        timer_row "QTimer(1000) coarse, $load" "$(cat "$scratch/coarse.txt")"
    done
fi

# ---------------------------------------------------------------------------------------------
if wants idle; then
    say "idle: tickbell and the bare window at $moment (faketime), ${idle_seconds} s each, at once"
    prog=$(program_copy)
    desktop openbox sound
    idle_sound=$D_SOUND
    on_desktop "$bench/first_frame" --settle-ms 3000 --idle-ms $((idle_seconds * 1000)) --timeout-ms 30000 \
        "${fake_env[@]}" --env "HOME=$prog/home" \
        -- "$prog/tickbell" >"$scratch/idle-tickbell.txt" 2>"$scratch/idle-tickbell.err" &
    i1=$!
    pids+=($i1)
    desktop openbox nosound
    on_desktop "$bench/first_frame" --settle-ms 3000 --idle-ms $((idle_seconds * 1000)) --timeout-ms 30000 \
        "${fake_env[@]}" --env "HOME=$prog/home" \
        -- "$bench/bare_window" >"$scratch/idle-bare.txt" 2>"$scratch/idle-bare.err" &
    i2=$!
    pids+=($i2)
    wait $i1 || true
    wait $i2 || true
    stop_started
    fc_check "3 idle"
    cat "$scratch/idle-tickbell.txt" "$scratch/idle-bare.txt" >&2
    sed 's/^/tickbell stderr: /' "$scratch/idle-tickbell.err" | head -n 5 >&2
    t=$(cat "$scratch/idle-tickbell.txt")
    b=$(cat "$scratch/idle-bare.txt")
    if [ -n "$t" ] && [ -n "$b" ]; then
        add "3 tickbell idle ${idle_seconds} s (Xvfb+openbox, sound: $idle_sound, faketime): CPU ms" \
            "$(field "$t" cpu_idle_ms)"
        add "3 tickbell CPU ms incl. start-up (start + 3 s settle + ${idle_seconds} s)" "$(field "$t" cpu_total_ms)"
        add "3 tickbell peak memory VmHWM / VmRSS at end" \
            "$(mb "$(field "$t" hwm_kb)") / $(mb "$(field "$t" rss_kb)")"
        add "4 bare window idle ${idle_seconds} s (Xvfb+openbox, faketime): CPU ms" "$(field "$b" cpu_idle_ms)"
        add "4 bare window CPU ms incl. start-up" "$(field "$b" cpu_total_ms)"
        add "4 bare window VmHWM / VmRSS at end" "$(mb "$(field "$b" hwm_kb)") / $(mb "$(field "$b" rss_kb)")"
        add "4 idle CPU ratio tickbell / bare (incl. start-up)" \
            "$(ratio "$(field "$t" cpu_total_ms)" "$(field "$b" cpu_total_ms)")"
    else
        say "idle: a program did not show its window; see above"
        add "3 idle figures" "failed"
    fi
fi

# ---------------------------------------------------------------------------------------------
if wants startup; then
    say "start-up: $starts starts each (after one unmeasured warm-up), alternating, Xvfb without a window manager"
    prog=$(program_copy)
    desktop none sound
    run() { # name, command...
        local name=$1
        shift
        on_desktop "$bench/first_frame" --settle-ms 2000 --timeout-ms 30000 "${fake_env[@]}" --env "HOME=$prog/home" \
            -- "$@" \
            >>"$scratch/startup-$name.txt" 2>>"$scratch/startup-$name.err" || true
    }
    run warmup "$bench/bare_window"
    run warmup "$prog/tickbell"
    for _ in $(seq "$starts"); do
        run bare "$bench/bare_window"
        run tickbell "$prog/tickbell"
    done
    # The same starts timed from inside, phase by phase.
    phases() { # name, arguments...
        local name=$1
        shift
        HOME=$prog/home LD_PRELOAD=$faketime_lib FAKETIME="@$moment" FAKETIME_DONT_FAKE_MONOTONIC=1 NO_FAKE_STAT=1 \
            TZ=Asia/Shanghai on_desktop "$bench/startup_phases" "$@" >>"$scratch/phases-$name.txt" 2>/dev/null || true
    }
    phases warmup --bare
    phases warmup --form1 "$prog"
    for _ in $(seq "$starts"); do
        phases bare --bare
        phases tickbell --form1 "$prog"
    done
    stop_started
    fc_check "4 start-up"
    for name in bare tickbell; do sed "s/^/$name: /" "$scratch/startup-$name.txt" >&2; done
    col() { [ -f "$scratch/startup-$1.txt" ] && sed -n "s/.*\b$2=\([0-9.]*\).*/\1/p" "$scratch/startup-$1.txt" | median; }
    bf=$(col bare frame_ms); tf=$(col tickbell frame_ms)
    bm=$(col bare map_ms); tm=$(col tickbell map_ms)
    bh=$(col bare hwm_kb); th=$(col tickbell hwm_kb)
    n_bare=$(wc -l <"$scratch/startup-bare.txt" 2>/dev/null || echo 0)
    n_tick=$(wc -l <"$scratch/startup-tickbell.txt" 2>/dev/null || echo 0)
    method="process start to first red pixel seen in the window from outside (xcb GetImage every 2 ms)"
    add "4 method" "$method; sound: $D_SOUND; both under faketime at $moment; the bare window shows the same texts in the same faces"
    add "4 bare window: window mapped / first frame ms, median of $n_bare" "$bm / $bf"
    add "4 tickbell: window mapped / first frame ms, median of $n_tick" "$tm / $tf"
    add "4 first frame ratio tickbell / bare" "$(ratio "$tf" "$bf")"
    add "4 peak memory VmHWM (2 s after first frame) bare / tickbell" "$(mb "$bh") / $(mb "$th")"
    add "4 peak memory ratio tickbell / bare" "$(ratio "$th" "$bh")"
    # Median of each phase's own length (its end minus the previous phase's end), over the starts.
    phase_lengths() {
        local lengths keys k out=""
        lengths=$(awk '{ prev = 0; for (i = 1; i <= NF; i++) { split($i, kv, "="); k = kv[1]; sub(/_ms$/, "", k)
                             if (k == "exec_to_main") { print k, kv[2]; continue }
                             printf "%s %.1f\n", k, kv[2] - prev; prev = kv[2] } }' "$1")
        keys=$(awk '!seen[$1]++ { print $1 }' <<<"$lengths")
        for k in $keys; do
            out+="${out:+, }$k $(awk -v k="$k" '$1 == k { print $2 }' <<<"$lengths" | median)"
        done
        echo "$out"
    }
    for name in bare tickbell; do
        [ -s "$scratch/phases-$name.txt" ] || continue
        sed "s/^/$name phases: /" "$scratch/phases-$name.txt" >&2
        add "4 in-process phases, $name, ms each (median of $(wc -l <"$scratch/phases-$name.txt"); exec_to_main in 10 ms steps)" \
            "$(phase_lengths "$scratch/phases-$name.txt")"
    done
fi

# ---------------------------------------------------------------------------------------------
# Each tool in plug/ from its start to its window's first frame (its painted background), as
# from the main window's keys; abacus shows its no-calculator message (no calculator on PATH).
if wants tools; then
    say "tools: $starts starts each (after one unmeasured warm-up), Xvfb without a window manager"
    prog=$(program_copy)
    mkdir -p "$prog/home/.config/tickbell"
    # The clock tool asks only the loopback, where nothing listens; no system bus is reachable.
    printf '[clocktool]\nservers=127.0.0.1:9\n' >"$prog/home/.config/tickbell/tools.ini"
    desktop none nosound
    tool_env=(--env "HOME=$prog/home" --env "XDG_CONFIG_HOME=$prog/home/.config" --env PATH=/nonexistent
        --env "DBUS_SYSTEM_BUS_ADDRESS=unix:path=$scratch/no-system-bus" --env TZ=Asia/Shanghai)
    for tool in clocktool abacus posmover ceilprice poweroff; do
        [ -x "$prog/plug/$tool.exe" ] || { add "5 $tool" "missing"; continue; }
        for n in $(seq 0 "$starts"); do
            out=$scratch/tool-$tool.txt
            [ "$n" = 0 ] && out=$scratch/tool-warmup.txt
            on_desktop "$bench/first_frame" --frame light --settle-ms 500 --timeout-ms 20000 "${tool_env[@]}" \
                -- "$prog/plug/$tool.exe" >>"$out" 2>>"$scratch/tool-$tool.err" || true
        done
        sed "s/^/$tool: /" "$scratch/tool-$tool.txt" >&2 || true
        add "5 $tool: window mapped / first frame ms, median of $(wc -l <"$scratch/tool-$tool.txt" 2>/dev/null || echo 0)" \
            "$(col_of "$scratch/tool-$tool.txt" map_ms) / $(col_of "$scratch/tool-$tool.txt" frame_ms)"
    done
    stop_started
    fc_check "5 tools"
fi

# ---------------------------------------------------------------------------------------------
# Standard time against a real NTP server: chronyd on the loopback, 2.5 s ahead of the
# computer's clock (both under libfaketime on one base, the computer's at 09:19:48), and the day,
# window and tray built as the program builds them, offscreen. Three kinds of run: on (按标准时间提醒
# switched on), step (on, and at 09:19:52 the computer's clock set to the servers' time through
# libfaketime's timestamp file), off (the computer's clock alone), reminders (off, with 200 of the
# trader's reminders). Measured from inside: each
# clock-line change and its paint against the second it follows, the auction prompt handed to
# the sound system against the servers' 9:20:00, how far the exchange clock moved at the step,
# and ten measurements of the offset against 2.5 s with the requests each sent.
if wants standard; then
    # shellcheck source=tests/e2e/chrony.sh
    source "$(dirname "$0")/../e2e/chrony.sh"
    for mode in on step off reminders; do
        : >"$scratch/standard-$mode.txt"
        for r in $(seq "$standard_runs"); do
            say "standard time ($mode): run $r of $standard_runs against chronyd 2.5 s ahead"
            prog=$(program_copy)
            mkdir -p "$prog/home/.config/tickbell" "$prog/runtime"
            chmod 700 "$prog/runtime"
            base=$(($(TZ=Asia/Shanghai date -d '2010-02-12 09:19:48' +%s) - EPOCHSECONDS))
            if ! chrony_start "$scratch/chrony-$mode-$r" "$(awk -v b="$base" 'BEGIN { printf "%+.1f", b + 2.5 }')"; then
                add "7 standard time" "chronyd did not start; see $scratch/chrony-$mode-$r"
                break 2
            fi
            pids+=("$CHRONY_PID")
            printf '[clocktool]\nservers=127.0.0.1:%s\n' "$CHRONY_PORT" >"$prog/home/.config/tickbell/tools.ini"
            printf '%+d\n' "$base" >"$prog/clock"
            if [ "$mode" = reminders ]; then
                # 200 reminders of every kind of day, none of them in the seconds measured.
                days=(每个交易日 休市前最后一个交易日 休市后第一个交易日 每月第一个交易日 每月最后一个交易日 周一 周三 周五 2010-02-12 2010-02-22)
                for i in $(seq 0 199); do
                    printf '%02d:%02d %s 提醒%d\n' $((10 + i / 60)) $((i % 60)) "${days[i % 10]}" "$i"
                done >"$prog/reminders.txt"
            fi
            HOME=$prog/home XDG_CONFIG_HOME=$prog/home/.config XDG_RUNTIME_DIR=$prog/runtime QT_QPA_PLATFORM=offscreen \
                LD_PRELOAD=$faketime_lib FAKETIME_TIMESTAMP_FILE=$prog/clock FAKETIME_NO_CACHE=1 \
                FAKETIME_DONT_FAKE_MONOTONIC=1 NO_FAKE_STAT=1 TZ=Asia/Shanghai \
                "$bench/bench_standard_time" "$prog" "127.0.0.1:$CHRONY_PORT" 2500 10 "$mode" \
                "$(awk -v b="$base" 'BEGIN { printf "%+.1f", b + 2.5 }')" \
                >>"$scratch/standard-$mode.txt" 2>>"$scratch/standard.err" || say "standard time: run $r did not finish"
            stop_started
        done
        sed "s/^/standard time ($mode): /" "$scratch/standard-$mode.txt" >&2
    done
    s=$scratch/standard-on.txt
    n=$(wc -l <"$s")
    if [ "$n" -gt 0 ]; then
        median3() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) printf "%.3f", v[(NR + 1) / 2]; else printf "%.3f", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
        each() { sed -n "s/.*\b$2=\([-0-9.]*\).*/\1/p" "$1" | tr '\n' ' '; } # FILE KEY
        add "7 method" "chronyd -x on 127.0.0.1 under libfaketime +2.5 s; in-process figures, offscreen, tray and notifications as the program builds them; $n runs each"
        for mode in on off reminders; do
            f=$scratch/standard-$mode.txt
            add "7 $mode: clock-line text set after the second, ms: median of the runs' medians / largest" \
                "$(col_of "$f" clock_line_median_ms) / $(sed -n 's/.*clock_line_max_ms=\([0-9.]*\).*/\1/p' "$f" | sort -g | tail -n 1)"
            add "7 $mode: the second's work done / clock line painted after the second, ms, median of the runs' medians" \
                "$(col_of "$f" tick_done_median_ms) / $(col_of "$f" painted_median_ms)"
        done
        add "7 on: auction prompt handed to the sound system after the servers' 9:20:00, ms, each run" "$(each "$s" prompt_after_ms)"
        add "7 step: the exchange clock's move at the computer's step, ms, each run" \
            "$(each "$scratch/standard-step.txt" step_moved_ms)"
        add "7 step: auction prompt after the servers' 9:20:00, ms, each run" \
            "$(each "$scratch/standard-step.txt" prompt_after_ms)"
        add "7 measured offset against 2.5 s (10 measurements a run), ms: median of the runs' medians / largest" \
            "$(sed -n 's/.*offset_error_median_ms=\([0-9.]*\).*/\1/p' "$s" | median3) / $(sed -n 's/.*offset_error_max_ms=\([0-9.]*\).*/\1/p' "$s" | sort -g | tail -n 1)"
        add "7 requests sent per server per measurement, median of each run" "$(each "$s" requests_per_measurement)"
        add "7 the offset the program took at its start, ms, each run" "$(each "$s" program_offset_ms)"
    else
        add "7 standard time" "no run finished; see $scratch/standard.err (BENCH_KEEP=1 keeps it)"
    fi
fi

# Memory with the tray on: a desktop whose session bus has a tray (the end-to-end tests'
# stand-in for one), for tickbell and the bare window alike, as in the start-up figures.
if wants tray; then
    say "tray: $starts starts each (after one unmeasured warm-up), a tray on the desktop's session bus"
    prog=$(program_copy)
    desktop none nosound
    # shellcheck source=scripts/session-bus.sh
    source "$(dirname "$0")/../../scripts/session-bus.sh"
    tray_dir=$(mktemp -d "$scratch/tray.XXXXXX")
    outer_bus=${DBUS_SESSION_BUS_ADDRESS:-}
    if session_bus_start "$tray_dir"; then
        pids+=("$SESSION_BUS_PID")
        /usr/bin/python3 "$(dirname "$0")/../e2e/desktop_standins.py" "$DBUS_SESSION_BUS_ADDRESS" "$tray_dir/items.log" \
            >"$tray_dir/standins.log" 2>&1 &
        pids+=($!)
        for _ in $(seq 100); do grep -q '^ready' "$tray_dir/standins.log" 2>/dev/null && break; sleep 0.1; done
        tray_run() { # name, command...
            local name=$1
            shift
            on_desktop "$bench/first_frame" --settle-ms 2000 --timeout-ms 30000 "${fake_env[@]}" --env "HOME=$prog/home" \
                -- "$@" >>"$scratch/tray-$name.txt" 2>>"$scratch/tray-$name.err" || true
        }
        tray_run warmup "$bench/bare_window"
        tray_run warmup "$prog/tickbell"
        for _ in $(seq "$starts"); do
            tray_run bare "$bench/bare_window"
            tray_run tickbell "$prog/tickbell"
        done
        registered=$(grep -c '"item"' "$tray_dir/items.log" 2>/dev/null || echo 0)
        bh=$(col_of "$scratch/tray-bare.txt" hwm_kb)
        th=$(col_of "$scratch/tray-tickbell.txt" hwm_kb)
        add "6 tray icons registered with the desktop's tray (one a tickbell start, warm-up included)" "$registered"
        add "6 tray on: peak memory VmHWM (2 s after first frame) bare / tickbell" "$(mb "$bh") / $(mb "$th")"
        add "6 tray on: peak memory ratio tickbell / bare" "$(ratio "$th" "$bh")"
    else
        add "6 tray figures" "failed: no session bus"
    fi
    stop_started
    if [ -n "$outer_bus" ]; then export DBUS_SESSION_BUS_ADDRESS=$outer_bus; else unset DBUS_SESSION_BUS_ADDRESS; fi
    fc_check "6 tray"
fi

# ---------------------------------------------------------------------------------------------
# The second's own work, in instructions (callgrind counts them the same whatever else the
# machine does, unlike the wall clock, whose wake-ups dominate the delay after the second): the
# program offscreen at a quiet moment of the session, each second's tick from its timer on, and
# each repaint that follows it.
if wants tickcost && command -v valgrind >/dev/null && command -v callgrind_annotate >/dev/null; then
    say "tick cost: tickbell under callgrind for ${BENCH_TICKCOST_SECONDS:-40} s"
    prog=$(program_copy)
    mkdir -p "$prog/runtime"
    chmod 700 "$prog/runtime"
    echo "$(($(TZ=Asia/Shanghai date -d '2010-02-10 10:05:00' +%s) - EPOCHSECONDS))" >"$prog/clock"
    (cd "$prog" && HOME=$prog/home XDG_RUNTIME_DIR=$prog/runtime QT_QPA_PLATFORM=offscreen TZ=Asia/Shanghai \
        LD_PRELOAD=$faketime_lib FAKETIME_TIMESTAMP_FILE=$prog/clock FAKETIME_DONT_FAKE_MONOTONIC=1 NO_FAKE_STAT=1 \
        timeout -s INT "${BENCH_TICKCOST_SECONDS:-40}" valgrind --tool=callgrind --collect-atstart=no \
        '--toggle-collect=SecondTimer::fire*' '--toggle-collect=QWidgetRepaintManager::paintAndFlush*' \
        --callgrind-out-file="$scratch/tick.callgrind" ./tickbell >/dev/null 2>"$scratch/tickcost.err") || true
    per() { # FUNCTION: instructions per call, of its calls from the event loop
        callgrind_annotate --inclusive=yes --tree=calling "$scratch/tick.callgrind" 2>/dev/null |
            grep -E "^ *[0-9,]+ .*>   .*$1 \([0-9]+x\)" |
            awk '{ gsub(",", "", $1); n = $0; sub(/.*\(/, "", n); sub(/x\).*/, "", n)
                   if (n + 0 > best) { best = n + 0; ir = $1 } }
                 END { if (best > 0) printf "%.0f (%d calls)", ir / best, best }'
    }
    add "8 the second's tick (SecondTimer::fire and all it tells), instructions per second" "$(per 'SecondTimer::fire\(\)')"
    add "8 the repaint after it (the clock line), instructions per second" "$(per 'QWidgetRepaintManager::paintAndFlush\(\)')"
fi

# ---------------------------------------------------------------------------------------------
add "0 machine: cores; load average (1, 5, 15 min) at start / at end" \
    "$(nproc); $load_at_start / $(cut -d' ' -f1-3 /proc/loadavg)"
echo
printf '%-96s %s\n' "figure" "value"
printf '%-96s %s\n' "------" "-----"
for r in "${results[@]}"; do printf '%-96s %s\n' "${r%%|*}" "${r#*|}"; done
