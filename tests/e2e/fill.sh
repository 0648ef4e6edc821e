#!/usr/bin/env bash
# Fills and shapes end to end on a 64 x 48 black picture in update mode: a Rectangle outline, a
# Solid Fill inside it and a Filled Circle, drawn with the real pointer; then File > Update & Exit.
# The written pixels are checked against the plain geometry: the box and its inside white, the
# circle's disc white within a pixel of its radius, everything else black.
# Usage: fill.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
if [ "${1:-}" != "--inner" ]; then
    e2e_prepare "$1"
    e2e_run_inner
    [ -f "$work/out.bmp" ] || { echo "Update & Exit wrote no file"; exit 1; }
    convert "$work/out.bmp" -depth 8 txt:- | awk '
        # The box (40,8)-(60,40) stamped with the 3-pixel plus brush: its rectangle and a pixel
        # beyond each side, not beyond the corners. The circle: centre (16,24), radius 8.
        function box(x, y) {
            if (x >= 40 && x <= 60 && y >= 7 && y <= 41) return 1
            return (x == 39 || x == 61) && y >= 8 && y <= 40
        }
        /^[0-9]/ {
            split($1, c, "[,:]"); x = c[1]; y = c[2]; seen++
            white = $3 == "#FFFFFF"
            if (box(x, y)) { if (!white && ++bad <= 10) printf "box pixel %d,%d is %s\n", x, y, $3; next }
            d = (x - 16) ^ 2 + (y - 24) ^ 2
            if (d <= 49 && !white && ++bad <= 10) printf "disc pixel %d,%d is %s\n", x, y, $3
            if (d > 81 && white && ++bad <= 10) printf "pixel %d,%d outside is white\n", x, y
            if (d <= 81 && white) disc++
        }
        END {
            if (seen != 64 * 48) { printf "read %d pixels\n", seen; exit 1 }
            if (disc < 150 || disc > 260) { printf "the disc has %d pixels\n", disc; exit 1 }
            if (bad) { printf "%d pixels differ\n", bad; exit 1 }
        }'
    echo "box filled and disc drawn where expected"
    exit 0
fi
e2e_start_update_bmp
at() { echo $((ox + zoom * $1 + zoom / 2)) $((oy + zoom * $2 + zoom / 2)); }
drag() { # image points
    read -r a b < <(at "$1" "$2"); read -r c d < <(at "$3" "$4")
    xdotool mousemove "$a" "$b" mousedown 1; sleep 0.1
    for s in 1 2 3 4; do xdotool mousemove $((a + (c - a) * s / 4)) $((b + (d - b) * s / 4)); sleep 0.1; done
    sleep 0.7; xdotool mouseup 1; sleep 0.3
}
xdotool key KP_Subtract; sleep 0.5 # a step out, so that the whole picture shows with any bar
xdotool key r; sleep 0.3; xdotool key r; sleep 0.5 # Filled Rectangle, then Rectangle
e2e_measure_picture
drag 40 8 60 40
xdotool mousemove 1000 700; sleep 0.3 # the crosshair goes with the pointer
import -window root "$build/e2e-fill-box.png"
xdotool key f; sleep 0.5 # Solid Fill
e2e_measure_picture
read -r a b < <(at 50 24); xdotool mousemove "$a" "$b" click 1; sleep 0.5
import -window root "$build/e2e-fill-solid.png"
xdotool key c; sleep 0.3; xdotool key c; sleep 0.5 # Circle, then Filled Circle
e2e_measure_picture
drag 16 24 24 24
xdotool mousemove 1000 700; sleep 0.3
import -window root "$build/e2e-fill-circle.png"
e2e_update_exit "$pid"
