#!/usr/bin/env bash
# Make in the Filter Factory end to end: Image > Filter Factory, an expression typed, Make, a
# name typed into the save dialog: the file is the runner with the filter attached (it ends in
# the attachment's mark) and holds the expression.
# Usage: make.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
if [ "${1:-}" != "--inner" ]; then
    e2e_prepare "$1"
    e2e_run_inner
    made="$work/Made.ovc"
    [ -f "$made" ] || { echo "Make wrote no file"; exit 1; }
    [ "$(tail -c 8 "$made")" = "OVFFSRC1" ] || { echo "no filter attached"; exit 1; }
    grep -a -q '255 - r' "$made" || { echo "the expression is not in the component"; exit 1; }
    cmp -s -n "$(stat -c %s "$build/ffrunner.ovc")" "$build/ffrunner.ovc" "$made" ||
        { echo "the component does not start with the runner"; exit 1; }
    echo "made component: $(stat -c %s "$made") bytes"
    exit 0
fi
e2e_start_update_bmp
xdotool key alt+i; sleep 0.5
xdotool key f; sleep 1.5
xdotool type --delay 60 '255 - r'
sleep 1
xdotool key alt+m; sleep 2
xdotool type --delay 30 "$work/Made.ovc"
sleep 0.5
import -window root "$build/e2e-make-dialog.png"
xdotool key Return; sleep 1.5
import -window root "$build/e2e-make.png"
xdotool key Escape; sleep 1
e2e_focus 'Orvel Paint'
e2e_update_exit "$pid"
