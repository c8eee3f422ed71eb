#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, tested without touching the machine: CPack builds it from
# the existing build (no second compile), dpkg-deb unpacks it into a temporary
# root, and the unpacked programs run from there with a fresh home.  Also an
# install into another prefix, to show the installed layout does not depend on /usr.
#
# Usage: deb_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
tmp=$(mktemp -d)
window_pid=""
cleanup() {
    if [ -n "$window_pid" ]; then
        kill "$window_pid" 2>/dev/null || true
        wait "$window_pid" 2>/dev/null || true
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT

# shellcheck source=../scripts/checks.sh
source "$(dirname "$0")/../scripts/checks.sh"

# Runs with a time limit, so a hanging program fails the test instead of CI.
limited() { timeout --kill-after=5 60 "$@"; }

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
arch=$(dpkg --print-architecture)

# --- the package -----------------------------------------------------------
limited cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/out" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log" >&2; exit 1; }
deb="$tmp/out/qzm836_${version}_${arch}.deb"
check "cpack made qzm836_${version}_${arch}.deb" test -f "$deb"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libqt6widgets6 libqt6printsupport6 libstdc++6 qt6-qpa-plugins; do
    check "Depends names $needed" grep -q "$needed" <<<"$depends"
done
# Wanted, not needed: the program runs without them.
recommends=$(dpkg-deb -f "$deb" Recommends)
for wanted in qt6-translations-l10n fonts-wqy-microhei fonts-liberation2 qt6-wayland; do
    check "Recommends names $wanted" grep -q "$wanted" <<<"$recommends"
    check "Depends leaves $wanted out" test -z "$(grep "$wanted" <<<"$depends")"
done
check "package version is $version" test "$(dpkg-deb -f "$deb" Version)" = "$version"

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$' | sort >"$tmp/files"
echo "Files:"
sed 's/^/  /' "$tmp/files"
for file in /usr/bin/qzm836 /usr/bin/qzm836-cli /usr/bin/qzm836-sim \
    /usr/share/qzm836/setting.ini /usr/share/qzm836/english.lang /usr/share/qzm836/chinese.lang \
    /usr/share/qzm836/english.html /usr/share/qzm836/chinese.html \
    /usr/share/applications/org.qzm836.qzm836.desktop \
    /usr/share/mime/packages/org.qzm836.qzm836.xml \
    /usr/share/icons/hicolor/scalable/apps/org.qzm836.qzm836.svg \
    /usr/share/metainfo/org.qzm836.qzm836.metainfo.xml \
    /usr/share/man/man1/qzm836.1.gz /usr/share/man/man1/qzm836-cli.1.gz \
    /usr/share/man/man1/qzm836-sim.1.gz /usr/share/doc/qzm836/copyright \
    /usr/share/doc/qzm836/changelog.gz /usr/lib/udev/rules.d/70-qzm836.rules; do
    check "package holds $file" grep -qx "$file" "$tmp/files"
done
check "nothing outside /usr" test -z "$(grep -v '^/usr/' "$tmp/files")"
check "no licence text beside Debian's copyright file" test -z "$(grep /usr/share/licenses/ "$tmp/files")"

root="$tmp/root"
dpkg-deb -x "$deb" "$root"

# --- the unpacked programs, with a fresh home --------------------------------
home="$tmp/home"
mkdir -p "$home"
# Runs with the fresh home, English and a time limit.
fresh() {
    timeout --kill-after=5 60 env -u XDG_DATA_HOME HOME="$home" XDG_CONFIG_HOME="$home/config" \
        LANG=C.UTF-8 LC_ALL= LC_MESSAGES= "$@"
}
usr="$root/usr"
check "qzm836-cli --version" \
    test "$(fresh "$usr/bin/qzm836-cli" --version | head -n 1)" = "qzm836-cli $version"
check "qzm836-sim --version" \
    test "$(fresh "$usr/bin/qzm836-sim" --version | head -n 1)" = "qzm836-sim $version"
check "qzm836 --version without a display" \
    test "$(fresh env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/qzm836" --version | head -n 1)" = \
    "qzm836 $version"
check "--version names the licence" \
    grep -q "GPL-3.0-or-later" <(fresh "$usr/bin/qzm836-cli" --version)

check "qzm836-cli new" fresh "$usr/bin/qzm836-cli" new "$tmp/new.836"
settings="$home/config/qzm836/setting.ini"
check "the user's setting.ini is made from the shipped one" cmp -s "$settings" "$usr/share/qzm836/setting.ini"
check "qzm836-cli show speaks English from the shipped files" \
    grep -q "^Band:" <(fresh "$usr/bin/qzm836-cli" show "$tmp/new.836")
# A language file of the user's own wins over the shipped one.
mkdir -p "$home/.local/share/qzm836/lang"
sed 's/^IDS_ChText0=.*/IDS_ChText0=Kanal/' "$usr/share/qzm836/english.lang" \
    >"$home/.local/share/qzm836/lang/english.lang"
check "a user's language file wins" \
    grep -q "^Kanal" <(fresh "$usr/bin/qzm836-cli" show "$tmp/new.836")
check "the user's settings are kept" cmp -s "$settings" "$usr/share/qzm836/setting.ini"

# The window, offscreen: it starts, makes the settings of a new user and keeps
# running until we end it.
rm -rf "$home/config"
fresh env QT_QPA_PLATFORM=offscreen "$usr/bin/qzm836" >"$tmp/window.log" 2>&1 &
window_pid=$!
deadline=$((SECONDS + 60))
while [ ! -f "$settings" ] && kill -0 "$window_pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
    sleep 0.1
done
check "the window makes the user's setting.ini" test -f "$settings"
check "the window is running" kill -0 "$window_pid"
kill "$window_pid" 2>/dev/null || true
wait "$window_pid" 2>/dev/null || true
window_pid=""

# --- desktop integration files ------------------------------------------------
check "desktop-file-validate" desktop-file-validate "$usr/share/applications/org.qzm836.qzm836.desktop"
check "appstreamcli validate" \
    appstreamcli validate --no-net "$usr/share/metainfo/org.qzm836.qzm836.metainfo.xml"
# The MIME database builds from our type, and knows ".836" files by their first bytes.
cp -r "$usr/share/mime" "$tmp/mime"
check "update-mime-database" update-mime-database "$tmp/mime" 2>/dev/null
check "the MIME magic names the data file header" \
    grep -qa "QZM-836 Radio Program data" "$tmp/mime/magic"

# --- another prefix ---------------------------------------------------------
prefix="$tmp/opt/qzm836"
limited cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1 ||
    { cat "$tmp/install.log" >&2; exit 1; }
rm -rf "$home/config" "$home/.local"
check "cmake --install into $prefix: qzm836-cli new" \
    fresh "$prefix/bin/qzm836-cli" new "$tmp/other.836"
check "... with the user's settings made from $prefix" \
    cmp -s "$settings" "$prefix/share/qzm836/setting.ini"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
