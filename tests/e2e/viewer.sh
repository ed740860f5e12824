#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The rule viewer on the real program: key 1 shows the buy discipline under its caption, the
# default text on two lines; Escape closes the viewer and the program runs on; key 3 shows the
# holding reasons and Delete closes them; Help > 关于软件 shows "关于本软件" and Backspace closes it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu.sh"
e2e_init "$@"
e2e_require xclip timeout xwininfo
e2e_start_display

hint=' - 上下箭头键翻页，ESC/DEL/退格键关闭窗口'
e2e_start_program --at '2010-02-10 10:05:00'
main=$(e2e_wait_window '^Tickbellv1\.32 - Orro SOFT$' 30) || e2e_fail "the main window did not appear"

# Any window of the program, shown or not, whose title is exactly TEXT.
window_titled() { xdotool search --name "^$1\$" 2>/dev/null | head -n 1 | grep .; }
viewer_gone() { ! window_titled "$1" >/dev/null; }

# Text1's contents through the clipboard (the viewer passes Ctrl+A and Ctrl+C to the text box).
text1_contents()
{
    e2e_key "$1" ctrl+a ctrl+c
    timeout 5 xclip -o -selection clipboard
}
text1_is() { [ "$(text1_contents "$1")" = "$2" ]; }

# Bands of at least 4 rows with dark ink in a picture of the viewer's text box: one a line of text.
text_lines()
{
    local shot=$1 width height
    width=$(identify -format %w "$shot")
    height=$(identify -format %h "$shot")
    # Text1 starts 8 px in and ends about 40 px above the bottom; leave out its frame and scroll bar.
    convert "$shot" -crop "$((width - 40))x$((height - 60))+12+12" +repage -colorspace gray -threshold 50% \
        -negate -scale "1x$((height - 60))!" -depth 8 txt:- |
        awk -F'[,:()]' 'NR > 1 { if ($4 + 0 > 2) run++; else { if (run >= 4) n++; run = 0 } }
            END { if (run >= 4) n++; print n + 0 }'
}

main_ok()
{
    e2e_program_running || e2e_fail "the program ended after closing the viewer"
    xwininfo -id "$main" | grep -q 'IsViewable' || e2e_fail "the main window is no longer shown"
    case ",$(e2e_window_state "$main")," in
    *,_NET_WM_STATE_HIDDEN,*) e2e_fail "the main window was minimised by closing the viewer" ;;
    esac
}

# Key 1: the buy discipline.
caption="买入纪律$hint"
e2e_key "$main" 1
viewer=$(e2e_wait_window '^买入纪律 - ' 15) || e2e_fail "key 1 opened no viewer titled '$caption'"
title=$(e2e_window_title "$viewer")
[ "$title" = "$caption" ] || e2e_fail "the viewer's caption is '$title', expected '$caption'"
# plug/config.txt holds "      买入纪律     <br>    内容内容....": two lines in the viewer.
expected=$'      买入纪律     \n    内容内容....'
e2e_wait_until 10 text1_is "$viewer" "$expected" ||
    e2e_fail "the viewer shows '$(text1_contents "$viewer")', expected the two lines '$expected'"
shot=$E2E_OUT/viewer-buy.png
e2e_key "$viewer" ctrl+Home # drop the selection before the picture
e2e_screenshot "$viewer" "$shot"
lines=$(text_lines "$shot")
[ "$lines" = 2 ] || e2e_fail "the picture of the viewer shows $lines lines of text, expected 2 (see $shot)"
e2e_key "$viewer" Escape
e2e_wait_until 10 viewer_gone "$caption" || e2e_fail "Escape did not close the viewer"
main_ok

# Key 3: the holding reasons, under the title 持仓理由 rather than the button's 持仓纪律.
caption="持仓理由$hint"
e2e_key "$main" 3
viewer=$(e2e_wait_window '^持仓理由 - ' 15) || e2e_fail "key 3 opened no viewer titled '$caption'"
title=$(e2e_window_title "$viewer")
[ "$title" = "$caption" ] || e2e_fail "the viewer's caption is '$title', expected '$caption'"
expected=$'      持仓理由     \n    内容内容....'
e2e_wait_until 10 text1_is "$viewer" "$expected" ||
    e2e_fail "the viewer shows '$(text1_contents "$viewer")', expected '$expected'"
e2e_key "$viewer" Delete
e2e_wait_until 10 viewer_gone "$caption" || e2e_fail "Delete did not close the viewer"
main_ok

# Help (the fifth menu) > 关于软件 (its third of six items): the title gains 本.
caption="关于本软件$hint"
e2e_menu_choose "$main" 5 3
viewer=$(e2e_wait_window '^关于本软件 - ' 15) || e2e_fail "帮助 > 关于软件 opened no viewer titled '$caption'"
title=$(e2e_window_title "$viewer")
[ "$title" = "$caption" ] || e2e_fail "the viewer's caption is '$title', expected '$caption'"
# Two lines, each starting with four blanks; the first names Orro, its maker and "Tickbell 软件".
about_ok()
{
    local text
    text=$(text1_contents "$1")
    [ "$(wc -l <<<"$text")" = 2 ] && [[ $(head -n 1 <<<"$text") =~ ^\ {4}Orro[（(].+[）)]\ Tickbell\ 软件$ ]] &&
        [[ $(tail -n 1 <<<"$text") =~ ^\ {4}[^\ ] ]]
}
e2e_wait_until 10 about_ok "$viewer" || e2e_fail "the about text is '$(text1_contents "$viewer")'"
e2e_key "$viewer" ctrl+Home
e2e_screenshot "$viewer" "$E2E_OUT/viewer-about.png"
e2e_key "$viewer" BackSpace
e2e_wait_until 10 viewer_gone "$caption" || e2e_fail "Backspace did not close the viewer"
main_ok
e2e_screenshot "$main" "$E2E_OUT/main-after.png"
