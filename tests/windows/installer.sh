#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows packages as Windows users meet them, under Wine on a desktop of its own:
#   tests/windows/installer.sh BUILD_DIR [SOURCE_DIR]
# First, read back from the files (icoutils' wrestool and icotool): the manifests of Tickbell.exe,
# the tools and their starters, their makers and their resources' language, the version
# resources of Tickbell.exe and the installer, the installer's request for no administrator
# rights, and their icons (every entry 32-bit RGBA, 8 bits a channel).
# Then BUILD_DIR/dist's installer in a fresh prefix with a Chinese locale:
# - silently for the current user: %LOCALAPPDATA%\Programs\Tickbell, the user's uninstall entry
#   (publisher, size, version, address) and nothing of the computer's, README.txt giving its
#   silent uninstall command, a Start-menu entry that starts the program in its folder; the
#   program keeps its settings in %APPDATA%\Tickbell; its first start asks nothing where there is
#   no unpacked zip, and takes, when asked to, the settings of the trader's unpacked zip on his
#   desktop (config.txt, tools.ini, tickbell.ini, the days of its holidays.txt he set himself);
# - the one-copy guard's lock: nothing in the profile, and a killed copy does not keep the next
#   from starting; a second start ends and leaves the first;
# - silently over the running program (/AUTOSTART=1): it ends with status 0, every file is
#   replaced, nothing runs afterwards, the log-on start is set;
# - page by page over the running program: asked, it closes it, replaces every file, and the
#   finish page's 运行 Tickbell starts the program in its folder;
# - its uninstaller from the uninstall entry: with a copy that does not answer, it stops with a
#   message and status 2 and keeps every file; silently with a running copy, it ends it and
#   removes every file, the entry, the Start-menu entry and the log-on start, keeping the settings;
# - silently into a folder of the trader's choice (/D=): the settings still apart, and nothing
#   left after the uninstall;
# - silently for every user (/ALLUSERS): Program Files and the computer's entry, the program
#   writing nothing there, and back out with the program running.
# Screenshots of the pages are kept in ./output/windows-installer.
# shellcheck source=tests/windows/wine.sh
source "$(dirname "$0")/wine.sh"

win_init windows-installer 900 "$@"
e2e_require wrestool icotool file iconv python3 localedef winepath cmp
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$WIN_BUILD/CMakeCache.txt")
setup=$WIN_BUILD/dist/Tickbell-$version-setup.exe
stage=$WIN_BUILD/dist/Tickbell-$version-win64
helper=$WIN_BUILD/packaging/setup-helper.exe
if [ ! -f "$setup" ] || [ ! -d "$stage" ]; then e2e_fail "no installer or staged folder in $WIN_BUILD/dist (build it first)"; fi
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Tickbell'
run_key='Software\Microsoft\Windows\CurrentVersion\Run'

# --- What Windows reads from the files.
res=$E2E_SCRATCH/resources
mkdir -p "$res"
# A version resource's strings, one a line: each key, then its value.
version_strings() { wrestool -x --raw --type=16 "$1" | iconv -f UTF-16LE -t UTF-8 -c | tr '\0' '\n' | grep -v '^$'; }
version_value() { version_strings "$1" | grep -A1 -E "$2\$" | tail -n 1; }
for exe in "$WIN_BUILD/bin/Tickbell.exe" "$setup"; do
    what=$(basename "$exe")
    for key in CompanyName LegalCopyright FileVersion ProductName; do
        [ -n "$(version_value "$exe" "$key")" ] || e2e_fail "$what has no $key in its version resource"
    done
    [ "$(version_value "$exe" FileVersion)" = "$version" ] || e2e_fail "$what's FileVersion is not $version"
    [ "$(version_value "$exe" CompanyName)" = 'Tickbell 项目组' ] || e2e_fail "$what's CompanyName: $(version_value "$exe" CompanyName)"
    wrestool -x --type=14 "$exe" -o "$res/$what.ico" || e2e_fail "$what has no icon"
    icotool -l "$res/$what.ico" >"$res/$what.entries"
    if grep -v -- '--bit-depth=32 ' "$res/$what.entries" >&2; then e2e_fail "$what has an icon entry that is not 32-bit"; fi
    mkdir -p "$res/$what.png"
    icotool -x -o "$res/$what.png" "$res/$what.ico"
    depths=$(file -b "$res/$what.png"/*.png | sed 's/^PNG image data, [0-9]* x [0-9]*, //' | sort -u)
    [ "$depths" = '8-bit/color RGBA, non-interlaced' ] || e2e_fail "$what's icon entries: $depths"
    grep -q -- '--width=256 ' "$res/$what.entries" || e2e_fail "$what's icon has no 256-pixel entry"
done
# The program, each tool and each starter in plug\: the manifest, the maker in the version, and
# every resource in the one language of its text (Chinese, 2052).
for exe in "$WIN_BUILD/bin/Tickbell.exe" "$WIN_BUILD"/bin/{clocktool,abacus,posmover,ceilprice,poweroff}.exe \
    "$WIN_BUILD"/bin/plug/*.exe; do
    what=${exe#"$WIN_BUILD/bin/"}
    wrestool -x --raw --type=24 "$exe" >"$res/manifest" || e2e_fail "$what has no manifest"
    for want in '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>' 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' \
        '>PerMonitorV2</dpiAwareness>' '>true</longPathAware>' '<requestedExecutionLevel level="asInvoker"'; do
        grep -qF -- "$want" "$res/manifest" || e2e_fail "$what's manifest lacks $want"
    done
    for key in CompanyName LegalCopyright; do
        [ "$(version_value "$exe" "$key")" = "$(version_value "$WIN_BUILD/bin/Tickbell.exe" "$key")" ] ||
            e2e_fail "$what's $key: '$(version_value "$exe" "$key")'"
    done
    ! wrestool -l "$exe" | grep -v -- '--language=2052 ' >&2 || e2e_fail "$what has resources in another language than 2052"
done
wrestool -x --raw --type=24 "$setup" | grep -qF '<requestedExecutionLevel level="asInvoker"' ||
    e2e_fail "the installer asks for administrator rights"
e2e_log "manifest, version resources and icons read back"

# --- The installer's helpers.
e2e_start_display 1280x800x24
# The test's own Chinese locale (the system may have none), for Wine's code page and fonts.
mkdir -p "$E2E_SCRATCH/locale"
localedef -i zh_CN -f UTF-8 "$E2E_SCRATCH/locale/zh_CN.UTF-8" 2>>"$E2E_SCRATCH/localedef.log" ||
    [ -f "$E2E_SCRATCH/locale/zh_CN.UTF-8/LC_CTYPE" ] || e2e_fail "localedef could not make zh_CN.UTF-8 (package locales)"
export LOCPATH=$E2E_SCRATCH/locale LANG=zh_CN.UTF-8
unset LC_ALL

in_prefix() { WINEPREFIX=$prefix "$@"; }
# A key exported by Wine's reg (UTF-16) as UTF-8 lines; false when there is no such key.
reg_lines() # HKCU|HKLM KEY
{
    rm -f "$E2E_SCRATCH/export.reg"
    in_prefix wine reg export "$1\\$2" 'Z:'"${E2E_SCRATCH//\//\\}"'\export.reg' /y >/dev/null 2>&1 || return 1
    iconv -f UTF-16 -t UTF-8 "$E2E_SCRATCH/export.reg" | tr -d '\r'
}
reg_value() # HKCU|HKLM KEY NAME: a string's text, a number's hex digits
{
    reg_lines "$1" "$2" | sed -n "s/^\"$3\"=//p" | sed -e 's/^dword://' -e 's/^"\(.*\)"$/\1/' -e 's/\\\\/\\/g' -e 's/\\"/"/g'
}
# The folder a shortcut starts its program in.
lnk_folder()
{
    python3 - "$1" <<'EOF'
import struct, sys
data = open(sys.argv[1], 'rb').read()
flags = struct.unpack_from('<I', data, 0x14)[0]
pos = 0x4c
if flags & 0x1:  # the item id list
    pos += 2 + struct.unpack_from('<H', data, pos)[0]
if flags & 0x2:  # the link info
    pos += struct.unpack_from('<I', data, pos)[0]
width = 2 if flags & 0x80 else 1
for bit in (0x4, 0x8, 0x10):  # name, relative path, working folder
    if flags & bit:
        count = struct.unpack_from('<H', data, pos)[0]
        text = data[pos + 2:pos + 2 + width * count].decode('utf-16-le' if width == 2 else 'latin-1')
        pos += 2 + width * count
        if bit == 0x10:
            print(text.rstrip('\0'))
EOF
}
# How many programs started from the Windows folder run (the installer's own helper counts them).
running_from() { in_prefix wine "$helper" running "$1"; echo $?; }
# Every file of the staged program folder is the same in DIR.
same_as_stage() # DIR
{
    local f
    while IFS= read -r f; do
        cmp -s "$stage/$f" "$1/$f" || { echo "$f"; return 1; }
    done < <(cd "$stage" && find . -type f)
}
setup_window() { xdotool search --onlyvisible --name "^Tickbell $version 安装" 2>/dev/null | head -n 1; }
# A message box of the installer (uninstaller): a second window with its title. Its id.
message_box() # TITLE_ERE MAIN_WID
{
    local w
    for w in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
        [ "$w" != "$2" ] && { echo "$w"; return 0; }
    done
    return 1
}
no_message_box() { ! message_box "$@" >/dev/null; }
gone() { [ ! -e "$1" ]; }
# The welcome and finish pages have the dark picture on the left.
dark_page() { e2e_screenshot "$1" "$E2E_SCRATCH/page.png" && [ "$(convert "$E2E_SCRATCH/page.png" -format '%[fx:p{40,300}.intensity<0.3]' info:)" = 1 ]; }
# Runs a command line from the registry ("PROGRAM" ARGS) in the background; its status goes to FILE.
run_entry() # COMMAND_LINE STATUS_FILE
{
    local program=${1#\"}
    local args=${program#*\" }
    program=${program%%\"*}
    rm -f "$2"
    (
        status=0
        # shellcheck disable=SC2086 # the arguments as the entry has them (no quotes in them)
        in_prefix wine "$program" $args </dev/null >>"$E2E_SCRATCH/installer.log" 2>&1 || status=$?
        echo "$status" >"$2"
    ) &
}
status_of() { e2e_wait_until "$2" test -s "$1" && cat "$1"; }

win_new_prefix prefix-user
prefix=$WIN_PREFIX
# A trading morning, whatever the time: after the close the program would end by itself.
morning='2010-02-12 10:00:00'
win_fake_clock "$prefix" "$morning"
start_program() { win_start_program "$prefix" --at "$morning" "$installed/Tickbell.exe"; }

# The program in $installed starts, keeps its settings outside its folder, and its entry's quiet
# uninstall ends it and leaves nothing.
runs_apart_and_uninstalls() # WHAT HKCU|HKLM
{
    start_program
    e2e_wait_window "$window" 60 >/dev/null || e2e_fail "the program $1 showed no window"
    e2e_wait_until 10 grep -q "status:" "$E2E_CONSOLE" || e2e_fail "the program $1 shows no status"
    [ ! -e "$installed/config.txt" ] || e2e_fail "the program $1 wrote config.txt into its folder"
    run_entry "$(reg_value "$2" "$uninstall_key" QuietUninstallString)" "$E2E_SCRATCH/uninstall.status"
    [ "$(status_of "$E2E_SCRATCH/uninstall.status" 60)" = 0 ] || e2e_fail "the quiet uninstall of the program $1 failed"
    e2e_wait_program_exit 10 || e2e_fail "the quiet uninstall of the program $1 left it running"
    e2e_wait_until 30 gone "$installed" ||
        e2e_fail "the quiet uninstall of the program $1 left $(cd "$installed" && find . | head -n 5 | tr '\n' ' ')"
}

# --- For the current user, silently.
in_prefix wine "$setup" /S </dev/null >>"$E2E_SCRATCH/installer.log" 2>&1 || e2e_fail "the silent install failed (status $?)"
winfolder=$(reg_value HKCU "$uninstall_key" InstallLocation)
user_programs='\AppData\Local\Programs\Tickbell'
[[ "$winfolder" == C:\\users\\*"$user_programs" ]] || e2e_fail "installed for the user into '$winfolder'"
installed=$(in_prefix winepath -u "$winfolder")
installed=${installed%/}
bad=$(same_as_stage "$installed") || e2e_fail "the installed $bad differs from the program folder"
! reg_lines HKLM "$uninstall_key" >/dev/null || e2e_fail "an install for the user made the computer's uninstall entry"
[ ! -e "$prefix/drive_c/Program Files/Tickbell" ] || e2e_fail "an install for the user wrote into Program Files"
[ "$(reg_value HKCU "$uninstall_key" Publisher)" = 'Tickbell 项目组' ] || e2e_fail "uninstall entry: no publisher"
[ "$(reg_value HKCU "$uninstall_key" DisplayVersion)" = "$version" ] || e2e_fail "uninstall entry: no version"
[ "$(reg_value HKCU "$uninstall_key" URLInfoAbout)" = 'http://www.tickbell.org/' ] || e2e_fail "uninstall entry: no address"
size=$(reg_value HKCU "$uninstall_key" EstimatedSize)
[ $((16#${size:-0})) -gt 10000 ] || e2e_fail "uninstall entry: size '$size' (KB)"
[ -z "$(reg_value HKCU "$run_key" Tickbell)" ] || e2e_fail "the log-on start was set without being chosen"
# README.txt gives the entry's silent uninstall command, the one that waits and reports.
quiet=$(reg_value HKCU "$uninstall_key" QuietUninstallString)
for placeholder in '<安装文件夹>' '<folder>'; do
    grep -qF -- "${quiet//"$winfolder"/$placeholder}" "$installed/README.txt" ||
        e2e_fail "README.txt does not give the uninstall entry's command ($quiet) with $placeholder"
done
profile=$(in_prefix winepath -u "${winfolder%"$user_programs"}")
profile=${profile%/}
menu="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tickbell.lnk"
[ -f "$menu" ] || e2e_fail "no Start-menu entry at $menu"
[ "$(lnk_folder "$menu")" = "$winfolder" ] || e2e_fail "the Start-menu entry starts the program in '$(lnk_folder "$menu")'"
e2e_log "installed for the user into $winfolder"

# --- The first start with no unpacked zip anywhere: the day starts at once on the defaults, and
# nothing is asked.
window='^Tickbellv1\.32 - Orro SOFT$'
settings=$profile/AppData/Roaming/Tickbell/config.txt
start_program
e2e_wait_window "$window" 60 >/dev/null || e2e_fail "a fresh install's first start showed no window within 60 s"
e2e_wait_until 10 grep -q "status:" "$E2E_CONSOLE" || e2e_fail "a fresh install's first start tells no status"
cmp "$settings" "$stage/plug/config.txt" || e2e_fail "a fresh install's first start did not start on plug\\config.txt"
sleep 2 # a question would be up by now
! e2e_wait_window '^导入设置 - Tickbell$' 1 >/dev/null || e2e_fail "a fresh install's first start asked about a zip copy it did not find"
win_quit "$(e2e_wait_window "$window" 5)" "the first start"
e2e_log "a fresh install's first start: the window and the day at once, nothing asked"

# --- A first start that finds the trader's unpacked zip on his desktop offers its settings, over
# the running day: config.txt, tools.ini and tickbell.ini replace the defaults, and of its
# holidays.txt the days he set himself join his own; it then says what it took.
rm -f "$settings" "$(dirname "$settings")/tickbell.ini"
zipcopy=$profile/Desktop/Tickbell-1.31-win64
mkdir -p "$zipcopy"
cp "$stage/Tickbell.exe" "$zipcopy/"
LC_ALL=C sed '1s/\.\.\.\./!!!!/' "$stage/plug/config.txt" >"$zipcopy/config.txt"
printf '[clocktool]\r\nservers=127.0.0.1:9\r\n' >"$zipcopy/tools.ini"
printf '[desktop]\r\nnotifications=false\r\n' >"$zipcopy/tickbell.ini"
{ cat "$stage/holidays.txt"; echo '2027-02-12'; } >"$zipcopy/holidays.txt"
start_program
e2e_wait_window "$window" 60 >/dev/null || e2e_fail "the installed program showed no window"
question=$(e2e_wait_window '^导入设置 - Tickbell$' 60) || e2e_fail "the first start did not offer the zip copy's settings"
e2e_screenshot "$question" "$E2E_OUT/import-question.png"
e2e_key "$question" Return
imported() { cmp -s "$settings" "$zipcopy/config.txt"; }
e2e_wait_until 10 imported || e2e_fail "%APPDATA%\\Tickbell\\config.txt is not the zip copy's"
for f in tools.ini tickbell.ini; do
    cmp "$(dirname "$settings")/$f" "$zipcopy/$f" || e2e_fail "the zip copy's $f was not taken"
done
own=$(grep -v '^#' "$(dirname "$settings")/holidays.txt" | grep -v '^\s*$' | tr -d '\r')
[ "$own" = 2027-02-12 ] || e2e_fail "of the zip copy's holidays.txt, the import took: $(echo "$own" | head -n 3 | tr '\n' ' ')"
told=$(e2e_wait_window '^导入设置 - Tickbell$' 30) || e2e_fail "the import did not say what it took"
e2e_screenshot "$told" "$E2E_OUT/import-told.png"
e2e_key "$told" Return
[ ! -e "$installed/config.txt" ] || e2e_fail "the program installed for the user wrote config.txt into its folder"
e2e_log "the first start took the zip copy's config.txt, tools.ini, tickbell.ini and its own holidays line"
locks=$(find "$prefix/drive_c/users" -maxdepth 2 -name '*.lock')
[ -z "$locks" ] || e2e_fail "a lock file in the profile: $locks"
timeout 60 env WINEPREFIX="$prefix" wine "$installed/Tickbell.exe" </dev/null >>"$E2E_SCRATCH/second.log" 2>&1 ||
    e2e_fail "a second start did not end with status 0 ($?)"
e2e_program_running || e2e_fail "a second start ended the first"
[ "$(xdotool search --onlyvisible --name "$window" | wc -l)" = 1 ] || e2e_fail "a second start opened a second window"
kill -KILL "$E2E_PID"
e2e_wait_program_exit 10 || e2e_fail "the killed program did not end"
start_program
e2e_wait_window "$window" 60 >/dev/null || e2e_fail "after a copy was killed, the next start showed no window"
e2e_log "one copy at a time, and a killed copy does not keep the next from starting"

# --- Silently over the running program.
echo changed >"$installed/README.txt"
in_prefix wine "$setup" /S /AUTOSTART=1 </dev/null >>"$E2E_SCRATCH/installer.log" 2>&1 ||
    e2e_fail "the silent install over the running program failed (status $?)"
e2e_wait_program_exit 10 || e2e_fail "the silent install left the program running"
[ "$E2E_EXIT_STATUS" = 0 ] || e2e_fail "the silent install ended the program with status $E2E_EXIT_STATUS"
[ "$(running_from "$winfolder")" = 0 ] || e2e_fail "something runs from the folder after the silent install"
bad=$(same_as_stage "$installed") || e2e_fail "the silent install over the running program left $bad unreplaced"
[ "$(reg_value HKCU "$run_key" Tickbell)" = "\"$winfolder\\Tickbell.exe\"" ] || e2e_fail "/AUTOSTART=1 set no log-on start"
e2e_log "installed silently over the running program: it ended with status 0, every file replaced"

# --- Page by page over the running program.
start_program
e2e_wait_window "$window" 60 >/dev/null || e2e_fail "the program did not start again"
echo changed >"$installed/README.txt"
run_entry "\"$(in_prefix winepath -w "$setup")\"" "$E2E_SCRATCH/setup.status"
e2e_wait_until 60 setup_window >/dev/null || e2e_fail "the installer showed no window"
page=$(setup_window)
for name in welcome licence mode folder components; do
    sleep 1 # nothing tells when a page has drawn
    e2e_screenshot "$page" "$E2E_OUT/page-$name.png"
    e2e_key "$page" Return
done
e2e_wait_until 30 message_box "^Tickbell $version 安装" "$page" >/dev/null || e2e_fail "the installer did not ask to close the program"
box=$(message_box "^Tickbell $version 安装" "$page")
e2e_screenshot "$box" "$E2E_OUT/page-running.png"
e2e_program_running || e2e_fail "the program ended before the user was asked"
e2e_key "$box" Return
e2e_wait_program_exit 30 || e2e_fail "the program was not closed after the user agreed"
[ "$E2E_EXIT_STATUS" = 0 ] || e2e_fail "the installer ended the program with status $E2E_EXIT_STATUS"
e2e_wait_until 60 dark_page "$page" || e2e_fail "no finish page (see page.png)"
e2e_screenshot "$page" "$E2E_OUT/page-finish.png"
bad=$(same_as_stage "$installed") || e2e_fail "the install over the running program left $bad unreplaced"
# 运行 Tickbell, ticked: a stand-in says where it was started.
cp "$WIN_BUILD/tests/bin/launch_stub.exe" "$installed/Tickbell.exe"
e2e_key "$page" Return
[ "$(status_of "$E2E_SCRATCH/setup.status" 30)" = 0 ] || e2e_fail "the installer ended with status $(cat "$E2E_SCRATCH/setup.status")"
e2e_wait_until 30 test -s "$installed/launched.txt" || e2e_fail "the finish page started nothing"
started_in=$(iconv -f UTF-16LE -t UTF-8 "$installed/launched.txt")
[ "$started_in" = "$winfolder" ] || e2e_fail "the finish page started the program in '$started_in'"
cp "$stage/Tickbell.exe" "$installed/Tickbell.exe"
rm "$installed/launched.txt"
e2e_log "page by page: asked, closed, replaced, and the finish page started the program in its folder"

# --- The uninstaller, as its entry runs it, with a copy that does not answer.
start_program
e2e_wait_window "$window" 60 >/dev/null || e2e_fail "the program did not start"
kill -STOP "$E2E_PID"
run_entry "$(reg_value HKCU "$uninstall_key" UninstallString)" "$E2E_SCRATCH/uninstall.status"
page=$(e2e_wait_window "^Tickbell $version 卸载" 60) || e2e_fail "the uninstaller showed no window"
e2e_screenshot "$page" "$E2E_OUT/uninstall-confirm.png"
e2e_key "$page" Return
e2e_wait_until 30 message_box "^Tickbell $version 卸载" "$page" >/dev/null || e2e_fail "the uninstaller did not ask to close the program"
box=$(message_box "^Tickbell $version 卸载" "$page")
e2e_key "$box" Return
e2e_wait_until 10 no_message_box "^Tickbell $version 卸载" "$page" || e2e_fail "the question stayed"
e2e_wait_until 90 message_box "^Tickbell $version 卸载" "$page" >/dev/null || e2e_fail "the uninstaller did not say the program still runs"
box=$(message_box "^Tickbell $version 卸载" "$page")
e2e_screenshot "$box" "$E2E_OUT/uninstall-still-running.png"
e2e_key "$box" Escape
e2e_wait_until 10 no_message_box "^Tickbell $version 卸载" "$page" || e2e_fail "the message stayed"
sleep 1 # the page says it stopped
e2e_screenshot "$page" "$E2E_OUT/uninstall-stopped.png"
# Its 取消 closes it; a press the page was not ready for yet is repeated.
status=
for _ in 1 2 3; do
    e2e_key "$page" Escape || true # gone at the first press
    status=$(status_of "$E2E_SCRATCH/uninstall.status" 10) && break
done
[ -n "$status" ] || e2e_fail "the uninstaller did not end"
[ "$status" = 2 ] || e2e_fail "the uninstaller that could not close the program ended with status $status"
bad=$(same_as_stage "$installed") || e2e_fail "the uninstaller that stopped removed $bad"
if [ ! -f "$installed/uninstall.exe" ] || [ ! -f "$menu" ] || [ -z "$(reg_value HKCU "$uninstall_key" InstallLocation)" ]; then
    e2e_fail "the uninstaller that stopped removed itself, its entry or the Start-menu entry"
fi
kill -CONT "$E2E_PID"
e2e_log "with a copy that did not answer, the uninstaller stopped with status 2 and kept everything"

# --- Silently, as its entry runs it, with the running program.
run_entry "$(reg_value HKCU "$uninstall_key" QuietUninstallString)" "$E2E_SCRATCH/uninstall.status"
status=$(status_of "$E2E_SCRATCH/uninstall.status" 60) || e2e_fail "the silent uninstaller did not end"
[ "$status" = 0 ] || e2e_fail "the silent uninstall failed (status $status)"
e2e_wait_program_exit 10 || e2e_fail "the silent uninstall left the program running"
[ "$E2E_EXIT_STATUS" = 0 ] || e2e_fail "the silent uninstall ended the program with status $E2E_EXIT_STATUS"
e2e_wait_until 30 gone "$installed" ||
    e2e_fail "the uninstaller left $(cd "$installed" && find . | head -n 5 | tr '\n' ' ')"
[ ! -e "$menu" ] || e2e_fail "the uninstaller left the Start-menu entry"
! reg_lines HKCU "$uninstall_key" >/dev/null || e2e_fail "the uninstaller left its entry"
[ -z "$(reg_value HKCU "$run_key" Tickbell)" ] || e2e_fail "the uninstaller left the log-on start"
[ -s "$settings" ] || e2e_fail "the uninstaller removed the user's settings"
e2e_log "uninstalled silently with the program running: all gone but the user's settings"

# --- Into a folder of the trader's choice (/D=), none of the usual ones: still an installed copy,
# which keeps its settings apart and leaves nothing behind.
chosen='C:\交易软件\Tickbell'
in_prefix wine "$setup" /S "/D=$chosen" </dev/null >>"$E2E_SCRATCH/installer.log" 2>&1 || e2e_fail "the install into $chosen failed (status $?)"
[ "$(reg_value HKCU "$uninstall_key" InstallLocation)" = "$chosen" ] || e2e_fail "/D=$chosen installed elsewhere"
installed=$(in_prefix winepath -u "$chosen")
installed=${installed%/}
runs_apart_and_uninstalls "installed into $chosen" HKCU
e2e_log "installed into $chosen: the settings apart, and nothing left after the uninstall"

# --- For every user, silently, and back out.
in_prefix wine "$setup" /S /ALLUSERS </dev/null >>"$E2E_SCRATCH/installer.log" 2>&1 || e2e_fail "the install for every user failed (status $?)"
winfolder=$(reg_value HKLM "$uninstall_key" InstallLocation)
[ "$winfolder" = 'C:\Program Files\Tickbell' ] || e2e_fail "installed for every user into '$winfolder'"
installed="$prefix/drive_c/Program Files/Tickbell"
bad=$(same_as_stage "$installed") || e2e_fail "the install for every user has a different $bad"
! reg_lines HKCU "$uninstall_key" >/dev/null || e2e_fail "the install for every user made the user's uninstall entry"
menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tickbell.lnk"
[ "$(lnk_folder "$menu")" = "$winfolder" ] || e2e_fail "every user's Start-menu entry starts the program in '$(lnk_folder "$menu")'"
runs_apart_and_uninstalls "installed for every user" HKLM
if [ -e "$menu" ] || reg_lines HKLM "$uninstall_key" >/dev/null; then e2e_fail "the uninstall for every user left its entries"; fi
e2e_log "installed for every user into Program Files, and uninstalled"
