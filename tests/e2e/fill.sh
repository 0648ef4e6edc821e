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
# Where the 64 x 48 picture is on the screen and at which zoom (option bars move it): sets ox oy zoom.
measure() {
    import -window root shot.png
    read -r ox oy zoom < <(convert shot.png -crop 800x600+0+0 +repage -fill white +opaque black \
        -compress none pbm:- | awk '
        NR == 2 { w = $1; h = $2 } NR > 2 { gsub(/[^01]/, "")
            for (i = 1; i <= length($0); i++) { if (substr($0, i, 1) == "1") { row[int(n / w)]++; col[n % w]++ } n++ } }
        END { x0 = w; y0 = h; x1 = y1 = -1
            for (x in col) if (col[x] > h / 2) { if (x + 0 < x0) x0 = x + 0; if (x + 0 > x1) x1 = x + 0 }
            for (y in row) if (row[y] > w / 2) { if (y + 0 < y0) y0 = y + 0; if (y + 0 > y1) y1 = y + 0 }
            z = (x1 - x0 + 1) / 64
            if (z >= 1 && z == int(z) && y1 - y0 + 1 == 48 * z) print x0, y0, z }') || true
    [ -n "${zoom:-}" ] || { echo "no 64 x 48 picture at a whole zoom on the screen"; exit 1; }
}
at() { echo $((ox + zoom * $1 + zoom / 2)) $((oy + zoom * $2 + zoom / 2)); }
drag() { # image points
    read -r a b < <(at "$1" "$2"); read -r c d < <(at "$3" "$4")
    xdotool mousemove "$a" "$b" mousedown 1; sleep 0.1
    for s in 1 2 3 4; do xdotool mousemove $((a + (c - a) * s / 4)) $((b + (d - b) * s / 4)); sleep 0.1; done
    sleep 0.7; xdotool mouseup 1; sleep 0.3
}
xdotool key KP_Subtract; sleep 0.5 # a step out, so that the whole picture shows with any bar
xdotool key r; sleep 0.3; xdotool key r; sleep 0.5 # Filled Rectangle, then Rectangle
measure
drag 40 8 60 40
xdotool mousemove 1000 700; sleep 0.3 # the crosshair goes with the pointer
import -window root "$build/e2e-fill-box.png"
xdotool key f; sleep 0.5 # Solid Fill
measure
read -r a b < <(at 50 24); xdotool mousemove "$a" "$b" click 1; sleep 0.5
import -window root "$build/e2e-fill-solid.png"
xdotool key c; sleep 0.3; xdotool key c; sleep 0.5 # Circle, then Filled Circle
measure
drag 16 24 24 24
xdotool mousemove 1000 700; sleep 0.3
import -window root "$build/e2e-fill-circle.png"
e2e_update_exit "$pid"
