#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build under Wine, end to end, on a desktop of its own (Xvfb, openbox, its own D-Bus
# session bus, a PulseAudio null sink), with the end-to-end harness of tests/e2e:
#   tests/windows/e2e.sh BUILD_DIR [SOURCE_DIR]
# The real Tickbell.exe from a copy of BUILD_DIR/bin, in a fresh Wine prefix, with the clock at
# Friday 2010-02-12 09:19:50 and TZ=Asia/Shanghai as a Linux user's Wine has it (a name the
# Windows C runtime takes for UTC): the window's title read from X11, the status 还没开盘, a
# screenshot with the Chinese labels drawn, the welcome and then the auction prompt heard on the
# sink, config.txt made beside the program byte-identical to plug\config.txt, and Ctrl+Q ending it
# with status 0; then the log-off (tests/windows/end_session.cpp) waiting for the answer about an
# unsaved change in 交易日历, then ending it by itself with status 0.
# Then the zip in BUILD_DIR/dist: its contents listed and checked, --help answering a script, and
# the program run from it in a fresh prefix (every DLL it needs is in it), keeping config.txt
# beside itself. Then the tools, through their starters in plug\. The installer has
# tests/windows/installer.sh. Screenshots and logs are kept in ./output/windows-e2e.
# shellcheck source=tests/windows/wine.sh
source "$(dirname "$0")/wine.sh"
# shellcheck source=tests/e2e/menu.sh
source "$(dirname "$0")/../e2e/menu.sh"

win_init windows-e2e 600 "$@"
e2e_start_display
e2e_start_sound

# --- The Windows backends' own tests, here because the prompt test needs the sound server.
e2e_log "backend tests"
win_new_prefix prefix-tests
WINEPREFIX=$WIN_PREFIX ctest --test-dir "$WIN_BUILD" -L windows --output-on-failure -V \
    >"$E2E_OUT/backend-tests.txt" 2>&1 || { cat "$E2E_OUT/backend-tests.txt" >&2; e2e_fail "the backend tests failed"; }
! grep -q '# SKIP' "$E2E_OUT/backend-tests.txt" ||
    e2e_fail "a backend test skipped on the test desktop: $(grep '# SKIP' "$E2E_OUT/backend-tests.txt")"

# --- The program from the build, a Friday just before the morning auction.
app=$E2E_SCRATCH/app
cp -R "$E2E_RUN_DIR" "$app"
rm -f "$app/config.txt"
win_new_prefix prefix-program
prefix=$WIN_PREFIX
e2e_start_recording
[ "$TZ" = Asia/Shanghai ] || e2e_fail "TZ is '$TZ', not Asia/Shanghai"
win_start_program "$prefix" --at '2010-02-12 09:19:50' "$app/Tickbell.exe"

wid=$(e2e_wait_window '^Tickbellv1\.32 - Orro SOFT$' 60) ||
    e2e_fail "no window titled 'Tickbellv1.32 - Orro SOFT' within 60 s"
title=$(e2e_window_title "$wid")
[ "$title" = 'Tickbellv1.32 - Orro SOFT' ] || e2e_fail "window title is '$title'"

e2e_wait_until 10 test -s "$app/config.txt" || e2e_fail "config.txt was not created beside Tickbell.exe"
cmp "$app/config.txt" "$app/plug/config.txt" || e2e_fail "config.txt differs from plug\\config.txt"
# Beijing time from UTC, not from the C runtime's idea of the zone: before the auction.
e2e_wait_console status '还没开盘...' 20 ||
    e2e_fail "the status is not 还没开盘 at 09:19 Beijing time: $(e2e_console_texts status | tr '\n' '|')"

# The auction prompt at 09:20:00; how much had been captured when it was asked for.
requested() { e2e_console_has prompt '机构竞价.wav' && captured=$(e2e_recording_position); }
e2e_wait_until 20 requested ||
    e2e_fail "no 'prompt: 机构竞价.wav' within 20 s; prompts: $(e2e_console_texts prompt | tr '\n' '|')"
prompts=$(e2e_console_texts prompt | tr '\n' '|')
[ "$prompts" = 'Tickbell.wav|机构竞价.wav|' ] || e2e_fail "prompts requested: '$prompts', expected the welcome then the auction"
welcome=$(e2e_recording_peak 0 "$captured")
awk -v p="$welcome" -v t="$E2E_SOUND_THRESHOLD" 'BEGIN { exit !(p > t) }' ||
    e2e_fail "the welcome prompt was not heard on the sink before the auction (peak $welcome)"
e2e_log "welcome prompt heard (peak $welcome)"
e2e_expect_speech_after "$captured" "auction prompt"
e2e_stop_recording

# The status line, red on black, once painted: "还没开盘..." spans some 290 px, the start-up text
# "Tickbell" far less.
shot=$E2E_OUT/main-window.png
red_width()
{
    e2e_screenshot "$wid" "$shot"
    convert "$shot" -fill black +opaque 'rgb(255,0,0)' -trim -format '%w' info: 2>/dev/null
}
status_painted() { [ "$(red_width)" -gt 250 ]; }
e2e_wait_until 10 status_painted || e2e_fail "the red status line is not painted (red text $(red_width) px wide); see $shot"
e2e_log "screenshot: $shot"

win_quit "$wid" "the program"
e2e_log "Ctrl+Q ended it with status 0"

# --- The log-off ends it like Exit: asked and told as Windows asks and tells it (wineboot would
# kill it right after telling it), it ends by itself, with status 0, within 5 s. With a change in
# 交易日历 not saved yet, the log-off waits for the trader's answer first, as an editor's does.
win_start_program "$prefix" --at '2010-02-10 10:05:00' "$app/Tickbell.exe"
wid=$(e2e_wait_window '^Tickbellv1\.32 - Orro SOFT$' 60) || e2e_fail "the program did not start again"
e2e_wait_until 20 status_painted || e2e_fail "the window was not painted again; see $shot"
cp "$app/holidays.txt" "$E2E_SCRATCH/holidays-before.txt"
e2e_menu_choose "$wid" 3 6 # 工具 > 交易日历
calendar=$(e2e_wait_window '^交易日历$' 30) || e2e_fail "工具 > 交易日历 opened no window under Wine"
e2e_key "$calendar" space # today, opened or closed
question() { xdotool search --onlyvisible --name '^交易日历$' 2>/dev/null | grep -vx "$calendar" | head -n 1 | grep .; }
told=0
WINEPREFIX=$prefix wine "$WIN_BUILD/tests/bin/end_session.exe" Tickbell.exe </dev/null >/dev/null 2>&1 || told=$?
box=$(e2e_wait_until 10 question) || e2e_fail "the log-off did not ask about 交易日历's change (end_session status $told)"
[ "$told" = 1 ] || e2e_fail "the log-off went on while the question was open (end_session status $told)"
e2e_program_running || e2e_fail "the program ended before the trader answered"
e2e_screenshot "$box" "$E2E_OUT/log-off-question.png"
e2e_key "$box" Return # 保存
changed() { ! cmp -s "$app/holidays.txt" "$E2E_SCRATCH/holidays-before.txt"; }
e2e_wait_until 10 changed || e2e_fail "保存 at the log-off did not save 交易日历's change"
cp "$E2E_SCRATCH/holidays-before.txt" "$app/holidays.txt" # the runs below trade that day
e2e_log "the log-off waited for the answer about 交易日历's change, which was saved"
# As with Ctrl+Q, a window that has only just shown may not take the message yet: asked again.
told=1
for try in 1 2 3; do
    told=0
    WINEPREFIX=$prefix wine "$WIN_BUILD/tests/bin/end_session.exe" Tickbell.exe </dev/null >/dev/null 2>&1 || told=$?
    [ "$told" = 0 ] && break
    sleep 2
done
[ "$told" = 0 ] || e2e_fail "the program did not agree to the end of the session (end_session status $told, asked 3 times)"
e2e_wait_program_exit 5 || e2e_fail "the program did not end within 5 s of the end of the session"
[ "$E2E_EXIT_STATUS" = 0 ] || e2e_fail "the program ended with status $E2E_EXIT_STATUS at the end of the session"
e2e_log "the end of the session: the program ended by itself with status 0 (asked $try time(s))"

# --- The zip: exactly the program folder, and a program that runs from it alone.
zip=$(echo "$WIN_BUILD"/dist/Tickbell-*-win64.zip)
[ -f "$zip" ] || e2e_fail "no zip in $WIN_BUILD/dist"
name=$(basename "$zip" .zip)
expected=(Tickbell.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6Network.dll libstdc++-6.dll libgcc_s_seh-1.dll
    libwinpthread-1.dll platforms/qwindows.dll styles/qwindowsvistastyle.dll translations/qtbase_zh_CN.qm
    plug/config.txt holidays.txt statutory-holidays.txt LICENSE.txt README.txt)
for wav in "$E2E_SRC"/assets/sound/*.wav "$E2E_SRC"/assets/sound/*.WAV; do expected+=("sound/$(basename "$wav")"); done
# The tools beside the one copy of the runtime (Windows looks for a program's DLLs in its own
# folder), and their starters in plug\.
for f in clocktool.exe abacus.exe posmover.exe ceilprice.exe poweroff.exe; do expected+=("$f" "plug/$f"); done
unzip -Z1 "$zip" | grep -v '/$' | sort >"$E2E_OUT/zip-contents.txt"
printf "$name/%s\n" "${expected[@]}" | sort >"$E2E_SCRATCH/zip-expected.txt"
diff -u "$E2E_SCRATCH/zip-expected.txt" "$E2E_OUT/zip-contents.txt" >&2 ||
    e2e_fail "the zip does not hold exactly the program folder (- missing, + unexpected)"
e2e_log "zip holds the ${#expected[@]} files of the program folder"
unzip -q "$zip" -d "$E2E_SCRATCH/unzipped"
portable=$E2E_SCRATCH/unzipped/$name
win_new_prefix prefix-zip
# --help from a script: the text goes where its output goes, and nothing waits for an answer.
help=0
(cd "$portable" && WINEPREFIX=$WIN_PREFIX exec timeout 60 wine ./Tickbell.exe --help) </dev/null \
    >"$E2E_OUT/help.txt" 2>>"$E2E_SCRATCH/help.log" || help=$?
[ "$help" = 0 ] || e2e_fail "Tickbell.exe --help ended with status $help (124: still running after 60 s)"
grep -q '^Settings file: ' "$E2E_OUT/help.txt" || e2e_fail "Tickbell.exe --help wrote no help to its output: $(head -c 300 "$E2E_OUT/help.txt")"
e2e_log "--help printed to the file its output went to"
win_start_program "$WIN_PREFIX" "$portable/Tickbell.exe"
wid=$(e2e_wait_window '^Tickbellv1\.32 - Orro SOFT$' 60) ||
    e2e_fail "the program from the zip showed no window in a fresh prefix (a DLL missing?); stderr: $(tail -n 5 "$E2E_STDERR")"
e2e_wait_until 10 test -s "$portable/config.txt" || e2e_fail "the program from the zip made no config.txt beside itself"
cmp "$portable/config.txt" "$portable/plug/config.txt" || e2e_fail "the zip's config.txt differs from plug\\config.txt"
e2e_screenshot "$wid" "$E2E_OUT/from-zip.png"
win_quit "$wid" "the program from the zip"
e2e_log "the zip's program ran in a fresh prefix and kept config.txt beside itself"

# --- The tools in plug\, under Wine: each starter carries the program's icon and a version;
# keys 6, 9 and 0 of the program start 时间校正, 常规计算器 (Wine has no calc.exe: its message
# names what to install) and 转仓计算器, and 涨停版计算 starts from its file in plug\ as Explorer
# starts it, each window seen; the elevated part's status comes back through its starter. With
# shutdown15:1, 15:00:08 brings up the countdown, and 立即关机 reaches InitiateShutdownW with
# SHUTDOWN_POWEROFF: Wine's own log records the call (a stub there, which refuses), and the
# window shows the refusal.
win__gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
win__close_tool() # WID WHAT PICTURE
{
    e2e_screenshot "$1" "$E2E_OUT/$3.png"
    e2e_close_request "$1"
    e2e_wait_until 20 win__gone "$1" || e2e_fail "$2 did not close on a close request under Wine"
    e2e_log "$2: window seen under Wine and closed"
}
# As with Ctrl+Q, a key pressed the moment the main window shows may be lost: pressed again
# (a second start of a tool only brings the first forward).
win_key_tool() # MAIN_WID KEY TITLE_ERE PICTURE
{
    local try tool
    for try in 1 2 3 4; do
        e2e_key "$1" "$2"
        if tool=$(e2e_wait_window "$3" 10); then
            [ "$try" = 1 ] || e2e_log "key $2 took at press $try"
            win__close_tool "$tool" "key $2" "$4"
            return 0
        fi
    done
    e2e_fail "key $2 showed no window titled /$3/ under Wine (pressed 4 times, 10 s apart)"
}

command -v wrestool >/dev/null || e2e_fail "wrestool is missing: scripts/install-deps.sh --test installs icoutils"
for tool in clocktool abacus posmover ceilprice poweroff; do
    [ -n "$(wrestool -l --type=14 "$app/plug/$tool.exe")" ] || e2e_fail "plug\\$tool.exe has no icon"
    [ -n "$(wrestool -l --type=16 "$app/plug/$tool.exe")" ] || e2e_fail "plug\\$tool.exe has no version"
done
win_new_prefix prefix-tools
prefix=$WIN_PREFIX
# The clock tool asks only the loopback, where nothing listens.
roaming=$(find "$prefix/drive_c/users" -mindepth 3 -maxdepth 3 -path '*/AppData/Roaming' ! -path '*/Public/*' | head -n 1)
[ -d "$roaming" ] || e2e_fail "no AppData\\Roaming in the prefix"
mkdir -p "$roaming/tickbell"
printf '[clocktool]\r\nservers=127.0.0.1:9\r\n' >"$roaming/tickbell/tools.ini"

win_start_program "$prefix" --at '2010-02-10 10:05:00' "$app/Tickbell.exe"
wid=$(e2e_wait_window '^Tickbellv1\.32 - Orro SOFT$' 60) || e2e_fail "the program did not start for the tools"
win_key_tool "$wid" 6 '^时间校正$' clocktool-wine
win_key_tool "$wid" 9 '^常规计算器$' abacus-wine
win_key_tool "$wid" 0 '^转仓计算器$' posmover-wine
win_quit "$wid" "the program"
(cd "$app/plug" && WINEPREFIX=$prefix exec wine ./ceilprice.exe) </dev/null >/dev/null 2>&1 &
tool=$(e2e_wait_window '^涨停版计算$' 60) || e2e_fail "plug\\ceilprice.exe showed no window under Wine"
win__close_tool "$tool" "plug\\ceilprice.exe" ceilprice-wine

# 校正系统时间 starts the clock tool again, elevated, to have the Windows time service resync:
# that part asks the service manager for W32Time (Wine's trace records it; Wine has no such
# service, so it fails).
resynced=0
(cd "$app/plug" && WINEPREFIX=$prefix WINEDEBUG=-all,trace+service exec wine ./clocktool.exe --resync-windows-time) \
    </dev/null >/dev/null 2>"$E2E_SCRATCH/resync.log" || resynced=$?
grep -q 'OpenServiceW .*L"W32Time"' "$E2E_SCRATCH/resync.log" ||
    e2e_fail "the clock tool's elevated part did not ask for the time service: $(grep -m 3 OpenServiceW "$E2E_SCRATCH/resync.log")"
[ "$resynced" != 0 ] || e2e_fail "the clock tool's elevated part reported success without a time service"
e2e_log "the clock tool's elevated part asked for W32Time and failed (status $resynced)"

sed 's/^shutdown15:0/shutdown15:1/' "$app/plug/config.txt" >"$app/config.txt"
WINEDEBUG=-all,fixme+advapi win_start_program "$prefix" --at '2010-02-10 14:59:55' "$app/Tickbell.exe"
countdown=$(e2e_wait_window ' 秒后关机 - 快速关机$' 90) || e2e_fail "no countdown after 15:00:08 with shutdown15:1 under Wine"
e2e_screenshot "$countdown" "$E2E_OUT/poweroff-wine.png"
asked() { grep -q 'InitiateShutdownW' "$E2E_STDERR"; }
asked && e2e_fail "InitiateShutdownW was called before 立即关机"
for try in 1 2 3; do
    e2e_key "$countdown" shift+Tab space # from 取消, which has the focus, to 立即关机
    e2e_wait_until 10 asked && break
done
asked || e2e_fail "立即关机 did not reach InitiateShutdownW (Wine's log: $(tail -n 3 "$E2E_STDERR"))"
call=$(grep -m 1 'InitiateShutdownW' "$E2E_STDERR")
[[ $call == *'(null), (null), 0, 8, '* ]] || e2e_fail "InitiateShutdownW was called as: $call"
e2e_wait_title "$countdown" '快速关机' 20 || e2e_fail "the countdown's title is '$(e2e_window_title "$countdown")' after the refusal"
e2e_screenshot "$countdown" "$E2E_OUT/poweroff-refused-wine.png"
e2e_log "立即关机 under Wine: $call"
e2e_close_request "$countdown"
e2e_wait_until 20 win__gone "$countdown" || e2e_fail "the refused countdown did not close"
