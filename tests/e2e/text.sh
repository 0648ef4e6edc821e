#!/usr/bin/env bash
# Text, Get Color and Change Color end to end on a 64 x 48 black picture in update mode: two lines
# typed with the real keyboard in white (the tool keys H and O among the letters must not switch
# tools; Backspace, Ctrl+X and Ctrl+V edit the second), a red line in the corner, Get Color with the right button on that line (the background
# colour becomes red), then Change Color with the right button on the black background. The
# written picture holds white text on red: white in the two text rows, nothing black.
# Usage: text.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"
if [ "${1:-}" != "--inner" ]; then
    e2e_prepare "$1"
    e2e_run_inner
    [ -f "$work/out.bmp" ] || { echo "Update & Exit wrote no file"; exit 1; }
    convert "$work/out.bmp" -depth 8 txt:- | awk '
        /^[0-9]/ {
            split($1, c, "[,:]"); x = c[1]; y = c[2]; seen++
            if ($3 == "#FFFFFF") { white++; if (y < 24) top++; else bottom++; if (x > 44) far++ }
            else if ($3 != "#FF0000" && ++bad <= 10) printf "pixel %d,%d is %s\n", x, y, $3
        }
        END {
            if (seen != 64 * 48) { printf "read %d pixels\n", seen; exit 1 }
            if (bad) { printf "pixels neither white nor red\n"; exit 1 }
            if (top < 15 || bottom < 15) { printf "text rows hold %d and %d white pixels\n", top, bottom; exit 1 }
            if (white > 600 || far) { printf "%d white pixels, %d right of the text\n", white, far; exit 1 }
            printf "two lines of white text (%d and %d pixels) on red\n", top, bottom
        }'
    exit 0
fi
e2e_start_update_bmp
at() { echo $((ox + zoom * $1 + zoom / 2)) $((oy + zoom * $2 + zoom / 2)); }
click() { # image point, button
    read -r a b < <(at "$1" "$2"); xdotool mousemove "$a" "$b"; sleep 0.2; xdotool click "$3"; sleep 0.4
}
xdotool key KP_Subtract; sleep 0.5 # a step out, so that the whole picture shows with any bar
xdotool key t; sleep 0.5
e2e_measure_picture
click 2 20 1
xdotool type --delay 120 "Oh"; sleep 0.2
xdotool key Return; sleep 0.3
xdotool type --delay 120 "Hi!"; sleep 0.2
xdotool key BackSpace; sleep 0.3
xdotool key ctrl+x; sleep 0.3 # cut and pasted back: not the menu's Ctrl+X
xdotool key ctrl+v; sleep 0.3
xdotool key Return; sleep 0.5
import -window root "$build/e2e-text-typed.png"
# While a block is placed every letter is text: Escape leaves the tool (its caret goes with it).
xdotool key Escape; sleep 0.5
# The line tool in red, a short line in the bottom right corner.
xdotool key l; sleep 0.5
e2e_measure_picture
import -window root shot.png
convert shot.png -crop 70x768+0+0 -depth 8 txt:- > shot.txt
cell=$(grep -m 1 '#FF0000' shot.txt | cut -d: -f1 || true)
[ -n "$cell" ] || { echo "no red palette cell on the screen"; exit 1; }
xdotool mousemove $((${cell%,*} + 4)) $((${cell#*,} + 4)) click 1; sleep 0.3
read -r a b < <(at 52 44); read -r c d < <(at 60 44)
xdotool mousemove "$a" "$b" mousedown 1; sleep 0.1
for s in 1 2 3 4; do xdotool mousemove $((a + (c - a) * s / 4)) "$b"; sleep 0.1; done
sleep 0.7; xdotool mouseup 1; sleep 0.3
xdotool key g; sleep 0.5
click 56 44 3
xdotool key h; sleep 0.5
e2e_measure_picture
click 40 4 3
xdotool mousemove 1000 700; sleep 0.3
import -window root "$build/e2e-text-changed.png"
e2e_update_exit "$pid"
