#!/usr/bin/env bash
# Image > Rotate end to end in update mode: a 64 x 48 picture of random pixels is turned by 90
# degrees through ROTATEBAR (the angle typed into its field, then Apply), written back by
# File > Update & Exit and compared pixel by pixel with the same picture turned by index.
# Usage: rotate.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
if [ "${1:-}" != "--inner" ]; then
    e2e_prepare "$1"
    convert -size 64x48 xc: +noise Random -depth 8 -define png:color-type=2 "$work/out.png"
    cp "$work/out.png" "$work/in.png"
    e2e_run_inner
    size=$(identify -format '%wx%h' "$work/out.png")
    [ "$size" = "48x64" ] || { echo "expected 48x64, found $size"; exit 1; }
    # A quarter turn counter-clockwise on the screen: pixel (x, y) goes to (y, 63 - x).
    convert "$work/in.png" -rotate -90 -depth 8 txt:- | grep -v '^#' | cut -d' ' -f1,4 > "$work/want.txt"
    convert "$work/out.png" -depth 8 txt:- | grep -v '^#' | cut -d' ' -f1,4 > "$work/got.txt"
    if ! diff -q "$work/want.txt" "$work/got.txt" >/dev/null; then
        echo "$(diff "$work/want.txt" "$work/got.txt" | grep -c '^<') pixels differ, first:"
        diff "$work/want.txt" "$work/got.txt" | head -n 6
        exit 1
    fi
    echo "picture turned by 90 degrees, every pixel where the index turn puts it"
    exit 0
fi
cd "$work"
"$build/orvelpaint" -s Test 64 48 out.png &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
e2e_focus 'Orvel Paint'
xdotool key alt+i; sleep 0.5; xdotool key r; sleep 1 # Image > Rotate
# ROTATEBAR under the picture: Keep Size, the angle field, Preview, Apply. No window manager and
# fixed fonts put the window at the screen's top left and the bar's controls at these places.
fx=240 fy=562 ax=381 ay=562
xdotool mousemove "$fx" "$fy" click --repeat 3 1; sleep 0.3
xdotool type 90; sleep 0.3
xdotool mousemove "$ax" "$ay" click 1; sleep 1.5
import -window root "$build/e2e-rotate.png"
xdotool key Escape; sleep 0.3; xdotool key Escape; sleep 0.5 # field, then tool: applied stays
e2e_update_exit "$pid"
