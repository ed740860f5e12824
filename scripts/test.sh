#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Tickbell with warnings as errors and runs every test:
# unit, widget and end-to-end tests; the unit and widget tests again under AddressSanitizer
# and UndefinedBehaviorSanitizer; the Windows build and its tests under Wine; then each fuzz
# target for a bounded time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" --test

out=${TICKBELL_TEST_DIR:-$root/build-test}
jobs=$(nproc)

echo "== build and run all tests"
stage_start=$SECONDS
cmake -S "$root" -B "$out/main" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTICKBELL_WERROR=ON >/dev/null
cmake --build "$out/main" -j "$jobs"
ctest --test-dir "$out/main" --output-on-failure -j "$jobs"
echo "== build and test stage took $((SECONDS - stage_start)) s"

if [ "${TICKBELL_SKIP_SANITIZERS:-0}" != 1 ]; then
    echo "== unit and widget tests, and a whole trading day, under ASan + UBSan"
    stage_start=$SECONDS
    # The tests get ASAN/LSAN/UBSAN_OPTIONS from CTest: any report, a leak included, fails them.
    cmake -S "$root" -B "$out/asan" -G Ninja -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=Debug \
        -DTICKBELL_WERROR=ON -DTICKBELL_SANITIZE=ON >/dev/null
    cmake --build "$out/asan" -j "$jobs"
    ctest --test-dir "$out/asan" --output-on-failure -j "$jobs" -L 'unit|widget|sanitized'
    echo "== sanitizer stage took $((SECONDS - stage_start)) s"
fi

if [ "${TICKBELL_SKIP_WINDOWS:-0}" != 1 ]; then
    echo "== Windows build and tests under Wine"
    stage_start=$SECONDS
    "$root/scripts/build-windows.sh" --test "$out/windows"
    echo "== Windows stage took $((SECONDS - stage_start)) s"
fi

if [ "${TICKBELL_SKIP_FUZZ:-0}" != 1 ]; then
    echo "== fuzzing (${TICKBELL_FUZZ_SECONDS:-60} s per target)"
    stage_start=$SECONDS
    bash "$root/tests/fuzz/run-fuzzers.sh" "$out/fuzz"
    echo "== fuzz stage took $((SECONDS - stage_start)) s"
fi
echo "== all tests passed in $SECONDS s"
