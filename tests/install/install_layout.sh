#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `cmake --install` into a scratch prefix: the program folder, the command symlink, the menu
# entry, the icons, the AppStream data and the start-at-login entry; and which config.txt the
# installed program uses, as root (folder writable) and as an ordinary user (folder not writable).
#   install_layout.sh BUILD_DIR SOURCE_DIR VERSION
source "$(dirname "$0")/common.sh"
new_scratch

prefix=$SCRATCH/prefix
"${CMAKE:-cmake}" --install "$BUILD" --prefix "$prefix" >"$SCRATCH/install.log" 2>&1 ||
    { cat "$SCRATCH/install.log" >&2; die "cmake --install failed"; }
program=$prefix/lib/tickbell

# The program folder holds the program's files, byte for byte, and nothing else.
expected=$(printf '%s\n' "${PROGRAM_FILES[@]}" | sort)
actual=$(cd "$program" && find . -type f -printf '%P\n' | sort)
check "program folder holds exactly the program's files; differences (< expected, > installed):
$(diff <(echo "$expected") <(echo "$actual") || true)" [ "$expected" = "$actual" ]
for f in plug/config.txt holidays.txt statutory-holidays.txt "${PROMPTS[@]/#/sound/}"; do
    check "$f differs from assets/$f" cmp -s "$SRC/assets/$f" "$program/$f"
done
check "the program is not executable" [ -x "$program/tickbell" ]
for t in "${TOOLS[@]}"; do check "plug/$t.exe is not executable" [ -x "$program/plug/$t.exe" ]; done

# bin/tickbell: a relative symlink (the tree can be moved) that leads to the program.
link=$prefix/bin/tickbell
check "bin/tickbell is not a symlink" [ -L "$link" ]
check "bin/tickbell points at an absolute path: $(readlink "$link")" [ "$(readlink "$link" | cut -c1)" != / ]
check "bin/tickbell does not lead to the program" [ "$(realpath "$link")" = "$(realpath "$program/tickbell")" ]

# Icons: each size in its own hicolor folder, named after the application id.
for n in "${ICON_SIZES[@]}"; do
    icon=$prefix/share/icons/hicolor/${n}x${n}/apps/$APP_ID.png
    if [ -f "$icon" ]; then
        check "$icon is $(png_size "$icon"), not ${n}x$n" [ "$(png_size "$icon")" = "${n}x$n" ]
    else
        fail "missing $icon"
    fi
done

# The menu entry and the start-at-login entry: valid, and naming what was installed.
menu=$prefix/share/applications/$APP_ID.desktop
autostart=$prefix/share/tickbell/autostart/$APP_ID.desktop
for entry in "$menu" "$autostart"; do
    [ -f "$entry" ] || { fail "missing $entry"; continue; }
    # Warnings count: the tool prints nothing for a clean file.
    if ! out=$(desktop-file-validate "$entry" 2>&1) || [ -n "$out" ]; then
        fail "desktop-file-validate on $entry: $out"
    fi
    exec_word=$(desktop_key "$entry" Exec | awk '{ print $1 }')
    check "$entry starts '$exec_word', which is not the installed command" [ -e "$prefix/bin/$exec_word" ]
    check "$entry has icon '$(desktop_key "$entry" Icon)'" [ "$(desktop_key "$entry" Icon)" = "$APP_ID" ]
done
check "menu entry and autostart entry differ" cmp -s "$menu" "$autostart"
check "no English name" [ "$(desktop_key "$menu" Name)" = Tickbell ]
check "no Chinese name" grep -q '^Name\[zh_CN\]=.*[^ -~]' "$menu"
check "categories are '$(desktop_key "$menu" Categories)'" [ "$(desktop_key "$menu" Categories)" = "Office;Finance;" ]

# AppStream: valid offline, and tied to the desktop file, the command and this version.
meta=$prefix/share/metainfo/$APP_ID.metainfo.xml
if [ -f "$meta" ]; then
    out=$(appstreamcli validate --no-net "$meta" 2>&1) || fail "appstreamcli rejects $meta: $out"
    check "metainfo id" grep -q "<id>$APP_ID</id>" "$meta"
    check "metainfo does not launch $APP_ID.desktop" \
        grep -q "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" "$meta"
    check "metainfo does not provide the tickbell command" grep -q '<binary>tickbell</binary>' "$meta"
    newest=$(grep -o '<release version="[^"]*"' "$meta" | head -n 1 | cut -d'"' -f2)
    check "newest release in the metainfo is '$newest', the project is $VERSION" [ "$newest" = "$VERSION" ]
else
    fail "missing $meta"
fi

# Started through the symlink, the program finds its real folder. Root can write there, so it
# keeps config.txt in the program folder, and looking leaves nothing behind.
before=$(fingerprint "$program")
help=$("$link" --help) || fail "tickbell --help failed"
check "--help names the program folder as: $(grep 'Program folder' <<<"$help")" \
    grep -qxF "Program folder: $program" <<<"$help"
check "as root, --help names the settings file as: $(grep 'Settings file' <<<"$help")" \
    grep -qxF "Settings file: $program/config.txt" <<<"$help"

# An ordinary user cannot write the program folder: config.txt goes to ~/.config/tickbell.
make_user_home
help=$("${AS_USER[@]}" "$link" --help) || fail "tickbell --help as an ordinary user failed"
check "as a user, --help names the settings file as: $(grep 'Settings file' <<<"$help")" \
    grep -qxF "Settings file: $USER_HOME/.config/tickbell/config.txt" <<<"$help"
check "--help changed the program folder" [ "$before" = "$(fingerprint "$program")" ]

# Start at login: the user guide's commands, run as the user, switch the entry on and off.
guide=$SRC/packaging/README-user.md
on=$(grep -E '^ +install .*/autostart/' "$guide" | sed 's/^ *//' | sort -u)
off=$(grep -E '^ +rm .*/autostart/' "$guide" | sed 's/^ *//' | sort -u)
if [ "$(wc -l <<<"$on")" = 1 ] && [ -n "$on" ] && [ "$(wc -l <<<"$off")" = 1 ] && [ -n "$off" ]; then
    user_entry=$USER_HOME/.config/autostart/$APP_ID.desktop
    "${AS_USER[@]}" sh -c "${on//\/usr\/share/$prefix/share}" || fail "the guide's command failed: $on"
    check "the guide's command did not put the autostart entry in place" cmp -s "$autostart" "$user_entry"
    "${AS_USER[@]}" sh -c "$off" || fail "the guide's command failed: $off"
    check "the guide's command did not remove the autostart entry" [ ! -e "$user_entry" ]
else
    fail "the user guide should give one command to switch start at login on and one to switch it off:
$on
$off"
fi

finish
