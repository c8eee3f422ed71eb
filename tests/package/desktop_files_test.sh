#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop integration files of the source tree: one reverse-DNS id names the
# metainfo, its <id> and <launchable>, the desktop file, the icon, the MIME
# package and the window's desktop file name; the files pass the validators
# distributions and software centres run.
#
# Usage: desktop_files_test.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
desktop=$source_dir/res/desktop
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# shellcheck source=../scripts/checks.sh
source "$(dirname "$0")/../scripts/checks.sh"

metainfo=$(ls "$desktop"/*.metainfo.xml)
id=$(sed -n 's|^ *<id>\(.*\)</id>$|\1|p' "$metainfo")
echo "id: $id"
check "the id is reverse-DNS" grep -qE '^[a-z][a-z0-9]*(\.[a-zA-Z0-9_-]+){2,}$' <<<"$id"
check "the metainfo file is named by the id" test "$(basename "$metainfo")" = "$id.metainfo.xml"
check "<launchable> names the desktop file" \
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo"
for file in "$id.desktop" "$id.svg" "$id.xml"; do
    check "res/desktop/$file" test -f "$desktop/$file"
done
check "only files named by the id" test -z "$(ls "$desktop" | grep -v "^$id\.")"
check "the desktop file's icon is the id" grep -qx "Icon=$id" "$desktop/$id.desktop"
check "the window's desktop file name is the id" \
    grep -q "kDesktopId = \"$id\"" "$source_dir/src/app/program_info.h"
check "the install rules use the id" \
    grep -q "set(QZM_DESKTOP_ID $id)" "$source_dir/res/CMakeLists.txt"
check "project_license GPL-3.0-or-later" \
    grep -q "<project_license>GPL-3.0-or-later</project_license>" "$metainfo"
check "no web address of our own (we own none)" \
    test -z "$(grep -E '<url|<screenshot' "$metainfo")"

check "desktop-file-validate" desktop-file-validate "$desktop/$id.desktop"
check "appstreamcli validate --pedantic" appstreamcli validate --pedantic --no-net "$metainfo"
# The tree as installed, where the validator also matches desktop file and icon.
root=$tmp/root/usr/share
mkdir -p "$root/metainfo" "$root/applications" "$root/icons/hicolor/scalable/apps"
cp "$metainfo" "$root/metainfo/"
cp "$desktop/$id.desktop" "$root/applications/"
cp "$desktop/$id.svg" "$root/icons/hicolor/scalable/apps/"
check "appstreamcli validate-tree" appstreamcli validate-tree --pedantic --no-net "$tmp/root"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
