#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck disable=SC2034 # the E2E_* variables set here are read by the harness
# Settings files the program cannot use. Neither config.txt nor plug/config.txt: one line on
# standard error, the day runs on the default settings, and a save from the dialog writes a
# whole config.txt. config.txt a folder: one line on standard error, the defaults, and a save
# shows the message box "保存设置失败" and leaves the folder as it was. The program runs on.
source "$(dirname "$0")/common.sh"
e2e_init "$@"
e2e_require xclip iconv cmp timeout
e2e_start_display
config=$E2E_APP/config.txt
default_rule=$(rel_rule_in_box "$REL_DEFAULT_RULE1")

# Opens the dialog, checks that Text1 shows the default rule, and leaves the dialog open.
dialog_shows_defaults()
{
    local dialog shown
    dialog=$(rel_open_settings "$1")
    shown=$(rel_focused_text "$dialog")
    [ "$shown" = "$default_rule" ] || e2e_fail "$2: Text1 shows '$shown', not the default rule"
    echo "$dialog"
}

# Exactly one line of standard error about the settings files, matching ERE.
one_settings_line()
{
    rel_wait_stderr "$1" 10 || e2e_fail "$2: standard error does not say /$1/: $(cat "$E2E_STDERR")"
    local n
    n=$(rel_stderr_count 'config\.txt')
    [ "$n" = 1 ] || e2e_fail "$2: $n lines about the settings files: $(cat "$E2E_STDERR")"
    e2e_log "$2: $(rel_stderr_lines 'config\.txt')"
}

# --- neither file
rm -f "$config" "$E2E_APP/plug/config.txt"
E2E_CONSOLE=$E2E_OUT/console-neither.txt E2E_STDERR=$E2E_OUT/stderr-neither.txt
e2e_start_program --at '2010-02-12 09:25:00'
wid=$(rel_main_window)
one_settings_line 'neither .*/config\.txt nor .*/plug/config\.txt exists' neither
e2e_wait_console advice "$REL_AUCTION_FRIDAY" 15 || e2e_fail "neither: no auction advice"
dialog=$(dialog_shows_defaults "$wid" neither)
rel_click_save "$dialog"
e2e_wait_until 10 rel_dialog_gone || e2e_fail "neither: the dialog did not close after 保存设置"
rel_write_config "$E2E_SCRATCH/defaults.txt" "$REL_DEFAULT_RULE1" 0
e2e_wait_until 10 cmp -s "$config" "$E2E_SCRATCH/defaults.txt" ||
    e2e_fail "neither: the save did not write the default settings whole: $(od -c "$config" 2>&1 | head -n 5)"
rel_mark_console
rel_expect_morning_open
[ ! -s "$E2E_BROWSER_LOG" ] || e2e_fail "neither: the defaults open no page, yet: $(cat "$E2E_BROWSER_LOG")"
e2e_stop_program

# --- config.txt is a folder
cp "$E2E_RUN_DIR/plug/config.txt" "$E2E_APP/plug/config.txt"
rm -f "$config"
mkdir "$config"
echo 'not settings' >"$config/keep.txt"
before=$(rel_fingerprint "$E2E_APP")
E2E_CONSOLE=$E2E_OUT/console-folder.txt E2E_STDERR=$E2E_OUT/stderr-folder.txt
e2e_start_program --at '2010-02-12 09:25:00'
wid=$(rel_main_window)
one_settings_line 'cannot read .*/config\.txt \(is a directory\)' folder
e2e_wait_console advice "$REL_AUCTION_FRIDAY" 15 || e2e_fail "folder: no auction advice"
dialog=$(dialog_shows_defaults "$wid" folder)
rel_save_fails "$dialog" folder-save-failed
[ "$before" = "$(rel_fingerprint "$E2E_APP")" ] ||
    e2e_fail "folder: the program folder changed: $(diff <(echo "$before") <(rel_fingerprint "$E2E_APP"))"
rel_mark_console
rel_expect_morning_open
