#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang++ into <outdir> and runs each one for a bounded time
# (TICKBELL_FUZZ_SECONDS, default 60) on a copy of its seeds in tests/fuzz/corpus/<target>.
# Fails on any crash, broken invariant, sanitizer report, leak or timeout; the input that did it
# is left in <outdir>/artifacts/<target>/ (replay it: <outdir>/build/fuzz/<target> <file>).
# Prints how many inputs each target ran. The repository's seeds are only read.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 <outdir>" >&2
    exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
seconds=${TICKBELL_FUZZ_SECONDS:-60}
jobs=$(nproc)

# Each target reads inputs of about the size it is made for: a settings file of a few
# kilobytes, a rule text, a date and a short holidays file, a reminders file.
targets=(fuzz_config fuzz_markup fuzz_calendar fuzz_reminders)
declare -A max_len=([fuzz_config]=16384 [fuzz_markup]=4096 [fuzz_calendar]=1024 [fuzz_reminders]=4096)

echo "building the fuzz targets in $out/build"
cmake -S "$root" -B "$out/build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
    "-DCMAKE_CXX_FLAGS_DEBUG=-g -O1" -DTICKBELL_FUZZ=ON -DTICKBELL_TESTS=OFF -DTICKBELL_WERROR=ON >/dev/null
cmake --build "$out/build" -j "$jobs" --target fuzzers

symbolizer=$(command -v llvm-symbolizer || command -v llvm-symbolizer-14 || true)
export ASAN_SYMBOLIZER_PATH=${symbolizer}
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export TZ=Asia/Shanghai LC_ALL=C.UTF-8

failed=()
summary=()
for t in "${targets[@]}"; do
    corpus="$out/corpus/$t"
    artifacts="$out/artifacts/$t"
    log="$out/logs/$t.log"
    rm -rf "$corpus" "$artifacts"
    mkdir -p "$corpus" "$artifacts" "$out/logs"
    cp -R "$here/corpus/$t/." "$corpus/"

    echo "== $t for ${seconds} s (max_len ${max_len[$t]})"
    status=0
    "$out/build/fuzz/$t" "$corpus" -max_total_time="$seconds" -max_len="${max_len[$t]}" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1 || status=$?
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    found=$(find "$artifacts" -type f | head -n 1)
    if [ "$status" -ne 0 ] || [ -n "$found" ] || [ -z "$execs" ]; then
        failed+=("$t")
        summary+=("$t: FAILED (exit $status) after ${execs:-?} inputs; log $log${found:+, input $found}")
        echo "$t failed (exit $status); the end of its log:" >&2
        tail -n 40 "$log" >&2
    else
        summary+=("$t: ${execs} inputs in ${seconds} s, no findings")
    fi
done

echo "== fuzzing summary"
printf '%s\n' "${summary[@]}"
if [ "${#failed[@]}" -gt 0 ]; then
    echo "fuzzing found problems in: ${failed[*]}" >&2
    exit 1
fi
