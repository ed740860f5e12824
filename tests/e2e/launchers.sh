#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The launchers on the real program: keys 5 and 7 hand the news and quotes pages to the browser,
# keys 6, 9 and 0 start the clock tool and the two calculators from plug/; key 8 with no trading
# program set shows the not-set message and starts nothing, and with one set whose path holds a
# blank and shell metacharacters starts exactly that file, with no shell in between; qqnews:1
# opens the news page once by itself at the morning auction; 帮助 > 意见建议 sends the feedback
# address with its Chinese text percent-encoded as UTF-8.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu.sh"
e2e_init "$@"
e2e_require iconv od xwininfo
e2e_start_display

config=$E2E_APP/config.txt
tool_log=$E2E_SCRATCH/tools.log
: >"$tool_log"
# Stand-ins for the tools: each notes its name, its arguments and where it was started.
for tool in clocktool abacus posmover ceilprice poweroff; do
    printf '#!/bin/sh\nprintf "%%s args=%%d\\n" %s "$#" >>"%s"\n' "$tool" "$tool_log" >"$E2E_APP/plug/$tool.exe"
    chmod +x "$E2E_APP/plug/$tool.exe"
done

# Percent-encoding of every byte that is not an unreserved ASCII character, in UTF-8.
percent_encode()
{
    local hex out='' byte
    for hex in $(printf '%s' "$1" | od -An -tx1 -v); do
        byte=$(printf '%b' "\\x$hex")
        if [[ $byte == [A-Za-z0-9._~-] ]]; then out+=$byte; else out+=%${hex^^}; fi
    done
    printf '%s\n' "$out"
}

count_lines() { grep -cxF -- "$2" "$1" || true; }
browser_has() { [ "$(count_lines "$E2E_BROWSER_LOG" "$1")" -ge "${2:-1}" ]; }
tool_ran() { [ "$(grep -c "^$1 " "$tool_log" || true)" -ge "${2:-1}" ]; }

# config.txt as the program writes it (GBK, CR LF): the shipped file with the record KEY set to VALUE.
write_config() # KEY SEPARATOR VALUE
{
    iconv -f GBK -t UTF-8 "$E2E_APP/plug/config.txt" | tr -d '\r' |
        key=$1 sep=$2 value=$3 awk 'BEGIN { key = ENVIRON["key"]; sep = ENVIRON["sep"]; value = ENVIRON["value"] }
            index($0, key sep) == 1 { print key sep value; found = 1; next } { print }
            END { if (!found) print key sep value }' |
        sed 's/$/\r/' | iconv -f UTF-8 -t GBK >"$config"
}

start() # [--at TIME]
{
    e2e_start_program "$@"
    main=$(e2e_wait_window '^Tickbellv1\.32 - Orro SOFT$' 30) || e2e_fail "the main window did not appear"
}

news='http://news.qq.com/scroll/now.htm'
quotes='http://www.gw.com.cn/hq/dzh.swf?AutoIndexbar=2&resource_root=http://www.gw.com.cn/hq/'

# --- Keys 5 to 0 with the shipped settings (mysoft empty, no automatic opening).
start --at '2010-02-10 10:05:00'
e2e_key "$main" 5
e2e_wait_until 10 browser_has "$news" || e2e_fail "key 5: the browser got '$(e2e_browser_calls)', expected $news"
e2e_key "$main" 7
e2e_wait_until 10 browser_has "$quotes" ||
    e2e_fail "key 7: the browser got '$(e2e_browser_calls)', expected $quotes"
e2e_key "$main" 6
e2e_wait_until 10 tool_ran clocktool || e2e_fail "key 6 did not start plug/clocktool.exe; tools seen: $(cat "$tool_log")"
e2e_key "$main" 9
e2e_wait_until 10 tool_ran abacus || e2e_fail "key 9 did not start plug/abacus.exe; tools seen: $(cat "$tool_log")"
e2e_key "$main" 0
e2e_wait_until 10 tool_ran posmover || e2e_fail "key 0 did not start plug/posmover.exe; tools seen: $(cat "$tool_log")"
expected_tools=$'clocktool args=0\nabacus args=0\nposmover args=0'
[ "$(cat "$tool_log")" = "$expected_tools" ] || e2e_fail "tools started: '$(cat "$tool_log")', expected '$expected_tools'"
[ "$(e2e_browser_calls)" = "$news"$'\n'"$quotes" ] || e2e_fail "browser calls: '$(e2e_browser_calls)'"

# Key 8 with no trading program: the not-set message, and nothing started.
title='未设置软件路径 ...'
e2e_key "$main" 8
box=$(e2e_wait_window '^未设置软件路径' 15) || e2e_fail "key 8 with mysoft empty showed no message box"
shown=$(e2e_window_title "$box")
[ "$shown" = "$title" ] || e2e_fail "the message box's title is '$shown', expected '$title'"
# The title as the window manager reads it, in the older property too.
xprop -id "$box" WM_NAME | grep -qF "\"$title\"" || e2e_fail "WM_NAME of the box: $(xprop -id "$box" WM_NAME)"
e2e_screenshot "$box" "$E2E_OUT/not-set-box.png"
e2e_key "$box" Return
e2e_wait_until 10 e2e__window_gone "$box" || e2e_fail "Return did not dismiss the message box"
e2e_program_running || e2e_fail "the program ended after the message box"
[ "$(cat "$tool_log")" = "$expected_tools" ] || e2e_fail "key 8 with mysoft empty started a tool: $(cat "$tool_log")"
[ "$(e2e_browser_calls)" = "$news"$'\n'"$quotes" ] || e2e_fail "key 8 with mysoft empty opened a page: $(e2e_browser_calls)"

# 帮助 > 意见建议, the last item (the fifth the keys reach, past the divider): the comment text goes percent-encoded as UTF-8.
comment='就插件程序ID为47的说两句，程序名称为：OrroTickbellv1.32………………我说：'
: >"$E2E_BROWSER_LOG"
e2e_menu_choose "$main" 5 5
feedback_sent() { [ -s "$E2E_BROWSER_LOG" ]; }
e2e_wait_until 10 feedback_sent || e2e_fail "帮助 > 意见建议 sent nothing to the browser"
sent=$(e2e_browser_calls)
e2e_log "feedback address: $sent"
[ "$(wc -l <<<"$sent")" = 1 ] || e2e_fail "意见建议 sent more than one address: $sent"
LC_ALL=C grep -q '[^ -~]' <<<"$sent" && e2e_fail "the feedback address holds raw non-ASCII bytes: $sent"
prefix='http://www.tickbell.org/first02.asp?content='
suffix='&m=#3'
[[ $sent == "$prefix"*"$suffix" ]] || e2e_fail "the feedback address is '$sent', expected '$prefix...$suffix'"
encoded=${sent#"$prefix"}
encoded=${encoded%"$suffix"}
expected_encoded=$(percent_encode "$comment")
decoded=$(printf '%b' "${encoded//%/\\x}")
[ "$decoded" = "$comment" ] || e2e_fail "the feedback comment decodes to '$decoded', expected '$comment' (sent $sent)"
[ "${encoded^^}" = "${expected_encoded^^}" ] ||
    e2e_fail "the feedback comment is sent as $encoded, expected $expected_encoded"
[[ $decoded == *OrroTickbellv1.32………………* ]] || e2e_fail "the version 1.32 does not follow OrroTickbellv: $decoded"
e2e_stop_program

# --- Key 8 with a trading program set: its path has a blank, a quote and shell metacharacters.
softdir=$E2E_SCRATCH/trading\ client
mkdir -p "$softdir"
mysoft="$softdir/my soft;\$(touch pwned)'x.sh"
soft_log=$E2E_SCRATCH/mysoft.log
: >"$soft_log"
# shellcheck disable=SC2016 # $# and $PWD are for the stand-in to expand
printf '#!/bin/sh\nprintf "ran args=%%d cwd=%%s\\n" "$#" "$PWD" >>"%s"\n' "$soft_log" >"$mysoft"
chmod +x "$mysoft"
write_config mysoft = "$mysoft"
: >"$E2E_BROWSER_LOG"
start --at '2010-02-10 10:05:00'
soft_ran() { [ -s "$soft_log" ]; }
e2e_key "$main" 8
e2e_wait_until 10 soft_ran || e2e_fail "key 8 did not start the trading program '$mysoft'"
sleep 2 # time for a second start, or for what a shell would have done
e2e_log "the trading program noted: $(cat "$soft_log")"
[ "$(wc -l <"$soft_log")" = 1 ] || e2e_fail "the trading program ran $(wc -l <"$soft_log") times: $(cat "$soft_log")"
grep -qx 'ran args=0 cwd=.*' "$soft_log" || e2e_fail "the trading program was started as '$(cat "$soft_log")'"
# Where a shell would have run: the program's and the stand-in's folders, home, the test's folder, /.
# (Other tests' folders may vanish while find looks, hence no wider search and no exit status.)
pwned=$({ find "$E2E_SCRATCH" "$PWD" "$E2E_RUN_DIR" -name pwned; find / -maxdepth 1 -name pwned; } 2>/dev/null | head -n 5 || true)
[ -z "$pwned" ] || e2e_fail "a shell ran the path's \$(touch pwned): found $pwned"
xdotool search --onlyvisible --name '^未设置软件路径' >/dev/null && e2e_fail "the not-set message showed although mysoft is set"
[ -z "$(e2e_browser_calls)" ] || e2e_fail "key 8 opened a page: $(e2e_browser_calls)"
e2e_program_running || e2e_fail "the program ended after starting the trading program"
e2e_stop_program

# --- qqnews:1 at the morning auction of a Wednesday: the news page opens once, by itself.
write_config qqnews : 1
: >"$E2E_BROWSER_LOG"
start --at '2010-02-10 09:20:00'
e2e_wait_until 30 browser_has "$news" ||
    e2e_fail "with qqnews:1 the news page did not open by itself within 30 s of 09:20 (browser got '$(e2e_browser_calls)')"
opened_at=$(e2e_now)
e2e_wait_console status '还没开盘...' 10 || e2e_fail "no 'status: 还没开盘...' at 09:20"
sleep 5 # several more ticks inside the auction window
[ "$(e2e_browser_calls)" = "$news" ] ||
    e2e_fail "in the $(awk -v a="$(e2e_now)" -v b="$opened_at" 'BEGIN { printf "%.0f", a - b }') s after the first opening the browser got: $(e2e_browser_calls | tr '\n' '|')"
e2e_log "news page opened $(awk -v a="$opened_at" -v b="$E2E_STARTED" 'BEGIN { printf "%.1f", a - b }') s after the start, once"
e2e_program_running || e2e_fail "the program ended at the auction"
