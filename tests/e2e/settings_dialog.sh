#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The settings dialog on the real program: opened from the menu with the mouse, a rule with a
# colon typed into Text1 and "行情网页" ticked, saved; config.txt then holds the new record in
# GBK, and after a restart the dialog shows the rule exactly as typed.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e__require xclip iconv cmp timeout
e2e_start_display

rule='14:30 前不追高'
config=$E2E_APP/config.txt

# A window of the program that was not there when menus_before was taken.
menus_before=
new_window() { comm -13 <(echo "$menus_before") <(xdotool search --onlyvisible --class tickbell | sort) | head -n 1 | grep .; }

# Clicks "编辑" (the second title of the menu bar, found in a picture of the window) and then
# the first item of the menu that drops down, "系统设置"; prints the dialog's window id.
open_settings()
{
    local wid=$1 shot=$E2E_SCRATCH/menubar.png width titles first last popup
    import -window "$wid" "$shot" 2>>"$E2E_SCRATCH/import.log" || e2e_fail "no picture of the main window"
    width=$(identify -format %w "$shot")
    # Columns with dark ink in the menu bar, grouped into titles.
    titles=$(convert "$shot" -crop "${width}x14+0+3" +repage -colorspace gray -scale "${width}x1!" -depth 8 txt:- |
        awk -F'[,:()]' 'NR > 1 && $4 + 0 < 200 { x = $1 + 0
            if (n == 0 || x - last > 10) { n++; first[n] = x }
            last = x; end[n] = x }
            END { for (i = 1; i <= n; i++) print first[i], end[i] }')
    [ "$(wc -l <<<"$titles")" -ge 2 ] || e2e_fail "cannot find the menu titles in $shot"
    read -r first last < <(sed -n 2p <<<"$titles")
    menus_before=$(xdotool search --onlyvisible --class tickbell | sort)
    xdotool mousemove --window "$wid" $(((first + last) / 2)) 10 click 1
    popup=$(e2e_wait_until 10 new_window) || e2e_fail "clicking 编辑 opened no menu"
    xdotool mousemove --window "$popup" 30 11 click 1
    e2e_wait_window '^系统设置$' 10 || e2e_fail "系统设置 did not open the settings dialog"
}

# Text1's contents through the clipboard (select all, copy, read); the focus must be in Text1.
text1_contents()
{
    e2e_key "$1" ctrl+a ctrl+c
    timeout 5 xclip -o -selection clipboard
}
text1_is() { [ "$(text1_contents "$1")" = "$2" ]; }

# Dark pixels in a part of a picture of the dialog (a tick, or the text in a box).
dark_pixels()
{
    local dialog=$1 geometry=$2 shot=$E2E_SCRATCH/dialog.png
    import -window "$dialog" "$shot" 2>>"$E2E_SCRATCH/import.log" || return 1
    convert "$shot" -crop "$geometry" +repage -colorspace gray -threshold 40% -negate \
        -format '%[fx:int(mean*w*h)]' info:
}
# In the dialog's client area: Frame5 at (8,296) with Check1 and Check2 (17 px square) at
# (96,16) and (240,16) inside it, their inner 11 x 11 holding the tick; Text1 at (16,24)
# inside Frame1, 273 x 113 with its scroll bar on the right.
check1_inner=11x11+107+315
check2_inner=11x11+251+315
text1_inner=240x100+20+28
check2_ticked() { [ "$(dark_pixels "$1" "$check2_inner")" -gt 4 ]; }
text1_blank() { [ "$(dark_pixels "$1" "$text1_inner")" -lt 30 ]; } # the cursor may show
dialog_gone() { ! xdotool search --onlyvisible --name '^系统设置$' >/dev/null; }

e2e_start_program --at '2010-02-10 10:05:00'
wid=$(e2e_wait_window '^Tickbellv1\.32 - Orro SOFT$' 30) || e2e_fail "the main window did not appear"
e2e_wait_until 10 test -s "$config" || e2e_fail "config.txt was not created"
grep -q $'^flashweb:0\r$' "$config" || e2e_fail "the shipped config.txt does not hold flashweb:0"

dialog=$(open_settings "$wid")
e2e_screenshot "$dialog" "$E2E_OUT/dialog-defaults.png"
# Replace the default rule; the colon is part of the rule, not a separator. It goes in through
# the clipboard: xdotool's typing of Chinese remaps keys on the fly and now and then drops one.
printf '%s' "$rule" | xclip -selection clipboard -i -quiet >/dev/null 2>&1 &
clip=$!
e2e_wait_until 10 sh -c 'xclip -o -selection clipboard -t TARGETS >/dev/null 2>&1' ||
    e2e_fail "could not put the rule on the clipboard"
e2e_key "$dialog" ctrl+a ctrl+v
xdotool mousemove --window "$dialog" 256 320 click 1 # Check2, beside "行情网页"
# Seeing the tick also means the typing before it has been handled.
e2e_wait_until 10 check2_ticked "$dialog" || e2e_fail "clicking the box beside 行情网页 did not tick it"
xdotool mousemove --window "$dialog" 424 344 click 1 # Command1 "保存设置"
e2e_wait_until 10 dialog_gone || e2e_fail "the dialog did not close after 保存设置"
kill "$clip" 2>/dev/null || true

expected=$E2E_SCRATCH/expected.txt
{
    printf 'form1.law1:%s\r\n' "$rule"
    printf 'form1.law2:      卖出纪律     <br>    内容内容....\r\n'
    printf 'form1.law3:      持仓理由     <br>    内容内容....\r\n'
    printf 'form1.law4:      空仓理由     <br>    内容内容....\r\n'
    printf 'qqnews:0\r\nflashweb:1\r\nssoft:0\r\nshutdown15:0\r\nmysoft=\r\n\r\n'
} >"$expected.utf8"
iconv -f UTF-8 -t GBK "$expected.utf8" >"$expected"
cmp "$config" "$expected" || {
    od -c "$config" | head -n 20 >&2
    e2e_fail "config.txt is not the saved record in GBK"
}
grep -q $'^flashweb:1\r$' "$config" || e2e_fail "config.txt has no flashweb:1"
e2e_program_running || e2e_fail "the program ended"

e2e_log "restarting"
e2e_stop_program
e2e_start_program --at '2010-02-10 10:06:00'
wid=$(e2e_wait_window '^Tickbellv1\.32 - Orro SOFT$' 30) || e2e_fail "the main window did not appear again"
dialog=$(open_settings "$wid")
e2e_wait_until 10 check2_ticked "$dialog" || e2e_fail "行情网页 is not ticked after the restart"
[ "$(dark_pixels "$dialog" "$check1_inner")" -eq 0 ] || e2e_fail "QQ滚动新闻 is ticked after the restart"
e2e_screenshot "$dialog" "$E2E_OUT/dialog-restarted.png"
e2e_wait_until 10 text1_is "$dialog" "$rule" ||
    e2e_fail "after the restart Text1 shows '$(text1_contents "$dialog")', saved was '$rule'"
e2e_close_request "$dialog"
e2e_wait_until 10 dialog_gone || e2e_fail "the close box did not close the dialog"

# The close box drops an edit and leaves the file as it was.
dialog=$(open_settings "$wid")
e2e_key "$dialog" ctrl+a BackSpace
e2e_wait_until 10 text1_blank "$dialog" || e2e_fail "Text1 was not emptied"
e2e_close_request "$dialog"
e2e_wait_until 10 dialog_gone || e2e_fail "the close box did not close the dialog"
cmp "$config" "$expected" || e2e_fail "closing the dialog changed config.txt"
e2e_program_running || e2e_fail "the program ended"
