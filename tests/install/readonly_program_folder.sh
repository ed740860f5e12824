#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A system-wide install: the program folder belongs to root and an ordinary user runs the
# program on a display. config.txt must then live in the user's configuration folder, restored
# there from the program folder's plug/config.txt, and a save from the settings dialog must go
# there too; the program folder stays byte for byte as installed.
#   readonly_program_folder.sh BUILD_DIR SOURCE_DIR VERSION
source "$(dirname "$0")/common.sh"
source "$SRC/tests/e2e/lib.sh"
e2e_init "$BUILD/bin" "$SRC"

SCRATCH=$E2E_SCRATCH
chmod 755 "$SCRATCH"
prefix=$SCRATCH/prefix
"${CMAKE:-cmake}" --install "$BUILD" --prefix "$prefix" >"$SCRATCH/install.log" 2>&1 || e2e_fail "cmake --install failed"
program=$prefix/lib/tickbell
make_user_home
config=$USER_HOME/.config/tickbell/config.txt
installed=$(fingerprint "$program")

# Started the way the session does at login: the autostart entry's command, found on PATH.
# The clock stands in the morning session of a trading day: after the close the program would
# count down and end itself.
read -ra command <<<"$(desktop_key "$prefix/share/tickbell/autostart/$APP_ID.desktop" Exec)"
[ "${#command[@]}" -gt 0 ] || e2e_fail "the autostart entry has no Exec line"
faketime_libs=(/usr/lib/*/faketime/libfaketime.so.1)
faketime_lib=${faketime_libs[0]}
[ -f "$faketime_lib" ] || e2e_fail "libfaketime is not installed (package faketime)"
# The test desktop's session bus and sound settings go along: with no bus libdbus would launch
# one on the display, and with no server the sound client would start one of its own.
start_as_user()
{
    "${AS_USER[@]}" PATH="$prefix/bin:/usr/bin:/bin" DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb \
        DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" PULSE_CLIENTCONFIG="$PULSE_CLIENTCONFIG" \
        LD_PRELOAD="$faketime_lib" FAKETIME="@2026-12-08 10:00:00" FAKETIME_DONT_FAKE_MONOTONIC=1 NO_FAKE_STAT=1 \
        "${command[@]}" --console </dev/null >"$E2E_CONSOLE" 2>"$E2E_STDERR" &
    E2E_PID=$!
    e2e_log "started the installed tickbell as user $USER_ID (pid $E2E_PID)"
}
main_window()
{
    e2e_wait_window '^Tickbellv' 30 || e2e_fail "no main window on $DISPLAY; windows: $(
        xwininfo -root -tree 2>&1 | grep -F '"' | tr '\n' '|')"
}

e2e_start_display
start_as_user
wid=$(main_window)

# Restored from the default file on first start.
e2e_wait_until 10 test -f "$config" || e2e_fail "no $config after start-up"
check "$config is not a copy of plug/config.txt" cmp -s "$program/plug/config.txt" "$config"
check "$config is not the user's own" [ "$(stat -c %u "$config")" = "$USER_ID" ]

# A save from the settings dialog (Edit > System settings): a mark typed into the first rule
# text, then the save button, seventh in the tab order after that text.
mark=install-check-$$
e2e_key "$wid" alt Right Down Return
dialog=$(e2e_wait_window '^系统设置$' 20) || e2e_fail "the settings dialog did not open"
xdotool windowactivate --sync "$dialog" type --delay 30 "$mark"
e2e_key "$dialog" Tab Tab Tab Tab Tab Tab Tab space
e2e_wait_until 20 grep -q "form1.law1:.*$mark" "$config" || e2e_fail "the save did not reach $config"
e2e_wait_until 20 eval '! xdotool search --onlyvisible --name "^系统设置$" >/dev/null' ||
    fail "the settings dialog stayed open after the save"

# The next start keeps the saved file: the default is restored only when config.txt is missing.
e2e_stop_program
start_as_user
main_window >/dev/null
e2e_program_running || e2e_fail "the second start ended: $(cat "$E2E_STDERR")"
check "the second start replaced the saved settings" grep -q "form1.law1:.*$mark" "$config"
e2e_stop_program

check "the program folder changed:
$(diff <(echo "$installed") <(fingerprint "$program") || true)" [ "$installed" = "$(fingerprint "$program")" ]
[ "$FAILURES" = 0 ] || e2e_fail "$FAILURES check(s) failed"
