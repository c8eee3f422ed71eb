#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `make run` on a machine without a display: the headless job against the
# emulator ends by itself with status 0, reads the sample image byte for byte,
# shows the channels and leaves no emulator behind; against a silent radio it
# fails and names the step.
#
# Usage: run_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

status=0
env -u DISPLAY -u WAYLAND_DISPLAY QZM_RUN_DIR="$tmp/run" \
    timeout --kill-after=5 300 "$source/scripts/run" "$build" >"$tmp/output" 2>&1 || status=$?
cat "$tmp/output"
if [ "$status" -ne 0 ]; then
    echo "FAILED: scripts/run ended with status $status" >&2
    exit 1
fi

# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
check "says there is no display" grep -q "no display found" "$tmp/output"
# The transfer moves the first 992 bytes of the image, which follow the 48-byte header.
check "the file read equals the sample in the transferred span" \
    cmp -i 48:48 -n 992 "$source/res/samples/pmr446.836" "$tmp/run/radio.836"
check "the channel table shows all 16 channels" \
    test "$(grep -cE '^[0-9]+ +446\.[0-9]{5} ' "$tmp/output")" -eq 16
check "the first channel with its tone" grep -qE '^1 +446\.00625 +67\.0 ' "$tmp/output"
check "says where the files are" grep -q "$tmp/run/radio.836" "$tmp/output"
if [ -x "$build/bin/qzm836" ]; then
    check "the channel card is a PDF" test "$(head -c 5 "$tmp/run/channel-card.pdf")" = "%PDF-"
fi
check "the emulator is gone" bash -c "! kill -0 $(cat "$tmp/run/sim.pid") 2>/dev/null"

# A radio that never answers: the read step fails by name, and nothing is left running.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY QZM_RUN_DIR="$tmp/silent" QZM_RUN_SIM_OPTIONS=--silent \
    timeout --kill-after=5 300 "$source/scripts/run" "$build" >"$tmp/silent.out" 2>&1 || status=$?
cat "$tmp/silent.out"
check "a silent radio fails the run" test "$status" -eq 1
check "... naming the step and the reason" \
    grep -q 'step "qzm836-cli read" failed: exit status 4' "$tmp/silent.out"
check "... with no emulator left" bash -c "! kill -0 $(cat "$tmp/silent/sim.pid") 2>/dev/null"
check "... and no data file" test ! -e "$tmp/silent/radio.836"

[ "$failures" -eq 0 ]
