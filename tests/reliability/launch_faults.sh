#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Launches that cannot happen: key 6 with plug/clocktool.exe absent, and key 5 with no browser
# at all (BROWSER names a program that does not exist, and no xdg-open or other browser on the
# PATH). Each press gives one line of the program's on standard error (for the browser, Qt adds
# its own "Unable to detect a web browser" before it) and nothing else; the news and quotes
# pages that the settings open at the auction fail the same way without holding up the tick;
# the program runs on and its schedule moves on to the morning open.
source "$(dirname "$0")/common.sh"
e2e_init "$@"
e2e_start_display

rm -f "$E2E_APP/plug/clocktool.exe" # not shipped; make sure
rel_write_config "$E2E_APP/config.txt" '回调到支撑位才买'
sed -i 's/^flashweb:0/flashweb:1/' "$E2E_APP/config.txt"
rm -f "$E2E_SCRATCH/browser" # BROWSER still names it
mkdir -p "$E2E_SCRATCH/no-browser-bin"
PATH=$E2E_SCRATCH/no-browser-bin e2e_start_program --at '2010-02-12 09:25:00'
wid=$(rel_main_window)

e2e_wait_console prompt '机构竞价.wav' 30 || e2e_fail "no auction prompt"
e2e_wait_console advice "$REL_AUCTION_FRIDAY" 10 || e2e_fail "the auction advice is missing or incomplete"
# The auction opens the news page and the quotes page (qqnews:1, flashweb:1): two failures.
e2e_wait_until 30 eval '[ "$(rel_stderr_count "no browser could open")" -ge 2 ]' ||
    e2e_fail "the failed launches at the auction were not reported: $(cat "$E2E_STDERR")"

# One new line of the program's own on standard error after KEY, matching ERE; besides it
# only Qt's line QT_ERE, if given.
press_gives_one_line()
{
    local key=$1 ere=$2 qt_ere=${3:-} before after new ours others
    sleep 1 # let the auction's lines settle
    before=$(wc -l <"$E2E_STDERR")
    e2e_key "$wid" "$key"
    e2e_wait_until 10 eval '[ "$(wc -l <"$E2E_STDERR")" -gt "$before" ]' || e2e_fail "key $key: nothing on standard error"
    sleep 2 # a second line would come at once
    after=$(wc -l <"$E2E_STDERR")
    new=$(tail -n "+$((before + 1))" "$E2E_STDERR")
    ours=$(grep -c '^tickbell: tickbell\.launch: ' <<<"$new" || true)
    others=$(grep -v '^tickbell: tickbell\.launch: ' <<<"$new" | grep -Evc -- "${qt_ere:-^$}" || true)
    [ "$ours" = 1 ] && [ "$others" = 0 ] ||
        e2e_fail "key $key gave $((after - before)) lines on standard error, $ours of them the program's: $new"
    grep -Eq -- "$ere" <<<"$new" || e2e_fail "key $key: '$new' does not match /$ere/"
    e2e_program_running || e2e_fail "key $key ended the program"
    e2e_log "key $key: $new"
}
press_gives_one_line 6 'plug/clocktool\.exe'
press_gives_one_line 5 'no browser could open https?://' "^tickbell: Unable to detect a web browser to launch '"
rel_mark_console
rel_expect_morning_open
[ ! -s "$E2E_BROWSER_LOG" ] || e2e_fail "something was opened after all: $(cat "$E2E_BROWSER_LOG")"
