# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Menu helpers for the end-to-end tests, sourced after lib.sh. The menu bar has no keyboard
# mnemonics, so a menu is opened by clicking its title where a picture of the window shows it,
# and an item is chosen in the menu that drops down with the keys, as a user may: Down walks
# the items the keyboard reaches (separators and disabled items, such as the divider " ------",
# are passed over), Return chooses. No pixel size of the style is assumed.
#
#   e2e_menu_titles WID           "FIRST LAST" pixel columns of each menu title, left to right.
#   e2e_menu_open WID TITLE_NO    click title TITLE_NO (1 = 文件 ... 5 = 帮助); print the menu's id.
#   e2e_menu_choose WID TITLE_NO ITEM_NO
#                                 open that menu and choose the ITEM_NO-th item Down reaches.

e2e_menu_titles() # WID
{
    local wid=$1 shot=$E2E_SCRATCH/menubar.png width
    import -window "$wid" "$shot" 2>>"$E2E_SCRATCH/import.log" || e2e_fail "no picture of window $wid"
    width=$(identify -format %w "$shot")
    # Columns with dark ink in the top 3..17 rows (the bar is about 20 px high), grouped into titles.
    convert "$shot" -crop "${width}x14+0+3" +repage -colorspace gray -scale "${width}x1!" -depth 8 txt:- |
        awk -F'[,:()]' 'NR > 1 && $4 + 0 < 200 { x = $1 + 0
            if (n == 0 || x - last > 10) { n++; first[n] = x }
            last = x; end[n] = x }
            END { for (i = 1; i <= n; i++) print first[i], end[i] }'
}

e2e__menu_before=
e2e__new_popup()
{
    comm -13 <(echo "$e2e__menu_before") <(xdotool search --onlyvisible --class tickbell 2>/dev/null | sort) |
        head -n 1 | grep .
}

e2e_menu_open() # WID TITLE_NO
{
    local wid=$1 number=$2 titles first last popup
    titles=$(e2e_menu_titles "$wid")
    [ "$(wc -l <<<"$titles")" -eq 5 ] ||
        e2e_fail "expected the five menu titles 文件 编辑 工具 窗口 帮助 in the menu bar, found columns: $(tr '\n' ' ' <<<"$titles")"
    read -r first last < <(sed -n "${number}p" <<<"$titles")
    e2e__menu_before=$(xdotool search --onlyvisible --class tickbell 2>/dev/null | sort)
    xdotool mousemove --window "$wid" $(((first + last) / 2)) 10 click 1
    popup=$(e2e_wait_until 10 e2e__new_popup) || e2e_fail "clicking menu title $number opened no menu"
    echo "$popup"
}

e2e__window_gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }

e2e_menu_choose() # WID TITLE_NO ITEM_NO
{
    local wid=$1 title=$2 item=$3 popup
    popup=$(e2e_menu_open "$wid" "$title")
    # The open menu has the keyboard: plain key presses reach it.
    xdotool key --repeat "$item" --delay 50 Down
    xdotool key Return
    e2e_wait_until 10 e2e__window_gone "$popup" || e2e_fail "menu $title stayed open after choosing item $item"
}
