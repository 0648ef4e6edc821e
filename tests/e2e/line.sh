#!/usr/bin/env bash
# Single Line end to end: two drags over a 64 x 48 black picture in update mode, then
# File > Update & Exit; the written pixels must be the round brush stamped along Bresenham lines.
# Usage: line.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
if [ "${1:-}" != "--inner" ]; then
    e2e_prepare "$1"
    e2e_run_inner
    [ -f "$work/out.bmp" ] || { echo "Update & Exit wrote no file"; exit 1; }
    size=$(identify -format '%wx%h' "$work/out.bmp")
    [ "$size" = "64x48" ] || { echo "expected 64x48, found $size"; exit 1; }
    # Expected: a plus (centre and its four neighbours) at every step from press to release;
    # the minor axis steps whenever the error is not negative.
    convert "$work/out.bmp" -depth 8 txt:- | awk -v strokes="$work/strokes" '
        function plot(x, y) { want[x "," y] = 1; want[x-1 "," y] = 1; want[x+1 "," y] = 1
                              want[x "," y-1] = 1; want[x "," y+1] = 1 }
        function abs(v) { return v < 0 ? -v : v }
        BEGIN {
            while ((getline line < strokes) > 0) {
                split(line, p, " "); x = p[1]; y = p[2]; dx = p[3] - x; dy = p[4] - y
                sx = dx < 0 ? -1 : 1; sy = dy < 0 ? -1 : 1
                xmajor = abs(dx) >= abs(dy)
                major = xmajor ? abs(dx) : abs(dy); minor = xmajor ? abs(dy) : abs(dx)
                err = 2 * minor - major
                for (i = 0; i <= major; i++) {
                    plot(x, y)
                    if (err >= 0) { if (xmajor) y += sy; else x += sx; err -= 2 * major }
                    err += 2 * minor
                    if (xmajor) x += sx; else y += sy
                }
            }
        }
        /^[0-9]/ {
            split($1, c, "[,:]"); key = c[1] "," c[2]; seen++
            colour = "#000000"; if (key in want) colour = "#FFFFFF"
            if ($3 != colour && ++bad <= 10) printf "pixel %s is %s, expected %s\n", key, $3, colour
        }
        END {
            if (seen != 64 * 48) { printf "read %d pixels\n", seen; exit 1 }
            if (bad) { printf "%d pixels differ from the expected lines\n", bad; exit 1 }
        }'
    echo "both lines drawn where expected: $(tr '\n' ';' < "$work/strokes")"
    exit 0
fi
e2e_start_update_bmp
xdotool key l; sleep 0.5 # the Line tool; its option bar narrows the view
xdotool key KP_Subtract; sleep 0.5 # a step out, so that the whole picture shows again
e2e_measure_picture
: > strokes
drag() { # image points, aimed at pixel centres; the stroke is recorded from the screen points
    local a=$((ox + zoom * $1 + zoom / 2)) b=$((oy + zoom * $2 + zoom / 2))
    local c=$((ox + zoom * $3 + zoom / 2)) d=$((oy + zoom * $4 + zoom / 2)) s
    echo "$(((a - ox) / zoom)) $(((b - oy) / zoom)) $(((c - ox) / zoom)) $(((d - oy) / zoom))" >> strokes
    xdotool mousemove "$a" "$b" mousedown 1; sleep 0.1
    for s in 1 2 3 4; do xdotool mousemove $((a + (c - a) * s / 4)) $((b + (d - b) * s / 4)); sleep 0.1; done
    sleep 0.7; xdotool mouseup 1; sleep 0.3
}
drag 0 40 56 12  # x major, right and up, touching the left edge, error ties every other step
drag 41 11 23 47 # y major, left and down, touching the bottom edge
import -window root "$build/e2e-line.png"
e2e_update_exit "$pid"
