# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash disable=SC2034
# Shared by the reliability scripts: the end-to-end harness (tests/e2e/lib.sh) and a few
# helpers for faults. A script is run as  script RUN_DIR SOURCE_DIR  like an end-to-end test.
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"

# The auction text of a Friday, as the advice line shows it.
REL_AUCTION_FRIDAY='注意：当前是开盘前十分钟的机构竞价时间。从机构竞价的情况可以知道机构今天是想看多还是看空，是想洗盘还是想出货，但机构也不能为所欲为，只能顺势而为 ... ...明天周末不开盘！'
REL_MAIN_TITLE='^Tickbellv1\.32 - Orro SOFT$'

rel_main_window() { e2e_wait_window "$REL_MAIN_TITLE" 30 || e2e_fail "the main window did not appear; stderr: $(cat "$E2E_STDERR")"; }

# Lines of the program's standard error that match an ERE, and how many.
rel_stderr_lines() { grep -E -- "$1" "$E2E_STDERR" || true; }
rel_stderr_count() { grep -Ec -- "$1" "$E2E_STDERR" || true; }
rel_wait_stderr() { e2e_wait_until "${2:-10}" grep -Eq -- "$1" "$E2E_STDERR"; }

# The program goes on after a fault: alive, and its schedule still moves the status line and
# requests the next prompt. Started in the auction (09:25, minutes before the open, however slow
# the steps before), that is the morning open: the clock moves to 09:29:57, and with
# rel_mark_console called right after the fault, the open must come after that moment.
rel_mark_console() { REL_MARK=$(wc -l <"$E2E_CONSOLE"); }
rel_expect_morning_open()
{
    e2e_program_running || e2e_fail "the program ended: $(tail -n 5 "$E2E_STDERR")"
    e2e_set_clock '2010-02-12 09:29:57'
    e2e_wait_console status '股市开盘中...' 30 ||
        e2e_fail "no 'status: 股市开盘中...' at 09:30: the schedule stopped; status lines: $(e2e_console_texts status | tr '\n' '|')"
    e2e_wait_console prompt '上午开盘时间.wav' 10 ||
        e2e_fail "no morning-open prompt; prompts: $(e2e_console_texts prompt | tr '\n' '|')"
    local line
    line=$(e2e_console_line_no status '股市开盘中...')
    [ "$line" -gt "${REL_MARK:-0}" ] || e2e_fail "the morning open came before the fault was over: no proof that the schedule goes on"
    e2e_program_running || e2e_fail "the program ended: $(tail -n 5 "$E2E_STDERR")"
}

# The settings dialog through the menu with the keyboard: Alt opens the menu bar on its first
# title, Right moves to "编辑", Down drops it open on "系统设置". Prints the dialog's id.
rel_open_settings()
{
    e2e_key "$1" alt Right Down Return
    e2e_wait_window '^系统设置$' 20 || e2e_fail "编辑 > 系统设置 did not open the settings dialog"
}

# Buttons and boxes of the dialog, in its client area (twips / 15).
rel_click_save() { xdotool mousemove --window "$1" 424 344 click 1; }      # Command1 保存设置
rel_dialog_gone() { ! xdotool search --onlyvisible --name '^系统设置$' >/dev/null; }

# The text of the focused text box (Text1 when the dialog has just opened) through the clipboard.
rel_focused_text()
{
    e2e_key "$1" ctrl+a ctrl+c
    timeout 5 xclip -o -selection clipboard
}

# Puts TEXT in at the cursor of the focused box through the clipboard: xdotool's typing of
# Chinese remaps keys on the fly and now and then drops one.
rel_paste() # WID TEXT
{
    printf '%s' "$2" | xclip -selection clipboard -i -quiet >/dev/null 2>&1 &
    E2E__PIDS+=($!) # serves the text until another program takes the clipboard
    local text=$2
    clipboard_holds() { [ "$(timeout 5 xclip -o -selection clipboard 2>/dev/null)" = "$text" ]; }
    e2e_wait_until 10 clipboard_holds || e2e_fail "could not put '$text' on the clipboard"
    e2e_key "$1" ctrl+v
}

# Saves from the dialog, expects the failure box "保存设置失败", closes it with its OK button
# and checks that the dialog has closed and the program still runs.
rel_save_fails()
{
    local dialog=$1 box
    rel_click_save "$dialog"
    box=$(e2e_wait_window '^保存设置失败$' 15) || e2e_fail "no message box 保存设置失败 after a save that cannot succeed"
    e2e_screenshot "$box" "$E2E_OUT/${2:-save-failed}.png"
    e2e_key "$box" Return
    e2e_wait_until 10 rel_dialog_gone || e2e_fail "the settings dialog stayed open after the failure box"
    e2e_program_running || e2e_fail "the program ended after a failed save"
}

# A settings file as the program writes it, in GBK: RULE as the first rule, the other three
# rules at their defaults, the news page at the auction on or off (QQNEWS, default 1), the
# trading program MYSOFT (default none).
REL_DEFAULT_RULE1='      买入纪律     <br>    内容内容....'
rel_write_config() # FILE RULE [QQNEWS [MYSOFT]]
{
    {
        printf 'form1.law1:%s\r\n' "$2"
        printf 'form1.law2:      卖出纪律     <br>    内容内容....\r\n'
        printf 'form1.law3:      持仓理由     <br>    内容内容....\r\n'
        printf 'form1.law4:      空仓理由     <br>    内容内容....\r\n'
        printf 'qqnews:%s\r\nflashweb:0\r\nssoft:0\r\nshutdown15:0\r\nmysoft=%s\r\n\r\n' "${3:-1}" "${4:-}"
    } | iconv -f UTF-8 -t GBK >"$1"
}
# How Text1 shows a rule: "<br>" as a line break.
rel_rule_in_box() { printf '%s' "${1//<br>/$'\n'}"; }

# Everything in a folder, with type, mode and content, one a line: to see that it did not change.
rel_fingerprint() { (cd "$1" && find . -mindepth 1 -printf '%y %m %p\n' | sort && find . -type f -print0 | sort -z | xargs -0 -r sha256sum); }

# Mounts made by a test, undone at its end after the program has stopped (it may run from one).
REL_MOUNTS=()
rel__cleanup()
{
    local status=$?
    set +eu
    e2e__end_program "$status" || [ "$status" != 0 ] || status=1
    local m
    for m in "${REL_MOUNTS[@]}"; do umount "$m" 2>/dev/null || umount -l "$m"; done
    (exit "$status")
    e2e__cleanup
}
rel_mount() # MOUNT ARGS... (the mount point last)
{
    mount "$@" || return
    REL_MOUNTS+=("${@: -1}")
    trap 'rel__cleanup' EXIT
}

# Root writes through permission bits; a read-only case then runs the program as nobody.
REL_USER_ID=65534
rel_need_user() { [ "$(id -u)" = 0 ]; }

# e2e_start_program as REL_USER_ID when we are root (with a home and runtime folder of its
# own); as ourselves otherwise.
rel_start_program_as_user()
{
    local at=$1 faketime_lib
    faketime_lib=$(e2e__faketime_lib)
    e2e__new_clock "$at"
    local as_user=()
    if rel_need_user; then
        chmod 755 "$E2E_SCRATCH"
        local home=$E2E_SCRATCH/user-home runtime=$E2E_SCRATCH/user-runtime
        mkdir -p "$home/tmp" "$runtime"
        chmod 700 "$runtime"
        chown -R "$REL_USER_ID:$REL_USER_ID" "$home" "$runtime"
        chmod 666 "$E2E_BROWSER_LOG"
        as_user=(setpriv --reuid="$REL_USER_ID" --regid="$REL_USER_ID" --clear-groups -- env
            HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache"
            XDG_DATA_HOME="$home/.local/share" XDG_RUNTIME_DIR="$runtime" TMPDIR="$home/tmp")
        REL_USER_HOME=$home
    else
        REL_USER_HOME=$HOME
    fi
    (
        cd "$E2E_APP" || exit 1
        export QT_QPA_PLATFORM=xcb BROWSER=$E2E_SCRATCH/browser
        # Only the program gets the fake clock: a root setpriv would make libfaketime's shared
        # memory, which the user's program then cannot open. It reads the clock file like the
        # harness's programs (e2e_set_clock).
        exec "${as_user[@]:-env}" LD_PRELOAD="$faketime_lib" FAKETIME_TIMESTAMP_FILE="$E2E_CLOCK" \
            FAKETIME_CACHE_DURATION=1 FAKETIME_DONT_FAKE_MONOTONIC=1 "$E2E_APP/tickbell" --console
    ) </dev/null >"$E2E_CONSOLE" 2>"$E2E_STDERR" &
    E2E_PID=$!
    E2E_STARTED=$(e2e_now)
    e2e_log "started tickbell as uid $(rel_need_user && echo "$REL_USER_ID" || id -u) (pid $E2E_PID, clock at $at)"
}
