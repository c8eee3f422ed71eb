#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The manual pages against the programs' own --help, so the two cannot drift:
# every option one of them names the other names too; every qzm836-cli command
# has its entry under COMMANDS; every exit status of the usage text is under
# EXIT STATUS.  Also man's own warnings (lintian reports them).
#
# Usage: man_pages_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
bin=$1/bin
man_dir=$2/man
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# shellcheck source=../scripts/checks.sh
source "$(dirname "$0")/../scripts/checks.sh"

# The page as text: roff's escaped hyphens made plain, font changes dropped.
page_text() { sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$man_dir/$1.1"; }
# The page without the sections that may quote other programs' options.
own_sections() {
    page_text "$1" | awk '/^\.SH /{skip = ($2 == "DESCRIPTION" || $2 == "EXAMPLES")} !skip'
}
# The lines of one section (.SH NAME up to the next .SH).
section() { page_text "$1" | awk -v name="$2" '/^\.SH /{on = ($0 == ".SH " name); next} on'; }
options_in() { grep -oE -- '--[a-z][a-z0-9-]*' | sort -u; }
# "0 success, 1 a block failed, ..." -> 0 1 ..., one a line.
statuses_in() { grep -oE '(^|[ ,:])[0-9]+ [a-z(]' | grep -oE '[0-9]+' | sort -u; }

same_lists() {
    local what=$1 left=$2 right=$3
    if ! diff "$left" "$right" >"$tmp/diff"; then
        sed 's/^/    /' "$tmp/diff" >&2
        return 1
    fi
}

for program in qzm836 qzm836-cli qzm836-sim; do
    check "$program.1 exists" test -f "$man_dir/$program.1"
    if command -v man >/dev/null; then
        check "$program.1: man has no warnings" \
            test -z "$(MANWIDTH=80 man --warnings -l "$man_dir/$program.1" 2>&1 >/dev/null)"
    fi
    env -u DISPLAY -u WAYLAND_DISPLAY "$bin/$program" --help >"$tmp/help"
    if [ "$program" = qzm836-cli ]; then
        # The commands of the usage text, each with its own --help.
        awk '/^Commands:/{on=1; next} /^$/{on=0} on && /^  [a-z]/{print $1}' "$tmp/help" |
            sort -u >"$tmp/commands"
        check "qzm836-cli --help lists commands" test -s "$tmp/commands"
        section qzm836-cli COMMANDS | awk '/^\.TP/{getline; print $2}' | sort -u >"$tmp/man-commands"
        check "qzm836-cli.1: COMMANDS are the usage text's commands" \
            same_lists commands "$tmp/commands" "$tmp/man-commands"
        while read -r command; do
            "$bin/$program" "$command" --help >>"$tmp/help"
        done <"$tmp/commands"
        # The main usage text's exit statuses.
        awk '/^Exit status:/{on=1} on' <("$bin/$program" --help) | statuses_in >"$tmp/statuses"
        # One ".TP" entry per status.
        section qzm836-cli "EXIT STATUS" | awk '/^\.TP/{getline; print $2}' | sort -u \
            >"$tmp/man-statuses"
        check "qzm836-cli.1: EXIT STATUS lists exactly the statuses of the usage text" \
            same_lists statuses "$tmp/statuses" "$tmp/man-statuses"
    fi
    options_in <"$tmp/help" >"$tmp/options"
    own_sections "$program" | options_in >"$tmp/man-options"
    check "$program.1 names exactly the options of --help" \
        same_lists options "$tmp/options" "$tmp/man-options"
done

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
