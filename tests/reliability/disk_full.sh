#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The disk full during a save: the program folder is a small tmpfs filled to the last block.
# A save from the dialog shows "保存设置失败" and leaves config.txt whole and nothing beside
# it; the program runs on, and once there is room again the next save writes the file.
# Mounting needs root (or CAP_SYS_ADMIN); without it the test is skipped.
source "$(dirname "$0")/common.sh"
e2e_init "$@"
e2e_require xclip iconv cmp timeout

folder=$E2E_SCRATCH/full
mkdir "$folder"
kb=$(($(du -sk "$E2E_APP/tickbell" "$E2E_APP/plug" "$E2E_APP/holidays.txt" | awk '{ s += $1 } END { print s }') + 64))
if [ "$(id -u)" != 0 ] || ! rel_mount -t tmpfs -o "size=${kb}k,mode=755" tickbell-full "$folder" 2>"$E2E_SCRATCH/mount.log"; then
    echo "[$E2E_NAME] SKIPPED: cannot mount a tmpfs here ($(cat "$E2E_SCRATCH/mount.log"))" >&2
    exit 77
fi
cp -R "$E2E_APP/tickbell" "$E2E_APP/plug" "$E2E_APP/holidays.txt" "$folder/" # no prompts: no room
E2E_APP=$folder
config=$folder/config.txt
rule='回调到支撑位才买'
rel_write_config "$config" "$rule" 1
cp "$config" "$E2E_SCRATCH/original.txt"
# Fill every block that is left.
cat /dev/zero >"$folder/filler" 2>/dev/null || true
sync
e2e_log "tmpfs of ${kb} KiB: $(df -k --output=avail "$folder" | tail -n 1 | tr -d ' ') KiB free"
before=$(ls -A "$folder")

e2e_start_display
e2e_start_program --at '2010-02-12 09:25:00'
wid=$(rel_main_window)
e2e_wait_until 30 grep -q 'news\.qq\.com' "$E2E_BROWSER_LOG" || e2e_fail "the settings were not read (no news page at the auction)"
dialog=$(rel_open_settings "$wid")
rel_paste "$dialog" '新'
rel_save_fails "$dialog" disk-full-save-failed
cmp -s "$config" "$E2E_SCRATCH/original.txt" || e2e_fail "config.txt changed in the failed save: $(od -c "$config" | head -n 5)"
[ "$before" = "$(ls -A "$folder")" ] || e2e_fail "the failed save left files: $(ls -A "$folder" | tr '\n' ' ')"
rel_mark_console

# Room again: the record kept the edit, and the next save writes it whole.
rm -f "$folder/filler"
dialog=$(rel_open_settings "$wid")
rel_click_save "$dialog"
e2e_wait_until 10 rel_dialog_gone || e2e_fail "the dialog did not close after 保存设置 with room on the disk"
rel_write_config "$E2E_SCRATCH/saved.txt" "新$rule" 1
e2e_wait_until 10 cmp -s "$config" "$E2E_SCRATCH/saved.txt" ||
    e2e_fail "the save after the failed one did not write the edited settings: $(od -c "$config" | head -n 5)"
rel_expect_morning_open
