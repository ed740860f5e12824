#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package that cpack makes from the install rules: its name, its contents and its
# dependencies, including what Qt loads at run time and the CJK fonts; and lintian's verdict.
#   debian_package.sh BUILD_DIR SOURCE_DIR VERSION
source "$(dirname "$0")/common.sh"
new_scratch

"${CPACK:-cpack}" --config "$BUILD/CPackConfig.cmake" -B "$SCRATCH/out" >"$SCRATCH/cpack.log" 2>&1 ||
    { cat "$SCRATCH/cpack.log" >&2; die "cpack failed"; }
arch=$(dpkg --print-architecture)
deb=$SCRATCH/out/tickbell_${VERSION}_$arch.deb
[ -f "$deb" ] || die "no $(basename "$deb"); cpack made: $(ls "$SCRATCH/out")"

field() { dpkg-deb -f "$deb" "$1"; }
check "Package is '$(field Package)'" [ "$(field Package)" = tickbell ]
check "Version is '$(field Version)'" [ "$(field Version)" = "$VERSION" ]
check "Architecture is '$(field Architecture)'" [ "$(field Architecture)" = "$arch" ]
check "no Maintainer" [ -n "$(field Maintainer)" ]

# Depends: the names, without versions or alternatives.
depends=$(field Depends)
names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*)//; s/ //g' | grep . | sort -u)
needs() { grep -qxF -- "$1" <<<"$names" || fail "Depends lacks $1 ($2): $depends"; }
needs libqt6widgets6 "the windows"
needs libqt6multimedia6 "the voice prompts"
needs libqt6network6 "the single-instance socket"
needs fonts-arphic-ukai "the Kai face of the status line"
needs fonts-arphic-uming "the Song face of the texts"
needs fonts-noto-cjk "the Sans face of the captions, and Song where UMing is missing"
needs xdg-utils "xdg-open for the web pages"
needs libqt6dbus6 "the tools' calls to logind and timedated"
# What Qt loads by path at run time must come from a package we depend on.
for plugin in platforms/libqxcb.so multimedia; do
    path=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/qt6/plugins/$plugin
    owner=$(dpkg -S "$path" 2>/dev/null | cut -d: -f1 | head -n 1)
    if [ -n "$owner" ]; then
        needs "$owner" "it holds $path"
    else
        fail "no installed package holds $path"
    fi
done
# dpkg-shlibdeps ran: the C library comes with a minimum version.
check "Depends has no versioned libc6 (dpkg-shlibdeps did not run?): $depends" \
    grep -Eq '(^|, )libc6 \(>= [0-9.]+\)' <<<"$depends"
# Every name is a real package: all of them are installed where the tests run.
while read -r pkg; do
    dpkg-query -W "$pkg" >/dev/null 2>&1 || fail "Depends names $pkg, which is not a known package"
done <<<"$names"

# Debian's own checks (copyright file, changelog, manual page, file modes, ...): no errors.
lintian_out=$(lintian --fail-on error "$deb" 2>&1) ||
    fail "lintian finds errors (or could not run):
$(grep -v '^[WIPXN]:' <<<"$lintian_out")"

# Contents: "mode owner path[ -> target]" for each entry.
contents=$(dpkg-deb -c "$deb" | awk '{ line = $1 " " $2; for (i = 6; i <= NF; i++) line = line " " $i; print line }')
has() { grep -qxF -- "$1" <<<"$contents" || fail "the package lacks '$1'"; }
has "-rwxr-xr-x root/root ./usr/lib/tickbell/tickbell"
has "lrwxrwxrwx root/root ./usr/bin/tickbell -> ../lib/tickbell/tickbell"
for f in "${PROGRAM_FILES[@]}"; do
    [ "$f" = tickbell ] || [[ $f == plug/*.exe ]] || has "-rw-r--r-- root/root ./usr/lib/tickbell/$f"
done
for t in "${TOOLS[@]}"; do has "-rwxr-xr-x root/root ./usr/lib/tickbell/plug/$t.exe"; done
has "-rw-r--r-- root/root ./usr/share/applications/$APP_ID.desktop"
has "-rw-r--r-- root/root ./usr/share/metainfo/$APP_ID.metainfo.xml"
has "-rw-r--r-- root/root ./usr/share/tickbell/autostart/$APP_ID.desktop"
for n in "${ICON_SIZES[@]}"; do
    has "-rw-r--r-- root/root ./usr/share/icons/hicolor/${n}x${n}/apps/$APP_ID.png"
done
# The package ships the default settings only; config.txt itself is the user's.
check "config.txt entries other than plug/config.txt: $(grep '/config\.txt$' <<<"$contents")" \
    [ "$(grep -c '/config\.txt$' <<<"$contents")" = 1 ]
check "entries not owned by root: $(grep -v ' root/root ' <<<"$contents" || true)" \
    [ -z "$(grep -v ' root/root ' <<<"$contents" || true)" ]

# The packaged files are the ones the install rules install.
dpkg-deb -x "$deb" "$SCRATCH/root"
for f in plug/config.txt holidays.txt statutory-holidays.txt "${PROMPTS[@]/#/sound/}"; do
    check "packaged $f differs from assets/$f" cmp -s "$SRC/assets/$f" "$SCRATCH/root/usr/lib/tickbell/$f"
done
check "packaged menu entry differs from packaging/$APP_ID.desktop" \
    cmp -s "$SRC/packaging/$APP_ID.desktop" "$SCRATCH/root/usr/share/applications/$APP_ID.desktop"
readelf -S "$SCRATCH/root/usr/lib/tickbell/tickbell" | grep -qF .debug_info &&
    fail "the packaged program is not stripped"
# Lintian reads the changelog but does not compare its newest entry with the package.
gzip -dc "$SCRATCH/root/usr/share/doc/tickbell/changelog.gz" >"$SCRATCH/changelog"
newest=$(dpkg-parsechangelog -l "$SCRATCH/changelog" -S Version)
check "newest entry of packaging/changelog is '$newest', the package is $VERSION" [ "$newest" = "$VERSION" ]

finish
