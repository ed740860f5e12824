#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Texts full of shell metacharacters are data, never commands. A rule and a trading-program
# path holding quotes, $( ), backticks, ; & | < > * ?, "=", "<br>" and a backslash are put into
# the settings dialog and saved: config.txt holds them byte for byte; after a restart the dialog
# shows them again (the rule's "<br>" as a line break, the path unchanged), and key 8 starts
# exactly that file, once, with no argument and no shell in between (nothing the metacharacters
# would have run happens).
source "$(dirname "$0")/common.sh"
e2e_init "$@"
e2e_require xclip iconv cmp timeout
e2e_start_display
config=$E2E_APP/config.txt
marker=ran-by-a-shell # a shell would make this file in its working folder

rule="14:30 卖; rm -rf ~ && echo \$(touch $marker) \`touch $marker\` | tee >x <br>a=b 'q' \"dq\" mysoft=/evil qqnews:1 \\n"
# An executable whose name holds the same kind of characters, and that notes how it was started.
mkdir -p "$E2E_SCRATCH/trader"
soft="$E2E_SCRATCH/trader/my trader;\$(touch $marker)&|\`id\`'q\"<br>=a<b>*?#~{x}\\.sh"
soft_log=$E2E_SCRATCH/soft.log
printf '#!/bin/sh\nprintf "%%s|%%s|%%s\\n" "$0" "$#" "$(pwd)" >>"%s"\n' "$soft_log" >"$soft"
chmod +x "$soft"

e2e_start_program --at '2010-02-10 10:05:00'
wid=$(rel_main_window)
dialog=$(rel_open_settings "$wid")
e2e_key "$dialog" ctrl+a
rel_paste "$dialog" "$rule"
xdotool mousemove --window "$dialog" 480 305 click 1 # myssoft
e2e_key "$dialog" ctrl+a
rel_paste "$dialog" "$soft"
rel_click_save "$dialog"
e2e_wait_until 10 rel_dialog_gone || e2e_fail "the dialog did not close after 保存设置"
rel_write_config "$E2E_SCRATCH/expected.txt" "$rule" 0 "$soft"
e2e_wait_until 10 cmp -s "$config" "$E2E_SCRATCH/expected.txt" || {
    diff <(iconv -f GBK -t UTF-8 "$E2E_SCRATCH/expected.txt" | cat -A) <(iconv -f GBK -t UTF-8 "$config" | cat -A) >&2
    e2e_fail "config.txt does not hold the typed rule and path byte for byte"
}

e2e_log "restarting"
e2e_stop_program
e2e_start_program --at '2010-02-10 10:06:00'
wid=$(rel_main_window)
dialog=$(rel_open_settings "$wid")
shown=$(rel_focused_text "$dialog")
[ "$shown" = "$(rel_rule_in_box "$rule")" ] || e2e_fail "after the restart Text1 shows '$shown'"
xdotool mousemove --window "$dialog" 480 305 click 1
shown=$(rel_focused_text "$dialog")
[ "$shown" = "$soft" ] || e2e_fail "after the restart myssoft shows '$shown', saved was '$soft'"
e2e_close_request "$dialog"
e2e_wait_until 10 rel_dialog_gone || e2e_fail "the close box did not close the dialog"

e2e_key "$wid" 8
e2e_wait_until 10 test -s "$soft_log" || e2e_fail "key 8 did not start the saved trading program: $(cat "$E2E_STDERR")"
sleep 1 # a second start would come at once
[ "$(cat "$soft_log")" = "$soft|0|$E2E_SCRATCH/trader" ] ||
    e2e_fail "the trading program was started as '$(cat "$soft_log")', expected '$soft|0|$E2E_SCRATCH/trader'"
made=$(find "$E2E_SCRATCH" "$HOME" -name "$marker" -o -name x)
[ -z "$made" ] || e2e_fail "a shell ran the metacharacters of the rule or the path: $made"
e2e_program_running || e2e_fail "the program ended"
