#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck disable=SC2034 # the E2E_* variables set here are read by the harness
# Settings the program can read but not write. Root writes through permission bits, so the
# program runs as an unprivileged user here.
#  - config.txt read-only in a folder the user can write: the day runs on its settings (the
#    news page opens at the auction), and a save from the dialog shows "保存设置失败" and
#    leaves the file whole and read-only.
#  - config.txt in a program folder the user cannot write: the program keeps its settings in
#    the user's configuration folder; that copy starts from the folder's config.txt, so the day
#    runs on those settings, a save lands in the copy, and the program folder stays unchanged.
source "$(dirname "$0")/common.sh"
e2e_init "$@"
e2e_require xclip iconv cmp timeout setpriv
e2e_start_display
config=$E2E_APP/config.txt
news_opened() { grep -q 'news\.qq\.com' "$E2E_BROWSER_LOG"; }

# --- config.txt read-only
rule='只在回调时买入 <br>不追高'
rel_write_config "$config" "$rule" 1
cp "$config" "$E2E_SCRATCH/original.txt"
chmod 444 "$config"
rel_need_user && chown "$REL_USER_ID" "$E2E_APP" # the folder is the user's, the file is not
E2E_CONSOLE=$E2E_OUT/console-file.txt E2E_STDERR=$E2E_OUT/stderr-file.txt
rel_start_program_as_user '2010-02-12 09:25:00'
wid=$(rel_main_window)
e2e_wait_until 30 news_opened || e2e_fail "file: the news page did not open at the auction: qqnews:1 was not read"
dialog=$(rel_open_settings "$wid")
shown=$(rel_focused_text "$dialog")
[ "$shown" = "$(rel_rule_in_box "$rule")" ] || e2e_fail "file: Text1 shows '$shown'"
rel_save_fails "$dialog" file-save-failed
cmp -s "$config" "$E2E_SCRATCH/original.txt" || e2e_fail "file: the read-only config.txt changed"
[ "$(stat -c %a "$config")" = 444 ] || e2e_fail "file: config.txt is now mode $(stat -c %a "$config")"
left=$(find "$E2E_APP" -maxdepth 1 -name 'config.txt?*')
[ -z "$left" ] || e2e_fail "file: left beside config.txt: $left"
rel_mark_console
rel_expect_morning_open
e2e_stop_program

# --- a program folder the user cannot write
rule='持股不超过三只<br>止损 5%'
chmod 644 "$config"
rel_write_config "$config" "$rule" 1
if rel_need_user; then chown root "$E2E_APP"; chmod 755 "$E2E_APP"; else chmod 555 "$E2E_APP"; fi
before=$(rel_fingerprint "$E2E_APP")
: >"$E2E_BROWSER_LOG"
E2E_CONSOLE=$E2E_OUT/console-folder.txt E2E_STDERR=$E2E_OUT/stderr-folder.txt
rel_start_program_as_user '2010-02-12 09:25:00'
own=$REL_USER_HOME/.config/tickbell/config.txt
wid=$(rel_main_window)
e2e_wait_until 10 test -f "$own" || e2e_fail "folder: no $own"
cmp -s "$own" "$config" || e2e_fail "folder: $own does not start from the program folder's config.txt"
e2e_wait_until 30 news_opened || e2e_fail "folder: the news page did not open at the auction: qqnews:1 was not read"
dialog=$(rel_open_settings "$wid")
shown=$(rel_focused_text "$dialog")
[ "$shown" = "$(rel_rule_in_box "$rule")" ] || e2e_fail "folder: Text1 shows '$shown'"
e2e_key "$dialog" ctrl+End
rel_paste "$dialog" '!'
rel_click_save "$dialog"
e2e_wait_until 10 rel_dialog_gone || e2e_fail "folder: the dialog did not close after 保存设置 (a failure box?)"
rel_write_config "$E2E_SCRATCH/saved.txt" "$rule!" 1
e2e_wait_until 10 cmp -s "$own" "$E2E_SCRATCH/saved.txt" ||
    e2e_fail "folder: $own is not the saved settings: $(od -c "$own" | head -n 5)"
[ "$before" = "$(rel_fingerprint "$E2E_APP")" ] ||
    e2e_fail "folder: the program folder changed: $(diff <(echo "$before") <(rel_fingerprint "$E2E_APP"))"
rel_mark_console
rel_expect_morning_open
