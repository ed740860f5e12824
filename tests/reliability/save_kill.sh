#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SIGKILL during saves: save_loop saves two records to one config.txt, one after the other,
# through the settings dialog's writer; it is killed at a random moment, again and again. Each
# time config.txt must be byte for byte one of the two records. A save writes the new file as
# config.txt.tickbell-saving through QSaveFile (an unnamed file linked as
# config.txt.tickbell-saving.XXXXXX and renamed; where the file system has no unnamed files,
# written under that name from the start) and then renames it over config.txt: a kill leaves
# one of those two names behind at most, which the next save removes. Anything else beside
# config.txt fails the test.
#   save_kill.sh SAVE_LOOP [ROUNDS]
set -euo pipefail
loop=$1
rounds=${2:-300}
name=save_kill
fail() { echo "[$name] FAIL: $*" >&2; exit 1; }

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tickbell-$name.XXXXXX")
pid=
cleanup()
{
    local status=$?
    [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
    if [ "$status" != 0 ] && [ "${E2E_KEEP:-0}" = 1 ]; then
        echo "[$name] kept $scratch" >&2
    else
        rm -rf "$scratch"
    fi
}
trap cleanup EXIT

"$loop" --expected "$scratch" || fail "save_loop could not write the two expected files"
cmp -s "$scratch/a.txt" "$scratch/b.txt" && fail "the two records are the same on disk"
folder=$scratch/app
mkdir -p "$folder/plug"
config=$folder/config.txt

saving() { grep -q saving "$scratch/out"; }
a=0 b=0 left=0 partial=0
for ((round = 1; round <= rounds; round++)); do
    : >"$scratch/out"
    "$loop" "$config" >"$scratch/out" 2>"$scratch/err" &
    pid=$!
    # From the first finished save on, every moment is inside some save or between two.
    for ((tries = 0; tries < 200; tries++)); do
        saving && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    saving || fail "round $round: save_loop did not start saving: $(cat "$scratch/err")"
    sleep "$(printf '0.%04d' $((RANDOM % 200)))" # up to 20 ms: many saves long
    kill -KILL "$pid" 2>/dev/null || true
    status=0
    wait "$pid" 2>/dev/null || status=$? # no "Killed" line for each round
    pid=
    [ "$status" = 137 ] || fail "round $round: save_loop ended with status $status before the kill: $(cat "$scratch/err")"

    if cmp -s "$config" "$scratch/a.txt"; then
        a=$((a + 1))
    elif cmp -s "$config" "$scratch/b.txt"; then
        b=$((b + 1))
    else
        cp "$config" "$scratch/broken-config.txt"
        E2E_KEEP=1
        fail "round $round: config.txt ($(stat -c %s "$config") bytes) is neither record whole; kept in $scratch"
    fi
    before=$left
    while IFS= read -r other; do
        [[ $other =~ ^config\.txt\.tickbell-saving(\.[A-Za-z0-9]{6})?$ ]] ||
            fail "round $round: '$other' left beside config.txt"
        cmp -s "$folder/$other" "$scratch/a.txt" || cmp -s "$folder/$other" "$scratch/b.txt" ||
            partial=$((partial + 1))
        mv "$folder/$other" "$scratch/left-$round-$other"
        left=$((left + 1))
    done < <(find "$folder" -mindepth 1 -maxdepth 1 ! -name config.txt ! -name plug -printf '%f\n')
    [ $((left - before)) -le 1 ] || fail "round $round: one kill left $((left - before)) temporaries"
done
echo "[$name] $rounds kills: config.txt was record A $a times, record B $b times, never anything else;" \
    "$left kill(s) left a config.txt.tickbell-saving behind ($partial of them half written)" >&2
# Kills land everywhere in the cycle only if both records were seen often.
[ "$a" -gt 0 ] && [ "$b" -gt 0 ] || fail "the kills always found the same record: they did not land during saves"
echo "[$name] passed" >&2
