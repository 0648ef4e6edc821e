#!/usr/bin/env bash
# Cutting brushes end to end in update mode on a 64 x 48 picture the script makes: black with a red
# 8 x 6 block at (4,4) and a green pixel in it. With the real pointer: Cut Rectangle around the
# block, one dab of the new brush at (40,30), a second Cut Rectangle around both, Brush > Crop,
# then File > Update & Exit. Black is the background, so the second brush is trimmed to the two
# blocks; the written picture must be exactly 40 x 29: the block at (0,0) and its copy at (32,23),
# everything else black.
# Usage: cut.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
if [ "${1:-}" != "--inner" ]; then
    e2e_prepare "$1"
    convert -size 64x48 xc:black -fill red -draw "rectangle 4,4 11,9" -fill lime \
        -draw "point 6,5" -type TrueColor "BMP3:$work/out.bmp"
    e2e_run_inner
    [ -f "$work/out.bmp" ] || { echo "Update & Exit wrote no file"; exit 1; }
    size=$(identify -format '%wx%h' "$work/out.bmp")
    [ "$size" = 40x29 ] || { echo "the cropped picture is $size, not 40x29"; exit 1; }
    convert "$work/out.bmp" -depth 8 txt:- | awk '
        # One block: red 8 x 6 with green at (2,1) of it.
        function want(x, y,   bx, by) {
            if (x < 8 && y < 6) { bx = x; by = y } else if (x >= 32 && y >= 23) { bx = x - 32; by = y - 23 } else return "#000000"
            return bx == 2 && by == 1 ? "#00FF00" : "#FF0000"
        }
        /^[0-9]/ {
            split($1, c, "[,:]"); seen++
            if ($3 != want(c[1], c[2]) && ++bad <= 10) printf "pixel %d,%d is %s\n", c[1], c[2], $3
        }
        END {
            if (seen != 40 * 29) { printf "read %d pixels\n", seen; exit 1 }
            if (bad) { printf "%d pixels differ\n", bad; exit 1 }
        }'
    echo "cut, stamped, cut again and cropped as expected"
    exit 0
fi
e2e_start_update_bmp
at() { echo $((ox + zoom * $1 + zoom / 2)) $((oy + zoom * $2 + zoom / 2)); }
# A held drag between image points; shot names a screenshot taken before the release.
drag() {
    read -r a b < <(at "$1" "$2"); read -r c d < <(at "$3" "$4")
    xdotool mousemove "$a" "$b" mousedown 1; sleep 0.1
    for s in 1 2 3 4; do xdotool mousemove $((a + (c - a) * s / 4)) $((b + (d - b) * s / 4)); sleep 0.1; done
    sleep 0.7
    [ -z "${5:-}" ] || import -window root "$build/$5"
    xdotool mouseup 1; sleep 0.5
}
xdotool key KP_Subtract; sleep 0.5 # a step out, so that the whole picture shows with any bar
e2e_measure_picture
xdotool key b; sleep 0.5 # Cut Rectangle
drag 4 4 11 9 e2e-cut-overlay.png
read -r a b < <(at 40 30); xdotool mousemove "$a" "$b"; sleep 0.3
import -window root "$build/e2e-cut-brush.png"
xdotool click 1; sleep 0.5 # one dab of the brush, centred on (40,30)
read -r a b < <(at 56 12); xdotool mousemove "$a" "$b"; sleep 0.3
import -window root "$build/e2e-cut-stamped.png"
xdotool key b; sleep 0.5
drag 0 0 50 40
xdotool key ctrl+p; sleep 0.5 # Crop
e2e_update_exit "$pid"
