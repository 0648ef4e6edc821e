#!/usr/bin/env bash
# The Filter Factory end to end: in update mode on a black picture, Image > Filter Factory, type
# a red expression with the keyboard, Ok, then File > Update & Exit: out.bmp is red on the left
# half and black on the right.
# Usage: filter.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
if [ "${1:-}" != "--inner" ]; then
    e2e_prepare "$1"
    e2e_run_inner
    [ -f "$work/out.bmp" ] || { echo "Update & Exit wrote no file"; exit 1; }
    left=$(convert "$work/out.bmp" -crop 32x48+0+0 +repage -depth 8 txt:- | grep -c '#FF0000' || true)
    right=$(convert "$work/out.bmp" -crop 32x48+32+0 +repage -depth 8 txt:- | grep -c '#000000' || true)
    echo "red on the left: $left of 1536, black on the right: $right of 1536"
    [ "$left" -eq 1536 ] && [ "$right" -eq 1536 ] || { echo "the filter did not reach the picture"; exit 1; }
    exit 0
fi
e2e_start_update_bmp
xdotool key alt+i; sleep 0.5
xdotool key f; sleep 1.5
# The red expression has the focus, its text selected: typing replaces it.
xdotool type --delay 60 'x < X / 2 ? 255 : 0'
sleep 1
import -window root "$build/e2e-filter.png"
xdotool key alt+o; sleep 1.5
import -window root "$build/e2e-filter-ok.png"
e2e_focus 'Orvel Paint'
e2e_update_exit "$pid"
