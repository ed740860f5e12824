#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The second channel on a desktop with a tray and a notification daemon: Monday 2027-01-04, a
# year the holidays file does not cover, at 09:19:50. On the test's own session bus a stand-in
# tray (org.kde.StatusNotifierWatcher with a host) notes the item's registration and a monitor
# notes every Notify call, which dunst, a real notification daemon, answers and shows.
# - The calendar notice comes as a notification and as a line under the main window's controls
#   (screenshot), never as a window over them.
# - At 09:20:00 the auction's notification says the status and the advice's first sentence.
# - The tray item's tooltip (read with gdbus) has the status, Beijing time and the next key moment;
#   its picture is the auction's (orange). A click (Activate) brings the minimised window back.
# - The clock moved to 09:30, 11:30 and 15:00: the pictures of the session, the break and the
#   closed market, each kept as a PNG of every size; the close's notification.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_require dunstctl
e2e_start_display

e2e_start_desktop_services
noted() { e2e_noted "$@"; }
notified() { e2e_notified "$@"; }

e2e_start_program --at '2027-01-04 09:19:50'
main=$(e2e_wait_window '^Tickbellv1\.32 - Orro SOFT$' 30) || e2e_fail "no main window"

# The calendar notice: a notification, and a line in the window.
e2e_wait_until 20 notified '休市日历提示' || e2e_fail "no notification of the calendar notice; Notify calls: $(noted notify)"
noted notify | grep -qF '休市日历只到2026年' || e2e_fail "the calendar notification does not say where the calendar ends: $(noted notify)"
xdotool search --onlyvisible --name '^休市日历提示$' >/dev/null 2>&1 && e2e_fail "the calendar notice opened a window"

# The item registered with the tray.
e2e_wait_until 20 eval '[ -n "$(noted item)" ]' || e2e_fail "no tray item registered with the watcher"
item=$(noted item | head -n 1 | /usr/bin/python3 -c 'import json, sys; print(json.load(sys.stdin))')
e2e_log "tray item $item"
property() { gdbus call --session --dest "$item" --object-path /StatusNotifierItem \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem "$1"; }

# 09:20:00: the auction.
e2e_wait_until 30 notified '还没开盘...' ||
    e2e_fail "no notification at the auction (clock $(e2e_clock_now)); Notify calls: $(noted notify)"
auction=$(noted notify | grep -F '"summary": "还没开盘..."')
grep -qF '"body": "注意：当前是开盘前十分钟的机构竞价时间。"' <<<"$auction" ||
    e2e_fail "the auction's notification: $auction"
grep -qF '"timeout": 15000' <<<"$auction" || e2e_fail "the auction's notification does not go by itself: $auction"
[ "$(noted notify | wc -l)" = 2 ] || e2e_fail "notifications other than the notice and the auction: $(noted notify)"
e2e_wait_console prompt '机构竞价.wav' 5 || e2e_fail "the notification came without the auction prompt"

# The tooltip at 09:20, as the desktop's tray reads it.
expected='还没开盘...\n北京时间 9:20\n下一时点：9:25 开盘集合竞价撮合（还有5分钟）'
tooltip() { property ToolTip; }
has_tooltip() { tooltip | grep -qF "$expected"; }
e2e_wait_until 10 has_tooltip || e2e_fail "the tray's tooltip at 09:20: $(tooltip)"
e2e_log "tooltip: $(tooltip)"

# The picture of a phase, in every size drawn (16 to 64 px), its ground at the left edge half way
# down in the phase's colour; kept as tray-PHASE-SIZE.png.
picture_is() # PHASE RRGGBB
{
    property IconPixmap >"$E2E_SCRATCH/icon-pixmap.txt" || return 1
    /usr/bin/python3 - "$E2E_SCRATCH/icon-pixmap.txt" "$E2E_OUT/tray-$1" "$2" <<'PY'
import re, struct, sys, zlib
text, prefix, ground = open(sys.argv[1]).read(), sys.argv[2], bytes.fromhex("ff" + sys.argv[3])
sizes = []
# gdbus prints each pixmap as (W, H, [byte 0x.., ...]): ARGB, network order.
for w, h, data in re.findall(r"\((\d+), (\d+), \[([^\]]*)\]\)", text):
    w, h = int(w), int(h)
    raw = bytes(int(b, 16) for b in re.findall(r"0x([0-9a-f]{2})", data))
    at = 4 * (w * (h // 2) + 1)
    if len(raw) != 4 * w * h or raw[at:at + 4] != ground:
        sys.exit(1)
    rows = b"".join(b"\0" + bytes(raw[4 * (y * w + x) + i] for x in range(w) for i in (1, 2, 3, 0)) for y in range(h))
    chunk = lambda t, d: struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d))
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) \
        + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b"")
    open("%s-%d.png" % (prefix, w), "wb").write(png)
    sizes.append(w)
sys.exit(sorted(sizes) != [16, 22, 24, 32, 48, 64])
PY
}
e2e_wait_until 10 picture_is auction e86a00 || e2e_fail "the tray's picture at 09:20 is not the auction's (orange)"

# dunst shows them: the screen with the notifications and the window's notice line.
e2e_wait_until 10 eval '[ "$(dunstctl count displayed)" -ge 1 ]' || e2e_fail "dunst shows no notification"
import -window root "$E2E_OUT/desktop.png" 2>>"$E2E_SCRATCH/import.log"
e2e_screenshot "$main" "$E2E_OUT/main-window.png"

# A click on the tray brings the minimised window back.
e2e_key "$main" Escape
e2e_wait_until 10 eval '[[ $(e2e_window_state "$main") == *HIDDEN* ]]' || e2e_fail "Escape did not minimise the window"
gdbus call --session --dest "$item" --object-path /StatusNotifierItem --method org.kde.StatusNotifierItem.Activate 0 0 >/dev/null ||
    e2e_fail "the tray item took no click"
e2e_wait_until 10 eval '[[ $(e2e_window_state "$main") != *HIDDEN* ]]' || e2e_fail "a click on the tray did not bring the window back"
e2e_log "the tray's click brought the window back"

# The other phases' pictures; the close last, after which the program counts down and ends.
e2e_set_clock '2027-01-04 09:30:00'
e2e_wait_until 10 picture_is trading c8102e || e2e_fail "the tray's picture at 09:30 is not the session's (red)"
e2e_set_clock '2027-01-04 11:30:00'
e2e_wait_until 10 picture_is midday 1f5fb8 || e2e_fail "the tray's picture at 11:30 is not the break's (blue)"
e2e_set_clock '2027-01-04 15:00:00'
e2e_wait_until 10 picture_is closed 6e6e6e || e2e_fail "the tray's picture at 15:00 is not the closed market's (grey)"
e2e_wait_until 10 notified '今天已收盘...' || e2e_fail "no notification at the close: $(noted notify)"
noted notify | grep -qF '"body": "下一个交易日：1月5日（周二）9:15"' ||
    e2e_fail "the close's notification does not name the next trading day: $(noted notify | tail -n 1)"
e2e_log "pictures of the four phases in $E2E_OUT"
